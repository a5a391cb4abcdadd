#pragma once
// A model in the game's 4DS format: the materials with their textures and the frame
// tree with meshes at several levels of detail. Read only; never written.
// (Interface first; the reader is being built.)

#include <string>

class C4dsModel {
public:
    C4dsModel() = default;
    ~C4dsModel() = default;
    C4dsModel(const C4dsModel&) = delete;
    C4dsModel& operator=(const C4dsModel&) = delete;

    // Path form: `text` is the file's full path and the model is named "scene".
    // Name form: `text` is a model name without extension, read from the game's models
    // folder with ".4DS" appended. Throws CVerdaxException 3002 or 3008.
    void Load(const std::string& text, bool pathForm);
    bool IsLoaded() const { return loaded_; }
    const std::string& GetName() const { return name_; }
    void Clear();

private:
    std::string name_;
    bool loaded_ = false;
};
