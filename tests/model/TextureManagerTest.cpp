// The texture cache in a headless GL context: uploads read back from GL, caching by
// exact name, and the failures that leave the cache as it was.

#include "model/CTextureManager.h"

#include "core/CVerdaxException.h"
#include "tests/model/GlTestSupport.h"
#include "tests/support/BitmapBytes.h"

#include <gtest/gtest.h>

using testsupport::BitmapFields;
using testsupport::BitmapHeaders;
using testsupport::ByteWriter;
using testsupport::PaletteEntry;
using testsupport::RowPadding;

namespace {

int RequestError(const std::string& name)
{
    try {
        CTextureManager::Instance().GetTexture(name);
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

// A palette image of width × 2 with `paletteCount` entries written (0: 256), whose
// entry i is red i, green 255 - i, blue 7 × i. Pixel (row, column) of the top-first
// picture holds index 10 × row + column.
std::string PaletteBitmap(int width, std::uint32_t coloursUsed)
{
    const int entries = coloursUsed == 0 ? 256 : static_cast<int>(coloursUsed);
    ByteWriter w;
    BitmapFields f;
    f.width = width;
    f.height = 2;
    f.bitsPerPixel = 8;
    f.coloursUsed = coloursUsed;
    f.pixelOffset = static_cast<std::uint32_t>(54 + 4 * entries);
    BitmapHeaders(w, f);
    for (int i = 0; i < entries; ++i)
        PaletteEntry(w, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                     static_cast<std::uint8_t>(7 * i));
    for (int row : {1, 0}) {  // bottom row first
        for (int column = 0; column < width; ++column)
            w.U8(static_cast<std::uint8_t>(10 * row + column));
        RowPadding(w, static_cast<std::size_t>(width));
    }
    return w.Str();
}

std::vector<std::uint8_t> ExpectedPaletteColours(int width)
{
    std::vector<std::uint8_t> rgb;
    for (int row : {0, 1})
        for (int column = 0; column < width; ++column) {
            const int i = 10 * row + column;
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(7 * i)});
        }
    return rgb;
}

// A 24-bit image of width × 2, bottom row first; pixel (row, column) of the picture
// is red 100 + column, green 50 × row, blue 9.
std::string TrueColourBitmap(int width, std::uint16_t bits = 24)
{
    ByteWriter w;
    BitmapFields f;
    f.width = width;
    f.height = 2;
    f.bitsPerPixel = bits;
    BitmapHeaders(w, f);
    for (int row : {1, 0}) {
        for (int column = 0; column < width; ++column) {
            w.U8(9).U8(static_cast<std::uint8_t>(50 * row)).U8(static_cast<std::uint8_t>(100 + column));
            if (bits == 32)
                w.U8(0);
        }
        RowPadding(w, static_cast<std::size_t>(width * bits / 8));
    }
    return w.Str();
}

std::vector<std::uint8_t> ExpectedTrueColours(int width)
{
    std::vector<std::uint8_t> rgb;
    for (int row : {0, 1})
        for (int column = 0; column < width; ++column)
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(100 + column), static_cast<std::uint8_t>(50 * row), 9});
    return rgb;
}

}  // namespace

class TextureUpload : public GlTextureTest, public testing::WithParamInterface<int> {};

TEST_P(TextureUpload, PaletteImageWithAll256EntriesReadsBackItsColours)
{
    const int width = GetParam();
    WriteMap("pal.bmp", PaletteBitmap(width, 0));
    const CTexture& texture = CTextureManager::Instance().GetTexture("pal.bmp");
    EXPECT_EQ(texture.GetBytesPerPixel(), 1);
    const TexturePixels pixels = ReadTexture(texture.GetGlName());
    EXPECT_EQ(pixels.width, width);
    EXPECT_EQ(pixels.height, 2);
    EXPECT_EQ(pixels.rgb, ExpectedPaletteColours(width));
    EXPECT_TRUE(pixels.opaque);
}

TEST_P(TextureUpload, PaletteImageWith16EntriesReadsBackItsColours)
{
    const int width = std::min(GetParam(), 6);  // indices stay within the 16 entries
    WriteMap("pal16.bmp", PaletteBitmap(width, 16));
    const TexturePixels pixels = ReadTexture(CTextureManager::Instance().GetTexture("pal16.bmp").GetGlName());
    EXPECT_EQ(pixels.rgb, ExpectedPaletteColours(width));
}

TEST_P(TextureUpload, TrueColourImageReadsBackItsColours)
{
    const int width = GetParam();
    WriteMap("rgb.bmp", TrueColourBitmap(width));
    const CTexture& texture = CTextureManager::Instance().GetTexture("rgb.bmp");
    EXPECT_EQ(texture.GetWidth(), width);
    EXPECT_EQ(texture.GetHeight(), 2);
    EXPECT_EQ(texture.GetBytesPerPixel(), 3);
    const TexturePixels pixels = ReadTexture(texture.GetGlName());
    EXPECT_EQ(pixels.width, width);
    EXPECT_EQ(pixels.rgb, ExpectedTrueColours(width));
    EXPECT_TRUE(pixels.opaque);
}

INSTANTIATE_TEST_SUITE_P(OddAndEvenWidths, TextureUpload, testing::Values(1, 2, 3, 4, 5, 7));

using TextureCache = GlTextureTest;

TEST_F(TextureCache, UploadUsesNearestFilteringAndRestoresUnpackAlignment)
{
    WriteMap("rgb.bmp", TrueColourBitmap(3));
    const CTexture& texture = CTextureManager::Instance().GetTexture("rgb.bmp");
    glBindTexture(GL_TEXTURE_2D, texture.GetGlName());
    GLint mag = 0, min = 0, alignment = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(mag, GL_NEAREST);
    EXPECT_EQ(min, GL_NEAREST);
    EXPECT_EQ(alignment, 4);
    GLfloat mapColour = 1;
    glGetFloatv(GL_MAP_COLOR, &mapColour);
    EXPECT_EQ(mapColour, 0.0f);
}

// GL takes index maps only in power-of-two sizes; a palette of 3 colours still gives
// its colours.
TEST_F(TextureCache, PaletteWhoseSizeIsNoPowerOfTwoStillMapsItsColours)
{
    WriteMap("pal3.bmp", PaletteBitmap(3, 3));
    const TexturePixels pixels = ReadTexture(CTextureManager::Instance().GetTexture("pal3.bmp").GetGlName());
    ASSERT_EQ(pixels.rgb.size(), 18u);
    EXPECT_EQ(std::vector<std::uint8_t>(pixels.rgb.begin(), pixels.rgb.begin() + 9),
              (std::vector<std::uint8_t>{0, 255, 0, 1, 254, 7, 2, 253, 14}));
}

// Indices beyond the palette take the colour GL's index maps gave them: the palette
// padded with black to a power of two, each index masked to that size. With 12
// colours the map holds 16: index 13 is black, index 17 is colour 1.
TEST_F(TextureCache, IndicesBeyondThePaletteAreMaskedAsGlIndexMapsMaskThem)
{
    WriteMap("pal12.bmp", PaletteBitmap(8, 12));  // row 1 holds indices 10 to 17
    const TexturePixels pixels = ReadTexture(CTextureManager::Instance().GetTexture("pal12.bmp").GetGlName());
    ASSERT_EQ(pixels.rgb.size(), 48u);
    auto colour = [&](int column) {
        return std::vector<std::uint8_t>(pixels.rgb.begin() + 24 + 3 * column, pixels.rgb.begin() + 27 + 3 * column);
    };
    EXPECT_EQ(colour(1), (std::vector<std::uint8_t>{11, 244, 77}));  // index 11, in the palette
    EXPECT_EQ(colour(3), (std::vector<std::uint8_t>{0, 0, 0}));      // index 13: padding
    EXPECT_EQ(colour(7), (std::vector<std::uint8_t>{1, 254, 7}));    // index 17: 17 & 15 = 1
}

// A clear with the textures' context current deletes their GL objects, so that
// loading again does not pile them up.
TEST_F(TextureCache, ClearDeletesTheGlTextures)
{
    WriteMap("rgb.bmp", TrueColourBitmap(2));
    const GLuint name = CTextureManager::Instance().GetTexture("rgb.bmp").GetGlName();
    ASSERT_EQ(glIsTexture(name), GL_TRUE);
    CTextureManager::Instance().Clear();
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 0u);
}

TEST_F(TextureCache, SameNameSharesOneTextureAndLetterCaseMakesAnother)
{
    WriteMap("wall.bmp", TrueColourBitmap(2));
    WriteMap("WALL.BMP", TrueColourBitmap(3));
    auto& cache = CTextureManager::Instance();
    CTexture& first = cache.GetTexture("wall.bmp");
    CTexture& again = cache.GetTexture("wall.bmp");
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(cache.GetCount(), 1u);
    CTexture& upper = cache.GetTexture("WALL.BMP");
    EXPECT_NE(&first, &upper);
    EXPECT_NE(first.GetGlName(), upper.GetGlName());
    EXPECT_EQ(cache.GetCount(), 2u);
    EXPECT_EQ(upper.GetName(), "WALL.BMP");
}

TEST_F(TextureCache, ThirtyTwoBitImageIsRefusedAndNotCached)
{
    WriteMap("deep.bmp", TrueColourBitmap(2, 32));
    EXPECT_EQ(RequestError("deep.bmp"), VERDAX_ERR_FOREIGN);
    EXPECT_EQ(RequestError("deep.bmp"), VERDAX_ERR_FOREIGN);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 0u);
}

TEST_F(TextureCache, FailuresCacheNothingAndAreTriedAgain)
{
    EXPECT_EQ(RequestError(""), VERDAX_ERR_EMPTY_NAME);
    EXPECT_EQ(RequestError("missing.bmp"), VERDAX_ERR_OPEN_READ);
    EXPECT_EQ(RequestError("missing.bmp"), VERDAX_ERR_OPEN_READ);
    WriteMap("text.bmp", "not a bitmap");
    EXPECT_EQ(RequestError("text.bmp"), VERDAX_ERR_NOT_BITMAP);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 0u);

    // Once the file is there, the same name loads.
    WriteMap("missing.bmp", TrueColourBitmap(1));
    EXPECT_EQ(RequestError("missing.bmp"), 0);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 1u);
}

TEST_F(TextureCache, ZeroByteCountIsCachedAsEmptyTexture)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 8;
    f.height = 8;
    f.planes = 0;
    BitmapHeaders(w, f);
    WriteMap("empty.bmp", w.Str());
    const CTexture& texture = CTextureManager::Instance().GetTexture("empty.bmp");
    EXPECT_NE(texture.GetGlName(), kGlNameUnset);
    EXPECT_EQ(texture.GetWidth(), 0);
    EXPECT_EQ(texture.GetHeight(), 0);
    EXPECT_EQ(ReadTexture(texture.GetGlName()).width, 0);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 1u);
}

TEST_F(TextureCache, TopDownImageComesOutTheRightWayUp)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 1;
    f.height = -2;
    BitmapHeaders(w, f);
    w.Bytes({3, 2, 1}).Fill(1).Bytes({6, 5, 4}).Fill(1);  // top row first, blue green red
    WriteMap("down.bmp", w.Str());
    const TexturePixels pixels = ReadTexture(CTextureManager::Instance().GetTexture("down.bmp").GetGlName());
    EXPECT_EQ(pixels.rgb, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

// Without a current GL context no texture can be made; the request fails cleanly.
TEST(TextureCacheWithoutContext, RequestFailsAndCachesNothing)
{
    testsupport::TempDir dir;
    dir.Write("Maps/rgb.bmp", TrueColourBitmap(2));
    const CFixedGameFolders folders(dir.Path().string() + "/", dir.Path().string() + "/Maps/");
    SetGameFolders(&folders);
    EXPECT_EQ(RequestError("rgb.bmp"), VERDAX_ERR_FOREIGN);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 0u);
    SetGameFolders(nullptr);
}
