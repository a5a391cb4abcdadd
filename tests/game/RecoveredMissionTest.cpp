// A recovery copy read back into a mission's objects.

#include "game/CRecoveryStore.h"
#include "game/ObjectEdit.h"
#include "game/CDravoDon.h"
#include "game/CStructureEdit.h"
#include "game/RecoveredMission.h"
#include "game/RecoveryEdit.h"
#include "platform/MessagePresenter.h"
#include "tests/game/LoadedGameMission.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr const char* kGame = "C:\\Games\\Dravo\\";

std::string SavedBytes(CMission& mission)
{
    std::stringstream bytes(std::ios::in | std::ios::out | std::ios::binary);
    mission.SaveTo(bytes);
    return bytes.str();
}

class RecoveredMissionTest : public testing::Test {
protected:
    // Another editor's entry for the mission, holding `bytes`, left when it was killed.
    RecoveryEntry LeftEntry(const std::string& bytes, const std::string& mission = "Mise01")
    {
        CRecoveryStore killed(state.Path(), {4242, 1, "boot"}, [](const auto&) { return false; });
        EXPECT_TRUE(killed.Write(RecoverySnapshot::Of(kGame, mission, 1700000000, 2, bytes)).done);
        for (const RecoveryEntry& entry : store.List(kGame).left) {
            if (entry.missionName == mission)
                return entry;
        }
        ADD_FAILURE() << "no entry of " << mission;
        return {};
    }

    testsupport::LoadedGameMission game;
    testsupport::TempDir state;
    CRecoveryStore store{state.Path()};
};

}  // namespace

TEST_F(RecoveredMissionTest, TheObjectsAreTheStateTheCopyHolds)
{
    CMission& edited = *game.mission;
    ObjectEdit edit;
    edit.translation = Vector3{7.0f, 8.0f, 9.0f};
    ApplyObjectEdit(*edited.GetThings()[0], edit);
    edit = {};
    edit.script = "closed";
    ApplyObjectEdit(*edited.GetThingData()[0], edit);
    const std::string copy = SavedBytes(edited);
    const RecoveryEntry entry = LeftEntry(copy);

    const auto fresh = game.Load();
    const RecoveredMission recovered = ReadRecoveredMission(store, entry, *fresh, game.root);
    ASSERT_TRUE(recovered.objects) << recovered.failure;
    const CMission& objects = *recovered.objects;
    ASSERT_EQ(objects.GetThings().size(), 2u);
    EXPECT_EQ(objects.GetThings()[0]->GetTranslation(), (Vector3{7.0f, 8.0f, 9.0f}));
    EXPECT_EQ(objects.GetThings()[0]->GetLinkedData(), objects.GetThingData()[0].get());
    EXPECT_EQ(objects.GetThingData()[0]->GetScript(), "closed");
    EXPECT_EQ(objects.GetMissionScripts().size(), 1u);
    EXPECT_EQ(SavedBytes(*recovered.objects), copy);
    EXPECT_EQ(fresh->GetThings()[0]->GetTranslation(), (Vector3{1.0f, 2.0f, 3.0f}));
}

// The scene file reader refuses the copy; its messages go into the failure rather
// than to the user, and neither the mission nor the store changes.
TEST_F(RecoveredMissionTest, AMalformedCopyIsRefusedWithTheReadersError)
{
    const std::string whole = SavedBytes(*game.mission);
    std::string wrongElement = whole;
    wrongElement[wrongElement.find("\x10\x40")] = 0x11;  // the first thing's id becomes 0x4011
    const struct {
        std::string bytes;
        std::string error;
    } copies[] = {
        {whole.substr(0, whole.size() / 2), "ошибка 3005"},
        {wrongElement, "ошибка 4002; fFile pos = "},
    };
    for (const auto& copy : copies) {
        const RecoveryEntry entry = LeftEntry(copy.bytes);
        platform::RecordingPresenter shown;
        platform::ScopedPresenter scope(shown);
        const RecoveredMission recovered = ReadRecoveredMission(store, entry, *game.mission, game.root);
        EXPECT_FALSE(recovered.objects);
        EXPECT_NE(recovered.failure.find(copy.error), std::string::npos) << recovered.failure;
        EXPECT_TRUE(shown.entries.empty());
        EXPECT_EQ(game.mission->GetThings().size(), 2u);
        EXPECT_EQ(store.ReadCopy(entry).bytes, copy.bytes);
        ASSERT_TRUE(store.Remove(entry).done);
    }
}

TEST_F(RecoveredMissionTest, OnlyAnEntryOfTheLoadedMissionIsRead)
{
    const std::string copy = SavedBytes(*game.mission);
    RecoveryEntry entry = LeftEntry(copy, "Mise02");
    EXPECT_FALSE(ReadRecoveredMission(store, entry, *game.mission, game.root).objects);
    entry.missionName = "Mise01";
    entry.installFolder = "D:\\Games\\Dravo\\";
    EXPECT_FALSE(ReadRecoveredMission(store, entry, *game.mission, game.root).objects);
    CMission listed("Mise01", &game.root);
    EXPECT_FALSE(ReadRecoveredMission(store, LeftEntry(copy), listed, game.root).objects);
}

namespace {

class Mediator final : public CDravoDon {
public:
    Mediator() = default;
};

}  // namespace

// The copy's objects become the loaded mission's in one step: the mission then saves
// the copy's bytes, its things linked as the copy links them; undone, it saves what
// it saved before, and done again, the copy once more.
TEST_F(RecoveredMissionTest, TheRecoveryStepTakesTheCopyAsTheMissionsStateAndUndoesToTheGameFile)
{
    CMission& edited = *game.mission;
    ObjectEdit edit;
    edit.translation = Vector3{7.0f, 8.0f, 9.0f};
    ApplyObjectEdit(*edited.GetThings()[1], edit);
    edit = {};
    edit.script = "closed";
    ApplyObjectEdit(*edited.GetThingData()[0], edit);
    const std::string copy = SavedBytes(edited);

    const auto fresh = game.Load();
    const std::string gameState = SavedBytes(*fresh);
    ASSERT_NE(gameState, copy);
    RecoveredMission recovered = ReadRecoveredMission(store, LeftEntry(copy), *fresh, game.root);
    ASSERT_TRUE(recovered.objects) << recovered.failure;
    CSceneObjectThing* unchanged = fresh->GetThings()[0].get();
    const auto step = MakeRecoveryEdit(*fresh, *recovered.objects);
    EXPECT_EQ(step->GetKind(), EditKind::Recover);
    // What the copy holds unchanged stays the mission's own; the rest is taken.
    EXPECT_EQ(recovered.objects->GetThings().size(), 1u);
    EXPECT_TRUE(recovered.objects->GetThingData().empty());
    EXPECT_EQ(recovered.objects->GetMissionScripts().size(), 1u);
    EXPECT_EQ(step->RemovedObjects().size(), 2u);  // the moved thing, the thing data with a new script

    Mediator don;
    step->Apply(don);
    EXPECT_EQ(SavedBytes(*fresh), copy);
    ASSERT_EQ(fresh->GetThings().size(), 2u);
    EXPECT_EQ(fresh->GetThings()[0]->GetLinkedData(), fresh->GetThingData()[0].get());
    EXPECT_EQ(fresh->GetThings()[1]->GetTranslation(), (Vector3{7.0f, 8.0f, 9.0f}));
    EXPECT_EQ(fresh->GetThings()[0].get(), unchanged);
    step->Revert(don);
    EXPECT_EQ(SavedBytes(*fresh), gameState);
    EXPECT_EQ(fresh->GetThings()[0]->GetLinkedData(), fresh->GetThingData()[0].get());
    step->Apply(don);
    EXPECT_EQ(SavedBytes(*fresh), copy);
}
