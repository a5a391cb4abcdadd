// The scene file reader, through a whole mission load from a scratch install folder:
// the file's objects, the links of thing data to things, and the things' models, of
// which the demo's are in the models folder.

#include "core/CVerdaxException.h"
#include "fuzz/FuzzSupport.h"
#include "core/GameFolders.h"
#include "game/CMission.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "tools/demo/DemoModels.h"

namespace {

constexpr const char* kMissionName = "fuzzed";

void WriteDemoModels()
{
    for (const demo::NamedModel& named : demo::DemoThingModels()) {
        const std::string bytes = demo::Write4ds(named.model);
        fuzz::WriteScratchFile("Models/" + named.fileName, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                               bytes.size());
    }
}

void ConsumeObject(const CSceneObject& object)
{
    fuzz::Consume(object.GetName());
    fuzz::Consume(object.GetScript());
    const Vector3 t = object.GetTranslation();
    const AxisAngle r = object.GetRotation();
    fuzz::ConsumeFloat(t.x + t.y + t.z + r.angle);
}

void ConsumeMission(const CMission& mission)
{
    for (const auto& thing : mission.GetThings()) {
        ConsumeObject(*thing);
        fuzz::Consume(static_cast<std::uint64_t>(thing->GetKind()));
        fuzz::Consume(thing->GetModelName());
        fuzz::Consume(thing->GetSectorName());
        fuzz::Consume(static_cast<std::uint64_t>(thing->GetLinkedDataKind()));
    }
    for (const auto& data : mission.GetThingData())
        ConsumeObject(*data);
    for (const auto& script : mission.GetMissionScripts())
        ConsumeObject(*script);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::SilentPresenter presenter;
    static const platform::ScopedPresenter scope(presenter);
    static const std::string scratch = fuzz::ScratchFolder().string();
    static const CFixedGameFolders folders(scratch + "/Models/", scratch + "/Maps/");
    static const bool modelsWritten = (WriteDemoModels(), true);
    fuzz::Consume(modelsWritten);
    SetGameFolders(&folders);
    const auto file = fuzz::WriteScratchFile(std::string("Missions/") + kMissionName + "/scene2.bin", data, size);
    CMission mission(kMissionName, CMission::ExplicitFolder{file.parent_path().string() + "/"});
    try {
        mission.Load();
    } catch (const CVerdaxException& error) {
        fuzz::Consume(static_cast<std::uint64_t>(error.GetCode()));
    }
    fuzz::Consume(mission.IsLoaded());
    ConsumeMission(mission);
    return 0;
}
