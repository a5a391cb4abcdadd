#include "tools/demo/ScaledMission.h"

#include "tools/demo/DemoModels.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/DemoTextures.h"
#include "tools/demo/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo {
namespace {

std::string Numbered(const char* prefix, int number, const char* suffix)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%04d%s", prefix, number, suffix);
    return buffer;
}

std::string TextureName(int index)
{
    return Numbered("tex_", index, ".bmp");
}

std::string ModelName(int index)
{
    return Numbered("prop_", index, "");
}

DemoBitmap ScaledTexture(int index, int size)
{
    const Rgb base{static_cast<std::uint8_t>(40 + index * 37 % 180), static_cast<std::uint8_t>(40 + index * 71 % 180),
                   static_cast<std::uint8_t>(40 + index * 13 % 180)};
    if (index % 2)
        return Speckle8(std::max(size / 2, 1), std::max(size / 2, 1), base, 16, 1000u + unsigned(index));
    return Speckle24(size, size, base, 16, 1000u + unsigned(index));
}

std::uint16_t MaterialFor(int frameIndex, int salt, int textures)
{
    return static_cast<std::uint16_t>((frameIndex * 7 + salt * 131) % textures + 1);
}

int CellsForTriangles(double trianglesPerBox)
{
    // A subdivided box has 12 × cells² triangles.
    return std::max(1, static_cast<int>(std::ceil(std::sqrt(trianglesPerBox / 12.0))));
}

struct WorldPlan {
    int visuals = 0;
    int sectors = 0;
    int dummies = 0;
    int cells = 1;
};

WorldPlan PlanWorld(const MissionScale& scale)
{
    WorldPlan plan;
    plan.sectors = std::max(1, scale.worldFrames / 40);
    plan.dummies = std::max(1, scale.worldFrames / 40);
    plan.visuals = std::max(1, scale.worldFrames - plan.sectors - plan.dummies);
    plan.cells = CellsForTriangles(double(scale.worldTriangles) / plan.visuals);
    return plan;
}

std::vector<FourDsLod> BuildingLods(int index, int cells, int textures)
{
    const float height = 4.0f + float(index % 9) * 2.0f;
    const Vector3 lo{-4.0f, 0.0f, -4.0f}, hi{4.0f, height, 4.0f};
    CMeshBuilder detailed, simple;
    detailed.AddBox(lo, hi, MaterialFor(index, 0, textures), 2.0f, cells);
    simple.AddBox(lo, hi, MaterialFor(index, 1, textures), 4.0f, 1);
    return {detailed.Build(0.0f), simple.Build(150.0f)};
}

Vector3 GridPosition(int index, int columns, float spacing)
{
    return {float(index % columns) * spacing - float(columns) * spacing / 2, 0.0f,
            float(index / columns) * spacing - float(columns) * spacing / 2};
}

FourDsModelData ScaledWorld(const MissionScale& scale)
{
    const WorldPlan plan = PlanWorld(scale);
    FourDsModelData world;
    for (int t = 0; t < scale.textures; ++t)
        world.materials.push_back(TexturedMaterial(TextureName(t)));
    const int columns = std::max(1, static_cast<int>(std::sqrt(double(plan.visuals))));
    for (int i = 0; i < plan.visuals; ++i) {
        // Every third building is an annex standing on the one before it.
        const bool annex = i % 3 == 2;
        const auto parent = static_cast<std::uint16_t>(annex ? world.frames.size() : 0);
        const Vector3 at = annex ? Vector3{6.0f, 0.0f, 0.0f} : GridPosition(i, columns, 14.0f);
        FourDsFrame building = VisualFrame(Numbered("block_", i, ""), parent, at, BuildingLods(i, plan.cells, scale.textures));
        building.rotation = RotationAbout({0, 1, 0}, float(i % 4) * 90.0f);
        world.frames.push_back(std::move(building));
    }
    const float extent = float(columns) * 7.0f;
    for (int s = 0; s < plan.sectors; ++s)
        world.frames.push_back(BoxSector(Numbered("sector_", s, ""), 0, {-extent, -1, -extent}, {extent, 60, extent},
                                         {-extent + float(s), extent - float(s)}));
    for (int d = 0; d < plan.dummies; ++d)
        world.frames.push_back(DummyFrame(Numbered("spot_", d, ""), 0, GridPosition(d * 17, columns, 14.0f),
                                          {{-1, 0, -1}, {1, 2, 1}}));
    return world;
}

FourDsModelData ScaledProp(int index, int textures)
{
    FourDsModelData model;
    model.materials = {TexturedMaterial(TextureName(index % textures)),
                       TexturedMaterial(TextureName((index * 3 + 1) % textures))};
    CMeshBuilder body, top, far;
    body.AddBox({-0.5f, 0, -0.5f}, {0.5f, 1.0f + float(index % 5) * 0.3f, 0.5f}, 1, 1.0f, 2 + index % 4);
    top.AddCylinder({0, 0, 0}, 0.3f, 0.4f, 8 + index % 12, 2);
    far.AddBox({-0.5f, 0, -0.5f}, {0.5f, 1.0f, 0.5f}, 1);
    model.frames.push_back(VisualFrame("body", 0, {}, {body.Build(0.0f), far.Build(60.0f)}));
    model.frames.push_back(VisualFrame("top", 1, {0, 1.0f, 0}, {top.Build(0.0f)}));
    return model;
}

std::string ScriptLines(int index, int lineCount)
{
    std::vector<std::string> lines;
    lines.push_back(Numbered("// script ", index, ""));
    for (int i = 1; i < lineCount; ++i)
        lines.push_back("  call step_" + std::to_string((index + i) % 97) + ", " + std::to_string(i * 10));
    return CrLfLines(lines);
}

SceneThing ScaledThing(int index, const MissionScale& scale, int columns)
{
    static constexpr std::int32_t kOtherKinds[] = {thing::kBlock2, thing::kBlock4, thing::kData6, thing::kData12,
                                                   thing::kData14, thing::kText1000, thing::kPlain, thing::kText1003};
    SceneThing t;
    t.name = Numbered("thing_", index, "");
    t.translation = GridPosition(index, columns, 3.0f);
    t.rotation = RotationAbout({0, 1, 0}, float(index % 360));
    t.sector = "sector_0000";
    if (index % 8 != 7) {
        t.kind = thing::kModel;
        t.modelName = ModelName(index % scale.models) + ".i3d";
        return t;
    }
    t.kind = kOtherKinds[(index / 8) % std::size(kOtherKinds)];
    t.payload = std::string(t.kind == thing::kData6 ? 24 : 16, static_cast<char>(index));
    t.text4090 = "text";
    t.block2.texts4046 = {"weapon", "route"};
    t.block4.textsB200 = {"waypoint"};
    return t;
}

SceneFileData ScaledScene(const MissionScale& scale)
{
    SceneFileData scene = SceneWithGameHeader();
    const int columns = std::max(1, static_cast<int>(std::sqrt(double(scale.things))));
    for (int i = 0; i < scale.things; ++i)
        scene.things.push_back(ScaledThing(i, scale, columns));
    for (int i = 0; i < scale.thingData; ++i) {
        SceneThingData d;
        d.kind = i % 5 == 4 ? thingdata::kScript27 : thingdata::kScript;
        d.name = scene.things[std::size_t(i * 5) % scene.things.size()].name;
        d.script = ScriptLines(i, 5 + i % 11);
        scene.thingData.push_back(std::move(d));
    }
    for (int i = 0; i < scale.missionScripts; ++i)
        scene.missionScripts.push_back({1, Numbered("mission_", i, ""), ScriptLines(i, 20)});
    scene.dataAE02 = std::string(32, '\x5A');
    return scene;
}

std::string InstallPath(const std::string& relative)
{
    return std::string(kDemoInstallPath) + "/" + relative;
}

}  // namespace

FileMap ScaledGameFiles(const MissionScale& scale)
{
    FileMap files;
    files["system.reg"] = DemoSystemReg(kDemoInstallFolder);
    for (int t = 0; t < scale.textures; ++t)
        files[InstallPath("Maps/" + TextureName(t))] = WriteBitmap(ScaledTexture(t, scale.textureSize));
    for (int m = 0; m < scale.models; ++m)
        files[InstallPath("Models/" + ModelName(m) + ".4DS")] = Write4ds(ScaledProp(m, scale.textures));
    const std::string mission = InstallPath(std::string("Missions/") + kScaledMission + "/");
    files[mission + "scene.4ds"] = Write4ds(ScaledWorld(scale));
    files[mission + "scene2.bin"] = ScaledSceneFile(scale);
    return files;
}

std::string ScaledSceneFile(const MissionScale& scale)
{
    return WriteScene2(ScaledScene(scale));
}

WorldCounts CountWorld(const MissionScale& scale)
{
    const FourDsModelData world = ScaledWorld(scale);
    WorldCounts counts;
    counts.frames = world.frames.size();
    counts.materials = world.materials.size();
    for (const FourDsFrame& f : world.frames) {
        if (f.lods.empty())
            continue;
        for (const FourDsFaceGroup& group : f.lods.front().groups)
            counts.triangles += group.faces.size();
    }
    return counts;
}

}  // namespace demo
