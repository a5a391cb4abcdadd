#include "model/FileBytes.h"

#include "core/CVerdaxException.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::int64_t Nanoseconds(const timespec& time)
{
    return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

FileIdentity IdentityOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size), Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim)};
}

// Reads until `size` bytes are in or the file ends; returns how many came.
std::size_t ReadFully(int fd, std::uint8_t* place, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, place + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

}  // namespace

FileBytes ReadFileBytes(std::string_view path)
{
    return ReadResolvedFileBytes(platform::FileSystem().Resolve(path));
}

COpenedFile::COpenedFile(const std::filesystem::path& resolved)
{
    // Not blocking: a named pipe would otherwise hold the open until a writer came.
    fd_ = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    // A folder opens on Linux too: only a regular file is read.
    if (fd_ < 0 || ::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd_ >= 0)
            ::close(fd_);
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);
    }
    identity_ = IdentityOf(status);
}

COpenedFile::~COpenedFile()
{
    ::close(fd_);
}

// One open, one status and one read: a stream object per file costs more than the
// reading itself for the many small files of a mission.
FileBytes ReadResolvedFileBytes(const std::filesystem::path& resolved)
{
    const COpenedFile file(resolved);
    if (file.Identity().size > std::numeric_limits<std::size_t>::max())
        throw CVerdaxException(VERDAX_ERR_MEMORY);

    FileBytes bytes;
    bytes.size = static_cast<std::size_t>(file.Identity().size);
    bytes.identity = file.Identity();
    try {
        bytes.data = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size);
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    }
    if (ReadFully(file.Descriptor(), bytes.data.get(), bytes.size) != bytes.size)
        throw CVerdaxException(VERDAX_ERR_READ);
    return bytes;
}

std::optional<FileIdentity> IdentifyFile(const std::filesystem::path& resolved)
{
    struct stat status {};
    if (::stat(resolved.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return IdentityOf(status);
}
