#pragma once
// A whole file read into memory with one read, for the readers that parse the
// game's files from a bounds-checked cursor.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

// What tells one version of a file from another without reading it: rewriting a
// file changes its size or its modification and change times, replacing it changes
// its inode.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    FileIdentity identity;  // of the file as it was opened

    std::span<const std::uint8_t> Span() const { return {data.get(), size}; }
};

// A regular file opened for reading, with its identity; closed with the object. For
// readers that read a large file through in parts rather than hold it whole.
class COpenedFile {
public:
    // Throws CVerdaxException 3002 when it is not a regular file that can be opened.
    explicit COpenedFile(const std::filesystem::path& resolved);
    ~COpenedFile();
    COpenedFile(const COpenedFile&) = delete;
    COpenedFile& operator=(const COpenedFile&) = delete;

    int Descriptor() const { return fd_; }
    const FileIdentity& Identity() const { return identity_; }

private:
    int fd_ = -1;
    FileIdentity identity_;
};

// Reads the file at `path` (a Windows path, or a Linux path beginning with '/').
// Throws CVerdaxException 3002 when it is not a regular file that can be opened and
// 3005 when it delivers fewer bytes than its size.
FileBytes ReadFileBytes(std::string_view path);
// The same for a path already resolved on the Linux file system.
FileBytes ReadResolvedFileBytes(const std::filesystem::path& resolved);

// The identity of the regular file at a resolved path; none when there is no regular
// file there.
std::optional<FileIdentity> IdentifyFile(const std::filesystem::path& resolved);
