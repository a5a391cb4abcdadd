#include "model/CModelBuffers.h"

#include "model/CTextureManager.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>

namespace {

bool gEnabled = true;

// Buffer objects came with GL 1.5.
bool HasBufferObjects()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2)
        return false;
    return major > 1 || (major == 1 && minor >= 5);
}

struct Cache {
    std::unique_ptr<CModelBuffers> buffers;
    std::uint64_t generation = 0;
    bool checked = false;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

}  // namespace

void CModelBuffers::Lod::DrawGroup(std::size_t group, int count) const
{
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, reinterpret_cast<const void*>(groupOffsets[group]));
}

CModelBuffers::BindScope::BindScope(const Lod* lod) : bound_(lod != nullptr)
{
    if (!lod)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, lod->vertexBuffer);
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lod->indexBuffer);
}

// Client-side arrays drawn later must not be taken as offsets into these buffers.
CModelBuffers::BindScope::~BindScope()
{
    if (!bound_)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

CModelBuffers* CModelBuffers::ForCurrentContext()
{
    Cache& cache = TheCache();
    const std::uint64_t generation = CTextureManager::Instance().GetGeneration();
    if (cache.generation != generation) {
        // The names belong to a context that is gone or no longer used.
        cache.buffers.reset();
        cache.generation = generation;
        cache.checked = false;
    }
    if (!gEnabled)
        return nullptr;
    if (!cache.checked) {
        cache.checked = true;
        if (HasBufferObjects())
            cache.buffers.reset(new CModelBuffers);
    }
    return cache.buffers.get();
}

void CModelBuffers::SetEnabled(bool enabled)
{
    gEnabled = enabled;
}

// The GL objects are left to their context, which may be gone by now.
CModelBuffers::~CModelBuffers() = default;

void CModelBuffers::Prepare(const std::shared_ptr<const ModelGeometry>& geometry, std::size_t lod)
{
    auto it = entries_.find(geometry.get());
    if (it != entries_.end() && it->second.owner.expired()) {
        // A new geometry where a released one was.
        ForgetExpired();
        it = entries_.end();
    }
    if (it == entries_.end()) {
        ForgetExpired();
        it = entries_.emplace(geometry.get(), Entry{geometry, {}, {}}).first;
    }
    Entry& entry = it->second;
    if (std::find(entry.preparedLods.begin(), entry.preparedLods.end(), lod) != entry.preparedLods.end())
        return;
    entry.preparedLods.push_back(lod);
    for (const auto& frame : geometry->frames) {
        if (frame->type == FRAME_VISUAL && lod < frame->lods.size()) {
            Upload(frame->lods[lod]);
            entry.uploaded.push_back(&frame->lods[lod]);
        }
    }
}

const CModelBuffers::Lod* CModelBuffers::Find(const ModelLod& lod) const
{
    const auto it = lods_.find(&lod);
    return it == lods_.end() ? nullptr : &it->second;
}

void CModelBuffers::Upload(const ModelLod& lod)
{
    Lod uploaded;
    std::vector<std::uint16_t> indices;
    for (const FaceGroup& group : lod.faceGroups) {
        uploaded.groupOffsets.push_back(indices.size() * sizeof(std::uint16_t));
        indices.insert(indices.end(), group.indices.begin(), group.indices.end());
    }
    GLuint names[2] = {0, 0};
    glGenBuffers(2, names);
    uploaded.vertexBuffer = names[0];
    uploaded.indexBuffer = names[1];
    glBindBuffer(GL_ARRAY_BUFFER, names[0]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(lod.vertices.size() * sizeof(ModelVertex)),
                 lod.vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, names[1]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint16_t)),
                 indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    lods_[&lod] = std::move(uploaded);
}

void CModelBuffers::ForgetExpired()
{
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->second.owner.expired()) {
            ++it;
            continue;
        }
        for (const ModelLod* lod : it->second.uploaded) {
            const auto found = lods_.find(lod);
            if (found == lods_.end())
                continue;
            const GLuint names[2] = {found->second.vertexBuffer, found->second.indexBuffer};
            glDeleteBuffers(2, names);
            lods_.erase(found);
        }
        it = entries_.erase(it);
    }
}
