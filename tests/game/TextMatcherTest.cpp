// The search pattern: a plain text or a regular expression given in UTF-8, compared
// with texts in the game's code page, letter case ignored by that code page's pairs
// unless case-sensitive.

#include "game/CTextMatcher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Plain(std::string_view pattern, std::string_view text, int codePage, bool caseSensitive = false)
{
    return CTextMatcher(pattern, {false, caseSensitive}, codePage).Matches(text);
}

bool Regex(std::string_view pattern, std::string_view text, int codePage, bool caseSensitive = false)
{
    return CTextMatcher(pattern, {true, caseSensitive}, codePage).Matches(text);
}

SearchPatternError::Reason Refusal(std::string_view pattern, bool regex)
{
    try {
        CTextMatcher(pattern, {regex, false}, 1251);
    } catch (const SearchPatternError& error) {
        return error.GetReason();
    }
    ADD_FAILURE() << "accepted: " << pattern;
    return SearchPatternError::Reason::kEmpty;
}

// "// часовой у ворот", "ёлка" and "деревня" in 1251.
const std::string kWatchman = "// \xF7\xE0\xF1\xEE\xE2\xEE\xE9 \xF3 \xE2\xEE\xF0\xEE\xF2";
const std::string kFirTree = "\xB8\xEB\xEA\xE0";
const std::string kVillage = "\xE4\xE5\xF0\xE5\xE2\xED\xFF";

TEST(TextMatcher, PlainTextIgnoresCaseByTheCodePagesLetterPairs)
{
    EXPECT_TRUE(Plain("GATE", "open_gate", 1251));
    EXPECT_TRUE(Plain("ЧАСОВОЙ", kWatchman, 1251));
    EXPECT_TRUE(Plain("ЁЛКА", kFirTree, 1251));                // Ё and ё lie apart from the other letters
    EXPECT_TRUE(Plain("CAFÉ", "caf\xE9", 1252));               // é
    EXPECT_TRUE(Plain("Ÿ", "\xFF", 1252));                     // ÿ, whose capital lies among the C1 bytes
    EXPECT_TRUE(Plain("ŁÓDŹ", "\xB3\xF3\x64\x9F", 1250));      // łódź
    EXPECT_FALSE(Plain("ЧАСОВОЙ", kWatchman, 1251, true));
    EXPECT_TRUE(Plain("часовой", kWatchman, 1251, true));
    EXPECT_FALSE(Plain("gate_", "open_gate", 1251));
    // Long texts are scanned otherwise than short ones: each case of the first
    // letter, the match before a later start in the other case.
    const std::string padding(100, '.');
    EXPECT_TRUE(Plain("gate", padding + "gate Gxxxx", 1251));
    EXPECT_TRUE(Plain("ЁЛКА", padding + kFirTree + " \xA8xxxx", 1251));
    EXPECT_FALSE(Plain("gate", padding + "gat GAT", 1251));
}

// The same byte is another letter in another code page: texts are compared as the
// game's code page reads them.
TEST(TextMatcher, TextsAreReadInTheGamesCodePage)
{
    EXPECT_TRUE(Plain("Й", "\xE9", 1251));
    EXPECT_FALSE(Plain("É", "\xE9", 1251));
    EXPECT_TRUE(Plain("É", "\xE9", 1252));
    EXPECT_TRUE(Regex("^й$", "\xE9", 1251));
    EXPECT_FALSE(Regex("^é$", "\xE9", 1251));
}

// '?' stands in for what a code page cannot hold; a pattern with such a character
// must not find question marks.
TEST(TextMatcher, APatternTheCodePageCannotHoldMatchesNothing)
{
    EXPECT_FALSE(Plain("я", "?", 1252));
    EXPECT_FALSE(Plain("a я", "a ?", 1252, true));
    EXPECT_TRUE(Plain("?", "why?", 1252));
}

TEST(TextMatcher, RegularExpressionsReadTheCodePagesLetters)
{
    EXPECT_TRUE(Regex("^ЧАС\\w+$", kWatchman.substr(3, 7), 1251));  // "часовой"
    EXPECT_FALSE(Regex("^ЧАС", kWatchman.substr(3, 7), 1251, true));
    EXPECT_TRUE(Regex("^[а-я]+$", "\xC4\xCE\xCC", 1251));   // "ДОМ"
    EXPECT_FALSE(Regex("^[а-я]+$", "\xC4\xCE\xCC", 1251, true));
    EXPECT_TRUE(Regex("^.{7}$", kVillage, 1251));  // one character per byte
    EXPECT_FALSE(Regex("\\W", kVillage, 1251));
    EXPECT_TRUE(Regex("^caf\\w$", "CAF\xC9", 1252));
    EXPECT_TRUE(Regex("step_\\d+, 1\\d0$", "  call step_42, 120", 1251));
    EXPECT_TRUE(Regex("\\u0439", "\xE9", 1251));  // ECMAScript's escapes
}

// An empty value is no match even for a pattern that matches the empty string.
TEST(TextMatcher, AnEmptyTextNeverMatches)
{
    EXPECT_FALSE(Regex("^$", "", 1251));
    EXPECT_FALSE(Regex("x*", "", 1251));
    EXPECT_TRUE(Regex("x*", "b", 1251));
    EXPECT_FALSE(Plain("a", "", 1251));
}

// A recursive engine would overflow the stack here, a naive one run for minutes.
TEST(TextMatcher, ALongTextIsSearchedWithinBounds)
{
    const std::string line = std::string(1 << 17, 'a') + "x";
    EXPECT_TRUE(Regex("(a|b)*x", line, 1251));
    EXPECT_TRUE(Regex("^.*x$", line, 1251));
    EXPECT_FALSE(Regex("(a|b)*y", line, 1251));
    EXPECT_TRUE(Plain("AX", line, 1251));
}

TEST(TextMatcher, RefusesEmptyPatternsTextsNotInUtf8AndBadRegularExpressions)
{
    EXPECT_EQ(Refusal("", false), SearchPatternError::Reason::kEmpty);
    EXPECT_EQ(Refusal("", true), SearchPatternError::Reason::kEmpty);
    EXPECT_EQ(Refusal("\xFF", false), SearchPatternError::Reason::kNotUtf8);
    EXPECT_EQ(Refusal("a(b", true), SearchPatternError::Reason::kRegex);
    try {
        CTextMatcher("дом(", {true, false}, 1251);
        ADD_FAILURE();
    } catch (const SearchPatternError& error) {
        EXPECT_STREQ(error.what(),
                     "the regular expression does not compile: missing closing parenthesis (at character 5)");
    }
    EXPECT_TRUE(Plain("a(b", "xa(b", 1251));  // only a regular expression has a syntax
}

}  // namespace
