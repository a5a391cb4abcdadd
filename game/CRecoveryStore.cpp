#include "game/CRecoveryStore.h"

#include "game/CDravoRoot.h"
#include "game/RecoveryFiles.h"
#include "platform/FileSystem.h"
#include "platform/UserStateFolder.h"
#include "scene/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace files = recovery_files;

namespace {

constexpr std::size_t kMaxDescription = 64 * 1024;
// The scene files of the largest missions are a few MiB; a description claiming
// far more is not believed.
constexpr std::uint64_t kMaxCopy = 512ull << 20;
constexpr mode_t kPrivateFile = 0600;

RecoveryOutcome Failed(std::string failure)
{
    return {false, std::move(failure)};
}

std::string SystemReason(int error)
{
    return std::strerror(error);
}

std::string Named(const std::filesystem::path& path, int error)
{
    return path.string() + ": " + SystemReason(error);
}

bool Replace(const std::filesystem::path& path, std::string_view bytes, RecoveryOutcome& outcome)
{
    const FileReplacement replacement = ReplaceFileContent(path, bytes, kPrivateFile);
    if (replacement.result == FileReplacementResult::kDone)
        return true;
    outcome = Failed("не записан файл " + Named(path, replacement.systemError));
    return false;
}

bool ProcessExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

struct CRecoveryStore::SlotState {
    bool exists = false;  // a description is there, readable or not
    std::optional<RecoveryEntry> entry;
    std::string failure;
    bool laterVersion = false;
};

CRecoveryStore::CRecoveryStore(std::filesystem::path folder, platform::ProcessIdentity self,
                               EditorProbe isRunningEditor)
    : folder_(std::move(folder)), self_(std::move(self)), isRunningEditor_(std::move(isRunningEditor))
{
    if (!isRunningEditor_) {
        isRunningEditor_ = [](const platform::ProcessIdentity& writer) {
            return platform::IsRunningProgram(writer, kEditorProgram);
        };
    }
}

std::optional<std::filesystem::path> CRecoveryStore::DefaultFolder()
{
    const auto state = platform::UserStateFolder();
    if (!state)
        return std::nullopt;
    return *state / "verdax" / "recovery";
}

CRecoveryStore::SlotState CRecoveryStore::ReadSlot(const std::string& slot) const
{
    SlotState state;
    const files::FileRead read = files::ReadWholeFile(files::DescriptionPath(folder_, slot), kMaxDescription);
    if (read.systemError == ENOENT)
        return state;
    state.exists = true;
    if (!read.bytes) {
        state.failure = "описание не читается: " + SystemReason(read.systemError);
        return state;
    }
    RecoveryDescriptionRead parsed = ParseRecoveryDescription(*read.bytes);
    state.entry = std::move(parsed.entry);
    state.failure = std::move(parsed.failure);
    state.laterVersion = parsed.laterVersion;
    if (state.entry)
        state.entry->slot = slot;
    return state;
}

bool CRecoveryStore::IsRunning(const platform::ProcessIdentity& writer) const
{
    return writer == self_ || isRunningEditor_(writer);
}

// Writing ------------------------------------------------------------------------

RecoveryOutcome CRecoveryStore::Write(const RecoverySnapshot& snapshot)
{
    std::lock_guard lock(mutex_);
    if (const int error = files::MakePrivateFolders(folder_))
        return Failed("не создана папка копий восстановления " + Named(folder_, error));
    RecoveryOutcome outcome;
    auto entry = OwnEntry(snapshot, outcome);
    if (!entry)
        return outcome;
    const std::string former = entry->copy;
    entry->copy = former == "a" ? "b" : "a";
    entry->copySize = snapshot.Bytes().size();
    entry->copyHash = RecoveryCopyHash(snapshot.Bytes());
    entry->savedAt = snapshot.takenAt;
    entry->undoSteps = snapshot.undoSteps;
    if (!Replace(files::CopyPath(folder_, entry->slot, entry->copy), snapshot.Bytes(), outcome) ||
        !Replace(files::DescriptionPath(folder_, entry->slot), FormatRecoveryDescription(*entry), outcome))
        return outcome;
    if (!former.empty()) {
        std::error_code ignored;
        std::filesystem::remove(files::CopyPath(folder_, entry->slot, former), ignored);
    }
    return outcome;
}

// This editor's entry for the snapshot's mission: the one it has, else a free slot
// claimed now.
std::optional<RecoveryEntry> CRecoveryStore::OwnEntry(const RecoverySnapshot& snapshot, RecoveryOutcome& outcome)
{
    std::vector<std::string> free;
    for (int alternate = 1; alternate <= kRecoveryAlternates; ++alternate) {
        std::string slot = RecoverySlotName(snapshot.installFolder, snapshot.missionName, alternate);
        SlotState state = ReadSlot(slot);
        if (!state.exists)
            free.push_back(std::move(slot));
        else if (state.entry && state.entry->writer == self_ &&
                 state.entry->IsOf(snapshot.installFolder, snapshot.missionName))
            return state.entry;
    }
    RecoveryEntry reservation;
    reservation.installFolder = snapshot.installFolder;
    reservation.missionName = snapshot.missionName;
    reservation.savedAt = snapshot.takenAt;
    reservation.writer = self_;
    reservation.undoSteps = snapshot.undoSteps;
    for (const std::string& slot : free) {
        reservation.slot = slot;
        if (Claim(slot, reservation, outcome))
            return reservation;
        if (!outcome.done)
            return std::nullopt;
    }
    outcome = Failed("все " + std::to_string(kRecoveryAlternates) + " мест для копий миссии заняты другими редакторами");
    return std::nullopt;
}

// The reservation is written whole under a name of this process and then linked as
// the slot's description, which fails when another editor's is there.
bool CRecoveryStore::Claim(const std::string& slot, const RecoveryEntry& reservation, RecoveryOutcome& outcome)
{
    const auto claim = files::ClaimPath(folder_, slot, self_.pid);
    if (!Replace(claim, FormatRecoveryDescription(reservation), outcome))
        return false;
    const auto description = files::DescriptionPath(folder_, slot);
    const bool linked = ::link(claim.c_str(), description.c_str()) == 0;
    const int error = errno;
    std::error_code ignored;
    std::filesystem::remove(claim, ignored);
    if (!linked && error != EEXIST)
        outcome = Failed("не создано описание " + Named(description, error));
    return linked;
}

RecoveryOutcome CRecoveryStore::RemoveOwn(std::string_view installFolder, std::string_view missionName)
{
    std::lock_guard lock(mutex_);
    RecoveryOutcome outcome;
    for (int alternate = 1; alternate <= kRecoveryAlternates && outcome.done; ++alternate) {
        const std::string slot = RecoverySlotName(installFolder, missionName, alternate);
        const SlotState state = ReadSlot(slot);
        if (state.entry && state.entry->writer == self_ && state.entry->IsOf(installFolder, missionName))
            outcome = RemoveSlot(slot);
    }
    return outcome;
}

// The description first: from then on there is no entry, only files to clear away.
// Failing to remove it fails the removal, since the entry would still be offered.
RecoveryOutcome CRecoveryStore::RemoveSlot(const std::string& slot) const
{
    const auto description = files::DescriptionPath(folder_, slot);
    if (::unlink(description.c_str()) != 0 && errno != ENOENT)
        return Failed("не удалено описание " + Named(description, errno));
    std::error_code ignored;
    const auto all = files::FilesBySlot(folder_);
    if (const auto it = all.find(slot); it != all.end()) {
        for (const std::string& name : it->second)
            std::filesystem::remove(folder_ / name, ignored);
    }
    return {};
}

// Listing ------------------------------------------------------------------------

RecoveryListing CRecoveryStore::List(std::string_view installFolder)
{
    std::lock_guard lock(mutex_);
    RecoveryListing listing;
    for (const auto& [slot, names] : files::FilesBySlot(folder_))
        ListSlot(slot, names, installFolder, listing);
    std::ranges::stable_sort(listing.left, std::ranges::greater(), &RecoveryEntry::savedAt);
    return listing;
}

void CRecoveryStore::ListSlot(const std::string& slot, const std::vector<std::string>& names,
                              std::string_view installFolder, RecoveryListing& listing)
{
    const SlotState state = ReadSlot(slot);
    if (!state.exists) {
        RemoveUndescribed(slot, names);
        return;
    }
    if (state.laterVersion)
        return;
    if (!state.entry) {
        listing.movedAside.push_back(MoveSlotAside(slot, state.failure));
        return;
    }
    const RecoveryEntry& entry = *state.entry;
    if (entry.installFolder != installFolder)
        return;
    if (IsRunning(entry.writer)) {
        listing.running.push_back(entry);
    } else if (!entry.HasCopy()) {
        RemoveSlot(slot);  // a first write that did not get as far as its copy
    } else if (const RecoveryCopyRead copy = ReadCopyLocked(entry); !copy.failure.empty()) {
        listing.movedAside.push_back(MoveSlotAside(slot, copy.failure));
    } else {
        listing.left.push_back(entry);
    }
}

// Files of a slot without a description are what a removal or a killed first
// write left, except the claim of an editor claiming the slot right now.
void CRecoveryStore::RemoveUndescribed(const std::string& slot, const std::vector<std::string>& names) const
{
    for (const std::string& name : names) {
        const auto claimant = files::ClaimingProcess(name);
        if (claimant && ProcessExists(*claimant))
            continue;
        // Claimed since the folder was read: the files are its editor's now.
        std::error_code error;
        if (std::filesystem::exists(files::DescriptionPath(folder_, slot), error) || error)
            return;
        std::filesystem::remove(folder_ / name, error);
    }
}

// Entries dealt with one by one ----------------------------------------------------

bool CRecoveryStore::StillLeft(const RecoveryEntry& entry, RecoveryOutcome& outcome) const
{
    const SlotState state = ReadSlot(entry.slot);
    if (!state.entry || state.entry->writer != entry.writer ||
        !state.entry->IsOf(entry.installFolder, entry.missionName) || state.entry->copy != entry.copy) {
        outcome = Failed("копия восстановления " + entry.slot + " изменилась с тех пор, как её прочли");
        return false;
    }
    if (entry.writer != self_ && isRunningEditor_(entry.writer)) {
        outcome = Failed("копия восстановления " + entry.slot + " принадлежит работающему редактору");
        return false;
    }
    return true;
}

RecoveryOutcome CRecoveryStore::Remove(const RecoveryEntry& entry)
{
    std::lock_guard lock(mutex_);
    RecoveryOutcome outcome;
    if (StillLeft(entry, outcome))
        outcome = RemoveSlot(entry.slot);
    return outcome;
}

RecoveryOutcome CRecoveryStore::Adopt(const RecoveryEntry& entry)
{
    std::lock_guard lock(mutex_);
    RecoveryOutcome outcome;
    if (!StillLeft(entry, outcome))
        return outcome;
    RecoveryEntry adopted = entry;
    adopted.writer = self_;
    Replace(files::DescriptionPath(folder_, entry.slot), FormatRecoveryDescription(adopted), outcome);
    return outcome;
}

std::optional<UnreadableRecoveryEntry> CRecoveryStore::MoveAside(const RecoveryEntry& entry,
                                                                 const std::string& reason)
{
    std::lock_guard lock(mutex_);
    RecoveryOutcome outcome;
    if (!StillLeft(entry, outcome))
        return std::nullopt;
    return MoveSlotAside(entry.slot, reason);
}

// Into a folder of its own under "unreadable", with the reason beside the files.
// The copies go before the description: a move cut short leaves a description
// whose copy is missing, which the next listing moves aside in turn, never copies
// without a description, which it would remove.
UnreadableRecoveryEntry CRecoveryStore::MoveSlotAside(const std::string& slot, const std::string& reason) const
{
    UnreadableRecoveryEntry moved{folder_, reason};
    const auto aside = folder_ / files::kUnreadableFolder;
    if (const int error = files::MakePrivateFolders(aside)) {
        moved.reason += "; не перемещено: " + Named(aside, error);
        return moved;
    }
    std::filesystem::path target = aside / (slot + "-" + files::TimeStamp());
    for (int n = 2; ::mkdir(target.c_str(), 0700) != 0; ++n) {
        if (errno != EEXIST || n > 100) {
            moved.reason += "; не перемещено: " + Named(target, errno);
            return moved;
        }
        target = aside / (slot + "-" + files::TimeStamp() + "-" + std::to_string(n));
    }
    std::vector<std::string> names = files::FilesBySlot(folder_)[slot];
    const std::string description = files::DescriptionPath(folder_, slot).filename().string();
    std::stable_partition(names.begin(), names.end(), [&](const std::string& name) { return name != description; });
    for (const std::string& name : names) {
        std::error_code ignored;
        std::filesystem::rename(folder_ / name, target / name, ignored);
    }
    RecoveryOutcome ignored;
    Replace(target / "reason.txt", reason + "\n", ignored);
    moved.movedTo = target;
    return moved;
}

RecoveryCopyRead CRecoveryStore::ReadCopy(const RecoveryEntry& entry) const
{
    std::lock_guard lock(mutex_);
    return ReadCopyLocked(entry);
}

RecoveryCopyRead CRecoveryStore::ReadCopyLocked(const RecoveryEntry& entry) const
{
    RecoveryCopyRead copy;
    if (!entry.HasCopy()) {
        copy.failure = "в записи нет копии";
        return copy;
    }
    if (entry.copySize > kMaxCopy) {
        copy.failure = "в описании копия длиной " + std::to_string(entry.copySize) + " байт";
        return copy;
    }
    const auto path = CopyPath(entry);
    files::FileRead read = files::ReadWholeFile(path, static_cast<std::size_t>(entry.copySize));
    if (read.systemError == EFBIG)
        copy.failure = "копия длиннее, чем записано в описании: " + path.string();
    else if (!read.bytes)
        copy.failure = "копия не читается: " + Named(path, read.systemError);
    else if (read.bytes->size() != entry.copySize)
        copy.failure = "копия короче, чем записано в описании: " + path.string();
    else if (RecoveryCopyHash(*read.bytes) != entry.copyHash)
        copy.failure = "содержимое копии не совпадает с описанием: " + path.string();
    else
        copy.bytes = std::move(*read.bytes);
    return copy;
}

std::filesystem::path CRecoveryStore::CopyPath(const RecoveryEntry& entry) const
{
    return files::CopyPath(folder_, entry.slot, entry.copy);
}

bool CRecoveryStore::MissionFolderExists(const RecoveryEntry& entry)
{
    CDravoRoot root;
    root.SetInstallFolder(entry.installFolder);
    std::error_code error;
    return std::filesystem::is_directory(platform::FileSystem().Resolve(root.GetMissionsFolder() + entry.missionName),
                                         error);
}
