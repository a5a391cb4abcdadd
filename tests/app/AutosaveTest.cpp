// The editor's recovery copies as the user edits, saves, undoes and leaves.

#include "tests/app/RecoveryOnDemo.h"

#include "ui/CEditHistory.h"
#include "ui/CScriptView.h"

using namespace ui;

// A copy follows the edits (the text typed in a script window too, which stays
// focused), and goes when nothing unsaved is left to protect: undone back to the
// saved state, saved, or dropped with "Не сохранять". The game's prefix sees only
// the save.
TEST_F(RecoveryOnDemo, CopiesFollowTheEditsAndGoWhenNothingUnsavedIsLeft)
{
    const auto prefixBefore = FilesUnder(prefix_);
    Move({1.0f, 2.0f, 3.0f});
    ASSERT_TRUE(WaitForCopy(demo::kHarbourMission, SavedBytes(*harbour_)));
    EXPECT_EQ(OwnEntries().at(0).undoSteps, 1);

    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClicks(view, "rem typed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return harbour_->GetMissionScripts()[0]->GetScript().ends_with("rem typed"); }));
    EXPECT_TRUE(view->hasFocus());
    ASSERT_TRUE(WaitForCopy(demo::kHarbourMission, SavedBytes(*harbour_)));
    EXPECT_EQ(OwnEntries().at(0).undoSteps, 2);

    tree_->setFocus();  // the window writes its text back as it loses the focus
    QApplication::processEvents();
    frame_->EditHistory().Undo();
    frame_->EditHistory().Undo();
    EXPECT_FALSE(frame_->EditHistory().IsMissionModified(*harbour_));
    EXPECT_TRUE(OwnEntries().empty());
    EXPECT_EQ(FilesUnder(prefix_), prefixBefore);

    frame_->EditHistory().Redo();
    ASSERT_TRUE(WaitForCopy(demo::kHarbourMission, SavedBytes(*harbour_)));
    CDravoDon::Instance().SaveMission(*harbour_);
    EXPECT_TRUE(OwnEntries().empty());

    Move({4.0f, 5.0f, 6.0f});
    ASSERT_TRUE(WaitForCopy(demo::kHarbourMission, SavedBytes(*harbour_)));
    prompt_.answer = UnsavedAnswer::Cancel;
    EXPECT_FALSE(frame_->close());
    EXPECT_EQ(OwnEntries().size(), 1u);  // still unsaved
    prompt_.answer = UnsavedAnswer::Discard;
    EXPECT_TRUE(frame_->close());
    EXPECT_TRUE(OwnEntries().empty());
    EXPECT_TRUE(testsupport::FolderNames(Store().Folder()).empty());

    auto prefixAfter = FilesUnder(prefix_);
    EXPECT_EQ(prefixAfter.erase(OutputFile()), 1u);
    EXPECT_EQ(prefixAfter, prefixBefore);
}
