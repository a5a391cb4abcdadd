// The benchmark's generated mission at a small scale: the editor reads it with every
// count the scale asks for, so the benchmark measures what it claims to.

#include "tests/demo/DemoPrefix.h"
#include "scene/CSceneSnapshot.h"
#include "tools/demo/ScaledMission.h"

#include <sstream>

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
    demo::FileMap Files() const override { return demo::ScaledGameFiles(Scale()); }
    virtual demo::MissionScale Scale() const { return SmallScale(); }
};

// An object file several times the reader's window: objects cross the window's
// edges, and each is read as from the file held whole.
class LargeObjectFileLoad : public ScaledMissionLoad {
protected:
    demo::MissionScale Scale() const override
    {
        demo::MissionScale scale = SmallScale();
        scale.things = 4000;
        scale.thingData = 600;
        return scale;
    }
};

TEST_F(LargeObjectFileLoad, ObjectsAcrossTheReadWindowsSaveAsTheFileReadWhole)
{
    const std::string file = demo::ScaledSceneFile(Scale());
    ASSERT_GT(file.size(), std::size_t(4) << 17);
    CMission& mission = Mission(demo::kScaledMission);
    ASSERT_TRUE(root_.LoadMission(&mission));
    EXPECT_EQ(mission.GetThings().size(), std::size_t(Scale().things));

    std::stringstream saved;
    mission.SaveTo(saved);
    CSceneSnapshot whole;
    whole.Read(file);
    EXPECT_TRUE(saved.str() == whole.Write()) << "the save differs from the file read whole";
}

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
