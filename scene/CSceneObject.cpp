#include "scene/CSceneObject.h"

#include "core/CVerdaxException.h"

#include <algorithm>
#include <array>
#include <bit>
#include <istream>
#include <limits>
#include <typeinfo>

namespace {

constexpr std::uint32_t kChunkHeaderSize = 6;

// The size field of a chunk with `contentLength` bytes of content; content too long
// for the u32 field cannot be written.
std::uint32_t ChunkSize(std::uint64_t contentLength)
{
    const std::uint64_t size = kChunkHeaderSize + contentLength;
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw CVerdaxException(VERDAX_ERR_WRITE);
    return static_cast<std::uint32_t>(size);
}

template <class T>
std::array<std::uint8_t, sizeof(T)> LittleEndian(T value)
{
    std::array<std::uint8_t, sizeof(T)> bytes{};
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

void PutU16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

constexpr std::size_t kMaxChunkFloats = 4;

}  // namespace

CSceneObject::~CSceneObject() = default;

std::uint32_t CSceneObject::Load(std::iostream&)
{
    return 0;
}

std::uint32_t CSceneObject::Save(std::iostream&)
{
    return 0;
}

std::string CSceneObject::GetName() const
{
    return {};
}

void CSceneObject::SetName(const std::string&) {}

Vector3 CSceneObject::GetTranslation() const
{
    return {};
}

void CSceneObject::SetTranslation(const Vector3&) {}

AxisAngle CSceneObject::GetRotation() const
{
    return {};
}

void CSceneObject::SetRotation(const AxisAngle&) {}

void CSceneObject::SetScale(const Vector3&) {}

Vector3 CSceneObject::GetScale() const
{
    return {};
}

std::string CSceneObject::GetScript() const
{
    return {};
}

void CSceneObject::SetScript(const std::string&) {}

std::string CSceneObject::FilePositionText() const
{
    long long position = -1;
    if (stream_) {
        // Asked of the buffer, so that a stream in a failed state still tells where it is.
        const auto which = writing_ ? std::ios::out : std::ios::in;
        position = static_cast<long long>(stream_->rdbuf()->pubseekoff(0, std::ios::cur, which));
    }
    return "fFile pos = " + std::to_string(position);
}

void CSceneObject::BindForReading(std::iostream& stream)
{
    stream_ = &stream;
    writing_ = false;
    // Asked once per bound object rather than per field; typeid of a final class is
    // cheaper than a dynamic_cast.
    std::streambuf* buffer = stream.rdbuf();
    reader_ = buffer && typeid(*buffer) == typeid(CMemoryReadBuffer) ? static_cast<CMemoryReadBuffer*>(buffer)
                                                                      : nullptr;
}

void CSceneObject::BindForWriting(std::iostream& stream)
{
    stream_ = &stream;
    reader_ = nullptr;
    writing_ = true;
}

const char* CSceneObject::TakeRaw(std::uint64_t n)
{
    if (!reader_ || n == 0)
        return nullptr;
    const char* at = *stream_ ? reader_->Take(n) : nullptr;
    if (!at)
        throw CVerdaxException(VERDAX_ERR_READ);
    return at;
}

// Reads and writes go to the stream's buffer directly: the per-call sentry of the
// formatted stream costs more than the copy itself for these small fields. A short
// read leaves the position at the end, as sgetn does.
void CSceneObject::ReadRawFromStream(void* place, std::uint64_t n)
{
    if (!stream_ || !*stream_)
        throw CVerdaxException(VERDAX_ERR_READ);
    const auto got = stream_->rdbuf()->sgetn(static_cast<char*>(place), static_cast<std::streamsize>(n));
    if (got != static_cast<std::streamsize>(n)) {
        stream_->setstate(std::ios::eofbit | std::ios::failbit);
        throw CVerdaxException(VERDAX_ERR_READ);
    }
}

void CSceneObject::WriteRaw(const void* bytes, std::uint64_t n)
{
    if (!stream_ || !*stream_)
        throw CVerdaxException(VERDAX_ERR_WRITE);
    const auto put = stream_->rdbuf()->sputn(static_cast<const char*>(bytes), static_cast<std::streamsize>(n));
    if (put != static_cast<std::streamsize>(n)) {
        stream_->setstate(std::ios::badbit);
        throw CVerdaxException(VERDAX_ERR_WRITE);
    }
}

std::uint32_t CSceneObject::ReadI32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    ReadU32(raw);
    value = static_cast<std::int32_t>(raw);
    return 4;
}

std::uint32_t CSceneObject::ReadF32(float& value)
{
    std::uint32_t raw = 0;
    ReadU32(raw);
    value = std::bit_cast<float>(raw);
    return 4;
}

std::uint32_t CSceneObject::ReadVector3(Vector3& value)
{
    return ReadF32(value.x) + ReadF32(value.y) + ReadF32(value.z);
}

std::uint32_t CSceneObject::ReadBytes(std::span<std::uint8_t> place)
{
    if (place.empty())
        return 0;
    ReadRaw(place.data(), place.size());
    return static_cast<std::uint32_t>(place.size());
}

std::uint32_t CSceneObject::ReadString(std::string& text, std::uint32_t n)
{
    text.clear();
    if (n == 0)
        return 0;
    if (!HasRemaining(n))
        throw CVerdaxException(VERDAX_ERR_READ);
    if (const char* at = TakeRaw(n)) {
        const void* zero = std::memchr(at, 0, n);
        text.assign(at, zero ? static_cast<const char*>(zero) : at + n);
        return n;
    }
    text.resize(n);
    ReadRaw(text.data(), n);
    if (const auto zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return n;
}

std::uint32_t CSceneObject::SkipBytes(std::uint32_t n)
{
    if (n == 0)
        return 0;
    if (!stream_ || !*stream_ || !HasRemaining(n))
        throw CVerdaxException(VERDAX_ERR_READ);
    if (TakeRaw(n))
        return n;
    if (stream_->rdbuf()->pubseekoff(n, std::ios::cur, std::ios::in) == std::streampos(-1))
        throw CVerdaxException(VERDAX_ERR_READ);
    return n;
}

std::uint32_t CSceneObject::WriteU8(std::uint8_t value)
{
    WriteRaw(&value, 1);
    return 1;
}

std::uint32_t CSceneObject::WriteU16(std::uint16_t value)
{
    const auto bytes = LittleEndian(value);
    WriteRaw(bytes.data(), bytes.size());
    return 2;
}

std::uint32_t CSceneObject::WriteU32(std::uint32_t value)
{
    const auto bytes = LittleEndian(value);
    WriteRaw(bytes.data(), bytes.size());
    return 4;
}

std::uint32_t CSceneObject::WriteI32(std::int32_t value)
{
    return WriteU32(static_cast<std::uint32_t>(value));
}

std::uint32_t CSceneObject::WriteF32(float value)
{
    return WriteU32(std::bit_cast<std::uint32_t>(value));
}

std::uint32_t CSceneObject::WriteVector3(const Vector3& value)
{
    return WriteF32(value.x) + WriteF32(value.y) + WriteF32(value.z);
}

std::uint32_t CSceneObject::WriteBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return 0;
    WriteRaw(bytes.data(), bytes.size());
    return static_cast<std::uint32_t>(bytes.size());
}

std::uint32_t CSceneObject::WriteString(const std::string& text, bool terminated)
{
    // c_str() holds the zero byte after the text.
    const std::uint64_t n = text.size() + (terminated ? 1 : 0);
    if (n > std::numeric_limits<std::uint32_t>::max())
        throw CVerdaxException(VERDAX_ERR_WRITE);
    if (n != 0)
        WriteRaw(text.c_str(), n);
    return static_cast<std::uint32_t>(n);
}

bool CSceneObject::HasRemaining(std::uint64_t n) const
{
    if (!stream_)
        return n == 0;
    if (reader_)
        return n <= reader_->Remaining();
    // What the buffer holds at hand is there for certain; only beyond it is the end
    // of the stream looked up.
    const std::streamsize atHand = stream_->rdbuf()->in_avail();
    return (atHand > 0 && n <= static_cast<std::uint64_t>(atHand)) || n <= RemainingBytes();
}

std::uint64_t CSceneObject::RemainingBytes() const
{
    if (!stream_)
        return 0;
    if (reader_)
        return reader_->Remaining();
    auto* buffer = stream_->rdbuf();
    const auto here = buffer->pubseekoff(0, std::ios::cur, std::ios::in);
    if (here == std::streampos(-1))
        return 0;
    const auto end = buffer->pubseekoff(0, std::ios::end, std::ios::in);
    buffer->pubseekpos(here, std::ios::in);
    if (end == std::streampos(-1) || end < here)
        return 0;
    return static_cast<std::uint64_t>(end - here);
}

std::uint32_t CSceneObject::ReadContentLength(std::uint32_t& length)
{
    std::uint32_t size = 0;
    ReadU32(size);
    length = CheckedContentLength(size);
    return 4;
}

std::uint32_t CSceneObject::CheckedContentLength(std::uint32_t size) const
{
    if (size < kChunkHeaderSize || !HasRemaining(size - kChunkHeaderSize))
        throw CVerdaxException(VERDAX_ERR_READ);
    return size - kChunkHeaderSize;
}

std::uint32_t CSceneObject::ReadChunkText(std::string& text)
{
    std::uint32_t length = 0;
    const std::uint32_t consumed = ReadContentLength(length);
    return consumed + ReadString(text, length);
}

std::uint32_t CSceneObject::ReadChunkData(std::vector<std::uint8_t>& data)
{
    std::uint32_t length = 0;
    const std::uint32_t consumed = ReadContentLength(length);
    if (const auto* at = reinterpret_cast<const std::uint8_t*>(TakeRaw(length))) {
        data.assign(at, at + length);
        return consumed + length;
    }
    data.assign(length, 0);
    return consumed + ReadBytes(data);
}

std::uint32_t CSceneObject::ReadChunkKept(std::span<std::uint8_t> field)
{
    std::uint32_t length = 0;
    const std::uint32_t consumed = ReadContentLength(length);
    const std::uint32_t kept = std::min<std::uint32_t>(length, static_cast<std::uint32_t>(field.size()));
    return consumed + ReadBytes(field.first(kept)) + SkipBytes(length - kept);
}

std::uint32_t CSceneObject::SkipChunk()
{
    std::uint32_t length = 0;
    const std::uint32_t consumed = ReadContentLength(length);
    return consumed + SkipBytes(length);
}

// Fixed chunks are moved in one piece: a call on the stream buffer per chunk
// rather than per field.
std::uint32_t CSceneObject::ReadChunkU32(std::uint32_t& value)
{
    std::array<std::uint8_t, 8> bytes;  // size, value
    ReadRaw(bytes.data(), bytes.size());
    value = GetU32(bytes.data() + 4);
    return 8;
}

std::uint32_t CSceneObject::ReadChunkFloats(std::span<float> values)
{
    std::array<std::uint8_t, 4 + 4 * kMaxChunkFloats> bytes;  // size, values
    const std::size_t count = std::min(values.size(), kMaxChunkFloats);
    const std::size_t length = 4 + 4 * count;
    ReadRaw(bytes.data(), length);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = std::bit_cast<float>(GetU32(bytes.data() + 4 + 4 * i));
    return static_cast<std::uint32_t>(length);
}

std::uint32_t CSceneObject::ReadChunkVector3(Vector3& value)
{
    std::array<float, 3> values{};
    const std::uint32_t consumed = ReadChunkFloats(values);
    value = {values[0], values[1], values[2]};
    return consumed;
}

std::uint32_t CSceneObject::WriteChunkHeader(std::uint16_t id, std::uint32_t size)
{
    std::array<std::uint8_t, 6> bytes;
    PutU16(bytes.data(), id);
    PutU32(bytes.data() + 2, size);
    WriteRaw(bytes.data(), bytes.size());
    return 6;
}

std::uint32_t CSceneObject::WriteChunkU32(std::uint16_t id, std::uint32_t value)
{
    std::array<std::uint8_t, 10> bytes;
    PutU16(bytes.data(), id);
    PutU32(bytes.data() + 2, 10);
    PutU32(bytes.data() + 6, value);
    WriteRaw(bytes.data(), bytes.size());
    return 10;
}

std::uint32_t CSceneObject::WriteChunkFloats(std::uint16_t id, std::span<const float> values)
{
    std::array<std::uint8_t, 6 + 4 * kMaxChunkFloats> bytes;
    const std::size_t count = std::min(values.size(), kMaxChunkFloats);
    const auto size = static_cast<std::uint32_t>(6 + 4 * count);
    PutU16(bytes.data(), id);
    PutU32(bytes.data() + 2, size);
    for (std::size_t i = 0; i < count; ++i)
        PutU32(bytes.data() + 6 + 4 * i, std::bit_cast<std::uint32_t>(values[i]));
    WriteRaw(bytes.data(), size);
    return size;
}

std::uint32_t CSceneObject::WriteChunkVector3(std::uint16_t id, const Vector3& value)
{
    const std::array<float, 3> values{value.x, value.y, value.z};
    return WriteChunkFloats(id, values);
}

std::uint32_t CSceneObject::WriteChunkBytes(std::uint16_t id, std::span<const std::uint8_t> bytes)
{
    return WriteChunkHeader(id, ChunkSize(bytes.size())) + WriteBytes(bytes);
}

std::uint32_t CSceneObject::WriteChunkText(std::uint16_t id, const std::string& text)
{
    return WriteChunkHeader(id, ChunkSize(text.size() + 1)) + WriteString(text, true);
}

std::uint32_t CSceneObject::WriteChunkTextUnterminated(std::uint16_t id, const std::string& text)
{
    return WriteChunkHeader(id, ChunkSize(text.size())) + WriteString(text, false);
}

std::uint32_t CSceneObject::WriteEmptyChunk(std::uint16_t id)
{
    return WriteChunkHeader(id, kChunkHeaderSize);
}

CSceneObject::ChunkStart CSceneObject::BeginChunk(std::uint16_t id)
{
    WriteChunkHeader(id, 0);  // the size is patched by EndChunk
    const auto end = stream_->rdbuf()->pubseekoff(0, std::ios::cur, std::ios::out);
    if (end == std::streampos(-1))
        throw CVerdaxException(VERDAX_ERR_WRITE);
    return {static_cast<std::uint64_t>(end) - 4};
}

void CSceneObject::EndChunk(ChunkStart start, std::uint32_t total)
{
    auto* buffer = stream_->rdbuf();
    if (buffer->pubseekpos(static_cast<std::streamoff>(start.sizePosition), std::ios::out) == std::streampos(-1))
        throw CVerdaxException(VERDAX_ERR_WRITE);
    WriteU32(total);
    if (buffer->pubseekoff(0, std::ios::end, std::ios::out) == std::streampos(-1))
        throw CVerdaxException(VERDAX_ERR_WRITE);
}
