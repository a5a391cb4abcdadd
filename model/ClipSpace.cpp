#include "model/ClipSpace.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// GL's matrices are single precision: a corner counts as beyond a plane only when it
// is beyond it by more than this share of its distance scale, so that a box that GL
// might still see as touching the volume is drawn.
constexpr double kRelativeMargin = 1e-4;

bool AllFinite(const Matrix4& m)
{
    return std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 m{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                m[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return m;
}

// T × R × S in closed form: the rotation's columns scaled, the translation beside.
std::optional<Matrix4> PlacementMatrix(const Vector3& t, const AxisAngle& r, const Vector3& s)
{
    double x = 0, y = 0, z = 0, c = 1, sn = 0;
    const double length = std::sqrt(double(r.x) * r.x + double(r.y) * r.y + double(r.z) * r.z);
    // GL leaves out a rotation about an axis too short to normalise; how short is
    // its own choice, so such placements are not followed.
    if (length > 1e-3) {
        x = r.x / length;
        y = r.y / length;
        z = r.z / length;
        const double a = r.angle * std::numbers::pi / 180.0;
        c = std::cos(a);
        sn = std::sin(a);
    } else if (r.angle != 0) {
        return std::nullopt;
    }
    const double k = 1 - c;
    const Matrix4 m = {(k * x * x + c) * s.x,      (k * x * y + sn * z) * s.x, (k * x * z - sn * y) * s.x, 0,
                       (k * x * y - sn * z) * s.y, (k * y * y + c) * s.y,      (k * y * z + sn * x) * s.y, 0,
                       (k * x * z + sn * y) * s.z, (k * y * z - sn * x) * s.z, (k * z * z + c) * s.z,      0,
                       t.x,                        t.y,                        t.z,                        1};
    if (!AllFinite(m))
        return std::nullopt;
    return m;
}

void GrowBox(std::optional<ModelBox>& box, const Vector3& p)
{
    if (!box) {
        box = ModelBox{p, p};
        return;
    }
    box->min = {std::min(box->min.x, p.x), std::min(box->min.y, p.y), std::min(box->min.z, p.z)};
    box->max = {std::max(box->max.x, p.x), std::max(box->max.y, p.y), std::max(box->max.z, p.z)};
}

bool OutsideClipVolume(const Matrix4& m, const ModelBox& box)
{
    // Bit 2i: beyond the lower plane of axis i (c < -w); bit 2i + 1: the upper (c > w).
    unsigned beyondAll = 0x3F;
    for (int corner = 0; corner < 8 && beyondAll != 0; ++corner) {
        const double x = corner & 1 ? box.max.x : box.min.x;
        const double y = corner & 2 ? box.max.y : box.min.y;
        const double z = corner & 4 ? box.max.z : box.min.z;
        double clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
        const double w = clip[3];
        unsigned beyond = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const double c = clip[axis];
            const double margin = kRelativeMargin * (std::abs(c) + std::abs(w));
            if (c + w < -margin)
                beyond |= 1u << (2 * axis);
            if (c - w > margin)
                beyond |= 2u << (2 * axis);
        }
        beyondAll &= beyond;
    }
    return beyondAll != 0;  // a value that is not a number is beyond nothing
}
