#pragma once
// One texture of the cache: a bitmap from the game's maps folder, uploaded as a GL
// texture. The pixels stay in memory for the texture's lifetime.

#include <cstdint>
#include <string>
#include <vector>

// The GL name of a texture that was never uploaded (and of a material's texture
// slot that was never filled).
inline constexpr std::uint32_t kGlNameUnset = 0xFFFFFFFF;

struct BitmapImage;

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
    std::uint8_t GetBytesPerPixel() const { return bytesPerPixel_; }
    // Rows of width × bytes-per-pixel bytes, top row first, as uploaded.
    const std::vector<std::uint8_t>& GetPixels() const { return pixels_; }

private:
    void Upload(const BitmapImage& image);

    std::string name_;
    std::uint32_t glName_ = kGlNameUnset;
    std::vector<std::uint8_t> pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::uint8_t bytesPerPixel_ = 0;
};
