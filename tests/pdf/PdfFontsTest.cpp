// Font dictionaries, descriptors and width tables of the built-in fonts.

#include <gtest/gtest.h>

#include <regex>

#include "PdfTestSupport.h"
#include "pdf/PDFMaker.h"
#include "pdf/PMFonts.h"

namespace sorvanta {
namespace {

using pdftest::ObjectBody;
using pdftest::TMakerFixture;

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// Written out from the published table, line by line.
// clang-format off
const std::string JapaneseW =
    "[\r\n"
    "1 [ " + Repeat("479 ", 16) + "\r\n" +
    Repeat(Repeat("479 ", 16) + "\r\n", 4) +
    Repeat("479 ", 13) + "479]\r\n"
    "326 [ 958 " + Repeat("479 ", 15) + "\r\n" +
    Repeat(Repeat("479 ", 16) + "\r\n", 3) +
    "]\r\n"
    "631 631 479\r\n"
    "]\r\n";
// clang-format on

TEST(PdfFonts, MinchoIsAType0FontWithDescendantAndDescriptor) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Maker.Contents().FontNumber = 6;
    f.Maker.Contents().TextOut(0, 0, "あ");
    const std::string pdf = f.Write();
    EXPECT_EQ(ObjectBody(pdf, 6),
              "<<\r\n/Type /Font\r\n/Name /F0\r\n/Subtype /Type0\r\n"
              "/BaseFont /#82#6C#82#72#20#96#BE#92#A9\r\n/Encoding /90msp-RKSJ-H\r\n"
              "/DescendantFonts [7 0 R]\r\n>>\r\n");
    EXPECT_EQ(
        ObjectBody(pdf, 7),
        "<<\r\n/Type /Font\r\n/Name /F0\r\n/Subtype /CIDFontType2\r\n"
        "/BaseFont /#82#6C#82#72#20#96#BE#92#A9\r\n/WinCharSet /128\r\n"
        "/CIDSystemInfo <<\r\n/Registry(Adobe)\r\n/Ordering(Japan1)\r\n/Supplement 2\r\n>>\r\n"
        "/DW 1000\r\n/W " +
            JapaneseW + "\r\n/FontDescriptor 8 0 R\r\n>>\r\n");
    EXPECT_EQ(ObjectBody(pdf, 8),
              "<<\r\n/Type /FontDescriptor\r\n/FontName /#82#6C#82#72#20#96#BE#92#A9\r\n"
              "/Flags 6\r\n/FontBBox [ -143 -143 1015 872 ]\r\n/StemV 78\r\n/Ascent 872\r\n"
              "/CapHeight 872\r\n/Descent -143\r\n/ItalicAngle 0\r\n>>\r\n");
}

TEST(PdfFonts, GothicDiffersInNameAndFlags) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    (void)f.Maker.GetFont(7);
    const std::string pdf = f.Write();
    const std::string name = "#82#6C#82#72#20#83#53#83#56#83#62#83#4E";
    EXPECT_NE(ObjectBody(pdf, 6).find("/BaseFont /" + name + "\r\n"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 7).find("/BaseFont /" + name + "\r\n"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 7).find("/W " + JapaneseW + "\r\n"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 8).find("/FontName /" + name + "\r\n/Flags 4\r\n"),
              std::string::npos);
}

TEST(PdfFonts, CenturyIsATrueTypeFontWithWidths) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    (void)f.Maker.GetFont(0);
    const std::string pdf = f.Write();
    const std::string font = ObjectBody(pdf, 6);
    const std::string head =
        "<<\r\n/Type /Font\r\n/Name /F0\r\n/Subtype /TrueType\r\n/BaseFont /Century\r\n"
        "/FirstChar 31\r\n/LastChar 255\r\n/Widths [ "
        "719 266 283 373 533 533 798 781 196 319 319 479 581 266 319 266 \r\n"
        "266 533 533 533 533 533 533 533 533 533 533 266 266 581 581 581 \r\n";
    const std::string tail =
        "302 479 585 479 479 479 479 479 526 479 585 585 585 585 515 550 \r\n"
        "515 ]\r\n/Encoding /WinAnsiEncoding\r\n/FontDescriptor 7 0 R\r\n>>\r\n";
    EXPECT_EQ(font.substr(0, head.size()), head);
    ASSERT_GE(font.size(), tail.size());
    EXPECT_EQ(font.substr(font.size() - tail.size()), tail);
    EXPECT_EQ(ObjectBody(pdf, 7),
              "<<\r\n/Type /FontDescriptor\r\n/FontName /Century\r\n/Flags 34\r\n"
              "/FontBBox [ -219 -219 1188 1001 ]\r\n/StemV 78\r\n/Ascent 1001\r\n"
              "/CapHeight 1001\r\n/Descent -219\r\n/ItalicAngle 0\r\n>>\r\n");
}

// The widths text has 14 lines of 16 widths and a last line with the 225th
// width, and the table read back from it agrees with it.
TEST(PdfFonts, TrueTypeWidthTextsAndTables) {
    struct Case {
        int number;
        const char* baseFont;
        int flags;
        const char* bbox;
        int stemV;
        int widthA;     // code 65
        int widthLast;  // code 255
    };
    const Case cases[] = {
        {0, "Century", 34, "-219 -219 1188 1001", 78, 692, 515},
        {1, "Century,Bold", 16416, "-219 -219 1189 1001", 156, 693, 515},
        {2, "Arial", 32, "-215 -215 1313 919", 78, 639, 479},
        {3, "Arial,Bold", 16416, "-215 -215 1261 919", 78, 692, 533},
        {4, "Courier", 32, "-305 -305 669 845", 78, 575, 575},
        {5, "Courier,Bold", 16416, "-305 -305 759 845", 78, 575, 575},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baseFont);
        auto def = CreateFontDef(c.number);
        auto* tt = dynamic_cast<TPDFTrueTypeFontDef*>(def.get());
        ASSERT_NE(tt, nullptr);
        EXPECT_EQ(tt->FontNumber, c.number);
        EXPECT_EQ(tt->BaseFont, c.baseFont);
        EXPECT_TRUE(
            std::regex_match(tt->WidthsText, std::regex("\\[ ((\\d+ ){16}\r\n){14}\\d+ \\]")));
        std::vector<int> published;
        const std::regex number("\\d+");
        for (std::sregex_iterator it(tt->WidthsText.begin(), tt->WidthsText.end(), number), end;
             it != end; ++it) {
            published.push_back(std::stoi(it->str()));
        }
        ASSERT_EQ(published.size(), 225u);
        for (int code = 0; code < 256; ++code) {
            EXPECT_EQ(tt->Width(static_cast<std::uint8_t>(code)),
                      code < 31 ? 0 : published[code - 31])
                << code;
        }
        EXPECT_EQ(tt->Width('A'), c.widthA);
        EXPECT_EQ(tt->Width(255), c.widthLast);
        const TPDFFontDescriptorDef& d = *tt->DescriptorDef;
        EXPECT_EQ(d.FontName, c.baseFont);
        EXPECT_EQ(d.Flags, c.flags);
        EXPECT_EQ(std::to_string(d.FontBBox[0]) + " " + std::to_string(d.FontBBox[1]) + " " +
                      std::to_string(d.FontBBox[2]) + " " + std::to_string(d.FontBBox[3]),
                  c.bbox);
        EXPECT_EQ(d.StemV, c.stemV);
        EXPECT_EQ(d.Ascent, d.CapHeight);
        EXPECT_EQ(d.Descent, d.FontBBox[1]);
    }
}

TEST(PdfFonts, JapaneseWidthsComeFromTheCidRanges) {
    for (int number : {6, 7}) {
        auto def = CreateFontDef(number);
        EXPECT_EQ(def->FontNumber, number);
        ASSERT_TRUE(def->DescendantDef);
        EXPECT_EQ(def->DescendantDef->FontNumber, 0);
        EXPECT_FALSE(def->DescriptorDef);
        for (int code = 0; code < 256; ++code) {
            int expected = 0;
            if (code == 0) expected = 1000;
            if (code >= 32 && code <= 125) expected = 479;
            if (code == 160) expected = 958;
            if (code >= 161 && code <= 223) expected = 479;
            EXPECT_EQ(def->Width(static_cast<std::uint8_t>(code)), expected) << code;
        }
    }
    EXPECT_EQ(CreateFontDef(8), nullptr);
    EXPECT_EQ(CreateFontDef(-1), nullptr);
}

TEST(PdfFonts, ResourcesNumberFontsInRegistrationOrder) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    EXPECT_EQ(f.Maker.GetFont(4).ResourceNumber, 0);
    EXPECT_EQ(f.Maker.GetFont(6).ResourceNumber, 1);
    EXPECT_EQ(&f.Maker.GetFont(4), &f.Maker.GetFont(4));
    EXPECT_EQ(f.Maker.GetFont(6).Descendant()->ResourceNumber, 0);
    EXPECT_EQ(f.Maker.FontResourceText(), "/F0 6 0 R\r\n/F1 8 0 R\r\n");
    const std::string pdf = f.Write();
    EXPECT_NE(ObjectBody(pdf, 8).find("/Name /F1\r\n"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 9).find("/Name /F0\r\n"), std::string::npos);  // descendant
    EXPECT_NE(ObjectBody(pdf, 4).find("/Font <<\r\n/F0 6 0 R\r\n/F1 8 0 R\r\n>>\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace sorvanta
