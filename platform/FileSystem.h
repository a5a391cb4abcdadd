#pragma once
// Files and folders by their Windows paths, as the game's files name them. On Linux
// a drive letter leads through the Wine prefix's dosdevices folder, backslashes are
// separators, and a path component that is absent in exactly that letter case is
// found in any other (as Wine does). A path that begins with '/' is a Linux path.

#include <filesystem>
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

}  // namespace platform
