#pragma once
// The installed game: its install folder (read from the registry), the paths of its
// sub-folders, and the catalogue of its missions (one per folder under "Missions\"),
// which it owns. The root is the process's provider of the game folders for the
// model and texture readers (the mediator installs it).

#include "core/GameFolders.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CDravoDon;
class CMission;
class CVerdaxData;

class CDravoRoot : public IGameFolders {
public:
    // `mediator` (not owned) receives the listed missions for its mission tree and
    // opens the world window at start-up; a root without one only lists.
    explicit CDravoRoot(CDravoDon* mediator = nullptr);
    ~CDravoRoot() override;
    CDravoRoot(const CDravoRoot&) = delete;
    CDravoRoot& operator=(const CDravoRoot&) = delete;

    // The install folder from the registry value "idir" of "Software\Kestrel Works\Dravo",
    // up to its first NUL; throws CVerdaxException 2 when it cannot be read.
    static std::string ReadInstallFolder();

    // Used verbatim: the sub-folders are glued to it, so it should end in a backslash.
    void SetInstallFolder(const std::string& folder) { installFolder_ = folder; }
    const std::string& GetInstallFolder() const { return installFolder_; }

    std::string GetMissionsFolder() const { return installFolder_ + "Missions\\"; }
    std::string GetModelsFolder() const override { return installFolder_ + "Models\\"; }
    std::string GetMapsFolder() const override { return installFolder_ + "Maps\\"; }

    // Start-up, once: reads the install folder (message 1003 and nothing more when
    // the registry cannot be read), lists the missions, hands them to the mission
    // tree and opens the world window. A second call does nothing.
    void Load();
    bool IsLoaded() const { return loaded_; }

    // Creates one mission per sub-folder of the missions folder, in the order the
    // file system gives; plain files and a missing folder give none.
    void ListMissions();

    // Creates a listed (not loaded) mission of the folder `name` and appends it.
    CMission* CreateMission(const std::string& name);

    // Loads `object` as a mission under the wait cursor. False, after message 1000,
    // when it is not a mission or the load fails with a foreign error; false after
    // message 1001 when the load fails with the program's error.
    bool LoadMission(CVerdaxData* object);

    const std::vector<std::unique_ptr<CMission>>& GetMissions() const { return missions_; }

    // The mission named `name` (code page text): the one of exactly that name, else
    // the one mission whose name differs only in letter case (as the game's folders
    // are found); null when there is none, or several that differ only in case.
    CMission* FindMission(std::string_view name) const;

    // The mission that owns `object` (one of its scene objects, or the mission
    // itself); null for anything else.
    CMission* FindMissionOf(const CVerdaxData* object) const;

private:
    bool loaded_ = false;
    std::vector<std::unique_ptr<CMission>> missions_;
    std::string installFolder_ = "C:\\program files\\dravo\\";
    CDravoDon* mediator_;
};
