#include "core/CVerdaxException.h"
#include "scene/CSceneObjectThingData.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using testsupport::ByteWriter;
using testsupport::Hex;

namespace {

using Body = std::function<void(ByteWriter&)>;

// A whole 0xAE21 element whose inner chunks `body` spells out.
std::string Element(const Body& body)
{
    return ByteWriter().Chunk(0xAE21, body).Str();
}

// Loads an element (the list reader has consumed its id); checks what Load reports.
void LoadElement(CSceneObjectThingData& data, const std::string& element)
{
    std::stringstream in(element.substr(2));
    EXPECT_EQ(data.Load(in), element.size() - 2);
}

std::string SaveElement(CSceneObjectThingData& data)
{
    std::stringstream out;
    const auto written = data.Save(out);
    EXPECT_EQ(written, out.str().size());
    return out.str();
}

std::int32_t LoadFailure(const std::string& element)
{
    std::stringstream in(element.substr(2));
    CSceneObjectThingData data;
    try {
        data.Load(in);
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

Body ScriptChunk(std::string_view script)
{
    return [script](ByteWriter& w) { w.U32(0x11111111).U32(0x22222222).U16(0x3333).Counted(script); };
}

}  // namespace

TEST(ThingData, ScriptKindReadsAndWritesItsScript)
{
    const auto element = Element([](ByteWriter& w) {
        w.ChunkText(0xAE23, "door").ChunkU32(0xAE22, 5).Chunk(0xAE24, ScriptChunk("ab"));
    });
    CSceneObjectThingData data;
    LoadElement(data, element);
    EXPECT_EQ(data.GetKind(), 5);
    EXPECT_EQ(data.GetName(), "door");
    EXPECT_EQ(data.GetScript(), "ab");
    const auto out = SaveElement(data);
    EXPECT_EQ(Hex(out), Hex(element));
    EXPECT_EQ(Hex(out.substr(out.size() - 22)),
              "24 AE 16 00 00 00 11 11 11 11 22 22 22 22 33 33 02 00 00 00 61 62");
}

TEST(ThingData, ElementIsWrittenNameKindDataWhateverTheInputOrder)
{
    CSceneObjectThingData data;
    LoadElement(data, Element([](ByteWriter& w) {
                    w.ChunkU32(0xAE22, 12).ChunkRaw(0xAE24, "raw").ChunkText(0xAE23, "x");
                }));
    EXPECT_EQ(Hex(SaveElement(data)), Hex(Element([](ByteWriter& w) {
                  w.ChunkText(0xAE23, "x").ChunkU32(0xAE22, 12).ChunkRaw(0xAE24, "raw");
              })));
}

TEST(ThingData, SettingAnEmptyScriptLeavesOneZeroByte)
{
    CSceneObjectThingData data;
    LoadElement(data, Element([](ByteWriter& w) {
                    w.ChunkU32(0xAE22, 5).ChunkText(0xAE23, "t").Chunk(0xAE24, ScriptChunk("old text"));
                }));
    data.SetScript("");
    EXPECT_EQ(data.GetScript(), "");
    EXPECT_EQ(Hex(SaveElement(data)), Hex(Element([](ByteWriter& w) {
                  w.ChunkText(0xAE23, "t").ChunkU32(0xAE22, 5).Chunk(0xAE24, ScriptChunk(""));
              })));
    data.SetScript("new");
    EXPECT_EQ(data.GetScript(), "new");
}

TEST(ThingData, EmptyDataChunkLeavesTheFieldsAsTheyWere)
{
    CSceneObjectThingData data;
    LoadElement(data, Element([](ByteWriter& w) {
                    w.ChunkU32(0xAE22, 5).ChunkText(0xAE23, "t").Header(0xAE24, 6);
                }));
    EXPECT_EQ(data.GetScript(), "");
    // Zero values and L = 0: a kind-5 chunk of size 20.
    EXPECT_EQ(Hex(SaveElement(data)), Hex(Element([](ByteWriter& w) {
                  w.ChunkText(0xAE23, "t").ChunkU32(0xAE22, 5).Header(0xAE24, 20).U32(0).U32(0).U16(0).U32(0);
              })));
}

TEST(ThingData, RawKindsAreCarriedByteForByte)
{
    for (const std::int32_t kind : {2, 4, 6, 8, 12, 18, 22, 25, 34, 35}) {
        const std::string raw("\x00\x01\xFF\x00zz", 6);
        const auto element = Element([&](ByteWriter& w) {
            w.ChunkText(0xAE23, "r").ChunkU32(0xAE22, static_cast<std::uint32_t>(kind)).ChunkRaw(0xAE24, raw);
        });
        CSceneObjectThingData data;
        LoadElement(data, element);
        EXPECT_EQ(data.GetScript(), "") << kind;
        data.SetScript("ignored");
        EXPECT_EQ(Hex(SaveElement(data)), Hex(element)) << kind;
    }
}

TEST(ThingData, TextKindHoldsItsScriptAfterSeventyNineBytes)
{
    const std::string block(79, '\x5A');
    const auto element = Element([&](ByteWriter& w) {
        w.ChunkText(0xAE23, "k").ChunkU32(0xAE22, 27).Chunk(0xAE24, [&](ByteWriter& c) { c.Bytes(block).Counted("go"); });
    });
    CSceneObjectThingData data;
    LoadElement(data, element);
    EXPECT_EQ(data.GetScript(), "go");
    EXPECT_EQ(Hex(SaveElement(data)), Hex(element));
    data.SetScript("stop!");
    const auto out = SaveElement(data);
    EXPECT_EQ(Hex(out.substr(out.size() - (6 + 83 + 5), 6)), "24 AE 5E 00 00 00");  // 6 + 83 + 5
}

TEST(ThingData, KindOutsideTheTableRefusesContentButNotAnEmptyChunk)
{
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) {
                  w.ChunkU32(0xAE22, 3).ChunkText(0xAE23, "x").ChunkRaw(0xAE24, "a");
              })),
              VERDAX_ERR_INNER_CHUNK);

    const auto empty = Element([](ByteWriter& w) { w.ChunkU32(0xAE22, 3).ChunkText(0xAE23, "x").Header(0xAE24, 6); });
    CSceneObjectThingData data;
    LoadElement(data, empty);
    EXPECT_EQ(Hex(SaveElement(data)),
              Hex(Element([](ByteWriter& w) { w.ChunkText(0xAE23, "x").ChunkU32(0xAE22, 3).Header(0xAE24, 6); })));
}

TEST(ThingData, DataBeforeTheKindIsReadByTheKindHeldBefore)
{
    // No kind yet: content is refused, an empty chunk is not.
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) {
                  w.Chunk(0xAE24, ScriptChunk("s")).ChunkU32(0xAE22, 5);
              })),
              VERDAX_ERR_INNER_CHUNK);

    // A later kind chunk changes how the data is written: raw bytes read as kind 12
    // are written as kind 5's script, up to their first zero byte.
    CSceneObjectThingData data;
    LoadElement(data, Element([](ByteWriter& w) {
                    w.ChunkU32(0xAE22, 12).ChunkRaw(0xAE24, std::string("hi\0!", 4)).ChunkU32(0xAE22, 5);
                }));
    EXPECT_EQ(data.GetKind(), 5);
    EXPECT_EQ(data.GetScript(), "hi");
}

TEST(ThingData, MalformedElementsFail)
{
    // An unknown inner chunk.
    EXPECT_EQ(LoadFailure(Element([](ByteWriter& w) { w.ChunkU32(0xAE25, 1); })), VERDAX_ERR_INNER_CHUNK);
    // Raw content longer than the stream, or a size below 6.
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0xAE21).U32(100).ChunkU32(0xAE22, 2).Header(0xAE24, 0x7FFFFFFF).Str()),
              VERDAX_ERR_READ);
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0xAE21).U32(100).ChunkU32(0xAE22, 2).Header(0xAE24, 4).Str()),
              VERDAX_ERR_READ);
    // A script length beyond the stream; a name chunk of size 0.
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0xAE21).U32(100).ChunkU32(0xAE22, 5).Header(0xAE24, 30)
                              .U32(0).U32(0).U16(0).U32(0xFFFFFFF0).Str()),
              VERDAX_ERR_READ);
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0xAE21).U32(100).Header(0xAE23, 0).Str()), VERDAX_ERR_READ);
    // An element that claims more than the stream holds runs out of bytes.
    EXPECT_EQ(LoadFailure(ByteWriter().U16(0xAE21).U32(0xFFFFFFFF).ChunkU32(0xAE22, 5).Str()), VERDAX_ERR_READ);
}

TEST(ThingData, NameIsEditableTransformIsNot)
{
    CSceneObjectThingData data;
    data.SetName("crate");
    data.SetTranslation({1, 1, 1});
    EXPECT_EQ(data.GetName(), "crate");
    EXPECT_EQ(data.GetTranslation(), Vector3{});
    EXPECT_EQ(data.GetScale(), Vector3{});
    EXPECT_EQ(data.GetRotation(), AxisAngle{});
}
