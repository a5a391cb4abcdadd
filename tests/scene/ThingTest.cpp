#include "core/CVerdaxException.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

using testsupport::ByteWriter;
using testsupport::Hex;

namespace {

using Body = std::function<void(ByteWriter&)>;

std::string Element(const Body& body)
{
    return ByteWriter().Chunk(0x4010, body).Str();
}

void LoadElement(CSceneObjectThing& thing, const std::string& element)
{
    std::stringstream in(element.substr(2));
    EXPECT_EQ(thing.Load(in), element.size() - 2);
}

std::string SaveElement(CSceneObjectThing& thing)
{
    std::stringstream out;
    const auto written = thing.Save(out);
    EXPECT_EQ(written, out.str().size());
    EXPECT_EQ(out.tellp(), std::streampos(written));
    return out.str();
}

// Reads `input` and expects `expected` back.
void ExpectResaved(const std::string& input, const std::string& expected)
{
    CSceneObjectThing thing;
    LoadElement(thing, input);
    EXPECT_EQ(Hex(SaveElement(thing)), Hex(expected));
}

std::int32_t LoadFailure(const std::string& element)
{
    std::stringstream in(element.substr(2));
    CSceneObjectThing thing;
    try {
        thing.Load(in);
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

// The transform chunks as they round-trip exactly: the identity rotation is stored
// as w = 1 and x, y, z = -0.0.
void Translation(ByteWriter& w, float x = 1.5f, float y = -2.0f, float z = 300.25f)
{
    w.Header(0x0020, 18).F32(x).F32(y).F32(z);
}
void IdentityRotation(ByteWriter& w)
{
    w.Header(0x0022, 22).F32(1.0f).F32(-0.0f).F32(-0.0f).F32(-0.0f);
}
void Scale(ByteWriter& w, float s = 2.0f)
{
    w.Header(0x002D, 18).F32(s).F32(s).F32(s);
}
void Data002C(ByteWriter& w)
{
    w.ChunkRaw(0x002C, "ABCDEFGHIJKL");
}
void Sector(ByteWriter& w, std::string_view name = "room")
{
    w.Chunk(0x4020, [name](ByteWriter& s) { s.ChunkText(0x0010, name); });
}
void FullTransform(ByteWriter& w)
{
    Translation(w);
    IdentityRotation(w);
    Scale(w);
    Data002C(w);
}
// What a typed kind writes for a transform it never read: the identity.
void DefaultTransform(ByteWriter& w)
{
    Translation(w, 0, 0, 0);
    IdentityRotation(w);
    Scale(w, 1.0f);
    w.Header(0x002C, 18).Fill(12);
}

void Block2(ByteWriter& w, std::initializer_list<std::string_view> texts)
{
    w.Chunk(0x4040, [&](ByteWriter& b) {
        b.ChunkU32(0x4041, 41).ChunkRaw(0x0026, "0123456789ab").ChunkU32(0x4042, 42);
        b.ChunkRaw(0x4043, "43434343").ChunkRaw(0x4044, "44444444");
        b.Header(0x4045, 10).U16(0x4545).U16(0x5454);
        for (auto text : texts)
            b.ChunkText(0x4046, text);
    });
}

}  // namespace

TEST(Thing, NameOnlyElementIsKindPlain)
{
    CSceneObjectThing thing;
    LoadElement(thing, Element([](ByteWriter& w) { w.ChunkText(0x0010, "a"); }));
    EXPECT_EQ(thing.GetKind(), 0x1002);
    EXPECT_EQ(Hex(SaveElement(thing)), "10 40 0E 00 00 00 10 00 08 00 00 00 61 00");
}

TEST(Thing, EveryKindRoundTripsByteForByte)
{
    const std::vector<std::pair<const char*, Body>> elements = {
        {"kind 2", [](ByteWriter& w) {
             w.ChunkU32(0x4011, 2).ChunkText(0x0010, "k2");
             FullTransform(w);
             Sector(w);
             Block2(w, {"one", "two"});
         }},
        {"kind 4", [](ByteWriter& w) {
             w.ChunkU32(0x4011, 4).ChunkText(0x0010, "k4");
             FullTransform(w);
             w.Chunk(0x4060, [](ByteWriter& b) {
                 b.ChunkText(0x0010, "inner").ChunkU32(0x4061, 61).ChunkU32(0x4062, 62).ChunkU32(0x4063, 63);
                 b.ChunkRaw(0x4064, "64646464").ChunkRaw(0x4068, "6868686868686868").Header(0x4067, 6);
                 b.Header(0x4066, 6).ChunkU32(0xB800, 0xB8).ChunkText(0xB200, "b1").ChunkText(0xB200, "b2");
                 b.ChunkText(0xB201, "xy");
             });
         }},
        {"kind 6", [](ByteWriter& w) {
             w.ChunkU32(0x4011, 6).ChunkText(0x0010, "k6");
             FullTransform(w);
             w.ChunkRaw(0x4050, "ABCDEFGHIJKLMNOPQRSTUVWX");
         }},
        {"kind 9", [](ByteWriter& w) {
             w.ChunkU32(0x4011, 9).ChunkText(0x0010, "k9");
             FullTransform(w);
             Sector(w);
             w.ChunkText(0x2012, "crate.i3d");
         }},
        {"kind 12", [](ByteWriter& w) {
             w.ChunkU32(0x4011, 12).ChunkText(0x0010, "k12");
             FullTransform(w);
             w.ChunkRaw(0x4083, std::string("\x00\x83\xFF", 3));
         }},
        {"kind 14", [](ByteWriter& w) {
             w.ChunkU32(0x4011, 14).ChunkText(0x0010, "k14");
             FullTransform(w);
             w.ChunkRaw(0xB151, "b151");
         }},
        {"kind 0x1000", [](ByteWriter& w) {
             w.ChunkText(0x0010, "k1000");
             FullTransform(w);
             Sector(w);
             w.ChunkRaw(0x4090, "text").ChunkRaw(0x40A0, "a0a0a0");
         }},
        {"kind 0x1000, no optional chunks", [](ByteWriter& w) {
             w.ChunkText(0x0010, "k1000").ChunkRaw(0x4090, "").ChunkRaw(0x40A0, "");
         }},
        {"kind 0x1001", [](ByteWriter& w) { w.ChunkText(0x0010, "k1001").ChunkRaw(0xB401, std::string(236, 'q')); }},
        {"kind 0x1002", [](ByteWriter& w) {
             w.ChunkText(0x0010, "k1002");
             Translation(w);
             Scale(w);
             IdentityRotation(w);
             Data002C(w);
             Sector(w);
         }},
        {"kind 0x1002, scale alone", [](ByteWriter& w) {
             w.ChunkText(0x0010, "k1002");
             Scale(w);
         }},
        {"kind 0x1003", [](ByteWriter& w) {
             w.ChunkText(0x0010, "k1003");
             Translation(w);
             Scale(w);
             IdentityRotation(w);
             Data002C(w);
             w.ChunkRaw(0x4090, "t").ChunkRaw(0xB110, "b110");
         }},
        {"0x4033 last", [](ByteWriter& w) { w.ChunkText(0x0010, "x").Header(0x4033, 6); }},
    };
    for (const auto& [what, body] : elements) {
        SCOPED_TRACE(what);
        const auto element = Element(body);
        ExpectResaved(element, element);
    }
}

TEST(Thing, ModelKindGainsTheTransformItLacked)
{
    CSceneObjectThing thing;
    LoadElement(thing, Element([](ByteWriter& w) { w.ChunkText(0x2012, "base.ext").ChunkU32(0x4011, 9); }));
    EXPECT_EQ(thing.GetKind(), 9);
    EXPECT_EQ(thing.GetModelName(), "base.ext");
    EXPECT_EQ(Hex(SaveElement(thing)), Hex(Element([](ByteWriter& w) {
                  w.ChunkU32(0x4011, 9).ChunkText(0x0010, "");
                  DefaultTransform(w);
                  w.ChunkText(0x2012, "base.ext");
              })));
}

TEST(Thing, KindOutsideTheTableLosesItsKindChunk)
{
    const Body transform = [](ByteWriter& w) { FullTransform(w); };
    CSceneObjectThing thing;
    LoadElement(thing, Element([](ByteWriter& w) {
                    w.ChunkU32(0x4011, 3).ChunkText(0x0010, "odd");
                    Data002C(w);
                    Sector(w, "s");
                    Translation(w);
                }));
    EXPECT_EQ(thing.GetKind(), 3);
    const auto out = SaveElement(thing);
    EXPECT_EQ(Hex(out), Hex(Element([](ByteWriter& w) {
                  w.ChunkText(0x0010, "odd");
                  Translation(w);
                  IdentityRotation(w);
                  Scale(w, 1.0f);
                  Data002C(w);
                  Sector(w, "s");
              })));
    CSceneObjectThing again;
    LoadElement(again, out);
    EXPECT_EQ(again.GetKind(), 0x1002);
}

TEST(Thing, TheLaterMarkingChunkDecidesTheKind)
{
    CSceneObjectThing first;
    LoadElement(first, Element([](ByteWriter& w) { w.ChunkU32(0x4011, 2).ChunkRaw(0x40A0, "x"); }));
    EXPECT_EQ(first.GetKind(), 0x1000);
    CSceneObjectThing second;
    LoadElement(second, Element([](ByteWriter& w) { w.ChunkRaw(0x40A0, "x").ChunkU32(0x4011, 2); }));
    EXPECT_EQ(second.GetKind(), 2);
    // 0xB151 does not mark a kind; the other marking chunks do.
    const std::vector<std::pair<Body, std::int32_t>> marks = {
        {[](ByteWriter& w) { w.ChunkRaw(0xB151, "x"); }, 0x1002},
        {[](ByteWriter& w) { w.ChunkRaw(0x4050, std::string(24, 'x')); }, 6},
        {[](ByteWriter& w) { w.ChunkText(0x2012, "m"); }, 9},
        {[](ByteWriter& w) { w.ChunkRaw(0x4083, "x"); }, 12},
        {[](ByteWriter& w) { w.ChunkRaw(0xB110, "x"); }, 0x1003},
        {[](ByteWriter& w) { w.ChunkRaw(0xB401, std::string(236, 'x')); }, 0x1001},
        {[](ByteWriter& w) { w.Chunk(0x4040, [](ByteWriter&) {}); }, 2},
        {[](ByteWriter& w) { w.Chunk(0x4060, [](ByteWriter&) {}); }, 4},
    };
    for (const auto& [body, kind] : marks) {
        CSceneObjectThing thing;
        LoadElement(thing, Element(body));
        EXPECT_EQ(thing.GetKind(), kind);
    }
}

TEST(Thing, LayoutDropsWhatTheKindDoesNotWrite)
{
    // A kind-0x1001 element loses its transform, sector and 0x4090; chunks come out
    // in the kind's order whatever the input order.
    ExpectResaved(Element([](ByteWriter& w) {
                      w.ChunkRaw(0xB401, std::string(236, 'z'));
                      FullTransform(w);
                      Sector(w);
                      w.ChunkRaw(0x4090, "dropped").ChunkText(0x0010, "n");
                  }),
                  Element([](ByteWriter& w) { w.ChunkText(0x0010, "n").ChunkRaw(0xB401, std::string(236, 'z')); }));
    // Kind 0x1003 writes no sector block.
    ExpectResaved(Element([](ByteWriter& w) {
                      Sector(w);
                      w.ChunkRaw(0xB110, "b").ChunkText(0x0010, "n");
                  }),
                  Element([](ByteWriter& w) { w.ChunkText(0x0010, "n").ChunkRaw(0x4090, "").ChunkRaw(0xB110, "b"); }));
    // A second kind's block is dropped: only the kind's own chunk is written.
    ExpectResaved(Element([](ByteWriter& w) {
                      w.ChunkRaw(0x4083, "12").ChunkText(0x2012, "m.x").ChunkText(0x0010, "n");
                      FullTransform(w);
                  }),
                  Element([](ByteWriter& w) {
                      w.ChunkU32(0x4011, 9).ChunkText(0x0010, "n");
                      FullTransform(w);
                      w.ChunkText(0x2012, "m.x");
                  }));
}

TEST(Thing, RepeatedChunksKeepTheLastAndBlocksKeepEveryText)
{
    CSceneObjectThing thing;
    LoadElement(thing, Element([](ByteWriter& w) {
                    w.ChunkText(0x0010, "first").ChunkText(0x0010, "second");
                    w.Chunk(0x4020, [](ByteWriter& s) { s.ChunkText(0x0010, "s1").ChunkText(0x0010, "s2"); });
                    w.Header(0x4033, 6 + 5).Bytes("junk!");
                    Block2(w, {"a", "b", "c"});
                }));
    EXPECT_EQ(thing.GetName(), "second");
    EXPECT_EQ(thing.GetSectorName(), "s2");
    EXPECT_EQ(thing.GetBlock2().texts4046, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Hex(SaveElement(thing)), Hex(Element([](ByteWriter& w) {
                  w.ChunkU32(0x4011, 2).ChunkText(0x0010, "second");
                  DefaultTransform(w);
                  Sector(w, "s2");
                  Block2(w, {"a", "b", "c"});
                  w.Header(0x4033, 6);
              })));
}

TEST(Thing, Block2KeepsItsWidthsAndWritesItsOrder)
{
    // Contents longer than the kept width are dropped, shorter ones keep the tail;
    // the texts are written only when one was read.
    CSceneObjectThing thing;
    LoadElement(thing, Element([](ByteWriter& w) {
                    w.Chunk(0x4040, [](ByteWriter& b) {
                        b.Header(0x4045, 10).U16(1).U16(2);
                        b.ChunkRaw(0x4044, "4444444444444444").ChunkRaw(0x4043, "43");
                        b.ChunkRaw(0x0026, "0123456789abcdef").ChunkU32(0x4042, 7).ChunkU32(0x4041, 8);
                    });
                }));
    EXPECT_FALSE(thing.GetPresence().chunk4046);
    const auto out = SaveElement(thing);
    EXPECT_EQ(Hex(out), Hex(Element([](ByteWriter& w) {
                  w.ChunkU32(0x4011, 2).ChunkText(0x0010, "");
                  DefaultTransform(w);
                  w.Chunk(0x4040, [](ByteWriter& b) {
                      b.ChunkU32(0x4041, 8).ChunkRaw(0x0026, "0123456789ab").ChunkU32(0x4042, 7);
                      b.Header(0x4043, 14).Bytes("43").Fill(6).ChunkRaw(0x4044, "44444444");
                      b.Header(0x4045, 10).U16(1).U16(2);
                  });
              })));
}

TEST(Thing, Block4WritesItsSixteenBytesUnder4068)
{
    CSceneObjectThing thing;
    LoadElement(thing, Element([](ByteWriter& w) {
                    w.Chunk(0x4060, [](ByteWriter& b) { b.ChunkRaw(0x4067, "FEDCBA9876543210").ChunkText(0xB201, "xy"); });
                }));
    EXPECT_FALSE(thing.GetPresence().chunk4066);
    EXPECT_TRUE(thing.GetPresence().chunkB201);
    EXPECT_EQ(Hex(SaveElement(thing)), Hex(Element([](ByteWriter& w) {
                  w.ChunkU32(0x4011, 4).ChunkText(0x0010, "");
                  DefaultTransform(w);
                  w.Chunk(0x4060, [](ByteWriter& b) {
                      b.ChunkText(0x0010, "").ChunkU32(0x4061, 0).ChunkU32(0x4062, 0).ChunkU32(0x4063, 0);
                      b.Header(0x4064, 14).Fill(8).ChunkRaw(0x4068, "FEDCBA9876543210").Header(0x4067, 6);
                      b.ChunkU32(0xB800, 0);
                      b.Header(0xB201, 9).Bytes({0x78, 0x79, 0x00});
                  });
              })));
}

TEST(Thing, RotationIsStoredAsAQuaternion)
{
    const float c45 = std::cos(3.1415926535f / 4);
    const float s45 = std::sin(3.1415926535f / 4);
    CSceneObjectThing thing;
    thing.SetRotation({90.0f, 0.0f, 0.0f, 1.0f});
    const auto out = SaveElement(thing);
    // name (8 bytes after the element header), then 0x0022.
    ByteWriter expectedRotation;
    expectedRotation.Header(0x0022, 22).F32(c45).F32(-0.0f).F32(-0.0f).F32(-s45);
    const auto rotationAt = out.find(std::string("\x22\x00\x16\x00\x00\x00", 6));
    ASSERT_NE(rotationAt, std::string::npos);
    const auto written = out.substr(rotationAt, 22);
    // w and z within one rounding step; x and y exactly -0.0.
    auto f32 = [&](std::size_t at) {
        float v;
        std::memcpy(&v, written.data() + at, 4);
        return v;
    };
    EXPECT_NEAR(f32(6), c45, 1e-6f);
    EXPECT_TRUE(f32(10) == 0.0f && std::signbit(f32(10)));
    EXPECT_TRUE(f32(14) == 0.0f && std::signbit(f32(14)));
    EXPECT_NEAR(f32(18), -s45, 1e-6f);

    CSceneObjectThing back;
    LoadElement(back, out);
    const auto r = back.GetRotation();
    EXPECT_NEAR(r.angle, 90.0f, 1e-4f);
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 0.0f, 1e-6f);
    EXPECT_NEAR(r.z, 1.0f, 1e-6f);
}

TEST(Thing, QuaternionConversions)
{
    const AxisAngle identity = QuaternionToAxisAngle({1.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(identity, (AxisAngle{0.0f, 1.0f, 0.0f, 0.0f}));
    const Quaternion back = AxisAngleToQuaternion(identity);
    EXPECT_EQ(back.w, 1.0f);
    EXPECT_TRUE(std::signbit(back.x) && std::signbit(back.y) && std::signbit(back.z));

    // The axis comes out normalised and negated; the angle is twice acos(w).
    const AxisAngle half = QuaternionToAxisAngle({0.0f, 0.0f, -2.0f, 0.0f});
    EXPECT_NEAR(half.angle, 180.0f, 1e-4f);
    EXPECT_EQ(half.y, 1.0f);

    // A unit quaternion whose w strays past 1 by rounding keeps a zero angle
    // rather than becoming NaN.
    const AxisAngle stray = QuaternionToAxisAngle({std::nextafter(1.0f, 2.0f), 1e-8f, 0.0f, 0.0f});
    EXPECT_EQ(stray.angle, 0.0f);

    // The axis is not normalised on writing.
    const Quaternion unnormalised = AxisAngleToQuaternion({180.0f, 0.0f, 2.0f, 0.0f});
    EXPECT_NEAR(unnormalised.y, -2.0f, 1e-6f);
}

TEST(Thing, TransformEditsAreWrittenEvenWhereTheElementLackedThem)
{
    // Kinds 0x1000, 0x1002 and 0x1003 write the transform chunks they read, and
    // those that were set.
    for (const Body& body : std::vector<Body>{[](ByteWriter& w) { w.ChunkText(0x0010, "p"); },
                                              [](ByteWriter& w) { w.ChunkText(0x0010, "p").ChunkRaw(0x40A0, ""); },
                                              [](ByteWriter& w) { w.ChunkText(0x0010, "p").ChunkRaw(0xB110, ""); }}) {
        CSceneObjectThing thing;
        LoadElement(thing, Element(body));
        const auto untouched = SaveElement(thing);
        EXPECT_EQ(untouched.find(std::string("\x20\x00\x12\x00", 4)), std::string::npos);
        thing.SetTranslation({1.0f, 2.0f, 3.0f});
        thing.SetScale({4.0f, 4.0f, 4.0f});
        CSceneObjectThing back;
        LoadElement(back, SaveElement(thing));
        EXPECT_EQ(back.GetTranslation(), (Vector3{1.0f, 2.0f, 3.0f}));
        EXPECT_EQ(back.GetScale(), (Vector3{4.0f, 4.0f, 4.0f}));
        EXPECT_FALSE(back.GetPresence().rotation);
        thing.SetRotation({30.0f, 0.0f, 1.0f, 0.0f});
        CSceneObjectThing turned;
        LoadElement(turned, SaveElement(thing));
        EXPECT_NEAR(turned.GetRotation().angle, 30.0f, 1e-4f);
    }
}

TEST(Thing, ScriptGoesThroughTheLinkedData)
{
    CSceneObjectThing thing;
    EXPECT_EQ(thing.GetLinkedDataKind(), -1);
    EXPECT_EQ(thing.GetScript(), "");
    thing.SetScript("ignored");

    CSceneObjectThingData data;
    std::stringstream in(ByteWriter().U32(0).Str());  // an empty element: kind 0
    ByteWriter element;
    element.Chunk(0xAE21, [](ByteWriter& w) {
        w.ChunkU32(0xAE22, 5).Chunk(0xAE24, [](ByteWriter& c) { c.U32(0).U32(0).U16(0).Counted("go"); });
    });
    std::stringstream dataIn(element.Str().substr(2));
    data.Load(dataIn);
    thing.SetLinkedData(&data);
    EXPECT_EQ(thing.GetLinkedData(), &data);
    EXPECT_EQ(thing.GetLinkedDataKind(), 5);
    EXPECT_EQ(thing.GetScript(), "go");
    thing.SetScript("stop");
    EXPECT_EQ(data.GetScript(), "stop");
}

TEST(Thing, ModelLoadingNeedsAName)
{
    CSceneObjectThing thing;
    EXPECT_FALSE(thing.LoadModel());
    EXPECT_FALSE(thing.GetModel().IsLoaded());
}

TEST(Thing, MalformedElementsFail)
{
    // Unknown ids at every level.
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) { w.ChunkU32(0x4012, 1); })), VERDAX_ERR_INNER_CHUNK);
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) { w.Chunk(0x4020, [](ByteWriter& s) { s.ChunkText(0x0011, "s"); }); })),
              VERDAX_ERR_INNER_CHUNK);
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) { w.Chunk(0x4040, [](ByteWriter& b) { b.ChunkU32(0x4061, 1); }); })),
              VERDAX_ERR_INNER_CHUNK);
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) { w.Chunk(0x4060, [](ByteWriter& b) { b.ChunkU32(0x4041, 1); }); })),
              VERDAX_ERR_INNER_CHUNK);
    // Content read as "size - 6" with a size below 6 or beyond the stream.
    for (const std::uint16_t id : {0x4033, 0x4083, 0x40A0, 0xB110, 0xB151, 0x0010, 0x2012, 0x4090}) {
        for (const std::uint32_t size : {0u, 5u, 0x7FFFFFFFu}) {
            EXPECT_EQ(LoadFailure(ByteWriter().U16(0x4010).U32(100).Header(id, size).U32(0).Str()), VERDAX_ERR_READ)
                << std::hex << id << " size " << size;
        }
    }
    for (const std::uint16_t id : {0x0026, 0x4043, 0x4044}) {
        EXPECT_EQ(LoadFailure(Element([id](ByteWriter& w) {
                      w.Header(0x4040, 100).Header(id, 3).U32(0);
                  })),
                  VERDAX_ERR_READ);
    }
    // Fixed layouts cut short.
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0x4010).U32(100).Header(0xB401, 242).Fill(100).Str()), VERDAX_ERR_READ);
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0x4010).U32(100).Header(0x0022, 22).F32(1).Str()), VERDAX_ERR_READ);
}
