#pragma once
// A model in the game's 4DS format: the materials with their textures and the frame
// tree with meshes at several levels of detail. Read only; never written.

#include "model/ModelData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CByteCursor;

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
    void Load(const std::string& text, bool pathForm);
    bool IsLoaded() const { return loaded_; }
    const std::string& GetName() const { return name_; }
    void Clear();

    const std::array<std::uint8_t, 10>& GetHeader() const { return header_; }
    const std::vector<ModelMaterial>& GetMaterials() const { return materials_; }
    const std::vector<std::unique_ptr<ModelFrame>>& GetFrames() const { return frames_; }

private:
    void Parse(std::span<const std::uint8_t> file);
    void ReadMaterials(CByteCursor& in);
    void ReadFrames(CByteCursor& in);
    // False when the parent index names no frame kept before this one.
    bool AttachToParent(ModelFrame& frame);

    std::array<std::uint8_t, 10> header_{};
    std::string name_;
    std::vector<ModelMaterial> materials_;
    std::vector<std::unique_ptr<ModelFrame>> frames_;  // file order, dropped frames left out
    bool loaded_ = false;
};
