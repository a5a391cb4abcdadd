#include "core/NumberText.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSignificantDigits = 6;

std::string Printed(const char* format, double value)
{
    char text[64];
    const int n = std::snprintf(text, sizeof text, format, kSignificantDigits, value);
    return n > 0 ? std::string(text, static_cast<std::size_t>(n)) : std::string();
}

char DecimalPoint()
{
    const char* point = std::localeconv()->decimal_point;
    return point && *point ? *point : '.';
}

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Sign, digits, one decimal point, an exponent: the shape of a decimal number, so
// that strtof's words ("nan", "inf") and hexadecimal forms are refused.
bool LooksDecimal(std::string_view text, char point)
{
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t count = digits();
    if (i < text.size() && text[i] == point) {
        ++i;
        count += digits();
    }
    if (count == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == text.size();
}

}  // namespace

std::string FormatFieldNumber(float value)
{
    return Printed("%.*g", value);
}

std::optional<float> ParseFieldNumber(std::string_view text)
{
    const std::string number(Trimmed(text));
    if (!LooksDecimal(number, DecimalPoint()))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const float value = std::strtof(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value))
        return std::nullopt;
    if (errno == ERANGE && std::fabs(value) > 1.0f)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ParseFieldUnsigned(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
