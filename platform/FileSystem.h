#pragma once
// Files and folders by their Windows paths, as the game's files name them. On Linux
// a drive letter leads through the Wine prefix's dosdevices folder, backslashes are
// separators, and a path component that is absent in exactly that letter case is
// found in any other (as Wine does). A path that begins with '/' is a Linux path.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FolderEntry {
    std::string path;  // the folder's path as given, a separator, then the entry's name on disk
    bool isDirectory = false;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // The Linux path for `windowsPath`. Components that exist are resolved without
    // regard to case; a missing one is kept as given (so that a new file can be
    // created under an existing folder).
    virtual std::filesystem::path Resolve(std::string_view windowsPath) const = 0;

    // The entries of a folder ("." and ".." included, as the Windows search returns
    // them), in the order the file system gives; empty when the folder is missing.
    virtual std::vector<FolderEntry> List(std::string_view windowsFolder) const = 0;
};

// The file system in force: the Wine prefix of $WINEPREFIX (default ~/.wine).
const IFileSystem& FileSystem();

// Installs `fs` (not owned); null restores the default.
void SetFileSystem(const IFileSystem* fs);

// The files of a Wine prefix.
//
// Forms of path:
// - "C:\dir\file": the drive's link in <prefix>/dosdevices ("c:" leads to ../drive_c).
// - "\\server\share\file": <prefix>/dosdevices/unc/server/share/file.
// - "\dir\file": on drive C:.
// - "/dir/file" and relative paths ("dir\file"): Linux paths, relative ones from
//   the current folder.
// Both kinds of slash separate components; "." is dropped and ".." steps back, never
// above the drive or the Linux root. The bytes of Windows paths are code page text
// and become the UTF-8 names Wine gives files on disk; the bytes of Linux paths are
// the names themselves. List gives entry names back in the same form.
class CWineFileSystem final : public IFileSystem {
public:
    // The prefix of WinePrefix(), looked up at each call.
    CWineFileSystem() = default;
    explicit CWineFileSystem(std::filesystem::path prefix) : prefix_(std::move(prefix)) {}

    std::filesystem::path Resolve(std::string_view windowsPath) const override;
    std::vector<FolderEntry> List(std::string_view windowsFolder) const override;

private:
    std::filesystem::path Prefix() const;

    std::optional<std::filesystem::path> prefix_;
};

}  // namespace platform
