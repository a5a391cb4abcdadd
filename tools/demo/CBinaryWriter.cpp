#include "tools/demo/CBinaryWriter.h"

#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace demo {

void CBinaryWriter::U8(std::uint8_t value)
{
    bytes_.push_back(static_cast<char>(value));
}

void CBinaryWriter::U16(std::uint16_t value)
{
    U8(static_cast<std::uint8_t>(value & 0xFF));
    U8(static_cast<std::uint8_t>(value >> 8));
}

void CBinaryWriter::U32(std::uint32_t value)
{
    U16(static_cast<std::uint16_t>(value & 0xFFFF));
    U16(static_cast<std::uint16_t>(value >> 16));
}

void CBinaryWriter::F32(float value)
{
    U32(std::bit_cast<std::uint32_t>(value));
}

void CBinaryWriter::Name8(std::string_view text)
{
    if (text.size() > 255)
        throw std::length_error("4DS name longer than 255 bytes: " + std::string(text));
    U8(static_cast<std::uint8_t>(text.size()));
    Bytes(text);
}

void CBinaryWriter::CountedText(std::string_view text)
{
    U32(static_cast<std::uint32_t>(text.size()));
    Bytes(text);
}

void CBinaryWriter::ZeroText(std::string_view text)
{
    Bytes(text);
    U8(0);
}

void CBinaryWriter::BeginChunk(std::uint16_t id)
{
    openChunks_.push_back(bytes_.size());
    U16(id);
    U32(0);  // filled in by EndChunk
}

void CBinaryWriter::EndChunk()
{
    if (openChunks_.empty())
        throw std::logic_error("EndChunk without BeginChunk");
    const std::size_t start = openChunks_.back();
    openChunks_.pop_back();
    const std::size_t size = bytes_.size() - start;
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("chunk larger than 4 GiB");
    PatchU32(start + 2, static_cast<std::uint32_t>(size));
}

void CBinaryWriter::ChunkU32(std::uint16_t id, std::uint32_t value)
{
    U16(id);
    U32(10);
    U32(value);
}

void CBinaryWriter::ChunkRaw(std::uint16_t id, std::string_view raw)
{
    U16(id);
    U32(static_cast<std::uint32_t>(6 + raw.size()));
    Bytes(raw);
}

void CBinaryWriter::ChunkText(std::uint16_t id, std::string_view text)
{
    U16(id);
    U32(static_cast<std::uint32_t>(6 + text.size() + 1));
    ZeroText(text);
}

std::string CBinaryWriter::Take()
{
    if (!openChunks_.empty())
        throw std::logic_error("chunk left open");
    return std::move(bytes_);
}

void CBinaryWriter::PatchU32(std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace demo
