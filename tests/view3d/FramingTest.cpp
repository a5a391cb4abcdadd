// What framing aims at, without a window: a whole mission is the box around its
// world model and every thing.

#include "tests/ui/EditedMission.h"
#include "tools/demo/DemoModels.h"
#include "tools/demo/FourDsWriter.h"
#include "tools/demo/MeshBuilder.h"
#include "view3d/Framing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>

namespace {

void LoadBox(C4dsModel& model, const Vector3& low, const Vector3& high)
{
    demo::CMeshBuilder mesh;
    mesh.AddBox(low, high, 1);
    demo::FourDsModelData data;
    data.materials.emplace_back().flags = 0;
    data.frames = {demo::VisualFrame("box", 0, {0, 0, 0}, {mesh.Build(0.0f)})};
    const std::string bytes = demo::Write4ds(data);
    model.LoadBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "box.4ds");
}

void ExpectSphere(const std::optional<view3d::Sphere>& sphere, const Vector3& centre, float radius)
{
    ASSERT_TRUE(sphere.has_value());
    EXPECT_NEAR(sphere->centre.x, centre.x, 1e-4f);
    EXPECT_NEAR(sphere->centre.y, centre.y, 1e-4f);
    EXPECT_NEAR(sphere->centre.z, centre.z, 1e-4f);
    EXPECT_NEAR(sphere->radius, radius, 1e-4f);
}

}  // namespace

TEST(Framing, AllOfAMissionIsItsWorldModelsBoxAndEveryThing)
{
    testsupport::EditedMission edited;  // door and lamp without models at (1.5, 2, -3.25)
    edited.Lamp().SetTranslation({30.0f, 1.0f, 0.0f});
    // Markers of radius 1: (0.5, 0, -4.25)..(31, 3, 1).
    ExpectSphere(view3d::MissionSphere(*edited.mission, 1.0f), {15.75f, 1.5f, -1.625f},
                 std::sqrt(15.25f * 15.25f + 1.5f * 1.5f + 2.625f * 2.625f));
    // Without markers the things count by their places.
    ExpectSphere(view3d::MissionSphere(*edited.mission, 0.0f), {15.75f, 1.5f, -1.625f},
                 std::sqrt(14.25f * 14.25f + 0.5f * 0.5f + 1.625f * 1.625f));

    LoadBox(edited.mission->GetWorldModel(), {-10, 0, -10}, {10, 4, 10});
    ASSERT_TRUE(edited.mission->GetWorldModel().IsLoaded());
    // (-10, 0, -10)..(30, 4, 10).
    ExpectSphere(view3d::MissionSphere(*edited.mission, 0.0f), {10, 2, 0}, std::sqrt(400.0f + 4.0f + 100.0f));
}

TEST(Framing, AMissionWithNothingFiniteHasNothingToFrame)
{
    CMission empty("empty", CMission::ExplicitFolder{"/nowhere/"});
    EXPECT_FALSE(view3d::MissionSphere(empty, 1.0f).has_value());

    testsupport::EditedMission edited;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    edited.Door().SetTranslation({nan, 0, 0});
    edited.Lamp().SetTranslation({0, std::numeric_limits<float>::infinity(), 0});
    EXPECT_FALSE(view3d::MissionSphere(*edited.mission, 1.0f).has_value());
}

// The box (1, 0, 0)..(3, 2, 2) under the door's scale (1, 2, 0.5), a quarter turn
// about y and its translation (1.5, 2, -3.25), in that order: centre (2, 1, 1) →
// (2, 2, 0.5) → (0.5, 2, -2) → (2, 4, -5.25); radius √3 × 2.
TEST(Framing, AThingIsItsModelsBoxScaledTurnedAndMoved)
{
    testsupport::EditedMission edited;
    CSceneObjectThing& door = edited.Door();
    LoadBox(door.GetModel(), {1, 0, 0}, {3, 2, 2});
    door.SetRotation({90.0f, 0.0f, 1.0f, 0.0f});
    const view3d::Sphere sphere = view3d::ThingSphere(door, 1.0f);
    ExpectSphere(sphere, {2, 4, -5.25f}, std::sqrt(3.0f) * 2.0f);
    ExpectSphere(view3d::ThingSphere(edited.Lamp(), 0.05f), {1.5f, 2, -3.25f}, 0.05f);  // a marker
}
