// Content stream operators and text measuring.

#include <gtest/gtest.h>

#include "PdfTestSupport.h"
#include "pdf/PDFMaker.h"
#include "text/Cp932.h"

namespace sorvanta {
namespace {

class PdfContents : public ::testing::Test {
  protected:
    void SetUp() override { f.Maker.BeginDoc(&f.Out); }
    TPDFContents& C() { return f.Maker.Contents(); }
    pdftest::TMakerFixture f;
};

constexpr const char* TextHead = "BT\r/F0 12 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r285 802 Td\r";

TEST_F(PdfContents, EmptyTextWritesTheTextObjectWithoutShow) {
    C().FontNumber = 6;
    C().FontSize = 12;
    C().TextOut(285, 802, "");
    EXPECT_EQ(C().ContentText(), std::string(TextHead) + "ET\r");
}

TEST_F(PdfContents, TextStateIsWrittenWithEveryText) {
    C().FontNumber = 6;
    C().FontSize = 9.5;
    C().TextColor = {255, 0, 0};
    C().Leading = 10;
    C().CharSpace = 0.5;
    C().WordSpace = 1.25;
    C().TextOut(50.125, 16.004, "a");
    EXPECT_EQ(C().ContentText(),
              "BT\r/F0 9.5 Tf\r1 0 0 rg \r10 TL\r0.5 Tc\r1.25 Tw\r50.13 16 Td\r(a) Tj\rET\r");
}

TEST_F(PdfContents, LinesOfAText) {
    struct Case {
        const char* text;
        const char* shows;
    };
    const Case cases[] = {
        {"A", "(A) Tj\r"},
        {"A\rB", "(A) Tj\rT*\r(B) Tj\r"},
        {"A\r\nB", "(A) Tj\rT*\r(B) Tj\r"},
        {"A\r", "(A) Tj\r"},
        {"A\r\n", "(A) Tj\rT*\r"},
        {"A\r\rB", "(A) Tj\rT*\r() Tj\rT*\r(B) Tj\r"},
        {"A\nB", "(A\nB) Tj\r"},  // a lone LF is no break
        {"(x) \\y", "(\\(x\\) \\\\y) Tj\r"},
        {"目　　次", "<96DA814081408E9F> Tj\r"},
        {"No.1 目", "<4E6F2E312096DA> Tj\r"},
        {"(a)\r表", "(\\(a\\)) Tj\rT*\r<955C> Tj\r"},
        {"ｽﾗｲｽ", "(\xBD\xD7\xB2\xBD) Tj\r"},  // half-width katakana are single bytes
    };
    for (const Case& c : cases) {
        TPDFMaker maker;
        std::ostringstream out;
        maker.BeginDoc(&out);
        maker.Contents().FontNumber = 6;
        maker.Contents().FontSize = 12;
        maker.Contents().TextOut(285, 802, c.text);
        EXPECT_EQ(maker.Contents().ContentText(), std::string(TextHead) + c.shows + "ET\r")
            << c.text;
    }
}

TEST_F(PdfContents, TextWithoutCp932FormIsAnErrorNotALoss) {
    C().FontNumber = 6;
    EXPECT_THROW(C().TextOut(0, 0, "Fs 😀"), TextCodecError);
    EXPECT_THROW((void)C().TextWidth("😀"), TextCodecError);
}

TEST_F(PdfContents, TextWidthIsSummedInSinglePrecision) {
    C().FontNumber = 6;
    C().FontSize = 12;
    EXPECT_EQ(C().TextWidth("目次"), 24.0f);
    C().FontSize = 10;
    // 4.79 seven times, each sum rounded to single precision: not 33.53
    // exactly, and the footer centred with it lands on 291.23, not 291.24.
    EXPECT_FLOAT_EQ(C().TextWidth("Page: 1"), 33.53f);
    EXPECT_NE(static_cast<double>(C().TextWidth("Page: 1")), 33.53);
    EXPECT_EQ(FormatNumber(45 + (526 - C().TextWidth("Page: 1")) / 2), "291.23");
    EXPECT_EQ(C().TextWidth(""), 0.0f);
    EXPECT_EQ(C().TextWidth("~"), 0.0f);  // no entry in the table
    EXPECT_FLOAT_EQ(C().TextWidth("ｱ"), 4.79f);
    // Character spacing after the first byte (trail bytes from the third
    // byte on), word spacing per blank.
    C().CharSpace = 1;
    C().WordSpace = 2;
    EXPECT_FLOAT_EQ(C().TextWidth("a b"), 3 * 4.79f + 2 + 2);
    EXPECT_FLOAT_EQ(C().TextWidth("目次"), 20 + 1);
    EXPECT_FLOAT_EQ(C().TextWidth("a目"), 4.79f + 10 + 1);
    C().FontNumber = 0;
    C().CharSpace = 0;
    C().WordSpace = 0;
    EXPECT_FLOAT_EQ(C().TextWidth("AW"), (692 + 940) * 10 / 1000.0f);
}

TEST_F(PdfContents, MeasuringRegistersTheFontLikeDrawing) {
    C().FontNumber = 6;
    (void)C().TextWidth("x");
    EXPECT_EQ(f.Maker.Objects().Count(), 8);
    EXPECT_EQ(f.Maker.FontResourceText(), "/F0 6 0 R\r\n");
    C().FontNumber = 0;
    C().TextOut(0, 0, "x");
    EXPECT_EQ(f.Maker.Objects().Count(), 10);  // TrueType font and descriptor
    EXPECT_EQ(f.Maker.FontResourceText(), "/F0 6 0 R\r\n/F1 9 0 R\r\n");
    EXPECT_NE(C().ContentText().find("/F1 10 Tf\r"), std::string::npos);
    C().FontNumber = 6;
    C().TextOut(0, 0, "x");
    EXPECT_EQ(f.Maker.Objects().Count(), 10);
}

TEST_F(PdfContents, UnsupportedFontNumberCreatesNothing) {
    for (int number : {8, 255}) {
        C().FontNumber = static_cast<std::uint8_t>(number);
        try {
            C().TextOut(0, 0, "x");
            FAIL() << number;
        } catch (const TPDFError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "このフォントは現在サポートされていません (" + std::to_string(number) + ")");
        }
    }
    EXPECT_THROW(f.Maker.GetFont(-1), TPDFError);
    EXPECT_EQ(f.Maker.Objects().Count(), 5);
    EXPECT_EQ(f.Maker.Fonts().Count(), 0);
}

TEST_F(PdfContents, Line) {
    C().LineWidth = 0.75;
    C().LineColor = {128, 0, 0};
    C().LineCap = 1;
    C().DrawLine(45, 797, 571.004, 796.996);
    EXPECT_EQ(C().ContentText(), "45 797 m\r1 J\r0.5 0 0 RG \r0.75 w\r571 797 l\rS\rn\r");
}

TEST_F(PdfContents, RectangleAndClipping) {
    C().LineJoin = 2;
    C().DrawRect(false, 45, 817, 571, 28);
    EXPECT_EQ(C().ContentText(),
              "45 817 m\r1 w\r2 j\r0 0 0 RG \r45 28 l\r571 28 l\r571 817 l\rs\r");
    TPDFMaker maker;
    std::ostringstream out;
    maker.BeginDoc(&out);
    TPDFContents& c = maker.Contents();
    c.DrawRect(true, 1, 4, 3, 2);
    c.DrawRect(true, 1, 4, 3, 2);  // the pending q is not repeated
    c.GRestore();
    c.GRestore();  // nothing pending: nothing written
    const std::string rect = "1 4 m\r1 w\r0 j\r0 0 0 RG \r1 2 l\r3 2 l\r3 4 l\r";
    EXPECT_EQ(c.ContentText(), rect + "q\rW\rs\r" + rect + "W\rs\rQ\r");
    EXPECT_FALSE(c.StateSaved());
}

TEST_F(PdfContents, SaveAndRestoreAreOneLevel) {
    C().GRestore();
    C().GSave();
    C().GSave();
    EXPECT_TRUE(C().StateSaved());
    C().GRestore();
    EXPECT_EQ(C().ContentText(), "q\rQ\r");
}

TEST_F(PdfContents, Dashes) {
    C().SetDash(3, 0, 0);
    C().SetDash(0, 0, 0);
    C().SetDash(3, 2, 1);
    C().SetDash(0, 4, 0);
    EXPECT_EQ(C().ContentText(), "[3 ]0 d\r[]0 d\r[3 2]1 d\r[4]0 d\r");
}

TEST_F(PdfContents, StateStartsAgainOnANewPage) {
    C().FontSize = 12;
    C().LineWidth = 0.2;
    C().TextColor = {255, 0, 0};
    C().GSave();
    f.Maker.NewPage();
    EXPECT_EQ(C().FontSize, 10);
    EXPECT_EQ(C().LineWidth, 1);
    EXPECT_EQ(C().TextColor, (TRgb{0, 0, 0}));
    EXPECT_FALSE(C().StateSaved());
    EXPECT_EQ(C().ContentText(), "");
}

}  // namespace
}  // namespace sorvanta
