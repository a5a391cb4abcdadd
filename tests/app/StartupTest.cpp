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

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
