// Missions in temporary folders: loading, linking, models, saving.

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using platform::RecordingPresenter;
using testsupport::ByteWriter;
using testsupport::Hex;
using testsupport::ReadFile;

namespace {

using Body = std::function<void(ByteWriter&)>;

std::string SceneFile(const Body& sections)
{
    return ByteWriter().Chunk(0x4C53, sections).Str();
}

Body Thing(std::string name, std::string model = {})
{
    return [name, model](ByteWriter& l) {
        l.Chunk(0x4010, [&](ByteWriter& t) {
            t.ChunkText(0x0010, name);
            if (!model.empty())
                t.ChunkText(0x2012, model);
        });
    };
}

Body ScriptData(std::string name, std::string script)
{
    return [name, script](ByteWriter& l) {
        l.Chunk(0xAE21, [&](ByteWriter& d) {
            d.ChunkU32(0xAE22, 5).ChunkText(0xAE23, name).Chunk(0xAE24, [&](ByteWriter& c) {
                c.U32(0).U32(0).U16(0).Counted(script);
            });
        });
    };
}

std::string Scene(std::initializer_list<Body> things, std::initializer_list<Body> data = {})
{
    return SceneFile([&](ByteWriter& w) {
        w.Chunk(0x4000, [&](ByteWriter& l) {
            for (const auto& t : things)
                t(l);
        });
        w.Chunk(0xAE20, [&](ByteWriter& l) {
            for (const auto& d : data)
                d(l);
        });
        w.Chunk(0xAE50, [](ByteWriter& l) {
            l.Chunk(0xAE51, [](ByteWriter& s) { s.U8(1).Counted("start").Counted("x"); });
        });
    });
}

// The smallest 4DS model: magic, header, no materials, no frames.
std::string EmptyModel()
{
    return ByteWriter().Bytes(std::string_view("4DS\0", 4)).Fill(10, 7).U16(0).U16(0).Str();
}

// A mission folder GAME/Missions/NAME with the game's models beside it.
struct MissionFolder {
    explicit MissionFolder(const std::string& sceneBytes = {})
    {
        if (!sceneBytes.empty())
            Write("scene2.bin", sceneBytes);
        std::filesystem::create_directories(folder);
    }
    std::filesystem::path Write(const std::string& name, const std::string& bytes)
    {
        return dir.Write(folder.lexically_relative(dir.Path()) / name, bytes);
    }
    std::string Path() const { return folder.string() + "/"; }
    std::string Output() const { return ReadFile(folder / "scene2.bin.Verdax"); }

    testsupport::TempDir dir;
    std::filesystem::path folder = dir.Path() / "Missions" / "m1";
    std::filesystem::path models = dir.Path() / "Models";
    CFixedGameFolders gameFolders{models.string() + "/", (dir.Path() / "Maps").string() + "/"};
};

class ScopedGameFolders {
public:
    explicit ScopedGameFolders(const IGameFolders& folders) { SetGameFolders(&folders); }
    ~ScopedGameFolders() { SetGameFolders(nullptr); }
};

std::int32_t LoadFailure(CMission& mission)
{
    try {
        mission.Load();
    } catch (const CVerdaxException& e) {
        return e.GetCode();
    }
    return 0;
}

}  // namespace

TEST(Mission, FoldersAreBuiltFromTheRoot)
{
    CDravoRoot root;
    CMission mission("Quarry", &root);
    EXPECT_EQ(mission.GetName(), "Quarry");
    EXPECT_EQ(mission.GetFolder(), "C:\\program files\\dravo\\Missions\\Quarry\\");
    root.SetInstallFolder("D:\\Games\\X\\");
    EXPECT_EQ(mission.GetFolder(), "D:\\Games\\X\\Missions\\Quarry\\");
    EXPECT_FALSE(mission.IsLoaded());
    EXPECT_TRUE(mission.GetThings().empty());

    const CMission elsewhere("m", CMission::ExplicitFolder{"/srv/dravo/m/"});
    EXPECT_EQ(elsewhere.GetFolder(), "/srv/dravo/m/");
}

TEST(Mission, LoadsWithoutAWorldModelAndLinksThingDataByExactName)
{
    MissionFolder folder(Scene({Thing("door"), Thing("lamp"), Thing("door")},
                               {ScriptData("door", "open"), ScriptData("Lamp", "case"), ScriptData("ghost", "boo"),
                                ScriptData("door", "later")}));
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    mission.Load();
    EXPECT_TRUE(mission.IsLoaded());
    EXPECT_FALSE(mission.GetWorldModel().IsLoaded());
    EXPECT_TRUE(shown.entries.empty());

    const auto& things = mission.GetThings();
    const auto& data = mission.GetThingData();
    ASSERT_EQ(things.size(), 3u);
    ASSERT_EQ(data.size(), 4u);
    ASSERT_EQ(mission.GetMissionScripts().size(), 1u);
    // The first "door" gets both door data in turn; the later one remains.
    EXPECT_EQ(mission.FindThing("door"), things[0].get());
    EXPECT_EQ(things[0]->GetLinkedData(), data[3].get());
    EXPECT_EQ(things[0]->GetScript(), "later");
    EXPECT_EQ(things[2]->GetLinkedData(), nullptr);
    // "Lamp" is not "lamp"; "ghost" names no thing and stays in the list.
    EXPECT_EQ(things[1]->GetLinkedDataKind(), -1);
    EXPECT_EQ(mission.FindThing("ghost"), nullptr);
    EXPECT_EQ(data[2]->GetName(), "ghost");
}

TEST(Mission, WithoutItsObjectFileItDoesNotLoadAndCanBeTriedAgain)
{
    MissionFolder folder;
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    EXPECT_EQ(LoadFailure(mission), VERDAX_ERR_OPEN_READ);
    EXPECT_FALSE(mission.IsLoaded());
    EXPECT_TRUE(shown.entries.empty());

    folder.Write("scene2.bin", Scene({Thing("a")}));
    mission.Load();
    EXPECT_EQ(mission.GetThings().size(), 1u);
}

TEST(Mission, FailedLoadLeavesNothingBehind)
{
    // The second list element is malformed: the first was already handed over, and
    // the header, fixed sections and 0xAE02 were read.
    const auto bad = SceneFile([](ByteWriter& w) {
        w.Chunk(0x0001, [](ByteWriter& h) { h.U16(7).U16(9).Bytes(std::string_view("old\0", 4)); });
        w.Chunk(0xAFFF, [](ByteWriter& a) { a.Fill(8, 0xAA); });
        w.ChunkU32(0x3010, 77);
        w.Chunk(0xAE02, [](ByteWriter& e) { e.Fill(5, 0xEE); });
        w.Chunk(0xAE20, [](ByteWriter& l) { ScriptData("a", "s")(l); });
        w.Chunk(0x4000, [](ByteWriter& l) {
            Thing("a")(l);
            l.ChunkU32(0x4011, 9);  // not a thing element
        });
    });
    MissionFolder folder(bad);
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    EXPECT_EQ(LoadFailure(mission), VERDAX_ERR_CHUNK_ID);
    EXPECT_EQ(shown.entries.size(), 1u);
    EXPECT_EQ(shown.entries[0].text.rfind("fFile pos = ", 0), 0u);
    EXPECT_FALSE(mission.IsLoaded());
    EXPECT_TRUE(mission.GetThings().empty());
    EXPECT_TRUE(mission.GetThingData().empty());

    // The file mended and opened again: nothing of the failed one reaches the output.
    folder.Write("scene2.bin", Scene({Thing("a")}, {ScriptData("a", "s")}));
    mission.Load();
    EXPECT_EQ(mission.GetThings().size(), 1u);
    EXPECT_EQ(mission.GetThingData().size(), 1u);
    const CScene2File& scene = mission.GetSceneFile();
    EXPECT_FALSE(scene.HasDataAE02());
    EXPECT_TRUE(scene.GetDataAE02().empty());
    EXPECT_EQ(scene.GetHeaderWord1(), 0);
    EXPECT_EQ(scene.GetHeaderWord2(), 0);
    EXPECT_EQ(scene.GetHeaderText(), "");
    EXPECT_EQ(scene.GetValue3010(), 0u);
    EXPECT_EQ(scene.GetDataAFFF(), (std::array<std::uint8_t, 8>{}));
}

TEST(Mission, LoadingTwiceFailsWith5000)
{
    MissionFolder folder(Scene({Thing("a")}));
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.Load();
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    EXPECT_EQ(LoadFailure(mission), VERDAX_ERR_MISSION_LOADED);
    EXPECT_TRUE(shown.entries.empty());
    EXPECT_TRUE(mission.IsLoaded());
    EXPECT_EQ(mission.GetThings().size(), 1u);
}

TEST(Mission, ThingsWithoutTheirModelsStillLoad)
{
    MissionFolder folder(Scene({Thing("crate", "crate.i3d"), Thing("plain"), Thing("box", "box")}));
    ScopedGameFolders scope(folder.gameFolders);
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.Load();
    for (const auto& thing : mission.GetThings())
        EXPECT_FALSE(thing->GetModel().IsLoaded()) << thing->GetName();
}

TEST(Mission, ModelsLoadFromTheModelsFolder)
{
    MissionFolder folder(Scene({Thing("crate", "crate.i3d"), Thing("box", "box"), Thing("pallet", "pallet.x.y")}));
    folder.Write("scene.4ds", EmptyModel());
    folder.dir.Write("Models/crate.4DS", EmptyModel());
    folder.dir.Write("Models/box.4DS", EmptyModel());
    folder.dir.Write("Models/pallet.x.4DS", EmptyModel());
    ScopedGameFolders scope(folder.gameFolders);
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.Load();
    EXPECT_TRUE(mission.GetWorldModel().IsLoaded());
    const auto& things = mission.GetThings();
    ASSERT_EQ(things.size(), 3u);
    // The model name without its extension; a name without a dot whole; only the
    // last dot counts.
    EXPECT_TRUE(things[0]->GetModel().IsLoaded());
    EXPECT_EQ(things[0]->GetModel().GetName(), "crate");
    EXPECT_TRUE(things[1]->GetModel().IsLoaded());
    EXPECT_TRUE(things[2]->GetModel().IsLoaded());
    EXPECT_EQ(things[2]->GetModel().GetName(), "pallet.x");
}

// Objects given as bytes load as from the folder's file, things' models too; the
// world model, a file of its own, is left alone.
TEST(Mission, ObjectsFromBytesLoadWithTheirModelsButNoWorldModel)
{
    MissionFolder folder;
    folder.Write("scene.4ds", EmptyModel());
    folder.dir.Write("Models/crate.4DS", EmptyModel());
    ScopedGameFolders scope(folder.gameFolders);
    std::stringstream bytes(Scene({Thing("crate", "crate.i3d")}, {ScriptData("crate", "go")}));
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.LoadFrom(bytes);
    EXPECT_TRUE(mission.IsLoaded());
    EXPECT_FALSE(mission.GetWorldModel().IsLoaded());
    ASSERT_EQ(mission.GetThings().size(), 1u);
    EXPECT_TRUE(mission.GetThings()[0]->GetModel().IsLoaded());
    EXPECT_EQ(mission.GetThings()[0]->GetScript(), "go");
}

// What only writes the objects reads no model, and writes what a whole load does.
TEST(Mission, ObjectsAloneLoadWithoutAnyModelAndSaveAsAWholeLoadDoes)
{
    MissionFolder folder(Scene({Thing("crate", "crate.i3d"), Thing("plain")}, {ScriptData("crate", "go")}));
    folder.Write("scene.4ds", EmptyModel());
    folder.dir.Write("Models/crate.4DS", EmptyModel());
    ScopedGameFolders scope(folder.gameFolders);
    CMission whole("m1", CMission::ExplicitFolder{folder.Path()});
    whole.Load();
    whole.Save();
    const std::string wholeOutput = folder.Output();

    CMission objects("m1", CMission::ExplicitFolder{folder.Path()});
    objects.LoadObjects();
    EXPECT_TRUE(objects.IsLoaded());
    EXPECT_FALSE(objects.GetWorldModel().IsLoaded());
    ASSERT_EQ(objects.GetThings().size(), 2u);
    EXPECT_FALSE(objects.GetThings()[0]->GetModel().IsLoaded());
    EXPECT_EQ(objects.GetThings()[0]->GetScript(), "go");
    std::filesystem::remove(folder.folder / "scene2.bin.Verdax");
    objects.Save();
    EXPECT_EQ(folder.Output(), wholeOutput);
    EXPECT_THROW(objects.LoadObjects(), CVerdaxException);  // loaded already
}

// Thousands of things name a hundred models: each distinct name is looked up once
// per load, and the things that share it share what that lookup found, a missing
// model included.
TEST(Mission, EachModelNameIsLookedUpOncePerLoad)
{
    class CountingFileSystem final : public platform::IFileSystem {
    public:
        std::filesystem::path Resolve(std::string_view path) const override
        {
            if (path.find("Models") != std::string_view::npos)
                ++modelLookups;
            return platform::CWineFileSystem().Resolve(path);
        }
        std::vector<platform::FolderEntry> List(std::string_view folder) const override
        {
            return platform::CWineFileSystem().List(folder);
        }
        mutable int modelLookups = 0;
    };
    MissionFolder folder(Scene({Thing("a", "crate.i3d"), Thing("b", "gone.i3d"), Thing("c", "crate.i3d"),
                                Thing("d", "gone.i3d"), Thing("e", "crate.i3d")}));
    folder.dir.Write("Models/crate.4DS", EmptyModel());
    ScopedGameFolders scope(folder.gameFolders);
    CountingFileSystem counting;
    platform::SetFileSystem(&counting);
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.Load();
    platform::SetFileSystem(nullptr);
    EXPECT_EQ(counting.modelLookups, 2);
    const auto& things = mission.GetThings();
    ASSERT_EQ(things.size(), 5u);
    for (std::size_t i : {0u, 2u, 4u}) {
        EXPECT_TRUE(things[i]->GetModel().IsLoaded());
        EXPECT_EQ(things[i]->GetModel().GetName(), "crate");
        EXPECT_EQ(things[i]->GetModel().GetGeometry(), things[0]->GetModel().GetGeometry());
    }
    EXPECT_FALSE(things[1]->GetModel().IsLoaded());
    EXPECT_FALSE(things[3]->GetModel().IsLoaded());
}

TEST(Mission, BrokenWorldModelIsPassedOver)
{
    MissionFolder folder(Scene({Thing("a")}));
    folder.Write("scene.4ds", "not a model at all");
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    mission.Load();
    EXPECT_TRUE(mission.IsLoaded());
    EXPECT_FALSE(mission.GetWorldModel().IsLoaded());
}

TEST(Mission, SaveWritesTheOutputBesideTheObjectFile)
{
    const auto input = Scene({Thing("a"), Thing("b")}, {ScriptData("b", "run")});
    MissionFolder folder(input);
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});

    mission.Save();  // not loaded: nothing written
    EXPECT_FALSE(std::filesystem::exists(folder.folder / "scene2.bin.Verdax"));

    mission.Load();
    mission.Save();
    const auto first = folder.Output();
    ASSERT_FALSE(first.empty());
    mission.FindThing("b")->SetScript("walk");
    mission.Save();
    const auto second = folder.Output();
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadFile(folder.folder / "scene2.bin"), input);

    // The output reads back as a mission of its own, edit included.
    MissionFolder copy(second);
    CMission reread("m1", CMission::ExplicitFolder{copy.Path()});
    reread.Load();
    EXPECT_EQ(reread.FindThing("b")->GetScript(), "walk");
    EXPECT_EQ(reread.GetSceneFile().GetHeaderText().substr(0, 36), "THIS FILE WAS MODIFIED USING VERDAX ");
}

TEST(Mission, TransformEditsReachTheOutput)
{
    MissionFolder folder(Scene({Thing("a")}));
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.Load();
    mission.FindThing("a")->SetTranslation({5.0f, 6.0f, 7.0f});
    mission.Save();

    MissionFolder copy(folder.Output());
    CMission reread("m1", CMission::ExplicitFolder{copy.Path()});
    reread.Load();
    EXPECT_EQ(reread.FindThing("a")->GetTranslation(), (Vector3{5.0f, 6.0f, 7.0f}));
}

TEST(Mission, SaveFailuresPassThrough)
{
    MissionFolder folder(Scene({Thing("a")}));
    CMission mission("m1", CMission::ExplicitFolder{folder.Path()});
    mission.Load();
    std::filesystem::remove_all(folder.folder);
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    try {
        mission.Save();
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_OPEN_WRITE);
    }
    EXPECT_EQ(shown.entries.size(), 1u);  // the file and the reason, once
    EXPECT_FALSE(std::filesystem::exists(folder.folder));
    EXPECT_TRUE(mission.IsLoaded());
}
