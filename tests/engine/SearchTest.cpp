#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Parallel.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"

namespace sorvanta {
namespace {

using test::OneLayerModel;
using test::SampleDesign;
using test::Table;
using D = TSlipDirection;

bool Same(const TSearchResult& a, const TSearchResult& b) {
    return a.Verdict == b.Verdict && a.Xo == b.Xo && a.Yo == b.Yo && a.R == b.R && a.Fs == b.Fs &&
           a.Resisting == b.Resisting && a.Driving == b.Driving && a.Cancelled == b.Cancelled;
}

TAnalysisModel Engine(const TDesignConditions& design, const TAnalysisOptions& options = {}) {
    TAnalysisModel e;
    e.BuildAnalysisModel(design, options);
    return e;
}

// The pass over radii in its plain form, every radius evaluated: the
// yardstick for the shortcuts of ScanRadii.
TSearchResult PlainScan(const TAnalysisModel& e, TPoint c, double step, double lower, double upper,
                        const TSkipRange* skip, const TSearchResult& previous) {
    double smallest = NoQualifyingFs;
    int evaluated = 0, invalid = 0, status1 = 0;
    TSearchResult best{TCircleVerdict::Valid, c.X, c.Y, 0, NoQualifyingFs, 0, 0, false};
    TSearchResult level{TCircleVerdict::LevelGround, c.X, c.Y, 0, NoQualifyingFs, 0, 0, false};
    TCircleVerdict last = previous.LastVerdict;
    int lastCrossings = previous.LastCrossings;
    for (double R = upper; R >= lower; R -= step) {
        if (skip && skip->Min <= R && R <= skip->Max) continue;
        const TCircleResult r = test::EvaluateAll(e, {c.X, c.Y, R});
        ++evaluated;
        last = r.Verdict;
        lastCrossings = r.Crossings;
        if (!Accepted(r.Verdict)) {
            ++invalid;
        } else if (r.Verdict == TCircleVerdict::Valid && r.Driving != 0) {
            if (QualifiesForDirection(e.Direction, r.Fs, smallest)) {
                best = {TCircleVerdict::Valid, c.X, c.Y, R, r.Fs, r.Resisting, r.Driving, false};
                smallest = std::fabs(r.Fs);
            }
            ++status1;
        } else {
            level = {TCircleVerdict::LevelGround,
                     c.X,
                     c.Y,
                     R,
                     NoQualifyingFs,
                     r.Resisting,
                     r.Driving,
                     false};
        }
    }
    if (evaluated == invalid) {
        TSearchResult r = previous;
        r.Verdict = TCircleVerdict::NotTried;
        r.Xo = c.X;
        r.Yo = c.Y;
        r.LastVerdict = last;
        r.LastCrossings = lastCrossings;
        return r;
    }
    TSearchResult r = status1 > 0 ? best : level;
    r.LastVerdict = last;
    r.LastCrossings = lastCrossings;
    return r;
}

TSearchResult PlainSearchRadius(const TAnalysisModel& e, TPoint c) {
    TSearchResult r{TCircleVerdict::NotTried, c.X, c.Y, 0, NoQualifyingFs, 0, 0, false};
    const double Rmax = LargestAllowedRadius(e, c);
    const TSkipRange* skip = nullptr;
    r = PlainScan(e, c, 0.5, 0, Rmax, skip, r);
    const double R1 = r.R;
    r = PlainScan(e, c, 0.05, R1 - 0.5, std::min(Rmax, R1 + 0.5), skip, r);
    const double R2 = r.R;
    return PlainScan(e, c, 0.01, R2 - 0.05, std::min(Rmax, R2 + 0.05), skip, r);
}

TEST(Search, DirectionAndTieRule) {
    EXPECT_TRUE(QualifiesForDirection(D::Clockwise, 1.5, 1.5));  // a tie: the later circle wins
    EXPECT_FALSE(QualifiesForDirection(D::Clockwise, 1.6, 1.5));
    EXPECT_TRUE(QualifiesForDirection(D::Clockwise, 0.0, 1.5));
    EXPECT_FALSE(QualifiesForDirection(D::Clockwise, -1.0, 1.5));
    EXPECT_TRUE(QualifiesForDirection(D::CounterClockwise, -1.5, 1.5));
    EXPECT_FALSE(QualifiesForDirection(D::CounterClockwise, 1.0, 1.5));
    EXPECT_TRUE(QualifiesForDirection(D::Both, -1.0, 1.5));
    EXPECT_TRUE(QualifiesForDirection(D::Both, 1.0, 1.5));
    EXPECT_FALSE(QualifiesForDirection(D::Both, -1.6, 1.5));
}

TEST(Search, ShortcutsOfThePassesChangeNothing) {
    // Radii that reach beyond the ground's ends or fall short of the ground
    // are passed over; results and the last verdict must be those of the
    // plain passes, with a never-cut elevation far below the ground too.
    TDesignConditions d = SampleDesign();
    for (const char* ncl : {"0.00", "-40", "-3000"}) {
        d.NeverCutElevation = ncl;
        for (bool line : {false, true}) {
            d.NeverCutLineEnabled = line;
            d.NeverCutLine = Table({{10, -2}, {35, 4}, {60, 8}});
            TAnalysisModel fast = Engine(d);
            TAnalysisModel plain = fast;
            for (double x = -2; x <= 72; x += 7.4) {
                for (double y = 3; y <= 70; y += 6.7) {
                    const TSearchResult a = SearchRadius(fast, test::Scratch(), {x, y});
                    const TSearchResult b = PlainSearchRadius(plain, {x, y});
                    EXPECT_TRUE(Same(a, b)) << ncl << " " << line << " (" << x << ", " << y
                                            << ") R " << a.R << " vs " << b.R;
                    EXPECT_EQ(a.LastVerdict, b.LastVerdict) << x << " " << y;
                    EXPECT_EQ(a.LastCrossings, b.LastCrossings) << x << " " << y;
                }
            }
        }
    }
}

TEST(Search, CentreWithoutQualifyingCircle) {
    // The slope falls to the right: every circle slips counter-clockwise.
    TAnalysisModel e = OneLayerModel({{0, 60}, {60, 60}, {140, 20}, {180, 20}}, 120, 20, 600, 2);
    e.Direction = D::Clockwise;
    const TSearchResult pass1 = ScanRadii(e, test::Scratch(), {120, 90}, 0.5, 0, 120);
    EXPECT_EQ(pass1.Verdict, TCircleVerdict::Valid);
    EXPECT_EQ(pass1.R, 0);
    EXPECT_EQ(pass1.Fs, NoQualifyingFs);
    EXPECT_EQ(pass1.Resisting, 0);
    EXPECT_EQ(pass1.Driving, 0);
    // Passes 2 and 3 then scan around 0; the centre lies far from the ground.
    EXPECT_FALSE(Accepted(SearchRadius(e, test::Scratch(), {120, 90}).Verdict));

    e.Direction = D::CounterClockwise;
    const TSearchResult ccw = SearchRadius(e, test::Scratch(), {120, 90});
    EXPECT_EQ(ccw.Verdict, TCircleVerdict::Valid);
    EXPECT_LT(ccw.Fs, 0);
    EXPECT_GT(ccw.R, 0);
}

TEST(Search, LevelGroundCentreAndCentreBelowTheNeverCutElevation) {
    TAnalysisModel e = OneLayerModel({{0, 0}, {100, 0}}, 18, 25, 20, 1.0);
    const TSearchResult level = SearchRadius(e, test::Scratch(), {50, 10});
    EXPECT_EQ(level.Verdict, TCircleVerdict::LevelGround);
    EXPECT_EQ(level.Fs, NoQualifyingFs);
    EXPECT_GT(level.R, 10);

    e.NclElevation = 20;  // above the centre: Rmax < 0
    const TSearchResult below = SearchRadius(e, test::Scratch(), {50, 10});
    EXPECT_FALSE(Accepted(below.Verdict));
    EXPECT_EQ(below.R, 0);
}

TEST(Search, ZeroDrivingSumIsNoCriticalCircle) {
    // Weightless soil: every driving sum is exactly 0 though the ground is
    // not level. Such a circle is an infinite factor, never Fs = 0.
    TAnalysisModel e = OneLayerModel({{0, 0}, {20, 0}, {40, 10}, {70, 10}}, 0, 25, 20, 1.0);
    e.Direction = D::Clockwise;
    const TCircleResult c = test::EvaluateAll(e, {30, 15, 12});
    ASSERT_EQ(c.Verdict, TCircleVerdict::Valid);
    ASSERT_EQ(c.Driving, 0);
    const TSearchResult r = SearchRadius(e, test::Scratch(), {30, 15});
    EXPECT_EQ(r.Verdict, TCircleVerdict::LevelGround);
    EXPECT_EQ(r.Fs, NoQualifyingFs);
    const TCriticalSearch s = SearchCriticalCircle(e);
    EXPECT_NE(s.Result.Verdict, TCircleVerdict::Valid);
}

TEST(Search, MustCutPointGivesOneCircleThroughItAboveTheNeverCutElevation) {
    TDesignConditions d = SampleDesign();
    d.MustCutPointEnabled = true;
    d.MustCutPoint = Table({{30, 3}});
    d.NeverCutElevation = "-1";
    TAnalysisModel e = Engine(d);
    const TSearchResult r = SearchRadius(e, test::Scratch(), {28, 20});
    EXPECT_EQ(r.Verdict, TCircleVerdict::Valid);
    EXPECT_DOUBLE_EQ(r.R, std::sqrt(4.0 + 17 * 17));
    // From farther aside the circle through the point would pass below the
    // never-cut elevation: no circle there.
    const TSearchResult aside = SearchRadius(e, test::Scratch(), {10, 20});
    EXPECT_FALSE(Accepted(aside.Verdict));
    const TCriticalSearch s = SearchCriticalCircle(e);
    ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_GE(s.Result.Yo - s.Result.R, -1);
    EXPECT_NEAR(std::hypot(s.Result.Xo - 30, s.Result.Yo - 3), s.Result.R, 1e-9);
}

TEST(Search, NeverCutLineBoundsTheRadiusWhereverTheArcPassesBelowIt) {
    TDesignConditions d = SampleDesign();
    d.NeverCutLine = Table({{10, 2}, {30, -4}, {50, 6}});
    d.NeverCutLineEnabled = true;
    TAnalysisModel e = Engine(d);
    struct TCase {
        TPoint Centre;
        double Reach;
    };
    // Below the centre the nearest point of the line counts; the part of a
    // line at or above the centre's level counts with its horizontal
    // distance alone.
    for (const TCase& c : {TCase{{30, 18}, 440 / std::sqrt(500.0)},  // to the second segment
                           TCase{{70, 20}, std::sqrt(596.0)},        // to its end point
                           TCase{{10, 12}, 10},                      // to (10, 2) below
                           TCase{{4, 2}, 6},          // (10, 2) level with the centre
                           TCase{{10.5, 1.8}, 0}}) {  // under the line

        EXPECT_NEAR(NeverCutLineReach(e, c.Centre), c.Reach, 1e-12)
            << c.Centre.X << ", " << c.Centre.Y;
    }
    TAnalysisModel none;
    EXPECT_EQ(NeverCutLineReach(none, {30, 18}), std::numeric_limits<double>::infinity());

    // Every circle the search reports stays on or above the line.
    for (double x = 12; x <= 50; x += 6.5) {
        const TSearchResult r = SearchRadius(e, test::Scratch(), {x, 24});
        if (r.Verdict != TCircleVerdict::Valid || r.R == 0) continue;
        for (double at = 10; at <= 50; at += 0.25) {
            const double dx = at - x;
            if (std::fabs(dx) > r.R) continue;
            EXPECT_GE(24 - std::sqrt(r.R * r.R - dx * dx), e.PolylineYAt(fkNeverCutLine, at) - 1e-9)
                << x << " at " << at;
        }
    }
}

TEST(Search, NeverCutLineAcrossTheSectionActsAsTheElevation) {
    // Two layers, a weak one from 1 m down; without a bound the critical
    // circle reaches 26 m deep (Fs 0.347). A horizontal never-cut line at
    // −3 m must give what the never-cut elevation −3 m gives.
    TDesignConditions d = SampleDesign();
    d.LayerCount = "2";
    d.Layers[0] = {"18", "9", "35", "30", Table({{0, 0}, {20, 0}, {40, 10}, {70, 10}})};
    d.Layers[1] = {"18", "9", "0", "8", Table({{0, -1}, {70, -1}})};
    d.NeverCutElevation = "-3";
    TAnalysisModel byElevation = Engine(d);
    d.NeverCutElevation = "-40";
    d.NeverCutLineEnabled = true;
    d.NeverCutLine = Table({{0, -3}, {70, -3}});
    TAnalysisModel byLine = Engine(d);
    const TCriticalSearch a = SearchCriticalCircle(byElevation);
    const TCriticalSearch b = SearchCriticalCircle(byLine);
    ASSERT_EQ(b.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_TRUE(Same(a.Result, b.Result));
    EXPECT_NEAR(b.Result.Fs, 1.212, 5e-4);
    EXPECT_GE(b.Result.Yo - b.Result.R, -3);
}

TEST(Search, BothDirectionsFindTheBetterOfEither) {
    // A hump: the clockwise circles on its rising side are a little more
    // critical than the counter-clockwise ones on its falling side, but the
    // coarse grids lead towards the latter.
    TAnalysisModel e =
        OneLayerModel({{0, 8.92}, {4.67, 13.73}, {16.96, 16.98}, {22.68, 11.78}, {35.44, 7.3}}, 18,
                      18.2, 0.7, 1.0);
    e.NclElevation = -11.2;
    double alone[2];
    for (int direction : {0, 1}) {
        e.Direction = static_cast<D>(direction);
        const TCriticalSearch s = SearchCriticalCircle(e);
        ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
        alone[direction] = std::fabs(s.Result.Fs);
    }
    ASSERT_LT(alone[0], alone[1]);
    e.Direction = D::Clockwise;
    const TCriticalSearch cw = SearchCriticalCircle(e);
    e.Direction = D::Both;
    const TCriticalSearch both = SearchCriticalCircle(e);
    EXPECT_TRUE(Same(both.Result, cw.Result));
    EXPECT_NEAR(both.Result.Fs, 0.4799, 1e-4);
    EXPECT_EQ(e.Direction, D::Both);

    // At one centre too: the better of the two directions' passes.
    for (TPoint c : {TPoint{10, 20}, TPoint{20, 22}, TPoint{0.5, 15}}) {
        e.Direction = D::Both;
        const TSearchResult r = SearchRadius(e, test::Scratch(), c);
        e.Direction = D::Clockwise;
        const TSearchResult a = SearchRadius(e, test::Scratch(), c);
        e.Direction = D::CounterClockwise;
        const TSearchResult b = SearchRadius(e, test::Scratch(), c);
        const TSearchResult& better =
            b.Verdict == TCircleVerdict::Valid &&
                    (a.Verdict != TCircleVerdict::Valid || std::fabs(b.Fs) < std::fabs(a.Fs))
                ? b
                : a;
        EXPECT_TRUE(Same(r, better)) << c.X << ", " << c.Y;
    }
}

TEST(Search, MovingGridReachesAsFarEitherWay) {
    // A best centre on the low edge ends at index 9, so that the grid reaches
    // on nine pitches that way, as it does towards the high edge.
    EXPECT_EQ(MovedGridIndex(0.0, 0.0), 9);
    EXPECT_EQ(MovedGridIndex(-1.0, 0.0), 9);
    EXPECT_EQ(MovedGridIndex(10.0, 0.0), 1);
    EXPECT_EQ(MovedGridIndex(4.0, 0.0), 1);

    // A cohesionless slope and its mirror image: the critical centres climb
    // and wander along a long valley; both searches land on it alike.
    const TPolyline ground{{0, 0}, {20, 0}, {60, 20}, {80, 20}};
    TPolyline mirrored;
    for (auto it = ground.rbegin(); it != ground.rend(); ++it) mirrored.push_back({-it->X, it->Y});
    TAnalysisModel a = OneLayerModel(ground, 18, 30, 0, 2.0);
    TAnalysisModel b = OneLayerModel(mirrored, 18, 30, 0, 2.0);
    b.Direction = D::CounterClockwise;
    const TCriticalSearch sa = SearchCriticalCircle(a);
    const TCriticalSearch sb = SearchCriticalCircle(b);
    ASSERT_EQ(sa.Result.Verdict, TCircleVerdict::Valid);
    ASSERT_EQ(sb.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_NEAR(std::fabs(sb.Result.Fs), sa.Result.Fs, 1e-4 * sa.Result.Fs);
}

TEST(Search, SampleDesignCriticalCircle) {
    TAnalysisModel e = Engine(SampleDesign());
    EXPECT_DOUBLE_EQ(FirstGridPitch(e), 7);
    const TCriticalSearch s = SearchCriticalCircle(e);
    ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_FALSE(s.Cancelled);
    EXPECT_FALSE(s.MoveLimitReached);
    // Pitches 7, 1.4, 0.28, 0.056, 0.0112, 0.00224: six grids.
    EXPECT_EQ(s.GridCount, 6);
    EXPECT_NEAR(s.Result.Fs, 2.0404, 1e-4);
    EXPECT_NEAR(s.Result.Xo, 26.08, 0.01);
    EXPECT_NEAR(s.Result.Yo, 22.43, 0.01);
    EXPECT_NEAR(s.Result.R, 18.46, 0.01);
    // The reported record is a circle of its own: evaluating it gives it back.
    const TCircleResult again = test::EvaluateAll(e, {s.Result.Xo, s.Result.Yo, s.Result.R});
    EXPECT_EQ(again.Fs, s.Result.Fs);
    EXPECT_EQ(again.Resisting, s.Result.Resisting);
}

TEST(Search, GridThatDoesNotReachTheRunningMinimumKeepsTheBestCircle) {
    // The running minimum stands just below anything this grid can offer, as
    // when the previous best centre comes back a little higher from a new
    // origin. The grid must report the circle already found, not the zero
    // record at (0, 0).
    TAnalysisModel e = Engine(SampleDesign());
    TGridSearchState state;
    state.SmallestAbsFs = 0.5;
    state.Best = {TCircleVerdict::Valid, 26.08, 22.43, 18.46, 2.0404, 1000, 490, false};
    const TSearchResult r = SearchCentreGrid(e, 10, 1.4, 19, 15, state);
    EXPECT_TRUE(Same(r, state.Best));
    EXPECT_EQ(state.SmallestAbsFs, 0.5);

    // Before any circle was found the grid's own outcome stands.
    TGridSearchState fresh;
    const TSearchResult first = SearchCentreGrid(e, 10, 1.4, 19, 15, fresh);
    EXPECT_EQ(first.Verdict, TCircleVerdict::Valid);
    EXPECT_GT(first.R, 0);
    EXPECT_TRUE(Same(fresh.Best, first));
    EXPECT_EQ(fresh.SmallestAbsFs, std::fabs(first.Fs));
    // Searching the same grid again, every centre reaches at best a tie.
    const TSearchResult again = SearchCentreGrid(e, 10, 1.4, 19, 15, fresh);
    EXPECT_TRUE(Same(again, first));
}

TEST(Search, WanderingGridIsBounded) {
    // A frictional slope with next to no cohesion: the critical circles
    // flatten and their centres climb, so the best centre keeps landing on
    // the grid's edge and the grid moves several times in a row. (Without any
    // cohesion the critical circle is a sliver a slice wide, which the first
    // grid finds.)
    TDesignConditions d = SampleDesign();
    d.LayerCount = "1";
    d.Layers[0].Cohesion = "0.1";
    d.Layers[0].Phi = "30";
    d.Layers[0].Boundary = Table({{0, 0}, {20, 0}, {60, 20}, {80, 20}});
    d.NeverCutElevation = "-1000";
    d.MaxSliceWidth = "2";
    TAnalysisModel e = Engine(d);
    const TCriticalSearch free = SearchCriticalCircle(e);
    ASSERT_EQ(free.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_FALSE(free.MoveLimitReached);

    TSearchOptions options;
    options.MaxGridMoves = 1;
    const TCriticalSearch bounded = SearchCriticalCircle(e, options);
    EXPECT_TRUE(bounded.MoveLimitReached);
    ASSERT_EQ(bounded.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_GT(bounded.Result.R, 0);
    EXPECT_LT(bounded.GridCount, free.GridCount);
}

TEST(Search, SlowDesignsStayBounded) {
    // A never-cut elevation kilometres below a small section: the passes
    // start at enormous radii, which must not be walked one by one.
    TDesignConditions d = SampleDesign();
    d.NeverCutElevation = "-100000000";
    TAnalysisModel e = Engine(d);
    const TCriticalSearch s = SearchCriticalCircle(e);
    d.NeverCutElevation = "-1000";
    TAnalysisModel reference = Engine(d);
    const TCriticalSearch r = SearchCriticalCircle(reference);
    ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
    // The ground's ends limit the radius long before the never-cut elevation;
    // only the radii's alignment (Rmax − 0.5·k) differs.
    EXPECT_NEAR(s.Result.Fs, r.Result.Fs, 1e-3);
    EXPECT_NEAR(s.Result.R, r.Result.R, 0.05);

    // Radii beyond what a double can step through end the pass.
    const TSearchResult huge = ScanRadii(e, test::Scratch(), {30, 20}, 0.01, 1e300, 1e300 + 1);
    EXPECT_FALSE(Accepted(huge.Verdict));
}

class TCountingProgress : public TProgress {
  public:
    void Step() override { ++Steps; }
    bool Cancelled() const override { return Polls.fetch_add(1) >= CancelAfter; }
    bool ShowsTrialCircles() const override { return Show; }
    void TrialCircle(const TAnalysisModel&, const TSlipCircle& circle,
                     const TCircleEvaluation& evaluation) override {
        Circles.push_back(circle);
        // The evaluation is that of the circle just drawn, with its slices.
        Consistent = Consistent && evaluation.Slices.Count() > 0 && Accepted(evaluation.Verdict);
    }

    long CancelAfter = std::numeric_limits<long>::max();
    bool Show = false;
    int Steps = 0;
    bool Consistent = true;
    std::vector<TSlipCircle> Circles;
    mutable std::atomic<long> Polls{0};
};

TEST(Search, CancellationStopsTheSearch) {
    TAnalysisModel e = Engine(SampleDesign());
    for (int threads : {1, 2, 4}) {
        TCountingProgress progress;
        progress.CancelAfter = 2000;
        TSearchOptions options;
        options.Threads = threads;
        options.Progress = &progress;
        const TCriticalSearch s = SearchCriticalCircle(e, options);
        EXPECT_TRUE(s.Cancelled) << threads;
        EXPECT_LT(progress.Steps, 6);
    }
    TCountingProgress now;
    now.CancelAfter = 0;
    EXPECT_TRUE(SearchRadius(e, test::Scratch(), {30, 20}, &now).Cancelled);
}

TEST(Search, TrialCirclesInSearchOrder) {
    TAnalysisModel e = Engine(SampleDesign());
    TCountingProgress progress;
    progress.Show = true;
    TSearchOptions options;
    options.Progress = &progress;
    TGridSearchState state;
    SearchCentreGrid(e, 10, 7, -7, -2, state, options);

    std::vector<TPoint> centres;
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j) centres.push_back({-7 + i * 7.0, -2 + j * 7.0});
    std::vector<TSearchResult> results;
    ASSERT_TRUE(SearchRadiusAt(e, centres, results));
    std::vector<TSlipCircle> expected;
    for (const TSearchResult& r : results)
        if (Accepted(r.Verdict)) expected.push_back({r.Xo, r.Yo, r.R});
    EXPECT_EQ(progress.Circles, expected);
    EXPECT_FALSE(expected.empty());
}

// Designs that exercise every branch of the search.
struct TNamedDesign {
    std::string Name;
    TDesignConditions Design;
    TAnalysisOptions Options;
};

std::vector<TNamedDesign> Designs() {
    std::vector<TNamedDesign> designs;
    TDesignConditions d = SampleDesign();
    designs.push_back({"sample", d, {}});
    TDesignConditions water = d;
    water.WaterEnabled = true;
    water.GammaW = "10.0";
    water.StressType = 1;
    designs.push_back({"water, effective stress, force form", water, {.Form = TFsForm::Force}});
    TDesignConditions both = d;
    both.LayerCount = "3";
    both.MaxSliceWidth = "0.5";
    designs.push_back({"both directions, three layers", both, {.Direction = D::Both}});
    TDesignConditions ncl = d;
    ncl.NeverCutLineEnabled = true;
    ncl.NeverCutLine = Table({{15, 2}, {45, 6}});
    ncl.NeverCutElevation = "-5";
    designs.push_back({"never-cut line", ncl, {}});
    TDesignConditions mcp = d;
    mcp.MustCutPointEnabled = true;
    mcp.MustCutPoint = Table({{22, 4}});
    designs.push_back({"must-cut point", mcp, {}});
    return designs;
}

TEST(Search, SameResultsWithAnyThreadCount) {
    for (const auto& [designName, design, designOptions] : Designs()) {
        // Every method: each has its own iteration inside the parallel map. The
        // never-cut and must-cut constraints pick radii alike for every method,
        // so the further methods run on the other designs only.
        for (TSliceMethodKind method :
             {TSliceMethodKind::Ordinary, TSliceMethodKind::Bishop, TSliceMethodKind::Janbu,
              TSliceMethodKind::Spencer, TSliceMethodKind::MorgensternPrice}) {
            if (method != TSliceMethodKind::Ordinary &&
                (design.NeverCutLineEnabled || design.MustCutPointEnabled))
                continue;
            TAnalysisOptions options = designOptions;
            options.Method = method;
            const std::string name =
                designName + ", method " + std::to_string(static_cast<int>(method));
            TAnalysisModel one = Engine(design, options);
            TAnalysisModel many = one;
            TSearchOptions sequential;
            sequential.Threads = 1;
            TSearchOptions parallel;
            parallel.Threads = 4;
            const TCriticalSearch a = SearchCriticalCircle(one, sequential);
            const TCriticalSearch b = SearchCriticalCircle(many, parallel);
            EXPECT_EQ(a.Result.Verdict, TCircleVerdict::Valid) << name;
            EXPECT_TRUE(Same(a.Result, b.Result)) << name;
            EXPECT_EQ(a.GridCount, b.GridCount) << name;

            // Per-centre results of a parallel map are those of one after another.
            std::vector<TPoint> centres;
            for (int i = 0; i < 40; ++i) centres.push_back({2.0 + 1.7 * i, 8.0 + 1.3 * (i % 9)});
            std::vector<TSearchResult> results;
            ASSERT_TRUE(SearchRadiusAt(one, centres, results, parallel));
            for (std::size_t i = 0; i < centres.size(); ++i)
                EXPECT_TRUE(Same(results[i], SearchRadius(one, test::Scratch(), centres[i])))
                    << name << " " << i;
        }
    }
}

TEST(Parallel, EveryIndexOnceAndExceptionsReachTheCaller) {
    for (int threads : {1, 2, 3, 8}) {
        std::vector<std::atomic<int>> hits(100);
        ParallelFor(100, threads, [&](int worker, int index) {
            EXPECT_LT(worker, WorkerCount(100, threads));
            hits[static_cast<std::size_t>(index)].fetch_add(1);
        });
        for (const auto& h : hits) EXPECT_EQ(h.load(), 1);
        EXPECT_THROW(ParallelFor(50, threads,
                                 [](int, int index) {
                                     if (index == 7) throw std::runtime_error("stop");
                                 }),
                     std::runtime_error);
    }
    ParallelFor(0, 4, [](int, int) { FAIL(); });
    EXPECT_EQ(WorkerCount(3, 8), 3);

#ifdef __linux__
    // Started ahead, the threads are at most one per core, whatever is asked.
    auto threadsOfProcess = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                             std::filesystem::directory_iterator{});
    };
    const auto before = threadsOfProcess();
    PrepareWorkers(1 << 20);
    EXPECT_LE(threadsOfProcess(), std::max<std::ptrdiff_t>(before, HardwareThreads()));
#endif

    // Threads started ahead of a loop, and threads that went to sleep between
    // loops, each take part in the next loop without losing an index.
    PrepareWorkers(6);
    for (int round = 0; round < 3; ++round) {
        std::vector<std::atomic<int>> hits(64);
        ParallelFor(64, 6, [&](int, int index) { hits[static_cast<std::size_t>(index)] += 1; });
        for (const auto& h : hits) EXPECT_EQ(h.load(), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    EXPECT_EQ(WorkerCount(1000, 0), HardwareThreads());
}

}  // namespace
}  // namespace sorvanta
