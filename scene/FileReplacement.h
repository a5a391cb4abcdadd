#pragma once
// Replaces a file as a whole: the new content goes to a fresh temporary file in the
// same folder, which is flushed to disk and then renamed over the target. Until the
// rename the target keeps its previous content; after a failure no temporary file
// is left behind.

#include <filesystem>
#include <string_view>

enum class FileReplacementResult {
    kDone,
    kCannotCreate,  // no temporary file could be created in the target's folder
    kWriteFailed,   // writing the content failed (a full disk, an I/O error)
    kCloseFailed,   // flushing or closing the temporary file failed
    kCannotRename,  // the temporary file could not take the target's place
};

FileReplacementResult ReplaceFileContent(const std::filesystem::path& target, std::string_view content);
