#include "model/CModelDrawCache.h"

#include "model/CTexture.h"
#include "model/CTextureManager.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <span>

namespace {

bool g_buffersAllowed = true;

constexpr std::uint16_t kNoIndex = 0;

// The indices a face group draws, as the drawing counts them.
std::size_t DrawnIndices(const FaceGroup& group)
{
    return std::min<std::size_t>(group.indices.size(), group.faceCount * std::size_t{3});
}

std::optional<ModelBox> LodBox(const ModelLod& lod)
{
    std::optional<ModelBox> box;
    for (const ModelVertex& v : lod.vertices)
        GrowBox(box, {v.x, v.y, v.z});
    return box;
}

struct Sizes {
    std::size_t vertexBytes = 0;
    std::size_t indexBytes = 0;
};

// Where each LOD's vertices and each face group's indices go in the buffers, the
// frame tree by indices, and the boxes.
ModelDrawData Layout(const ModelGeometry& geometry, Sizes& sizes)
{
    ModelDrawData data;
    std::unordered_map<const ModelFrame*, std::uint32_t> indexOf;
    for (std::size_t i = 0; i < geometry.frames.size(); ++i)
        indexOf.emplace(geometry.frames[i].get(), static_cast<std::uint32_t>(i));
    data.frames.resize(geometry.frames.size());
    for (std::size_t i = 0; i < geometry.frames.size(); ++i) {
        const ModelFrame& frame = *geometry.frames[i];
        FrameDrawData& frameData = data.frames[i];
        if (frame.parentIndex == 0)
            data.roots.push_back(static_cast<std::uint32_t>(i));
        for (const ModelFrame* child : frame.children) {
            if (const auto found = indexOf.find(child); found != indexOf.end())
                frameData.children.push_back(found->second);
        }
        for (const ModelLod& lod : frame.lods) {
            LodDrawData lodData;
            lodData.vertexOffset = sizes.vertexBytes;
            sizes.vertexBytes += lod.vertices.size() * sizeof(ModelVertex);
            for (const FaceGroup& group : lod.faceGroups) {
                const auto indices = std::span(group.indices).first(DrawnIndices(group));
                const auto [lowest, highest] = std::ranges::minmax(indices.empty() ? std::span<const std::uint16_t>(
                                                                                         &kNoIndex, 1)
                                                                                   : indices);
                lodData.groups.push_back({sizes.indexBytes, lowest, highest});
                sizes.indexBytes += indices.size() * sizeof(std::uint16_t);
            }
            frameData.lods.push_back(std::move(lodData));
        }
        if (frame.type == FRAME_VISUAL && !frame.lods.empty())
            frameData.box = LodBox(frame.lods.front());
    }
    return data;
}

// Every LOD's vertices and every face group's indices into two buffer objects of the
// current context; none when it has no buffer objects (before GL 1.5) or no room
// for these.
void Upload(const ModelGeometry& geometry, const Sizes& sizes, ModelDrawData& data)
{
    if (!g_buffersAllowed || sizes.vertexBytes == 0 || sizes.indexBytes == 0 || !GlVersionAtLeast(1, 5))
        return;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint buffers[2] = {};
    glGenBuffers(2, buffers);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizes.vertexBytes), nullptr, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizes.indexBytes), nullptr, GL_STATIC_DRAW);
    for (std::size_t i = 0; i < geometry.frames.size(); ++i) {
        const ModelFrame& frame = *geometry.frames[i];
        for (std::size_t l = 0; l < frame.lods.size(); ++l) {
            const ModelLod& lod = frame.lods[l];
            const LodDrawData& lodData = data.frames[i].lods[l];
            if (!lod.vertices.empty())
                glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(lodData.vertexOffset),
                                static_cast<GLsizeiptr>(lod.vertices.size() * sizeof(ModelVertex)), lod.vertices.data());
            for (std::size_t g = 0; g < lod.faceGroups.size(); ++g) {
                const std::size_t count = DrawnIndices(lod.faceGroups[g]);
                if (count > 0)
                    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLintptr>(lodData.groups[g].indexOffset),
                                    static_cast<GLsizeiptr>(count * sizeof(std::uint16_t)),
                                    lod.faceGroups[g].indices.data());
            }
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteBuffers(2, buffers);
        return;
    }
    data.vertexBuffer = buffers[0];
    data.indexBuffer = buffers[1];
}

void DeleteBuffers(const ModelDrawData& data)
{
    if (data.vertexBuffer == 0)
        return;
    const GLuint buffers[2] = {data.vertexBuffer, data.indexBuffer};
    glDeleteBuffers(2, buffers);
}

}  // namespace

CModelDrawCache& CModelDrawCache::Instance()
{
    static CModelDrawCache cache;
    return cache;
}

void CModelDrawCache::SetBuffersAllowed(bool allowed)
{
    g_buffersAllowed = allowed;
}

const ModelDrawData& CModelDrawCache::Get(const std::shared_ptr<const ModelGeometry>& geometry)
{
    const std::uint64_t generation = CTextureManager::Instance().GetGeneration();
    if (const auto found = entries_.find(geometry.get()); found != entries_.end()) {
        // A live owner at the same address is this very geometry.
        if (found->second.generation == generation && !found->second.owner.expired())
            return found->second.data;
        if (found->second.generation == generation)
            DeleteBuffers(found->second.data);
        entries_.erase(found);
    }
    DropGone();
    Sizes sizes;
    Entry entry{geometry, generation, Layout(*geometry, sizes)};
    Upload(*geometry, sizes, entry.data);
    return entries_.emplace(geometry.get(), std::move(entry)).first->second.data;
}

// The buffers of geometries no model holds any more; the current context is of the
// same generation as theirs (a clear of the texture cache empties this cache).
void CModelDrawCache::DropGone()
{
    const std::uint64_t generation = CTextureManager::Instance().GetGeneration();
    std::erase_if(entries_, [generation](const auto& entry) {
        if (!entry.second.owner.expired())
            return false;
        if (entry.second.generation == generation)
            DeleteBuffers(entry.second.data);
        return true;
    });
}

void CModelDrawCache::Clear(bool deleteBuffers)
{
    if (deleteBuffers) {
        for (const auto& [geometry, entry] : entries_)
            DeleteBuffers(entry.data);
    }
    entries_.clear();
}
