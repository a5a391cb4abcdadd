#pragma once
// Missions loaded from object files that the demo's scene writer makes, each in a
// folder of its own under a temporary game folder whose models folder holds an
// empty model "box.4DS". The game folders are installed for the fixture's lifetime.

#include "core/GameFolders.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class SceneMissions {
public:
    SceneMissions()
    {
        dir_.Write("Models/box.4DS", ByteWriter().Bytes(std::string_view("4DS\0", 4)).Fill(10).U16(0).U16(0).Str());
        SetGameFolders(&folders_);
    }
    ~SceneMissions() { SetGameFolders(nullptr); }
    SceneMissions(const SceneMissions&) = delete;
    SceneMissions& operator=(const SceneMissions&) = delete;

    CMission& Load(const std::string& name, const demo::SceneFileData& scene)
    {
        dir_.Write("Missions/" + name + "/scene2.bin", demo::WriteScene2(scene));
        const std::string folder = (dir_.Path() / "Missions" / name).string() + "/";
        missions_.push_back(std::make_unique<CMission>(name, CMission::ExplicitFolder{folder}));
        missions_.back()->Load();
        return *missions_.back();
    }

    // What the editor's save writes for `mission` now.
    std::string Saved(CMission& mission)
    {
        mission.Save();
        return ReadFile(dir_.Path() / "Missions" / mission.GetName() / "scene2.bin.Verdax");
    }

private:
    TempDir dir_;
    CFixedGameFolders folders_{(dir_.Path() / "Models").string() + "/", (dir_.Path() / "Maps").string() + "/"};
    std::vector<std::unique_ptr<CMission>> missions_;
};

// Makes the game's code page `codePage` for the scope's lifetime.
class ScopedCodePage {
public:
    explicit ScopedCodePage(int codePage) { platform::SetAnsiCodePage(codePage); }
    ~ScopedCodePage() { platform::SetAnsiCodePage(0); }
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;
};

// A thing of kind 9 showing "box", and a kind-5 thing data holding `script`.
inline demo::SceneThing BoxThing(const std::string& name, Vector3 at = {})
{
    demo::SceneThing thing;
    thing.kind = demo::thing::kModel;
    thing.name = name;
    thing.modelName = "box.i3d";
    thing.translation = at;
    return thing;
}

inline demo::SceneThingData ScriptData(const std::string& name, const std::string& script)
{
    demo::SceneThingData data;
    data.name = name;
    data.script = script;
    return data;
}

}  // namespace testsupport
