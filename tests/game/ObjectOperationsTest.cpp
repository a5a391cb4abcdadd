// Duplicate, delete, cut, copy and paste on missions: where copies go and what they
// are named, a thing's linked data going along, and undo back to the saved bytes.

#include "game/CDravoDon.h"
#include "game/CObjectsPayload.h"
#include "game/CPayloadRefused.h"
#include "game/IEditHistory.h"
#include "game/ObjectOperations.h"
#include "tests/game/SceneMissions.h"

#include <gtest/gtest.h>

using testsupport::BoxThing;
using testsupport::ScriptData;

namespace {

class TestDon final : public CDravoDon {
public:
    TestDon() = default;
};

// Keeps the structure edits as an undo stack would, and undoes them all.
class StepHistory final : public IEditHistory {
public:
    explicit StepHistory(CDravoDon& don) : don_(don) {}
    void Record(const std::vector<ObjectChange>&, EditKind, std::uint64_t) override {}
    void RecordStructure(std::unique_ptr<CStructureEdit> edit) override { steps.push_back(std::move(edit)); }
    void UndoAll()
    {
        for (auto it = steps.rbegin(); it != steps.rend(); ++it)
            (*it)->Revert(don_);
    }
    void RedoAll()
    {
        for (auto& step : steps)
            step->Apply(don_);
    }
    std::vector<std::unique_ptr<CStructureEdit>> steps;

private:
    CDravoDon& don_;
};

demo::SceneFileData Harbour()
{
    demo::SceneFileData scene;
    scene.things = {BoxThing("lamp", {1, 0, 0}), BoxThing("guard", {2, 0, 0}), BoxThing("lamp_2"), BoxThing("")};
    scene.things[1].rotation = {0.5f, 0.5f, 0.5f, 0.5f};
    scene.thingData = {ScriptData("note", "n"), ScriptData("guard", "patrol\r\n"), ScriptData("tail", "t")};
    scene.missionScripts = {{0, "init", "start"}};
    return scene;
}

std::vector<std::string> Names(const auto& list)
{
    std::vector<std::string> names;
    for (const auto& object : list)
        names.push_back(object->GetName());
    return names;
}

class ObjectOperations : public testing::Test {
protected:
    ObjectOperations() { don_.SetEditHistory(&history_); }
    ~ObjectOperations() override { don_.SetEditHistory(nullptr); }

    CMission& Load(const std::string& name, const demo::SceneFileData& scene = Harbour())
    {
        CMission& mission = missions_.Load(name, scene);
        unedited_[name] = missions_.Saved(mission);
        return mission;
    }
    void ExpectUnedited(CMission& mission) { EXPECT_EQ(missions_.Saved(mission), unedited_[mission.GetName()]); }

    TestDon don_;
    StepHistory history_{don_};
    testsupport::SceneMissions missions_;
    std::map<std::string, std::string> unedited_;
};

}  // namespace

TEST_F(ObjectOperations, ADuplicatedThingAndItsDataGoRightAfterTheirOriginalsLinkedUnderANewName)
{
    CMission& mission = Load("m");
    CSceneObjectThing& guard = *mission.GetThings()[1];
    auto& copy = dynamic_cast<CSceneObjectThing&>(DuplicateObject(don_, mission, guard));

    EXPECT_EQ(Names(mission.GetThings()), (std::vector<std::string>{"lamp", "guard", "guard_2", "lamp_2", ""}));
    EXPECT_EQ(Names(mission.GetThingData()), (std::vector<std::string>{"note", "guard", "guard_2", "tail"}));
    EXPECT_EQ(mission.IndexOf(copy), 2u);
    EXPECT_EQ(copy.GetLinkedData(), mission.GetThingData()[2].get());
    EXPECT_EQ(copy.GetScript(), "patrol\r\n");
    EXPECT_EQ(copy.GetTranslation(), guard.GetTranslation());
    EXPECT_TRUE(copy.GetModel().IsLoaded());  // drawn at once

    DuplicateObject(don_, mission, *mission.GetThings()[0]);  // "lamp": lamp_2 is taken
    EXPECT_EQ(mission.GetThings()[1]->GetName(), "lamp_3");
    DuplicateObject(don_, mission, *mission.GetThings().back());
    EXPECT_EQ(mission.GetThings().back()->GetName(), "");  // unnamed stays unnamed
    auto& script = DuplicateObject(don_, mission, *mission.GetMissionScripts()[0]);
    EXPECT_EQ(script.GetName(), "init_2");
    EXPECT_EQ(script.GetScript(), "start");

    history_.UndoAll();
    ExpectUnedited(mission);
    history_.RedoAll();
    EXPECT_EQ(mission.GetThings().size(), 7u);
    EXPECT_EQ(mission.GetThings()[3]->GetLinkedData(), mission.GetThingData()[2].get());
}

TEST_F(ObjectOperations, ANameGivenForADuplicateIsTakenWhenFree)
{
    CMission& mission = Load("m");
    CSceneObjectThing& guard = *mission.GetThings()[1];
    EXPECT_FALSE(IsCopyNameFree(mission, guard, "LAMP"));
    EXPECT_FALSE(IsCopyNameFree(mission, guard, "Tail"));  // a thing data has it, and guard has data
    EXPECT_TRUE(IsCopyNameFree(mission, *mission.GetThings()[0], "tail"));
    const std::string name = "sentry";
    DuplicateObject(don_, mission, guard, &name);
    EXPECT_EQ(mission.GetThings()[2]->GetName(), "sentry");
    EXPECT_EQ(mission.GetThingData()[2]->GetName(), "sentry");
}

TEST_F(ObjectOperations, DeletingAThingTakesItsDataAndDeletingDataAloneUnlinksIt)
{
    CMission& mission = Load("m");
    CSceneObjectThing& lamp = *mission.GetThings()[0];
    CSceneObjectThingData& guardData = *mission.GetThingData()[1];
    CSceneObjectThing& guard = *mission.GetThings()[1];
    DeleteObject(don_, mission, guardData);
    EXPECT_EQ(guard.GetLinkedDataKind(), -1);
    EXPECT_EQ(mission.GetThingData().size(), 2u);

    history_.UndoAll();
    EXPECT_EQ(guard.GetLinkedData(), &guardData);
    history_.steps.clear();

    DeleteObject(don_, mission, guard);
    EXPECT_EQ(Names(mission.GetThings()), (std::vector<std::string>{"lamp", "lamp_2", ""}));
    EXPECT_EQ(Names(mission.GetThingData()), (std::vector<std::string>{"note", "tail"}));
    DeleteObject(don_, mission, lamp);
    DeleteObject(don_, mission, *mission.GetMissionScripts()[0]);
    EXPECT_TRUE(mission.GetMissionScripts().empty());
    EXPECT_THROW(DeleteObject(don_, mission, lamp), std::invalid_argument);  // gone already

    history_.UndoAll();
    ExpectUnedited(mission);
    EXPECT_EQ(guard.GetLinkedData(), &guardData);
}

TEST_F(ObjectOperations, ACutThingPastedIntoAnotherMissionKeepsItsScriptAtTheEnd)
{
    CMission& from = Load("from");
    demo::SceneFileData other;
    other.things = {BoxThing("guard"), BoxThing("crate")};
    other.thingData = {ScriptData("crate", "c")};
    CMission& to = Load("to", other);

    const std::string payload = CutObject(don_, from, *from.GetThings()[1]);
    EXPECT_EQ(from.GetThings().size(), 3u);
    const auto pasted = PasteObjects(don_, to, payload);
    ASSERT_EQ(pasted.size(), 1u);
    auto& guard = dynamic_cast<CSceneObjectThing&>(*pasted[0]);
    EXPECT_EQ(to.IndexOf(guard), 2u);
    EXPECT_EQ(guard.GetName(), "guard_2");
    EXPECT_EQ(guard.GetLinkedData(), to.GetThingData().back().get());
    EXPECT_EQ(guard.GetLinkedData()->GetName(), "guard_2");
    EXPECT_EQ(guard.GetScript(), "patrol\r\n");

    // A second paste of the same bytes: the name moves on.
    PasteObjects(don_, to, payload);
    EXPECT_EQ(to.GetThings().back()->GetName(), "guard_3");

    history_.UndoAll();
    ExpectUnedited(from);
    ExpectUnedited(to);
}

TEST_F(ObjectOperations, ThingDataPastedAloneLinksTheThingOfItsNameThatHasNone)
{
    CMission& from = Load("from");
    demo::SceneFileData other;
    other.things = {BoxThing("note"), BoxThing("tail")};
    other.thingData = {ScriptData("tail", "mine")};
    CMission& to = Load("to", other);

    PasteObjects(don_, to, CopyObject(*from.GetThingData()[0]));  // "note"
    EXPECT_EQ(to.GetThings()[0]->GetScript(), "n");
    PasteObjects(don_, to, CopyObject(*from.GetThingData()[2]));  // "tail" is taken: "tail_2" links nothing
    EXPECT_EQ(to.GetThingData().back()->GetName(), "tail_2");
    EXPECT_EQ(to.GetThings()[1]->GetScript(), "mine");

    history_.UndoAll();
    EXPECT_EQ(to.GetThings()[0]->GetLinkedData(), nullptr);
    ExpectUnedited(to);
}

TEST_F(ObjectOperations, APasteRefusedChangesNothing)
{
    CMission& mission = Load("m");
    std::string payload = CopyObject(*mission.GetThings()[1]);
    payload.pop_back();
    EXPECT_THROW(PasteObjects(don_, mission, payload), CPayloadRefused);
    EXPECT_TRUE(history_.steps.empty());
    ExpectUnedited(mission);
    EXPECT_TRUE(PasteObjects(don_, mission, CObjectsPayload::Write({}, 1252)).empty());
    EXPECT_TRUE(history_.steps.empty());
}

TEST_F(ObjectOperations, APasteFromAnotherCodePageIsConvertedOrRefusedWithTheCharacter)
{
    auto codePage = std::make_unique<testsupport::ScopedCodePage>(1252);
    demo::SceneFileData western;
    western.things = {BoxThing("caf\xE9"), BoxThing("\x80" "uro")};  // "café", "€uro" in 1252
    CMission& from = Load("from", western);
    const std::string cafe = CopyObject(*from.GetThings()[0]);
    const std::string euro = CopyObject(*from.GetThings()[1]);

    codePage.reset();
    codePage = std::make_unique<testsupport::ScopedCodePage>(1251);
    CMission& to = Load("to", demo::SceneFileData{});
    EXPECT_THROW(PasteObjects(don_, to, cafe), CPayloadRefused);  // no é in 1251
    EXPECT_TRUE(to.GetThings().empty());
    PasteObjects(don_, to, euro);
    EXPECT_EQ(to.GetThings().at(0)->GetName(), "\x88" "uro");  // € in 1251
}
