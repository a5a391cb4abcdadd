#include "tools/PngWriter.h"

#include <png.h>

#include <fstream>
#include <memory>
#include <system_error>

namespace tool {

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb, std::string& failure)
{
    if (width <= 0 || height <= 0 || rgb.size() / 3 / static_cast<std::size_t>(width) < static_cast<std::size_t>(height)) {
        failure = "no picture of " + std::to_string(width) + " x " + std::to_string(height) + " in " +
                  std::to_string(rgb.size()) + " bytes";
        return {};
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // libpng's quick choice of filter and deflate level: a 1280 × 800 frame encodes
    // in a third of the time, at about the same size.
    image.flags = PNG_IMAGE_FLAG_FAST;
    const auto stride = static_cast<png_int_32>(width * 3);
    // Given room for the largest PNG the picture can make, libpng encodes once
    // instead of measuring first; it frees its own state when it fails. The room is
    // left uninitialised so that only the pages written are ever touched.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    const auto room = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (png_image_write_to_memory(&image, room.get(), &size, 0, rgb.data(), stride, nullptr))
        return {room.get(), room.get() + size};
    failure = std::string("cannot encode the picture: ") + image.message;
    return {};
}

bool WritePng(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgb,
              std::string& failure)
{
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb, failure);
    if (png.empty())
        return false;
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        if (!file.flush()) {
            failure = "cannot write " + partial.string();
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        failure = "cannot write " + path.string() + ": " + error.message();
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

}  // namespace tool
