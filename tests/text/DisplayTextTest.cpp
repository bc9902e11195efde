#include <gtest/gtest.h>

#include <string>

#include "text/Conversion.h"
#include "text/DisplayText.h"

namespace sorvanta {
namespace {

TEST(DisplayText, EscapesWhatATerminalOrAUtf8ReaderCannotTake) {
    const struct {
        std::string Bytes, Shown;
    } cases[] = {
        {"堤防 km12.dat", "堤防 km12.dat"},             // ordinary names are unchanged
        {"\x92\xE7\x96h.dat", "\\x92\\xE7\\x96h.dat"},  // Shift-JIS 堤防
        {"e\x1B[31mred", "e\\x1B[31mred"},              // an escape sequence
        {"a\tb\x7F", "a\\x09b\\x7F"},
        {"\xC2\x9B"
         "2J",
         "\\u009B2J"},                                          // the C1 CSI as UTF-8
        {"\xE5\xA0", "\\xE5\\xA0"},                             // a character cut short
        {"\xC0\xAF\xED\xA0\x80", "\\xC0\\xAF\\xED\\xA0\\x80"},  // overlong, surrogate
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},               // 😀 is valid UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeForDisplay(c.Bytes), c.Shown) << c.Shown;
    }
    EXPECT_EQ(EscapeForDisplay("a\r\nb\x1B", true), "a\r\nb\\x1B");
    EXPECT_EQ(EscapeInvalidUtf8("a\x1B\x92"), "a\x1B\\x92");
}

TEST(DisplayText, EchoedValuesAreShortenedWithTheirLength) {
    EXPECT_EQ(ShortenForMessage("1.5e"), "1.5e");
    EXPECT_EQ(ShortenForMessage(std::string(40, '9')), std::string(40, '9'));
    EXPECT_EQ(ShortenForMessage(std::string(1 << 20, '9')),
              std::string(40, '9') + "…（全 1048576 バイト）");
    // Characters, not bytes, are counted; a cut never splits one.
    std::string wide;
    for (int i = 0; i < 50; ++i) wide += "値";
    EXPECT_EQ(ShortenForMessage(wide, 3), "値値値…（全 150 バイト）");

    // The conversion error quotes its text this way and keeps it whole.
    const std::string huge(1 << 20, '5');
    try {
        (void)StrToFloat(huge + "x\x1B");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_LT(std::string(e.what()).size(), 120u);
        EXPECT_EQ(e.Text().size(), huge.size() + 2);
    }
    try {
        (void)StrToInt("1\x1B[2J");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'1\\x1B[2J' は有効な数値ではありません。");
    }
}

}  // namespace
}  // namespace sorvanta
