// The chart canvas of a PDF page: what each primitive writes on the page.

#include <gtest/gtest.h>

#include <sstream>

#include "PdfTestSupport.h"
#include "documents/PdfCanvas.h"

namespace sorvanta {
namespace {

using pdftest::CountOf;

class PdfCanvasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        maker.BeginDoc(&out);
        maker.Contents().FontNumber = 6;
    }
    [[nodiscard]] const std::string& Page() { return maker.Contents().ContentText(); }
    TPDFMaker maker;
    std::ostringstream out;
};

// Canvas y is the negated page y; the pen is written with every line.
TEST_F(PdfCanvasTest, LinesAndRectanglesStandAtTheNegatedY) {
    TPdfCanvas canvas(maker.Contents());
    canvas.SetPen({255, 0, 0}, 0.2, TPenStyle::Solid);
    canvas.Line({75, -67}, {305.5, -297.25});
    EXPECT_EQ(Page(), "75 67 m\r0 J\r1 0 0 RG \r0.2 w\r305.5 297.25 l\rS\rn\r");

    const TPointF triangle[] = {{0, -10}, {10, -10}, {5, -20}};
    canvas.SetBrush(TBrushStyle::Solid, {0, 255, 0});  // no fills on the page
    canvas.Polygon(triangle);
    EXPECT_EQ(CountOf(Page(), "S\r"), 4) << "three sides of the outline";
    canvas.Rectangle({10, -50, 20, 30});
    EXPECT_NE(Page().find("10 50 m\r0.2 w\r0 j\r1 0 0 RG \r10 20 l\r30 20 l\r30 50 l\rs\r"),
              std::string::npos);

    canvas.SetPen({0, 0, 0}, 1, TPenStyle::None);
    const std::string before = Page();
    canvas.Line({0, 0}, {1, 1});
    canvas.Rectangle({0, 0, 1, 1});
    EXPECT_EQ(Page(), before) << "no pen, no line";
}

// The dash is a state of the page: written when the pen's style changes,
// and brought back by the end of a clip that was set before it.
TEST_F(PdfCanvasTest, DashFollowsThePenAndTheClip) {
    TPdfCanvas canvas(maker.Contents());
    canvas.SetPen({0, 0, 0}, 1, TPenStyle::Solid);
    EXPECT_EQ(Page(), "");
    canvas.SetPen({0, 0, 0}, 1, TPenStyle::Dash);
    canvas.SetPen({255, 0, 0}, 2, TPenStyle::Dash);
    EXPECT_EQ(Page(), "[3 ]0 d\r");
    canvas.PushFramedClip({0, -10, 10, 10});
    canvas.SetPen({0, 0, 0}, 1, TPenStyle::Solid);
    canvas.PopClip();
    EXPECT_TRUE(Page().ends_with("q\rW\rs\r[]0 d\rQ\r"));
    canvas.SetPen({0, 0, 0}, 1, TPenStyle::Solid);
    EXPECT_TRUE(Page().ends_with("Q\r[]0 d\r")) << "the dash came back with Q";
    EXPECT_FALSE(maker.Contents().StateSaved());
}

// Text by its baseline in the page's font; measuring changes nothing, an
// empty text still writes its text object.
TEST_F(PdfCanvasTest, TextInTheFontOfTheCanvas) {
    TPdfCanvas canvas(maker.Contents());
    TCanvasFont font;
    font.Face = "ＭＳ 明朝";
    font.Size = 8;
    font.Colour = {0, 0, 255};
    EXPECT_DOUBLE_EQ(canvas.TextWidth(font, "目次"), 16);
    EXPECT_EQ(maker.Contents().FontSize, 10) << "measuring leaves the page as it was";
    canvas.SetFont(font);
    canvas.TextOnBaseline({50, -802}, "");
    EXPECT_EQ(Page(), "BT\r/F0 8 Tf\r0 0 1 rg \r0 TL\r0 Tc\r0 Tw\r50 802 Td\rET\r");
    font.Face = "Arial";
    font.Bold = true;
    canvas.SetFont(font);
    canvas.TextOnBaseline({0, 0}, "A");
    EXPECT_EQ(maker.Contents().FontNumber, 3);
}

}  // namespace
}  // namespace sorvanta
