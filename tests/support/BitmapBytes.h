#pragma once
// Windows bitmap files spelled out field by field for the texture tests. Only the
// headers are written here; each test adds its palette and pixel rows itself, so
// that padding and row order stay visible in the test.

#include "tests/support/ByteWriter.h"

#include <cstdint>

namespace testsupport {

struct BitmapFields {
    std::uint16_t type = 0x4D42;  // "BM"
    std::uint32_t pixelOffset = 54;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
};

// The 14-byte file header and the 40-byte information header.
inline ByteWriter& BitmapHeaders(ByteWriter& w, const BitmapFields& f)
{
    w.U16(f.type);
    w.U32(0);  // file size: not read
    w.U32(0);  // reserved
    w.U32(f.pixelOffset);
    w.U32(40);  // information header size
    w.I32(f.width);
    w.I32(f.height);
    w.U16(f.planes);
    w.U16(f.bitsPerPixel);
    w.U32(0);  // compression: none
    w.U32(f.imageSize);
    w.U32(2835).U32(2835);  // resolution
    w.U32(f.coloursUsed);
    w.U32(0);  // colours important
    return w;
}

// One palette entry as the file holds it: blue, green, red, reserved.
inline ByteWriter& PaletteEntry(ByteWriter& w, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return w.U8(blue).U8(green).U8(red).U8(0);
}

// Zero bytes that pad a row of `rowBytes` to a multiple of four.
inline ByteWriter& RowPadding(ByteWriter& w, std::size_t rowBytes)
{
    return w.Fill((4 - rowBytes % 4) % 4);
}

}  // namespace testsupport
