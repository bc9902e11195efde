// The calculation document: page plan, tables continued over pages, footers,
// charts, information texts and the file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>

#include "PdfTestSupport.h"
#include "documents/PdfDocument.h"
#include "documents/PdfDrawing.h"
#include "text/TextFile.h"

namespace sorvanta {
namespace {

using pdftest::CountOf;
using pdftest::FixedTime;
using pdftest::HexShow;
using pdftest::ObjectBody;
using pdftest::PageContents;

// Result tables as they stand before any run, with a centre table of
// `dataRows` rows "R001", "R002", ...
TResultTables TablesWithCentreRows(int dataRows) {
    TResultTables t;
    t.CentreTable.SetRowCount(dataRows + 1);
    for (int r = 1; r <= dataRows; ++r) {
        char cell[16];
        std::snprintf(cell, sizeof cell, "R%03d", r);
        t.CentreTable.Cell(r, 0) = cell;
    }
    return t;
}

struct TDocument {
    TPDFMaker Maker;
    std::string Bytes;
    std::vector<std::string> Pages;
};

std::unique_ptr<TDocument> MinimumDocument(const TResultTables& tables,
                                           std::string_view designName = "sample") {
    auto doc = std::make_unique<TDocument>();
    doc->Maker.FixedCreationTime = FixedTime;
    std::ostringstream out;
    TCalculationReport report;
    report.Results = tables;
    PdfMinimumDocument(doc->Maker, out, report, MakePreviewChart(), designName);
    doc->Bytes = out.str();
    doc->Pages = PageContents(doc->Maker);
    return doc;
}

// The footer number of every page; 0 for a page without footer.
std::vector<int> Footers(const std::vector<std::string>& pages) {
    std::vector<int> numbers;
    const std::regex footer(" 16 Td\r\\(Page: (\\d+)\\) Tj\r");
    for (const std::string& page : pages) {
        std::smatch m;
        numbers.push_back(std::regex_search(page, m, footer) ? std::stoi(m[1]) : 0);
    }
    return numbers;
}

TEST(PdfDocument, CentreTableContinuesOverPages) {
    struct Case {
        int dataRows;
        std::vector<int> rowsPerPage;  // of section Ⅱ
        std::vector<int> footers;
    };
    const Case cases[] = {
        {36, {36}, {0, 1, 2, 3, 4, 5}},
        {37, {36, 1}, {0, 1, 2, 3, 3, 4, 5}},
        {72, {36, 36}, {0, 1, 2, 3, 3, 4, 5}},
        {73, {36, 36, 1}, {0, 1, 2, 3, 4, 3, 4, 5}},  // 74 rows with MaxRows 37
        {74, {36, 36, 2}, {0, 1, 2, 3, 4, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataRows);
        const auto doc = MinimumDocument(TablesWithCentreRows(c.dataRows));
        const auto& pages = doc->Pages;
        ASSERT_EQ(pages.size(), 5 + c.rowsPerPage.size());
        EXPECT_EQ(Footers(pages), c.footers);
        const std::string title = HexShow("表1：滑り円中心座標と安全率");
        for (std::size_t k = 0; k < c.rowsPerPage.size(); ++k) {
            const std::string& page = pages[2 + k];
            EXPECT_EQ(CountOf(page, "(R"), c.rowsPerPage[k]) << "page " << k;
            EXPECT_EQ(CountOf(page, title), 1);
            const bool continued = k > 0;
            EXPECT_EQ(page.find("/F0 9 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r50 802 Td\r" +
                                HexShow("前ページつづき")) != std::string::npos,
                      continued);
            EXPECT_EQ(page.find(HexShow("Ⅱ.安全率の計算")) != std::string::npos, !continued);
            // The ruling keeps its full height on every page: same lines.
            EXPECT_EQ(CountOf(page, " S\r") + CountOf(page, "\rS\r"),
                      CountOf(pages[2], " S\r") + CountOf(pages[2], "\rS\r"));
        }
        char last[24];
        std::snprintf(last, sizeof last, "(R%03d) Tj", c.dataRows);
        EXPECT_NE(pages[2 + c.rowsPerPage.size() - 1].find(last), std::string::npos);
    }
}

TEST(PdfDocument, PagePlanHeadingsAndFooters) {
    const auto doc = MinimumDocument(TResultTables());
    const auto& pages = doc->Pages;
    ASSERT_EQ(pages.size(), 6u);
    const char* headings[] = {"Ⅰ.設計条件", "Ⅱ.安全率の計算", "Ⅲ.滑り円弧スライス荷重",
                              "Ⅳ.滑り円弧荷重", "Ⅴ.滑り円弧図(最少安全率)"};
    EXPECT_NE(pages[0].find("/F0 12 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r285 802 Td\r" +
                            HexShow("目　　次") + "ET\r"),
              std::string::npos);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(pages[i + 1].find("/F0 12 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r50 802 Td\r" +
                                    HexShow(headings[i])),
                  std::string::npos)
            << headings[i];
    }
    // Every page starts with its frame and header rule.
    for (const std::string& page : pages) {
        EXPECT_EQ(page.rfind("45 817 m\r1 w\r0 j\r0 0 0 RG \r45 28 l\r571 28 l\r571 817 l\rs\r"
                             "45 797 m\r0 J\r0 0 0 RG \r1 w\r571 797 l\rS\rn\r",
                             0),
                  0u);
    }
    // Contents page: no footer; the others centred under the frame.
    EXPECT_EQ(pages[0].find("Page:"), std::string::npos);
    const std::regex centred(
        "BT\r/F0 10 Tf\r0 0 0 rg \r[0-9.]+ TL\r0 Tc\r0 Tw\r291\\.23 16 Td\r"
        "\\(Page: 1\\) Tj\rET\r$");
    EXPECT_TRUE(std::regex_search(pages[1], centred));
    EXPECT_EQ(Footers(pages), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // One font for the whole document, registered by the first text.
    EXPECT_EQ(doc->Maker.FontResourceText(), "/F0 6 0 R\r\n");
    EXPECT_NE(ObjectBody(doc->Bytes, 6).find("/Subtype /Type0"), std::string::npos);
}

TEST(PdfDocument, ContentsLinesAtTheirOffsets) {
    TResultTables t;
    t.ContentsList = {"", "", "件　名：sample", ""};
    const auto doc = MinimumDocument(t);
    // Line k at (45 + 140, 817 - 60 - k * 14), leading 14.
    EXPECT_NE(doc->Pages[0].find("14 TL\r0 Tc\r0 Tw\r185 757 Td\rET\r"), std::string::npos);
    EXPECT_NE(doc->Pages[0].find("14 TL\r0 Tc\r0 Tw\r185 729 Td\r" + HexShow("件　名：sample")),
              std::string::npos);
    EXPECT_NE(doc->Pages[0].find("185 715 Td\rET\r"), std::string::npos);
}

TEST(PdfDocument, InformationTexts) {
    const std::string prefix = "FEFF001B6A61001B";
    {
        const auto doc = MinimumDocument(TResultTables(), "");
        const std::string info = ObjectBody(doc->Bytes, 3);
        EXPECT_NE(info.find("/Title <" + prefix + ">\r\n"), std::string::npos);
        EXPECT_NE(info.find("/Author <" + prefix + InfoHexText("Sorvanta").substr(16) + ">"),
                  std::string::npos);
        EXPECT_NE(info.find("/Subject <" + InfoHexText("円弧滑り検討システム.pdf") + ">"),
                  std::string::npos);
        EXPECT_NE(info.find("/Creator <" + InfoHexText("円弧滑り検討システム Ver3.5") + ">"),
                  std::string::npos);
    }
    TPDFMaker maker;
    std::ostringstream out;
    PdfArbitraryDocument(maker, out, TCalculationReport(), MakePreviewChart(), "設計1");
    const std::string info = ObjectBody(out.str(), 3);
    EXPECT_NE(info.find("/Author <" + InfoHexText("Vexlo") + ">"), std::string::npos);
    EXPECT_NE(info.find("/Title <" + InfoHexText("設計1") + ">"), std::string::npos);
    // A name without a cp932 form is refused, not written with a gap.
    TPDFMaker refused;
    std::ostringstream ignored;
    EXPECT_THROW(
        PdfMinimumDocument(refused, ignored, TCalculationReport(), MakePreviewChart(), "設計😀"),
        TextCodecError);
}

TEST(PdfDocument, ArbitraryDocumentTakesSectionsThreeToFiveFromItsTables) {
    TCalculationReport report;
    report.Results.Circle.SliceHeadingList = {"MINIMUM"};
    TCircleReport& arbitrary = report.Arbitrary.Circle;
    arbitrary.SliceHeadingList = {"ARBITRARY"};
    arbitrary.JudgementList = {"JUDGEMENT"};
    arbitrary.LoadTable.Cell(0, 0) = "LOADHEAD";
    TPDFMaker maker;
    std::ostringstream out;
    PdfArbitraryDocument(maker, out, report, MakePreviewChart(), "");
    const auto pages = PageContents(maker);
    ASSERT_EQ(pages.size(), 6u);
    EXPECT_NE(pages[3].find(HexShow("Ⅲ.滑り円弧スライス荷重(任意点)")), std::string::npos);
    EXPECT_NE(pages[3].find("(ARBITRARY) Tj"), std::string::npos);
    EXPECT_EQ(pages[3].find("MINIMUM"), std::string::npos);
    EXPECT_NE(pages[4].find(HexShow("Ⅳ.滑り円弧荷重(任意点)")), std::string::npos);
    EXPECT_NE(pages[4].find("(LOADHEAD) Tj"), std::string::npos);
    EXPECT_NE(pages[5].find(HexShow("Ⅴ.滑り円弧図(任意点)")), std::string::npos);
    EXPECT_NE(pages[5].find("(JUDGEMENT) Tj"), std::string::npos);
    EXPECT_NE(pages[5].find(HexShow("円弧滑り図")), std::string::npos);
}

// Coordinate tables hold up to 100 rows of 15 points: more than a page. They
// continue on the next page instead of running below the frame.
TEST(PdfDocument, CoordinateTableLongerThanThePageContinues) {
    TResultTables t;
    t.CoordinateTable1.SetRowCount(61);
    for (int r = 1; r <= 60; ++r) t.CoordinateTable1.Cell(r, 0) = "K" + std::to_string(r);
    const auto doc = MinimumDocument(t);
    ASSERT_EQ(doc->Pages.size(), 7u);
    EXPECT_EQ(CountOf(doc->Pages[1], "(K"), 48);
    EXPECT_EQ(CountOf(doc->Pages[2], "(K"), 12);
    EXPECT_NE(doc->Pages[2].find(HexShow("前ページつづき")), std::string::npos);
    const std::regex position("([-0-9.]+) ([-0-9.]+) (Td|m|l)\r");
    for (int p : {1, 2}) {
        const std::string& page = doc->Pages[static_cast<std::size_t>(p)];
        for (std::sregex_iterator it(page.begin(), page.end(), position), end; it != end; ++it) {
            const double y = std::stod((*it)[2]);
            EXPECT_GE(y, (*it)[3] == "Td" ? 16 : 28) << (*it)[0];
        }
    }
}

class PdfChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        maker.BeginDoc(&out);
        maker.Contents().FontNumber = 6;
    }
    std::string Draw(const TChartModel& chart) {
        TPdfDocumentDrawer drawer(maker);
        drawer.PdfChart(chart, 30, 520, 230, 230);
        return maker.Contents().ContentText();
    }
    TPDFMaker maker;
    std::ostringstream out;
};

TEST_F(PdfChartTest, SeriesGridAndLabels) {
    TChartModel chart;
    chart.Title = "地形図\r2行目";
    chart.Bottom = TAxisRange{500, 2500};
    chart.Left = TAxisRange{-5, 5};
    TChartSeries line;
    line.Kind = TSeriesKind::Line;
    line.Colour = {255, 0, 0};
    line.LabelsShown = true;
    line.Points = {{500, -5, "A", std::nullopt}, {2500, 5, std::nullopt, std::nullopt}};
    TChartSeries single;  // a must-cut point alone is not drawn
    single.Kind = TSeriesKind::Point;
    single.Points = {{1000, 0, "M.C.P", TRgb{0, 0, 255}}};
    TChartSeries points;
    points.Kind = TSeriesKind::Point;
    points.Colour = {0, 128, 0};
    points.LabelsShown = true;
    points.LabelColour = {0, 0, 255};
    points.Points = {{1000, 1, "1.50", std::nullopt}, {2000, 1, "2.50", TRgb{255, 0, 0}}};
    chart.Series = {line, single, points};
    const std::string c = Draw(chart);

    // Plot 75..305 x 67..297; the title's first line centred above.
    EXPECT_NE(c.find(HexShow("地形図")), std::string::npos);
    EXPECT_EQ(c.find(HexShow("2行目")), std::string::npos);
    // Frame with clipping, series inside, clipping ended before the grid.
    const auto clip =
        c.find("75 297 m\r0.75 w\r0 j\r0 0 0 RG \r75 67 l\r305 67 l\r305 297 l\rq\rW\rs\r");
    const auto restore = c.find("Q\r");
    ASSERT_NE(clip, std::string::npos);
    ASSERT_NE(restore, std::string::npos);
    EXPECT_NE(c.find("75 67 m\r0 J\r1 0 0 RG \r0.2 w\r305 297 l\rS\rn\r"), std::string::npos);
    EXPECT_NE(c.find("(A) Tj"), std::string::npos);
    // The point without a label shows an empty one: a text object without show.
    EXPECT_NE(c.find("305 299 Td\rET\r"), std::string::npos);
    EXPECT_EQ(CountOf(c, HexShow("●")), 2);
    EXPECT_EQ(c.find("M.C.P"), std::string::npos);
    EXPECT_NE(c.find("0 0.5 0 rg \r0 TL\r0 Tc\r0 Tw\r132.5 205 Td\r" + HexShow("●")),
              std::string::npos);
    EXPECT_NE(c.find("1 0 0 rg \r0 TL\r0 Tc\r0 Tw\r247.5 205 Td\r" + HexShow("●")),
              std::string::npos);
    EXPECT_NE(c.find("/F0 8 Tf\r0 0 1 rg \r"), std::string::npos);
    EXPECT_LT(clip, c.find(HexShow("●")));
    EXPECT_LT(c.rfind(HexShow("●")), restore);
    // Dashed grid after the restore, with "#,0" and "#,0.00" labels.
    const auto dash = c.find("[3 ]0 d\r");
    EXPECT_LT(restore, dash);
    EXPECT_NE(c.find("(700) Tj"), std::string::npos);
    EXPECT_NE(c.find("(2,300) Tj"), std::string::npos);
    EXPECT_NE(c.find("(-4.00) Tj"), std::string::npos);
    EXPECT_NE(c.find("(4.00) Tj"), std::string::npos);
    EXPECT_EQ(c.find("(2,500) Tj"), std::string::npos);
    EXPECT_EQ(c.substr(c.size() - 6), "[]0 d\r");
    EXPECT_FALSE(maker.Contents().StateSaved());
}

// A labelled point series whose last point has no label still ends at the
// label size and colour, so the grid labels after it are legible.
TEST_F(PdfChartTest, UnlabelledLastPointLeavesTheLabelSizeForTheGrid) {
    TChartModel chart;
    chart.Bottom = TAxisRange{0, 10};
    chart.Left = TAxisRange{0, 10};
    TChartSeries points;
    points.Kind = TSeriesKind::Point;
    points.Colour = {255, 0, 0};
    points.LabelsShown = true;
    points.LabelColour = {0, 0, 255};
    points.Points = {{2, 2, "1.50", std::nullopt}, {8, 8, std::nullopt, std::nullopt}};
    chart.Series = {points};
    const std::string c = Draw(chart);
    const auto lastMark = c.rfind(HexShow("●"));
    ASSERT_NE(lastMark, std::string::npos);
    // Plot 75..305 x 67..297: the second point at (259, 251), its label above.
    EXPECT_EQ(c.find("BT\r/F0 8 Tf\r0 0 1 rg \r0 TL\r0 Tc\r0 Tw\r259 253 Td\rET\r", lastMark),
              c.find("BT\r", lastMark));
    const auto grid = c.find("[3 ]0 d\r");
    ASSERT_NE(grid, std::string::npos);
    EXPECT_EQ(c.find(" Tf\r", grid), c.find("/F0 8 Tf\r0 0 1 rg \r", grid) + 5);
    EXPECT_EQ(c.find("/F0 2 Tf", grid), std::string::npos);
}

TEST_F(PdfChartTest, EmptyAndDegenerateChartsDrawTheirFrameOnly) {
    TChartModel chart = MakePreviewChart();
    chart.Bottom = TAxisRange{3, 3};
    const std::string c = Draw(chart);
    EXPECT_EQ(c.find("inf"), std::string::npos);
    EXPECT_EQ(c.find("nan"), std::string::npos);
    EXPECT_EQ(CountOf(c, "s\r"), 2);  // the frame twice
    EXPECT_EQ(CountOf(c, "S\r"), 0);  // no series, no grid
    EXPECT_FALSE(maker.Contents().StateSaved());
    // An empty chart scales to 0..1 and draws its grid.
    TPDFMaker other;
    std::ostringstream out2;
    other.BeginDoc(&out2);
    TPdfDocumentDrawer(other).PdfChart(MakeResultChart(), 40, 310, 420, 420);
    EXPECT_EQ(CountOf(other.Contents().ContentText(), "S\r"), 18);
    EXPECT_NE(other.Contents().ContentText().find("(0.10) Tj"), std::string::npos);
}

TEST(PdfDocumentFile, BytesAreStableAndAFailedDocumentKeepsTheOldFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvanta-pdf-doc-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / std::string(PdfDocumentFileName);
    auto read = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    TCalculationReport report;
    report.Results = TablesWithCentreRows(40);
    std::string first;
    {
        pdftest::ScopedEnv epoch("SOURCE_DATE_EPOCH", "1709212455");
        WritePdfMinimumDocument(path, report, MakePreviewChart(), "a");
        first = read(path);
        WritePdfMinimumDocument(path, report, MakePreviewChart(), "a");
        EXPECT_EQ(read(path), first);
        EXPECT_NE(first.find("/CreationDate (D:20240229131415)"), std::string::npos);
    }

    TCalculationReport bad = report;
    bad.Results.CentreTable.Cell(3, 2) = "😀";
    EXPECT_THROW(WritePdfMinimumDocument(path, bad, MakePreviewChart(), "a"), TextCodecError);
    EXPECT_EQ(read(path), first);

    const auto missing = dir / "no-such-folder" / "x.pdf";
    EXPECT_THROW(WritePdfArbitraryDocument(missing, report, MakePreviewChart(), "a"), FileError);
    EXPECT_FALSE(std::filesystem::exists(missing));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace sorvanta
