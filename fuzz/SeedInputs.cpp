#include "fuzz/SeedInputs.h"

#include "game/CMission.h"
#include "game/CObjectsPayload.h"

#include "tools/demo/BitmapWriter.h"
#include "tools/demo/CBinaryWriter.h"
#include "tools/demo/DemoGame.h"
#include "tools/demo/DemoModels.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/MeshBuilder.h"
#include "tools/demo/ScaledMission.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace fuzz {
namespace {

bool EndsWith(const std::string& text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

// The corpus of a demo file, by its extension; empty for files no reader takes.
std::string ReaderOf(const std::string& path)
{
    const std::string lower = Lower(path);
    if (EndsWith(lower, "system.reg"))
        return "registry";
    if (EndsWith(lower, ".bmp"))
        return "bitmap";
    if (EndsWith(lower, ".4ds"))
        return "4ds";
    if (EndsWith(lower, "scene2.bin"))
        return "scene";
    return {};
}

std::string FlatName(const std::string& prefix, std::string path)
{
    for (char& c : path)
        c = c == '/' ? '_' : c;
    return prefix + path;
}

void AddGame(SeedCorpora& corpora, const std::string& prefix, const demo::FileMap& files)
{
    for (const auto& [path, bytes] : files) {
        const std::string reader = ReaderOf(path);
        if (!reader.empty())
            corpora[reader][FlatName(prefix, path)] = bytes;
    }
}

void AddRegistryEdges(std::map<std::string, std::string>& corpus)
{
    corpus["win64_redirected.reg"] =
        "WINE REGISTRY Version 2\r\n#arch=win64\r\n\r\n[Software\\\\Wow6432Node\\\\Kestrel Works\\\\Dravo] 0\r\n"
        "\"idir\"=\"D:\\\\\\x0418\\x0433\\x0440\\x044b\\\\Dravo\\\\\"\r\n";
    corpus["escapes.reg"] =
        "WINE REGISTRY Version 2\n[SOFTWARE\\\\KESTREL WORKS\\\\DRAVO]\n\"IDIR\"=str(2):\"C:\\\\a\\\"b\\101\\t\\\n"
        "@=\"x\"\n\"idir\"=\"C:\\\\Games\\\\\"\n";
    corpus["no_header.reg"] = "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir\"=\"C:\\\\\"\n";
}

void AddBitmapEdges(std::map<std::string, std::string>& corpus)
{
    demo::DemoBitmap odd;
    odd.width = 3;
    odd.height = 2;
    odd.bitsPerPixel = 24;
    odd.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 90, 90, 90, 200, 200, 200};
    odd.imageSizeFieldZero = true;
    corpus["odd_24_size_zero.bmp"] = demo::WriteBitmap(odd);
    demo::DemoBitmap palette;
    palette.width = 5;
    palette.height = 1;
    palette.bitsPerPixel = 8;
    palette.palette = {{0, 0, 0}, {255, 255, 255}};
    palette.pixels = {0, 1, 0, 1, 1};
    corpus["palette_2.bmp"] = demo::WriteBitmap(palette);
    // A 32-bit picture: read and then refused by bit depth.
    std::string deep = demo::WriteBitmap(odd);
    deep[28] = 32;
    corpus["bits_32.bmp"] = deep;
}

void AddModelEdges(std::map<std::string, std::string>& corpus)
{
    demo::FourDsModelData empty;
    corpus["empty.4ds"] = demo::Write4ds(empty);
    demo::FourDsModelData edges;
    for (std::uint32_t flags : {demo::material::kShortForm, demo::material::kColourOnly, 0x40000000u, 0x41000000u,
                                0x02080000u}) {
        demo::FourDsMaterial m = demo::TexturedMaterial("a.bmp");
        m.flags = flags;
        m.alphaTexture = "b.bmp";
        m.environmentTexture = "c.bmp";
        edges.materials.push_back(m);
    }
    demo::CMeshBuilder mesh;
    mesh.AddBox({0, 0, 0}, {1, 1, 1}, 5);
    edges.frames.push_back(demo::VisualFrame("box", 0, {}, {mesh.Build(0.0f)}));
    demo::FourDsFrame instance = demo::VisualFrame("instance", 1, {}, {});
    instance.instance = 1;
    edges.frames.push_back(instance);
    edges.frames.push_back(demo::BoxSector("sector", 0, {0, 0, 0}, {1, 1, 1}, {0.5f}));
    edges.frames.push_back(demo::DummyFrame("dummy", 3, {}, {}));
    corpus["edges.4ds"] = demo::Write4ds(edges);
}

std::string Shortened(const std::string& script)
{
    return script.substr(0, 24);
}

// The main demo mission cut to one thing of each kind, the thing data of those
// things and two mission scripts, all scripts shortened: a whole file of every kind
// within the scene target's input limit, which the demo's files exceed.
demo::SceneFileData OneThingOfEachKind()
{
    demo::SceneFileData scene = demo::HarbourTownScene();
    std::set<std::int32_t> kinds;
    std::erase_if(scene.things, [&](const demo::SceneThing& t) { return !kinds.insert(t.kind).second; });
    std::set<std::string> names;
    for (const demo::SceneThing& t : scene.things)
        names.insert(t.name);
    std::erase_if(scene.thingData, [&](const demo::SceneThingData& d) { return !names.contains(d.name); });
    for (demo::SceneThingData& d : scene.thingData)
        d.script = Shortened(d.script);
    scene.missionScripts.resize(std::min<std::size_t>(scene.missionScripts.size(), 2));
    for (demo::SceneMissionScript& m : scene.missionScripts)
        m.script = Shortened(m.script);
    return scene;
}

void AddSceneEdges(std::map<std::string, std::string>& corpus)
{
    demo::CBinaryWriter only;
    only.BeginChunk(0x4C53);
    only.EndChunk();
    corpus["scene_chunk_only.bin"] = only.Take();
    demo::SceneFileData kinds = demo::SceneWithGameHeader();
    for (std::int32_t kind : {2, 4, 6, 8, 12, 18, 22, 25, 34, 35, 5, 27}) {
        demo::SceneThingData d;
        d.kind = kind;
        d.name = "d" + std::to_string(kind);
        d.script = "line 1\r\nline 2";
        d.raw = "raw";
        kinds.thingData.push_back(d);
    }
    corpus["thing_data_kinds.bin"] = demo::WriteScene2(kinds);
    corpus["thing_kinds.bin"] = demo::WriteScene2(OneThingOfEachKind());
}

// Copies of one object of each sort that a copy holds, as the clipboard carries them:
// in the fuzz target's code page and in one it converts from.
void AddObjectCopies(std::map<std::string, std::string>& corpus)
{
    std::stringstream file(demo::WriteScene2(OneThingOfEachKind()));
    CMission mission("seeds", CMission::ExplicitFolder{"/nonexistent/"});
    mission.LoadFrom(file);
    std::vector<CSceneObject*> objects;
    for (const auto& thing : mission.GetThings())
        objects.push_back(thing.get());
    for (const auto& data : mission.GetThingData())
        objects.push_back(data.get());
    for (const auto& script : mission.GetMissionScripts())
        objects.push_back(script.get());
    corpus["all_1251.bin"] = CObjectsPayload::Write(objects, 1251);
    corpus["all_1252.bin"] = CObjectsPayload::Write(objects, 1252);
    for (std::size_t i = 0; i < objects.size(); ++i)
        corpus["object_" + std::to_string(i) + ".bin"] = CObjectsPayload::Write({objects[i]}, 1250);
}

// Spelled out here rather than written by the store, as tests/support does for the
// game's formats.
void AddRecoveryDescriptions(std::map<std::string, std::string>& corpus)
{
    const std::string fields = "install-folder=C:\\Games\\Dravo\\\n"
                               "mission=%E4%E5%F0%E5%E2%ED%FF%20%25\n"
                               "saved-at=1714564800\n"
                               "pid=4242\n"
                               "process-start=987654321\n"
                               "boot-id=0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0\n"
                               "undo-steps=12\n";
    corpus["entry.description"] =
        "verdax-recovery 1\n" + fields + "copy=b\ncopy-size=4123456\ncopy-hash=fedcba9876543210\n";
    corpus["reservation.description"] = "verdax-recovery 1\n" + fields + "copy=\ncopy-size=0\ncopy-hash=0\n";
    corpus["later.description"] = "verdax-recovery 2\nsomething=new\n";
}

}  // namespace

SeedCorpora SeedInputs()
{
    SeedCorpora corpora;
    AddGame(corpora, "demo_", demo::DemoGameFiles());
    demo::MissionScale small;
    small.things = 60;
    small.models = 3;
    small.thingData = 12;
    small.missionScripts = 4;
    small.worldFrames = 12;
    small.worldTriangles = 600;
    small.textures = 3;
    small.textureSize = 8;
    AddGame(corpora, "scaled_", demo::ScaledGameFiles(small));
    AddRegistryEdges(corpora["registry"]);
    AddBitmapEdges(corpora["bitmap"]);
    AddModelEdges(corpora["4ds"]);
    AddSceneEdges(corpora["scene"]);
    AddRecoveryDescriptions(corpora["recovery"]);
    AddObjectCopies(corpora["objects"]);
    // The comparison takes scene files too.
    corpora["comparison"] = corpora["scene"];
    return corpora;
}

}  // namespace fuzz
