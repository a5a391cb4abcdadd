#include "game/CodePageConversion.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"

#include <cstdio>

namespace {

// The byte of `codePoint` in `codePage`; '?' stands for one the code page cannot
// hold, unless the character is '?' itself.
bool ToCodePage(char32_t codePoint, int codePage, std::string& out)
{
    const char byte = platform::FromUnicode(codePoint, codePage);
    if (byte == '?' && codePoint != U'?')
        return false;
    out += byte;
    return true;
}

// DecodeUtf8 spells a byte that starts no valid sequence as U+DC00 + byte.
bool IsEscapedByte(char32_t codePoint)
{
    return codePoint >= 0xDC80 && codePoint <= 0xDCFF;
}

}  // namespace

std::optional<std::string> RecodeText(std::string_view bytes, int from, int to, char32_t* refused)
{
    std::string out;
    out.reserve(bytes.size());
    for (const unsigned char byte : bytes) {
        const char32_t codePoint = platform::ToUnicode(byte, from);
        if (!ToCodePage(codePoint, to, out)) {
            if (refused)
                *refused = codePoint;
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, int codePage, char32_t* refused)
{
    std::string out;
    out.reserve(utf8.size());
    for (const char32_t codePoint : platform::unicode::DecodeUtf8(utf8)) {
        const bool malformed = IsEscapedByte(codePoint);
        if (malformed || !ToCodePage(codePoint, codePage, out)) {
            if (refused)
                *refused = malformed ? U'\uFFFD' : codePoint;
            return std::nullopt;
        }
    }
    return out;
}

std::string UnrepresentableMessage(char32_t character, int codePage)
{
    std::string shown;
    platform::unicode::AppendUtf8(shown, character);
    char number[16];
    std::snprintf(number, sizeof number, "%04x", static_cast<unsigned>(character));
    return "Символ «" + shown + "» (U+" + number + ") нельзя записать в кодовой странице игры (" +
           std::to_string(codePage) + ").";
}
