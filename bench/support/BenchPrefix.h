#pragma once
// The folder of a benchmark program's game (BenchGame.h writes it).

#include <filesystem>
#include <string_view>

namespace bench {

// The game's folder from "--prefix DIR", kept for later runs; without it, a folder
// of this process under the temporary folder, removed when this object ends.
class CBenchPrefix {
public:
    // `program` names the temporary folder: "verdax-bench-PROGRAM-PID".
    CBenchPrefix(int& argc, char** argv, std::string_view program);
    ~CBenchPrefix();
    CBenchPrefix(const CBenchPrefix&) = delete;
    CBenchPrefix& operator=(const CBenchPrefix&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    bool temporary_ = false;
};

}  // namespace bench
