// The scene file reader, through a whole mission load from a scratch install folder:
// the file's objects, the links of thing data to things, the things' models (none are
// found in the empty models folder).

#include "core/CVerdaxException.h"
#include "fuzz/FuzzSupport.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

namespace {

constexpr const char* kMissionName = "fuzzed";

CDravoRoot& Root()
{
    static CDravoRoot root = [] {
        CDravoRoot r;
        return r;
    }();
    return root;
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
    static const bool rooted = [] {
        Root().SetInstallFolder(fuzz::ScratchFolder().string() + "/");
        SetGameFolders(&Root());
        return true;
    }();
    fuzz::Consume(rooted);
    fuzz::WriteScratchFile(std::string("Missions/") + kMissionName + "/scene2.bin", data, size);
    CMission mission(kMissionName, &Root());
    try {
        mission.Load();
    } catch (const CVerdaxException& error) {
        fuzz::Consume(static_cast<std::uint64_t>(error.GetCode()));
    }
    fuzz::Consume(mission.IsLoaded());
    ConsumeMission(mission);
    return 0;
}
