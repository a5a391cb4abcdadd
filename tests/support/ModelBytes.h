#pragma once
// Records of the 4DS model format spelled out field by field for the model tests,
// the tool test and the benchmark. Each helper writes exactly the bytes its comment
// names; the tests put them together.

#include "tests/support/ByteWriter.h"

#include <cstdint>
#include <string_view>

namespace testsupport {

// The magic "4DS" and a zero byte, then the 10 header bytes.
inline ByteWriter& ModelMagic(ByteWriter& w)
{
    return w.Bytes("4DS").U8(0).Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
}

// A material record with textures: flags, 3 × 12 colour bytes and 4 bytes, then the
// names the flags call for (the caller writes them) and 34 bytes when bit 0x02000000
// is set (the caller writes those too).
inline ByteWriter& MaterialStart(ByteWriter& w, std::uint32_t flags)
{
    return w.U32(flags).Fill(36, 0x11).Fill(4, 0x22);
}

// The header every frame shares, for the types that carry a parent index (1, 5, 6
// and 18); visual kind and the two skipped bytes only where the type has them.
struct FrameFields {
    std::uint8_t type = 6;
    std::uint8_t visualKind = 0;
    std::uint16_t parent = 0;
    float position[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    float rotation[4] = {1, 0, 0, 0};  // quaternion w, x, y, z
    std::string_view name = "frame";
    std::string_view userText = "";
};

inline ByteWriter& FrameHeader(ByteWriter& w, const FrameFields& f)
{
    w.U8(f.type);
    if (f.type == 1 || f.type == 18)
        w.U8(f.visualKind);
    if (f.type == 1)
        w.U16(0xBEEF);  // skipped
    if (f.type == 1 || f.type == 5 || f.type == 6 || f.type == 18)
        w.U16(f.parent);
    for (float v : f.position)
        w.F32(v);
    for (float v : f.scale)
        w.F32(v);
    for (float v : f.rotation)
        w.F32(v);
    w.U8(0x5A);  // skipped
    return w.Name8(f.name).Name8(f.userText);
}

// A dummy frame (type 6): the header and its 24-byte box.
inline ByteWriter& DummyFrame(ByteWriter& w, std::string_view name, std::uint16_t parent)
{
    FrameFields f;
    f.type = 6;
    f.name = name;
    f.parent = parent;
    FrameHeader(w, f);
    for (float v : {-1.0f, -2.0f, -3.0f, 1.0f, 2.0f, 3.0f})
        w.F32(v);
    return w;
}

// A vertex as the file holds it: position, normal, then u and v.
inline ByteWriter& FileVertex(ByteWriter& w, float x, float y, float z, float nx, float ny, float nz, float u,
                              float v)
{
    return w.F32(x).F32(y).F32(z).F32(nx).F32(ny).F32(nz).F32(u).F32(v);
}

}  // namespace testsupport
