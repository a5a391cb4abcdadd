#pragma once
// Writing an 8-bit RGB picture as a PNG file, through libpng.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tool {

// The PNG bytes of a width × height picture given as RGB rows, top row first.
// Empty, with `failure` set, when the picture cannot be encoded (no pixels, fewer
// bytes than the size needs, or libpng's own refusal).
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb, std::string& failure);

// Writes the PNG beside `path` and renames it into place, so that a failure leaves
// no file there. False, with `failure` set, when the file cannot be written.
bool WritePng(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgb,
              std::string& failure);

}  // namespace tool
