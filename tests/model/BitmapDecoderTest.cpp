// Decoding of the maps' bitmaps, without GL: header checks, palettes, row padding,
// row order and pixel blocks that do not fit the picture.

#include "model/BitmapDecoder.h"

#include "core/CVerdaxException.h"
#include "tests/support/BitmapBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <span>
#include <vector>

using testsupport::BitmapFields;
using testsupport::BitmapHeaders;
using testsupport::ByteWriter;
using testsupport::PaletteEntry;
using testsupport::RowPadding;

namespace {

std::span<const std::uint8_t> Span(const ByteWriter& w)
{
    return {reinterpret_cast<const std::uint8_t*>(w.Str().data()), w.Size()};
}

int DecodeError(const ByteWriter& w)
{
    try {
        DecodeBitmap(Span(w));
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

// Pixel i of row r of a test picture: distinct values, so that a misplaced row or
// byte shows.
std::uint8_t Value(int row, int column, int channel)
{
    return static_cast<std::uint8_t>(16 * row + 3 * column + channel + 1);
}

// A 24-bit picture of width × height, rows in the file bottom-up and padded; each
// pixel holds Value(row from top, column, channel) as red, green, blue.
ByteWriter TrueColourBitmap(int width, int height, std::uint32_t imageSize = 0)
{
    ByteWriter w;
    BitmapFields f;
    f.width = width;
    f.height = height;
    f.bitsPerPixel = 24;
    f.imageSize = imageSize;
    BitmapHeaders(w, f);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int top = height - 1 - fileRow;
        for (int column = 0; column < width; ++column)
            w.U8(Value(top, column, 2)).U8(Value(top, column, 1)).U8(Value(top, column, 0));  // blue, green, red
        RowPadding(w, static_cast<std::size_t>(3 * width));
    }
    return w;
}

std::vector<std::uint8_t> ExpectedTrueColour(int width, int rows)
{
    std::vector<std::uint8_t> pixels;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < width; ++column)
            pixels.insert(pixels.end(), {Value(row, column, 0), Value(row, column, 1), Value(row, column, 2), 0xFF});
    return pixels;
}

}  // namespace

TEST(BitmapDecoder, RefusesFilesThatAreNotBitmaps)
{
    EXPECT_EQ(DecodeError(ByteWriter()), VERDAX_ERR_NOT_BITMAP);
    EXPECT_EQ(DecodeError(ByteWriter().U8('B')), VERDAX_ERR_NOT_BITMAP);
    ByteWriter w;
    BitmapFields f;
    f.type = 0x4D43;
    f.width = 1;
    f.height = 1;
    BitmapHeaders(w, f).Fill(4);
    EXPECT_EQ(DecodeError(w), VERDAX_ERR_NOT_BITMAP);
}

TEST(BitmapDecoder, HeadersCutShortFailAsShortRead)
{
    const ByteWriter whole = TrueColourBitmap(1, 1);
    for (std::size_t size : {2u, 14u, 53u}) {
        ByteWriter cut;
        cut.Bytes(std::string_view(whole.Str()).substr(0, size));
        EXPECT_EQ(DecodeError(cut), VERDAX_ERR_READ) << size;
    }
}

class TrueColourWidths : public testing::TestWithParam<int> {};

// Rows are padded to four bytes in the file; every width comes out right, not only
// those whose rows need no padding.
TEST_P(TrueColourWidths, RowsAreUnpaddedAndTopRowFirst)
{
    const int width = GetParam();
    const BitmapImage image = DecodeBitmap(Span(TrueColourBitmap(width, 3)));
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.bytesPerPixel, 3);
    EXPECT_EQ(image.pixels, ExpectedTrueColour(width, 3));
}

INSTANTIATE_TEST_SUITE_P(BitmapDecoder, TrueColourWidths, testing::Values(1, 2, 3, 4, 5, 7));

TEST(BitmapDecoder, PaletteImageOfOddWidthKeepsIndicesAndPalette)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 3;
    f.height = 2;
    f.bitsPerPixel = 8;
    f.coloursUsed = 16;
    f.pixelOffset = 54 + 16 * 4;
    BitmapHeaders(w, f);
    for (int i = 0; i < 16; ++i)
        PaletteEntry(w, static_cast<std::uint8_t>(i * 16), 255, static_cast<std::uint8_t>(255 - i));
    w.Bytes({4, 5, 6}).Fill(1, 0xEE);  // bottom row and its padding
    w.Bytes({1, 2, 3}).Fill(1, 0xEE);  // top row
    const BitmapImage image = DecodeBitmap(Span(w));
    EXPECT_EQ(image.bytesPerPixel, 1);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(image.red.size(), 16u);
    ASSERT_EQ(image.blue.size(), 16u);
    EXPECT_FLOAT_EQ(image.red[2], 32 / 255.0f);
    EXPECT_FLOAT_EQ(image.green[2], 1.0f);
    EXPECT_FLOAT_EQ(image.blue[2], 253 / 255.0f);
}

TEST(BitmapDecoder, PaletteCountZeroMeansAll256AndOnlyLow16BitsCount)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 4;
    f.height = 1;
    f.bitsPerPixel = 8;
    f.coloursUsed = 0;
    f.pixelOffset = 54 + 256 * 4;
    BitmapHeaders(w, f);
    for (int i = 0; i < 256; ++i)
        PaletteEntry(w, static_cast<std::uint8_t>(i), 0, 0);
    w.Bytes({0, 1, 254, 255});
    const BitmapImage image = DecodeBitmap(Span(w));
    ASSERT_EQ(image.red.size(), 256u);
    EXPECT_FLOAT_EQ(image.red[255], 1.0f);

    ByteWriter high;
    f.coloursUsed = 0x00010002;  // 2 entries: the high half is not a count
    f.pixelOffset = 54 + 2 * 4;
    BitmapHeaders(high, f);
    PaletteEntry(high, 1, 2, 3);
    PaletteEntry(high, 4, 5, 6);
    high.Bytes({0, 1, 1, 0});
    EXPECT_EQ(DecodeBitmap(Span(high)).red.size(), 2u);
}

TEST(BitmapDecoder, PaletteRunningPastTheFileFails)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 1;
    f.height = 1;
    f.bitsPerPixel = 8;
    f.coloursUsed = 16;
    BitmapHeaders(w, f);
    for (int i = 0; i < 15; ++i)
        PaletteEntry(w, 0, 0, 0);
    EXPECT_EQ(DecodeError(w), VERDAX_ERR_READ);
}

TEST(BitmapDecoder, TopDownBitmapKeepsItsRowOrder)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 1;
    f.height = -2;
    BitmapHeaders(w, f);
    w.Bytes({3, 2, 1}).Fill(1);  // top row first: red 1, green 2, blue 3
    w.Bytes({6, 5, 4}).Fill(1);
    const BitmapImage image = DecodeBitmap(Span(w));
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{1, 2, 3, 0xFF, 4, 5, 6, 0xFF}));
}

TEST(BitmapDecoder, AbsurdSidesAreRefusedBeforeAnythingIsRead)
{
    for (auto [width, height] : {std::pair{-1, 1}, {16385, 1}, {1, 16385}, {1, -16385}, {1, INT_MIN}, {INT_MIN, 1}}) {
        ByteWriter w;
        BitmapFields f;
        f.width = width;
        f.height = height;
        BitmapHeaders(w, f);  // no pixels at all: the size check comes first
        EXPECT_EQ(DecodeError(w), VERDAX_ERR_FOREIGN) << width << " x " << height;
    }
}

TEST(BitmapDecoder, BitDepthsOtherThan8And24AreRefused)
{
    for (std::uint16_t bits : {1, 4, 16, 32}) {
        ByteWriter w;
        BitmapFields f;
        f.width = 2;
        f.height = 2;
        f.bitsPerPixel = bits;
        BitmapHeaders(w, f).Fill(16);
        EXPECT_EQ(DecodeError(w), VERDAX_ERR_FOREIGN) << bits;
    }
}

TEST(BitmapDecoder, ZeroByteCountGivesAnEmptyPicture)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 4;
    f.height = 4;
    f.planes = 0;  // image size 0 and no planes: nothing to read
    BitmapHeaders(w, f);
    const BitmapImage image = DecodeBitmap(Span(w));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(BitmapDecoder, ImageSizeZeroReadsTheRowsTheHeaderDescribes)
{
    // 4 × 2 at 24 bits: planes × 3 × width × height = 24 bytes, no padding needed.
    const BitmapImage image = DecodeBitmap(Span(TrueColourBitmap(4, 2, 0)));
    EXPECT_EQ(image.pixels, ExpectedTrueColour(4, 2));

    // Cut one byte off: the block the header asks for is not all there.
    const ByteWriter whole = TrueColourBitmap(4, 2, 0);
    ByteWriter cut;
    cut.Bytes(std::string_view(whole.Str()).substr(0, whole.Size() - 1));
    EXPECT_EQ(DecodeError(cut), VERDAX_ERR_READ);
}

TEST(BitmapDecoder, PixelBlockOrOffsetBeyondTheFileFails)
{
    EXPECT_EQ(DecodeError(TrueColourBitmap(2, 2, 17)), VERDAX_ERR_READ);  // 16 bytes are there
    ByteWriter w;
    BitmapFields f;
    f.width = 1;
    f.height = 1;
    f.pixelOffset = 0xFFFFFFF0;
    f.imageSize = 4;
    BitmapHeaders(w, f).Fill(4);
    EXPECT_EQ(DecodeError(w), VERDAX_ERR_READ);
}

TEST(BitmapDecoder, ShortPixelBlockGivesTheRowsItHolds)
{
    // 3 × 3 needs 3 rows of 12 bytes; the block holds one row and 4 bytes of the next.
    const BitmapImage image = DecodeBitmap(Span(TrueColourBitmap(3, 3, 16)));
    EXPECT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    // The file's first row is the picture's bottom row (2); of its second row (1) only
    // the first pixel is whole, the rest stays black, opaque as every pixel.
    std::vector<std::uint8_t> expected(24, 0);
    for (int pixel = 0; pixel < 6; ++pixel)
        expected[4 * pixel + 3] = 0xFF;
    for (int channel = 0; channel < 3; ++channel)
        expected[channel] = Value(1, 0, channel);
    for (int column = 0; column < 3; ++column)
        for (int channel = 0; channel < 3; ++channel)
            expected[12 + 4 * column + channel] = Value(2, column, channel);
    EXPECT_EQ(image.pixels, expected);
}

TEST(BitmapDecoder, HugeSidesWithATinyBlockAllocateOnlyWhatTheFileBacks)
{
    ByteWriter w;
    BitmapFields f;
    f.width = 16384;
    f.height = 16384;
    f.imageSize = 8;
    BitmapHeaders(w, f).Fill(8, 0x40);
    const BitmapImage image = DecodeBitmap(Span(w));
    EXPECT_EQ(image.width, 16384);
    EXPECT_EQ(image.height, 1);
    // Two whole pixels of the eight bytes, and opaque black after them.
    EXPECT_EQ(image.pixels.size(), 16384u * 4);
    EXPECT_EQ(image.pixels[6], 0x40);
    EXPECT_EQ(image.pixels[7], 0xFF);
    EXPECT_EQ(image.pixels[8], 0);
    EXPECT_EQ(image.pixels[11], 0xFF);
}
