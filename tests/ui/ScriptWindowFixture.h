#pragma once
// Script windows in a document area of a window of their own, beside a field that
// takes the focus away, on the edited mission (EditedMission); the messages go to a
// presenter that takes the focus as the real message box does, and the status
// tips that reach the window are kept.

#include "game/CDravoDon.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "tests/ui/EditedMission.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace testsupport {

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

// A view that selects an object, as the tree or the property panel does, and edits
// it as another window would.
struct Selector final : CDravoDonView {
    Selector() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView*, int, int) override {}
    void Select(CVerdaxData* object)
    {
        SetObject(object);
        CDravoDon::Instance().Broadcast(this, DON_OBJECT_SELECTED, 0);
    }
    void SetScript(CSceneObject& object, const std::string& script)
    {
        SetObject(&object);
        ObjectEdit edit;
        edit.kind = EditKind::Script;
        edit.script = script;
        CDravoDon::Instance().ApplyEdit(this, object, edit);
    }
};

// Records every message and, as the modal box does, takes the focus while the
// message is shown and gives it back to the window it came from when it closes.
class FocusTakingPresenter final : public platform::IMessagePresenter {
public:
    using Entry = platform::RecordingPresenter::Entry;

    void ShowText(std::string_view text) override { Show({0, std::string(text)}); }
    void ShowMessage(int id, std::string_view utf8Text) override { Show({id, std::string(utf8Text)}); }

    std::vector<Entry> entries;

private:
    // A fault that shows the message again while it is shown stops after a few.
    static constexpr std::size_t kMostShown = 4;

    void Show(Entry entry)
    {
        entries.push_back(std::move(entry));
        if (entries.size() > kMostShown)
            return;
        const QPointer<QWidget> previous = QApplication::activeWindow();
        QLineEdit box;
        box.show();
        box.activateWindow();
        box.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
        box.hide();
        if (previous) {
            previous->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(previous));
        }
    }
};

class ScriptWindowTest : public testing::Test {
protected:
    ScriptWindowTest() : scope_(shown_)
    {
        platform::SetAnsiCodePage(1251);
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(area_);
        layout->addWidget(elsewhere_);
        window_.resize(900, 700);
        window_.installEventFilter(&tips_);
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    }
    ~ScriptWindowTest() override { platform::SetAnsiCodePage(0); }

    ui::CScriptView* Open(CVerdaxData* object)
    {
        auto* frame = new ui::CScriptFrame(object);
        area_->addSubWindow(frame);
        frame->show();
        CDravoDon::Instance().RegisterView(frame->View());
        return frame->View();
    }

    static ui::CScriptFrame* Frame(ui::CScriptView* view) { return static_cast<ui::CScriptFrame*>(view->parentWidget()); }

    // Into the editor with a click, then out of it with a click elsewhere.
    void ClickIn(ui::CScriptView* view)
    {
        area_->setActiveSubWindow(Frame(view));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        ASSERT_TRUE(view->hasFocus());
    }
    void ClickElsewhere() { QTest::mouseClick(elsewhere_, Qt::LeftButton); }

    // Back into the editor from another window, the caret where it was.
    void FocusView(ui::CScriptView* view)
    {
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        view->setFocus();
        ASSERT_TRUE(view->hasFocus());
    }

    // Key presses carrying each character, also those without a key of their own.
    void TypeAtEnd(ui::CScriptView* view, const QString& text)
    {
        ClickIn(view);
        view->moveCursor(QTextCursor::End);
        Type(view, text);
    }
    static void Type(ui::CScriptView* view, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // The last status tip that reached the window (the main window shows them).
    std::string Status() const { return tips_.last.toStdString(); }

    struct TipCatcher final : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::StatusTip)
                last = static_cast<QStatusTipEvent*>(event)->tip();
            return false;
        }
        QString last;
    };

    FocusTakingPresenter shown_;
    platform::ScopedPresenter scope_;
    EditedMission mission_;
    ChangeRecorder recorder_;
    TipCatcher tips_;
    QWidget window_;
    QMdiArea* area_ = new QMdiArea;
    QLineEdit* elsewhere_ = new QLineEdit;
};

}  // namespace testsupport
