#include "platform/NumberParse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct SPass {
    std::string text;
    double value;
};

TEST(ParseLeadingNumber, TakesTheLongestNumberAtTheStart) {
    // clang-format off
    const SPass cases[] = {
        {"12abc", 12},  {"1,5", 1},     {"1.5.3", 1.5}, {"3 4", 3},       {"0x1A", 0},    {".5", 0.5},
        {"5.", 5},      {"+5", 5},      {"-0", 0},      {"1e", 1},        {"1e+", 1},     {"1E-", 1},
        {"2.5e2x", 250}, {"-1.25E+1", -12.5}, {"007", 7}, {"1e3.5", 1000}, {"0.66 approx", 0.66},
        {" 1", 1},      {"\t1", 1},     {"\n1", 1},     {"\v1", 1},       {"\f1", 1},     {"\r1", 1},
        {" \t\n\v\f\r-2", -2},
    };
    // clang-format on
    for (const SPass& c : cases) {
        SCOPED_TRACE(c.text);
        double value = 99;
        ASSERT_TRUE(ParseLeadingNumber(c.text, value));
        EXPECT_EQ(value, c.value);
    }
}

TEST(ParseLeadingNumber, MinusZeroKeepsItsSign) {
    double value = 1;
    ASSERT_TRUE(ParseLeadingNumber("-0", value));
    EXPECT_TRUE(std::signbit(value));
}

TEST(ParseLeadingNumber, RefusesTextThatDoesNotBeginWithANumber) {
    // clang-format off
    const std::string cases[] = {
        "",     " \t\n\v\f\r", ".",    "-",     "+",      "+.",      "-.e1", "e5",      ",5",
        "abc",  "inf",         "nan",  "-inf",  "INFINITY", "NAN(1)", "\xA0" "5", "\x85" "5", "x1",
    };
    // clang-format on
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        double value = 99;
        EXPECT_FALSE(ParseLeadingNumber(text, value));
        EXPECT_EQ(value, 99) << "value is left alone on failure";
    }
}

TEST(ParseLeadingNumber, LooksAtTheFirst399BytesOnly) {
    double value = 0;
    EXPECT_TRUE(ParseLeadingNumber(std::string(398, ' ') + "5", value));
    EXPECT_EQ(value, 5);
    EXPECT_FALSE(ParseLeadingNumber(std::string(399, ' ') + "5", value));
    EXPECT_TRUE(ParseLeadingNumber(std::string(397, ' ') + "12" + "3", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ParseLeadingNumber("7" + std::string(10000, 'x'), value));
    EXPECT_EQ(value, 7);
}

TEST(ParseLeadingNumber, OutOfRangeNumbersPassAsInfinityOrZero) {
    double value = 0;
    ASSERT_TRUE(ParseLeadingNumber("1e999", value));
    EXPECT_EQ(value, HUGE_VAL);
    ASSERT_TRUE(ParseLeadingNumber("-1e99999999999999999999", value));
    EXPECT_EQ(value, -HUGE_VAL);
    ASSERT_TRUE(ParseLeadingNumber("0.0001e-400", value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(ParseLeadingNumber(std::string(350, '9'), value));
    EXPECT_EQ(value, HUGE_VAL);
    ASSERT_TRUE(ParseLeadingNumber("0e99999", value));
    EXPECT_EQ(value, 0);
}

}  // namespace
