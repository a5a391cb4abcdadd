#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

TEST(NumberTextTest, FormatsSixDigitsInTheShorterNotation)
{
    EXPECT_EQ(FormatFieldNumber(1.5f), "1.5");
    EXPECT_EQ(FormatFieldNumber(1.0f / 3.0f), "0.333333");
    EXPECT_EQ(FormatFieldNumber(0.0f), "0");
    EXPECT_EQ(FormatFieldNumber(-90.0f), "-90");
    EXPECT_EQ(FormatFieldNumber(123456.0f), "123456");
    EXPECT_EQ(FormatFieldNumber(1234567.0f), "1.23457e+06");
    EXPECT_EQ(FormatFieldNumber(1000000.0f), "1e+06");
    EXPECT_EQ(FormatFieldNumber(0.0001f), "0.0001");
    EXPECT_EQ(FormatFieldNumber(0.000015f), "1.5e-05");
    EXPECT_EQ(FormatFieldNumber(-0.125f), "-0.125");
    EXPECT_EQ(FormatFieldNumber(99999.95f), "100000");  // rounding carries into a new digit
}

TEST(NumberTextTest, ReadsOneFiniteDecimalFloat)
{
    EXPECT_EQ(ParseFieldNumber(" 1.5 "), 1.5f);
    EXPECT_EQ(ParseFieldNumber("-3e2"), -300.0f);
    EXPECT_EQ(ParseFieldNumber(".5"), 0.5f);
    EXPECT_EQ(ParseFieldNumber("7."), 7.0f);
    EXPECT_EQ(ParseFieldNumber("1e-50"), 0.0f);  // below the float range: rounds to zero
    for (const char* refused : {"", " ", "abc", "1 2", "1.5x", "nan", "inf", "-infinity", "1e999", "-1e39", "0x10",
                                "1e", "+", ".", "1..2", "--1"})
        EXPECT_FALSE(ParseFieldNumber(refused).has_value()) << refused;
}

TEST(NumberTextTest, ReadsUnsigned32BitIntegers)
{
    EXPECT_EQ(ParseFieldUnsigned(" 4097 "), 4097u);
    EXPECT_EQ(ParseFieldUnsigned("4294967295"), std::numeric_limits<std::uint32_t>::max());
    for (const char* refused : {"", "-1", "4294967296", "1.0", "12a", "0x10"})
        EXPECT_FALSE(ParseFieldUnsigned(refused).has_value()) << refused;
}
