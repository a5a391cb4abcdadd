#pragma once
// Finds the mission that a verdax-tool command names, and the game folders that its
// models and textures come from.
//
// MISSION is a path to a mission folder (a folder holding "scene2.bin"), or the name
// of a mission in the installed game's "Missions" folder. Models and textures come
// from the installed game's "Models" and "Maps" when the registry names an install
// folder; otherwise from the folders "Models" and "Maps" beside the mission's parent
// folder, so that GAME/Missions/NAME finds GAME/Models.

#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"

#include <memory>
#include <string>

namespace tool {

struct LocatedMission {
    std::unique_ptr<CDravoRoot> root;  // the installed game, when the registry names it
    std::unique_ptr<CMission> mission;
    std::unique_ptr<CFixedGameFolders> folders;
};

LocatedMission LocateMission(const std::string& argument);

// Installs a mission's game folders for the scope's lifetime.
class ScopedGameFolders {
public:
    explicit ScopedGameFolders(const IGameFolders& folders) { SetGameFolders(&folders); }
    ~ScopedGameFolders() { SetGameFolders(nullptr); }
    ScopedGameFolders(const ScopedGameFolders&) = delete;
    ScopedGameFolders& operator=(const ScopedGameFolders&) = delete;
};

}  // namespace tool
