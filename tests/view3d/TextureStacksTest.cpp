// Texture stacks: within a frame models draw from 3D textures, and the picture and
// what stays bound afterwards are those of drawing from the 2D textures.

#include "model/CTextureManager.h"
#include "model/CTextureStacks.h"
#include "tests/view3d/DrawTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace {

using drawtest::FlatDrawTest;
using drawtest::ModelStart;
using testsupport::ByteWriter;

// A 24-bit bitmap whose texels all differ, so that a texel taken from the wrong
// place shows.
std::string PatternBitmap(int width, int height)
{
    ByteWriter w;
    testsupport::BitmapFields f;
    f.width = width;
    f.height = height;
    testsupport::BitmapHeaders(w, f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            w.U8(static_cast<std::uint8_t>(x * 29 + y * 7)).U8(static_cast<std::uint8_t>(x * 3 + y * 61)).U8(
                static_cast<std::uint8_t>(40 + x * 11 + y * 23));
        testsupport::RowPadding(w, static_cast<std::size_t>(width) * 3);
    }
    return w.Str();
}

// A square from (x0, y0) to (x1, y1) whose texture coordinates run from (u0, v0)
// to (u1, v1): beyond 0 and 1, so that the texture repeats.
struct UvSquare {
    float x0, y0, x1, y1;
    float u0, v0, u1, v1;
    std::uint16_t material;
};

void UvSquaresFrame(ByteWriter& w, const std::vector<UvSquare>& squares)
{
    testsupport::FrameFields f;
    f.type = 1;
    f.rotation[0] = 1;
    testsupport::FrameHeader(w, f);
    w.U16(0).U8(1);
    w.F32(0.0f).U16(static_cast<std::uint16_t>(squares.size() * 4));
    for (const UvSquare& s : squares) {
        testsupport::FileVertex(w, s.x0, s.y0, 0, 0, 0, 1, s.u0, s.v0);
        testsupport::FileVertex(w, s.x1, s.y0, 0, 0, 0, 1, s.u1, s.v0);
        testsupport::FileVertex(w, s.x1, s.y1, 0, 0, 0, 1, s.u1, s.v1);
        testsupport::FileVertex(w, s.x0, s.y1, 0, 0, 0, 1, s.u0, s.v1);
    }
    w.U8(static_cast<std::uint8_t>(squares.size()));
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const auto base = static_cast<std::uint16_t>(i * 4);
        w.U16(2).U16(base).U16(base + 1).U16(base + 2).U16(base).U16(base + 2).U16(base + 3);
        w.U16(squares[i].material);
    }
}

class TextureStacks : public FlatDrawTest {
protected:
    void TearDown() override
    {
        CTextureStacks::SetAllowed(true);
        FlatDrawTest::TearDown();
    }

    // Eight squares of 16 x 32 pixels. Below, left to right: a small texture of
    // power-of-two sides (repeated in its slice), a texture that failed to load, one
    // of other sides, one wider than the tiled side. Above: a group of material 0
    // at the start of the drawing (the texture bound before), one after those four,
    // a model without materials, and a model whose group of material 0 follows it.
    // Within a frame that draws from stacks, when `stacked`.
    std::vector<std::uint8_t> DrawAll(GLuint boundBefore, bool stacked)
    {
        glClear(GL_COLOR_BUFFER_BIT);
        glBindTexture(GL_TEXTURE_2D, boundBefore);
        std::optional<CStackedTexturing> frame;
        if (stacked) {
            frame.emplace();
            EXPECT_EQ(CStackedTexturing::Active(), &*frame);
        }
        for (const auto& model : models_)
            model->Draw(0);
        frame.reset();
        return frame_->ReadRgb();
    }

    void LoadModels()
    {
        WriteMap("p8x4.bmp", PatternBitmap(8, 4));
        WriteMap("p5x3.bmp", PatternBitmap(5, 3));
        WriteMap("p256x2.bmp", PatternBitmap(256, 2));
        ByteWriter carried = ModelStart({"white.bmp"});
        carried.U16(1);
        UvSquaresFrame(carried, {{0, 32, 16, 64, -0.4f, 0.2f, 1.7f, 2.9f, 0}});
        ByteWriter textured = ModelStart({"p8x4.bmp", "missing.bmp", "p5x3.bmp", "p256x2.bmp"});
        textured.U16(1);
        UvSquaresFrame(textured, {{0, 0, 16, 32, -1.3f, -0.6f, 2.7f, 3.1f, 1},
                                  {16, 0, 32, 32, 0, 0, 1, 1, 2},
                                  {32, 0, 48, 32, -2.2f, 0.3f, 1.9f, 4.4f, 3},
                                  {48, 0, 64, 32, -0.7f, -3.3f, 1.2f, 2.2f, 4},
                                  {16, 32, 32, 64, 0.1f, -1.1f, 3.3f, 0.9f, 0}});
        ByteWriter plain;
        testsupport::ModelMagic(plain).U16(0).U16(1);
        UvSquaresFrame(plain, {{32, 32, 48, 64, 0, 0, 1, 1, 0}});
        ByteWriter after = ModelStart({"white.bmp"});
        after.U16(1);
        UvSquaresFrame(after, {{48, 32, 64, 64, -5.5f, 1.5f, -2.5f, 3.5f, 0}});
        models_.push_back(LoadModel(carried, "carried.4ds"));
        models_.push_back(LoadModel(textured, "textured.4ds"));
        models_.push_back(LoadModel(plain, "plain.4ds"));
        models_.push_back(LoadModel(after, "after.4ds"));
    }

    static GLuint TextureOf(const std::string& name)
    {
        return CTextureManager::Instance().GetTexture(name).GetGlName();
    }

    std::vector<std::unique_ptr<C4dsModel>> models_;
};

TEST_F(TextureStacks, AFrameDrawsFromThemThePictureOfTheTwoDTexturesAndLeavesTheSameBinding)
{
    LoadModels();
    const GLuint p5x3 = TextureOf("p5x3.bmp");
    const auto flat = DrawAll(p5x3, false);
    EXPECT_EQ(CTextureStacks::Instance().GetStackCount(), 0u);  // drawing outside a frame binds 2D textures
    EXPECT_EQ(Pixel(24, 16), (drawtest::Rgb{255, 255, 255}));   // the texture that failed: untextured
    EXPECT_NE(Pixel(2, 48), Pixel(12, 48));                     // the carried pattern

    const auto stacked = DrawAll(p5x3, true);
    // The 128 x 128 slices of the 8 x 4 texture and of white.bmp, the 5 x 3 ones and
    // the 256 x 128 ones.
    EXPECT_EQ(CTextureStacks::Instance().GetStackCount(), 3u);
    EXPECT_EQ(stacked, flat);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), TextureOf("p256x2.bmp"));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_3D));
    std::array<float, 16> matrix{};
    glGetFloatv(GL_TEXTURE_MATRIX, matrix.data());
    EXPECT_EQ(matrix, (std::array<float, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    CTextureManager::Instance().Clear();
    EXPECT_EQ(CTextureStacks::Instance().GetStackCount(), 0u);
}

// Where the slots' matrices could not stand in for the texture matrix, or 2D
// texturing is off, or stacks are not allowed, a frame binds 2D textures.
TEST_F(TextureStacks, AFrameTakesNoEffectWhereItsSlotsCouldNotStandInForTwoDTextures)
{
    LoadModels();
    glMatrixMode(GL_TEXTURE);
    glScalef(2, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    {
        const CStackedTexturing frame;
        EXPECT_EQ(CStackedTexturing::Active(), nullptr);
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    {
        const CStackedTexturing frame;
        EXPECT_EQ(CStackedTexturing::Active(), nullptr);
    }
    glEnable(GL_TEXTURE_2D);
    CTextureStacks::SetAllowed(false);
    {
        const CStackedTexturing frame;
        EXPECT_EQ(CStackedTexturing::Active(), nullptr);
    }
    CTextureStacks::SetAllowed(true);
    const CStackedTexturing frame;
    EXPECT_EQ(CStackedTexturing::Active(), &frame);
}

}  // namespace
