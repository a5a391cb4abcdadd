// Objects put into and taken out of a mission's lists: places, ownership, the links
// between things and thing data, and the models of things put in.

#include "game/CMission.h"
#include "tests/game/SceneMissions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using testsupport::BoxThing;
using testsupport::ScriptData;

namespace {

// A thing read from its element, as a copy is made: kind 9 naming `model`.
std::unique_ptr<CSceneObjectThing> ThingFromBytes(const std::string& name, const std::string& model)
{
    std::stringstream bytes(testsupport::ByteWriter()
                                .Chunk(0x4010,
                                       [&](testsupport::ByteWriter& t) {
                                           t.ChunkText(0x0010, name).ChunkText(0x2012, model);
                                       })
                                .Str()
                                .substr(2));  // a list reader has read the id
    auto thing = std::make_unique<CSceneObjectThing>();
    thing->Load(bytes);
    return thing;
}

class MissionLists : public testing::Test {
protected:
    CMission& Mission()
    {
        demo::SceneFileData scene;
        scene.things = {BoxThing("a"), BoxThing("b"), BoxThing("c")};
        scene.thingData = {ScriptData("b", "go"), ScriptData("c", "stop")};
        scene.missionScripts = {{1, "init", ""}};
        return missions_.Load("m", scene);
    }

    testsupport::SceneMissions missions_;
};

}  // namespace

TEST_F(MissionLists, ObjectsComeAndGoAtTheirPlacesAndOwnershipMovesWithThem)
{
    CMission& mission = Mission();
    CSceneObjectThing* b = mission.GetThings()[1].get();
    std::unique_ptr<CSceneObjectThing> taken = mission.RemoveThing(1);
    EXPECT_EQ(taken.get(), b);
    ASSERT_EQ(mission.GetThings().size(), 2u);
    EXPECT_FALSE(mission.IndexOf(*b));
    EXPECT_FALSE(mission.Owns(b));

    mission.InsertThing(2, std::move(taken));
    EXPECT_EQ(mission.IndexOf(*b), 2u);
    EXPECT_EQ(mission.GetThings()[1]->GetName(), "c");
    auto script = mission.RemoveMissionScript(0);
    mission.InsertMissionScript(0, std::move(script));
    EXPECT_EQ(mission.IndexOf(*mission.GetMissionScripts()[0]), 0u);

    EXPECT_THROW(mission.InsertThing(4, ThingFromBytes("x", "box.i3d")), std::out_of_range);
    EXPECT_THROW(mission.RemoveThingData(2), std::out_of_range);
    EXPECT_EQ(mission.GetThings().size(), 3u);
}

TEST_F(MissionLists, ThingDataTakenOutIsUnlinkedFromItsThingsFirst)
{
    CMission& mission = Mission();
    CSceneObjectThing& b = *mission.GetThings()[1];
    CSceneObjectThingData* data = b.GetLinkedData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(mission.ThingsLinkedTo(*data), std::vector<CSceneObjectThing*>{&b});

    const auto taken = mission.RemoveThingData(0);
    EXPECT_EQ(taken.get(), data);
    EXPECT_EQ(b.GetLinkedDataKind(), -1);
    EXPECT_EQ(b.GetScript(), "");
}

TEST_F(MissionLists, AThingPutInKeepsOnlyALinkIntoTheMissionAndGetsItsModel)
{
    CMission& mission = Mission();
    CSceneObjectThingData foreign;
    auto stray = ThingFromBytes("stray", "box.i3d");
    stray->SetLinkedData(&foreign);
    CSceneObjectThing& thing = *stray;
    mission.InsertThing(0, std::move(stray));
    EXPECT_EQ(thing.GetLinkedData(), nullptr);
    ASSERT_TRUE(thing.GetModel().IsLoaded());
    EXPECT_EQ(thing.GetModel().GetName(), mission.GetThings()[1]->GetModel().GetName());

    // Its own thing data back in the mission keeps the link.
    CSceneObjectThing& c = *mission.GetThings()[3];
    auto data = mission.RemoveThingData(1);
    auto unlinked = mission.RemoveThing(3);
    unlinked->SetLinkedData(data.get());
    mission.InsertThingData(1, std::move(data));
    mission.InsertThing(3, std::move(unlinked));
    EXPECT_EQ(c.GetScript(), "stop");

    auto missing = ThingFromBytes("ghost", "nowhere.i3d");
    CSceneObjectThing& ghost = *missing;
    mission.InsertThing(4, std::move(missing));
    EXPECT_FALSE(ghost.GetModel().IsLoaded());
}
