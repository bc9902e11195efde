#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

using test::EvaluateAll;
using test::OneLayerModel;
constexpr TCircleVerdict Valid = TCircleVerdict::Valid;

// Applies f to every point of the section, reversing the point order when f
// mirrors, and rebuilds the break points the way the model builder does.
TAnalysisModel Transformed(const TAnalysisModel& source, const std::function<TPoint(TPoint)>& f,
                           bool mirrors) {
    TAnalysisModel e = source;
    for (int k = 0; k < FigureKindCount; ++k) {
        TPolyline line;
        for (const TPoint& p : source.Figures[static_cast<std::size_t>(k)]) line.push_back(f(p));
        if (mirrors && k != fkNeverCutElevation) std::reverse(line.begin(), line.end());
        e.SetFigure(static_cast<TFigureKind>(k), line);
    }
    e.BreakX.clear();
    for (int k = 0; k < e.LayersInUse(); ++k)
        for (const TPoint& p : e.Figures[static_cast<std::size_t>(k)]) e.BreakX.push_back(p.X);
    if (e.WaterOn)
        for (const TPoint& p : e.Figures[fkWater]) e.BreakX.push_back(p.X);
    e.BreakX.insert(e.BreakX.end(), {0, 0});
    e.RefreshLookups();
    return e;
}

TEST(SliceMethod, SegmentArea) {
    EXPECT_NEAR(SegmentArea(std::numbers::pi, 2), std::numbers::pi * 2, 1e-12);  // half disc
    EXPECT_NEAR(SegmentArea(std::numbers::pi / 2, 1), std::numbers::pi / 4 - 0.5, 1e-15);
    EXPECT_EQ(SegmentArea(0, 5), 0);
}

TEST(SliceMethod, DivisionAtBreakPointsAndWidthLimit) {
    TAnalysisModel e = OneLayerModel({{0, 0}, {100, 0}}, 18, 25, 20, 1.0);
    e.BreakX = {11, 10, 13.5, 11, 0, 0};  // unsorted, with a repeat
    e.RefreshLookups();
    TEngineScratch scratch;
    TSliceList s;
    ASSERT_TRUE(DivideSlices(e, {12, 30, 25}, 10, 13.5, s, scratch));
    ASSERT_EQ(s.Count(), 4);
    // 10..11 is exactly the limit: one slice. 11..13.5 (2.5 m): three of 2.5/3.
    EXPECT_EQ(s.Width[0], 1);
    EXPECT_EQ(s.CentreX[0], 10.5);
    for (int i = 1; i < 4; ++i) EXPECT_DOUBLE_EQ(s.Width[static_cast<std::size_t>(i)], 2.5 / 3);
    EXPECT_DOUBLE_EQ(s.CentreX[1], 11 + 2.5 / 6);
    EXPECT_DOUBLE_EQ(s.CentreX[3], 11 + 2 * (2.5 / 3) + 2.5 / 6);
    EXPECT_DOUBLE_EQ(s.LeftX[2], 11 + 2.5 / 3);
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_EQ(s.ArcYCentre[k], ArcYAt({12, 30, 25}, s.CentreX[k]));
        EXPECT_EQ(s.GroundYLeft[k], 0);
    }

    // Without the sorted look-up the same slices come out.
    TAnalysisModel slow = e;
    slow.Lookups.Ready = false;
    TSliceList slowSlices;
    ASSERT_TRUE(DivideSlices(slow, {12, 30, 25}, 10, 13.5, slowSlices, scratch));
    EXPECT_EQ(slowSlices.CentreX, s.CentreX);
    EXPECT_EQ(slowSlices.Width, s.Width);

    // A limit that is not positive divides nothing.
    e.SliceWidthLimit = 0;
    TSliceList undivided;
    ASSERT_TRUE(DivideSlices(e, {12, 30, 25}, 10, 13.5, undivided, scratch));
    EXPECT_EQ(undivided.Count(), 2);
}

TEST(SliceMethod, HorizontalGroundCircle) {
    TAnalysisModel e = OneLayerModel({{0, 0}, {100, 0}}, 18, 25, 20, 1.0);
    const TSlipCircle c{50, 10, 20};
    const TCircleEvaluation r = EvaluateAll(e, c);
    const std::vector<TSliceRow>& rows = r.Rows;
    EXPECT_EQ(r.Verdict, TCircleVerdict::LevelGround);  // equal ground elevation everywhere
    EXPECT_NEAR(r.Driving, 0, 1e-9);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(r.Slices.Count()));
    ASSERT_EQ(rows.size(), 35u);  // 34.64 m at most 1 m wide

    // The slice areas add up to the circular segment under the chord at
    // distance 10 from the centre; the base lengths to the 120° arc.
    const double segment = 400 * std::acos(0.5) - 10 * std::sqrt(300.0);
    double area = 0, arc = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TSliceRow& s = rows[i];
        EXPECT_EQ(s.No, static_cast<int>(i) + 1);
        EXPECT_LE(s.B, 1.0);
        EXPECT_EQ(s.VSub[0], 0);  // no groundwater
        EXPECT_DOUBLE_EQ(s.W, s.VWet[0] * 18);
        EXPECT_EQ(s.C, 20);
        EXPECT_EQ(s.SumH, s.H[0]);
        EXPECT_EQ(s.GroundHeight, s.H[0]);
        EXPECT_EQ(s.CentreX > 50, s.Alpha > 0);
        EXPECT_EQ(s.CentreX > 50, s.Driving > 0);
        area += s.SumV;
        arc += s.L;
    }
    EXPECT_NEAR(area, segment, 1e-9);
    EXPECT_NEAR(arc, 20 * 2 * std::numbers::pi / 3, 1e-9);
    EXPECT_NEAR(r.WidthSum, 2 * std::sqrt(300.0), 1e-12);
    EXPECT_NEAR(r.WeightSum, 18 * segment, 1e-8);
}

TEST(SliceMethod, LevelGroundIsLevelOverTheWholeMass) {
    // LevelGround needs one ground elevation at both end points and at every
    // slice's edges and centre; the number of slices and where their centres
    // lie do not decide it.
    struct TCase {
        const char* Name;
        TPolyline Ground;
        double Width;
        TSlipCircle Circle;
        int Slices;
        TCircleVerdict Verdict;
    };
    const TCase cases[] = {
        {"one slice, level",
         {{0, 0}, {100, 0}},
         1000,
         {50, 10, 12},
         1,
         TCircleVerdict::LevelGround},
        {"one slice, sloping", {{0, 0}, {100, 20}}, 1000, {40, 30, 25}, 1, Valid},
        // Enters the wall at x 30 and leaves on the crest: every slice centre
        // lies under the level crest, the mass is real.
        {"vertical face", {{0, 0}, {30, 0}, {30, 10}, {70, 10}}, 1.0, {26, 14, 9}, 5, Valid},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        const TAnalysisModel e = OneLayerModel(t.Ground, 18, 25, 20, t.Width);
        const TCircleEvaluation r = EvaluateAll(e, t.Circle);
        ASSERT_EQ(r.Slices.Count(), t.Slices);
        EXPECT_EQ(r.Verdict, t.Verdict);
        if (t.Verdict == Valid) {
            EXPECT_GT(r.Driving, 0);
        }
    }
}

TEST(SliceMethod, FredlundKrahnSimpleSlope) {
    // Fredlund & Krahn (1977), simple slope: c = 600 psf, φ = 20°,
    // γ = 120 pcf; ordinary method Fs = 1.928 for the circle (120, 90), R 80.
    TAnalysisModel e = OneLayerModel({{0, 60}, {60, 60}, {140, 20}, {180, 20}}, 120, 20, 600, 0.05);
    const TCircleEvaluation r = EvaluateAll(e, {120, 90, 80});
    ASSERT_EQ(r.Verdict, Valid) << static_cast<int>(r.Verdict);
    EXPECT_LT(r.Fs, 0);  // the slope falls to the right: counter-clockwise
    EXPECT_NEAR(std::fabs(r.Fs), 1.928, 0.005);
    EXPECT_NEAR(r.Xb, 120 - std::sqrt(80.0 * 80 - 900), 1e-9);
    EXPECT_NEAR(r.Xe, 120 + std::sqrt(80.0 * 80 - 4900), 1e-9);

    // The force form gives the same factor when no crack is involved.
    e.DisplayForm = TFsForm::Force;
    const TCircleEvaluation f = EvaluateAll(e, {120, 90, 80});
    EXPECT_NEAR(f.Fs, r.Fs, 1e-12);
    EXPECT_NEAR(f.Resisting * 80, r.Resisting, 1e-6 * r.Resisting);
}

// A steep face whose end point, on the crest, lies above the centre: the last
// slice carries a crack face with cohesion.
TAnalysisModel CrackSection(int form) {
    TAnalysisModel e = OneLayerModel({{0, 0}, {20, 0}, {30, 20}, {60, 20}}, 18, 10, 30, 0.5, form);
    e.WaterOn = true;
    e.GammaWater = 10;
    e.Soil[0].GammaSat = 19;
    e.SetFigure(fkWater, {{0, -1}, {25, 2}, {60, 4}});
    return Transformed(
        e, [](TPoint p) { return p; }, false);
}

TEST(SliceMethod, CrackCohesionDoesNotDependOnWhereTheOriginLies) {
    for (int form : {0, 1}) {
        for (int mode : {0, 1}) {
            TAnalysisModel base = CrackSection(form);
            base.StrengthMode = static_cast<TStrengthMode>(mode);
            const TSlipCircle c{20, 15, 16};
            const TCircleEvaluation r = EvaluateAll(base, c);
            ASSERT_EQ(r.Verdict, Valid);
            ASSERT_GT(r.Ye, c.Yo);  // the crack case
            EXPECT_GT(r.Fs, 0);

            const TAnalysisModel shifted = Transformed(
                base,
                [](TPoint p) {
                    return TPoint{p.X + 1000, p.Y};
                },
                false);
            const TCircleEvaluation s = EvaluateAll(shifted, {c.Xo + 1000, c.Yo, c.R});
            ASSERT_EQ(s.Verdict, Valid);
            EXPECT_NEAR(s.Fs, r.Fs, 1e-9) << form << mode;

            const TAnalysisModel mirrored = Transformed(
                base,
                [](TPoint p) {
                    return TPoint{-p.X, p.Y};
                },
                true);
            const TCircleEvaluation m = EvaluateAll(mirrored, {-c.Xo, c.Yo, c.R});
            ASSERT_EQ(m.Verdict, Valid);
            ASSERT_GT(m.Yb, c.Yo);  // now the first slice has the crack
            EXPECT_NEAR(m.Fs, -r.Fs, 1e-9) << form << mode;
        }
    }
}

TEST(SliceMethod, CrackTermInMomentForm) {
    // The crack term is c·h times the horizontal distance from the centre to
    // the face: the resisting sum exceeds that of the slices alone by it.
    const TAnalysisModel e = CrackSection(0);
    const TSlipCircle c{20, 15, 16};
    const TCircleEvaluation r = EvaluateAll(e, c);
    const std::vector<TSliceRow>& rows = r.Rows;
    const double h = r.Ye - ArcYAt(c, r.Xe);
    const TSliceRow& last = rows.back();
    const std::size_t n = rows.size();
    const TPoint left{r.Slices.LeftX[n - 1], r.Slices.ArcYLeft[n - 1]};
    const TSliceRow noCrack =
        EvaluateSlice(e, c, r.Slices, static_cast<int>(n - 1), left, {r.Xe, ArcYAt(c, r.Xe)}, 0, 0);
    EXPECT_NEAR(last.Resisting - noCrack.Resisting, (r.Xe - c.Xo) * 30 * h, 1e-9);
    EXPECT_GT(h, 0);
    EXPECT_EQ(r.Verdict, Valid);
}

TEST(SliceMethod, EffectiveStressNormalTermNeverNegative) {
    // Water at a level ground, the soil barely heavier than the water: where
    // u·b exceeds the slice weight the frictional term is 0, never negative.
    // Cohesion 0 isolates it.
    TAnalysisModel e = OneLayerModel({{0, 0}, {100, 0}}, 18, 30, 0, 1.0);
    e.WaterOn = true;
    e.GammaWater = 10;
    e.Soil[0].GammaSat = 10.01;
    e.StrengthMode = TStrengthMode::Effective;
    e.SetFigure(fkWater, {{0, 0}, {100, 0}});
    e = Transformed(
        e, [](TPoint p) { return p; }, false);
    const std::vector<TSliceRow> rows = EvaluateAll(e, {50, 10, 20}).Rows;
    int floored = 0, positive = 0;
    for (const TSliceRow& s : rows) {
        const double hw = s.GroundHeight;  // water over the slip surface
        EXPECT_EQ(s.VWet[0], 0);           // all of it under water
        EXPECT_DOUBLE_EQ(s.W, s.VSub[0] * 10.01);
        EXPECT_GE(s.Resisting, 0);
        if (hw * 10 * s.B > s.W) {
            EXPECT_EQ(s.Resisting, 0);
            ++floored;
        } else {
            ++positive;
        }
    }
    EXPECT_GT(floored, 0);
    EXPECT_GT(positive, 0);
}

TEST(SliceMethod, WaterSplitsTheAreasOfEachLayer) {
    // Two layers; water between the boundaries at the slope's foot.
    TAnalysisModel e = OneLayerModel({{0, 0}, {100, 0}}, 18, 25, 20, 1.0);
    e.NumLayers = 2;
    e.Soil[1] = {20, 11, 21, 0.5, 5};
    e.WaterOn = true;
    e.GammaWater = 10;
    e.Soil[0].GammaSat = 19;
    e.SetFigure(fkLayer2, {{0, -4}, {100, -4}});
    e.SetFigure(fkWater, {{0, -2}, {100, -2}});
    e = Transformed(
        e, [](TPoint p) { return p; }, false);
    const std::vector<TSliceRow> rows = EvaluateAll(e, {50, 10, 20}).Rows;
    const TSliceRow& mid = rows[rows.size() / 2];  // base near -10
    EXPECT_NEAR(mid.H[0], 4, 1e-12);
    EXPECT_NEAR(mid.H[1], mid.GroundHeight - 4, 1e-12);
    EXPECT_NEAR(mid.VWet[0], 2 * mid.B, 1e-9);  // 0 to -2 above the water
    EXPECT_NEAR(mid.VSub[0], 2 * mid.B, 1e-9);  // -2 to -4
    EXPECT_EQ(mid.VWet[1], 0);
    EXPECT_NEAR(mid.W, mid.VWet[0] * 18 + mid.VSub[0] * 19 + mid.VSub[1] * 21, 1e-9);
    EXPECT_EQ(mid.C, 5);  // the deepest layer above the base
    EXPECT_EQ(mid.Phi, 0.5);
}

TEST(SliceMethod, TooManySlicesAndNonFiniteSumsAreInvalid) {
    const TAnalysisModel e = OneLayerModel({{0, 0}, {100, 0}}, 18, 25, 20, 1e-6);
    TCircleEvaluation r = EvaluateAll(e, {50, 10, 20});
    EXPECT_EQ(r.Verdict, TCircleVerdict::TooManySlices);

    // Unit weights near the largest double: the moments overflow.
    const TAnalysisModel huge = OneLayerModel({{0, 0}, {100, 0}}, 1e307, 25, 20, 1.0);
    r = EvaluateAll(huge, {50, 10, 20});
    EXPECT_EQ(r.Verdict, TCircleVerdict::NotFinite);
}

}  // namespace
}  // namespace sorvanta

namespace sorvanta {
namespace {

bool SameRow(const TSliceRow& a, const TSliceRow& b) {
    return a.No == b.No && a.CentreX == b.CentreX && a.B == b.B && a.H == b.H && a.VWet == b.VWet &&
           a.VSub == b.VSub && a.GroundHeight == b.GroundHeight && a.SumV == b.SumV && a.C == b.C &&
           a.L == b.L && a.W == b.W && a.Alpha == b.Alpha && a.Phi == b.Phi &&
           a.Resisting == b.Resisting && a.Driving == b.Driving;
}

TEST(SliceMethod, ShortcutsGiveTheSameNumbersAsThePlainSteps) {
    // The circle loop carries angles over and walks the lines instead of
    // searching them; the model's look-ups sort the break points once. Every
    // number must equal that of the plain steps: EvaluateSlice per slice, and
    // a model without look-ups.
    TDesignConditions d = test::SampleDesign();
    d.WaterEnabled = true;
    d.GammaW = "9.8";
    d.StressType = 1;
    d.MaxSliceWidth = "0.7";
    const TAnalysisModel e = BuildAnalysisModel(d, {});
    TAnalysisModel plain = e;
    plain.Lookups.Ready = false;
    for (const TSlipCircle& c :
         {TSlipCircle{30, 20, 16}, TSlipCircle{30, 18, 14}, TSlipCircle{45, 30, 24.5}}) {
        const TCircleEvaluation r = test::EvaluateAll(e, c);
        const TCircleEvaluation p = test::EvaluateAll(plain, c);
        const std::vector<TSliceRow>& rows = r.Rows;
        const std::vector<TSliceRow>& plainRows = p.Rows;
        ASSERT_EQ(r.Verdict, TCircleVerdict::Valid) << static_cast<int>(r.Verdict);
        EXPECT_EQ(r.Fs, p.Fs);
        EXPECT_EQ(r.Resisting, p.Resisting);
        EXPECT_EQ(r.Driving, p.Driving);
        ASSERT_EQ(rows.size(), plainRows.size());
        const TSliceList& s = r.Slices;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(SameRow(rows[i], plainRows[i])) << i;
            if (i == 0 || i + 1 == rows.size()) continue;
            const TSliceRow one =
                EvaluateSlice(e, c, s, static_cast<int>(i), {s.LeftX[i], s.ArcYLeft[i]},
                              {s.LeftX[i + 1], s.ArcYLeft[i + 1]}, 0, 0);
            EXPECT_TRUE(SameRow(rows[i], one)) << i;
        }
    }
}

}  // namespace
}  // namespace sorvanta

#include "AllocationCounter.h"
#include "engine/Search.h"

namespace sorvanta {
namespace {

TEST(SliceMethod, EvaluatingCirclesDoesNotAllocate) {
    const long start = test::AllocationCount.load();
    TDesignConditions d = test::SampleDesign();
    d.WaterEnabled = true;
    d.GammaW = "10.0";
    const TAnalysisModel e = BuildAnalysisModel(d, {});
    TEngineScratch scratch;
    ASSERT_GT(test::AllocationCount.load(), start);  // the counter counts
    std::vector<TSlipCircle> circles;
    for (double x = -5; x < 75; x += 3.3)
        for (double y = 0; y < 60; y += 4.1)
            for (double r = 0; r < 60; r += 2.7) circles.push_back({x, y, r});
    // The scratch space grows to the largest circle once ...
    for (const TSlipCircle& c : circles) Evaluate(e, c, scratch);
    SearchRadius(e, scratch, {26, 22});
    // ... and is reused from then on, whatever the circle's verdict.
    const long before = test::AllocationCount.load();
    int valid = 0;
    for (const TSlipCircle& c : circles) valid += Accepted(Evaluate(e, c, scratch).Verdict);
    SearchRadius(e, scratch, {26, 22});
    SearchRadius(e, scratch, {40, 35});
    EXPECT_EQ(test::AllocationCount.load(), before);
    EXPECT_GT(valid, 100);
}

}  // namespace
}  // namespace sorvanta
