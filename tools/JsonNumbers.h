#pragma once
// Floats in the JSON output read back to the same 32-bit value: the shortest decimal
// that round-trips the float is parsed as a double, which the JSON writer prints
// in its own shortest form, so 0.1f prints as 0.1 rather than 0.100000001490116.

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tool {

inline double JsonFloat(float value)
{
    if (!std::isfinite(value))
        return 0.0;  // JSON has no spelling for infinities and NaN
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *result.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

}  // namespace tool
