// The camera's moves and turns with the numbers of the view's keys and drags.

#include "view3d/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(Camera, ANewCameraLooksFromTheOriginTowardsZeroOneFive)
{
    const Camera camera;
    EXPECT_EQ(camera.eye, (Vector3{0, 0, 0}));
    EXPECT_EQ(camera.centre, (Vector3{0, 1, 5}));
    EXPECT_EQ(camera.up, (Vector3{0, 1, 0}));
}

TEST(Camera, MovesScaleWithTheViewDirection)
{
    Camera left;
    left.Move(-8, 0, 0);  // Left arrow
    ExpectNear(left.eye, {40, 0, 0});
    ExpectNear(left.centre, {40, 1, 5});

    Camera forward;
    forward.Move(0, 0, -8);  // Up arrow
    ExpectNear(forward.eye, {0, 0, -40});

    Camera wheel;
    wheel.Move(0, 0, -120 * 0.005f);  // one notch away from the user
    ExpectNear(wheel.eye, {0, 0, -3});

    Camera drag;
    const float j = -10 * 0.005f;  // ten pixels upwards
    drag.Move(0, -2 * j, 0);
    ExpectNear(drag.eye, {0, 0.1f, 0});
    ExpectNear(drag.centre, {0, 1.1f, 5});

    Camera level;
    level.centre = {0, 0, 5};
    level.Move(0, -2 * j, 0);
    ExpectNear(level.eye, {0, 0, 0});
}

TEST(Camera, ResetEyeKeepsTheCentreSoTheOldCentreBecomesTheDirection)
{
    Camera camera;
    camera.Move(-8, 0, -8);
    const Vector3 centre = camera.centre;
    camera.ResetEye();
    EXPECT_EQ(camera.eye, (Vector3{0, 0, 0}));
    EXPECT_EQ(camera.centre, centre);
    EXPECT_EQ(camera.Direction(), centre);
}

TEST(Camera, TurnRotatesTheDirectionAboutTheAxisByTheRightHandRule)
{
    Camera camera;
    camera.eye = {1, 2, 3};
    camera.centre = {1, 2, 8};  // d = (0, 0, 5)
    EXPECT_TRUE(camera.Turn(std::numbers::pi_v<float> / 2, {0, 1, 0}));
    ExpectNear(camera.centre, {6, 2, 3});  // z turns into x about +y
    EXPECT_EQ(camera.eye, (Vector3{1, 2, 3}));
}

// Looking straight along up leaves no pitch axis: the pitch is skipped, the yaw not.
TEST(Camera, OrbitWithTheViewAlongUpSkipsThePitchAndWritesNoNaN)
{
    Camera camera;
    camera.centre = {0, 5, 0};
    camera.Orbit(0.3f, 0.0f);
    EXPECT_EQ(camera.centre, (Vector3{0, 5, 0}));

    Camera turning;
    turning.Orbit(0.0f, 0.1f);
    EXPECT_NEAR(turning.centre.x, 5 * std::sin(0.1f), 1e-5f);
    EXPECT_TRUE(std::isfinite(turning.centre.z));
    EXPECT_FALSE(turning.Turn(std::nanf(""), {0, 1, 0}));
    EXPECT_EQ(turning.centre, turning.centre);
}

}  // namespace
