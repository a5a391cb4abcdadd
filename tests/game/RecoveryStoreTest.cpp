// The recovery store's entries: writing, listing, ownership between editors,
// cleaning, unreadable entries. The editors here are identities of our choosing,
// running or gone as the test says (RecoveryProcessTest.cpp has real processes).

#include "game/CRecoveryStore.h"
#include "platform/FileSystem.h"
#include "tests/game/TestGamePrefix.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sys/stat.h>

using platform::ProcessIdentity;
using testsupport::FolderNames;
using testsupport::ReadFile;

namespace {

constexpr const char* kGame = "C:\\Games\\Dravo\\";
const std::string kOddMission = "\xE4\xE5\xF0 %=\n\x01\xFF";

class RecoveryStore : public testing::Test {
protected:
    std::filesystem::path Folder() const { return dir.Path() / "state" / "verdax" / "recovery"; }

    std::unique_ptr<CRecoveryStore> Editor(const ProcessIdentity& self)
    {
        return std::make_unique<CRecoveryStore>(Folder(), self, [this](const ProcessIdentity& editor) {
            return std::ranges::find(running, editor) != running.end();
        });
    }

    static RecoverySnapshot Snapshot(const std::string& mission, const std::string& bytes, std::int64_t undoSteps = 1,
                                     const std::string& game = kGame)
    {
        return RecoverySnapshot::Of(game, mission, 1700000000 + undoSteps, undoSteps, bytes);
    }

    // The single entry listed in `entries`, which must hold one.
    static RecoveryEntry Only(const std::vector<RecoveryEntry>& entries)
    {
        EXPECT_EQ(entries.size(), 1u);
        return entries.empty() ? RecoveryEntry{} : entries.front();
    }

    static mode_t Mode(const std::filesystem::path& path)
    {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 0777;
    }

    testsupport::TempDir dir;
    const ProcessIdentity editorA{1001, 11, "boot"};
    const ProcessIdentity editorB{1002, 22, "boot"};
    std::vector<ProcessIdentity> running;
    std::unique_ptr<CRecoveryStore> a = Editor(editorA);
    std::unique_ptr<CRecoveryStore> b = Editor(editorB);
};

}  // namespace

TEST_F(RecoveryStore, AnEntryIsListedWholeAsLeftOnceItsEditorIsGone)
{
    EXPECT_TRUE(b->List(kGame).left.empty());  // no folder yet
    running = {editorA};
    ASSERT_TRUE(a->Write(Snapshot(kOddMission, "copy one", 3)).done);

    const RecoveryListing whileRunning = b->List(kGame);
    EXPECT_TRUE(whileRunning.left.empty());
    EXPECT_EQ(Only(whileRunning.running).writer, editorA);

    running.clear();
    const RecoveryEntry left = Only(b->List(kGame).left);
    EXPECT_EQ(left.installFolder, kGame);
    EXPECT_EQ(left.missionName, kOddMission);
    EXPECT_EQ(left.undoSteps, 3);
    EXPECT_EQ(left.savedAt, 1700000003);
    EXPECT_EQ(left.writer, editorA);
    EXPECT_EQ(b->ReadCopy(left).bytes, "copy one");

    // Another game's listing neither shows nor touches it.
    const RecoveryListing other = b->List("D:\\Other\\");
    EXPECT_TRUE(other.left.empty() && other.running.empty() && other.movedAside.empty());
    EXPECT_EQ(b->List(kGame).left.size(), 1u);

    for (const auto& folder : {Folder().parent_path().parent_path(), Folder().parent_path(), Folder()})
        EXPECT_EQ(Mode(folder), 0700u) << folder;
    EXPECT_EQ(Mode(a->CopyPath(left)), 0600u);
}

TEST_F(RecoveryStore, EachWriteReplacesTheCopyAndKeepsOneCopyFile)
{
    running = {editorA};
    for (int step = 1; step <= 3; ++step)
        ASSERT_TRUE(a->Write(Snapshot("Mise01", "version " + std::to_string(step), step)).done);
    EXPECT_EQ(FolderNames(Folder()).size(), 2u);  // the description and one copy
    running.clear();
    const RecoveryEntry left = Only(b->List(kGame).left);
    EXPECT_EQ(left.undoSteps, 3);
    EXPECT_EQ(b->ReadCopy(left).bytes, "version 3");
}

TEST_F(RecoveryStore, TwoEditorsOnOneGameNeverTakeEachOthersEntries)
{
    running = {editorA, editorB};
    ASSERT_TRUE(a->Write(Snapshot("Mise01", "from A")).done);
    ASSERT_TRUE(b->Write(Snapshot("Mise01", "from B")).done);
    ASSERT_TRUE(a->Write(Snapshot("Mise01", "A again", 2)).done);

    const RecoveryListing listing = b->List(kGame);
    EXPECT_TRUE(listing.left.empty());
    ASSERT_EQ(listing.running.size(), 2u);
    for (const RecoveryEntry& entry : listing.running)
        EXPECT_EQ(b->ReadCopy(entry).bytes, entry.writer == editorA ? "A again" : "from B");
    const auto ofA = std::ranges::find(listing.running, editorA, &RecoveryEntry::writer);

    EXPECT_FALSE(b->Remove(*ofA).done);
    EXPECT_FALSE(b->Adopt(*ofA).done);
    EXPECT_FALSE(b->MoveAside(*ofA, "why"));
    ASSERT_TRUE(b->RemoveOwn(kGame, "Mise01").done);
    EXPECT_EQ(a->ReadCopy(Only(a->List(kGame).running)).bytes, "A again");
}

// "Позже": a left entry stays as it is while this editor edits the same mission.
TEST_F(RecoveryStore, ALeftEntryIsKeptWhenItsMissionIsWrittenAgain)
{
    ASSERT_TRUE(a->Write(Snapshot("Mise01", "left by A")).done);
    ASSERT_TRUE(b->Write(Snapshot("Mise01", "B's own")).done);
    const RecoveryListing listing = b->List(kGame);
    EXPECT_EQ(b->ReadCopy(Only(listing.left)).bytes, "left by A");
    EXPECT_EQ(b->ReadCopy(Only(listing.running)).bytes, "B's own");
}

// "Восстановить": the left entry becomes this editor's, which writes over it and
// removes it on saving.
TEST_F(RecoveryStore, AnAdoptedEntryIsWrittenAndRemovedAsOnesOwn)
{
    ASSERT_TRUE(a->Write(Snapshot("Mise01", "left by A", 4)).done);
    const RecoveryEntry left = Only(b->List(kGame).left);
    ASSERT_TRUE(b->Adopt(left).done);
    const RecoveryEntry adopted = Only(b->List(kGame).running);
    EXPECT_EQ(adopted.writer, editorB);
    EXPECT_EQ(adopted.slot, left.slot);
    EXPECT_EQ(b->ReadCopy(adopted).bytes, "left by A");

    ASSERT_TRUE(b->Write(Snapshot("Mise01", "B's", 5)).done);
    EXPECT_EQ(Only(b->List(kGame).running).slot, left.slot);
    ASSERT_TRUE(b->RemoveOwn(kGame, "Mise01").done);
    EXPECT_TRUE(FolderNames(Folder()).empty());
}

// "Удалить".
TEST_F(RecoveryStore, ALeftEntryIsRemovedWholeOnlyAsItWasListed)
{
    ASSERT_TRUE(a->Write(Snapshot("Mise01", "one")).done);
    ASSERT_TRUE(a->Write(Snapshot("Mise02", "two")).done);
    const RecoveryListing listing = b->List(kGame);
    ASSERT_EQ(listing.left.size(), 2u);
    const RecoveryEntry first = listing.left[0];
    const RecoveryEntry second = listing.left[1];

    ASSERT_TRUE(b->Remove(first).done);
    EXPECT_FALSE(b->Remove(first).done);
    ASSERT_TRUE(a->Write(Snapshot(second.missionName, "written since")).done);
    EXPECT_FALSE(b->Remove(second).done);
    EXPECT_EQ(b->ReadCopy(Only(b->List(kGame).left)).bytes, "written since");
}

TEST_F(RecoveryStore, UnreadableEntriesAreMovedAsideWithTheirReason)
{
    ASSERT_TRUE(a->Write(Snapshot("Hashed", "original bytes")).done);
    ASSERT_TRUE(a->Write(Snapshot("Missing", "bytes")).done);
    ASSERT_TRUE(a->Write(Snapshot("Refused", "bytes")).done);
    ASSERT_TRUE(b->Write(Snapshot("Running", "bytes")).done);
    const RecoveryListing first = b->List(kGame);
    ASSERT_EQ(first.left.size(), 3u);
    const auto find = [&](const std::string& mission) {
        return *std::ranges::find(first.left, mission, &RecoveryEntry::missionName);
    };
    dir.Write(a->CopyPath(find("Hashed")), "changed bytes!");
    std::filesystem::remove(a->CopyPath(find("Missing")));
    const std::string garbled = RecoverySlotName(kGame, "Garbled");
    dir.Write(Folder() / (garbled + ".description"), "not a description");
    dir.Write(Folder() / (garbled + ".a.scene2.bin"), "the bytes of a copy");

    // A running editor's copy is its own business, however it looks.
    dir.Write(b->CopyPath(Only(first.running)), "other");

    const auto moved = b->MoveAside(find("Refused"), "the scene file reader refused it");
    ASSERT_TRUE(moved);
    const RecoveryListing listing = b->List(kGame);
    ASSERT_EQ(listing.movedAside.size(), 3u);
    EXPECT_TRUE(listing.left.empty());
    EXPECT_EQ(Only(listing.running).missionName, "Running");

    std::vector<UnreadableRecoveryEntry> all = listing.movedAside;
    all.push_back(*moved);
    std::set<std::string> reasons;
    for (const auto& entry : all) {
        EXPECT_EQ(entry.movedTo.parent_path(), Folder() / "unreadable");
        EXPECT_EQ(ReadFile(entry.movedTo / "reason.txt"), entry.reason + "\n");
        reasons.insert(entry.reason);
    }
    EXPECT_EQ(reasons.size(), 4u);
    const auto garbledAside = std::ranges::find_if(
        all, [&](const auto& entry) { return entry.movedTo.filename().string().starts_with(garbled); });
    ASSERT_NE(garbledAside, all.end());
    EXPECT_EQ(ReadFile(garbledAside->movedTo / (garbled + ".a.scene2.bin")), "the bytes of a copy");
    EXPECT_EQ(FolderNames(Folder()).size(), 3u);  // "unreadable" and the running editor's entry
}

TEST_F(RecoveryStore, WhatHoldsNothingToRecoverIsClearedAndOtherFilesAreLeftAlone)
{
    RecoveryEntry reservation;
    reservation.installFolder = kGame;
    reservation.missionName = "Reserved";
    reservation.writer = editorA;
    const std::string reserved = RecoverySlotName(kGame, "Reserved");
    dir.Write(Folder() / (reserved + ".description"), FormatRecoveryDescription(reservation));
    const std::string undescribed = RecoverySlotName(kGame, "Removed");
    dir.Write(Folder() / (undescribed + ".b.scene2.bin"), "a copy whose removal was cut short");
    dir.Write(Folder() / (undescribed + ".claim-999999999"), "a claim of a process that is gone");
    const std::string claiming = undescribed + ".claim-" + std::to_string(::getpid());
    dir.Write(Folder() / claiming, "a claim in progress");
    dir.Write(Folder() / "notes.txt", "the user's");
    dir.Write(Folder() / (reserved + ".txt"), "not one of ours");

    const RecoveryListing listing = b->List(kGame);
    EXPECT_TRUE(listing.left.empty() && listing.running.empty() && listing.movedAside.empty());
    EXPECT_EQ(FolderNames(Folder()), (std::set<std::string>{claiming, "notes.txt", reserved + ".txt"}));
}

TEST_F(RecoveryStore, AFolderThatCannotBeMadeIsNamedInTheFailure)
{
    dir.Write("state", "a file where the state folder should be");
    const RecoveryOutcome outcome = a->Write(Snapshot("Mise01", "bytes"));
    EXPECT_FALSE(outcome.done);
    EXPECT_NE(outcome.failure.find((dir.Path() / "state").string()), std::string::npos) << outcome.failure;
}

TEST(RecoveryEntryMission, ItsFolderIsLookedForInTheGame)
{
    testsupport::TestGamePrefix prefix;
    prefix.AddMissionFolder("Mise01");
    platform::CWineFileSystem files(prefix.Path());
    platform::SetFileSystem(&files);
    RecoveryEntry entry;
    entry.installFolder = kGame;
    entry.missionName = "Mise01";
    EXPECT_TRUE(CRecoveryStore::MissionFolderExists(entry));
    entry.missionName = "Mise02";
    EXPECT_FALSE(CRecoveryStore::MissionFolderExists(entry));
    platform::SetFileSystem(nullptr);
}
