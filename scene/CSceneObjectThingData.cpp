#include "scene/CSceneObjectThingData.h"

#include "core/CVerdaxException.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint16_t kKindChunk = 0xAE22;
constexpr std::uint16_t kNameChunk = 0xAE23;
constexpr std::uint16_t kDataChunk = 0xAE24;

}  // namespace

CSceneObjectThingData::~CSceneObjectThingData() = default;

bool CSceneObjectThingData::IsRawKind(std::int32_t kind)
{
    static constexpr std::array<std::int32_t, 10> kRawKinds{2, 4, 6, 8, 12, 18, 22, 25, 34, 35};
    return std::ranges::find(kRawKinds, kind) != kRawKinds.end();
}

std::uint32_t CSceneObjectThingData::Load(std::iostream& stream)
{
    BindForReading(stream);
    return ReadComposite([this](std::uint16_t id) -> std::uint32_t {
        switch (id) {
        case kKindChunk: {
            std::uint32_t size = 0;
            return ReadU32(size) + ReadI32(kind_);
        }
        case kNameChunk:
            return ReadChunkText(name_);
        case kDataChunk:
            return ReadKindData();
        default:
            throw CVerdaxException(VERDAX_ERR_INNER_CHUNK);
        }
    });
}

// The kind is the one read so far in this element.
std::uint32_t CSceneObjectThingData::ReadKindData()
{
    std::uint32_t size = 0;
    const std::uint32_t consumed = ReadU32(size);
    if (size == 6)
        return consumed;
    // Kinds 5 and 27 have a fixed layout, read whatever the declared size.
    if (kind_ == kScriptKind)
        return consumed + ReadScriptKindData();
    if (kind_ == kTextKind)
        return consumed + ReadTextKindData();
    if (!IsRawKind(kind_))
        throw CVerdaxException(VERDAX_ERR_INNER_CHUNK);
    data_.assign(CheckedContentLength(size), 0);
    return consumed + ReadBytes(data_);
}

std::uint32_t CSceneObjectThingData::ReadScriptKindData()
{
    std::uint32_t length = 0;
    std::string script;
    std::uint32_t consumed = ReadU32(value1_) + ReadU32(value2_) + ReadU16(word3_);
    consumed += ReadU32(length);
    consumed += ReadString(script, length);
    // Room for the zero byte from the start, and a byte copy rather than a loop
    // converting char to uint8_t.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(script.data());
    data_.reserve(script.size() + 1);
    data_.assign(bytes, bytes + script.size());
    data_.push_back(0);
    return consumed;
}

std::uint32_t CSceneObjectThingData::ReadTextKindData()
{
    std::uint32_t length = 0;
    std::uint32_t consumed = ReadBytes(data27_);
    consumed += ReadU32(length);
    consumed += ReadString(text27_, length);
    return consumed;
}

std::uint32_t CSceneObjectThingData::Save(std::iostream& stream)
{
    BindForWriting(stream);
    const auto element = BeginChunk(kElementId);
    std::uint32_t total = 6;
    total += WriteChunkText(kNameChunk, name_);
    total += WriteChunkU32(kKindChunk, static_cast<std::uint32_t>(kind_));
    const auto data = BeginChunk(kDataChunk);
    const std::uint32_t dataTotal = 6 + WriteKindData();
    EndChunk(data, dataTotal);
    total += dataTotal;
    EndChunk(element, total);
    return total;
}

std::uint32_t CSceneObjectThingData::WriteKindData()
{
    // The texts go out from where they are held, without a copy for the writing.
    if (kind_ == kScriptKind)
        return WriteU32(value1_) + WriteU32(value2_) + WriteU16(word3_) + WriteCountedText(ScriptBytes());
    if (kind_ == kTextKind) {
        const std::span<const std::uint8_t> text(reinterpret_cast<const std::uint8_t*>(text27_.data()), text27_.size());
        return WriteBytes(data27_) + WriteCountedText(text);
    }
    return WriteBytes(data_);
}

std::uint32_t CSceneObjectThingData::WriteCountedText(std::span<const std::uint8_t> text)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw CVerdaxException(VERDAX_ERR_WRITE);
    return WriteU32(static_cast<std::uint32_t>(text.size())) + WriteBytes(text);
}

// memchr looks at many bytes at once; a script runs to hundreds of bytes.
std::span<const std::uint8_t> CSceneObjectThingData::ScriptBytes() const
{
    const void* zero = data_.empty() ? nullptr : std::memchr(data_.data(), 0, data_.size());
    const std::size_t size = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data_.data())
                                  : data_.size();
    return {data_.data(), size};
}

std::string CSceneObjectThingData::GetScript() const
{
    return std::string(GetScriptView());
}

std::string_view CSceneObjectThingData::GetScriptView() const
{
    if (kind_ == kScriptKind) {
        const auto script = ScriptBytes();
        return {reinterpret_cast<const char*>(script.data()), script.size()};
    }
    if (kind_ == kTextKind)
        return text27_;
    return {};
}

void CSceneObjectThingData::SetScript(const std::string& script)
{
    if (kind_ == kScriptKind) {
        data_.assign(script.begin(), script.end());
        data_.push_back(0);
    } else if (kind_ == kTextKind) {
        text27_ = script;
    }
}
