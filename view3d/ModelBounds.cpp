#include "view3d/ModelBounds.h"

#include <algorithm>

namespace {

class CBoxBuilder {
public:
    // False when a transform cannot be followed.
    bool AddFrame(const ModelFrame& frame, const Matrix4& parent, int depth)
    {
        const auto own = PlacementMatrix(frame.position, frame.rotation, frame.scale);
        if (!own || depth > kMostDepth)
            return false;
        const Matrix4 m = Multiply(parent, *own);
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

    void Add(const Matrix4& m, double x, double y, double z)
    {
        GrowBox(box_, {static_cast<float>(m[0] * x + m[4] * y + m[8] * z + m[12]),
                       static_cast<float>(m[1] * x + m[5] * y + m[9] * z + m[13]),
                       static_cast<float>(m[2] * x + m[6] * y + m[10] * z + m[14])});
    }

    std::optional<ModelBox> box_;
};

}  // namespace

std::optional<ModelBox> ComputeModelBox(const C4dsModel& model)
{
    CBoxBuilder builder;
    for (const auto& frame : model.GetFrames()) {
        if (frame->parentIndex == 0 && !builder.AddFrame(*frame, kIdentity4, 0))
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
