#include "fuzz/FuzzSupport.h"

#include <bit>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fuzz {
namespace {

volatile std::uint64_t g_sink = 0;

std::filesystem::path MakeScratchFolder()
{
    // Under TMPDIR, which scripts/fuzz points at a folder it removes however the
    // target ends (a finding ends it without running the exit handlers).
    const auto folder = std::filesystem::temp_directory_path() / ("verdax-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return folder;
}

}  // namespace

void Consume(std::uint64_t value)
{
    g_sink = g_sink * 31 + value;
}

void Consume(std::string_view bytes)
{
    std::uint64_t sum = bytes.size();
    for (unsigned char c : bytes)
        sum = sum * 131 + c;
    Consume(sum);
}

void ConsumeFloat(float value)
{
    Consume(std::bit_cast<std::uint32_t>(value));
}

const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = MakeScratchFolder();
    return folder;
}

std::filesystem::path WriteScratchFile(const std::string& relative, const std::uint8_t* data, std::size_t size)
{
    const auto path = ScratchFolder() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        throw std::runtime_error("cannot write the fuzz input to " + path.string());
    return path;
}

}  // namespace fuzz
