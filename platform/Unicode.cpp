#include "platform/Unicode.h"

#include <algorithm>

namespace platform::unicode {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEscapedByte = 0xDC00;

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the sequence that `lead` starts, and the bits it contributes; 0 when
// `lead` cannot start one.
int SequenceLength(unsigned char lead, char32_t& bits)
{
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        bits = lead & 0x1F;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        bits = lead & 0x0F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

// The smallest code point that needs a sequence of `length` bytes; shorter
// (overlong) spellings are refused.
char32_t MinimumFor(int length)
{
    return length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
}

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t code = 0;
        const int length = SequenceLength(lead, code);
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            valid = IsContinuation(next);
            code = (code << 6) | (next & 0x3F);
        }
        if (valid && length > 1)
            valid = code >= MinimumFor(length) && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!valid) {
            out.push_back(kEscapedByte + lead);
            ++i;
            continue;
        }
        out.push_back(code);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::u32string DecodeUtf16(std::u16string_view units)
{
    std::u32string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.push_back(kReplacement);
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacement;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

char32_t FoldCase(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c < 0xC0)
        return c;
    if (c <= 0xDE)  // Latin-1 capitals, except the multiplication sign
        return c == 0xD7 ? c : c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A: capitals and small letters alternate
        if (c == 0x178)
            return 0xFF;
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool isCapital = oddCapitals ? (c % 2 == 1) : (c % 2 == 0);
        return isCapital ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)  // Greek
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)  // Cyrillic Ѐ to Џ
        return c + 0x50;
    if (c >= 0x410 && c <= 0x42F)  // Cyrillic А to Я
        return c + 0x20;
    if (c == 0x490)  // Ґ
        return 0x491;
    return c;
}

std::u32string FoldCase(std::u32string text)
{
    std::ranges::transform(text, text.begin(), [](char32_t c) { return FoldCase(c); });
    return text;
}

bool EqualNoCase(std::u32string_view a, std::u32string_view b)
{
    return std::ranges::equal(a, b, {}, [](char32_t c) { return FoldCase(c); },
                              [](char32_t c) { return FoldCase(c); });
}

}  // namespace platform::unicode
