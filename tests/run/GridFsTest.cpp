#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/Progress.h"
#include "engine/Search.h"
#include "report/GridCharts.h"
#include "text/NumberFormat.h"
#include "views/Contours.h"

using namespace sorvanta;

namespace {

using test::SampleDesign;
using test::TextTable;

// Ground from X 0 to 40, lowest point Y 5.
TDesignConditions Slope40() {
    TDesignConditions d = SampleDesign();
    d.LayerCount = "1";
    d.Layers[0].Boundary = TextTable({{"0", "5"}, {"10", "5"}, {"30", "15"}, {"40", "15"}});
    return d;
}

TDesignConditions Flat() {
    TDesignConditions d = SampleDesign();
    d.LayerCount = "1";
    d.Layers[0].Boundary = TextTable({{"0", "0"}, {"40", "0"}});
    d.NeverCutElevation = "-10";
    return d;
}

class TRecordingProgress : public TProgress {
  public:
    void SetMaximum(int m) override { Calls.push_back("max " + std::to_string(m)); }
    void SetPosition(int p) override { Calls.push_back("pos " + std::to_string(p)); }
    void Step() override { ++Steps; }
    bool Cancelled() const override { return Cancel.load(); }
    std::vector<std::string> Calls;
    int Steps = 0;
    std::atomic<bool> Cancel{false};
};

struct TCharts {
    TChartModel Result = MakeResultChart();
    TChartModel Arbitrary = MakeArbitraryChart();
    const std::vector<TChartPoint>& R() const { return Result.Series[rsSafetyFactor].Points; }
    const std::vector<TChartPoint>& A() const { return Arbitrary.Series[rsSafetyFactor].Points; }
};

}  // namespace

TEST(GridPoints, MeshOfTwentyOverFortyMetres) {
    TCharts c;
    TRecordingProgress progress;
    TDesignConditions d = Slope40();
    const TAnalysisOptions o{.GridFsMeshCount = "20"};
    ASSERT_EQ(AppendGridPointFactors(d, o, c.Result, c.Arbitrary, {0, &progress}),
              TStepOutcome::Done);
    ASSERT_EQ(c.R().size(), 380u);
    EXPECT_EQ(c.R(), c.A());
    // Columns X = 2 … 38 left to right, rows Y = 7 … 45 upwards within each.
    EXPECT_EQ(c.R().front().X, 2);
    EXPECT_EQ(c.R().front().Y, 7);
    EXPECT_EQ(c.R()[19].X, 2);
    EXPECT_EQ(c.R()[19].Y, 45);
    EXPECT_EQ(c.R()[20].X, 4);
    EXPECT_EQ(c.R().back().X, 38);
    EXPECT_EQ(c.R().back().Y, 45);
    EXPECT_EQ(c.Result.Series[rsSafetyFactor].Marker, TMarkerStyle::Plus);
    EXPECT_EQ(c.Arbitrary.Series[rsSafetyFactor].Marker, TMarkerStyle::Plus);
    EXPECT_EQ(progress.Steps, 19);
    EXPECT_EQ(progress.Calls, (std::vector<std::string>{"max 20", "pos 0", "pos 0"}));

    // Every label agrees with the best radius at its centre.
    TAnalysisModel engine;
    engine.BuildAnalysisModel(d, o);
    int valid = 0;
    for (std::size_t k = 0; k < c.R().size(); k += 7) {
        const auto& p = c.R()[k];
        const TSearchResult r = SearchRadius(engine, test::Scratch(), {p.X, p.Y});
        if (r.Verdict == TCircleVerdict::Valid) {
            ++valid;
            EXPECT_EQ(p.Label, FormatFloat("0.00", r.Fs));
            EXPECT_EQ(p.Colour, BandColour(r.Fs));
        } else if (r.Verdict == TCircleVerdict::LevelGround) {
            EXPECT_EQ(p.Label, "∞");
            EXPECT_EQ(p.Colour, (TRgb{0, 0, 255}));
        } else {
            EXPECT_EQ(p.Label, "×");
            EXPECT_EQ(p.Colour, (TRgb{0, 0, 0}));
        }
    }
    EXPECT_GT(valid, 0);
}

TEST(GridPoints, MeshCountsThatCannotMakeAMesh) {
    struct Case {
        const char* text;
        TStepOutcome outcome;
    };
    for (const Case k : {Case{"1", TStepOutcome::Done}, Case{"0", TStepOutcome::Skipped},
                         Case{"-3", TStepOutcome::Skipped}, Case{"2.5", TStepOutcome::Skipped},
                         Case{"abc", TStepOutcome::Skipped}, Case{"", TStepOutcome::Skipped}}) {
        SCOPED_TRACE(k.text);
        TCharts c;
        const TAnalysisOptions o{.GridFsMeshCount = k.text};
        EXPECT_EQ(AppendGridPointFactors(Slope40(), o, c.Result, c.Arbitrary), k.outcome);
        EXPECT_TRUE(c.R().empty());
        EXPECT_TRUE(c.A().empty());
    }
    TAnalysisModel engine;
    engine.BuildAnalysisModel(Slope40(), {});
    TCharts c;
    EXPECT_EQ(AppendGridPointFactors(engine, 0, c.Result, c.Arbitrary), TStepOutcome::Skipped);
    TAnalysisModel empty;  // no ground surface
    EXPECT_EQ(AppendGridPointFactors(empty, 10, c.Result, c.Arbitrary), TStepOutcome::Skipped);
    EXPECT_EQ(AppendContours(empty, c.Result, c.Arbitrary), TStepOutcome::Skipped);
}

TEST(GridPoints, LevelGroundIsLabelledInfinityInBlueAndMakesNoContour) {
    TCharts c;
    TDesignConditions d = Flat();
    const TAnalysisOptions o{.GridFsMeshCount = "4"};
    ASSERT_EQ(AppendGridPointFactors(d, o, c.Result, c.Arbitrary), TStepOutcome::Done);
    int infinite = 0;
    for (const auto& p : c.R()) {
        if (p.Label == "∞") {
            ++infinite;
            EXPECT_EQ(p.Colour, (TRgb{0, 0, 255}));
        } else {
            EXPECT_EQ(p.Label, "×");
        }
    }
    EXPECT_GT(infinite, 0);

    TAnalysisModel engine;
    engine.BuildAnalysisModel(d, o);
    TCharts contours;
    ASSERT_EQ(AppendContours(engine, contours.Result, contours.Arbitrary), TStepOutcome::Done);
    EXPECT_TRUE(contours.R().empty());
}

TEST(Contours, SampleDesignGivesLevelColouredPointPairsOnBothCharts) {
    TAnalysisModel engine;
    engine.BuildAnalysisModel(SampleDesign(), {});
    TCharts c;
    c.Result.Series[rsSafetyFactor].Add(10, 20, "1.00");  // from the centre table: kept
    c.Arbitrary.Series[rsSafetyFactor].Add(10, 20, "1.00");
    TRecordingProgress progress;
    ASSERT_EQ(AppendContours(engine, c.Result, c.Arbitrary, {0, &progress}), TStepOutcome::Done);
    EXPECT_EQ(progress.Steps, 40);
    EXPECT_EQ(progress.Calls, (std::vector<std::string>{"max 42", "pos 0", "pos 0"}));
    ASSERT_GT(c.R().size(), 1u);
    EXPECT_EQ(c.R(), c.A());
    EXPECT_EQ(c.R().size() % 2, 1u);
    for (std::size_t k = 1; k < c.R().size(); ++k) {
        EXPECT_EQ(c.R()[k].Label, " ");
        ASSERT_TRUE(c.R()[k].Colour);
        EXPECT_NE(std::find(BandColours.begin(), BandColours.end(), *c.R()[k].Colour),
                  BandColours.end());
    }
    // Both points of a segment carry the same level colour.
    for (std::size_t k = 1; k + 1 < c.R().size(); k += 2)
        EXPECT_EQ(c.R()[k].Colour, c.R()[k + 1].Colour);
    for (const TChartModel* chart : {&c.Result, &c.Arbitrary}) {
        const auto& s = chart->Series[rsSafetyFactor];
        EXPECT_EQ(s.Marker, TMarkerStyle::Plus);
        EXPECT_EQ(s.MarkerWidth, 1);
        EXPECT_EQ(s.MarkerHeight, 1);
    }
    // Every point lies inside the 40 × 40 node field.
    const double q = 70.0 / 40;
    for (const auto& p : c.R()) {
        EXPECT_GE(p.X, 0);
        EXPECT_LE(p.X, 39 * q + 1e-9);
        EXPECT_GE(p.Y, 5);  // lowest ground point
        EXPECT_LE(p.Y, 5 + 39 * q + 1e-9);
    }
}

TEST(GridPoints, ParallelResultsEqualSequentialOnes) {
    std::vector<std::pair<TDesignConditions, TAnalysisOptions>> designs;
    designs.emplace_back(SampleDesign(), TAnalysisOptions{});
    TDesignConditions water = SampleDesign();
    water.WaterEnabled = true;
    water.GammaW = "10.0";
    water.StressType = 1;
    designs.emplace_back(water, TAnalysisOptions{.Direction = TSlipDirection::Both});
    TDesignConditions ccw = Slope40();
    ccw.Layers[0].Boundary = TextTable({{"0", "15"}, {"10", "15"}, {"30", "5"}, {"40", "5"}});
    designs.emplace_back(ccw, TAnalysisOptions{.Form = TFsForm::Force,
                                               .Direction = TSlipDirection::CounterClockwise});

    for (std::size_t k = 0; k < designs.size(); ++k) {
        SCOPED_TRACE(k);
        const TDesignConditions& d = designs[k].first;
        TAnalysisOptions o = designs[k].second;
        o.GridFsMeshCount = "10";
        TAnalysisModel engine;
        engine.BuildAnalysisModel(d, o);
        TCharts one;
        ASSERT_EQ(AppendGridPointFactors(d, o, one.Result, one.Arbitrary, {1, nullptr}),
                  TStepOutcome::Done);
        const std::size_t gridPoints = one.R().size();
        ASSERT_EQ(gridPoints, 90u);
        ASSERT_EQ(AppendContours(engine, one.Result, one.Arbitrary, {1, nullptr}),
                  TStepOutcome::Done);
        // Something to compare: factors among the grid points and contour points.
        EXPECT_TRUE(std::any_of(one.R().begin(), one.R().begin() + 90, [](const TChartPoint& p) {
            return p.Label != "×" && p.Label != "∞";
        }));
        EXPECT_GT(one.R().size(), gridPoints);
        for (int threads : {2, 5}) {
            TCharts many;
            AppendGridPointFactors(d, o, many.Result, many.Arbitrary, {threads, nullptr});
            AppendContours(engine, many.Result, many.Arbitrary, {threads, nullptr});
            // Exact equality: every coordinate, label and colour, bit for bit.
            EXPECT_EQ(one.Result, many.Result) << threads;
            EXPECT_EQ(one.Arbitrary, many.Arbitrary) << threads;
        }
    }
}

TEST(GridPoints, StopsWhenCancelled) {
    TCharts c;
    TRecordingProgress progress;
    progress.Cancel = true;
    TDesignConditions d = Slope40();
    EXPECT_EQ(AppendGridPointFactors(d, {}, c.Result, c.Arbitrary, {0, &progress}),
              TStepOutcome::Cancelled);
    TAnalysisModel engine;
    engine.BuildAnalysisModel(d, {});
    EXPECT_EQ(AppendContours(engine, c.Result, c.Arbitrary, {0, &progress}),
              TStepOutcome::Cancelled);
    EXPECT_TRUE(c.R().empty());
    EXPECT_EQ(progress.Calls.back(), "pos 0");
}
