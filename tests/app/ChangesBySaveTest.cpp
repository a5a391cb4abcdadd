// A save that changes an object the user did not edit (the demo harbour's kind-3
// thing, which the writer writes as kind 4098) goes through without a box, and the
// status bar says how many objects and which panel lists them.

#include "tests/app/EditorOnDemo.h"

#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QLabel>

using namespace ui;

namespace {

const QString kOneChanged =
    QStringLiteral("Сохранение само изменило 1 объект; список — в панели «Изменения» (меню «Вид»).");

}  // namespace

TEST_F(EditorOnDemo, ASaveThatChangesAThingByItselfSaysSoInTheStatusBar)
{
    const QLabel* message = frame_->StatusPanes().MessagePane();
    KeyOnTree(Qt::Key_S, Qt::ControlModifier);  // the barrel's mission
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(OutputFile()));
    EXPECT_EQ(message->text(), kOneChanged);

    // A mission whose save changes nothing by itself takes the word away.
    CMission* village = nullptr;
    for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
        if (mission->GetName() == demo::kVillageMissionCp1251)
            village = mission.get();
    ASSERT_NE(village, nullptr);
    QTreeWidgetItem* villageItem = nullptr;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (static_cast<ui::CItemTreeItem*>(tree_->topLevelItem(i))->GetObject() == village)
            villageItem = tree_->topLevelItem(i);
    ASSERT_NE(villageItem, nullptr);
    tree_->OpenMissionItem(villageItem);
    tree_->setCurrentItem(villageItem);
    frame_->Action(ID_SAVE_MISSION)->trigger();
    EXPECT_TRUE(village->IsLoaded());
    EXPECT_EQ(message->text(), QString());

    // "Сохранить Миссию" says it as Ctrl+S does.
    tree_->setCurrentItem(MissionItem());
    frame_->Action(ID_SAVE_MISSION)->trigger();
    EXPECT_EQ(message->text(), kOneChanged);
    EXPECT_TRUE(boxes_.boxes.empty());
}
