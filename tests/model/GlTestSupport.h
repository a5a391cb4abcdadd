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
};

inline TexturePixels ReadTexture(std::uint32_t glName)
{
    TexturePixels pixels;
    glBindTexture(GL_TEXTURE_2D, glName);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &pixels.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &pixels.height);
    pixels.rgb.resize(static_cast<std::size_t>(pixels.width) * pixels.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.rgb.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.rgb.data());
    return pixels;
}
