#include "game/CTextMatcher.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// Eight bytes at a time: the texts are looked at once per match attempt.
bool IsAscii(std::string_view text)
{
    std::uint64_t high = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        high |= word;
    }
    for (; at < text.size(); ++at)
        high |= static_cast<unsigned char>(text[at]);
    return (high & 0x8080808080808080ULL) == 0;
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
    // The bytes that fold to the needle's first one (itself and its other case),
    // listed and marked.
    std::string firstBytes;
    std::array<bool, 256> isFirst{};
    // Regular expression: the compiled pattern, whether the just-in-time compiler
    // made code of it, and the UTF-8 of every byte.
    std::unique_ptr<pcre2_code, CodeDeleter> regex;
    bool jit = false;
    Utf8Table utf8{};

    // The plain pattern's characters in the code page, after `fold` is set.
    void SetNeedle(const std::u32string& characters);
    bool ContainsNeedle(std::string_view text) const;
    // The first place from `at` to `lastStart` that holds one of firstBytes, or null.
    const char* NextFirstByByte(const char* at, const char* lastStart) const;
    const char* NextFirstByMemchr(const char* at, const char* lastStart) const;
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
        // Without the just-in-time compiler (not built for every processor) the
        // interpreter runs the same pattern.
        compiled->jit = pcre2_jit_compile(compiled->regex.get(), PCRE2_JIT_COMPLETE) == 0;
        compiled->utf8 = MakeUtf8Table(codePage);
    } else {
        compiled->SetNeedle(*characters);
    }
    compiled_ = std::move(compiled);
}

void CTextMatcher::Compiled::SetNeedle(const std::u32string& characters)
{
    for (const char32_t c : characters) {
        const char byte = platform::FromUnicode(c, codePage);
        // '?' also stands for a character the code page cannot hold.
        holdable = holdable && (byte != '?' || c == U'?');
        needle += static_cast<char>(fold[static_cast<unsigned char>(byte)]);
    }
    for (std::size_t b = 0; b < fold.size(); ++b) {
        if (fold[b] == static_cast<unsigned char>(needle.front())) {
            firstBytes += static_cast<char>(b);
            isFirst[b] = true;
        }
    }
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

bool CTextMatcher::CanMatchWithin(std::string_view text) const
{
    return compiled_->regex || compiled_->ContainsNeedle(text);
}

// A place that may start a match is found byte by byte in a short text (most names),
// and by memchr, which looks at many bytes at once, for each byte that folds to the
// needle's first in a long one (scripts); only there are the other bytes compared.
bool CTextMatcher::Compiled::ContainsNeedle(std::string_view text) const
{
    if (!holdable || needle.size() > text.size())
        return false;
    if (caseSensitive)
        return text.find(needle) != std::string_view::npos;
    constexpr std::size_t kShort = 64;
    const char* at = text.data();
    const char* const lastStart = text.data() + (text.size() - needle.size());
    while (at <= lastStart) {
        const char* next = text.size() <= kShort ? NextFirstByByte(at, lastStart) : NextFirstByMemchr(at, lastStart);
        if (!next)
            return false;
        std::size_t k = 1;
        while (k < needle.size() && fold[static_cast<unsigned char>(next[k])] == static_cast<unsigned char>(needle[k]))
            ++k;
        if (k == needle.size())
            return true;
        at = next + 1;
    }
    return false;
}

const char* CTextMatcher::Compiled::NextFirstByByte(const char* at, const char* lastStart) const
{
    for (; at <= lastStart; ++at) {
        if (isFirst[static_cast<unsigned char>(*at)])
            return at;
    }
    return nullptr;
}

const char* CTextMatcher::Compiled::NextFirstByMemchr(const char* at, const char* lastStart) const
{
    const char* next = nullptr;
    for (const char first : firstBytes) {
        const auto span = static_cast<std::size_t>((next ? next : lastStart + 1) - at);
        if (const void* found = std::memchr(at, first, span))
            next = static_cast<const char*>(found);
    }
    return next;
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
    const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.data());
    // The compiled code is entered directly, without the checks of the general entry:
    // the subject is UTF-8 by construction.
    int result = jit ? pcre2_jit_match(regex.get(), bytes, subject.size(), 0, 0, matchData.get(), nullptr)
                     : PCRE2_ERROR_JIT_BADOPTION;
    // The compiled code's stack is small; the interpreter keeps its own on the heap.
    if (result == PCRE2_ERROR_JIT_STACKLIMIT || result == PCRE2_ERROR_JIT_BADOPTION)
        result = pcre2_match(regex.get(), bytes, subject.size(), 0, PCRE2_NO_JIT | PCRE2_NO_UTF_CHECK,
                             matchData.get(), nullptr);
    return result >= 0;
}
