#pragma once
// One entry of the recovery store: what a save of a mission would write, kept in a
// user's folder while the mission has unsaved edits, and the description beside it
// (CRecoveryStore tells how the two are written and read).
//
// The description is a text of our own, one "key=value" line per field after the
// line "verdax-recovery 1":
//
//   install-folder=C:\Games\Dravo\      the game's install folder, as the registry gives it
//   mission=%E4%E5%F0%E5%E2%ED%FF       the mission's folder name
//   saved-at=1714564800                 when the mission was taken, seconds since 1970 (UTC)
//   pid=4242                            the editor that wrote it: its process id,
//   process-start=123456                its start in clock ticks since boot,
//   boot-id=0f1e2d3c-...                and the boot (ProcessIdentity.h)
//   undo-steps=12                       the steps of the mission's undo history then
//   copy=a                              which copy file holds the bytes: a, b, or empty
//   copy-size=4123456                   the copy's length
//   copy-hash=0123456789abcdef          and its FNV-1a 64 hash, in hex
//
// Texts are the program's bytes (code page text) whatever they hold: every byte
// outside the printable ASCII range, a space and '%' are written as %XX, so a name
// that is not UTF-8 comes back byte for byte. Unknown keys are passed over; a
// missing or malformed field makes the description unreadable.

#include "platform/ProcessIdentity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct RecoveryEntry {
    std::string slot;  // the entry's name in the store's folder
    std::string installFolder;
    std::string missionName;
    std::int64_t savedAt = 0;
    platform::ProcessIdentity writer;
    std::int64_t undoSteps = 0;
    std::string copy;  // "a" or "b"; empty while the entry holds no copy yet
    std::uint64_t copySize = 0;
    std::uint64_t copyHash = 0;

    bool HasCopy() const { return !copy.empty(); }
    bool IsOf(std::string_view install, std::string_view mission) const
    {
        return installFolder == install && missionName == mission;
    }
};

// The description's text; the slot is not part of it (it is the file's name).
std::string FormatRecoveryDescription(const RecoveryEntry& entry);

struct RecoveryDescriptionRead {
    std::optional<RecoveryEntry> entry;  // the slot left empty
    std::string failure;                 // why there is none (UTF-8), when there is none
    bool laterVersion = false;           // written by a later program: neither ours to read nor to judge
};

RecoveryDescriptionRead ParseRecoveryDescription(std::string_view text);

// The FNV-1a 64 hash the description records of its copy.
std::uint64_t RecoveryCopyHash(std::string_view bytes);

// The stable name of the store's entry for a mission of a game: readable letters of
// the mission's name, then a hash of both names. Only [A-Za-z0-9_-] whatever the
// names hold, at most 48 characters. `alternate` 2 to 9 names the further entries
// used when the first belongs to another editor ("-2" appended).
std::string RecoverySlotName(std::string_view installFolder, std::string_view missionName, int alternate = 1);
constexpr int kRecoveryAlternates = 9;
