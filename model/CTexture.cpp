#include "model/CTexture.h"

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "model/BitmapDecoder.h"
#include "model/FileBytes.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// GL holds at most this many pixel map entries (the least any implementation
// offers for 8-bit indices), and the index maps must have a power-of-two size.
constexpr std::size_t kMaxPixelMapSize = 256;

std::uint8_t ColourByte(float component)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
}

// A palette image's indices turned into red, green, blue and opaque alpha bytes, as
// GL's index maps would turn them on upload (which GL does pixel by pixel in
// software, many times slower): the palette padded with black to a power-of-two map
// of at most 256 entries, and each index masked to the map's size.
std::vector<std::uint8_t> ExpandPalette(const BitmapImage& image)
{
    const std::size_t count = image.red.size();
    const std::size_t mapSize = std::min(kMaxPixelMapSize, std::bit_ceil(std::max<std::size_t>(count, 1)));
    std::array<std::array<std::uint8_t, 4>, kMaxPixelMapSize> map{};
    for (auto& colour : map)
        colour[3] = 0xFF;
    for (std::size_t i = 0; i < std::min(count, mapSize); ++i)
        map[i] = {ColourByte(image.red[i]), ColourByte(image.green[i]), ColourByte(image.blue[i]), 0xFF};
    std::vector<std::uint8_t> rgba(image.pixels.size() * 4);
    std::uint8_t* out = rgba.data();
    for (const std::uint8_t index : image.pixels) {
        std::memcpy(out, map[index & (mapSize - 1)].data(), 4);
        out += 4;
    }
    return rgba;
}

}  // namespace

bool HasCurrentGlContext()
{
    // Without a current context GL calls do nothing and glGetString gives null.
    return glGetString(GL_VERSION) != nullptr;
}

bool GlVersionAtLeast(int major, int minor)
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int hasMajor = 0;
    int hasMinor = 0;
    if (!version || std::sscanf(version, "%d.%d", &hasMajor, &hasMinor) != 2)
        return false;
    return hasMajor > major || (hasMajor == major && hasMinor >= minor);
}

CUnpaddedPixelRows::CUnpaddedPixelRows()
{
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack_);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

CUnpaddedPixelRows::~CUnpaddedPixelRows()
{
    glPixelStorei(GL_PACK_ALIGNMENT, pack_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpack_);
}

// The GL texture object is left to its context: the cache outlives the view's context
// at process exit.
CTexture::~CTexture() = default;

void CTexture::LoadBitmap(const std::string& fileName)
{
    if (fileName.empty())
        throw CVerdaxException(VERDAX_ERR_EMPTY_NAME);
    if (!HasCurrentGlContext())
        throw CVerdaxException(VERDAX_ERR_FOREIGN);
    const FileBytes file = ReadFileBytes(GameFolders().GetMapsFolder() + fileName);
    const BitmapImage image = DecodeBitmap(file.Span());
    name_ = fileName;
    Upload(image);
    width_ = image.width;
    height_ = image.height;
    bytesPerPixel_ = image.bytesPerPixel;
}

void CTexture::DeleteGlTexture()
{
    if (glName_ == kGlNameUnset)
        return;
    const GLuint name = glName_;
    glDeleteTextures(1, &name);
    glName_ = kGlNameUnset;
}

void CTexture::Upload(const BitmapImage& image)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glName_ = name;

    // Every texture goes up as opaque red, green, blue and alpha bytes: the layout GL
    // keeps its textures in, so that the upload is a copy rather than a conversion
    // pixel by pixel (a third of the upload's time in Mesa). Opaque alpha draws as
    // the alpha of an RGB texture does. A 24-bit image was decoded so.
    const std::vector<std::uint8_t> expanded =
        image.bytesPerPixel == 1 ? ExpandPalette(image) : std::vector<std::uint8_t>();
    const std::vector<std::uint8_t>& rgba = image.bytesPerPixel == 1 ? expanded : image.pixels;
    {
        const CUnpaddedPixelRows unpadded;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba.empty() ? nullptr : rgba.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}
