#include "game/CDravoDon.h"
#include "game/IEditHistory.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace {

class TestDon final : public CDravoDon {
public:
    TestDon() = default;
};

class ChangeWatcher final : public CDravoDonView {
public:
    void Notify(CDravoDonView* sender, int code, int) override
    {
        if (code == DON_OBJECT_CHANGED)
            changed.push_back(sender ? sender->GetObject() : nullptr);
    }
    std::vector<CVerdaxData*> changed;
};

struct Step {
    CSceneObject* object;
    ObjectState before;
    ObjectState after;
    EditKind kind;
    std::uint64_t gesture;
    std::vector<ObjectChange> changes;
};

class RecordingHistory final : public IEditHistory {
public:
    void Record(const std::vector<ObjectChange>& changes, EditKind kind, std::uint64_t gesture) override
    {
        const ObjectChange& first = changes.front();
        steps.push_back({first.object, first.before, first.after, kind, gesture, changes});
    }
    void RecordStructure(std::unique_ptr<CStructureEdit> edit) override { structures.push_back(std::move(edit)); }
    std::vector<Step> steps;
    std::vector<std::unique_ptr<CStructureEdit>> structures;
};

std::string SavedBytes(CSceneObject& object)
{
    std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
    object.Save(stream);
    return stream.str();
}

class EditPath : public testing::Test {
protected:
    EditPath()
    {
        don.RegisterView(&watcher);
        don.SetEditHistory(&history);
    }

    TestDon don;
    ChangeWatcher watcher;
    RecordingHistory history;
    CSceneObjectThing thing;
};

}  // namespace

TEST_F(EditPath, AppliesThroughTheSettersRecordsAndAnnounces)
{
    ObjectEdit edit;
    edit.kind = EditKind::Translate;
    edit.translation = Vector3{1.0f, 2.0f, 3.0f};
    don.ApplyEdit(nullptr, thing, edit);

    EXPECT_EQ(thing.GetTranslation(), (Vector3{1.0f, 2.0f, 3.0f}));
    ASSERT_EQ(history.steps.size(), 1u);
    EXPECT_EQ(history.steps[0].kind, EditKind::Translate);
    EXPECT_FALSE(history.steps[0].before.translationPresent);
    EXPECT_TRUE(history.steps[0].after.translationPresent);
    ASSERT_EQ(watcher.changed.size(), 1u);
    EXPECT_EQ(watcher.changed[0], &thing);  // receivers read the changed object from the sender
}

TEST_F(EditPath, ASilentEditAnnouncesNothingAndAnUnchangedOneRecordsNothing)
{
    ObjectEdit move;
    move.kind = EditKind::Move;
    move.translation = Vector3{0.5f, 0.0f, 0.0f};
    move.gesture = don.NewGesture();
    don.ApplyEdit(nullptr, thing, move, /*announce=*/false);
    EXPECT_TRUE(watcher.changed.empty());
    EXPECT_EQ(history.steps.size(), 1u);
    EXPECT_NE(history.steps[0].gesture, 0u);

    don.ApplyEdit(nullptr, thing, move);  // the same value again: nothing to undo
    EXPECT_EQ(history.steps.size(), 1u);
    EXPECT_EQ(watcher.changed.size(), 1u);
}

// A thing read without a transform chunk gains it when the same value is set: the
// saved bytes change, so that is a step to undo, for each of the three chunks.
TEST_F(EditPath, AChunkAddedWithTheSameValueIsAStep)
{
    ObjectEdit edit;
    edit.kind = EditKind::Scale;
    edit.scale = thing.GetScale();
    don.ApplyEdit(nullptr, thing, edit);
    edit = {};
    edit.kind = EditKind::Transform;
    edit.rotation = thing.GetRotation();
    don.ApplyEdit(nullptr, thing, edit);
    edit = {};
    edit.kind = EditKind::Translate;
    edit.translation = thing.GetTranslation();
    don.ApplyEdit(nullptr, thing, edit);
    ASSERT_EQ(history.steps.size(), 3u);
    EXPECT_TRUE(history.steps[0].after.scalePresent && !history.steps[0].before.scalePresent);
    EXPECT_TRUE(history.steps[1].after.rotationPresent && !history.steps[1].before.rotationPresent);
    EXPECT_TRUE(history.steps[2].after.translationPresent);
}

TEST_F(EditPath, RestoringTheStateBeforeGivesTheSameBytesAndBits)
{
    const std::string unedited = SavedBytes(thing);
    ObjectEdit edit;
    edit.name = "renamed";
    edit.translation = Vector3{-0.0f, NAN, 3.0f};
    edit.rotation = AxisAngle{90.0f, 0.0f, 1.0f, 0.0f};
    edit.scale = Vector3{2.0f, 2.0f, 2.0f};
    don.ApplyEdit(nullptr, thing, edit);
    ASSERT_NE(SavedBytes(thing), unedited);

    const Step step = history.steps.at(0);
    don.RestoreObject(thing, step.before);
    EXPECT_EQ(SavedBytes(thing), unedited);
    EXPECT_TRUE(SameObjectState(CaptureObjectState(thing), step.before));

    don.RestoreObject(thing, step.after);  // redo keeps -0 and the NaN's bits
    EXPECT_TRUE(SameObjectState(CaptureObjectState(thing), step.after));
    EXPECT_TRUE(std::signbit(thing.GetTranslation().x));
    EXPECT_EQ(watcher.changed.size(), 3u);
}

TEST_F(EditPath, AnObjectThatCannotTakeAFieldIsLeftAsItIs)
{
    CSceneObjectMissionScript script;
    ObjectEdit edit;
    edit.kind = EditKind::Rename;
    edit.name = "ignored";
    don.ApplyEdit(nullptr, script, edit);
    EXPECT_EQ(script.GetName(), "");
    EXPECT_TRUE(history.steps.empty());
}

TEST_F(EditPath, RenamingAThingRenamesItsLinkedDataInTheSameStep)
{
    CSceneObjectThingData data;
    data.SetName("guard");
    thing.SetName("guard");
    thing.SetLinkedData(&data);
    ObjectEdit rename;
    rename.kind = EditKind::Rename;
    rename.name = "guard_north";
    don.ApplyEdit(nullptr, thing, rename);

    EXPECT_EQ(data.GetName(), "guard_north");
    ASSERT_EQ(history.steps.size(), 1u);
    const auto& changes = history.steps[0].changes;
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].object, &data);
    EXPECT_EQ(changes[1].before.name, "guard");
    EXPECT_EQ(watcher.changed, (std::vector<CVerdaxData*>{&thing, &data}));  // the tree shows both names

    for (const ObjectChange& change : changes)
        don.RestoreObject(*change.object, change.before);
    EXPECT_EQ(thing.GetName(), "guard");
    EXPECT_EQ(data.GetName(), "guard");

    ObjectEdit move;  // edits other than a rename leave the data alone
    move.translation = Vector3{1.0f, 0.0f, 0.0f};
    don.ApplyEdit(nullptr, thing, move);
    EXPECT_EQ(history.steps.back().changes.size(), 1u);
}
