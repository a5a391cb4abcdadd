#pragma once
// Camera navigation that the world window's keys call: framing a thing and the fly
// speed. Plain functions over the camera's eye and centre point, without Qt or GL.
//
// The world window's camera looks along -d, where d = centre - eye (the view
// multiplies a z-mirror onto gluLookAt), and every camera move is scaled by |d|.
// So |d| is the fly speed, and a point in front of the eye lies at eye - k * d
// for some k > 0.

#include "core/Geometry.h"

namespace view3d {

// Where the camera stands: eye and the centre point passed to gluLookAt.
struct CameraPlace {
    Vector3 eye;
    Vector3 centre;
};

// The world window's vertical field of view, in degrees.
inline constexpr float kFieldOfViewDegrees = 45.0f;
// The fly speed (|d|) never leaves these bounds. Below, the centre point, which is
// stored beside the eye and not as an offset, would hold d's direction only
// roughly far from the origin; above, one key press would leave any mission.
inline constexpr float kMinFlySpeed = 1.0f / 16.0f;
inline constexpr float kMaxFlySpeed = 4096.0f;
// A thing without a size of its own is framed as a sphere of this radius.
inline constexpr float kMinFrameRadius = 0.5f;

// The eye's distance from the centre of a sphere of `radius` at which the sphere
// just fills the narrower of the two fields of view (`aspect` = width / height),
// with a small margin around it. A radius below kMinFrameRadius (or not a finite
// number) counts as kMinFrameRadius.
float FramingDistance(float radius, float aspect = 1.0f);

// The camera moved so that `target` lies straight in front of the eye, on the view
// axis, at FramingDistance(radius, aspect): d keeps its direction and its length
// (the fly speed), so the view only slides. A camera with a zero or non-finite d
// has no direction to keep and is returned unchanged; so is a non-finite target.
CameraPlace FrameSphere(const CameraPlace& camera, const Vector3& target, float radius, float aspect = 1.0f);

// |d|, the fly speed shown to the user.
float FlySpeed(const CameraPlace& camera);

// The fly speed multiplied by `factor` (2 for faster, 0.5 for slower) and kept
// within [kMinFlySpeed, kMaxFlySpeed]: d is scaled about the eye, so the eye and
// the direction it looks in do not change. A zero or non-finite d, or a factor that
// is not a positive finite number, leaves the camera unchanged.
CameraPlace ScaleFlySpeed(const CameraPlace& camera, float factor);

}  // namespace view3d
