#include "tools/demo/BitmapWriter.h"

#include "tools/demo/CBinaryWriter.h"

#include <stdexcept>

namespace demo {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi

std::uint32_t BytesPerPixel(const DemoBitmap& bitmap)
{
    return bitmap.bitsPerPixel / 8u;
}

void Validate(const DemoBitmap& bitmap)
{
    if (bitmap.bitsPerPixel != 8 && bitmap.bitsPerPixel != 24)
        throw std::invalid_argument("bitmap: only 8 and 24 bits per pixel are written");
    if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > 4096 || bitmap.height > 4096)
        throw std::invalid_argument("bitmap: size out of range");
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * BytesPerPixel(bitmap);
    if (bitmap.pixels.size() != rowBytes * static_cast<std::size_t>(bitmap.height))
        throw std::invalid_argument("bitmap: pixel count does not match the size");
    if (bitmap.bitsPerPixel == 8) {
        if (bitmap.palette.empty() || bitmap.palette.size() > 256)
            throw std::invalid_argument("bitmap: an 8-bit bitmap needs 1 to 256 palette entries");
        for (std::uint8_t index : bitmap.pixels) {
            if (index >= bitmap.palette.size())
                throw std::invalid_argument("bitmap: colour index beyond the palette");
        }
    }
}

std::uint32_t PaletteBytes(const DemoBitmap& bitmap)
{
    return bitmap.bitsPerPixel == 8 ? static_cast<std::uint32_t>(bitmap.palette.size()) * 4 : 0;
}

void WriteHeaders(CBinaryWriter& out, const DemoBitmap& bitmap, std::uint32_t imageBytes)
{
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + PaletteBytes(bitmap);
    out.U16(0x4D42);  // "BM"
    out.U32(pixelOffset + imageBytes);
    out.U32(0);  // reserved
    out.U32(pixelOffset);

    out.U32(kInfoHeaderSize);
    out.I32(bitmap.width);
    out.I32(bitmap.height);  // positive: rows stored bottom-up
    out.U16(1);              // planes
    out.U16(bitmap.bitsPerPixel);
    out.U32(0);  // BI_RGB
    out.U32(bitmap.imageSizeFieldZero ? 0 : imageBytes);
    out.I32(kPixelsPerMetre);
    out.I32(kPixelsPerMetre);
    // 0 stands for a full palette of 256 entries.
    const bool fullPalette = bitmap.bitsPerPixel == 8 && bitmap.palette.size() == 256;
    out.U32(bitmap.bitsPerPixel == 8 && !fullPalette ? static_cast<std::uint32_t>(bitmap.palette.size()) : 0);
    out.U32(0);  // all colours important
}

void WritePalette(CBinaryWriter& out, const DemoBitmap& bitmap)
{
    if (bitmap.bitsPerPixel != 8)
        return;
    for (const Rgb& colour : bitmap.palette) {
        out.U8(colour.b);
        out.U8(colour.g);
        out.U8(colour.r);
        out.U8(0);
    }
}

void WriteRows(CBinaryWriter& out, const DemoBitmap& bitmap)
{
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * BytesPerPixel(bitmap);
    const std::size_t padding = BitmapStride(bitmap) - rowBytes;
    for (std::int32_t row = bitmap.height - 1; row >= 0; --row) {
        const std::uint8_t* source = bitmap.pixels.data() + static_cast<std::size_t>(row) * rowBytes;
        if (bitmap.bitsPerPixel == 8) {
            out.Bytes({reinterpret_cast<const char*>(source), rowBytes});
        } else {
            for (std::size_t i = 0; i < rowBytes; i += 3) {
                out.U8(source[i + 2]);  // stored blue, green, red
                out.U8(source[i + 1]);
                out.U8(source[i]);
            }
        }
        out.Zeros(padding);
    }
}

}  // namespace

std::uint32_t BitmapStride(const DemoBitmap& bitmap)
{
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(bitmap.width) * BytesPerPixel(bitmap);
    return (rowBytes + 3u) & ~3u;
}

std::string WriteBitmap(const DemoBitmap& bitmap)
{
    Validate(bitmap);
    const std::uint32_t imageBytes = BitmapStride(bitmap) * static_cast<std::uint32_t>(bitmap.height);
    CBinaryWriter out;
    WriteHeaders(out, bitmap, imageBytes);
    WritePalette(out, bitmap);
    WriteRows(out, bitmap);
    return out.Take();
}

}  // namespace demo
