#include "ui/CEditHistory.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CStructureEdit.h"
#include "game/ObjectOperations.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <memory>

using namespace ui;

namespace {

// Collects the objects that DON_OBJECT_CHANGED announces, read from the sender.
struct ChangeRecorder final : CDravoDonView {
    ChangeRecorder() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView* sender, int code, int) override
    {
        if (code == DON_OBJECT_CHANGED)
            changed.push_back(sender->GetObject());
    }
    std::vector<CVerdaxData*> changed;
};

// A thing of every sort an edit reaches: one with a model and a script, one whose
// kind writes no transform chunks, a thing data block and a mission script.
demo::SceneFileData EditableScene()
{
    demo::SceneThing barrel;
    barrel.kind = demo::thing::kModel;
    barrel.name = "barrel_1";
    barrel.modelName = "barrel.4ds";
    barrel.translation = {1.5f, 0.25f, -3.0f};
    demo::SceneThing bare;
    bare.kind = demo::thing::kData1001;  // a name and a block, no transform chunks
    bare.name = "bare";
    bare.payload = std::string(236, 'x');
    demo::SceneThingData data;
    data.name = "barrel_1";
    data.script = "say hello\r\nend\r\n";
    demo::SceneFileData scene;
    scene.things = {barrel, bare};
    scene.thingData = {data};
    scene.missionScripts = {{1, "init", "start\r\n"}};
    return scene;
}

class EditHistoryTest : public ::testing::Test {
protected:
    EditHistoryTest() : scope_(shown_) {}
    ~EditHistoryTest() override { history_.reset(); }  // before the missions it points at

    CMission* LoadedMission(const std::string& name)
    {
        dir_.Write(name + "/scene2.bin", demo::WriteScene2(EditableScene()));
        missions_.push_back(
            std::make_unique<CMission>(name, CMission::ExplicitFolder{(dir_.Path() / name).string() + "/"}));
        missions_.back()->Load();
        return missions_.back().get();
    }

    CMission* MissionOf(const CVerdaxData& object) const
    {
        for (const auto& mission : missions_)
            if (mission->Owns(&object))
                return mission.get();
        return nullptr;
    }

    std::string SavedBytes(CMission& mission)
    {
        don_.SaveMission(mission);
        return testsupport::ReadFile(dir_.Path() / mission.GetName() / "scene2.bin.Verdax");
    }

    static ObjectEdit Edit(EditKind kind)
    {
        ObjectEdit edit;
        edit.kind = kind;
        return edit;
    }

    void Translate(CSceneObject& object, Vector3 to)
    {
        ObjectEdit edit = Edit(EditKind::Translate);
        edit.translation = to;
        don_.ApplyEdit(nullptr, object, edit);
    }

    // A Ctrl-drag: moves applied silently under one gesture, announced on release.
    void Drag(CSceneObject& object, EditKind kind, int moves)
    {
        ObjectEdit edit = Edit(kind);
        edit.gesture = don_.NewGesture();
        for (int i = 1; i <= moves; ++i) {
            if (kind == EditKind::Turn)
                edit.rotation = AxisAngle{10.0f * static_cast<float>(i), 0.0f, 1.0f, 0.0f};
            else
                edit.translation = Vector3{0.1f * static_cast<float>(i), 0.0f, 2.0f};
            don_.ApplyEdit(nullptr, object, edit, /*announce=*/i == moves);
        }
    }

    static CSceneObjectThing& Thing(CMission* mission, std::size_t index) { return *mission->GetThings().at(index); }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::TempDir dir_;
    std::vector<std::unique_ptr<CMission>> missions_;
    CDravoDon& don_ = CDravoDon::Instance();
    ChangeRecorder recorder_;
    std::unique_ptr<CEditHistory> history_ =
        std::make_unique<CEditHistory>(don_, [this](const CVerdaxData& object) { return MissionOf(object); });
};

}  // namespace

TEST_F(EditHistoryTest, UndoAndRedoRestoreTheExactBitsAndAnnounceTheChange)
{
    CMission* mission = LoadedMission("harbor");
    CSceneObjectThing& barrel = Thing(mission, 0);
    const Vector3 original = barrel.GetTranslation();
    const float quietNan = std::bit_cast<float>(0x7FC01234u);
    Translate(barrel, {-0.0f, quietNan, 7.0f});
    EXPECT_EQ(history_->UndoText(), "перемещение barrel_1");
    recorder_.changed.clear();

    history_->Undo();
    EXPECT_EQ(barrel.GetTranslation(), original);
    EXPECT_EQ(recorder_.changed, std::vector<CVerdaxData*>{&barrel});
    EXPECT_EQ(history_->RedoText(), "перемещение barrel_1");

    history_->Redo();
    EXPECT_EQ(std::bit_cast<std::uint32_t>(barrel.GetTranslation().x), 0x80000000u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(barrel.GetTranslation().y), 0x7FC01234u);
    EXPECT_EQ(recorder_.changed.size(), 2u);
    EXPECT_EQ(history_->StackOf(mission)->count(), 1);  // undo and redo record nothing
}

TEST_F(EditHistoryTest, EditsOfEveryKindUndoneSaveTheUneditedBytes)
{
    CMission* mission = LoadedMission("harbor");
    const std::string unedited = SavedBytes(*mission);
    ASSERT_FALSE(unedited.empty());
    CSceneObjectThing& barrel = Thing(mission, 0);
    CSceneObjectThing& bare = Thing(mission, 1);
    ASSERT_FALSE(bare.GetPresence().translation);

    Drag(barrel, EditKind::Move, 5);
    Drag(barrel, EditKind::Turn, 4);
    ObjectEdit rename = Edit(EditKind::Rename);
    rename.name = "barrel_2";
    don_.ApplyEdit(nullptr, barrel, rename);
    Translate(bare, {4.0f, 0.0f, 4.0f});  // a chunk the file never had
    ObjectEdit scale = Edit(EditKind::Scale);
    scale.scale = Vector3{2.0f, 2.0f, 2.0f};
    don_.ApplyEdit(nullptr, bare, scale);
    ObjectEdit form = Edit(EditKind::Transform);
    form.translation = Vector3{9.0f, 9.0f, 9.0f};
    form.rotation = AxisAngle{45.0f, 1.0f, 0.0f, 0.0f};
    form.scale = Vector3{3.0f, 1.0f, 1.0f};
    don_.ApplyEdit(nullptr, barrel, form);
    ObjectEdit script = Edit(EditKind::Script);
    script.script = "changed\r\n";
    don_.ApplyEdit(nullptr, *mission->GetThingData()[0], script);
    don_.ApplyEdit(nullptr, *mission->GetMissionScripts()[0], script);

    QUndoStack* stack = history_->StackOf(mission);
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->count(), 8);
    EXPECT_EQ(stack->text(2), "переименование barrel_1");
    EXPECT_EQ(stack->text(7), "изменение скрипта init");
    const std::string edited = SavedBytes(*mission);
    EXPECT_NE(edited, unedited);

    while (history_->CanUndo())
        history_->Undo();
    EXPECT_FALSE(bare.GetPresence().translation);
    EXPECT_EQ(SavedBytes(*mission), unedited);

    while (history_->CanRedo())
        history_->Redo();
    EXPECT_EQ(SavedBytes(*mission), edited);
}

TEST_F(EditHistoryTest, ADragIsOneStepAndADragBackToItsStartIsNone)
{
    CMission* mission = LoadedMission("harbor");
    CSceneObjectThing& barrel = Thing(mission, 0);
    const Vector3 start = barrel.GetTranslation();
    Drag(barrel, EditKind::Move, 30);
    QUndoStack* stack = history_->StackOf(mission);
    EXPECT_EQ(stack->count(), 1);
    Drag(barrel, EditKind::Move, 3);  // a second drag is a step of its own
    EXPECT_EQ(stack->count(), 2);

    history_->Undo();
    history_->Undo();
    EXPECT_EQ(barrel.GetTranslation(), start);  // the first drag's whole way back

    ObjectEdit there = Edit(EditKind::Move);
    there.gesture = don_.NewGesture();
    there.translation = Vector3{5.0f, 5.0f, 5.0f};
    don_.ApplyEdit(nullptr, barrel, there, false);
    ObjectEdit back = there;
    back.translation = start;
    don_.ApplyEdit(nullptr, barrel, back);
    EXPECT_EQ(stack->count(), 0);  // the redo steps went with the new drag, which left none
    EXPECT_FALSE(history_->IsMissionModified(*mission));
}

TEST_F(EditHistoryTest, EachMissionHasItsOwnHistoryFollowingTheCurrentMission)
{
    CMission* harbor = LoadedMission("harbor");
    CMission* quarry = LoadedMission("quarry");
    Translate(Thing(harbor, 0), {1.0f, 1.0f, 1.0f});
    Translate(Thing(quarry, 0), {2.0f, 2.0f, 2.0f});
    EXPECT_EQ(history_->CurrentMission(), quarry);  // the mission of the last edit

    // Selecting the other mission in the tree makes its history current.
    struct Selector final : CDravoDonView {
        void Notify(CDravoDonView*, int, int) override {}
    } tree;
    tree.SetObject(harbor);
    don_.BroadcastSelection(&tree, false);
    EXPECT_EQ(history_->CurrentMission(), harbor);
    history_->Undo();
    EXPECT_EQ(Thing(harbor, 0).GetTranslation(), (Vector3{1.5f, 0.25f, -3.0f}));
    EXPECT_EQ(Thing(quarry, 0).GetTranslation(), (Vector3{2.0f, 2.0f, 2.0f}));
    EXPECT_FALSE(history_->CanUndo());

    tree.SetObject(&Thing(quarry, 1));  // an object selected: its mission becomes current
    don_.BroadcastSelection(&tree, true);
    EXPECT_EQ(history_->CurrentMission(), quarry);
    EXPECT_TRUE(history_->CanUndo());
    EXPECT_EQ(history_->ModifiedMissions(), std::vector<CMission*>{quarry});
}

TEST_F(EditHistoryTest, AMissionIsCleanWhenSavedOrUndoneBackToTheSave)
{
    CMission* mission = LoadedMission("harbor");
    std::vector<CMission*> told;
    history_->SetModifiedChanged([&told](CMission* changed) { told.push_back(changed); });
    EXPECT_FALSE(history_->IsMissionModified(*mission));

    Translate(Thing(mission, 0), {1.0f, 1.0f, 1.0f});
    EXPECT_TRUE(history_->IsMissionModified(*mission));
    EXPECT_EQ(told, std::vector<CMission*>{mission});
    don_.SaveMission(*mission);
    EXPECT_FALSE(history_->IsMissionModified(*mission));
    EXPECT_EQ(told.size(), 2u);

    history_->Undo();  // behind the save: modified again
    EXPECT_TRUE(history_->IsMissionModified(*mission));
    history_->Redo();
    EXPECT_FALSE(history_->IsMissionModified(*mission));

    // A save that fails leaves the mission modified.
    Translate(Thing(mission, 0), {2.0f, 2.0f, 2.0f});
    const std::filesystem::path output = dir_.Path() / "harbor" / "scene2.bin.Verdax";
    std::filesystem::remove(output);
    std::filesystem::create_directories(output / "inside");
    EXPECT_ANY_THROW(don_.SaveMission(*mission));
    EXPECT_TRUE(history_->IsMissionModified(*mission));
}

TEST_F(EditHistoryTest, EditsOfObjectsWithoutAMissionAreNotRecorded)
{
    CSceneObjectThing loose;
    loose.SetName("loose");
    Translate(loose, {1.0f, 1.0f, 1.0f});
    EXPECT_FALSE(history_->CanUndo());
    EXPECT_EQ(history_->CurrentMission(), nullptr);
    EXPECT_EQ(CEditHistory::StepText(EditKind::Turn, ""), "поворот");
    history_.reset();
    EXPECT_EQ(don_.GetEditHistory(), nullptr);
}

namespace {

// A mission script that counts its destruction.
class CountedScript final : public CSceneObjectMissionScript {
public:
    explicit CountedScript(int& destroyed) : destroyed_(destroyed) {}
    ~CountedScript() override { ++destroyed_; }

private:
    int& destroyed_;
};

}  // namespace

TEST_F(EditHistoryTest, ObjectsThatComeAndGoAreOneStepEachAndUndoGivesTheUneditedBytes)
{
    CMission* harbor = LoadedMission("harbor");
    CMission* quarry = LoadedMission("quarry");
    const std::string harborBytes = SavedBytes(*harbor);
    const std::string quarryBytes = SavedBytes(*quarry);
    CSceneObjectThing& barrel = Thing(harbor, 0);

    Translate(barrel, {1.0f, 1.0f, 1.0f});
    DuplicateObject(don_, *harbor, barrel);
    DeleteObject(don_, *harbor, Thing(harbor, 2));  // "bare"
    const std::string payload = CutObject(don_, *harbor, barrel);
    PasteObjects(don_, *quarry, payload);
    DeleteObject(don_, *harbor, *harbor->GetMissionScripts()[0]);

    QUndoStack* stack = history_->StackOf(harbor);
    ASSERT_EQ(stack->count(), 5);
    EXPECT_EQ(stack->text(1), "дублирование barrel_1");
    EXPECT_EQ(stack->text(2), "удаление bare");
    EXPECT_EQ(stack->text(3), "вырезание barrel_1");
    EXPECT_EQ(stack->text(4), "удаление init");
    ASSERT_EQ(history_->StackOf(quarry)->count(), 1);  // the paste is the other mission's
    EXPECT_EQ(history_->StackOf(quarry)->text(0), "вставка barrel_2");
    const std::string harborEdited = SavedBytes(*harbor);
    const std::string quarryEdited = SavedBytes(*quarry);

    for (CMission* mission : {harbor, quarry}) {
        history_->SetCurrentMission(mission);
        while (history_->CanUndo())
            history_->Undo();
    }
    EXPECT_EQ(SavedBytes(*harbor), harborBytes);
    EXPECT_EQ(SavedBytes(*quarry), quarryBytes);
    EXPECT_EQ(harbor->GetThings()[0].get(), &barrel);  // the very object, back in its place

    for (CMission* mission : {harbor, quarry}) {
        history_->SetCurrentMission(mission);
        while (history_->CanRedo())
            history_->Redo();
    }
    EXPECT_EQ(SavedBytes(*harbor), harborEdited);
    EXPECT_EQ(SavedBytes(*quarry), quarryEdited);
}

TEST_F(EditHistoryTest, RenamingAThingWithDataIsOneStepThatUndoesBoth)
{
    CMission* mission = LoadedMission("harbor");
    CSceneObjectThing& barrel = Thing(mission, 0);
    ObjectEdit rename = Edit(EditKind::Rename);
    rename.name = "keg";
    don_.ApplyEdit(nullptr, barrel, rename);
    EXPECT_EQ(mission->GetThingData()[0]->GetName(), "keg");
    EXPECT_EQ(history_->StackOf(mission)->count(), 1);

    history_->Undo();
    EXPECT_EQ(barrel.GetName(), "barrel_1");
    EXPECT_EQ(mission->GetThingData()[0]->GetName(), "barrel_1");
    EXPECT_EQ(barrel.GetScript(), "say hello\r\nend\r\n");
}

TEST_F(EditHistoryTest, AnObjectOutOfItsMissionIsFreedOnlyWhenNoStepCanBringItBack)
{
    CMission* mission = LoadedMission("harbor");
    int destroyed = 0;
    auto edit = std::make_unique<CStructureEdit>(*mission, EditKind::Paste, "");
    edit->AddInsertion(std::make_unique<CountedScript>(destroyed));
    don_.ApplyStructureEdit(std::move(edit));
    history_->Undo();
    EXPECT_EQ(destroyed, 0);  // the paste's step holds it
    Translate(Thing(mission, 0), {1.0f, 1.0f, 1.0f});  // the redo tail goes
    EXPECT_EQ(destroyed, 1);

    auto made = std::make_unique<CountedScript>(destroyed);
    CSceneObject& script = *made;
    mission->InsertMissionScript(0, std::move(made));
    Translate(script, {});  // no such field: no step
    DeleteObject(don_, *mission, script);
    history_->Undo();
    Translate(Thing(mission, 0), {2.0f, 2.0f, 2.0f});  // a delete undone holds nothing
    EXPECT_EQ(destroyed, 1);
    DeleteObject(don_, *mission, script);
    EXPECT_EQ(destroyed, 1);
    history_.reset();  // the stacks go, and the deleted script with them
    EXPECT_EQ(destroyed, 2);
}
