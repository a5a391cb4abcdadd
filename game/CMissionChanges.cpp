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
    if (folder != folder_ || !identity_ || IdentifyFile(path) != identity_)
        ReadGameFile(folder, path);
    after_.Read(before_.Write(mission));
    comparison_ = CompareScenes(before_, resaved_, after_);
    return comparison_;
}

void CMissionChanges::ReadGameFile(const std::string& folder, const std::filesystem::path& path)
{
    folder_.clear();
    identity_.reset();
    const FileBytes file = ReadResolvedFileBytes(path);
    const std::string_view bytes(reinterpret_cast<const char*>(file.data.get()), file.size);
    before_.Read(bytes);
    resaved_.Read(before_.Write());
    folder_ = folder;
    identity_ = file.identity;
}

std::size_t CountChangesBySave(const CMission& mission)
{
    CMissionChanges changes;
    return CountChangesBySave(changes.Compare(mission));
}
