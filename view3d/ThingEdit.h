#pragma once
// The edits a Ctrl-drag in the world window makes to a thing, as pure functions of
// the value read with the getter, the camera's view direction d and the drag's
// J = dy × 0.005 and K = dx × 0.005. A result that would not be finite (NaN or
// infinite, from a degenerate or huge input) is refused: the value comes back
// unchanged, so that nothing of the kind is ever written into a thing.

#include "core/Geometry.h"

namespace thingedit {

// Ctrl + left drag: along the ground, x += ½(J·d.x − K·d.z), z += ½(J·d.z + K·d.x).
Vector3 MoveOnGround(const Vector3& translation, const Vector3& d, float j, float k);

// Ctrl + Shift + left drag: y += −½·J·d.y.
Vector3 MoveUpDown(const Vector3& translation, const Vector3& d, float j);

// Ctrl + right drag: the rotation split into the quotients p = a/x, q = a/y, r = a/z
// (0 where the divisor is exactly 0), q decreased by `decrease`; the new angle is
// s = p + q + r (fmod 360 from 360 on; negative sums are kept) and the new axis
// (p, q, r) / s, or (0, 0, 0) when s is 0.
AxisAngle TurnByQuotients(const AxisAngle& rotation, float decrease);

// Ctrl + Shift + right drag and Ctrl + both buttons: the rotation as the three
// angles the rotation page shows (radians), the first decreased by `firstDecrease`
// and the third by `thirdDecrease`, rebuilt into a quaternion and read back as a
// thing reads its rotation.
AxisAngle TurnByAngles(const AxisAngle& rotation, float firstDecrease, float thirdDecrease);

}  // namespace thingedit
