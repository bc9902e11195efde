// Sections an engineer draws that the plain slice rules misread: a vertical
// face, a layer boundary drawn above the ground, water standing above the
// ground. Each is checked through the whole search against the section it
// must agree with.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

using test::ExactTable;
using test::ExactText;

struct TSoil {
    double GammaT, GammaS, Phi, C;
};

TDesignConditions Design(const std::vector<TSoil>& soils, const std::vector<TPolyline>& boundaries,
                         double neverCut) {
    TDesignConditions d = test::SampleDesign();
    d.LayerCount = std::to_string(soils.size());
    for (std::size_t k = 0; k < soils.size(); ++k) {
        TSoilLayer& layer = d.Layers[k];
        layer.GammaT = ExactText(soils[k].GammaT);
        layer.GammaS = ExactText(soils[k].GammaS);
        layer.Phi = ExactText(soils[k].Phi);
        layer.Cohesion = ExactText(soils[k].C);
        layer.Boundary = ExactTable(boundaries[k]);
    }
    d.WaterEnabled = false;
    d.GammaW = "---";
    d.MaxSliceWidth = "1.0";
    d.NeverCutElevation = ExactText(neverCut);
    return d;
}

TSearchResult Critical(const TDesignConditions& d, const TAnalysisOptions& options = {}) {
    TAnalysisModel e;
    e.BuildAnalysisModel(d, options);
    const TCriticalSearch s = SearchCriticalCircle(e);
    EXPECT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_GT(s.Result.R, 0);
    return s.Result;
}

TEST(SectionShapes, VerticalFaceAgreesWithAFaceTiltedByAMicrometre) {
    // A circle entering the face and leaving on the crest has every slice
    // centre under the level crest; it is still a slip, and the most critical
    // one. Without it the wall read up to 3.7 times too safe.
    const TSoil soil{18, 9, 40, 1};
    struct TCase {
        double NeverCut;
        double Fs;  // of the tilted face
    };
    for (const TCase& t : {TCase{0, 0.353}, TCase{-10, 0.290}}) {
        SCOPED_TRACE("never-cut elevation " + std::to_string(t.NeverCut));
        const TSearchResult wall =
            Critical(Design({soil}, {{{0, 0}, {30, 0}, {30, 10}, {70, 10}}}, t.NeverCut));
        const TSearchResult tilted =
            Critical(Design({soil}, {{{0, 0}, {30, 0}, {30.000001, 10}, {70, 10}}}, t.NeverCut));
        EXPECT_NEAR(tilted.Fs, t.Fs, 0.001);
        EXPECT_NEAR(wall.Fs, tilted.Fs, 1e-5 * tilted.Fs);
        // Overhanging by a micrometre: the same wall.
        const TSearchResult overhang =
            Critical(Design({soil}, {{{0, 0}, {30, 0}, {29.999999, 10}, {70, 10}}}, t.NeverCut));
        EXPECT_NEAR(overhang.Fs, tilted.Fs, 1e-5 * tilted.Fs);
    }

    // A 1 m overhang, and the same section mirrored (its slip then turns the
    // other way): the lip is soil down to the slip surface either way.
    TDesignConditions d = Design({soil}, {{{0, 0}, {30, 0}, {29, 10}, {70, 10}}}, -10);
    const TSearchResult overhang = Critical(d);
    EXPECT_NEAR(overhang.Fs, 0.293, 0.001);
    d.Layers[0].Boundary = ExactTable({{0, 10}, {41, 10}, {40, 0}, {70, 0}});
    EXPECT_NEAR(-Critical(d, {.Direction = TSlipDirection::CounterClockwise}).Fs, overhang.Fs,
                1e-9);
}

TEST(SectionShapes, LayerBoundaryAboveTheGroundHasNoThickness) {
    // Layer 2's boundary drawn above the ground: layer 1 has no thickness
    // anywhere, so the section is layer 2's soil alone, to the bit. Drawn
    // above the ground over the crest only, it agrees with the boundary drawn
    // along the ground there.
    const TSoil top{18, 9, 10, 5};
    const TSoil below{19, 10, 30, 10};
    const TPolyline ground{{0, 0}, {20, 0}, {40, 10}, {70, 10}};
    const TSearchResult alone = Critical(Design({below}, {ground}, -10));
    TDesignConditions d =
        Design({top, below}, {ground, {{0, 10}, {20, 10}, {40, 20}, {70, 20}}}, -10);
    const TSearchResult above = Critical(d);
    EXPECT_EQ(above.Fs, alone.Fs);
    EXPECT_EQ(above.R, alone.R);

    // Crossing the ground at x 30, above it on the right: the same as drawn
    // along the ground there (the same break points, so the same bits).
    const TSearchResult crossing = Critical(
        Design({top, below}, {ground, {{0, -2}, {20, -2}, {30, 5}, {40, 12}, {70, 12}}}, -10));
    const TSearchResult along = Critical(
        Design({top, below}, {ground, {{0, -2}, {20, -2}, {30, 5}, {40, 10}, {70, 10}}}, -10));
    EXPECT_EQ(crossing.Fs, along.Fs);

    // No slice of the critical circle weighs less than nothing.
    TAnalysisModel e;
    e.BuildAnalysisModel(d, {});
    const std::vector<TSliceRow> rows = test::EvaluateAll(e, {above.Xo, above.Yo, above.R}).Rows;
    ASSERT_FALSE(rows.empty());
    for (const TSliceRow& row : rows) {
        EXPECT_GE(row.W, 0) << "slice " << row.No;
        for (double v : row.VWet) EXPECT_GE(v, 0) << "slice " << row.No;
    }
}

TEST(SectionShapes, PondedWaterActsOnTheSlope) {
    // A cohesionless 1:2 slope under 40 m of still water, in effective
    // stress: the water's weight and thrust on the ground and the pore
    // pressure on the base add up to the buoyancy, so the slope is the dry one
    // with the submerged weight: Fs = tanφ / tanβ = tan 30° / 0.5 = 1.1547.
    const TSoil sand{18, 8, 30, 0};
    const TPolyline ground{{0, 0}, {20, 0}, {40, 10}, {70, 10}};
    const TDesignConditions dry = Design({sand}, {ground}, -10);
    TDesignConditions submerged = dry;
    submerged.WaterEnabled = true;
    submerged.GammaW = "10";
    submerged.WaterTable = ExactTable({{0, 50}, {70, 50}});
    submerged.StressType = 1;
    const double closed = std::tan(30 * 3.141592653589793 / 180) / 0.5;
    EXPECT_NEAR(Critical(dry).Fs, closed, 0.001);
    EXPECT_NEAR(Critical(submerged).Fs, closed, 0.001);

    // Water up to 5 m, in the slope as in front of it: the same as the section
    // whose soil below 5 m weighs γs and holds no water (a second layer whose
    // boundary at 5 m lies above the ground at the toe and there has no
    // thickness).
    const TSoil firm{18, 8, 30, 5};
    TDesignConditions toe = Design({firm}, {ground}, -10);
    toe.WaterEnabled = true;
    toe.GammaW = "10";
    toe.WaterTable = ExactTable({{0, 5}, {70, 5}});
    toe.StressType = 1;
    const TSoil buoyant{8, 8, 30, 5};
    const TDesignConditions submergedWeight =
        Design({firm, buoyant}, {ground, {{0, 5}, {70, 5}}}, -10);
    const TSearchResult ponded = Critical(toe);
    const TSearchResult reference = Critical(submergedWeight);
    EXPECT_NEAR(ponded.Fs, reference.Fs, 0.01 * reference.Fs);
    // Without the water standing in front of it the toe is less safe.
    TDesignConditions drained = toe;
    drained.WaterTable = ExactTable({{0, 0}, {20, 0}, {30, 5}, {70, 5}});
    EXPECT_LT(Critical(drained).Fs, ponded.Fs);
}

}  // namespace
}  // namespace sorvanta
