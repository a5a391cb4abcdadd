// verdax-tool dump and resave on mission folders spelled out byte by byte.

#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>

using testsupport::ByteWriter;
using testsupport::ReadFile;
using testsupport::RunTool;

namespace {

using Json = nlohmann::json;
using Body = std::function<void(ByteWriter&)>;
using Environment = std::vector<std::pair<std::string, std::string>>;

void Sections(ByteWriter& w, bool withAE02)
{
    w.ChunkRaw(0xAFFF, "\x01\x02\x03\x04\x05\x06\x07\xAB").ChunkRaw(0x3200, std::string(12, '\x32'));
    w.ChunkU32(0x3010, 1000).ChunkU32(0x3011, 3).ChunkRaw(0x3211, std::string(8, '\x11'));
    w.Chunk(0x4000, [](ByteWriter& l) {
        l.Chunk(0x4010, [](ByteWriter& t) {
            t.ChunkU32(0x4011, 9).ChunkText(0x0010, "crate \xA9");
            t.Header(0x0020, 18).F32(0.1f).F32(-2.5f).F32(1e-7f);
            t.Header(0x0022, 22).F32(1.0f).F32(-0.0f).F32(-0.0f).F32(-0.0f);
            t.Header(0x002D, 18).F32(1.0f).F32(2.0f).F32(3.0f);
            t.ChunkRaw(0x002C, std::string(12, 'c'));
            t.Chunk(0x4020, [](ByteWriter& s) { s.ChunkText(0x0010, "s1"); });
            t.ChunkText(0x2012, "crate.i3d");
        });
        l.Chunk(0x4010, [](ByteWriter& t) { t.ChunkText(0x0010, "door"); });
        l.Chunk(0x4010, [](ByteWriter& t) {
            t.ChunkU32(0x4011, 9).ChunkText(0x0010, "ghost");
            t.Header(0x0020, 18).F32(0).F32(0).F32(0);
            t.Header(0x0022, 22).F32(1.0f).F32(-0.0f).F32(-0.0f).F32(-0.0f);
            t.Header(0x002D, 18).F32(1.0f).F32(1.0f).F32(1.0f);
            t.Header(0x002C, 18).Fill(12);
            t.ChunkText(0x2012, "missing.i3d");
        });
    });
    w.Chunk(0xAE20, [](ByteWriter& l) {
        l.Chunk(0xAE21, [](ByteWriter& d) {
            d.ChunkText(0xAE23, "door").ChunkU32(0xAE22, 5).Chunk(0xAE24, [](ByteWriter& c) {
                c.U32(0).U32(0).U16(0).Counted("open");
            });
        });
        l.Chunk(0xAE21, [](ByteWriter& d) { d.ChunkText(0xAE23, "nobody").ChunkU32(0xAE22, 12).ChunkRaw(0xAE24, "xyz"); });
    });
    if (withAE02)
        w.ChunkRaw(0xAE02, "\x0A\xE0");
    w.Chunk(0xAE50, [](ByteWriter& l) {
        l.Chunk(0xAE51, [](ByteWriter& s) { s.U8(0).Counted("main").Counted("go"); });
    });
}

std::string SceneFile(bool withAE02, bool written = false)
{
    return ByteWriter()
        .Chunk(0x4C53,
               [&](ByteWriter& w) {
                   w.Chunk(0x0001, [&](ByteWriter& h) {
                       h.U16(0x0102).U16(7);
                       if (written)
                           h.Bytes("THIS FILE WAS MODIFIED USING VERDAX ")
                               .Bytes("- Verdax, the world editor for the missions of Dravo: objects written anew -");
                       else
                           h.Bytes("orig");
                       h.U8(0);
                   });
                   Sections(w, withAE02);
               })
        .Str();
}

std::string EmptyModel()
{
    return ByteWriter().Bytes(std::string_view("4DS\0", 4)).Fill(10).U16(0).U16(0).Str();
}

// GAME/Missions/m1 with GAME/Models beside it, and a Wine prefix without a registry.
struct GameFolder {
    GameFolder()
    {
        std::filesystem::create_directories(mission);
        std::filesystem::create_directories(prefix);
        dir.Write("GAME/Models/crate.4DS", EmptyModel());
    }
    Environment Env() const { return {{"WINEPREFIX", prefix.string()}}; }

    testsupport::TempDir dir;
    std::filesystem::path mission = dir.Path() / "GAME" / "Missions" / "m1";
    std::filesystem::path prefix = dir.Path() / "prefix";
};

Json Parse(const std::string& text)
{
    return Json::parse(text, nullptr, false);
}

float AsFloat(const Json& number)
{
    return static_cast<float>(number.get<double>());
}

}  // namespace

TEST(ToolDump, PrintsTheMissionAsJson)
{
    GameFolder game;
    game.dir.Write("GAME/Missions/m1/scene2.bin", SceneFile(true));
    const auto run = RunTool({"dump", game.mission.string()}, game.Env());
    ASSERT_EQ(run.status, 0) << run.err;
    const Json json = Parse(run.out);
    ASSERT_FALSE(json.is_discarded()) << run.out;

    EXPECT_EQ(json["mission"], "m1");
    EXPECT_EQ(json["world"], (Json{{"loaded", false}, {"frames", 0}, {"materials", 0}}));
    EXPECT_EQ(json["header"], (Json{{"word1", 0x0102}, {"word2", 7}, {"text", "orig"}}));
    EXPECT_EQ(json["sections"]["AFFF"], "01020304050607AB");
    EXPECT_EQ(json["sections"]["3200"], "323232323232323232323232");
    EXPECT_EQ(json["sections"]["3010"], 1000);
    EXPECT_EQ(json["sections"]["3011"], 3);
    EXPECT_EQ(json["sections"]["3211"], "1111111111111111");
    EXPECT_EQ(json["sections"]["AE02"], "0AE0");

    const Json& things = json["things"];
    ASSERT_EQ(things.size(), 3u);
    const Json& crate = things[0];
    EXPECT_EQ(crate["name"], "crate \u00A9");  // code page text as UTF-8
    EXPECT_EQ(crate["kind"], 9);
    EXPECT_EQ(AsFloat(crate["translation"][0]), 0.1f);
    EXPECT_EQ(AsFloat(crate["translation"][1]), -2.5f);
    EXPECT_EQ(AsFloat(crate["translation"][2]), 1e-7f);
    EXPECT_EQ(crate["rotation"], (Json{0, 1, 0, 0}));
    EXPECT_EQ(crate["scale"], (Json{1, 2, 3}));
    EXPECT_EQ(crate["model"], "crate.i3d");
    EXPECT_EQ(crate["model_loaded"], true);
    EXPECT_EQ(crate["sector"], "s1");
    EXPECT_EQ(crate["linked_data"], nullptr);
    EXPECT_EQ(crate["linked_data_kind"], -1);
    EXPECT_EQ(things[1]["kind"], 0x1002);
    EXPECT_EQ(things[1]["linked_data"], "door");
    EXPECT_EQ(things[1]["linked_data_kind"], 5);
    EXPECT_EQ(things[2]["model_loaded"], false);

    EXPECT_EQ(json["thing_data"], (Json{{{"name", "door"}, {"kind", 5}, {"script", "open"}},
                                        {{"name", "nobody"}, {"kind", 12}, {"script", ""}}}));
    EXPECT_EQ(json["mission_scripts"], (Json{{{"name", "main"}, {"flag", 0}, {"script", "go"}}}));
}

TEST(ToolDump, SectionAE02IsNullWhenAbsent)
{
    GameFolder game;
    game.dir.Write("GAME/Missions/m1/scene2.bin", SceneFile(false));
    const auto run = RunTool({"dump", game.mission.string() + "/"}, game.Env());
    ASSERT_EQ(run.status, 0) << run.err;
    const Json json = Parse(run.out);
    EXPECT_TRUE(json["sections"]["AE02"].is_null());
    EXPECT_EQ(json["mission"], "m1");
}

TEST(ToolDump, FailuresPrintTheirCode)
{
    GameFolder game;
    // No scene2.bin.
    auto run = RunTool({"dump", game.mission.string()}, game.Env());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "error 3002\n");
    EXPECT_TRUE(run.out.empty());

    // An unknown section: the position text, then the code with it.
    game.dir.Write("GAME/Missions/m1/scene2.bin", ByteWriter().Header(0x4C53, 16).ChunkU32(0x5555, 1).Str());
    run = RunTool({"dump", game.mission.string()}, game.Env());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("error 4002: fFile pos = 12\n"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());

    EXPECT_EQ(RunTool({"dump"}, game.Env()).status, 2);
    EXPECT_EQ(RunTool({"dump", "a", "b"}, game.Env()).status, 2);
}

TEST(ToolResave, WritesTheOutputAsTheEditorSaves)
{
    GameFolder game;
    const auto input = SceneFile(true);
    const auto inputPath = game.dir.Write("GAME/Missions/m1/scene2.bin", input);
    const auto run = RunTool({"resave", game.mission.string()}, game.Env());
    ASSERT_EQ(run.status, 0) << run.err;
    const auto output = game.mission / "scene2.bin.Verdax";
    EXPECT_EQ(run.out, output.string() + "\n");
    EXPECT_EQ(ReadFile(inputPath), input);
    // A file already in the writer's order comes out with only its header replaced.
    const auto written = ReadFile(output);
    EXPECT_EQ(testsupport::Hex(written), testsupport::Hex(SceneFile(true, true)));

    // Saving again gives the same file.
    ASSERT_EQ(RunTool({"resave", game.mission.string()}, game.Env()).status, 0);
    EXPECT_EQ(ReadFile(output), written);
}

TEST(ToolResave, FailedLoadWritesNothing)
{
    GameFolder game;
    game.dir.Write("GAME/Missions/m1/scene2.bin", SceneFile(true).substr(0, 100));
    const auto run = RunTool({"resave", game.mission.string()}, game.Env());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "error 3005\n");
    EXPECT_FALSE(std::filesystem::exists(game.mission / "scene2.bin.Verdax"));
}

// The reason of a failed write names the file in the code page; standard error
// gets it back in UTF-8.
TEST(ToolResave, AFailedWriteNamesTheFileInUtf8)
{
    GameFolder game;
    const auto mission = game.dir.Path() / "GAME" / "Missions" / "деревня";
    game.dir.Write("GAME/Missions/деревня/scene2.bin", SceneFile(true));
    std::filesystem::create_directories(mission / "scene2.bin.Verdax");  // a folder cannot be replaced by the file
    Environment environment = game.Env();
    environment.emplace_back("LC_ALL", "ru_RU.UTF-8");
    const auto run = RunTool({"resave", mission.string()}, environment);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("деревня/scene2.bin.Verdax"), std::string::npos) << run.err;
}

TEST(ToolDump, InstalledGameGivesMissionsByNameAndItsModels)
{
    // A Wine prefix whose registry names C:\Dravo\, with drive C: inside the prefix.
    testsupport::TempDir dir;
    const auto prefix = dir.Path() / "prefix";
    dir.Write("prefix/system.reg", "WINE REGISTRY Version 2\n"
                                   ";; All keys relative to \\\\Machine\n\n"
                                   "#arch=win32\n\n"
                                   "[Software\\\\Kestrel Works\\\\Dravo] 1700000000\n"
                                   "\"idir\"=\"C:\\\\Dravo\\\\\"\n");
    dir.Write("prefix/dosdevices/c:/Dravo/Missions/m2/scene2.bin", SceneFile(false));
    dir.Write("prefix/dosdevices/c:/Dravo/Models/crate.4DS", EmptyModel());
    // A mission elsewhere, without models of its own beside it.
    dir.Write("elsewhere/Missions/m3/scene2.bin", SceneFile(false));
    const Environment environment{{"WINEPREFIX", prefix.string()}};

    auto run = RunTool({"dump", "m2"}, environment);
    ASSERT_EQ(run.status, 0) << run.err;
    Json json = Parse(run.out);
    EXPECT_EQ(json["mission"], "m2");
    EXPECT_EQ(json["things"][0]["model_loaded"], true);

    run = RunTool({"dump", (dir.Path() / "elsewhere" / "Missions" / "m3").string()}, environment);
    ASSERT_EQ(run.status, 0) << run.err;
    json = Parse(run.out);
    EXPECT_EQ(json["mission"], "m3");
    EXPECT_EQ(json["things"][0]["model_loaded"], true);

    run = RunTool({"resave", "m2"}, environment);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(prefix / "dosdevices" / "c:" / "Dravo" / "Missions" / "m2" / "scene2.bin.Verdax"));

    EXPECT_EQ(RunTool({"dump", "nowhere"}, environment).err, "error 3002\n");
}
