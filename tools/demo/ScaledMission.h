#pragma once
// A game with one mission at a chosen scale, for measuring load and save times on
// missions as large as the game's largest: many things sharing a set of models, data
// blocks with scripts, mission scripts, and a world of many frames and textures.

#include "tools/demo/DemoGame.h"

#include <string>

namespace demo {

struct MissionScale {
    int things = 10000;
    int models = 100;
    int thingData = 2000;  // each with a script, linked to a thing
    int missionScripts = 200;
    int worldFrames = 2000;
    int worldTriangles = 1000000;  // in the most detailed LODs of the world
    int textures = 300;
    int textureSize = 128;  // 24-bit textures; the 8-bit ones are half as wide
};

inline constexpr const char* kScaledMission = "metropolis";

// system.reg, the maps and models folders and the mission "metropolis".
FileMap ScaledGameFiles(const MissionScale& scale);

// The object file ("scene2.bin") of the scaled mission alone.
std::string ScaledSceneFile(const MissionScale& scale);

// What the generated world holds, for checking the generator against its scale.
struct WorldCounts {
    std::size_t frames = 0;
    std::size_t triangles = 0;  // first LOD of every visual frame
    std::size_t materials = 0;
};
WorldCounts CountWorld(const MissionScale& scale);

}  // namespace demo
