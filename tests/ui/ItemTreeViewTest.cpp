#include "ui/CItemTreeView.h"

#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/SceneWriter.h"
#include "ui/IconStrips.h"

#include <QApplication>
#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

using namespace ui;

namespace {

// A view that records what the mediator delivers: the code and the sender's object.
struct RecordingView final : CDravoDonView {
    RecordingView() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView* sender, int code, int) override
    {
        codes.push_back(code);
        objects.push_back(sender->GetObject());
    }
    std::vector<int> codes;
    std::vector<CVerdaxData*> objects;
};

demo::SceneThing Thing(std::string name, std::string model)
{
    demo::SceneThing t;
    t.kind = demo::thing::kModel;
    t.name = std::move(name);
    t.modelName = std::move(model);
    return t;
}

demo::SceneThingData Data(std::int32_t kind, std::string name)
{
    demo::SceneThingData d;
    d.kind = kind;
    d.name = std::move(name);
    if (kind != demo::thingdata::kScript && kind != demo::thingdata::kScript27)
        d.raw = "raw!";
    return d;
}

// Things of every icon: linked to kind 5 (also the one without a name, through the
// thing data without a name), kind 27, a raw kind, and none.
demo::SceneFileData MixedScene(const std::string& prefix)
{
    demo::SceneFileData scene;
    scene.things = {Thing(prefix + "door", "door.4ds"), Thing(prefix + "guard", "man.4ds"),
                    Thing(prefix + "crate", "crate.4ds"), Thing("", "barrel.4ds"), Thing(prefix + "lamp", "lamp.4ds")};
    scene.thingData = {Data(demo::thingdata::kScript, prefix + "door"),
                       Data(demo::thingdata::kScript27, prefix + "guard"), Data(8, prefix + "crate"),
                       Data(demo::thingdata::kScript, "")};
    scene.missionScripts = {{1, prefix + "init", "end\r\n"}, {1, "", ""}};
    return scene;
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class ItemTreeTest : public ::testing::Test {
protected:
    ItemTreeTest() : scope_(shown_) {}

    CMission* MakeMission(const std::string& name, const std::string& sceneBytes)
    {
        dir_.Write(name + "/scene2.bin", sceneBytes);
        missions_.push_back(
            std::make_unique<CMission>(name, CMission::ExplicitFolder{(dir_.Path() / name).string() + "/"}));
        return missions_.back().get();
    }

    CMission* MakeMission(const std::string& name) { return MakeMission(name, demo::WriteScene2(MixedScene(name + "_"))); }

    void ShowTree()
    {
        tree_->resize(300, 600);
        tree_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tree_.get()));
        // Receiving the focus makes the first item current; start with none.
        tree_->setCurrentItem(nullptr);
        recorder_.codes.clear();
        recorder_.objects.clear();
    }

    CItemTreeItem* Child(QTreeWidgetItem* parent, const QString& text)
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text)
                return static_cast<CItemTreeItem*>(parent->child(i));
        return nullptr;
    }

    // A mission that did not load ends the test as a failure (the exception), not
    // as a crash on nodes that are not there.
    CItemTreeItem* OpenedMission(CMission* mission)
    {
        CItemTreeItem* item = tree_->AddMissionItem(mission);
        tree_->OpenMissionItem(item);
        if (!mission->IsLoaded() || item->childCount() != 4)
            throw std::runtime_error("the mission did not open: " + mission->GetName());
        item->setExpanded(true);
        for (int i = 0; i < item->childCount(); ++i)
            item->child(i)->setExpanded(true);
        return item;
    }

    void Click(QTreeWidgetItem* item)
    {
        tree_->scrollToItem(item);
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, tree_->visualItemRect(item).center());
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::TempDir dir_;
    std::vector<std::unique_ptr<CMission>> missions_;  // outlive the tree, as the root's do
    std::unique_ptr<CItemTreeView> tree_ = std::make_unique<CItemTreeView>();
    RecordingView recorder_;
};

}  // namespace

TEST_F(ItemTreeTest, MissionsAreSortedByNameWithTheListedIcon)
{
    // Letter case plays no part: byte order would put "Beta" and "Mid" first.
    for (const char* name : {"zeta", "alpha", "Mid", "Beta"})
        tree_->AddMissionItem(MakeMission(name));
    ASSERT_EQ(tree_->topLevelItemCount(), 4);
    EXPECT_EQ(tree_->topLevelItem(0)->text(0), "alpha");
    EXPECT_EQ(tree_->topLevelItem(1)->text(0), "Beta");
    EXPECT_EQ(tree_->topLevelItem(2)->text(0), "Mid");
    EXPECT_EQ(tree_->topLevelItem(3)->text(0), "zeta");
    auto* item = static_cast<CItemTreeItem*>(tree_->topLevelItem(0));
    EXPECT_EQ(item->GetIcon(), ICON_MISSION_LISTED);
    EXPECT_EQ(item->childCount(), 0);
    EXPECT_TRUE(shown_.entries.empty());
}

TEST_F(ItemTreeTest, OpeningAMissionBuildsItsFourCategoriesInSortedOrder)
{
    CMission* mission = MakeMission("alpha");
    CItemTreeItem* item = OpenedMission(mission);
    ASSERT_TRUE(mission->IsLoaded());
    EXPECT_EQ(item->GetIcon(), ICON_MISSION_LOADED);
    ASSERT_EQ(item->childCount(), 4);
    // The leading blank of " Целое" sorts it to the top.
    EXPECT_EQ(item->child(0)->text(0), Utf8(LoadString(IDS_CATEGORY_WHOLE)));
    EXPECT_EQ(item->child(1)->text(0), Utf8(LoadString(IDS_CATEGORY_THINGS)));
    EXPECT_EQ(item->child(2)->text(0), Utf8(LoadString(IDS_CATEGORY_THING_DATA)));
    EXPECT_EQ(item->child(3)->text(0), Utf8(LoadString(IDS_CATEGORY_SCRIPTS)));

    const auto icon = [](QTreeWidgetItem* i) { return static_cast<CItemTreeItem*>(i)->GetIcon(); };
    EXPECT_EQ(icon(item->child(0)), ICON_WHOLE);
    EXPECT_EQ(icon(item->child(1)), ICON_THING);
    EXPECT_EQ(icon(item->child(2)), ICON_THING_DATA);
    EXPECT_EQ(icon(item->child(3)), ICON_SCRIPT);
    EXPECT_EQ(item->child(0)->childCount(), 0);

    EXPECT_EQ(tree_->CategoryNode(mission, CATEGORY_THINGS), item->child(1));
    EXPECT_EQ(tree_->CategoryNode(mission, CATEGORY_WHOLE), item->child(0));
    EXPECT_EQ(tree_->CategoryNode(missions_.back().get(), 999), nullptr);
}

TEST_F(ItemTreeTest, ObjectTextsUseNamesModelNamesAndDashes)
{
    CMission* mission = MakeMission("alpha");
    OpenedMission(mission);
    QTreeWidgetItem* things = tree_->CategoryNode(mission, CATEGORY_THINGS);
    QTreeWidgetItem* data = tree_->CategoryNode(mission, CATEGORY_THING_DATA);
    QTreeWidgetItem* scripts = tree_->CategoryNode(mission, CATEGORY_SCRIPTS);
    ASSERT_EQ(things->childCount(), 5);
    // Sorted by display text, ignoring case: '[' comes after the capitals, so before the lower case.
    QStringList texts;
    for (int i = 0; i < things->childCount(); ++i)
        texts << things->child(i)->text(0);
    EXPECT_EQ(texts, QStringList({"[barrel.4ds]", "alpha_crate", "alpha_door", "alpha_guard", "alpha_lamp"}));
    ASSERT_EQ(data->childCount(), 4);
    EXPECT_EQ(data->child(0)->text(0), "[---]");
    ASSERT_EQ(scripts->childCount(), 2);
    EXPECT_EQ(scripts->child(0)->text(0), "[---]");
    EXPECT_EQ(scripts->child(1)->text(0), "alpha_init");
}

// The rows of a category go in at once, in the order inserting them one at a time
// gives: texts that differ only in letter case keep the file's order.
TEST_F(ItemTreeTest, TextsEqualButForCaseKeepTheFileOrder)
{
    demo::SceneFileData scene;
    std::vector<std::string> variants;
    for (int bits = 31; bits >= 0; --bits) {
        std::string name = "lampx";
        for (int i = 0; i < 5; ++i)
            name[static_cast<std::size_t>(i)] = (bits >> i) & 1 ? static_cast<char>(name[i] - 'a' + 'A') : name[i];
        variants.push_back(name);
        scene.things.push_back(Thing(name, "lamp.4ds"));
        scene.things.push_back(Thing(bits % 2 ? "zz" : "aa", "x.4ds"));
    }
    CMission* mission = MakeMission("alpha", demo::WriteScene2(scene));
    OpenedMission(mission);
    QTreeWidgetItem* things = tree_->CategoryNode(mission, CATEGORY_THINGS);
    ASSERT_EQ(things->childCount(), 64);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(things->child(i)->text(0), i < 16 ? "aa" : Utf8(variants[std::size_t(i - 16)]));
        EXPECT_EQ(things->child(i + 32)->text(0), i < 16 ? Utf8(variants[std::size_t(i + 16)]) : "zz");
    }
}

// The order of the rows is the tree control's: by text, ignoring case (as
// QString::compare ignores it), also for the code page's letters beyond ASCII.
TEST_F(ItemTreeTest, RowsFollowTheCaseInsensitiveOrderOfTheirTexts)
{
    platform::SetAnsiCodePage(1251);
    const QStringList names = {"яма", "Ёлка", "ель", "Ель", "ёж", "Яблоко", "apple", "Zebra", "_x", "ЖУК",
                               "жаба", "a[", "aZ", "az", "Їжак", "їжа", "№5", "", "dom", "Дом", "дОМ"};
    demo::SceneFileData scene;
    for (const QString& name : names)
        scene.things.push_back(Thing(platform::FromUtf8(name.toStdString()), "m.4ds"));
    CMission* mission = MakeMission("alpha", demo::WriteScene2(scene));
    OpenedMission(mission);
    QStringList expected = names;
    for (QString& text : expected)
        text = text.isEmpty() ? "[m.4ds]" : text;
    std::ranges::stable_sort(expected, [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    QTreeWidgetItem* things = tree_->CategoryNode(mission, CATEGORY_THINGS);
    QStringList shown;
    for (int i = 0; i < things->childCount(); ++i)
        shown << things->child(i)->text(0);
    platform::SetAnsiCodePage(0);
    EXPECT_EQ(shown, expected);
}

TEST_F(ItemTreeTest, ThingIconsFollowTheKindOfTheirDataBlock)
{
    CMission* mission = MakeMission("alpha");
    OpenedMission(mission);
    QTreeWidgetItem* things = tree_->CategoryNode(mission, CATEGORY_THINGS);
    EXPECT_EQ(Child(things, "alpha_door")->GetIcon(), ICON_THING_SCRIPTED);   // kind 5
    EXPECT_EQ(Child(things, "alpha_guard")->GetIcon(), ICON_THING_FIGURE);    // kind 27
    EXPECT_EQ(Child(things, "alpha_crate")->GetIcon(), ICON_THING_DATA_BLOCK);  // any other kind
    EXPECT_EQ(Child(things, "alpha_lamp")->GetIcon(), ICON_THING);            // none linked
    EXPECT_EQ(Child(things, "[barrel.4ds]")->GetIcon(), ICON_THING_SCRIPTED);  // linked by the empty name
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(static_cast<CItemTreeItem*>(tree_->CategoryNode(mission, CATEGORY_THING_DATA)->child(i))->GetIcon(),
                  ICON_THING_DATA);
    }
    EXPECT_EQ(static_cast<CItemTreeItem*>(tree_->CategoryNode(mission, CATEGORY_SCRIPTS)->child(0))->GetIcon(),
              ICON_SCRIPT);
    // The icon shown is the strip's image of that index.
    const QImage shown = Child(things, "alpha_guard")->icon(0).pixmap(kIconSize).toImage();
    EXPECT_EQ(shown, tree_->Icon(ICON_THING_FIGURE).pixmap(kIconSize).toImage());
}

TEST_F(ItemTreeTest, SelectingAMissionWithTheMouseSends257Then258Then259)
{
    CMission* mission = MakeMission("alpha");
    QTreeWidgetItem* item = tree_->AddMissionItem(mission);
    ShowTree();
    Click(item);
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_MISSION_SELECTED, DON_DATA_SELECTED}));
    EXPECT_EQ(recorder_.objects, (std::vector<CVerdaxData*>(3, mission)));
    EXPECT_EQ(tree_->GetObject(), mission);
}

TEST_F(ItemTreeTest, AThingClickedSends261ButTheKeyboardDoesNot)
{
    CMission* mission = MakeMission("alpha");
    OpenedMission(mission);
    ShowTree();
    QTreeWidgetItem* things = tree_->CategoryNode(mission, CATEGORY_THINGS);
    CItemTreeItem* door = Child(things, "alpha_door");

    Click(door);
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_DATA_SELECTED, DON_THING_CLICKED}));
    EXPECT_EQ(recorder_.objects.back(), door->GetObject());

    recorder_.codes.clear();
    QTest::keyClick(tree_.get(), Qt::Key_Down);  // to "alpha_guard", the next thing
    ASSERT_EQ(tree_->currentItem()->text(0), "alpha_guard");
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_DATA_SELECTED}));

    // A thing data object clicked with the mouse is no thing: no 261.
    recorder_.codes.clear();
    Click(tree_->CategoryNode(mission, CATEGORY_THING_DATA)->child(1));
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_DATA_SELECTED}));
}

TEST_F(ItemTreeTest, ACategorySends257AloneWithNoObject)
{
    CMission* mission = MakeMission("alpha");
    OpenedMission(mission);
    ShowTree();
    Click(tree_->CategoryNode(mission, CATEGORY_THINGS));  // an object first, then the category
    recorder_.codes.clear();
    recorder_.objects.clear();
    Click(tree_->CategoryNode(mission, CATEGORY_WHOLE));
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED}));
    EXPECT_EQ(recorder_.objects, (std::vector<CVerdaxData*>{nullptr}));
    EXPECT_EQ(tree_->GetObject(), nullptr);
}

TEST_F(ItemTreeTest, ARenameShowsAfterObjectChangedWithoutMovingTheItem)
{
    CMission* mission = MakeMission("alpha");
    OpenedMission(mission);
    ShowTree();
    QTreeWidgetItem* things = tree_->CategoryNode(mission, CATEGORY_THINGS);
    CItemTreeItem* door = Child(things, "alpha_door");
    const int row = things->indexOfChild(door);

    int paints = 0;
    QRegion painted;
    struct PaintCounter : QObject {
        PaintCounter(int& n, QRegion& r) : count(n), region(r) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) {
                ++count;
                region += static_cast<QPaintEvent*>(e)->region();
            }
            return false;
        }
        int& count;
        QRegion& region;
    } counter(paints, painted);
    QApplication::processEvents();  // the repaints showing the tree asked for
    tree_->viewport()->installEventFilter(&counter);

    // Nothing shown has changed: nothing is painted.
    CDravoDon::Instance().Broadcast(&recorder_, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(paints, 0);

    static_cast<CSceneObject*>(door->GetObject())->SetName("zz_renamed");
    // Its own notification is ignored; another view's repaints the changed row at once,
    // and that row alone.
    tree_->Notify(tree_.get(), DON_OBJECT_CHANGED, 0);
    tree_->Notify(&recorder_, DON_OBJECT_SELECTED, 0);
    EXPECT_EQ(paints, 0);
    CDravoDon::Instance().Broadcast(&recorder_, DON_OBJECT_CHANGED, 0);
    EXPECT_GE(paints, 1);
    const QRect doorRow = tree_->visualItemRect(door);
    EXPECT_EQ(painted.boundingRect().top(), doorRow.top());
    EXPECT_EQ(painted.boundingRect().bottom(), doorRow.bottom());
    EXPECT_EQ(door->text(0), "zz_renamed");
    EXPECT_EQ(things->indexOfChild(door), row);

    static_cast<CSceneObject*>(door->GetObject())->SetName("");
    EXPECT_EQ(door->text(0), "[door.4ds]");
    tree_->viewport()->removeEventFilter(&counter);
}

TEST_F(ItemTreeTest, SelectObjectFindsAThingUnderTheSecondOpenedMission)
{
    CMission* first = MakeMission("alpha");
    CMission* second = MakeMission("beta");
    OpenedMission(first);
    CItemTreeItem* secondItem = tree_->AddMissionItem(second);
    tree_->OpenMissionItem(secondItem);  // left collapsed
    ASSERT_TRUE(second->IsLoaded());
    ShowTree();
    CVerdaxData* guard = second->GetThings()[1].get();
    ASSERT_EQ(static_cast<CSceneObject*>(guard)->GetName(), "beta_guard");

    tree_->SelectObject(guard);
    ASSERT_NE(tree_->currentItem(), nullptr);
    EXPECT_EQ(static_cast<CItemTreeItem*>(tree_->currentItem())->GetObject(), guard);
    EXPECT_TRUE(secondItem->isExpanded());
    EXPECT_TRUE(tree_->CategoryNode(second, CATEGORY_THINGS)->isExpanded());
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_DATA_SELECTED}));

    // Selecting it again, or an object the tree does not hold, sends nothing.
    recorder_.codes.clear();
    tree_->SelectObject(guard);
    CMission stranger("gamma", CMission::ExplicitFolder{"/nowhere/"});
    tree_->SelectObject(&stranger);
    tree_->SelectObject(nullptr);
    EXPECT_TRUE(recorder_.codes.empty());
    EXPECT_EQ(static_cast<CItemTreeItem*>(tree_->currentItem())->GetObject(), guard);
}

TEST_F(ItemTreeTest, GetSelectedMissionOnlyForTheMissionsOwnItem)
{
    CMission* mission = MakeMission("alpha");
    CItemTreeItem* item = OpenedMission(mission);
    EXPECT_EQ(tree_->GetSelectedMission(), nullptr);  // nothing selected
    tree_->setCurrentItem(item);
    EXPECT_EQ(tree_->GetSelectedMission(), mission);
    tree_->setCurrentItem(tree_->CategoryNode(mission, CATEGORY_THINGS));
    EXPECT_EQ(tree_->GetSelectedMission(), nullptr);
    tree_->SelectObject(mission->GetThings()[0].get());
    EXPECT_EQ(tree_->GetSelectedMission(), nullptr);
}

TEST_F(ItemTreeTest, DoubleClickOpensAndExpandsEnterOpensWithoutExpanding)
{
    CMission* byMouse = MakeMission("alpha");
    CMission* byKey = MakeMission("beta");
    CItemTreeItem* mouseItem = tree_->AddMissionItem(byMouse);
    CItemTreeItem* keyItem = tree_->AddMissionItem(byKey);
    ShowTree();

    const QPoint onItem = tree_->visualItemRect(mouseItem).center();
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, onItem);  // a double click's first half
    QTest::mouseDClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, onItem);
    EXPECT_TRUE(byMouse->IsLoaded());
    EXPECT_EQ(mouseItem->childCount(), 4);
    EXPECT_TRUE(mouseItem->isExpanded());

    tree_->setCurrentItem(keyItem);
    QTest::keyPress(tree_.get(), Qt::Key_Return);
    EXPECT_FALSE(byKey->IsLoaded());  // the release opens it
    QTest::keyRelease(tree_.get(), Qt::Key_Return);
    EXPECT_TRUE(byKey->IsLoaded());
    EXPECT_EQ(keyItem->childCount(), 4);
    EXPECT_FALSE(keyItem->isExpanded());

    // Opening a loaded mission again adds nothing.
    tree_->OpenMissionItem(keyItem);
    EXPECT_EQ(keyItem->childCount(), 4);
    EXPECT_TRUE(shown_.entries.empty());
}

// The press of Enter that closed a message box or chose a menu item went there; its
// release, which reaches the tree, opens nothing.
TEST_F(ItemTreeTest, AReleaseOfEnterOpensOnlyWhenTheTreeSawItsPress)
{
    CMission* mission = MakeMission("alpha");
    CItemTreeItem* item = tree_->AddMissionItem(mission);
    ShowTree();
    tree_->setCurrentItem(item);
    QTest::keyRelease(tree_.get(), Qt::Key_Return);
    EXPECT_FALSE(mission->IsLoaded());

    // A press that the tree saw, but whose release comes after the focus went
    // elsewhere and came back, opens nothing either.
    QTest::keyPress(tree_.get(), Qt::Key_Return);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(tree_.get(), &focusOut);
    QTest::keyRelease(tree_.get(), Qt::Key_Return);
    EXPECT_FALSE(mission->IsLoaded());

    QTest::keyPress(tree_.get(), Qt::Key_Enter);
    QTest::keyRelease(tree_.get(), Qt::Key_Enter);
    EXPECT_TRUE(mission->IsLoaded());
    EXPECT_TRUE(shown_.entries.empty());
}

TEST_F(ItemTreeTest, ACtrlClickThatClearsTheSelectionLeavesNoMissionToSave)
{
    CMission* mission = MakeMission("alpha");
    CItemTreeItem* item = OpenedMission(mission);
    ShowTree();
    Click(item);
    ASSERT_EQ(tree_->GetSelectedMission(), mission);
    tree_->scrollToItem(item);
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::ControlModifier, tree_->visualItemRect(item).center());
    ASSERT_TRUE(tree_->selectedItems().isEmpty());  // the user sees nothing selected
    EXPECT_EQ(tree_->GetSelectedMission(), nullptr);
    Click(item);
    EXPECT_EQ(tree_->GetSelectedMission(), mission);
}

TEST_F(ItemTreeTest, CollapsingABranchSelectsTheCollapsedItemAndAnnouncesIt)
{
    CMission* mission = MakeMission("alpha");
    CItemTreeItem* item = OpenedMission(mission);
    ShowTree();
    Click(Child(tree_->CategoryNode(mission, CATEGORY_THINGS), "alpha_door"));
    recorder_.codes.clear();
    recorder_.objects.clear();

    // The branch's expand button, left of the mission's text.
    tree_->scrollToItem(item);
    const QRect row = tree_->visualItemRect(item);
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(row.left() - tree_->indentation() / 2, row.center().y()));
    ASSERT_FALSE(item->isExpanded());
    EXPECT_EQ(tree_->currentItem(), item);
    EXPECT_TRUE(item->isSelected());
    EXPECT_EQ(tree_->GetObject(), mission);
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_MISSION_SELECTED, DON_DATA_SELECTED}));
    EXPECT_EQ(tree_->GetSelectedMission(), mission);

    // Collapsing a branch that does not hold the selected item changes nothing.
    recorder_.codes.clear();
    item->setExpanded(true);
    tree_->CategoryNode(mission, CATEGORY_SCRIPTS)->setExpanded(false);
    EXPECT_EQ(tree_->currentItem(), item);
    EXPECT_TRUE(recorder_.codes.empty());
}

TEST_F(ItemTreeTest, EnterOnAnObjectOrACategoryOpensNothing)
{
    CMission* mission = MakeMission("alpha");
    OpenedMission(mission);
    tree_->setCurrentItem(tree_->CategoryNode(mission, CATEGORY_THINGS)->child(0));
    QTest::keyClick(tree_.get(), Qt::Key_Return);
    tree_->setCurrentItem(tree_->CategoryNode(mission, CATEGORY_THINGS));
    QTest::keyClick(tree_.get(), Qt::Key_Enter);
    EXPECT_EQ(tree_->CategoryNode(mission, CATEGORY_THINGS)->childCount(), 5);
    EXPECT_TRUE(shown_.entries.empty());
}

TEST_F(ItemTreeTest, ABrokenMissionShowsItsMessagesAndStaysListed)
{
    // A list element with the wrong id: the scene file reports where it stopped.
    CMission* broken = MakeMission("broken", demo::BrokenSceneFile());
    CItemTreeItem* item = tree_->AddMissionItem(broken);

    tree_->OpenMissionItem(item);
    EXPECT_FALSE(broken->IsLoaded());
    EXPECT_EQ(item->childCount(), 0);
    EXPECT_EQ(item->GetIcon(), ICON_MISSION_LISTED);
    ASSERT_EQ(shown_.entries.size(), 2u);
    EXPECT_EQ(shown_.entries[0].id, 0);  // the detailed text first
    EXPECT_EQ(shown_.entries[0].text.rfind("fFile pos = ", 0), 0u);
    EXPECT_EQ(shown_.entries[1].id, IDS_ERR_MISSION_LOAD);

    // A missing scene2.bin shows message 1001 alone.
    shown_.entries.clear();
    missions_.push_back(std::make_unique<CMission>("absent", CMission::ExplicitFolder{(dir_.Path() / "absent").string() + "/"}));
    tree_->OpenMissionItem(tree_->AddMissionItem(missions_.back().get()));
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_EQ(shown_.entries[0].id, IDS_ERR_MISSION_LOAD);
}

TEST(ItemTreeIcons, ThingIconByLinkedDataKind)
{
    EXPECT_EQ(CItemTreeItem::ThingIcon(5), ICON_THING_SCRIPTED);
    EXPECT_EQ(CItemTreeItem::ThingIcon(27), ICON_THING_FIGURE);
    EXPECT_EQ(CItemTreeItem::ThingIcon(-1), ICON_THING);
    EXPECT_EQ(CItemTreeItem::ThingIcon(8), ICON_THING_DATA_BLOCK);
    EXPECT_EQ(CItemTreeItem::ThingIcon(0), ICON_THING_DATA_BLOCK);
}

// A right click is no selection: the row under it stays unselected, nothing is
// announced, and the mission row stays the one to save.
TEST_F(ItemTreeTest, ARightClickKeepsTheSelection)
{
    CMission* alpha = MakeMission("alpha");
    CMission* beta = MakeMission("beta");
    QTreeWidgetItem* first = tree_->AddMissionItem(alpha);
    QTreeWidgetItem* second = tree_->AddMissionItem(beta);
    ShowTree();
    Click(first);
    recorder_.codes.clear();
    QTest::mouseClick(tree_->viewport(), Qt::RightButton, Qt::NoModifier, tree_->visualItemRect(second).center());
    EXPECT_EQ(tree_->currentItem(), first);
    EXPECT_FALSE(second->isSelected());
    EXPECT_TRUE(recorder_.codes.empty());
    EXPECT_EQ(tree_->GetSelectedMission(), alpha);
}

// A screen reader selects a row through the row's own action: that row becomes the
// current one, announced as a click, and its mission is the one to save.
TEST_F(ItemTreeTest, ARowSelectedThroughAccessibilityIsTheSelection)
{
    CMission* alpha = MakeMission("alpha");
    CMission* beta = MakeMission("beta");
    tree_->AddMissionItem(alpha);
    OpenedMission(beta);
    ShowTree();
    Click(tree_->topLevelItem(0));
    recorder_.codes.clear();
    recorder_.objects.clear();

    QTreeWidgetItem* door = Child(tree_->CategoryNode(beta, CATEGORY_THINGS), "beta_door");
    QAccessibleInterface* treeAccess = QAccessible::queryAccessibleInterface(tree_.get());
    ASSERT_NE(treeAccess, nullptr);
    QAccessibleInterface* row = nullptr;
    for (int i = 0; i < treeAccess->childCount() && !row; ++i) {
        QAccessibleInterface* child = treeAccess->child(i);
        if (child && child->text(QAccessible::Name) == "beta_door")
            row = child;
    }
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->actionInterface(), nullptr);
    ASSERT_TRUE(row->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    row->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());

    EXPECT_EQ(tree_->currentItem(), door);
    EXPECT_EQ(tree_->GetObject(), static_cast<CItemTreeItem*>(door)->GetObject());
    EXPECT_EQ(recorder_.codes, (std::vector<int>{DON_OBJECT_SELECTED, DON_DATA_SELECTED, DON_THING_CLICKED}));
    EXPECT_EQ(tree_->GetMissionOfSelection(), beta);
}

// Dotted lines join the rows, the root rows too: between two missions, the column
// of their branch shows the line's dots.
TEST_F(ItemTreeTest, RowsAreJoinedByLinesAlsoAtTheRoot)
{
    QTreeWidgetItem* first = tree_->AddMissionItem(MakeMission("alpha"));
    QTreeWidgetItem* second = tree_->AddMissionItem(MakeMission("beta"));
    ShowTree();
    const QImage shot = tree_->viewport()->grab().toImage();
    const QRect a = tree_->visualItemRect(first);
    const QRect b = tree_->visualItemRect(second);
    const int x = a.left() - tree_->indentation() / 2;  // the middle of the root's branch column
    const QColor background = shot.pixelColor(x, a.top());
    int dots = 0;
    for (int y = a.center().y() + 6; y < b.center().y() - 6; ++y)
        dots += shot.pixelColor(x, y) != background ? 1 : 0;
    EXPECT_GT(dots, 0) << "no line between the two missions at x " << x;
}
