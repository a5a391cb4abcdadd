// The world window's commands in the main window on the demo game: framing the
// selected thing (F) and the whole mission (Shift+F) from the tree or the menu, and
// the status bar's word when a mission is first shown.

#include "tests/app/EditorOnDemo.h"

#include "ui/CDocumentArea.h"
#include "ui/CMissionTreePane.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"
#include "view3d/CGlView.h"
#include "view3d/CameraNavigation.h"
#include "view3d/Framing.h"

#include <QAction>
#include <QLabel>
#include <QMdiSubWindow>

#include <cmath>

using namespace ui;

namespace {

class WorldCommands : public EditorOnDemo {
protected:
    WorldCommands()
    {
        tree_->setCurrentItem(MissionItem());  // the world window shows the harbour
        tree_->SelectObject(barrel_);
        QMdiSubWindow* child = frame_->MdiArea()->ChildOfKind(DON_VIEW_WORLD);
        world_ = child ? dynamic_cast<CGlView*>(child->widget()) : nullptr;
        EXPECT_NE(world_, nullptr);
    }

    const Camera& WorldCamera() const { return world_->Renderer().GetCamera(); }

    // How far `point` stands from the camera's line of sight.
    float OffAxis(const Vector3& point) const
    {
        const Camera& camera = WorldCamera();
        const Vector3 d{camera.centre.x - camera.eye.x, camera.centre.y - camera.eye.y, camera.centre.z - camera.eye.z};
        const Vector3 p{point.x - camera.eye.x, point.y - camera.eye.y, point.z - camera.eye.z};
        const Vector3 cross{p.y * d.z - p.z * d.y, p.z * d.x - p.x * d.z, p.x * d.y - p.y * d.x};
        return std::sqrt(cross.x * cross.x + cross.y * cross.y + cross.z * cross.z) /
               std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    }

    CGlView* world_ = nullptr;
};

}  // namespace

// F in the tree went to its type-ahead; it frames the selected thing now, and the
// tree keeps its row.
TEST_F(WorldCommands, FAndShiftFInTheTreeFrameTheThingAndTheMission)
{
    ASSERT_GT(OffAxis(barrel_->GetTranslation()), 1.0f);
    QTreeWidgetItem* current = tree_->currentItem();
    KeyOnTree(Qt::Key_F, Qt::NoModifier);
    EXPECT_EQ(tree_->currentItem(), current);
    const Vector3 centre = view3d::ThingSphere(*barrel_, world_->Renderer().Settings().MarkerRadius()).centre;
    EXPECT_LT(OffAxis(centre), 1e-3f);

    KeyOnTree(Qt::Key_F, Qt::ShiftModifier);
    EXPECT_EQ(tree_->currentItem(), current);
    const auto all = view3d::MissionSphere(*harbour_, world_->Renderer().Settings().MarkerRadius());
    ASSERT_TRUE(all.has_value());
    EXPECT_LT(OffAxis(all->centre), 1e-2f);
}

TEST_F(WorldCommands, TheMenuFramesWhereverTheFocusIs)
{
    frame_->GetMissionTreePane()->setFocus();
    frame_->Action(ID_VIEW_FRAME_SELECTION)->trigger();
    EXPECT_LT(OffAxis(view3d::ThingSphere(*barrel_, 0.0f).centre), 1e-3f);
    world_->setFocus();
    frame_->Action(ID_VIEW_FRAME_ALL)->trigger();
    EXPECT_LT(OffAxis(view3d::MissionSphere(*harbour_, 0.0f)->centre), 1e-2f);
}

// The world window's first showing of a mission says how to see all of it.
TEST_F(WorldCommands, TheStatusBarTellsHowToSeeAMissionShownTheFirstTime)
{
    QTest::qWait(100);
    EXPECT_EQ(frame_->StatusPanes().MessagePane()->text(), CGlView::FirstShownText(*harbour_));
}
