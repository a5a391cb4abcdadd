#include "tools/demo/DemoModels.h"

#include "tools/demo/MeshBuilder.h"

namespace demo {
namespace {

// Material numbers of the harbour town's world, 1-based as face groups name them.
enum WorldMaterial : std::uint16_t {
    kGrass = 1,
    kRoad,
    kBrick,
    kRoof,
    kPlank,
    kWindow,
    kMetal,
    kRust,  // its bitmap is not in the maps folder
    kConcrete,
    kPlainShort,
    kPlainColour,
    kLeaves,
    kPaint,
};

constexpr Vector3 kUp{0.0f, 1.0f, 0.0f};
constexpr std::uint64_t kFileTime = 0x01D5A2B3C4D5E6F7ull;

std::vector<FourDsMaterial> WorldMaterials()
{
    std::vector<FourDsMaterial> materials;
    materials.push_back(TexturedMaterial("grass.bmp"));
    materials.push_back(TexturedMaterial("road.bmp"));
    materials.push_back(TexturedMaterial("brick.bmp"));
    materials.push_back(TexturedMaterial("Roof.BMP"));  // the file on disk is roof.bmp
    materials.push_back(TexturedMaterial("plank.bmp"));
    FourDsMaterial window = TexturedMaterial("window.bmp");
    window.flags |= material::kAlphaTexture;
    window.alphaTexture = "window_a.bmp";
    materials.push_back(window);
    FourDsMaterial metal = TexturedMaterial("metal.bmp");
    metal.flags |= material::kEnvironment;
    metal.environmentTexture = "sky_env.bmp";
    materials.push_back(metal);
    materials.push_back(TexturedMaterial("rust.bmp"));
    materials.push_back(TexturedMaterial("concrete.bmp"));
    FourDsMaterial shortForm;
    shortForm.flags = material::kShortForm;
    materials.push_back(shortForm);
    FourDsMaterial colourOnly;
    colourOnly.flags = material::kColourOnly;
    colourOnly.diffuse = {0.8f, 0.8f, 0.85f};
    materials.push_back(colourOnly);
    FourDsMaterial leaves = TexturedMaterial("leaves.bmp");
    leaves.flags |= material::kAnimated;
    materials.push_back(leaves);
    FourDsMaterial paint = TexturedMaterial("paint.bmp");
    paint.flags |= material::kAlphaTexture | 0x01000000u;  // alpha flagged, but no alpha name stored
    materials.push_back(paint);
    return materials;
}

FourDsLod GroundLod(float half, int cells, float distance)
{
    CMeshBuilder mesh;
    mesh.AddSubdividedQuad({-half, 0, half}, {half, 0, half}, {half, 0, -half}, {-half, 0, -half}, kGrass, cells, 8.0f);
    return mesh.Build(distance);
}

FourDsLod RoadsLod()
{
    CMeshBuilder mesh;
    const float y = 0.02f, half = 75.0f, width = 4.0f;
    mesh.AddSubdividedQuad({-width, y, half}, {width, y, half}, {width, y, -half}, {-width, y, -half}, kRoad, 6, 8.0f);
    mesh.AddSubdividedQuad({-half, y, -width}, {-half, y, width}, {half, y, width}, {half, y, -width}, kRoad, 6, 8.0f);
    return mesh.Build(0.0f);
}

// A house body: brick walls, windows and a door on the front (+z), a flat ceiling.
std::vector<FourDsLod> HouseLods(float width, float height, float depth)
{
    const float hx = width / 2, hz = depth / 2, front = hz + 0.03f;
    CMeshBuilder detailed;
    detailed.AddBox({-hx, 0, -hz}, {hx, height, hz}, kBrick, 2.0f, 2);
    for (float x : {-hx + 1.5f, hx - 3.0f}) {
        for (float y : {1.2f, height / 2 + 1.0f})
            detailed.AddQuad({x, y, front}, {x + 1.5f, y, front}, {x + 1.5f, y + 1.5f, front}, {x, y + 1.5f, front},
                             kWindow, 1.5f);
    }
    detailed.AddQuad({-0.7f, 0, front}, {0.7f, 0, front}, {0.7f, 2.2f, front}, {-0.7f, 2.2f, front}, kPlank, 1.0f);
    CMeshBuilder simple;
    simple.AddBox({-hx, 0, -hz}, {hx, height, hz}, kBrick, 2.0f);
    return {detailed.Build(0.0f), simple.Build(120.0f)};
}

FourDsLod RoofLod(float width, float depth)
{
    CMeshBuilder mesh;
    mesh.AddGableRoof({-width / 2 - 0.4f, 0, -depth / 2 - 0.4f}, {width / 2 + 0.4f, 0, depth / 2 + 0.4f}, 3.0f, kRoof);
    return mesh.Build(0.0f);
}

std::vector<FourDsLod> TowerLods()
{
    std::vector<FourDsLod> lods;
    const int cellsPerLod[] = {4, 2, 1};
    const float distances[] = {0.0f, 80.0f, 200.0f};
    for (int i = 0; i < 3; ++i) {
        CMeshBuilder mesh;
        mesh.AddBox({-3, 0, -3}, {3, 24, 3}, kConcrete, 3.0f, cellsPerLod[i]);
        lods.push_back(mesh.Build(distances[i]));
    }
    return lods;
}

FourDsLod CylinderLod(float radius, float height, int segments, std::uint16_t material)
{
    CMeshBuilder mesh;
    mesh.AddCylinder({0, 0, 0}, radius, height, segments, material);
    return mesh.Build(0.0f);
}

FourDsLod WarehouseLod()
{
    CMeshBuilder mesh;
    mesh.AddBox({-10, 0, -7}, {10, 8, 7}, kRust, 4.0f, 2);
    mesh.AddQuad({-10.5f, 8.01f, 7.5f}, {10.5f, 8.01f, 7.5f}, {10.5f, 8.01f, -7.5f}, {-10.5f, 8.01f, -7.5f}, kPlank,
                 2.0f);
    return mesh.Build(0.0f);
}

FourDsLod SignLod()
{
    CMeshBuilder mesh;
    mesh.AddQuad({-3, 0, 0}, {3, 0, 0}, {3, 1.5f, 0}, {-3, 1.5f, 0}, kPaint, 6.0f);
    return mesh.Build(0.0f);
}

FourDsLod FountainLod()
{
    CMeshBuilder mesh;
    mesh.AddCylinder({0, 0, 0}, 3.0f, 0.8f, 16, kPlainColour);
    mesh.AddCylinder({0, 0.8f, 0}, 0.5f, 1.5f, 8, kConcrete);
    return mesh.Build(0.0f);
}

FourDsLod TreeLod()
{
    CMeshBuilder mesh;
    mesh.AddCylinder({0, 0, 0}, 0.3f, 2.5f, 6, kPlank);
    mesh.AddCone({0, 2.0f, 0}, 2.2f, 5.0f, 10, kLeaves);
    return mesh.Build(0.0f);
}

FourDsLod LampPostLod()
{
    CMeshBuilder mesh;
    mesh.AddCylinder({0, 0, 0}, 0.12f, 4.5f, 6, kMetal);
    mesh.AddBox({-0.35f, 4.5f, -0.35f}, {0.35f, 4.9f, 0.35f}, kPlainShort);
    return mesh.Build(0.0f);
}

FourDsLod DockLod()
{
    CMeshBuilder mesh;
    mesh.AddBox({-6, -0.3f, -10}, {6, 0, 10}, kPlank, 2.0f, 3);
    return mesh.Build(0.0f);
}

void AddHouse(std::vector<FourDsFrame>& frames, const std::string& name, Vector3 position, float turnDegrees,
              Vector3 scale)
{
    FourDsFrame body = VisualFrame(name, 0, position, HouseLods(10, 6, 8));
    body.rotation = RotationAbout(kUp, turnDegrees);
    body.scale = scale;
    body.userText = "building";
    frames.push_back(body);
    const auto parent = static_cast<std::uint16_t>(frames.size());
    frames.push_back(VisualFrame(name + "_roof", parent, {0, 6, 0}, {RoofLod(10, 8)}));
}

std::vector<FourDsFrame> TownFrames()
{
    std::vector<FourDsFrame> frames;
    frames.push_back(VisualFrame("ground", 0, {}, {GroundLod(80, 16, 0.0f), GroundLod(80, 1, 300.0f)}));
    frames.push_back(VisualFrame("roads", 1, {}, {RoadsLod()}));
    AddHouse(frames, "house01", {-25, 0, -20}, 0.0f, {1, 1, 1});
    AddHouse(frames, "house02", {25, 0, -22}, 90.0f, {1, 1, 1});
    AddHouse(frames, "house03", {-25, 0, 25}, 180.0f, {1.2f, 1, 1});
    frames.push_back(VisualFrame("tower", 0, {30, 0, 28}, TowerLods()));
    frames.push_back(VisualFrame("tower_antenna", 9, {0, 24, 0}, {CylinderLod(0.15f, 6.0f, 6, kMetal)}));
    frames.push_back(VisualFrame("warehouse", 0, {0, 0, -55}, {WarehouseLod()}));
    frames.push_back(VisualFrame("warehouse_sign", 11, {0, 5.5f, 7.05f}, {SignLod()}));
    frames.push_back(VisualFrame("fountain", 0, {12, 0, 12}, {FountainLod()}));
    FourDsFrame shed = VisualFrame("shed", 0, {-45, 0, 0}, {});
    shed.instance = 7;  // shares house03's mesh in the game; the editor draws nothing for it
    frames.push_back(shed);
    FourDsFrame tree = VisualFrame("big_tree", 0, {-8, 0, 40}, {TreeLod()});
    tree.visualKind = 4;
    tree.scale = {1.6f, 1.6f, 1.6f};
    frames.push_back(tree);
    frames.push_back(BoxSector("sector_town", 0, {-80, -1, -80}, {80, 40, 80}, {-80.0f, 80.0f}));
    frames.push_back(BoxSector("sector_warehouse", 11, {-10, 0, -7}, {10, 8, 7}, {10.0f}));
    frames.push_back(DummyFrame("spawn_player", 0, {0, 0, 10}, {{-0.5f, 0, -0.5f}, {0.5f, 1.8f, 0.5f}}));
    frames.push_back(DummyFrame("cam_start", 0, {40, 15, 40}, {{-0.2f, -0.2f, -0.2f}, {0.2f, 0.2f, 0.2f}}));
    frames.push_back(DummyFrame("lamps", 0, {}, {{-20, 0, -20}, {20, 5, 20}}));
    const auto lamps = static_cast<std::uint16_t>(frames.size());
    for (auto [name, x, z] : {std::tuple{"lamp_post_a", 6.0f, 6.0f}, {"lamp_post_b", -6.0f, -6.0f},
                              {"lamp_post_c", 6.0f, -30.0f}}) {
        frames.push_back(VisualFrame(name, lamps, {x, 0, z}, {LampPostLod()}));
    }
    frames.push_back(VisualFrame("dock", 0, {0, 0.3f, 70}, {DockLod()}));
    return frames;
}

FourDsModelData SingleMaterialModel(const std::string& texture)
{
    FourDsModelData model;
    model.timestamp = kFileTime;
    model.materials.push_back(TexturedMaterial(texture));
    return model;
}

FourDsModelData CrateModel()
{
    FourDsModelData model = SingleMaterialModel("crate.bmp");
    CMeshBuilder detailed, simple;
    detailed.AddBox({-0.5f, 0, -0.5f}, {0.5f, 1, 0.5f}, 1, 1.0f, 2);
    simple.AddBox({-0.5f, 0, -0.5f}, {0.5f, 1, 0.5f}, 1);
    model.frames.push_back(VisualFrame("crate", 0, {}, {detailed.Build(0.0f), simple.Build(40.0f)}));
    return model;
}

FourDsModelData BarrelModel()
{
    FourDsModelData model = SingleMaterialModel("metal.bmp");
    CMeshBuilder detailed, simple;
    detailed.AddCylinder({0, 0, 0}, 0.4f, 1.2f, 14, 1);
    simple.AddCylinder({0, 0, 0}, 0.4f, 1.2f, 6, 1);
    model.frames.push_back(VisualFrame("barrel", 0, {}, {detailed.Build(0.0f), simple.Build(30.0f)}));
    return model;
}

FourDsModelData TreeModel()
{
    FourDsModelData model;
    model.timestamp = kFileTime;
    model.materials = {TexturedMaterial("bark.bmp"), TexturedMaterial("leaves.bmp")};
    CMeshBuilder trunk, crown;
    trunk.AddCylinder({0, 0, 0}, 0.25f, 2.0f, 8, 1);
    crown.AddCone({0, 0, 0}, 1.8f, 4.0f, 12, 2);
    crown.AddCone({0, 2.0f, 0}, 1.3f, 3.0f, 12, 2);
    model.frames.push_back(VisualFrame("trunk", 0, {}, {trunk.Build(0.0f)}));
    model.frames.push_back(VisualFrame("crown", 1, {0, 1.6f, 0}, {crown.Build(0.0f)}));
    return model;
}

FourDsModelData LampModel()
{
    FourDsModelData model = SingleMaterialModel("metal.bmp");
    FourDsMaterial glass;
    glass.flags = material::kColourOnly;
    glass.emission = {1.0f, 0.9f, 0.6f};
    model.materials.push_back(glass);
    CMeshBuilder pole, head;
    pole.AddCylinder({0, 0, 0}, 0.1f, 4.0f, 8, 1);
    head.AddBox({-0.3f, 0, -0.3f}, {0.3f, 0.5f, 0.3f}, 2);
    model.frames.push_back(VisualFrame("pole", 0, {}, {pole.Build(0.0f)}));
    model.frames.push_back(VisualFrame("head", 1, {0, 4.0f, 0}, {head.Build(0.0f)}));
    model.frames.push_back(DummyFrame("light", 2, {0, 0.2f, 0}, {{-0.1f, -0.1f, -0.1f}, {0.1f, 0.1f, 0.1f}}));
    return model;
}

FourDsModelData CarModel()
{
    FourDsModelData model;
    model.timestamp = kFileTime;
    model.materials = {TexturedMaterial("paint.bmp"), TexturedMaterial("window.bmp"), TexturedMaterial("metal.bmp")};
    CMeshBuilder body, cabin;
    body.AddBox({-0.9f, 0.3f, -2.1f}, {0.9f, 1.0f, 2.1f}, 1, 1.0f, 2);
    cabin.AddBox({-0.8f, 0, -1.0f}, {0.8f, 0.7f, 0.9f}, 2);
    model.frames.push_back(VisualFrame("body", 0, {}, {body.Build(0.0f)}));
    model.frames.push_back(VisualFrame("cabin", 1, {0, 1.0f, -0.2f}, {cabin.Build(0.0f)}));
    for (auto [name, x, z] : {std::tuple{"wheel_fl", -0.9f, 1.3f}, {"wheel_fr", 0.9f, 1.3f},
                              {"wheel_rl", -0.9f, -1.3f}, {"wheel_rr", 0.9f, -1.3f}}) {
        FourDsFrame wheel = VisualFrame(name, 1, {x, 0.35f, z}, {CylinderLod(0.35f, 0.25f, 10, 3)});
        wheel.rotation = RotationAbout({0, 0, 1}, 90.0f);
        model.frames.push_back(wheel);
    }
    return model;
}

FourDsModelData BenchModel()
{
    FourDsModelData model = SingleMaterialModel("plank.bmp");
    CMeshBuilder mesh;
    mesh.AddBox({-1.0f, 0.45f, -0.25f}, {1.0f, 0.5f, 0.25f}, 1);
    mesh.AddBox({-0.9f, 0, -0.2f}, {-0.8f, 0.45f, 0.2f}, 1);
    mesh.AddBox({0.8f, 0, -0.2f}, {0.9f, 0.45f, 0.2f}, 1);
    model.frames.push_back(VisualFrame("bench", 0, {}, {mesh.Build(0.0f)}));
    return model;
}

}  // namespace

FourDsMaterial TexturedMaterial(std::string diffuse)
{
    FourDsMaterial m;
    m.diffuseTexture = std::move(diffuse);
    return m;
}

FourDsFrame VisualFrame(std::string name, std::uint16_t parent, Vector3 position, std::vector<FourDsLod> lods)
{
    FourDsFrame f;
    f.type = frame::kVisual;
    f.name = std::move(name);
    f.parent = parent;
    f.position = position;
    f.lods = std::move(lods);
    return f;
}

FourDsFrame DummyFrame(std::string name, std::uint16_t parent, Vector3 position, BoundingBox box)
{
    FourDsFrame f;
    f.type = frame::kDummy;
    f.name = std::move(name);
    f.parent = parent;
    f.position = position;
    f.box = box;
    return f;
}

FourDsFrame BoxSector(std::string name, std::uint16_t parent, const Vector3& lo, const Vector3& hi,
                      const std::vector<float>& portalsAtX)
{
    FourDsFrame f;
    f.type = frame::kSector;
    f.name = std::move(name);
    f.parent = parent;
    f.userText = "sector";
    FourDsSector& s = f.sector;
    s.flags = {1, 0, 0, 0, 0x10, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        s.vertices.push_back({(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z});
    s.faces = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
               {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    s.box = {lo, hi};
    for (float x : portalsAtX) {
        FourDsPortal portal;
        portal.plane = {1.0f, 0.0f, 0.0f, -x, 0.0f, 0.0f};
        const float midZ = (lo.z + hi.z) / 2;
        portal.vertices = {{x, lo.y, midZ - 3}, {x, lo.y, midZ + 3}, {x, lo.y + 4, midZ + 3}, {x, lo.y + 4, midZ - 3}};
        s.portals.push_back(portal);
    }
    return f;
}

FourDsModelData HarbourTownWorld()
{
    FourDsModelData model;
    model.timestamp = kFileTime;
    model.materials = WorldMaterials();
    model.frames = TownFrames();
    return model;
}

FourDsModelData FieldWorld()
{
    FourDsModelData model;
    model.timestamp = kFileTime;
    model.materials = {TexturedMaterial("grass.bmp")};
    model.frames.push_back(VisualFrame("field", 0, {}, {GroundLod(50, 8, 0.0f)}));
    return model;
}

std::vector<NamedModel> DemoThingModels()
{
    return {
        {"crate.4DS", CrateModel()},
        {"barrel.4DS", BarrelModel()},
        {"tree.4DS", TreeModel()},
        {"lamp.4DS", LampModel()},
        {"car.4DS", CarModel()},
        {"bench.4ds", BenchModel()},  // lower case on disk: found as the game asks, "bench.4DS"
    };
}

}  // namespace demo
