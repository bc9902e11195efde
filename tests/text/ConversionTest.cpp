#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "text/Conversion.h"

namespace sorvanta {
namespace {

struct TFloatCase {
    const char* Text;
    std::optional<double> Strict;
    std::optional<double> Aborting;  // nullopt: throws
};

const TFloatCase kFloatCases[] = {
    {"18.0", 18.0, 18.0},
    {"1.20", 1.2, 1.2},
    {"0.00", 0.0, 0.0},
    {"-3", -3.0, -3.0},
    {"+2.5", 2.5, 2.5},
    {"   7.5", 7.5, 7.5},
    {".", 0.0, 0.0},
    {"-.", 0.0, 0.0},
    {".5", 0.5, 0.5},
    {"5.", 5.0, 5.0},
    {"1e3", 1000.0, 1000.0},
    {"1.5E-2", 0.015, 0.015},
    {"-2e+2", -200.0, -200.0},
    {".e2", 0.0, 0.0},
    {"1e-400", 0.0, 0.0},  // underflow: nearest value
    {"7.5 ", std::nullopt, 7.5},
    {" \t7.5\t ", std::nullopt, 7.5},
    {"\t7.5", std::nullopt, 7.5},
    {"", std::nullopt, std::nullopt},
    {"   ", std::nullopt, std::nullopt},
    {"-", std::nullopt, std::nullopt},
    {"+", std::nullopt, std::nullopt},
    {"e5", std::nullopt, std::nullopt},
    {"1e", std::nullopt, std::nullopt},
    {"1e+", std::nullopt, std::nullopt},
    {"1.2.3", std::nullopt, std::nullopt},
    {"1,5", std::nullopt, std::nullopt},
    {"--1", std::nullopt, std::nullopt},
    {"- 1", std::nullopt, std::nullopt},
    {"1 2", std::nullopt, std::nullopt},
    {"abc", std::nullopt, std::nullopt},
    {"12abc", std::nullopt, std::nullopt},
    {"nan", std::nullopt, std::nullopt},
    {"NaN", std::nullopt, std::nullopt},
    {"inf", std::nullopt, std::nullopt},
    {"-Infinity", std::nullopt, std::nullopt},
    {"0x1A", std::nullopt, std::nullopt},
    {"0x1p3", std::nullopt, std::nullopt},
    {"$1A", std::nullopt, std::nullopt},
    {"1e400", std::nullopt, std::nullopt},
    {"-1e999999999999999999999", std::nullopt, std::nullopt},
    {"１８", std::nullopt, std::nullopt},     // full-width digits
    {"\u30001", std::nullopt, std::nullopt},  // an ideographic space is no blank
    {"1\n", std::nullopt, std::nullopt},
};

TEST(Conversion, FloatForms) {
    for (const TFloatCase& c : kFloatCases) {
        SCOPED_TRACE(std::string("text '") + c.Text + "'");
        EXPECT_EQ(TryStrToFloat(c.Text), c.Strict);
        if (c.Aborting) {
            EXPECT_EQ(StrToFloat(c.Text), *c.Aborting);
        } else {
            EXPECT_THROW((void)StrToFloat(c.Text), ConversionError);
        }
    }
}

TEST(Conversion, ExactDecimalValues) {
    // Correctly rounded, like any decimal literal of the language.
    EXPECT_EQ(*TryStrToFloat("0.1"), 0.1);
    EXPECT_EQ(*TryStrToFloat("2.675"), 2.675);
    EXPECT_EQ(*TryStrToFloat("1.7976931348623157e308"), 1.7976931348623157e308);
    EXPECT_EQ(*TryStrToFloat("123456789012345678901234567890"), 123456789012345678901234567890.0);
    EXPECT_EQ(*TryStrToFloat("0.000000000000000000001e21"), 1.0);
    EXPECT_TRUE(std::signbit(*TryStrToFloat("-0")));
}

struct TIntCase {
    const char* Text;
    std::optional<int> Strict;
    std::optional<int> Aborting;  // nullopt: throws
};

TEST(Conversion, IntegerForms) {
    const TIntCase cases[] = {
        {"5", 5, 5},
        {"  3", 3, 3},
        {"-7", -7, -7},
        {"+0", 0, 0},
        {"007", 7, 7},
        {"2147483647", 2147483647, 2147483647},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1},
        {"2147483648", std::nullopt, std::nullopt},
        {"-2147483649", std::nullopt, std::nullopt},
        {"99999999999999999999", std::nullopt, std::nullopt},
        {"5 ", std::nullopt, 5},
        {"", std::nullopt, std::nullopt},
        {" ", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"5.0", std::nullopt, std::nullopt},
        {"1e2", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"$10", std::nullopt, std::nullopt},
        {"五", std::nullopt, std::nullopt},
    };
    for (const TIntCase& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.Text + "'");
        EXPECT_EQ(TryStrToInt(c.Text), c.Strict);
        if (c.Aborting) {
            EXPECT_EQ(StrToInt(c.Text), *c.Aborting);
        } else {
            EXPECT_THROW((void)StrToInt(c.Text), ConversionError);
        }
    }
}

TEST(Conversion, ErrorQuotesTheText) {
    try {
        (void)StrToFloat("abc");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' は有効な数値ではありません。");
        EXPECT_EQ(e.Text(), "abc");
    }
    try {
        (void)StrToInt(" 1.5 ");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "' 1.5 ' は有効な数値ではありません。");
    }
}

}  // namespace
}  // namespace sorvanta
