#pragma once
// The box around what a model draws: every vertex of the first level of detail of
// every visual frame, under the frame tree's transforms, in the model's own space.
// The world window leaves out a thing whose box lies wholly outside the view (or,
// while picking, the pick region): such a thing could not show a pixel or produce a
// hit record anyway.

#include "model/C4dsModel.h"
#include "model/ClipSpace.h"

#include <memory>
#include <optional>
#include <unordered_map>

// Null when the model draws nothing, or when a transform is not finite (the box would
// not be sure to hold what GL draws).
std::optional<ModelBox> ComputeModelBox(const C4dsModel& model);

// The boxes of the models' shared geometries, computed once each; a geometry no
// model holds any more is forgotten when another one's box is computed.
class CModelBoxCache {
public:
    std::optional<ModelBox> BoxOf(const C4dsModel& model);

private:
    struct Entry {
        std::weak_ptr<const ModelGeometry> owner;
        std::optional<ModelBox> box;
    };
    std::unordered_map<const ModelGeometry*, Entry> entries_;
};
