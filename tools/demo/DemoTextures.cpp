#include "tools/demo/DemoTextures.h"

#include "tools/demo/MeshBuilder.h"

#include <algorithm>

namespace demo {
namespace {

std::uint8_t Clamp(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

Rgb Shade(Rgb colour, int delta)
{
    return {Clamp(colour.r + delta), Clamp(colour.g + delta), Clamp(colour.b + delta)};
}

DemoBitmap Blank(int width, int height, std::uint16_t bits)
{
    DemoBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitsPerPixel = bits;
    bitmap.pixels.assign(std::size_t(width) * std::size_t(height) * (bits / 8u), 0);
    return bitmap;
}

void Put(DemoBitmap& bitmap, int x, int y, Rgb colour)
{
    const std::size_t at = (std::size_t(y) * std::size_t(bitmap.width) + std::size_t(x)) * 3;
    bitmap.pixels[at] = colour.r;
    bitmap.pixels[at + 1] = colour.g;
    bitmap.pixels[at + 2] = colour.b;
}

void PutIndex(DemoBitmap& bitmap, int x, int y, std::uint8_t index)
{
    bitmap.pixels[std::size_t(y) * std::size_t(bitmap.width) + std::size_t(x)] = index;
}

// Asphalt with a dashed centre line along the picture's height.
DemoBitmap Road(int size)
{
    DemoBitmap bitmap = Speckle24(size, size, {70, 70, 74}, 12, 11);
    for (int y = 0; y < size; ++y) {
        if ((y / 4) % 2 == 0) {
            for (int x = size / 2 - 1; x <= size / 2; ++x)
                Put(bitmap, x, y, {220, 210, 120});
        }
    }
    return bitmap;
}

// Red bricks in a running bond with grey mortar; 16 palette entries.
DemoBitmap Bricks(int size)
{
    DemoBitmap bitmap = Blank(size, size, 8);
    for (int i = 0; i < 15; ++i)
        bitmap.palette.push_back({Clamp(150 + i * 5), Clamp(60 + i * 2), Clamp(45 + i)});
    bitmap.palette.push_back({170, 170, 160});  // mortar, entry 15
    CDemoRandom random(21);
    for (int y = 0; y < size; ++y) {
        const int course = y / 8;
        for (int x = 0; x < size; ++x) {
            const int shifted = x + (course % 2) * 8;
            const bool mortar = y % 8 == 7 || shifted % 16 == 15;
            PutIndex(bitmap, x, y, mortar ? 15 : static_cast<std::uint8_t>(random.Below(15)));
        }
    }
    return bitmap;
}

// Roof tiles: horizontal bands of dark red shading, a full 256-entry palette.
DemoBitmap RoofTiles(int size)
{
    DemoBitmap bitmap = Blank(size, size, 8);
    for (int i = 0; i < 256; ++i)
        bitmap.palette.push_back({Clamp(60 + i / 2), Clamp(25 + i / 6), Clamp(20 + i / 8)});
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int band = (y % 8) * 28 + ((x + (y / 8) * 4) % 8) * 3;
            PutIndex(bitmap, x, y, static_cast<std::uint8_t>(std::min(band, 255)));
        }
    }
    return bitmap;
}

// Wooden planks; an odd width, so every stored row carries padding.
DemoBitmap Planks(int width, int height)
{
    DemoBitmap bitmap = Speckle24(width, height, {140, 95, 55}, 10, 31);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += 9)
            Put(bitmap, x, y, {70, 45, 25});
    }
    return bitmap;
}

// A window: frame, cross bar and panes; odd width, four palette entries.
DemoBitmap Window(int size)
{
    DemoBitmap bitmap = Blank(size, size, 8);
    bitmap.palette = {{235, 235, 225}, {90, 130, 170}, {60, 95, 135}, {40, 40, 40}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool frame = x == 0 || y == 0 || x == size - 1 || y == size - 1 || x == size / 2 || y == size / 2;
            PutIndex(bitmap, x, y, frame ? 0 : static_cast<std::uint8_t>(x > y ? 1 : 2));
        }
    }
    return bitmap;
}

// The alpha mask of the window: opaque frame, half-transparent panes.
DemoBitmap WindowAlpha(int size)
{
    DemoBitmap bitmap = Window(size);
    bitmap.palette = {{255, 255, 255}, {128, 128, 128}, {128, 128, 128}, {0, 0, 0}};
    return bitmap;
}

// A crate's side: planks framed by a dark border.
DemoBitmap CrateSide(int size)
{
    DemoBitmap bitmap = Speckle24(size, size, {165, 120, 70}, 14, 41);
    for (int i = 0; i < size; ++i) {
        for (int border = 0; border < 3; ++border) {
            Put(bitmap, i, border, {90, 60, 30});
            Put(bitmap, i, size - 1 - border, {90, 60, 30});
            Put(bitmap, border, i, {90, 60, 30});
            Put(bitmap, size - 1 - border, i, {90, 60, 30});
        }
        Put(bitmap, i, i, {110, 75, 40});  // the diagonal brace
    }
    return bitmap;
}

}  // namespace

DemoBitmap Speckle24(int width, int height, Rgb base, int variation, std::uint64_t seed)
{
    DemoBitmap bitmap = Blank(width, height, 24);
    CDemoRandom random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int delta = static_cast<int>(random.Below(2u * unsigned(variation) + 1u)) - variation;
            Put(bitmap, x, y, Shade(base, delta));
        }
    }
    return bitmap;
}

DemoBitmap Speckle8(int width, int height, Rgb base, int colours, std::uint64_t seed)
{
    DemoBitmap bitmap = Blank(width, height, 8);
    for (int i = 0; i < colours; ++i)
        bitmap.palette.push_back(Shade(base, (i - colours / 2) * 48 / std::max(colours, 1)));
    CDemoRandom random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            PutIndex(bitmap, x, y, static_cast<std::uint8_t>(random.Below(unsigned(colours))));
    }
    return bitmap;
}

std::vector<NamedBitmap> DemoMaps()
{
    DemoBitmap grass = Speckle24(64, 64, {70, 120, 45}, 18, 1);
    grass.imageSizeFieldZero = true;  // the reader then counts planes × 3 × width × height
    return {
        {"grass.bmp", grass},
        {"road.bmp", Road(32)},
        {"brick.bmp", Bricks(64)},
        {"roof.bmp", RoofTiles(32)},
        {"plank.bmp", Planks(37, 19)},
        {"window.bmp", Window(15)},
        {"window_a.bmp", WindowAlpha(15)},
        {"crate.bmp", CrateSide(32)},
        {"metal.bmp", Speckle8(32, 32, {120, 125, 135}, 8, 51)},
        {"bark.bmp", Speckle24(16, 32, {85, 60, 40}, 12, 61)},
        {"leaves.bmp", Speckle8(32, 32, {50, 105, 40}, 32, 71)},
        {"sky_env.bmp", Speckle24(16, 16, {150, 180, 220}, 6, 81)},
        {"concrete.bmp", Speckle8(33, 33, {150, 150, 145}, 64, 91)},
        {"paint.bmp", Speckle24(8, 8, {180, 40, 35}, 8, 101)},
    };
}

}  // namespace demo
