#include "ui/CMissionTreePane.h"

#include "game/CMission.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CItemTreeView.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

demo::SceneFileData Scene(const std::vector<std::string>& thingNames)
{
    demo::SceneFileData scene;
    for (const std::string& name : thingNames) {
        demo::SceneThing thing;
        thing.kind = demo::thing::kModel;
        thing.name = name;
        thing.modelName = "box.4ds";
        scene.things.push_back(thing);
    }
    scene.missionScripts = {{1, "barrel_script", "end\r\n"}};
    return scene;
}

class MissionTreePaneTest : public ::testing::Test {
protected:
    MissionTreePaneTest() : scope_(shown_)
    {
        platform::SetAnsiCodePage(1251);
        pane_->resize(300, 600);
        pane_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(pane_.get()));
        QApplication::setActiveWindow(pane_.get());
    }
    ~MissionTreePaneTest() override
    {
        pane_.reset();
        platform::SetAnsiCodePage(0);
    }

    CItemTreeItem* AddMission(const std::string& name, const std::vector<std::string>& things, bool open)
    {
        dir_.Write(name + "/scene2.bin", demo::WriteScene2(Scene(things)));
        missions_.push_back(
            std::make_unique<CMission>(name, CMission::ExplicitFolder{(dir_.Path() / name).string() + "/"}));
        CItemTreeItem* item = Tree()->AddMissionItem(missions_.back().get());
        if (open)
            Tree()->OpenMissionItem(item);
        return item;
    }

    CItemTreeView* Tree() const { return pane_->Tree(); }

    // The texts of the items in sight (neither hidden nor under a closed item), in
    // order, indented by depth.
    QStringList Shown() const
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(Tree(), QTreeWidgetItemIterator::NotHidden); *it; ++it) {
            int depth = 0;
            bool inSight = true;
            for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) {
                ++depth;
                inSight = inSight && up->isExpanded();
            }
            if (!inSight)
                continue;
            const bool open = (*it)->isExpanded() && (*it)->childCount() > 0;
            texts << QString(depth, QLatin1Char(' ')) + (*it)->text(0) + (open ? "/" : "");
        }
        return texts;
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::TempDir dir_;
    std::vector<std::unique_ptr<CMission>> missions_;  // outlive the tree
    std::unique_ptr<CMissionTreePane> pane_ = std::make_unique<CMissionTreePane>();
};

}  // namespace

TEST_F(MissionTreePaneTest, TypingShowsTheMatchesWithTheirAncestorsOpened)
{
    AddMission("harbor", {"barrel_1", "crate_1", "Barrel_2"}, true);
    AddMission("quarry", {"rock", "cart"}, true);
    AddMission("barrels_listed", {}, false);  // not opened: only its own name counts
    AddMission("unopened", {}, false);
    const QStringList before = Shown();

    QTest::keyClicks(pane_->FilterField(), "BARREL");
    EXPECT_EQ(Shown(), QStringList({"barrels_listed", "harbor/", " Вещи/", "  barrel_1", "  Barrel_2",
                                    " Системные скрипты/", "  barrel_script", "quarry/", " Системные скрипты/",
                                    "  barrel_script"}));

    // Escape gives the tree back as it was: everything shown, nothing left opened.
    QTest::keyClick(pane_->FilterField(), Qt::Key_Escape);
    EXPECT_TRUE(pane_->FilterField()->text().isEmpty());
    EXPECT_EQ(Shown(), before);
}

TEST_F(MissionTreePaneTest, LetterCaseIsIgnoredInTheGamesCodePage)
{
    // "Бочка" and "БОЧКА" in code page 1251.
    AddMission("harbor", {"\xc1\xee\xf7\xea\xe0", "\xc1\xce\xd7\xca\xc0", "crate"}, true);
    pane_->SetFilter(QStringLiteral("бОчК"));
    EXPECT_EQ(Shown(), QStringList({"harbor/", " Вещи/", "  Бочка", "  БОЧКА"}));
    EXPECT_EQ(CMissionTreePane::Folded(QStringLiteral("ЁЖ Ab")), U"ёж ab");
}

TEST_F(MissionTreePaneTest, ClearingRestoresTheOpenAndClosedBranchesAndKeepsAChosenItemInView)
{
    CItemTreeItem* harbor = AddMission("harbor", {"barrel_1", "crate_1"}, true);
    harbor->setExpanded(true);
    QTreeWidgetItem* things = Tree()->CategoryNode(missions_[0].get(), CATEGORY_THINGS);
    const QStringList before = Shown();
    ASSERT_FALSE(things->isExpanded());

    pane_->SetFilter("crate");
    ASSERT_TRUE(things->isExpanded());
    Tree()->setCurrentItem(things->child(1));  // chosen among the matches
    pane_->SetFilter("");
    EXPECT_FALSE(things->child(0)->isHidden());
    // The chosen item stays in view, so its branch is open; the rest is as before.
    EXPECT_TRUE(things->isExpanded());
    things->setExpanded(false);
    EXPECT_EQ(Shown(), before);
}

TEST_F(MissionTreePaneTest, AMissionOpenedUnderAFilterIsFilteredToo)
{
    CItemTreeItem* later = AddMission("later", {"barrel_9", "crate_9"}, false);
    pane_->SetFilter("barrel");
    EXPECT_TRUE(later->isHidden());
    Tree()->OpenMissionItem(later);
    QApplication::processEvents();  // the filter runs once the branch is built
    EXPECT_EQ(Shown(), QStringList({"later/", " Вещи/", "  barrel_9", " Системные скрипты/", "  barrel_script"}));
}

TEST_F(MissionTreePaneTest, CtrlFInTheTreeGoesToTheFieldAndEscapeInTheTreeClears)
{
    AddMission("harbor", {"barrel_1"}, true)->setExpanded(true);
    const QStringList before = Shown();  // the mission and its four categories
    ASSERT_EQ(before.size(), 5);
    Tree()->setFocus();
    QApplication::processEvents();
    QTest::keyClick(Tree(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(pane_->FilterField()->hasFocus());
    QTest::keyClicks(pane_->FilterField(), "zzz");
    EXPECT_TRUE(Shown().isEmpty());
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Escape);
    EXPECT_TRUE(pane_->FilterField()->text().isEmpty());
    EXPECT_EQ(Shown(), before);

    EXPECT_EQ(pane_->FilterField()->accessibleName(), "Поиск в миссиях");
    EXPECT_EQ(Tree()->accessibleName(), "Миссии");
}
