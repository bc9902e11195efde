#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "report/MethodTexts.h"
#include "report/ReportTexts.h"
#include "report/RunReport.h"
#include "run/MethodComparison.h"
#include "text/Cp932.h"
#include "text/NumberFormat.h"

namespace sorvanta {
namespace {

struct TMethodRun {
    TDesignConditions Design;
    TAnalysisOptions Options;
    TCalculationReport Report;
    TRecordingDialogs Dialogs;
    TRunResult Run;

    explicit TMethodRun(TSliceMethodKind method) {
        LoadSampleDesign(Design);
        Options.Method = method;
        Run = StartCalculation(TRunContext{Design, Options, Report, Dialogs, nullptr, {}, {}});
    }
};

TEST(MethodTextsTest, TheMethodsTableAndLinesFollowTheMethod) {
    const TMethodRun plain(TSliceMethodKind::Ordinary);
    ASSERT_EQ(plain.Run.Outcome, TRunOutcome::Ok);
    EXPECT_TRUE(plain.Report.Results.Circle.MethodTable.Rows.empty());
    EXPECT_TRUE(plain.Report.Results.Circle.MethodHeadingList.empty());

    struct TCase {
        TSliceMethodKind Method;
        const char* Column3;  // the last column's header
        const char* Names;    // in the result list, the judgement list and the heading
        const char* Own;      // the method's own value, in the same lines
    };
    for (const TCase& c : {TCase{TSliceMethodKind::Bishop, "mα", "簡便ビショップ法", ""},
                           TCase{TSliceMethodKind::Janbu, "mα", "簡便ヤンブ法", "f0"},
                           TCase{TSliceMethodKind::Spencer, "X(kN)", "スペンサー法", "λ="},
                           TCase{TSliceMethodKind::MorgensternPrice, "X(kN)",
                                 "モルゲンシュテルン・プライス法", "λ="}}) {
        const TMethodRun app(c.Method);
        ASSERT_EQ(app.Run.Outcome, TRunOutcome::Ok) << c.Names;
        const TResultTables& t = app.Report.Results;
        const TCellTable& table = t.Circle.MethodTable;
        const std::vector<TSliceRow>& rows = app.Run.Circle.Rows;
        ASSERT_EQ(table.RowCount(), static_cast<int>(rows.size()) + 1) << c.Names;
        EXPECT_EQ(table.Rows[0][3], c.Column3);
        EXPECT_EQ(table.Rows[1][0], t.Circle.LoadTable.Rows[1][0]) << "same slice numbers";

        const TCircleEvaluation& sums = app.Run.Circle.Sums;
        for (const TLineList* list :
             {&t.ResultList, &t.Circle.JudgementList, &t.Circle.MethodHeadingList}) {
            std::string text;
            for (const std::string& line : *list) text += line + "\n";
            EXPECT_NE(text.find(c.Names), std::string::npos) << text;
            EXPECT_NE(text.find(c.Own), std::string::npos) << text;
        }
        // The method names itself in a blank line, so the pages keep their room.
        EXPECT_EQ(t.ResultList.size(), plain.Report.Results.ResultList.size());
        EXPECT_EQ(t.Circle.JudgementList.size(), plain.Report.Results.Circle.JudgementList.size());
        // The arbitrary point's tables start as the critical circle's.
        EXPECT_EQ(app.Report.Arbitrary.Circle.MethodTable, table);

        if (c.Method == TSliceMethodKind::Janbu) {
            EXPECT_NEAR(sums.Fs, sums.Correction * sums.UncorrectedFs, 1e-12);
        }
        if (c.Method == TSliceMethodKind::Bishop || c.Method == TSliceMethodKind::Janbu) {
            // mα of the factor the method settled on (Janbu's before f0).
            const double fs = c.Method == TSliceMethodKind::Janbu ? sums.UncorrectedFs : sums.Fs;
            for (std::size_t k = 0; k < rows.size(); ++k) {
                const TSliceRow& s = rows[k];
                const double m = std::cos(s.Alpha) + std::sin(s.Alpha) * std::tan(s.Phi) / fs;
                EXPECT_EQ(table.Rows[k + 1][3], FormatFloat("0.000", m)) << c.Names << " " << k;
            }
        } else {
            // No interslice force beyond the mass's ends; X = λ·f·E, f ≤ 1.
            EXPECT_NEAR(rows.back().InterE, 0, 1e-6 * std::fabs(rows[rows.size() / 2].InterE));
            for (const TSliceRow& s : rows)
                EXPECT_LE(std::fabs(s.InterX), std::fabs(sums.Lambda * s.InterE) + 1e-9);
        }
    }
}

TEST(MethodTextsTest, TheComparisonHoldsEveryMethodOnTheCircle) {
    const TMethodRun app(TSliceMethodKind::Janbu);
    ASSERT_EQ(app.Run.Outcome, TRunOutcome::Ok);
    const std::vector<TMethodFs> methods = CompareMethods(*app.Run.Model, app.Run.Circle.Circle);
    ASSERT_EQ(methods.size(), 5u);
    for (std::size_t k = 0; k < methods.size(); ++k) {
        EXPECT_EQ(methods[k].Method, static_cast<TSliceMethodKind>(k));
        EXPECT_EQ(methods[k].Verdict, TCircleVerdict::Valid);
    }
    // The design's own method gives the run's factor; the ordinary one the
    // factor a plain run gives on the same circle.
    const TMethodFs& janbu = methods[2];
    EXPECT_EQ(janbu.Fs, app.Run.Critical.Fs);
    EXPECT_EQ(janbu.Correction, app.Run.Circle.Sums.Correction);
    TAnalysisModel ordinary = *app.Run.Model;
    ordinary.Method = TSliceMethodKind::Ordinary;
    EXPECT_EQ(methods[0].Fs, EvaluateCircleRecord(ordinary, app.Run.Circle.Circle).Sums.Fs);
    EXPECT_NE(methods[3].Lambda, 0);
    EXPECT_NE(methods[3].Fs, methods[4].Fs);
}

TEST(MethodTextsTest, ComparisonRowsSayWhyAMethodHasNoFactor) {
    const std::vector<TMethodFs> methods{
        {TSliceMethodKind::Ordinary, TCircleVerdict::Valid, -1.9281},
        {TSliceMethodKind::Bishop, TCircleVerdict::SmallMAlpha},
        {TSliceMethodKind::Janbu, TCircleVerdict::Valid, 2.2, 2.0, 1.1},
        {TSliceMethodKind::Spencer, TCircleVerdict::NotConverged},
        {TSliceMethodKind::MorgensternPrice, TCircleVerdict::LevelGround},
    };
    const TCellTable table = MethodComparisonTable(methods, TSliceMethodKind::Janbu);
    using Cells = std::vector<std::string>;
    EXPECT_EQ(table.Rows[0], (Cells{"分割法", "安全率(Fs)", "備考"}));
    EXPECT_EQ(table.Rows[1], (Cells{"　修正フェレニウス法", "-1.928", ""}));
    EXPECT_EQ(table.Rows[2], (Cells{"　簡便ビショップ法", "-", "解なし: 円弧不当(mαが0.2以下)"}));
    EXPECT_EQ(table.Rows[3], (Cells{"＊簡便ヤンブ法", "2.200", "補正前 F0=2.000  f0=1.100"}));
    EXPECT_EQ(table.Rows[4],
              (Cells{"　スペンサー法", "-", "解なし: 円弧不当(安全率が収束しない)"}));
    EXPECT_EQ(table.Rows[5], (Cells{"　モルゲンシュテルン・プライス法", "∞", ""}));

    // On a terminal the factors end in one column whatever the names' widths.
    const TLineList lines = MethodComparisonLines(table);
    ASSERT_EQ(lines.size(), 7u);
    std::size_t end = 0;
    for (int row = 0; row <= 5; ++row) {
        const std::string& line = lines[static_cast<std::size_t>(row)];
        const std::string& fs = table.Rows[static_cast<std::size_t>(row)][1];
        const std::size_t at = line.find(" " + fs) + 1 + fs.size();
        const std::size_t width = Cp932Length(line.substr(0, at));
        if (row == 0) end = width;
        EXPECT_EQ(width, end) << line;
    }
}

}  // namespace
}  // namespace sorvanta
