#include "ui/CStatusPanes.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct LayoutRequests final : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
    int count = 0;
};

}  // namespace

// A message, however long, repaints the message pane alone: the status bar's layout
// is left as it is (a recomputed layout repaints the whole bar), and the pane keeps
// the room it had.
TEST(StatusPanes, AMessageLeavesTheBarsLayoutAlone)
{
    QStatusBar bar;
    ui::CStatusPanes panes(&bar);
    bar.resize(600, bar.sizeHint().height());
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QApplication::processEvents();
    const QRect room = panes.MessagePane()->geometry();
    LayoutRequests requests;
    bar.installEventFilter(&requests);

    panes.ShowMessage(QStringLiteral("Записать миссию на диск..."));
    panes.ShowMessage(QString(200, QLatin1Char('x')));
    QApplication::processEvents();
    EXPECT_EQ(requests.count, 0);
    EXPECT_EQ(panes.MessagePane()->text(), QString(200, QLatin1Char('x')));
    EXPECT_EQ(panes.MessagePane()->geometry(), room);
    EXPECT_GT(room.width(), 300);
    EXPECT_LT(panes.MessagePane()->mapTo(&bar, QPoint()).x(), panes.IndicatorPanes()[0]->x());
    bar.removeEventFilter(&requests);
}
