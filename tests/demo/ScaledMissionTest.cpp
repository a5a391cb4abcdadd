// The benchmark's generated mission at a small scale: the editor reads it with every
// count the scale asks for, so the benchmark measures what it claims to.

#include "tests/demo/DemoPrefix.h"
#include "tools/demo/ScaledMission.h"

#include <gtest/gtest.h>

namespace {

demo::MissionScale SmallScale()
{
    demo::MissionScale scale;
    scale.things = 240;
    scale.models = 7;
    scale.thingData = 40;
    scale.missionScripts = 9;
    scale.worldFrames = 80;
    scale.worldTriangles = 20000;
    scale.textures = 11;
    scale.textureSize = 8;
    return scale;
}

TEST(ScaledMission, TheWorldHasTheFramesTrianglesAndMaterialsAsked)
{
    const demo::MissionScale full;  // the benchmark's own scale
    const demo::WorldCounts counts = demo::CountWorld(full);
    EXPECT_EQ(counts.frames, 2000u);
    EXPECT_GE(counts.triangles, 1000000u);
    EXPECT_EQ(counts.materials, 300u);
}

class ScaledMissionLoad : public DemoPrefixTest {
protected:
    demo::FileMap Files() const override { return demo::ScaledGameFiles(SmallScale()); }
};

TEST_F(ScaledMissionLoad, LoadsEveryThingDataBlockScriptAndModel)
{
    const demo::MissionScale scale = SmallScale();
    CMission& mission = Mission(demo::kScaledMission);
    ASSERT_TRUE(root_.LoadMission(&mission));
    EXPECT_EQ(mission.GetThings().size(), std::size_t(scale.things));
    EXPECT_EQ(mission.GetThingData().size(), std::size_t(scale.thingData));
    EXPECT_EQ(mission.GetMissionScripts().size(), std::size_t(scale.missionScripts));
    EXPECT_EQ(mission.GetWorldModel().GetFrames().size(), std::size_t(scale.worldFrames));
    std::size_t linked = 0, withModel = 0, modelNames = 0;
    for (const auto& thing : mission.GetThings()) {
        if (thing->GetLinkedData()) {
            ++linked;
            EXPECT_FALSE(thing->GetScript().empty()) << thing->GetName();
        }
        modelNames += !thing->GetModelName().empty();
        withModel += thing->GetModel().IsLoaded();
    }
    EXPECT_EQ(linked, std::size_t(scale.thingData));
    EXPECT_EQ(withModel, modelNames);
    EXPECT_GT(withModel, std::size_t(scale.things) / 2);
}

}  // namespace
