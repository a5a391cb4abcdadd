// The window layout's memory: a main window closed in one run and the next one
// made from the saved settings, in a settings folder of the test's own.

#include "app/CLayoutMemory.h"
#include "app/CMainFrame.h"

#include "game/CDravoDonView.h"
#include "tests/support/TempDir.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"
#include "view3d/CGlView.h"
#include "view3d/CameraNavigation.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolBar>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

// One run of the editor's window: built, its layout restored, shown.
struct EditorRun {
    EditorRun()
    {
        EXPECT_TRUE(frame->Create());
        layout = std::make_unique<CLayoutMemory>(*frame);
        layout->Restore();
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QApplication::processEvents();
    }
    ~EditorRun()
    {
        frame.reset();
        layout.reset();
    }

    QRect BarPlace(QDockWidget* bar) const { return QRect(bar->mapTo(frame.get(), QPoint(0, 0)), bar->size()); }

    CGlView* OpenWorld()
    {
        CGlFrame* world = layout->NewWorldFrame();
        frame->AddChildWindow(world, DON_VIEW_WORLD);
        QApplication::processEvents();
        return world->GetView();
    }

    std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>();
    std::unique_ptr<CLayoutMemory> layout;
};

// Drags a sizing bar's edge by `delta` with the mouse.
void DragEdge(ui::CSizingControlBar* bar, QPoint delta)
{
    QWidget* edge = bar->SizingEdge();
    const QPoint start = edge->rect().center();
    QTest::mousePress(edge, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(edge, start + delta);
    QTest::mouseRelease(edge, Qt::LeftButton, Qt::NoModifier, start + delta);
    QApplication::processEvents();
}

class LayoutMemoryTest : public testing::Test {
protected:
    LayoutMemoryTest()
    {
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, QString::fromStdString(dir_.Path().string()));
    }

    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    testsupport::TempDir dir_;
};

}  // namespace

TEST_F(LayoutMemoryTest, TheSettingsAreKeptInTheTestsOwnFolder)
{
    EXPECT_TRUE(CLayoutMemory::SettingsFile().startsWith(QString::fromStdString(dir_.Path().string())))
        << CLayoutMemory::SettingsFile().toStdString();
    EXPECT_TRUE(CLayoutMemory::SettingsFile().endsWith("/Verdax/Verdax.conf"));
}

// Without settings the window opens where a new window always has: three quarters
// of the screen, in its middle.
TEST_F(LayoutMemoryTest, WithoutSettingsTheWindowOpensAsANewWindow)
{
    EditorRun run;
    const QRect available = Available();
    EXPECT_EQ(run.frame->frameGeometry().size(), available.size() * 3 / 4);
    EXPECT_EQ(run.frame->frameGeometry().topLeft(),
              available.topLeft() + QPoint(available.width() / 8, available.height() / 8));
    EXPECT_EQ(run.frame->dockWidgetArea(run.frame->ObjectBar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(run.frame->dockWidgetArea(run.frame->EditBar()), Qt::RightDockWidgetArea);
}

TEST_F(LayoutMemoryTest, AResizedWindowAndMovedBarsComeBackInTheNextRun)
{
    QRect objectBar;
    QRect editBar;
    QSize objectBarSize;
    {
        EditorRun first;
        first.frame->setGeometry(QRect(40, 30, 1000, 760));
        first.frame->addDockWidget(Qt::LeftDockWidgetArea, first.frame->EditBar());  // beside the object bar
        first.frame->ToolBar()->hide();
        QApplication::processEvents();
        const int before = first.frame->ObjectBar()->width();
        DragEdge(first.frame->ObjectBar(), QPoint(70, 0));
        objectBarSize = first.frame->ObjectBar()->GetVerticalSize();
        EXPECT_EQ(objectBarSize.width(), before + 70);
        objectBar = first.BarPlace(first.frame->ObjectBar());
        editBar = first.BarPlace(first.frame->EditBar());
        first.layout->Save();
    }
    EditorRun second;
    EXPECT_EQ(second.frame->geometry(), QRect(40, 30, 1000, 760));
    EXPECT_FALSE(second.frame->isMaximized());
    EXPECT_EQ(second.frame->dockWidgetArea(second.frame->EditBar()), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(second.frame->ToolBar()->isVisible());
    EXPECT_EQ(second.frame->ObjectBar()->GetVerticalSize(), objectBarSize);
    EXPECT_EQ(second.BarPlace(second.frame->ObjectBar()), objectBar);
    EXPECT_EQ(second.BarPlace(second.frame->EditBar()), editBar);
}

TEST_F(LayoutMemoryTest, AHiddenBarAndAMaximisedWindowStaySo)
{
    {
        EditorRun first;
        first.frame->EditBar()->close();
        first.frame->showMaximized();
        QApplication::processEvents();
        first.layout->Save();
    }
    EditorRun second;
    EXPECT_TRUE(second.frame->isMaximized());
    EXPECT_FALSE(second.frame->EditBar()->isVisible());
    EXPECT_TRUE(second.frame->ObjectBar()->isVisible());
}

// Closed as the user closes it, with no save of the test's own: the layout is taken
// before the window hides, while a floating bar still shows where it was put.
TEST_F(LayoutMemoryTest, AFloatingBarComesBackWhereItWasWhenTheWindowIsClosed)
{
    QRect floating;
    {
        EditorRun first;
        QDockWidget* editBar = first.frame->EditBar();
        editBar->setFloating(true);
        editBar->move(300, 200);
        QApplication::processEvents();
        floating = editBar->geometry();
        EXPECT_TRUE(first.frame->close());
    }
    EditorRun second;
    const QDockWidget* editBar = second.frame->EditBar();
    EXPECT_TRUE(editBar->isFloating());
    EXPECT_TRUE(editBar->isVisible());
    EXPECT_EQ(editBar->geometry(), floating);
}

// A place on a screen that is gone: the saved size, in the middle of the screen.
TEST_F(LayoutMemoryTest, APlaceOffEveryScreenIsNotRestored)
{
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Verdax", "Verdax");
        settings.setValue("window/geometry", QRect(5000, -3000, 800, 600));
    }
    EditorRun run;
    const QRect available = Available();
    EXPECT_EQ(run.frame->geometry().size(), QSize(800, 600));
    EXPECT_EQ(run.frame->geometry().center(), available.center()) << available.center().x();
}

TEST_F(LayoutMemoryTest, ResetPutsTheWindowAndTheBarsBackAsANewWindowHasThem)
{
    EditorRun run;
    const QRect window = run.frame->frameGeometry();
    const QRect objectBar = run.BarPlace(run.frame->ObjectBar());
    const QRect editBar = run.BarPlace(run.frame->EditBar());
    DragEdge(run.frame->ObjectBar(), QPoint(90, 0));
    run.frame->addDockWidget(Qt::RightDockWidgetArea, run.frame->ObjectBar());
    run.frame->EditBar()->setFloating(true);
    run.frame->ToolBar()->hide();
    run.frame->setGeometry(QRect(10, 10, 700, 500));
    QApplication::processEvents();

    run.frame->Action(ui::ID_VIEW_RESET_LAYOUT)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(run.frame->frameGeometry(), window);
    EXPECT_EQ(run.frame->dockWidgetArea(run.frame->ObjectBar()), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(run.frame->EditBar()->isFloating());
    EXPECT_TRUE(run.frame->ToolBar()->isVisible());
    EXPECT_EQ(run.frame->ObjectBar()->GetVerticalSize().width(), 250);
    EXPECT_EQ(run.BarPlace(run.frame->ObjectBar()), objectBar);
    EXPECT_EQ(run.BarPlace(run.frame->EditBar()), editBar);
}

// Keys in one run's world window; the next run's world window starts with them, and
// culling stays off once it draws.
TEST_F(LayoutMemoryTest, TheWorldViewsSettingsAndFlySpeedComeBackInTheNextRun)
{
    float speed = 0.0f;
    {
        EditorRun first;
        CGlView* view = first.OpenWorld();
        view->setFocus();
        for (Qt::Key key : {Qt::Key_S, Qt::Key_S, Qt::Key_T, Qt::Key_W, Qt::Key_C, Qt::Key_Plus})
            QTest::keyClick(view, key);
        const Camera& camera = view->Renderer().GetCamera();
        speed = view3d::FlySpeed({camera.eye, camera.centre});
        // Taken as the window closes: nothing of the world is open at the save.
        view->parentWidget()->close();
        QApplication::processEvents();
        first.layout->Save();
    }
    EditorRun second;
    CGlView* view = second.OpenWorld();
    const RenderSettings& settings = view->Renderer().Settings();
    EXPECT_EQ(settings.markerMode, 2);
    EXPECT_FALSE(settings.world);
    EXPECT_TRUE(settings.wireframe);
    EXPECT_FALSE(settings.culling);
    const Camera& camera = view->Renderer().GetCamera();
    EXPECT_FLOAT_EQ(view3d::FlySpeed({camera.eye, camera.centre}), speed);
    QTest::qWait(50);
    ASSERT_TRUE(view->MakeCurrent());
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    view->DoneCurrent();
}

// Values a hand or another program put in the file: each wrong one leaves its
// default, and the others still count.
TEST_F(LayoutMemoryTest, StoredValuesOutOfRangeLeaveTheirDefaults)
{
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Verdax", "Verdax");
        settings.setValue("window/geometry", QRect(0, 0, 3, 2));
        settings.setValue("window/bars", QByteArray("not a state"));
        settings.setValue("objectBar/vertical", QSize(-5, 1 << 30));
        settings.setValue("world/markerMode", 7);
        settings.setValue("world/flySpeed", "fast");
        settings.setValue("world/wireframe", true);
    }
    EditorRun run;
    EXPECT_EQ(run.frame->frameGeometry().size(), Available().size() * 3 / 4);
    EXPECT_EQ(run.frame->dockWidgetArea(run.frame->EditBar()), Qt::RightDockWidgetArea);
    EXPECT_EQ(run.frame->ObjectBar()->GetVerticalSize(),
              QSize(ui::CSizingControlBar::kMinimumSize, ui::CSizingControlBar::kMaximumSize));
    CGlView* view = run.OpenWorld();
    EXPECT_EQ(view->Renderer().Settings().markerMode, 0);
    EXPECT_TRUE(view->Renderer().Settings().wireframe);
    const Camera& camera = view->Renderer().GetCamera();
    EXPECT_FLOAT_EQ(view3d::FlySpeed({camera.eye, camera.centre}), view3d::FlySpeed({Camera{}.eye, Camera{}.centre}));
}
