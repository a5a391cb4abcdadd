// The main window's child windows: the Window menu's commands and list, and the views
// the mediator opens in child windows.

#include "tests/app/MainFrameFixture.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "ui/CGenericInfoFormView.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>

using namespace ui;
using apptest::MainFrameTest;

TEST_F(MainFrameTest, WindowCommandsCascadeTileAndArrangeMinimisedChildren)
{
    frame_->resize(1250, 700);  // room for the three in one row
    QApplication::processEvents();
    QMdiSubWindow* a = AddChild("a");
    QMdiSubWindow* b = AddChild("b");
    QMdiSubWindow* c = AddChild("c");
    frame_->Action(ID_WINDOW_TILE_HORZ)->trigger();
    // Side by side: the area's height each, a third of its width, left to right.
    const QSize area = frame_->MdiArea()->viewport()->size();
    EXPECT_EQ(a->geometry(), QRect(0, 0, area.width() / 3, area.height()));
    EXPECT_EQ(b->geometry(), QRect(area.width() / 3, 0, area.width() * 2 / 3 - area.width() / 3, area.height()));
    EXPECT_EQ(c->geometry().right() + 1, area.width());
    EXPECT_FALSE(a->geometry().intersects(b->geometry()));
    EXPECT_FALSE(b->geometry().intersects(c->geometry()));
    frame_->Action(ID_WINDOW_CASCADE)->trigger();
    EXPECT_LT(a->pos().x(), b->pos().x());
    EXPECT_LT(b->pos().y(), c->pos().y());

    for (QMdiSubWindow* child : {a, b, c}) {
        child->showMinimized();
        child->move(200, 50);  // scattered by the user
    }
    frame_->Action(ID_WINDOW_ARRANGE)->trigger();
    const int bottom = frame_->MdiArea()->viewport()->height();
    EXPECT_EQ(a->geometry().bottom() + 1, bottom);
    EXPECT_EQ(a->x(), 0);
    EXPECT_EQ(b->x(), a->geometry().right() + 1);
    EXPECT_EQ(c->x(), b->geometry().right() + 1);
    EXPECT_EQ(c->geometry().bottom() + 1, bottom);
}

// The Window menu lists the child windows after its commands and activates the one
// chosen.
TEST_F(MainFrameTest, TheWindowMenuListsTheChildWindowsAndActivatesTheChosenOne)
{
    QMdiSubWindow* a = AddChild("alpha");
    QMdiSubWindow* b = AddChild("beta & gamma");
    frame_->MdiArea()->setActiveSubWindow(b);
    QMenu* window = Menu("&Окно");
    emit window->aboutToShow();
    QStringList listed;
    QList<QAction*> items;
    for (QAction* action : window->actions()) {
        if (!action->isSeparator() && action->data().isNull()) {
            listed << action->text();
            items << action;
        }
    }
    ASSERT_EQ(listed, (QStringList{"&1 alpha", "&2 beta && gamma"}));
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isChecked());  // the active one
    items[0]->trigger();
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), a);

    b->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    emit window->aboutToHide();
    emit window->aboutToShow();  // made anew each time
    listed.clear();
    for (QAction* action : window->actions())
        if (!action->isSeparator() && action->data().isNull())
            listed << action->text();
    EXPECT_EQ(listed, QStringList{"&1 alpha"});
}

// At the size a new main window has on a 1280 x 1024 screen the info window is wider
// than the document area: it opens inside it, no larger, and its form scrolls to
// "Применить".
TEST_F(MainFrameTest, AChildWindowOpensInsideTheAreaAndNoLarger)
{
    frame_->resize(960, 768);
    QApplication::processEvents();
    frame_->OnObjectInfo();
    ASSERT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    QMdiSubWindow* child = frame_->MdiArea()->subWindowList().front();
    const QRect area(QPoint(0, 0), frame_->MdiArea()->viewport()->size());
    EXPECT_TRUE(area.contains(child->geometry())) << child->geometry().width() << " in " << area.width();
    auto* form = child->findChild<CGenericInfoFormView*>();
    ASSERT_NE(form, nullptr);
    ASSERT_GT(form->FormSize().width(), area.width());  // the case in point
    QWidget* apply = form->Control(CGenericInfoFormView::IDC_APPLY);
    form->ensureWidgetVisible(apply);
    const QRect shown(apply->mapTo(form->viewport(), QPoint(0, 0)), apply->size());
    EXPECT_TRUE(form->viewport()->rect().contains(shown));
}

TEST_F(MainFrameTest, ArrangeStartsANewRowAboveWhenOneIsFull)
{
    frame_->resize(500, 600);
    QApplication::processEvents();
    std::vector<QMdiSubWindow*> children;
    for (int i = 0; i < 8; ++i) {
        children.push_back(AddChild(QStringLiteral("window %1").arg(i)));
        children.back()->showMinimized();
    }
    frame_->ArrangeIcons();
    const int width = frame_->MdiArea()->viewport()->width();
    for (QMdiSubWindow* child : children)
        EXPECT_LE(child->geometry().right(), width - 1);
    EXPECT_LT(children.back()->y(), children.front()->y());  // the last ones went up a row
    EXPECT_EQ(children.front()->geometry().bottom() + 1, frame_->MdiArea()->viewport()->height());
}

namespace {

// A child view that takes part in notifications.
class NotifiedView final : public QLabel, public CDravoDonView {
public:
    void Notify(CDravoDonView*, int code, int) override { codes.push_back(code); }
    std::vector<int> codes;
};

}  // namespace

TEST_F(MainFrameTest, OpenViewMakesChildWindowsByKind)
{
    CDravoDon& don = CDravoDon::Instance();
    EXPECT_EQ(don.OpenView(259, nullptr), nullptr);
    EXPECT_EQ(don.OpenView(DON_VIEW_WORLD, nullptr), nullptr);  // no world window yet
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());

    CMission mission("alpha", CMission::ExplicitFolder{"/nowhere/"});
    frame_->SetViewFactory(DON_VIEW_INFO, [](CVerdaxData*) { return new NotifiedView; });
    CDravoDonView* view = don.OpenView(DON_VIEW_INFO, &mission);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetObject(), &mission);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    don.Broadcast(nullptr, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(static_cast<NotifiedView*>(view)->codes, std::vector<int>{DON_OBJECT_CHANGED});

    // A window whose view takes no part stays open, and the answer is null.
    frame_->SetViewFactory(DON_VIEW_SCRIPT, [](CVerdaxData*) { return new QLabel; });
    EXPECT_EQ(don.OpenView(DON_VIEW_SCRIPT, nullptr), nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);
    frame_->SetViewFactory(DON_VIEW_WORLD, [](CVerdaxData*) { return nullptr; });
    EXPECT_EQ(don.OpenView(DON_VIEW_WORLD, nullptr), nullptr);
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);

    // A closed window's view leaves the mediator, so no broadcast can reach it.
    const std::size_t registered = don.GetViews().size();
    ASSERT_EQ(std::ranges::count(don.GetViews(), view), 1);
    frame_->MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the windows go
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(don.GetViews().size(), registered - 1);
    EXPECT_EQ(std::ranges::count(don.GetViews(), view), 0);
    don.Broadcast(nullptr, DON_OBJECT_CHANGED, 0);
}
