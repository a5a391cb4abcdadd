// verdax-tool dump-model FILE [--maps DIR]: a 4DS model as the editor reads it, as
// JSON on standard output.

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "model/C4dsModel.h"
#include "model/CHeadlessGlContext.h"
#include "platform/CodePage.h"
#include "tools/JsonNumbers.h"
#include "tools/ToolCommand.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <map>
#include <memory>
#include <optional>

namespace {

using Json = nlohmann::ordered_json;

struct DumpModelArgs {
    std::string file;
    std::optional<std::string> maps;
};

std::optional<DumpModelArgs> ParseArgs(std::span<const std::string> args)
{
    DumpModelArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--maps" && i + 1 < args.size() && !parsed.maps)
            parsed.maps = args[++i];
        else if (args[i].starts_with("--") || !parsed.file.empty())
            return std::nullopt;
        else
            parsed.file = args[i];
    }
    if (parsed.file.empty())
        return std::nullopt;
    return parsed;
}

// Texture names are appended to the maps folder as they stand, so the folder text
// ends with a separator of its own kind.
std::string FolderText(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += folder.front() == '/' ? '/' : '\\';
    return folder;
}

// The maps folder named on the command line, else the installed game's; empty when
// neither is known (no textures are then loaded).
std::string MapsFolder(const DumpModelArgs& args)
{
    if (args.maps)
        return FolderText(*args.maps);
    try {
        return CDravoRoot::ReadInstallFolder() + "Maps\\";
    } catch (const CVerdaxException&) {
        return {};
    }
}

Json Text(const std::string& ansi)
{
    return platform::ToUtf8(ansi);
}

Json Floats(std::initializer_list<float> values)
{
    Json list = Json::array();
    for (float v : values)
        list.push_back(tool::JsonFloat(v));
    return list;
}

Json TextureName(const CTexture* texture)
{
    return texture ? Text(texture->GetName()) : Json(nullptr);
}

Json MaterialJson(const ModelMaterial& material)
{
    return Json{{"flags", material.flags}, {"diffuse", TextureName(material.diffuse)},
                {"alpha", TextureName(material.alpha)}};
}

Json LodJson(const ModelLod& lod)
{
    Json groups = Json::array();
    for (const FaceGroup& group : lod.faceGroups)
        groups.push_back(Json{{"faces", group.faceCount}, {"material", group.materialIndex}});
    return Json{{"distance", tool::JsonFloat(lod.distance)}, {"vertices", lod.vertexCount}, {"face_groups", groups}};
}

Json SectorJson(const SectorData& sector)
{
    return Json{{"vertices", sector.vertexCount}, {"faces", sector.faceCount}, {"portals", sector.portalCount}};
}

Json FrameJson(const ModelFrame& frame, const std::map<const ModelFrame*, std::size_t>& indexOf)
{
    Json lods = Json::array();
    for (const ModelLod& lod : frame.lods)
        lods.push_back(LodJson(lod));
    Json sectors = Json::array();
    for (const SectorData& sector : frame.sectors)
        sectors.push_back(SectorJson(sector));
    Json children = Json::array();
    for (const ModelFrame* child : frame.children)
        children.push_back(indexOf.at(child));
    const auto& [min, max] = frame.box;
    return Json{
        {"type", frame.type},
        {"visual_kind", frame.visualKind},
        {"name", Text(frame.name)},
        {"user_text", Text(frame.userText)},
        {"parent", frame.parentIndex},
        {"position", Floats({frame.position.x, frame.position.y, frame.position.z})},
        {"scale", Floats({frame.scale.x, frame.scale.y, frame.scale.z})},
        {"rotation", Floats({frame.rotation.angle, frame.rotation.x, frame.rotation.y, frame.rotation.z})},
        {"instance", frame.instanceIndex},
        {"lods", lods},
        {"sectors", sectors},
        {"box", Floats({min.x, min.y, min.z, max.x, max.y, max.z})},
        {"children", children},
    };
}

Json ModelJson(const C4dsModel& model)
{
    Json materials = Json::array();
    for (const ModelMaterial& material : model.GetMaterials())
        materials.push_back(MaterialJson(material));
    std::map<const ModelFrame*, std::size_t> indexOf;
    for (std::size_t i = 0; i < model.GetFrames().size(); ++i)
        indexOf[model.GetFrames()[i].get()] = i;
    Json frames = Json::array();
    for (const auto& frame : model.GetFrames())
        frames.push_back(FrameJson(*frame, indexOf));
    return Json{{"name", Text(model.GetName())},
                {"loaded", model.IsLoaded()},
                {"materials", materials},
                {"frames", frames}};
}

int RunDumpModel(std::span<const std::string> args);

const tool::ToolCommand kDumpModel{
    "dump-model",
    "FILE [--maps DIR]",
    "print a 4DS model as JSON; textures from DIR, else from the installed game's maps folder",
    RunDumpModel,
};

int RunDumpModel(std::span<const std::string> args)
{
    const auto parsed = ParseArgs(args);
    if (!parsed)
        return tool::ReportUsage(kDumpModel);

    const std::string maps = MapsFolder(*parsed);
    const CFixedGameFolders folders(GameFolders().GetModelsFolder(), maps);
    SetGameFolders(&folders);
    // Textures are GL objects; without a maps folder there are none to make.
    std::unique_ptr<CHeadlessGlContext> context;
    if (!maps.empty()) {
        context = std::make_unique<CHeadlessGlContext>();
        if (!context->IsValid())
            std::cerr << "verdax-tool dump-model: no OpenGL context (" << context->GetFailure()
                      << "); textures are not loaded\n";
    }

    C4dsModel model;
    try {
        model.Load(parsed->file, true);
    } catch (const CVerdaxException& error) {
        SetGameFolders(nullptr);
        return tool::ReportError(error);
    }
    SetGameFolders(nullptr);
    std::cout << ModelJson(model).dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kDumpModel);

}  // namespace
