#include "game/CMissionChanges.h"

#include "platform/FileSystem.h"

CMissionChanges::CMissionChanges() = default;
CMissionChanges::~CMissionChanges() = default;

const SceneComparison& CMissionChanges::Compare(const CMission& mission)
{
    comparison_ = {};
    if (!mission.IsLoaded())
        return comparison_;
    const std::string folder = mission.GetFolder();
    const auto path = platform::FileSystem().Resolve(folder + std::string(CScene2File::kFileName));
    const std::optional<FileIdentity> identity = IdentifyFile(path);
    if (!held_ || folder != folder_ || identity != identity_)
        HoldGameFile(folder, path, identity);
    if (failure_)
        throw *failure_;  // a copy, which shows nothing: the message was shown when it was raised
    after_.Read(before_.Write(mission));
    comparison_ = CompareScenes(before_, resaved_, after_);
    return comparison_;
}

void CMissionChanges::HoldGameFile(const std::string& folder, const std::filesystem::path& path,
                                   const std::optional<FileIdentity>& identity)
{
    held_ = false;
    failure_.reset();
    try {
        const FileBytes file = ReadResolvedFileBytes(path);
        before_.Read(std::string_view(reinterpret_cast<const char*>(file.data.get()), file.size));
        resaved_.Read(before_.Write());
    } catch (const CVerdaxException& error) {
        failure_ = error;
    }
    held_ = true;
    folder_ = folder;
    identity_ = identity;
}

std::size_t CountChangesBySave(const CMission& mission)
{
    CMissionChanges changes;
    return CountChangesBySave(changes.Compare(mission));
}
