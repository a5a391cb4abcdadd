// verdax-tool dump MISSION: a mission loaded as the editor loads it, as JSON on
// standard output.

#include "core/CVerdaxException.h"
#include "platform/CodePage.h"
#include "tools/JsonNumbers.h"
#include "tools/MissionLocator.h"
#include "tools/ToolCommand.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <span>

namespace {

using Json = nlohmann::ordered_json;

Json Text(const std::string& ansi)
{
    return platform::ToUtf8(ansi);
}

std::string HexText(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

Json Floats(std::initializer_list<float> values)
{
    Json list = Json::array();
    for (const float v : values)
        list.push_back(tool::JsonFloat(v));
    return list;
}

Json WorldJson(const C4dsModel& world)
{
    return Json{{"loaded", world.IsLoaded()},
                {"frames", world.GetFrames().size()},
                {"materials", world.GetMaterials().size()}};
}

Json HeaderJson(const CScene2File& file)
{
    return Json{{"word1", file.GetHeaderWord1()}, {"word2", file.GetHeaderWord2()}, {"text", Text(file.GetHeaderText())}};
}

Json SectionsJson(const CScene2File& file)
{
    return Json{{"AFFF", HexText(file.GetDataAFFF())},
                {"3200", HexText(file.GetData3200())},
                {"3010", file.GetValue3010()},
                {"3011", file.GetValue3011()},
                {"3211", HexText(file.GetData3211())},
                {"AE02", file.HasDataAE02() ? Json(HexText(file.GetDataAE02())) : Json(nullptr)}};
}

Json ThingJson(const CSceneObjectThing& thing)
{
    const Vector3 t = thing.GetTranslation();
    const AxisAngle r = thing.GetRotation();
    const Vector3 s = thing.GetScale();
    const auto* linked = thing.GetLinkedData();
    return Json{{"name", Text(thing.GetName())},
                {"kind", thing.GetKind()},
                {"translation", Floats({t.x, t.y, t.z})},
                {"rotation", Floats({r.angle, r.x, r.y, r.z})},
                {"scale", Floats({s.x, s.y, s.z})},
                {"model", Text(thing.GetModelName())},
                {"model_loaded", thing.GetModel().IsLoaded()},
                {"sector", Text(thing.GetSectorName())},
                {"linked_data", linked ? Text(linked->GetName()) : Json(nullptr)},
                {"linked_data_kind", thing.GetLinkedDataKind()}};
}

Json MissionJson(const CMission& mission)
{
    Json things = Json::array();
    for (const auto& thing : mission.GetThings())
        things.push_back(ThingJson(*thing));
    Json thingData = Json::array();
    for (const auto& data : mission.GetThingData())
        thingData.push_back(Json{{"name", Text(data->GetName())}, {"kind", data->GetKind()}, {"script", Text(data->GetScript())}});
    Json scripts = Json::array();
    for (const auto& script : mission.GetMissionScripts())
        scripts.push_back(Json{{"name", Text(script->GetName())}, {"flag", script->GetFlag()}, {"script", Text(script->GetScript())}});
    return Json{{"mission", Text(mission.GetName())},
                {"world", WorldJson(mission.GetWorldModel())},
                {"header", HeaderJson(mission.GetSceneFile())},
                {"sections", SectionsJson(mission.GetSceneFile())},
                {"things", things},
                {"thing_data", thingData},
                {"mission_scripts", scripts}};
}

int RunDump(std::span<const std::string> args);

const tool::ToolCommand kDump{
    "dump",
    "MISSION",
    "load a mission (a mission folder, or a mission of the installed game) and print it as JSON",
    RunDump,
};

int RunDump(std::span<const std::string> args)
{
    if (args.size() != 1)
        return tool::ReportUsage(kDump);
    auto located = tool::LocateMission(args[0]);
    const tool::ScopedGameFolders folders(*located.folders);
    try {
        located.mission->Load();
    } catch (const CVerdaxException& error) {
        return tool::ReportError(error);
    }
    std::cout << MissionJson(*located.mission).dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kDump);

}  // namespace
