#include "tools/PngWriter.h"

#include <png.h>

#include <fstream>
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
    const auto stride = static_cast<png_int_32>(width * 3);
    // The first call measures, the second writes; libpng frees its own state when
    // either fails.
    png_alloc_size_t size = 0;
    std::vector<std::uint8_t> out;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), stride, nullptr)) {
        out.resize(size);
        if (png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), stride, nullptr)) {
            out.resize(size);
            return out;
        }
    }
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
