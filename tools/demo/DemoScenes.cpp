#include "tools/demo/DemoScenes.h"

#include "tools/demo/CBinaryWriter.h"
#include "tools/demo/MeshBuilder.h"

namespace demo {
namespace {

constexpr Vector3 kUp{0.0f, 1.0f, 0.0f};

template <std::size_t N>
std::array<std::uint8_t, N> Pattern(std::uint8_t start)
{
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<std::uint8_t>(start + i * 7);
    return bytes;
}

std::string PatternText(std::size_t size, std::uint8_t start)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(start + i * 13);
    return bytes;
}

SceneThing Placed(std::int32_t kind, std::string name, Vector3 at, float turnDegrees = 0.0f)
{
    SceneThing t;
    t.kind = kind;
    t.name = std::move(name);
    t.translation = at;
    t.rotation = RotationAbout(kUp, turnDegrees);
    t.data002C = Pattern<12>(static_cast<std::uint8_t>(t.name.size()));
    return t;
}

SceneThing WithModel(std::string name, std::string model, Vector3 at, float turnDegrees = 0.0f)
{
    SceneThing t = Placed(thing::kModel, std::move(name), at, turnDegrees);
    t.modelName = std::move(model);
    t.sector = "sector_town";
    return t;
}

void AddModelThings(std::vector<SceneThing>& things)
{
    const Vector3 crates[] = {{-4, 0, -50}, {-5.2f, 0, -50}, {-4.6f, 1, -50}, {3, 0, 62}};
    for (std::size_t i = 0; i < std::size(crates); ++i)
        things.push_back(WithModel("crate_" + std::to_string(i + 1), "crate.i3d", crates[i], float(i) * 15.0f));
    const Vector3 barrels[] = {{5, 0, -47}, {6, 0, -47.5f}, {-2, 0.3f, 66}};
    for (std::size_t i = 0; i < std::size(barrels); ++i)
        things.push_back(WithModel("barrel_" + std::to_string(i + 1), "barrel.i3d", barrels[i]));
    const Vector3 trees[] = {{-40, 0, -40}, {-50, 0, 10}, {45, 0, -5}, {50, 0, 50}, {-15, 0, 55}, {60, 0, -60}};
    for (std::size_t i = 0; i < std::size(trees); ++i) {
        SceneThing tree = WithModel("tree_" + std::to_string(i + 1), "tree.i3d", trees[i], float(i) * 50.0f);
        const float size = 0.8f + 0.1f * float(i);
        tree.scale = {size, size, size};
        things.push_back(tree);
    }
    things.push_back(WithModel("lamp_gate", "lamp.i3d", {-6, 0, 8}));
    things.push_back(WithModel("lamp_square", "lamp.i3d", {8, 0, -8}));
    things.push_back(WithModel("car_player", "car.i3d", {-8, 0, -4}, 90.0f));
    things.push_back(WithModel("bench_square", "bench", {15, 0, 7}, 180.0f));  // a model name without extension
    things.push_back(WithModel("statue_mayor", "statue.i3d", {0, 0, 20}));     // no such model: a marker
}

Kind2Block GuardBlock(std::uint32_t strength, std::vector<std::string> texts)
{
    Kind2Block block;
    block.value4041 = strength;
    block.data0026 = Pattern<12>(3);
    block.value4042 = 100;
    block.data4043 = Pattern<8>(5);
    block.data4044 = Pattern<8>(9);
    block.words4045 = {2, 7};
    block.texts4046 = std::move(texts);
    return block;
}

Kind4Block TruckBlock()
{
    Kind4Block block;
    block.text0010 = "truck_route_a";
    block.value4061 = 1;
    block.value4062 = 60;
    block.value4063 = 3;
    block.data4064 = Pattern<8>(17);
    block.data4068 = Pattern<16>(23);
    block.has4066 = true;
    block.valueB800 = 0x00FF8000;
    block.textsB200 = {"waypoint_dock", "waypoint_square"};
    block.textB201 = "garage";
    return block;
}

void AddMarkerThings(std::vector<SceneThing>& things)
{
    SceneThing gate = Placed(thing::kBlock2, "guard_gate", {-4, 0, 14}, 180.0f);
    gate.block2 = GuardBlock(80, {"pistol", "patrol_gate"});
    gate.sector = "sector_town";
    things.push_back(gate);
    SceneThing tower = Placed(thing::kBlock2, "guard_tower", {30, 24.5f, 28}, 225.0f);
    tower.block2 = GuardBlock(60, {"rifle", "binoculars", "watch_harbour"});
    things.push_back(tower);
    SceneThing truck = Placed(thing::kBlock4, "truck_delivery", {-20, 0, -45}, 90.0f);
    truck.block4 = TruckBlock();
    things.push_back(truck);
    SceneThing door = Placed(thing::kData6, "door_warehouse", {0, 0, -47.9f});
    door.payload = PatternText(24, 1);
    things.push_back(door);
    SceneThing trigger = Placed(thing::kData12, "trigger_dock", {0, 0.5f, 65});
    trigger.payload = PatternText(20, 40);
    trigger.scale = {12, 3, 18};
    things.push_back(trigger);
    SceneThing sound = Placed(thing::kData14, "sound_sea", {0, 1, 80});
    sound.payload = PatternText(9, 90);
    things.push_back(sound);
    SceneThing light = Placed(thing::kText1000, "light_square", {12, 6, 12});
    light.text4090 = "omni warm";
    light.payload = PatternText(16, 120);
    light.sector = "sector_town";
    things.push_back(light);
    SceneThing weather = Placed(thing::kData1001, "weather", {});
    weather.payload = PatternText(236, 7);
    things.push_back(weather);
    for (int i = 0; i < 4; ++i) {
        SceneThing waypoint = Placed(thing::kPlain, "waypoint_" + std::to_string(i + 1),
                                     {i < 2 ? -12.0f : 12.0f, 0, (i % 2) ? -12.0f : 12.0f});
        if (i == 0)
            waypoint.sector = "sector_town";
        things.push_back(waypoint);
    }
    SceneThing camera = Placed(thing::kText1003, "cam_intro", {40, 15, 40}, 225.0f);
    camera.text4090 = "intro camera";
    camera.payload = PatternText(12, 200);
    things.push_back(camera);
    SceneThing pickup = Placed(3, "pickup_medkit", {2, 0.2f, 3});  // a kind outside the table
    pickup.marker4033 = true;
    things.push_back(pickup);
}

SceneThingData Script(std::string name, std::vector<std::string> lines)
{
    SceneThingData d;
    d.kind = thingdata::kScript;
    d.name = std::move(name);
    d.value1 = 1;
    d.value2 = static_cast<std::uint32_t>(lines.size());
    d.word3 = 0x0101;
    d.script = CrLfLines(lines);
    return d;
}

SceneThingData Raw(std::int32_t kind, std::string name, std::size_t size)
{
    SceneThingData d;
    d.kind = kind;
    d.name = std::move(name);
    d.raw = PatternText(size, static_cast<std::uint8_t>(kind));
    return d;
}

std::vector<SceneThingData> HarbourThingData()
{
    std::vector<SceneThingData> data;
    data.push_back(Script("guard_gate", {"// \xF7\xE0\xF1\xEE\xE2\xEE\xE9 \xF3 \xE2\xEE\xF0\xEE\xF2",  // "часовой у ворот"
                                         "dim_flt 2", "setflt 0, 0", "label 1", "  wait 500",
                                         "  if_actor_near player, 10, 2", "  goto 1", "label 2",
                                         "  actor_attack player", "end"}));
    data.push_back(Script("guard_tower", {"dim_flt 1", "label 1", "  actor_look_at harbour", "  wait 2000",
                                          "  goto 1", "end"}));
    data.push_back(Script("truck_delivery", {"label 1", "  vehicle_drive waypoint_dock", "  wait 10000",
                                             "  vehicle_drive waypoint_square", "  goto 1", "end"}));
    SceneThingData dock;
    dock.kind = thingdata::kScript27;
    dock.name = "trigger_dock";
    dock.data27 = Pattern<79>(1);
    dock.script = CrLfLines({"on_enter player", "  mission_objective 2", "  trigger_off", "end"});
    data.push_back(dock);
    data.push_back(Raw(8, "light_square", 12));
    data.push_back(Raw(18, "sound_sea", 7));
    data.push_back(Raw(2, "door_warehouse", 4));
    SceneThingData empty = Script("cam_intro", {});
    data.push_back(empty);
    // Names no thing: stays unlinked.
    data.push_back(Script("sniper_roof", {"// the sniper was removed from this mission", "end"}));
    return data;
}

std::vector<SceneMissionScript> HarbourMissionScripts()
{
    return {
        {1, "init", CrLfLines({"dim_flt 4", "weather_set clear", "camera_set cam_intro", "wait 3000",
                               "camera_unlock", "end"})},
        {1, "objectives", CrLfLines({"mission_objective 1, \"Reach the warehouse\"",
                                     "mission_objective 2, \"Check the dock\"", "end"})},
        {0, "debug", CrLfLines({"// disabled in the game", "end"})},
    };
}

}  // namespace

SceneFileData SceneWithGameHeader()
{
    SceneFileData scene;
    scene.headerWord1 = 0x0100;
    scene.headerWord2 = 0x0002;
    scene.headerText = "Dravo mission scene - exported by the mission builder";
    scene.dataAFFF = Pattern<8>(0x10);
    scene.data3200 = Pattern<12>(0x20);
    scene.value3010 = 1000;
    scene.value3011 = 3;
    scene.data3211 = Pattern<8>(0x30);
    return scene;
}

SceneFileData HarbourTownScene()
{
    SceneFileData scene = SceneWithGameHeader();
    AddModelThings(scene.things);
    AddMarkerThings(scene.things);
    scene.thingData = HarbourThingData();
    scene.dataAE02 = PatternText(20, 0x40);
    scene.missionScripts = HarbourMissionScripts();
    return scene;
}

SceneFileData OutpostScene()
{
    SceneFileData scene = SceneWithGameHeader();
    scene.things.push_back(WithModel("tree_1", "tree.i3d", {-6, 0, 4}));
    scene.things.push_back(WithModel("tree_2", "tree.i3d", {7, 0, -3}, 40.0f));
    scene.things.push_back(WithModel("crate_1", "crate.i3d", {0, 0, 0}, 10.0f));
    SceneThing guard = Placed(thing::kBlock2, "guard_outpost", {2, 0, 5}, 180.0f);
    guard.block2 = GuardBlock(50, {"rifle"});
    scene.things.push_back(guard);
    scene.things.push_back(Placed(thing::kPlain, "waypoint_1", {10, 0, 10}));
    scene.thingData.push_back(Script("guard_outpost", {"label 1", "  wait 1000", "  goto 1", "end"}));
    scene.missionScripts.push_back({1, "init", CrLfLines({"weather_set fog", "end"})});
    return scene;
}

// The names are the game's bytes, code page 1251, as a Russian installation holds them.
SceneFileData VillageScene()
{
    SceneFileData scene = SceneWithGameHeader();
    scene.things.push_back(WithModel("\xCA\xEE\xEB\xEE\xE4\xE5\xF6", "crate.i3d", {0, 0, 0}));  // "Колодец"
    scene.things.push_back(WithModel("\xD1\xF2\xE0\xF0\xFB\xE9 \xE4\xF3\xE1", "tree.i3d", {6, 0, -4}, 30.0f));  // "Старый дуб"
    SceneThing watchman = Placed(thing::kBlock2, "\xD1\xF2\xEE\xF0\xEE\xE6", {3, 0, 3}, 90.0f);  // "Сторож"
    watchman.block2 = GuardBlock(40, {"rifle"});
    scene.things.push_back(watchman);
    scene.things.push_back(Placed(thing::kPlain, "\xC4\xEE\xEC", {-5, 0, 5}));  // "Дом"
    scene.thingData.push_back(Script("\xD1\xF2\xEE\xF0\xEE\xE6", {"// \xEE\xE1\xF5\xEE\xE4", "end"}));  // "// обход"
    scene.missionScripts.push_back({1, "\xED\xE0\xF7\xE0\xEB\xEE", CrLfLines({"weather_set clear", "end"})});  // "начало"
    return scene;
}

std::string BrokenSceneFile()
{
    const SceneFileData scene = OutpostScene();
    CBinaryWriter out;
    out.BeginChunk(0x4C53);
    WriteSceneHeaderAndFixedSections(out, scene);
    out.BeginChunk(0x4000);
    WriteThingElement(out, scene.things[0]);
    WriteThingElement(out, scene.things[1]);
    // A thing's inner chunk where a whole element belongs.
    out.ChunkU32(0x4011, 9);
    out.EndChunk();
    out.EndChunk();
    return out.Take();
}

}  // namespace demo
