#pragma once
// Replaces a file as a whole: the new content goes to a temporary file in the same
// folder, which is flushed to disk and then renamed over the target. Until the
// rename the target keeps its previous content.
//
// The temporary file is unnamed where the file system offers that (Linux O_TMPFILE):
// it is given a name only once complete, just before the rename, so a process killed
// while writing leaves nothing behind. Elsewhere it is named "TARGET.tmp-PID-N" from
// the start. A name of that form left by a process that no longer runs (killed in
// the moment between naming and rename, or while writing without O_TMPFILE) is
// removed by the next replacement of the same target.

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <sys/types.h>

enum class FileReplacementResult {
    kDone,
    kCannotCreate,  // no temporary file could be created in the target's folder
    kWriteFailed,   // writing the content failed (a full disk, an I/O error)
    kCloseFailed,   // flushing or closing the temporary file failed
    kCannotRename,  // the temporary file could not take the target's place
};

struct FileReplacement {
    FileReplacementResult result = FileReplacementResult::kDone;
    int systemError = 0;  // the errno of the step that failed; 0 when done
};

// `permissions` (less the umask) are those of a new file; a file kept from the
// user alone gives 0600.
FileReplacement ReplaceFileContent(const std::filesystem::path& target, std::string_view content,
                                   mode_t permissions = 0666);

// The call that writes the content, replaceable so that a test can make a write fail
// as a full disk does. Returns the previous one.
using FileWriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
FileWriteCall SetFileWriteCallForTesting(FileWriteCall call);
