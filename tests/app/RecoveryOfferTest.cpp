// Recovery copies left by editors that are gone, offered at start-up: restored,
// removed, kept, moved aside when unreadable.

#include "tests/app/RecoveryOnDemo.h"

#include "ui/CEditHistory.h"
#include "ui/CommandIds.h"
#include "ui/IRecoveryPrompt.h"

#include <QAction>

using namespace ui;

namespace {

class AnsweringRecoveryPrompt final : public IRecoveryPrompt {
public:
    RecoveryAnswer Ask(const std::vector<RecoveryOfferLine>& copies) override
    {
        asked.push_back(copies);
        return answer;
    }
    RecoveryAnswer answer = RecoveryAnswer::Later;
    std::vector<std::vector<RecoveryOfferLine>> asked;
};

class RecoveryOffer : public RecoveryOnDemo {
protected:
    RecoveryOffer() { frame_->SetRecoveryPrompt(&recoveryPrompt_); }

    // The village (its name in the code page) as another editor left it, its first
    // thing moved; the bytes of its copy.
    std::string LeaveVillageCopy()
    {
        CMission village(demo::kVillageMissionCp1251, &CDravoDon::Instance().GetRoot());
        village.Load();
        ObjectEdit edit;
        edit.translation = Vector3{7.0f, 8.0f, 9.0f};
        ApplyObjectEdit(*village.GetThings().at(0), edit);
        const std::string bytes = SavedBytes(village);
        Leave(demo::kVillageMissionCp1251, bytes, 1765150000);
        return bytes;
    }

    // An entry of a killed editor (another boot's process) holding `bytes`.
    void Leave(const std::string& mission, const std::string& bytes, std::int64_t savedAt)
    {
        CRecoveryStore killed(Store().Folder(), {4242, 1, "another boot"}, [](const auto&) { return false; });
        ASSERT_TRUE(killed.Write(RecoverySnapshot::Of(demo::kDemoInstallFolder, mission, savedAt, 3, bytes)).done);
    }

    CMission* Village() const
    {
        for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
            if (mission->GetName() == demo::kVillageMissionCp1251)
                return mission.get();
        return nullptr;
    }

    std::vector<RecoveryEntry> LeftEntries() const { return Store().List(demo::kDemoInstallFolder).left; }

    AnsweringRecoveryPrompt recoveryPrompt_;
};

}  // namespace

// "Восстановить": the mission is loaded from the game and takes the copy's objects
// as a modified state, one step that undoes to the game file; the copy becomes this
// editor's and goes once the mission is back at what is saved. A copy of a mission
// whose folder is gone is listed as such and kept.
TEST_F(RecoveryOffer, RestoreLoadsTheMissionAndTakesTheCopyInOneUndoableStep)
{
    const std::string copy = LeaveVillageCopy();
    Leave("lost_mission", "whatever it held", 1765140000);
    CMission* village = Village();
    ASSERT_NE(village, nullptr);
    ASSERT_FALSE(village->IsLoaded());

    recoveryPrompt_.answer = RecoveryAnswer::Restore;
    frame_->OfferRecovery();
    ASSERT_EQ(recoveryPrompt_.asked.size(), 1u);
    const auto& lines = recoveryPrompt_.asked[0];
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].mission, "деревня");  // the newest first
    EXPECT_EQ(lines[0].savedAt.toSecsSinceEpoch(), 1765150000);
    EXPECT_FALSE(lines[0].missionGone);
    EXPECT_EQ(lines[1].mission, "lost_mission");
    EXPECT_TRUE(lines[1].missionGone);
    EXPECT_TRUE(boxes_.boxes.empty());

    ASSERT_TRUE(village->IsLoaded());
    EXPECT_EQ(SavedBytes(*village), copy);
    EXPECT_TRUE(frame_->EditHistory().IsMissionModified(*village));
    EXPECT_EQ(tree_->GetMissionOfSelection(), village);
    EXPECT_EQ(tree_->currentItem()->text(0), "деревня *");
    EXPECT_EQ(tree_->currentItem()->childCount(), 4);  // its branch
    EXPECT_EQ(frame_->Action(ID_EDIT_UNDO)->text(), "&Отменить Восстановление\tCtrl+Z");

    const std::vector<RecoveryEntry> left = LeftEntries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].missionName, "lost_mission");
    ASSERT_EQ(OwnEntries().size(), 1u);
    EXPECT_EQ(Store().ReadCopy(OwnEntries()[0]).bytes, copy);

    frame_->Action(ID_EDIT_UNDO)->trigger();
    EXPECT_FALSE(frame_->EditHistory().IsMissionModified(*village));
    EXPECT_NE(SavedBytes(*village), copy);
    EXPECT_TRUE(OwnEntries().empty());
    frame_->Action(ID_EDIT_REDO)->trigger();
    EXPECT_EQ(SavedBytes(*village), copy);
    EXPECT_TRUE(WaitForCopy(demo::kVillageMissionCp1251, copy));
}

TEST_F(RecoveryOffer, RemoveLeavesTheFolderEmptyAndLaterKeepsEverything)
{
    LeaveVillageCopy();
    Leave("lost_mission", "whatever it held", 1765140000);
    recoveryPrompt_.answer = RecoveryAnswer::Later;
    frame_->OfferRecovery();
    EXPECT_EQ(LeftEntries().size(), 2u);
    EXPECT_FALSE(Village()->IsLoaded());

    recoveryPrompt_.answer = RecoveryAnswer::Remove;
    frame_->OfferRecovery();
    EXPECT_EQ(recoveryPrompt_.asked.size(), 2u);
    EXPECT_TRUE(testsupport::FolderNames(Store().Folder()).empty());
    EXPECT_FALSE(Village()->IsLoaded());
    EXPECT_TRUE(boxes_.boxes.empty());
}

// A copy that is not what its description says is not offered: it is set aside,
// renamed, and the user is told where and why.
TEST_F(RecoveryOffer, AnUnreadableCopyIsMovedAsideAndReportedWithItsPathAndReason)
{
    const std::string copy = LeaveVillageCopy();
    const RecoveryEntry entry = LeftEntries().at(0);
    std::string damaged = copy;
    damaged[damaged.size() / 2] ^= 0x55;
    std::ofstream(Store().CopyPath(entry), std::ios::binary) << damaged;

    recoveryPrompt_.answer = RecoveryAnswer::Restore;
    frame_->OfferRecovery();
    EXPECT_TRUE(recoveryPrompt_.asked.empty());
    EXPECT_FALSE(Village()->IsLoaded());
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    const QString text = boxes_.boxes[0].text;
    const auto aside = Store().Folder() / "unreadable";
    ASSERT_EQ(testsupport::FolderNames(aside).size(), 1u);
    const auto movedTo = aside / *testsupport::FolderNames(aside).begin();
    EXPECT_TRUE(text.contains(QString::fromStdString(movedTo.string()))) << text.toStdString();
    EXPECT_TRUE(text.contains("не совпадает с описанием")) << text.toStdString();
    EXPECT_EQ(testsupport::ReadFile(movedTo / Store().CopyPath(entry).filename()), damaged);
    EXPECT_TRUE(LeftEntries().empty());
}
