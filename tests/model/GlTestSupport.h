#pragma once
// A headless GL context for the tests that upload textures, and reading a texture
// back from GL to compare its pixels.

#include "core/GameFolders.h"
#include "model/CHeadlessGlContext.h"
#include "model/CTextureManager.h"
#include "tests/support/TempDir.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Textures come from a fresh maps folder; the cache starts empty and is emptied
// again, since its GL names belong to this test's context.
class GlTextureTest : public testing::Test {
protected:
    void SetUp() override
    {
        context_ = std::make_unique<CHeadlessGlContext>();
        if (!context_->IsValid())
            GTEST_SKIP() << "no headless OpenGL context on this machine: " << context_->GetFailure();
        folders_ = std::make_unique<CFixedGameFolders>(dir_.Path().string() + "/Models/", MapsFolder());
        SetGameFolders(folders_.get());
        CTextureManager::Instance().Clear();
    }

    void TearDown() override
    {
        CTextureManager::Instance().Clear();
        SetGameFolders(nullptr);
    }

    std::string MapsFolder() const { return dir_.Path().string() + "/Maps/"; }
    void WriteMap(const std::string& name, const std::string& bytes) const { dir_.Write("Maps/" + name, bytes); }

    testsupport::TempDir dir_;
    std::unique_ptr<CHeadlessGlContext> context_;
    std::unique_ptr<CFixedGameFolders> folders_;
};

struct TexturePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows as GL holds them, first row first
    bool opaque = true;             // every texel's alpha is 1
};

inline TexturePixels ReadTexture(std::uint32_t glName)
{
    TexturePixels pixels;
    glBindTexture(GL_TEXTURE_2D, glName);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &pixels.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &pixels.height);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(pixels.width) * pixels.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!rgba.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (std::size_t at = 0; at < rgba.size(); at += 4) {
        pixels.rgb.insert(pixels.rgb.end(), rgba.begin() + static_cast<std::ptrdiff_t>(at),
                          rgba.begin() + static_cast<std::ptrdiff_t>(at + 3));
        pixels.opaque = pixels.opaque && rgba[at + 3] == 0xFF;
    }
    return pixels;
}
