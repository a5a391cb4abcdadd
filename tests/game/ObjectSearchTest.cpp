// The texts of one mission's objects searched: which texts each list has, where a
// script is found, how a script splits into lines, and the order of the matches.

#include "game/CSceneObjectStore.h"
#include "game/CTextMatcher.h"
#include "game/ObjectSearch.h"
#include "scene/CScene2File.h"
#include "tools/demo/SceneWriter.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

using demo::SceneFileData;
using demo::SceneThing;

// The objects of the scene file the demo's writer makes of `scene`.
std::unique_ptr<CSceneObjectStore> ReadObjects(const SceneFileData& scene)
{
    auto objects = std::make_unique<CSceneObjectStore>();
    std::stringstream bytes(demo::WriteScene2(scene));
    CScene2File file;
    file.SetOwner(objects.get());
    file.ReadFrom(bytes);
    return objects;
}

SceneThing Thing(std::string name, std::string model, std::optional<std::string> sector)
{
    SceneThing thing;
    thing.kind = model.empty() ? demo::thing::kPlain : demo::thing::kModel;
    thing.name = std::move(name);
    thing.modelName = std::move(model);
    thing.sector = std::move(sector);
    return thing;
}

SearchMatch Match(SearchList list, std::size_t index, std::string object, SearchField field, std::uint32_t line,
                  std::string text)
{
    return {list, index, std::move(object), field, line, std::move(text)};
}

std::vector<SearchMatch> Find(const CSceneObjectStore& objects, std::string_view pattern, SearchFields fields = {},
                              bool regex = false)
{
    std::vector<SearchMatch> matches;
    EXPECT_TRUE(SearchObjects(objects, CTextMatcher(pattern, {regex, false}, 1251), fields, matches));
    return matches;
}

// "gate" in every text that can hold it, and in no object twice for one text.
SceneFileData GateScene()
{
    SceneFileData scene;
    scene.things = {Thing("tree", "tree.i3d", "forest"), Thing("gate_a", "gate.i3d", "gate_yard"),
                    Thing("gate_b", "", std::nullopt)};
    // Linked to the thing "gate_a": its script is found here, not on the thing.
    demo::SceneThingData data;
    data.name = "gate_a";
    data.script = demo::CrLfLines({"open GATE", "wait 10", "close gate"});
    scene.thingData = {data};
    scene.missionScripts = {{1, "gatekeeper", "gate\rwait\ngate\n"}};
    return scene;
}

TEST(ObjectSearch, FindsEachTextWhereItLivesInListIndexFieldAndLineOrder)
{
    const auto objects = ReadObjects(GateScene());
    using enum SearchList;
    using enum SearchField;
    EXPECT_EQ(Find(*objects, "gate"),
              (std::vector<SearchMatch>{
                  Match(kThings, 1, "gate_a", kName, 0, "gate_a"),
                  Match(kThings, 1, "gate_a", kModel, 0, "gate.i3d"),
                  Match(kThings, 1, "gate_a", kSector, 0, "gate_yard"),
                  Match(kThings, 2, "gate_b", kName, 0, "gate_b"),
                  Match(kThingData, 0, "gate_a", kName, 0, "gate_a"),
                  Match(kThingData, 0, "gate_a", kScript, 1, "open GATE"),
                  Match(kThingData, 0, "gate_a", kScript, 3, "close gate"),
                  Match(kMissionScripts, 0, "gatekeeper", kName, 0, "gatekeeper"),
                  Match(kMissionScripts, 0, "gatekeeper", kScript, 1, "gate"),
                  Match(kMissionScripts, 0, "gatekeeper", kScript, 3, "gate"),
              }));
}

TEST(ObjectSearch, TheFieldsChooseTheTextsSearched)
{
    const auto objects = ReadObjects(GateScene());
    const auto fieldsOf = [&](SearchFields fields) {
        std::set<SearchField> found;
        for (const SearchMatch& match : Find(*objects, "gate", fields))
            found.insert(match.field);
        return found;
    };
    using enum SearchField;
    EXPECT_EQ(fieldsOf({true, false, false, false}), std::set{kName});
    EXPECT_EQ(fieldsOf({false, true, false, false}), std::set{kModel});
    EXPECT_EQ(fieldsOf({false, false, true, false}), std::set{kSector});
    EXPECT_EQ(fieldsOf({false, false, false, true}), std::set{kScript});
    EXPECT_EQ(fieldsOf({true, false, false, true}), (std::set{kName, kScript}));
}

// A line ends at CR LF (one line end), LF or a lone CR; empty lines count, and the
// empty rest after the last line end is no line. The text holds no line end.
TEST(ObjectSearch, ScriptLinesEndAtCrLfLfOrALoneCr)
{
    SceneFileData scene;
    scene.missionScripts = {{1, "lines", "a\r\n\r\nb\rc\nd\r\n"}, {1, "last", "\n\rz"}};
    const auto objects = ReadObjects(scene);
    std::vector<std::pair<std::uint32_t, std::string>> lines;
    for (const SearchMatch& match : Find(*objects, "^[a-z]$", {false, false, false, true}, true))
        lines.emplace_back(match.line, match.text);
    EXPECT_EQ(lines, (std::vector<std::pair<std::uint32_t, std::string>>{
                         {1, "a"}, {3, "b"}, {4, "c"}, {5, "d"}, {3, "z"}}));
}

TEST(ObjectSearch, StopsPartWayWhenAsked)
{
    const auto objects = ReadObjects(GateScene());
    const std::atomic<bool> stop{true};
    std::vector<SearchMatch> matches;
    EXPECT_FALSE(SearchObjects(*objects, CTextMatcher("gate", {}, 1251), {}, matches, &stop));
    EXPECT_TRUE(matches.empty());
}

}  // namespace
