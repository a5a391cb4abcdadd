#include "model/CTexture.h"

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "model/BitmapDecoder.h"
#include "model/FileBytes.h"

#include <GL/gl.h>

#include <algorithm>
#include <bit>

namespace {

// GL holds at most this many pixel map entries (the least any implementation
// offers for 8-bit indices), and the index maps must have a power-of-two size.
constexpr std::size_t kMaxPixelMapSize = 256;

bool HasCurrentGlContext()
{
    // Without a current context GL calls do nothing and glGetString gives null.
    return glGetString(GL_VERSION) != nullptr;
}

// A palette table padded with black to the size GL accepts for an index map.
std::vector<float> PixelMap(const std::vector<float>& table)
{
    const std::size_t size = std::min(kMaxPixelMapSize, std::bit_ceil(std::max<std::size_t>(table.size(), 1)));
    std::vector<float> map(size, 0.0f);
    std::copy_n(table.begin(), std::min(size, table.size()), map.begin());
    return map;
}

void LoadPixelMap(GLenum which, const std::vector<float>& table)
{
    const auto map = PixelMap(table);
    glPixelMapfv(which, static_cast<GLsizei>(map.size()), map.data());
}

}  // namespace

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
    BitmapImage image = DecodeBitmap(file.Span());
    name_ = fileName;
    Upload(image);
    width_ = image.width;
    height_ = image.height;
    bytesPerPixel_ = image.bytesPerPixel;
    pixels_ = std::move(image.pixels);
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
    const void* pixels = image.pixels.empty() ? nullptr : image.pixels.data();
    if (image.bytesPerPixel == 1) {
        LoadPixelMap(GL_PIXEL_MAP_I_TO_R, image.red);
        LoadPixelMap(GL_PIXEL_MAP_I_TO_G, image.green);
        LoadPixelMap(GL_PIXEL_MAP_I_TO_B, image.blue);
        glPixelTransferf(GL_MAP_COLOR, 1.0f);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
                     pixels);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    }
    glPixelTransferf(GL_MAP_COLOR, 0.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}
