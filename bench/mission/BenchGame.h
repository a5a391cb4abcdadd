#pragma once
// The benchmark's game: the scaled mission written once into a Wine prefix, with the
// process's registry, file system and game folders pointed at it and a headless GL
// context current, so that a mission load does all that the editor's does.

#include "game/CDravoRoot.h"
#include "model/CHeadlessGlContext.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tools/demo/ScaledMission.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// Takes "--things N" out of argv: the mission's scale, the default one without it.
demo::MissionScale TakeScale(int& argc, char** argv);

}  // namespace bench

class CBenchGame {
public:
    // Writes the game into `prefix` unless an earlier run left it there at the same
    // scale.
    explicit CBenchGame(const std::filesystem::path& prefix, const demo::MissionScale& scale = {});
    ~CBenchGame();
    CBenchGame(const CBenchGame&) = delete;
    CBenchGame& operator=(const CBenchGame&) = delete;

    CDravoRoot& Root() { return root_; }
    bool HasGl() const { return context_ && context_->IsValid(); }
    std::string GlFailure() const { return context_ ? context_->GetFailure() : std::string(); }

    // The Windows paths of what a mission load reads: each file once, and each file as
    // many times as the things name it (a thing's model once per thing). Listed by a
    // load of the mission at the first call, and kept in the prefix, so that the
    // processes of a fresh-process measurement find them without a load.
    const std::vector<std::string>& DistinctFiles();
    const std::vector<std::string>& FilesAsLoaded();
    // The file names of the textures in the maps folder.
    std::vector<std::string> TextureNames() const;
    std::uint64_t Bytes(const std::vector<std::string>& files) const;

    std::string MissionFolder() const;
    const demo::MissionScale& Scale() const { return scale_; }

    // Writes the game into `prefix` unless it holds it at `scale` already; for the
    // programs that only need the files.
    static void Prepare(const std::filesystem::path& prefix, const demo::MissionScale& scale);

private:
    void ListInputs();
    std::filesystem::path InputListPath() const { return prefix_ / "bench-inputs.txt"; }

    std::filesystem::path prefix_;
    demo::MissionScale scale_;
    std::unique_ptr<platform::CWineRegistry> registry_;
    std::unique_ptr<platform::CWineFileSystem> fileSystem_;
    CDravoRoot root_;
    std::unique_ptr<CHeadlessGlContext> context_;
    std::vector<std::string> distinctFiles_;
    std::vector<std::string> filesAsLoaded_;
};
