// verdax-tool find PATTERN [--in FIELDS] [--regex] [--case]: every mission of the
// installed game searched for a text, in the order `missions` lists them, reading
// only their object files; one JSON object per match on standard output.

#include "game/CDravoRoot.h"
#include "game/CMissionSearch.h"
#include "game/CTextMatcher.h"
#include "platform/CodePage.h"
#include "tools/ToolCommand.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>

namespace {

using Json = nlohmann::ordered_json;

int RunFind(std::span<const std::string> args);

const tool::ToolCommand kFind{
    "find",
    "PATTERN [--in FIELDS] [--regex] [--case]",
    "search every mission for a text (FIELDS: names,models,scripts,sectors) and print each match as JSON",
    RunFind,
};

const tool::ToolCommandRegistrar kRegistrar(kFind);

struct FindArguments {
    std::string pattern;
    SearchFields fields;
    CTextMatcher::Options options;
};

int UsageError(const std::string& message)
{
    std::cerr << "verdax-tool find: " << message << '\n';
    return tool::kExitUsage;
}

// The fields FIELDS names, comma-separated; the message names what is wrong.
std::optional<SearchFields> ParseFields(const std::string& text, std::string& error)
{
    SearchFields fields{false, false, false, false};
    std::istringstream names(text + ",");  // a trailing comma still names an empty field
    std::string name;
    while (std::getline(names, name, ',')) {
        if (name == "names")
            fields.names = true;
        else if (name == "models")
            fields.models = true;
        else if (name == "scripts")
            fields.scripts = true;
        else if (name == "sectors")
            fields.sectors = true;
        else {
            error = "unknown field '" + name + "' in --in (fields: names, models, scripts, sectors)";
            return std::nullopt;
        }
    }
    return fields;
}

// Options may come before or after the pattern; "--" ends them.
std::optional<FindArguments> ParseArguments(std::span<const std::string> args, int& status)
{
    FindArguments parsed;
    std::vector<std::string> patterns;
    bool options = true;
    status = tool::kExitUsage;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--regex") {
            parsed.options.regex = true;
        } else if (options && arg == "--case") {
            parsed.options.caseSensitive = true;
        } else if (options && arg == "--in") {
            if (++i == args.size()) {
                tool::ReportUsage(kFind);
                return std::nullopt;
            }
            std::string error;
            const auto fields = ParseFields(args[i], error);
            if (!fields) {
                UsageError(error);
                return std::nullopt;
            }
            parsed.fields = *fields;
        } else if (options && arg.size() > 1 && arg.starts_with("--")) {
            UsageError("unknown option '" + arg + "'");
            return std::nullopt;
        } else {
            patterns.push_back(arg);
        }
    }
    if (patterns.size() != 1) {
        tool::ReportUsage(kFind);
        return std::nullopt;
    }
    parsed.pattern = patterns.front();
    status = tool::kExitOk;
    return parsed;
}

std::string_view ListKey(SearchList list)
{
    switch (list) {
    case SearchList::kThings:
        return "things";
    case SearchList::kThingData:
        return "thing_data";
    case SearchList::kMissionScripts:
        return "mission_scripts";
    }
    return "";
}

std::string_view FieldKey(SearchField field)
{
    switch (field) {
    case SearchField::kName:
        return "name";
    case SearchField::kModel:
        return "model";
    case SearchField::kSector:
        return "sector";
    case SearchField::kScript:
        return "script";
    }
    return "";
}

Json MatchJson(const std::string& mission, const SearchMatch& match, int codePage)
{
    return Json{{"mission", mission},
                {"list", ListKey(match.list)},
                {"object", platform::ToUtf8(match.object, codePage)},
                {"index", match.index},
                {"field", FieldKey(match.field)},
                {"line", match.line ? Json(match.line) : Json(nullptr)},
                {"text", platform::ToUtf8(match.text, codePage)}};
}

// Matches on standard output as they come, a mission that could not be read on
// standard error; returns whether the mission was read.
bool Print(const MissionSearchOutcome& outcome, int codePage)
{
    if (!outcome.read) {
        std::cerr << platform::ToUtf8(outcome.mission, codePage) << ": error " << outcome.errorCode;
        if (!outcome.errorText.empty())
            std::cerr << ": " << platform::ToUtf8(outcome.errorText, codePage);
        std::cerr << '\n';
        return false;
    }
    const std::string mission = platform::ToUtf8(outcome.mission, codePage);
    for (const SearchMatch& match : outcome.matches)
        std::cout << MatchJson(mission, match, codePage).dump() << '\n';
    return true;
}

int RunFind(std::span<const std::string> args)
{
    int status = tool::kExitOk;
    const auto parsed = ParseArguments(args, status);
    if (!parsed)
        return status;
    const int codePage = platform::AnsiCodePage();
    std::optional<CTextMatcher> matcher;
    try {
        matcher.emplace(parsed->pattern, parsed->options, codePage);
    } catch (const SearchPatternError& error) {
        return UsageError(error.what());
    }
    CDravoRoot root;
    root.Load();  // a registry failure shows message 1003 through the presenter
    if (!root.IsLoaded())
        return tool::kExitFailure;

    CMissionSearch search(CMissionSearch::MissionsOf(root), *matcher, parsed->fields, {});
    bool anyRead = search.GetMissionCount() == 0;
    for (;;) {
        search.Wait();
        const CMissionSearch::Progress progress = search.Take();
        for (const MissionSearchOutcome& outcome : progress.outcomes)
            anyRead = Print(outcome, codePage) || anyRead;
        std::cout.flush();
        if (progress.finished)
            break;
    }
    return anyRead ? tool::kExitOk : tool::kExitFailure;
}

}  // namespace
