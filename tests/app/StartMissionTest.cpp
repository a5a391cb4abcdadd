// The editor started with a command line: the prefix it names and the mission it
// opens once the game is loaded and the world window is open.

#include "app/CMainFrame.h"
#include "app/CVerdaxApp.h"
#include "app/CommandLine.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "tests/app/MessageBoxWatcher.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoGame.h"
#include "ui/CItemTreeView.h"
#include "view3d/CGlFrame.h"
#include "view3d/CGlView.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

namespace {

class StartMissionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo::WriteDemoGame(dir_.Path() / "demo");
        std::filesystem::create_directories(dir_.Path() / "empty");
        // The prefix of the environment holds no game: only --prefix finds one.
        setenv("WINEPREFIX", (dir_.Path() / "empty").c_str(), 1);
    }

    void Start(std::vector<std::string_view> args)
    {
        const CommandLine line = ParseCommandLine(args);
        ASSERT_EQ(line.action, CommandLine::Action::Run);
        auto& app = *static_cast<CVerdaxApp*>(qApp);
        ApplyCommandLine(line, app);
        ASSERT_TRUE(app.InitInstance());
        frame_ = app.GetMainFrame();
        tree_ = frame_->GetItemTree();
    }

    CGlView* WorldView() const
    {
        const auto children = frame_->MdiArea()->subWindowList();
        auto* world = children.size() == 1 ? dynamic_cast<CGlFrame*>(children[0]) : nullptr;
        return world ? world->GetView() : nullptr;
    }

    testsupport::TempDir dir_;
    MessageBoxWatcher watcher_;
    CMainFrame* frame_ = nullptr;
    ui::CItemTreeView* tree_ = nullptr;
};

}  // namespace

TEST_F(StartMissionTest, ThePrefixFindsTheGameAndTheMissionOpensSelectedAndExpanded)
{
    // A prefix relative to the folder the editor starts in.
    std::filesystem::current_path(dir_.Path());
    Start({"--prefix", "demo", demo::kHarbourMission});
    EXPECT_EQ(std::filesystem::path(std::getenv("WINEPREFIX")), dir_.Path() / "demo");
    EXPECT_TRUE(watcher_.boxes.empty());

    auto* item = dynamic_cast<ui::CItemTreeItem*>(tree_->currentItem());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(0), demo::kHarbourMission);
    auto* mission = dynamic_cast<CMission*>(item->GetObject());
    ASSERT_TRUE(mission && mission->IsLoaded());
    EXPECT_EQ(item->childCount(), 4);
    EXPECT_TRUE(item->isExpanded());
    EXPECT_EQ(tree_->GetObject(), mission);
    // The world window, open since start-up, shows the selected mission.
    CGlView* view = WorldView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetObject(), mission);
    // Its title follows as it paints.
    QMdiSubWindow* world = frame_->MdiArea()->subWindowList()[0];
    EXPECT_TRUE(QTest::qWaitFor([world] { return world->windowTitle() == demo::kHarbourMission; }, 5000))
        << world->windowTitle().toStdString();
}

// Named in its own letters and in another case, as the game's folders are found.
TEST_F(StartMissionTest, TheCyrillicMissionOpensUnderAnyLetterCase)
{
    Start({"--prefix", (dir_.Path() / "demo").c_str(), "ДЕРЕВНЯ"});
    EXPECT_TRUE(watcher_.boxes.empty());
    auto* item = dynamic_cast<ui::CItemTreeItem*>(tree_->currentItem());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(0), QString::fromUtf8(demo::kVillageMission));
    EXPECT_EQ(item->childCount(), 4);
}

TEST_F(StartMissionTest, AMissionTheGameDoesNotHaveIsReportedAfterTheWorldWindowOpens)
{
    Start({"--prefix", (dir_.Path() / "demo").c_str(), "nowhere"});
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    EXPECT_EQ(watcher_.boxes[0].caption, "Verdax");
    EXPECT_EQ(watcher_.boxes[0].text, "Сорри, в игре нет миссии «nowhere».");
    EXPECT_NE(WorldView(), nullptr);
    EXPECT_EQ(tree_->currentItem(), nullptr);
}

// The messages of a double-click on it; the item is selected all the same.
TEST_F(StartMissionTest, AMissionThatFailsToLoadShowsTheMessagesOfADoubleClick)
{
    Start({"--prefix", (dir_.Path() / "demo").c_str(), demo::kBrokenMission});
    ASSERT_EQ(watcher_.boxes.size(), 2u);
    EXPECT_TRUE(watcher_.boxes[0].text.startsWith("fFile pos = ")) << watcher_.boxes[0].text.toStdString();
    EXPECT_EQ(watcher_.boxes[1].text, "Сорри, миссия не может быть загружена.");
    ASSERT_NE(tree_->currentItem(), nullptr);
    EXPECT_EQ(tree_->currentItem()->text(0), demo::kBrokenMission);
    EXPECT_EQ(tree_->currentItem()->childCount(), 0);
}

// Without --prefix the environment's prefix holds: here one without the game, whose
// message comes first, and then the named mission's.
TEST_F(StartMissionTest, WithoutThePrefixOptionTheEnvironmentsPrefixHolds)
{
    Start({demo::kHarbourMission});
    ASSERT_EQ(watcher_.boxes.size(), 2u);
    EXPECT_EQ(watcher_.boxes[0].text, "Сорри, невозможно открыть ветку реестра. Переустановить игру.");
    EXPECT_EQ(watcher_.boxes[1].text, "Сорри, в игре нет миссии «harbor_town».");
}
