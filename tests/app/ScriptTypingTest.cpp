// A script window holding typing on the demo game: its mission is marked at once,
// another mission becoming current takes the typing in first, and a click from the
// window into a page field leaves that field focused.

#include "tests/app/EditorOnDemo.h"

#include "ui/CDocumentArea.h"
#include "ui/CEditHistory.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CRollupEditTranslation.h"
#include "view3d/CGlFrame.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QUndoStack>

using namespace ui;

namespace {

CGlFrame* WorldWindow(const CMainFrame& frame)
{
    return dynamic_cast<CGlFrame*>(frame.MdiArea()->ChildOfKind(DON_VIEW_WORLD));
}

// The world window takes its title as it repaints: within a second of being told.
bool TitleBecomes(const QWidget& window, const QString& title)
{
    return QTest::qWaitFor([&] { return window.windowTitle() == title; }, 1000);
}

}  // namespace

// The tree's row and the world window's title show the mark from the first key,
// and lose it when the typing is undone in the window.
TEST_F(EditorOnDemo, TypingInAScriptWindowMarksItsMissionAtOnce)
{
    tree_->setCurrentItem(MissionItem());
    CGlFrame* world = WorldWindow(*frame_);
    ASSERT_NE(world, nullptr);
    ASSERT_TRUE(TitleBecomes(*world, "harbor_town"));
    CScriptView* view = OpenFocusedScriptWindow();
    frame_->MdiArea()->TileWindows();  // the world window under no other: it repaints when told
    QTest::qWait(100);
    QTest::keyClicks(view, "x");
    EXPECT_EQ(MissionItem()->text(0), "harbor_town *");
    EXPECT_TRUE(TitleBecomes(*world, "harbor_town *"));

    QTest::keyClick(view, Qt::Key_Backspace);
    EXPECT_TRUE(TitleBecomes(*world, "harbor_town"));
    EXPECT_EQ(MissionItem()->text(0), "harbor_town");
    const QUndoStack* steps = frame_->EditHistory().StackOf(harbour_);
    EXPECT_TRUE(!steps || steps->count() == 0);  // nothing was written
}

// Another mission selected while the window still has the focus (a screen reader's
// selection): the text goes into its object first, as a step of its own mission.
TEST_F(EditorOnDemo, AnotherMissionBecomingCurrentTakesTheTypingInFirst)
{
    CSceneObjectMissionScript& script = *harbour_->GetMissionScripts().at(0);
    const std::string before = script.GetScript();
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClicks(view, "rem typed");
    CMission* forest = nullptr;
    for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
        if (mission->GetName() == "forest_outpost")
            forest = mission.get();
    ASSERT_NE(forest, nullptr);

    tree_->SelectObject(forest);
    EXPECT_EQ(script.GetScript(), before + "rem typed");
    EXPECT_TRUE(view->hasFocus());
    EXPECT_FALSE(view->HoldsPendingEdit());
    const QUndoStack* steps = frame_->EditHistory().StackOf(harbour_);
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->count(), 1);
    EXPECT_EQ(frame_->EditHistory().CurrentMission(), forest);
    EXPECT_EQ(MissionItem()->text(0), "harbor_town *");
}

// The script goes in as the click leaves the window; the pages of the selected
// thing follow without being greyed, so the clicked field keeps the focus.
TEST_F(EditorOnDemo, AClickFromAScriptWindowIntoAPageFieldLeavesTheFieldFocused)
{
    auto* rollup = frame_->EditBarPanel()->findChild<CNormalRollupControl*>();
    ASSERT_NE(rollup, nullptr);
    ASSERT_EQ(rollup->GetObject(), barrel_);
    rollup->SetPageExpanded(rollup->TranslationIndex(), true);
    QLineEdit* x = rollup->TranslationPage()->Field(0);
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClicks(view, "rem typed");

    QTest::mouseClick(x, Qt::LeftButton, Qt::NoModifier, QPoint(5, x->height() / 2));
    EXPECT_TRUE(harbour_->GetMissionScripts().at(0)->GetScript().ends_with("rem typed"));
    EXPECT_EQ(QApplication::focusWidget(), x);
    QTest::keyClicks(x, "5");
    EXPECT_TRUE(x->text().contains('5'));
}
