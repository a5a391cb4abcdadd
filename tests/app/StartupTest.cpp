#include "app/CMainFrame.h"
#include "app/CVerdaxApp.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoGame.h"
#include "ui/CItemTreeView.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

struct ShownBox {
    QString caption;
    QString text;
    bool underWaitCursor = false;
};

// Answers every message box the editor shows, as a user pressing OK would, and
// keeps what it showed and whether the wait cursor was over it.
class MessageBoxWatcher {
public:
    MessageBoxWatcher()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || box->property("answered").toBool())
                return;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            boxes.push_back({box->windowTitle(), box->text(), cursor && cursor->shape() == Qt::WaitCursor});
            box->setProperty("answered", true);
            if (answerWithEnter && boxes.size() <= kMaxBoxesAnsweredByKeys)
                PressEnterOn(box);
            else
                box->accept();
        });
        timer_.start();
    }

    // Answer with the Enter key as a user does: the press goes to the box and closes
    // it; the release goes where keyboard input goes once the box is gone.
    bool answerWithEnter = false;
    std::vector<ShownBox> boxes;

private:
    // A fault that reopens the failing mission on every release would go on for
    // ever; after this many boxes they are closed without keys.
    static constexpr std::size_t kMaxBoxesAnsweredByKeys = 6;

    static void PressEnterOn(QMessageBox* box)
    {
        QTest::keyPress(box, Qt::Key_Return);
        QTimer::singleShot(20, [] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window)
                window = QApplication::activeWindow();
            QWidget* target = window ? window->focusWidget() : nullptr;
            if (!target)
                target = window;
            if (target)
                QTest::keyRelease(target, Qt::Key_Return);
        });
    }

    QTimer timer_;
};

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
    // The world window belongs to a later part of the editor: its kind opens nothing yet.
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().isEmpty());
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
