#include "model/C4dsModel.h"

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "model/CByteCursor.h"
#include "model/CModelGeometryCache.h"
#include "model/CTextureManager.h"
#include "model/FileBytes.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'4', 'D', 'S', 0};

// Material flags that decide the record's layout.
constexpr std::uint32_t kMaterialShortForm = 0x00000014;  // 14 bytes follow, nothing else
constexpr std::uint32_t kMaterialPlain = 0x00000001;      // colours and one byte, no textures
constexpr std::uint32_t kMaterialEnvironment = 0x00080000;
constexpr std::uint32_t kMaterialAlpha = 0x40000000;
constexpr std::uint32_t kMaterialNoAlphaName = 0xA1000000;  // any of these: no alpha name despite the bit
constexpr std::uint32_t kMaterialAnimated = 0x02000000;

// Type 18 carries the visual header, but no body this reader handles.
constexpr std::uint8_t kFrameVisualOther = 18;

// The smallest records, to bound what a count may reserve before reading.
constexpr std::uint64_t kMinMaterialBytes = 4 + 14;
constexpr std::uint64_t kMinFrameBytes = 1 + 10 * 4 + 1 + 1 + 1;

constexpr std::uint64_t kFileVertexBytes = 32;
constexpr std::uint64_t kFileFaceBytes = 6;
constexpr std::uint64_t kSectorVertexBytes = 12;

// The part of a model file held at once while it is read (more when one read asks
// for more): every page of it is fresh memory that a first load pays for, and
// larger windows only save read calls.
constexpr std::size_t kReadWindow = 1 << 17;

constexpr double kPi = 3.1415926535;  // to ten digits, the value rotations have always been turned with

// The GL name of a texture from the cache; 0 when it cannot be had for any reason,
// and the name is then noted in `failed`. Without a current GL context no texture
// can be had: the cache is not asked, which would fail by exception every time.
std::uint32_t RequestTexture(const std::string& fileName, const CTexture** held, std::vector<std::string>& failed)
{
    if (!CTextureManager::Instance().CanLoadTextures()) {
        failed.push_back(fileName);
        return 0;
    }
    try {
        const CTexture& texture = CTextureManager::Instance().GetTexture(fileName);
        if (held)
            *held = &texture;
        return texture.GetGlName();
    } catch (const std::exception&) {
        failed.push_back(fileName);
        return 0;
    }
}

ModelMaterial ReadMaterial(CByteCursor& in, std::vector<std::string>& failed)
{
    ModelMaterial material;
    const std::uint32_t flags = in.U32();
    material.flags = flags;
    if (flags == kMaterialShortForm) {
        in.Skip(14);
        return material;
    }
    in.Skip(3 * 12 + 4);  // colours and a value
    if (flags == kMaterialPlain) {
        in.Skip(1);
        return material;
    }
    if (flags & kMaterialEnvironment) {
        in.Skip(4);
        material.environmentGlName = RequestTexture(in.Name(), nullptr, failed);
    }
    material.diffuseGlName = RequestTexture(in.Name(), &material.diffuse, failed);
    if ((flags & kMaterialAlpha) && !(flags & kMaterialNoAlphaName))
        material.alphaGlName = RequestTexture(in.Name(), &material.alpha, failed);
    if (flags & kMaterialAnimated)
        in.Skip(34);
    return material;
}

Vector3 ReadVector(CByteCursor& in)
{
    Vector3 v;
    v.x = in.F32();
    v.y = in.F32();
    v.z = in.F32();
    return v;
}

BoundingBox ReadBox(CByteCursor& in)
{
    BoundingBox box;
    box.min = ReadVector(in);
    box.max = ReadVector(in);
    return box;
}

// The stored quaternion as an angle in degrees about an axis, ready for glRotatef.
AxisAngle QuaternionToAxisAngle(float w, float x, float y, float z)
{
    const double s = std::sqrt(double{x} * x + double{y} * y + double{z} * z);
    if (s == 0.0)
        return {0.0f, 1.0f, 0.0f, 0.0f};
    // A w a rounding step beyond ±1 would make acos NaN and the frame vanish.
    const double angle = std::acos(std::clamp(double{w}, -1.0, 1.0)) * 2.0 * 180.0 / kPi;
    return {static_cast<float>(angle), static_cast<float>(-x / s), static_cast<float>(-y / s),
            static_cast<float>(-z / s)};
}

std::vector<ModelVertex> ReadVertices(CByteCursor& in, std::uint16_t count)
{
    const auto bytes = in.Bytes(count * kFileVertexBytes);
    std::vector<ModelVertex> vertices;
    vertices.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // The file holds position, normal, u, v; GL wants u, v, normal, position.
        const std::uint8_t* at = bytes.data() + i * kFileVertexBytes;
        vertices.push_back(ModelVertex{LoadF32(at + 24), LoadF32(at + 28), LoadF32(at + 12), LoadF32(at + 16),
                                       LoadF32(at + 20), LoadF32(at), LoadF32(at + 4), LoadF32(at + 8)});
    }
    return vertices;
}

// An index at or beyond the vertex count would make drawing read outside the
// vertex array: the group, and so its LOD table, is refused.
FaceGroup ReadFaceGroup(CByteCursor& in, std::uint16_t vertexCount)
{
    FaceGroup group;
    group.faceCount = in.U16();
    const auto bytes = in.Bytes(group.faceCount * kFileFaceBytes);
    group.indices.resize(std::size_t{group.faceCount} * 3);
    std::uint16_t largest = 0;
    for (std::size_t i = 0; i < group.indices.size(); ++i) {
        group.indices[i] = LoadU16(bytes.data() + 2 * i);
        largest = std::max(largest, group.indices[i]);
    }
    if (!group.indices.empty() && largest >= vertexCount)
        throw CVerdaxException(VERDAX_ERR_LOD_TABLE);
    group.materialIndex = in.U16();
    return group;
}

ModelLod ReadLod(CByteCursor& in)
{
    ModelLod lod;
    lod.distance = in.F32();
    lod.vertexCount = in.U16();
    lod.vertices = ReadVertices(in, lod.vertexCount);
    const std::uint8_t groupCount = in.U8();
    lod.faceGroups.reserve(groupCount);
    for (std::uint8_t i = 0; i < groupCount; ++i)
        lod.faceGroups.push_back(ReadFaceGroup(in, lod.vertexCount));
    return lod;
}

std::vector<ModelLod> ReadLodTable(CByteCursor& in)
{
    const std::uint8_t count = in.U8();
    std::vector<ModelLod> lods;
    lods.reserve(count);
    for (std::uint8_t i = 0; i < count; ++i)
        lods.push_back(ReadLod(in));
    return lods;
}

void ReadVisualBody(CByteCursor& in, ModelFrame& frame)
{
    const std::uint8_t kind = frame.visualKind;
    if (kind != 0 && kind != 2 && kind != 3 && kind != 4)
        throw CVerdaxException(VERDAX_ERR_VISUAL_KIND);
    frame.instanceIndex = in.U16();
    if (frame.instanceIndex != 0)
        return;  // an instance of another frame: not resolved, no LODs
    try {
        frame.lods = ReadLodTable(in);
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    } catch (const std::exception&) {
        throw CVerdaxException(VERDAX_ERR_LOD_TABLE);
    }
}

SectorPortal ReadPortal(CByteCursor& in)
{
    SectorPortal portal;
    portal.vertexCount = in.U8();
    const auto head = in.Bytes(portal.head.size());
    std::copy(head.begin(), head.end(), portal.head.begin());
    const auto plane = in.Bytes(portal.plane.size());
    std::copy(plane.begin(), plane.end(), portal.plane.begin());
    // The count is a signed byte in the file: 128 and above count as none.
    const std::uint8_t vertexCount = portal.vertexCount < 128 ? portal.vertexCount : 0;
    in.Require(vertexCount * kSectorVertexBytes);
    portal.vertices.reserve(vertexCount);
    for (std::uint8_t i = 0; i < vertexCount; ++i)
        portal.vertices.push_back(ReadVector(in));
    return portal;
}

SectorData ReadSector(CByteCursor& in)
{
    SectorData sector;
    const auto flags = in.Bytes(sector.flags.size());
    std::copy(flags.begin(), flags.end(), sector.flags.begin());
    sector.vertexCount = in.U32();
    sector.faceCount = in.U32();
    in.Require(sector.vertexCount * kSectorVertexBytes + sector.faceCount * kFileFaceBytes);
    try {
        sector.vertices.reserve(sector.vertexCount);
        sector.faces.reserve(std::size_t{sector.faceCount} * 3);
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    }
    for (std::uint32_t i = 0; i < sector.vertexCount; ++i)
        sector.vertices.push_back(ReadVector(in));
    for (std::uint64_t i = 0; i < std::uint64_t{sector.faceCount} * 3; ++i)
        sector.faces.push_back(in.U16());
    sector.box = ReadBox(in);
    sector.portalCount = in.U8();
    for (std::uint8_t i = 0; i < sector.portalCount; ++i)
        sector.portals.push_back(ReadPortal(in));
    return sector;
}

void ReadFrameHeader(CByteCursor& in, ModelFrame& frame)
{
    frame.type = in.U8();
    const bool visualHeader = frame.type == FRAME_VISUAL || frame.type == kFrameVisualOther;
    if (visualHeader)
        frame.visualKind = in.U8();
    if (frame.type == FRAME_VISUAL)
        in.Skip(2);
    if (visualHeader || frame.type == FRAME_SECTOR || frame.type == FRAME_DUMMY)
        frame.parentIndex = in.U16();
    frame.position = ReadVector(in);
    frame.scale = ReadVector(in);
    const float w = in.F32();
    const float x = in.F32();
    const float y = in.F32();
    const float z = in.F32();
    frame.rotation = QuaternionToAxisAngle(w, x, y, z);
    in.Skip(1);
    frame.name = in.Name();
    frame.userText = in.Name();
}

std::unique_ptr<ModelFrame> ReadFrame(CByteCursor& in)
{
    auto frame = std::make_unique<ModelFrame>();
    ReadFrameHeader(in, *frame);
    switch (frame->type) {
    case FRAME_VISUAL:
        ReadVisualBody(in, *frame);
        break;
    case FRAME_SECTOR:
        frame->sectors.push_back(ReadSector(in));
        break;
    case FRAME_DUMMY:
        frame->box = ReadBox(in);
        break;
    default:
        throw CVerdaxException(VERDAX_ERR_FRAME_TYPE);
    }
    return frame;
}

// A material that cannot be read drops the whole table; the frames are read on from
// where the reading stopped.
void ReadMaterials(CByteCursor& in, ModelGeometry& geometry)
{
    try {
        const std::uint16_t count = in.U16();
        geometry.materials.reserve(std::min<std::uint64_t>(count, in.Remaining() / kMinMaterialBytes));
        for (std::uint16_t i = 0; i < count; ++i)
            geometry.materials.push_back(ReadMaterial(in, geometry.failedTextures));
    } catch (const std::exception&) {
        geometry.materials.clear();
        geometry.failedTextures.clear();  // no material names them any more
    }
}

// False when the parent index names no frame kept before this one.
bool AttachToParent(std::vector<std::unique_ptr<ModelFrame>>& frames, ModelFrame& frame)
{
    if (frame.parentIndex == 0)
        return true;
    // The frame itself is already the last of the list: a parent must come before it,
    // or the frame would become its own child and drawing would never end.
    const std::size_t keptBefore = frames.size() - 1;
    if (frame.parentIndex > keptBefore)
        return false;
    frames[frame.parentIndex - 1]->children.push_back(&frame);
    return true;
}

void ReadFrames(CByteCursor& in, std::vector<std::unique_ptr<ModelFrame>>& frames)
{
    const std::uint16_t count = in.U16();
    frames.reserve(std::min<std::uint64_t>(count, in.Remaining() / kMinFrameBytes));
    for (std::uint16_t i = 0; i < count && !in.AtEnd(); ++i) {
        std::unique_ptr<ModelFrame> frame;
        try {
            frame = ReadFrame(in);
        } catch (const std::exception&) {
            continue;  // the frame is dropped and not counted; the next one follows on
        }
        ModelFrame& kept = *frame;
        frames.push_back(std::move(frame));
        if (!AttachToParent(frames, kept)) {
            frames.clear();
            return;
        }
    }
}

// The magic checked, everything after it.
std::shared_ptr<const ModelGeometry> ReadGeometry(CByteCursor& in)
{
    try {
        const auto magic = in.Bytes(kMagic.size());
        if (!std::equal(kMagic.begin(), kMagic.end(), magic.begin()))
            throw CVerdaxException(VERDAX_ERR_MAGIC_4DS);
    } catch (const CVerdaxException&) {
        throw CVerdaxException(VERDAX_ERR_MAGIC_4DS);
    }
    auto geometry = std::make_shared<ModelGeometry>();
    try {
        const auto header = in.Bytes(geometry->header.size());
        std::copy(header.begin(), header.end(), geometry->header.begin());
        ReadMaterials(in, *geometry);
        ReadFrames(in, geometry->frames);
    } catch (const CVerdaxException&) {
        // The file ended early: what was read before stays.
    }
    return geometry;
}

// Whether a texture that failed when the geometry was read can be had now (its file
// has appeared, or a GL context has become current): then the geometry's materials
// are out of date.
bool AnyFailedTextureLoadsNow(const ModelGeometry& geometry)
{
    if (geometry.failedTextures.empty() || !CTextureManager::Instance().CanLoadTextures())
        return false;
    return std::ranges::any_of(geometry.failedTextures, [](const std::string& name) {
        try {
            CTextureManager::Instance().GetTexture(name);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    });
}

std::shared_ptr<const ModelGeometry> SharedGeometry(const std::filesystem::path& resolved)
{
    CModelGeometryCache& cache = CModelGeometryCache::Instance();
    const std::string key = resolved.string();
    if (const auto identity = IdentifyFile(resolved)) {
        auto shared = cache.Find(key, *identity);
        if (shared && !AnyFailedTextureLoadsNow(*shared))
            return shared;
    }
    // Read through a window rather than whole: a world of tens of megabytes would
    // otherwise pass through as many megabytes of fresh memory on its way into the
    // arrays that keep it.
    const COpenedFile file(resolved);
    std::optional<CByteCursor> in;
    try {
        in.emplace(file.Descriptor(), file.Identity().size, kReadWindow);
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);  // the caller learns only that it could not be read
    }
    auto geometry = ReadGeometry(*in);
    cache.Add(key, file.Identity(), geometry);
    return geometry;
}

const ModelGeometry& NoGeometry()
{
    static const ModelGeometry empty;
    return empty;
}

}  // namespace

C4dsModel::C4dsModel() = default;

C4dsModel::~C4dsModel() = default;

void C4dsModel::Load(const std::string& text, bool pathForm)
{
    Clear();
    auto content = std::make_shared<Content>();
    content->name = pathForm ? std::string("scene") : text;
    content_ = content;  // a failed load keeps the name, as it always has
    const std::string path = pathForm ? text : GameFolders().GetModelsFolder() + text + ".4DS";
    content->geometry = SharedGeometry(platform::FileSystem().Resolve(path));
    loaded_ = true;
}

void C4dsModel::LoadBytes(std::span<const std::uint8_t> file, const std::string& name)
{
    Clear();
    CByteCursor in(file);
    content_ = std::make_shared<const Content>(Content{name, ReadGeometry(in)});
    loaded_ = true;
}

void C4dsModel::ShareFrom(const C4dsModel& other)
{
    content_ = other.content_;
    loaded_ = other.loaded_;
}

void C4dsModel::Clear()
{
    content_.reset();
    loaded_ = false;
}

const std::string& C4dsModel::GetName() const
{
    static const std::string none;
    return content_ ? content_->name : none;
}

const std::shared_ptr<const ModelGeometry>& C4dsModel::GetGeometry() const
{
    static const std::shared_ptr<const ModelGeometry> none;
    return content_ ? content_->geometry : none;
}

const std::array<std::uint8_t, 10>& C4dsModel::GetHeader() const
{
    return (GetGeometry() ? *GetGeometry() : NoGeometry()).header;
}

const std::vector<ModelMaterial>& C4dsModel::GetMaterials() const
{
    return (GetGeometry() ? *GetGeometry() : NoGeometry()).materials;
}

const std::vector<std::unique_ptr<ModelFrame>>& C4dsModel::GetFrames() const
{
    return (GetGeometry() ? *GetGeometry() : NoGeometry()).frames;
}
