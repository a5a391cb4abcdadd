#include "view3d/ModelBounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Column-major, as GL keeps its matrices.
using Matrix = std::array<double, 16>;

constexpr Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                m[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return m;
}

// What glTranslatef, glRotatef and glScalef multiply on, in that order.
std::optional<Matrix> FrameTransform(const ModelFrame& frame)
{
    Matrix translate = kIdentity;
    translate[12] = frame.position.x;
    translate[13] = frame.position.y;
    translate[14] = frame.position.z;
    Matrix rotate = kIdentity;
    const double length = std::sqrt(double(frame.rotation.x) * frame.rotation.x +
                                    double(frame.rotation.y) * frame.rotation.y +
                                    double(frame.rotation.z) * frame.rotation.z);
    // GL leaves out a rotation about an axis too short to normalise; how short is
    // its own choice, so such frames get no box.
    if (length > 1e-3) {
        const double x = frame.rotation.x / length, y = frame.rotation.y / length, z = frame.rotation.z / length;
        const double a = frame.rotation.angle * std::numbers::pi / 180.0;
        const double c = std::cos(a), s = std::sin(a), t = 1 - c;
        rotate = {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0,
                  t * x * y - s * z, t * y * y + c,     t * y * z + s * x, 0,
                  t * x * z + s * y, t * y * z - s * x, t * z * z + c,     0,
                  0,                 0,                 0,                 1};
    } else if (frame.rotation.angle != 0) {
        return std::nullopt;
    }
    Matrix scale = kIdentity;
    scale[0] = frame.scale.x;
    scale[5] = frame.scale.y;
    scale[10] = frame.scale.z;
    const Matrix m = Multiply(Multiply(translate, rotate), scale);
    if (!std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    return m;
}

class CBoxBuilder {
public:
    // False when a transform cannot be followed.
    bool AddFrame(const ModelFrame& frame, const Matrix& parent, int depth)
    {
        const auto own = FrameTransform(frame);
        if (!own || depth > kMostDepth)
            return false;
        const Matrix m = Multiply(parent, *own);
        if (frame.type == FRAME_VISUAL && !frame.lods.empty()) {
            for (const ModelVertex& v : frame.lods[0].vertices)
                Add(m, v.x, v.y, v.z);
        }
        return std::all_of(frame.children.begin(), frame.children.end(),
                           [&](const ModelFrame* child) { return AddFrame(*child, m, depth + 1); });
    }

    std::optional<ModelBox> Box() const { return box_; }

private:
    // Deeper trees end their drawing anyway (the matrix stack).
    static constexpr int kMostDepth = 64;

    void Add(const Matrix& m, double x, double y, double z)
    {
        const Vector3 p{static_cast<float>(m[0] * x + m[4] * y + m[8] * z + m[12]),
                        static_cast<float>(m[1] * x + m[5] * y + m[9] * z + m[13]),
                        static_cast<float>(m[2] * x + m[6] * y + m[10] * z + m[14])};
        if (!box_) {
            box_ = ModelBox{p, p};
            return;
        }
        box_->min = {std::min(box_->min.x, p.x), std::min(box_->min.y, p.y), std::min(box_->min.z, p.z)};
        box_->max = {std::max(box_->max.x, p.x), std::max(box_->max.y, p.y), std::max(box_->max.z, p.z)};
    }

    std::optional<ModelBox> box_;
};

}  // namespace

std::optional<ModelBox> ComputeModelBox(const C4dsModel& model)
{
    CBoxBuilder builder;
    for (const auto& frame : model.GetFrames()) {
        if (frame->parentIndex == 0 && !builder.AddFrame(*frame, kIdentity, 0))
            return std::nullopt;
    }
    return builder.Box();
}

std::optional<ModelBox> CModelBoxCache::BoxOf(const C4dsModel& model)
{
    const auto& geometry = model.GetGeometry();
    if (!geometry)
        return std::nullopt;
    const auto found = entries_.find(geometry.get());
    if (found != entries_.end() && !found->second.owner.expired())
        return found->second.box;
    std::erase_if(entries_, [](const auto& entry) { return entry.second.owner.expired(); });
    const auto box = ComputeModelBox(model);
    entries_[geometry.get()] = Entry{geometry, box};
    return box;
}
