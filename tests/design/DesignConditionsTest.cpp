#include <gtest/gtest.h>

#include "TestSupport.h"
#include "design/DesignConditions.h"
#include "text/Conversion.h"

namespace sorvanta {
namespace {

using test::RowTable;
using test::SampleDesign;

TEST(ReadPolyline, StopsAtTheFirstRowThatIsNotAPoint) {
    struct Case {
        const char* name;
        TCoordinateTable table;
        TPolyline expected;
    };
    const Case cases[] = {
        {"placeholder", TCoordinateTable::Placeholder(), {}},
        {"stops at x", RowTable({{"0", "0", "5"}, {"1", "20", "x"}, {"2", "40", "15"}}), {{0, 5}}},
        {"lone point is zero", RowTable({{"0", ".", "5"}}), {{0, 5}}},
        {"exponent without digits", RowTable({{"0", "1e", "5"}}), {}},
        {"decimal comma", RowTable({{"0", "1,5", "5"}}), {}},
        {"trailing blank", RowTable({{"0", "1 ", "5"}}), {}},
        {"valid row after invalid unreached",
         RowTable({{"0", "0", "5"}, {"-", "-", "-"}, {"2", "40", "15"}}),
         {{0, 5}}},
        {"No. is never read", RowTable({{"abc", " -1.5", "+2e1"}}), {{-1.5, 20}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadPolyline(c.table), c.expected) << c.name;
}

TEST(LoadSampleDesign, GivesTheSampleSection) {
    TDesignConditions d;
    d.StressType = 1;
    d.DesignName = "kept";
    LoadSampleDesign(d);

    EXPECT_EQ(d.LayerCount, "5");
    EXPECT_FALSE(d.WaterEnabled);
    EXPECT_EQ(d.GammaW, "---");
    EXPECT_FALSE(d.LoadEnabled);
    EXPECT_FALSE(d.MustCutPointEnabled);
    EXPECT_FALSE(d.NeverCutLineEnabled);
    EXPECT_EQ(d.NeverCutElevation, "0.00");
    EXPECT_EQ(d.MustCutPoint, TCoordinateTable::Placeholder());
    EXPECT_EQ(d.NeverCutLine, TCoordinateTable::Placeholder());
    for (int k = 0; k < MaxLayers; ++k) {
        const TSoilLayer& layer = d.Layers[static_cast<std::size_t>(k)];
        EXPECT_EQ(layer.GammaT, "18.0");
        EXPECT_EQ(layer.GammaS, "9.0");
        EXPECT_EQ(layer.Phi, "25");
        EXPECT_EQ(layer.Cohesion, "20");
        EXPECT_EQ(layer.Boundary.Rows.size(), 4u);
    }
    EXPECT_EQ(d.Layers[0].Boundary, RowTable({{"0", "0.00", "5.00"},
                                              {"1", "20.00", "5.00"},
                                              {"2", "40.00", "15.00"},
                                              {"3", "70.00", "15.00"}}));
    EXPECT_EQ(d.Layers[4].Boundary, RowTable({{"0", "0.00", "1.00"},
                                              {"1", "20.00", "1.00"},
                                              {"2", "40.00", "11.00"},
                                              {"3", "70.00", "11.00"}}));
    EXPECT_EQ(d.WaterTable, RowTable({{"0", "0.00", "1.50"},
                                      {"1", "20.00", "2.00"},
                                      {"2", "40.00", "11.00"},
                                      {"3", "70.00", "13.00"}}));
    // Fields the sample does not name keep their values.
    EXPECT_EQ(d.StressType, 1);
    EXPECT_EQ(d.DesignName, "kept");
    EXPECT_EQ(d.SafetyFactor, "1.20");
}

TEST(DeriveGammaS, SetsGammaTMinusNineOnlyWhenGammaTConverts) {
    struct Case {
        const char* gammaT;
        const char* expectedGammaS;
        bool set;
    };
    const Case cases[] = {
        {"20.0", "11.0", true}, {"17.0", "8.0", true}, {"19.0", "10.0", true},
        {"abc", "7.7", false},  {"", "7.7", false},    {"9", "0.0", true},
    };
    for (const Case& c : cases) {
        TDesignConditions d = SampleDesign();
        d.Layers[2].GammaT = c.gammaT;
        d.Layers[2].GammaS = "7.7";
        EXPECT_EQ(DeriveGammaS(d, 2), c.set) << c.gammaT;
        EXPECT_EQ(d.Layers[2].GammaS, c.expectedGammaS) << c.gammaT;
        EXPECT_EQ(d.Layers[1].GammaS, "9.0");
    }
}

TEST(NormaliseLayerCount, ClampsToOneToFive) {
    struct Case {
        const char* text;
        const char* expected;
        int result;
    };
    const Case cases[] = {
        {"7", "5", 5}, {"0", "1", 1}, {"-3", "1", 1},    {"abc", "abc", 0},
        {"3", "3", 3}, {"5", "5", 5}, {"2.0", "2.0", 0},
    };
    for (const Case& c : cases) {
        TDesignConditions d;
        d.LayerCount = c.text;
        EXPECT_EQ(NormaliseLayerCount(d), c.result) << c.text;
        EXPECT_EQ(d.LayerCount, c.expected) << c.text;
    }
}

TEST(FigureTable, AddressesTheTablesInFigureOrder) {
    TDesignConditions d;
    for (int k = 0; k < MaxLayers; ++k) {
        EXPECT_EQ(FigureTable(d, static_cast<TFigureKind>(k)),
                  &d.Layers[static_cast<std::size_t>(k)].Boundary);
    }
    EXPECT_EQ(FigureTable(d, fkMustCutPoint), &d.MustCutPoint);
    EXPECT_EQ(FigureTable(d, fkNeverCutLine), &d.NeverCutLine);
    EXPECT_EQ(FigureTable(d, fkWater), &d.WaterTable);
    EXPECT_EQ(FigureTable(d, fkLoad), nullptr);
    EXPECT_EQ(FigureTable(d, fkNeverCutElevation), nullptr);
}

TEST(ComputePreviewAxes, SpansTheGroundWithEqualLengthsFromTheNeverCutElevation) {
    TDesignConditions d = SampleDesign();
    EXPECT_EQ(ComputePreviewAxes(d), (TPreviewAxes{{-2, 72}, {-2, 72}}));

    d.Layers[0].Boundary = RowTable({{"0", "10", "5"}, {"1", "30", "x"}, {"2", "40", "y"}});
    d.NeverCutElevation = "-5";
    EXPECT_EQ(ComputePreviewAxes(d), (TPreviewAxes{{8, 42}, {-7, 27}}));

    // The last row counts by position, number or not.
    d.Layers[0].Boundary = RowTable({{"0", "10", "5"}, {"1", "-", "-"}});
    EXPECT_THROW((void)ComputePreviewAxes(d), ConversionError);
    d = SampleDesign();
    d.NeverCutElevation = "abc";
    EXPECT_THROW((void)ComputePreviewAxes(d), ConversionError);
}

}  // namespace
}  // namespace sorvanta
