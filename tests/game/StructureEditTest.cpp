// Structure edits: objects put into a mission and taken out through the mediator,
// announced to the views, reverted to the exact places and links, and owned by the
// edit while they are out of the mission.

#include "game/CDravoDon.h"
#include "game/CStructureEdit.h"
#include "game/IEditHistory.h"
#include "tests/game/SceneMissions.h"

#include <gtest/gtest.h>

using testsupport::BoxThing;
using testsupport::ScriptData;

namespace {

class TestDon final : public CDravoDon {
public:
    TestDon() = default;
};

// What each announcement said, and whether the object was in its mission then.
struct Heard {
    int code;
    CVerdaxData* object;
    bool inMission;
    bool operator==(const Heard&) const = default;
};

class Listener final : public CDravoDonView {
public:
    explicit Listener(const CMission*& mission) : mission_(mission) {}
    void Notify(CDravoDonView* sender, int code, int) override
    {
        auto* object = dynamic_cast<CSceneObject*>(sender->GetObject());
        heard.push_back({code, object, object && mission_->IndexOf(*object).has_value()});
    }
    std::vector<Heard> heard;

private:
    const CMission*& mission_;
};

class KeepingHistory final : public IEditHistory {
public:
    void Record(const std::vector<ObjectChange>&, EditKind, std::uint64_t) override {}
    void RecordStructure(std::unique_ptr<CStructureEdit> edit) override { kept.push_back(std::move(edit)); }
    std::vector<std::unique_ptr<CStructureEdit>> kept;
};

// A mission script that counts its destruction.
class CountedScript final : public CSceneObjectMissionScript {
public:
    explicit CountedScript(int& destroyed) : destroyed_(destroyed) {}
    ~CountedScript() override { ++destroyed_; }

private:
    int& destroyed_;
};

class StructureEdit : public testing::Test {
protected:
    StructureEdit() { don_.RegisterView(&listener_); }

    CMission& Load()
    {
        demo::SceneFileData scene;
        scene.things = {BoxThing("a"), BoxThing("b", {1, 2, 3}), BoxThing("c")};
        scene.thingData = {ScriptData("a", "first"), ScriptData("b", "second")};
        scene.missionScripts = {{1, "init", "x"}};
        CMission& loaded = missions_.Load("m", scene);
        mission_ = &loaded;
        unedited_ = missions_.Saved(loaded);
        return loaded;
    }

    TestDon don_;
    testsupport::SceneMissions missions_;
    const CMission* mission_ = nullptr;
    Listener listener_{mission_};
    std::string unedited_;
};

}  // namespace

TEST_F(StructureEdit, RemovalIsAnnouncedWhileInTheListAndRevertedToItsPlaceAndLink)
{
    CMission& mission = Load();
    CSceneObjectThing& b = *mission.GetThings()[1];
    CSceneObjectThingData& data = *b.GetLinkedData();
    CStructureEdit edit(mission, EditKind::Delete, "b");
    edit.AddRemoval(b);
    edit.AddRemoval(data);

    edit.Apply(don_);
    EXPECT_EQ(listener_.heard, (std::vector<Heard>{{DON_OBJECT_REMOVING, &b, true}, {DON_OBJECT_REMOVING, &data, true}}));
    EXPECT_EQ(mission.GetThings().size(), 2u);
    EXPECT_EQ(mission.GetThingData().size(), 1u);
    EXPECT_EQ(edit.RemovedObjects(), (std::vector<CSceneObject*>{&b, &data}));

    listener_.heard.clear();
    edit.Revert(don_);
    EXPECT_EQ(listener_.heard, (std::vector<Heard>{{DON_OBJECT_ADDED, &data, true}, {DON_OBJECT_ADDED, &b, true}}));
    EXPECT_EQ(mission.IndexOf(b), 1u);
    EXPECT_EQ(mission.IndexOf(data), 1u);
    EXPECT_EQ(b.GetLinkedData(), &data);
    EXPECT_EQ(missions_.Saved(mission), unedited_);

    edit.Apply(don_);  // redo
    EXPECT_FALSE(mission.IndexOf(b));
    edit.Apply(don_);  // applied already: nothing
    EXPECT_EQ(mission.GetThings().size(), 2u);
}

TEST_F(StructureEdit, ThingDataTakenAloneUnlinksItsThingWhichIsToldAndRelinkedOnRevert)
{
    CMission& mission = Load();
    CSceneObjectThing& a = *mission.GetThings()[0];
    CSceneObjectThingData& data = *a.GetLinkedData();
    CStructureEdit edit(mission, EditKind::Delete, "a");
    edit.AddRemoval(data);
    edit.Apply(don_);
    EXPECT_EQ(a.GetLinkedDataKind(), -1);
    EXPECT_EQ(listener_.heard,
              (std::vector<Heard>{{DON_OBJECT_REMOVING, &data, true}, {DON_OBJECT_CHANGED, &a, true}}));

    listener_.heard.clear();
    edit.Revert(don_);
    EXPECT_EQ(a.GetLinkedData(), &data);
    EXPECT_EQ(listener_.heard, (std::vector<Heard>{{DON_OBJECT_ADDED, &data, true}, {DON_OBJECT_CHANGED, &a, true}}));
    EXPECT_EQ(missions_.Saved(mission), unedited_);
}

TEST_F(StructureEdit, InsertionsGoToTheirPlaceOrTheEndAndLinksAreSetAndTakenBack)
{
    CMission& mission = Load();
    CSceneObjectThing& c = *mission.GetThings()[2];
    auto made = std::make_unique<CSceneObjectThingData>();
    CSceneObjectThingData& data = *made;
    auto script = std::make_unique<CSceneObjectMissionScript>();
    CSceneObjectMissionScript& first = *script;
    CStructureEdit edit(mission, EditKind::Paste, "c");
    edit.AddInsertion(std::move(made));
    edit.AddInsertion(std::move(script), 0);
    edit.AddLink(c, &data);
    EXPECT_THROW(edit.AddInsertion(std::make_unique<CSceneObject>()), std::invalid_argument);

    edit.Apply(don_);
    EXPECT_EQ(mission.IndexOf(data), 2u);
    EXPECT_EQ(mission.IndexOf(first), 0u);
    EXPECT_EQ(c.GetLinkedData(), &data);
    EXPECT_EQ(listener_.heard.back(), (Heard{DON_OBJECT_CHANGED, &c, true}));
    EXPECT_EQ(edit.InsertedObjects(), (std::vector<CSceneObject*>{&data, &first}));

    edit.Revert(don_);
    EXPECT_EQ(c.GetLinkedData(), nullptr);
    EXPECT_FALSE(mission.IndexOf(data));
    EXPECT_EQ(missions_.Saved(mission), unedited_);
    edit.Apply(don_);  // redo: the same places
    EXPECT_EQ(mission.IndexOf(data), 2u);
    EXPECT_EQ(mission.IndexOf(first), 0u);
}

TEST_F(StructureEdit, AnObjectOutOfTheMissionIsFreedWithTheEditThatHoldsIt)
{
    CMission& mission = Load();
    int destroyed = 0;
    {
        CStructureEdit edit(mission, EditKind::Paste, "");
        edit.AddInsertion(std::make_unique<CountedScript>(destroyed));
        edit.Apply(don_);
        edit.Revert(don_);
        EXPECT_EQ(destroyed, 0);  // held by the edit now
    }
    EXPECT_EQ(destroyed, 1);

    auto made = std::make_unique<CountedScript>(destroyed);
    CSceneObjectMissionScript& script = *made;
    mission.InsertMissionScript(1, std::move(made));
    {
        CStructureEdit edit(mission, EditKind::Delete, "");
        edit.AddRemoval(script);
        edit.Apply(don_);
        edit.Revert(don_);
    }
    EXPECT_EQ(destroyed, 1);  // back in the mission, which owns it
    EXPECT_EQ(mission.IndexOf(script), 1u);
}

TEST_F(StructureEdit, TheMediatorHandsTheEditToTheHistoryOrFreesWhatItRemoved)
{
    CMission& mission = Load();
    int destroyed = 0;
    const auto removalOfNew = [&] {
        auto made = std::make_unique<CountedScript>(destroyed);
        CSceneObjectMissionScript& script = *made;
        mission.InsertMissionScript(0, std::move(made));
        auto edit = std::make_unique<CStructureEdit>(mission, EditKind::Delete, "");
        edit->AddRemoval(script);
        return edit;
    };
    don_.ApplyStructureEdit(removalOfNew());
    EXPECT_EQ(destroyed, 1);  // no history: no step can bring it back

    KeepingHistory history;
    don_.SetEditHistory(&history);
    don_.ApplyStructureEdit(removalOfNew());
    EXPECT_EQ(destroyed, 1);
    ASSERT_EQ(history.kept.size(), 1u);
    EXPECT_TRUE(history.kept[0]->IsApplied());
    history.kept.clear();
    EXPECT_EQ(destroyed, 2);
    don_.SetEditHistory(nullptr);
}
