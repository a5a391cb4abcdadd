// verdax-tool diff: two scene files compared object by object (scene/SceneComparison.h),
// as one JSON object on standard output. A mission's game file "scene2.bin" is
// compared with its saved edit "scene2.bin.Verdax", or any two files are.

#include "core/CVerdaxException.h"
#include "model/FileBytes.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "scene/CSceneSnapshot.h"
#include "scene/SceneComparison.h"
#include "tools/JsonNumbers.h"
#include "tools/MissionLocator.h"
#include "tools/ToolCommand.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>
#include <optional>

namespace {

using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

struct DiffFiles {
    fs::path before;
    fs::path after;
};

// MISSION, or --before FILE --after FILE in either order; none for anything else.
std::optional<DiffFiles> FilesOf(std::span<const std::string> args)
{
    if (args.size() == 1 && !args[0].starts_with("-")) {
        const auto located = tool::LocateMission(args[0]);
        const std::string gameFile = located.mission->GetFolder() + std::string(CScene2File::kFileName);
        return DiffFiles{platform::FileSystem().Resolve(gameFile),
                         platform::FileSystem().Resolve(gameFile + std::string(CScene2File::kOutputSuffix))};
    }
    if (args.size() != 4)
        return std::nullopt;
    std::optional<fs::path> before;
    std::optional<fs::path> after;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        auto* place = args[i] == "--before" ? &before : args[i] == "--after" ? &after : nullptr;
        if (!place || *place)
            return std::nullopt;
        *place = fs::path(args[i + 1]);
    }
    return DiffFiles{*before, *after};
}

// "error CODE: FILE", and ": TEXT" when the error has one.
int ReportFileError(const CVerdaxException& error, const fs::path& file)
{
    std::cerr << "error " << error.GetCode() << ": " << file.string();
    if (!error.GetText().empty())
        std::cerr << ": " << platform::ToUtf8(error.GetText());
    std::cerr << '\n';
    return tool::kExitFailure;
}

bool ReadScene(const fs::path& file, CSceneSnapshot& snapshot)
{
    try {
        const FileBytes bytes = ReadResolvedFileBytes(file);
        snapshot.Read(std::string_view(reinterpret_cast<const char*>(bytes.data.get()), bytes.size));
        return true;
    } catch (const CVerdaxException& error) {
        ReportFileError(error, file);
        return false;
    }
}

Json ValueJson(const SceneValue& value)
{
    struct ToJson {
        Json operator()(const std::string& text) const { return platform::ToUtf8(text); }
        Json operator()(std::int64_t number) const { return number; }
        Json operator()(bool flag) const { return flag; }
        Json operator()(const SceneFloats& floats) const
        {
            Json list = Json::array();
            for (std::uint8_t i = 0; i < floats.count; ++i)
                list.push_back(tool::JsonFloat(floats.values[i]));
            return list;
        }
    };
    return std::visit(ToJson{}, value);
}

Json IndexJson(const std::optional<std::size_t>& index)
{
    return index ? Json(*index) : Json(nullptr);
}

Json ChangeJson(const SceneChange& change)
{
    Json fields = Json::object();
    for (const SceneFieldChange& field : change.fields)
        fields[std::string(SceneFieldName(field.field))] = Json::array({ValueJson(field.before), ValueJson(field.after)});
    return Json{{"list", SceneListName(change.list)},
                {"object", platform::ToUtf8(change.object)},
                {"before_index", IndexJson(change.beforeIndex)},
                {"after_index", IndexJson(change.afterIndex)},
                {"change", SceneChangeKindName(change.change)},
                {"fields", fields},
                {"by", change.bySave ? "save" : "edit"}};
}

Json ComparisonJson(const DiffFiles& files, const SceneComparison& comparison)
{
    Json changes = Json::array();
    for (const SceneChange& change : comparison.changes)
        changes.push_back(ChangeJson(change));
    Json header = Json::object();
    for (const SceneHeaderChange& field : comparison.header)
        header[field.field] = Json::array({ValueJson(field.before), ValueJson(field.after)});
    return Json{{"before", files.before.string()}, {"after", files.after.string()}, {"changes", changes}, {"header", header}};
}

int RunDiff(std::span<const std::string> args);

const tool::ToolCommand kDiff{
    "diff",
    "MISSION | --before FILE --after FILE",
    "compare a mission's scene2.bin with its saved scene2.bin.Verdax, or two scene files, object by object",
    RunDiff,
};

int RunDiff(std::span<const std::string> args)
{
    const auto files = FilesOf(args);
    if (!files)
        return tool::ReportUsage(kDiff);
    CSceneSnapshot before;
    CSceneSnapshot resaved;
    CSceneSnapshot after;
    if (!ReadScene(files->before, before) || !ReadScene(files->after, after))
        return tool::kExitFailure;
    try {
        resaved.Read(before.Write());
    } catch (const CVerdaxException& error) {
        return ReportFileError(error, files->before);
    }
    const SceneComparison comparison = CompareScenes(before, resaved, after);
    std::cout << ComparisonJson(*files, comparison).dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kDiff);

}  // namespace
