#pragma once
// A mission's object file "scene2.bin": the scene chunk 0x4C53 holding a header, five
// fixed sections, the thing list, the thing-data list, the optional section 0xAE02
// and the mission-script list. Every element is written in the layout its kind has.

#include "core/Geometry.h"
#include "tools/demo/FourDsWriter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace demo {

class CBinaryWriter;

namespace thing {
constexpr std::int32_t kBlock2 = 2;       // block 0x4040
constexpr std::int32_t kBlock4 = 4;       // block 0x4060
constexpr std::int32_t kData6 = 6;        // 24 bytes under 0x4050
constexpr std::int32_t kModel = 9;        // model name 0x2012
constexpr std::int32_t kData12 = 12;      // bytes under 0x4083
constexpr std::int32_t kData14 = 14;      // bytes under 0xB151
constexpr std::int32_t kText1000 = 0x1000;  // text 0x4090 and bytes under 0x40A0
constexpr std::int32_t kData1001 = 0x1001;  // 236 bytes under 0xB401, name only otherwise
constexpr std::int32_t kPlain = 0x1002;     // no 0x4011 and no marking chunk
constexpr std::int32_t kText1003 = 0x1003;  // text 0x4090 and bytes under 0xB110
}  // namespace thing

struct Kind2Block {
    std::uint32_t value4041 = 0;
    std::array<std::uint8_t, 12> data0026{};
    std::uint32_t value4042 = 0;
    std::array<std::uint8_t, 8> data4043{};
    std::array<std::uint8_t, 8> data4044{};
    std::array<std::uint16_t, 2> words4045{};
    std::vector<std::string> texts4046;
};

struct Kind4Block {
    std::string text0010;
    std::uint32_t value4061 = 0;
    std::uint32_t value4062 = 0;
    std::uint32_t value4063 = 0;
    std::array<std::uint8_t, 8> data4064{};
    std::array<std::uint8_t, 16> data4068{};
    bool has4066 = false;
    std::uint32_t valueB800 = 0;
    std::vector<std::string> textsB200;
    std::optional<std::string> textB201;
};

struct SceneThing {
    std::int32_t kind = thing::kPlain;  // a kind outside the table is written with its 0x4011 only
    std::string name;
    Vector3 translation;
    Quaternion rotation;
    Vector3 scale{1.0f, 1.0f, 1.0f};
    std::array<std::uint8_t, 12> data002C{};
    std::optional<std::string> sector;
    std::string modelName;    // kind 9, with its extension
    std::string text4090;     // kinds 0x1000 and 0x1003
    std::string payload;      // the raw data of kinds 6 (24 bytes), 12, 14, 0x1000, 0x1001 (236), 0x1003
    Kind2Block block2;
    Kind4Block block4;
    bool marker4033 = false;
};

namespace thingdata {
constexpr std::int32_t kScript = 5;
constexpr std::int32_t kScript27 = 27;
}  // namespace thingdata

struct SceneThingData {
    std::int32_t kind = thingdata::kScript;
    std::string name;  // links it to the thing of the same name
    std::uint32_t value1 = 0;
    std::uint32_t value2 = 0;
    std::uint16_t word3 = 0;
    std::string script;               // kinds 5 and 27
    std::array<std::uint8_t, 79> data27{};
    std::string raw;                  // the raw kinds' content
};

struct SceneMissionScript {
    std::uint8_t flag = 1;
    std::string name;
    std::string script;
};

struct SceneFileData {
    std::uint16_t headerWord1 = 0;
    std::uint16_t headerWord2 = 0;
    std::string headerText;
    std::array<std::uint8_t, 8> dataAFFF{};
    std::array<std::uint8_t, 12> data3200{};
    std::uint32_t value3010 = 0;
    std::uint32_t value3011 = 0;
    std::array<std::uint8_t, 8> data3211{};
    std::optional<std::string> dataAE02;
    std::vector<SceneThing> things;
    std::vector<SceneThingData> thingData;
    std::vector<SceneMissionScript> missionScripts;
};

// The whole file. Throws std::invalid_argument for a payload that does not fit its kind.
std::string WriteScene2(const SceneFileData& scene);

// The pieces, for files put together by hand.
void WriteSceneHeaderAndFixedSections(CBinaryWriter& out, const SceneFileData& scene);
void WriteThingElement(CBinaryWriter& out, const SceneThing& t);
void WriteThingDataElement(CBinaryWriter& out, const SceneThingData& d);
void WriteMissionScriptElement(CBinaryWriter& out, const SceneMissionScript& s);

// Lines joined with the CR LF line ends of the game's scripts.
std::string CrLfLines(const std::vector<std::string>& lines);

}  // namespace demo
