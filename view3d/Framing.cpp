#include "view3d/Framing.h"

#include "game/CMission.h"
#include "scene/CSceneObjectThing.h"
#include "view3d/ModelBounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace view3d {
namespace {

bool IsFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// `v` turned by `r` as glRotatef turns it: right-handed about the normalised axis.
// An axis too short to normalise turns nothing.
Vector3 Rotated(const Vector3& v, const AxisAngle& r)
{
    const double length = std::sqrt(double{r.x} * r.x + double{r.y} * r.y + double{r.z} * r.z);
    if (!(length > 1e-6))
        return v;
    const double x = r.x / length, y = r.y / length, z = r.z / length;
    const double a = r.angle * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a), t = 1.0 - c;
    const double dot = x * v.x + y * v.y + z * v.z;
    // Rodrigues' formula: v cos a + (k × v) sin a + k (k · v)(1 − cos a).
    return {static_cast<float>(v.x * c + (y * v.z - z * v.y) * s + x * dot * t),
            static_cast<float>(v.y * c + (z * v.x - x * v.z) * s + y * dot * t),
            static_cast<float>(v.z * c + (x * v.y - y * v.x) * s + z * dot * t)};
}

class CBox {
public:
    void Add(const Vector3& low, const Vector3& high)
    {
        if (!IsFinite(low) || !IsFinite(high))
            return;
        if (!box_) {
            box_ = ModelBox{low, high};
            return;
        }
        box_->min = {std::min(box_->min.x, low.x), std::min(box_->min.y, low.y), std::min(box_->min.z, low.z)};
        box_->max = {std::max(box_->max.x, high.x), std::max(box_->max.y, high.y), std::max(box_->max.z, high.z)};
    }

    void Add(const Sphere& sphere)
    {
        const Vector3& c = sphere.centre;
        const float r = sphere.radius;
        Add({c.x - r, c.y - r, c.z - r}, {c.x + r, c.y + r, c.z + r});
    }

    std::optional<Sphere> Around() const
    {
        if (!box_)
            return std::nullopt;
        const Vector3& low = box_->min;
        const Vector3& high = box_->max;
        const Vector3 half{(high.x - low.x) / 2, (high.y - low.y) / 2, (high.z - low.z) / 2};
        const Vector3 centre{low.x + half.x, low.y + half.y, low.z + half.z};
        const float radius = std::sqrt(half.x * half.x + half.y * half.y + half.z * half.z);
        if (!IsFinite(centre) || !std::isfinite(radius))
            return std::nullopt;
        return Sphere{centre, radius};
    }

private:
    std::optional<ModelBox> box_;
};

}  // namespace

Sphere ThingSphere(const CSceneObjectThing& thing, float markerRadius)
{
    const Vector3 t = thing.GetTranslation();
    const std::optional<ModelBox> box =
        thing.GetModel().IsLoaded() ? ComputeModelBox(thing.GetModel()) : std::nullopt;
    if (!box)
        return {t, markerRadius};
    const Vector3 s = thing.GetScale();
    const Vector3 centre{(box->min.x + box->max.x) / 2, (box->min.y + box->max.y) / 2, (box->min.z + box->max.z) / 2};
    const Vector3 turned = Rotated({centre.x * s.x, centre.y * s.y, centre.z * s.z}, thing.GetRotation());
    const Vector3 size{box->max.x - box->min.x, box->max.y - box->min.y, box->max.z - box->min.z};
    const float halfDiagonal = std::sqrt(size.x * size.x + size.y * size.y + size.z * size.z) / 2;
    const float largestScale = std::max({std::abs(s.x), std::abs(s.y), std::abs(s.z)});
    return {{t.x + turned.x, t.y + turned.y, t.z + turned.z}, halfDiagonal * largestScale};
}

std::optional<Sphere> MissionSphere(const CMission& mission, float markerRadius)
{
    CBox box;
    if (mission.GetWorldModel().IsLoaded()) {
        if (const std::optional<ModelBox> world = ComputeModelBox(mission.GetWorldModel()))
            box.Add(world->min, world->max);
    }
    for (const auto& thing : mission.GetThings()) {
        if (thing)
            box.Add(ThingSphere(*thing, markerRadius));
    }
    return box.Around();
}

}  // namespace view3d
