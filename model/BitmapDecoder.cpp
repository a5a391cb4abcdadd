#include "model/BitmapDecoder.h"

#include "core/CVerdaxException.h"
#include "model/CByteCursor.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::uint16_t kBitmapType = 0x4D42;  // "BM"
constexpr float kByteToUnit = 0.003921569f;     // 1 / 255

// The fields of the file header and the 40-byte information header that are used.
struct BitmapHeader {
    std::uint32_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: the rows are stored top row first
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
};

BitmapHeader ReadHeader(CByteCursor& in)
{
    if (in.Remaining() < 2 || in.U16() != kBitmapType)
        throw CVerdaxException(VERDAX_ERR_NOT_BITMAP);
    BitmapHeader header;
    in.Skip(8);  // file size, reserved
    header.pixelOffset = in.U32();
    in.Skip(4);  // header size: taken as 40 whatever it says
    header.width = in.I32();
    header.height = in.I32();
    header.planes = in.U16();
    header.bitsPerPixel = in.U16();
    in.Skip(4);  // compression: not handled
    header.imageSize = in.U32();
    in.Skip(8);  // resolution
    header.coloursUsed = in.U32();
    in.Skip(4);  // colours important
    return header;
}

// Refuses sizes that no texture has, before any size arithmetic or allocation.
void CheckHeader(const BitmapHeader& header)
{
    const std::int64_t height = header.height;
    if (header.width < 0 || header.width > kMaxBitmapSide || height < -kMaxBitmapSide || height > kMaxBitmapSide)
        throw CVerdaxException(VERDAX_ERR_FOREIGN);
    if (header.bitsPerPixel != 8 && header.bitsPerPixel != 24)
        throw CVerdaxException(VERDAX_ERR_FOREIGN);
}

void ReadPalette(CByteCursor& in, const BitmapHeader& header, BitmapImage& image)
{
    const std::uint32_t listed = header.coloursUsed & 0xFFFF;
    const std::uint32_t count = listed == 0 ? 256 : listed;
    const auto entries = in.Bytes(std::uint64_t{count} * 4);
    image.red.resize(count);
    image.green.resize(count);
    image.blue.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        image.blue[i] = entries[4 * i] * kByteToUnit;
        image.green[i] = entries[4 * i + 1] * kByteToUnit;
        image.red[i] = entries[4 * i + 2] * kByteToUnit;
    }
}

// Rows in the file are padded to a multiple of four bytes.
std::uint64_t FileRowStride(const BitmapHeader& header)
{
    return (std::uint64_t{static_cast<std::uint32_t>(header.width)} * header.bitsPerPixel + 31) / 32 * 4;
}

std::uint64_t RowCount(const BitmapHeader& header)
{
    return static_cast<std::uint64_t>(header.height < 0 ? -std::int64_t{header.height} : header.height);
}

// The image size field, or when it is 0 the size the rows take in the file.
std::uint64_t PixelByteCount(const BitmapHeader& header)
{
    if (header.imageSize != 0)
        return header.imageSize;
    return std::uint64_t{header.planes} * FileRowStride(header) * RowCount(header);
}

std::span<const std::uint8_t> PixelBlock(std::span<const std::uint8_t> file, const BitmapHeader& header,
                                         std::uint64_t byteCount)
{
    if (header.pixelOffset > file.size() || byteCount > file.size() - header.pixelOffset)
        throw CVerdaxException(VERDAX_ERR_READ);
    return file.subspan(header.pixelOffset, static_cast<std::size_t>(byteCount));
}

// Bytes per pixel in the decoded picture.
std::uint64_t PictureBytesPerPixel(std::uint8_t fileBytesPerPixel)
{
    return fileBytesPerPixel == 1 ? 1 : 4;
}

// One row of `width` pixels from the file's bytes. Blue, green, red in the file; red,
// green, blue, opaque alpha for GL. Pixels a short block does not wholly hold are
// left black (opaque black for 24 bits).
void CopyRow(std::span<const std::uint8_t> source, std::uint8_t* target, std::uint64_t width,
             std::uint8_t bytesPerPixel)
{
    if (bytesPerPixel == 1) {
        std::memcpy(target, source.data(), source.size());
        return;
    }
    const std::uint64_t whole = source.size() / 3;
    const std::uint8_t* in = source.data();
    for (std::uint64_t pixel = 0; pixel < whole; ++pixel, in += 3, target += 4) {
        target[0] = in[2];
        target[1] = in[1];
        target[2] = in[0];
        target[3] = 0xFF;
    }
    for (std::uint64_t pixel = whole; pixel < width; ++pixel, target += 4)
        target[3] = 0xFF;
}

// Unpads the rows and puts the top row first. A block shorter than the picture
// gives a picture of the rows it holds (the last of them completed with black), so
// nothing is read past the block and memory never exceeds what the file backs.
void ReadRows(std::span<const std::uint8_t> block, const BitmapHeader& header, BitmapImage& image)
{
    const std::uint64_t stride = FileRowStride(header);
    const std::uint64_t width = static_cast<std::uint32_t>(header.width);
    const std::uint64_t fileRowBytes = width * image.bytesPerPixel;
    const std::uint64_t rowBytes = width * PictureBytesPerPixel(image.bytesPerPixel);
    const std::uint64_t rows = std::min(RowCount(header), (block.size() + stride - 1) / stride);
    try {
        image.pixels.assign(static_cast<std::size_t>(rows * rowBytes), 0);
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    }
    const bool topDown = header.height < 0;
    for (std::uint64_t fileRow = 0; fileRow < rows; ++fileRow) {
        const std::uint64_t start = fileRow * stride;
        const auto source = block.subspan(static_cast<std::size_t>(start),
                                          static_cast<std::size_t>(std::min(fileRowBytes, block.size() - start)));
        const std::uint64_t pictureRow = topDown ? fileRow : rows - 1 - fileRow;
        CopyRow(source, image.pixels.data() + pictureRow * rowBytes, width, image.bytesPerPixel);
    }
    image.width = header.width;
    image.height = static_cast<std::int32_t>(rows);
}

}  // namespace

BitmapImage DecodeBitmap(std::span<const std::uint8_t> file)
{
    CByteCursor in(file);
    const BitmapHeader header = ReadHeader(in);
    CheckHeader(header);

    BitmapImage image;
    image.bytesPerPixel = static_cast<std::uint8_t>(header.bitsPerPixel / 8);
    if (header.bitsPerPixel == 8)
        ReadPalette(in, header, image);

    const std::uint64_t byteCount = PixelByteCount(header);
    if (byteCount == 0)
        return image;  // no pixels: a picture of 0 × 0
    const auto block = PixelBlock(file, header, byteCount);
    if (header.width == 0 || header.height == 0)
        return image;
    ReadRows(block, header, image);
    return image;
}
