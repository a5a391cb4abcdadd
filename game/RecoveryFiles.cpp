#include "game/RecoveryFiles.h"

#include <cerrno>
#include <charconv>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace recovery_files {

std::filesystem::path DescriptionPath(const std::filesystem::path& folder, const std::string& slot)
{
    return folder / (slot + std::string(kDescriptionSuffix));
}

std::filesystem::path CopyPath(const std::filesystem::path& folder, const std::string& slot, const std::string& copy)
{
    return folder / (slot + "." + copy + std::string(kCopySuffix));
}

std::filesystem::path ClaimPath(const std::filesystem::path& folder, const std::string& slot, pid_t pid)
{
    return folder / (slot + std::string(kClaimMark) + std::to_string(pid));
}

int MakePrivateFolders(const std::filesystem::path& folder)
{
    std::filesystem::path path;
    for (const auto& part : folder) {
        path /= part;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return errno;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

namespace {

bool IsHex(std::string_view text)
{
    return text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// "NAME-HASH" or "NAME-HASH-N" (RecoverySlotName): readable letters, 16 hex digits,
// an alternate from 2 to 9.
bool IsSlotName(std::string_view slot)
{
    if (slot.size() > 2 && slot[slot.size() - 2] == '-' && slot.back() >= '2' && slot.back() <= '9')
        slot.remove_suffix(2);
    if (slot.size() < 18 || slot[slot.size() - 17] != '-' || !IsHex(slot.substr(slot.size() - 16)))
        return false;
    const std::string_view readable = slot.substr(0, slot.size() - 17);
    return readable.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") ==
           std::string_view::npos;
}

}  // namespace

std::optional<std::string> SlotOf(std::string_view fileName)
{
    const std::size_t dot = fileName.find('.');
    if (dot == std::string_view::npos || !IsSlotName(fileName.substr(0, dot)))
        return std::nullopt;
    const std::string_view rest = fileName.substr(dot);
    for (const std::string_view ours : {kDescriptionSuffix, std::string_view(".a.scene2.bin"),
                                        std::string_view(".b.scene2.bin"), kClaimMark}) {
        if (rest.starts_with(ours))
            return std::string(fileName.substr(0, dot));
    }
    return std::nullopt;
}

std::map<std::string, std::vector<std::string>> FilesBySlot(const std::filesystem::path& folder)
{
    std::map<std::string, std::vector<std::string>> files;
    std::error_code error;
    // Stepped with an error code: a folder changing under the walk ends it rather than throwing.
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = it->path().filename().string();
        if (const auto slot = SlotOf(name))
            files[*slot].push_back(name);
    }
    return files;
}

std::optional<pid_t> ClaimingProcess(std::string_view fileName)
{
    const std::size_t mark = fileName.find(kClaimMark);
    if (mark == std::string_view::npos)
        return std::nullopt;
    const char* first = fileName.data() + mark + kClaimMark.size();
    const char* last = fileName.data() + fileName.size();
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(first, last, pid);
    if (error != std::errc() || end == first || pid <= 0 || (end != last && *end != '.'))
        return std::nullopt;
    return pid;
}

FileRead ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    FileRead read;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        read.systemError = errno;
        return read;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        read.systemError = errno;
    } else if (!S_ISREG(info.st_mode)) {
        read.systemError = EISDIR;
    } else if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        read.systemError = EFBIG;
    } else {
        std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        int error = 0;
        while (done < bytes.size() && error == 0) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n == 0)
                error = EIO;  // shorter than it was a moment ago
            else if (errno != EINTR)
                error = errno;
        }
        if (error == 0)
            read.bytes = std::move(bytes);
        read.systemError = error;
    }
    ::close(fd);
    return read;
}

std::string TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace recovery_files
