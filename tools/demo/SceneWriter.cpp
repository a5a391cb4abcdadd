#include "tools/demo/SceneWriter.h"

#include "tools/demo/CBinaryWriter.h"

#include <stdexcept>
#include <string_view>

namespace demo {
namespace {

template <std::size_t N>
std::string_view AsBytes(const std::array<std::uint8_t, N>& data)
{
    return {reinterpret_cast<const char*>(data.data()), N};
}

void ChunkVector(CBinaryWriter& out, std::uint16_t id, const Vector3& v)
{
    out.U16(id);
    out.U32(18);
    out.F32(v.x);
    out.F32(v.y);
    out.F32(v.z);
}

void ChunkRotation(CBinaryWriter& out, const Quaternion& q)
{
    out.U16(0x0022);
    out.U32(22);
    out.F32(q.w);
    out.F32(q.x);
    out.F32(q.y);
    out.F32(q.z);
}

void WriteSector(CBinaryWriter& out, const SceneThing& t)
{
    if (!t.sector)
        return;
    out.BeginChunk(0x4020);
    out.ChunkText(0x0010, *t.sector);
    out.EndChunk();
}

// Translation, rotation, scale and 0x002C in the order of the table kinds.
void WriteTransform(CBinaryWriter& out, const SceneThing& t)
{
    ChunkVector(out, 0x0020, t.translation);
    ChunkRotation(out, t.rotation);
    ChunkVector(out, 0x002D, t.scale);
    out.ChunkRaw(0x002C, AsBytes(t.data002C));
}

// Kinds 0x1002 and 0x1003 keep the scale before the rotation.
void WriteTransformScaleFirst(CBinaryWriter& out, const SceneThing& t)
{
    ChunkVector(out, 0x0020, t.translation);
    ChunkVector(out, 0x002D, t.scale);
    ChunkRotation(out, t.rotation);
    out.ChunkRaw(0x002C, AsBytes(t.data002C));
}

void RequirePayloadSize(const SceneThing& t, std::size_t size)
{
    if (t.payload.size() != size)
        throw std::invalid_argument("scene: thing '" + t.name + "' needs a payload of " + std::to_string(size) +
                                    " bytes");
}

void WriteBlock2(CBinaryWriter& out, const Kind2Block& b)
{
    out.BeginChunk(0x4040);
    out.ChunkU32(0x4041, b.value4041);
    out.ChunkRaw(0x0026, AsBytes(b.data0026));
    out.ChunkU32(0x4042, b.value4042);
    out.ChunkRaw(0x4043, AsBytes(b.data4043));
    out.ChunkRaw(0x4044, AsBytes(b.data4044));
    out.U16(0x4045);
    out.U32(10);
    out.U16(b.words4045[0]);
    out.U16(b.words4045[1]);
    for (const std::string& text : b.texts4046)
        out.ChunkText(0x4046, text);
    out.EndChunk();
}

void WriteBlock4(CBinaryWriter& out, const Kind4Block& b)
{
    out.BeginChunk(0x4060);
    out.ChunkText(0x0010, b.text0010);
    out.ChunkU32(0x4061, b.value4061);
    out.ChunkU32(0x4062, b.value4062);
    out.ChunkU32(0x4063, b.value4063);
    out.ChunkRaw(0x4064, AsBytes(b.data4064));
    out.ChunkRaw(0x4068, AsBytes(b.data4068));
    out.ChunkRaw(0x4067, {});
    if (b.has4066)
        out.ChunkRaw(0x4066, {});
    out.ChunkU32(0xB800, b.valueB800);
    for (const std::string& text : b.textsB200)
        out.ChunkText(0xB200, text);
    if (b.textB201)
        out.ChunkText(0xB201, *b.textB201);
    out.EndChunk();
}

void WriteTableKindChunk(CBinaryWriter& out, const SceneThing& t)
{
    switch (t.kind) {
    case thing::kBlock2:
        WriteBlock2(out, t.block2);
        break;
    case thing::kBlock4:
        WriteBlock4(out, t.block4);
        break;
    case thing::kData6:
        RequirePayloadSize(t, 24);
        out.ChunkRaw(0x4050, t.payload);
        break;
    case thing::kModel:
        out.ChunkText(0x2012, t.modelName);
        break;
    case thing::kData12:
        out.ChunkRaw(0x4083, t.payload);
        break;
    case thing::kData14:
        out.ChunkRaw(0xB151, t.payload);
        break;
    default:
        break;
    }
}

bool IsTableKindWithOwnChunk(std::int32_t kind)
{
    return kind == thing::kBlock2 || kind == thing::kBlock4 || kind == thing::kData6 || kind == thing::kModel ||
           kind == thing::kData12 || kind == thing::kData14;
}

void WriteThingContent(CBinaryWriter& out, const SceneThing& t)
{
    switch (t.kind) {
    case thing::kText1000:
        out.ChunkText(0x0010, t.name);
        WriteTransform(out, t);
        WriteSector(out, t);
        out.ChunkRaw(0x4090, t.text4090);  // this text goes without its zero byte
        out.ChunkRaw(0x40A0, t.payload);
        return;
    case thing::kData1001:
        RequirePayloadSize(t, 236);
        out.ChunkText(0x0010, t.name);
        out.ChunkRaw(0xB401, t.payload);
        return;
    case thing::kPlain:
        out.ChunkText(0x0010, t.name);
        WriteTransformScaleFirst(out, t);
        WriteSector(out, t);
        return;
    case thing::kText1003:
        out.ChunkText(0x0010, t.name);
        WriteTransformScaleFirst(out, t);
        out.ChunkRaw(0x4090, t.text4090);
        out.ChunkRaw(0xB110, t.payload);
        return;
    default:
        // Table kinds and kinds outside the table both state their kind first.
        out.ChunkU32(0x4011, static_cast<std::uint32_t>(t.kind));
        out.ChunkText(0x0010, t.name);
        WriteTransform(out, t);
        WriteSector(out, t);
        if (IsTableKindWithOwnChunk(t.kind))
            WriteTableKindChunk(out, t);
        return;
    }
}

void WriteThingDataContent(CBinaryWriter& out, const SceneThingData& d)
{
    switch (d.kind) {
    case thingdata::kScript:
        out.U32(d.value1);
        out.U32(d.value2);
        out.U16(d.word3);
        out.CountedText(d.script);
        return;
    case thingdata::kScript27:
        out.Bytes(AsBytes(d.data27));
        out.CountedText(d.script);
        return;
    default:
        out.Bytes(d.raw);
        return;
    }
}

void WriteList(CBinaryWriter& out, std::uint16_t id, const auto& elements, auto writeElement)
{
    out.BeginChunk(id);
    for (const auto& element : elements)
        writeElement(out, element);
    out.EndChunk();
}

}  // namespace

void WriteThingElement(CBinaryWriter& out, const SceneThing& t)
{
    out.BeginChunk(0x4010);
    WriteThingContent(out, t);
    if (t.marker4033)
        out.ChunkRaw(0x4033, {});
    out.EndChunk();
}

void WriteThingDataElement(CBinaryWriter& out, const SceneThingData& d)
{
    out.BeginChunk(0xAE21);
    out.ChunkU32(0xAE22, static_cast<std::uint32_t>(d.kind));
    out.ChunkText(0xAE23, d.name);
    out.BeginChunk(0xAE24);
    WriteThingDataContent(out, d);
    out.EndChunk();
    out.EndChunk();
}

void WriteMissionScriptElement(CBinaryWriter& out, const SceneMissionScript& s)
{
    out.U16(0xAE51);
    out.U32(static_cast<std::uint32_t>(15 + s.name.size() + s.script.size()));
    out.U8(s.flag);
    out.CountedText(s.name);
    out.CountedText(s.script);
}

void WriteSceneHeaderAndFixedSections(CBinaryWriter& out, const SceneFileData& scene)
{
    out.U16(0x0001);
    out.U32(static_cast<std::uint32_t>(6 + 4 + scene.headerText.size() + 1));
    out.U16(scene.headerWord1);
    out.U16(scene.headerWord2);
    out.ZeroText(scene.headerText);
    out.ChunkRaw(0xAFFF, AsBytes(scene.dataAFFF));
    out.ChunkRaw(0x3200, AsBytes(scene.data3200));
    out.ChunkU32(0x3010, scene.value3010);
    out.ChunkU32(0x3011, scene.value3011);
    out.ChunkRaw(0x3211, AsBytes(scene.data3211));
}

std::string WriteScene2(const SceneFileData& scene)
{
    CBinaryWriter out;
    out.BeginChunk(0x4C53);
    WriteSceneHeaderAndFixedSections(out, scene);
    WriteList(out, 0x4000, scene.things, WriteThingElement);
    WriteList(out, 0xAE20, scene.thingData, WriteThingDataElement);
    if (scene.dataAE02)
        out.ChunkRaw(0xAE02, *scene.dataAE02);
    WriteList(out, 0xAE50, scene.missionScripts, WriteMissionScriptElement);
    out.EndChunk();
    return out.Take();
}

std::string CrLfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace demo
