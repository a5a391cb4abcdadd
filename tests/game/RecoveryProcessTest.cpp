// The recovery store between real processes: an editor that runs, one that is
// killed, one killed while it writes.

#include "game/CRecoveryStore.h"
#include "tests/support/NamedChild.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kGame = "C:\\Games\\Dravo\\";

RecoverySnapshot Snapshot(const std::string& mission, const std::string& bytes, std::int64_t undoSteps)
{
    return RecoverySnapshot::Of(kGame, mission, 1700000000 + undoSteps, undoSteps, bytes);
}

// The bytes of the copy written at `undoSteps`: each write's length and content
// differ from the last, so a description beside the copy of another write shows.
std::string Content(std::int64_t undoSteps)
{
    return std::string(std::size_t(256 * 1024 + (undoSteps % 7) * 4099), static_cast<char>('a' + undoSteps % 26));
}

}  // namespace

// An editor's entry is left alone while the editor runs (the process still runs the
// program "verdax") and offered once it has been killed.
TEST(RecoveryProcesses, AnEntryIsOfferedOnlyOnceItsEditorIsGone)
{
    testsupport::TempDir dir;
    const auto folder = dir.Path() / "recovery";
    testsupport::NamedChild editor(dir.Path(), "verdax", [&] {
        CRecoveryStore(folder).Write(Snapshot("Mise01", "the killed editor's", 1));
    });
    CRecoveryStore store(folder);
    const RecoveryListing whileRunning = store.List(kGame);
    ASSERT_EQ(whileRunning.running.size(), 1u);
    EXPECT_EQ(whileRunning.running[0].writer.pid, editor.Pid());
    EXPECT_TRUE(whileRunning.left.empty());
    EXPECT_FALSE(store.Remove(whileRunning.running[0]).done);

    editor.Kill();
    const RecoveryListing afterKill = store.List(kGame);
    ASSERT_EQ(afterKill.left.size(), 1u);
    EXPECT_EQ(store.ReadCopy(afterKill.left[0]).bytes, "the killed editor's");
}

// A writer killed at random moments, over and over: every entry it leaves is whole,
// its description and its copy of the same write, and nothing is ever unreadable.
// What a kill leaves besides (a claim, a reservation, a temporary file) is gone
// after the next listing.
TEST(RecoveryProcesses, AWriterKilledAtAnyMomentLeavesOnlyWholeEntries)
{
    testsupport::TempDir dir;
    const auto folder = dir.Path() / "recovery";
    CRecoveryStore store(folder);
    std::mt19937 random(22);
    int entries = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CRecoveryStore writer(folder);
            for (std::int64_t step = 1;; ++step)
                writer.Write(Snapshot(step % 3 == 0 ? "Mise02" : "Mise01", Content(step), step));
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 120000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const RecoveryListing listing = store.List(kGame);
        EXPECT_TRUE(listing.movedAside.empty()) << "round " << round << ": " << listing.movedAside[0].reason;
        EXPECT_TRUE(listing.running.empty());
        std::set<std::string> kept;
        for (const RecoveryEntry& entry : listing.left) {
            const RecoveryCopyRead copy = store.ReadCopy(entry);
            EXPECT_EQ(copy.failure, "") << "round " << round;
            EXPECT_TRUE(copy.bytes == Content(entry.undoSteps)) << "round " << round;
            kept.insert(entry.slot + ".description");
            kept.insert(entry.slot + "." + entry.copy + ".scene2.bin");
        }
        // A former copy may stay beside a left entry until the entry is dealt with.
        for (const std::string& name : testsupport::FolderNames(folder)) {
            EXPECT_TRUE(kept.contains(name) || name.ends_with(".scene2.bin")) << "round " << round << ": " << name;
        }
        entries += static_cast<int>(listing.left.size());
        for (const RecoveryEntry& entry : listing.left)
            ASSERT_TRUE(store.Remove(entry).done);
        EXPECT_TRUE(testsupport::FolderNames(folder).empty()) << "round " << round;
    }
    EXPECT_GT(entries, 10);  // many kills came after a first write
}
