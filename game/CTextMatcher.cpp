#include "game/CTextMatcher.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct CompileContextDeleter {
    void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};

// The UTF-8 of one byte of the code page: at most three bytes, as every character
// of the three code pages lies in the Basic Multilingual Plane.
struct Utf8Character {
    std::array<char, 3> bytes{};
    std::uint8_t size = 0;
};
using Utf8Table = std::array<Utf8Character, 256>;

Utf8Table MakeUtf8Table(int codePage)
{
    Utf8Table table;
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = platform::ToUtf8(std::string(1, static_cast<char>(b)), codePage);
        auto& entry = table[static_cast<std::size_t>(b)];
        entry.size = static_cast<std::uint8_t>(std::min(utf8.size(), entry.bytes.size()));
        std::copy_n(utf8.begin(), entry.size, entry.bytes.begin());
    }
    return table;
}

// The code points of `utf8`, or nothing when it is not UTF-8: DecodeUtf8 gives each
// byte outside a valid sequence as 0xDC00 + byte, which no valid sequence encodes.
std::optional<std::u32string> DecodeStrictly(std::string_view utf8)
{
    std::u32string text = platform::unicode::DecodeUtf8(utf8);
    if (std::ranges::any_of(text, [](char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }))
        return std::nullopt;
    return text;
}

bool IsAscii(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string PcreMessage(int error)
{
    std::array<PCRE2_UCHAR, 256> buffer{};
    const int length = pcre2_get_error_message(error, buffer.data(), buffer.size());
    return length < 0 ? "error " + std::to_string(error) : std::string(reinterpret_cast<const char*>(buffer.data()));
}

}  // namespace

struct CTextMatcher::Compiled {
    int codePage = 1252;
    bool caseSensitive = false;
    // Plain: the pattern's bytes in the code page, folded unless case-sensitive;
    // whether the code page can hold it at all; the folding of every byte.
    std::string needle;
    bool holdable = true;
    std::array<unsigned char, 256> fold{};
    // Regular expression: the compiled pattern and the UTF-8 of every byte.
    std::unique_ptr<pcre2_code, CodeDeleter> regex;
    Utf8Table utf8{};

    bool ContainsNeedle(std::string_view text) const;
    bool RegexMatches(std::string_view text) const;
};

namespace {

std::array<unsigned char, 256> FoldTable(int codePage, bool caseSensitive)
{
    std::string bytes(256, '\0');
    for (int b = 0; b < 256; ++b)
        bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
    if (!caseSensitive)
        bytes = platform::FoldCaseAnsi(bytes, codePage);
    std::array<unsigned char, 256> table{};
    std::ranges::transform(bytes, table.begin(), [](char c) { return static_cast<unsigned char>(c); });
    return table;
}

// ECMAScript's reading of escapes (\xHH, \uHHHH, \u{H...}), empty classes, unset
// back-references and `$`; `.` stops at CR and LF as it does there.
std::unique_ptr<pcre2_code, CodeDeleter> CompileRegex(std::string_view pattern, bool caseSensitive)
{
    const std::unique_ptr<pcre2_compile_context, CompileContextDeleter> context(pcre2_compile_context_create(nullptr));
    if (!context)
        throw std::bad_alloc();
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    pcre2_set_compile_extra_options(context.get(), PCRE2_EXTRA_ALT_BSUX);
    std::uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_NEVER_BACKSLASH_C | PCRE2_ALT_BSUX |
                            PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;
    if (!caseSensitive)
        options |= PCRE2_CASELESS;
    int error = 0;
    PCRE2_SIZE offset = 0;
    std::unique_ptr<pcre2_code, CodeDeleter> code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()),
                                                                pattern.size(), options, &error, &offset,
                                                                context.get()));
    if (!code) {
        // PCRE2 counts bytes; the user counts characters.
        const std::size_t before = std::min<std::size_t>(offset, pattern.size());
        const auto characters = std::ranges::count_if(pattern.substr(0, before), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        });
        throw SearchPatternError(SearchPatternError::Reason::kRegex,
                                 "the regular expression does not compile: " + PcreMessage(error) +
                                     " (at character " + std::to_string(characters + 1) + ")");
    }
    // Without the just-in-time compiler (not built for every processor) the
    // interpreter runs the same pattern.
    pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);
    return code;
}

}  // namespace

CTextMatcher::CTextMatcher(std::string_view pattern, Options options, int codePage)
{
    if (pattern.empty())
        throw SearchPatternError(SearchPatternError::Reason::kEmpty, "the pattern is empty");
    const auto characters = DecodeStrictly(pattern);
    if (!characters)
        throw SearchPatternError(SearchPatternError::Reason::kNotUtf8, "the pattern is not UTF-8 text");
    auto compiled = std::make_shared<Compiled>();
    compiled->codePage = codePage;
    compiled->caseSensitive = options.caseSensitive;
    compiled->fold = FoldTable(codePage, options.caseSensitive);
    if (options.regex) {
        compiled->regex = CompileRegex(pattern, options.caseSensitive);
        compiled->utf8 = MakeUtf8Table(codePage);
    } else {
        for (const char32_t c : *characters) {
            const char byte = platform::FromUnicode(c, codePage);
            // '?' also stands for a character the code page cannot hold.
            compiled->holdable = compiled->holdable && (byte != '?' || c == U'?');
            compiled->needle += static_cast<char>(compiled->fold[static_cast<unsigned char>(byte)]);
        }
    }
    compiled_ = std::move(compiled);
}

CTextMatcher::~CTextMatcher() = default;

int CTextMatcher::GetCodePage() const
{
    return compiled_->codePage;
}

bool CTextMatcher::Matches(std::string_view text) const
{
    if (text.empty())
        return false;
    return compiled_->regex ? compiled_->RegexMatches(text) : compiled_->ContainsNeedle(text);
}

bool CTextMatcher::Compiled::ContainsNeedle(std::string_view text) const
{
    if (!holdable || needle.size() > text.size())
        return false;
    if (caseSensitive)
        return text.find(needle) != std::string_view::npos;
    const auto folded = [this](char c) { return static_cast<char>(fold[static_cast<unsigned char>(c)]); };
    const char first = needle.front();
    const std::size_t last = text.size() - needle.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (folded(text[at]) != first)
            continue;
        std::size_t k = 1;
        while (k < needle.size() && folded(text[at + k]) == needle[k])
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

// Texts of ASCII alone (most names and scripts) are their own UTF-8; the others are
// converted into a buffer of the thread's, which grows to the longest text and is
// then reused.
bool CTextMatcher::Compiled::RegexMatches(std::string_view text) const
{
    thread_local std::string converted;
    thread_local const std::unique_ptr<pcre2_match_data, MatchDataDeleter> matchData(
        pcre2_match_data_create(1, nullptr));
    if (!matchData)
        throw std::bad_alloc();
    std::string_view subject = text;
    if (!IsAscii(text)) {
        converted.clear();
        for (const char c : text) {
            const Utf8Character& character = utf8[static_cast<unsigned char>(c)];
            converted.append(character.bytes.data(), character.size);
        }
        subject = converted;
    }
    const auto match = [&](std::uint32_t options) {
        return pcre2_match(regex.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                           options | PCRE2_NO_UTF_CHECK, matchData.get(), nullptr);
    };
    int result = match(0);
    // The compiled code's stack is small; the interpreter keeps its own on the heap.
    if (result == PCRE2_ERROR_JIT_STACKLIMIT)
        result = match(PCRE2_NO_JIT);
    return result >= 0;
}
