#include "platform/UserStateFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

bool IsAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

// The home folder of the user this process runs as, for a session without HOME.
std::optional<std::filesystem::path> PasswordHome()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        !IsAbsolute(found->pw_dir))
        return std::nullopt;
    return std::filesystem::path(found->pw_dir);
}

}  // namespace

std::optional<std::filesystem::path> UserStateFolder(const char* xdgStateHome, const char* home)
{
    // A relative XDG path is invalid and is to be ignored, as if unset.
    if (IsAbsolute(xdgStateHome))
        return std::filesystem::path(xdgStateHome);
    if (IsAbsolute(home))
        return std::filesystem::path(home) / ".local" / "state";
    return std::nullopt;
}

std::optional<std::filesystem::path> UserStateFolder()
{
    if (auto folder = UserStateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")))
        return folder;
    if (auto home = PasswordHome())
        return *home / ".local" / "state";
    return std::nullopt;
}

}  // namespace platform
