// Selecting in the mission tree: what clicks, keys, a screen reader's select action
// and the program's own selection announce, and what opens a mission.

#include "tests/ui/ItemTreeFixture.h"

#include <QAccessible>
#include <QApplication>

#include <gtest/gtest.h>

using namespace ui;
using namespace uitest;

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
