#pragma once
// The object files of the demo's missions.

#include "tools/demo/SceneWriter.h"

#include <string>

namespace demo {

// Things of every kind placed about the harbour town, with scripts, raw data, one
// data block that names no thing, and mission scripts.
SceneFileData HarbourTownScene();
// A few things and markers, for the mission without a world model.
SceneFileData OutpostScene();
// A Russian mission: things, thing data and a mission script named in code page 1251.
SceneFileData VillageScene();
// A scene file whose thing list holds an element with a wrong id after two good
// things: the editor reports error 4002 with the position and refuses the mission.
std::string BrokenSceneFile();

// The header of files as the game's own tools leave them.
SceneFileData SceneWithGameHeader();

}  // namespace demo
