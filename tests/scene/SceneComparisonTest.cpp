// Two scene files compared object by object: matching, fields, order, the header
// and sections, and the changes a save makes on its own. The files come from the
// demo game's scene writer and the tests' byte writer, never from the code under test
// (except where a test needs what our save writes).

#include "core/CVerdaxException.h"
#include "platform/MessagePresenter.h"
#include "scene/CScene2File.h"
#include "scene/CSceneSnapshot.h"
#include "scene/SceneComparison.h"
#include "tests/scene/SceneOwner.h"
#include "tests/support/ByteWriter.h"
#include "tools/demo/SceneWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using testsupport::ByteWriter;

namespace {

using demo::SceneFileData;
using demo::SceneThing;

SceneThing Thing(std::int32_t kind, std::string name, Vector3 at)
{
    SceneThing t;
    t.kind = kind;
    t.name = std::move(name);
    t.translation = at;
    return t;
}

// A model thing, a door with data of its own, a waypoint; a script and raw data; a
// mission script.
SceneFileData BaseScene()
{
    SceneFileData scene;
    scene.headerWord1 = 0x0100;
    scene.headerWord2 = 2;
    scene.headerText = "made by the game";
    scene.value3010 = 1000;
    SceneThing crate = Thing(demo::thing::kModel, "crate", {1, 2, 3});
    crate.modelName = "crate.i3d";
    crate.sector = "town";
    SceneThing door = Thing(demo::thing::kData6, "door", {4, 0, 0});
    door.payload = std::string(24, 'd');
    scene.things = {crate, door, Thing(demo::thing::kPlain, "waypoint", {0, 0, 9})};
    demo::SceneThingData script;
    script.name = "crate";
    script.value1 = 7;
    script.script = "go";
    demo::SceneThingData raw;
    raw.kind = 12;
    raw.name = "door";
    raw.raw = "abc";
    scene.thingData = {script, raw};
    scene.missionScripts = {{1, "init", "start"}};
    return scene;
}

SceneComparison CompareFiles(const std::string& before, const std::string& after)
{
    CSceneSnapshot b;
    CSceneSnapshot resaved;
    CSceneSnapshot a;
    b.Read(before);
    resaved.Read(b.Write());
    a.Read(after);
    return CompareScenes(b, resaved, a);
}

SceneComparison Compare(const SceneFileData& before, const SceneFileData& after)
{
    return CompareFiles(demo::WriteScene2(before), demo::WriteScene2(after));
}

std::string IndexText(const std::optional<std::size_t>& index)
{
    return index ? std::to_string(*index) : "-";
}

// "things 1>2 changed crate translation=[1, 2, 3]|[1, 2.5, 3] (save)": list, index
// before and after, what, the object, each field before|after, and by save.
std::string RowText(const SceneChange& change)
{
    std::string text = std::string(SceneListName(change.list)) + " " + IndexText(change.beforeIndex) + ">" +
                       IndexText(change.afterIndex) + " " + std::string(SceneChangeKindName(change.change)) + " " +
                       change.object;
    for (const auto& field : change.fields)
        text += " " + std::string(SceneFieldName(field.field)) + "=" + SceneValueText(field.before) + "|" +
                SceneValueText(field.after);
    return change.bySave ? text + " (save)" : text;
}

std::vector<std::string> Rows(const SceneComparison& comparison)
{
    std::vector<std::string> rows;
    for (const auto& change : comparison.changes)
        rows.push_back(RowText(change));
    return rows;
}

std::vector<std::string> HeaderRows(const SceneComparison& comparison)
{
    std::vector<std::string> rows;
    for (const auto& field : comparison.header)
        rows.push_back(field.field + "=" + SceneValueText(field.before) + "|" + SceneValueText(field.after));
    return rows;
}

using Texts = std::vector<std::string>;

TEST(SceneComparison, TheSameFileHasNoChanges)
{
    const auto comparison = Compare(BaseScene(), BaseScene());
    EXPECT_TRUE(comparison.changes.empty());
    EXPECT_TRUE(comparison.header.empty());
}

TEST(SceneComparison, AChangedObjectListsTheFieldsThatDifferWithTheirValues)
{
    struct Case {
        std::function<void(SceneFileData&)> edit;
        std::string row;
    };
    const Case cases[] = {
        {[](auto& s) { s.things[0].translation.y = 2.5f; }, "things 0>0 changed crate translation=[1, 2, 3]|[1, 2.5, 3]"},
        {[](auto& s) { s.things[0].scale = {1, 1, 2}; }, "things 0>0 changed crate scale=[1, 1, 1]|[1, 1, 2]"},
        // Equal as numbers, not as floats.
        {[](auto& s) { s.things[2].translation.x = -0.0f; }, "things 2>2 changed waypoint translation=[0, 0, 9]|[-0, 0, 9]"},
        {[](auto& s) { s.things[0].modelName = "box.i3d"; }, "things 0>0 changed crate model=crate.i3d|box.i3d"},
        {[](auto& s) { s.things[0].sector = "port"; }, "things 0>0 changed crate sector=town|port"},
        {[](auto& s) { s.things[0].data002C[3] = 1; }, "things 0>0 changed crate data=false|true"},
        {[](auto& s) { s.things[1].payload[0] = 'D'; }, "things 1>1 changed door data=false|true"},
        {[](auto& s) { s.things[1].kind = 5; }, "things 1>1 changed door kind=6|5 data=false|true"},
        {[](auto& s) { s.thingData[0].script = "stop"; }, "thing_data 0>0 changed crate script=go|stop"},
        {[](auto& s) { s.thingData[0].value1 = 8; }, "thing_data 0>0 changed crate data=false|true"},
        {[](auto& s) { s.thingData[1].kind = 18; }, "thing_data 1>1 changed door kind=12|18"},
        {[](auto& s) { s.missionScripts[0].script = "stop"; }, "mission_scripts 0>0 changed init script=start|stop"},
        {[](auto& s) { s.missionScripts[0].flag = 0; }, "mission_scripts 0>0 changed init data=false|true"},
    };
    for (const auto& c : cases) {
        SceneFileData after = BaseScene();
        c.edit(after);
        EXPECT_EQ(Rows(Compare(BaseScene(), after)), Texts{c.row});
    }

    // A rotation is its angle and axis as read, compared bit for bit.
    SceneFileData turned = BaseScene();
    turned.things[2].rotation = demo::RotationAbout({0, 1, 0}, 90.0f);
    const auto comparison = Compare(BaseScene(), turned);
    ASSERT_EQ(comparison.changes.size(), 1u);
    ASSERT_EQ(comparison.changes[0].fields.size(), 1u);
    EXPECT_EQ(comparison.changes[0].fields[0].field, SceneField::kRotation);
    EXPECT_EQ(SceneValueText(comparison.changes[0].fields[0].before), "[0, 1, 0, 0]");
}

// Elements spelled out chunk by chunk, for what the scene writer always writes the
// same way.
std::string Scene(const std::function<void(ByteWriter&)>& things, const std::function<void(ByteWriter&)>& data)
{
    return ByteWriter()
        .Chunk(0x4C53,
               [&](ByteWriter& w) {
                   w.Chunk(0x4000, things);
                   w.Chunk(0xAE20, data);
               })
        .Str();
}

TEST(SceneComparison, DataIsWhatTheElementHoldsBesideTheFieldsInAnyOrder)
{
    const auto plain = [](bool withTranslation, bool rotationFirst) {
        return [=](ByteWriter& l) {
            l.Chunk(0x4010, [&](ByteWriter& t) {
                t.ChunkText(0x0010, "wp");
                if (withTranslation)
                    t.Header(0x0020, 18).F32(0).F32(0).F32(0);
                if (rotationFirst)
                    t.Header(0x0022, 22).F32(1).F32(0).F32(0).F32(0);
                t.ChunkRaw(0x002C, std::string(12, 'c'));
                if (!rotationFirst)
                    t.Header(0x0022, 22).F32(1).F32(0).F32(0).F32(0);
            });
        };
    };
    const auto script = [](bool kindFirst, std::string text) {
        return [=](ByteWriter& l) {
            l.Chunk(0xAE21, [&](ByteWriter& d) {
                if (kindFirst)
                    d.ChunkU32(0xAE22, 5);
                d.ChunkText(0xAE23, "wp");
                if (!kindFirst)
                    d.ChunkU32(0xAE22, 5);
                d.Chunk(0xAE24, [&](ByteWriter& c) { c.U32(1).U32(2).U16(3).Counted(text); });
            });
        };
    };
    const auto before = Scene(plain(false, true), script(true, "go"));
    // Chunks in another order hold the same.
    EXPECT_TRUE(CompareFiles(before, Scene(plain(false, false), script(false, "go"))).changes.empty());
    // A transform chunk written where none was read is data, though its value is the same;
    // a script is not data.
    EXPECT_EQ(Rows(CompareFiles(before, Scene(plain(true, true), script(true, "stop")))),
              (Texts{"things 0>0 changed wp data=false|true", "thing_data 0>0 changed wp script=go|stop"}));
}

TEST(SceneComparison, ObjectsLeftUnmatchedAreRemovedAndAddedInIndexOrder)
{
    SceneFileData before = BaseScene();
    SceneFileData after = BaseScene();
    // crate, door, waypoint -> crate, waypoint (moved), barrel: the door goes, the
    // barrel comes, the waypoint is found by its name.
    after.things.erase(after.things.begin() + 1);
    after.things[1].translation.x = 5;
    after.things.push_back(Thing(demo::thing::kPlain, "barrel", {}));
    after.missionScripts.push_back({1, "end", ""});
    after.thingData.erase(after.thingData.begin());
    EXPECT_EQ(Rows(Compare(before, after)), (Texts{
                                                "things 1>- removed door",
                                                "things 2>1 changed waypoint translation=[0, 0, 9]|[5, 0, 9]",
                                                "things ->2 added barrel",
                                                "thing_data 0>- removed crate",
                                                "mission_scripts ->1 added end",
                                            }));
}

TEST(SceneComparison, ARenameInPlaceIsAChangeOfNameAndElsewhereARemovalAndAnAddition)
{
    SceneFileData renamed = BaseScene();
    renamed.things[1].name = "gate";
    EXPECT_EQ(Rows(Compare(BaseScene(), renamed)), Texts{"things 1>1 changed gate name=door|gate"});

    // The renamed door now stands where the waypoint stood: nothing is at the door's index.
    SceneFileData moved = renamed;
    std::swap(moved.things[1], moved.things[2]);
    EXPECT_EQ(Rows(Compare(BaseScene(), moved)), (Texts{"things 1>- removed door", "things ->2 added gate"}));
}

TEST(SceneComparison, ObjectsOfOneNameMatchInTheirOrder)
{
    SceneFileData before = BaseScene();
    before.things = {Thing(demo::thing::kPlain, "twin", {1, 0, 0}), Thing(demo::thing::kPlain, "twin", {2, 0, 0})};
    SceneFileData after = before;
    // The first twin removed: the remaining one is matched with the first before.
    after.things.erase(after.things.begin());
    EXPECT_EQ(Rows(Compare(before, after)),
              (Texts{"things 0>0 changed twin translation=[1, 0, 0]|[2, 0, 0]", "things 1>- removed twin"}));
}

TEST(SceneComparison, UnnamedObjectsMatchInTheirOrderAmongTheUnnamed)
{
    SceneFileData before = BaseScene();
    before.things = {Thing(demo::thing::kPlain, "", {1, 0, 0}), Thing(demo::thing::kPlain, "named", {}),
                     Thing(demo::thing::kPlain, "", {3, 0, 0})};
    SceneFileData after = before;
    after.things = {before.things[1], before.things[0], before.things[2]};
    after.things[2].translation.x = 4;
    EXPECT_EQ(Rows(Compare(before, after)), Texts{"things 2>2 changed  translation=[3, 0, 0]|[4, 0, 0]"});
}

TEST(SceneComparison, HeaderFieldsAndSectionsOutsideTheLists)
{
    SceneFileData after = BaseScene();
    after.headerText = "written";
    after.headerWord2 = 3;
    after.value3010 = 1001;
    after.dataAE02 = "";  // present, though empty
    EXPECT_EQ(HeaderRows(Compare(BaseScene(), after)),
              (Texts{"text=made by the game|written", "word2=2|3", "section_3010=false|true", "section_AE02=false|true"}));
    EXPECT_TRUE(Compare(BaseScene(), after).changes.empty());

    // A fixed section missing from one file differs from the zeros read in its place.
    const auto sections = [](bool with3211) {
        return ByteWriter()
            .Chunk(0x4C53,
                   [&](ByteWriter& w) {
                       if (with3211)
                           w.ChunkRaw(0x3211, std::string(8, '\0'));
                   })
            .Str();
    };
    EXPECT_EQ(HeaderRows(CompareFiles(sections(false), sections(true))), Texts{"section_3211=false|true"});
}

// The objects of `file` read into an owner of their own, for edits before our save.
struct ReadObjects {
    explicit ReadObjects(const std::string& file)
    {
        std::stringstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
        container.SetOwner(&owner);
        container.ReadFrom(stream);
    }
    TestSceneOwner owner;
    CScene2File container;
};

TEST(SceneComparison, ChangesTheSaveMakesOnItsOwnAreBySaveAndEditsAreNot)
{
    SceneFileData scene = BaseScene();
    scene.things.push_back(Thing(3, "medkit", {2, 0, 3}));  // a kind the writer does not know
    const std::string file = demo::WriteScene2(scene);
    CSceneSnapshot before;
    before.Read(file);
    CSceneSnapshot resaved;
    resaved.Read(before.Write());
    const auto compareSaved = [&](const ReadObjects& objects) {
        CSceneSnapshot after;
        after.Read(before.Write(objects.owner));
        return Rows(CompareScenes(before, resaved, after));
    };

    ReadObjects objects(file);
    EXPECT_EQ(compareSaved(objects), Texts{"things 3>3 changed medkit kind=3|4098 (save)"});

    objects.owner.things[0]->SetName("box");
    EXPECT_EQ(compareSaved(objects),
              (Texts{"things 0>0 changed box name=crate|box", "things 3>3 changed medkit kind=3|4098 (save)"}));

    // Edited as well: the edit and what the save does, both by the edit.
    objects.owner.things[3]->SetTranslation({2, 0, 4});
    EXPECT_EQ(compareSaved(objects), (Texts{"things 0>0 changed box name=crate|box",
                                            "things 3>3 changed medkit kind=3|4098 translation=[2, 0, 3]|[2, 0, 4]"}));
}

TEST(SceneComparison, AFailedReadLeavesTheSnapshotEmpty)
{
    platform::RecordingPresenter messages;
    const platform::ScopedPresenter scope(messages);
    CSceneSnapshot snapshot;
    snapshot.Read(demo::WriteScene2(BaseScene()));
    ASSERT_EQ(snapshot.Count(SceneList::kThings), 3u);
    const std::string unknownSection = ByteWriter().Header(0x4C53, 16).ChunkU32(0x5555, 1).Str();
    try {
        snapshot.Read(unknownSection);
        FAIL() << "read";
    } catch (const CVerdaxException& error) {
        EXPECT_EQ(error.GetCode(), VERDAX_ERR_CHUNK_ID);
    }
    EXPECT_EQ(snapshot.Count(SceneList::kThings), 0u);
    EXPECT_EQ(snapshot.Count(SceneList::kThingData), 0u);
    EXPECT_EQ(snapshot.GetHeaderWord1(), 0u);
    EXPECT_FALSE(snapshot.Section(0x3010));
}

TEST(SceneValue, TextsAsTheJsonOutputSpellsThem)
{
    EXPECT_EQ(SceneValueText(SceneFloats{{0.1f, -0.0f, 1e-7f, 16777216.0f}, 4}), "[0.1, -0, 1e-07, 16777216]");
    EXPECT_EQ(SceneValueText(std::int64_t{4098}), "4098");
    EXPECT_EQ(SceneValueText(std::string("crate")), "crate");
    EXPECT_EQ(SceneValueText(true), "true");
    // Floats are equal bit for bit only.
    EXPECT_NE((SceneFloats{{0.0f}, 1}), (SceneFloats{{-0.0f}, 1}));
    EXPECT_EQ((SceneFloats{{1.0f, 2.0f}, 1}), (SceneFloats{{1.0f, 3.0f}, 1}));
}

}  // namespace
