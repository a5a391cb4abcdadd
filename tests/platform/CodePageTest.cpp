#include "platform/CodePage.h"

#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

using platform::FromUtf8;
using platform::ToUtf8;

namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

class CodePageRoundTrip : public testing::TestWithParam<int> {};

TEST_P(CodePageRoundTrip, EveryByteSurvivesUtf8AndBack)
{
    const std::string bytes = AllBytes();
    EXPECT_EQ(testsupport::Hex(FromUtf8(ToUtf8(bytes, GetParam()), GetParam())), testsupport::Hex(bytes));
}

TEST_P(CodePageRoundTrip, EveryByteIsItsOwnCharacter)
{
    std::set<char32_t> characters;
    for (int b = 0; b < 256; ++b)
        characters.insert(platform::ToUnicode(static_cast<unsigned char>(b), GetParam()));
    EXPECT_EQ(characters.size(), 256u);
}

INSTANTIATE_TEST_SUITE_P(AnsiCodePages, CodePageRoundTrip, testing::Values(1250, 1251, 1252));

TEST(CodePage, CharactersOfEachTable)
{
    EXPECT_EQ(ToUtf8("\xC0\xFF\xA8\xB9", 1251), "Ая\xD0\x81№");
    EXPECT_EQ(ToUtf8("\x8C\xA3\xFF", 1250), "ŚŁ˙");
    EXPECT_EQ(ToUtf8("\x80\x9F\xE9", 1252), "€Ÿé");
}

TEST(CodePage, CaseFoldingStaysInTheCodePage)
{
    EXPECT_EQ(ToUtf8(platform::FoldCaseAnsi(FromUtf8("ДеРевНЯ Ёж ЇЎ Lamp_2", 1251), 1251), 1251), "деревня ёж їў lamp_2");
    EXPECT_EQ(ToUtf8(platform::FoldCaseAnsi(FromUtf8("ŚŁŽĆ ÄÖ", 1250), 1250), 1250), "śłžć äö");
    EXPECT_EQ(ToUtf8(platform::FoldCaseAnsi(FromUtf8("ÉÀŒŠŸ ×", 1252), 1252), 1252), "éàœšÿ ×");
    // Folding is idempotent and leaves everything below 'A' alone.
    for (int codePage : {1250, 1251, 1252}) {
        const std::string bytes = AllBytes();
        const std::string folded = platform::FoldCaseAnsi(bytes, codePage);
        ASSERT_EQ(folded.size(), bytes.size());
        EXPECT_EQ(platform::FoldCaseAnsi(folded, codePage), folded) << codePage;
        EXPECT_EQ(folded.substr(0, 0x41), bytes.substr(0, 0x41)) << codePage;
    }
}

TEST(CodePage, UndefinedBytesAreC1Controls)
{
    EXPECT_EQ(ToUtf8("\x98", 1251), "\xC2\x98");
    EXPECT_EQ(ToUtf8("\x81\x83\x88\x90\x98", 1250), "\xC2\x81\xC2\x83\xC2\x88\xC2\x90\xC2\x98");
    EXPECT_EQ(ToUtf8("\x81\x8D\x8F\x90\x9D", 1252), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(CodePage, WhatTheCodePageCannotHoldBecomesQuestionMark)
{
    EXPECT_EQ(FromUtf8("Ая", 1252), "??");
    EXPECT_EQ(FromUtf8("a\xFF" "b\xE2\x82", 1251), "a?b??");  // each stray byte
    EXPECT_EQ(FromUtf8("\xC0\x80", 1252), "??");  // overlong NUL
    EXPECT_EQ(FromUtf8("😀", 1251), "?");
}

TEST(CodePage, FromUtf16KeepsPairsAndRefusesLoneSurrogates)
{
    EXPECT_EQ(testsupport::Hex(platform::FromUtf16(u"\u0418x\u20AC", 1251)), "C8 78 88");
    EXPECT_EQ(platform::FromUtf16(std::u16string{char16_t(0xD800), u'a', char16_t(0xDC00)}, 1252), "?a?");
    EXPECT_EQ(platform::FromUtf16(u"\U0001F600", 1252), "?");
}

TEST(CodePage, LocaleNamesMapAsWineDoes)
{
    for (const char* locale : {"ru_RU.UTF-8", "uk_UA", "be_BY.UTF-8", "bg_BG", "sr_RS", "RU_ru"})
        EXPECT_EQ(platform::CodePageForLocale(locale), 1251) << locale;
    for (const char* locale : {"cs_CZ.UTF-8", "pl_PL", "hu_HU", "sk_SK", "sl_SI", "hr_HR", "ro_RO", "sr_RS@latin"})
        EXPECT_EQ(platform::CodePageForLocale(locale), 1250) << locale;
    for (const char* locale : {"en_US.UTF-8", "de_DE", "C", "POSIX", "", "C.UTF-8", "ruby"})
        EXPECT_EQ(platform::CodePageForLocale(locale), 1252) << locale;
}

// The variables that choose the code page, unset; the Wine prefix an empty folder.
class LocaleEnvironment : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.emplace_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        setenv("WINEPREFIX", prefix_.Path().c_str(), 1);
    }

    // A new prefix whose system.reg, as Wine writes it, has the code page values
    // under `key`.
    void WriteSystemReg(const std::string& acp, const std::string& key = "CodePage")
    {
        const auto folder = "prefix" + std::to_string(++prefixes_);
        setenv("WINEPREFIX", (prefix_.Path() / folder).c_str(), 1);
        prefix_.Write(folder + "/system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                                    "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\" + key + "] 1262304000\n"
                                    "\"ACP\"=\"" + acp + "\"\n\"MACCP\"=\"10007\"\n\"OEMCP\"=\"866\"\n");
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            if (saved_[i])
                setenv(kNames[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
        platform::SetAnsiCodePage(0);
    }

    static constexpr const char* kNames[] = {"LC_ALL", "LC_CTYPE", "LANG", "VERDAX_CODEPAGE", "WINEPREFIX"};
    std::vector<std::optional<std::string>> saved_;
    testsupport::TempDir prefix_;
    int prefixes_ = 0;
};

TEST_F(LocaleEnvironment, FirstNonEmptyVariableDecides)
{
    setenv("LANG", "pl_PL.UTF-8", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1250);
    setenv("LC_CTYPE", "ru_RU.UTF-8", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1251);
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1251);
    setenv("LC_ALL", "en_GB", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1252);
    platform::SetAnsiCodePage(1250);
    EXPECT_EQ(platform::AnsiCodePage(), 1250);
    EXPECT_EQ(ToUtf8("\xA3"), "Ł");
}

// The game runs with the prefix's code page whatever the Linux locale is.
TEST_F(LocaleEnvironment, TheVariableThenThePrefixThenTheLocaleDecide)
{
    setenv("LANG", "en_US.UTF-8", 1);
    WriteSystemReg("1251");
    EXPECT_EQ(platform::AnsiCodePage(), 1251);
    EXPECT_EQ(ToUtf8("\xC4\xEE\xEC"), "Дом");
    setenv("VERDAX_CODEPAGE", "1250", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1250);
    setenv("VERDAX_CODEPAGE", "", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1251);

    // A code page of the prefix that is none of the three is passed over.
    WriteSystemReg("65001");
    EXPECT_EQ(platform::AnsiCodePage(), 1252);
    setenv("LANG", "pl_PL.UTF-8", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1250);
    // Wine spells the key "Codepage"; names match in any letter case.
    WriteSystemReg("1251", "Codepage");
    EXPECT_EQ(platform::AnsiCodePage(), 1251);
    WriteSystemReg("x1251");
    EXPECT_EQ(platform::AnsiCodePage(), 1250);
}

// A program takes the code page once: a change of the prefix during the run, which
// every text conversion would otherwise look for, takes effect at its next start.
TEST_F(LocaleEnvironment, ATakenCodePageStaysForTheRun)
{
    WriteSystemReg("1251");
    EXPECT_EQ(platform::TakeAnsiCodePage(), 1251);
    WriteSystemReg("1250");
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(platform::AnsiCodePage(), 1251);
    EXPECT_EQ(ToUtf8("\xC4"), "Д");
    EXPECT_EQ(platform::ChooseAnsiCodePage(), 1250);
    platform::SetAnsiCodePage(0);
    EXPECT_EQ(platform::AnsiCodePage(), 1250);

    setenv("VERDAX_CODEPAGE", "866", 1);
    EXPECT_THROW(platform::TakeAnsiCodePage(), std::runtime_error);
}

TEST_F(LocaleEnvironment, AnyOtherValueOfTheVariableIsAnError)
{
    EXPECT_EQ(platform::CodePageSettingError(), "");
    for (const char* value : {"866", "cp1251", "1251 ", "65001"}) {
        setenv("VERDAX_CODEPAGE", value, 1);
        EXPECT_NE(platform::CodePageSettingError().find(std::string("\"") + value + "\""), std::string::npos);
        EXPECT_THROW(platform::AnsiCodePage(), std::runtime_error) << value;
    }
    setenv("VERDAX_CODEPAGE", "1252", 1);
    EXPECT_EQ(platform::CodePageSettingError(), "");
}

TEST_F(LocaleEnvironment, NoLocaleMeans1252)
{
    EXPECT_EQ(platform::AnsiCodePage(), 1252);
}

}  // namespace
