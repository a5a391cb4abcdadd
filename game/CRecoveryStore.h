#pragma once
// The recovery store: a folder of the user's ($XDG_STATE_HOME/verdax/recovery/, by
// default ~/.local/state/verdax/recovery/), made at the first write with
// permissions for the user alone, holding one entry per mission that an editor has
// unsaved edits of: what a save of the mission would write, and a description
// (RecoveryEntry.h). Nothing is ever written elsewhere: not into the Wine prefix,
// not into the game's folders.
//
// An entry is the files named after its slot (RecoverySlotName):
//   SLOT.description    for which game and mission, by which editor, which copy
//   SLOT.a.scene2.bin   two copy files, of which the description names the current
//   SLOT.b.scene2.bin   one; the other is empty, a former copy, or a newer one
//                       whose write did not finish
//
// Order and rule. Every file is written by the safe replacement of a save
// (FileReplacement.h), so a reader finds a file's former content or its new one,
// whole. A write puts the new copy under the name the description does not name,
// then replaces the description with one naming it (with its length and hash), then
// removes the former copy. Replacing the description is the one moment a write takes
// effect: before it the description names the former copy, which is untouched on
// disk; after it the new one. A reader follows the description, so it always meets
// a description and a copy of the same write, whenever a writer is killed; a copy
// whose length or hash differs from its description's is unreadable. A removal takes
// the description away first (the entry is gone at once), then the copies.
//
// Ownership. An entry belongs to the editor its description names (process id,
// start time and boot). An editor writes and removes only its own entries. The
// first write of a mission claims a free slot whole or not at all: a complete
// description is linked into place, which fails when one is there. When the slot
// of a mission is another editor's (a second editor on the same game, or an entry
// left by one that is gone and not yet dealt with), the write takes the mission's
// next alternate slot, so no editor ever overwrites or removes another's entry.
// Entries of editors that are gone are listed (List) for the user to restore
// (Adopt makes them this editor's), remove, or keep.
//
// Threads: every operation holds the store's lock, so the editor's writer thread
// and its interface thread may use one store. Nothing here raises a
// CVerdaxException (whose text would show a message box from the writer's thread);
// failures come back as texts in UTF-8.

#include "game/RecoveryEntry.h"
#include "game/RecoverySnapshot.h"
#include "platform/ProcessIdentity.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RecoveryOutcome {
    bool done = true;
    std::string failure;  // why not, in UTF-8, when not done
};

// An entry whose description or copy cannot be read, moved into the store's
// "unreadable" folder (renamed, not deleted).
struct UnreadableRecoveryEntry {
    std::filesystem::path movedTo;  // the folder now holding its files and a reason.txt
    std::string reason;             // UTF-8
};

struct RecoveryListing {
    std::vector<RecoveryEntry> left;     // of editors that are gone, each with a whole copy; newest first
    std::vector<RecoveryEntry> running;  // of editors that run, this one included: not to be touched
    std::vector<UnreadableRecoveryEntry> movedAside;
};

struct RecoveryCopyRead {
    std::string bytes;
    std::string failure;  // UTF-8; empty when the bytes are the copy the description names
};

class CRecoveryStore {
public:
    // Whether the process that wrote an entry is an editor that still runs.
    using EditorProbe = std::function<bool(const platform::ProcessIdentity&)>;
    // The editor program's file name, which the default probe looks for.
    static constexpr std::string_view kEditorProgram = "verdax";

    // The store in `folder` (made at the first write), writing as `self`. Without a
    // probe: the process still runs the program kEditorProgram.
    explicit CRecoveryStore(std::filesystem::path folder, platform::ProcessIdentity self = platform::CurrentProcess(),
                            EditorProbe isRunningEditor = {});

    // $XDG_STATE_HOME/verdax/recovery (UserStateFolder.h); nothing without a home.
    static std::optional<std::filesystem::path> DefaultFolder();

    const std::filesystem::path& Folder() const { return folder_; }
    const platform::ProcessIdentity& Self() const { return self_; }

    // This editor's entries ------------------------------------------------------

    // Puts `snapshot` into this editor's entry for its mission, claiming a slot at the
    // first write.
    RecoveryOutcome Write(const RecoverySnapshot& snapshot);
    // Removes this editor's entries for the mission; done when none is left.
    RecoveryOutcome RemoveOwn(std::string_view installFolder, std::string_view missionName);

    // Entries found at start-up -------------------------------------------------

    // The entries of the game installed in `installFolder`, sorted into those left by
    // editors that are gone and those of running ones. On the way, moves aside the
    // unreadable entries (a description that cannot be read, a left copy whose length
    // or hash differs from its description), and removes what holds nothing to
    // recover: a left entry without a copy, files of a slot without a description.
    RecoveryListing List(std::string_view installFolder);

    // Each of these first reads the entry's description again and refuses, changing
    // nothing, when it is no longer the one listed or its editor runs again.
    // Removes a left entry.
    RecoveryOutcome Remove(const RecoveryEntry& entry);
    // Makes a left entry this editor's (its description names this editor): its later
    // writes of the mission replace the copy, and a save removes it.
    RecoveryOutcome Adopt(const RecoveryEntry& entry);
    // Moves a left entry aside, with `reason` (UTF-8) in its reason.txt.
    std::optional<UnreadableRecoveryEntry> MoveAside(const RecoveryEntry& entry, const std::string& reason);

    // The copy the entry's description names, checked against its length and hash.
    RecoveryCopyRead ReadCopy(const RecoveryEntry& entry) const;
    std::filesystem::path CopyPath(const RecoveryEntry& entry) const;

    // Whether the folder of the entry's mission is still in the game (through the
    // file system in force, FileSystem.h).
    static bool MissionFolderExists(const RecoveryEntry& entry);

private:
    struct SlotState;
    SlotState ReadSlot(const std::string& slot) const;
    std::optional<RecoveryEntry> OwnEntry(const RecoverySnapshot& snapshot, RecoveryOutcome& outcome);
    bool Claim(const std::string& slot, const RecoveryEntry& reservation, RecoveryOutcome& outcome);
    bool IsRunning(const platform::ProcessIdentity& writer) const;
    bool StillLeft(const RecoveryEntry& entry, RecoveryOutcome& outcome) const;
    RecoveryOutcome RemoveSlot(const std::string& slot) const;
    UnreadableRecoveryEntry MoveSlotAside(const std::string& slot, const std::string& reason) const;
    RecoveryCopyRead ReadCopyLocked(const RecoveryEntry& entry) const;
    void ListSlot(const std::string& slot, const std::vector<std::string>& names, std::string_view installFolder,
                  RecoveryListing& listing);
    void RemoveUndescribed(const std::string& slot, const std::vector<std::string>& names) const;

    std::filesystem::path folder_;
    platform::ProcessIdentity self_;
    EditorProbe isRunningEditor_;
    mutable std::mutex mutex_;
};
