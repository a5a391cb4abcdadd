#include "platform/CodePage.h"

#include "platform/Registry.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace platform {
namespace {

using UpperHalf = std::array<char16_t, 128>;

// The characters of bytes 0x80 to 0xFF. Bytes the code page leaves undefined hold
// the C1 control of the same value, which keeps every byte round-tripping.
constexpr UpperHalf kCp1250{
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

constexpr UpperHalf kCp1251{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Latin-1 from 0xA0 on.
constexpr UpperHalf MakeCp1252()
{
    UpperHalf table{
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
    };
    for (std::size_t i = 0x20; i < table.size(); ++i)
        table[i] = static_cast<char16_t>(0x80 + i);
    return table;
}
constexpr UpperHalf kCp1252 = MakeCp1252();

const UpperHalf& TableFor(int codePage)
{
    switch (codePage) {
    case 1250:
        return kCp1250;
    case 1251:
        return kCp1251;
    default:
        return kCp1252;
    }
}

int g_codePage = 0;

constexpr const char* kCodePageVariable = "VERDAX_CODEPAGE";

bool IsHandled(int codePage)
{
    return codePage == 1250 || codePage == 1251 || codePage == 1252;
}

// The code page VERDAX_CODEPAGE names; nothing when it is unset or empty, or names
// none of the three.
std::optional<int> ChosenCodePage()
{
    const char* value = std::getenv(kCodePageVariable);
    if (!value || !*value)
        return std::nullopt;
    for (int codePage : {1250, 1251, 1252}) {
        if (std::string_view(value) == std::to_string(codePage))
            return codePage;
    }
    return std::nullopt;
}

// The prefix's code page, read from its system.reg now.
std::optional<int> PrefixCodePage()
{
    const auto codePage = PrefixAnsiCodePage(WinePrefix());
    if (codePage && IsHandled(*codePage))
        return codePage;
    return std::nullopt;
}

std::string LanguageOf(std::string_view locale)
{
    std::string language;
    for (char c : locale) {
        if (!std::isalpha(static_cast<unsigned char>(c)))
            break;
        language += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return language;
}

bool IsOneOf(const std::string& language, std::initializer_list<std::string_view> languages)
{
    return std::ranges::find(languages, language) != languages.end();
}

}  // namespace

int CodePageForLocale(std::string_view locale)
{
    const std::string language = LanguageOf(locale);
    const bool latinScript = locale.find("@latin") != std::string_view::npos;
    if (language == "sr")
        return latinScript ? 1250 : 1251;
    if (IsOneOf(language, {"ru", "uk", "be", "bg", "mk"}))
        return 1251;
    if (IsOneOf(language, {"cs", "pl", "hu", "sk", "sl", "hr", "ro", "bs", "sq"}))
        return 1250;
    return 1252;
}

std::string CodePageSettingError()
{
    const char* value = std::getenv(kCodePageVariable);
    if (!value || !*value || ChosenCodePage())
        return {};
    return std::string(kCodePageVariable) + " is \"" + value + "\": it must be 1250, 1251 or 1252 (or unset)";
}

int AnsiCodePage()
{
    return g_codePage ? g_codePage : ChooseAnsiCodePage();
}

int ChooseAnsiCodePage()
{
    if (const auto chosen = ChosenCodePage())
        return *chosen;
    if (const std::string error = CodePageSettingError(); !error.empty())
        throw std::runtime_error(error);
    if (const auto prefix = PrefixCodePage())
        return *prefix;
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (const char* value = std::getenv(variable); value && *value)
            return CodePageForLocale(value);
    }
    return 1252;
}

void SetAnsiCodePage(int codePage)
{
    g_codePage = codePage;
}

int TakeAnsiCodePage()
{
    SetAnsiCodePage(ChooseAnsiCodePage());
    return g_codePage;
}

char32_t ToUnicode(unsigned char byte, int codePage)
{
    return byte < 0x80 ? byte : TableFor(codePage)[byte - 0x80];
}

char FromUnicode(char32_t codePoint, int codePage)
{
    if (codePoint < 0x80)
        return static_cast<char>(codePoint);
    const auto& table = TableFor(codePage);
    const auto it = std::ranges::find(table, codePoint);
    return it == table.end() ? '?' : static_cast<char>(0x80 + (it - table.begin()));
}

std::string ToUtf8(std::string_view ansi)
{
    return ToUtf8(ansi, AnsiCodePage());
}

std::string ToUtf8(std::string_view ansi, int codePage)
{
    std::string out;
    out.reserve(ansi.size());
    for (unsigned char c : ansi)
        unicode::AppendUtf8(out, ToUnicode(c, codePage));
    return out;
}

std::string FromUtf8(std::string_view utf8)
{
    return FromUtf8(utf8, AnsiCodePage());
}

std::string FromUtf8(std::string_view utf8, int codePage)
{
    std::string out;
    out.reserve(utf8.size());
    for (char32_t c : unicode::DecodeUtf8(utf8))  // escaped bad bytes fall outside every table: '?'
        out += FromUnicode(c, codePage);
    return out;
}

namespace {

using ByteTable = std::array<char, 256>;

ByteTable MakeFoldTable(int codePage)
{
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        const char32_t lower = unicode::FoldCase(ToUnicode(static_cast<unsigned char>(b), codePage));
        const char folded = FromUnicode(lower, codePage);
        const bool held = folded != '?' || lower == U'?';
        table[static_cast<std::size_t>(b)] = held ? folded : static_cast<char>(b);
    }
    return table;
}

const ByteTable& FoldTable(int codePage)
{
    static const ByteTable k1250 = MakeFoldTable(1250);
    static const ByteTable k1251 = MakeFoldTable(1251);
    static const ByteTable k1252 = MakeFoldTable(1252);
    switch (codePage) {
    case 1250:
        return k1250;
    case 1251:
        return k1251;
    default:
        return k1252;
    }
}

}  // namespace

std::string FoldCaseAnsi(std::string_view ansi, int codePage)
{
    const ByteTable& table = FoldTable(codePage);
    std::string out(ansi.size(), '\0');
    std::ranges::transform(ansi, out.begin(), [&table](char c) { return table[static_cast<unsigned char>(c)]; });
    return out;
}

std::string FoldCaseAnsi(std::string_view ansi)
{
    return FoldCaseAnsi(ansi, AnsiCodePage());
}

std::string FromUtf16(std::u16string_view units, int codePage)
{
    std::string out;
    out.reserve(units.size());
    for (char32_t c : unicode::DecodeUtf16(units))
        out += FromUnicode(c, codePage);
    return out;
}

}  // namespace platform
