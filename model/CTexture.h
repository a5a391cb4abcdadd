#pragma once
// One texture of the cache: a bitmap from the game's maps folder, uploaded as a GL
// texture. Only GL keeps the pixels: drawing needs no more than the GL name.

#include <cstdint>
#include <string>

// The GL name of a texture that was never uploaded (and of a material's texture
// slot that was never filled).
inline constexpr std::uint32_t kGlNameUnset = 0xFFFFFFFF;

struct BitmapImage;

// Whether a GL context is current on this thread: textures are uploaded into it.
bool HasCurrentGlContext();
// Whether the current context's GL version is at least major.minor.
bool GlVersionAtLeast(int major, int minor);

// For its scope, pixel rows go to and come from GL unpadded (an alignment of 1 both
// ways); then the alignments it found are set again. An alignment of 8 left by a
// caller would misread the rows of odd widths.
class CUnpaddedPixelRows {
public:
    CUnpaddedPixelRows();
    ~CUnpaddedPixelRows();
    CUnpaddedPixelRows(const CUnpaddedPixelRows&) = delete;
    CUnpaddedPixelRows& operator=(const CUnpaddedPixelRows&) = delete;

private:
    std::int32_t pack_ = 4;
    std::int32_t unpack_ = 4;
};

class CTexture {
public:
    CTexture() = default;
    ~CTexture();
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    // Reads the bitmap `fileName` from the game's maps folder and uploads it into the
    // current GL context. Throws CVerdaxException: 3001 for an empty name; 1 when no
    // GL context is current; otherwise as ReadFileBytes and DecodeBitmap do.
    void LoadBitmap(const std::string& fileName);

    const std::string& GetName() const { return name_; }
    std::uint32_t GetGlName() const { return glName_; }
    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }
    // Of the bitmap as stored: 1 for a palette image, 3 for a true-colour one.
    std::uint8_t GetBytesPerPixel() const { return bytesPerPixel_; }

    // Deletes the GL texture object; the current GL context must be the one it was
    // uploaded into.
    void DeleteGlTexture();

private:
    void Upload(const BitmapImage& image);

    std::string name_;
    std::uint32_t glName_ = kGlNameUnset;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::uint8_t bytesPerPixel_ = 0;
};
