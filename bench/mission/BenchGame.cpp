#include "bench/mission/BenchGame.h"

#include "core/GameFolders.h"
#include "game/CMission.h"
#include "model/CTextureManager.h"

#include <set>

namespace {

namespace fs = std::filesystem;

bool HoldsTheGame(const fs::path& prefix)
{
    return fs::exists(prefix / demo::kDemoInstallPath / "Missions" / demo::kScaledMission / "scene2.bin");
}

}  // namespace

CBenchGame::CBenchGame(const fs::path& prefix) : prefix_(prefix)
{
    if (!HoldsTheGame(prefix_))
        demo::WritePrefix(prefix_, demo::ScaledGameFiles(demo::MissionScale{}));
    registry_ = std::make_unique<platform::CWineRegistry>(prefix_);
    fileSystem_ = std::make_unique<platform::CWineFileSystem>(prefix_);
    platform::SetRegistry(registry_.get());
    platform::SetFileSystem(fileSystem_.get());
    root_.SetInstallFolder(CDravoRoot::ReadInstallFolder());
    SetGameFolders(&root_);
    context_ = std::make_unique<CHeadlessGlContext>();
}

const std::vector<std::string>& CBenchGame::DistinctFiles()
{
    if (distinctFiles_.empty())
        ListInputs();
    return distinctFiles_;
}

const std::vector<std::string>& CBenchGame::FilesAsLoaded()
{
    if (filesAsLoaded_.empty())
        ListInputs();
    return filesAsLoaded_;
}

CBenchGame::~CBenchGame()
{
    CTextureManager::Instance().Clear();
    SetGameFolders(nullptr);
    platform::SetFileSystem(nullptr);
    platform::SetRegistry(nullptr);
}

std::string CBenchGame::MissionFolder() const
{
    return root_.GetMissionsFolder() + demo::kScaledMission + "\\";
}

// The inputs as the mission names them: the world, the scene file, the textures the
// world's materials name, and each thing's model.
void CBenchGame::ListInputs()
{
    CMission mission(demo::kScaledMission, &root_);
    mission.Load();
    distinctFiles_ = {MissionFolder() + "scene.4ds", MissionFolder() + "scene2.bin"};
    for (const auto& entry : platform::FileSystem().List(root_.GetMapsFolder())) {
        if (!entry.isDirectory)
            distinctFiles_.push_back(entry.path);
    }
    filesAsLoaded_ = distinctFiles_;
    std::set<std::string> models;
    for (const auto& thing : mission.GetThings()) {
        const std::string& name = thing->GetModelName();
        if (name.empty())
            continue;
        const std::string path = root_.GetModelsFolder() + name.substr(0, name.rfind('.')) + ".4DS";
        filesAsLoaded_.push_back(path);
        models.insert(path);
    }
    distinctFiles_.insert(distinctFiles_.end(), models.begin(), models.end());
}

std::uint64_t CBenchGame::Bytes(const std::vector<std::string>& files) const
{
    std::uint64_t total = 0;
    for (const std::string& file : files)
        total += fs::file_size(platform::FileSystem().Resolve(file));
    return total;
}
