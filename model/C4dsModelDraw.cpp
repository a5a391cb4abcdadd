// Drawing a 4DS model with fixed-function GL: the frame tree under the modelview
// matrix, each visual frame's mesh face group by face group from interleaved arrays:
// the buffer objects the geometry was uploaded into once (CModelDrawCache), or, on a
// context without them, the geometry's own arrays.
//
// What a face group binds stays bound for the next (a group of material 0 draws
// with the texture before it), also across models. So a frame or model left out
// because it lies outside the view still makes its texture bindings: what is drawn
// after it looks the same as when everything is drawn. Within a frame that draws
// from texture stacks (CStackedTexturing) a group selects its texture there instead,
// and GL samples it only when a group is drawn.
//
// The drawing reads the model only through its geometry: GetFrames(),
// GetMaterials() and the plain fields of ModelFrame, ModelLod and FaceGroup.

#include "model/C4dsModel.h"
#include "model/CModelDrawCache.h"
#include "model/CTextureStacks.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace {

// Ends the drawing of one model; caught in Paint.
struct DrawFailure {};

// How much of the model is drawn: all of it, the frames in view, or nothing but the
// texture bindings.
enum class Extent { All, InView, BindingsOnly };

class CModelPainter {
public:
    CModelPainter(const C4dsModel& model, const ModelDrawData& data, std::size_t lod, Extent extent)
        : frames_(model.GetFrames()), materials_(model.GetMaterials()), data_(data), lod_(lod), extent_(extent)
    {
        GLint depth = 1;
        GLint maxDepth = 32;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
        pushesLeft_ = std::max(0, maxDepth - depth);
    }

    // `clip`: projection × modelview under the frame's parent, when frames are left
    // out by their boxes and the transforms so far could be followed.
    void DrawFrame(std::uint32_t index, const std::optional<Matrix4>& parentClip)
    {
        // A push beyond the stack's depth would be refused while its pop would not.
        if (pushesLeft_ == 0)
            throw DrawFailure{};
        --pushesLeft_;
        const bool moves = extent_ != Extent::BindingsOnly;
        if (moves)
            glPushMatrix();
        try {
            const ModelFrame& frame = *frames_[index];
            const FrameDrawData& frameData = data_.frames[index];
            if (moves) {
                glTranslatef(frame.position.x, frame.position.y, frame.position.z);
                glRotatef(frame.rotation.angle, frame.rotation.x, frame.rotation.y, frame.rotation.z);
                glScalef(frame.scale.x, frame.scale.y, frame.scale.z);
            }
            std::optional<Matrix4> clip;
            if (parentClip) {
                if (const auto own = PlacementMatrix(frame.position, frame.rotation, frame.scale))
                    clip = Multiply(*parentClip, *own);
            }
            if (frame.type == FRAME_VISUAL && lod_ < frame.lods.size())
                DrawLod(frame.lods[lod_], frameData.lods[lod_], moves && !OutOfView(frameData, clip));
            for (const std::uint32_t child : frameData.children)
                DrawFrame(child, clip);
        } catch (...) {
            if (moves)
                glPopMatrix();
            ++pushesLeft_;
            throw;
        }
        if (moves)
            glPopMatrix();
        ++pushesLeft_;
    }

    std::size_t MeshesDrawn() const { return meshesDrawn_; }

private:
    // Only the most detailed LOD has a box.
    bool OutOfView(const FrameDrawData& frameData, const std::optional<Matrix4>& clip) const
    {
        return extent_ == Extent::InView && clip && lod_ == 0 && frameData.box && OutsideClipVolume(*clip, *frameData.box);
    }

    // The current colour needs no saving around a draw: the arrays hold no colours,
    // so no draw changes it.
    void DrawLod(const ModelLod& lod, const LodDrawData& lodData, bool visible)
    {
        meshesDrawn_ += visible;
        for (std::size_t g = 0; g < lod.faceGroups.size(); ++g) {
            const FaceGroup& group = lod.faceGroups[g];
            // Without materials texturing is off for the group and on again after it.
            const bool untextured = materials_.empty();
            if (untextured) {
                if (visible)
                    SetUntextured(true);
            } else if (group.materialIndex != 0) {
                if (group.materialIndex > materials_.size())
                    throw DrawFailure{};
                SelectTexture(materials_[group.materialIndex - 1].diffuseGlName);
            }
            if (!visible)
                continue;
            const auto count = static_cast<GLsizei>(std::min<std::size_t>(group.indices.size(), group.faceCount * 3u));
            if (count > 0) {
                if (stacked_ && !untextured)
                    stacked_->Apply();
                DrawGroup(lod, lodData, g, count);
            }
            if (untextured)
                SetUntextured(false);
        }
    }

    void SelectTexture(GLuint name) const
    {
        if (stacked_) {
            stacked_->Select(name);
            return;
        }
        glBindTexture(GL_TEXTURE_2D, name);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }

    void SetUntextured(bool untextured) const
    {
        if (stacked_) {
            if (untextured)
                stacked_->BeginUntextured();
            else
                stacked_->EndUntextured();
        } else if (untextured) {
            glDisable(GL_TEXTURE_2D);
        } else {
            glEnable(GL_TEXTURE_2D);
        }
    }

    // The arrays are declared when this painting has not declared them yet for the
    // LOD: nothing else declares arrays while a model is drawn.
    void DrawGroup(const ModelLod& lod, const LodDrawData& lodData, std::size_t g, GLsizei count)
    {
        const GroupDrawData& group = lodData.groups[g];
        if (data_.vertexBuffer != 0) {
            Declare(&lodData, reinterpret_cast<const void*>(lodData.vertexOffset));
            glDrawRangeElements(GL_TRIANGLES, group.lowest, group.highest, count, GL_UNSIGNED_SHORT,
                                reinterpret_cast<const void*>(group.indexOffset));
        } else {
            Declare(&lod, lod.vertices.data());
            glDrawRangeElements(GL_TRIANGLES, group.lowest, group.highest, count, GL_UNSIGNED_SHORT,
                                lod.faceGroups[g].indices.data());
        }
    }

    // `owner`: what the arrays at `pointer` belong to.
    void Declare(const void* owner, const void* pointer)
    {
        if (declaredFor_ == owner)
            return;
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, pointer);
        declaredFor_ = owner;
    }

    const std::vector<std::unique_ptr<ModelFrame>>& frames_;
    const std::vector<ModelMaterial>& materials_;
    const ModelDrawData& data_;
    std::size_t lod_;
    Extent extent_;
    int pushesLeft_ = 0;
    std::size_t meshesDrawn_ = 0;
    const void* declaredFor_ = nullptr;
    CStackedTexturing* stacked_ = CStackedTexturing::Active();
};

// Binds the geometry's buffers for the painting, and leaves none bound after it.
class BufferBinding {
public:
    explicit BufferBinding(const ModelDrawData& data) : bound_(data.vertexBuffer != 0)
    {
        if (!bound_)
            return;
        glBindBuffer(GL_ARRAY_BUFFER, data.vertexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, data.indexBuffer);
    }
    ~BufferBinding()
    {
        if (!bound_)
            return;
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    BufferBinding(const BufferBinding&) = delete;
    BufferBinding& operator=(const BufferBinding&) = delete;

private:
    bool bound_;
};

std::size_t Paint(const C4dsModel& model, std::size_t lod, Extent extent, const Matrix4* clip)
{
    if (!model.GetGeometry())
        return 0;
    const ModelDrawData& data = CModelDrawCache::Instance().Get(model.GetGeometry());
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    CModelPainter painter(model, data, lod, extent);
    {
        const BufferBinding binding(data);
        const std::optional<Matrix4> rootClip = clip ? std::optional<Matrix4>(*clip) : std::nullopt;
        try {
            for (const std::uint32_t root : data.roots)
                painter.DrawFrame(root, rootClip);
        } catch (const DrawFailure&) {
        }
    }
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    return painter.MeshesDrawn();
}

}  // namespace

void C4dsModel::Draw(std::size_t lod) const
{
    Paint(*this, lod, Extent::All, nullptr);
}

std::size_t C4dsModel::DrawInView(std::size_t lod, const Matrix4& clip) const
{
    return Paint(*this, lod, Extent::InView, &clip);
}

void C4dsModel::SkipDraw(std::size_t lod) const
{
    Paint(*this, lod, Extent::BindingsOnly, nullptr);
}
