// Objects come and go in the editor on the demo game, by the keys a user presses:
// a thing duplicated with Ctrl+D, moved and saved; deleted with Del; copied in one
// mission and pasted into another with its script; each undone back to the
// unedited save's bytes. Text fields keep Del and the clipboard keys for their text.

#include "tests/app/EditorOnDemo.h"

#include "game/CObjectsPayload.h"
#include "scene/CSceneSnapshot.h"
#include "scene/CSceneObjectThingData.h"
#include "ui/CDocumentArea.h"
#include "ui/CItemTreeItem.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CRollupEditTranslation.h"
#include "ui/CObjectCommands.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"
#include "view3d/CGlView.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QMdiSubWindow>
#include <QMimeData>

using namespace ui;

namespace {

class ObjectCommandsOnDemo : public EditorOnDemo {
protected:
    std::string Saved(CMission& mission)
    {
        tree_->SelectObject(&mission);
        frame_->Action(ID_FILE_SAVE)->trigger();
        const auto path = prefix_ / demo::kDemoInstallPath / "Missions" / mission.GetName() / "scene2.bin.Verdax";
        return testsupport::ReadFile(path);
    }

    // The names of a saved file's things (or another list), in order.
    static std::vector<std::string> Names(const std::string& file, SceneList list = SceneList::kThings)
    {
        CSceneSnapshot snapshot;
        snapshot.Read(file);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < snapshot.Count(list); ++i)
            names.emplace_back(snapshot.Bytes(snapshot.Record(list, i).name));
        return names;
    }

    CGlView* World() const
    {
        QMdiSubWindow* child = frame_->MdiArea()->ChildOfKind(DON_VIEW_WORLD);
        return child ? dynamic_cast<CGlView*>(child->widget()) : nullptr;
    }

    std::size_t IndexOf(const CSceneObject& object) const { return *harbour_->IndexOf(object); }
};

}  // namespace

TEST_F(ObjectCommandsOnDemo, DuplicatedMovedSavedDeletedAndAllUndoneToTheUneditedBytes)
{
    const std::string unedited = Saved(*harbour_);
    tree_->SelectObject(barrel_);
    const std::size_t things = harbour_->GetThings().size();

    KeyOnTree(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(harbour_->GetThings().size(), things + 1);
    CSceneObjectThing* copy = harbour_->GetThings().at(IndexOf(*barrel_) + 1).get();
    EXPECT_EQ(copy->GetName(), "barrel_4");
    EXPECT_EQ(tree_->GetObject(), copy);  // selected in the tree and drawn red in the world
    ASSERT_NE(World(), nullptr);
    EXPECT_EQ(World()->Renderer().GetSelected(), copy);
    EXPECT_EQ(copy->GetModelName(), barrel_->GetModelName());
    EXPECT_TRUE(copy->GetModel().IsLoaded());  // its model drawn at once

    ObjectEdit move;
    move.kind = EditKind::Move;
    move.translation = Vector3{30, 0, 30};
    CDravoDon::Instance().ApplyEdit(nullptr, *copy, move);
    const std::string saved = Saved(*harbour_);
    const auto names = Names(saved);
    ASSERT_EQ(names.size(), things + 1);
    EXPECT_EQ(names.at(IndexOf(*copy)), "barrel_4");

    tree_->SelectObject(copy);
    KeyOnTree(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(harbour_->GetThings().size(), things);
    EXPECT_EQ(World()->Renderer().GetSelected(), nullptr);
    EXPECT_EQ(tree_->GetObject(), nullptr);  // the category is current
    EXPECT_EQ(frame_->MissionToSave(), harbour_);

    for (int step = 0; step < 3; ++step)  // the delete, the move, the duplicate
        KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(harbour_->GetThings().size(), things);
    EXPECT_EQ(Saved(*harbour_), unedited);
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ObjectCommandsOnDemo, AGuardCopiedInOneMissionIsPastedIntoAnotherWithItsScript)
{
    CSceneObjectThing* guard = harbour_->FindThing("guard_gate");
    ASSERT_NE(guard, nullptr);
    const std::string script = guard->GetScript();
    tree_->SelectObject(guard);
    KeyOnTree(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(CObjectsPayload::kMimeType.data())));
    EXPECT_EQ(data->text(), "guard_gate");

    CMission* outpost = nullptr;
    for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
        if (mission->GetName() == demo::kOutpostMission)
            outpost = mission.get();
    ASSERT_NE(outpost, nullptr);
    QTreeWidgetItem* outpostItem = nullptr;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (static_cast<CItemTreeItem*>(tree_->topLevelItem(i))->GetObject() == outpost)
            outpostItem = tree_->topLevelItem(i);
    // As a double-click does: the row selected, then its mission loaded, the tree
    // keeping the focus; Ctrl+V finds the loaded mission to paste into.
    tree_->setCurrentItem(outpostItem);
    tree_->OpenMissionItem(outpostItem);
    QTest::keyClick(tree_, Qt::Key_V, Qt::ControlModifier);

    ASSERT_EQ(outpost->GetThings().back()->GetName(), "guard_gate");
    CSceneObjectThing& pasted = *outpost->GetThings().back();
    EXPECT_EQ(pasted.GetScript(), script);
    EXPECT_EQ(tree_->GetObject(), &pasted);
    EXPECT_TRUE(tree_->CategoryNode(outpost, CATEGORY_THINGS)->isExpanded());
    EXPECT_EQ(harbour_->FindThing("guard_gate"), guard);  // the copied one stays

    const std::string saved = Saved(*outpost);
    {
        CSceneSnapshot snapshot;
        snapshot.Read(saved);
        const auto index = snapshot.FirstNamed(SceneList::kThingData, "guard_gate");
        ASSERT_TRUE(index.has_value());
        EXPECT_EQ(snapshot.Bytes(snapshot.Record(SceneList::kThingData, *index).script), script);
    }

    // The paste is one step of the outpost's history.
    tree_->SelectObject(outpost);
    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(outpost->FindThing("guard_gate"), nullptr);
    EXPECT_EQ(harbour_->GetThings().size(), Names(Saved(*harbour_)).size());
}

// Deleting a thing's data block alone shows the thing with the icon of a thing
// without one; undo brings the scripted icon back, painted both times.
TEST_F(ObjectCommandsOnDemo, AThingsIconFollowsItsDataBlockDeletedAndBroughtBack)
{
    CSceneObjectThing* guard = harbour_->FindThing("guard_gate");
    ASSERT_NE(guard, nullptr);
    ASSERT_EQ(guard->GetLinkedDataKind(), CSceneObjectThingData::kScriptKind);
    tree_->SelectObject(guard);
    const auto* row = static_cast<CItemTreeItem*>(tree_->currentItem());
    ASSERT_EQ(row->GetIcon(), ICON_THING_SCRIPTED);
    const auto painted = [&](int icon) {
        return QTest::qWaitFor([&] { return row->GetIcon() == icon && !row->ShowsStale(); }, 2000);
    };
    ASSERT_TRUE(painted(ICON_THING_SCRIPTED));

    for (const auto& data : harbour_->GetThingData()) {
        if (data->GetName() == "guard_gate")
            tree_->SelectObject(data.get());
    }
    KeyOnTree(Qt::Key_Delete, Qt::NoModifier);
    ASSERT_EQ(guard->GetLinkedDataKind(), -1);
    EXPECT_TRUE(painted(ICON_THING));

    KeyOnTree(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(guard->GetLinkedDataKind(), CSceneObjectThingData::kScriptKind);
    EXPECT_TRUE(painted(ICON_THING_SCRIPTED));
}

TEST_F(ObjectCommandsOnDemo, TextFieldsKeepDelAndTheClipboardKeysForTheirText)
{
    QApplication::clipboard()->clear();
    {
        CScriptView* view = OpenFocusedScriptWindow();
        QTest::keyClicks(view, "xy");
        QTest::keyClick(view, Qt::Key_Left);
        QTest::keyClick(view, Qt::Key_Delete);  // deletes the "y"
        EXPECT_TRUE(view->toPlainText().endsWith("x"));
        view->selectAll();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        EXPECT_FALSE(data->hasFormat(QString::fromLatin1(CObjectsPayload::kMimeType.data())));
        EXPECT_TRUE(data->text().endsWith("x"));
    }
    EXPECT_EQ(harbour_->FindThing("barrel_1"), barrel_);
    EXPECT_EQ(harbour_->GetMissionScripts().size(), 3u);

    // A page field: Del and Ctrl+D are its keys too.
    tree_->SelectObject(barrel_);
    auto* rollup = frame_->EditBarPanel()->findChild<CNormalRollupControl*>();
    ASSERT_NE(rollup, nullptr);
    if (!rollup->PageAt(rollup->TranslationIndex())->expanded)
        QTest::mouseClick(rollup->PageAt(rollup->TranslationIndex())->titleButton, Qt::LeftButton);
    QLineEdit* field = rollup->TranslationPage()->Field(0);
    field->setFocus();
    QApplication::processEvents();
    const std::size_t things = harbour_->GetThings().size();
    QTest::keyClick(field, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(harbour_->GetThings().size(), things);

    // The menu's "Удалить" acts on the tree's object whatever has the focus; the
    // script window's typing goes into its object first.
    tree_->SelectObject(barrel_);
    frame_->Action(ID_EDIT_CLEAR)->trigger();
    EXPECT_EQ(harbour_->FindThing("barrel_1"), nullptr);
    EXPECT_TRUE(harbour_->GetMissionScripts().at(0)->GetScript().ends_with("x"));
}
