// The demo's writers where a mistake would not show in the demo's own files: Wine's
// escapes, nested chunk sizes, refusals of what the formats cannot hold, and the
// editor's save of the demo reading back to the same objects.

#include "core/CVerdaxException.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "scene/CScene2File.h"
#include "tests/demo/DemoPrefix.h"
#include "tests/scene/SceneOwner.h"
#include "tools/demo/BitmapWriter.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/FourDsWriter.h"
#include "tools/demo/RegistryWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>

namespace {

TEST(RegistryWriter, EscapesReadBackThroughWinesParser)
{
    demo::RegistryFile file;
    file.win64 = true;
    demo::RegistryKey key{"Software\\Wow6432Node\\Kestrel Works\\Dravo", 0, {}};
    demo::RegistryValue value;
    value.name = "idir";
    // A quote, backslashes, and a Cyrillic letter followed by a hex digit.
    value.text = u"C:\\\"Q\"\\\u0418a\\";
    key.values.push_back(value);
    demo::RegistryValue expand = demo::StringValue("Path", "%WINDIR%\\x");
    expand.type = demo::RegistryValue::Type::ExpandString;
    key.values.push_back(expand);
    file.keys.push_back(key);
    const std::string text = demo::WriteSystemReg(file);

    platform::SetAnsiCodePage(1251);
    EXPECT_EQ(platform::CWineRegistry::FindString(text, "Software\\Kestrel Works\\Dravo", "idir"),
              "C:\\\"Q\"\\\xC8" "a\\");
    EXPECT_EQ(platform::CWineRegistry::FindString(text, "Software\\Kestrel Works\\Dravo", "PATH"), "%WINDIR%\\x");
    platform::SetAnsiCodePage(0);
}

// Walks chunks from `at` to `end`, descending into those known to hold chunks; false
// when a size runs past its parent or below a header.
bool ChunksNest(const std::string& bytes, std::size_t at, std::size_t end)
{
    static const std::set<std::uint16_t> composite = {0x4C53, 0x4000, 0x4010, 0x4020, 0x4040, 0x4060, 0xAE20, 0xAE21};
    while (at < end) {
        if (end - at < 6)
            return false;
        std::uint16_t id;
        std::uint32_t size;
        std::memcpy(&id, bytes.data() + at, 2);
        std::memcpy(&size, bytes.data() + at + 2, 4);
        if (size < 6 || size > end - at)
            return false;
        if (composite.contains(id) && !ChunksNest(bytes, at + 6, at + size))
            return false;
        at += size;
    }
    return true;
}

TEST(SceneWriter, EveryChunkSizeCountsExactlyWhatItHolds)
{
    const std::string scene = demo::WriteScene2(demo::HarbourTownScene());
    EXPECT_TRUE(ChunksNest(scene, 0, scene.size()));
    std::uint32_t total;
    std::memcpy(&total, scene.data() + 2, 4);
    EXPECT_EQ(total, scene.size());
}

TEST(Writers, RefuseWhatTheFormatsCannotHold)
{
    demo::FourDsModelData model;
    model.frames.push_back(demo::FourDsFrame{});
    model.frames[0].parent = 1;  // itself: parents must come first
    EXPECT_THROW(demo::Write4ds(model), std::invalid_argument);
    model.frames[0].parent = 0;
    model.frames[0].lods.push_back({0.0f, {demo::FourDsVertex{}}, {{{{0, 0, 1}}, 0}}});
    EXPECT_THROW(demo::Write4ds(model), std::invalid_argument);  // index 1 of one vertex
    model.frames[0].lods[0].groups[0].faces = {{0, 0, 0}};
    model.frames[0].lods[0].groups[0].material = 1;  // no materials
    EXPECT_THROW(demo::Write4ds(model), std::invalid_argument);
    demo::FourDsFrame sector;
    sector.type = demo::frame::kSector;
    sector.sector.portals.push_back({0, {}, std::vector<Vector3>(128)});  // the count byte is signed
    EXPECT_THROW(demo::Write4ds({29, 0, {}, {sector}}), std::length_error);

    demo::DemoBitmap bitmap{2, 1, 8, {{0, 0, 0}}, {0, 1}, false};
    EXPECT_THROW(demo::WriteBitmap(bitmap), std::invalid_argument);  // index beyond the palette
    demo::SceneFileData scene;
    scene.things.push_back({});
    scene.things[0].kind = demo::thing::kData6;
    scene.things[0].payload = "short";
    EXPECT_THROW(demo::WriteScene2(scene), std::invalid_argument);
}

TEST(BitmapWriter, RowsArePaddedToFourBytes)
{
    demo::DemoBitmap bitmap{5, 3, 24, {}, std::vector<std::uint8_t>(5 * 3 * 3, 7), false};
    EXPECT_EQ(demo::BitmapStride(bitmap), 16u);
    EXPECT_EQ(demo::WriteBitmap(bitmap).size(), 54u + 16u * 3u);
    bitmap.bitsPerPixel = 8;
    bitmap.palette = {{1, 2, 3}};
    bitmap.pixels.assign(15, 0);
    EXPECT_EQ(demo::BitmapStride(bitmap), 8u);
    EXPECT_EQ(demo::WriteBitmap(bitmap).size(), 54u + 4u + 8u * 3u);
}

class DemoSave : public DemoPrefixTest {};

TEST_F(DemoSave, TheSavedHarbourTownReadsBackToTheSameObjects)
{
    CMission& mission = Mission(demo::kHarbourMission);
    ASSERT_TRUE(root_.LoadMission(&mission));
    mission.Save();
    std::stringstream saved(testsupport::ReadFile(InstallPath() / "Missions" / demo::kHarbourMission /
                                                  "scene2.bin.Verdax"),
                            std::ios::in | std::ios::out | std::ios::binary);
    TestSceneOwner owner;
    CScene2File file;
    file.SetOwner(&owner);
    file.ReadFrom(saved);
    EXPECT_EQ(file.GetHeaderText().substr(0, 36), "THIS FILE WAS MODIFIED USING VERDAX ");
    ASSERT_EQ(owner.things.size(), mission.GetThings().size());
    for (std::size_t i = 0; i < owner.things.size(); ++i) {
        const CSceneObjectThing& read = *owner.things[i];
        const CSceneObjectThing& original = *mission.GetThings()[i];
        EXPECT_EQ(read.GetName(), original.GetName());
        // A kind outside the table loses its 0x4011 chunk and reads back as 0x1002.
        EXPECT_EQ(read.GetKind(), original.GetKind() == 3 ? 0x1002 : original.GetKind()) << read.GetName();
        EXPECT_EQ(read.GetTranslation(), original.GetTranslation());
        EXPECT_EQ(read.GetModelName(), original.GetModelName());
    }
    ASSERT_EQ(owner.thingData.size(), mission.GetThingData().size());
    for (std::size_t i = 0; i < owner.thingData.size(); ++i)
        EXPECT_EQ(owner.thingData[i]->GetScript(), mission.GetThingData()[i]->GetScript());
    ASSERT_EQ(owner.scripts.size(), mission.GetMissionScripts().size());
    EXPECT_EQ(owner.scripts[2]->GetFlag(), 0);
}

}  // namespace
