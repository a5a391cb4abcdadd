#include "view3d/Camera.h"

#include <cmath>

namespace {

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

bool IsFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

Vector3 Camera::Direction() const
{
    return {centre.x - eye.x, centre.y - eye.y, centre.z - eye.z};
}

void Camera::Move(float side, float vertical, float forward)
{
    const Vector3 d = Direction();
    const Vector3 offset{d.x * forward - d.z * side, d.y * vertical, d.z * forward + d.x * side};
    eye = {eye.x + offset.x, eye.y + offset.y, eye.z + offset.z};
    centre = {centre.x + offset.x, centre.y + offset.y, centre.z + offset.z};
}

// v cos θ + (k × v) sin θ + k (k · v)(1 − cos θ), with k as given.
bool Camera::Turn(float angle, const Vector3& axis)
{
    const Vector3 d = Direction();
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const Vector3 kv = Cross(axis, d);
    const float kd = Dot(axis, d) * (1.0f - c);
    const Vector3 turned{d.x * c + kv.x * s + axis.x * kd, d.y * c + kv.y * s + axis.y * kd,
                         d.z * c + kv.z * s + axis.z * kd};
    const Vector3 moved{eye.x + turned.x, eye.y + turned.y, eye.z + turned.z};
    if (!IsFinite(moved))
        return false;
    centre = moved;
    return true;
}

void Camera::Orbit(float pitch, float yaw)
{
    const Vector3 side = Cross(Direction(), up);
    const float length = std::sqrt(Dot(side, side));
    if (length > 0.0f && std::isfinite(length))
        Turn(pitch, {side.x / length, side.y / length, side.z / length});
    Turn(yaw, {0.0f, 1.0f, 0.0f});
}
