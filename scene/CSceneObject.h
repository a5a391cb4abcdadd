#pragma once
// The base of everything the scene file holds: the container and its objects.
// It gives them the stream binding, the typed chunk primitives and the one virtual
// interface through which the views read and edit an object without knowing its
// class.
//
// The scene file is a tree of chunks: a u16 id, a u32 size counting the whole chunk
// (header included), then the content. Numbers are little-endian. Every primitive
// returns the number of bytes it moved, which callers add up; a short read raises
// CVerdaxException 3005 and a failed write 3006, both without a text.
//
// Readers treat every byte as hostile: a length that exceeds what remains in the
// stream fails with 3005 before anything of that length is allocated, and a chunk
// whose content is "size - 6" bytes may not declare a size below 6.

#include "core/CVerdaxData.h"
#include "core/Geometry.h"
#include "scene/CMemoryReadBuffer.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <iosfwd>
#include <istream>
#include <span>
#include <string>
#include <vector>

// Turns one text of an object into another (into another code page); may throw,
// which leaves the object partly converted.
using TextRecoder = std::function<std::string(const std::string&)>;

class CSceneObject : public CVerdaxData {
public:
    CSceneObject() = default;
    ~CSceneObject() override;
    CSceneObject(const CSceneObject&) = delete;
    CSceneObject& operator=(const CSceneObject&) = delete;

    // Called by a list reader after the element's u16 id: binds the stream, reads the
    // element's u32 size and content, returns the bytes consumed after the id.
    virtual std::uint32_t Load(std::iostream& stream);
    // Binds the stream, writes the whole element, id included, and returns its size.
    virtual std::uint32_t Save(std::iostream& stream);
    virtual std::string GetName() const;
    virtual void SetName(const std::string& name);
    virtual Vector3 GetTranslation() const;
    virtual void SetTranslation(const Vector3& translation);
    virtual AxisAngle GetRotation() const;
    virtual void SetRotation(const AxisAngle& rotation);
    // Set before get here, unlike the other pairs: the slot order is fixed.
    virtual void SetScale(const Vector3& scale);
    virtual Vector3 GetScale() const;
    virtual std::string GetScript() const;
    virtual void SetScript(const std::string& script);

    // "fFile pos = " and the bound stream's position (read position while reading,
    // write position while writing) as a signed decimal number.
    std::string FilePositionText() const;

protected:
    void BindForReading(std::iostream& stream);
    void BindForWriting(std::iostream& stream);
    std::iostream* BoundStream() const { return stream_; }

    // Inline: a large mission's things read millions of these.
    std::uint32_t ReadU8(std::uint8_t& value)
    {
        ReadRaw(&value, 1);
        return 1;
    }
    std::uint32_t ReadU16(std::uint16_t& value)
    {
        std::uint8_t bytes[2];
        ReadRaw(bytes, sizeof bytes);
        value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
        return 2;
    }
    std::uint32_t ReadU32(std::uint32_t& value)
    {
        std::uint8_t bytes[4];
        ReadRaw(bytes, sizeof bytes);
        value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
                std::uint32_t{bytes[3]} << 24;
        return 4;
    }
    std::uint32_t ReadI32(std::int32_t& value);
    std::uint32_t ReadF32(float& value);
    std::uint32_t ReadVector3(Vector3& value);
    std::uint32_t ReadBytes(std::span<std::uint8_t> place);
    // Reads n bytes; the text becomes the bytes up to the first zero byte.
    std::uint32_t ReadString(std::string& text, std::uint32_t n);
    // Reads past n bytes.
    std::uint32_t SkipBytes(std::uint32_t n);

    std::uint32_t WriteU8(std::uint8_t value);
    std::uint32_t WriteU16(std::uint16_t value);
    std::uint32_t WriteU32(std::uint32_t value);
    std::uint32_t WriteI32(std::int32_t value);
    std::uint32_t WriteF32(float value);
    std::uint32_t WriteVector3(const Vector3& value);
    std::uint32_t WriteBytes(std::span<const std::uint8_t> bytes);
    // The text's bytes, and one zero byte when `terminated`.
    std::uint32_t WriteString(const std::string& text, bool terminated);

    // Bytes between the read position and the end of the stream.
    std::uint64_t RemainingBytes() const;
    // Whether at least n bytes remain; cheaper than RemainingBytes when the stream's
    // buffer already holds them.
    bool HasRemaining(std::uint64_t n) const;

    // Chunk readers, called after the chunk's id; each reads the u32 size and the
    // content and returns 4 + the content bytes read.
    //
    // Reads a size whose content is "size - 6" bytes and returns that content length
    // in `length`; below 6, or beyond the end of the stream, fails with 3005.
    std::uint32_t ReadContentLength(std::uint32_t& length);
    // The content length "size - 6" of a chunk whose size was read already, with the
    // same checks.
    std::uint32_t CheckedContentLength(std::uint32_t size) const;
    // A chunk text: the content up to its first zero byte.
    std::uint32_t ReadChunkText(std::string& text);
    // The whole content into `data`.
    std::uint32_t ReadChunkData(std::vector<std::uint8_t>& data);
    // At most `field.size()` bytes of content into `field`; the rest is read and
    // dropped, and shorter content leaves the rest of `field` as it was.
    std::uint32_t ReadChunkKept(std::span<std::uint8_t> field);
    // The content read and dropped.
    std::uint32_t SkipChunk();
    // Fixed layouts, read whatever the declared size.
    std::uint32_t ReadChunkU32(std::uint32_t& value);
    std::uint32_t ReadChunkVector3(Vector3& value);
    // Up to four f32.
    std::uint32_t ReadChunkFloats(std::span<float> values);

    // Reads a composite chunk: its size S, then inner chunks while consumed + 2 < S
    // (the composite's id counted in), each id handed to `dispatch`, which reads the
    // chunk after its id and returns what it consumed. Returns the bytes consumed
    // after the composite's id.
    template <class Dispatch>
    std::uint32_t ReadComposite(Dispatch&& dispatch)
    {
        std::uint32_t size = 0;
        std::uint64_t consumed = ReadU32(size);
        while (consumed + 2 < size) {
            std::uint16_t id = 0;
            consumed += ReadU16(id);
            consumed += dispatch(id);
        }
        return static_cast<std::uint32_t>(consumed);
    }

    // Fixed chunks, written with their size known beforehand; each returns its size.
    std::uint32_t WriteChunkU32(std::uint16_t id, std::uint32_t value);
    std::uint32_t WriteChunkVector3(std::uint16_t id, const Vector3& value);
    // Up to four f32, size 6 + 4 each.
    std::uint32_t WriteChunkFloats(std::uint16_t id, std::span<const float> values);
    // A chunk's id and size; its content follows.
    std::uint32_t WriteChunkHeader(std::uint16_t id, std::uint32_t size);
    std::uint32_t WriteChunkBytes(std::uint16_t id, std::span<const std::uint8_t> bytes);
    // A chunk text: the text and one zero byte, size 6 + length + 1.
    std::uint32_t WriteChunkText(std::uint16_t id, const std::string& text);
    // The text without its zero byte, size 6 + length.
    std::uint32_t WriteChunkTextUnterminated(std::uint16_t id, const std::string& text);
    std::uint32_t WriteEmptyChunk(std::uint16_t id);

    // A chunk whose size is known only after its content: BeginChunk writes the id and
    // a placeholder and returns where the size goes; EndChunk writes `total` (the
    // whole chunk's bytes) there and moves back to the end of the stream.
    struct ChunkStart {
        std::uint64_t sizePosition;
    };
    ChunkStart BeginChunk(std::uint16_t id);
    void EndChunk(ChunkStart start, std::uint32_t total);

private:
    // Bytes come straight from the bound stream's buffer when it is a memory read
    // buffer (the file read whole); any other stream is read through sgetn.
    void ReadRaw(void* place, std::uint64_t n)
    {
        const char* at = reader_ && *stream_ ? reader_->Take(n) : nullptr;
        if (at)
            std::memcpy(place, at, n);
        else
            ReadRawFromStream(place, n);
    }
    // The next n bytes of a bound memory read buffer, the position moved past them;
    // nullptr when the stream is read through sgetn or n is 0. Fails with 3005 when
    // fewer remain.
    const char* TakeRaw(std::uint64_t n);
    void ReadRawFromStream(void* place, std::uint64_t n);
    void WriteRaw(const void* bytes, std::uint64_t n);

    std::iostream* stream_ = nullptr;
    CMemoryReadBuffer* reader_ = nullptr;  // the bound stream's buffer, when reading from one
    bool writing_ = false;
};
