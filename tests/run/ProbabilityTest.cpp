// Uncertainty studies: the written form of the variations, the sampling, and
// the statistics that must not depend on how the work is shared out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "EngineTestSupport.h"
#include "run/Probability.h"

namespace sorvanta {
namespace {

TEST(Probability, NormalQuantileInvertsTheDistribution) {
    EXPECT_NEAR(NormalQuantile(0.975), 1.959963984540054, 1e-14);
    EXPECT_NEAR(NormalCdf(-3), 0.0013498980316301, 1e-16);
    for (const double p : {1e-12, 1e-6, 0.01, 0.02425, 0.3, 0.5, 0.77, 0.99, 1 - 1e-9})
        EXPECT_NEAR(NormalCdf(NormalQuantile(p)), p, 1e-12 * std::max(p, 1e-3)) << p;
}

TEST(Probability, VariationsAreReadAndWrittenBack) {
    TVariations v;
    ASSERT_EQ(ReadVariations(v,
                             "c1=normal(20,4); tanphi1=lognormal(0.5,0.05);"
                             "gamma2=uniform(17,19);water=normal(0,0.5);rho1=-0.5"),
              std::nullopt);
    ASSERT_EQ(v.Inputs.size(), 4u);
    EXPECT_EQ(v.Inputs[1].Input, TVariedInput::TanPhi);
    EXPECT_EQ(v.Inputs[2].Layer, 1);
    EXPECT_EQ(v.Correlations.at(0).Rho, -0.5);
    TVariations again;
    ASSERT_EQ(ReadVariations(again, VariationsText(v)), std::nullopt);
    EXPECT_EQ(again, v);

    struct TBad {
        const char* Spec;
        const char* Says;
    };
    for (const TBad& bad :
         {TBad{"c1", "キー=分布"}, TBad{"c6=normal(1,1)", "1～5"}, TBad{"k1=normal(1,1)", "キーは"},
          TBad{"c1=gauss(1,1)", "normal"}, TBad{"c1=normal(1)", "2つの値"},
          TBad{"c1=normal(1,-1)", "標準偏差"}, TBad{"c1=lognormal(0,1)", "正"},
          TBad{"c1=uniform(2,1)", "下限"}, TBad{"rho1=1", "相関係数"},
          TBad{"c1=normal(1,1);c1=normal(2,1)", "2度"}}) {
        TVariations untouched = v;
        const auto problem = ReadVariations(untouched, bad.Spec);
        ASSERT_TRUE(problem) << bad.Spec;
        EXPECT_NE(problem->find(bad.Says), std::string::npos) << *problem;
        EXPECT_EQ(untouched, v);  // a refused list changes nothing
    }
}

TEST(Probability, SamplesStayInThePhysicalRangeAndLatinStrataAreFilled) {
    TVariations v;
    ASSERT_EQ(ReadVariations(v, "c1=normal(5,10);phi1=normal(85,10);gamma1=uniform(0,1)"),
              std::nullopt);
    for (const bool latin : {false, true}) {
        const TProbabilityOptions options{.Samples = 200, .Seed = 7, .LatinHypercube = latin};
        std::vector<double> gamma;
        for (std::uint64_t i = 0; i < 200; ++i) {
            const std::vector<double> x = SampledValues(v, options, i);
            EXPECT_GE(x[0], 0);
            EXPECT_GE(x[1], 0);
            EXPECT_LT(x[1], 90);
            gamma.push_back(x[2]);
        }
        if (latin) {
            // One sample in each of the 200 strata of the uniform input.
            std::sort(gamma.begin(), gamma.end());
            for (std::size_t k = 0; k < gamma.size(); ++k) {
                EXPECT_GE(gamma[k], k / 200.0);
                EXPECT_LT(gamma[k], (k + 1) / 200.0);
            }
        }
    }
}

TEST(Probability, ResultsDoNotDependOnTheThreadCount) {
    const TAnalysisModel model = BuildAnalysisModel(test::SampleDesign(), {});
    TVariations v;
    ASSERT_EQ(ReadVariations(v, "c1=lognormal(20,6);tanphi1=lognormal(0.466,0.05);rho1=-0.5"),
              std::nullopt);
    ASSERT_EQ(VariationsProblem(model, v), std::nullopt);
    for (const bool latin : {false, true}) {
        TProbabilityOptions options{
            .Samples = 20, .Seed = 3, .LatinHypercube = latin, .Threads = 1};
        const TProbabilityResult one = ProbabilityOfFailure(model, v, options);
        options.Threads = 2;
        const TProbabilityResult two = ProbabilityOfFailure(model, v, options);
        EXPECT_EQ(one.Samples + one.NoCircle, 20);
        EXPECT_EQ(one.Mean, two.Mean);
        EXPECT_EQ(one.StandardDeviation, two.StandardDeviation);
        EXPECT_EQ(one.Histogram, two.Histogram);
        EXPECT_EQ(one.Convergence, two.Convergence);
        EXPECT_GT(one.StandardDeviation, 0);
        EXPECT_LE(one.PfLow, one.Pf);
        EXPECT_GE(one.PfHigh, one.Pf);
        // After 10, and after all 20.
        ASSERT_EQ(one.Convergence.size(), 2u);
        EXPECT_EQ(one.Convergence[1].first, 20);
    }
    // First-order second moment: at the means the design's own factor.
    const auto fosm = Fosm(model, v, 2);
    ASSERT_TRUE(fosm);
    EXPECT_NEAR(fosm->FsAtMeans, *CriticalFactor(model), 2e-3);
    EXPECT_GT(fosm->Delta[0], 0);
    EXPECT_GT(fosm->Delta[1], 0);
}

// The studies keep the circles of their searches between points; each point
// must still be exactly the factor of its own search.
TEST(Probability, StudiesGiveEachPointsOwnSearchExactly) {
    const TAnalysisModel model = BuildAnalysisModel(test::SampleDesign(), {});
    TVariations v;
    ASSERT_EQ(ReadVariations(v,
                             "c1=lognormal(20,6);tanphi1=lognormal(0.466,0.05);"
                             "c2=lognormal(20,6);phi2=normal(25,2.5)"),
              std::nullopt);
    const auto fosm = Fosm(model, v, 1);
    ASSERT_TRUE(fosm);
    std::vector<double> means;
    for (const TVariation& input : v.Inputs) means.push_back(VariationMoments(input).first);
    EXPECT_EQ(fosm->FsAtMeans, *CriticalFactor(VariedModel(model, v, means)));
    for (std::size_t i = 0; i < v.Inputs.size(); ++i) {
        const auto [mean, sd] = VariationMoments(v.Inputs[i]);
        std::vector<double> low = means, high = means;
        low[i] = std::max(mean - sd, 0.0);
        high[i] = mean + sd;
        EXPECT_EQ(fosm->Delta[i], (*CriticalFactor(VariedModel(model, v, high)) -
                                   *CriticalFactor(VariedModel(model, v, low))) /
                                      2)
            << i;
    }

    const TSensitivityResult sensitivity = Sensitivity(model, 0.2, 3, 1);
    ASSERT_TRUE(sensitivity.BaseFs);
    EXPECT_EQ(*sensitivity.BaseFs, *CriticalFactor(model));
    for (const TSensitivityLine& line : sensitivity.Lines) {
        if (line.Input.Layer > 1) continue;
        TVariations one;
        one.Inputs.push_back(line.Input);
        for (std::size_t s = 0; s < line.Values.size(); ++s)
            EXPECT_EQ(line.Fs[s], CriticalFactor(VariedModel(model, one, {line.Values[s]})))
                << static_cast<int>(line.Input.Input) << " " << s;
    }
}

TEST(Probability, SensitivityMovesEachInputAlone) {
    const TAnalysisModel model =
        test::OneLayerModel({{0, 0}, {20, 0}, {40, 10}, {70, 10}}, 18, 30, 10, 1.0);
    const TSensitivityResult s = Sensitivity(model, 0.2, 5, 2);
    ASSERT_TRUE(s.BaseFs);
    ASSERT_EQ(s.Lines.size(), 3u);  // c, φ, γt of the one layer; no water
    for (const TSensitivityLine& line : s.Lines) {
        ASSERT_EQ(line.Fs.size(), 5u);
        // The middle step is the design itself.
        EXPECT_EQ(line.Change[2], 0);
        EXPECT_NEAR(*line.Fs[2], *s.BaseFs, 1e-12);
        const bool weight = line.Input.Input == TVariedInput::GammaT;
        // Strength raises Fs, weight lowers it.
        EXPECT_EQ(*line.Fs[4] > *line.Fs[0], !weight) << VariationKey(line.Input);
    }
}

}  // namespace
}  // namespace sorvanta
