// The editor on the demo game: edits undone and redone from the Edit menu's keys,
// the modified mark, and the question asked when the window closes.

#include "tests/app/EditorOnDemo.h"

#include "scene/CSceneObjectMissionScript.h"
#include "ui/CEditHistory.h"
#include "ui/CMissionTreePane.h"
#include "ui/CScriptView.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

using namespace ui;

TEST_F(EditorOnDemo, AMoveIsUndoneAndRedoneWithTheEditMenusKeys)
{
    const Vector3 start = barrel_->GetTranslation();
    QAction* undo = frame_->Action(ID_EDIT_UNDO);
    QAction* redo = frame_->Action(ID_EDIT_REDO);
    EXPECT_FALSE(undo->isEnabled());
    Move({1.0f, 2.0f, 3.0f});
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Отменить перемещение barrel_1\tCtrl+Z");
    EXPECT_EQ(MissionItem()->text(0), "harbor_town *");

    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation(), start);
    EXPECT_EQ(MissionItem()->text(0), "harbor_town");
    EXPECT_EQ(redo->text(), "&Повторить перемещение barrel_1\tCtrl+Y");
    KeyOnTree(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(barrel_->GetTranslation(), (Vector3{1.0f, 2.0f, 3.0f}));
    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    KeyOnTree(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation(), (Vector3{1.0f, 2.0f, 3.0f}));

    // The toolbar carries both, named for screen readers.
    bool found = false;
    for (QToolButton* button : frame_->ToolBar()->findChildren<QToolButton*>())
        found = found || button->defaultAction() == undo;
    EXPECT_TRUE(found);

    // In the tree's filter field the keys undo its typing, not the mission's edit.
    QLineEdit* field = frame_->GetMissionTreePane()->FilterField();
    field->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(field, "bar");
    EXPECT_EQ(undo->text(), "&Отменить\tCtrl+Z");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());  // the field has nothing to redo, whatever the mission has
    undo->trigger();
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(barrel_->GetTranslation(), (Vector3{1.0f, 2.0f, 3.0f}));

    // Filtering for "barrel" in the window, and Escape giving the tree back.
    QTest::keyClicks(field, "barrel");
    EXPECT_TRUE(MissionItem()->isExpanded());
    EXPECT_TRUE(tree_->topLevelItem(0)->isHidden());  // "broken_scene" holds no barrel
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(tree_->topLevelItem(0)->isHidden());
}

TEST_F(EditorOnDemo, ClosingWithAModifiedMissionAsksAndCancelKeepsTheEditorOpen)
{
    EXPECT_TRUE(frame_->close());  // nothing changed: no question
    EXPECT_TRUE(prompt_.asked.empty());
    frame_->show();

    Move({1.0f, 2.0f, 3.0f});
    prompt_.answer = UnsavedAnswer::Cancel;
    frame_->Action(ID_APP_EXIT)->trigger();
    ASSERT_EQ(prompt_.asked.size(), 1u);
    EXPECT_EQ(prompt_.asked[0], QStringList{"harbor_town"});
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_TRUE(frame_->EditHistory().IsMissionModified(*harbour_));
    EXPECT_FALSE(std::filesystem::exists(OutputFile()));
}

TEST_F(EditorOnDemo, DiscardClosesWithoutSaving)
{
    Move({1.0f, 2.0f, 3.0f});
    prompt_.answer = UnsavedAnswer::Discard;
    EXPECT_TRUE(frame_->close());
    EXPECT_FALSE(frame_->isVisible());
    EXPECT_FALSE(std::filesystem::exists(OutputFile()));
}

TEST_F(EditorOnDemo, SaveClosesOnlyWhenEverySaveSucceeded)
{
    Move({1.0f, 2.0f, 3.0f});
    prompt_.answer = UnsavedAnswer::Save;
    std::filesystem::create_directories(OutputFile() / "inside");  // cannot be written
    EXPECT_FALSE(frame_->close());
    EXPECT_TRUE(frame_->isVisible());
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    // The failed save names the file it could not write.
    EXPECT_TRUE(boxes_.boxes[0].text.contains(QStringLiteral("scene2.bin.Verdax"))) << boxes_.boxes[0].text.toStdString();
    EXPECT_TRUE(frame_->EditHistory().IsMissionModified(*harbour_));

    std::filesystem::remove_all(OutputFile());
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(prompt_.asked.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_regular_file(OutputFile()));
    EXPECT_FALSE(frame_->EditHistory().IsMissionModified(*harbour_));
}

// Closing the editor with a script typed and not yet left: the text goes into the
// object first, so the question asks about its mission; cancelled, the editor goes
// on where it was. A text the object cannot take keeps the editor open.
TEST_F(EditorOnDemo, ClosingTakesTheScriptBeingTypedIntoTheQuestion)
{
    ASSERT_FALSE(harbour_->GetMissionScripts().empty());
    CSceneObjectMissionScript& script = *harbour_->GetMissionScripts()[0];
    const std::string before = script.GetScript();
    auto* view = dynamic_cast<CScriptView*>(CDravoDon::Instance().OpenView(DON_VIEW_SCRIPT, &script));
    ASSERT_NE(view, nullptr);
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_));
    view->setFocus();
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view, "rem edited");
    ASSERT_TRUE(view->hasFocus());

    prompt_.answer = UnsavedAnswer::Cancel;
    EXPECT_FALSE(frame_->close());
    EXPECT_EQ(script.GetScript(), before + "rem edited");
    ASSERT_EQ(prompt_.asked.size(), 1u);
    EXPECT_EQ(prompt_.asked[0], QStringList{"harbor_town"});
    EXPECT_TRUE(view->hasFocus());

    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QStringLiteral("\u4e2d"), Qt::NoModifier);
    EXPECT_FALSE(frame_->close());
    EXPECT_EQ(prompt_.asked.size(), 1u);  // not asked: the window's text is not in
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_TRUE(boxes_.boxes[0].text.contains(QStringLiteral("U+4e2d")));
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), view->parentWidget());
    QTest::keyClick(view, Qt::Key_Backspace);  // what the editor's end will write
}

namespace {

// A child view that counts its repaints, as a window showing the mark in its title would.
class PaintCounter final : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

}  // namespace

TEST_F(EditorOnDemo, ChildWindowsRepaintWhenAMissionBecomesModifiedOrSaved)
{
    auto* view = new PaintCounter;
    view->setMinimumSize(200, 150);
    frame_->AddChildWindow(view);
    QTest::qWait(50);
    ASSERT_GT(view->paints, 0);
    const int before = view->paints;
    Move({1.0f, 2.0f, 3.0f});
    QTest::qWait(50);
    EXPECT_GT(view->paints, before);
    const int modified = view->paints;
    CDravoDon::Instance().SaveMission(*harbour_);
    QTest::qWait(50);
    EXPECT_GT(view->paints, modified);
    EXPECT_EQ(MissionItem()->text(0), "harbor_town");
}
