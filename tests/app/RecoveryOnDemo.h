#pragma once
// The editor on the demo game with recovery copies due 0.2 s after an edit, in the
// test's own state folder; what the game's Wine prefix holds can be compared
// before and after.

#include "tests/app/EditorOnDemo.h"

#include "game/CRecoveryStore.h"
#include "ui/CRecoveryAutosave.h"

#include <chrono>
#include <map>
#include <sstream>

// Every file of a folder with its size and time of change.
inline std::map<std::filesystem::path, std::pair<std::uintmax_t, std::filesystem::file_time_type>> FilesUnder(
    const std::filesystem::path& folder)
{
    std::map<std::filesystem::path, std::pair<std::uintmax_t, std::filesystem::file_time_type>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path()] = {entry.file_size(), entry.last_write_time()};
    }
    return files;
}

inline std::string SavedBytes(CMission& mission)
{
    std::stringstream bytes(std::ios::in | std::ios::out | std::ios::binary);
    mission.SaveTo(bytes);
    return bytes.str();
}

class RecoveryOnDemo : public EditorOnDemo {
protected:
    static void SetUpTestSuite() { setenv("VERDAX_AUTOSAVE_S", "0.2", 1); }

    CRecoveryStore& Store() const { return *frame_->Autosave().Store(); }

    // This editor's entries, once the writer has done what it was asked.
    std::vector<RecoveryEntry> OwnEntries() const
    {
        frame_->Autosave().WaitUntilWritten();
        return Store().List(demo::kDemoInstallFolder).running;
    }

    // Waits for this editor's copy of `mission` holding `bytes`.
    bool WaitForCopy(const std::string& mission, const std::string& bytes) const
    {
        return QTest::qWaitFor(
            [&] {
                for (const RecoveryEntry& entry : OwnEntries()) {
                    if (entry.missionName == mission && Store().ReadCopy(entry).bytes == bytes)
                        return true;
                }
                return false;
            },
            10000);
    }
};
