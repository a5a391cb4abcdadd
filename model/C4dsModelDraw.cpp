// Drawing a 4DS model with fixed-function GL: the frame tree under the modelview
// matrix, each visual frame's mesh face group by face group from interleaved arrays.
//
// The drawing reads the model only through GetFrames() and GetMaterials() and the
// plain fields of ModelFrame, ModelLod and FaceGroup.

#include "model/C4dsModel.h"
#include "model/CModelBuffers.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Ends the drawing of one model; caught in Draw.
struct DrawFailure {};

class CModelPainter {
public:
    CModelPainter(const C4dsModel& model, std::size_t lod, CModelBuffers* buffers)
        : materials_(model.GetMaterials()), lod_(lod), buffers_(buffers)
    {
        GLint depth = 1;
        GLint maxDepth = 32;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
        pushesLeft_ = std::max(0, maxDepth - depth);
    }

    void DrawFrame(const ModelFrame& frame)
    {
        // A push beyond the stack's depth would be refused while its pop would not.
        if (pushesLeft_ == 0)
            throw DrawFailure{};
        --pushesLeft_;
        glPushMatrix();
        try {
            glTranslatef(frame.position.x, frame.position.y, frame.position.z);
            glRotatef(frame.rotation.angle, frame.rotation.x, frame.rotation.y, frame.rotation.z);
            glScalef(frame.scale.x, frame.scale.y, frame.scale.z);
            if (frame.type == FRAME_VISUAL && lod_ < frame.lods.size())
                DrawLod(frame.lods[lod_]);
            for (const ModelFrame* child : frame.children)
                DrawFrame(*child);
        } catch (...) {
            glPopMatrix();
            ++pushesLeft_;
            throw;
        }
        glPopMatrix();
        ++pushesLeft_;
    }

private:
    void DrawLod(const ModelLod& lod)
    {
        const CModelBuffers::Lod* uploaded = buffers_ ? buffers_->Find(lod) : nullptr;
        const CModelBuffers::BindScope bound(uploaded);
        for (std::size_t g = 0; g < lod.faceGroups.size(); ++g) {
            const FaceGroup& group = lod.faceGroups[g];
            GLfloat colour[4];
            glGetFloatv(GL_CURRENT_COLOR, colour);
            const bool untextured = materials_.empty();
            if (untextured) {
                glDisable(GL_TEXTURE_2D);
            } else if (group.materialIndex != 0) {
                if (group.materialIndex > materials_.size())
                    throw DrawFailure{};
                glBindTexture(GL_TEXTURE_2D, materials_[group.materialIndex - 1].diffuseGlName);
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
            }
            const auto count = static_cast<GLsizei>(std::min<std::size_t>(group.indices.size(), group.faceCount * 3u));
            if (count > 0) {
                if (uploaded)
                    uploaded->DrawGroup(g, count);
                else
                    DrawFromMemory(lod, group, count);
            }
            // Texturing stays on for whatever is drawn after a model without materials.
            if (untextured)
                glEnable(GL_TEXTURE_2D);
            glColor4fv(colour);
        }
    }

    static void DrawFromMemory(const ModelLod& lod, const FaceGroup& group, GLsizei count)
    {
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, lod.vertices.data());
        glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, group.indices.data());
    }

    const std::vector<ModelMaterial>& materials_;
    std::size_t lod_;
    CModelBuffers* buffers_;
    int pushesLeft_ = 0;
};

}  // namespace

void C4dsModel::Draw(std::size_t lod) const
{
    if (!geometry_)
        return;
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    CModelBuffers* buffers = CModelBuffers::ForCurrentContext();
    if (buffers)
        buffers->Prepare(geometry_, lod);
    CModelPainter painter(*this, lod, buffers);
    try {
        for (const auto& frame : GetFrames()) {
            if (frame->parentIndex == 0)
                painter.DrawFrame(*frame);
        }
    } catch (const DrawFailure&) {
    }
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}
