// The save commands: which mission "Сохранить Миссию" and Ctrl+S write, and what
// they show when there is none or the write fails.

#include "tests/app/MainFrameFixture.h"

#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CItemTreeView.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace ui;
using apptest::MainFrameTest;
using apptest::Utf8;

class SaveCommandTest : public MainFrameTest {
protected:
    CMission* AddMission(const std::string& name)
    {
        demo::SceneFileData scene;
        demo::SceneThing thing;
        thing.kind = demo::thing::kModel;
        thing.name = "lamp";
        thing.modelName = "lamp.4ds";
        scene.things.push_back(thing);
        dir_.Write(name + "/scene2.bin", demo::WriteScene2(scene));
        missions_.push_back(std::make_unique<CMission>(name, CMission::ExplicitFolder{Folder(name).string() + "/"}));
        frame_->GetItemTree()->AddMissionItem(missions_.back().get());
        return missions_.back().get();
    }

    std::filesystem::path Folder(const std::string& name) const { return dir_.Path() / name; }

    void Save()
    {
        shown_.entries.clear();
        frame_->Action(ID_SAVE_MISSION)->trigger();
    }

    testsupport::TempDir dir_;
    std::vector<std::unique_ptr<CMission>> missions_;

    ~SaveCommandTest() override { frame_.reset(); }  // the tree goes before the missions
};

TEST_F(SaveCommandTest, NoSelectionOrAnObjectSelectedShowsMessage1002)
{
    CMission* mission = AddMission("alpha");
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NO_MISSION_SELECTED);
    EXPECT_EQ(Utf8(shown_.entries[0].text), "Сорри, невозможно определить, какая миссия выбрана.");

    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    ASSERT_TRUE(mission->IsLoaded());
    tree->SelectObject(mission->GetThings()[0].get());
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NO_MISSION_SELECTED);
    tree->setCurrentItem(tree->CategoryNode(mission, CATEGORY_THINGS));
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(Folder("alpha") / "scene2.bin.Verdax"));
}

// The menu takes the press of Enter that chooses the command; the release then
// reaches the tree, which must not open the mission it has selected.
TEST_F(SaveCommandTest, ChoosingSaveWithEnterFromTheMenuOpensNoMission)
{
    CMission* mission = AddMission("alpha");
    CItemTreeView* tree = frame_->GetItemTree();
    QApplication::setActiveWindow(frame_.get());
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));
    QApplication::processEvents();
    ASSERT_EQ(frame_->focusWidget(), tree);

    QMenu* file = Menu("&Файл");
    file->popup(frame_->mapToGlobal(QPoint(10, 30)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    file->setActiveAction(frame_->Action(ID_SAVE_MISSION));
    QSignalSpy saved(frame_->Action(ID_SAVE_MISSION), &QAction::triggered);
    QTest::keyPress(file, Qt::Key_Return);
    EXPECT_EQ(saved.count(), 1);
    QApplication::processEvents();
    EXPECT_FALSE(file->isVisible());
    // The release goes where the window's keyboard input goes now.
    QTest::keyRelease(frame_->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(mission->IsLoaded());
}

TEST_F(SaveCommandTest, TheSelectedMissionIsWrittenBesideItsObjectFile)
{
    CMission* mission = AddMission("alpha");
    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    tree->setCurrentItem(tree->topLevelItem(0));
    ASSERT_EQ(tree->GetSelectedMission(), mission);
    Save();
    EXPECT_TRUE(shown_.entries.empty());
    const std::string written = testsupport::ReadFile(Folder("alpha") / "scene2.bin.Verdax");
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.substr(0, 2), std::string("SL", 2));  // the scene chunk
    EXPECT_NE(written.find("lamp"), std::string::npos);
}

TEST_F(SaveCommandTest, AFailedSaveIsReportedAndTheProgramGoesOn)
{
    CMission* mission = AddMission("alpha");
    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    tree->setCurrentItem(tree->topLevelItem(0));
    // A folder where the output file belongs: it cannot be written. The one box names
    // the file and the system's reason.
    std::filesystem::create_directories(Folder("alpha") / "scene2.bin.Verdax" / "inside");
    Save();
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].text, (Folder("alpha") / "scene2.bin.Verdax").string() + ": Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(Folder("alpha") / "scene2.bin.Verdax" / "inside"));
    EXPECT_TRUE(mission->IsLoaded());
    EXPECT_TRUE(frame_->isVisible());
}

// "Сохранить" needs no mission row: the mission of what is selected, or of the world
// window when nothing is.
TEST_F(SaveCommandTest, SaveWritesTheMissionOfTheSelectionOrOfTheWorldWindow)
{
    CMission* alpha = AddMission("alpha");
    CMission* beta = AddMission("beta");
    CItemTreeView* tree = frame_->GetItemTree();
    tree->OpenMissionItem(tree->topLevelItem(0));
    tree->OpenMissionItem(tree->topLevelItem(1));
    const auto saveKeys = [&](QWidget* focus) {
        shown_.entries.clear();
        QApplication::setActiveWindow(frame_.get());
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    };
    const auto written = [&](const std::string& name) {
        return std::filesystem::exists(Folder(name) / "scene2.bin.Verdax");
    };

    tree->SelectObject(beta->GetThings()[0].get());
    saveKeys(tree);
    EXPECT_TRUE(shown_.entries.empty());
    EXPECT_TRUE(written("beta"));
    EXPECT_FALSE(written("alpha"));
    tree->setCurrentItem(tree->CategoryNode(alpha, CATEGORY_THINGS));
    saveKeys(tree);
    EXPECT_TRUE(written("alpha"));

    std::filesystem::remove(Folder("beta") / "scene2.bin.Verdax");
    tree->clearSelection();
    saveKeys(tree);
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NO_MISSION_SELECTED);
    frame_->SetViewFactory(DON_VIEW_WORLD, [](CVerdaxData*) { return new CGlFrame; });
    auto* world = dynamic_cast<QWidget*>(CDravoDon::Instance().OpenView(DON_VIEW_WORLD, beta));
    ASSERT_NE(world, nullptr);
    saveKeys(world);
    EXPECT_TRUE(shown_.entries.empty());
    EXPECT_TRUE(written("beta"));
}
