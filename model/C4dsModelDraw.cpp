// Drawing a 4DS model with fixed-function GL: the frame tree under the modelview
// matrix, each visual frame's mesh face group by face group from interleaved arrays
// in the model's memory. (Buffer objects uploaded once per geometry were measured on
// the large benchmark mission: no faster than these arrays with Mesa, so not used.)
//
// The drawing reads the model only through GetFrames() and GetMaterials() and the
// plain fields of ModelFrame, ModelLod and FaceGroup.

#include "model/C4dsModel.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Ends the drawing of one model; caught in Draw.
struct DrawFailure {};

class CModelPainter {
public:
    CModelPainter(const C4dsModel& model, std::size_t lod) : materials_(model.GetMaterials()), lod_(lod)
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
        for (const FaceGroup& group : lod.faceGroups) {
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
                // Every face group declares the arrays again, as GL may have been
                // handed others in between.
                glInterleavedArrays(GL_T2F_N3F_V3F, 0, lod.vertices.data());
                glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, group.indices.data());
            }
            // Texturing stays on for whatever is drawn after a model without materials.
            if (untextured)
                glEnable(GL_TEXTURE_2D);
            glColor4fv(colour);
        }
    }

    const std::vector<ModelMaterial>& materials_;
    std::size_t lod_;
    int pushesLeft_ = 0;
};

}  // namespace

void C4dsModel::Draw(std::size_t lod) const
{
    if (!geometry_)
        return;
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    CModelPainter painter(*this, lod);
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
