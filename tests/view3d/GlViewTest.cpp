// The world view on a real X server, driven by Qt's key, wheel and mouse events, and
// its answers to the mediator's notifications.

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "tests/ui/EditedMission.h"
#include "tools/demo/DemoModels.h"
#include "tools/demo/FourDsWriter.h"
#include "tools/demo/MeshBuilder.h"
#include "view3d/CGlFrame.h"
#include "view3d/CGlView.h"
#include "view3d/CameraNavigation.h"

#include <QMdiArea>
#include <QPlainTextEdit>
#include <QStatusTipEvent>
#include <QTest>
#include <QMouseEvent>
#include <QWheelEvent>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

class SenderView : public CDravoDonView {
public:
    void Notify(CDravoDonView*, int, int) override {}
};

class NotMission : public CVerdaxData {};

struct ChangeCounter final : CDravoDonView {
    ChangeCounter() { CDravoDon::Instance().RegisterView(this); }
    ~ChangeCounter() override { CDravoDon::Instance().UnregisterView(this); }
    void Notify(CDravoDonView*, int code, int) override { changes += code == DON_OBJECT_CHANGED; }
    int changes = 0;
};

Vector3 Minus(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

float Length(const Vector3& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

class GlView : public testing::Test {
protected:
    void SetUp() override
    {
        view_ = std::make_unique<CGlView>();
        view_->resize(320, 240);
        view_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
        view_->activateWindow();
        view_->setFocus();
        QTest::qWait(50);
    }

    const Camera& CameraOf() const { return view_->Renderer().GetCamera(); }

    void Wheel(int delta, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        const QPointF at(160, 120);
        QWheelEvent event(at, view_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view_.get(), &event);
    }

    // QTest's moves carry no keys.
    void MoveWith(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, QPoint at)
    {
        QMouseEvent event(QEvent::MouseMove, at, view_->mapToGlobal(at), Qt::NoButton, buttons, keys);
        QApplication::sendEvent(view_.get(), &event);
    }

    // Frames drawn and shown while the events of `ms` milliseconds are handled.
    int FramesDuring(const std::function<void()>& action, int ms = 150)
    {
        const std::uint64_t before = view_->FramesShown();
        action();
        QTest::qWait(ms);
        return static_cast<int>(view_->FramesShown() - before);
    }

    // `mission` current in the view and `selected` its selection, as the tree makes them.
    void Show(CMission* mission, CVerdaxData* selected)
    {
        SenderView sender;
        sender.SetObject(mission);
        view_->Notify(&sender, DON_MISSION_SELECTED, 0);
        sender.SetObject(selected);
        view_->Notify(&sender, DON_DATA_SELECTED, 0);
    }

    std::unique_ptr<CGlView> view_;
};

TEST_F(GlView, ArrowsAndTheWheelMoveTheCameraAndHomeResetsTheEye)
{
    QTest::keyClick(view_.get(), Qt::Key_Left);
    ExpectNear(CameraOf().eye, {40, 0, 0});
    ExpectNear(CameraOf().centre, {40, 1, 5});
    QTest::keyClick(view_.get(), Qt::Key_Right);
    QTest::keyClick(view_.get(), Qt::Key_Up);
    ExpectNear(CameraOf().eye, {0, 0, -40});
    QTest::keyClick(view_.get(), Qt::Key_Down);
    Wheel(120);
    ExpectNear(CameraOf().eye, {0, 0, -3});
    const Vector3 centre = CameraOf().centre;
    QTest::keyClick(view_.get(), Qt::Key_Home);
    ExpectNear(CameraOf().eye, {0, 0, 0});
    ExpectNear(CameraOf().centre, centre);
}

TEST_F(GlView, FFramesTheSelectedThingOfTheCurrentMissionOnTheViewAxis)
{
    testsupport::EditedMission edited;
    CSceneObjectThing& door = edited.Door();  // no model file: a marker at (1.5, 2, -3.25)
    NotMission other;
    Show(edited.mission.get(), &other);
    QTest::keyClick(view_.get(), Qt::Key_F);
    ExpectNear(CameraOf().eye, {0, 0, 0});  // no thing selected: the camera stays

    Show(edited.mission.get(), &door);
    QTest::keyClick(view_.get(), Qt::Key_S);  // markers of radius 1
    QTest::keyClick(view_.get(), Qt::Key_Right);
    const Vector3 d = Minus(CameraOf().centre, CameraOf().eye);
    QTest::keyClick(view_.get(), Qt::Key_F);
    ExpectNear(Minus(CameraOf().centre, CameraOf().eye), d);
    // In front of the eye is along -d: eye = target + k d, k > 0.
    const Vector3 back = Minus(CameraOf().eye, door.GetTranslation());
    const float k = Length(back) / Length(d);
    ExpectNear(back, {d.x * k, d.y * k, d.z * k});
    EXPECT_NEAR(Length(back), view3d::FramingDistance(1.0f, 320.0f / 240.0f), 1e-3f);

    CMission elsewhere("m", CMission::ExplicitFolder{"/nowhere/"});
    Show(&elsewhere, &door);  // the door is no thing of this mission
    const Vector3 eye = CameraOf().eye;
    QTest::keyClick(view_.get(), Qt::Key_Left);
    QTest::keyClick(view_.get(), Qt::Key_F);
    ExpectNear(CameraOf().eye, {eye.x + 40, eye.y, eye.z});
}

// The box (1, 0, 0)..(3, 2, 2) under the door's scale (1, 2, 0.5), a quarter turn
// about y and its translation (1.5, 2, -3.25): centre (2, 1, 1) → (2, 2, 0.5) →
// (0.5, 2, -2) → (2, 4, -5.25); radius √3 × 2.
TEST_F(GlView, FFramesAModelByItsBoxUnderTheThingsTransform)
{
    testsupport::EditedMission edited;
    CSceneObjectThing& door = edited.Door();
    demo::CMeshBuilder mesh;
    mesh.AddBox({1, 0, 0}, {3, 2, 2}, 1);
    demo::FourDsModelData model;
    model.materials.emplace_back().flags = 0;
    model.frames = {demo::VisualFrame("box", 0, {0, 0, 0}, {mesh.Build(0.0f)})};
    const std::filesystem::path file = edited.Folder() / "box.4ds";
    std::ofstream(file, std::ios::binary) << demo::Write4ds(model);
    door.GetModel().Load(file.string(), true);
    ASSERT_TRUE(door.GetModel().IsLoaded());
    door.SetRotation({90.0f, 0.0f, 1.0f, 0.0f});
    Show(edited.mission.get(), &door);

    QTest::keyClick(view_.get(), Qt::Key_F);
    const Vector3 d = Minus(CameraOf().centre, CameraOf().eye);
    const float distance = view3d::FramingDistance(std::sqrt(3.0f) * 2.0f, 320.0f / 240.0f);
    const float k = distance / Length(d);
    ExpectNear(CameraOf().eye, {2 + d.x * k, 4 + d.y * k, -5.25f + d.z * k});
}

// Shift+F frames the whole mission: here two markers of radius 1, the lamp moved away.
TEST_F(GlView, ShiftFFramesTheWholeMissionOnTheViewAxis)
{
    testsupport::EditedMission edited;
    edited.Lamp().SetTranslation({21.5f, 2.0f, -3.25f});
    Show(edited.mission.get(), nullptr);
    QTest::keyClick(view_.get(), Qt::Key_S);  // markers of radius 1
    const Vector3 d = Minus(CameraOf().centre, CameraOf().eye);
    QTest::keyClick(view_.get(), Qt::Key_F, Qt::ShiftModifier);
    ExpectNear(Minus(CameraOf().centre, CameraOf().eye), d);
    // The box (0.5, 1, -4.25)..(22.5, 3, -2.25): centre (11.5, 2, -3.25), radius √123.
    const float distance = view3d::FramingDistance(std::sqrt(123.0f), 320.0f / 240.0f);
    const float k = distance / Length(d);
    ExpectNear(CameraOf().eye, {11.5f + d.x * k, 2 + d.y * k, -3.25f + d.z * k});
}

namespace {

// The status messages a widget sends up to its window.
struct StatusTips final : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::StatusTip)
            tips << static_cast<QStatusTipEvent*>(event)->tip();
        return false;
    }
    QStringList tips;
};

}  // namespace

// The first time a mission is shown the status bar tells how to see it all; the
// camera stays as a new camera stands.
TEST_F(GlView, TheFirstShowingOfAMissionTellsHowToSeeItAll)
{
    StatusTips status;
    view_->installEventFilter(&status);
    testsupport::EditedMission edited;
    CMission other("beta", CMission::ExplicitFolder{"/nowhere/"});
    Show(edited.mission.get(), nullptr);
    // Before the frame: a text changed while it is drawn would compose the window again.
    EXPECT_EQ(status.tips.size(), 1);
    QTest::qWait(100);
    ASSERT_EQ(status.tips, QStringList{CGlView::FirstShownText(*edited.mission)});
    EXPECT_TRUE(status.tips[0].startsWith("alpha: "));
    EXPECT_TRUE(status.tips[0].contains("Shift+F"));
    ExpectNear(CameraOf().eye, {0, 0, 0});
    ExpectNear(CameraOf().centre, {0, 1, 5});

    view_->Render();
    Show(&other, nullptr);
    QTest::qWait(100);
    Show(edited.mission.get(), nullptr);
    QTest::qWait(100);
    EXPECT_EQ(status.tips, (QStringList{CGlView::FirstShownText(*edited.mission), CGlView::FirstShownText(other)}));
    view_->removeEventFilter(&status);
}

TEST_F(GlView, PlusMinusAndCtrlWheelScaleTheSpeedAboutTheEyeAndShowIt)
{
    std::vector<QString> shown;
    view_->SetSpeedShown([&](const QString& text) { shown.push_back(text); });
    const Vector3 d = Minus(CameraOf().centre, CameraOf().eye);  // (0, 1, 5)
    QTest::keyClick(view_.get(), Qt::Key_Plus);
    ExpectNear(CameraOf().eye, {0, 0, 0});
    ExpectNear(Minus(CameraOf().centre, CameraOf().eye), {0, 2, 10});
    QTest::keyClick(view_.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(view_.get(), Qt::Key_Minus);
    ExpectNear(CameraOf().centre, {0, 0.5f, 2.5f});
    QTest::keyClick(view_.get(), Qt::Key_Equal);
    Wheel(240, Qt::ControlModifier);  // two notches: four times
    ExpectNear(CameraOf().eye, {0, 0, 0});
    ExpectNear(CameraOf().centre, {0, 4, 20});
    Wheel(-120, Qt::ControlModifier);
    ExpectNear(Minus(CameraOf().centre, CameraOf().eye), {d.x * 2, d.y * 2, d.z * 2});
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(view_.get(), Qt::Key_Plus);
    EXPECT_NEAR(view3d::FlySpeed({CameraOf().eye, CameraOf().centre}), view3d::kMaxFlySpeed, 1e-2f);

    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[0], "Скорость: 5.09902");
    EXPECT_EQ(shown[1], "Скорость: 10.198");
    EXPECT_EQ(shown.back(), "Скорость: 4096");
    EXPECT_EQ(view_->SpeedText(), shown.back());
    view_->SetSpeedShown(nullptr);  // `shown` goes before the view
}

TEST_F(GlView, TheLeftReleaseAnnouncesOnlyAThingOfTheCurrentMission)
{
    testsupport::EditedMission edited;
    CMission elsewhere("m", CMission::ExplicitFolder{"/nowhere/"});
    ChangeCounter counter;
    Show(&elsewhere, &edited.Door());
    QTest::mouseClick(view_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(counter.changes, 0);
    Show(edited.mission.get(), &edited.Door());
    QTest::mouseClick(view_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(counter.changes, 1);
}

TEST_F(GlView, LetterKeysToggleTheSettingsAndCulling)
{
    const RenderSettings& settings = view_->Renderer().Settings();
    QTest::keyClick(view_.get(), Qt::Key_S);
    EXPECT_EQ(settings.markerMode, 1);
    QTest::keyClick(view_.get(), Qt::Key_S);
    QTest::keyClick(view_.get(), Qt::Key_S);
    EXPECT_EQ(settings.markerMode, 0);
    QTest::keyClick(view_.get(), Qt::Key_T);
    EXPECT_FALSE(settings.world);
    QTest::keyClick(view_.get(), Qt::Key_W);
    EXPECT_TRUE(settings.wireframe);
    QTest::keyClick(view_.get(), Qt::Key_C);
    ASSERT_TRUE(view_->MakeCurrent());
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    view_->DoneCurrent();
}

TEST_F(GlView, DragsMoveAndTurnTheCamera)
{
    QTest::mousePress(view_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(view_.get(), QPoint(100, 90));
    QTest::mouseRelease(view_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 90));
    ExpectNear(CameraOf().eye, {0, 0.1f, 0});  // ten pixels up raise by 0.1 with d.y = 1

    QTest::mousePress(view_.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 100));
    MoveWith(Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 110));
    QTest::mouseRelease(view_.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 110));
    ExpectNear(CameraOf().eye, {0, 0.1f, 0.5f});  // forward by 2J = 0.1 of d, level

    const Vector3 eye = CameraOf().eye;
    const Vector3 centre = CameraOf().centre;
    QTest::mousePress(view_.get(), Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(view_.get(), QPoint(120, 100));
    QTest::mouseRelease(view_.get(), Qt::RightButton, Qt::NoModifier, QPoint(120, 100));
    EXPECT_EQ(CameraOf().eye, eye);
    EXPECT_NE(CameraOf().centre, centre);
    EXPECT_NEAR(CameraOf().centre.y, centre.y, 1e-4f);  // a sideways drag only yaws
}

TEST_F(GlView, NotificationsSetTheMissionAndTheSelectionByTheSendersObject)
{
    SenderView sender;
    NotMission other;
    sender.SetObject(&other);
    EXPECT_EQ(FramesDuring([&] { view_->Notify(&sender, DON_MISSION_SELECTED, 0); }), 0);
    EXPECT_EQ(view_->GetObject(), nullptr);

    CMission mission("m", CMission::ExplicitFolder{"/nowhere/"});
    sender.SetObject(&mission);
    view_->Notify(&sender, DON_DATA_SELECTED, 0);  // a mission is no selection
    EXPECT_EQ(view_->Renderer().GetSelected(), nullptr);
    EXPECT_GT(FramesDuring([&] { view_->Notify(&sender, DON_MISSION_SELECTED, 0); }), 0);
    EXPECT_EQ(view_->GetObject(), &mission);
    EXPECT_EQ(view_->Renderer().GetMission(), &mission);

    sender.SetObject(&other);
    view_->Notify(&sender, DON_DATA_SELECTED, 0);
    EXPECT_EQ(view_->Renderer().GetSelected(), &other);
    EXPECT_GT(FramesDuring([&] { view_->Notify(&sender, DON_OBJECT_CHANGED, 0); }), 0);
    EXPECT_EQ(FramesDuring([&] { view_->Notify(&sender, DON_THING_CLICKED, 0); }), 0);
}

TEST_F(GlView, TheViewLeavesTheMediatorWhenDestroyed)
{
    CDravoDon& don = CDravoDon::Instance();
    don.RegisterView(view_.get());
    const CDravoDonView* view = view_.get();
    view_.reset();
    for (const CDravoDonView* registered : don.GetViews())
        EXPECT_NE(registered, view);
}

TEST(GlFrame, TheWorldWindowIsTitledAndNamedVidMira)
{
    CGlFrame frame;
    EXPECT_EQ(frame.windowTitle(), "Вид Мира");
    EXPECT_EQ(frame.accessibleName(), "Вид Мира");
    EXPECT_FALSE(frame.windowIcon().isNull());
    EXPECT_EQ(frame.widget(), frame.GetView());
}

}  // namespace

// The view draws only when it changes or is uncovered: typing in a window above it
// repaints that window alone.
TEST(GlViewInMdiArea, TypingInAWindowAboveTheViewDrawsNoFrame)
{
    QMdiArea area;
    area.resize(400, 300);
    auto* view = new CGlView;
    area.addSubWindow(view)->setGeometry(0, 0, 300, 250);
    auto* editor = new QPlainTextEdit;
    area.addSubWindow(editor)->setGeometry(50, 50, 250, 200);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    editor->setFocus();
    QTest::qWait(100);
    ASSERT_GT(view->FramesShown(), 0u);

    const std::uint64_t before = view->FramesShown();
    QTest::keyClicks(editor, "abc");
    QTest::qWait(100);
    EXPECT_EQ(editor->toPlainText(), "abc");
    EXPECT_EQ(view->FramesShown(), before);
}
