#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "documents/TextOutput.h"
#include "report/RunReport.h"
#include "text/Cp932.h"
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

TEST(TextOutputTest, UnwritablePlaceFailsWithoutTouchingAnything) {
    EXPECT_THROW(WriteTextOutput(TCalculationReport{}, std::filesystem::path(testing::TempDir()) /
                                                           "no-such-dir" / "x.txt"),
                 FileError);
}

}  // namespace
}  // namespace sorvanta
