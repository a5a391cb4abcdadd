#pragma once
// What saving a mission would change in the game's file: its object file
// "scene2.bin" compared, object by object (scene/SceneComparison.h), with what the
// mission's save would write now, as it is in memory.
//
// Made for comparing again after every edit: the game's file, and what a save of it
// unedited makes of it, are read once and kept until the file changes on disk or
// another mission is compared; each comparison then writes the mission to memory
// and reads that back, without loading any model.

#include "core/CVerdaxException.h"
#include "game/CMission.h"
#include "model/FileBytes.h"
#include "scene/CSceneSnapshot.h"
#include "scene/SceneComparison.h"

#include <filesystem>
#include <optional>
#include <string>

class CMissionChanges {
public:
    CMissionChanges();
    ~CMissionChanges();
    CMissionChanges(const CMissionChanges&) = delete;
    CMissionChanges& operator=(const CMissionChanges&) = delete;

    // The changes between `mission`'s "scene2.bin" (before) and what its save would
    // write now (after); indices count in the mission's lists. A mission that is not
    // loaded has none: its save writes nothing. Throws the reader's CVerdaxException
    // when "scene2.bin" cannot be read (3002 missing, 4002 malformed, ...); until the
    // file changes, later calls throw the same without reading it again, and without
    // showing its message again. The result stays valid until the next call.
    const SceneComparison& Compare(const CMission& mission);

private:
    void HoldGameFile(const std::string& folder, const std::filesystem::path& path,
                      const std::optional<FileIdentity>& identity);

    // The game file held: whose, which version of it (none: there was no file), and
    // the failure of reading it, if it failed.
    bool held_ = false;
    std::string folder_;
    std::optional<FileIdentity> identity_;
    std::optional<CVerdaxException> failure_;
    CSceneSnapshot before_;
    CSceneSnapshot resaved_;
    CSceneSnapshot after_;
    SceneComparison comparison_;
};

// How many objects a save of `mission` as it is now changes on its own, without an
// edit asking for it (the changes by save of CMissionChanges::Compare): after a
// save, the objects that save changed by itself. Throws as Compare does.
std::size_t CountChangesBySave(const CMission& mission);

// The same count just after a mission in `missionFolder` (CMission::GetFolder) was
// saved, when it had not been edited since it was loaded: its game file compared
// with the output file that save wrote. The save of an unedited mission writes what
// a save of its game file read anew writes, so that output file is also the game
// file resaved; two reads and no write, where the count above writes the mission
// twice and reads three times, and no mission need be held. Throws the readers'
// CVerdaxException (3002 when either file is missing, ...).
std::size_t CountChangesByUneditedSave(const std::string& missionFolder);
