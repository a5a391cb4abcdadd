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
#include <vector>

namespace {

// GL holds at most this many pixel map entries (the least any implementation
// offers for 8-bit indices), and the index maps must have a power-of-two size.
constexpr std::size_t kMaxPixelMapSize = 256;

std::uint8_t ColourByte(float component)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
}

// A palette image's indices turned into red, green and blue bytes, as GL's index maps
// would turn them on upload (which GL does pixel by pixel in software, many times
// slower): the palette padded with black to a power-of-two map of at most 256
// entries, and each index masked to the map's size.
std::vector<std::uint8_t> ExpandPalette(const BitmapImage& image)
{
    const std::size_t count = image.red.size();
    const std::size_t mapSize = std::min(kMaxPixelMapSize, std::bit_ceil(std::max<std::size_t>(count, 1)));
    std::array<std::array<std::uint8_t, 3>, kMaxPixelMapSize> map{};
    for (std::size_t i = 0; i < std::min(count, mapSize); ++i)
        map[i] = {ColourByte(image.red[i]), ColourByte(image.green[i]), ColourByte(image.blue[i])};
    std::vector<std::uint8_t> rgb(image.pixels.size() * 3);
    std::uint8_t* out = rgb.data();
    for (const std::uint8_t index : image.pixels) {
        const auto& colour = map[index & (mapSize - 1)];
        out[0] = colour[0];
        out[1] = colour[1];
        out[2] = colour[2];
        out += 3;
    }
    return rgb;
}

}  // namespace

bool HasCurrentGlContext()
{
    // Without a current context GL calls do nothing and glGetString gives null.
    return glGetString(GL_VERSION) != nullptr;
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

    // The rows are unpadded; the default alignment of 4 would misread odd widths.
    GLint savedAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // A palette image goes up as the colours its indices name.
    const std::vector<std::uint8_t> expanded =
        image.bytesPerPixel == 1 ? ExpandPalette(image) : std::vector<std::uint8_t>();
    const std::vector<std::uint8_t>& rgb = image.bytesPerPixel == 1 ? expanded : image.pixels;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 rgb.empty() ? nullptr : rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}
