#pragma once
// The demo's texture pictures, drawn by small procedures: grass, asphalt, bricks,
// roof tiles, planks, windows and the like, in 8-bit and 24-bit form.

#include "tools/demo/BitmapWriter.h"

#include <string>
#include <vector>

namespace demo {

struct NamedBitmap {
    std::string fileName;  // as it is stored in the maps folder
    DemoBitmap bitmap;
};

// A 24-bit picture of `base` with a deterministic speckle of ± `variation`.
DemoBitmap Speckle24(int width, int height, Rgb base, int variation, std::uint64_t seed);
// An 8-bit picture: a palette of `colours` shades of `base`, pixels chosen by noise.
DemoBitmap Speckle8(int width, int height, Rgb base, int colours, std::uint64_t seed);

// The bitmaps of the demo's maps folder.
std::vector<NamedBitmap> DemoMaps();

}  // namespace demo
