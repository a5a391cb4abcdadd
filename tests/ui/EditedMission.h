#pragma once
// A loaded mission for the tests of the editing windows, written by the demo's
// scene writer into a folder of its own: a thing "door" (model, sector, a
// transform) whose thing data holds a long script of every byte with CR LF, LF
// and lone CR line ends, a thing "lamp" with an empty script, and a mission
// script "init".

#include "game/CMission.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"

#include <memory>
#include <string>

namespace testsupport {

// Every byte but zero (which ends a script in the file), between lines ending in
// CR LF, LF and a lone CR, repeated to several thousand characters.
inline std::string EveryByteScript()
{
    std::string line;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            line += static_cast<char>(byte);
    }
    std::string script;
    for (int i = 0; i < 12; ++i)
        script += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    return script + "end";
}

class EditedMission {
public:
    // Loaded at once, or left for the mission tree to load.
    explicit EditedMission(bool load = true)
    {
        demo::SceneFileData scene;
        demo::SceneThing door;
        door.kind = demo::thing::kModel;
        door.name = "door";
        door.modelName = "door.4ds";
        door.sector = "hall";
        door.translation = {1.5f, 2.0f, -3.25f};
        door.scale = {1.0f, 2.0f, 0.5f};
        demo::SceneThing lamp = door;
        lamp.name = "lamp";
        scene.things = {door, lamp};
        demo::SceneThingData doorScript;
        doorScript.name = "door";
        doorScript.script = EveryByteScript();
        demo::SceneThingData lampScript;
        lampScript.name = "lamp";
        scene.thingData = {doorScript, lampScript};
        scene.missionScripts = {{1, "init", "end\r\n"}};
        dir_.Write("alpha/scene2.bin", demo::WriteScene2(scene));
        mission = std::make_unique<CMission>("alpha", CMission::ExplicitFolder{(dir_.Path() / "alpha").string() + "/"});
        if (load)
            mission->Load();
    }

    CSceneObjectThing& Door() const { return *mission->GetThings().at(0); }
    CSceneObjectThing& Lamp() const { return *mission->GetThings().at(1); }
    CSceneObjectMissionScript& Init() const { return *mission->GetMissionScripts().at(0); }
    const std::filesystem::path& Folder() const { return dir_.Path(); }

private:
    TempDir dir_;

public:
    std::unique_ptr<CMission> mission;
};

}  // namespace testsupport
