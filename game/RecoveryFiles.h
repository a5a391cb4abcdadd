#pragma once
// The file work under the recovery store (CRecoveryStore.h): the names of an
// entry's files, the folders made for the user alone, bounded reads.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace recovery_files {

inline constexpr std::string_view kDescriptionSuffix = ".description";
inline constexpr std::string_view kCopySuffix = ".scene2.bin";
inline constexpr std::string_view kClaimMark = ".claim-";
inline constexpr std::string_view kUnreadableFolder = "unreadable";

std::filesystem::path DescriptionPath(const std::filesystem::path& folder, const std::string& slot);
std::filesystem::path CopyPath(const std::filesystem::path& folder, const std::string& slot, const std::string& copy);
std::filesystem::path ClaimPath(const std::filesystem::path& folder, const std::string& slot, pid_t pid);

// Makes `folder` and each missing folder above it with permissions for the user
// alone (0700), as the XDG rules ask of a state folder. The system's errno when
// that fails; 0 when done.
int MakePrivateFolders(const std::filesystem::path& folder);

// The slot a file of the store belongs to: its name up to the first '.', when that
// is a slot's name and the rest one of an entry's files (or a temporary file of
// one); nothing for any other file, which the store leaves alone.
std::optional<std::string> SlotOf(std::string_view fileName);

// The plain files of the store's folder, by slot; empty when there is no folder.
std::map<std::string, std::vector<std::string>> FilesBySlot(const std::filesystem::path& folder);

// The process that is claiming a slot with a file of this name (SLOT.claim-PID, or
// a temporary file of it); nothing for other names.
std::optional<pid_t> ClaimingProcess(std::string_view fileName);

struct FileRead {
    std::optional<std::string> bytes;  // nothing when missing, unreadable, or longer than allowed
    int systemError = 0;               // ENOENT for a missing file, EFBIG for one too long
};

// The whole file when it holds at most `maxBytes`.
FileRead ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// Local time as "YYYYMMDD-HHMMSS", for names of folders set aside.
std::string TimeStamp();

}  // namespace recovery_files
