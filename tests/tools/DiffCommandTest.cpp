// verdax-tool diff and what resave says about its own changes, on the demo game: a
// plain save turns the demo's thing of kind 3 into kind 4098.

#include "tests/support/TempDir.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using testsupport::RunTool;

namespace {

using Json = nlohmann::json;

class DiffCommand : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunTool({"make-demo", prefix_.Path().string()}).status, 0); }

    testsupport::ToolRun Run(const std::vector<std::string>& args) const
    {
        return RunTool(args, {{"WINEPREFIX", prefix_.Path().string()}});
    }

    std::filesystem::path MissionFolder(const std::string& name) const
    {
        return prefix_.Path() / "drive_c/Games/Dravo/Missions" / name;
    }

    testsupport::TempDir prefix_;
};

TEST_F(DiffCommand, ResaveSaysWhatItChangedByItselfAndDiffListsIt)
{
    const auto resave = Run({"resave", "harbor_town"});
    ASSERT_EQ(resave.status, 0) << resave.err;
    EXPECT_EQ(resave.err, "verdax-tool: the save changed 1 object by itself, without an edit; "
                          "\"verdax-tool diff harbor_town\" lists it\n");

    const auto diff = Run({"diff", "harbor_town"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    const Json json = Json::parse(diff.out);
    EXPECT_TRUE(json["before"].get<std::string>().ends_with("/harbor_town/scene2.bin"));
    EXPECT_TRUE(json["after"].get<std::string>().ends_with("/harbor_town/scene2.bin.Verdax"));
    EXPECT_EQ(json["changes"], Json::parse(R"([{"list": "things", "object": "pickup_medkit", "before_index": 31,
        "after_index": 31, "change": "changed", "fields": {"kind": [3, 4098]}, "by": "save"}])"));
    EXPECT_EQ(json["header"]["text"][0], "Dravo mission scene - exported by the mission builder");
    EXPECT_EQ(json["header"].size(), 1u);

    // A mission whose save changes nothing by itself: resave says nothing more.
    const auto quiet = Run({"resave", "forest_outpost"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
}

TEST_F(DiffCommand, AFileThatCannotBeReadIsNamedWithItsError)
{
    const auto game = MissionFolder("harbor_town") / "scene2.bin";
    const auto missing = MissionFolder("harbor_town") / "scene2.bin.Verdax";
    auto run = Run({"diff", "--after", missing.string(), "--before", game.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "error 3002: " + missing.string() + "\n");
    EXPECT_EQ(run.out, "");

    const auto broken = MissionFolder("broken_scene") / "scene2.bin";
    run = Run({"diff", "--before", broken.string(), "--after", game.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("error 4002: " + broken.string() + ": fFile pos = "), std::string::npos) << run.err;

    for (const auto& args : std::vector<std::vector<std::string>>{{"diff"},
                                                                  {"diff", "--before", game.string()},
                                                                  {"diff", "--before", "a", "--before", "b"},
                                                                  {"diff", "--before", "a", "--later", "b"},
                                                                  {"diff", "harbor_town", "forest_outpost"}})
        EXPECT_EQ(Run(args).status, 2) << args.size();
}

}  // namespace
