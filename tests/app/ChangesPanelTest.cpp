// The object bar's "Изменения" tab on the demo game: what it lists as the user
// edits, undoes and saves, what a double-click or Enter on a row selects, and what
// it says for a mission not opened and for a game file it cannot read.

#include "tests/app/EditorOnDemo.h"

#include "scene/CSceneSnapshot.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CChangesPanel.h"
#include "ui/CEditHistory.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CStatusPanes.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"

#include <QAction>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

using namespace ui;

namespace {

// Rows as "Вещи | barrel_1 | позиция: ...", the save's own marked " (save)".
QStringList Shown(const CChangesPanel& panel)
{
    QStringList rows;
    for (QTreeWidgetItem* heading : {panel.EditHeading(), panel.SaveHeading()}) {
        for (int i = 0; heading && i < heading->childCount(); ++i) {
            const QTreeWidgetItem* item = heading->child(i);
            rows << item->text(2) + " | " + item->text(0) + " | " + item->text(1) +
                        (heading == panel.SaveHeading() ? " (save)" : "");
        }
    }
    return rows;
}

QTreeWidgetItem* RowItem(const CChangesPanel& panel, const QString& object)
{
    for (QTreeWidgetItem* heading : {panel.EditHeading(), panel.SaveHeading()}) {
        for (int i = 0; heading && i < heading->childCount(); ++i) {
            if (heading->child(i)->text(0) == object)
                return heading->child(i);
        }
    }
    return nullptr;
}

}  // namespace

class ChangesPanelOnDemo : public EditorOnDemo {
protected:
    CChangesPanel& Panel() const { return *frame_->ChangesPanel(); }
    QTreeWidget& List() const { return *Panel().List(); }

    // A click on the object bar's "Изменения" tab.
    void ClickChangesTab()
    {
        QTabBar* tabs = frame_->ObjectBar()->TabControl()->tabBar();
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == QStringLiteral("Изменения"))
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().isVisible() && !Panel().RefreshPending(); }));
    }

    // Waits for the panel to show what the last change made.
    bool Settled() const
    {
        return QTest::qWaitFor([&] { return !Panel().RefreshPending(); }, 3000);
    }

    void DoubleClick(QTreeWidgetItem* item)
    {
        ASSERT_NE(item, nullptr);
        List().scrollToItem(item);
        const QPoint at = List().visualRect(List().indexFromItem(item, 0)).center();
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, at);
    }

    std::filesystem::path GameFile() const { return OutputFile().parent_path() / "scene2.bin"; }
    void WriteGameFile(std::string_view bytes) const { dir_.Write(GameFile().lexically_relative(dir_.Path()), bytes); }
};

// Unedited, only what the save does by itself is listed, under its own heading and
// greyed: the kind-3 medkit written as 4098, and the header's text.
TEST_F(ChangesPanelOnDemo, TheTabListsWhatTheSaveChangesByItselfGreyedUnderItsHeading)
{
    ClickChangesTab();
    EXPECT_EQ(frame_->ObjectBar()->GetActiveTab(), 1);
    EXPECT_EQ(Panel().ShownMission(), harbour_);
    EXPECT_TRUE(Panel().Summary()->text().contains(QStringLiteral("harbor_town")));
    EXPECT_EQ(Panel().EditHeading()->text(0), QStringLiteral("Ваши правки (0)"));
    const QStringList rows = Shown(Panel());
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(rows.contains(QStringLiteral("Вещи | pickup_medkit | тип: 3 → 4098 (save)"))) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.last().startsWith(QStringLiteral("Заголовок | Заголовок файла | текст: "))) << rows.last().toStdString();
    const QTreeWidgetItem* medkit = RowItem(Panel(), QStringLiteral("pickup_medkit"));
    EXPECT_EQ(medkit->foreground(0), Panel().palette().brush(QPalette::Disabled, QPalette::Text));
    // The list's icon tells a thing from the thing data of the same name.
    EXPECT_EQ(medkit->icon(0).cacheKey(), tree_->Icon(ICON_THING).cacheKey());
    EXPECT_EQ(RowItem(Panel(), QStringLiteral("Заголовок файла"))->icon(0).cacheKey(), tree_->Icon(ICON_WHOLE).cacheKey());
    EXPECT_EQ(List().accessibleName(), QStringLiteral("Изменения миссии"));
    EXPECT_EQ(List().headerItem()->data(1, Qt::AccessibleTextRole).toString(), QStringLiteral("Изменение"));
}

// An edit shows under the user's own edits once it is made, undo takes it away, and
// a double-click on its row selects the thing as the tree does.
TEST_F(ChangesPanelOnDemo, EditsShowAsTheyHappenUndoTakesThemAwayAndARowSelectsItsObject)
{
    ClickChangesTab();
    const Vector3 from = barrel_->GetTranslation();
    Move({1.0f, 2.0f, 3.5f});
    ASSERT_TRUE(Settled());
    const QString moved = QStringLiteral("Вещи | barrel_1 | позиция: [%1, %2, %3] → [1, 2, 3.5]")
                              .arg(from.x).arg(from.y).arg(from.z);
    ASSERT_EQ(Shown(Panel()).first(), moved);
    EXPECT_EQ(Panel().EditHeading()->text(0), QStringLiteral("Ваши правки (1)"));

    tree_->SelectObject(harbour_->FindThing("pickup_medkit"));
    ASSERT_TRUE(Settled());
    DoubleClick(RowItem(Panel(), QStringLiteral("barrel_1")));
    EXPECT_EQ(tree_->GetObject(), barrel_);
    EXPECT_EQ(Panel().ShownMission(), harbour_);  // the list stays where it was
    EXPECT_EQ(Panel().RowOf(List().currentItem())->objectText, "barrel_1");

    // Enter on a row of the save's own changes selects its object too.
    List().setCurrentItem(RowItem(Panel(), QStringLiteral("pickup_medkit")));
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(tree_->GetObject(), harbour_->FindThing("pickup_medkit"));

    QTest::keyClick(&List(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(barrel_->GetTranslation(), from);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(RowItem(Panel(), QStringLiteral("barrel_1")), nullptr);
    EXPECT_EQ(Panel().EditHeading()->text(0), QStringLiteral("Ваши правки (0)"));
    EXPECT_EQ(List().currentItem(), RowItem(Panel(), QStringLiteral("pickup_medkit")));  // the same row, moved up
    EXPECT_TRUE(boxes_.boxes.empty());
}

// Ctrl+D and Del on the tree show as an added and a removed thing while the tab is
// open; undo takes both away again.
TEST_F(ChangesPanelOnDemo, DuplicateAndDeleteShowAsAddedAndRemovedUntilUndone)
{
    ClickChangesTab();
    KeyOnTree(Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(Settled());
    const QString copy = QStringLiteral("barrel_4");  // barrel_2 and barrel_3 are taken
    tree_->SelectObject(harbour_->FindThing("crate_1"));
    KeyOnTree(Qt::Key_Delete, Qt::NoModifier);
    ASSERT_EQ(harbour_->FindThing("crate_1"), nullptr);
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(Shown(Panel()).contains(QStringLiteral("Вещи | %1 | добавлен").arg(copy))) << Shown(Panel()).join('\n').toStdString();
    EXPECT_TRUE(Shown(Panel()).contains(QStringLiteral("Вещи | crate_1 | удалён"))) << Shown(Panel()).join('\n').toStdString();
    EXPECT_EQ(Panel().EditHeading()->text(0), QStringLiteral("Ваши правки (2)"));

    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(Panel().EditHeading()->text(0), QStringLiteral("Ваши правки (0)"));
}

// "Вид → Изменения" takes in the text being typed in a script window before it
// compares, also when the tab shows already; the focus goes to its list.
TEST_F(ChangesPanelOnDemo, TheCommandTakesInTheScriptBeingTyped)
{
    ClickChangesTab();
    CScriptView* view = OpenFocusedScriptWindow();
    QTest::keyClicks(view, "rem typed");
    frame_->Action(ID_VIEW_CHANGES)->trigger();
    EXPECT_EQ(frame_->ObjectBar()->GetActiveTab(), 1);
    EXPECT_TRUE(List().hasFocus());
    const QString name = QString::fromStdString(harbour_->GetMissionScripts().at(0)->GetName());
    EXPECT_TRUE(Shown(Panel()).contains(QStringLiteral("Системные скрипты | %1 | скрипт: изменён").arg(name)))
        << Shown(Panel()).join('\n').toStdString();
    view->setFocus();
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(view, Qt::Key_Backspace);  // what the editor's end will write
}

// An object only the game file has cannot be selected: the status bar says why.
TEST_F(ChangesPanelOnDemo, ARemovedObjectsRowSaysItCannotBeSelected)
{
    demo::SceneFileData scene = demo::HarbourTownScene();
    demo::SceneThing ghost;
    ghost.name = "ghost";
    scene.things.push_back(ghost);
    WriteGameFile(demo::WriteScene2(scene));
    ClickChangesTab();
    EXPECT_TRUE(Shown(Panel()).contains(QStringLiteral("Вещи | ghost | удалён"))) << Shown(Panel()).join('\n').toStdString();

    DoubleClick(RowItem(Panel(), QStringLiteral("ghost")));
    EXPECT_EQ(tree_->GetObject(), barrel_);
    EXPECT_EQ(frame_->StatusPanes().MessagePane()->text(), QStringLiteral("«ghost» удалён из миссии: выбрать нечего."));
}

// Another mission selected in the tree is compared in its turn; one not opened, and
// a game file that cannot be read, are told in the summary line, never in a box.
TEST_F(ChangesPanelOnDemo, MissionsSwitchedNotOpenedAndUnreadable)
{
    ClickChangesTab();
    QTreeWidgetItem* village = nullptr;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        if (tree_->topLevelItem(i)->text(0) == QString::fromUtf8(demo::kVillageMission))
            village = tree_->topLevelItem(i);
    }
    ASSERT_NE(village, nullptr);
    tree_->setCurrentItem(village);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(Panel().Summary()->text(), QStringLiteral("Миссия «деревня» не открыта: откройте её в дереве."));
    EXPECT_EQ(List().topLevelItemCount(), 0);
    tree_->OpenMissionItem(village);
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(Panel().Summary()->text().contains(QStringLiteral("«деревня»")));
    EXPECT_EQ(List().topLevelItemCount(), 2);

    tree_->SelectObject(barrel_);
    WriteGameFile("not a scene file");
    Move({1, 1, 1});
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(Panel().Summary()->text().startsWith(QStringLiteral("Файл игры scene2.bin миссии «harbor_town» не читается (ошибка ")))
        << Panel().Summary()->text().toStdString();
    EXPECT_EQ(List().topLevelItemCount(), 0);
    EXPECT_TRUE(boxes_.boxes.empty());
}

// What the panel lists before a save is what the saved file differs in from the
// game's: compared on disk afterwards, the same objects change the same way.
TEST_F(ChangesPanelOnDemo, WhatThePanelListsIsWhatTheSavedFileChanges)
{
    ClickChangesTab();
    Move({4, 0, 4});
    tree_->SelectObject(barrel_);
    ASSERT_TRUE(Settled());
    const QStringList before = Shown(Panel());
    QTest::keyClick(&List(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(std::filesystem::exists(OutputFile()));
    EXPECT_FALSE(frame_->EditHistory().IsMissionModified(*harbour_));
    ASSERT_TRUE(Settled());
    EXPECT_EQ(Shown(Panel()), before);

    CSceneSnapshot game;
    CSceneSnapshot resaved;
    CSceneSnapshot saved;
    game.Read(testsupport::ReadFile(GameFile()));
    resaved.Read(game.Write());
    saved.Read(testsupport::ReadFile(OutputFile()));
    const std::vector<ChangeRow> rows = MakeChangeRows(CompareScenes(game, resaved, saved), *harbour_);
    ASSERT_EQ(static_cast<qsizetype>(rows.size()), before.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(before[static_cast<qsizetype>(i)].contains(QString::fromStdString(rows[i].changeText))) << i;
}
