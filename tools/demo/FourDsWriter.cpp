#include "tools/demo/FourDsWriter.h"

#include "tools/demo/CBinaryWriter.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace demo {
namespace {

template <typename Count>
Count CheckedCount(std::size_t count, const char* what)
{
    if (count > std::numeric_limits<Count>::max())
        throw std::length_error(std::string("4DS: too many ") + what);
    return static_cast<Count>(count);
}

void WriteVector(CBinaryWriter& out, const Vector3& v)
{
    out.F32(v.x);
    out.F32(v.y);
    out.F32(v.z);
}

void WriteBox(CBinaryWriter& out, const BoundingBox& box)
{
    WriteVector(out, box.min);
    WriteVector(out, box.max);
}

void WriteMaterial(CBinaryWriter& out, const FourDsMaterial& m)
{
    out.U32(m.flags);
    if (m.flags == material::kShortForm) {
        out.Zeros(14);
        return;
    }
    WriteVector(out, m.ambient);
    WriteVector(out, m.diffuse);
    WriteVector(out, m.emission);
    out.F32(m.opacity);
    if (m.flags == material::kColourOnly) {
        out.U8(0);
        return;
    }
    if (m.flags & material::kEnvironment) {
        out.F32(m.environmentRatio);
        out.Name8(m.environmentTexture);
    }
    out.Name8(m.diffuseTexture);
    if ((m.flags & material::kAlphaTexture) && !(m.flags & material::kNoAlphaName))
        out.Name8(m.alphaTexture);
    if (m.flags & material::kAnimated)
        out.Zeros(34);
}

void WriteFaces(CBinaryWriter& out, const std::vector<std::array<std::uint16_t, 3>>& faces)
{
    for (const auto& face : faces) {
        out.U16(face[0]);
        out.U16(face[1]);
        out.U16(face[2]);
    }
}

void CheckIndices(const std::vector<std::array<std::uint16_t, 3>>& faces, std::size_t vertexCount)
{
    for (const auto& face : faces) {
        for (std::uint16_t index : face) {
            if (index >= vertexCount)
                throw std::invalid_argument("4DS: face index beyond the vertices");
        }
    }
}

void WriteLod(CBinaryWriter& out, const FourDsLod& lod, std::size_t materialCount)
{
    out.F32(lod.distance);
    out.U16(CheckedCount<std::uint16_t>(lod.vertices.size(), "vertices in a LOD"));
    for (const FourDsVertex& vertex : lod.vertices) {
        WriteVector(out, vertex.position);
        WriteVector(out, vertex.normal);
        out.F32(vertex.u);
        out.F32(vertex.v);
    }
    out.U8(CheckedCount<std::uint8_t>(lod.groups.size(), "face groups"));
    for (const FourDsFaceGroup& group : lod.groups) {
        if (group.material > materialCount)
            throw std::invalid_argument("4DS: face group names a material that is not there");
        CheckIndices(group.faces, lod.vertices.size());
        out.U16(CheckedCount<std::uint16_t>(group.faces.size(), "faces in a group"));
        WriteFaces(out, group.faces);
        out.U16(group.material);
    }
}

void WriteVisualBody(CBinaryWriter& out, const FourDsFrame& f, std::size_t materialCount)
{
    out.U16(f.instance);
    if (f.instance != 0)
        return;
    out.U8(CheckedCount<std::uint8_t>(f.lods.size(), "LODs"));
    for (const FourDsLod& lod : f.lods)
        WriteLod(out, lod, materialCount);
}

void WriteSectorBody(CBinaryWriter& out, const FourDsSector& s)
{
    for (std::uint8_t b : s.flags)
        out.U8(b);
    out.U32(CheckedCount<std::uint32_t>(s.vertices.size(), "sector vertices"));
    out.U32(CheckedCount<std::uint32_t>(s.faces.size(), "sector faces"));
    for (const Vector3& v : s.vertices)
        WriteVector(out, v);
    CheckIndices(s.faces, s.vertices.size());
    WriteFaces(out, s.faces);
    WriteBox(out, s.box);
    out.U8(CheckedCount<std::uint8_t>(s.portals.size(), "portals"));
    for (const FourDsPortal& portal : s.portals) {
        // The count byte is read as signed: 128 and above would mean no vertices.
        if (portal.vertices.size() > 127)
            throw std::length_error("4DS: a portal has at most 127 vertices");
        out.U8(static_cast<std::uint8_t>(portal.vertices.size()));
        out.U32(portal.flags);
        for (float value : portal.plane)
            out.F32(value);
        for (const Vector3& v : portal.vertices)
            WriteVector(out, v);
    }
}

void WriteFrameHeader(CBinaryWriter& out, const FourDsFrame& f)
{
    out.U8(f.type);
    if (f.type == frame::kVisual) {
        out.U8(f.visualKind);
        out.U16(0);
    }
    out.U16(f.parent);
    WriteVector(out, f.position);
    WriteVector(out, f.scale);
    out.F32(f.rotation.w);
    out.F32(f.rotation.x);
    out.F32(f.rotation.y);
    out.F32(f.rotation.z);
    out.U8(0);
    out.Name8(f.name);
    out.Name8(f.userText);
}

void WriteFrame(CBinaryWriter& out, const FourDsFrame& f, std::size_t index, std::size_t materialCount)
{
    if (f.parent > index)
        throw std::invalid_argument("4DS: a frame's parent must come before it: " + f.name);
    WriteFrameHeader(out, f);
    switch (f.type) {
    case frame::kVisual:
        WriteVisualBody(out, f, materialCount);
        break;
    case frame::kSector:
        WriteSectorBody(out, f.sector);
        break;
    case frame::kDummy:
        WriteBox(out, f.box);
        break;
    default:
        throw std::invalid_argument("4DS: frame type not written");
    }
}

}  // namespace

Quaternion RotationAbout(const Vector3& axis, float degrees)
{
    const double length = std::sqrt(double(axis.x) * axis.x + double(axis.y) * axis.y + double(axis.z) * axis.z);
    if (length == 0.0 || degrees == 0.0f)
        return {};
    const double half = degrees * 3.14159265358979323846 / 360.0;
    const double s = std::sin(half) / length;
    return {static_cast<float>(std::cos(half)), static_cast<float>(-axis.x * s), static_cast<float>(-axis.y * s),
            static_cast<float>(-axis.z * s)};
}

std::string Write4ds(const FourDsModelData& model)
{
    CBinaryWriter out;
    out.Bytes({"4DS\0", 4});
    out.U16(model.version);
    out.U32(static_cast<std::uint32_t>(model.timestamp & 0xFFFFFFFFu));
    out.U32(static_cast<std::uint32_t>(model.timestamp >> 32));
    out.U16(CheckedCount<std::uint16_t>(model.materials.size(), "materials"));
    for (const FourDsMaterial& m : model.materials)
        WriteMaterial(out, m);
    out.U16(CheckedCount<std::uint16_t>(model.frames.size(), "frames"));
    for (std::size_t i = 0; i < model.frames.size(); ++i)
        WriteFrame(out, model.frames[i], i, model.materials.size());
    return out.Take();
}

}  // namespace demo
