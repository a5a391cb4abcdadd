// The scene file reader, through a mission's load of its objects with the input as
// the object file, from memory: the file's objects, the links of thing data to
// things, and the things' models, of which the demo's are in a scratch models folder
// written once. Those stay loaded here, so that every input's things share their read
// geometry. The world model, a file of its own that no input changes, is not looked
// for: that lookup took as long as reading a typical input.

#include "core/CVerdaxException.h"
#include "fuzz/FuzzSupport.h"
#include "core/GameFolders.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "scene/CMemoryReadBuffer.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "tools/demo/DemoModels.h"

#include <filesystem>
#include <memory>
#include <istream>
#include <vector>

namespace {

constexpr const char* kMissionName = "fuzzed";

std::vector<std::unique_ptr<C4dsModel>> WriteDemoModels()
{
    std::vector<std::unique_ptr<C4dsModel>> held;
    for (const demo::NamedModel& named : demo::DemoThingModels()) {
        const std::string bytes = demo::Write4ds(named.model);
        const auto path = fuzz::WriteScratchFile("Models/" + named.fileName,
                                                 reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        held.push_back(std::make_unique<C4dsModel>());
        held.back()->Load(path.string(), true);
    }
    return held;
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
    static const int codePage = platform::TakeAnsiCodePage();  // once, as the programs do
    fuzz::Consume(static_cast<std::uint64_t>(codePage));
    static fuzz::SilentPresenter presenter;
    static const platform::ScopedPresenter scope(presenter);
    static const std::string scratch = fuzz::ScratchFolder().string();
    static const CFixedGameFolders folders(scratch + "/Models/", scratch + "/Maps/");
    static const auto heldModels = WriteDemoModels();
    fuzz::Consume(heldModels.size());
    SetGameFolders(&folders);
    static const std::string folder = (fuzz::ScratchFolder() / "Missions" / kMissionName).string() + "/";
    // Read straight from the input's bytes, as a file read whole is.
    CMemoryReadBuffer bytes;
    bytes.Reset({reinterpret_cast<const char*>(data), size});
    std::iostream file(&bytes);
    CMission mission(kMissionName, CMission::ExplicitFolder{folder});
    try {
        mission.LoadFrom(file);
    } catch (const CVerdaxException& error) {
        fuzz::Consume(static_cast<std::uint64_t>(error.GetCode()));
    }
    fuzz::Consume(mission.IsLoaded());
    ConsumeMission(mission);
    return 0;
}
