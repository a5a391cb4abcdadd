// verdax-tool edit on missions the demo's scene writer makes: every operation, the
// bytes the editor's edit path gives for the same edits, and every refusal.

#include "game/CDravoDon.h"
#include "game/ObjectOperations.h"
#include "tests/game/SceneMissions.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using testsupport::BoxThing;
using testsupport::ReadFile;
using testsupport::RunTool;
using testsupport::ScriptData;

namespace {

using Json = nlohmann::json;

class TestDon final : public CDravoDon {
public:
    TestDon() = default;
};

demo::SceneFileData Scene()
{
    demo::SceneFileData scene;
    scene.things = {BoxThing("lamp", {1, 2, 3}), BoxThing("guard"), BoxThing("crate")};
    demo::SceneThing weather;
    weather.kind = demo::thing::kData1001;
    weather.name = "weather";
    weather.payload = std::string(236, 'w');
    scene.things.push_back(weather);
    scene.thingData = {ScriptData("guard", "patrol\r\n"), ScriptData("note", "n")};
    scene.thingData.push_back({12, "raw", 0, 0, 0, "", {}, "xyz"});
    scene.missionScripts = {{1, "init", "start"}};
    return scene;
}

// GAME/Missions/m1 written by the demo's writer, GAME/Models holding box.4DS, and
// a Wine prefix without the game, so that the tool opens the mission by its path.
struct Game {
    Game()
    {
        dir.Write("GAME/Missions/m1/scene2.bin", demo::WriteScene2(Scene()));
        dir.Write("GAME/Models/box.4DS", testsupport::ByteWriter().Bytes(std::string_view("4DS\0", 4)).Fill(10).U16(0).U16(0).Str());
        std::filesystem::create_directories(dir.Path() / "prefix");
    }
    testsupport::ToolRun Edit(const Json& edits, bool dryRun = false) const
    {
        dir.Write("edits.json", edits.dump());
        std::vector<std::string> args{"edit", mission.string(), (dir.Path() / "edits.json").string()};
        if (dryRun)
            args.push_back("--dry-run");
        return RunTool(args, {{"WINEPREFIX", (dir.Path() / "prefix").string()}, {"VERDAX_CODEPAGE", "1251"}});
    }
    std::filesystem::path Output() const { return mission / "scene2.bin.Verdax"; }

    testsupport::TempDir dir;
    std::filesystem::path mission = dir.Path() / "GAME" / "Missions" / "m1";
};

const Json kEveryOperation = Json::parse(R"([
    {"op": "set", "object": "lamp", "name": "фонарь", "translation": [0.1, -2, 1e-7],
     "rotation": [90, 0, 1, 0], "scale": [2, 2, 2]},
    {"op": "set", "object": 1, "script": "patrol\nrest\n"},
    {"op": "set", "object": "note", "list": "thing_data", "script": "", "name": "memo"},
    {"op": "set", "object": 0, "list": "mission_scripts", "script": "go"},
    {"op": "duplicate", "object": "guard"},
    {"op": "duplicate", "object": "crate", "as": "box"},
    {"op": "duplicate", "object": 0, "list": "mission_scripts"},
    {"op": "delete", "object": "crate"},
    {"op": "delete", "object": 1, "list": "thing_data"},
    {"op": "set", "object": "guard", "name": "sentry"}
])");

// The same edits as the editor makes them: each page, window and command on its own.
std::string EditorBytes()
{
    const testsupport::ScopedCodePage cyrillic(1251);
    TestDon don;
    testsupport::SceneMissions missions;
    CMission& mission = missions.Load("m1", Scene());
    const auto thing = [&mission](std::size_t i) -> CSceneObjectThing& { return *mission.GetThings()[i]; };
    const auto apply = [&don](CSceneObject& object, auto set) {
        ObjectEdit edit;
        set(edit);
        don.ApplyEdit(nullptr, object, edit);
    };
    apply(thing(0), [](ObjectEdit& e) { e.name = "\xF4\xEE\xED\xE0\xF0\xFC"; });
    apply(thing(0), [](ObjectEdit& e) { e.translation = Vector3{0.1f, -2.0f, 1e-7f}; });
    apply(thing(0), [](ObjectEdit& e) { e.rotation = AxisAngle{90.0f, 0.0f, 1.0f, 0.0f}; });
    apply(thing(0), [](ObjectEdit& e) { e.scale = Vector3{2.0f, 2.0f, 2.0f}; });
    apply(thing(1), [](ObjectEdit& e) { e.script = "patrol\nrest\n"; });
    apply(*mission.GetThingData()[1], [](ObjectEdit& e) { e.script = ""; });
    apply(*mission.GetThingData()[1], [](ObjectEdit& e) { e.name = "memo"; });
    apply(*mission.GetMissionScripts()[0], [](ObjectEdit& e) { e.script = "go"; });
    DuplicateObject(don, mission, thing(1));
    const std::string box = "box";
    DuplicateObject(don, mission, thing(3), &box);
    DuplicateObject(don, mission, *mission.GetMissionScripts()[0]);
    DeleteObject(don, mission, thing(3));
    DeleteObject(don, mission, *mission.GetThingData()[1]);
    apply(thing(1), [](ObjectEdit& e) { e.name = "sentry"; });
    return missions.Saved(mission);
}

}  // namespace

TEST(ToolEdit, AppliesEveryOperationAndWritesTheBytesOfTheEditorsSave)
{
    const Game game;
    const auto run = game.Edit(kEveryOperation);
    ASSERT_EQ(run.status, 0) << run.err;
    const Json result = Json::parse(run.out);
    EXPECT_EQ(result, (Json{{"applied", 10}, {"written", game.Output().string()}}));
    EXPECT_EQ(testsupport::Hex(ReadFile(game.Output())), testsupport::Hex(EditorBytes()));

    const auto dump = RunTool({"dump", game.Output().parent_path().string()}, {{"VERDAX_CODEPAGE", "1251"}});
    ASSERT_EQ(dump.status, 0);
    // dump reads scene2.bin, which the edit left alone.
    EXPECT_EQ(Json::parse(dump.out)["things"][0]["name"], "lamp");
}

TEST(ToolEdit, ADryRunAppliesTheOperationsAndWritesNothing)
{
    const Game game;
    const auto run = game.Edit(kEveryOperation, true);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Json::parse(run.out), (Json{{"applied", 10}, {"written", nullptr}}));
    EXPECT_FALSE(std::filesystem::exists(game.Output()));

    const auto empty = game.Edit(Json::array());
    EXPECT_EQ(Json::parse(empty.out)["applied"], 0);
    EXPECT_TRUE(std::filesystem::exists(game.Output()));  // written as resave writes it
}

TEST(ToolEdit, EveryBadOperationIsAUsageErrorNamingItsPositionAndNothingIsWritten)
{
    const Game game;
    const Json good = {{"op", "set"}, {"object", 0}, {"scale", {2, 2, 2}}};
    const std::vector<std::pair<Json, std::string>> bad = {
        {Json(1), "an operation must be a JSON object"},
        {{{"object", 0}}, "\"op\" must be"},
        {{{"op", "move"}, {"object", 0}}, "unknown op \"move\""},
        {{{"op", "delete"}, {"object", 0}, {"colour", 1}}, "unknown field \"colour\""},
        {{{"op", "delete"}}, "\"object\" is missing"},
        {{{"op", "delete"}, {"object", "nobody"}}, "no object named \"nobody\" in things"},
        {{{"op", "delete"}, {"object", 4}}, "index 4 is out of range: things holds 4 objects"},
        {{{"op", "delete"}, {"object", -1}}, "index -1 is out of range"},
        {{{"op", "delete"}, {"object", 1.5}}, "\"object\" must be a name or an index"},
        {{{"op", "delete"}, {"object", 0}, {"list", "objects"}}, "\"list\" must be"},
        {{{"op", "set"}, {"object", 0}, {"translation", "up"}}, "\"translation\" must be an array of 3 numbers"},
        {{{"op", "set"}, {"object", 0}, {"rotation", {1, 2, 3}}}, "\"rotation\" must be an array of 4 numbers"},
        {{{"op", "set"}, {"object", 0}, {"scale", {1e39, 1, 1}}}, "is not a finite 32-bit number"},
        {{{"op", "set"}, {"object", 0}, {"name", 7}}, "\"name\" must be a text"},
        {{{"op", "set"}, {"object", 0}, {"name", "日本"}}, "the character \"日\" (U+65E5) cannot be written"},
        {{{"op", "duplicate"}, {"object", 0}, {"as", "CRATE"}}, "\"as\": the name \"CRATE\" is taken"},
        {{{"op", "duplicate"}, {"object", "guard"}, {"as", "Note"}}, "is taken"},  // guard comes with data
        {{{"op", "set"}, {"object", 0}, {"list", "mission_scripts"}, {"name", "x"}}, "name cannot be set"},
        {{{"op", "set"}, {"object", 0}, {"list", "thing_data"}, {"scale", {1, 1, 1}}}, "only things have"},
        {{{"op", "set"}, {"object", "weather"}, {"translation", {1, 1, 1}}}, "written without a transform"},
        {{{"op", "set"}, {"object", "lamp"}, {"script", "x"}}, "no linked thing data holding a script"},
        {{{"op", "set"}, {"object", "raw"}, {"list", "thing_data"}, {"script", "x"}}, "holds no script"},
    };
    for (const auto& [operation, message] : bad) {
        const auto run = game.Edit(Json::array({good, operation}));
        EXPECT_EQ(run.status, 2) << operation;
        EXPECT_NE(run.err.find("verdax-tool edit: operation 1"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(game.Output())) << operation;
    }
}

TEST(ToolEdit, AnEditsFileThatIsNoArrayIsAUsageErrorAndALoadFailureAnError)
{
    const Game game;
    EXPECT_NE(game.Edit(Json::object()).err.find("must hold a JSON array of operations"), std::string::npos);
    game.dir.Write("broken.json", "[{\"op\": ");
    const auto broken = RunTool({"edit", game.mission.string(), (game.dir.Path() / "broken.json").string()});
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("is not JSON"), std::string::npos);
    EXPECT_EQ(RunTool({"edit", game.mission.string()}).status, 2);

    game.dir.Write("GAME/Missions/m1/scene2.bin", "short");
    const auto run = game.Edit(Json::array());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "error 3005\n");
    EXPECT_FALSE(std::filesystem::exists(game.Output()));

    const std::string help = RunTool({"--help"}).out;
    EXPECT_NE(help.find("edit MISSION EDITS.json [--dry-run]"), std::string::npos);
    EXPECT_NE(help.find("{\"op\": \"delete\", \"object\": O, [\"list\": L]}"), std::string::npos);
}
