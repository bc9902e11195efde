#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/AnalysisModel.h"
#include "text/Conversion.h"

namespace sorvanta {
namespace {

using test::SampleDesign;
using test::Table;

TEST(AnalysisModel, SampleDesign) {
    TAnalysisModel e;
    e.BuildAnalysisModel(SampleDesign(), {});
    EXPECT_EQ(e.NumLayers, 5);
    EXPECT_FALSE(e.WaterOn);
    EXPECT_EQ(e.GammaWater, 0);  // "---"
    for (const TSoilValues& s : e.Soil) {
        EXPECT_EQ(s.GammaT, 18);
        EXPECT_EQ(s.GammaS, 9);
        EXPECT_EQ(s.GammaSat, 9);
        EXPECT_NEAR(s.Phi, 0.436332313, 1e-9);
        EXPECT_EQ(s.C, 20);
    }
    EXPECT_EQ(e.SliceWidthLimit, 1.0);
    EXPECT_EQ(e.RequiredFs, 1.2);
    EXPECT_EQ(e.CentreMeshCount, 5);
    EXPECT_EQ(e.CentreMeshPitch, 1.0);
    for (int k = fkLayer1; k <= fkLayer5; ++k) EXPECT_EQ(e.FigureCount[k], 4);
    EXPECT_EQ(e.Figures[fkLayer5][2], (TPoint{40, 11}));
    EXPECT_EQ(e.FigureCount[fkWater], 4);  // read although groundwater is off
    EXPECT_EQ(e.FigureCount[fkLoad], 0);
    EXPECT_EQ(e.FigureCount[fkMustCutPoint], 0);
    EXPECT_EQ(e.FigureCount[fkNeverCutLine], 0);
    EXPECT_EQ(e.Figures[fkNeverCutElevation], (TPolyline{{0, 0}, {70, 0}}));
    EXPECT_EQ(e.NclElevation, 0);

    std::vector<double> expected;
    for (int k = 0; k < 5; ++k) expected.insert(expected.end(), {0, 20, 40, 70});
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(e.BreakX, expected);  // 22 entries, no water
}

TEST(AnalysisModel, WaterLayersAndAngles) {
    TDesignConditions d = SampleDesign();
    d.WaterEnabled = true;
    d.GammaW = "10.0";
    d.LayerCount = "3";
    d.Layers[1].Phi = "0";
    TAnalysisModel e;
    e.BuildAnalysisModel(d, {});
    EXPECT_EQ(e.GammaWater, 10);
    EXPECT_EQ(e.Soil[0].GammaSat, 19);
    EXPECT_EQ(e.Soil[1].Phi, 0);
    EXPECT_EQ(e.Soil[3], TSoilValues{});
    EXPECT_EQ(e.Soil[4], TSoilValues{});
    EXPECT_EQ(e.FigureCount[fkLayer4], 0);
    EXPECT_TRUE(e.Figures[fkLayer5].empty());
    // Layers 1 to 3, then the water points, then the two reserved entries.
    ASSERT_EQ(e.BreakX.size(), 3u * 4 + 4 + 2);
    EXPECT_EQ(e.BreakX[12], 0);
    EXPECT_EQ(e.BreakX[13], 20);
}

TEST(AnalysisModel, NeverCutElevationLineFromTheGroundTableRows) {
    TDesignConditions d = SampleDesign();
    d.NeverCutElevation = "-3.5";
    d.Layers[0].Boundary.Rows.push_back(TCoordinateTable::PlaceholderRow());
    TAnalysisModel e;
    e.BuildAnalysisModel(d, {});
    // The last row is the placeholder: point 2 stays (0, 0).
    EXPECT_EQ(e.Figures[fkNeverCutElevation], (TPolyline{{0, -3.5}, {0, 0}}));
    EXPECT_EQ(e.FigureCount[fkNeverCutElevation], 2);
    EXPECT_EQ(e.NclElevation, -3.5);
}

TEST(AnalysisModel, BuildingAgainGivesTheSameModel) {
    TDesignConditions d = SampleDesign();
    TAnalysisModel once;
    once.BuildAnalysisModel(d, {});
    TAnalysisModel twice;
    twice.BuildAnalysisModel(d, {});
    twice.BuildAnalysisModel(d, {});
    EXPECT_EQ(once.BreakX, twice.BreakX);
    EXPECT_EQ(once.Figures, twice.Figures);
    EXPECT_EQ(once.Soil, twice.Soil);

    // A model built over an older one is that of the new design alone.
    TDesignConditions fewer = d;
    fewer.LayerCount = "2";
    twice.BuildAnalysisModel(fewer, {});
    TAnalysisModel fresh;
    fresh.BuildAnalysisModel(fewer, {});
    EXPECT_EQ(twice.Figures, fresh.Figures);
    EXPECT_EQ(twice.Soil, fresh.Soil);
    EXPECT_EQ(twice.BreakX, fresh.BreakX);
}

TEST(AnalysisModel, AbortingConversionStopsTheBuild) {
    TDesignConditions d = SampleDesign();
    d.Layers[2].GammaT = "abc";
    TAnalysisModel e;
    EXPECT_THROW(e.BuildAnalysisModel(d, {}), ConversionError);
    d = SampleDesign();
    d.LayerCount = "x";
    EXPECT_THROW(e.BuildAnalysisModel(d, {}), ConversionError);
}

TEST(AnalysisModel, LayerCountBeyondFiveIsKeptButNotReadPastTheFifth) {
    TDesignConditions d = SampleDesign();
    d.LayerCount = "7";
    TAnalysisModel e;
    e.BuildAnalysisModel(d, {});
    EXPECT_EQ(e.NumLayers, 7);  // for the checks to refuse
    EXPECT_EQ(e.LayersInUse(), 5);
    EXPECT_EQ(e.BreakX.size(), 22u);
}

TEST(AnalysisModel, ListsAreReadUpToTheirCapacity) {
    TDesignConditions d = SampleDesign();
    TCoordinateTable& t = d.Layers[0].Boundary;
    t.Rows.clear();
    for (int i = 0; i < 60; ++i) t.Rows.push_back({std::to_string(i), std::to_string(i), "5"});
    TAnalysisModel e;
    e.BuildAnalysisModel(d, {});
    EXPECT_EQ(e.FigureCount[fkLayer1], 51);
    EXPECT_EQ(e.Figures[fkLayer1].size(), 51u);
}

// x, expected elevation.
struct TElevationCase {
    double X;
    double Y;
};

TEST(AnalysisModel, PolylineYAtInsideAndBeyondTheEnds) {
    TAnalysisModel m;
    m.SetFigure(fkLayer2, {{0, 5}, {20, 5}, {40, 15}, {70, 15}});
    m.RefreshLookups();
    const TElevationCase cases[] = {
        {30, 10},  {20, 5},  {40, 15},
        {25, 7.5}, {70, 15},  // the last X: no segment, the last point
        {-10, 5},             // left of the line: held at the first point's elevation
        {1e6, 15},            // right of it: the last point's
    };
    for (const TElevationCase& c : cases)
        EXPECT_DOUBLE_EQ(m.PolylineYAt(fkLayer2, c.X), c.Y) << c.X;
    EXPECT_EQ(m.PolylineYAt(fkLayer3, 10), -std::numeric_limits<double>::infinity());
}

TEST(AnalysisModel, PolylineYAtTakesTheFirstQualifyingSegment) {
    // An overhang: X runs back from 30 to 10; the segment running back never
    // qualifies, the first one in point order that spans x wins.
    TAnalysisModel m;
    m.SetFigure(fkWater, {{0, 0}, {30, 3}, {10, 8}, {50, 8}});
    m.RefreshLookups();
    EXPECT_FALSE(m.Lookups.Monotone[fkWater]);
    EXPECT_DOUBLE_EQ(m.WaterYAt(20), 2);
    EXPECT_DOUBLE_EQ(m.WaterYAt(40), 8);

    // The bisection of sorted lines agrees with the plain scan, vertical
    // segments and repeated points included.
    TAnalysisModel fast;
    fast.SetFigure(fkLayer1, {{0, 1}, {10, 1}, {10, 4}, {10, 4}, {25, 9}, {40, 2}});
    TAnalysisModel slow = fast;
    fast.RefreshLookups();
    ASSERT_TRUE(fast.Lookups.Monotone[fkLayer1]);
    ASSERT_FALSE(slow.Lookups.Ready);
    for (double x = -5; x <= 45; x += 0.25)
        EXPECT_EQ(fast.PolylineYAt(fkLayer1, x), slow.PolylineYAt(fkLayer1, x)) << x;
}

TEST(AnalysisModel, LowestGroundYAndFiniteness) {
    TAnalysisModel e;
    EXPECT_EQ(e.LowestGroundY(), std::numeric_limits<double>::infinity());
    e.BuildAnalysisModel(SampleDesign(), {});
    EXPECT_EQ(e.LowestGroundY(), 5);
    EXPECT_TRUE(ModelValuesFinite(e));
    e.Soil[2].C = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ModelValuesFinite(e));
}

}  // namespace
}  // namespace sorvanta
