#include "view3d/CameraNavigation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace view3d {
namespace {

// Room around a framed sphere, so that its outline does not touch the window's edge.
constexpr float kFrameMargin = 1.25f;

Vector3 Sub(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 Add(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 Scaled(const Vector3& v, float factor)
{
    return {v.x * factor, v.y * factor, v.z * factor};
}

// In double, so that a d of huge or tiny components does not overflow or vanish.
double Length(const Vector3& v)
{
    return std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z);
}

bool IsFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A d that can be kept: finite and not of zero length.
bool HasDirection(const Vector3& d)
{
    return IsFinite(d) && Length(d) > 0.0;
}

}  // namespace

float FramingDistance(float radius, float aspect)
{
    if (!std::isfinite(radius) || radius < kMinFrameRadius)
        radius = kMinFrameRadius;
    const double halfHeight = kFieldOfViewDegrees / 2.0 * std::numbers::pi / 180.0;
    double half = halfHeight;
    if (std::isfinite(aspect) && aspect > 0.0f && aspect < 1.0f)
        half = std::atan(std::tan(halfHeight) * aspect);  // the window is narrower than high
    return static_cast<float>(radius * kFrameMargin / std::sin(half));
}

CameraPlace FrameSphere(const CameraPlace& camera, const Vector3& target, float radius, float aspect)
{
    const Vector3 d = Sub(camera.centre, camera.eye);
    if (!HasDirection(d) || !IsFinite(target))
        return camera;
    // The eye stands behind the target along +d, since the camera looks along -d.
    const double distance = FramingDistance(radius, aspect);
    const float along = static_cast<float>(distance / Length(d));
    CameraPlace framed;
    framed.eye = Add(target, Scaled(d, along));
    framed.centre = Add(framed.eye, d);
    return framed;
}

float FlySpeed(const CameraPlace& camera)
{
    return static_cast<float>(Length(Sub(camera.centre, camera.eye)));
}

CameraPlace ScaleFlySpeed(const CameraPlace& camera, float factor)
{
    const Vector3 d = Sub(camera.centre, camera.eye);
    if (!HasDirection(d) || !std::isfinite(factor) || factor <= 0.0f)
        return camera;
    const double length = Length(d);
    const double wanted = std::clamp(length * factor, double{kMinFlySpeed}, double{kMaxFlySpeed});
    if (wanted == length)
        return camera;
    return {camera.eye, Add(camera.eye, Scaled(d, static_cast<float>(wanted / length)))};
}

}  // namespace view3d
