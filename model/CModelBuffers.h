#pragma once
// Buffer objects holding the meshes of loaded models, so that drawing a face group
// hands GL no vertex data: each file's geometry is uploaded once per level of
// detail, the first time it is drawn, and shared by every model of that file.
//
// The buffers belong to the GL share group that was current when they were made.
// Like the texture cache's GL names, they hold for one texture-cache generation:
// CTextureManager::Clear() (a new context) forgets them. A geometry that no model
// holds any more gives its buffers back the next time another geometry is uploaded.
//
// Drawing from memory (client-side arrays) remains the fallback: without GL 1.5 and
// while disabled, ForCurrentContext() gives null. The pictures are the same either way.

#include "model/ModelData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class CModelBuffers {
public:
    // The buffers of one level of detail of one visual frame.
    struct Lod {
        std::uint32_t vertexBuffer = 0;
        std::uint32_t indexBuffer = 0;
        std::vector<std::size_t> groupOffsets;  // bytes into the index buffer, per face group

        // Draws `count` indices of face group `group`; the buffers must be bound.
        void DrawGroup(std::size_t group, int count) const;
    };

    // Binds a LOD's buffers and declares the interleaved arrays for the scope;
    // nothing for null.
    class BindScope {
    public:
        explicit BindScope(const Lod* lod);
        ~BindScope();
        BindScope(const BindScope&) = delete;
        BindScope& operator=(const BindScope&) = delete;

    private:
        bool bound_;
    };

    // The cache for the current context, or null when buffer objects are disabled or
    // the context has none.
    static CModelBuffers* ForCurrentContext();

    // On by default; off draws every model from memory (benchmarks and tests compare).
    static void SetEnabled(bool enabled);

    // Uploads level `lod` of every visual frame of `geometry` unless done already.
    void Prepare(const std::shared_ptr<const ModelGeometry>& geometry, std::size_t lod);

    // The buffers of `lod`, when its geometry was prepared; else null.
    const Lod* Find(const ModelLod& lod) const;

    ~CModelBuffers();

private:
    struct Entry {
        std::weak_ptr<const ModelGeometry> owner;
        std::vector<std::size_t> preparedLods;
        std::vector<const ModelLod*> uploaded;  // keys of lods_, freed with the geometry
    };

    CModelBuffers() = default;
    void ForgetExpired();
    void Upload(const ModelLod& lod);

    std::unordered_map<const ModelGeometry*, Entry> entries_;
    std::unordered_map<const ModelLod*, Lod> lods_;
};
