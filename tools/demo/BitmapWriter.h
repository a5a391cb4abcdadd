#pragma once
// Windows bitmaps as the game's maps folder holds them: uncompressed, bottom-up,
// 8 bits per pixel with a palette or 24 bits per pixel, every row padded to a
// multiple of four bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct DemoBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 24;  // 8 or 24
    std::vector<Rgb> palette;         // 8-bit only: 1 to 256 entries
    // Top row first, rows unpadded: colour indices (8-bit) or Rgb triples (24-bit).
    std::vector<std::uint8_t> pixels;
    // Many writers leave the image size field 0 for uncompressed bitmaps.
    bool imageSizeFieldZero = false;
};

// Row length in the file: width × bytes per pixel, rounded up to four bytes.
std::uint32_t BitmapStride(const DemoBitmap& bitmap);

// The whole file. Throws std::invalid_argument when the picture does not fit its fields.
std::string WriteBitmap(const DemoBitmap& bitmap);

}  // namespace demo
