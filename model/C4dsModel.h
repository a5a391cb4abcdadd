#pragma once
// A model in the game's 4DS format: the materials with their textures and the frame
// tree with meshes at several levels of detail. Read only; never written.

#include "model/ClipSpace.h"
#include "model/ModelData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class C4dsModel {
public:
    C4dsModel();
    ~C4dsModel();
    C4dsModel(const C4dsModel&) = delete;
    C4dsModel& operator=(const C4dsModel&) = delete;

    // Path form: `text` is the file's full path (Windows, or Linux beginning with '/')
    // and the model is named "scene". Name form: `text` is a model name without
    // extension, read from the game's models folder with ".4DS" appended. Throws
    // CVerdaxException 3002 when the file cannot be read and 3008 when it lacks the
    // 4DS magic; every other fault drops what it spoils and the model is loaded.
    // Material textures come from the texture cache and need a current GL context;
    // without one the materials hold GL name 0.
    //
    // A file that another model has read already, unchanged since, is not read again:
    // the models share its content (CModelGeometryCache), which none of them changes.
    void Load(const std::string& text, bool pathForm);
    // Loads the model from a whole 4DS file already in memory, as Load reads it, under
    // `name`; shares it with no other model. Throws CVerdaxException 3008 when the
    // bytes lack the 4DS magic.
    void LoadBytes(std::span<const std::uint8_t> file, const std::string& name);
    // Becomes what `other` is: loaded with its name and content when it is loaded,
    // not loaded otherwise. Touches no file: for the many things of a mission that
    // name one model.
    void ShareFrom(const C4dsModel& other);
    bool IsLoaded() const { return loaded_; }
    const std::string& GetName() const;
    void Clear();

    // Draws every root frame with its subtree into the current GL context, each
    // visual frame at level of detail `lod` (0: the most detailed), under the
    // modelview matrix and current colour the caller set. Any fault (a face group
    // naming a material beyond the list, a frame tree deeper than the matrix stack)
    // ends the drawing of this model silently with the matrix stack as it was.
    // Texturing is left as it was found, and no buffer object bound. The geometry is
    // uploaded into buffer objects at its first drawing (CModelDrawCache). Defined in
    // C4dsModelDraw.cpp.
    void Draw(std::size_t lod) const;
    // As Draw, leaving out the meshes of frames whose boxes lie wholly outside the
    // clip volume of `clip`, GL's projection × modelview at the call; their face
    // groups still bind their textures, so what follows looks as after Draw. Returns
    // how many frames' meshes were drawn.
    std::size_t DrawInView(std::size_t lod, const Matrix4& clip) const;
    // Draws nothing, but binds the textures Draw would bind, in the same order: for a
    // model whose whole box the caller found outside the view.
    void SkipDraw(std::size_t lod) const;

    const std::array<std::uint8_t, 10>& GetHeader() const;
    const std::vector<ModelMaterial>& GetMaterials() const;
    const std::vector<std::unique_ptr<ModelFrame>>& GetFrames() const;
    // The content as read, shared with the other models of the same file; null when
    // not loaded.
    const std::shared_ptr<const ModelGeometry>& GetGeometry() const;

private:
    // What a load gives, shared by the models ShareFrom makes of it: a large mission's
    // thousands of things that name one model hold one pointer each, no name of
    // their own.
    struct Content {
        std::string name;
        std::shared_ptr<const ModelGeometry> geometry;
    };

    std::shared_ptr<const Content> content_;
    bool loaded_ = false;
};
