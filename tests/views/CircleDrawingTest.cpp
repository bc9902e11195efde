#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/Geometry.h"
#include "engine/SliceMethod.h"
#include "views/ChartNavigation.h"
#include "views/CircleDrawing.h"

using namespace sorvanta;

namespace {

using test::TextTable;

// One layer, horizontal ground Y = 0 from X 0 to 100.
TDesignConditions FlatDesign() {
    TDesignConditions d;
    LoadSampleDesign(d);
    d.LayerCount = "1";
    d.Layers[0].Boundary = TextTable({{"0", "0"}, {"100", "0"}});
    d.NeverCutElevation = "-20";
    return d;
}

struct TDrawn {
    TAnalysisOptions options;  // the model is built with them
    TAnalysisModel engine;
    TCircleEvaluation eval;
    TChartModel chart = MakeResultChart();
};

void Draw(TDrawn& out, const TDesignConditions& d, TSlipCircle c, bool framing = true,
          const TDrawingOptions& drawing = {}) {
    out.engine.BuildAnalysisModel(d, out.options);
    out.eval = test::EvaluateAll(out.engine, c);
    ASSERT_TRUE(Accepted(out.eval.Verdict)) << static_cast<int>(out.eval.Verdict);
    DrawCircle(out.chart, out.engine, c, out.eval, d, drawing, framing);
}

}  // namespace

TEST(CircleDrawing, OneLayerFillsGroundNclRadiiAndSlipSurfaceOnly) {
    TDrawn drawn;
    drawn.chart.Series[rsSafetyFactor].Add(1, 1, "1.00");
    drawn.chart.Series[rsLayer3].Add(1, 1);
    Draw(drawn, FlatDesign(), {50, 10, 20});
    const auto& s = drawn.chart.Series;
    for (int i = 0; i < ResultSeriesCount; ++i) {
        const bool filled = i == rsGround || i == rsNclRequired || i == rsRadii ||
                            i == rsSlipSurface || i == rsSafetyFactor;
        EXPECT_EQ(!s[static_cast<std::size_t>(i)].Points.empty(), filled)
            << s[static_cast<std::size_t>(i)].Title;
    }
    EXPECT_EQ(s[rsSafetyFactor].Points.size(), 1u);  // never touched by the drawing
    EXPECT_EQ(s[rsGround].Points[0].Colour, (TRgb{128, 128, 0}));
    ASSERT_EQ(s[rsNclRequired].Points.size(), 2u);
    EXPECT_EQ(s[rsNclRequired].Points[1].X, 100);
    EXPECT_EQ(s[rsNclRequired].Points[1].Y, -20);
    EXPECT_EQ(s[rsNclRequired].Points[1].Colour, (TRgb{0, 0, 128}));

    // Radii: end point, centre, start point. Θ = 120°.
    const auto& r = s[rsRadii].Points;
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].Label, "(Xe=67.32;Ye=0.00)");
    EXPECT_EQ(r[1].Label, "(Xo=50.00;Yo=10.00;Θ=120.0度)");
    EXPECT_EQ(r[2].Label, "(Xb=32.68;Yb=0.00)");
    EXPECT_NEAR(r[0].X, 50 + std::sqrt(300.0), 1e-9);
    EXPECT_EQ(r[1].X, 50);
    for (const auto& p : r) EXPECT_EQ(p.Colour, (TRgb{0, 0, 255}));
}

TEST(CircleDrawing, SlipSurfacePointsFollowTheSliceSwitches) {
    struct Case {
        bool lines, numbers;
        int perSlice;
    };
    for (const Case c :
         {Case{true, true, 4}, Case{false, false, 2}, Case{true, false, 4}, Case{false, true, 2}}) {
        SCOPED_TRACE(testing::Message() << c.lines << c.numbers);
        TDesignConditions d = FlatDesign();
        TDrawingOptions drawing;
        drawing.ShowSliceLines = c.lines;
        drawing.ShowSliceNumbers = c.numbers;
        TDrawn drawn;
        Draw(drawn, d, {50, 10, 20}, true, drawing);
        const int n = drawn.eval.Slices.Count();
        ASSERT_EQ(n, 35);  // 34.64 m under a 1 m limit
        const auto& pts = drawn.chart.Series[rsSlipSurface].Points;
        // The end lies below the centre: the surface ends at (Xe, Ye) alone.
        ASSERT_EQ(pts.size(), static_cast<std::size_t>(n * c.perSlice + 1));
        EXPECT_EQ(pts.back().X, drawn.eval.Xe);
        EXPECT_EQ(pts.back().Y, drawn.eval.Ye);
        const auto& sl = drawn.eval.Slices;
        // First slice: left edge on the arc, (up to the ground and back), centre.
        EXPECT_EQ(pts[0].X, sl.LeftX[0]);
        EXPECT_EQ(pts[0].Y, sl.ArcYLeft[0]);
        if (c.lines) {
            EXPECT_EQ(pts[1].Y, sl.GroundYLeft[0]);
            EXPECT_EQ(pts[2].Y, sl.ArcYLeft[0]);
        }
        const auto& centre = pts[static_cast<std::size_t>(c.perSlice - 1)];
        EXPECT_EQ(centre.X, sl.CentreX[0]);
        EXPECT_EQ(centre.Y, sl.ArcYCentre[0]);
        EXPECT_EQ(centre.Label, c.numbers ? "1" : " ");
        EXPECT_EQ(pts[static_cast<std::size_t>(c.perSlice * n - 1)].Label, c.numbers ? "35" : " ");
        EXPECT_EQ(pts[0].Label, " ");
        EXPECT_EQ(drawn.chart.Series[rsSlipSurface].Order, TValueOrder::None);
    }
}

TEST(CircleDrawing, EndAboveTheCentreGoesDownTheArcFirst) {
    TDesignConditions d = FlatDesign();
    d.Layers[0].Boundary = TextTable({{"0", "0"}, {"40", "0"}, {"50", "30"}, {"100", "30"}});
    TDrawn drawn;
    const TSlipCircle c{40, 10, 15};
    Draw(drawn, d, c);
    const double xe = drawn.eval.Xe;
    ASSERT_GT(drawn.eval.Ye, c.Yo);
    const auto& pts = drawn.chart.Series[rsSlipSurface].Points;
    ASSERT_GE(pts.size(), 2u);
    const auto& below = pts[pts.size() - 2];
    EXPECT_EQ(below.X, xe);
    EXPECT_DOUBLE_EQ(below.Y, c.Yo - std::sqrt(c.R * c.R - (xe - c.Xo) * (xe - c.Xo)));
    EXPECT_EQ(pts.back().Y, drawn.eval.Ye);
}

// The first view holds the whole circle (its ends, its centre, the lowest
// point of its arc) with equal spans, and becomes the chart's home. Where the
// view of the toe's end already holds it, that view stays as it was.
TEST(CircleDrawing, FramingHoldsTheWholeCircleForBothDirections) {
    struct Case {
        const char* name;
        TCoordinateTable ground;
        TSlipCircle circle;
        int direction;
        bool toeView;  // the view of the toe's end holds the circle
    };
    const TCoordinateTable risingRight = TextTable({{"0", "0"}, {"100", "20"}});
    const TCoordinateTable risingLeft = TextTable({{"0", "20"}, {"100", "0"}});
    const TCoordinateTable flat = TextTable({{"0", "0"}, {"100", "0"}});
    const Case cases[] = {
        {"clockwise", risingRight, {50, 30, 25}, 0, true},
        {"clockwise, both searched", risingRight, {50, 30, 25}, 2, true},
        {"counter-clockwise", risingLeft, {50, 30, 25}, 1, true},
        // The toe of a counter-clockwise circle is its end, but a search of
        // both directions frames on its start, high on the slope.
        {"counter-clockwise, both searched", risingLeft, {50, 30, 25}, 2, false},
        {"clockwise shape framed on its end", risingRight, {50, 30, 25}, 1, false},
        {"deep arc", flat, {50, 5, 30}, 0, false},
        {"deep counter-clockwise arc", risingLeft, {45, 12, 35}, 1, false},
        {"high centre", flat, {50, 60, 61}, 0, false},
        {"centre beyond the end",
         TextTable({{"0", "0"}, {"44", "0"}, {"45", "-30"}, {"100", "-30"}}),
         {52, 10, 15},
         1,
         false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TDesignConditions d = FlatDesign();
        d.Layers[0].Boundary = k.ground;
        d.NeverCutElevation = "-60";
        TDrawn drawn;
        drawn.options.Direction = static_cast<TSlipDirection>(k.direction);
        const TSlipCircle& c = k.circle;
        Draw(drawn, d, c);
        const auto& e = drawn.eval;
        const TChartModel& chart = drawn.chart;
        ASSERT_TRUE(chart.Bottom && chart.Left);
        const TAxisRange x = *chart.Bottom;
        const TAxisRange y = *chart.Left;
        EXPECT_NEAR(x.Max - x.Min, y.Max - y.Min, 1e-9);
        EXPECT_EQ(chart.HomeBottom, chart.Bottom);
        EXPECT_EQ(chart.HomeLeft, chart.Left);

        const double mx = std::min(e.Xb, c.Xo);
        const double my = std::min(k.direction == 1 ? e.Ye : e.Yb, c.Yo);
        const bool toeView = x == TAxisRange{mx - 5, e.Xe + 5} && y.Min == my - 5;
        EXPECT_EQ(toeView, k.toeView);

        // Everything drawn of the circle lies inside, and so does the lowest
        // point of its arc.
        std::vector<TPoint> drawnPoints;
        for (int series : {rsRadii, rsSlipSurface}) {
            for (const auto& p : chart.Series[static_cast<std::size_t>(series)].Points)
                drawnPoints.push_back({p.X, p.Y});
        }
        if (e.Xb <= c.Xo && c.Xo <= e.Xe) drawnPoints.push_back({c.Xo, c.Yo - c.R});
        for (const TPoint& p : drawnPoints) {
            EXPECT_GE(p.X, x.Min) << p.X << "," << p.Y;
            EXPECT_LE(p.X, x.Max) << p.X << "," << p.Y;
            EXPECT_GE(p.Y, y.Min) << p.X << "," << p.Y;
            EXPECT_LE(p.Y, y.Max) << p.X << "," << p.Y;
        }
    }
    // Without framing the limits stay as they were, also when unset.
    TDrawn plain;
    Draw(plain, FlatDesign(), {50, 10, 20}, false);
    EXPECT_FALSE(plain.chart.Bottom);
    EXPECT_FALSE(plain.chart.Left);
    plain.chart.Bottom = TAxisRange{-1, 1};
    DrawCircle(plain.chart, plain.engine, {50, 10, 20}, plain.eval, FlatDesign(), {}, false);
    EXPECT_EQ(plain.chart.Bottom, (TAxisRange{-1, 1}));
}

TEST(CircleDrawing, OptionalFiguresFollowTheirSwitches) {
    TDesignConditions d;
    LoadSampleDesign(d);
    d.WaterEnabled = true;
    d.GammaW = "10.0";
    d.NeverCutLineEnabled = true;
    d.NeverCutLine = TextTable({{"50", "-3"}, {"10", "-3"}, {"30", "-5"}});
    d.MustCutPointEnabled = true;
    d.MustCutPoint = TextTable({{"30", "8"}});
    d.NeverCutElevation = "-10";
    TAnalysisModel engine;
    engine.BuildAnalysisModel(d, {});
    const TSlipCircle c{30, 30, 25};
    const TCircleEvaluation ev = test::EvaluateAll(engine, c);
    ASSERT_TRUE(Accepted(ev.Verdict));
    TChartModel chart = MakeArbitraryChart();
    DrawCircle(chart, engine, c, ev, d, {}, false);
    const auto& s = chart.Series;
    for (int k = 0; k < 5; ++k) {
        ASSERT_EQ(s[static_cast<std::size_t>(k)].Points.size(), 4u) << k;
        EXPECT_EQ(s[static_cast<std::size_t>(k)].Points[0].Colour,
                  FigureColours[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(s[rsLayer3].Points[0].Colour, (TRgb{128, 0, 0}));
    ASSERT_EQ(s[rsWater].Points.size(), 4u);
    EXPECT_EQ(s[rsWater].Points[0].Colour, (TRgb{0, 255, 255}));
    // Entry order, silver.
    ASSERT_EQ(s[rsNclOptional].Points.size(), 3u);
    EXPECT_EQ(s[rsNclOptional].Points[0].X, 50);
    EXPECT_EQ(s[rsNclOptional].Points[1].X, 10);
    EXPECT_EQ(s[rsNclOptional].Points[0].Colour, (TRgb{192, 192, 192}));
    ASSERT_EQ(s[rsMustCutPoint].Points.size(), 1u);
    EXPECT_EQ(s[rsMustCutPoint].Points[0].Label, "M.C.P");
    EXPECT_EQ(s[rsMustCutPoint].Points[0].Colour, (TRgb{0, 0, 255}));
    EXPECT_TRUE(s[rsLoad].Points.empty());

    d.WaterEnabled = false;
    d.NeverCutLineEnabled = false;
    d.MustCutPointEnabled = false;
    engine.BuildAnalysisModel(d, {});
    const TCircleEvaluation plain = test::EvaluateAll(engine, c);
    ASSERT_TRUE(Accepted(plain.Verdict));
    DrawCircle(chart, engine, c, plain, d, {}, false);
    EXPECT_TRUE(s[rsWater].Points.empty());
    EXPECT_TRUE(s[rsNclOptional].Points.empty());
    EXPECT_TRUE(s[rsMustCutPoint].Points.empty());
}

// The load enters no calculation: while it is on, the charts draw its outline
// (as the design window does) and name it in the legend as outside the
// calculation; a later drawing without it leaves neither behind, and a copy
// to a separate window carries the entry.
TEST(CircleDrawing, LoadIsDrawnAndNamedOutsideTheCalculationWhileOn) {
    struct Case {
        const char* name;
        bool on;
        const char* start;
        const char* end;
        std::size_t points;  // 0: no outline, not in the legend
    };
    const Case cases[] = {
        {"off", false, "30", "60", 0},
        // On the sample's ground (0,5) (20,5) (40,15) (70,15): A, A + h, the
        // ground point at 40 raised, B + h, B.
        {"on", true, "30", "60", 5},
        {"on, stretch beyond the ground", true, "30", "90", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDesignConditions d;
        LoadSampleDesign(d);
        d.LoadEnabled = c.on;
        d.LoadIntensity = "36";  // h = 36 / 18 = 2 m
        d.LoadStartX = c.start;
        d.LoadEndX = c.end;
        TAnalysisModel engine;
        engine.BuildAnalysisModel(d, {});
        const TSlipCircle circle{30, 30, 25};
        const TCircleEvaluation ev = test::EvaluateAll(engine, circle);
        ASSERT_TRUE(Accepted(ev.Verdict));
        for (TChartModel chart : {MakeResultChart(), MakeArbitraryChart()}) {
            DrawCircle(chart, engine, circle, ev, d, {}, true);
            const TChartSeries& load = chart.Series[rsLoad];
            ASSERT_EQ(load.Points.size(), c.points);
            EXPECT_EQ(load.ShowInLegend, c.points > 0);
            EXPECT_EQ(load.Title, c.points > 0 ? LoadLegendTitle : LoadSeriesTitle);
            if (c.points > 0) {
                EXPECT_EQ(load.Points[1].X, 30);
                EXPECT_DOUBLE_EQ(load.Points[1].Y, 10 + 2);  // ground at 30: 10
                EXPECT_DOUBLE_EQ(load.Points[2].Y, 15 + 2);
                EXPECT_FALSE(load.Points[0].Colour);  // the series' own colour

                TChartModel separate = MakeResultChart();
                CopyChart(chart, separate);
                EXPECT_TRUE(separate.Series[rsLoad].ShowInLegend);
                EXPECT_EQ(separate.Series[rsLoad].Title, LoadLegendTitle);

                TDesignConditions off = d;
                off.LoadEnabled = false;
                DrawCircle(chart, engine, circle, ev, off, {}, true);
                EXPECT_TRUE(load.Points.empty());
                EXPECT_FALSE(load.ShowInLegend);
                EXPECT_EQ(load.Title, LoadSeriesTitle);
            }
        }
    }
}
