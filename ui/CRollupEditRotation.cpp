#include "ui/CRollupEditRotation.h"

#include "scene/CSceneObjectThing.h"

#include <QLineEdit>

#include <cmath>
#include <limits>

namespace ui {

CRollupEditRotation::CRollupEditRotation(QWidget* parent)
    : CRollupEditVector({{1032, 1034, 1036}, 25, 49, QStringLiteral("Rotation")}, parent)
{
    for (int axis = 0; axis < 3; ++axis)
        Field(axis)->setEnabled(false);
}

void CRollupEditRotation::SetRotation(const AxisAngle& rotation)
{
    SetValues(RotationAngles(rotation));
}

Vector3 CRollupEditRotation::RotationAngles(const AxisAngle& rotation)
{
    const Quaternion q = AxisAngleToQuaternion(rotation);
    const float q0 = q.w;
    const float q1 = q.x;
    const float q2 = q.y;
    const float q3 = q.z;
    const auto degrees = [](double radians) {
        const auto kept = static_cast<float>(radians);
        // The products above carry the rounding of 32-bit floats: an angle below it
        // (a turn of 180 degrees about Y gives -9e-11) is zero, and so is -0.
        if (std::fabs(kept) < std::numeric_limits<float>::epsilon())
            return 0.0f;
        return kept * 57.29578f;
    };
    return {degrees(std::atan2(2.0f * (q0 * q3 + q1 * q2), q0 * q0 + q1 * q1 - q2 * q2 - q3 * q3)),
            degrees(std::asin(-2.0f * (q1 * q3 - q0 * q2))),
            degrees(std::atan2(2.0f * (q0 * q1 + q2 * q3), q0 * q0 - q1 * q1 - q2 * q2 + q3 * q3))};
}

}  // namespace ui
