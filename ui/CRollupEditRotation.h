#pragma once
// The "Rotation" page: the object's rotation as three angles in degrees, in the
// disabled fields 1032, 1034, 1036. It only shows; it never writes the object.

#include "ui/CRollupEditVector.h"

namespace ui {

class CRollupEditRotation final : public CRollupEditVector {
public:
    explicit CRollupEditRotation(QWidget* parent = nullptr);

    // Shows the three angles of `rotation` (RotationAngles).
    void SetRotation(const AxisAngle& rotation);

    // The angles "X:", "Y:", "Z:" of a rotation: the quaternion the scene file
    // stores for it (the axis taken as it is, not normalised), turned into three
    // angles, each kept as a 32-bit float in radians and then in degrees. An angle
    // within the rounding of 32-bit floats (below their epsilon in radians, about
    // 7e-6 degrees), and a negative zero, are 0.
    static Vector3 RotationAngles(const AxisAngle& rotation);

protected:
    std::optional<ObjectEdit> EditOf(const Vector3&) const override { return std::nullopt; }
};

}  // namespace ui
