// Back-calculation on a fixed circle: the strengths that give a known factor.

#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestSupport.h"
#include "engine/BackCalculation.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

TEST(BackCalculation, RoundTripRecoversTheLayersStrength) {
    // Whatever Fs a layer's (c, φ) gives on a circle, back-calculating with
    // Fs0 = Fs gives that c for that φ and that φ for that c; with or without
    // a seismic force, in either form.
    const TPolyline slope{{0, 0}, {20, 0}, {40, 10}, {70, 10}};
    const TSlipCircle circle{26, 22, 23};
    for (const int form : {0, 1}) {
        for (const double kh : {0.0, 0.2}) {
            SCOPED_TRACE(testing::Message() << "form " << form << ", kh " << kh);
            const TAnalysisModel model =
                WithCaseLoads(test::OneLayerModel(slope, 18, 28, 12, 0.5, form), {.Kh = kh});
            const TCircleEvaluation ev = test::EvaluateAll(model, circle);
            const auto line = BackCalculate(model, circle, 0, ev.Fs);
            ASSERT_TRUE(line);
            const double tanPhi = std::tan(model.Soil[0].Phi);
            EXPECT_NEAR(*TanPhiFor(*line, 12), tanPhi, 1e-9);
            EXPECT_NEAR(*CohesionFor(*line, tanPhi), 12, 1e-8);
            // A target beyond what friction alone gives needs cohesion; one
            // below what the cohesion alone gives has no positive φ.
            EXPECT_FALSE(TanPhiFor(*line, 1e6));
            EXPECT_FALSE(CohesionFor(*line, 10));
        }
    }
}

TEST(BackCalculation, RefusesWhereTheLayerDoesNotCarryTheCircle) {
    const TAnalysisModel model =
        test::OneLayerModel({{0, 0}, {20, 0}, {40, 10}, {70, 10}}, 18, 28, 12, 0.5);
    EXPECT_FALSE(BackCalculate(model, {26, 22, 23}, 1, 1.0));  // no such layer
    EXPECT_FALSE(BackCalculate(model, {26, 22, 5}, 0, 1.0));   // the circle misses the ground
    TStrengthLine flat{.Fs0 = 1, .Fixed = 10, .PerCohesion = 0, .PerTanPhi = 0, .Driving = 20};
    EXPECT_FALSE(CohesionFor(flat, 0.5));
    EXPECT_FALSE(TanPhiFor(flat, 5));
}

}  // namespace
}  // namespace sorvanta
