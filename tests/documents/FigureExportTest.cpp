// The figure files read back record by record: a placeable metafile that a
// Windows program accepts (key, checksum, header sizes, record sizes, the
// largest record, fonts in the Shift-JIS character set), and an SVG beside it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "../pdf/PdfSampleCalculation.h"
#include "documents/Figures.h"
#include "documents/SvgCanvas.h"
#include "documents/WmfCanvas.h"
#include "text/Cp932.h"
#include "text/TextFile.h"
#include "views/ChartNavigation.h"
#include "wmf/WmfWriter.h"

namespace sorvanta {
namespace {

namespace fs = std::filesystem;

struct TWmfText {
    int X = 0;
    int Y = 0;
    std::string Utf8;
};

struct TWmfFont {
    int Height = 0;
    int Charset = 0;
    std::string Face;  // UTF-8
};

// Everything the checks look at, gathered while walking the records.
struct TWmfFile {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint16_t> Functions;
    std::vector<TWmfText> Texts;
    std::vector<TWmfFont> Fonts;
    std::vector<std::vector<int>> Polylines;   // x0, y0, x1, y1, ...
    std::vector<std::pair<int, int>> Brushes;  // style, hatch

    [[nodiscard]] bool HasText(std::string_view text) const {
        return std::any_of(Texts.begin(), Texts.end(),
                           [&](const TWmfText& t) { return t.Utf8 == text; });
    }
    [[nodiscard]] bool HasTextStartingWith(std::string_view text) const {
        return std::any_of(Texts.begin(), Texts.end(),
                           [&](const TWmfText& t) { return t.Utf8.starts_with(text); });
    }
};

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(at)) |
                                      (static_cast<unsigned char>(b.at(at + 1)) << 8));
}
std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | (std::uint32_t{U16(b, at + 2)} << 16);
}
int S16(const std::string& b, std::size_t at) {
    return static_cast<std::int16_t>(U16(b, at));
}

// Parses the whole file, failing the test at the first fault.
TWmfFile ReadWmf(const std::string& b) {
    TWmfFile f;
    EXPECT_GE(b.size(), WmfPlaceableHeaderBytes + WmfHeaderBytes + 6);
    if (b.size() < WmfPlaceableHeaderBytes + WmfHeaderBytes + 6) return f;
    EXPECT_EQ(U32(b, 0), WmfPlaceableKey);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= U16(b, i);
    EXPECT_EQ(U16(b, 20), checksum) << "placeable header checksum";
    EXPECT_EQ(S16(b, 6), 0);
    EXPECT_EQ(S16(b, 8), 0);
    f.Width = S16(b, 10);
    f.Height = S16(b, 12);
    EXPECT_EQ(U16(b, 14), 96) << "units per inch";

    const std::size_t h = WmfPlaceableHeaderBytes;
    EXPECT_EQ(U16(b, h), 1) << "memory metafile";
    EXPECT_EQ(U16(b, h + 2), 9) << "header words";
    EXPECT_EQ(U16(b, h + 4), 0x0300) << "version";
    EXPECT_EQ(U32(b, h + 6) * 2, b.size() - h)
        << "mtSize counts the words after the placeable header";
    const int objects = U16(b, h + 10);
    const std::uint32_t maxRecord = U32(b, h + 12);

    std::uint32_t largest = 0;
    std::set<int> created;
    std::size_t at = h + WmfHeaderBytes;
    while (at < b.size()) {
        const std::uint32_t words = U32(b, at);
        const std::uint16_t function = U16(b, at + 4);
        EXPECT_GE(words, 3u);
        EXPECT_LE(at + words * 2, b.size()) << "record overruns the file at " << at;
        if (words < 3 || at + words * 2 > b.size()) return f;
        largest = std::max(largest, words);
        f.Functions.push_back(function);
        const std::size_t p = at + 6;
        switch (function) {
            case WmfCreateFontIndirect: {
                TWmfFont font;
                font.Height = S16(b, p);
                font.Charset = static_cast<unsigned char>(b.at(p + 13));
                std::string face = b.substr(p + 18, 32);
                face.resize(face.find('\0') == std::string::npos ? 32 : face.find('\0'));
                const auto utf8 = TryCp932ToUtf8(face);
                EXPECT_TRUE(utf8) << "face name is not cp932";
                font.Face = utf8.value_or("");
                EXPECT_EQ(words, 3u + 9u + 16u);
                f.Fonts.push_back(font);
                break;
            }
            case WmfTextOut: {
                const int length = S16(b, p);
                const std::size_t padded = static_cast<std::size_t>(length + 1) / 2 * 2;
                EXPECT_EQ(words, 3 + 1 + padded / 2 + 2);
                const auto utf8 = TryCp932ToUtf8(b.substr(p + 2, static_cast<std::size_t>(length)));
                EXPECT_TRUE(utf8) << "text is not cp932";
                f.Texts.push_back(
                    {S16(b, p + 2 + padded + 2), S16(b, p + 2 + padded), utf8.value_or("")});
                break;
            }
            case WmfPolyline:
            case WmfPolygon: {
                const int n = S16(b, p);
                EXPECT_EQ(words, 3u + 1u + 2u * static_cast<std::uint32_t>(n));
                if (function == WmfPolyline) {
                    std::vector<int> xy;
                    for (int i = 0; i < 2 * n; ++i)
                        xy.push_back(S16(b, p + 2 + 2 * static_cast<std::size_t>(i)));
                    f.Polylines.push_back(xy);
                }
                break;
            }
            case WmfCreateBrushIndirect:
                EXPECT_EQ(words, 7u);
                f.Brushes.emplace_back(U16(b, p), U16(b, p + 6));
                break;
            case WmfSelectObject:
            case WmfDeleteObject:
                EXPECT_LT(S16(b, p), objects) << "object index beyond the table";
                break;
            default:
                break;
        }
        at += words * 2;
    }
    EXPECT_EQ(at, b.size()) << "record sizes add up to the file size";
    EXPECT_EQ(largest, maxRecord) << "mtMaxRecord";
    EXPECT_FALSE(f.Functions.empty());
    if (!f.Functions.empty()) {
        EXPECT_EQ(f.Functions.back(), WmfEof);
    }
    EXPECT_EQ(std::count(f.Functions.begin(), f.Functions.end(), WmfSaveDc),
              std::count(f.Functions.begin(), f.Functions.end(), WmfRestoreDc));
    for (const TWmfFont& font : f.Fonts) {
        EXPECT_EQ(font.Charset, WmfShiftJisCharset);
        EXPECT_LT(font.Height, 0) << "em height";
    }
    return f;
}

class FigureExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("figures-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code e;
        fs::permissions(dir_, fs::perms::owner_all, e);
        fs::remove_all(dir_, e);
    }
    [[nodiscard]] std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir_;
};

const std::vector<std::string> AllSix = {"任意すべり円.svg", "任意すべり円.wmf",
                                         "地形図.svg",       "地形図.wmf",
                                         "最少すべり円.svg", "最少すべり円.wmf"};

TEST_F(FigureExportTest, ARunGivesThreeWellFormedMetafilesWithTheirJapaneseTexts) {
    const pdftest::TSampleCalculation calc;
    ASSERT_TRUE(calc.Run.HasCritical);
    WriteFigures(dir_, calc.Preview, calc.Report);
    ASSERT_EQ(Files(), AllSix);

    const TFigureSizes sizes;
    const TWmfFile ground = ReadWmf(ReadFileBytes(dir_ / "地形図.wmf"));
    EXPECT_EQ(ground.Width, sizes.Preview.Width);
    EXPECT_EQ(ground.Height, sizes.Preview.Height);
    EXPECT_TRUE(ground.HasText("地形図"));
    EXPECT_TRUE(ground.HasText("70"));  // the sample's axes run 0 to 70

    const TWmfFile result = ReadWmf(ReadFileBytes(dir_ / "最少すべり円.wmf"));
    EXPECT_EQ(result.Width, sizes.Result.Width);
    EXPECT_TRUE(result.HasText("円弧滑り図"));
    EXPECT_TRUE(result.HasText("地盤"));  // legend
    EXPECT_TRUE(result.HasText("N.C.L(必須)"));
    EXPECT_TRUE(result.HasTextStartingWith("(Xo="));
    EXPECT_TRUE(result.HasTextStartingWith("(Xb="));
    ASSERT_FALSE(result.Fonts.empty());
    EXPECT_EQ(result.Fonts.front().Face, "ＭＳ Ｐゴシック");

    const TWmfFile arbitrary = ReadWmf(ReadFileBytes(dir_ / "任意すべり円.wmf"));
    EXPECT_TRUE(arbitrary.HasText("円弧滑り図"));
    EXPECT_TRUE(arbitrary.HasTextStartingWith("(Xo="));

    const std::string svg = ReadFileBytes(dir_ / "最少すべり円.svg");
    EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_NE(svg.find("width=\"596\" height=\"549\""), std::string::npos);
    EXPECT_NE(svg.find(">円弧滑り図</text>"), std::string::npos);
    EXPECT_NE(svg.find(">地盤</text>"), std::string::npos);
    EXPECT_NE(svg.find("font-family=\"'ＭＳ Ｐゴシック', sans-serif\""), std::string::npos);
    auto count = [&](std::string_view s) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(s); at != std::string::npos; at = svg.find(s, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("<g "), count("</g>"));
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
}

TEST_F(FigureExportTest, EmptyChartsBeforeAnyRunStillGiveFiguresAndASecondExportReplacesThem) {
    WriteFigures(dir_, MakePreviewChart(), TCalculationReport{});
    ASSERT_EQ(Files(), AllSix);
    for (const char* name : {"地形図.wmf", "最少すべり円.wmf", "任意すべり円.wmf"}) {
        const TWmfFile f = ReadWmf(ReadFileBytes(dir_ / name));
        EXPECT_TRUE(f.HasText(name == std::string("地形図.wmf") ? "地形図" : "円弧滑り図")) << name;
    }

    const pdftest::TSampleCalculation calc;
    WriteFigures(dir_, calc.Preview, calc.Report, {{300, 200}, {400, 300}, {500, 400}});
    EXPECT_EQ(Files(), AllSix);  // replaced, no temporary left
    EXPECT_EQ(ReadWmf(ReadFileBytes(dir_ / "任意すべり円.wmf")).Width, 500);
    EXPECT_TRUE(ReadWmf(ReadFileBytes(dir_ / "最少すべり円.wmf")).HasTextStartingWith("(Xo="));
}

TEST_F(FigureExportTest, AFileThatCannotBeWrittenStopsThereNamingIt) {
    // The result chart's metafile cannot replace what stands in its place.
    fs::create_directories(dir_ / "最少すべり円.wmf" / "occupied");
    try {
        WriteFigures(dir_, MakePreviewChart(), TCalculationReport{});
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("最少すべり円.wmf"), std::string::npos) << e.what();
    }
    // The files before it stay, none after it, nothing half-written.
    EXPECT_EQ(Files(), (std::vector<std::string>{"地形図.svg", "地形図.wmf", "最少すべり円.wmf"}));
    EXPECT_TRUE(fs::is_directory(dir_ / "最少すべり円.wmf"));
}

// Every `attribute` of the SVG elements named `element`, in drawing order.
std::vector<std::string> SvgAttributes(const std::string& svg, const std::string& element,
                                       const std::string& attribute) {
    std::vector<std::string> values;
    const std::regex tag("<" + element + " [^>]*");
    const std::regex value(" " + attribute + "=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tag); it != std::sregex_iterator();
         ++it) {
        std::smatch m;
        const std::string text = it->str();
        if (std::regex_search(text, m, value)) values.push_back(m[1]);
    }
    return values;
}

// The five layers of the sample, in every slip circle chart and in the copies
// its separate windows show, are filled in the colour their points (and
// outlines) carry: one colour per layer in every figure of a design.
TEST(FigureColours, EverySlipCircleChartFillsEachLayerInItsOwnColour) {
    const pdftest::TSampleCalculation calc;
    ASSERT_TRUE(calc.Run.HasCritical);
    TChartModel separateResult = MakeResultChart();
    CopyChart(calc.Report.ResultChart, separateResult);
    TChartModel separateArbitrary = MakeSeparateArbitraryChart();
    CopyChart(calc.Report.ArbitraryChart, separateArbitrary);
    const std::vector<std::string> layers{"#808000", "#008080", "#800000", "#008000", "#800080"};
    const struct {
        const char* Name;
        const TChartModel& Chart;
    } charts[] = {{"result", calc.Report.ResultChart},
                  {"arbitrary", calc.Report.ArbitraryChart},
                  {"separate result window", separateResult},
                  {"separate arbitrary window", separateArbitrary}};
    for (const auto& c : charts) {
        SCOPED_TRACE(c.Name);
        for (std::size_t k = 0; k < layers.size(); ++k)
            ASSERT_FALSE(c.Chart.Series[k].Points.empty()) << "layer " << k + 1;
        const std::string svg = ChartToSvg(c.Chart, {560, 460});
        EXPECT_EQ(SvgAttributes(svg, "polygon", "fill"), layers);
        // The outlines are in the same colours (the slip surface is blue).
        const std::vector<std::string> strokes = SvgAttributes(svg, "polyline", "stroke");
        for (const std::string& colour : layers)
            EXPECT_NE(std::find(strokes.begin(), strokes.end(), colour), strokes.end()) << colour;
    }
}

// A figure is the chart as its window draws it: a slip circle chart keeps
// its plot square at any size (circles round, the same ticks both ways), the
// terrain chart fills the figure.
TEST(FigureLayout, ASlipCircleFigureHasTheSquarePlotOfItsWindow) {
    const pdftest::TSampleCalculation calc;
    ASSERT_TRUE(calc.Run.HasCritical);
    const TChartStyle style;
    for (const TFigureSize size :
         {TFigureSize{560, 460}, TFigureSize{300, 500}, TFigureSize{900, 380}}) {
        SCOPED_TRACE(testing::Message() << size.Width << "x" << size.Height);
        for (const TChartModel* chart : {&calc.Report.ResultChart, &calc.Report.ArbitraryChart}) {
            const std::string svg = ChartToSvg(*chart, size, style);
            // The plot's frame is the one rectangle drawn without a fill.
            std::vector<std::string> fills = SvgAttributes(svg, "rect", "fill");
            const auto frame = std::find(fills.begin(), fills.end(), "none") - fills.begin();
            ASSERT_LT(frame, static_cast<std::ptrdiff_t>(fills.size()));
            const auto at = static_cast<std::size_t>(frame);
            const double w = std::stod(SvgAttributes(svg, "rect", "width").at(at));
            const double h = std::stod(SvgAttributes(svg, "rect", "height").at(at));
            EXPECT_NEAR(w, h, 0.5);
            EXPECT_GT(w, 100);
            // The whole figure still has its background.
            EXPECT_EQ(SvgAttributes(svg, "rect", "width").front(), std::to_string(size.Width));
            // Both axes of the framed chart have equal spans: one step each way.
            TSvgCanvas measure(size.Width, size.Height);
            const TChartFrame f = LayoutChart(
                *chart, {0, 0, double(size.Width), double(size.Height)}, style, measure);
            EXPECT_NEAR(f.Plot.Width, w, 1e-6);
            EXPECT_NEAR(f.Plot.Width / (f.X.Max - f.X.Min), f.Plot.Height / (f.Y.Max - f.Y.Min),
                        1e-6);
        }
        const std::string ground = ChartToSvg(calc.Preview, size, style);
        std::vector<std::string> fills = SvgAttributes(ground, "rect", "fill");
        const auto at =
            static_cast<std::size_t>(std::find(fills.begin(), fills.end(), "none") - fills.begin());
        ASSERT_LT(at, fills.size());
        EXPECT_GT(std::stod(SvgAttributes(ground, "rect", "width").at(at)) + 60, size.Width);
    }
}

// A zoomed chart puts points far outside the 16-bit range of the metafile:
// their lines are cut at the edge of that range, keeping their direction.
TEST(WmfCanvasTest, FarPointsKeepTheDirectionOfTheirLines) {
    TWmfCanvas canvas(400, 300);
    canvas.SetPen({0, 0, 255}, 1, TPenStyle::Solid);
    const TPointF line[] = {{100, 100}, {1e6 + 100, 1e6 + 100}, {1e6, -5e5}};
    canvas.Polyline(line);
    const TWmfFile f = ReadWmf(canvas.Finish());
    ASSERT_EQ(f.Polylines.size(), 1u);
    const std::vector<int>& xy = f.Polylines.front();
    ASSERT_EQ(xy.size(), 4u) << "the second segment lies wholly outside";
    EXPECT_EQ(xy[0], 100);
    EXPECT_EQ(xy[1], 100);
    EXPECT_EQ(xy[2], xy[3]) << "still on the diagonal";
    EXPECT_GT(xy[2], 10000);
}

// The printed figures fill their areas with a hatch; the files keep it.
TEST(WmfCanvasTest, HatchedAreasGetADiagonalCrossBrush) {
    TChartModel chart = MakeResultChart();
    chart.Series[rsGround].Hatched = true;
    chart.Series[rsGround].Add(0, 5);
    chart.Series[rsGround].Add(10, 8);
    const TWmfFile f = ReadWmf(ChartToWmf(chart, {300, 200}));
    EXPECT_NE(std::find(f.Brushes.begin(), f.Brushes.end(),
                        std::pair<int, int>(WmfBrushHatched, WmfHatchDiagCross)),
              f.Brushes.end());
    const std::string svg = ChartToSvg(chart, {300, 200});
    EXPECT_NE(svg.find("<pattern id=\"hatch"), std::string::npos);
    EXPECT_NE(svg.find("fill=\"url(#hatch"), std::string::npos);
}

TEST(WmfWriterTest, FaceNamesAreCutAtACharacterAndUnknownCharactersBecomeQuestionMarks) {
    TWmfWriter writer(10, 10);
    writer.CreateFont(12, false, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱ");  // 34 bytes in cp932
    writer.TextOut(0, 0, "€x");
    const TWmfFile f = ReadWmf(writer.Finish());
    ASSERT_EQ(f.Fonts.size(), 1u);
    EXPECT_EQ(f.Fonts[0].Face,
              "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ");  // 30 bytes: the next would pass 31
    ASSERT_EQ(f.Texts.size(), 1u);
    EXPECT_EQ(f.Texts[0].Utf8, "?x");
}

}  // namespace
}  // namespace sorvanta
