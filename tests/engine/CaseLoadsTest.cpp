// The loads a design case adds to the soil's weight: the seismic force kh·W
// at each slice's centre of gravity, and the surcharge counted as weight.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

using test::EvaluateAll;
using test::Mirrored;
using test::OneLayerModel;

const TPolyline Slope{{0, 0}, {20, 0}, {40, 10}, {70, 10}};
const TSlipCircle Circle{26, 22, 23};

TAnalysisModel Seismic(TAnalysisModel model, double kh) {
    return WithCaseLoads(std::move(model), {.Kh = kh});
}

TEST(CaseLoads, SeismicForceEntersAsTheFormulaHasIt) {
    // Moment form: Σ[c·l + (W·cosα − kh·W·sinα)·tanφ]·r / Σ[W·sinα·r + kh·W·h],
    // force form: the same resisting sum over r, over Σ[W·sinα + kh·W·cosα];
    // h from the circle's centre down to the slice's centre of gravity.
    for (const int form : {0, 1}) {
        SCOPED_TRACE(form == 0 ? "moment form" : "force form");
        const TAnalysisModel still = OneLayerModel(Slope, 18, 30, 10, 0.5, form);
        const TCircleEvaluation base = EvaluateAll(still, Circle);
        ASSERT_EQ(base.Verdict, TCircleVerdict::Valid);
        const double r = form == 0 ? Circle.R : 1.0;
        for (const double kh : {0.1, 0.25}) {
            const TCircleEvaluation quake = EvaluateAll(Seismic(still, kh), Circle);
            ASSERT_EQ(quake.Verdict, TCircleVerdict::Valid);
            ASSERT_EQ(quake.Rows.size(), base.Rows.size());
            double resisting = 0, driving = 0;
            for (std::size_t i = 0; i < base.Rows.size(); ++i) {
                const TSliceRow& s = base.Rows[i];
                const double tanPhi = std::tan(s.Phi);
                const double cohesive = s.Resisting - r * s.W * std::cos(s.Alpha) * tanPhi;
                resisting += cohesive +
                             r * (s.W * std::cos(s.Alpha) - kh * s.W * std::sin(s.Alpha)) * tanPhi;
                driving += s.Driving + (form == 0 ? kh * s.W * (Circle.Yo - s.GravityY)
                                                  : kh * s.W * std::cos(s.Alpha));
            }
            EXPECT_NEAR(quake.Resisting, resisting, 1e-9 * resisting);
            EXPECT_NEAR(quake.Driving, driving, 1e-9 * driving);
            EXPECT_LT(quake.Fs, base.Fs);
            EXPECT_DOUBLE_EQ(quake.WeightSum, base.WeightSum);
        }
    }
}

TEST(CaseLoads, SeismicForceActsInTheSenseOfSliding) {
    // The section mirrored slides the other way; the horizontal force turns
    // with it, so the factor is the same up to its sign. Even a coefficient
    // large enough to lift the normal force off the steep slices (which then
    // carry no friction, never a negative one) keeps the mirror.
    for (const int form : {0, 1}) {
        for (const double kh : {0.2, 0.9}) {
            SCOPED_TRACE(testing::Message() << "form " << form << ", kh " << kh);
            const TCircleEvaluation right =
                EvaluateAll(Seismic(OneLayerModel(Slope, 18, 30, 10, 0.5, form), kh), Circle);
            const TCircleEvaluation left =
                EvaluateAll(Seismic(OneLayerModel(Mirrored(Slope), 18, 30, 10, 0.5, form), kh),
                            {-Circle.Xo, Circle.Yo, Circle.R});
            ASSERT_EQ(right.Verdict, TCircleVerdict::Valid);
            ASSERT_EQ(left.Verdict, TCircleVerdict::Valid);
            EXPECT_GT(right.Fs, 0);
            EXPECT_NEAR(left.Fs, -right.Fs, 1e-9 * right.Fs);
            const double r = form == 0 ? Circle.R : 1.0;
            for (const TSliceRow& s : right.Rows)
                EXPECT_GE(s.Resisting, r * s.C * s.L * (1 - 1e-12)) << "slice " << s.No;
        }
    }
}

TEST(CaseLoads, PhiZeroFactorFollowsTheMomentOfTheSeismicForce) {
    // With φ = 0 the resisting moment is cu·La·r whatever kh, and the driving
    // moment W·d + kh·W·h_G grows linearly: 1/Fs is linear in kh.
    const TAnalysisModel clay = OneLayerModel({{0, 0}, {20, 0}, {28, 8}, {60, 8}}, 19, 0, 65, 0.25);
    const TSlipCircle circle{23.486, 11.587, 12.1};
    const TCircleEvaluation f0 = EvaluateAll(clay, circle);
    const TCircleEvaluation f1 = EvaluateAll(Seismic(clay, 0.1), circle);
    const TCircleEvaluation f2 = EvaluateAll(Seismic(clay, 0.2), circle);
    EXPECT_DOUBLE_EQ(f1.Resisting, f0.Resisting);
    EXPECT_DOUBLE_EQ(f2.Resisting, f0.Resisting);
    EXPECT_NEAR(1 / f2.Fs - 1 / f0.Fs, 2 * (1 / f1.Fs - 1 / f0.Fs), 1e-12);
    EXPECT_LT(f2.Fs, f1.Fs);
}

TEST(CaseLoads, CentreOfGravityIsTheWeightedCentroidOfTheParts) {
    // At the bottom of the circle (centre (50, 30), R 30) a thin slice has
    // layer 1 from the ground at 10 down to its boundary with layer 2 at 6,
    // the water at 8, and layer 2 from 6 down to the slip surface at about 0.
    TAnalysisModel e;
    e.NumLayers = 2;
    e.WaterOn = true;
    e.GammaWater = 10;
    e.Soil[0] = {17, 9, 19, 30 * std::numbers::pi / 180, 5};
    e.Soil[1] = {20, 11, 21, 25 * std::numbers::pi / 180, 15};
    e.SliceWidthLimit = 0.05;
    const TPolyline ground{{0, 10}, {60, 10}, {80, 0}, {100, 0}};
    const TPolyline boundary{{0, 6}, {100, 6}};
    const TPolyline water{{0, 8}, {60, 8}, {80, -1}, {100, -1}};
    e.SetFigure(fkLayer1, ground);
    e.SetFigure(fkLayer2, boundary);
    e.SetFigure(fkWater, water);
    e.SetFigure(fkNeverCutElevation, {{0, -100}, {100, -100}});
    e.NclElevation = -100;
    for (const TPolyline* line : {&ground, &boundary, &water})
        for (const TPoint& p : *line) e.BreakX.push_back(p.X);
    e.BreakX.push_back(0);
    e.BreakX.push_back(0);
    e.RefreshLookups();
    const TCircleEvaluation ev = EvaluateAll(e, {50, 30, 30});
    ASSERT_EQ(ev.Verdict, TCircleVerdict::Valid);
    const TSliceRow* slice = nullptr;
    for (const TSliceRow& s : ev.Rows)
        if (!slice || std::fabs(s.CentreX - 50) < std::fabs(slice->CentreX - 50)) slice = &s;
    ASSERT_NE(slice, nullptr);
    const double yc = 30 - std::sqrt(900 - (slice->CentreX - 50) * (slice->CentreX - 50));
    const double dry1 = 17 * 2, wet1 = 19 * 2, wet2 = 21 * (6 - yc);
    const double expected = (dry1 * 9 + wet1 * 7 + wet2 * (6 + yc) / 2) / (dry1 + wet1 + wet2);
    EXPECT_NEAR(slice->GravityY, expected, 1e-4);
}

TEST(CaseLoads, SurchargeCountsAsWeightOnTheLoadedSlices) {
    // Hand calculation on one circle: the loaded slices carry q·b more
    // weight in W·sinα and W·cosα·tanφ, the others nothing. The model without
    // the load but with its ends as break points slices the circle alike.
    const double q = 12.5;
    const TCaseLoads loads{
        .Surcharge = true, .SurchargeQ = q, .SurchargeX0 = 30.3, .SurchargeX1 = 38.9};
    for (const int form : {0, 1}) {
        SCOPED_TRACE(form == 0 ? "moment form" : "force form");
        const TAnalysisModel plain = OneLayerModel(Slope, 18, 30, 10, 0.5, form);
        TCaseLoads none = loads;
        none.SurchargeQ = 0;
        const TCircleEvaluation base = EvaluateAll(WithCaseLoads(plain, none), Circle);
        const TCircleEvaluation loaded = EvaluateAll(WithCaseLoads(plain, loads), Circle);
        ASSERT_EQ(loaded.Verdict, TCircleVerdict::Valid);
        ASSERT_EQ(loaded.Rows.size(), base.Rows.size());
        const double r = form == 0 ? Circle.R : 1.0;
        double resisting = base.Resisting, driving = base.Driving, total = 0;
        for (std::size_t i = 0; i < base.Rows.size(); ++i) {
            const TSliceRow& s = loaded.Rows[i];
            const bool under = s.CentreX > 30.3 && s.CentreX < 38.9;
            EXPECT_NEAR(s.Load, under ? q * s.B : 0.0, 1e-12 * q) << "slice " << s.No;
            EXPECT_NEAR(s.W, base.Rows[i].W + s.Load, 1e-9 * s.W);
            resisting += r * s.Load * std::cos(s.Alpha) * std::tan(s.Phi);
            driving += r * s.Load * std::sin(s.Alpha);
            total += s.Load;
        }
        EXPECT_NEAR(total, q * (38.9 - 30.3), 1e-9);
        EXPECT_NEAR(loaded.Resisting, resisting, 1e-9 * resisting);
        EXPECT_NEAR(loaded.Driving, driving, 1e-9 * driving);
        // The same circle without the load, sliced without the extra break
        // points, is today's evaluation.
        EXPECT_NEAR(EvaluateAll(plain, Circle).Fs, base.Fs, 1e-3 * base.Fs);
    }
}

TEST(CaseLoads, RestrainingForceBringsTheCircleToThePlannedFactor) {
    // Pr = (PFs − Fs)·Mo / r on any circle, whatever the form, kh or sense.
    for (const int form : {0, 1}) {
        for (const bool mirrored : {false, true}) {
            TAnalysisModel model = Seismic(
                OneLayerModel(mirrored ? Mirrored(Slope) : Slope, 18, 30, 10, 0.5, form), 0.15);
            model.PlannedFs = 1.4;
            const TSlipCircle c{mirrored ? -Circle.Xo : Circle.Xo, Circle.Yo, Circle.R};
            const TCircleEvaluation ev = EvaluateAll(model, c);
            const double r = form == 0 ? c.R : 1.0;
            const double expected = (1.4 - std::fabs(ev.Fs)) * std::fabs(ev.Driving) / r;
            EXPECT_NEAR(RestrainingForce(model, c.R, ev.Resisting, ev.Driving), expected,
                        1e-9 * std::fabs(expected));
        }
    }
}

TEST(CaseLoads, SearchFindsTheCircleNeedingTheMostForce) {
    // Beside the critical circle, at no change to it, and alike whatever the
    // thread count; never less than the critical circle itself needs.
    TAnalysisModel model = BuildAnalysisModel(test::SampleDesign(), {});
    for (const TSlipDirection direction : {TSlipDirection::Clockwise, TSlipDirection::Both}) {
        model.Direction = direction;
        model.PlannedFs = 0;
        const TCriticalSearch plain = SearchCriticalCircle(model, {.Threads = 2});
        EXPECT_FALSE(plain.MostForce.Found);
        model.PlannedFs = 2.5;
        const TCriticalSearch one = SearchCriticalCircle(model, {.Threads = 1});
        const TCriticalSearch two = SearchCriticalCircle(model, {.Threads = 2});
        EXPECT_EQ(one.Result.Fs, plain.Result.Fs);
        EXPECT_EQ(one.Result.R, plain.Result.R);
        EXPECT_EQ(one.Circles, plain.Circles);
        ASSERT_TRUE(one.MostForce.Found);
        EXPECT_EQ(one.MostForce, two.MostForce);
        const double critical =
            RestrainingForce(model, one.Result.R, one.Result.Resisting, one.Result.Driving);
        EXPECT_GT(critical, 0);
        EXPECT_GE(one.MostForce.Force, critical);
        EXPECT_NEAR(one.MostForce.Force,
                    RestrainingForce(model, one.MostForce.R, one.MostForce.Resisting,
                                     one.MostForce.Driving),
                    0);
    }
}

}  // namespace
}  // namespace sorvanta
