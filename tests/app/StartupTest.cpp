#include "app/CMainFrame.h"
#include "app/CVerdaxApp.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "scene/CSceneObjectThing.h"
#include "tests/app/MessageBoxWatcher.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoGame.h"
#include "ui/CItemTreeView.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CRollupEditDescription.h"
#include "ui/CRollupEditTranslation.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"
#include "view3d/CGlView.h"
#include "view3d/ViewMatrices.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

CVerdaxApp& App()
{
    return *static_cast<CVerdaxApp*>(qApp);
}

ui::CItemTreeItem* MissionItem(ui::CItemTreeView* tree, const QString& name)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0) == name)
            return static_cast<ui::CItemTreeItem*>(tree->topLevelItem(i));
    return nullptr;
}

CGlFrame* WorldFrame(CMainFrame* frame)
{
    for (QMdiSubWindow* child : frame->MdiArea()->subWindowList())
        if (auto* world = dynamic_cast<CGlFrame*>(child))
            return world;
    return nullptr;
}

// Above the harbour town's south edge, looking at its middle.
Camera HarbourCamera()
{
    Camera camera;
    camera.eye = {0, 40, 110};
    camera.centre = {0, 41, 113};
    return camera;
}

// The view's picture, kept in VERDAX_SHOT_DIR (with the whole screen) when set.
QImage Picture(CGlView* view, const QString& name)
{
    view->Renderer().GetCamera() = HarbourCamera();
    view->update();
    QTest::qWait(100);
    const QImage picture = view->GrabFrame();
    if (const char* folder = std::getenv("VERDAX_SHOT_DIR")) {
        picture.save(QString::fromUtf8(folder) + "/" + name + "-view.png");
        QApplication::primaryScreen()->grabWindow(0).save(QString::fromUtf8(folder) + "/" + name + "-screen.png");
    }
    return picture;
}

// The grass of the town's ground: its green texture, lit.
bool ShowsGrassAt(const QImage& picture, QPoint at)
{
    const QColor colour = picture.pixelColor(at);
    return colour.green() > colour.red() + 30 && colour.green() > colour.blue() + 30;
}

// The client point where `at` appears in the view with its camera.
QPoint ClientPoint(CGlView* view, const Vector3& at)
{
    view->MakeCurrent();
    const Camera& c = view->Renderer().GetCamera();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(kZMirror);
    gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.centre.x, c.centre.y, c.centre.z, c.up.x, c.up.y, c.up.z);
    GLdouble modelview[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glPopMatrix();
    view->DoneCurrent();
    const QSize size = view->ProjectionSize();
    const GLint viewport[4] = {0, 0, size.width(), size.height()};
    GLdouble x = 0, y = 0, z = 0;
    gluProject(at.x, at.y, at.z, modelview, projection, viewport, &x, &y, &z);
    const qreal ratio = view->devicePixelRatioF();
    return QPoint(qRound(x / ratio), qRound((size.height() - y) / ratio));
}

// Counts the changes announced to the other views.
class ChangeCounter : public CDravoDonView {
public:
    void Notify(CDravoDonView*, int code, int) override { changes += code == DON_OBJECT_CHANGED; }
    int changes = 0;
};

// A mouse move with the keys held (QTest's moves carry none).
void MoveWith(QWidget* widget, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, keys);
    QApplication::sendEvent(widget, &event);
}

class StartupTest : public ::testing::Test {
protected:
    void StartOn(const std::filesystem::path& prefix)
    {
        setenv("WINEPREFIX", prefix.c_str(), 1);
        ASSERT_TRUE(App().InitInstance());
        frame_ = App().GetMainFrame();
        ASSERT_NE(frame_, nullptr);
        tree_ = frame_->GetItemTree();
        ASSERT_NE(tree_, nullptr);
    }

    testsupport::TempDir dir_;
    MessageBoxWatcher watcher_;
    CMainFrame* frame_ = nullptr;
    ui::CItemTreeView* tree_ = nullptr;
};

}  // namespace

TEST_F(StartupTest, TheDemoGamesMissionsFillTheTreeSorted)
{
    demo::WriteDemoGame(dir_.Path() / "prefix");
    StartOn(dir_.Path() / "prefix");
    EXPECT_TRUE(watcher_.boxes.empty());
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_EQ(frame_->windowTitle(), "Verdax");
    EXPECT_TRUE(CDravoDon::Instance().GetRoot().IsLoaded());
    ASSERT_GE(tree_->topLevelItemCount(), 3);
    for (int i = 1; i < tree_->topLevelItemCount(); ++i)
        EXPECT_LE(tree_->topLevelItem(i - 1)->text(0).compare(tree_->topLevelItem(i)->text(0), Qt::CaseInsensitive), 0);
    EXPECT_NE(MissionItem(tree_, demo::kHarbourMission), nullptr);
    // The root's load opens the world window, the one child window at start.
    ASSERT_EQ(frame_->MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame_->MdiArea()->subWindowList()[0]->windowTitle(), "Вид Мира");
}

TEST_F(StartupTest, WithoutTheRegistryKeyTheWindowOpensWithAnEmptyTree)
{
    std::filesystem::create_directories(dir_.Path() / "empty-prefix");
    StartOn(dir_.Path() / "empty-prefix");
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    EXPECT_EQ(watcher_.boxes[0].caption, "Verdax");
    EXPECT_EQ(watcher_.boxes[0].text, "Сорри, невозможно открыть ветку реестра. Переустановить игру.");
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_EQ(tree_->topLevelItemCount(), 0);
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
}

TEST_F(StartupTest, TheBrokenDemoMissionShowsTheDetailedMessageThen1001)
{
    demo::WriteDemoGame(dir_.Path() / "prefix");
    StartOn(dir_.Path() / "prefix");
    ui::CItemTreeItem* broken = MissionItem(tree_, demo::kBrokenMission);
    ASSERT_NE(broken, nullptr);
    tree_->OpenMissionItem(broken);
    ASSERT_EQ(watcher_.boxes.size(), 2u);
    EXPECT_TRUE(watcher_.boxes[0].text.startsWith("fFile pos = ")) << watcher_.boxes[0].text.toStdString();
    EXPECT_EQ(watcher_.boxes[1].text, "Сорри, миссия не может быть загружена.");
    EXPECT_EQ(watcher_.boxes[1].caption, "Verdax");
    EXPECT_EQ(broken->childCount(), 0);
    // The load runs under the wait cursor, but no box waits for OK under it.
    for (const ShownBox& box : watcher_.boxes)
        EXPECT_FALSE(box.underWaitCursor) << box.text.toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The demo's prefix records code page 1251; a C locale knows no Cyrillic, and the
// names show all the same.
TEST_F(StartupTest, TheVillagesCyrillicNamesShowInTheTreeInAnyLocale)
{
    setenv("LANG", "C", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    unsetenv("VERDAX_CODEPAGE");
    demo::WriteDemoGame(dir_.Path() / "prefix");
    StartOn(dir_.Path() / "prefix");
    ui::CItemTreeItem* village = MissionItem(tree_, QString::fromUtf8(demo::kVillageMission));
    ASSERT_NE(village, nullptr);
    auto* mission = static_cast<CMission*>(village->GetObject());
    tree_->OpenMissionItem(village);
    ASSERT_TRUE(mission->IsLoaded());
    QTreeWidgetItem* things = tree_->CategoryNode(mission, ui::CATEGORY_THINGS);
    ASSERT_NE(things, nullptr);
    QStringList texts;
    for (int i = 0; i < things->childCount(); ++i)
        texts << things->child(i)->text(0);
    EXPECT_EQ(texts, QStringList({"Дом", "Колодец", "Старый дуб", "Сторож"}));
    EXPECT_TRUE(watcher_.boxes.empty());
}

// Enter on the broken mission shows its two messages once: the presses that close
// them are the boxes', and their releases open nothing again.
TEST_F(StartupTest, EnterOnTheBrokenDemoMissionShowsItsMessagesOnce)
{
    demo::WriteDemoGame(dir_.Path() / "prefix");
    StartOn(dir_.Path() / "prefix");
    ui::CItemTreeItem* broken = MissionItem(tree_, demo::kBrokenMission);
    ASSERT_NE(broken, nullptr);
    QApplication::setActiveWindow(frame_);
    tree_->setFocus();
    tree_->setCurrentItem(broken);
    QApplication::processEvents();
    ASSERT_EQ(frame_->focusWidget(), tree_);

    watcher_.answerWithEnter = true;
    QTest::keyPress(tree_, Qt::Key_Return);
    QTest::keyRelease(tree_, Qt::Key_Return);
    QTest::qWait(300);  // the last release, and anything it would start
    ASSERT_EQ(watcher_.boxes.size(), 2u);
    EXPECT_TRUE(watcher_.boxes[0].text.startsWith("fFile pos = "));
    EXPECT_EQ(watcher_.boxes[1].text, "Сорри, миссия не может быть загружена.");
    for (const ShownBox& box : watcher_.boxes)
        EXPECT_FALSE(box.underWaitCursor) << box.text.toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(StartupTest, SavingTheSelectedDemoMissionWritesItsOutputFile)
{
    const auto prefix = dir_.Path() / "prefix";
    demo::WriteDemoGame(prefix);
    StartOn(prefix);
    ui::CItemTreeItem* harbour = MissionItem(tree_, demo::kHarbourMission);
    ASSERT_NE(harbour, nullptr);
    tree_->OpenMissionItem(harbour);
    EXPECT_EQ(harbour->childCount(), 4);
    tree_->setCurrentItem(harbour);
    frame_->Action(ui::ID_SAVE_MISSION)->trigger();
    EXPECT_TRUE(watcher_.boxes.empty());
    const auto missionFolder = prefix / demo::kDemoInstallPath / "Missions" / demo::kHarbourMission;
    EXPECT_TRUE(std::filesystem::exists(missionFolder / "scene2.bin.Verdax"));
}

// The window opens before any mission is loaded; a mission loaded afterwards, and
// the same mission in a world window opened after the load, both draw textured.
TEST_F(StartupTest, TheWorldWindowDrawsTheSelectedMissionTexturedBeforeAndAfterReopening)
{
    demo::WriteDemoGame(dir_.Path() / "prefix");
    StartOn(dir_.Path() / "prefix");
    CGlFrame* world = WorldFrame(frame_);
    ASSERT_NE(world, nullptr);
    ui::CItemTreeItem* harbour = MissionItem(tree_, demo::kHarbourMission);
    ASSERT_NE(harbour, nullptr);
    const QPoint at = tree_->visualItemRect(harbour).center();
    QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(harbour->childCount(), 4);
    ASSERT_EQ(world->GetView()->GetObject(), harbour->GetObject());
    const QImage first = Picture(world->GetView(), "opened-first");
    EXPECT_EQ(world->windowTitle(), demo::kHarbourMission);
    const QPoint grass(first.width() / 10, first.height() * 9 / 10);
    EXPECT_TRUE(ShowsGrassAt(first, grass));
    // The widget paints exactly the frame it drew.
    EXPECT_EQ(world->GetView()->grab().toImage().convertToFormat(QImage::Format_RGB32),
              first.convertToFormat(QImage::Format_RGB32));

    world->close();
    QTest::qWait(50);
    ASSERT_EQ(WorldFrame(frame_), nullptr);
    QAction* reopen = nullptr;
    for (QAction* action : frame_->actions())
        if (action->text() == "&Вид Мира")
            reopen = action;
    ASSERT_NE(reopen, nullptr);
    reopen->trigger();
    CGlFrame* again = WorldFrame(frame_);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetView()->GetObject(), harbour->GetObject());
    const QImage second = Picture(again->GetView(), "reopened");
    EXPECT_EQ(again->windowTitle(), demo::kHarbourMission);
    EXPECT_TRUE(ShowsGrassAt(second, QPoint(second.width() / 10, second.height() * 9 / 10)));
}

// Ctrl-click picks a thing for the whole editor; Ctrl-drags move and turn it; the
// saved output holds the new transform.
TEST_F(StartupTest, CtrlClickPicksAThingAndCtrlDragsMoveAndTurnItForTheSave)
{
    const auto prefix = dir_.Path() / "prefix";
    demo::WriteDemoGame(prefix);
    StartOn(prefix);
    CGlView* view = WorldFrame(frame_)->GetView();
    ui::CItemTreeItem* harbour = MissionItem(tree_, demo::kHarbourMission);
    const QPoint item = tree_->visualItemRect(harbour).center();
    QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, item);
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, item);
    auto* mission = dynamic_cast<CMission*>(harbour->GetObject());
    ASSERT_TRUE(mission && mission->IsLoaded());
    CSceneObjectThing* car = mission->FindThing("car_player");
    ASSERT_NE(car, nullptr);
    Picture(view, "before-pick");

    const Vector3 start = car->GetTranslation();
    const QPoint onCar = ClientPoint(view, {start.x, start.y + 0.5f, start.z});
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, onCar);
    EXPECT_EQ(view->Renderer().GetSelected(), car);
    EXPECT_EQ(tree_->GetObject(), car);  // the tree follows
    const QImage picked = Picture(view, "picked");
    const QColor red = picked.pixelColor(onCar);
    EXPECT_GT(red.red(), red.green() + 40) << red.name().toStdString();

    ChangeCounter others;
    CDravoDon::Instance().RegisterView(&others);
    const Vector3 d = view->Renderer().GetCamera().Direction();
    QTest::mousePress(view, Qt::LeftButton, Qt::ControlModifier, onCar);
    MoveWith(view, Qt::LeftButton, Qt::ControlModifier, onCar + QPoint(10, 0));
    const Vector3 moved = car->GetTranslation();
    EXPECT_NEAR(moved.x, start.x - 0.5f * 0.05f * d.z, 1e-4f);
    EXPECT_NEAR(moved.z, start.z + 0.5f * 0.05f * d.x, 1e-4f);
    EXPECT_EQ(others.changes, 0);  // a move is announced on release
    QTest::mouseRelease(view, Qt::LeftButton, Qt::ControlModifier, onCar + QPoint(10, 0));
    EXPECT_EQ(others.changes, 1);

    ASSERT_EQ(car->GetRotation(), (AxisAngle{90, 0, 1, 0}));
    QTest::mousePress(view, Qt::RightButton, Qt::ControlModifier, onCar);
    MoveWith(view, Qt::RightButton, Qt::ControlModifier, onCar + QPoint(10, 0));
    EXPECT_EQ(others.changes, 2);  // a turn at once
    QTest::mouseRelease(view, Qt::RightButton, Qt::ControlModifier, onCar + QPoint(10, 0));
    const AxisAngle turned = car->GetRotation();
    EXPECT_NEAR(turned.angle, 85, 1e-4f);
    Picture(view, "edited");

    tree_->setCurrentItem(harbour);
    frame_->Action(ui::ID_SAVE_MISSION)->trigger();
    EXPECT_TRUE(watcher_.boxes.empty());
    const auto folder = prefix / demo::kDemoInstallPath / "Missions" / demo::kHarbourMission;
    const auto copy = dir_.Path() / "saved";
    std::filesystem::create_directories(copy);
    std::filesystem::copy_file(folder / "scene2.bin.Verdax", copy / "scene2.bin");
    CMission saved("saved", CMission::ExplicitFolder{copy.string() + "/"});
    saved.Load();
    const CSceneObjectThing* reread = saved.FindThing("car_player");
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->GetTranslation(), car->GetTranslation());
    EXPECT_EQ(reread->GetRotation().angle, turned.angle);
}

TEST_F(StartupTest, SelectingAThingFillsThePanelWhereItIsRenamedAndMoved)
{
    demo::WriteDemoGame(dir_.Path() / "prefix");
    StartOn(dir_.Path() / "prefix");
    auto* rollup = frame_->EditBarPanel()->findChild<ui::CNormalRollupControl*>();
    ASSERT_NE(rollup, nullptr);
    EXPECT_EQ(rollup->geometry().topLeft(), QPoint(4, 12));
    EXPECT_EQ(rollup->width(), 166);
    EXPECT_FALSE(rollup->PageAt(rollup->TranslationIndex())->enabled);

    ui::CItemTreeItem* harbour = MissionItem(tree_, demo::kHarbourMission);
    ASSERT_NE(harbour, nullptr);
    tree_->OpenMissionItem(harbour);
    auto* mission = static_cast<CMission*>(harbour->GetObject());
    QTreeWidgetItem* things = tree_->CategoryNode(mission, ui::CATEGORY_THINGS);
    ASSERT_NE(things, nullptr);
    QTreeWidgetItem* gate = nullptr;
    for (int i = 0; i < things->childCount(); ++i)
        if (things->child(i)->text(0) == "guard_gate")
            gate = things->child(i);
    ASSERT_NE(gate, nullptr);
    harbour->setExpanded(true);
    things->setExpanded(true);
    tree_->scrollToItem(gate);
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, tree_->visualItemRect(gate).center());

    auto* thing = static_cast<CSceneObjectThing*>(static_cast<ui::CItemTreeItem*>(gate)->GetObject());
    ASSERT_EQ(rollup->GetObject(), thing);
    for (int i = 0; i < rollup->PageCount(); ++i)
        EXPECT_TRUE(rollup->PageAt(i)->enabled) << i;

    QTest::mouseClick(rollup->PageAt(rollup->DescriptionIndex())->titleButton, Qt::LeftButton);
    QLineEdit* name = rollup->DescriptionPage()->Field();
    EXPECT_EQ(name->text(), "guard_gate");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "guard_main");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(thing->GetName(), "guard_main");
    EXPECT_EQ(gate->text(0), "guard_main");

    QTest::mouseClick(rollup->PageAt(rollup->TranslationIndex())->titleButton, Qt::LeftButton);
    QLineEdit* x = rollup->TranslationPage()->Field(0);
    EXPECT_EQ(x->text(), "-4");
    x->setFocus();
    x->selectAll();
    QTest::keyClicks(x, "7.5");
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(thing->GetTranslation().x, 7.5f);
    EXPECT_TRUE(watcher_.boxes.empty());
}
