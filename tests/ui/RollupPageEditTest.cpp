// The property pages write back only what the user changed, follow their object
// without disturbing the field the user is in, and Escape puts back what they held.

#include "tests/ui/NormalRollupFixture.h"
#include "ui/CEditHistory.h"
#include "ui/CRollupEditDescription.h"
#include "ui/CRollupEditScript.h"
#include "ui/CScriptCtrl.h"

#include <QUndoStack>

#include <algorithm>

using namespace ui;
using testsupport::NormalRollupTest;
using testsupport::SenderView;

namespace {

// Counts the times a watched widget is hidden, as greying its page does.
struct HideCounter final : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        hides += event->type() == QEvent::Hide;
        return false;
    }
    int hides = 0;
};

class RollupPageEditTest : public NormalRollupTest {
protected:
    RollupPageEditTest()
    {
        rollup_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&rollup_));
    }

    QWidget* Focused() const { return rollup_.window()->focusWidget(); }
};

}  // namespace

// A value shown with six digits goes back with all of its bits when only another
// field was typed into; Enter with nothing typed is no edit, not even on the scale
// page of a thing whose file holds no scale.
TEST_F(RollupPageEditTest, EnterWritesBackOnlyWhatWasTyped)
{
    CEditHistory history(CDravoDon::Instance(), [this](const CVerdaxData&) { return mission_.get(); });
    CSceneObjectThing& crate = ThingNamed("crate");
    crate.SetTranslation({1.4852309f, 2.5f, -3.0f});
    Select(&crate);
    rollup_.SetAllExpanded(true);
    ASSERT_EQ(Field(1025)->text(), "1.48523");
    watcher_.codes.clear();

    QTest::keyClick(Field(1025), Qt::Key_Return);
    EXPECT_TRUE(watcher_.codes.empty());
    Type(Field(1026), "7");
    QTest::keyClick(Field(1026), Qt::Key_Return);
    EXPECT_EQ(crate.GetTranslation(), (Vector3{1.4852309f, 7.0f, -3.0f}));
    EXPECT_EQ(watcher_.codes, std::vector<int>{DON_OBJECT_CHANGED});
    QTest::keyClick(Field(1026), Qt::Key_Return);  // applied already
    EXPECT_EQ(watcher_.codes.size(), 1u);
    const QUndoStack* steps = history.StackOf(mission_.get());
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->count(), 1);

    CSceneObjectThing& bare = ThingNamed("k4097");  // no transform chunks in its file
    Select(&bare);
    QTest::keyClick(Field(1040), Qt::Key_Return);
    QTest::keyClick(Field(1028), Qt::Key_Return);
    EXPECT_FALSE(bare.GetPresence().scale);
    EXPECT_EQ(steps->count(), 1);
    EXPECT_EQ(std::ranges::count(watcher_.codes, DON_OBJECT_CHANGED), 1);
    history.Undo();
    EXPECT_EQ(crate.GetTranslation(), (Vector3{1.4852309f, 2.5f, -3.0f}));
}

TEST_F(RollupPageEditTest, EscapePutsBackTheNameAndTheNumbersHeld)
{
    CSceneObjectThing& crate = ThingNamed("crate");
    Select(&crate);
    rollup_.SetAllExpanded(true);
    Type(Field(1028), "renamed");
    QTest::keyClick(Field(1028), Qt::Key_Escape);
    EXPECT_EQ(Field(1028)->text(), "crate");
    QTest::keyClick(Field(1028), Qt::Key_Return);
    EXPECT_EQ(crate.GetName(), "crate");

    Type(Field(1042), "4");
    QTest::keyClick(Field(1042), Qt::Key_Escape);
    EXPECT_EQ(Field(1042)->text(), "0.5");
    EXPECT_TRUE(watcher_.codes.empty() || watcher_.codes.back() != DON_OBJECT_CHANGED);
}

// A change of the object (a script window writing back as the user clicks into a
// page, a drag, undo) refreshes only what changed: no page is greyed or laid out
// again, the field the user is in keeps the focus and its typing, and the script
// page is read again only when the script changed.
TEST_F(RollupPageEditTest, AChangeOfTheObjectLeavesTheFieldTheUserIsIn)
{
    CSceneObjectThing& door = ThingNamed("door");
    Select(&door);
    rollup_.SetAllExpanded(true);
    HideCounter counter;
    for (int i = 0; i < rollup_.PageCount(); ++i)
        rollup_.PageAt(i)->page->installEventFilter(&counter);
    CScriptCtrl* script = rollup_.ScriptPage()->ScriptControl();
    const int revision = script->document()->revision();
    Type(Field(1025), "9");
    ASSERT_EQ(Focused(), Field(1025));

    SenderView elsewhere;
    elsewhere.SetObject(&door);
    ObjectEdit move;
    move.kind = EditKind::Move;
    move.translation = Vector3{1.0f, 2.0f, 3.0f};
    CDravoDon::Instance().ApplyEdit(&elsewhere, door, move);
    EXPECT_EQ(Focused(), Field(1025));
    EXPECT_EQ(Field(1025)->text(), "9");
    EXPECT_EQ(Field(1026)->text(), "2");
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(script->document()->revision(), revision);

    ObjectEdit edit;
    edit.kind = EditKind::Script;
    edit.script = "door script, edited\r\n";
    CDravoDon::Instance().ApplyEdit(&elsewhere, door, edit);
    EXPECT_EQ(script->toPlainText(), "door script, edited\n");
    EXPECT_EQ(Focused(), Field(1025));

    QTest::keyClick(Field(1025), Qt::Key_Return);  // the typing, over what the object has now
    EXPECT_EQ(door.GetTranslation(), (Vector3{9.0f, 2.0f, 3.0f}));
    EXPECT_EQ(counter.hides, 0);
    Select(&ThingNamed("crate"));  // another object: its values, not the typing
    Type(Field(1025), "5");
    Select(&door);
    EXPECT_EQ(Field(1025)->text(), "9");
}
