#include "scene/CSceneObjectThing.h"

#include "core/CVerdaxException.h"
#include "scene/CSceneObjectThingData.h"

#include <algorithm>
#include <cmath>

namespace {

namespace chunk {
constexpr std::uint16_t kName = 0x0010;
constexpr std::uint16_t kTranslation = 0x0020;
constexpr std::uint16_t kRotation = 0x0022;
constexpr std::uint16_t kData002C = 0x002C;
constexpr std::uint16_t kScale = 0x002D;
constexpr std::uint16_t kModelName = 0x2012;
constexpr std::uint16_t kKind = 0x4011;
constexpr std::uint16_t kSector = 0x4020;
constexpr std::uint16_t k4033 = 0x4033;
constexpr std::uint16_t kBlock2 = 0x4040;
constexpr std::uint16_t kData4050 = 0x4050;
constexpr std::uint16_t kBlock4 = 0x4060;
constexpr std::uint16_t kData4083 = 0x4083;
constexpr std::uint16_t kText4090 = 0x4090;
constexpr std::uint16_t kData40A0 = 0x40A0;
constexpr std::uint16_t kDataB110 = 0xB110;
constexpr std::uint16_t kDataB151 = 0xB151;
constexpr std::uint16_t kDataB401 = 0xB401;
}  // namespace chunk

namespace block2 {
constexpr std::uint16_t k4041 = 0x4041;
constexpr std::uint16_t k0026 = 0x0026;
constexpr std::uint16_t k4042 = 0x4042;
constexpr std::uint16_t k4043 = 0x4043;
constexpr std::uint16_t k4044 = 0x4044;
constexpr std::uint16_t k4045 = 0x4045;
constexpr std::uint16_t k4046 = 0x4046;
}  // namespace block2

namespace block4 {
constexpr std::uint16_t k0010 = 0x0010;
constexpr std::uint16_t k4061 = 0x4061;
constexpr std::uint16_t k4062 = 0x4062;
constexpr std::uint16_t k4063 = 0x4063;
constexpr std::uint16_t k4064 = 0x4064;
constexpr std::uint16_t k4066 = 0x4066;
constexpr std::uint16_t k4067 = 0x4067;
constexpr std::uint16_t k4068 = 0x4068;
constexpr std::uint16_t kB800 = 0xB800;
constexpr std::uint16_t kB200 = 0xB200;
constexpr std::uint16_t kB201 = 0xB201;
}  // namespace block4

constexpr double kPi = 3.1415926535;
// Twice the degrees of a radian: the quaternion holds the half angle.
constexpr float kDoubleDegreesPerRadian = static_cast<float>(2.0 * 180.0 / kPi);
constexpr double kOneDegreeFraction = 0.005555555555555556;  // 1 / 180

// The kinds written with a 0x4011 chunk, the full transform and a chunk of their own.
bool IsTypedKind(std::int32_t kind)
{
    using T = CSceneObjectThing;
    switch (kind) {
    case T::kKindBlock2:
    case T::kKindBlock4:
    case T::kKindData4050:
    case T::kKindModel:
    case T::kKindData4083:
    case T::kKindDataB151:
        return true;
    default:
        return false;
    }
}

}  // namespace

AxisAngle QuaternionToAxisAngle(const Quaternion& q)
{
    const auto g = static_cast<float>(std::sqrt(double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z));
    if (g == 0.0f)
        return {0.0f, 1.0f, 0.0f, 0.0f};
    // A unit quaternion's w may stray past 1 by a rounding step; acos would make that NaN.
    const double w = std::clamp(double(q.w), -1.0, 1.0);
    const auto angle = static_cast<float>(std::acos(w) * kDoubleDegreesPerRadian);
    return {angle, -q.x / g, -q.y / g, -q.z / g};
}

Quaternion AxisAngleToQuaternion(const AxisAngle& rotation)
{
    const double half = kPi * kOneDegreeFraction * rotation.angle * 0.5;
    const double s = std::sin(half);
    const double c = std::cos(half);
    // The axis is taken as it is, not normalised.
    return {static_cast<float>(c), static_cast<float>(-rotation.x * s), static_cast<float>(-rotation.y * s),
            static_cast<float>(-rotation.z * s)};
}

CSceneObjectThing::CSceneObjectThing() = default;
CSceneObjectThing::~CSceneObjectThing() = default;

const CSceneObjectThing::KindParts& CSceneObjectThing::Parts() const
{
    static const KindParts none;
    return parts_ ? *parts_ : none;
}

CSceneObjectThing::KindParts& CSceneObjectThing::MutableParts()
{
    if (!parts_)
        parts_ = std::make_unique<KindParts>();
    return *parts_;
}

void CSceneObjectThing::SetTranslation(const Vector3& translation)
{
    translation_ = translation;
    present_.translation = true;
}

void CSceneObjectThing::SetRotation(const AxisAngle& rotation)
{
    rotation_ = rotation;
    present_.rotation = true;
}

void CSceneObjectThing::SetScale(const Vector3& scale)
{
    scale_ = scale;
    present_.scale = true;
}

void CSceneObjectThing::RestoreTransformPresence(bool translation, bool rotation, bool scale)
{
    present_.translation = translation;
    present_.rotation = rotation;
    present_.scale = scale;
}

void CSceneObjectThing::RecodeTexts(const TextRecoder& recode)
{
    name_ = recode(name_);
    modelName_ = recode(modelName_);
    sectorName_ = recode(sectorName_);
    if (!parts_)
        return;
    parts_->text4090 = recode(parts_->text4090);
    for (std::string& text : parts_->block2.texts4046)
        text = recode(text);
    Block4& block4 = parts_->block4;
    block4.text0010 = recode(block4.text0010);
    for (std::string& text : block4.textsB200)
        text = recode(text);
    block4.textB201 = recode(block4.textB201);
}

std::string CSceneObjectThing::GetScript() const
{
    return linkedData_ ? linkedData_->GetScript() : std::string();
}

void CSceneObjectThing::SetScript(const std::string& script)
{
    if (linkedData_)
        linkedData_->SetScript(script);
}

std::int32_t CSceneObjectThing::GetLinkedDataKind() const
{
    return linkedData_ ? linkedData_->GetKind() : -1;
}

bool CSceneObjectThing::LoadModel()
{
    if (modelName_.empty())
        return false;
    const auto dot = modelName_.rfind('.');
    try {
        model_.Load(modelName_.substr(0, dot), false);
        return true;
    } catch (const CVerdaxException&) {
        return false;
    }
}

// Reading ----------------------------------------------------------------------

std::uint32_t CSceneObjectThing::Load(std::iostream& stream)
{
    BindForReading(stream);
    kind_ = kKindPlain;
    return ReadComposite([this](std::uint16_t id) { return ReadInnerChunk(id); });
}

// A chunk that marks a sort of thing sets the kind; the last such chunk, or 0x4011,
// decides.
std::uint32_t CSceneObjectThing::ReadInnerChunk(std::uint16_t id)
{
    switch (id) {
    case chunk::kName:
        return ReadChunkText(name_);
    case chunk::kTranslation:
        present_.translation = true;
        return ReadChunkVector3(translation_);
    case chunk::kRotation:
        present_.rotation = true;
        return ReadRotation();
    case chunk::kData002C: {
        present_.data002C = true;
        std::uint32_t size = 0;
        return ReadU32(size) + ReadBytes(data002C_);
    }
    case chunk::kScale:
        present_.scale = true;
        return ReadChunkVector3(scale_);
    case chunk::kModelName:
        kind_ = kKindModel;
        return ReadChunkText(modelName_);
    case chunk::kKind: {
        std::uint32_t size = 0;
        return ReadU32(size) + ReadI32(kind_);
    }
    case chunk::kSector:
        present_.sector = true;
        return ReadSector();
    case chunk::k4033:
        present_.chunk4033 = true;
        return SkipChunk();
    case chunk::kBlock2:
        kind_ = kKindBlock2;
        return ReadBlock2();
    case chunk::kData4050: {
        kind_ = kKindData4050;
        std::uint32_t size = 0;
        return ReadU32(size) + ReadBytes(MutableParts().data4050);
    }
    case chunk::kBlock4:
        kind_ = kKindBlock4;
        return ReadBlock4();
    case chunk::kData4083:
        kind_ = kKindData4083;
        return ReadChunkData(MutableParts().data4083);
    case chunk::kText4090:
        return ReadChunkText(MutableParts().text4090);
    case chunk::kData40A0:
        kind_ = kKindData40A0;
        return ReadChunkData(MutableParts().data40A0);
    case chunk::kDataB110:
        kind_ = kKindDataB110;
        return ReadChunkData(MutableParts().dataB110);
    case chunk::kDataB151:
        return ReadChunkData(MutableParts().dataB151);
    case chunk::kDataB401: {
        kind_ = kKindDataB401;
        std::uint32_t size = 0;
        return ReadU32(size) + ReadBytes(MutableParts().dataB401);
    }
    default:
        throw CVerdaxException(VERDAX_ERR_INNER_CHUNK);
    }
}

std::uint32_t CSceneObjectThing::ReadRotation()
{
    std::array<float, 4> wxyz{};
    const std::uint32_t consumed = ReadChunkFloats(wxyz);
    rotation_ = QuaternionToAxisAngle({wxyz[0], wxyz[1], wxyz[2], wxyz[3]});
    return consumed;
}

std::uint32_t CSceneObjectThing::ReadSector()
{
    return ReadComposite([this](std::uint16_t id) -> std::uint32_t {
        if (id != chunk::kName)
            throw CVerdaxException(VERDAX_ERR_INNER_CHUNK);
        return ReadChunkText(sectorName_);
    });
}

std::uint32_t CSceneObjectThing::ReadBlock2()
{
    return ReadComposite([this](std::uint16_t id) -> std::uint32_t {
        auto& b = MutableParts().block2;
        switch (id) {
        case block2::k4041:
            return ReadChunkU32(b.value4041);
        case block2::k0026:
            return ReadChunkKept(b.data0026);
        case block2::k4042:
            return ReadChunkU32(b.value4042);
        case block2::k4043:
            return ReadChunkKept(b.data4043);
        case block2::k4044:
            return ReadChunkKept(b.data4044);
        case block2::k4045: {
            std::uint32_t size = 0;
            return ReadU32(size) + ReadU16(b.words4045[0]) + ReadU16(b.words4045[1]);
        }
        case block2::k4046: {
            present_.chunk4046 = true;
            std::string text;
            const std::uint32_t consumed = ReadChunkText(text);
            b.texts4046.push_back(std::move(text));
            return consumed;
        }
        default:
            throw CVerdaxException(VERDAX_ERR_INNER_CHUNK);
        }
    });
}

std::uint32_t CSceneObjectThing::ReadBlock4()
{
    return ReadComposite([this](std::uint16_t id) -> std::uint32_t {
        auto& b = MutableParts().block4;
        switch (id) {
        case block4::k0010:
            return ReadChunkText(b.text0010);
        case block4::k4061:
            return ReadChunkU32(b.value4061);
        case block4::k4062:
            return ReadChunkU32(b.value4062);
        case block4::k4063:
            return ReadChunkU32(b.value4063);
        case block4::k4064:
            return ReadChunkKept(b.data4064);
        case block4::k4066:
            present_.chunk4066 = true;
            return ReadChunkKept(b.data4068);
        case block4::k4067:
        case block4::k4068:
            return ReadChunkKept(b.data4068);
        case block4::kB800:
            return ReadChunkU32(b.valueB800);
        case block4::kB200: {
            present_.chunkB200 = true;
            std::string text;
            const std::uint32_t consumed = ReadChunkText(text);
            b.textsB200.push_back(std::move(text));
            return consumed;
        }
        case block4::kB201:
            present_.chunkB201 = true;
            return ReadChunkText(b.textB201);
        default:
            throw CVerdaxException(VERDAX_ERR_INNER_CHUNK);
        }
    });
}

// Writing ----------------------------------------------------------------------

std::uint32_t CSceneObjectThing::Save(std::iostream& stream)
{
    BindForWriting(stream);
    const auto element = BeginChunk(kElementId);
    std::uint32_t total = 6 + WriteInnerChunks();
    if (present_.chunk4033)
        total += WriteEmptyChunk(chunk::k4033);  // its content is not kept
    EndChunk(element, total);
    return total;
}

std::uint32_t CSceneObjectThing::WriteInnerChunks()
{
    std::uint32_t written = 0;
    if (IsTypedKind(kind_)) {
        written += WriteChunkU32(chunk::kKind, static_cast<std::uint32_t>(kind_));
        written += WriteChunkText(chunk::kName, name_);
        written += WriteTransform(false, false);
        if (present_.sector)
            written += WriteSector();
        return written + WriteKindChunk();
    }
    written += WriteChunkText(chunk::kName, name_);
    switch (kind_) {
    case kKindData40A0:
        written += WriteTransform(false, true);
        if (present_.sector)
            written += WriteSector();
        written += WriteChunkTextUnterminated(chunk::kText4090, Parts().text4090);
        return written + WriteChunkBytes(chunk::kData40A0, Parts().data40A0);
    case kKindDataB401:
        return written + WriteChunkBytes(chunk::kDataB401, Parts().dataB401);
    case kKindPlain:
        written += WriteTransform(true, true);
        return written + (present_.sector ? WriteSector() : 0);
    case kKindDataB110:
        written += WriteTransform(true, true);
        written += WriteChunkTextUnterminated(chunk::kText4090, Parts().text4090);
        return written + WriteChunkBytes(chunk::kDataB110, Parts().dataB110);
    default:
        // A kind outside the table loses its 0x4011 chunk and reads back as 0x1002.
        written += WriteTransform(false, false);
        return written + (present_.sector ? WriteSector() : 0);
    }
}

std::uint32_t CSceneObjectThing::WriteKindChunk()
{
    switch (kind_) {
    case kKindBlock2:
        return WriteBlock2();
    case kKindBlock4:
        return WriteBlock4();
    case kKindData4050:
        return WriteChunkBytes(chunk::kData4050, Parts().data4050);
    case kKindModel:
        return WriteChunkText(chunk::kModelName, modelName_);
    case kKindData4083:
        return WriteChunkBytes(chunk::kData4083, Parts().data4083);
    case kKindDataB151:
        return WriteChunkBytes(chunk::kDataB151, Parts().dataB151);
    default:
        return 0;
    }
}

// Translation, rotation and scale (in one of two orders), then 0x002C; with
// `onlyPresent` each only when it was read or set.
std::uint32_t CSceneObjectThing::WriteTransform(bool scaleBeforeRotation, bool onlyPresent)
{
    std::uint32_t written = 0;
    if (!onlyPresent || present_.translation)
        written += WriteChunkVector3(chunk::kTranslation, translation_);
    const bool rotation = !onlyPresent || present_.rotation;
    const bool scale = !onlyPresent || present_.scale;
    if (scaleBeforeRotation) {
        written += scale ? WriteChunkVector3(chunk::kScale, scale_) : 0;
        written += rotation ? WriteRotation() : 0;
    } else {
        written += rotation ? WriteRotation() : 0;
        written += scale ? WriteChunkVector3(chunk::kScale, scale_) : 0;
    }
    if (!onlyPresent || present_.data002C)
        written += WriteChunkBytes(chunk::kData002C, data002C_);
    return written;
}

std::uint32_t CSceneObjectThing::WriteRotation()
{
    const Quaternion q = AxisAngleToQuaternion(rotation_);
    const std::array<float, 4> wxyz{q.w, q.x, q.y, q.z};
    return WriteChunkFloats(chunk::kRotation, wxyz);
}

std::uint32_t CSceneObjectThing::WriteSector()
{
    const auto start = BeginChunk(chunk::kSector);
    const std::uint32_t total = 6 + WriteChunkText(chunk::kName, sectorName_);
    EndChunk(start, total);
    return total;
}

std::uint32_t CSceneObjectThing::WriteBlock2()
{
    const auto& b = Parts().block2;
    const auto start = BeginChunk(chunk::kBlock2);
    std::uint32_t total = 6;
    total += WriteChunkU32(block2::k4041, b.value4041);
    total += WriteChunkBytes(block2::k0026, b.data0026);
    total += WriteChunkU32(block2::k4042, b.value4042);
    total += WriteChunkBytes(block2::k4043, b.data4043);
    total += WriteChunkBytes(block2::k4044, b.data4044);
    total += WriteChunkHeader(block2::k4045, 10) + WriteU16(b.words4045[0]) + WriteU16(b.words4045[1]);
    if (present_.chunk4046) {
        for (const auto& text : b.texts4046)
            total += WriteChunkText(block2::k4046, text);
    }
    EndChunk(start, total);
    return total;
}

std::uint32_t CSceneObjectThing::WriteBlock4()
{
    const auto& b = Parts().block4;
    const auto start = BeginChunk(chunk::kBlock4);
    std::uint32_t total = 6;
    total += WriteChunkText(block4::k0010, b.text0010);
    total += WriteChunkU32(block4::k4061, b.value4061);
    total += WriteChunkU32(block4::k4062, b.value4062);
    total += WriteChunkU32(block4::k4063, b.value4063);
    total += WriteChunkBytes(block4::k4064, b.data4064);
    total += WriteChunkBytes(block4::k4068, b.data4068);
    total += WriteEmptyChunk(block4::k4067);
    if (present_.chunk4066)
        total += WriteEmptyChunk(block4::k4066);
    total += WriteChunkU32(block4::kB800, b.valueB800);
    if (present_.chunkB200) {
        for (const auto& text : b.textsB200)
            total += WriteChunkText(block4::kB200, text);
    }
    if (present_.chunkB201)
        total += WriteChunkText(block4::kB201, b.textB201);
    EndChunk(start, total);
    return total;
}
