#pragma once
// Drawing tests in the headless context: a small offscreen frame, a flat projection
// in pixels, solid-colour bitmaps for textures, and 4DS models of flat squares, so
// that a pixel read back tells which face group or frame was drawn there.

#include "model/C4dsModel.h"
#include "tests/model/GlTestSupport.h"
#include "tests/support/BitmapBytes.h"
#include "tests/support/ModelBytes.h"
#include "view3d/COffscreenFrame.h"

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

namespace drawtest {

using Rgb = std::array<std::uint8_t, 3>;

// A 4 x 4 24-bit bitmap of one colour (rows of 12 bytes need no padding).
inline std::string SolidBitmap(Rgb colour)
{
    testsupport::ByteWriter w;
    testsupport::BitmapFields f;
    f.width = 4;
    f.height = 4;
    testsupport::BitmapHeaders(w, f);
    for (int i = 0; i < 16; ++i)
        w.U8(colour[2]).U8(colour[1]).U8(colour[0]);
    return w.Str();
}

// A face group of a square from (x0, y0) to (x1, y1) at z = 0.
struct Square {
    float x0, y0, x1, y1;
    std::uint16_t material;
};

// A visual frame whose one LOD holds the squares, four vertices each, turned by the
// stored quaternion `rotation` (w, x, y, z).
inline void SquaresFrame(testsupport::ByteWriter& w, std::uint16_t parent, std::array<float, 3> position,
                         const std::vector<Square>& squares, std::array<float, 4> rotation = {1, 0, 0, 0})
{
    testsupport::FrameFields f;
    f.type = 1;
    f.parent = parent;
    f.position[0] = position[0];
    f.position[1] = position[1];
    f.position[2] = position[2];
    for (std::size_t i = 0; i < 4; ++i)
        f.rotation[i] = rotation[i];
    testsupport::FrameHeader(w, f);
    w.U16(0);  // instance index: a mesh of its own
    w.U8(1);   // one LOD
    w.F32(0.0f).U16(static_cast<std::uint16_t>(squares.size() * 4));
    for (const Square& s : squares) {
        testsupport::FileVertex(w, s.x0, s.y0, 0, 0, 0, 1, 0, 0);
        testsupport::FileVertex(w, s.x1, s.y0, 0, 0, 0, 1, 1, 0);
        testsupport::FileVertex(w, s.x1, s.y1, 0, 0, 0, 1, 1, 1);
        testsupport::FileVertex(w, s.x0, s.y1, 0, 0, 0, 1, 0, 1);
    }
    w.U8(static_cast<std::uint8_t>(squares.size()));
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const auto base = static_cast<std::uint16_t>(i * 4);
        w.U16(2);  // two faces
        w.U16(base).U16(base + 1).U16(base + 2).U16(base).U16(base + 2).U16(base + 3);
        w.U16(squares[i].material);
    }
}

// The start of a model with materials naming these diffuse textures (flags 0).
inline testsupport::ByteWriter ModelStart(const std::vector<std::string>& textures)
{
    testsupport::ByteWriter w;
    testsupport::ModelMagic(w).U16(static_cast<std::uint16_t>(textures.size()));
    for (const std::string& name : textures)
        testsupport::MaterialStart(w, 0).Name8(name);
    return w;
}

// A 64 x 64 frame with x and y in pixels, unlit, textured, nothing culled.
class FlatDrawTest : public GlTextureTest {
protected:
    void SetUp() override
    {
        GlTextureTest::SetUp();
        if (IsSkipped())
            return;
        frame_ = std::make_unique<COffscreenFrame>(kSize, kSize);
        ASSERT_TRUE(frame_->IsValid()) << frame_->GetFailure();
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kSize, 0, kSize, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        WriteMap("red.bmp", SolidBitmap({255, 0, 0}));
        WriteMap("blue.bmp", SolidBitmap({0, 0, 255}));
        WriteMap("green.bmp", SolidBitmap({0, 255, 0}));
        WriteMap("white.bmp", SolidBitmap({255, 255, 255}));
    }

    void TearDown() override
    {
        frame_.reset();
        GlTextureTest::TearDown();
    }

    std::unique_ptr<C4dsModel> LoadModel(const testsupport::ByteWriter& w, const std::string& file = "m.4ds")
    {
        const auto path = dir_.Write(file, w.Str());
        auto model = std::make_unique<C4dsModel>();
        model->Load(path.string(), true);
        return model;
    }

    // The pixel at x, y counted from the bottom left, as GL counts.
    Rgb Pixel(int x, int y) const
    {
        const auto rgb = frame_->ReadRgb();
        const std::size_t at = (static_cast<std::size_t>(kSize - 1 - y) * kSize + x) * 3;
        return {rgb[at], rgb[at + 1], rgb[at + 2]};
    }

    static GLint StackDepth()
    {
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        return depth;
    }

    static constexpr int kSize = 64;
    std::unique_ptr<COffscreenFrame> frame_;
};

inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

}  // namespace drawtest
