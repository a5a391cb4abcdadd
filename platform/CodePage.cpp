// Placeholder: Latin-1 conversion; the code page tables are being built.
#include "platform/CodePage.h"

namespace platform {
namespace {
int g_codePage = 0;
}

int AnsiCodePage()
{
    return g_codePage ? g_codePage : 1252;
}

void SetAnsiCodePage(int codePage)
{
    g_codePage = codePage;
}

std::string ToUtf8(std::string_view ansi)
{
    std::string out;
    for (unsigned char c : ansi) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string FromUtf8(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
            out += code < 0x100 ? static_cast<char>(code) : '?';
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace platform
