#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "text/NumberFormat.h"

namespace sorvanta {
namespace {

struct TFormatCase {
    const char* Pattern;
    double Value;
    const char* Expected;
};

const TFormatCase kCases[] = {
    // Examples of the number-pattern rules.
    {"#,##0.00", 12345.678, "12,345.68"},
    {"0.000;-0.000", -1.23456, "-1.235"},
    {"0.000;-0.000", -1.234, "-1.234"},
    {"00", 3, "03"},
    {" 0.0;-0.0", 2.34, " 2.3"},
    {" 0.0;-0.0", -2.34, "-2.3"},
    {"0.00", 12.345, "12.35"},
    {"0.00", 2.675, "2.68"},
    {"(0.00)", 12.5, "(12.50)"},
    {"0層", 3, "3層"},
    {"水の単位体積重量(kN/m3)=0.00", 10, "水の単位体積重量(kN/m3)=10.00"},
    {"0.0", 20.0 - 9.0, "11.0"},

    // Rounding: half away from zero on the 15-digit decimal.
    {"0.00", 1.005, "1.01"},
    {"0.00", -1.005, "-1.01"},
    {"0.0", 0.05, "0.1"},
    {"0.0", 0.25, "0.3"},
    {"0.0", -0.25, "-0.3"},
    {"0", 0.5, "1"},
    {"0", 2.5, "3"},
    {"0", -0.5, "-1"},
    {"0.00", 0.004999, "0.00"},
    {"0.00", 0.005, "0.01"},
    {"0.00", 9.995, "10.00"},
    {"0.00", 999.999, "1000.00"},
    {"#,##0.00", 999999.995, "1,000,000.00"},
    {"0.000", 0.1 + 0.2, "0.300"},
    {"0.00", 1e-20, "0.00"},
    {"0.00", 0.004999999999999999, "0.01"},  // 15 digits: 5.00000000000000e-03

    // Sign: one section puts "-" before everything, literals included.
    {"(0.00)", -2.38, "-(2.38)"},
    {"0.00", -0.001, "-0.00"},
    {"0.00", -1e-20, "-0.00"},
    {"0.00m", -1.5, "-1.50m"},
    {"0.00", -0.0, "0.00"},
    {"0.00", 0.0, "0.00"},
    // Two sections: absolute value, the section's own literals.
    {"0.00m;-0.00m", -1.5, "-1.50m"},
    {"0.00m;-0.00m", 1.5, "1.50m"},
    {"0.00m;-0.00m", 0, "0.00m"},
    {"0.00m;-0.00m", -0.0, "0.00m"},
    {"0.00m;-0.00m", -0.001, "-0.00m"},
    {"0.00);-0.00)", -3.256, "-3.26)"},
    {"X=0.00m;X=-0.00m", -12.345, "X=-12.35m"},
    {"Y=0.00m;Y=-0.00m", 7, "Y=7.00m"},
    {"0.00;(0.00)", -4, "(4.00)"},
    {"0.00;", -4, "-4.00"},  // an empty second section is no section
    {"#,##0.00kNm;-#,##0.00kNm", -1234567.891, "-1,234,567.89kNm"},
    {"#,##0.00kN;-#,##0.00kN", 1234.5, "1,234.50kN"},
    {" #,##0.00;-#,##0.00", 1234.5, " 1,234.50"},
    {" #,0.00;-#,0.00", -98765.4321, "-98,765.43"},

    // "0" and "#".
    {"#0.00", 0.5, "0.50"},
    {"#.00", 0.5, ".50"},
    {"#.##", 0, ""},
    {"#.##", 1.5, "1.5"},
    {"#.##", 2, "2"},
    {"0.0#", 1.5, "1.5"},
    {"0.0#", 1.25, "1.25"},
    {"0.0#", 1.255, "1.26"},
    {"00.000", 1.5, "01.500"},
    {"000", 12345, "12345"},  // integer digits are never cut
    {"0", 0.4, "0"},
    {"#", 0.4, ""},
    {"0", 1234.5, "1235"},
    {".00", 12.5, "12.50"},

    // Grouping.
    {"#,##0.00", 0, "0.00"},
    {"#,##0.00", 999.5, "999.50"},
    {"#,##0.00", 1000, "1,000.00"},
    {"#,0.00", 12345.6, "12,345.60"},
    {"#,0", 100, "100"},
    {"#,0", 1234567, "1,234,567"},
    {"#,0", -1234, "-1,234"},
    {"0,000", 12, "0,012"},
    {"#,##0", 1e15, "1,000,000,000,000,000"},

    // Literals around the number, multibyte ones too.
    {"0.00度", 45.125, "45.13度"},
    {"Θ=0.0度)", 75.25, "Θ=75.3度)"},
    {"0.000 [解]", 1.2345, "1.235 [解]"},
    {"0.000 [解]", -1.2345, "-1.235 [解]"},
    {"　0.00　", 1, "　1.00　"},
    {"  2)必要安全率         =0.00", 1.2, "  2)必要安全率         =1.20"},
    {"ｶｯﾄ=0.0ﾒｰﾄﾙ", 2, "ｶｯﾄ=2.0ﾒｰﾄﾙ"},
    {"abc", 5, "abc"},
    {"", 5, ""},

    // Large and tiny values.
    {"0.00", 1e20, "100000000000000000000.00"},
    {"0", 123456789012345678.0, "123456789012346000"},
    {"0.00", 1.7976931348623157e308,
     "179769313486232000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000.00"},
    {"0.0", 4.9e-324, "0.0"},
    {"0.00000000000000000000", 1.23e-15, "0.00000000000000123000"},
    {"0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
    {"0.00", std::numeric_limits<double>::infinity(), "INF"},
    {"0.00", -std::numeric_limits<double>::infinity(), "-INF"},
};

TEST(NumberFormat, Patterns) {
    for (const TFormatCase& c : kCases) {
        EXPECT_EQ(FormatFloat(c.Pattern, c.Value), c.Expected)
            << "F(\"" << c.Pattern << "\", " << c.Value << ")";
    }
}

// The number a pattern shows, without going through its text: the same
// double as the text read back, the sign of a negative value kept at zero.
TEST(NumberFormat, RoundToDecimalsIsTheNumberThePatternShows) {
    const double values[] = {2.675,    -2.675, 9.995, 0.0049999, 1234567.891, 23741.0749,
                             -0.001,   0.0,    -0.0,  1e-320,    0.125,       2.0415978103747205,
                             1e22 / 3, 7.5};
    const std::pair<int, const char*> patterns[] = {{0, "0"}, {2, "0.00"}, {3, "0.000"}};
    for (const double v : values) {
        for (const auto& [decimals, pattern] : patterns) {
            const std::string text = FormatFloat(pattern, v);
            const double rounded = RoundToDecimals(v, decimals);
            EXPECT_EQ(rounded, std::strtod(text.c_str(), nullptr)) << pattern << " " << v;
            EXPECT_EQ(std::signbit(rounded), v < 0) << pattern << " " << v;
        }
    }
    EXPECT_TRUE(std::isnan(RoundToDecimals(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(RoundToDecimals(-std::numeric_limits<double>::infinity(), 2),
              -std::numeric_limits<double>::infinity());
}

TEST(NumberFormat, IndependentOfTheProcessLocale) {
    // A locale with a decimal comma must not leak into the output.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(FormatFloat("#,##0.00", 12345.678), "12,345.68");
    EXPECT_EQ(FormatFloat("0.000", 0.5), "0.500");
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace sorvanta
