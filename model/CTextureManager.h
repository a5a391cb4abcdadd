#pragma once
// The process-wide texture cache: a texture file name becomes one GL texture,
// read and uploaded on the first request and shared by every later one. Names are
// compared byte for byte, so names differing in letter case are two textures.

#include "model/CTexture.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CTextureManager {
public:
    // The one cache, created at first use and destroyed at process exit.
    static CTextureManager& Instance();

    CTextureManager(const CTextureManager&) = delete;
    CTextureManager& operator=(const CTextureManager&) = delete;
    virtual ~CTextureManager();

    // The cached texture of that name, or a new one loaded from the maps folder. Needs
    // a current GL context. A failed load caches nothing and passes the
    // CVerdaxException on, so a later request tries the file again.
    CTexture& GetTexture(const std::string& fileName);

    // Called before each texture is uploaded, to make current a GL context whose
    // textures every view can use (the editor: its windows' shared context). None by
    // default: the texture goes to whatever context is current.
    void SetUploadContext(std::function<void()> makeCurrent) { uploadContext_ = std::move(makeCurrent); }

    // Whether a texture could be loaded now, with the upload context made current
    // first where one is set: false without a current GL context.
    bool CanLoadTextures();

    std::size_t GetCount() const { return textures_.size(); }
    // The textures in the order first loaded; index below GetCount().
    const CTexture& GetAt(std::size_t index) const { return *textures_[index]; }

    // Forgets every texture, and the models' buffer objects (CModelDrawCache). With a
    // GL context current, which must then be the one they were made in, their GL
    // objects are deleted; without one they are left to their context, which frees
    // them when it goes. For a new GL context whose
    // names the cached ones would not be, for a new load from scratch, and for tests.
    void Clear();

    // Counts the clears: what holds GL names or textures of this cache holds them for
    // one generation only.
    std::uint64_t GetGeneration() const { return generation_; }

private:
    CTextureManager() = default;

    std::vector<std::unique_ptr<CTexture>> textures_;  // in the order first loaded
    // The same by name: a world model names hundreds of textures, each once per
    // material.
    std::unordered_map<std::string, CTexture*> byName_;
    std::uint64_t generation_ = 0;
    std::function<void()> uploadContext_;
};
