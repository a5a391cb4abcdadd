#include "platform/Registry.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"

#include <cstdlib>
#include <fstream>

namespace platform {
namespace {

// A system.reg is a few tens of MiB at most; anything far beyond is not one.
constexpr std::uintmax_t kMaxRegistryFileSize = 256u << 20;
// The game reads the value into a buffer of 1024 bytes, its terminating NUL included.
constexpr std::size_t kMaxValueLength = 1023;

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::string_view kArchLine = "#arch=";

std::optional<std::string> ReadRegistryFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxRegistryFileSize)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

// Wine writes every non-ASCII character as a \x escape, but a file edited by hand
// may hold UTF-8; bytes that are not UTF-8 are taken as Latin-1.
void AppendRaw(std::u16string& out, std::string_view raw)
{
    for (char32_t c : unicode::DecodeUtf8(raw))
        AppendUtf16(out, c >= 0xDC80 && c <= 0xDCFF ? c - 0xDC00 : c);
}

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One escape of Wine's string format; `pos` stands after the backslash.
void AppendEscape(std::u16string& out, std::string_view line, std::size_t& pos)
{
    const char kind = line[pos++];
    switch (kind) {
    case 'a': out += u'\a'; return;
    case 'b': out += u'\b'; return;
    case 'e': out += u'\x1b'; return;
    case 'f': out += u'\f'; return;
    case 'n': out += u'\n'; return;
    case 'r': out += u'\r'; return;
    case 't': out += u'\t'; return;
    case 'v': out += u'\v'; return;
    case 'x': {
        unsigned unit = 0;
        for (int digits = 0; digits < 4 && pos < line.size() && HexValue(line[pos]) >= 0; ++digits)
            unit = unit * 16 + static_cast<unsigned>(HexValue(line[pos++]));
        out += static_cast<char16_t>(unit);
        return;
    }
    default:
        break;
    }
    if (IsOctal(kind)) {
        unsigned unit = static_cast<unsigned>(kind - '0');
        for (int digits = 1; digits < 3 && pos < line.size() && IsOctal(line[pos]); ++digits)
            unit = unit * 8 + static_cast<unsigned>(line[pos++] - '0');
        out += static_cast<char16_t>(unit);
        return;
    }
    AppendRaw(out, line.substr(pos - 1, 1));  // \\, \", \] and any other escaped character
}

// A string as Wine's registry writer quotes it; `pos` stands after the opening
// delimiter and ends after `close`. Nothing when the line ends first.
std::optional<std::u16string> ParseQuoted(std::string_view line, std::size_t& pos, char close)
{
    std::u16string out;
    while (pos < line.size()) {
        if (line[pos] == close) {
            ++pos;
            return out;
        }
        if (line[pos] == '\\') {
            if (++pos == line.size())
                return std::nullopt;
            AppendEscape(out, line, pos);
            continue;
        }
        const std::size_t end = line.find_first_of(std::string{'\\', close}, pos);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        AppendRaw(out, line.substr(pos, stop - pos));
        pos = stop;
    }
    return std::nullopt;
}

// The data of a string value: "text" or str(N):"text"; nothing for other types.
std::optional<std::u16string> ParseStringData(std::string_view line, std::size_t pos)
{
    if (line.substr(pos, 4) == "str(") {
        const std::size_t close = line.find("):", pos);
        if (close == std::string_view::npos)
            return std::nullopt;
        pos = close + 2;
    }
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    ++pos;
    return ParseQuoted(line, pos, '"');
}

std::u32string NameFromAnsi(std::string_view ansi, int codePage)
{
    std::u32string out;
    for (unsigned char c : ansi)
        out += ToUnicode(c, codePage);
    return out;
}

bool NamesMatch(std::u16string_view fileName, std::u32string_view wanted)
{
    return unicode::EqualNoCase(unicode::DecodeUtf16(fileName), wanted);
}

// The name of a value line ("name"= or @=) and the position after the '='.
std::optional<std::u16string> ParseValueName(std::string_view line, std::size_t& pos)
{
    std::u16string name;
    if (line[0] == '@') {
        pos = 1;
    } else {
        pos = 1;
        auto quoted = ParseQuoted(line, pos, '"');
        if (!quoted)
            return std::nullopt;
        name = std::move(*quoted);
    }
    if (pos >= line.size() || line[pos] != '=')
        return std::nullopt;
    ++pos;
    return name;
}

// The same key seen by a 32-bit program in a 64-bit prefix, if it is redirected.
std::optional<std::u32string> RedirectedKey(const std::u32string& key)
{
    const std::u32string software = U"software\\";
    if (unicode::FoldCase(key.substr(0, software.size())) != software)
        return std::nullopt;
    return key.substr(0, software.size()) + U"Wow6432Node\\" + key.substr(software.size());
}

class SystemRegScan {
public:
    // The names are code page text.
    SystemRegScan(std::string_view key, std::string_view value, int codePage)
        : key_(NameFromAnsi(key, codePage)), redirectedKey_(RedirectedKey(key_)), value_(NameFromAnsi(value, codePage))
    {
    }

    std::optional<std::u16string> Run(std::string_view text)
    {
        std::size_t start = 0;
        bool first = true;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (first && line.substr(0, kHeader.size()) != kHeader)
                return std::nullopt;  // Wine itself refuses such a file
            if (!first)
                ReadLine(line);
            first = false;
            start = end + 1;
        }
        if (win64_ && redirectedHit_)
            return redirectedHit_;
        return hit_;
    }

private:
    enum class Section { Other, Key, RedirectedKey };

    void ReadLine(std::string_view line)
    {
        if (line.substr(0, kArchLine.size()) == kArchLine) {
            win64_ = line.substr(kArchLine.size()) == "win64";
            return;
        }
        if (line.empty())
            return;
        if (line[0] == '[') {
            section_ = SectionOf(line);
            return;
        }
        if (section_ != Section::Other && (line[0] == '"' || line[0] == '@'))
            ReadValue(line);
    }

    Section SectionOf(std::string_view line) const
    {
        std::size_t pos = 1;
        const auto name = ParseQuoted(line, pos, ']');
        if (!name)
            return Section::Other;
        if (NamesMatch(*name, key_))
            return Section::Key;
        if (redirectedKey_ && NamesMatch(*name, *redirectedKey_))
            return Section::RedirectedKey;
        return Section::Other;
    }

    // A value written twice keeps the later one, as when Wine loads the file.
    void ReadValue(std::string_view line)
    {
        std::size_t pos = 0;
        const auto name = ParseValueName(line, pos);
        if (!name || !NamesMatch(*name, value_))
            return;
        auto data = ParseStringData(line, pos);
        if (!data)
            return;
        (section_ == Section::Key ? hit_ : redirectedHit_) = std::move(data);
    }

    std::u32string key_;
    std::optional<std::u32string> redirectedKey_;
    std::u32string value_;
    Section section_ = Section::Other;
    bool win64_ = false;
    std::optional<std::u16string> hit_;
    std::optional<std::u16string> redirectedHit_;
};

// Reads the prefix in force at each call, so that a changed $WINEPREFIX is seen.
const CWineRegistry& DefaultRegistry()
{
    static const CWineRegistry registry;
    return registry;
}

const IRegistry* g_registry = nullptr;

}  // namespace

std::filesystem::path WinePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/") / ".wine";
}

std::optional<std::string> CWineRegistry::ReadMachineString(std::string_view key, std::string_view value) const
{
    const auto text = ReadRegistryFile(prefix_.value_or(WinePrefix()) / "system.reg");
    if (!text)
        return std::nullopt;
    return FindString(*text, key, value);
}

std::optional<std::string> CWineRegistry::FindString(std::string_view systemReg, std::string_view key,
                                                     std::string_view value)
{
    const int codePage = AnsiCodePage();
    const auto data = SystemRegScan(key, value, codePage).Run(systemReg);
    if (!data)
        return std::nullopt;
    std::string text = FromUtf16(*data, codePage);
    if (text.size() > kMaxValueLength)
        return std::nullopt;
    return text;
}

// The names are ASCII, so the scan needs no code page of the prefix, which is what
// is being found out.
std::optional<int> PrefixAnsiCodePage(const std::filesystem::path& prefix)
{
    const auto text = ReadRegistryFile(prefix / "system.reg");
    if (!text)
        return std::nullopt;
    const auto data = SystemRegScan("System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP", 1252).Run(*text);
    if (!data || data->empty() || data->size() > 5)
        return std::nullopt;
    int codePage = 0;
    for (char16_t c : *data) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        codePage = codePage * 10 + (c - u'0');
    }
    return codePage;
}

const IRegistry& Registry()
{
    return g_registry ? *g_registry : DefaultRegistry();
}

void SetRegistry(const IRegistry* registry)
{
    g_registry = registry;
}

}  // namespace platform
