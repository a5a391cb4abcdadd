#include "ui/CSizingControlBar.h"
#include "ui/CSizingTabCtrlBar.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using ui::CSizingControlBar;
using ui::CSizingTabCtrlBar;

namespace {

// A frame with a central widget and one sizing bar docked at `area`.
struct Frame {
    explicit Frame(Qt::DockWidgetArea area, QSize frameSize = QSize(600, 400), QSize barSize = QSize(120, 80))
    {
        window.setCentralWidget(new QLabel(QStringLiteral("centre")));
        bar = new CSizingControlBar(QStringLiteral("bar"), &window, barSize, 60001);
        window.addDockWidget(area, bar);
        window.resize(frameSize);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
    }

    QMainWindow window;
    CSizingControlBar* bar = nullptr;
};

// Drags the bar's sizing edge by `delta` with the mouse.
void DragEdge(CSizingControlBar* bar, QPoint delta)
{
    QWidget* edge = bar->SizingEdge();
    const QPoint start = edge->rect().center();
    QTest::mousePress(edge, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(edge, start + delta);
    QTest::mouseRelease(edge, Qt::LeftButton, Qt::NoModifier, start + delta);
    QApplication::processEvents();
}

}  // namespace

TEST(SizingControlBar, StartsWithTheGivenSizeOnEveryAxis)
{
    Frame frame(Qt::LeftDockWidgetArea, QSize(600, 400), QSize(250, 100));
    EXPECT_EQ(frame.bar->GetHorizontalSize(), QSize(250, 100));
    EXPECT_EQ(frame.bar->GetVerticalSize(), QSize(250, 100));
    EXPECT_EQ(frame.bar->GetFloatingSize(), QSize(250, 100));
    EXPECT_EQ(frame.bar->GetDockSide(), CSizingControlBar::DockSide::Left);
    EXPECT_EQ(frame.bar->width(), 250);
}

TEST(SizingControlBar, LeftBarWidensByAtMostTheFrameClientWidth)
{
    Frame frame(Qt::LeftDockWidgetArea);
    const int before = frame.bar->width();
    const int clientWidth = frame.window.rect().width();
    EXPECT_EQ(frame.bar->ApplyEdgeDrag(clientWidth + 300), before + clientWidth);
    EXPECT_EQ(frame.bar->GetVerticalSize().width(), before + clientWidth);
}

TEST(SizingControlBar, LeftBarNarrowsToNoLessThan32Pixels)
{
    Frame frame(Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.bar->ApplyEdgeDrag(-1000), CSizingControlBar::kMinimumSize);
    QApplication::processEvents();
    EXPECT_EQ(frame.bar->width(), CSizingControlBar::kMinimumSize);
}

TEST(SizingControlBar, DraggingTheLeftBarsEdgeRightWidensIt)
{
    Frame frame(Qt::LeftDockWidgetArea);
    const int before = frame.bar->width();
    DragEdge(frame.bar, QPoint(40, 25));
    EXPECT_EQ(frame.bar->GetVerticalSize().width(), before + 40);
    EXPECT_EQ(frame.bar->width(), before + 40);
    EXPECT_FALSE(frame.bar->IsTracking());
}

TEST(SizingControlBar, DraggingTheRightBarsEdgeLeftWidensIt)
{
    Frame frame(Qt::RightDockWidgetArea);
    const int before = frame.bar->width();
    DragEdge(frame.bar, QPoint(-30, 0));
    EXPECT_EQ(frame.bar->GetVerticalSize().width(), before + 30);
}

TEST(SizingControlBar, BottomBarGrowsUpwards)
{
    Frame frame(Qt::BottomDockWidgetArea);
    const int before = frame.bar->height();
    DragEdge(frame.bar, QPoint(0, -20));
    EXPECT_EQ(frame.bar->GetHorizontalSize().height(), before + 20);
    EXPECT_EQ(frame.bar->GetVerticalSize().width(), 120);  // the other axis is untouched
}

TEST(SizingControlBar, TopBarHasItsEdgeAtTheBottomWithTheNorthSouthCursor)
{
    Frame frame(Qt::TopDockWidgetArea);
    QWidget* edge = frame.bar->SizingEdge();
    ASSERT_TRUE(edge->isVisible());
    EXPECT_EQ(frame.bar->GetDockSide(), CSizingControlBar::DockSide::Top);
    EXPECT_EQ(edge->height(), CSizingControlBar::kEdgeWidth);
    EXPECT_EQ(edge->cursor().shape(), Qt::SizeVerCursor);
    const QPoint edgeBottom = edge->mapTo(frame.bar, QPoint(0, edge->height()));
    EXPECT_GE(edgeBottom.y(), frame.bar->height() - 2);  // at the bottom of the bar
}

TEST(SizingControlBar, SideBarsHaveTheWestEastCursorOnTheirInnerSide)
{
    Frame left(Qt::LeftDockWidgetArea);
    QWidget* edge = left.bar->SizingEdge();
    EXPECT_EQ(edge->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(edge->width(), CSizingControlBar::kEdgeWidth);
    EXPECT_GT(edge->mapTo(left.bar, QPoint(0, 0)).x(), left.bar->width() / 2);

    Frame right(Qt::RightDockWidgetArea);
    EXPECT_LT(right.bar->SizingEdge()->mapTo(right.bar, QPoint(0, 0)).x(), right.bar->width() / 2);
}

TEST(SizingControlBar, FloatingBarHasNoEdgeAndKeepsItsFloatingSize)
{
    Frame frame(Qt::LeftDockWidgetArea, QSize(600, 400), QSize(150, 90));
    frame.bar->setFloating(true);
    QApplication::processEvents();
    EXPECT_EQ(frame.bar->GetDockSide(), CSizingControlBar::DockSide::Floating);
    EXPECT_FALSE(frame.bar->SizingEdge()->isVisible());
    EXPECT_EQ(frame.bar->size(), QSize(150, 90));
    // No drag starts while floating.
    frame.bar->BeginTracking(QPoint(10, 10));
    EXPECT_FALSE(frame.bar->IsTracking());
}

TEST(SizingControlBar, DeactivationEndsADragWithoutApplyingIt)
{
    Frame frame(Qt::LeftDockWidgetArea);
    const int before = frame.bar->GetVerticalSize().width();
    frame.bar->BeginTracking(frame.bar->SizingEdge()->mapToGlobal(QPoint(2, 2)));
    ASSERT_TRUE(frame.bar->IsTracking());
    frame.bar->MoveTracker(frame.bar->SizingEdge()->mapToGlobal(QPoint(80, 2)));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(frame.bar->SizingEdge(), &deactivate);
    EXPECT_FALSE(frame.bar->IsTracking());
    EXPECT_EQ(frame.bar->GetVerticalSize().width(), before);
}

namespace {

struct TabFrame {
    TabFrame()
    {
        window.setCentralWidget(new QLabel(QStringLiteral("centre")));
        bar = new CSizingTabCtrlBar(QStringLiteral("tabs"), &window, QSize(250, 100), 60001);
        window.addDockWidget(Qt::LeftDockWidgetArea, bar);
        window.resize(700, 500);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QMainWindow window;
    CSizingTabCtrlBar* bar = nullptr;
};

}  // namespace

TEST(SizingTabCtrlBar, SecondTabLeavesTheFirstVisibleAndActive)
{
    TabFrame frame;
    auto* first = new QLabel(QStringLiteral("first"));
    auto* second = new QLabel(QStringLiteral("second"));
    ASSERT_TRUE(frame.bar->AddTabView(QStringLiteral("Миссии"), first));
    ASSERT_TRUE(frame.bar->AddTabView(QStringLiteral("Другое"), second));
    QApplication::processEvents();

    EXPECT_EQ(frame.bar->GetActiveTab(), 0);
    EXPECT_EQ(frame.bar->ViewAt(0), first);
    EXPECT_EQ(frame.bar->ViewAt(1), second);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isEnabled());
    EXPECT_FALSE(second->isVisible());
    EXPECT_FALSE(second->isEnabled());
    EXPECT_EQ(frame.bar->TabControl()->tabPosition(), QTabWidget::South);
}

TEST(SizingTabCtrlBar, SelectingTheSecondTabHidesTheFirstAndFocusesTheSecond)
{
    TabFrame frame;
    auto* first = new QLabel(QStringLiteral("first"));
    auto* second = new QLabel(QStringLiteral("second"));
    second->setFocusPolicy(Qt::StrongFocus);
    frame.bar->AddTabView(QStringLiteral("one"), first);
    frame.bar->AddTabView(QStringLiteral("two"), second);
    QApplication::setActiveWindow(&frame.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame.window));

    frame.bar->TabControl()->setCurrentIndex(1);  // as the user's click on the tab does
    QApplication::processEvents();
    EXPECT_EQ(frame.bar->GetActiveTab(), 1);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(first->isEnabled());
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(second->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST(SizingTabCtrlBar, ShowTabIgnoresMinusOneTheActiveTabAndIndicesBeyondTheTabs)
{
    TabFrame frame;
    auto* first = new QLabel(QStringLiteral("first"));
    frame.bar->AddTabView(QStringLiteral("one"), first);
    frame.bar->ShowTab(-1);
    frame.bar->ShowTab(0);
    frame.bar->ShowTab(7);
    EXPECT_EQ(frame.bar->GetActiveTab(), 0);
    EXPECT_TRUE(first->isEnabled());
    EXPECT_EQ(frame.bar->ViewAt(-1), nullptr);
    EXPECT_EQ(frame.bar->ViewAt(1), nullptr);
}

TEST(SizingTabCtrlBar, TitlesHoldAtMost31Characters)
{
    TabFrame frame;
    const QString fits(31, QLatin1Char('a'));
    const QString tooLong(40, QLatin1Char('b'));
    frame.bar->AddTabView(fits, new QLabel);
    frame.bar->AddTabView(tooLong, new QLabel);
    EXPECT_EQ(frame.bar->TabControl()->tabText(0), fits);
    EXPECT_EQ(frame.bar->TabControl()->tabText(1), QString(31, QLatin1Char('b')));
}

TEST(SizingTabCtrlBar, TabShowsTheImageOfItsIndexAndRefusesNoView)
{
    TabFrame frame;
    EXPECT_FALSE(frame.bar->AddTabView(QStringLiteral("none"), nullptr));
    EXPECT_EQ(frame.bar->GetTabCount(), 0);
    for (int i = 0; i < 4; ++i)
        frame.bar->AddTabView(QStringLiteral("t%1").arg(i), new QLabel);
    EXPECT_FALSE(frame.bar->TabControl()->tabIcon(0).isNull());
    EXPECT_FALSE(frame.bar->TabControl()->tabIcon(2).isNull());
    EXPECT_TRUE(frame.bar->TabControl()->tabIcon(3).isNull());  // the strip holds three images
}

// In the client area W x H beside the edge: the tab control at (7, 7), W - 14 wide
// and h high, the view at (9, 9), W - 19 by h - 26, where h is H - 18 docked at a
// side and H - 14 floating.
TEST(SizingTabCtrlBar, TheTabControlAndTheViewsStandAtTheirMargins)
{
    TabFrame frame;
    auto* view = new QLabel(QStringLiteral("view"));
    frame.bar->AddTabView(QStringLiteral("Миссии"), view);
    QApplication::processEvents();
    const QWidget* client = frame.bar->TabControl()->parentWidget();
    ASSERT_EQ(view->parentWidget(), client);
    const int w = client->width();
    int h = client->height() - 18;
    ASSERT_GT(h, 26);
    EXPECT_EQ(frame.bar->TabControl()->geometry(), QRect(7, 7, w - 14, h));
    EXPECT_EQ(view->geometry(), QRect(9, 9, w - 19, h - 26));

    frame.bar->setFloating(true);
    frame.bar->resize(300, 240);
    QApplication::processEvents();
    h = client->height() - 14;
    EXPECT_EQ(frame.bar->TabControl()->geometry(), QRect(7, 7, client->width() - 14, h));
    EXPECT_EQ(view->geometry(), QRect(9, 9, client->width() - 19, h - 26));
}
