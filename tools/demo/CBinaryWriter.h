#pragma once
// Little-endian bytes for the game's binary formats, with nested chunks whose size
// field is filled in when the chunk is closed (the scene file's size patching).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

class CBinaryWriter {
public:
    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value);
    void Bytes(std::string_view raw) { bytes_.append(raw); }
    void Zeros(std::size_t count) { bytes_.append(count, '\0'); }

    // A 4DS name: u8 length, then the bytes. Longer than 255 bytes throws std::length_error.
    void Name8(std::string_view text);
    // u32 length, then the bytes, no terminator.
    void CountedText(std::string_view text);
    // The bytes, then one zero byte.
    void ZeroText(std::string_view text);

    // A chunk is its u16 id and a u32 size that counts the whole chunk, header included.
    void BeginChunk(std::uint16_t id);
    void EndChunk();
    void ChunkU32(std::uint16_t id, std::uint32_t value);
    void ChunkRaw(std::uint16_t id, std::string_view raw);
    void ChunkText(std::uint16_t id, std::string_view text);  // with its zero byte

    std::size_t Size() const { return bytes_.size(); }
    const std::string& Data() const { return bytes_; }
    // The bytes written; every chunk must be closed.
    std::string Take();

private:
    void PatchU32(std::size_t at, std::uint32_t value);

    std::string bytes_;
    std::vector<std::size_t> openChunks_;  // offsets of the open chunks' ids
};

}  // namespace demo
