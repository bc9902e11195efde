// Properties of the search over generated designs that load but that no
// engineer would draw: near-vertical, vertical, overhanging and repeated
// ground points, layer boundaries crossing the ground, water above it,
// coordinates from millimetres to a million kilometres. For every design
// the checks accept, the search ends within a bounded number of radii,
// reports finite numbers, cuts no slice of more than half a turn, and gives
// the same bits with one and with two threads.
//
// A second family puts the circle constraints on irregular ground: never-cut
// lines and must-cut points, searched clockwise, counter-clockwise and in
// both directions. The critical circle must keep to its constraints, and
// both directions must never be worse than either alone.
//
// A fixed set of seeds runs here (and under the sanitizers in CI);
// SORVANTA_PROPERTY_DESIGNS=n runs the first n seeds instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Progress.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"
#include "run/Checks.h"

namespace sorvanta {
namespace {

using test::ExactTable;
using test::ExactText;

// Only the raw engine output, so that the designs are the same on every
// standard library.
class TRandom {
  public:
    explicit TRandom(std::uint64_t seed) : engine_(seed) {}
    double Uniform(double a, double b) { return a + (b - a) * (engine_() >> 11) * 0x1p-53; }
    int Int(int a, int b) {
        return a + static_cast<int>(engine_() % static_cast<unsigned>(b - a + 1));
    }
    bool Chance(double p) { return Uniform(0, 1) < p; }
    template <class T>
    T Pick(std::initializer_list<T> values) {
        return values.begin()[Int(0, static_cast<int>(values.size()) - 1)];
    }

  private:
    std::mt19937_64 engine_;
};

TDesignConditions GenerateDesign(std::uint64_t seed, TAnalysisOptions& options) {
    TRandom r(seed);
    const double scale = r.Pick({1e-3, 1.0, 1.0, 1.0, 1e3, 1e6, 1e9});
    const double offset = r.Pick({0.0, 0.0, 1e5, -1e7});
    auto at = [&](TPoint p) { return TPoint{offset + scale * p.X, offset + scale * p.Y}; };

    // The ground in units of the scale: about 70 wide, rising on the whole.
    TPolyline ground;
    const int n = r.Int(3, 8);
    TPoint p{0, r.Uniform(0, 10)};
    ground.push_back(p);
    for (int i = 1; i < n; ++i) {
        double dx = 70.0 / n * r.Uniform(0.2, 1.8);
        double dy = r.Uniform(-5, 15);
        if (r.Chance(0.3)) {
            dx = std::pow(10.0, -r.Uniform(2, 7)) * 70;  // near vertical
            dy = r.Uniform(5, 30);
        } else if (r.Chance(0.1)) {
            dx = 0;  // vertical
            dy = r.Uniform(-10, 30);
        } else if (r.Chance(0.15)) {
            dx = -r.Uniform(1, 10);  // overhanging
        }
        if (!r.Chance(0.15)) p = {p.X + dx, p.Y + dy};  // else a repeated point
        ground.push_back(p);
    }

    TDesignConditions d;
    LoadSampleDesign(d);
    const int layers = r.Int(1, 5);
    d.LayerCount = std::to_string(layers);
    double lowest = ground.front().Y;
    for (const TPoint& g : ground) lowest = std::min(lowest, g.Y);
    for (int k = 0; k < MaxLayers; ++k) {
        TSoilLayer& layer = d.Layers[static_cast<std::size_t>(k)];
        const double gamma = r.Uniform(14, 22);
        layer.GammaT = ExactText(gamma);
        layer.GammaS = ExactText(gamma - 9);
        layer.Phi = ExactText(r.Pick({0.0, r.Uniform(0, 45), 89.9}));
        layer.Cohesion = ExactText(r.Pick({0.0, r.Uniform(0, 30)}));
        TPolyline boundary;
        for (const TPoint& g : ground) {
            // Below the ground, now and then above it.
            const double y = r.Chance(0.2) ? g.Y + r.Uniform(0, 5) : g.Y - r.Uniform(0.5, 4) * k;
            boundary.push_back(at({g.X, y}));
        }
        layer.Boundary = ExactTable(k == 0 ? TPolyline{} : boundary);
    }
    TPolyline scaledGround;
    for (const TPoint& g : ground) scaledGround.push_back(at(g));
    d.Layers[0].Boundary = ExactTable(scaledGround);

    d.WaterEnabled = r.Chance(0.5);
    d.GammaW = d.WaterEnabled ? "9.81" : "---";
    TPolyline water;
    for (const TPoint& g : ground) water.push_back(at({g.X, g.Y + r.Uniform(-8, 3)}));
    d.WaterTable = ExactTable(water);
    d.StressType = r.Int(0, 1);
    options.Direction = static_cast<TSlipDirection>(r.Int(0, 2));
    options.Form = static_cast<TFsForm>(r.Int(0, 1));

    double left = ground.front().X, right = left;
    for (const TPoint& g : ground) {
        left = std::min(left, g.X);
        right = std::max(right, g.X);
    }
    d.MaxSliceWidth = ExactText(scale * (right - left) / r.Uniform(8, 40));
    const double depth = r.Pick({r.Uniform(0, 30), 1e3, 1e15});
    d.NeverCutElevation = ExactText(offset + scale * (lowest - depth));
    return d;
}

// Polled once per radius and per centre: a search that needs more has run
// away.
class TRadiusBudget : public TProgress {
  public:
    explicit TRadiusBudget(long long polls) : left_(polls) {}
    bool Cancelled() const override { return left_.fetch_sub(1) <= 0; }

  private:
    mutable std::atomic<long long> left_;
};
constexpr long long RadiusBudget = 3'000'000;

std::uint64_t Bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

bool SameBits(const TCriticalSearch& a, const TCriticalSearch& b) {
    const TSearchResult& x = a.Result;
    const TSearchResult& y = b.Result;
    return x.Verdict == y.Verdict && Bits(x.Xo) == Bits(y.Xo) && Bits(x.Yo) == Bits(y.Yo) &&
           Bits(x.R) == Bits(y.R) && Bits(x.Fs) == Bits(y.Fs) &&
           Bits(x.Resisting) == Bits(y.Resisting) && Bits(x.Driving) == Bits(y.Driving) &&
           a.GridCount == b.GridCount && a.Circles == b.Circles;
}

bool Finite(const TSliceRow& row) {
    std::vector<double> values{row.CentreX, row.B,   row.SumH,      row.GroundHeight,
                               row.SumV,    row.C,   row.L,         row.W,
                               row.Alpha,   row.Phi, row.Resisting, row.Driving};
    for (int k = 0; k < MaxLayers; ++k) {
        values.push_back(row.H[static_cast<std::size_t>(k)]);
        values.push_back(row.VWet[static_cast<std::size_t>(k)]);
        values.push_back(row.VSub[static_cast<std::size_t>(k)]);
    }
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

int DesignCount() {
    if (const char* n = std::getenv("SORVANTA_PROPERTY_DESIGNS")) return std::atoi(n);
    return 24;
}

TEST(EngineProperties, GeneratedDesignsSearchBoundedFiniteAndThreadIndependent) {
    int searched = 0;
    for (int seed = 1; seed <= DesignCount(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TAnalysisOptions choices;
        const TDesignConditions d = GenerateDesign(static_cast<std::uint64_t>(seed), choices);
        TRecordingDialogs dialogs;
        TCheckResult checks = CheckDesignConditions(d, choices);
        if (PresentCheckResult(checks, dialogs) == TCheckOutcome::Refuse) continue;
        TAnalysisModel& e = checks.Model;
        ++searched;

        TCriticalSearch runs[2];
        for (int threads : {1, 2}) {
            TRadiusBudget budget(RadiusBudget);
            TSearchOptions options;
            options.Threads = threads;
            options.Progress = &budget;
            runs[threads - 1] = SearchCriticalCircle(e, options);
            ASSERT_FALSE(runs[threads - 1].Cancelled) << threads << " threads: no end in sight";
        }
        EXPECT_TRUE(SameBits(runs[0], runs[1]));

        const TSearchResult& best = runs[0].Result;
        for (double v : {best.Xo, best.Yo, best.R, best.Fs, best.Resisting, best.Driving})
            EXPECT_TRUE(std::isfinite(v)) << v;
        if (best.Verdict != TCircleVerdict::Valid || best.R == 0) continue;
        const TCircleEvaluation c = test::EvaluateAll(e, {best.Xo, best.Yo, best.R});
        const std::vector<TSliceRow>& rows = c.Rows;
        ASSERT_TRUE(Accepted(c.Verdict)) << static_cast<int>(c.Verdict);
        EXPECT_EQ(Bits(c.Fs), Bits(best.Fs));
        for (const TSliceRow& row : rows) {
            EXPECT_TRUE(Finite(row)) << "slice " << row.No;
            EXPECT_LE(row.L, std::numbers::pi * best.R) << "slice " << row.No;
        }
    }
    // Most generated designs pass the checks; a generator that produced only
    // refused ones would test nothing.
    EXPECT_GE(searched * 2, DesignCount());
}

// A soil of the families below: γt from lowestGamma to 21, γs that much less
// buoyancy, φ up to 40°, C from lowestC to 30.
void SetRandomSoil(TSoilLayer& layer, TRandom& r, double lowestGamma, double buoyancy,
                   double lowestC) {
    const double gamma = r.Uniform(lowestGamma, 21);
    layer.GammaT = ExactText(gamma);
    layer.GammaS = ExactText(gamma - buoyancy);
    layer.Phi = ExactText(r.Uniform(0, 40));
    layer.Cohesion = ExactText(r.Uniform(lowestC, 30));
}

// ---------------------------------------------------------------------------
// Constraints: never-cut lines and must-cut points, in every direction.

// Irregular ground at the scale of a real section (zig-zags, humps and
// hollows), one to three layers, now and then water; either a never-cut line
// (two to six points, mostly under the ground, now and then out of it) or a
// must-cut point under the ground. The slices are wide so that the three
// searches of a design stay cheap under the sanitizers.
TDesignConditions GenerateConstraintDesign(std::uint64_t seed, TAnalysisOptions& options) {
    TRandom r(seed * 7919 + 17);
    TPolyline ground;
    const int n = r.Int(3, 8);
    TPoint p{0, r.Uniform(0, 10)};
    ground.push_back(p);
    for (int i = 1; i < n; ++i) {
        p = {p.X + 70.0 / n * r.Uniform(0.2, 1.8), p.Y + r.Uniform(-10, 15)};
        ground.push_back(p);
    }
    double lowest = ground.front().Y;
    for (const TPoint& g : ground) lowest = std::min(lowest, g.Y);

    TDesignConditions d;
    LoadSampleDesign(d);
    const int layers = r.Int(1, 3);
    d.LayerCount = std::to_string(layers);
    for (int k = 0; k < layers; ++k) {
        TSoilLayer& layer = d.Layers[static_cast<std::size_t>(k)];
        SetRandomSoil(layer, r, 15, 9, 0);
        TPolyline boundary;
        for (const TPoint& g : ground) boundary.push_back({g.X, g.Y - 2.0 * k * r.Uniform(0.5, 2)});
        layer.Boundary = ExactTable(boundary);
    }
    d.WaterEnabled = r.Chance(0.3);
    d.GammaW = d.WaterEnabled ? "9.81" : "---";
    TPolyline water;
    for (const TPoint& g : ground) water.push_back({g.X, g.Y - r.Uniform(1, 6)});
    d.WaterTable = ExactTable(water);
    d.StressType = r.Int(0, 1);
    options.Form = static_cast<TFsForm>(r.Int(0, 1));
    d.MaxSliceWidth = ExactText(ground.back().X / r.Uniform(6, 12));
    const double elevation = lowest - r.Uniform(2, 25);
    d.NeverCutElevation = ExactText(elevation);

    if (r.Chance(0.6)) {
        d.NeverCutLineEnabled = true;
        TPolyline line;
        const int points = r.Int(2, 6);
        double x = r.Uniform(-5, 20);
        for (int i = 0; i < points; ++i) {
            const double below = r.Chance(0.15) ? -r.Uniform(0, 3) : r.Uniform(0.5, 12);
            line.push_back({x, lowest - below + r.Uniform(0, 5)});
            x += r.Uniform(3, 25);
        }
        d.NeverCutLine = ExactTable(line);
    } else {
        d.MustCutPointEnabled = true;
        const std::size_t i = static_cast<std::size_t>(r.Int(1, n - 1));
        const TPoint a = ground[i - 1], b = ground[i];
        const double t = r.Uniform(0.1, 0.9);
        const double top = a.Y + t * (b.Y - a.Y);
        d.MustCutPoint = ExactTable({{a.X + t * (b.X - a.X), top - r.Uniform(0.5, 8)}});
    }
    return d;
}

// Where the critical circle breaks a constraint, a text that says how.
std::string ConstraintBroken(const TAnalysisModel& e, const TSearchResult& c) {
    const double scale = std::max(1.0, std::fabs(c.R));
    if (c.Yo - c.R < e.NclElevation - 1e-9 * scale) return "below the never-cut elevation";
    if (e.MustCutOn) {
        const TPoint m = e.Figures[fkMustCutPoint].front();
        const double d = std::hypot(m.X - c.Xo, m.Y - c.Yo);
        if (std::fabs(d - c.R) > 1e-9 * scale) return "misses the must-cut point";
    }
    if (e.NeverCutLineOn) {
        const TPolyline& line = e.Figures[fkNeverCutLine];
        for (std::size_t k = 0; k + 1 < line.size(); ++k) {
            for (int step = 0; step <= 50; ++step) {
                const double t = step / 50.0;
                const TPoint q{line[k].X + t * (line[k + 1].X - line[k].X),
                               line[k].Y + t * (line[k + 1].Y - line[k].Y)};
                const double dx = q.X - c.Xo;
                if (std::fabs(dx) > c.R) continue;
                if (c.Yo - std::sqrt(c.R * c.R - dx * dx) < q.Y - 1e-9 * scale)
                    return "below the never-cut line at x " + std::to_string(q.X);
            }
        }
    }
    return "";
}

bool FoundCircle(const TCriticalSearch& s) {
    return s.Result.Verdict == TCircleVerdict::Valid && s.Result.R != 0;
}

TEST(EngineProperties, ConstraintsKeptAndBothDirectionsNeverWorse) {
    int searched = 0;
    for (int seed = 1; seed <= DesignCount(); ++seed) {
        SCOPED_TRACE("constraint seed " + std::to_string(seed));
        TAnalysisOptions choices;
        TDesignConditions d = GenerateConstraintDesign(static_cast<std::uint64_t>(seed), choices);
        TRecordingDialogs dialogs;
        TCheckResult checks = CheckDesignConditions(d, choices);
        if (PresentCheckResult(checks, dialogs) == TCheckOutcome::Refuse) continue;
        TAnalysisModel& e = checks.Model;
        ++searched;

        TCriticalSearch runs[3];
        for (int direction : {0, 1, 2}) {
            e.Direction = static_cast<TSlipDirection>(direction);
            TRadiusBudget budget(RadiusBudget);
            TSearchOptions options;
            // Both directions on two threads: their results must be those of
            // each direction alone on one.
            options.Threads = direction == 2 ? 2 : 1;
            options.Progress = &budget;
            runs[direction] = SearchCriticalCircle(e, options);
            ASSERT_FALSE(runs[direction].Cancelled) << direction << ": no end in sight";
            const TSearchResult& c = runs[direction].Result;
            for (double v : {c.Xo, c.Yo, c.R, c.Fs, c.Resisting, c.Driving})
                EXPECT_TRUE(std::isfinite(v)) << v;
            if (FoundCircle(runs[direction])) {
                EXPECT_EQ(ConstraintBroken(e, c), "") << direction;
            }
        }
        const TCriticalSearch& both = runs[2];
        EXPECT_EQ(FoundCircle(both), FoundCircle(runs[0]) || FoundCircle(runs[1]));
        for (int direction : {0, 1}) {
            if (!FoundCircle(runs[direction]) || !FoundCircle(both)) continue;
            EXPECT_LE(std::fabs(both.Result.Fs), std::fabs(runs[direction].Result.Fs))
                << "both directions worse than direction " << direction;
        }
        if (FoundCircle(both)) {
            const bool ccw = FoundCircle(runs[1]) &&
                             (!FoundCircle(runs[0]) ||
                              std::fabs(runs[1].Result.Fs) < std::fabs(runs[0].Result.Fs));
            EXPECT_EQ(Bits(both.Result.Fs), Bits(runs[ccw ? 1 : 0].Result.Fs));
        }
    }
    EXPECT_GE(searched * 2, DesignCount());
}

// ---------------------------------------------------------------------------
// Faces, layers and water: vertical, overhanging and steep faces, layer
// boundaries drawn above the ground, water standing above it. Besides the
// properties above, the result must be continuous: nudging the face's top by
// a micrometre moves Fs by less than 1 %, and no slice weighs less than
// nothing.

struct TFaceDesign {
    TDesignConditions Design;
    TDesignConditions Nudged;  // the face's top point moved by 1e-6 m
    TAnalysisOptions Options;  // clockwise
};

TFaceDesign GenerateFaceDesign(std::uint64_t seed) {
    TRandom r(seed * 7919 + 17);
    const double height = r.Uniform(4, 15);
    const double toe = r.Uniform(20, 35);
    // The face's top: vertical, overhanging (by a little or a lot) or steep.
    const double lean = r.Pick({0.0, 0.0, -1e-6, -r.Uniform(0.2, 4), r.Uniform(0.01, 2)});
    const double nudge = r.Chance(0.5) ? 1e-6 : -1e-6;
    auto ground = [&](double dx) {
        return TPolyline{{0, 0}, {toe, 0}, {toe + lean + dx, height}, {70, height}};
    };

    TDesignConditions d;
    LoadSampleDesign(d);
    const int layers = r.Int(1, 3);
    d.LayerCount = std::to_string(layers);
    for (int k = 0; k < MaxLayers; ++k) {
        SetRandomSoil(d.Layers[static_cast<std::size_t>(k)], r, 16, 10, 1);
    }
    // Lower boundaries: level, now below the toe, now through the face and
    // above the ground in front of it.
    std::vector<double> levels;
    for (int k = 1; k < layers; ++k) levels.push_back(r.Uniform(-6, height + 3));
    const bool water = r.Chance(0.6);
    // Water: in the slope only, or standing in front of the face, or over
    // everything.
    const double waterLevel = r.Pick({r.Uniform(-3, height), r.Uniform(1, height), height + 5});

    auto fill = [&](TDesignConditions& out, double dx) {
        out = d;
        out.Layers[0].Boundary = ExactTable(ground(dx));
        for (int k = 1; k < layers; ++k) {
            const double y = levels[static_cast<std::size_t>(k - 1)];
            out.Layers[static_cast<std::size_t>(k)].Boundary = ExactTable({{0, y}, {70, y}});
        }
        out.WaterEnabled = water;
        out.GammaW = water ? "9.81" : "---";
        out.WaterTable = ExactTable({{0, waterLevel}, {70, waterLevel}});
    };
    d.StressType = r.Int(0, 1);
    TFaceDesign f;
    f.Options.Form = static_cast<TFsForm>(r.Int(0, 1));
    d.MaxSliceWidth = ExactText(r.Pick({1.0, 2.0}));
    d.NeverCutElevation = ExactText(r.Pick({0.0, -r.Uniform(1, 15)}));
    fill(f.Design, 0);
    fill(f.Nudged, nudge);
    return f;
}

TCriticalSearch SearchBounded(const TAnalysisModel& model, int threads) {
    TAnalysisModel e = model;
    TRadiusBudget budget(RadiusBudget);
    TSearchOptions options;
    options.Threads = threads;
    options.Progress = &budget;
    return SearchCriticalCircle(e, options);
}

TEST(EngineProperties, FacesLayersAndWaterAreContinuous) {
    int searched = 0;
    // A third as many as the designs above, so that the sanitizer run keeps
    // its time.
    const int designs = std::max(DesignCount() / 3, 1);
    for (int seed = 1; seed <= designs; ++seed) {
        SCOPED_TRACE("face seed " + std::to_string(seed));
        const TFaceDesign f = GenerateFaceDesign(static_cast<std::uint64_t>(seed));
        TRecordingDialogs dialogs;
        TCheckResult checks = CheckDesignConditions(f.Design, f.Options);
        TCheckResult nudgedChecks = CheckDesignConditions(f.Nudged, f.Options);
        if (PresentCheckResult(checks, dialogs) == TCheckOutcome::Refuse ||
            PresentCheckResult(nudgedChecks, dialogs) == TCheckOutcome::Refuse)
            continue;
        TAnalysisModel& e = checks.Model;
        TAnalysisModel& nudged = nudgedChecks.Model;
        ++searched;
        // The generated designs above hold such faces too, and test the
        // thread count; here one and two threads share the work.
        const TCriticalSearch one = SearchBounded(e, 1);
        const TCriticalSearch moved = SearchBounded(nudged, 2);
        ASSERT_FALSE(one.Cancelled || moved.Cancelled) << "no end in sight";

        const TSearchResult& best = one.Result;
        ASSERT_EQ(best.Verdict, TCircleVerdict::Valid);
        ASSERT_GT(best.R, 0);
        ASSERT_EQ(moved.Result.Verdict, TCircleVerdict::Valid);
        EXPECT_TRUE(std::isfinite(best.Fs));
        EXPECT_NEAR(moved.Result.Fs, best.Fs, 0.01 * std::fabs(best.Fs))
            << "a 1e-6 m nudge of the face";

        const TCircleEvaluation c = test::EvaluateAll(e, {best.Xo, best.Yo, best.R});
        const std::vector<TSliceRow>& rows = c.Rows;
        ASSERT_EQ(c.Verdict, TCircleVerdict::Valid);
        EXPECT_EQ(Bits(c.Fs), Bits(best.Fs));
        for (const TSliceRow& row : rows) {
            EXPECT_TRUE(Finite(row)) << "slice " << row.No;
            // A layer's share of a slice may come out a little below zero
            // where its boundary crosses the slip surface inside the slice
            // (the areas are taken from the centre line), but no slice as a
            // whole weighs less than nothing.
            EXPECT_GE(row.W, 0) << "slice " << row.No;
        }
    }
    EXPECT_GE(searched * 2, designs);
}

}  // namespace
}  // namespace sorvanta
