// Placeholder: exact-case resolution only; the Wine prefix layer is being built.
#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform {
namespace {

std::filesystem::path PrefixRoot()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/") / ".wine";
}

class SimpleFileSystem final : public IFileSystem {
public:
    std::filesystem::path Resolve(std::string_view windowsPath) const override
    {
        std::string path(windowsPath);
        std::ranges::replace(path, '\\', '/');
        if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
            const std::string drive{static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))), ':'};
            return PrefixRoot() / "dosdevices" / drive / path.substr(path.size() > 2 && path[2] == '/' ? 3 : 2);
        }
        return path;
    }

    std::vector<FolderEntry> List(std::string_view windowsFolder) const override
    {
        std::vector<FolderEntry> entries;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(Resolve(windowsFolder), ec))
            entries.push_back({std::string(windowsFolder) + entry.path().filename().string(), entry.is_directory()});
        return entries;
    }
};

const IFileSystem* g_fs = nullptr;

}  // namespace

const IFileSystem& FileSystem()
{
    static const SimpleFileSystem fs;
    return g_fs ? *g_fs : fs;
}

void SetFileSystem(const IFileSystem* fs)
{
    g_fs = fs;
}

}  // namespace platform
