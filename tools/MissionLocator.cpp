#include "tools/MissionLocator.h"

#include "core/CVerdaxException.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <optional>

namespace tool {
namespace {

std::optional<std::string> InstalledGameFolder()
{
    try {
        return CDravoRoot::ReadInstallFolder();
    } catch (const CVerdaxException&) {
        return std::nullopt;
    }
}

bool IsFolder(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

// The command line names Linux paths; the mission keeps them as '/' paths ending in
// a separator, to which file names are appended.
std::string LinuxFolderText(const std::filesystem::path& folder)
{
    std::string text = folder.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

LocatedMission MissionAtPath(const std::string& argument)
{
    std::error_code ec;
    auto folder = std::filesystem::absolute(argument, ec).lexically_normal();
    if (folder.has_filename() == false)
        folder = folder.parent_path();  // a trailing separator
    LocatedMission located;
    located.mission =
        std::make_unique<CMission>(folder.filename().string(), CMission::ExplicitFolder{LinuxFolderText(folder)});
    const auto game = folder.parent_path().parent_path();
    located.folders = std::make_unique<CFixedGameFolders>(LinuxFolderText(game / "Models"), LinuxFolderText(game / "Maps"));
    return located;
}

}  // namespace

LocatedMission LocateMission(const std::string& argument)
{
    const auto installFolder = InstalledGameFolder();
    const bool isPath = IsFolder(argument) || argument.find('/') != std::string::npos;
    if (installFolder && !isPath) {
        // Mission names are code page text, as the catalogue lists them.
        const std::string name = platform::FromUtf8(argument);
        auto root = std::make_unique<CDravoRoot>();
        root->SetInstallFolder(*installFolder);
        if (IsFolder(platform::FileSystem().Resolve(root->GetMissionsFolder() + name))) {
            LocatedMission located;
            located.mission = std::make_unique<CMission>(name, root.get());
            located.folders = std::make_unique<CFixedGameFolders>(root->GetModelsFolder(), root->GetMapsFolder());
            located.root = std::move(root);
            return located;
        }
    }
    auto located = MissionAtPath(argument);
    if (installFolder)
        located.folders = std::make_unique<CFixedGameFolders>(*installFolder + "Models\\", *installFolder + "Maps\\");
    return located;
}

}  // namespace tool
