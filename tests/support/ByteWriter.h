#pragma once
// Spells out test inputs byte by byte: little-endian values, chunks with a size
// given or counted from their content, the texts of the game's formats. It shares
// no code with the readers and writers under test, so a reader and its writer
// cannot agree on the same mistake.

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace testsupport {

class ByteWriter {
public:
    ByteWriter& U8(std::uint8_t v)
    {
        bytes_.push_back(static_cast<char>(v));
        return *this;
    }
    ByteWriter& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ByteWriter& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    ByteWriter& F32(float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return U32(bits);
    }
    ByteWriter& Bytes(std::string_view raw)
    {
        bytes_.append(raw);
        return *this;
    }
    ByteWriter& Bytes(std::initializer_list<std::uint8_t> raw)
    {
        for (auto b : raw)
            U8(b);
        return *this;
    }
    ByteWriter& Fill(std::size_t count, std::uint8_t value = 0)
    {
        bytes_.append(count, static_cast<char>(value));
        return *this;
    }

    // A chunk header with a size given by the test (which may lie).
    ByteWriter& Header(std::uint16_t id, std::uint32_t size) { return U16(id).U32(size); }

    // A chunk whose size field counts the header and whatever `body` writes.
    ByteWriter& Chunk(std::uint16_t id, const std::function<void(ByteWriter&)>& body)
    {
        U16(id);
        const std::size_t sizeAt = bytes_.size();
        U32(0);
        body(*this);
        PatchU32(sizeAt, static_cast<std::uint32_t>(bytes_.size() - sizeAt + 2));
        return *this;
    }
    ByteWriter& ChunkU32(std::uint16_t id, std::uint32_t v) { return Header(id, 10).U32(v); }
    ByteWriter& ChunkRaw(std::uint16_t id, std::string_view raw)
    {
        return Header(id, static_cast<std::uint32_t>(6 + raw.size())).Bytes(raw);
    }
    // A chunk text: the text and one zero byte.
    ByteWriter& ChunkText(std::uint16_t id, std::string_view text)
    {
        return Header(id, static_cast<std::uint32_t>(6 + text.size() + 1)).Bytes(text).U8(0);
    }

    // u32 length, then the bytes without terminator.
    ByteWriter& Counted(std::string_view text) { return U32(static_cast<std::uint32_t>(text.size())).Bytes(text); }
    // u8 length, then the bytes without terminator (4DS names).
    ByteWriter& Name8(std::string_view text) { return U8(static_cast<std::uint8_t>(text.size())).Bytes(text); }

    void PatchU32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }

    std::size_t Size() const { return bytes_.size(); }
    const std::string& Str() const { return bytes_; }

private:
    std::string bytes_;
};

// "0A FF 00" for the bytes 0x0A 0xFF 0x00: readable expectations in tests.
inline std::string Hex(std::string_view bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace testsupport
