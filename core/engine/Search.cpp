#include "engine/Search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "engine/CircleCache.h"
#include "engine/Parallel.h"
#include "engine/SliceMethod.h"

namespace sorvanta {

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

bool IsCancelled(const TProgress* progress) {
    return progress && progress->Cancelled();
}

bool InSkip(const TSkipRange* skip, double R) {
    return skip && skip->Min <= R && R <= skip->Max;
}

// The circles one pass over radii at a centre evaluated, in the order tried
// (decreasing radius). The next pass at the same centre starts at, or steps
// onto, some of the same radii (R1 + 0.5 is a radius of pass 1, R2 + 0.05
// usually one of pass 2); their results are taken from here.
struct TPassLog {
    // The first pass is held to a few hundred radii (FirstPassStep) and the
    // others to a few dozen; beyond this many the log keeps no more, so that
    // its memory stays bounded whatever the pass (the circles not kept are
    // evaluated again by the next pass, with the same result).
    static constexpr std::size_t Capacity = 1024;
    std::vector<std::pair<double, TCircleResult>> Circles;

    void Add(double R, const TCircleResult& c) {
        if (Circles.size() < Capacity) Circles.emplace_back(R, c);
    }

    const TCircleResult* Find(double R) const {
        const auto it =
            std::lower_bound(Circles.begin(), Circles.end(), R,
                             [](const auto& logged, double r) { return logged.first > r; });
        if (it == Circles.end() ||
            std::bit_cast<std::uint64_t>(it->first) != std::bit_cast<std::uint64_t>(R))
            return nullptr;
        return &it->second;
    }
};

// What a pass reads from and writes to the passes around it at one centre.
struct TPassMemo {
    const TPassLog* Earlier = nullptr;  // the pass before
    TPassLog* Record = nullptr;         // this pass, for the one after
};

// The results of one level of the search (the radii of a pass, the centres
// of a grid) counted by verdict, and the verdict the level reports: refused
// (NotTried) when every result was refused (or there was none), Valid when
// any was valid, else LevelGround.
struct TStatusTally {
    int Evaluated = 0;
    int Invalid = 0;
    int Valid = 0;

    void Add(TCircleVerdict verdict) {
        ++Evaluated;
        if (!Accepted(verdict)) ++Invalid;
        if (verdict == TCircleVerdict::Valid) ++Valid;
    }
    [[nodiscard]] TCircleVerdict Verdict() const {
        return Evaluated == Invalid ? TCircleVerdict::NotTried
               : Valid > 0          ? TCircleVerdict::Valid
                                    : TCircleVerdict::LevelGround;
    }
};

// The bookkeeping of one pass over radii.
class TRadiusPass {
  public:
    TRadiusPass(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                TSlipDirection direction, TPassMemo* memo = nullptr)
        : model_(model), scratch_(scratch), centre_(centre), direction_(direction), memo_(memo) {}

    void Evaluate(double R) {
        const TCircleResult* known = memo_ && memo_->Earlier ? memo_->Earlier->Find(R) : nullptr;
        const TCircleResult c =
            known            ? *known
            : scratch_.Cache ? scratch_.Cache->Evaluate(model_, {centre_.X, centre_.Y, R}, scratch_)
                             : static_cast<const TCircleResult&>(
                                   sorvanta::Evaluate(model_, {centre_.X, centre_.Y, R}, scratch_));
        if (memo_ && memo_->Record) memo_->Record->Add(R, c);
        if (!known) ++fresh_;
        tried_ = true;
        lastVerdict_ = c.Verdict;
        lastCrossings_ = c.Crossings;
        // A driving sum of exactly 0 is no slip at all: an infinite factor,
        // like level ground, not the most critical circle.
        const TCircleVerdict verdict = c.Verdict == TCircleVerdict::Valid && c.Driving == 0
                                           ? TCircleVerdict::LevelGround
                                           : c.Verdict;
        tally_.Add(verdict);
        if (model_.PlannedFs > 0 && verdict == TCircleVerdict::Valid &&
            QualifiesForDirection(direction_, c.Fs, Infinity)) {
            const double force = RestrainingForce(model_, R, c.Resisting, c.Driving);
            if (!mostForce_.Found || force > mostForce_.Force)
                mostForce_ = {true, centre_.X, centre_.Y, R, force, c.Fs, c.Resisting, c.Driving};
        }
        if (verdict == TCircleVerdict::Valid &&
            QualifiesForDirection(direction_, c.Fs, smallest_)) {
            best_ = {verdict, centre_.X, centre_.Y, R, c.Fs, c.Resisting, c.Driving, false};
            smallest_ = std::fabs(c.Fs);
        } else if (verdict == TCircleVerdict::LevelGround) {
            level_ = {verdict,        centre_.X,   centre_.Y, R,
                      NoQualifyingFs, c.Resisting, c.Driving, false};
        }
    }

    TSearchResult Result(const TSearchResult& previous) const {
        TSearchResult r;
        const TCircleVerdict verdict = tally_.Verdict();
        switch (verdict) {
            case TCircleVerdict::Valid:
                r = best_;
                break;
            case TCircleVerdict::LevelGround:
                r = level_;
                r.Fs = NoQualifyingFs;
                break;
            default:
                r = previous;
                break;
        }
        r.Verdict = verdict;
        r.Xo = centre_.X;
        r.Yo = centre_.Y;
        r.Cancelled = false;
        r.Circles = previous.Circles + fresh_;
        r.LastVerdict = tried_ ? lastVerdict_ : previous.LastVerdict;
        r.LastCrossings = tried_ ? lastCrossings_ : previous.LastCrossings;
        r.MostForce = previous.MostForce.Larger(mostForce_);
        return r;
    }

  private:
    const TAnalysisModel& model_;
    TEngineScratch& scratch_;
    TPoint centre_;
    TSlipDirection direction_;
    TPassMemo* memo_;
    double smallest_ = NoQualifyingFs;
    TStatusTally tally_;
    int fresh_ = 0;  // not taken from the memo
    bool tried_ = false;
    TCircleVerdict lastVerdict_ = TCircleVerdict::NotTried;
    int lastCrossings_ = 0;
    TForceCircle mostForce_;
    TSearchResult best_{TCircleVerdict::NotTried, 0, 0, 0, NoQualifyingFs, 0, 0, false};
    TSearchResult level_{TCircleVerdict::NotTried, 0, 0, 0, NoQualifyingFs, 0, 0, false};
};

// Radii above which ClassifyCircle refuses every circle of this centre for
// reaching beyond an end point of the ground surface: R² > this.
double ReachLimitSq(const TAnalysisModel& model, TPoint centre) {
    const TPolyline& P = model.Ground();
    if (P.size() < 2) return Infinity;
    auto distanceSq = [&](const TPoint& p) {
        const double dx = p.X - centre.X;
        const double dy = p.Y - centre.Y;
        return dx * dx + dy * dy;
    };
    return std::min(distanceSq(P.front()), distanceSq(P.back()));
}

// Radii below which ClassifyCircle refuses every circle of this centre for
// not reaching the ground surface: no ground point lies on or inside such a
// circle, and no segment dips into it. The margin covers the rounding of the
// classification's own distance formulas.
double ReachFloor(const TAnalysisModel& model, TPoint centre) {
    const TPolyline& P = model.Ground();
    if (P.empty()) return -Infinity;
    double nearestSq = Infinity;
    for (std::size_t j = 0; j < P.size(); ++j) {
        const double dx = P[j].X - centre.X;
        const double dy = P[j].Y - centre.Y;
        nearestSq = std::min(nearestSq, dx * dx + dy * dy);
        if (j + 1 == P.size()) break;
        const double sx = P[j + 1].X - P[j].X;
        const double sy = P[j + 1].Y - P[j].Y;
        const double lengthSq = sx * sx + sy * sy;
        if (!(lengthSq > 0)) continue;
        const double t = -(dx * sx + dy * sy) / lengthSq;
        if (t > 0 && t < 1) {
            const double fx = dx + t * sx;
            const double fy = dy + t * sy;
            nearestSq = std::min(nearestSq, fx * fx + fy * fy);
        }
    }
    const double nearest = std::sqrt(nearestSq);
    return nearest * (1 - 1e-9) - 2 * OnCircleTolerance;
}

// Slices of a circle reaching from the first to the last ground point: the
// most any circle of the section can have.
double SectionSlices(const TAnalysisModel& model) {
    const TPolyline& ground = model.Ground();
    if (ground.size() < 2) return 1;
    const double first = ground.front().X;
    const double last = ground.back().X;
    const double limit = model.SliceWidthLimit;
    double slices = 0;
    double previous = first;
    auto add = [&](double to) {
        slices += IntervalSlices(to - previous, limit);
        previous = to;
    };
    if (model.Lookups.Ready) {
        for (double x : model.Lookups.SortedBreakX)
            if (x > first && x < last) add(x);
    } else {
        add(first);
    }
    if (last > first) add(last);
    return std::max(slices, 1.0);
}

}  // namespace

double FirstPassStep(const TAnalysisModel& model, TPoint centre) {
    const double Rmax = LargestAllowedRadius(model, centre);
    // Only radii between these reach the ground without passing its ends.
    const double top = std::min(Rmax, std::sqrt(ReachLimitSq(model, centre)));
    const double bottom = std::max(0.0, ReachFloor(model, centre));
    double step = 0.5;
    if (!(top > bottom)) return step;
    const double radii = (top - bottom) / step;
    const double allowed = std::clamp(FirstPassSliceBudget / SectionSlices(model),
                                      double{MinFirstPassRadii}, double{MaxFirstPassRadii});
    // No step beyond the range itself: that bounds the doubling even for a
    // range too large to count in steps of 0.5 m.
    while (radii * 0.5 / step > allowed && step < top) step *= 2;
    return step;
}

bool QualifiesForDirection(TSlipDirection direction, double fs, double smallestAbsFs) {
    bool sense = true;
    if (direction == TSlipDirection::Clockwise)
        sense = fs >= 0;
    else if (direction == TSlipDirection::CounterClockwise)
        sense = fs < 0;
    return sense && std::fabs(fs) <= smallestAbsFs;
}

namespace {

TSearchResult Scan(const TAnalysisModel& engine, TEngineScratch& scratch, TPoint centre,
                   TSlipDirection direction, double step, double lower, double upper,
                   const TSkipRange* skip, const TSearchResult& previous, const TProgress* progress,
                   TPassMemo* memo) {
    TRadiusPass pass(engine, scratch, centre, direction, memo);
    if (!(step > 0)) return pass.Result(previous);

    double R = upper;
    // Long runs of radii that reach beyond the ground's end points are all
    // invalid; jump over them where the jump lands exactly where repeated
    // subtraction would: a power-of-two step and radii whose ulp is at most
    // the step, so that every subtraction is exact.
    int exponent = 0;
    const bool exactSteps =
        std::frexp(step, &exponent) == 0.5 && lower >= 0 && R >= lower && R < std::ldexp(step, 52);
    const double limitSq = ReachLimitSq(engine, centre);
    if (!(R < std::ldexp(step, 52)) && R >= lower && R * R > limitSq &&
        std::sqrt(limitSq) >= lower) {
        // Radii too large for the step to be subtracted exactly, or at all
        // (a never-cut elevation some 1e15 m down): the pass starts from the
        // largest radius that can still cut the section, after one of those
        // beyond it for the count and the last verdict.
        if (!InSkip(skip, R)) pass.Evaluate(R);
        R = std::sqrt(limitSq);
        while (R * R > limitSq) R = std::nextafter(R, 0.0);
    } else if (exactSteps) {
        if (R * R > limitSq) {
            // k: the first radius that may be valid; kLast: the pass's last.
            const double kLast = std::floor((R - lower) / step);
            double k = std::max(0.0, std::floor((R - std::sqrt(limitSq)) / step) - 1);
            while (k > 0 && (R - (k - 1) * step) * (R - (k - 1) * step) <= limitSq) k -= 1;
            while (k < kLast && (R - k * step) * (R - k * step) > limitSq) k += 1;
            while (k > 0 && R - k * step < lower) k -= 1;
            if (k > 0) {
                // The circles passed over would all have had the same
                // verdict; try one of them so that the count and the last
                // verdict are as if they had been evaluated.
                const double first = R;
                const double lastSkipped = R - (k - 1) * step;
                if (!InSkip(skip, first))
                    pass.Evaluate(first);
                else if (!InSkip(skip, lastSkipped))
                    pass.Evaluate(lastSkipped);
                R = R - k * step;
            }
        }
    }

    // Radii too short to reach the ground are all refused alike; one of them
    // stands for the rest of the pass.
    const double reachFloor = ReachFloor(engine, centre);
    while (R >= lower) {
        if (R < reachFloor && !InSkip(skip, R)) {
            pass.Evaluate(R);
            break;
        }
        if (IsCancelled(progress)) {
            TSearchResult r = pass.Result(previous);
            r.Cancelled = true;
            return r;
        }
        if (!InSkip(skip, R)) pass.Evaluate(R);
        const double next = R - step;
        if (next == R) break;  // the step is below the radius' precision
        R = next;
    }
    return pass.Result(previous);
}

// Logs of the passes at one centre, kept per thread so that they are
// allocated once: two for the passes that follow each other, one for the
// first pass, which both directions share.
thread_local TPassLog tlLogs[3];

// The passes at one centre for one direction (0 or 1). `shared` is the log of
// the first pass: recorded when `sharedKnown` is false, read from when it is
// true (its radii do not depend on the direction).
TSearchResult SearchOneWay(const TAnalysisModel& engine, TEngineScratch& scratch, TPoint centre,
                           TSlipDirection direction, double Rmax, const TProgress* progress,
                           TPassMemo& memo, TPassLog& shared, bool sharedKnown) {
    TSearchResult result;
    result.Xo = centre.X;
    result.Yo = centre.Y;
    int current = 0;
    // Each pass reads the log of the one before and records its own.
    auto scan = [&](double step, double lower, double upper, bool last) {
        TPassLog& record = tlLogs[current];
        record.Circles.clear();
        memo.Record = last ? nullptr : &record;
        result = Scan(engine, scratch, centre, direction, step, lower, upper, nullptr, result,
                      progress, &memo);
        memo.Earlier = &record;
        current = 1 - current;
    };
    // Pass 1, over a huge range of radii in coarser steps that close in on
    // the best radius until they are 0.5 m.
    double step = FirstPassStep(engine, centre);
    if (sharedKnown) {
        memo.Earlier = &shared;
        memo.Record = nullptr;
    } else {
        shared.Circles.clear();
        memo.Earlier = nullptr;
        memo.Record = &shared;
    }
    result =
        Scan(engine, scratch, centre, direction, step, 0, Rmax, nullptr, result, progress, &memo);
    memo.Earlier = &shared;
    while (step > 0.5 && !result.Cancelled) {
        const double Rc = result.R;
        const double finer = std::max(step / 4, 0.5);
        scan(finer, Rc - step, std::min(Rmax, Rc + step), false);
        step = finer;
    }
    if (result.Cancelled) return result;
    const double R1 = result.R;
    scan(0.05, R1 - 0.5, std::min(Rmax, R1 + 0.5), false);
    if (result.Cancelled) return result;
    const double R2 = result.R;
    scan(0.01, R2 - 0.05, std::min(Rmax, R2 + 0.05), true);
    return result;
}

// The result for both directions from those of each: the smaller |Fs| of a
// status-1 result (a centre where no circle qualified reports Fs 10000),
// the clockwise one on a tie; else level ground; else none.
TSearchResult EitherWay(const TSearchResult& cw, const TSearchResult& ccw) {
    constexpr TCircleVerdict Valid = TCircleVerdict::Valid;
    constexpr TCircleVerdict Level = TCircleVerdict::LevelGround;
    TSearchResult r;
    if (cw.Verdict == Valid || ccw.Verdict == Valid) {
        if (ccw.Verdict == Valid && (cw.Verdict != Valid || std::fabs(ccw.Fs) < std::fabs(cw.Fs)))
            r = ccw;
        else
            r = cw;
    } else {
        r = cw.Verdict == Level || ccw.Verdict != Level ? cw : ccw;
    }
    r.Circles = cw.Circles + ccw.Circles;
    r.Cancelled = cw.Cancelled || ccw.Cancelled;
    // The counter-clockwise passes run last.
    r.LastVerdict = ccw.LastVerdict;
    r.LastCrossings = ccw.LastCrossings;
    r.MostForce = cw.MostForce.Larger(ccw.MostForce);
    return r;
}

// SearchRadius in the given direction.
TSearchResult SearchRadiusAtCentre(const TAnalysisModel& engine, TEngineScratch& scratch,
                                   TPoint centre, TSlipDirection direction,
                                   const TProgress* progress) {
    TSearchResult result;
    result.Xo = centre.X;
    result.Yo = centre.Y;
    const double Rmax = LargestAllowedRadius(engine, centre);
    if (engine.MustCutOn) {
        // The point decides the radius, but the never-cut constraints still
        // hold: a circle through it that goes deeper is none (the checks
        // refuse a point below the never-cut elevation, where every circle
        // would).
        const TPolyline& mcp = engine.Figures[fkMustCutPoint];
        if (mcp.empty()) return result;
        const double dx = mcp[0].X - centre.X;
        const double dy = mcp[0].Y - centre.Y;
        const double R = std::sqrt(dx * dx + dy * dy);
        if (!(R <= Rmax)) return result;
        // One circle: with both directions it is the best of either.
        TRadiusPass pass(engine, scratch, centre, direction);
        pass.Evaluate(R);
        return pass.Result(result);
    }
    TPassMemo memo;
    TPassLog& shared = tlLogs[2];
    if (direction != TSlipDirection::Both)
        return SearchOneWay(engine, scratch, centre, direction, Rmax, progress, memo, shared,
                            false);
    const TSearchResult cw = SearchOneWay(engine, scratch, centre, TSlipDirection::Clockwise, Rmax,
                                          progress, memo, shared, false);
    if (cw.Cancelled) return cw;
    const TSearchResult ccw =
        SearchOneWay(engine, scratch, centre, TSlipDirection::CounterClockwise, Rmax, progress,
                     memo, shared, true);
    return EitherWay(cw, ccw);
}

bool SearchRadiusAtIn(const TAnalysisModel& model, TSlipDirection direction,
                      std::span<const TPoint> centres, std::vector<TSearchResult>& results,
                      const TSearchOptions& options) {
    const int count = static_cast<int>(centres.size());
    results.assign(centres.size(), TSearchResult{});
    const int workers = WorkerCount(count, options.Threads);
    // The workers share the model; each has scratch space of its own.
    std::vector<TEngineScratch> scratch(static_cast<std::size_t>(workers));
    if (workers == 1 && options.Cache && options.Cache->Serves(model))
        scratch[0].Cache = options.Cache;
    const TProgress* progress = options.Progress;
    ParallelFor(count, workers, [&](int worker, int index) {
        if (IsCancelled(progress)) {
            results[static_cast<std::size_t>(index)].Cancelled = true;
            return;
        }
        results[static_cast<std::size_t>(index)] =
            SearchRadiusAtCentre(model, scratch[static_cast<std::size_t>(worker)],
                                 centres[static_cast<std::size_t>(index)], direction, progress);
    });
    return std::none_of(results.begin(), results.end(),
                        [](const TSearchResult& r) { return r.Cancelled; });
}

}  // namespace

TSearchResult ScanRadii(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                        double step, double lower, double upper, const TSkipRange* skip,
                        const TSearchResult& previous, const TProgress* progress) {
    return Scan(model, scratch, centre, model.Direction, step, lower, upper, skip, previous,
                progress, nullptr);
}

TSearchResult SingleRadius(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                           double R, const TSearchResult& previous) {
    TRadiusPass pass(model, scratch, centre, model.Direction);
    pass.Evaluate(R);
    return pass.Result(previous);
}

double NeverCutLineReach(const TAnalysisModel& model, TPoint centre) {
    const TPolyline& line = model.Figures[fkNeverCutLine];
    // A point at or above the centre's level: any arc reaching its abscissa.
    auto pointReach = [&](TPoint p) {
        const double dx = p.X - centre.X;
        const double dy = centre.Y - p.Y;
        return dy > 0 ? std::sqrt(dx * dx + dy * dy) : std::fabs(dx);
    };
    double reach = Infinity;
    for (const TPoint& p : line) reach = std::min(reach, pointReach(p));
    for (std::size_t k = 0; k + 1 < line.size(); ++k) {
        TPoint a = line[k];
        TPoint b = line[k + 1];
        // Below the centre's level the reach is the distance to the segment;
        // above it the horizontal distance, least where the segment passes
        // over or under the centre, so the crossing of that level counts too.
        auto above = [&](TPoint from, TPoint to) {
            if ((from.X - centre.X) * (to.X - centre.X) <= 0) reach = 0;
        };
        if ((a.Y < centre.Y) != (b.Y < centre.Y)) {
            const double t = (centre.Y - a.Y) / (b.Y - a.Y);
            const TPoint cross{a.X + t * (b.X - a.X), centre.Y};
            reach = std::min(reach, std::fabs(cross.X - centre.X));
            if (a.Y >= centre.Y) {
                above(a, cross);
                a = cross;
            } else {
                above(cross, b);
                b = cross;
            }
        } else if (a.Y >= centre.Y) {
            above(a, b);
            continue;
        }
        const double sx = b.X - a.X;
        const double sy = b.Y - a.Y;
        const double lengthSq = sx * sx + sy * sy;
        if (!(lengthSq > 0)) continue;
        const double t = ((centre.X - a.X) * sx + (centre.Y - a.Y) * sy) / lengthSq;
        if (t > 0 && t < 1) {
            const double dx = centre.X - (a.X + t * sx);
            const double dy = centre.Y - (a.Y + t * sy);
            reach = std::min(reach, std::sqrt(dx * dx + dy * dy));
        }
    }
    return reach;
}

double LargestAllowedRadius(const TAnalysisModel& model, TPoint centre) {
    const double Rmax = centre.Y - model.NclElevation;
    return model.NeverCutLineOn ? std::min(Rmax, NeverCutLineReach(model, centre)) : Rmax;
}

TSearchResult SearchRadius(const TAnalysisModel& model, TEngineScratch& scratch, TPoint centre,
                           const TProgress* progress) {
    return SearchRadiusAtCentre(model, scratch, centre, model.Direction, progress);
}

bool SearchRadiusAt(const TAnalysisModel& model, std::span<const TPoint> centres,
                    std::vector<TSearchResult>& results, const TSearchOptions& options) {
    return SearchRadiusAtIn(model, model.Direction, centres, results, options);
}

namespace {

std::pair<std::uint64_t, std::uint64_t> CentreKey(TPoint c) {
    return {std::bit_cast<std::uint64_t>(c.X), std::bit_cast<std::uint64_t>(c.Y)};
}

}  // namespace

namespace {

TSearchResult SearchGrid(const TAnalysisModel& model, TSlipDirection direction, int n, double p,
                         double X0, double Y0, TGridSearchState& state,
                         const TSearchOptions& options) {
    const auto count = static_cast<std::size_t>((n + 1) * (n + 1));
    std::vector<TPoint> centres;
    centres.reserve(count);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) centres.push_back({X0 + i * p, Y0 + j * p});

    // Centres already searched by an earlier grid are not searched again.
    std::vector<TSearchResult> results(count);
    std::vector<TPoint> fresh;
    std::vector<std::size_t> freshIndex;
    fresh.reserve(count);
    freshIndex.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const auto known = state.Searched.find(CentreKey(centres[k]));
        if (known != state.Searched.end()) {
            results[k] = known->second;
            results[k].Circles = 0;
        } else {
            fresh.push_back(centres[k]);
            freshIndex.push_back(k);
        }
    }

    TSearchResult cancelled;
    cancelled.Cancelled = true;
    std::vector<TSearchResult> found;
    if (!SearchRadiusAtIn(model, direction, fresh, found, options)) return cancelled;
    for (std::size_t f = 0; f < fresh.size(); ++f) {
        results[freshIndex[f]] = found[f];
        state.Searched.emplace(CentreKey(fresh[f]), found[f]);
    }

    TProgress* progress = options.Progress;
    const bool showCircles = progress && progress->ShowsTrialCircles();
    TEngineScratch scratch;
    TStatusTally tally;
    long long circles = 0;
    bool found1 = false;
    TSearchResult best;
    TSearchResult level;
    for (std::size_t k = 0; k < results.size(); ++k) {
        const TSearchResult& r = results[k];
        circles += r.Circles;
        tally.Add(r.Verdict);
        state.MostForce = state.MostForce.Larger(r.MostForce);
        if (!Accepted(r.Verdict)) continue;
        if (r.Verdict == TCircleVerdict::Valid) {
            if (QualifiesForDirection(direction, r.Fs, state.SmallestAbsFs)) {
                best = r;
                state.SmallestAbsFs = std::fabs(r.Fs);
                found1 = true;
            }
        } else {
            level = r;
        }
        if (showCircles) {
            const TSlipCircle circle{r.Xo, r.Yo, r.R};
            const TCircleEvaluation shown =
                Evaluate(model, circle, scratch, TCircleWanted{.Slices = true});
            progress->TrialCircle(model, circle, shown);
            if (IsCancelled(progress)) return cancelled;
        }
    }

    TSearchResult result;
    if (found1) {
        result = best;
        result.Verdict = TCircleVerdict::Valid;
        if (result.R != 0) state.Best = result;
    } else if (state.Best.Verdict == TCircleVerdict::Valid) {
        // Nothing here reached the running minimum (the previous best centre,
        // recomputed from this grid's origin, may come out a little higher):
        // keep the circle already found.
        result = state.Best;
    } else {
        switch (tally.Verdict()) {
            case TCircleVerdict::Valid:
                result = TSearchResult{};
                result.Verdict = TCircleVerdict::Valid;
                break;
            case TCircleVerdict::LevelGround:
                result = level;
                result.Verdict = TCircleVerdict::LevelGround;
                result.Fs = NoQualifyingFs;
                break;
            default:
                result = TSearchResult{};
                break;
        }
    }
    result.Circles = circles;
    return result;
}

}  // namespace

TSearchResult SearchCentreGrid(const TAnalysisModel& model, int n, double p, double X0, double Y0,
                               TGridSearchState& state, const TSearchOptions& options) {
    return SearchGrid(model, model.Direction, n, p, X0, Y0, state, options);
}

double FirstGridPitch(const TAnalysisModel& model) {
    const TPolyline& P = model.Ground();
    if (P.size() < 2) return 0;
    return std::fabs(P.back().X - P.front().X) / 10;
}

int MovedGridIndex(double best, double origin, int n) {
    return origin < best ? 1 : n - 1;
}

namespace {

TCriticalSearch RefineOneWay(const TAnalysisModel& engine, TSlipDirection direction,
                             const TSearchOptions& options) {
    TCriticalSearch search;
    const TPolyline& P = engine.Ground();
    if (P.size() < 2) return search;

    double p = FirstGridPitch(engine);
    double X0 = P.front().X - p;
    double Y0 = engine.LowestGroundY() - p;
    TGridSearchState state;
    int moves = 0;
    for (;;) {
        search.Result = SearchGrid(engine, direction, 10, p, X0, Y0, state, options);
        ++search.GridCount;
        search.Circles += search.Result.Circles;
        if (search.Result.Cancelled) {
            search.Cancelled = true;
            return search;
        }
        search.MostForce = state.MostForce;
        if (options.Progress) options.Progress->Step();
        if (p < 0.01 || !std::isfinite(p)) break;

        const double bx = search.Result.Xo;
        const double by = search.Result.Yo;
        const bool inside = X0 < bx && bx < X0 + 10 * p && Y0 < by && by < Y0 + 10 * p;
        if (inside || moves >= options.MaxGridMoves || search.Moves >= options.MaxGridMovesTotal) {
            if (!inside) search.MoveLimitReached = true;
            X0 = bx - p;
            Y0 = by - p;
            p = p / 10 * 2;
            moves = 0;
        } else {
            // A grid crawling one pitch at a time towards its low edges but
            // leaping nine towards its high ones would search a section and
            // its mirror image differently.
            X0 = bx - MovedGridIndex(bx, X0) * p;
            Y0 = by - MovedGridIndex(by, Y0) * p;
            ++moves;
            ++search.Moves;
        }
    }
    return search;
}

bool FoundCircle(const TCriticalSearch& s) {
    return s.Result.Verdict == TCircleVerdict::Valid && s.Result.R != 0;
}

}  // namespace

TCriticalSearch SearchCriticalCircle(const TAnalysisModel& model, const TSearchOptions& options) {
    if (model.Direction != TSlipDirection::Both)
        return RefineOneWay(model, model.Direction, options);
    const TCriticalSearch cw = RefineOneWay(model, TSlipDirection::Clockwise, options);
    if (cw.Cancelled) return cw;
    const TCriticalSearch ccw = RefineOneWay(model, TSlipDirection::CounterClockwise, options);
    const bool ccwBetter = FoundCircle(ccw) &&
                           (!FoundCircle(cw) || std::fabs(ccw.Result.Fs) < std::fabs(cw.Result.Fs));
    TCriticalSearch both = ccwBetter ? ccw : cw;
    both.GridCount = cw.GridCount + ccw.GridCount;
    both.Circles = cw.Circles + ccw.Circles;
    both.Moves = cw.Moves + ccw.Moves;
    both.MoveLimitReached = cw.MoveLimitReached || ccw.MoveLimitReached;
    both.Cancelled = ccw.Cancelled;
    both.MostForce = cw.MostForce.Larger(ccw.MostForce);
    return both;
}

}  // namespace sorvanta
