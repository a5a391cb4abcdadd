// Objects as the clipboard's bytes: the layout written, copies that write what their
// originals write, hostile bytes refused, texts from another code page converted.

#include "game/CObjectsPayload.h"
#include "game/CPayloadRefused.h"
#include "tests/game/SceneMissions.h"
#include "tools/demo/DemoScenes.h"

#include <gtest/gtest.h>

#include <sstream>

using testsupport::ByteWriter;

namespace {

using Objects = CObjectsPayload::Objects;

std::string Bytes(CSceneObject& object)
{
    std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
    object.Save(stream);
    return stream.str();
}

using Body = std::function<void(ByteWriter&)>;

// The rotations section for `count` things, each turned 90 degrees about z.
Body Rotations(std::uint32_t count)
{
    return [count](ByteWriter& r) {
        r.U32(count);
        for (std::uint32_t i = 0; i < count; ++i)
            r.F32(90.0f).F32(0.0f).F32(0.0f).F32(1.0f);
    };
}

// A payload spelled out: the header, the three lists, the links and the rotations
// (of one thing unless given).
std::string Payload(int codePage, const Body& things, const Body& thingData = [](ByteWriter&) {},
                    const Body& links = [](ByteWriter& l) { l.U32(0); }, const Body& rotations = Rotations(1),
                    std::uint32_t version = 1)
{
    return ByteWriter()
        .Chunk(0x4F56,
               [&](ByteWriter& w) {
                   w.Chunk(0x0001, [&](ByteWriter& h) { h.U32(version).U32(static_cast<std::uint32_t>(codePage)); });
                   w.Chunk(0x4000, things);
                   w.Chunk(0xAE20, thingData);
                   w.Chunk(0xAE50, [](ByteWriter&) {});
                   w.Chunk(0x4F4C, links);
                   w.Chunk(0x4F52, rotations);
               })
        .Str();
}

void NamedThing(ByteWriter& list, std::string_view name)
{
    list.Chunk(0x4010, [&](ByteWriter& t) { t.ChunkText(0x0010, name); });
}

void ScriptData(ByteWriter& list, std::string_view name, std::string_view script)
{
    list.Chunk(0xAE21, [&](ByteWriter& d) {
        d.ChunkText(0xAE23, name).ChunkU32(0xAE22, 5).Chunk(0xAE24, [&](ByteWriter& c) {
            c.U32(0).U32(0).U16(0).Counted(script);
        });
    });
}

// The code of the refusal; 0 when the bytes were taken.
int Refusal(std::string_view bytes, int codePage = 1252)
{
    try {
        CObjectsPayload::Read(bytes, codePage);
    } catch (const CPayloadRefused& refused) {
        return refused.GetCode();
    }
    return 0;
}

}  // namespace

TEST(ObjectsPayload, IsOneChunkHoldingTheCodePageTheListsAndTheLinks)
{
    CSceneObjectThing thing;
    thing.SetName("door");
    thing.SetRotation({30.0f, 0.0f, 1.0f, 0.0f});
    CSceneObjectThingData data;
    thing.SetLinkedData(&data);
    CSceneObjectMissionScript script;
    const std::string written = CObjectsPayload::Write({&thing, &script, &data}, 1251);

    const std::string expected =
        ByteWriter()
            .Chunk(0x4F56,
                   [&](ByteWriter& w) {
                       w.Chunk(0x0001, [](ByteWriter& h) { h.U32(1).U32(1251); });
                       w.Chunk(0x4000, [&](ByteWriter& l) { l.Bytes(Bytes(thing)); });
                       w.Chunk(0xAE20, [&](ByteWriter& l) { l.Bytes(Bytes(data)); });  // once, with its thing
                       w.Chunk(0xAE50, [&](ByteWriter& l) { l.Bytes(Bytes(script)); });
                       w.Chunk(0x4F4C, [](ByteWriter& l) { l.U32(1).U32(0).U32(0); });
                       w.Chunk(0x4F52, [](ByteWriter& r) { r.U32(1).F32(30.0f).F32(0.0f).F32(1.0f).F32(0.0f); });
                   })
            .Str();
    EXPECT_EQ(testsupport::Hex(written), testsupport::Hex(expected));
}

TEST(ObjectsPayload, ACopyWritesWhatItsOriginalWritesWithItsLink)
{
    testsupport::SceneMissions missions;
    CMission& harbour = missions.Load("harbour", demo::HarbourTownScene());
    for (const auto& thing : harbour.GetThings()) {
        Objects copy = CObjectsPayload::Read(CObjectsPayload::Write({thing.get()}, 1252), 1252);
        ASSERT_EQ(copy.things.size(), 1u);
        CSceneObjectThing& twin = *copy.things[0];
        // A kind outside the writer's table is written as kind 0x1002 and reads back so.
        if (thing->GetKind() == 3)
            EXPECT_EQ(twin.GetKind(), CSceneObjectThing::kKindPlain);
        else
            EXPECT_EQ(Bytes(twin), Bytes(*thing)) << thing->GetName();
        if (thing->GetLinkedData()) {
            ASSERT_EQ(copy.thingData.size(), 1u);
            EXPECT_EQ(twin.GetLinkedData(), copy.thingData[0].get());
            EXPECT_EQ(Bytes(*copy.thingData[0]), Bytes(*thing->GetLinkedData()));
        } else {
            EXPECT_TRUE(copy.thingData.empty());
        }
    }
    for (const auto& data : harbour.GetThingData()) {
        Objects copy = CObjectsPayload::Read(CObjectsPayload::Write({data.get()}, 1252), 1252);
        EXPECT_EQ(Bytes(*copy.thingData.at(0)), Bytes(*data));
    }
    for (const auto& script : harbour.GetMissionScripts()) {
        Objects copy = CObjectsPayload::Read(CObjectsPayload::Write({script.get()}, 1252), 1252);
        EXPECT_EQ(Bytes(*copy.missionScripts.at(0)), Bytes(*script));
    }
}

TEST(ObjectsPayload, ACopyWritesTheVeryQuaternionOfItsOriginal)
{
    // Read back from the file alone, about half of these come out a rounding step
    // away from what the original writes.
    CSceneObjectThing thing;
    for (int i = 1; i <= 64; ++i) {
        const float f = static_cast<float>(i);
        thing.SetRotation({f * 11.3f - 360.0f, 0.3f * f - 9.0f, 1.0f / f, 0.7f});
        Objects copy = CObjectsPayload::Read(CObjectsPayload::Write({&thing}, 1252), 1252);
        EXPECT_EQ(Bytes(*copy.things.at(0)), Bytes(thing)) << i;
    }
    // A thing whose element holds no rotation does not gain one.
    CSceneObjectThing plain;
    Objects copy = CObjectsPayload::Read(CObjectsPayload::Write({&plain}, 1252), 1252);
    EXPECT_FALSE(copy.things.at(0)->GetPresence().rotation);
    EXPECT_EQ(Bytes(*copy.things[0]), Bytes(plain));
}

TEST(ObjectsPayload, MalformedBytesAreRefusedWithTheFaultsCode)
{
    const auto door = [](ByteWriter& l) { NamedThing(l, "door"); };
    const std::string good = Payload(1252, door);
    ASSERT_EQ(Refusal(good), 0);
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_NE(Refusal(good.substr(0, length)), 0) << length;
    EXPECT_EQ(Refusal(good + "x"), 4001);

    std::string otherId = good;
    otherId[0] = 0x57;
    EXPECT_EQ(Refusal(otherId), 4002);
    const Body noData = [](ByteWriter&) {};
    const Body noLinks = [](ByteWriter& l) { l.U32(0); };
    EXPECT_EQ(Refusal(Payload(1252, door, noData, noLinks, Rotations(1), 2)), 4002);
    EXPECT_EQ(Refusal(Payload(1252, door, noData, noLinks, Rotations(2))), 4002);
    EXPECT_EQ(Refusal(Payload(1252, door, noData, noLinks, [](ByteWriter& r) { r.U32(1); })), 4001);
    EXPECT_EQ(Refusal(Payload(437, door)), 4002);
    EXPECT_EQ(Refusal(Payload(1252, [](ByteWriter& l) { l.Chunk(0x4011, [](ByteWriter&) {}); })), 4002);
    EXPECT_EQ(Refusal(Payload(1252, [](ByteWriter& l) {
                  l.Chunk(0x4010, [](ByteWriter& t) { t.ChunkU32(0x7777, 1); });
              })),
              6007);
    // A name running past its list into the sections after it.
    EXPECT_EQ(Refusal(Payload(1252, [](ByteWriter& l) { l.Header(0x4010, 30).Header(0x0010, 30).Bytes("ab"); })),
              4001);

    const auto withData = [](ByteWriter& l) { ScriptData(l, "door", "open"); };
    EXPECT_EQ(Refusal(Payload(1252, door, withData, [](ByteWriter& l) { l.U32(1).U32(0).U32(0); })), 0);
    EXPECT_EQ(Refusal(Payload(1252, door, withData, [](ByteWriter& l) { l.U32(1).U32(1).U32(0); })), 4002);
    EXPECT_EQ(Refusal(Payload(1252, door, withData, [](ByteWriter& l) { l.U32(1).U32(0).U32(1); })), 4002);
    const auto twoDoors = [](ByteWriter& l) { NamedThing(l, "a"); NamedThing(l, "b"); };
    EXPECT_EQ(Refusal(Payload(1252, twoDoors, withData, [](ByteWriter& l) { l.U32(2).U32(0).U32(0).U32(1).U32(0); },
                              Rotations(2))),
              4002);
    EXPECT_EQ(Refusal(Payload(1252, door, withData, [](ByteWriter& l) { l.U32(2).U32(0).U32(0); })), 4001);
    EXPECT_EQ(Refusal(Payload(1252, door, withData, [](ByteWriter& l) { l.U32(0).U32(0); })), 4000);
}

TEST(ObjectsPayload, TooManyObjectsAreRefusedBeforeTheyAreAllMade)
{
    const auto many = [](ByteWriter& l) {
        for (std::size_t i = 0; i <= CObjectsPayload::kMaxObjects; ++i)
            l.Header(0x4010, 6);
    };
    const auto count = static_cast<std::uint32_t>(CObjectsPayload::kMaxObjects + 1);
    EXPECT_EQ(Refusal(Payload(1252, many, [](ByteWriter&) {}, [](ByteWriter& l) { l.U32(0); }, Rotations(count))),
              1000);
}

TEST(ObjectsPayload, TextsOfAnotherCodePageAreConvertedOrTheCharacterIsNamed)
{
    // "€5" in 1251 (0x88) is 0x80 in 1252; "«» ©" are the same bytes in both.
    const auto data = [](ByteWriter& l) { ScriptData(l, "\xAB" "door\xBB", "\x88" "5 \xA9"); };
    const auto link = [](ByteWriter& l) { l.U32(1).U32(0).U32(0); };
    Objects objects = CObjectsPayload::Read(
        Payload(1251, [](ByteWriter& l) { NamedThing(l, "\xAB" "door\xBB"); }, data, link), 1252);
    EXPECT_EQ(objects.things.at(0)->GetName(), "\xAB" "door\xBB");
    EXPECT_EQ(objects.things[0]->GetScript(), "\x80" "5 \xA9");

    // "Дверь" in 1251 has no bytes in 1252.
    try {
        CObjectsPayload::Read(Payload(1251, [](ByteWriter& l) { NamedThing(l, "\xC4\xE2\xE5\xF0\xFC"); }), 1252);
        ADD_FAILURE() << "taken";
    } catch (const CPayloadRefused& refused) {
        EXPECT_EQ(refused.GetCode(), 0);
        EXPECT_EQ(refused.GetCharacter(), U'\u0414');
        EXPECT_EQ(refused.GetMessage(),
                  "Символ «Д» (U+0414) нельзя записать в кодовой странице игры (1252). Ничего не вставлено.");
    }
}
