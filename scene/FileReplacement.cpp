#include "scene/FileReplacement.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

FileWriteCall g_write = ::write;

constexpr std::string_view kTemporaryMark = ".tmp-";

std::filesystem::path FolderOf(const std::filesystem::path& target)
{
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// "TARGET.tmp-PID-N": the process's id tells a stale file from one still being written.
std::filesystem::path TemporaryName(const std::filesystem::path& target, std::uint64_t random)
{
    auto path = target;
    path += std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(random);
    return path;
}

// The id of the process that named `name` a temporary file of `target`; none when
// the name is not of that form.
std::optional<pid_t> TemporaryOwner(const std::string& name, const std::string& targetName)
{
    const std::string prefix = targetName + std::string(kTemporaryMark);
    if (!name.starts_with(prefix))
        return std::nullopt;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(first, last, pid);
    if (error != std::errc() || end == first || end == last || *end != '-' || pid <= 0)
        return std::nullopt;
    std::uint64_t counter = 0;
    const auto [tail, counterError] = std::from_chars(end + 1, last, counter);
    if (counterError != std::errc() || tail != last || tail == end + 1)
        return std::nullopt;
    return pid;
}

bool IsRunning(pid_t pid)
{
    return pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM);
}

// Temporary files of earlier replacements of `target` whose process is gone. This
// process replaces one target at a time, so its own are stale too.
void RemoveStaleTemporaries(const std::filesystem::path& target)
{
    std::error_code error;
    const std::string targetName = target.filename().string();
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(target), error)) {
        const auto owner = TemporaryOwner(entry.path().filename().string(), targetName);
        if (owner && !IsRunning(*owner)) {
            std::error_code ignored;
            std::filesystem::remove(entry.path(), ignored);
        }
    }
}

// The temporary file: unnamed while written where the file system allows, named
// otherwise; closed, and its name removed, unless kept.
class TemporaryFile {
public:
    TemporaryFile(const std::filesystem::path& target, mode_t permissions) : target_(target)
    {
        // Less the umask, as for any new file.
        fd_ = ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, permissions);
        if (fd_ >= 0)
            return;
        // EISDIR or EOPNOTSUPP: a kernel or file system without unnamed files.
        for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
            path_ = TemporaryName(target, random_());
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
        if (fd_ < 0)
            path_.clear();
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_ && !path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    bool WriteAll(std::string_view content)
    {
        while (!content.empty()) {
            const ssize_t n = g_write(fd_, content.data(), content.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = EIO;
                return false;
            }
            content.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Flushes the content to disk and gives the file its name, keeping the descriptor
    // of an unnamed file, which names it.
    bool SyncAndName()
    {
        if (::fsync(fd_) != 0)
            return false;
        if (path_.empty()) {
            const std::string self = "/proc/self/fd/" + std::to_string(fd_);
            for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
                const auto candidate = TemporaryName(target_, random_());
                if (Link(self, candidate))
                    path_ = candidate;
                else if (errno != EEXIST)
                    return false;
            }
            if (path_.empty())
                return false;
        }
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0;
    }

    const std::filesystem::path& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    // Through the descriptor's entry in /proc, which needs no privilege; without /proc
    // the descriptor itself, which needs one.
    bool Link(const std::string& self, const std::filesystem::path& name) const
    {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        return errno == ENOENT && ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
    }

    std::filesystem::path target_;
    std::filesystem::path path_;  // empty while unnamed
    std::random_device random_;
    int fd_ = -1;
    bool kept_ = false;
};

// Makes the rename itself durable; a folder that cannot be synced changes nothing
// about the result.
void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

FileReplacement Failed(FileReplacementResult result)
{
    return {result, errno != 0 ? errno : EIO};
}

}  // namespace

FileReplacement ReplaceFileContent(const std::filesystem::path& target, std::string_view content, mode_t permissions)
{
    RemoveStaleTemporaries(target);
    TemporaryFile temporary(target, permissions);
    if (!temporary.IsOpen())
        return Failed(FileReplacementResult::kCannotCreate);
    if (!temporary.WriteAll(content))
        return Failed(FileReplacementResult::kWriteFailed);
    if (!temporary.SyncAndName())
        return Failed(FileReplacementResult::kCloseFailed);
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0)
        return Failed(FileReplacementResult::kCannotRename);
    temporary.Keep();
    SyncFolder(FolderOf(target));
    return {};
}

FileWriteCall SetFileWriteCallForTesting(FileWriteCall call)
{
    return std::exchange(g_write, call);
}
