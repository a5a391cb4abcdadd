#include "scene/SceneValue.h"

#include <bit>
#include <charconv>

bool SceneFloats::operator==(const SceneFloats& other) const
{
    if (count != other.count)
        return false;
    for (std::uint8_t i = 0; i < count; ++i) {
        if (std::bit_cast<std::uint32_t>(values[i]) != std::bit_cast<std::uint32_t>(other.values[i]))
            return false;
    }
    return true;
}

std::string ShortestFloatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string SceneValueText(const SceneValue& value)
{
    struct Spell {
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(std::int64_t number) const { return std::to_string(number); }
        std::string operator()(bool flag) const { return flag ? "true" : "false"; }
        std::string operator()(const SceneFloats& floats) const
        {
            std::string text = "[";
            for (std::uint8_t i = 0; i < floats.count; ++i) {
                if (i > 0)
                    text += ", ";
                text += ShortestFloatText(floats.values[i]);
            }
            return text + "]";
        }
    };
    return std::visit(Spell{}, value);
}
