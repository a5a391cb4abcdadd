#pragma once
// Numbers in the edit fields of the property pages and the info form. They are
// formatted and read with the C runtime's current locale (the editor sets the
// user's at start-up), so the decimal separator is the user's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// At most 6 significant digits without trailing zeros, exponential only where
// plain notation would need more digits or leading zeros (printf's %g): 1.5,
// 0.333333, 0.0001, 1.23457e+06, 1.5e-05.
std::string FormatFieldNumber(float value);

// One decimal floating-point number with optional blanks around it that is a
// finite 32-bit float; nothing for letters, two numbers, "nan", "inf", hexadecimal
// or a value beyond the float range such as "1e999".
std::optional<float> ParseFieldNumber(std::string_view text);

// One unsigned decimal integer of 32 bits with optional blanks around it.
std::optional<std::uint32_t> ParseFieldUnsigned(std::string_view text);
