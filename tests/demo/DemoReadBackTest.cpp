// The demo's files read back through the editor's own readers: every bitmap, model
// and scene file says what the demo writers meant.

#include "core/CVerdaxException.h"
#include "model/BitmapDecoder.h"
#include "model/C4dsModel.h"
#include "model/CHeadlessGlContext.h"
#include "model/CTextureManager.h"
#include "tests/demo/DemoPrefix.h"
#include "tools/demo/DemoModels.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/DemoTextures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

std::span<const std::uint8_t> AsSpan(const std::string& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

TEST(DemoBitmaps, DecodeToThePicturesDrawnWhateverTheRowPadding)
{
    for (const demo::NamedBitmap& named : demo::DemoMaps()) {
        SCOPED_TRACE(named.fileName);
        const demo::DemoBitmap& drawn = named.bitmap;
        const BitmapImage image = DecodeBitmap(AsSpan(demo::WriteBitmap(drawn)));
        EXPECT_EQ(image.width, drawn.width);
        EXPECT_EQ(image.height, drawn.height);
        EXPECT_EQ(image.bytesPerPixel, drawn.bitsPerPixel / 8);
        // Both top row first, unpadded; 24-bit pixels decoded with an opaque alpha.
        std::vector<std::uint8_t> expected = drawn.pixels;
        if (drawn.bitsPerPixel == 24) {
            expected.clear();
            for (std::size_t at = 0; at + 3 <= drawn.pixels.size(); at += 3)
                expected.insert(expected.end(), {drawn.pixels[at], drawn.pixels[at + 1], drawn.pixels[at + 2], 0xFF});
        }
        EXPECT_EQ(image.pixels, expected);
        if (drawn.bitsPerPixel == 8) {
            ASSERT_EQ(image.red.size(), drawn.palette.size());
            for (std::size_t i = 0; i < drawn.palette.size(); ++i) {
                EXPECT_FLOAT_EQ(image.red[i] * 255.0f, drawn.palette[i].r);
                EXPECT_FLOAT_EQ(image.blue[i] * 255.0f, drawn.palette[i].b);
            }
        }
    }
}

void ExpectNear(const Vector3& read, const Vector3& written)
{
    EXPECT_FLOAT_EQ(read.x, written.x);
    EXPECT_FLOAT_EQ(read.y, written.y);
    EXPECT_FLOAT_EQ(read.z, written.z);
}

void ExpectLodsMatch(const ModelFrame& read, const demo::FourDsFrame& written)
{
    ASSERT_EQ(read.lods.size(), written.lods.size());
    for (std::size_t l = 0; l < written.lods.size(); ++l) {
        const ModelLod& lod = read.lods[l];
        const demo::FourDsLod& expected = written.lods[l];
        ASSERT_EQ(lod.vertices.size(), expected.vertices.size());
        EXPECT_FLOAT_EQ(lod.distance, expected.distance);
        const demo::FourDsVertex& last = expected.vertices.back();
        EXPECT_FLOAT_EQ(lod.vertices.back().u, last.u);
        EXPECT_FLOAT_EQ(lod.vertices.back().normalY, last.normal.y);
        EXPECT_FLOAT_EQ(lod.vertices.back().z, last.position.z);
        ASSERT_EQ(lod.faceGroups.size(), expected.groups.size());
        for (std::size_t g = 0; g < expected.groups.size(); ++g) {
            EXPECT_EQ(lod.faceGroups[g].materialIndex, expected.groups[g].material);
            EXPECT_EQ(lod.faceGroups[g].faceCount, expected.groups[g].faces.size());
            EXPECT_EQ(lod.faceGroups[g].indices.back(), expected.groups[g].faces.back()[2]);
        }
    }
}

void ExpectModelMatches(const C4dsModel& read, const demo::FourDsModelData& written)
{
    ASSERT_TRUE(read.IsLoaded());
    EXPECT_EQ(read.GetMaterials().size(), written.materials.size());
    ASSERT_EQ(read.GetFrames().size(), written.frames.size());
    for (std::size_t i = 0; i < written.frames.size(); ++i) {
        const ModelFrame& frame = *read.GetFrames()[i];
        const demo::FourDsFrame& expected = written.frames[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(frame.name, expected.name);
        EXPECT_EQ(frame.userText, expected.userText);
        EXPECT_EQ(frame.type, expected.type);
        EXPECT_EQ(frame.parentIndex, expected.parent);
        ExpectNear(frame.position, expected.position);
        ExpectNear(frame.scale, expected.scale);
        ExpectLodsMatch(frame, expected);
        if (expected.type == demo::frame::kSector) {
            ASSERT_EQ(frame.sectors.size(), 1u);
            EXPECT_EQ(frame.sectors[0].vertices.size(), expected.sector.vertices.size());
            EXPECT_EQ(frame.sectors[0].faces.size(), expected.sector.faces.size() * 3);
            EXPECT_EQ(frame.sectors[0].portals.size(), expected.sector.portals.size());
        }
        if (expected.type == demo::frame::kDummy)
            ExpectNear(frame.box.max, expected.box.max);
        if (expected.parent != 0) {
            const auto& siblings = read.GetFrames()[expected.parent - 1]->children;
            EXPECT_NE(std::ranges::find(siblings, &frame), siblings.end());
        }
    }
}

class DemoModels : public testing::Test {
protected:
    void SetUp() override { SetGameFolders(&folders_); }
    void TearDown() override { SetGameFolders(nullptr); }

    // Loaded in path form, without a GL context: textures stay unresolved.
    void ExpectReadsBack(const std::string& fileName, const demo::FourDsModelData& written)
    {
        SCOPED_TRACE(fileName);
        const auto path = dir_.Write(fileName, demo::Write4ds(written));
        C4dsModel model;
        model.Load(path.string(), true);
        ExpectModelMatches(model, written);
    }

    testsupport::TempDir dir_;
    CFixedGameFolders folders_{dir_.Path().string() + "/Models/", dir_.Path().string() + "/Maps/"};
};

TEST_F(DemoModels, WorldsAndThingModelsReadBackFrameByFrame)
{
    ExpectReadsBack("town.4ds", demo::HarbourTownWorld());
    ExpectReadsBack("field.4ds", demo::FieldWorld());
    for (const demo::NamedModel& named : demo::DemoThingModels())
        ExpectReadsBack(named.fileName, named.model);
}

TEST_F(DemoModels, FrameRotationsComeBackAsAngleAndAxis)
{
    const auto path = dir_.Write("town.4ds", demo::Write4ds(demo::HarbourTownWorld()));
    C4dsModel model;
    model.Load(path.string(), true);
    for (const auto& frame : model.GetFrames()) {
        if (frame->name == "house02") {  // turned 90 degrees about the vertical
            EXPECT_NEAR(frame->rotation.angle, 90.0f, 1e-3f);
            EXPECT_NEAR(frame->rotation.y, 1.0f, 1e-6f);
        }
        if (frame->name == "ground") {
            EXPECT_EQ(frame->rotation.angle, 0.0f);
            EXPECT_EQ(frame->rotation.x, 1.0f);
        }
    }
}

class DemoMissions : public DemoPrefixTest {};

std::set<std::int32_t> Kinds(const CMission& mission)
{
    std::set<std::int32_t> kinds;
    for (const auto& thing : mission.GetThings())
        kinds.insert(thing->GetKind());
    return kinds;
}

TEST_F(DemoMissions, TheRegistryLeadsToTheFourMissions)
{
    std::set<std::string> names;
    for (const auto& mission : root_.GetMissions())
        names.insert(mission->GetName());
    EXPECT_EQ(names, (std::set<std::string>{"broken_scene", "forest_outpost", "harbor_town",
                                            demo::kVillageMissionCp1251}));
}

TEST_F(DemoMissions, TheHarbourTownHoldsEveryKindLinkedScriptsAndModels)
{
    CMission& mission = Mission(demo::kHarbourMission);
    ASSERT_TRUE(root_.LoadMission(&mission));
    EXPECT_TRUE(mission.GetWorldModel().IsLoaded());
    const demo::SceneFileData written = demo::HarbourTownScene();
    EXPECT_EQ(mission.GetThings().size(), written.things.size());
    EXPECT_EQ(mission.GetThingData().size(), written.thingData.size());
    EXPECT_EQ(mission.GetMissionScripts().size(), written.missionScripts.size());
    const std::set<std::int32_t> everyKind = {2, 3, 4, 6, 9, 12, 14, 0x1000, 0x1001, 0x1002, 0x1003};
    EXPECT_EQ(Kinds(mission), everyKind);

    const CSceneObjectThing* gate = mission.FindThing("guard_gate");
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(gate->GetLinkedDataKind(), 5);
    EXPECT_EQ(gate->GetScript(), written.thingData[0].script);
    EXPECT_NE(gate->GetScript().find("\r\n"), std::string::npos);
    EXPECT_EQ(mission.FindThing("trigger_dock")->GetLinkedDataKind(), 27);
    EXPECT_EQ(mission.FindThing("light_square")->GetLinkedDataKind(), 8);
    EXPECT_EQ(mission.FindThing("sniper_roof"), nullptr);  // its data names no thing
    EXPECT_EQ(mission.GetMissionScripts()[1]->GetScript(), written.missionScripts[1].script);

    for (const auto& thing : mission.GetThings()) {
        if (thing->GetKind() != 9)
            continue;
        const bool missingModel = thing->GetName() == "statue_mayor";
        EXPECT_EQ(thing->GetModel().IsLoaded(), !missingModel) << thing->GetName();
    }
    EXPECT_TRUE(mission.FindThing("bench_square")->GetModel().IsLoaded());  // bench.4ds on disk
}

TEST_F(DemoMissions, TheOutpostLoadsWithoutAWorld)
{
    CMission& mission = Mission(demo::kOutpostMission);
    ASSERT_TRUE(root_.LoadMission(&mission));
    EXPECT_FALSE(mission.GetWorldModel().IsLoaded());
    EXPECT_EQ(mission.GetThings().size(), demo::OutpostScene().things.size());
    EXPECT_TRUE(mission.FindThing("tree_1")->GetModel().IsLoaded());
}

TEST_F(DemoMissions, TheBrokenMissionShowsThePositionAndStaysUnloaded)
{
    CMission& mission = Mission(demo::kBrokenMission);
    EXPECT_FALSE(root_.LoadMission(&mission));
    EXPECT_FALSE(mission.IsLoaded());
    EXPECT_TRUE(mission.GetThings().empty());
    // The bad id stands after the header, the fixed sections and two things.
    const std::string file = demo::BrokenSceneFile();
    const std::string position = std::to_string(file.size() - 10 + 2);
    ASSERT_EQ(messages_.entries.size(), 2u);
    EXPECT_EQ(messages_.entries[0].text, "fFile pos = " + position);
    EXPECT_EQ(messages_.entries[1].id, 1001);
    try {
        mission.Load();
        ADD_FAILURE() << "the broken mission loaded";
    } catch (const CVerdaxException& error) {
        EXPECT_EQ(error.GetCode(), VERDAX_ERR_CHUNK_ID);
    }
}

// Textures need a GL context: every named bitmap becomes a texture, the missing one
// leaves GL name 0 and the materials without texture names keep the unset name.
class DemoTextures : public DemoPrefixTest {
protected:
    void SetUp() override
    {
        context_ = std::make_unique<CHeadlessGlContext>();
        if (!context_->IsValid())
            GTEST_SKIP() << "no headless OpenGL context: " << context_->GetFailure();
        CTextureManager::Instance().Clear();
        DemoPrefixTest::SetUp();
    }
    void TearDown() override
    {
        CTextureManager::Instance().Clear();
        DemoPrefixTest::TearDown();
    }

    std::unique_ptr<CHeadlessGlContext> context_;
};

TEST_F(DemoTextures, TheWorldFindsEveryTextureButTheMissingOne)
{
    CMission& mission = Mission(demo::kHarbourMission);
    ASSERT_TRUE(root_.LoadMission(&mission));
    const demo::FourDsModelData written = demo::HarbourTownWorld();
    const auto& materials = mission.GetWorldModel().GetMaterials();
    ASSERT_EQ(materials.size(), written.materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        const demo::FourDsMaterial& expected = written.materials[i];
        SCOPED_TRACE(expected.diffuseTexture);
        const std::uint32_t glName = materials[i].diffuseGlName;
        if (expected.flags == demo::material::kShortForm || expected.flags == demo::material::kColourOnly) {
            EXPECT_EQ(glName, kGlNameUnset);
        } else if (expected.diffuseTexture == "rust.bmp") {
            EXPECT_EQ(glName, 0u);
        } else {
            EXPECT_TRUE(glName != 0 && glName != kGlNameUnset);
        }
        if (!expected.alphaTexture.empty() && (expected.flags & 0xA1000000u) == 0) {
            EXPECT_NE(materials[i].alphaGlName, 0u);
        }
        if (!expected.environmentTexture.empty()) {
            EXPECT_NE(materials[i].environmentGlName, 0u);
        }
    }
    // "Roof.BMP" is found as roof.bmp, the odd-width plank keeps its picture.
    const CTexture& plank = CTextureManager::Instance().GetTexture("plank.bmp");
    EXPECT_EQ(plank.GetWidth(), 37);
    EXPECT_EQ(plank.GetHeight(), 19);
    EXPECT_EQ(plank.GetBytesPerPixel(), 3);
}

}  // namespace
