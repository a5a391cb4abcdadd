#include "bench/mission/BenchGame.h"

#include "bench/support/BenchArguments.h"
#include "core/GameFolders.h"
#include "game/CMission.h"
#include "model/CTextureManager.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// The scale the game in a prefix was written at, one number a line.
fs::path ScalePath(const fs::path& prefix)
{
    return prefix / "bench-scale.txt";
}

std::string ScaleText(const demo::MissionScale& s)
{
    std::ostringstream text;
    for (const int n : {s.things, s.models, s.thingData, s.missionScripts, s.worldFrames, s.worldTriangles, s.textures,
                        s.textureSize})
        text << n << '\n';
    return text.str();
}

bool HoldsTheGame(const fs::path& prefix, const demo::MissionScale& scale)
{
    std::ifstream saved(ScalePath(prefix));
    const std::string text{std::istreambuf_iterator<char>(saved), {}};
    return text == ScaleText(scale) &&
           fs::exists(prefix / demo::kDemoInstallPath / "Missions" / demo::kScaledMission / "scene2.bin");
}

}  // namespace

demo::MissionScale bench::TakeScale(int& argc, char** argv)
{
    demo::MissionScale scale;
    scale.things = std::max(1, TakeNumber(argc, argv, "--things", scale.things));
    return scale;
}

void CBenchGame::Prepare(const fs::path& prefix, const demo::MissionScale& scale)
{
    if (HoldsTheGame(prefix, scale))
        return;
    fs::remove(prefix / "bench-inputs.txt");
    demo::WritePrefix(prefix, demo::ScaledGameFiles(scale));
    std::ofstream(ScalePath(prefix)) << ScaleText(scale);
}

CBenchGame::CBenchGame(const fs::path& prefix, const demo::MissionScale& scale) : prefix_(prefix), scale_(scale)
{
    Prepare(prefix_, scale_);
    platform::TakeAnsiCodePage();  // once, as the editor does at start-up
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

std::vector<std::string> CBenchGame::TextureNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : platform::FileSystem().List(root_.GetMapsFolder())) {
        if (!entry.isDirectory)
            names.push_back(entry.path.substr(entry.path.find_last_of("\\/") + 1));
    }
    return names;
}

// The inputs as the mission names them: the world, the scene file, the textures the
// world's materials name, and each thing's model. The list file holds a line per
// read: "D PATH" for a file's first read, "L PATH" for a thing's repeated one.
void CBenchGame::ListInputs()
{
    std::ifstream saved(InputListPath());
    std::string kind;
    std::string path;
    while (saved >> kind && std::getline(saved >> std::ws, path)) {
        if (kind == "D")
            distinctFiles_.push_back(path);
        filesAsLoaded_.push_back(path);
    }
    if (!distinctFiles_.empty())
        return;
    filesAsLoaded_.clear();

    CMission mission(demo::kScaledMission, &root_);
    mission.Load();
    distinctFiles_ = {MissionFolder() + "scene.4ds", MissionFolder() + "scene2.bin"};
    for (const std::string& name : TextureNames())
        distinctFiles_.push_back(root_.GetMapsFolder() + name);
    std::vector<std::string> repeated;
    std::set<std::string> models;
    for (const auto& thing : mission.GetThings()) {
        const std::string& name = thing->GetModelName();
        if (name.empty())
            continue;
        const std::string modelPath = root_.GetModelsFolder() + name.substr(0, name.rfind('.')) + ".4DS";
        if (!models.insert(modelPath).second)
            repeated.push_back(modelPath);
    }
    distinctFiles_.insert(distinctFiles_.end(), models.begin(), models.end());
    filesAsLoaded_ = distinctFiles_;
    filesAsLoaded_.insert(filesAsLoaded_.end(), repeated.begin(), repeated.end());

    std::ofstream list(InputListPath());
    for (const std::string& file : distinctFiles_)
        list << "D " << file << '\n';
    for (const std::string& file : repeated)
        list << "L " << file << '\n';
}

std::uint64_t CBenchGame::Bytes(const std::vector<std::string>& files) const
{
    std::uint64_t total = 0;
    for (const std::string& file : files)
        total += fs::file_size(platform::FileSystem().Resolve(file));
    return total;
}
