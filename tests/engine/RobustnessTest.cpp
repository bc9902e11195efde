// Hostile but loadable designs: near-vertical ground and never-cut elevations
// so deep that radii lose their fractions.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <numbers>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Geometry.h"
#include "engine/Progress.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

using test::ExactTable;
using test::SampleDesign;

TAnalysisModel Engine(const TDesignConditions& design) {
    TAnalysisModel e;
    e.BuildAnalysisModel(design, {});
    return e;
}

// Stops a search that has tried far more radii than any bounded one would,
// so that a runaway fails the test instead of hanging it.
class TRadiusBudget : public TProgress {
  public:
    explicit TRadiusBudget(long long polls) : left_(polls) {}
    bool Cancelled() const override { return left_.fetch_sub(1) <= 0; }

  private:
    mutable std::atomic<long long> left_;
};

TEST(Robustness, CrossingsOnNearVerticalGroundLieOnTheCircle) {
    // A face of slope m from (S, S) up 30 m, level ground either side; the
    // circle enters the face at nine tenths of its height and leaves through
    // the top. Solving for x and taking y on the face put the start point
    // off the circle by up to the slope times x's rounding.
    for (const double S : {0.0, 1e4, 1e6}) {
        for (const double m : {1e3, 6e4, 1e6}) {
            const TPoint foot{S, S};
            const TPoint top{S + 30 / m, S + 30};
            TAnalysisModel e;
            e.NumLayers = 1;
            e.SetFigure(fkLayer1, {{S - 40, S}, foot, top, {S + 60, S + 30}});
            e.RefreshLookups();
            const TPoint entry{foot.X + 0.9 * (top.X - foot.X), foot.Y + 27};
            const TSlipCircle c{S - 20, S + 32, std::hypot(entry.X - (S - 20), entry.Y - (S + 32))};
            const TCircleClassification k = ClassifyCircle(e, c);
            ASSERT_EQ(k.Verdict, TCircleVerdict::Valid) << S << " " << m;
            EXPECT_NEAR(std::hypot(k.Xb - c.Xo, k.Yb - c.Yo), c.R, 1e-8) << S << " " << m;
            EXPECT_NEAR(k.Yb, entry.Y, 1e-6) << S << " " << m;
            // The end point lies on level ground, where far from the origin
            // the equation in x keeps only the classification's tolerance.
            EXPECT_NEAR(std::hypot(k.Xe - c.Xo, k.Ye - c.Yo), c.R, OnCircleTolerance)
                << S << " " << m;
        }
    }
}

TEST(Robustness, NearVerticalToeGivesNoFullTurnSlice) {
    // A 30 m face 0.5 mm wide: circles touching its top corner had a slice
    // of a whole turn (L = 2πR) and a false Fs of 0.168; moving the corner by
    // a millimetre or more gives 0.552.
    auto design = [](double cornerX) {
        TDesignConditions d = SampleDesign();
        d.Layers[0].Boundary = ExactTable({{0, 0}, {20, 0}, {cornerX, 30}, {70, 30}});
        return d;
    };
    TAnalysisModel neighbour = Engine(design(20.0015));
    const TCriticalSearch expected = SearchCriticalCircle(neighbour);
    ASSERT_EQ(expected.Result.Verdict, TCircleVerdict::Valid);

    TAnalysisModel e = Engine(design(20.0005));
    const TCriticalSearch s = SearchCriticalCircle(e);
    ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
    ASSERT_GT(s.Result.R, 0);
    EXPECT_NEAR(s.Result.Fs, expected.Result.Fs, 0.005);
    const TCircleEvaluation r = test::EvaluateAll(e, {s.Result.Xo, s.Result.Yo, s.Result.R});
    ASSERT_TRUE(Accepted(r.Verdict)) << static_cast<int>(r.Verdict);
    for (const TSliceRow& row : r.Rows)
        EXPECT_LE(row.L, std::numbers::pi * s.Result.R) << "slice " << row.No;
}

TEST(Robustness, DeepNeverCutElevationsFindTheSampleCircle) {
    // Below about -2.25e15 m the 0.5 m steps could no longer jump over the
    // radii beyond the ground: -3e15 walked 6e15 radii into the pass log
    // until memory ran out, and at -1e16 subtracting 0.5 no longer changed
    // the radius, so the pass ended at once and no circle was reported.
    TAnalysisModel sample = Engine(SampleDesign());
    const TCriticalSearch expected = SearchCriticalCircle(sample);
    ASSERT_EQ(expected.Result.Verdict, TCircleVerdict::Valid);
    for (const char* elevation : {"-3e15", "-1e16", "-1e300"}) {
        TDesignConditions d = SampleDesign();
        d.NeverCutElevation = elevation;
        TAnalysisModel e = Engine(d);
        TRadiusBudget budget(20 * expected.Circles);
        TSearchOptions options;
        options.Progress = &budget;
        const TCriticalSearch s = SearchCriticalCircle(e, options);
        ASSERT_FALSE(s.Cancelled) << elevation;
        ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid) << elevation;
        EXPECT_NEAR(s.Result.Fs, expected.Result.Fs, 0.001) << elevation;
        EXPECT_NEAR(s.Result.Xo, expected.Result.Xo, 0.05) << elevation;
        EXPECT_NEAR(s.Result.Yo, expected.Result.Yo, 0.05) << elevation;
        EXPECT_NEAR(s.Result.R, expected.Result.R, 0.05) << elevation;
        EXPECT_LT(s.Circles, 2 * expected.Circles) << elevation;
    }
}

}  // namespace
}  // namespace sorvanta
