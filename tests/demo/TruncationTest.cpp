// Every file of the demo cut short and read again: each reader ends with one of its
// error codes or with a part of what the whole file holds, never with a crash, a
// hang or an invented object. Small files are cut at every offset, large ones at a
// few hundred offsets spread over them.

#include "core/CVerdaxException.h"
#include "model/BitmapDecoder.h"
#include "model/C4dsModel.h"
#include "platform/Registry.h"
#include "scene/CMemoryReadBuffer.h"
#include "scene/CScene2File.h"
#include "tests/demo/DemoPrefix.h"
#include "tests/scene/SceneOwner.h"
#include "tools/demo/DemoGame.h"
#include "tools/demo/DemoScenes.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

constexpr std::size_t kEveryOffsetUpTo = 4096;
constexpr std::size_t kSpreadCuts = 400;

// Where to cut a file of `size` bytes: everywhere when it is small; else the first
// and last bytes and evenly spread offsets between.
std::vector<std::size_t> CutOffsets(std::size_t size)
{
    std::vector<std::size_t> cuts;
    if (size <= kEveryOffsetUpTo) {
        for (std::size_t cut = 0; cut < size; ++cut)
            cuts.push_back(cut);
        return cuts;
    }
    for (std::size_t cut = 0; cut < 64; ++cut)
        cuts.push_back(cut);
    for (std::size_t i = 0; i < kSpreadCuts; ++i)
        cuts.push_back(64 + (size - 128) * i / kSpreadCuts);
    for (std::size_t cut = size - 64; cut < size; ++cut)
        cuts.push_back(cut);
    return cuts;
}

std::vector<std::pair<std::string, std::string>> DemoFilesEndingIn(std::initializer_list<std::string_view> endings)
{
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& [path, bytes] : demo::DemoGameFiles()) {
        for (std::string_view ending : endings) {
            if (path.ends_with(ending))
                found.emplace_back(path, bytes);
        }
    }
    return found;
}

TEST(Truncation, SystemRegGivesTheWholeInstallFolderOrNone)
{
    const std::string reg = demo::DemoGameFiles().at("system.reg");
    std::size_t found = 0;
    for (std::size_t cut : CutOffsets(reg.size())) {
        const auto value = platform::CWineRegistry::FindString(reg.substr(0, cut), "Software\\Kestrel Works\\Dravo", "idir");
        if (value) {
            EXPECT_EQ(*value, demo::kDemoInstallFolder) << "cut at " << cut;
            ++found;
        }
    }
    EXPECT_GT(found, 0u);  // once the value's line is complete
}

TEST(Truncation, BitmapsCutShortAreRefusedAsShortReads)
{
    const auto bitmaps = DemoFilesEndingIn({".bmp"});
    ASSERT_FALSE(bitmaps.empty());
    for (const auto& [path, bytes] : bitmaps) {
        for (std::size_t cut : CutOffsets(bytes.size())) {
            const std::span<const std::uint8_t> part(reinterpret_cast<const std::uint8_t*>(bytes.data()), cut);
            try {
                const BitmapImage image = DecodeBitmap(part);
                ADD_FAILURE() << path << " cut at " << cut << " decoded as " << image.width << "x" << image.height;
            } catch (const CVerdaxException& error) {
                const bool expected = error.GetCode() == VERDAX_ERR_READ || (cut < 2 && error.GetCode() == VERDAX_ERR_NOT_BITMAP);
                EXPECT_TRUE(expected) << path << " cut at " << cut << ": error " << error.GetCode();
            }
        }
    }
}

class TruncatedModels : public testing::Test {
protected:
    void SetUp() override { SetGameFolders(&folders_); }
    void TearDown() override { SetGameFolders(nullptr); }

    static std::vector<std::string> FrameNames(const C4dsModel& model)
    {
        std::vector<std::string> names;
        for (const auto& frame : model.GetFrames())
            names.push_back(frame->name);
        return names;
    }

    static void ExpectDrawable(const C4dsModel& model)
    {
        for (const auto& frame : model.GetFrames()) {
            for (const ModelLod& lod : frame->lods) {
                for (const FaceGroup& group : lod.faceGroups) {
                    ASSERT_EQ(group.indices.size(), group.faceCount * 3u);
                    for (std::uint16_t index : group.indices)
                        ASSERT_LT(index, lod.vertices.size());
                }
            }
        }
    }

    C4dsModel& LoadCut(const std::string& bytes, std::size_t cut)
    {
        // A new file each time: rewriting one in place makes ext4 flush it on close.
        std::filesystem::remove(dir_.Path() / "cut.4ds");
        const auto path = dir_.Write("cut.4ds", std::string_view(bytes).substr(0, cut));
        model_ = std::make_unique<C4dsModel>();
        model_->Load(path.string(), true);
        return *model_;
    }

    testsupport::TempDir dir_;
    // Textures are asked of an empty maps folder, so that only the model is read.
    CFixedGameFolders folders_{dir_.Path().string() + "/Models/", dir_.Path().string() + "/Maps/"};
    std::unique_ptr<C4dsModel> model_;
};

TEST_F(TruncatedModels, KeepTheFramesBeforeTheCutAndNothingInvented)
{
    const auto models = DemoFilesEndingIn({".4ds", ".4DS"});
    ASSERT_GE(models.size(), 7u);
    for (const auto& [path, bytes] : models) {
        const std::vector<std::string> whole = FrameNames(LoadCut(bytes, bytes.size()));
        const std::size_t materials = model_->GetMaterials().size();
        for (std::size_t cut : CutOffsets(bytes.size())) {
            SCOPED_TRACE(path + " cut at " + std::to_string(cut));
            try {
                const C4dsModel& model = LoadCut(bytes, cut);
                EXPECT_GE(cut, 4u) << "loaded without its magic";
                const std::vector<std::string> kept = FrameNames(model);
                ASSERT_LE(kept.size(), whole.size());
                EXPECT_TRUE(std::equal(kept.begin(), kept.end(), whole.begin()));
                EXPECT_TRUE(model.GetMaterials().empty() || model.GetMaterials().size() == materials);
                ExpectDrawable(model);
            } catch (const CVerdaxException& error) {
                EXPECT_LT(cut, 4u);
                EXPECT_EQ(error.GetCode(), VERDAX_ERR_MAGIC_4DS);
            }
        }
    }
}

// The names of the things read, in order.
std::vector<std::string> ThingNames(const TestSceneOwner& owner)
{
    std::vector<std::string> names;
    for (const auto& thing : owner.things)
        names.push_back(thing->GetName());
    return names;
}

// Reads `bytes` as a scene file; the error code, or 0 when it read through.
int ReadScene(const std::string& bytes, TestSceneOwner& owner)
{
    CScene2File file;
    file.SetOwner(&owner);
    std::stringstream stream(bytes, std::ios::in | std::ios::out | std::ios::binary);
    try {
        file.ReadFrom(stream);
    } catch (const CVerdaxException& error) {
        return error.GetCode();
    }
    return 0;
}

TEST(Truncation, SceneFilesCutShortFailAfterHandingOverOnlyWholeObjects)
{
    platform::RecordingPresenter messages;  // the position texts of the errors
    const platform::ScopedPresenter scope(messages);
    const std::set<int> shortFile = {VERDAX_ERR_READ, VERDAX_ERR_CHUNK_SHORT, VERDAX_ERR_CHUNK_LONG};
    for (const auto& [path, bytes] : DemoFilesEndingIn({"scene2.bin"})) {
        const bool broken = path.find(demo::kBrokenMission) != std::string::npos;
        TestSceneOwner whole;
        EXPECT_EQ(ReadScene(bytes, whole), broken ? VERDAX_ERR_CHUNK_ID : 0) << path;
        const std::vector<std::string> allThings = ThingNames(whole);
        for (std::size_t cut : CutOffsets(bytes.size())) {
            SCOPED_TRACE(path + " cut at " + std::to_string(cut));
            TestSceneOwner owner;
            const int code = ReadScene(bytes.substr(0, cut), owner);
            EXPECT_TRUE(shortFile.contains(code) || (broken && code == VERDAX_ERR_CHUNK_ID)) << "code " << code;
            const std::vector<std::string> kept = ThingNames(owner);
            ASSERT_LE(kept.size(), allThings.size());
            EXPECT_TRUE(std::equal(kept.begin(), kept.end(), allThings.begin()));
            EXPECT_LE(owner.thingData.size(), whole.thingData.size());
            EXPECT_LE(owner.scripts.size(), whole.scripts.size());
        }
    }
}

// What one read of a scene file gave: the error's code and text, and the objects.
struct SceneReadOutcome {
    int code = 0;
    std::string text;
    std::vector<std::string> things;
    std::size_t thingData = 0;
    std::size_t scripts = 0;
    bool operator==(const SceneReadOutcome&) const = default;
};

SceneReadOutcome ReadSceneFrom(std::iostream& stream)
{
    TestSceneOwner owner;
    CScene2File file;
    file.SetOwner(&owner);
    SceneReadOutcome outcome;
    try {
        file.ReadFrom(stream);
    } catch (const CVerdaxException& error) {
        outcome.code = error.GetCode();
        outcome.text = error.GetText();
    }
    outcome.things = ThingNames(owner);
    outcome.thingData = owner.thingData.size();
    outcome.scripts = owner.scripts.size();
    return outcome;
}

// The file read whole is walked straight from its bytes; any other stream through
// the stream buffer. Both must fail alike, with the same positions in the texts.
TEST(Truncation, SceneFilesReadFromMemoryFailAsFromAStream)
{
    platform::RecordingPresenter messages;
    const platform::ScopedPresenter scope(messages);
    for (const auto& [path, bytes] : DemoFilesEndingIn({"scene2.bin"})) {
        std::vector<std::size_t> cuts = CutOffsets(bytes.size());
        cuts.push_back(bytes.size());
        for (std::size_t cut : cuts) {
            SCOPED_TRACE(path + " cut at " + std::to_string(cut));
            const std::string part = bytes.substr(0, cut);
            std::stringstream stream(part, std::ios::in | std::ios::out | std::ios::binary);
            CMemoryReadBuffer buffer;
            buffer.Reset(part);
            std::iostream memory(&buffer);
            const SceneReadOutcome fromStream = ReadSceneFrom(stream);
            EXPECT_EQ(ReadSceneFrom(memory), fromStream) << "code " << fromStream.code << " " << fromStream.text;
        }
    }
}

// The same through the mission, as the editor loads it: a cut object file leaves the
// mission unloaded and empty; a cut world still lets the mission load.
class TruncatedMission : public DemoPrefixTest {
protected:
    std::filesystem::path HarbourFile(const char* name) const
    {
        return InstallPath() / "Missions" / demo::kHarbourMission / name;
    }
};

TEST_F(TruncatedMission, ACutObjectFileLeavesTheMissionUnloaded)
{
    const std::string bytes = testsupport::ReadFile(HarbourFile("scene2.bin"));
    for (std::size_t i = 0; i < 24; ++i) {
        const std::size_t cut = bytes.size() * i / 24;
        SCOPED_TRACE("cut at " + std::to_string(cut));
        dir_.Write(HarbourFile("scene2.bin"), bytes.substr(0, cut));
        CMission mission(demo::kHarbourMission, &root_);
        EXPECT_THROW(mission.Load(), CVerdaxException);
        EXPECT_FALSE(mission.IsLoaded());
        EXPECT_TRUE(mission.GetThings().empty() && mission.GetThingData().empty());
    }
}

TEST_F(TruncatedMission, ACutWorldStillLoadsTheMission)
{
    const std::string bytes = testsupport::ReadFile(HarbourFile("scene.4ds"));
    for (std::size_t i = 0; i < 12; ++i) {
        const std::size_t cut = bytes.size() * i / 12;
        SCOPED_TRACE("cut at " + std::to_string(cut));
        dir_.Write(HarbourFile("scene.4ds"), bytes.substr(0, cut));
        CMission mission(demo::kHarbourMission, &root_);
        ASSERT_NO_THROW(mission.Load());
        EXPECT_EQ(mission.GetWorldModel().IsLoaded(), cut >= 4);
        EXPECT_EQ(mission.GetThings().size(), demo::HarbourTownScene().things.size());
    }
}

}  // namespace
