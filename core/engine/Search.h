#pragma once
// The critical circle search: passes over radii at one centre, the best
// radius at a centre, the best centre of an 11 × 11 grid, and the grid
// refinement that closes in on the critical circle.

#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"
#include "engine/Progress.h"
#include "engine/SliceMethod.h"

namespace sorvanta {

// Fs reported when no circle qualified, and the start of every minimum.
inline constexpr double NoQualifyingFs = 10000.0;

// The circle needing the largest restraining force to reach the model's
// planned safety factor (RestrainingForce), among the circles a search
// evaluated that slide in its direction; none without a planned factor.
struct TForceCircle {
    bool Found = false;
    double Xo = 0, Yo = 0, R = 0;
    double Force = 0;  // kN per metre of slope
    double Fs = 0;
    double Resisting = 0;
    double Driving = 0;
    // This circle, or `other` when that one needs more; the earlier one on a
    // tie, so that the result does not depend on how the work was split.
    [[nodiscard]] TForceCircle Larger(const TForceCircle& other) const {
        return other.Found && (!Found || other.Force > Force) ? other : *this;
    }
    bool operator==(const TForceCircle&) const = default;
};

// The outcome of a search at one level.
struct TSearchResult {
    // Valid: valid circles found (the best one is reported); LevelGround:
    // only level-ground circles (an infinite factor) found; anything else:
    // no valid circle.
    TCircleVerdict Verdict = TCircleVerdict::NotTried;
    double Xo = 0, Yo = 0;  // centre (grid level; SearchRadius sets the centre it was given)
    double R = 0;
    double Fs = NoQualifyingFs;
    double Resisting = 0;
    double Driving = 0;
    // The search was stopped through TProgress::Cancelled(); the other fields
    // are then not meaningful.
    bool Cancelled = false;
    // Circles evaluated to reach this result (over all passes, centres or
    // grids of the level); a centre answered from TGridSearchState's memo
    // adds none.
    long long Circles = 0;
    // The verdict of the last circle the search at a centre tried, and its
    // crossings (NotTried when it tried none): why a centre has no circle.
    TCircleVerdict LastVerdict = TCircleVerdict::NotTried;
    int LastCrossings = 0;
    // Over every circle evaluated to reach this result.
    TForceCircle MostForce{};
};

// Radii with Min <= R <= Max are not evaluated by a pass.
struct TSkipRange {
    double Min = 0;
    double Max = 0;
};

// Grid moves at one pitch before the grid is made to close in regardless: a
// best centre that stays on the edge of every grid would otherwise move the
// grid forever.
inline constexpr int MaxGridMovesPerPitch = 20;
// Grid moves of a whole refinement. A move shifts the grid by as little as
// one pitch, so a best centre far from the first grid's is reached by a crawl
// of whole grids (121 centres each) at every pitch; without this the per-pitch
// limit alone would allow some 20 grids per pitch on a huge section. Ordinary
// designs move a handful of times.
inline constexpr int MaxGridMovesInAll = 40;

struct TSearchOptions {
    int Threads = 0;                // 0: every core
    TProgress* Progress = nullptr;  // cancellation, progress steps, trial circles
    int MaxGridMoves = MaxGridMovesPerPitch;
    int MaxGridMovesTotal = MaxGridMovesInAll;
    // Circles kept between the searches of a study (probability,
    // sensitivity): taken only by a search on one thread of a model the
    // cache serves. The result is the same with or without it.
    TCircleCache* Cache = nullptr;
};

// Does a valid circle with factor fs qualify for the slip direction
// (clockwise: fs >= 0, counter-clockwise: fs < 0, both: always) against the
// smallest |Fs| so far? Ties qualify, so the circle evaluated later wins.
[[nodiscard]] bool QualifiesForDirection(TSlipDirection direction, double fs, double smallestAbsFs);

// One pass over the radii upper, upper − step, … (repeated subtraction) while
// R >= lower, skipping `skip`, in the model's slip direction. A valid circle
// whose driving sum is exactly 0 counts as a level-ground circle. When every
// evaluated circle is refused the result is refused too, with R, Fs,
// Resisting and Driving taken from `previous`. Radii that are surely refused
// for reaching beyond an end point of the ground surface, or too short to
// reach it, are passed over without evaluation: their result would be the
// same (refused alike), and one of them is still evaluated so that the count
// of circles and the last verdict are as if all had been. A pass whose
// first radius is too large for the step to be subtracted exactly (R >=
// 2^52·step) starts from the largest radius that can still reach the ground
// within its end points; any pass stops early when subtracting step no
// longer changes R.
TSearchResult ScanRadii(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                        double step, double lower, double upper, const TSkipRange* skip = nullptr,
                        const TSearchResult& previous = {}, const TProgress* progress = nullptr);
// The same bookkeeping for the one radius R.
TSearchResult SingleRadius(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                           double R, const TSearchResult& previous = {});

// The first pass over radii at a centre steps 0.5 m from Rmax down to 0.
// The radii worth evaluating are those between the nearest reach of the
// ground and the distance to its end points; on a huge section (hundreds of
// metres of radius, or thousands of slices per circle) there are so many of
// them that a run would take many minutes. So the pass evaluates at most
// about max(MinFirstPassRadii, min(MaxFirstPassRadii, FirstPassSliceBudget /
// slices of a section-wide circle)) of them: when there are more, it steps
// 0.5·2^k m (the smallest k that fits) and closes in on the best one by
// passes of a quarter of the step over ± one step, down to 0.5 m; passes 2
// and 3 follow as usual. Ordinary sections stay well inside the limits and
// keep the plain 0.5 m pass, radius for radius.
inline constexpr double FirstPassSliceBudget = 150000;
inline constexpr int MinFirstPassRadii = 24;
inline constexpr int MaxFirstPassRadii = 400;
// The step of the first pass at this centre: 0.5 m, or the coarser step above.
[[nodiscard]] double FirstPassStep(const TAnalysisModel& model, TPoint centre);

// The largest radius whose lower arc nowhere passes below the never-cut line
// (`fkNeverCutLine`) within the line's own extent: the smallest, over the
// line's points, of their distance from the centre, where a point at or above
// the centre's level counts with its horizontal distance alone (any arc that
// reaches its abscissa passes below it). +∞ with no point. A horizontal line
// spanning the section bounds the radius exactly as a never-cut elevation at
// its height does.
[[nodiscard]] double NeverCutLineReach(const TAnalysisModel& model, TPoint centre);

// The largest radius allowed at a centre: Yo − NclElevation, and with
// NeverCutLineOn no more than NeverCutLineReach.
[[nodiscard]] double LargestAllowedRadius(const TAnalysisModel& model, TPoint centre);

// The best radius at one centre: the single circle through the must-cut point
// when MustCutOn (none when it goes deeper than LargestAllowedRadius), else three passes (steps
// 0.5, 0.05, 0.01; the first one bounded as FirstPassStep says) below LargestAllowedRadius. With
// Direction 2 the passes run for each direction and the smaller |Fs| is reported (the clockwise
// circle on a tie); the first pass's circles are evaluated once for both.
// Xo, Yo of the result are the centre.
TSearchResult SearchRadius(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                           const TProgress* progress = nullptr);

// SearchRadius at every centre, spread over worker threads that share the
// model, each with scratch space of its own; results[i] belongs to centres[i]
// and is bit for bit what a sequential SearchRadius gives, whatever the
// thread count. Returns false when cancelled (results then incomplete).
// The centre table, grid points and contours use it and reduce in their order.
bool SearchRadiusAt(const TAnalysisModel& model, std::span<const TPoint> centres,
                    std::vector<TSearchResult>& results, const TSearchOptions& options = {});

// State shared by the grids of one refinement.
struct TGridSearchState {
    double SmallestAbsFs = NoQualifyingFs;  // the running minimum of the run
    // The best qualifying circle found so far (Valid), NotTried before any.
    TSearchResult Best;
    // SearchRadius of the centres searched so far, by the exact bits of the
    // centre (a grid that closes in or moves meets some centres again). The
    // result is a function of the model and the centre alone, so a centre
    // met again gets exactly what a new search would give. Only for grids
    // searched on one model.
    std::map<std::pair<std::uint64_t, std::uint64_t>, TSearchResult> Searched;
    TForceCircle MostForce{};  // over every grid so far
};

// The best centre of the (n + 1) × (n + 1) grid Xo = X0 + i·p, Yo = Y0 + j·p
// (i outer, j inner), qualifying against the running minimum in `state`. A
// grid in which no centre reaches the running minimum reports the best circle
// found so far (state.Best) instead of a zero record, once one exists.
// With options.Progress->ShowsTrialCircles(), every centre with a valid result
// is evaluated once more and passed to TrialCircle, in grid order.
TSearchResult SearchCentreGrid(const TAnalysisModel& model, int n, double p, double X0, double Y0,
                               TGridSearchState& state, const TSearchOptions& options = {});

// The pitch of the first grid, |Xn − X1| / 10 over the ground surface points.
[[nodiscard]] double FirstGridPitch(const TAnalysisModel& model);

struct TCriticalSearch {
    // The last grid's result: the critical circle when Valid and R is not 0;
    // anything else means no qualifying circle was found.
    TSearchResult Result;
    int GridCount = 0;
    bool Cancelled = false;
    // A move limit (per pitch or in all) made a grid close in.
    bool MoveLimitReached = false;
    int Moves = 0;          // grid moves made
    long long Circles = 0;  // circles evaluated by all grids
    // Over every circle of every grid, found beside the critical circle at
    // the cost of one comparison per circle.
    TForceCircle MostForce{};
};

// Where a grid that moves puts its best centre, by axis: a centre on the
// grid's low edge (or beyond it) at index n − 1, any other at index 1, so
// that the grid reaches on as far towards its low edges as towards its high
// ones.
[[nodiscard]] int MovedGridIndex(double best, double origin, int n = 10);

// The grid refinement of a run: grids of pitch p0, then closing in (pitch
// ·0.2) around each best centre strictly inside its grid or moving the grid
// (same pitch, MovedGridIndex) when the best centre lies on an edge (at most
// options.MaxGridMoves times in a row and options.MaxGridMovesTotal times in
// all, then it closes in), until a grid of pitch below 0.01 m has been
// searched. Calls options.Progress->Step() after every grid.
// With Direction 2 a refinement runs for each direction, clockwise first,
// and the one with the smaller |Fs| is the result (clockwise on a tie): one
// refinement for both would close in on whichever direction leads on the
// coarse grid and miss a better circle of the other. Grids, moves and
// circles are then those of both.
// Ends also when the pitch is not a finite number or the ground surface has
// fewer than two points (Result not Valid).
TCriticalSearch SearchCriticalCircle(const TAnalysisModel& model,
                                     const TSearchOptions& options = {});

}  // namespace sorvanta
