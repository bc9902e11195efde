// How much work a search may do. A run's time grows with centres × radii per
// centre × slices per circle; on a huge section (a kilometre of ground, a
// never-cut elevation far below it, thousands of slices) the plain passes
// try thousands of radii at every centre and the grid crawls a pitch at a
// time towards a far optimum, so a run took many minutes. The first pass
// over radii is therefore held within a budget (FirstPassStep) and the grid
// moves of a whole run are limited (MaxGridMovesInAll). These tests pin the
// bounds by counting evaluated circles and grids, and check that ordinary
// designs keep the plain passes.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Parallel.h"
#include "engine/Search.h"

namespace sorvanta {
namespace {

using test::SampleDesign;
using test::Table;

TAnalysisModel Engine(const TDesignConditions& design) {
    TAnalysisModel e;
    e.BuildAnalysisModel(design, {});
    return e;
}

// Grids of pitch p0 = span / 10 closing in by 1/5 until below 0.01 m.
int ClosingGrids(double p0) {
    int grids = 1;
    for (double p = p0; !(p < 0.01); p = p / 10 * 2) ++grids;
    return grids;
}

TEST(SearchBounds, HugeSectionWithDeepNeverCutElevationEndsInBoundedWork) {
    // A kilometre of level ground with a 10 m step in the middle and a
    // never-cut elevation 1000 km down. The first grid's best centre lies far
    // above the critical one, and the grid moves down grid by grid;
    // each centre reaches the ground with radii over hundreds of metres.
    // Unbounded this evaluated some 8.6 million circles in 88 grids.
    TDesignConditions d = SampleDesign();
    d.LayerCount = "1";
    d.Layers[0].Boundary = Table({{0, 0}, {490, 0}, {510, 10}, {1000, 10}});
    d.MaxSliceWidth = "200";
    d.NeverCutElevation = "-1000000";
    TAnalysisModel e = Engine(d);

    const TCriticalSearch s = SearchCriticalCircle(e);
    ASSERT_EQ(s.Result.Verdict, TCircleVerdict::Valid);
    EXPECT_GT(s.Result.R, 0);
    EXPECT_GT(s.Result.Fs, 0);
    // The grid moving down reaches on nine pitches per grid, as it does
    // moving up; it once crawled one pitch per grid into the move limits.
    EXPECT_FALSE(s.MoveLimitReached) << s.Moves;
    EXPECT_LE(s.Moves, MaxGridMovesInAll);
    EXPECT_LE(s.GridCount, ClosingGrids(FirstGridPitch(e)) + MaxGridMovesInAll);
    // Per centre: the first pass within its limit, a few passes of nine
    // radii closing in on 0.5 m, then passes 2 and 3 (21 and 11 radii).
    const long long perCentre = MaxFirstPassRadii + 9 * 10 + 21 + 11 + 4;
    EXPECT_LE(s.Circles, s.GridCount * 121LL * perCentre);
    EXPECT_LT(s.Circles, 1000000);

    // Bounded the same way whatever the thread count.
    TSearchOptions one;
    one.Threads = 1;
    const TCriticalSearch t = SearchCriticalCircle(e, one);
    EXPECT_EQ(t.Result.Xo, s.Result.Xo);
    EXPECT_EQ(t.Result.Yo, s.Result.Yo);
    EXPECT_EQ(t.Result.R, s.Result.R);
    EXPECT_EQ(t.Result.Fs, s.Result.Fs);
    EXPECT_EQ(t.GridCount, s.GridCount);
    EXPECT_EQ(t.Circles, s.Circles);
}

TEST(SearchBounds, ManySlicesPerCircleShortenTheFirstPass) {
    // Two kilometres at 0.5 m: circles of thousands of slices. The first pass
    // takes coarser steps the more slices a circle may have.
    TDesignConditions d = SampleDesign();
    d.LayerCount = "1";
    d.Layers[0].Boundary = Table({{0, 0}, {900, 0}, {1100, 100}, {2000, 100}});
    d.MaxSliceWidth = "0.5";
    d.NeverCutElevation = "-1000000";
    TAnalysisModel e = Engine(d);
    for (const TPoint centre : {TPoint{1000, 400}, TPoint{950, 150}}) {
        EXPECT_GT(FirstPassStep(e, centre), 0.5) << centre.X;
        const TSearchResult r = SearchRadius(e, test::Scratch(), centre);
        EXPECT_EQ(r.Verdict, TCircleVerdict::Valid) << centre.X;
        EXPECT_GT(r.R, 0);
        // About 300 m of radius would be 600 radii in steps of 0.5 m.
        EXPECT_LE(r.Circles, 150) << centre.X;
    }
}

TEST(SearchBounds, OrdinaryDesignsKeepThePlainFirstPass) {
    // The sample and its variants: every centre the run, the centre table,
    // the grid points and the contours visit keeps the 0.5 m pass.
    std::vector<TDesignConditions> designs;
    TDesignConditions d = SampleDesign();
    designs.push_back(d);
    d.NeverCutElevation = "-3000";
    designs.push_back(d);
    d.MaxSliceWidth = "0.1";
    designs.push_back(d);
    TDesignConditions wide = SampleDesign();
    wide.LayerCount = "2";
    wide.Layers[0].Boundary = Table({{0, 0}, {50, 0}, {120, 40}, {200, 40}});
    wide.Layers[1].Boundary = Table({{0, -5}, {60, -3}, {130, 30}, {200, 32}});
    wide.MaxSliceWidth = "0.7";
    wide.NeverCutElevation = "-30";
    designs.push_back(wide);
    for (const TDesignConditions& design : designs) {
        const TAnalysisModel e = Engine(design);
        const TPolyline& ground = e.Figures[fkLayer1];
        const double span = ground.back().X - ground.front().X;
        const double y0 = e.LowestGroundY();
        for (int i = -1; i <= 41; ++i) {
            for (int j = -1; j <= 41; ++j) {
                const TPoint c{ground.front().X + i * span / 40, y0 + j * span / 40};
                ASSERT_EQ(FirstPassStep(e, c), 0.5)
                    << design.MaxSliceWidth << " (" << c.X << ", " << c.Y << ")";
            }
        }
    }
}

TEST(SearchBounds, CentresMetAgainAreNotSearchedAgain) {
    TAnalysisModel e = Engine(SampleDesign());
    TGridSearchState state;
    const TSearchResult first = SearchCentreGrid(e, 10, 1.4, 19, 15, state);
    EXPECT_GT(first.Circles, 0);
    // A grid moved by three pitches shares 8 × 11 centres with the first.
    TGridSearchState fresh = state;
    fresh.Searched.clear();
    const TSearchResult movedFresh = SearchCentreGrid(e, 10, 1.4, 19 + 3 * 1.4, 15, fresh);
    const TSearchResult moved = SearchCentreGrid(e, 10, 1.4, 19 + 3 * 1.4, 15, state);
    EXPECT_LT(moved.Circles, movedFresh.Circles);
    EXPECT_EQ(moved.Verdict, movedFresh.Verdict);
    EXPECT_EQ(moved.Xo, movedFresh.Xo);
    EXPECT_EQ(moved.Yo, movedFresh.Yo);
    EXPECT_EQ(moved.R, movedFresh.R);
    EXPECT_EQ(moved.Fs, movedFresh.Fs);
    EXPECT_EQ(moved.Resisting, movedFresh.Resisting);
    // The very same grid again: nothing left to evaluate.
    EXPECT_EQ(SearchCentreGrid(e, 10, 1.4, 19, 15, state).Circles, 0);
}

TEST(Parallel, PoolServesRepeatedNestedAndConcurrentLoops) {
    // Many short loops in a row (a contour row after another) on the pool.
    for (int round = 0; round < 200; ++round) {
        std::vector<int> hits(37, 0);
        ParallelFor(37, 2, [&](int, int index) { hits[static_cast<std::size_t>(index)] += 1; });
        for (int h : hits) ASSERT_EQ(h, 1) << round;
    }
    // A loop inside a body runs on that body's thread.
    std::atomic<int> inner{0};
    ParallelFor(8, 4, [&](int, int) { ParallelFor(5, 4, [&](int, int) { inner.fetch_add(1); }); });
    EXPECT_EQ(inner.load(), 40);
    // Loops started by two threads at once both complete.
    std::atomic<int> total{0};
    auto loops = [&] {
        for (int k = 0; k < 50; ++k) ParallelFor(20, 2, [&](int, int) { total.fetch_add(1); });
    };
    std::thread other(loops);
    loops();
    other.join();
    EXPECT_EQ(total.load(), 2 * 50 * 20);
    // An exception still reaches the caller and leaves the pool usable.
    EXPECT_THROW(ParallelFor(30, 2,
                             [](int, int i) {
                                 if (i == 3) throw std::runtime_error("stop");
                             }),
                 std::runtime_error);
    std::atomic<int> after{0};
    ParallelFor(10, 2, [&](int, int) { after.fetch_add(1); });
    EXPECT_EQ(after.load(), 10);
}

}  // namespace
}  // namespace sorvanta
