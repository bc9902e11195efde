#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/Progress.h"
#include "engine/SliceMethod.h"
#include "report/ArbitraryReport.h"
#include "report/ReportTexts.h"
#include "report/RunReport.h"
#include "text/NumberFormat.h"
#include "views/ChartModel.h"

namespace sorvanta {
namespace {

struct TApp {
    TDesignConditions Design;
    TAnalysisOptions Options;
    TCalculationReport Report;
    TRecordingDialogs Dialogs;

    TApp() { LoadSampleDesign(Design); }

    TRunResult Run(TProgress* progress = nullptr, int threads = 0) {
        TRunSettings settings;
        settings.Threads = threads;
        TRunContext context{Design, Options, Report, Dialogs, progress, settings, {}};
        return StartCalculation(context);
    }
};

// Records what the run reports, in order.
class TRecordingProgress : public TProgress {
  public:
    void SetMaximum(int maximum) override { Events.push_back("max " + std::to_string(maximum)); }
    void SetPosition(int position) override { Events.push_back("pos " + std::to_string(position)); }
    void Step() override { ++Steps; }
    void SetStatusText(const std::string& text) override { Events.push_back("status " + text); }
    void SearchStarted() override { Events.emplace_back("search"); }
    bool Cancelled() const override { return CancelNow.load(); }
    bool ShowsTrialCircles() const override { return false; }
    void TrialCircle(const TAnalysisModel&, const TSlipCircle&, const TCircleEvaluation&) override {
        ++TrialCircles;
    }

    std::vector<std::string> Events;
    int Steps = 0;
    int TrialCircles = 0;
    std::atomic<bool> CancelNow{false};
};

TEST(CalculationRunTest, ProgressMaximumEstimatesTheGrids) {
    // ⌈(−2 − log₁₀ 7) / log₁₀ 0.02⌉ = ⌈1.67⌉.
    EXPECT_EQ(RunProgressMaximum(7.0), 2 + 8);
    EXPECT_EQ(RunProgressMaximum(0.01), 8);
    EXPECT_EQ(RunProgressMaximum(0.0), 8);
    EXPECT_EQ(RunProgressMaximum(7.0, 2), 2 * 2 + 8);  // both directions: two refinements
}

// A line of a listing, wherever the layout puts it: the tests state what is
// listed, the documents' own tests how it is laid out.
testing::AssertionResult Lists(const TLineList& lines, const std::string& line) {
    for (const std::string& l : lines) {
        if (l == line) return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "no line \"" << line << "\"";
}

TEST(CalculationRunTest, ListsOfACounterClockwiseCircle) {
    // The horizontal-ground circle (50, 10, 20) over Y = 0: Θ 120°, β 0°, δ −60°.
    TCriticalCircle c;
    c.Xo = 50;
    c.Yo = 10;
    c.R = 20;
    c.Fs = -1.2344;
    c.Resisting = 12345.678;
    c.Driving = -10001.005;
    c.Xb = 32.679;
    c.Xe = 67.321;
    c.Theta = 120;
    c.Beta = 0;
    c.Delta = -60;
    const TLineList result = ResultLines(c, 0);
    ASSERT_EQ(result.size(), 20u);
    EXPECT_TRUE(Lists(result, "安全率   (Fs)=Mr/Mo=-1.234"));
    EXPECT_TRUE(Lists(result, "抵抗ﾓｰﾒﾝﾄ(Mr)=12,345.68kNm"));
    EXPECT_TRUE(Lists(result, "滑動ﾓｰﾒﾝﾄ(Mo)=-10,001.01kNm"));
    EXPECT_TRUE(Lists(result, "  円弧開き角度 (Θ)=120.00度"));
    EXPECT_TRUE(Lists(result, "  円弧中心傾き (δ)=-60.00度"));
    EXPECT_TRUE(Lists(result, "  Check:Θ=2(β-δ)=120.00度"));
    EXPECT_TRUE(Lists(result, "  　々　　Y座標(Yo)=10.00m"));
    EXPECT_TRUE(Lists(result, "  　々　　Y座標(Yb)=0.00m"));

    const TLineList judgement = JudgementLines(c, 1);
    ASSERT_EQ(judgement.size(), 22u);
    EXPECT_EQ(judgement[0], "安全率(Fs)=Fr/Fo=-1.234");
    EXPECT_TRUE(Lists(judgement, "  Fr(抵抗力)=Σ(c･L+W･cosα･tanφ)=12,345.68kN"));
    EXPECT_TRUE(Lists(judgement, "  Fo(滑り力)=Σ(W･sinα)          =-10,001.01kN"));
    EXPECT_TRUE(Lists(judgement, "  円弧半径(R=)     =20.00m"));
    EXPECT_TRUE(Lists(judgement, "  円弧終点X座標(Xe)=67.32m"));

    EXPECT_TRUE(Lists(ResultLines(c, 1), "安全率(Fs)=Fr/Fo=-1.234"));
    EXPECT_TRUE(Lists(FormulaLines(1), "  Fs=Fr/Fo"));
    EXPECT_EQ(FormulaLines(0).size(), 15u);
    EXPECT_EQ(LoadFormulaLines(1).back(), "    =Σ(W･sinα)");
    EXPECT_TRUE(Lists(SliceHeadingLines(c), "  円弧半径     (R )=20.00m"));
    EXPECT_TRUE(Lists(LoadHeadingLines(c), "  Xo(円弧中心X座標)=50.00m"));
}

TEST(CalculationRunTest, CentreTableRowsByStatus) {
    using Cells = std::vector<std::string>;
    EXPECT_EQ(CentreTableRow(1, 1.234, -2.5, 0, 0, 0, 0, 10000, 2.04),
              (Cells{"1", "1.23", "-2.50", "-", "-", "-", "[地形外]"}));
    EXPECT_EQ(CentreTableRow(7, 3, 4, 2, 0, 1500, 12.345, 0, 2.04),
              (Cells{"7", "3.00", "4.00", "0.00", "1,500.00", "12.35", "[∞]"}));
    EXPECT_EQ(CentreTableRow(15, 26.08, 22.43, 1, 11635.4, 23741.07, 18.46, 2.0404, 2.0404)[6],
              "2.040 [解]");
    EXPECT_EQ(CentreTableRow(15, 0, 0, 1, 0, 0, 1, -2.0404, 2.0404)[6], "-2.040 [解]");
    EXPECT_EQ(CentreTableRow(16, 0, 0, 1, 0, 0, 1, 2.0405, 2.0404)[6], "2.041");
}

TEST(CalculationRunTest, CentreMeshFollowsCountAndPitch) {
    TApp four;
    four.Design.MeshCount = "4";
    const TRunResult run = four.Run();
    ASSERT_EQ(run.Outcome, TRunOutcome::Ok);
    const TCellTable& table = four.Report.Results.CentreTable;
    ASSERT_EQ(table.RowCount(), 26);
    EXPECT_EQ(table.Rows[13][1], FormatFloat("0.00", run.Critical.Xo));
    EXPECT_EQ(table.Rows[13][2], FormatFloat("0.00", run.Critical.Yo));
    EXPECT_NE(table.Rows[13][6].find("[解]"), std::string::npos);

    // Ten intervals of 15 m reach beyond the ground surface on the left.
    TApp wide;
    wide.Design.MeshCount = "10";
    wide.Design.MeshPitch = "15";
    ASSERT_EQ(wide.Run().Outcome, TRunOutcome::Ok);
    ASSERT_EQ(wide.Report.Results.CentreTable.RowCount(), 122);
    EXPECT_EQ(wide.Report.Results.CentreTable.Rows[1][6], "[地形外]");
    EXPECT_EQ(wide.Report.Results.CentreTable.Rows[1][3], "-");
}

TEST(CalculationRunTest, SampleDesignFindsTheCriticalCircleAndWritesEveryMember) {
    TApp app;
    TRecordingProgress progress;
    const TRunResult run = app.Run(&progress);
    ASSERT_EQ(run.Outcome, TRunOutcome::Ok);
    EXPECT_TRUE(run.Messages.empty());
    ASSERT_TRUE(run.HasCritical);
    const TCriticalCircle& c = run.Critical;
    EXPECT_GT(c.Fs, 0);  // the sample slope falls to the left: clockwise slip
    EXPECT_GT(c.R, 0);
    EXPECT_NEAR(c.Theta, 2 * (c.Beta - c.Delta), 1e-9);
    EXPECT_EQ(app.Report.Results.ResultList[2].rfind("安全率   (Fs)=Mr/Mo=", 0), 0u);
    EXPECT_EQ(app.Report.Results.ResultList.size(), 20u);
    EXPECT_EQ(app.Report.Results.Circle.JudgementList.size(), 22u);
    EXPECT_EQ(app.Report.Results.FormulaList.size(), 15u);
    // 5 mesh intervals: (5 + 1)² centres and the header; the critical centre
    // lies at i = j = 2 and is marked as the solution.
    ASSERT_EQ(app.Report.Results.CentreTable.RowCount(), 37);
    EXPECT_NE(app.Report.Results.CentreTable.Rows[15][6].find("[解]"), std::string::npos);
    // Slice and load tables: header, slices, totals.
    const int slices = app.Report.Results.Circle.SliceTable.RowCount() - 1;
    ASSERT_GT(slices, 3);
    EXPECT_EQ(app.Report.Results.Circle.LoadTable.RowCount(), slices + 2);
    EXPECT_EQ(app.Report.Results.Circle.LoadTable.Rows.back()[0], "合計");
    EXPECT_EQ(app.Report.Arbitrary.Circle.SliceTable, app.Report.Results.Circle.SliceTable);
    EXPECT_EQ(app.Report.Arbitrary.Circle.LoadTable, app.Report.Results.Circle.LoadTable);
    EXPECT_EQ(app.Report.Arbitrary.Circle.JudgementList, app.Report.Results.Circle.JudgementList);
    EXPECT_EQ(app.Report.Arbitrary.Circle.LoadFormulaList,
              app.Report.Results.Circle.LoadFormulaList);
    // Design listing written last.
    EXPECT_EQ(app.Report.Results.ContentsList.size(), 21u);
    EXPECT_EQ(app.Report.Results.LayerSettingsList[1], "  1)地層数=5層");
    // Charts: both drawn and framed.
    EXPECT_FALSE(app.Report.ResultChart.Series[rsSlipSurface].Points.empty());
    EXPECT_EQ(app.Report.ResultChart.Series[rsRadii].Points.size(), 3u);
    EXPECT_EQ(app.Report.ArbitraryChart.Series[rsRadii].Points,
              app.Report.ResultChart.Series[rsRadii].Points);
    EXPECT_TRUE(app.Report.ResultChart.Bottom.has_value());
    EXPECT_TRUE(app.Report.ArbitraryChart.Left.has_value());
    EXPECT_TRUE(app.Report.ResultChart.Series[rsSafetyFactor].Points.empty());

    EXPECT_EQ(progress.Events.front(), "status 最少安全率検索中．．．");
    EXPECT_EQ(progress.Events.back(), "status ");
    EXPECT_EQ(progress.Steps, run.GridCount + 2);

    // Σb of the totals row equals Xe − Xb.
    const double sumB = std::stod(app.Report.Results.Circle.LoadTable.Rows.back()[1]);
    EXPECT_NEAR(sumB, c.Xe - c.Xb, 0.005 + 1e-9);
}

TEST(CalculationRunTest, JudgementFollowsRequiredFactorAndFormWritesForceTexts) {
    TApp app;
    app.Design.SafetyFactor = "100";
    app.Options.Form = TFsForm::Force;
    ASSERT_EQ(app.Run().Outcome, TRunOutcome::Ok);
    EXPECT_EQ(app.Report.Results.ResultCaption, (TColouredText{"計算結果(安全率外)", ColourRed}));
    EXPECT_EQ(app.Report.Results.Circle.JudgementLabel, (TColouredText{"安全率外", ColourRed}));
    EXPECT_EQ(app.Report.Results.ResultList[2].rfind("安全率(Fs)=Fr/Fo=", 0), 0u);
    EXPECT_EQ(app.Report.Results.CentreTable.Rows[0][3], "滑り力(Fo)");
    EXPECT_EQ(app.Report.Results.Circle.LoadTable.Rows[0][13], "Fo(kN)");
    const TRunResult numbers = app.Run();
    EXPECT_EQ(numbers.Judgement, (TJudgement{TVerdict::Outside, 100.0, numbers.Critical.Fs}));

    TApp exact;
    exact.Design.SafetyFactor = "0.01";
    ASSERT_EQ(exact.Run().Outcome, TRunOutcome::Ok);
    EXPECT_EQ(exact.Report.Results.ResultCaption,
              (TColouredText{"計算結果(安全率以内)", ColourMaroon}));
    EXPECT_EQ(exact.Report.Results.Circle.JudgementLabel,
              (TColouredText{"安全率以内", ColourBlue}));
}

// The run computes; its report is written from the numbers alone, so the
// same numbers written again give the same records and charts.
TEST(CalculationRunTest, ReportFromTheNumbersEqualsTheRunsRecords) {
    TApp app;
    app.Options.GridFsEnabled = true;
    app.Options.GridFsMeshCount = "6";
    app.Options.ContourEnabled = true;
    const TRunResult run = app.Run();
    ASSERT_EQ(run.Outcome, TRunOutcome::Ok);
    EXPECT_EQ(run.Judgement.Verdict, TVerdict::Within);
    EXPECT_EQ(run.CentreRows.size() + 1, app.Report.Results.CentreTable.Rows.size());
    EXPECT_EQ(run.Circle.Rows.size() + 2, app.Report.Results.Circle.LoadTable.Rows.size());
    EXPECT_EQ(run.Circle.Sums.Fs, run.Critical.Fs);
    ASSERT_TRUE(run.Grid.Factors && run.Contours);
    EXPECT_EQ(run.Grid.Factors->Columns.size(), 5u);
    EXPECT_FALSE(run.Contours->empty());

    TApp again;
    again.Design = app.Design;
    again.Options = app.Options;
    TRunContext context{again.Design, again.Options, again.Report, again.Dialogs, nullptr, {}};
    const TRunResult numbers = CalculateRun(TRunInputs{again.Design, again.Options, again.Dialogs});
    EXPECT_TRUE(again.Report.Results == TResultTables{}) << "the run wrote a record";
    for (int pass = 0; pass < 2; ++pass) {
        WriteRunReport(numbers, context);
        EXPECT_TRUE(again.Report.Results == app.Report.Results);
        EXPECT_TRUE(again.Report.Arbitrary == app.Report.Arbitrary);
        EXPECT_TRUE(again.Report.ResultChart == app.Report.ResultChart);
        EXPECT_TRUE(again.Report.ArbitraryChart == app.Report.ArbitraryChart);
    }
}

TEST(CalculationRunTest, JudgementBoundaryCountsAsWithin) {
    TApp app;
    const TRunResult first = app.Run();
    ASSERT_EQ(first.Outcome, TRunOutcome::Ok);
    // |Fs| equal to the required factor is within it.
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", std::fabs(first.Critical.Fs));
    app.Design.SafetyFactor = text;
    ASSERT_EQ(app.Run().Outcome, TRunOutcome::Ok);
    EXPECT_EQ(app.Report.Results.Circle.JudgementLabel.Text, "安全率以内");
}

TEST(CalculationRunTest, NoCircleInDirectionTakesTheFailurePath) {
    TApp app;
    ASSERT_EQ(app.Run().Outcome, TRunOutcome::Ok);
    const TLineList resultBefore = app.Report.Results.ResultList;
    // The sample slope only slips clockwise.
    app.Options.Direction = TSlipDirection::CounterClockwise;
    const TRunResult run = app.Run();
    EXPECT_EQ(run.Outcome, TRunOutcome::NoCircle);
    EXPECT_EQ(run.Messages, (std::vector<std::string>{NoCircleMessage}));
    EXPECT_EQ(app.Dialogs.Messages, run.Messages);
    ASSERT_EQ(app.Report.Results.CentreTable.RowCount(), 2);
    EXPECT_EQ(app.Report.Results.CentreTable.Rows[1], (std::vector<std::string>(7, "-")));
    ASSERT_EQ(app.Report.Results.Circle.LoadTable.RowCount(), 2);
    std::vector<std::string> loadRow(13, "-");
    loadRow.emplace_back();
    EXPECT_EQ(app.Report.Results.Circle.LoadTable.Rows[1], loadRow);
    for (const TChartModel* chart : {&app.Report.ResultChart, &app.Report.ArbitraryChart}) {
        for (const TChartSeries& series : chart->Series)
            EXPECT_TRUE(series.Points.empty()) << series.Title;
    }
    EXPECT_EQ(app.Report.Results.ResultList, resultBefore);
}

TEST(CalculationRunTest, RefusedRunWritesNothing) {
    TApp app;
    app.Dialogs.Answer = false;
    const TResultTables before;
    const TRunResult run = app.Run();
    EXPECT_EQ(run.Outcome, TRunOutcome::Refused);
    EXPECT_EQ(app.Report.Results, before);
    EXPECT_TRUE(app.Report.ResultChart.Series[rsGround].Points.empty());
}

// The report keeps the numbers its tables quote: the run that wrote them and
// the arbitrary point they show, which a new critical circle replaces.
TEST(CalculationRunTest, TheReportKeepsTheRunThatWroteItAndItsArbitraryPoint) {
    TApp app;
    const TRunResult first = app.Run();
    ASSERT_EQ(first.Outcome, TRunOutcome::Ok);
    EXPECT_EQ(app.Report.Run.Critical, first.Critical);
    EXPECT_FALSE(app.Report.ArbitraryPoint);

    WriteArbitraryReport(app.Design, CalculateArbitraryPoint(app.Design, app.Options, 30, 25),
                         app.Report);
    ASSERT_TRUE(app.Report.ArbitraryPoint);
    EXPECT_EQ(app.Report.ArbitraryPoint->Outcome.Xo, 30);

    app.Dialogs.Answer = false;
    ASSERT_EQ(app.Run().Outcome, TRunOutcome::Refused);
    EXPECT_EQ(app.Report.Run.Outcome, TRunOutcome::Ok);
    EXPECT_TRUE(app.Report.ArbitraryPoint);

    app.Dialogs.Answer = true;
    app.Design.SafetyFactor = "9";
    const TRunResult second = app.Run();
    ASSERT_EQ(second.Outcome, TRunOutcome::Ok);
    EXPECT_EQ(app.Report.Run.Judgement, second.Judgement);
    EXPECT_NE(app.Report.Run.Judgement, first.Judgement);
    EXPECT_FALSE(app.Report.ArbitraryPoint);
}

TEST(CalculationRunTest, SafetyFactorLabelsOnTheResultChart) {
    TApp app;
    app.Design.ShowSafetyFactors = true;
    app.Design.SafetyFactor = "1.2";
    const TRunResult run = app.Run();
    ASSERT_EQ(run.Outcome, TRunOutcome::Ok);
    const auto& points = app.Report.ResultChart.Series[rsSafetyFactor].Points;
    ASSERT_FALSE(points.empty());
    EXPECT_TRUE(app.Report.ArbitraryChart.Series[rsSafetyFactor].Points.empty());
    for (const TChartPoint& p : points) {
        ASSERT_TRUE(p.Label && p.Colour);
        const double fs = std::stod(*p.Label);
        EXPECT_EQ(*p.Colour, std::fabs(fs) >= 1.2 ? ColourBlue : ColourRed) << *p.Label;
    }
}

TEST(CalculationRunTest, ResultsDoNotDependOnTheThreadCount) {
    for (TSlipDirection direction : {TSlipDirection::Clockwise, TSlipDirection::Both}) {
        TApp one;
        one.Options.Direction = direction;
        one.Options.GridFsEnabled = true;
        one.Options.GridFsMeshCount = "10";
        TApp many;
        many.Design = one.Design;
        many.Options = one.Options;
        const TRunResult a = one.Run(nullptr, 1);
        const TRunResult b = many.Run(nullptr, 4);
        EXPECT_EQ(a.Critical, b.Critical);
        EXPECT_EQ(one.Report.Results, many.Report.Results);
        EXPECT_EQ(one.Report.ResultChart, many.Report.ResultChart);
    }
}

TEST(CalculationRunTest, CancelledSearchLeavesTheTablesAsTheyWere) {
    TApp app;
    TRecordingProgress progress;
    progress.CancelNow = true;
    const TRunResult run = app.Run(&progress);
    EXPECT_EQ(run.Outcome, TRunOutcome::Cancelled);
    EXPECT_EQ(app.Report.Results, TResultTables{});
}

TEST(CalculationRunTest, TrialCirclesAreDrawnWhenTheProcessIsShown) {
    class TWatch : public TRecordingProgress {
      public:
        explicit TWatch(const TChartModel& chart) : chart_(chart) {}
        void TrialCircle(const TAnalysisModel&, const TSlipCircle& circle,
                         const TCircleEvaluation&) override {
            ++TrialCircles;
            // The circle is in the chart before the window hears of it.
            if (chart_.Series[rsRadii].Points.size() == 3 &&
                chart_.Series[rsRadii].Points[1].X == circle.Xo)
                ++Drawn;
        }
        int Drawn = 0;

      private:
        const TChartModel& chart_;
    };
    TApp app;
    app.Design.ShowCalculationProcess = true;
    TWatch progress(app.Report.ResultChart);
    ASSERT_EQ(app.Run(&progress).Outcome, TRunOutcome::Ok);
    EXPECT_GT(progress.TrialCircles, 100);
    EXPECT_EQ(progress.Drawn, progress.TrialCircles);
    // The search is announced once, after the checks and before any circle.
    EXPECT_EQ(std::count(progress.Events.begin(), progress.Events.end(), "search"), 1);
}

}  // namespace
}  // namespace sorvanta

namespace sorvanta {
namespace {

TEST(CalculationRunTest, TheDocumentNamesTheCaseTheMethodAndTheRestrainingForce) {
    // The 常時 case by the ordinary method keeps its texts; any other case or
    // method says which, with its formula, and a planned factor adds the
    // restraining forces below the formula.
    TApp plain;
    ASSERT_EQ(plain.Run().Outcome, TRunOutcome::Ok);
    EXPECT_EQ(plain.Report.Results.FormulaList, FormulaLines(0));

    struct TCase {
        const char* Kh;
        TDesignCase Case;
        TSliceMethodKind Method;
        const char* Says;
        const char* KhLine;  // empty: none
    };
    for (const TCase& c :
         {TCase{"0.2", TDesignCase::Seismic, TSliceMethodKind::Ordinary, "  Mo=Σ(R･W･sinα+kh･W･h)",
                "  地震時: 設計水平震度 kh=0.20"},
          TCase{"0", TDesignCase::Normal, TSliceMethodKind::Bishop, "  mα=cosα+sinα･tanφ/Fs", ""},
          TCase{"0.15", TDesignCase::Seismic, TSliceMethodKind::Spencer, "  ｽﾗｲｽ間力: X=λ･E",
                "  地震時: 設計水平震度 kh=0.15"}}) {
        TApp app;
        app.Options.Kh = c.Kh;
        app.Options.Case = c.Case;
        app.Options.Method = c.Method;
        app.Options.PlannedFs = "2.5";
        const TRunResult run = app.Run();
        ASSERT_EQ(run.Outcome, TRunOutcome::Ok) << c.Says;
        const TLineList& formula = app.Report.Results.FormulaList;
        EXPECT_NE(std::find(formula.begin(), formula.end(), c.Says), formula.end()) << c.Says;
        EXPECT_EQ(formula.front().find("安全率は、"), 0u);
        EXPECT_EQ(formula[1] == c.KhLine, *c.KhLine != 0) << c.Says;
        const std::string force = "必要抑止力 (Pr)=" + FormatFloat("#,##0.00kN/m;-#,##0.00kN/m",
                                                                   *CriticalRestrainingForce(run));
        EXPECT_TRUE(std::any_of(formula.begin(), formula.end(), [&](const std::string& line) {
            return line.find(force) != std::string::npos;
        })) << c.Says;
        // The result list itself keeps its 20 lines.
        EXPECT_EQ(app.Report.Results.ResultList.size(), plain.Report.Results.ResultList.size());
    }
}

}  // namespace
}  // namespace sorvanta

namespace sorvanta {
namespace {

TEST(CalculationRunTest, AnchorForceTakesTheSlipSurfaceWhereTheAnchorCrossesIt) {
    TApp app;
    app.Options.PlannedFs = "2.5";
    const TRunResult run = app.Run();
    ASSERT_EQ(run.Outcome, TRunOutcome::Ok);
    const double pr = *CriticalRestrainingForce(run);
    // By hand at the slice under X = 30.3: α of its base, φ of its soil.
    const TSliceRow* under = nullptr;
    for (const TSliceRow& row : run.Circle.Rows)
        if (std::fabs(row.CentreX - 30.3) <= row.B / 2) under = &row;
    ASSERT_NE(under, nullptr);
    const double angle = under->Alpha + 20 * std::numbers::pi / 180;
    const auto anchor = CriticalAnchorForce(run, 20, 30.3);
    ASSERT_TRUE(anchor);
    EXPECT_NEAR(anchor->Force, pr / (std::cos(angle) + std::sin(angle) * std::tan(under->Phi)),
                1e-9 * pr);
    EXPECT_GT(anchor->Alpha, 0);  // the base dips towards −X, the way the mass slides
    // Outside the sliding mass, or an anchor that would pull the mass out.
    EXPECT_FALSE(CriticalAnchorForce(run, 20, run.Critical.Xe + 1));
    EXPECT_FALSE(CriticalAnchorForce(run, -89, 30.3));
}

}  // namespace

// 計画安全率: the result chart adds "最大必要抑止力円" only while a circle needs
// a restraining force, on that circle's arc from ground to ground; the next
// run without one drops it, so the chart is the plain thirteen series again.
TEST(CalculationRunTest, ResultChartShowsTheMostForceCircleOnlyWhileOneNeedsForce) {
    struct TCase {
        const char* Name;
        const char* PlannedFs;
        bool Shown;
    };
    const TCase cases[] = {
        {"no planned factor", "", false},
        {"every circle above the planned factor", "1.5", false},
        {"forces needed", "3", true},
        {"no planned factor after one", "", false},
    };
    TApp app;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        app.Options.PlannedFs = c.PlannedFs;
        const TRunResult run = app.Run();
        ASSERT_EQ(run.Outcome, TRunOutcome::Ok);
        const auto& series = app.Report.ResultChart.Series;
        ASSERT_EQ(series.size(), std::size_t(ResultSeriesCount) + (c.Shown ? 1 : 0));
        EXPECT_EQ(app.Report.ArbitraryChart.Series.size(), std::size_t(ResultSeriesCount));
        if (!c.Shown) continue;
        const TChartSeries& most = series.back();
        EXPECT_EQ(most.Title, "最大必要抑止力円");
        EXPECT_TRUE(most.ShowInLegend);
        EXPECT_EQ(most.LineStyle, TLineStyle::Dash);
        const TForceCircle& m = run.MostForce;
        ASSERT_TRUE(m.Found && m.Force > 0);
        ASSERT_GT(most.Points.size(), 2u);
        for (const TChartPoint& p : most.Points)
            EXPECT_NEAR(std::hypot(p.X - m.Xo, p.Y - m.Yo), m.R, 1e-9);
        // From the toe side to the top, under the centre.
        EXPECT_LT(most.Points.front().X, most.Points.back().X);
        const auto lowest = std::min_element(most.Points.begin(), most.Points.end(),
                                             [](auto& a, auto& b) { return a.Y < b.Y; });
        EXPECT_NEAR(lowest->Y, m.Yo - m.R, 0.05);
    }
}

}  // namespace sorvanta
