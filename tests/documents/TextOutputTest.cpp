#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "documents/TextOutput.h"
#include "report/RunReport.h"
#include "text/Cp932.h"
#include "text/NumberFormat.h"
#include "text/TextFile.h"
#include "views/ChartModel.h"

namespace sorvanta {
namespace {

const std::filesystem::path GoldenSample =
    std::filesystem::path(SORVANTA_TEST_DATA) / "run" / "sample.txt";

TEST(TextOutputTest, SoilDataTableWorkedExample) {
    EXPECT_EQ(FormatTableRow({"No.", "γt", "φ", "C"}, 7), "    No.:    γt:     φ:      C:");
    EXPECT_EQ(FormatTableRow({"1層目", "18.0", "25.0", "20.0"}, 7),
              "  1層目:   18.0:   25.0:   20.0:");
    EXPECT_EQ(FormatTableRow({"2層目", "-", "-", "-"}, 7), "  2層目:      -:      -:      -:");
}

TEST(TextOutputTest, CellsAreCountedInCp932BytesAndNeverCut) {
    EXPECT_EQ(FormatTableRow({"円弧半径(R)", "滑り力(Mo)"}, 12), " 円弧半径(R):  滑り力(Mo):");
    // Half-width katakana count one byte.
    EXPECT_EQ(FormatTableRow({"ｽﾗｲｽNo"}, 8), "  ｽﾗｲｽNo:");
    EXPECT_EQ(FormatTableRow({"1234567890123", "x"}, 12), "1234567890123:           x:");
    EXPECT_EQ(FormatTableRow({"", ""}, 3), "   :   :");
}

TEST(TextOutputTest, InitialTablesGiveTheFixedSequence) {
    const TCalculationReport report;
    const TResultTables& tables = report.Results;
    const std::vector<std::string> lines = TextOutputLines(report);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], "円弧すべり検討システムVer3.5");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Ⅰ.設計条件");
    EXPECT_EQ(lines[3], "1.地層設定");
    EXPECT_EQ(lines[4], "    1)地層数=1層");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "2.土質データ");
    EXPECT_EQ(lines[9], "    No.:    γt:     φ:      C:");
    // A list entry that is empty is two blanks; the load table ends the file.
    const std::string bytes = TextOutputBytes(report);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(lines.back(), FormatTableRow(tables.Circle.LoadTable.Rows.back(), 14));
    EXPECT_EQ(
        lines[lines.size() - 1 - static_cast<std::size_t>(tables.Circle.LoadTable.RowCount()) - 1],
        "  表3:滑り円弧の荷重一覧");
}

// The sample design, run as the desktop program would with the answer Yes.
TEST(TextOutputTest, SampleRunMatchesTheGoldenFile) {
    TDesignConditions design;
    LoadSampleDesign(design);
    TCalculationReport report;
    TRecordingDialogs dialogs;
    const TAnalysisOptions options;
    const TRunResult run = StartCalculation({design, options, report, dialogs, nullptr, {}, {}});
    ASSERT_EQ(run.Outcome, TRunOutcome::Ok);

    const std::string bytes = TextOutputBytes(report);
    if (std::getenv("SORVANTA_UPDATE_GOLDEN")) WriteFileAtomically(GoldenSample, bytes);
    EXPECT_EQ(bytes, ReadFileBytes(GoldenSample));

    // Written twice, the file holds the same bytes.
    const std::filesystem::path out =
        std::filesystem::path(testing::TempDir()) / TextOutputFileName;
    WriteTextOutput(report, out);
    WriteTextOutput(report, out);
    EXPECT_EQ(ReadFileBytes(out), bytes);
    std::filesystem::remove(out);
}

// The sample run with the case options; the golden file is its 常時 case.
struct TCaseRun {
    TCalculationReport Report;
    std::vector<std::string> Lines;
    TCaseRun(std::string_view designCase, std::string_view requiredSeismic = "1.00") {
        TDesignConditions design;
        LoadSampleDesign(design);
        TAnalysisOptions options;
        options.Kh = "0.15";
        options.Case = designCase == "both"      ? TDesignCase::Both
                       : designCase == "seismic" ? TDesignCase::Seismic
                                                 : TDesignCase::Normal;
        options.RequiredFsSeismic = requiredSeismic;
        TRecordingDialogs dialogs;
        const TRunResult run =
            StartCalculation({design, options, Report, dialogs, nullptr, {}, {}});
        EXPECT_EQ(run.Outcome, TRunOutcome::Ok);
        Lines = TextOutputLines(Report);
    }
    [[nodiscard]] bool Has(const std::string& line) const {
        return std::find(Lines.begin(), Lines.end(), line) != Lines.end();
    }
};

TEST(TextOutputTest, TheNormalCaseAloneKeepsTheGoldenBytesWhateverKh) {
    EXPECT_EQ(TextOutputBytes(TCaseRun("normal").Report), ReadFileBytes(GoldenSample));
}

// Both cases: the 常時 sections as ever but marked, the 地震時 sections from
// the second report, section Ⅰ with both required factors, and the summary
// with each case's verdict (the 地震時 case fails a required 1.50).
TEST(TextOutputTest, BothCasesGiveTwoMarkedSetsOfSectionsAndTheirSummary) {
    const TCaseRun both("both", "1.50");
    ASSERT_TRUE(both.Report.SeismicCase);
    const TRunResult& normal = both.Report.Run;
    const TRunResult& seismic = both.Report.SeismicCase->Run;
    ASSERT_LT(seismic.Critical.Fs, 1.50);
    ASSERT_GT(normal.Critical.Fs, 1.20);

    EXPECT_TRUE(both.Has("    (1)必要安全率    =1.20(常時)、1.50(地震時)"));
    std::vector<std::string> titles;
    for (const std::string& line : both.Lines)
        if (line.starts_with("Ⅱ") || line.starts_with("Ⅲ") || line.starts_with("Ⅳ") ||
            line.starts_with("Ⅵ"))
            titles.push_back(line);
    EXPECT_EQ(titles,
              (std::vector<std::string>{
                  "Ⅱ.安全率の計算 常時", "Ⅲ.滑り円弧のスライス荷重 常時", "Ⅳ.滑り円弧荷重 常時",
                  "Ⅱ.安全率の計算 地震時 (kh=0.15)", "Ⅲ.滑り円弧のスライス荷重 地震時 (kh=0.15)",
                  "Ⅳ.滑り円弧荷重 地震時 (kh=0.15)", "Ⅵ.検討ケースのまとめ"}));
    // Each case's centre table is its own run's.
    const auto& seismicCentre = both.Report.SeismicCase->Results.CentreTable.Rows;
    EXPECT_TRUE(both.Has(FormatTableRow(seismicCentre.back(), 12)));
    EXPECT_NE(seismicCentre, both.Report.Results.CentreTable.Rows);

    const std::vector<std::string> summary(both.Lines.end() - 3, both.Lines.end());
    EXPECT_EQ(
        summary,
        (std::vector<std::string>{
            FormatTableRow({"検討ケース", "kh", "安全率 Fs", "所要安全率", "判定"}, 12),
            FormatTableRow({"常時", "-", FormatFloat("0.000", normal.Critical.Fs), "1.20", "OK"},
                           12),
            FormatTableRow(
                {"地震時", "0.15", FormatFloat("0.000", seismic.Critical.Fs), "1.50", "NG"}, 12)}));
}

TEST(TextOutputTest, TheSeismicCaseAloneIsOneDocumentMarkedWithIt) {
    const TCaseRun seismic("seismic");
    EXPECT_FALSE(seismic.Report.SeismicCase);
    EXPECT_TRUE(seismic.Has("Ⅱ.安全率の計算 地震時 (kh=0.15)"));
    EXPECT_TRUE(seismic.Has("Ⅳ.滑り円弧荷重 地震時 (kh=0.15)"));
    EXPECT_TRUE(seismic.Has("    (1)必要安全率    =1.00(地震時)"));
    for (const std::string& line : seismic.Lines) {
        EXPECT_EQ(line.find("常時"), std::string::npos) << line;
        EXPECT_NE(line, "Ⅵ.検討ケースのまとめ");
    }
}

TEST(TextOutputTest, UnwritablePlaceFailsWithoutTouchingAnything) {
    EXPECT_THROW(WriteTextOutput(TCalculationReport{}, std::filesystem::path(testing::TempDir()) /
                                                           "no-such-dir" / "x.txt"),
                 FileError);
}

}  // namespace
}  // namespace sorvanta
