#include "view3d/ThingEdit.h"

#include "scene/CSceneObjectThing.h"

#include <algorithm>
#include <cmath>

namespace thingedit {
namespace {

bool IsFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool IsFinite(const AxisAngle& r)
{
    return std::isfinite(r.angle) && std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.z);
}

template <class Value>
Value FiniteOr(const Value& result, const Value& unchanged)
{
    return IsFinite(result) ? result : unchanged;
}

float Quotient(float angle, float divisor)
{
    return divisor == 0.0f ? 0.0f : angle / divisor;
}

}  // namespace

Vector3 MoveOnGround(const Vector3& translation, const Vector3& d, float j, float k)
{
    Vector3 moved = translation;
    moved.x += 0.5f * (j * d.x - k * d.z);
    moved.z += 0.5f * (j * d.z + k * d.x);
    return FiniteOr(moved, translation);
}

Vector3 MoveUpDown(const Vector3& translation, const Vector3& d, float j)
{
    Vector3 moved = translation;
    moved.y += -0.5f * j * d.y;
    return FiniteOr(moved, translation);
}

AxisAngle TurnByQuotients(const AxisAngle& rotation, float decrease)
{
    const float p = Quotient(rotation.angle, rotation.x);
    const float q = Quotient(rotation.angle, rotation.y) - decrease;
    const float r = Quotient(rotation.angle, rotation.z);
    float s = p + q + r;
    if (s >= 360.0f)
        s = std::fmod(s, 360.0f);
    const AxisAngle turned = s != 0.0f ? AxisAngle{s, p / s, q / s, r / s} : AxisAngle{0.0f, 0.0f, 0.0f, 0.0f};
    return FiniteOr(turned, rotation);
}

AxisAngle TurnByAngles(const AxisAngle& rotation, float firstDecrease, float thirdDecrease)
{
    const Quaternion q = AxisAngleToQuaternion(rotation);
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    double first = std::atan2(2 * (w * z + x * y), w * w + x * x - y * y - z * z);
    // A unit quaternion may stray past ±1 here by a rounding step.
    const double second = std::asin(std::clamp(-2 * (x * z - w * y), -1.0, 1.0));
    double third = std::atan2(2 * (w * x + y * z), w * w - x * x - y * y + z * z);
    first -= firstDecrease;
    third -= thirdDecrease;
    const double f = first / 2, s = second / 2, t = third / 2;
    const Quaternion rebuilt{
        static_cast<float>(std::cos(f) * std::cos(s) * std::cos(t) + std::sin(f) * std::sin(s) * std::sin(t)),
        static_cast<float>(std::cos(f) * std::cos(s) * std::sin(t) - std::sin(f) * std::sin(s) * std::cos(t)),
        static_cast<float>(std::cos(f) * std::sin(s) * std::cos(t) + std::sin(f) * std::cos(s) * std::sin(t)),
        static_cast<float>(std::sin(f) * std::cos(s) * std::cos(t) - std::cos(f) * std::sin(s) * std::sin(t)),
    };
    return FiniteOr(QuaternionToAxisAngle(rebuilt), rotation);
}

}  // namespace thingedit
