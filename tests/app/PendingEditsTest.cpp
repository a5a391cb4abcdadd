// Every command of the main window that reads or writes a mission takes in first
// the text a script window holds: typed and not yet written back, or refused.

#include "tests/app/EditorOnDemo.h"

#include "ui/CEditHistory.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace ui;

// The menu takes no focus: without taking the text in first, the file was written
// without it and the mark cleared.
TEST_F(EditorOnDemo, SavingTheMissionTakesInTheScriptBeingTyped)
{
    tree_->setCurrentItem(MissionItem());
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClicks(view, "rem typed");
    ASSERT_TRUE(view->hasFocus());

    frame_->Action(ID_SAVE_MISSION)->trigger();
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_NE(testsupport::ReadFile(OutputFile()).find("rem typed"), std::string::npos);
    EXPECT_FALSE(frame_->EditHistory().IsMissionModified(*harbour_));
    EXPECT_TRUE(view->hasFocus());  // the user types on
}

// Ctrl+S in the script window saves the mission of the thing selected in the tree,
// the text typed into the window with it.
TEST_F(EditorOnDemo, CtrlSInAScriptWindowSavesWithItsText)
{
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClicks(view, "rem typed");
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_NE(testsupport::ReadFile(OutputFile()).find("rem typed"), std::string::npos);
    EXPECT_FALSE(frame_->EditHistory().IsMissionModified(*harbour_));
    EXPECT_TRUE(view->hasFocus());
}

// A text its object cannot take stops undo and redo, as it stops the close: the
// window comes forward, the character named, and the history stays where it is.
TEST_F(EditorOnDemo, UndoAndRedoWaitForAScriptTheObjectCannotTake)
{
    const Vector3 start = barrel_->GetTranslation();
    const Vector3 moved{1.0f, 2.0f, 3.0f};
    Move(moved);
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QStringLiteral("\u4e2d"), Qt::NoModifier);
    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation(), moved);
    ASSERT_FALSE(boxes_.boxes.empty());
    EXPECT_TRUE(boxes_.boxes.back().text.contains(QStringLiteral("U+4e2d")));
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), view->parentWidget());

    frame_->EditHistory().Undo();  // not through the command
    ASSERT_EQ(barrel_->GetTranslation(), start);
    const std::size_t shown = boxes_.boxes.size();
    frame_->activateWindow();  // back from the message box
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_));
    KeyOnTree(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation(), start);
    EXPECT_GT(boxes_.boxes.size(), shown);

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Backspace);  // what the editor's end will write
}
