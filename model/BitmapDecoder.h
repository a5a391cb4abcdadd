#pragma once
// Windows bitmaps (BMP) as the game's maps hold them: 8 bits per pixel with a
// palette, or 24 bits per pixel. Decoding is kept apart from the GL upload so that
// it can be checked without a GL context.

#include <cstdint>
#include <span>
#include <vector>

// A decoded picture, ready for glTexImage2D with an unpack alignment of 1: rows
// without padding, the top row of the picture first. A palette image keeps one index
// per pixel; a 24-bit image's pixels are four bytes each, red, green, blue and an
// opaque 255, the layout GL keeps textures in, so that its upload is a copy.
struct BitmapImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint8_t bytesPerPixel = 0;  // in the file: 1, palette indices; 3, blue, green, red
    std::vector<std::uint8_t> pixels;
    // Palette images: one entry per palette colour, each component / 255.
    std::vector<float> red;
    std::vector<float> green;
    std::vector<float> blue;
};

// The largest width or height accepted; larger sides are taken as corrupt.
inline constexpr std::int32_t kMaxBitmapSide = 16384;

// Throws CVerdaxException: 3009 when the type field is not "BM"; 3005 when the
// headers, the palette or the pixel block run past the end of the file; 1 for a bit
// depth other than 8 or 24 and for a negative width or a side beyond kMaxBitmapSide;
// 1000 when the pixel memory cannot be had.
BitmapImage DecodeBitmap(std::span<const std::uint8_t> file);
