#pragma once
// The world window's free camera: the eye, the point passed to gluLookAt as the
// point looked at (the centre), and the up vector. The view direction d = centre −
// eye is never normalised: its length scales every move. The frame's z-mirror makes
// the window show what lies along −d from the eye, so a negative forward amount
// moves towards what is seen.

#include "core/Geometry.h"

struct Camera {
    Vector3 eye{0.0f, 0.0f, 0.0f};
    Vector3 centre{0.0f, 1.0f, 5.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};

    Vector3 Direction() const;

    // Adds (d.x·forward − d.z·side, d.y·vertical, d.z·forward + d.x·side) to eye and
    // centre: side and forward moves stay horizontal; the vertical move is
    // proportional to d.y.
    void Move(float side, float vertical, float forward);

    // Turns d by `angle` radians about `axis` through the origin (right-hand rule,
    // Rodrigues' formula with the axis as given) and puts the centre at eye + d.
    // A turn whose result is not finite leaves the camera as it was and gives false.
    bool Turn(float angle, const Vector3& axis);

    // The right-button drag: pitch by `pitch` radians about the normalised d × up,
    // then yaw by `yaw` about (0, 1, 0). While d is parallel to up the pitch axis is
    // undefined and the pitch is skipped; the yaw still turns.
    void Orbit(float pitch, float yaw);

    // Puts the eye at the origin; centre and up stay.
    void ResetEye() { eye = {}; }
};
