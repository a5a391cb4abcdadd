#include "scene/FileReplacement.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

namespace {

// A file descriptor that closes itself, and removes its file unless kept.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
    {
        std::random_device random;
        for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
            path_ = target;
            path_ += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random());
            // 0666 less the umask: the file gets the permissions a new file would.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    const std::filesystem::path& Path() const { return path_; }

    bool WriteAll(std::string_view content)
    {
        while (!content.empty()) {
            const ssize_t n = ::write(fd_, content.data(), content.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            content.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool SyncAndClose()
    {
        const bool synced = ::fsync(fd_) == 0;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return synced && closed;
    }

    void Keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool kept_ = false;
};

// Makes the rename itself durable; a folder that cannot be synced changes nothing
// about the result.
void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

FileReplacementResult ReplaceFileContent(const std::filesystem::path& target, std::string_view content)
{
    TemporaryFile temporary(target);
    if (!temporary.IsOpen())
        return FileReplacementResult::kCannotCreate;
    if (!temporary.WriteAll(content))
        return FileReplacementResult::kWriteFailed;
    if (!temporary.SyncAndClose())
        return FileReplacementResult::kCloseFailed;
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0)
        return FileReplacementResult::kCannotRename;
    temporary.Keep();
    SyncFolder(target.parent_path());
    return FileReplacementResult::kDone;
}
