#include "ui/CScriptFrame.h"

#include "game/CDravoDon.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "tests/ui/EditedMission.h"
#include "ui/CScriptFindDialog.h"
#include "ui/CScriptView.h"

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

namespace {

// A view that records each DON_OBJECT_CHANGED with its sender and the sender's object.
struct ChangeRecorder final : CDravoDonView {
    ChangeRecorder() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView* sender, int code, int) override
    {
        if (code == DON_OBJECT_CHANGED)
            changes.push_back({sender, sender ? sender->GetObject() : nullptr});
    }
    struct Change {
        CDravoDonView* sender;
        CVerdaxData* object;
    };
    std::vector<Change> changes;
};

// A view that selects an object, as the tree or the property panel does.
struct Selector final : CDravoDonView {
    void Notify(CDravoDonView*, int, int) override {}
    void Select(CVerdaxData* object)
    {
        SetObject(object);
        CDravoDon::Instance().Broadcast(this, DON_OBJECT_SELECTED, 0);
    }
};

// Script windows in a document area, beside a field that takes the focus away.
class ScriptWindowTest : public testing::Test {
protected:
    ScriptWindowTest() : scope_(shown_)
    {
        platform::SetAnsiCodePage(1251);
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(area_);
        layout->addWidget(elsewhere_);
        window_.resize(900, 700);
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    }
    ~ScriptWindowTest() override { platform::SetAnsiCodePage(0); }

    CScriptView* Open(CVerdaxData* object)
    {
        auto* frame = new CScriptFrame(object);
        area_->addSubWindow(frame);
        frame->show();
        CDravoDon::Instance().RegisterView(frame->View());
        return frame->View();
    }

    static CScriptFrame* Frame(CScriptView* view) { return static_cast<CScriptFrame*>(view->parentWidget()); }

    // Into the editor with a click, then out of it with a click elsewhere.
    void ClickIn(CScriptView* view)
    {
        area_->setActiveSubWindow(Frame(view));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        ASSERT_TRUE(view->hasFocus());
    }
    void ClickElsewhere() { QTest::mouseClick(elsewhere_, Qt::LeftButton); }

    // Back into the editor from another window, the caret where it was.
    void FocusView(CScriptView* view)
    {
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        view->setFocus();
        ASSERT_TRUE(view->hasFocus());
    }

    // Key presses carrying each character, also those without a key of their own.
    void TypeAtEnd(CScriptView* view, const QString& text)
    {
        ClickIn(view);
        view->moveCursor(QTextCursor::End);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::EditedMission mission_;
    ChangeRecorder recorder_;
    QWidget window_;
    QMdiArea* area_ = new QMdiArea;
    QLineEdit* elsewhere_ = new QLineEdit;
};

}  // namespace

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

TEST_F(ScriptWindowTest, OfTwoWindowsOnOneObjectTheLastToLoseTheFocusWins)
{
    CSceneObjectMissionScript& init = mission_.Init();
    CScriptView* first = Open(&init);
    CScriptView* second = Open(&init);
    TypeAtEnd(first, "first");
    TypeAtEnd(second, "second");  // the click into the second window is the first's focus loss
    EXPECT_EQ(init.GetScript(), "end\r\nfirst");
    ClickElsewhere();
    EXPECT_EQ(init.GetScript(), "end\r\nsecond");
    ClickIn(first);
    ClickElsewhere();
    EXPECT_EQ(init.GetScript(), "end\r\nfirst");

    // Another view selecting the object makes both windows show its script; a
    // selection of something else leaves them alone.
    Selector selector;
    CDravoDon::Instance().RegisterView(&selector);
    second->setPlainText("edited");
    selector.Select(&mission_.Door());
    EXPECT_EQ(second->toPlainText(), "edited");
    selector.Select(&init);
    EXPECT_EQ(second->StreamTextOut(), "end\r\nfirst");
    EXPECT_EQ(first->StreamTextOut(), "end\r\nfirst");
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
    CDravoDon::Instance().RegisterView(&selector);
    selector.Select(&mission_.Lamp());  // any selection repaints the frames
    QTRY_COMPARE(Frame(door)->windowTitle(), QStringLiteral("front door"));
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
    CScriptFindDialog* dialog = view->FindDialog();
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
    view->GoToLine(99);
    EXPECT_EQ(view->PositionText(), "Стр 4, Кол 1");
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
    view->ShowFindDialog(true);
    const auto name = [](QObject* object) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(name(view), "Скрипт");
    EXPECT_EQ(name(Frame(view)), "door");
    EXPECT_EQ(name(view->FindDialog()->NeedleField()), "Найти");
    EXPECT_EQ(name(view->FindDialog()->ReplacementField()), "Замена");
    EXPECT_EQ(name(view->FindDialog()->ReplaceAllButton()), "Заменить все");
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
