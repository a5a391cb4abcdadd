#include "game/CMissionChanges.h"

#include "platform/FileSystem.h"

namespace {

void ReadSnapshot(CSceneSnapshot& snapshot, const std::string& path)
{
    const FileBytes file = ReadResolvedFileBytes(platform::FileSystem().Resolve(path));
    snapshot.Read(std::string_view(reinterpret_cast<const char*>(file.data.get()), file.size));
}

}  // namespace

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

std::size_t CountChangesByUneditedSave(const std::string& missionFolder)
{
    const std::string gameFile = missionFolder + std::string(CScene2File::kFileName);
    CSceneSnapshot before;
    CSceneSnapshot saved;
    ReadSnapshot(before, gameFile);
    before.DropObjects();  // their memory serves the next read
    ReadSnapshot(saved, gameFile + std::string(CScene2File::kOutputSuffix));
    saved.DropObjects();
    return CountChangesBySave(CompareScenes(before, saved, saved));
}
