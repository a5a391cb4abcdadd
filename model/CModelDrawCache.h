#pragma once
// What drawing a model's geometry needs beyond the geometry itself, made once per
// geometry when it is first drawn: its vertices and indices uploaded into GL buffer
// objects, so that a frame hands GL no vertex data (where the context has no buffer
// objects, the geometry's own arrays are drawn from, as before), and the box of each
// frame's most detailed mesh, so that frames outside the view can be left out.
//
// The buffers belong to the GL contexts of the texture cache's generation, as the
// geometry's textures do: a clear of the texture cache deletes them with the
// textures (or leaves them to a context that is gone), and a geometry that goes
// takes its buffers with it at the next miss. Used from one thread, as the texture
// cache is.

#include "model/ClipSpace.h"
#include "model/ModelData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// One face group's indices: where they start in the index buffer, and the least and
// greatest of them, so that GL need not look through them at every draw.
struct GroupDrawData {
    std::size_t indexOffset = 0;  // bytes
    std::uint16_t lowest = 0;
    std::uint16_t highest = 0;
};

struct LodDrawData {
    std::size_t vertexOffset = 0;  // bytes into the vertex buffer
    std::vector<GroupDrawData> groups;
};

struct FrameDrawData {
    std::vector<std::uint32_t> children;  // indices into the frame list, in attach order
    std::vector<LodDrawData> lods;        // as the frame's LODs
    // LOD 0's vertices in the frame's own space; none for a frame without them.
    std::optional<ModelBox> box;
};

struct ModelDrawData {
    std::uint32_t vertexBuffer = 0;  // 0: no buffer objects, drawn from the geometry's arrays
    std::uint32_t indexBuffer = 0;
    std::vector<std::uint32_t> roots;  // the frames without a parent, in file order
    std::vector<FrameDrawData> frames;  // as the geometry's frames
};

class CModelDrawCache {
public:
    static CModelDrawCache& Instance();

    CModelDrawCache(const CModelDrawCache&) = delete;
    CModelDrawCache& operator=(const CModelDrawCache&) = delete;

    // The draw data of `geometry`, made now when there is none of this generation
    // (uploaded into the current GL context). The reference holds until the next call.
    const ModelDrawData& Get(const std::shared_ptr<const ModelGeometry>& geometry);

    // Forgets every geometry's draw data; with `deleteBuffers`, the current context
    // being theirs, deletes their buffer objects.
    void Clear(bool deleteBuffers);

    // Off: no buffer objects are made, as on a context without them (for tests).
    static void SetBuffersAllowed(bool allowed);

    std::size_t GetCount() const { return entries_.size(); }

private:
    CModelDrawCache() = default;

    struct Entry {
        std::weak_ptr<const ModelGeometry> owner;
        std::uint64_t generation = 0;
        ModelDrawData data;
    };

    void DropGone();

    std::unordered_map<const ModelGeometry*, Entry> entries_;
};
