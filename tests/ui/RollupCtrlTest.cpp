#include "ui/CRollupCtrl.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

std::unique_ptr<QWidget> Page(int height)
{
    auto page = std::make_unique<QWidget>();
    page->resize(100, height);
    new QLabel(QStringLiteral("label"), page.get());
    return page;
}

class RollupCtrlTest : public ::testing::Test {
protected:
    // Three pages of 100, 150 and 200 pixels in a control of 200 x `height`.
    void Build(int height)
    {
        ctrl_.AddPage(QStringLiteral("One"), Page(100));
        ctrl_.AddPage(QStringLiteral("Two"), Page(150));
        ctrl_.AddPage(QStringLiteral("Three"), Page(200));
        ctrl_.resize(200, height);
        ctrl_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ctrl_));
    }

    int TitleTop(int index) const { return ctrl_.PageAt(index)->titleButton->y(); }
    QWidget* PageWidget(int index) const { return ctrl_.PageAt(index)->page; }

    // A move over `page` with the given buttons and keys, `dy` screen pixels from the press.
    static void MoveOn(QWidget* page, int dy, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        const QPointF local(10, 10 + dy);
        QMouseEvent move(QEvent::MouseMove, local, page->mapToGlobal(local), Qt::NoButton, buttons, keys);
        QApplication::sendEvent(page, &move);
    }

    static void Wheel(QWidget* widget, int delta)
    {
        const QPointF at(20, 20);
        QWheelEvent wheel(at, widget->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    }

    QMenu* OpenContextMenu()
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(30, 5), ctrl_.mapToGlobal(QPoint(30, 5)));
        QApplication::sendEvent(PageWidget(0)->isVisible() ? PageWidget(0) : static_cast<QWidget*>(&ctrl_), &event);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    CRollupCtrl ctrl_;
};

}  // namespace

TEST_F(RollupCtrlTest, ClosedPagesStackWithoutScrolling)
{
    Build(300);
    EXPECT_EQ(TitleTop(0), 0);
    EXPECT_EQ(TitleTop(1), 21);
    EXPECT_EQ(TitleTop(2), 42);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ctrl_.PageAt(i)->frameBox->height(), 16);
        EXPECT_EQ(ctrl_.PageAt(i)->titleButton->width(), 200 - 18);
        EXPECT_FALSE(PageWidget(i)->isVisible());
    }
    // Nothing to scroll: the thumb fills the track, and the strip, the wheel and a
    // page drag change nothing.
    EXPECT_EQ(ctrl_.Thumb().height, 296);
    QTest::mouseClick(&ctrl_, Qt::LeftButton, {}, QPoint(197, 200));
    Wheel(&ctrl_, -120);
    ctrl_.SetPageExpanded(0, true);
    QTest::mousePress(PageWidget(0), Qt::LeftButton, {}, QPoint(10, 10));
    MoveOn(PageWidget(0), -50, Qt::LeftButton);
    QTest::mouseRelease(PageWidget(0), Qt::LeftButton, {}, QPoint(10, -40));
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);
    EXPECT_EQ(PageWidget(0)->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(RollupCtrlTest, TitleButtonsToggleTheirPagesWithoutTakingTheFocus)
{
    Build(600);
    QPushButton* title = ctrl_.PageAt(1)->titleButton;
    EXPECT_EQ(title->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(title, Qt::LeftButton);
    EXPECT_TRUE(ctrl_.PageIsOpen(1));
    EXPECT_TRUE(title->isChecked());
    EXPECT_TRUE(PageWidget(1)->isVisible());
    EXPECT_EQ(PageWidget(1)->geometry(), QRect(6, 21 + 18, 182, 150));
    EXPECT_EQ(ctrl_.PageAt(1)->frameBox->height(), 170);
    EXPECT_EQ(TitleTop(2), 21 + 18 + 150 + 3);
    EXPECT_EQ(ctrl_.ContentHeight(), 63 + 150);
    QTest::mouseClick(title, Qt::LeftButton);
    EXPECT_FALSE(ctrl_.PageIsOpen(1));
    EXPECT_FALSE(title->isChecked());
    EXPECT_EQ(QApplication::focusWidget() == title, false);
}

TEST_F(RollupCtrlTest, IndicesOutOfRangeAreIgnoredAndPagesInsertWhereAsked)
{
    Build(300);
    ctrl_.SetPageExpanded(3, true);
    ctrl_.SetPageEnabled(-1, false);
    ctrl_.ScrollPageIntoView(7, true);
    EXPECT_FALSE(ctrl_.PageIsOpen(3));
    EXPECT_EQ(ctrl_.PageAt(3), nullptr);
    EXPECT_EQ(ctrl_.PageAt(-1), nullptr);
    EXPECT_EQ(ctrl_.AddPage(QStringLiteral("Null"), nullptr), -1);
    EXPECT_EQ(ctrl_.AddPage(QStringLiteral("Front"), Page(10), 0), 0);
    EXPECT_EQ(ctrl_.AddPage(QStringLiteral("End"), Page(10), 99), 4);
    EXPECT_EQ(ctrl_.PageAt(0)->titleButton->text(), "Front");
    EXPECT_EQ(ctrl_.PageAt(1)->titleButton->text(), "One");
    EXPECT_EQ(TitleTop(4), 84);
}

TEST_F(RollupCtrlTest, AGreyedPageStaysClosedUntilEnabledAgain)
{
    Build(600);
    ctrl_.SetPageExpanded(0, true);
    ctrl_.SetPageEnabled(0, false);
    const RC_PAGEINFO* info = ctrl_.PageAt(0);
    EXPECT_TRUE(info->expanded);
    EXPECT_FALSE(info->titleButton->isEnabled());
    EXPECT_FALSE(info->titleButton->isChecked());
    EXPECT_FALSE(info->page->isVisible());
    EXPECT_EQ(ctrl_.ContentHeight(), 63);
    // Opening or closing a greyed page changes nothing.
    ctrl_.SetAllExpanded(false);
    EXPECT_TRUE(info->expanded);
    ctrl_.SetAllEnabled(true);
    EXPECT_TRUE(info->page->isVisible());
    EXPECT_EQ(ctrl_.ContentHeight(), 163);
    EXPECT_TRUE(info->titleButton->isChecked());

    QAccessibleInterface* title = QAccessible::queryAccessibleInterface(info->titleButton);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(QAccessible::Name), "One");
    ctrl_.SetPageEnabled(0, false);
    EXPECT_TRUE(title->state().disabled);
}

TEST_F(RollupCtrlTest, ClosingTheLastOpenPageAtTheBottomPullsTheStackBack)
{
    Build(200);
    ctrl_.SetAllExpanded(true);  // 63 + 450 of content in 200
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);  // "Expand all" does not scroll
    Wheel(&ctrl_, -1600);                // to the bottom, and no further
    EXPECT_EQ(ctrl_.ScrollOffset(), 200 - 513);
    ctrl_.SetPageExpanded(2, false);
    EXPECT_EQ(ctrl_.ScrollOffset(), 200 - 313);
    EXPECT_EQ(TitleTop(2) + 18 + 3, 200);
    ctrl_.SetAllExpanded(false);
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);
}

TEST_F(RollupCtrlTest, OpeningAPageBelowTheWindowScrollsItsTitleToTheTop)
{
    Build(200);
    ctrl_.SetPageExpanded(0, true);
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);  // it fits: no scroll
    ctrl_.SetPageExpanded(2, true);      // its page at 160 .. 360 reaches below 200
    EXPECT_EQ(TitleTop(2), 0);
    EXPECT_EQ(ctrl_.ScrollOffset(), -142);
    ctrl_.ScrollPageIntoView(0, true);
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);
}

TEST_F(RollupCtrlTest, TheStripScrollsByItsThumb)
{
    Build(200);
    ctrl_.SetAllExpanded(true);  // C = 513, H = 200, T = 196
    RollupThumb thumb = ctrl_.Thumb();
    EXPECT_EQ(thumb.height, 196 - 313 * 196 / 513);
    EXPECT_EQ(thumb.top, 0);
    // A press below the thumb puts the thumb's bottom at the point.
    QTest::mousePress(&ctrl_, Qt::LeftButton, {}, QPoint(197, 150));
    EXPECT_EQ(ctrl_.ScrollOffset(), -((150 - thumb.height) * 513 / 196));
    // Dragging moves it on; the offset stays in range.
    QMouseEvent move(QEvent::MouseMove, QPointF(197, 199), ctrl_.mapToGlobal(QPointF(197, 199)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ctrl_, &move);
    EXPECT_EQ(ctrl_.ScrollOffset(), 200 - 513);
    QTest::mouseRelease(&ctrl_, Qt::LeftButton, {}, QPoint(197, 199));
    thumb = ctrl_.Thumb();
    EXPECT_EQ(thumb.top, 313 * 196 / 513);

    // The thumb is painted in its colour, the track around it in black.
    const QImage image = ctrl_.grab().toImage();
    EXPECT_EQ(image.pixelColor(197, 2 + thumb.top + 5), QColor(150, 180, 180));
    EXPECT_EQ(image.pixelColor(197, 2 + thumb.top - 5), QColor(Qt::black));
}

TEST_F(RollupCtrlTest, TheWheelScrollsAQuarterOfItsDelta)
{
    Build(200);
    ctrl_.SetAllExpanded(true);
    Wheel(&ctrl_, -121);
    EXPECT_EQ(ctrl_.ScrollOffset(), -30);
    Wheel(&ctrl_, 120);
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);
    Wheel(&ctrl_, -1600);
    EXPECT_EQ(ctrl_.ScrollOffset(), 200 - 513);
    Wheel(&ctrl_, 1600);
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);
}

TEST_F(RollupCtrlTest, DraggingAPageBackgroundScrollsButNotWithCtrl)
{
    Build(200);
    ctrl_.SetAllExpanded(true);
    QWidget* page = PageWidget(0);
    EXPECT_EQ(page->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_EQ(page->findChild<QLabel*>()->cursor().shape(), Qt::ArrowCursor);

    QTest::mousePress(page, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
    MoveOn(page, -40, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseRelease(page, Qt::LeftButton, Qt::ControlModifier, QPoint(10, -30));
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);

    QTest::mousePress(page, Qt::LeftButton, {}, QPoint(10, 10));
    MoveOn(page, -40, Qt::LeftButton | Qt::RightButton);  // two buttons: no drag
    EXPECT_EQ(ctrl_.ScrollOffset(), 0);
    MoveOn(page, -40, Qt::LeftButton);
    EXPECT_EQ(ctrl_.ScrollOffset(), -40);
    QTest::mouseRelease(page, Qt::LeftButton, {}, QPoint(10, -30));

    QTest::mousePress(page, Qt::MiddleButton, {}, QPoint(10, 10));
    MoveOn(page, 15, Qt::MiddleButton);
    EXPECT_EQ(ctrl_.ScrollOffset(), -25);
    QTest::mouseRelease(page, Qt::MiddleButton, {}, QPoint(10, 25));
    // Moves after the release do nothing.
    MoveOn(page, 100, Qt::LeftButton);
    EXPECT_EQ(ctrl_.ScrollOffset(), -25);
}

TEST_F(RollupCtrlTest, TheContextMenuTicksOpenPagesAndTogglesThem)
{
    Build(600);
    ctrl_.SetPageExpanded(0, true);
    QMenu* menu = OpenContextMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[0]->text(), "Expand all");
    EXPECT_EQ(actions[1]->text(), "Collapse all");
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), "One");
    EXPECT_TRUE(actions[3]->isChecked());
    EXPECT_FALSE(actions[4]->isChecked());
    actions[4]->trigger();
    EXPECT_TRUE(ctrl_.PageIsOpen(1));
    menu->close();

    menu = OpenContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions()[4]->isChecked());
    menu->actions()[3]->trigger();
    EXPECT_FALSE(ctrl_.PageIsOpen(0));
    menu->actions()[0]->trigger();
    EXPECT_TRUE(ctrl_.PageIsOpen(0) && ctrl_.PageIsOpen(1) && ctrl_.PageIsOpen(2));
    menu->actions()[1]->trigger();
    EXPECT_FALSE(ctrl_.PageIsOpen(0) || ctrl_.PageIsOpen(1) || ctrl_.PageIsOpen(2));
    menu->close();
}
