#include "app/CMainFrame.h"

#include "game/CDravoDon.h"
#include "platform/MessagePresenter.h"
#include "tests/ui/EditedMission.h"
#include "ui/CGenericInfoFormView.h"
#include "ui/CGenericInfoFrame.h"
#include "ui/CItemTreeView.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"
#include "view3d/CGlView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace ui;

namespace {

struct ChangeCounter final : CDravoDonView {
    ChangeCounter() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView*, int code, int) override { changes += code == DON_OBJECT_CHANGED; }
    int changes = 0;
};

// The main window with the test mission opened in its tree.
class EditorWindowsTest : public testing::Test {
protected:
    EditorWindowsTest() : scope_(shown_)
    {
        EXPECT_TRUE(frame_->Create());
        frame_->resize(1400, 900);
        frame_->show();
        frame_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
        tree_ = frame_->GetItemTree();
        missionItem_ = tree_->AddMissionItem(mission_.mission.get());
        tree_->OpenMissionItem(missionItem_);
    }
    ~EditorWindowsTest() override { frame_.reset(); }  // the tree goes before the mission

    // What the "Script" page's "&Правка" does for the tree's object.
    CScriptView* OpenScriptWindow(CVerdaxData* object)
    {
        tree_->SelectObject(object);
        CDravoDonView* view = CDravoDon::Instance().OpenView(DON_VIEW_SCRIPT, object);
        CDravoDon::Instance().Broadcast(tree_, DON_OBJECT_SELECTED, 0);
        return dynamic_cast<CScriptView*>(view);
    }

    void ClickIn(QWidget* widget, QPoint at = QPoint(80, 12))
    {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    }

    QMenu* Menu(const QString& title) const
    {
        for (QAction* action : frame_->menuBar()->actions())
            if (action->text() == title)
                return action->menu();
        return nullptr;
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::EditedMission mission_{false};
    std::unique_ptr<CMainFrame> frame_ = std::make_unique<CMainFrame>();
    CItemTreeView* tree_ = nullptr;
    CItemTreeItem* missionItem_ = nullptr;
};

}  // namespace

TEST_F(EditorWindowsTest, AScriptEditedInItsWindowIsSavedWithTheMission)
{
    CSceneObjectThing& door = mission_.Door();
    CScriptView* view = OpenScriptWindow(&door);
    ASSERT_NE(view, nullptr);
    auto* child = dynamic_cast<CScriptFrame*>(view->parentWidget());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), child);
    EXPECT_EQ(child->windowTitle(), "door");
    EXPECT_EQ(view->StreamTextOut(), testsupport::EveryByteScript());
    EXPECT_NE(OpenScriptWindow(&door), view);  // each request opens a window of its own
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);

    frame_->MdiArea()->setActiveSubWindow(child);
    ClickIn(view->viewport());
    view->moveCursor(QTextCursor::End);
    QTest::keyClicks(view, "rem edited");
    ClickIn(tree_->viewport(), tree_->visualItemRect(missionItem_).center());
    EXPECT_EQ(door.GetScript(), testsupport::EveryByteScript() + "rem edited");

    ASSERT_EQ(tree_->GetSelectedMission(), mission_.mission.get());
    frame_->Action(ID_SAVE_MISSION)->trigger();
    const std::string written = testsupport::ReadFile(mission_.Folder() / "alpha" / "scene2.bin.Verdax");
    EXPECT_NE(written.find(testsupport::EveryByteScript() + "rem edited"), std::string::npos);
    EXPECT_TRUE(shown_.entries.empty());
}

TEST_F(EditorWindowsTest, TheEditMenuActsOnTheScriptTextAndOpeningItKeepsTheFocus)
{
    CScriptView* view = OpenScriptWindow(&mission_.Init());
    ASSERT_NE(view, nullptr);
    ClickIn(view->viewport());
    view->moveCursor(QTextCursor::End);
    EXPECT_EQ(frame_->StatusPanes().MessagePane()->text(), "Стр 2, Кол 1");  // the caret's place in the status bar

    ChangeCounter counter;
    QMenu* edit = Menu(QStringLiteral("&Правка"));
    edit->popup(frame_->mapToGlobal(QPoint(100, 100)));
    QTRY_VERIFY(edit->isVisible());
    EXPECT_EQ(counter.changes, 0);  // a menu is no loss of focus
    edit->hide();

    QApplication::clipboard()->setText("pasted");
    QTRY_VERIFY(view->hasFocus());
    EXPECT_TRUE(frame_->Action(ID_EDIT_PASTE)->isEnabled());
    frame_->Action(ID_EDIT_PASTE)->trigger();
    EXPECT_EQ(view->StreamTextOut(), "end\r\npasted");
    view->selectAll();
    frame_->Action(ID_EDIT_COPY)->trigger();
    frame_->Action(ID_EDIT_CUT)->trigger();
    EXPECT_EQ(view->StreamTextOut(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "end\npasted");
    frame_->Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(view->StreamTextOut(), "end\r\npasted");
    EXPECT_EQ(counter.changes, 0);
}

TEST_F(EditorWindowsTest, ObjectInfoInTheViewMenuShowsTheTreesThingAndAppliesATranslation)
{
    QAction* info = frame_->Action(ID_VIEW_OBJECT_INFO);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(Menu(QStringLiteral("&Вид"))->actions().contains(info));
    EXPECT_EQ(info->text(), "&Инфа Объекта");

    tree_->SelectObject(&mission_.Door());
    info->trigger();
    auto* child = dynamic_cast<CGenericInfoFrame*>(frame_->MdiArea()->activeSubWindow());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->windowTitle(), "Инфа Объекта");
    CGenericInfoFormView* form = child->View();
    EXPECT_EQ(form->GetObject(), &mission_.Door());
    auto* x = qobject_cast<QLineEdit*>(form->Control(CGenericInfoFormView::IDC_TRANSLATION_X));
    EXPECT_EQ(qobject_cast<QLineEdit*>(form->Control(CGenericInfoFormView::IDC_NAME))->text(), "door");
    x->selectAll();
    QTest::keyClicks(x, "12.5");
    QTest::mouseClick(static_cast<QPushButton*>(form->Control(CGenericInfoFormView::IDC_APPLY)), Qt::LeftButton);
    EXPECT_EQ(mission_.Door().GetTranslation().x, 12.5f);

    // A selection in the tree reaches the open form.
    tree_->SelectObject(&mission_.Lamp());
    EXPECT_EQ(qobject_cast<QLineEdit*>(form->Control(CGenericInfoFormView::IDC_NAME))->text(), "lamp");
}

TEST_F(EditorWindowsTest, NewWindowsStayInsideASmallDocumentArea)
{
    frame_->resize(760, 520);
    QApplication::processEvents();
    const QRect area = frame_->MdiArea()->viewport()->rect();
    ASSERT_LT(area.width(), 560);  // narrower than a script window would like to be

    CScriptView* view = OpenScriptWindow(&mission_.Door());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(area.contains(view->parentWidget()->geometry())) << view->parentWidget()->geometry().x();

    tree_->SelectObject(&mission_.Door());
    frame_->Action(ID_VIEW_OBJECT_INFO)->trigger();
    QMdiSubWindow* info = frame_->MdiArea()->activeSubWindow();
    EXPECT_EQ(info->x(), 0);  // wider than the area: its caption within reach
    EXPECT_GE(info->y(), 0);
}

namespace {

TEST_F(EditorWindowsTest, ADoubleClickOnAThingFramesItInTheWorldWindowWhoseSpeedTheStatusBarShows)
{
    frame_->SetViewFactory(DON_VIEW_WORLD, [](CVerdaxData*) -> QWidget* { return new CGlFrame; });
    tree_->setCurrentItem(missionItem_);
    frame_->OpenWorldWindow();
    auto* world = dynamic_cast<CGlFrame*>(frame_->MdiArea()->activeSubWindow());
    ASSERT_NE(world, nullptr);
    CGlView* view = world->GetView();
    ASSERT_EQ(view->GetObject(), mission_.mission.get());
    EXPECT_EQ(frame_->StatusPanes().SpeedPane()->text(), "Скорость: 5.09902");
    EXPECT_EQ(frame_->StatusPanes().SpeedPane()->accessibleName(), "Скорость");

    CSceneObjectThing& door = mission_.Door();
    tree_->SelectObject(&door);
    const QRect row = tree_->visualItemRect(tree_->currentItem());
    QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    EXPECT_EQ(view->Renderer().GetSelected(), &door);
    const Camera& camera = view->Renderer().GetCamera();
    const Vector3 t = door.GetTranslation();
    const Vector3 d{camera.centre.x - camera.eye.x, camera.centre.y - camera.eye.y, camera.centre.z - camera.eye.z};
    const float k = (camera.eye.z - t.z) / d.z;  // the eye stands behind the door along +d
    EXPECT_GT(k, 0.0f);
    EXPECT_NEAR(camera.eye.x, t.x + k * d.x, 1e-3f);
    EXPECT_NEAR(camera.eye.y, t.y + k * d.y, 1e-3f);

    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_EQ(frame_->StatusPanes().SpeedPane()->text(), "Скорость: 10.198");
    EXPECT_EQ(frame_->StatusPanes().SpeedPane()->text(), view->SpeedText());

    delete world;
    EXPECT_EQ(frame_->StatusPanes().SpeedPane()->text(), "");
}

}  // namespace
