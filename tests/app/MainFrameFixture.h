#pragma once
// A main window, created, shown at 1000 x 700 and exposed, with the messages it
// shows recorded; for the tests of the main window's menus, bars, child windows and
// commands.

#include "app/CMainFrame.h"
#include "platform/MessagePresenter.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
namespace apptest {

inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class MainFrameTest : public ::testing::Test {
protected:
    MainFrameTest() : scope_(shown_)
    {
        EXPECT_TRUE(frame_->Create());
        frame_->resize(1000, 700);
        frame_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    }

    QMenu* Menu(const QString& title)
    {
        for (QAction* action : frame_->menuBar()->actions())
            if (action->text() == title)
                return action->menu();
        return nullptr;
    }

    QStringList ItemTexts(const QString& menuTitle)
    {
        QStringList texts;
        for (QAction* action : Menu(menuTitle)->actions())
            if (!action->isSeparator())
                texts << action->text();
        return texts;
    }

    QMdiSubWindow* AddChild(const QString& title)
    {
        auto* view = new QLabel(title);
        view->setWindowTitle(title);
        return frame_->AddChildWindow(view);
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    std::unique_ptr<CMainFrame> frame_ = std::make_unique<CMainFrame>();
};

}  // namespace apptest
