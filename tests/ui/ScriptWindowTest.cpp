#include "ui/CScriptFrame.h"

#include "tests/ui/ScriptWindowFixture.h"
#include "ui/CScriptFindDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace ui;
using testsupport::EveryByteScript;

using testsupport::ScriptWindowTest;
using testsupport::Selector;

TEST_F(ScriptWindowTest, ALongScriptComesBackByteForByteThroughFocusLoss)
{
    CSceneObjectThing& door = mission_.Door();
    const std::string script = EveryByteScript();
    ASSERT_GT(script.size(), 3000u);
    ASSERT_EQ(door.GetScript(), script);

    CScriptView* view = Open(&door);
    ClickIn(view);
    ClickElsewhere();  // no edit: written back all the same, and announced
    EXPECT_EQ(door.GetScript(), script);
    ASSERT_EQ(recorder_.changes.size(), 1u);
    EXPECT_EQ(recorder_.changes[0].sender, view);
    EXPECT_EQ(recorder_.changes[0].object, &door);

    view->ReloadText();
    EXPECT_EQ(view->StreamTextOut(), script);
    TypeAtEnd(view, "x");
    ClickElsewhere();
    EXPECT_EQ(door.GetScript(), script + "x");
    EXPECT_EQ(recorder_.changes.size(), 2u);
}

TEST_F(ScriptWindowTest, AnEmptyScriptGivesAnEmptyEditorAndBack)
{
    CScriptView* view = Open(&mission_.Lamp());
    EXPECT_TRUE(view->toPlainText().isEmpty());
    ClickIn(view);
    ClickElsewhere();
    EXPECT_EQ(mission_.Lamp().GetScript(), "");
    EXPECT_EQ(recorder_.changes.size(), 1u);
}

TEST_F(ScriptWindowTest, ACharacterTheCodePageCannotHoldIsRefusedAndNothingIsWritten)
{
    CScriptView* view = Open(&mission_.Init());
    TypeAtEnd(view, QStringLiteral("привет \u4e2d"));
    ClickElsewhere();
    EXPECT_EQ(mission_.Init().GetScript(), "end\r\n");
    EXPECT_TRUE(recorder_.changes.empty());
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(shown_.entries[0].text).contains(QStringLiteral("U+4e2d")));
    EXPECT_TRUE(view->toPlainText().endsWith(QStringLiteral("привет \u4e2d")));  // the window keeps the text

    // Once the character is gone the Cyrillic text is written in the code page.
    ClickIn(view);
    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view, Qt::Key_Backspace);
    ClickElsewhere();
    EXPECT_EQ(mission_.Init().GetScript(), "end\r\n\xEF\xF0\xE8\xE2\xE5\xF2 ");
}

// Each window writes what was typed in it as it loses the focus, and a window
// without typing shows what the other wrote. Of two windows holding typing, the
// last to lose the focus wins.
TEST_F(ScriptWindowTest, OfTwoWindowsOnOneObjectEachFollowsTheOtherAndTheLastToLeaveWins)
{
    CSceneObjectMissionScript& init = mission_.Init();
    CScriptView* first = Open(&init);
    CScriptView* second = Open(&init);
    TypeAtEnd(first, "first");
    TypeAtEnd(second, " second");  // the click into the second window is the first's focus loss
    EXPECT_EQ(init.GetScript(), "end\r\nfirst");
    ClickElsewhere();
    EXPECT_EQ(init.GetScript(), "end\r\nfirst second");
    EXPECT_EQ(first->StreamTextOut(), "end\r\nfirst second");

    // A change of the object from elsewhere reaches a window without typing; one
    // holding typing keeps it, also when another view selects the object again.
    Selector selector;
    second->setPlainText("edited");
    selector.SetScript(init, "from elsewhere");
    EXPECT_EQ(first->StreamTextOut(), "from elsewhere");
    selector.Select(&init);
    EXPECT_EQ(second->toPlainText(), "edited");
    EXPECT_TRUE(second->HoldsPendingEdit());
    EXPECT_FALSE(first->HoldsPendingEdit());
    ClickIn(second);
    ClickElsewhere();
    EXPECT_EQ(init.GetScript(), "edited");
    EXPECT_EQ(first->StreamTextOut(), "edited");
}

TEST_F(ScriptWindowTest, TheTitleIsAThingsNameAndOtherwiseStaysAsItWas)
{
    CScriptView* door = Open(&mission_.Door());
    CScriptView* init = Open(&mission_.Init());
    EXPECT_EQ(Frame(door)->windowTitle(), "door");
    EXPECT_EQ(Frame(init)->windowTitle(), "init");
    EXPECT_FALSE(Frame(door)->windowIcon().isNull());

    Frame(door)->setWindowTitle("stale");
    Frame(init)->setWindowTitle("kept");
    mission_.Door().SetName("front door");
    Selector selector;
    selector.Select(&mission_.Lamp());  // any selection repaints the frames
    EXPECT_TRUE(QTest::qWaitFor([&] { return Frame(door)->windowTitle() == "front door"; }));
    QTest::qWait(20);
    EXPECT_EQ(Frame(init)->windowTitle(), "kept");
}

TEST_F(ScriptWindowTest, AnObjectWithoutAScriptOfItsOwnIsNeitherReadNorWritten)
{
    CScriptView* view = Open(mission_.mission.get());
    view->setPlainText("text");
    EXPECT_FALSE(view->WriteBack());
    ClickIn(view);
    ClickElsewhere();
    EXPECT_TRUE(recorder_.changes.empty());
    EXPECT_EQ(view->toPlainText(), "text");
}

TEST_F(ScriptWindowTest, FindReplaceAndGoToLine)
{
    CSceneObjectMissionScript& init = mission_.Init();
    init.SetScript("set a\r\nSET b\nset c\r\n");
    CScriptView* view = Open(&init);
    ClickIn(view);
    view->moveCursor(QTextCursor::Start);

    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    CScriptFindDialog* dialog = view->Search().FindDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsReplaceMode());
    EXPECT_FALSE(dialog->ReplacementField()->isVisible());
    dialog->NeedleField()->setText("set");
    QTest::mouseClick(dialog->FindButton(), Qt::LeftButton);
    EXPECT_EQ(view->textCursor().selectionStart(), 0);
    QTest::mouseClick(dialog->FindButton(), Qt::LeftButton);
    EXPECT_EQ(view->textCursor().selectionStart(), 6);
    EXPECT_EQ(view->PositionText(), "Стр 2, Кол 4");

    FocusView(view);
    QTest::keyClick(view, Qt::Key_F3);
    EXPECT_EQ(view->textCursor().selectionStart(), 12);
    QTest::keyClick(view, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(view->textCursor().selectionStart(), 6);
    dialog->NeedleField()->setText("nothing");
    QTest::mouseClick(dialog->FindButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->StatusLine()->text().contains("nothing"));

    // Replace all is one undo step and keeps every line's own end.
    FocusView(view);
    QTest::keyClick(view, Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(dialog->IsReplaceMode());
    EXPECT_TRUE(dialog->ReplacementField()->isVisible());
    dialog->NeedleField()->setText("set");
    dialog->ReplacementField()->setText("put");
    QTest::mouseClick(dialog->ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->StatusLine()->text(), "Заменено: 3");
    EXPECT_EQ(view->StreamTextOut(), "put a\r\nput b\nput c\r\n");
    view->undo();
    EXPECT_EQ(view->StreamTextOut(), "set a\r\nSET b\nset c\r\n");
    dialog->findChild<QCheckBox*>()->setChecked(true);  // with regard to case
    QTest::mouseClick(dialog->ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->StatusLine()->text(), "Заменено: 2");

    FocusView(view);
    QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
    auto* goTo = view->findChild<QInputDialog*>("goToLineDialog");
    ASSERT_NE(goTo, nullptr);
    EXPECT_EQ(goTo->intMaximum(), 4);
    QSpinBox* lineField = goTo->findChild<QSpinBox*>();
    ASSERT_NE(lineField, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(lineField)->text(QAccessible::Name), "Номер строки (1–4):");
    goTo->setIntValue(3);
    goTo->accept();
    EXPECT_EQ(view->PositionText(), "Стр 3, Кол 1");
    view->Search().GoToLine(99);
    EXPECT_EQ(view->PositionText(), "Стр 4, Кол 1");
}

// The status bar shows where the caret is whenever it moves under the user's eyes:
// found from the find box, put on a line, moved by typing in a window that has not
// been made active again.
TEST_F(ScriptWindowTest, TheStatusBarFollowsTheCaret)
{
    CSceneObjectMissionScript& init = mission_.Init();
    init.SetScript("set a\r\nset b\r\n");
    CScriptView* view = Open(&init);
    ClickIn(view);
    view->moveCursor(QTextCursor::Start);
    EXPECT_EQ(Status(), "Стр 1, Кол 1");

    view->Search().ShowFindDialog(false);
    CScriptFindDialog* dialog = view->Search().FindDialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QLineEdit* needle = dialog->NeedleField();
    needle->setText("set");
    ASSERT_TRUE(QTest::qWaitFor([&] { return needle->hasFocus(); }));
    QTest::keyClick(needle, Qt::Key_Return);  // the default button, "Найти далее"
    EXPECT_EQ(Status(), "Стр 1, Кол 4");
    QTest::keyClick(needle, Qt::Key_Return);
    EXPECT_EQ(Status(), "Стр 2, Кол 4");
    QTest::keyClick(needle, Qt::Key_Return);
    EXPECT_EQ(Status(), "Стр 1, Кол 4. Поиск продолжен с другого конца текста");
    ASSERT_TRUE(needle->hasFocus());

    // The box closed, the editor is its window's focus before the window is active.
    dialog->hide();
    view->setFocus();
    view->moveCursor(QTextCursor::End);
    Type(view, "x");
    EXPECT_EQ(Status(), "Стр 3, Кол 2");
    view->Search().GoToLine(2);
    EXPECT_EQ(Status(), "Стр 2, Кол 1");

    // Moves in a window the user is not in are not shown.
    elsewhere_->setFocus();
    view->Search().GoToLine(1);
    EXPECT_EQ(Status(), "Стр 2, Кол 1");
}

TEST_F(ScriptWindowTest, TheEditorUsesAFixedPitchFontAndNumbersItsLines)
{
    CScriptView* view = Open(&mission_.Door());
    const QFontMetrics metrics(view->font());  // fontconfig does not call every fixed-pitch font so
    EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    EXPECT_EQ(view->font().pointSize(), 10);
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    auto* margin = view->findChild<QWidget*>("lineNumbers");
    ASSERT_NE(margin, nullptr);
    EXPECT_TRUE(margin->isVisible());
    EXPECT_EQ(view->viewport()->x(), margin->geometry().right() + 1);
    const int narrow = view->LineNumberAreaWidth();
    view->setPlainText(QString("line\n").repeated(12000));
    EXPECT_GT(view->LineNumberAreaWidth(), narrow);  // five digits
}

TEST_F(ScriptWindowTest, ScreenReadersFindTheEditorAndTheFindBoxByName)
{
    CScriptView* view = Open(&mission_.Door());
    view->Search().ShowFindDialog(true);
    const auto name = [](QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(name(view), "Скрипт");
    EXPECT_EQ(name(Frame(view)), "door");
    EXPECT_EQ(name(view->Search().FindDialog()->NeedleField()), "Найти");
    EXPECT_EQ(name(view->Search().FindDialog()->ReplacementField()), "Замена");
    EXPECT_EQ(name(view->Search().FindDialog()->ReplaceAllButton()), "Заменить все");
    view->setReadOnly(true);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(view)->state().readOnly);
}

// Closing the window writes its text as leaving it does; a text the object cannot
// take would be lost with the window, which stays open until the text can go in.
TEST_F(ScriptWindowTest, AWindowClosesWithItsTextWrittenAndNotWhileTheObjectCannotTakeIt)
{
    CScriptView* view = Open(&mission_.Init());
    TypeAtEnd(view, QStringLiteral("x\u4e2d"));
    EXPECT_FALSE(Frame(view)->close());
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_TRUE(QString::fromStdString(shown_.entries[0].text).contains(QStringLiteral("U+4e2d")));
    EXPECT_TRUE(Frame(view)->isVisible());
    EXPECT_EQ(mission_.Init().GetScript(), "end\r\n");

    FocusView(view);
    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view, Qt::Key_Backspace);
    EXPECT_TRUE(Frame(view)->close());
    QCoreApplication::processEvents();
    EXPECT_EQ(mission_.Init().GetScript(), "end\r\nx");
    EXPECT_EQ(shown_.entries.size(), 1u);
}
