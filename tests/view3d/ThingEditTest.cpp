// The edit maths of Ctrl-drags: the worked numbers of the moves and turns, and the
// inputs that would give no finite value.

#include "view3d/ThingEdit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace thingedit;

namespace {

constexpr Vector3 kNewCameraDirection{0, 1, 5};
constexpr float kPixel = 0.005f;

void ExpectNear(const AxisAngle& actual, const AxisAngle& expected)
{
    EXPECT_NEAR(actual.angle, expected.angle, 1e-3f);
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(ThingEdit, TenPixelsMoveAThingByAnEighthWithTheNewCamerasDirection)
{
    const Vector3 right = MoveOnGround({1, 2, 3}, kNewCameraDirection, 0, 10 * kPixel);
    EXPECT_NEAR(right.x, 1 - 0.125f, 1e-6f);
    EXPECT_EQ(right.y, 2);
    EXPECT_NEAR(right.z, 3, 1e-6f);
    const Vector3 down = MoveOnGround({1, 2, 3}, kNewCameraDirection, 10 * kPixel, 0);
    EXPECT_NEAR(down.x, 1, 1e-6f);
    EXPECT_NEAR(down.z, 3 + 0.125f, 1e-6f);
    const Vector3 raised = MoveUpDown({1, 2, 3}, kNewCameraDirection, -10 * kPixel);
    EXPECT_EQ(raised.x, 1);
    EXPECT_NEAR(raised.y, 2.025f, 1e-6f);
    EXPECT_EQ(raised.z, 3);
}

TEST(ThingEdit, TurningByQuotientsFollowsTheWorkedNumbers)
{
    const float tenRight = 10 * kPixel * 100;
    ExpectNear(TurnByQuotients({90, 0, 1, 0}, tenRight), {85, 0, 1, 0});
    ExpectNear(TurnByQuotients({0, 1, 0, 0}, 7 * kPixel * 100), {-3.5f, 0, 1, 0});  // negative sums stay
    EXPECT_EQ(TurnByQuotients({0, 1, 0, 0}, 0), (AxisAngle{0, 0, 0, 0}));
    // Zero components give zero quotients; a sum of 360 or more wraps, and one of
    // exactly 360 is no turn at all, with no axis.
    ExpectNear(TurnByQuotients({350, 0, 1, 0}, -20), {10, 0, 37, 0});
    EXPECT_EQ(TurnByQuotients({365, 0, 1, 0}, 5), (AxisAngle{0, 0, 0, 0}));
    EXPECT_EQ(TurnByQuotients({350, 0, 1, 0}, -10), (AxisAngle{0, 0, 0, 0}));
}

// Formulas that would write NaN or an infinity leave the value as it was.
TEST(ThingEdit, AResultThatIsNotFiniteLeavesTheValueUnchanged)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    const AxisAngle tiny{300, 0, 1e-38f, 0};  // 300 / 1e-38 is infinite
    EXPECT_EQ(TurnByQuotients(tiny, 0), tiny);
    EXPECT_EQ(MoveOnGround({1, 2, 3}, {huge, 0, 0}, 10, 0), (Vector3{1, 2, 3}));
    EXPECT_EQ(MoveUpDown({1, 2, 3}, {0, nan, 0}, 1), (Vector3{1, 2, 3}));
    const AxisAngle broken{nan, 0, 1, 0};
    const AxisAngle kept = TurnByAngles(broken, 0.1f, 0);
    EXPECT_TRUE(std::isnan(kept.angle));
    EXPECT_EQ(kept.y, 1);
}

TEST(ThingEdit, TurningByAnglesChangesTheFirstOrTheThirdAngle)
{
    ExpectNear(TurnByAngles({0, 1, 0, 0}, 0.1f, 0), {5.72958f, 0, 0, 1});
    ExpectNear(TurnByAngles({0, 1, 0, 0}, 0, 0.1f), {5.72958f, 1, 0, 0});
    // No change gives the rotation back.
    ExpectNear(TurnByAngles({40, 0, 1, 0}, 0, 0), {40, 0, 1, 0});
}

}  // namespace
