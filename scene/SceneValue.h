#pragma once
// One field's value of a scene object as a comparison reports it: a text in the
// game's code page, a whole number, a vector of floats kept bit for bit, or a flag
// (the data of an object, which is told apart only as "differs"; see
// SceneComparison.h).

#include <array>
#include <cstdint>
#include <string>
#include <variant>

// Up to four floats: a translation or a scale (3), a rotation as angle and axis (4).
// Equal only when every float has the same 32-bit pattern: 0 and -0 differ, and a
// NaN equals the same NaN.
struct SceneFloats {
    std::array<float, 4> values{};
    std::uint8_t count = 0;

    bool operator==(const SceneFloats& other) const;
};

using SceneValue = std::variant<std::string, std::int64_t, SceneFloats, bool>;

// The shortest decimal that reads back as the same float, as the JSON output of
// verdax-tool prints it: "0.1", "-0", "1e-07", "16777216"; "nan", "inf" and "-inf"
// for the values JSON has no spelling for.
std::string ShortestFloatText(float value);

// A value on one line: a text as it is (code page bytes), a number in decimal,
// floats as "[x, y, z]" each in its shortest form, a flag as "true" or "false".
std::string SceneValueText(const SceneValue& value);
