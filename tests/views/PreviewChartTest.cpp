#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/Conversion.h"
#include "views/PreviewChart.h"

using namespace sorvanta;

namespace {

using test::RowTable;
using test::SampleDesign;

std::vector<TPoint> PointsOf(const TChartSeries& s) {
    std::vector<TPoint> out;
    for (const auto& p : s.Points) out.push_back({p.X, p.Y});
    return out;
}

}  // namespace

TEST(PreviewChart, DrawFigureSkipsFaultyRowsInsteadOfStopping) {
    TDesignConditions d = SampleDesign();
    d.Layers[1].Boundary =
        RowTable({{"0", "0", "5"}, {"1", "20", "x"}, {"2", "40", "15"}, {"3", "-", "-"}});
    TChartModel p = MakePreviewChart();
    DrawFigure(p, d, fkLayer2);
    const auto& s = p.Series[fkLayer2];
    EXPECT_EQ(PointsOf(s), (std::vector<TPoint>{{0, 5}, {40, 15}}));
    EXPECT_EQ(s.Points[0].Colour, FigureColours[fkLayer2]);
    EXPECT_FALSE(s.Points[0].Label);

    d.MustCutPoint = RowTable({{"0", "12.5", "3.0"}});
    DrawFigure(p, d, fkMustCutPoint);
    ASSERT_EQ(p.Series[fkMustCutPoint].Points.size(), 1u);
    EXPECT_EQ(p.Series[fkMustCutPoint].Points[0].Label, "M.C.P");
    EXPECT_EQ(p.Series[fkMustCutPoint].Points[0].Colour, (TRgb{0, 0, 255}));

    // Redrawing replaces, never appends.
    DrawFigure(p, d, fkLayer2);
    EXPECT_EQ(p.Series[fkLayer2].Points.size(), 2u);
}

TEST(PreviewChart, NeverCutElevationUsesFirstAndLastRowByPosition) {
    TDesignConditions d = SampleDesign();
    d.NeverCutElevation = "-2.5";
    TChartModel p = MakePreviewChart();
    DrawNeverCutElevation(p, d);
    EXPECT_EQ(PointsOf(p.Series[fkNeverCutElevation]),
              (std::vector<TPoint>{{0, -2.5}, {70, -2.5}}));
    EXPECT_EQ(p.Series[fkNeverCutElevation].Points[0].Colour, FigureColours[fkNeverCutElevation]);

    // A placeholder last row does not fall back on the last usable point.
    d.Layers[0].Boundary.Rows.push_back(TCoordinateTable::PlaceholderRow());
    DrawNeverCutElevation(p, d);
    EXPECT_EQ(PointsOf(p.Series[fkNeverCutElevation]), (std::vector<TPoint>{{0, -2.5}}));

    d.NeverCutElevation = "abc";
    DrawNeverCutElevation(p, d);
    EXPECT_TRUE(p.Series[fkNeverCutElevation].Points.empty());
}

TEST(PreviewChart, LoadOutlineIsAnEquivalentHeightOfSoilOverTheStretch) {
    TDesignConditions d = SampleDesign();  // ground (0,5) (20,5) (40,15) (70,15), γt 18
    d.LoadIntensity = "36";
    d.LoadStartX = "10";
    d.LoadEndX = "50";
    TChartModel p = MakePreviewChart();
    DrawLoadOutline(p, d);
    EXPECT_EQ(PointsOf(p.Series[fkLoad]),
              (std::vector<TPoint>{{10, 5}, {10, 7}, {20, 7}, {40, 17}, {50, 17}, {50, 15}}));
    EXPECT_EQ(p.Series[fkLoad].Points[0].Colour, FigureColours[fkLoad]);

    struct Case {
        const char* name;
        const char* q;
        const char* a;
        const char* b;
    };
    for (const Case& c :
         {Case{"end before start", "36", "10", "5"}, Case{"start left of ground", "36", "-1", "50"},
          Case{"end right of ground", "36", "10", "70.5"}, Case{"Q not a number", "q", "10", "50"},
          Case{"empty end", "36", "10", ""}}) {
        SCOPED_TRACE(c.name);
        d.LoadIntensity = c.q;
        d.LoadStartX = c.a;
        d.LoadEndX = c.b;
        DrawLoadOutline(p, d);
        EXPECT_TRUE(p.Series[fkLoad].Points.empty());
    }

    // The range ends are the X of the first and of the last row holding an X,
    // even where that row's Y is not a number yet.
    TDesignConditions typing = SampleDesign();
    typing.Layers[0].Boundary.Rows.push_back({"4", "80", ""});
    typing.Layers[0].Boundary.Rows.push_back(TCoordinateTable::PlaceholderRow());
    typing.LoadIntensity = "18";
    typing.LoadStartX = "60";
    typing.LoadEndX = "75";
    DrawLoadOutline(p, typing);
    EXPECT_EQ(PointsOf(p.Series[fkLoad]),
              (std::vector<TPoint>{{60, 15}, {60, 16}, {70, 16}, {75, 16}, {75, 15}}));
    typing.Layers[0].Boundary.Rows.front().Y = "?";
    typing.LoadStartX = "0";
    typing.LoadEndX = "10";
    DrawLoadOutline(p, typing);
    EXPECT_EQ(p.Series[fkLoad].Points.size(), 4u);
    typing.Layers[0].Boundary.Rows.front().X = "-";
    DrawLoadOutline(p, typing);
    EXPECT_TRUE(p.Series[fkLoad].Points.empty());

    // The whole ground: the ends are ground points themselves.
    d.LoadIntensity = "18";
    d.LoadStartX = "0";
    d.LoadEndX = "70";
    DrawLoadOutline(p, d);
    EXPECT_EQ(PointsOf(p.Series[fkLoad]),
              (std::vector<TPoint>{{0, 5}, {0, 6}, {20, 6}, {40, 16}, {70, 16}, {70, 15}}));
}

TEST(PreviewChart, LoadOutlineStopsOnAFaultyUnitWeight) {
    TDesignConditions d = SampleDesign();
    d.LoadStartX = "10";
    d.LoadEndX = "50";
    TChartModel p = MakePreviewChart();
    DrawLoadOutline(p, d);
    ASSERT_FALSE(p.Series[fkLoad].Points.empty());

    d.Layers[0].GammaT = "0";
    EXPECT_THROW(DrawLoadOutline(p, d), DivisionByZeroError);
    EXPECT_TRUE(p.Series[fkLoad].Points.empty());
    d.Layers[0].GammaT = "abc";
    EXPECT_THROW(DrawLoadOutline(p, d), ConversionError);
    EXPECT_TRUE(p.Series[fkLoad].Points.empty());
}

TEST(PreviewChart, DrawPreviewShowsWhatIsSwitchedOn) {
    TDesignConditions d = SampleDesign();
    d.LayerCount = "2";
    TChartModel p = MakePreviewChart();
    p.Series[fkLayer4].Add(1, 1);
    DrawPreview(p, d);
    EXPECT_EQ(p.Series[fkLayer1].Points.size(), 4u);
    EXPECT_EQ(p.Series[fkLayer2].Points.size(), 4u);
    for (auto k : {fkLayer3, fkLayer4, fkLayer5, fkWater, fkNeverCutLine, fkMustCutPoint, fkLoad})
        EXPECT_TRUE(p.Series[static_cast<std::size_t>(k)].Points.empty()) << k;
    EXPECT_EQ(p.Series[fkNeverCutElevation].Points.size(), 2u);

    d.WaterEnabled = true;
    d.LoadEnabled = true;
    d.LoadStartX = "25";
    d.LoadEndX = "30";
    DrawPreview(p, d);
    EXPECT_EQ(p.Series[fkWater].Points.size(), 4u);
    EXPECT_EQ(p.Series[fkLoad].Points.size(), 4u);
}

TEST(PreviewChart, ClearLayersLeavesOneGreyPointPerLayer) {
    TDesignConditions d = SampleDesign();
    TChartModel p = MakePreviewChart();
    DrawPreview(p, d);
    ClearLayers(p, d);
    for (int k = 0; k < MaxLayers; ++k) {
        const auto& s = p.Series[static_cast<std::size_t>(k)];
        ASSERT_EQ(s.Points.size(), 1u);
        EXPECT_EQ(s.Points[0].X, 0);
        EXPECT_EQ(s.Points[0].Colour, (TRgb{128, 128, 128}));
        EXPECT_EQ(d.Layers[static_cast<std::size_t>(k)].Boundary, TCoordinateTable::Placeholder());
    }
    EXPECT_EQ(d.WaterTable.Rows.size(), 4u);
}
