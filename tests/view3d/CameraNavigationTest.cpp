#include "view3d/CameraNavigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace view3d;

namespace {

Vector3 Sub(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

float Length(const Vector3& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

void ExpectNear(const Vector3& a, const Vector3& b, float tolerance)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// A new camera of the world window: d = (0, 1, 5), flown somewhere.
const CameraPlace kCamera{{30.0f, -4.0f, 12.0f}, {30.0f, -3.0f, 17.0f}};

}  // namespace

TEST(CameraNavigation, FramingPutsTheTargetOnTheViewAxisInFrontOfTheEye)
{
    const Vector3 target{-250.0f, 8.0f, 90.0f};
    const CameraPlace framed = FrameSphere(kCamera, target, 3.0f);

    const Vector3 d = Sub(kCamera.centre, kCamera.eye);
    const Vector3 framedD = Sub(framed.centre, framed.eye);
    ExpectNear(framedD, d, 1e-4f);  // direction and length (the fly speed) kept

    // The camera looks along -d: the target lies on that ray from the eye.
    const Vector3 toTarget = Sub(target, framed.eye);
    EXPECT_LT(Length(Cross(toTarget, d)), 1e-3f * Length(toTarget) * Length(d));
    EXPECT_LT(Dot(toTarget, d), 0.0f);
    EXPECT_NEAR(Length(toTarget), FramingDistance(3.0f), 1e-3f);
}

TEST(CameraNavigation, TheFramingDistanceFitsTheSphereIntoTheNarrowerFieldOfView)
{
    // 45 degrees high: a sphere seen from r / sin(22.5 degrees) just touches the edges.
    const float tight = 10.0f / std::sin(22.5f * 3.14159265f / 180.0f);
    EXPECT_GT(FramingDistance(10.0f), tight);
    EXPECT_LT(FramingDistance(10.0f), 1.5f * tight);
    EXPECT_FLOAT_EQ(FramingDistance(20.0f), 2.0f * FramingDistance(10.0f));
    // A window half as wide as high needs more room; a wide one no more than a square.
    EXPECT_GT(FramingDistance(10.0f, 0.5f), FramingDistance(10.0f));
    EXPECT_FLOAT_EQ(FramingDistance(10.0f, 2.0f), FramingDistance(10.0f));
    // Things without a size, or with a broken one, still get room to be seen.
    EXPECT_FLOAT_EQ(FramingDistance(0.0f), FramingDistance(kMinFrameRadius));
    EXPECT_FLOAT_EQ(FramingDistance(std::numeric_limits<float>::quiet_NaN()), FramingDistance(kMinFrameRadius));
    EXPECT_GT(FramingDistance(0.0f), 0.1f);  // beyond the near plane
}

TEST(CameraNavigation, FramingWithoutADirectionLeavesTheCameraAlone)
{
    const CameraPlace still{{1.0f, 2.0f, 3.0f}, {1.0f, 2.0f, 3.0f}};
    const CameraPlace framed = FrameSphere(still, {9.0f, 9.0f, 9.0f}, 1.0f);
    EXPECT_EQ(framed.eye, still.eye);
    EXPECT_EQ(framed.centre, still.centre);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(FrameSphere(kCamera, {nan, 0.0f, 0.0f}, 1.0f).eye, kCamera.eye);
}

TEST(CameraNavigation, SpeedDoublesAndHalvesAboutTheEyeKeepingTheViewDirection)
{
    const float speed = FlySpeed(kCamera);
    EXPECT_FLOAT_EQ(speed, std::sqrt(26.0f));

    const CameraPlace faster = ScaleFlySpeed(kCamera, 2.0f);
    EXPECT_EQ(faster.eye, kCamera.eye);
    ExpectNear(Sub(faster.centre, faster.eye), Vector3{0.0f, 2.0f, 10.0f}, 1e-5f);
    EXPECT_FLOAT_EQ(FlySpeed(faster), 2.0f * speed);

    const CameraPlace back = ScaleFlySpeed(faster, 0.5f);
    EXPECT_EQ(back.eye, kCamera.eye);
    ExpectNear(back.centre, kCamera.centre, 1e-5f);
}

TEST(CameraNavigation, SpeedStopsAtItsBoundsAndIgnoresNonsense)
{
    CameraPlace camera = kCamera;
    for (int i = 0; i < 40; ++i)
        camera = ScaleFlySpeed(camera, 2.0f);
    EXPECT_NEAR(FlySpeed(camera), kMaxFlySpeed, 1e-4f * kMaxFlySpeed);
    const Vector3 d = Sub(camera.centre, camera.eye);
    EXPECT_NEAR(d.z / d.y, 5.0f, 1e-4f);  // still the same direction

    for (int i = 0; i < 80; ++i)
        camera = ScaleFlySpeed(camera, 0.5f);
    EXPECT_NEAR(FlySpeed(camera), kMinFlySpeed, 1e-4f * kMinFlySpeed);

    for (float factor : {0.0f, -2.0f, std::numeric_limits<float>::infinity()}) {
        const CameraPlace same = ScaleFlySpeed(kCamera, factor);
        EXPECT_EQ(same.centre, kCamera.centre) << factor;
    }
}
