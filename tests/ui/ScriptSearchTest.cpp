#include "ui/ScriptSearch.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(ScriptSearch, FindsForwardAndBackwardAndWrapsAroundOnce)
{
    const QString text = QStringLiteral("set a\nSET b\nset c");
    EXPECT_EQ(FindInText(text, "set", 0, {}), (TextMatch{0, 3, false}));
    EXPECT_EQ(FindInText(text, "set", 1, {}), (TextMatch{6, 3, false}));  // any case by default
    EXPECT_EQ(FindInText(text, "set", 1, {.caseSensitive = true}), (TextMatch{12, 3, false}));
    EXPECT_EQ(FindInText(text, "set", 13, {}), (TextMatch{0, 3, true}));  // past the last one
    EXPECT_EQ(FindInText(text, "set", 12, {.backward = true}), (TextMatch{6, 3, false}));
    EXPECT_EQ(FindInText(text, "set", 0, {.backward = true}), (TextMatch{12, 3, true}));
    EXPECT_EQ(FindInText(text, "set", 99, {}), (TextMatch{0, 3, true}));  // a position past the end
    EXPECT_FALSE(FindInText(text, "get", 0, {}));
    EXPECT_FALSE(FindInText(text, "", 0, {}));
}

TEST(ScriptSearch, AWholeWordHasNoWordCharacterBesideIt)
{
    const QString text = QStringLiteral("reset set_x set, set");
    const SearchOptions whole{.wholeWord = true};
    EXPECT_EQ(FindInText(text, "set", 0, whole)->start, 12);
    EXPECT_EQ(FindInText(text, "set", 13, whole)->start, 17);
    EXPECT_EQ(FindInText(text, "set", 17, {.wholeWord = true, .backward = true})->start, 12);
    EXPECT_EQ(FindAllInText(text, "set", whole), (std::vector<qsizetype>{12, 17}));
    EXPECT_EQ(FindAllInText(text, "set", {}).size(), 4u);
}

TEST(ScriptSearch, ReplaceAllCountsMatchesThatDoNotOverlap)
{
    EXPECT_EQ(FindAllInText("aaaaa", "aa", {}), (std::vector<qsizetype>{0, 2}));
    EXPECT_TRUE(FindAllInText("abc", "", {}).empty());
    EXPECT_TRUE(IsMatch("SET", "set", {}));
    EXPECT_FALSE(IsMatch("SET", "set", {.caseSensitive = true}));
    EXPECT_FALSE(IsMatch("", "", {}));
}

TEST(ScriptSearch, LineStartsAreFoundAndLimitedToTheText)
{
    const QString text = QStringLiteral("one\ntwo\n\nfour");
    EXPECT_EQ(LineStartOffset(text, 1), 0);
    EXPECT_EQ(LineStartOffset(text, 2), 4);
    EXPECT_EQ(LineStartOffset(text, 3), 8);
    EXPECT_EQ(LineStartOffset(text, 4), 9);
    EXPECT_EQ(LineStartOffset(text, 40), 9);
    EXPECT_EQ(LineStartOffset(text, 0), 0);
    EXPECT_EQ(LineStartOffset(text, -5), 0);
}
