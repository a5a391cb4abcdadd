// verdax-tool find, run as a user runs it, on a game whose scene files the demo's
// writer makes: the JSON lines, a mission that cannot be read, the exit status and
// the usage errors.

#include "tests/game/TestGamePrefix.h"
#include "tests/support/ByteWriter.h"
#include "tests/tools/RunTool.h"
#include "tools/demo/SceneWriter.h"

#include <gtest/gtest.h>

namespace {

using testsupport::RunTool;
using testsupport::ToolRun;

demo::SceneThing Thing(std::string name, std::string model, std::string sector)
{
    demo::SceneThing thing;
    thing.kind = demo::thing::kModel;
    thing.name = std::move(name);
    thing.modelName = std::move(model);
    thing.sector = std::move(sector);
    return thing;
}

demo::SceneThingData Script(std::string name, std::string script)
{
    demo::SceneThingData data;
    data.name = std::move(name);
    data.script = std::move(script);
    return data;
}

class FindCommand : public testing::Test {
protected:
    void SetUp() override { prefix_.WriteRegistry(); }

    void AddMission(const std::string& name, const std::string& sceneFile) const
    {
        prefix_.AddMissionFolder(name);
        prefix_.AddFile("Missions/" + name + "/scene2.bin", sceneFile);
    }

    void AddBrokenMission(const std::string& name) const
    {
        // A section id no scene file has: 4002, with the position as its text.
        AddMission(name, testsupport::ByteWriter().Header(0x4C53, 12).Header(0x7777, 6).Str());
    }

    ToolRun Find(std::vector<std::string> args) const
    {
        args.insert(args.begin(), "find");
        return RunTool(args, {{"WINEPREFIX", prefix_.Path().string()}, {"VERDAX_CODEPAGE", "1251"}});
    }

    testsupport::TestGamePrefix prefix_;
};

// Missions in byte order of their names, whatever order the disk gives; the
// Cyrillic mission's texts are 1251 bytes, printed as UTF-8.
TEST_F(FindCommand, PrintsEachMatchAsJsonAndReportsAMissionItCannotRead)
{
    demo::SceneFileData harbor;
    harbor.things = {Thing("gate", "gate.i3d", "yard"), Thing("tree", "tree.i3d", "gate_sector")};
    harbor.thingData = {Script("gate", "open Gate\r\nwait\r\nclose gate")};
    AddMission("harbor", demo::WriteScene2(harbor));
    demo::SceneFileData village;
    village.things = {Thing("\xE2\xEE\xF0\xEE\xF2\xE0", "", "")};  // "ворота"
    village.missionScripts = {{1, "start", "\xCE\xD2\xCA\xD0\xDB\xD2\xDC \xE2\xEE\xF0\xEE\xF2\xE0"}};  // "ОТКРЫТЬ ворота"
    AddMission("деревня", demo::WriteScene2(village));
    AddBrokenMission("broken");

    const ToolRun run = Find({"--regex", "GATE|Ворота", "--in", "names,scripts"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "broken: error 4002: fFile pos = 12\n");
    EXPECT_EQ(run.out,
              R"({"mission":"harbor","list":"things","object":"gate","index":0,"field":"name","line":null,"text":"gate"})" "\n"
              R"({"mission":"harbor","list":"thing_data","object":"gate","index":0,"field":"name","line":null,"text":"gate"})" "\n"
              R"({"mission":"harbor","list":"thing_data","object":"gate","index":0,"field":"script","line":1,"text":"open Gate"})" "\n"
              R"({"mission":"harbor","list":"thing_data","object":"gate","index":0,"field":"script","line":3,"text":"close gate"})" "\n"
              R"({"mission":"деревня","list":"things","object":"ворота","index":0,"field":"name","line":null,"text":"ворота"})" "\n"
              R"({"mission":"деревня","list":"mission_scripts","object":"start","index":0,"field":"script","line":1,"text":"ОТКРЫТЬ ворота"})" "\n");

    const ToolRun exact = Find({"Gate", "--case"});
    EXPECT_EQ(exact.status, 0) << exact.err;
    EXPECT_EQ(exact.out,
              R"({"mission":"harbor","list":"thing_data","object":"gate","index":0,"field":"script","line":1,"text":"open Gate"})" "\n");
}

TEST_F(FindCommand, FailsOnlyWhenThereAreMissionsAndNoneCouldBeRead)
{
    const ToolRun none = Find({"gate"});
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out + none.err, "");

    AddBrokenMission("one");
    AddBrokenMission("two");
    const ToolRun broken = Find({"gate"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err, "one: error 4002: fFile pos = 12\ntwo: error 4002: fFile pos = 12\n");

    AddMission("three", demo::WriteScene2({}));
    EXPECT_EQ(Find({"gate"}).status, 0);

    prefix_.WriteRegistryWithoutGame();
    EXPECT_EQ(Find({"gate"}).status, 1);
}

TEST_F(FindCommand, UsageErrorsSayWhatIsWrong)
{
    AddMission("harbor", demo::WriteScene2({}));
    const auto refusal = [&](std::vector<std::string> args) {
        const ToolRun run = Find(std::move(args));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        return run.err;
    };
    EXPECT_EQ(refusal({""}), "verdax-tool find: the pattern is empty\n");
    EXPECT_EQ(refusal({"gate", "--in", "names,doors"}),
              "verdax-tool find: unknown field 'doors' in --in (fields: names, models, scripts, sectors)\n");
    EXPECT_EQ(refusal({"gate", "--in", ""}),
              "verdax-tool find: unknown field '' in --in (fields: names, models, scripts, sectors)\n");
    EXPECT_EQ(refusal({"--regex", "gate("}),
              "verdax-tool find: the regular expression does not compile: missing closing parenthesis (at character "
              "6)\n");
    EXPECT_EQ(refusal({"gate", "--whole-word"}), "verdax-tool find: unknown option '--whole-word'\n");
    const std::string usage = "usage: verdax-tool find PATTERN [--in FIELDS] [--regex] [--case]\n";
    EXPECT_EQ(refusal({}), usage);
    EXPECT_EQ(refusal({"gate", "door"}), usage);
    EXPECT_EQ(refusal({"gate", "--in"}), usage);
    // After "--" an argument is the pattern, whatever it looks like.
    EXPECT_EQ(Find({"--", "--in"}).status, 0);
}

}  // namespace
