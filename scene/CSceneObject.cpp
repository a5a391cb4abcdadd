#include "scene/CSceneObject.h"

#include "core/CVerdaxException.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <istream>
#include <limits>

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

template <class T>
T FromLittleEndian(const std::array<std::uint8_t, sizeof(T)>& bytes)
{
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<T>(value | static_cast<T>(static_cast<T>(bytes[i]) << (8 * i)));
    return value;
}

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
}

void CSceneObject::BindForWriting(std::iostream& stream)
{
    stream_ = &stream;
    writing_ = true;
}

// Reads and writes go to the stream's buffer directly: the per-call sentry of the
// formatted stream costs more than the copy itself for these small fields.
void CSceneObject::ReadRaw(void* place, std::uint64_t n)
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

std::uint32_t CSceneObject::ReadU8(std::uint8_t& value)
{
    ReadRaw(&value, 1);
    return 1;
}

std::uint32_t CSceneObject::ReadU16(std::uint16_t& value)
{
    std::array<std::uint8_t, 2> bytes;
    ReadRaw(bytes.data(), bytes.size());
    value = FromLittleEndian<std::uint16_t>(bytes);
    return 2;
}

std::uint32_t CSceneObject::ReadU32(std::uint32_t& value)
{
    std::array<std::uint8_t, 4> bytes;
    ReadRaw(bytes.data(), bytes.size());
    value = FromLittleEndian<std::uint32_t>(bytes);
    return 4;
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
    if (n > RemainingBytes())
        throw CVerdaxException(VERDAX_ERR_READ);
    text.resize(n);
    ReadRaw(text.data(), n);
    text.resize(std::strlen(text.c_str()));
    return n;
}

std::uint32_t CSceneObject::SkipBytes(std::uint32_t n)
{
    if (n == 0)
        return 0;
    if (!stream_ || !*stream_ || n > RemainingBytes())
        throw CVerdaxException(VERDAX_ERR_READ);
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

std::uint64_t CSceneObject::RemainingBytes() const
{
    if (!stream_)
        return 0;
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
    if (size < kChunkHeaderSize || size - kChunkHeaderSize > RemainingBytes())
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

std::uint32_t CSceneObject::ReadChunkU32(std::uint32_t& value)
{
    std::uint32_t size = 0;
    return ReadU32(size) + ReadU32(value);
}

std::uint32_t CSceneObject::ReadChunkVector3(Vector3& value)
{
    std::uint32_t size = 0;
    return ReadU32(size) + ReadVector3(value);
}

std::uint32_t CSceneObject::WriteChunkU32(std::uint16_t id, std::uint32_t value)
{
    return WriteU16(id) + WriteU32(10) + WriteU32(value);
}

std::uint32_t CSceneObject::WriteChunkVector3(std::uint16_t id, const Vector3& value)
{
    return WriteU16(id) + WriteU32(18) + WriteVector3(value);
}

std::uint32_t CSceneObject::WriteChunkBytes(std::uint16_t id, std::span<const std::uint8_t> bytes)
{
    return WriteU16(id) + WriteU32(ChunkSize(bytes.size())) + WriteBytes(bytes);
}

std::uint32_t CSceneObject::WriteChunkText(std::uint16_t id, const std::string& text)
{
    return WriteU16(id) + WriteU32(ChunkSize(text.size() + 1)) + WriteString(text, true);
}

std::uint32_t CSceneObject::WriteChunkTextUnterminated(std::uint16_t id, const std::string& text)
{
    return WriteU16(id) + WriteU32(ChunkSize(text.size())) + WriteString(text, false);
}

std::uint32_t CSceneObject::WriteEmptyChunk(std::uint16_t id)
{
    return WriteU16(id) + WriteU32(kChunkHeaderSize);
}

CSceneObject::ChunkStart CSceneObject::BeginChunk(std::uint16_t id)
{
    WriteU16(id);
    const auto position = stream_->rdbuf()->pubseekoff(0, std::ios::cur, std::ios::out);
    if (position == std::streampos(-1))
        throw CVerdaxException(VERDAX_ERR_WRITE);
    WriteU32(0);  // patched by EndChunk
    return {static_cast<std::uint64_t>(position)};
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
