// verdax-tool edit MISSION EDITS.json [--dry-run]: loads a mission as dump does,
// applies the operations of EDITS.json in order through the editor's edit path
// (EditOperation.h) and writes "scene2.bin.Verdax" as the editor's save would after
// the same edits. Any bad operation is a usage error naming its position (counting
// from 0), and nothing is written; so is an EDITS.json that cannot be read or is
// not a JSON array.

#include "core/CVerdaxException.h"
#include "game/CDravoDon.h"
#include "platform/FileSystem.h"
#include "tools/EditOperation.h"
#include "tools/MissionLocator.h"
#include "tools/ToolCommand.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace {

using Json = nlohmann::json;

int RunEdit(std::span<const std::string> args);

const tool::ToolCommand kEdit{
    "edit",
    "MISSION EDITS.json [--dry-run]",
    "apply the operations of EDITS.json (set, duplicate, delete) to a mission and write its scene2.bin.Verdax",
    RunEdit,
    "EDITS.json is a JSON array of operations, applied in order as the editor applies them:\n"
    "  {\"op\": \"set\", \"object\": O, [\"list\": L,] any of \"name\": TEXT, \"translation\": [x,y,z],\n"
    "   \"rotation\": [degrees,ax,ay,az], \"scale\": [x,y,z], \"script\": TEXT}\n"
    "  {\"op\": \"duplicate\", \"object\": O, [\"list\": L,] [\"as\": NAME]}\n"
    "  {\"op\": \"delete\", \"object\": O, [\"list\": L]}\n"
    "L is \"things\" (default), \"thing_data\" or \"mission_scripts\"; O is a name (the first object\n"
    "of that name) or an index from 0. A thing takes its linked thing data along (renamed,\n"
    "duplicated, deleted with it); \"script\" on a thing sets its thing data's script.\n"
    "Prints {\"applied\": N, \"written\": PATH} (null with --dry-run, which writes nothing).\n"
    "A bad operation exits 2 naming its position (from 0), and nothing is written.\n",
};

int Usage(const std::string& message)
{
    std::cerr << "verdax-tool edit: " << message << '\n';
    return tool::kExitUsage;
}

struct Arguments {
    std::string mission;
    std::string edits;
    bool dryRun = false;
};

std::optional<Arguments> ParseArguments(std::span<const std::string> args)
{
    Arguments parsed;
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg == "--dry-run")
            parsed.dryRun = true;
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2)
        return std::nullopt;
    parsed.mission = positional[0];
    parsed.edits = positional[1];
    return parsed;
}

// The operations, or the message saying why there are none.
std::optional<Json> ReadEdits(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    if (!file || !(text << file.rdbuf())) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    Json edits = Json::parse(text.str(), nullptr, false);
    if (edits.is_discarded()) {
        error = path + " is not JSON";
        return std::nullopt;
    }
    if (!edits.is_array()) {
        error = path + " must hold a JSON array of operations";
        return std::nullopt;
    }
    return edits;
}

std::string OutputPath(const CMission& mission)
{
    const auto output =
        mission.GetFolder() + std::string(CScene2File::kFileName) + std::string(CScene2File::kOutputSuffix);
    return platform::FileSystem().Resolve(output).string();
}

int RunEdit(std::span<const std::string> args)
{
    const auto arguments = ParseArguments(args);
    if (!arguments)
        return tool::ReportUsage(kEdit);
    std::string error;
    const auto edits = ReadEdits(arguments->edits, error);
    if (!edits)
        return Usage(error);
    // Made before the mission's folders are installed: the mediator installs its own.
    CDravoDon& don = CDravoDon::Instance();
    auto located = tool::LocateMission(arguments->mission);
    const tool::ScopedGameFolders folders(*located.folders);
    CMission& mission = *located.mission;
    try {
        mission.Load();
    } catch (const CVerdaxException& failure) {
        return tool::ReportError(failure);
    }
    for (std::size_t i = 0; i < edits->size(); ++i) {
        const Json& operation = (*edits)[i];
        try {
            tool::ApplyEditOperation(don, mission, operation);
        } catch (const tool::EditOperationError& failure) {
            const auto op = operation.is_object() ? operation.value("op", Json()) : Json();
            const std::string named = op.is_string() ? " (" + op.get<std::string>() + ")" : "";
            return Usage("operation " + std::to_string(i) + named + ": " + failure.what());
        }
    }
    Json written = nullptr;
    if (!arguments->dryRun) {
        try {
            mission.Save();
        } catch (const CVerdaxException& failure) {
            return tool::ReportError(failure);
        }
        written = OutputPath(mission);
    }
    std::cout << Json{{"applied", edits->size()}, {"written", written}}.dump() << '\n';
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kEdit);

}  // namespace
