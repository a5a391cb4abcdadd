#include "tools/demo/RegistryWriter.h"

#include <cstdio>
#include <string_view>

namespace demo {
namespace {

std::string Hex(std::uint32_t value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*x", digits, value);
    return buffer;
}

bool IsHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Wine's escapes: backslash and quote doubled up, control and non-ASCII characters as
// \x with hex digits (four of them when a hex digit follows, so that it is not eaten).
std::string Escape(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\' || c == u'"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            const bool hexFollows = i + 1 < text.size() && IsHexDigit(text[i + 1]);
            out += "\\x" + Hex(c, hexFollows ? 4 : 1);
        }
    }
    return out;
}

std::string EscapeAscii(std::string_view text)
{
    return Escape(std::u16string(text.begin(), text.end()));
}

std::string ValueText(const RegistryValue& value)
{
    switch (value.type) {
    case RegistryValue::Type::String:
        return "\"" + Escape(value.text) + "\"";
    case RegistryValue::Type::ExpandString:
        return "str(2):\"" + Escape(value.text) + "\"";
    case RegistryValue::Type::Dword:
        return "dword:" + Hex(value.dword, 8);
    case RegistryValue::Type::Binary: {
        std::string text = "hex:";
        for (std::size_t i = 0; i < value.binary.size(); ++i)
            text += (i ? "," : "") + Hex(value.binary[i], 2);
        return text;
    }
    }
    return {};
}

std::string KeyPath(std::string_view path)
{
    std::string out;
    for (char c : path) {
        out += c;
        if (c == '\\')
            out += '\\';
    }
    return out;
}

// Wine's last-write time: 100-ns intervals since 1601.
std::string FileTime(std::uint32_t unixSeconds)
{
    const std::uint64_t ticks = (std::uint64_t{unixSeconds} + 11644473600ull) * 10000000ull;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(ticks));
    return buffer;
}

}  // namespace

RegistryValue StringValue(std::string name, std::string_view ascii)
{
    RegistryValue value;
    value.name = std::move(name);
    value.text.assign(ascii.begin(), ascii.end());
    return value;
}

std::string WriteSystemReg(const RegistryFile& file)
{
    std::string out = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    out += file.win64 ? "#arch=win64\n" : "#arch=win32\n";
    for (const RegistryKey& key : file.keys) {
        out += "\n[" + KeyPath(key.path) + "] " + std::to_string(key.modified) + "\n";
        out += "#time=" + FileTime(key.modified) + "\n";
        for (const RegistryValue& value : key.values) {
            out += value.name.empty() ? "@" : "\"" + EscapeAscii(value.name) + "\"";
            out += "=" + ValueText(value) + "\n";
        }
    }
    return out;
}

}  // namespace demo
