#pragma once
// The value types of positions and rotations shared by the scene file, the model
// reader and the views.

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    bool operator==(const Vector3&) const = default;
};

// A rotation as the views and the drawing use it: the angle in degrees, then the axis.
struct AxisAngle {
    float angle = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    bool operator==(const AxisAngle&) const = default;
};
