#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "views/ChartModel.h"
#include "views/ChartNavigation.h"

using namespace sorvanta;

namespace {

std::vector<double> Xs(const TChartSeries& s) {
    std::vector<double> xs;
    for (const auto& p : s.Points) xs.push_back(p.X);
    return xs;
}

}  // namespace

TEST(ChartSeries, AscendingOrderInsertsByXAndKeepsEqualXInArrivalOrder) {
    TChartSeries s;
    s.Order = TValueOrder::Ascending;
    s.Add(3, 0, "c");
    s.Add(1, 0, "a1");
    s.Add(2, 0, "b");
    s.Add(1, 5, "a2");
    ASSERT_EQ(Xs(s), (std::vector<double>{1, 1, 2, 3}));
    EXPECT_EQ(s.Points[0].Label, "a1");
    EXPECT_EQ(s.Points[1].Label, "a2");

    TChartSeries kept;
    kept.Order = TValueOrder::None;
    for (double x : {3.0, 1.0, 2.0}) kept.Add(x, 0);
    EXPECT_EQ(Xs(kept), (std::vector<double>{3, 1, 2}));
}

TEST(ChartSeries, PointColourFallsBackToSeriesColour) {
    TChartSeries s;
    s.Colour = {1, 2, 3};
    s.Add(0, 0);
    s.Add(1, 0, std::nullopt, TRgb{9, 9, 9});
    EXPECT_EQ(s.PointColour(0), (TRgb{1, 2, 3}));
    EXPECT_EQ(s.PointColour(1), (TRgb{9, 9, 9}));
}

// The instances of the slip circle chart differ in series colours and the
// factor marker only; every one fills layer k in the colour the circle
// drawing gives its points, so a layer looks the same in every chart.
TEST(ChartFactories, SlipCircleChartsShareTheirSeriesAndFillLayersInTheirFigureColours) {
    const std::vector<std::string> titles{
        "地盤",        "2層目",  "3層目",       "4層目",    "5層目",  "地下水", "N.C.L(必須)",
        "N.C.L(任意)", "載荷重", "M.C.P(任意)", "円弧半径", "滑り面", "安全率"};
    const TChartModel result = MakeResultChart();
    const struct {
        const char* name;
        TChartModel chart;
    } cases[] = {{"result", result},
                 {"arbitrary", MakeArbitraryChart()},
                 {"separate arbitrary", MakeSeparateArbitraryChart()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.chart.Series.size(), 13u);
        EXPECT_EQ(c.chart.Title, "円弧滑り図");
        EXPECT_TRUE(c.chart.SquarePlot);
        for (std::size_t i = 0; i < 13; ++i) {
            const auto& s = c.chart.Series[i];
            EXPECT_EQ(s.Title, titles[i]);
            const TSeriesKind kind = i < 5 ? TSeriesKind::Area
                                     : (i == rsMustCutPoint || i == rsSafetyFactor)
                                         ? TSeriesKind::Point
                                         : TSeriesKind::Line;
            EXPECT_EQ(s.Kind, kind) << i;
            EXPECT_EQ(s.LabelsShown, i >= rsMustCutPoint) << i;
        }
        for (int k = fkLayer1; k <= fkLayer5; ++k) {
            EXPECT_EQ(c.chart.Series[static_cast<std::size_t>(k)].Colour,
                      FigureColours[static_cast<std::size_t>(k)])
                << "layer " << k + 1;
        }
        // The radii are labelled in their own colour.
        EXPECT_EQ(c.chart.Series[rsRadii].LabelColour, c.chart.Series[rsRadii].Colour);
        EXPECT_EQ(c.chart.Series[rsSafetyFactor].Order, TValueOrder::None);
        EXPECT_FALSE(c.chart.Bottom);
        EXPECT_FALSE(c.chart.Left);

        TChartModel recoloured = c.chart;
        for (std::size_t i = 0; i < 13; ++i) recoloured.Series[i].Colour = result.Series[i].Colour;
        recoloured.Series[rsSafetyFactor].Marker = result.Series[rsSafetyFactor].Marker;
        EXPECT_EQ(recoloured, result);
    }
    // The arbitrary-point chart tells its factor points from the result
    // chart's by their marker, and its separate window shows it unchanged.
    EXPECT_NE(MakeArbitraryChart().Series[rsSafetyFactor].Marker,
              result.Series[rsSafetyFactor].Marker);
    EXPECT_EQ(MakeSeparateArbitraryChart(), MakeArbitraryChart());
    EXPECT_EQ(result.Series[rsGround].LineWidth, 2);
}

TEST(ChartFactories, PreviewHasTenSeriesInFigureOrder) {
    const TChartModel p = MakePreviewChart();
    ASSERT_EQ(p.Series.size(), 10u);
    EXPECT_EQ(p.Title, "地形図");
    EXPECT_FALSE(p.ShowLegend);
    // Five layers, five fills that tell them apart.
    std::set<std::tuple<int, int, int>> fills;
    for (int k = fkLayer1; k <= fkLayer5; ++k) {
        const TChartSeries& s = p.Series[static_cast<std::size_t>(k)];
        EXPECT_EQ(s.Kind, TSeriesKind::Area) << k;
        fills.insert({s.Colour.R, s.Colour.G, s.Colour.B});
    }
    EXPECT_EQ(fills.size(), 5u);
    EXPECT_EQ(p.Series[fkLayer1].OutlineStyle, TLineStyle::Dash);
    EXPECT_EQ(p.Series[fkLayer2].OutlineStyle, TLineStyle::Dot);
    EXPECT_EQ(p.Series[fkMustCutPoint].Kind, TSeriesKind::Point);
    EXPECT_EQ(p.Series[fkWater].Kind, TSeriesKind::Line);
}

TEST(ChartAxes, EffectiveRangeIsTheFixedLimitsOrTheDataRange) {
    TChartModel c = MakeResultChart();
    EXPECT_EQ(EffectiveRange(c, TChartAxisId::Bottom), (TAxisRange{0, 1}));
    c.Series[rsGround].Add(-3, 2);
    c.Series[rsSlipSurface].Add(7, -4);
    EXPECT_EQ(EffectiveRange(c, TChartAxisId::Bottom), (TAxisRange{-3, 7}));
    EXPECT_EQ(EffectiveRange(c, TChartAxisId::Left), (TAxisRange{-4, 2}));
    c.Left = TAxisRange{10, 20};
    EXPECT_EQ(EffectiveRange(c, TChartAxisId::Left), (TAxisRange{10, 20}));
}

TEST(ChartNavigation, ZoomAndPanMoveTheLimits) {
    TChartModel c = MakeResultChart();
    auto set = [&] {
        c.Bottom = TAxisRange{0, 70};
        c.Left = TAxisRange{-10, 40};
    };
    set();
    NavigateChart(c, TChartCommand::ZoomIn);
    EXPECT_EQ(c.Bottom, (TAxisRange{14, 56}));
    EXPECT_EQ(c.Left, (TAxisRange{0, 30}));
    set();
    NavigateChart(c, TChartCommand::ZoomOut);
    EXPECT_EQ(c.Bottom, (TAxisRange{-14, 84}));
    EXPECT_EQ(c.Left, (TAxisRange{-20, 50}));

    // 60 % of 140 % is 84 %: the start is not restored.
    set();
    NavigateChart(c, TChartCommand::ZoomIn);
    NavigateChart(c, TChartCommand::ZoomOut);
    EXPECT_NEAR(c.Bottom->Max - c.Bottom->Min, 0.84 * 70, 1e-9);

    set();
    NavigateChart(c, TChartCommand::MoveRight);
    EXPECT_EQ(c.Bottom, (TAxisRange{-14, 56}));
    EXPECT_EQ(c.Left, (TAxisRange{-10, 40}));
    NavigateChart(c, TChartCommand::MoveLeft);
    EXPECT_EQ(c.Bottom, (TAxisRange{0, 70}));
    NavigateChart(c, TChartCommand::MoveDown);
    EXPECT_EQ(c.Left, (TAxisRange{0, 50}));
    NavigateChart(c, TChartCommand::MoveUp);
    EXPECT_EQ(c.Left, (TAxisRange{-10, 40}));
}

TEST(ChartNavigation, AnAutomaticAxisStartsFromTheRangeItShows) {
    TChartModel c = MakeResultChart();
    c.Series[rsGround].Add(0, 0);
    c.Series[rsGround].Add(70, 50);
    NavigateChart(c, TChartCommand::ZoomIn);
    EXPECT_EQ(c.Bottom, (TAxisRange{14, 56}));
    EXPECT_EQ(c.Left, (TAxisRange{10, 40}));
}

TEST(ChartCopy, CopiesPointsInTheTargetsColoursAndPointSeriesInBlack) {
    TChartModel src = MakeResultChart();
    src.Series[rsGround].Add(0, 5, std::nullopt, TRgb{128, 128, 0});
    src.Series[rsGround].Add(20, 5, std::nullopt, TRgb{128, 128, 0});
    src.Series[rsRadii].Order = TValueOrder::None;
    src.Series[rsRadii].Add(30, 1, "(Xe=30.00;Ye=1.00)", TRgb{0, 0, 255});
    src.Series[rsRadii].Add(20, 30, "(Xo=20.00;Yo=30.00;Θ=75.3度)", TRgb{0, 0, 255});
    src.Series[rsSafetyFactor].Add(5, 5, "1.23", TRgb{255, 0, 255});
    src.Series[rsSafetyFactor].Add(1, 1, " ", TRgb{0, 255, 255});
    src.Bottom = TAxisRange{-5, 35};
    src.Left = TAxisRange{0, 0};

    TChartModel dst = MakeSeparateArbitraryChart();
    dst.Left = TAxisRange{3, 4};
    dst.Series[rsWater].Add(1, 1);  // replaced by the (empty) source series
    CopyChart(src, dst);

    EXPECT_EQ(dst.Bottom, (TAxisRange{-5, 35}));
    EXPECT_EQ(dst.Left, (TAxisRange{3, 4}));  // both 0 in the source: kept
    EXPECT_TRUE(dst.Series[rsWater].Points.empty());
    ASSERT_EQ(dst.Series[rsGround].Points.size(), 2u);
    EXPECT_FALSE(dst.Series[rsGround].Points[0].Colour);
    EXPECT_FALSE(dst.Series[rsGround].Points[0].Label);
    ASSERT_EQ(dst.Series[rsRadii].Points.size(), 2u);
    EXPECT_EQ(dst.Series[rsRadii].Order, TValueOrder::None);
    EXPECT_EQ(dst.Series[rsRadii].Points[0].X, 30);  // insertion order kept
    EXPECT_EQ(dst.Series[rsRadii].Points[1].Label, "(Xo=20.00;Yo=30.00;Θ=75.3度)");
    EXPECT_FALSE(dst.Series[rsRadii].Points[1].Colour);
    EXPECT_EQ(dst.Series[rsRadii].PointColour(1), dst.Series[rsRadii].Colour);
    ASSERT_EQ(dst.Series[rsSafetyFactor].Points.size(), 2u);
    EXPECT_EQ(dst.Series[rsSafetyFactor].Points[0].X, 5);
    for (const auto& p : dst.Series[rsSafetyFactor].Points) EXPECT_EQ(p.Colour, (TRgb{0, 0, 0}));
    EXPECT_EQ(dst.Series[rsSafetyFactor].Points[0].Label, "1.23");

    // A source that scales itself makes the target scale itself.
    TChartModel automatic = MakeResultChart();
    CopyChart(automatic, dst);
    EXPECT_FALSE(dst.Bottom);
    EXPECT_FALSE(dst.Left);
}
