// The writer thread of recovery copies, and what it writes: the bytes of a save.

#include "game/CRecoveryWriter.h"
#include "game/ObjectEdit.h"
#include "tests/game/LoadedGameMission.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <future>

using testsupport::FolderNames;
using testsupport::ReadFile;

namespace {

constexpr const char* kGame = "C:\\Games\\Dravo\\";

RecoverySnapshot Snapshot(const std::string& mission, const std::string& bytes)
{
    return RecoverySnapshot::Of(kGame, mission, 1700000000, 1, bytes);
}

std::string CopyOf(CRecoveryStore& store, const std::string& mission)
{
    for (const RecoveryEntry& entry : store.List(kGame).running) {
        if (entry.missionName == mission)
            return store.ReadCopy(entry).bytes;
    }
    return "(none)";
}

}  // namespace

// The copy is what a save writes, and it goes to the store's folder alone.
TEST(RecoveryWriter, WritesWhatASaveOfTheMissionWrites)
{
    testsupport::LoadedGameMission game;
    testsupport::TempDir state;
    CRecoveryStore store(state.Path() / "recovery");
    CMission& mission = *game.mission;
    ObjectEdit edit;
    edit.translation = Vector3{7.0f, 8.0f, 9.0f};
    ApplyObjectEdit(*mission.GetThings()[1], edit);
    {
        CRecoveryWriter writer(store);
        writer.WriteMission(mission, kGame, 1);
        writer.WaitUntilIdle();
        EXPECT_EQ(FolderNames(game.MissionFolder()), std::set<std::string>{"scene2.bin"});
    }
    mission.Save();
    const std::string saved = ReadFile(game.MissionFolder() / "scene2.bin.Verdax");
    ASSERT_FALSE(saved.empty());
    EXPECT_TRUE(CopyOf(store, "Mise01") == saved);
}

// While the thread writes one mission, later requests wait; of those for the same
// mission only the last is carried out, so a removal is never overtaken by a write
// asked for before it.
TEST(RecoveryWriter, OnlyTheLastRequestForAMissionIsCarriedOut)
{
    testsupport::TempDir state;
    CRecoveryStore store(state.Path() / "recovery");
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<std::string> carried;
    {
        CRecoveryWriter writer(store, [&](const CRecoveryWriter::Result& result) {
            carried.push_back(result.missionName + (result.removal ? " removed" : " written"));
            EXPECT_TRUE(result.outcome.done) << result.outcome.failure;
            if (carried.size() == 1) {
                started.set_value();
                released.wait();
            }
        });
        writer.Write(Snapshot("First", "first"));
        started.get_future().wait();
        writer.Write(Snapshot("Saved", "before the save"));
        writer.Write(Snapshot("Edited", "older"));
        writer.Remove(kGame, "Saved");
        writer.Write(Snapshot("Edited", "newer"));
        release.set_value();
        writer.WaitUntilIdle();
        EXPECT_EQ(carried, (std::vector<std::string>{"First written", "Saved removed", "Edited written"}));
    }
    EXPECT_EQ(CopyOf(store, "First"), "first");
    EXPECT_EQ(CopyOf(store, "Saved"), "(none)");
    EXPECT_EQ(CopyOf(store, "Edited"), "newer");
}

TEST(RecoveryWriter, WhatWaitsIsWrittenBeforeTheWriterStops)
{
    testsupport::TempDir state;
    CRecoveryStore store(state.Path() / "recovery");
    {
        CRecoveryWriter writer(store);
        for (const char* mission : {"A", "B", "C"})
            writer.Write(Snapshot(mission, mission));
    }
    EXPECT_EQ(store.List(kGame).running.size(), 3u);
}

TEST(RecoveryWriter, AFailureReachesTheHandlerWithItsReason)
{
    testsupport::TempDir state;
    state.Write("recovery", "a file where the folder should be");
    CRecoveryStore store(state.Path() / "recovery");
    std::vector<CRecoveryWriter::Result> results;
    {
        CRecoveryWriter writer(store, [&](const CRecoveryWriter::Result& result) { results.push_back(result); });
        writer.Write(Snapshot("Mise01", "bytes"));
    }
    ASSERT_EQ(results.size(), 1u);
    EXPECT_FALSE(results[0].outcome.done);
    EXPECT_NE(results[0].outcome.failure.find((state.Path() / "recovery").string()), std::string::npos);
}
