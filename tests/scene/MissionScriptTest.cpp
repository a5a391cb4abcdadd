#include "core/CVerdaxException.h"
#include "scene/CSceneObjectMissionScript.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <sstream>

using testsupport::ByteWriter;
using testsupport::Hex;

namespace {

// Reads one element (the list reader has consumed its id) and writes it back.
std::string Resave(CSceneObjectMissionScript& script, const std::string& elementAfterId, std::uint32_t* consumed = nullptr)
{
    std::stringstream in(elementAfterId);
    const auto n = script.Load(in);
    if (consumed)
        *consumed = n;
    std::stringstream out;
    const auto written = script.Save(out);
    EXPECT_EQ(written, out.str().size());
    return out.str();
}

}  // namespace

TEST(MissionScript, EmptyScriptIsFifteenBytes)
{
    CSceneObjectMissionScript script;
    EXPECT_EQ(script.GetFlag(), 1);
    std::stringstream out;
    EXPECT_EQ(script.Save(out), 15u);
    EXPECT_EQ(Hex(out.str()), "51 AE 0F 00 00 00 01 00 00 00 00 00 00 00 00");
}

TEST(MissionScript, ReadsAndWritesBackByteForByte)
{
    const std::string element = ByteWriter().U16(0xAE51).U32(15 + 4 + 9).U8(0).Counted("init").Counted("SetPos 1;").Str();
    CSceneObjectMissionScript script;
    std::uint32_t consumed = 0;
    EXPECT_EQ(Hex(Resave(script, element.substr(2), &consumed)), Hex(element));
    EXPECT_EQ(consumed, element.size() - 2);
    EXPECT_EQ(script.GetName(), "init");
    EXPECT_EQ(script.GetScript(), "SetPos 1;");
    EXPECT_EQ(script.GetFlag(), 0);
}

TEST(MissionScript, DeclaredSizeIsNotTrusted)
{
    // The layout is fixed: a wrong size field neither stops nor lengthens the read,
    // and the size is written anew.
    const std::string body = ByteWriter().U8(7).Counted("n").Counted("s").Str();
    CSceneObjectMissionScript script;
    std::uint32_t consumed = 0;
    const auto out = Resave(script, ByteWriter().U32(999).Bytes(body).Str(), &consumed);
    EXPECT_EQ(consumed, 4 + body.size());
    EXPECT_EQ(Hex(out), Hex(ByteWriter().U16(0xAE51).U32(17).Bytes(body).Str()));
}

TEST(MissionScript, TextsAreCutAtAZeroByteButFullyConsumed)
{
    const std::string element =
        ByteWriter().U32(0).U8(1).U32(4).Bytes({0x61, 0x00, 0x62, 0x63}).U32(3).Bytes({0x78, 0x79, 0x00}).U8(0xEE).Str();
    std::stringstream in(element);
    CSceneObjectMissionScript script;
    EXPECT_EQ(script.Load(in), 4u + 1 + 4 + 4 + 4 + 3);
    EXPECT_EQ(script.GetName(), "a");
    EXPECT_EQ(script.GetScript(), "xy");
    EXPECT_EQ(in.get(), 0xEE);
}

TEST(MissionScript, ScriptIsEditableNameIsNot)
{
    CSceneObjectMissionScript script;
    std::stringstream in(ByteWriter().U32(0).U8(1).Counted("main").Counted("").Str());
    script.Load(in);
    script.SetName("other");
    script.SetScript("abc");
    EXPECT_EQ(script.GetName(), "main");
    std::stringstream out;
    EXPECT_EQ(script.Save(out), 15u + 4 + 3);
    EXPECT_EQ(Hex(out.str()), Hex(ByteWriter().U16(0xAE51).U32(22).U8(1).Counted("main").Counted("abc").Str()));
}

TEST(MissionScript, HasNoTransform)
{
    CSceneObjectMissionScript script;
    script.SetTranslation({1, 2, 3});
    script.SetRotation({90, 0, 0, 1});
    script.SetScale({2, 2, 2});
    EXPECT_EQ(script.GetTranslation(), Vector3{});
    EXPECT_EQ(script.GetRotation(), AxisAngle{});
    EXPECT_EQ(script.GetScale(), Vector3{});
}

TEST(MissionScript, LengthsBeyondTheStreamFailBeforeAllocating)
{
    for (const std::string& element : {ByteWriter().U32(0).U8(1).U32(0xFFFFFFFF).Bytes("abc").Str(),
                                       ByteWriter().U32(0).U8(1).Counted("ab").U32(0x7FFFFFFF).Str(),
                                       ByteWriter().U32(0).U8(1).Str()}) {
        std::stringstream in(element);
        CSceneObjectMissionScript script;
        try {
            script.Load(in);
            ADD_FAILURE() << "read past the end";
        } catch (const CVerdaxException& e) {
            EXPECT_EQ(e.GetCode(), VERDAX_ERR_READ);
        }
    }
}
