// The mission tree's rows: the missions and their categories, the objects' texts,
// their order and icons, and how the rows are drawn.

#include "tests/ui/ItemTreeFixture.h"

#include "core/StringTable.h"
#include "platform/CodePage.h"
#include "ui/IconStrips.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace ui;
using namespace uitest;

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
