// A script window and the object it edits: typing not yet taken marks the window
// and its mission and is never replaced; without typing the window follows every
// change of the object, and a selection that changes nothing keeps its place.

#include "tests/ui/ScriptWindowFixture.h"
#include "ui/CEditHistory.h"

#include <QScrollBar>
#include <QTextBlock>

using namespace ui;
using testsupport::Selector;

namespace {

class ScriptWindowFollowTest : public testsupport::ScriptWindowTest {
protected:
    bool MissionMarked() const { return CDravoDon::Instance().IsMissionModified(*mission_.mission); }
    // The frame takes its title as it repaints.
    static bool TitleBecomes(CScriptView* view, const QString& title)
    {
        return QTest::qWaitFor([&] { return Frame(view)->windowTitle() == title; }, 1000);
    }
};

}  // namespace

// The mark comes with the first key and goes within a moment when the typing is
// undone in the window; taking the pending edits writes the text without moving the
// focus, and the mark goes with it.
TEST_F(ScriptWindowFollowTest, TypingMarksTheWindowAndItsMissionUntilTheObjectTakesIt)
{
    CSceneObjectMissionScript& init = mission_.Init();
    CScriptView* view = Open(&init);
    EXPECT_FALSE(MissionMarked());
    TypeAtEnd(view, "x");
    EXPECT_TRUE(view->HoldsPendingEdit());
    EXPECT_TRUE(MissionMarked());
    EXPECT_TRUE(TitleBecomes(view, "init *"));

    QTest::keyClick(view, Qt::Key_Backspace);  // the text is the object's again
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->HoldsPendingEdit(); }, 1000));
    EXPECT_FALSE(MissionMarked());
    EXPECT_TRUE(TitleBecomes(view, "init"));

    Type(view, "y");
    EXPECT_EQ(CDravoDon::Instance().TakePendingEdits(), nullptr);
    EXPECT_EQ(init.GetScript(), "end\r\ny");
    EXPECT_TRUE(view->hasFocus());
    EXPECT_FALSE(view->HoldsPendingEdit());
    EXPECT_FALSE(MissionMarked());
    ASSERT_EQ(recorder_.changes.size(), 1u);
    EXPECT_EQ(recorder_.changes[0].sender, view);
    ClickElsewhere();  // nothing left to write: announced, and the text stays
    EXPECT_EQ(init.GetScript(), "end\r\ny");
}

// Text the object refused is never replaced, neither by a selection of the object
// nor by a change of it made elsewhere; the message is shown once per refusal, also
// when the window is closed while it has the focus.
TEST_F(ScriptWindowFollowTest, RefusedTextIsKeptUntilTheUserMendsIt)
{
    CSceneObjectMissionScript& init = mission_.Init();
    CScriptView* view = Open(&init);
    TypeAtEnd(view, QStringLiteral("привет \u4e2d"));
    ClickElsewhere();
    EXPECT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(init.GetScript(), "end\r\n");

    Selector selector;
    selector.Select(&mission_.Door());
    selector.Select(&init);
    selector.SetScript(init, "changed elsewhere");
    EXPECT_TRUE(view->toPlainText().endsWith(QStringLiteral("привет \u4e2d")));
    EXPECT_TRUE(view->HoldsPendingEdit());
    EXPECT_TRUE(TitleBecomes(view, "init *"));
    EXPECT_EQ(CDravoDon::Instance().TakePendingEdits(), view);  // silently kept
    EXPECT_EQ(shown_.entries.size(), 1u);

    FocusView(view);
    EXPECT_FALSE(Frame(view)->close());
    EXPECT_EQ(shown_.entries.size(), 2u);  // the box takes the focus: that loss shows nothing more
    EXPECT_TRUE(Frame(view)->isVisible());

    FocusView(view);
    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view, Qt::Key_Backspace);
    ClickElsewhere();
    EXPECT_EQ(init.GetScript(), "end\r\n\xEF\xF0\xE8\xE2\xE5\xF2 ");  // the last to write wins
    EXPECT_FALSE(view->HoldsPendingEdit());
    EXPECT_EQ(shown_.entries.size(), 2u);
}

// Undo and redo of a script edit reach the window; leaving it afterwards writes
// nothing and keeps the redo. A selection of the object whose script did not change
// leaves the caret, the scroll position and the window's own undo alone.
TEST_F(ScriptWindowFollowTest, TheWindowFollowsUndoAndRedoAndKeepsItsPlace)
{
    CSceneObjectThing& door = mission_.Door();
    const std::string script = door.GetScript();
    CEditHistory history(CDravoDon::Instance(), [this](const CVerdaxData&) { return mission_.mission.get(); });
    CScriptView* view = Open(&door);
    Frame(view)->resize(300, 120);
    ClickIn(view);
    view->moveCursor(QTextCursor::End);
    Type(view, "x");
    ClickElsewhere();
    ASSERT_EQ(door.GetScript(), script + "x");

    FocusView(view);
    QTextCursor caret = view->textCursor();
    caret.setPosition(view->document()->findBlockByNumber(10).position() + 3);
    view->setTextCursor(caret);
    const int scrolled = view->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    Selector selector;
    selector.Select(&door);
    EXPECT_EQ(view->textCursor().position(), caret.position());
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
    EXPECT_TRUE(view->document()->isUndoAvailable());

    ClickElsewhere();
    history.Undo();
    EXPECT_EQ(view->StreamTextOut(), script);
    ClickIn(view);
    ClickElsewhere();
    EXPECT_EQ(door.GetScript(), script);
    EXPECT_TRUE(history.CanRedo());
    history.Redo();
    EXPECT_EQ(view->StreamTextOut(), script + "x");
    EXPECT_FALSE(view->HoldsPendingEdit());
}
