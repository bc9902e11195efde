#include "run/Probability.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

#include "engine/CircleCache.h"
#include "engine/Parallel.h"
#include "engine/Progress.h"
#include "engine/Search.h"

namespace sorvanta {

namespace {

constexpr double Degree = std::numbers::pi / 180;
constexpr double Infinity = std::numeric_limits<double>::infinity();

std::uint64_t Mix(std::uint64_t x) {
    // SplitMix64's finaliser.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Key(std::uint64_t seed, std::uint64_t a, std::uint64_t b) {
    return Mix(Mix(Mix(seed) ^ a) ^ (b * 0xD1B54A32D192ED03ull));
}

// A number in (0, 1) from 53 random bits.
double Unit(std::uint64_t bits) {
    return (static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53;
}

// A keyed bijection of [0, n): a balanced Feistel network on the smallest
// even number of bits that holds n, walking the cycle until it lands below n.
// Latin hypercube strata without a table of n entries.
std::uint64_t Permute(std::uint64_t index, std::uint64_t n, std::uint64_t key) {
    int bits = 2;
    while ((std::uint64_t{1} << bits) < n) bits += 2;
    const int half = bits / 2;
    const std::uint64_t mask = (std::uint64_t{1} << half) - 1;
    std::uint64_t x = index;
    do {
        std::uint64_t left = x >> half, right = x & mask;
        for (std::uint64_t round = 0; round < 4; ++round) {
            const std::uint64_t next = left ^ (Key(key, round, right) & mask);
            left = right;
            right = next;
        }
        x = (left << half) | right;
    } while (x >= n);
    return x;
}

struct TRange {
    double Low = -Infinity;
    double High = Infinity;
};

TRange PhysicalRange(TVariedInput input) {
    switch (input) {
        case TVariedInput::Cohesion:
        case TVariedInput::TanPhi:
            return {0, Infinity};
        case TVariedInput::Phi:
            return {0, std::nextafter(90.0, 0.0)};
        case TVariedInput::GammaT:
            return {std::numeric_limits<double>::min(), Infinity};
        case TVariedInput::WaterLevel:
            return {};
    }
    return {};
}

// Lognormal parameters of the logarithm from the mean and the deviation.
std::pair<double, double> LogParameters(double mean, double sd) {
    const double s2 = std::log1p((sd / mean) * (sd / mean));
    return {std::log(mean) - s2 / 2, std::sqrt(s2)};
}

// Streaming mean and variance.
struct TMoments {
    long long N = 0;
    double Mean = 0;
    double M2 = 0;
    void Add(double x) {
        ++N;
        const double d = x - Mean;
        Mean += d / static_cast<double>(N);
        M2 += d * (x - Mean);
    }
    [[nodiscard]] double Variance() const { return N > 1 ? M2 / static_cast<double>(N - 1) : 0; }
};

// The sample count after `at` in 10, 20, 50, 100, 200, 500, …
std::uint64_t NextReport(std::uint64_t at) {
    std::uint64_t p = 1;
    while (p * 10 <= at) p *= 10;
    const std::uint64_t digit = at / p;
    return (digit < 2 ? 2 : digit < 5 ? 5 : 10) * p;
}

// The circle caches of a study's workers, one each, made on first use.
class TStudyCaches {
  public:
    TStudyCaches(const TAnalysisModel& base, int workers, bool used)
        : base_(base), caches_(used ? static_cast<std::size_t>(workers) : 0) {}
    TCircleCache* For(int worker) {
        if (caches_.empty()) return nullptr;
        std::unique_ptr<TCircleCache>& cache = caches_[static_cast<std::size_t>(worker)];
        if (!cache) cache = std::make_unique<TCircleCache>(base_);
        return cache.get();
    }

  private:
    const TAnalysisModel& base_;
    std::vector<std::unique_ptr<TCircleCache>> caches_;
};

// Varied inputs that leave every circle's slices as they are.
bool StrengthOnly(const TVariations& variations) {
    return std::all_of(variations.Inputs.begin(), variations.Inputs.end(), [](const TVariation& v) {
        return v.Input == TVariedInput::Cohesion || v.Input == TVariedInput::Phi ||
               v.Input == TVariedInput::TanPhi;
    });
}

// CriticalFactor on one thread, taking circles from `cache` where it serves.
std::optional<double> StudyFactor(const TAnalysisModel& model, TCircleCache* cache);

double FsOrNan(const std::optional<double>& fs) {
    return fs ? *fs : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

double NormalCdf(double z) {
    return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}

double NormalQuantile(double p) {
    if (!(p > 0)) return -Infinity;
    if (!(p < 1)) return Infinity;
    // Acklam's rational approximation, then one Halley step on the exact
    // distribution function.
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                                   -2.759285104469687e+02, 1.383577518672690e+02,
                                   -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                                   -1.556989798598866e+02, 6.680131188771972e+01,
                                   -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                                   -2.400758277161838e+00, -2.549732539343734e+00,
                                   4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01,
                                   2.445134137142996e+00, 3.754408661907416e+00};
    constexpr double low = 0.02425;
    double x = 0;
    if (p < low) {
        const double q = std::sqrt(-2 * std::log(p));
        x = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    } else if (p <= 1 - low) {
        const double q = p - 0.5;
        const double r = q * q;
        x = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
            (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
    } else {
        const double q = std::sqrt(-2 * std::log1p(-p));
        x = -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    }
    const double e = NormalCdf(x) - p;
    const double u = e * std::sqrt(2 * std::numbers::pi) * std::exp(x * x / 2);
    return x - u / (1 + x * u / 2);
}

double VariedValue(const TVariation& v, double u) {
    const TRange range = PhysicalRange(v.Input);
    const TDistribution& dist = v.Distribution;
    switch (dist.Kind) {
        case TDistributionKind::Uniform: {
            const double low = std::max(dist.A, range.Low);
            const double high = std::min(dist.B, range.High);
            return high > low ? low + u * (high - low) : low;
        }
        case TDistributionKind::Normal: {
            if (!(dist.B > 0)) return std::clamp(dist.A, range.Low, range.High);
            const double lo = NormalCdf((range.Low - dist.A) / dist.B);
            const double hi = NormalCdf((range.High - dist.A) / dist.B);
            return std::clamp(dist.A + dist.B * NormalQuantile(lo + u * (hi - lo)), range.Low,
                              range.High);
        }
        case TDistributionKind::Lognormal: {
            if (!(dist.B > 0)) return std::clamp(dist.A, range.Low, range.High);
            const auto [mu, sigma] = LogParameters(dist.A, dist.B);
            const double hi =
                range.High < Infinity ? NormalCdf((std::log(range.High) - mu) / sigma) : 1.0;
            return std::min(std::exp(mu + sigma * NormalQuantile(u * hi)), range.High);
        }
    }
    return dist.A;
}

std::pair<double, double> VariationMoments(const TVariation& v) {
    const TDistribution& d = v.Distribution;
    if (d.Kind == TDistributionKind::Uniform)
        return {(d.A + d.B) / 2, (d.B - d.A) / std::sqrt(12.0)};
    return {d.A, d.B};
}

std::optional<std::string> VariationsProblem(const TAnalysisModel& model,
                                             const TVariations& variations) {
    for (const TVariation& v : variations.Inputs) {
        if (v.Input == TVariedInput::WaterLevel) {
            if (!model.WaterOn)
                return std::string("地下水が指定されていないため、water は使えません。");
        } else if (v.Layer >= model.LayersInUse()) {
            return std::to_string(v.Layer + 1) + "層目は有りません（" + VariationKey(v) + "）。";
        }
    }
    for (const TCorrelation& c : variations.Correlations) {
        bool cohesion = false, friction = false;
        for (const TVariation& v : variations.Inputs) {
            if (v.Layer != c.Layer || v.Input == TVariedInput::WaterLevel) continue;
            cohesion = cohesion || v.Input == TVariedInput::Cohesion;
            friction = friction || v.Input == TVariedInput::Phi || v.Input == TVariedInput::TanPhi;
        }
        if (!cohesion || !friction)
            return "rho" + std::to_string(c.Layer + 1) +
                   " には同じ層の c と phi（または tanphi）の指定が要ります。";
    }
    if (variations.Inputs.empty()) return std::string("ばらつかせる値が有りません。");
    return std::nullopt;
}

TVariations DefaultVariations(const TAnalysisModel& model) {
    TVariations out;
    for (int k = 0; k < model.LayersInUse(); ++k) {
        const TSoilValues& soil = model.Soil[static_cast<std::size_t>(k)];
        if (soil.C > 0)
            out.Inputs.push_back(
                {TVariedInput::Cohesion,
                 k,
                 {TDistributionKind::Lognormal, soil.C, DefaultCohesionCov * soil.C}});
        const double tanPhi = std::tan(soil.Phi);
        if (tanPhi > 0)
            out.Inputs.push_back(
                {TVariedInput::TanPhi,
                 k,
                 {TDistributionKind::Lognormal, tanPhi, DefaultTanPhiCov * tanPhi}});
    }
    return out;
}

TAnalysisModel VariedModel(const TAnalysisModel& model, const TVariations& variations,
                           const std::vector<double>& values) {
    TAnalysisModel varied = model;
    for (std::size_t i = 0; i < variations.Inputs.size(); ++i) {
        const TVariation& v = variations.Inputs[i];
        const double x = values[i];
        TSoilValues* soil = v.Input == TVariedInput::WaterLevel
                                ? nullptr
                                : &varied.Soil[static_cast<std::size_t>(v.Layer)];
        switch (v.Input) {
            case TVariedInput::Cohesion:
                soil->C = x;
                break;
            case TVariedInput::Phi:
                soil->Phi = x * Degree;
                break;
            case TVariedInput::TanPhi:
                soil->Phi = std::atan(x);
                break;
            case TVariedInput::GammaT:
                soil->GammaT = x;
                break;
            case TVariedInput::WaterLevel: {
                TPolyline water = varied.Figures[fkWater];
                for (TPoint& p : water) p.Y += x;
                varied.SetFigure(fkWater, std::move(water));
                break;
            }
        }
    }
    varied.RefreshLookups();
    return varied;
}

namespace {

std::optional<double> CriticalFactorWith(const TAnalysisModel& model,
                                         const TSearchOptions& options) {
    const TCriticalSearch search = SearchCriticalCircle(model, options);
    if (search.Result.Verdict != TCircleVerdict::Valid || search.Result.R == 0) return std::nullopt;
    return std::fabs(search.Result.Fs);
}

std::optional<double> StudyFactor(const TAnalysisModel& model, TCircleCache* cache) {
    TSearchOptions options;
    options.Threads = 1;
    options.Cache = cache;
    return CriticalFactorWith(model, options);
}

}  // namespace

std::optional<double> CriticalFactor(const TAnalysisModel& model, int threads) {
    TSearchOptions options;
    options.Threads = threads;
    return CriticalFactorWith(model, options);
}

std::vector<double> SampledValues(const TVariations& variations, const TProbabilityOptions& options,
                                  std::uint64_t index) {
    const std::size_t dims = variations.Inputs.size();
    const auto n = static_cast<std::uint64_t>(std::max(options.Samples, 1));
    // Correlated pairs: the friction input's index for each cohesion's.
    std::vector<std::pair<std::size_t, double>> partner(dims, {dims, 0.0});
    for (const TCorrelation& c : variations.Correlations) {
        std::size_t ci = dims, fi = dims;
        for (std::size_t i = 0; i < dims; ++i) {
            const TVariation& v = variations.Inputs[i];
            if (v.Layer != c.Layer || v.Input == TVariedInput::WaterLevel) continue;
            if (v.Input == TVariedInput::Cohesion) ci = i;
            if (v.Input == TVariedInput::Phi || v.Input == TVariedInput::TanPhi) fi = i;
        }
        if (ci < dims && fi < dims) partner[fi] = {ci, c.Rho};
    }
    std::vector<double> z(dims), values(dims);
    for (std::size_t d = 0; d < dims; ++d) {
        double u = Unit(Key(options.Seed, index, d));
        if (options.LatinHypercube) {
            const std::uint64_t stratum =
                Permute(index, n, Key(options.Seed, ~std::uint64_t{0}, d));
            u = (static_cast<double>(stratum) + u) / static_cast<double>(n);
        }
        z[d] = NormalQuantile(u);
    }
    for (std::size_t d = 0; d < dims; ++d) {
        double zd = z[d];
        if (partner[d].first < dims) {
            const double rho = partner[d].second;
            zd = rho * z[partner[d].first] + std::sqrt(1 - rho * rho) * zd;
        }
        values[d] = VariedValue(variations.Inputs[d], NormalCdf(zd));
    }
    return values;
}

TProbabilityResult ProbabilityOfFailure(const TAnalysisModel& model, const TVariations& variations,
                                        const TProbabilityOptions& options) {
    TProbabilityResult result;
    const auto n = static_cast<std::uint64_t>(std::max(options.Samples, 0));
    auto sampleValues = [&](std::uint64_t index) {
        return SampledValues(variations, options, index);
    };

    const int workers = WorkerCount(1 << 20, options.Threads);
    const std::uint64_t block = static_cast<std::uint64_t>(workers) * 16;
    TMoments moments;
    std::uint64_t nextReport = 10;
    if (options.Progress) {
        options.Progress->SetMaximum(static_cast<int>((n + block - 1) / block));
        options.Progress->SetPosition(0);
    }
    TStudyCaches caches(model, workers, TCircleCache::Applies(model) && StrengthOnly(variations));
    std::vector<double> fs;
    for (std::uint64_t start = 0; start < n; start += block) {
        if (options.Progress && options.Progress->Cancelled()) {
            result.Cancelled = true;
            break;
        }
        const std::uint64_t count = std::min(block, n - start);
        fs.assign(count, 0);
        ParallelFor(static_cast<int>(count), options.Threads, [&](int worker, int i) {
            const std::uint64_t index = start + static_cast<std::uint64_t>(i);
            fs[static_cast<std::size_t>(i)] = FsOrNan(StudyFactor(
                VariedModel(model, variations, sampleValues(index)), caches.For(worker)));
        });
        for (std::uint64_t i = 0; i < count; ++i) {
            const double f = fs[i];
            if (std::isnan(f)) {
                ++result.NoCircle;
            } else {
                moments.Add(f);
                if (f < 1) ++result.Failures;
                const auto bin = static_cast<std::size_t>(
                    std::clamp(std::floor(f / result.HistogramWidth), 0.0,
                               static_cast<double>(result.Histogram.size() - 1)));
                ++result.Histogram[bin];
            }
            const std::uint64_t done = start + i + 1;
            if (done == nextReport || done == n) {
                const double samples = static_cast<double>(moments.N);
                result.Convergence.emplace_back(static_cast<int>(done),
                                                samples > 0 ? result.Failures / samples : 0.0);
                while (nextReport <= done) nextReport = NextReport(nextReport);
            }
        }
        if (options.Progress) options.Progress->Step();
    }

    result.Samples = static_cast<int>(moments.N);
    result.Mean = moments.Mean;
    result.StandardDeviation = std::sqrt(moments.Variance());
    if (result.Samples > 0) {
        const double N = result.Samples;
        const double p = result.Failures / N;
        result.Pf = p;
        // Wilson's interval for a binomial proportion, 95 %.
        const double z = 1.959963984540054;
        const double centre = (p + z * z / (2 * N)) / (1 + z * z / N);
        const double half = z * std::sqrt(p * (1 - p) / N + z * z / (4 * N * N)) / (1 + z * z / N);
        // The interval holds p itself even where rounding puts an end past it.
        result.PfLow = std::clamp(centre - half, 0.0, p);
        result.PfHigh = std::clamp(centre + half, p, 1.0);
        const double sd = result.StandardDeviation;
        if (sd > 0) {
            result.BetaNormal = (result.Mean - 1) / sd;
            const double v = sd / result.Mean;
            const double s2 = std::log1p(v * v);
            result.BetaLognormal = std::log(result.Mean / std::sqrt(1 + v * v)) / std::sqrt(s2);
        }
    }
    return result;
}

std::optional<TFosmResult> Fosm(const TAnalysisModel& model, const TVariations& variations,
                                int threads) {
    const std::size_t dims = variations.Inputs.size();
    std::vector<double> means(dims), sds(dims);
    for (std::size_t i = 0; i < dims; ++i)
        std::tie(means[i], sds[i]) = VariationMoments(variations.Inputs[i]);
    // Point 0 at the means; then each input at its mean − σ and + σ.
    const int points = static_cast<int>(2 * dims + 1);
    std::vector<double> fs(static_cast<std::size_t>(points));
    TStudyCaches caches(model, WorkerCount(points, threads),
                        TCircleCache::Applies(model) && StrengthOnly(variations));
    ParallelFor(points, threads, [&](int worker, int k) {
        std::vector<double> values = means;
        if (k > 0) {
            const auto i = static_cast<std::size_t>((k - 1) / 2);
            const double sign = (k - 1) % 2 == 0 ? -1.0 : 1.0;
            const TRange range = PhysicalRange(variations.Inputs[i].Input);
            values[i] = std::clamp(means[i] + sign * sds[i], range.Low, range.High);
        }
        fs[static_cast<std::size_t>(k)] =
            FsOrNan(StudyFactor(VariedModel(model, variations, values), caches.For(worker)));
    });
    if (std::any_of(fs.begin(), fs.end(), [](double f) { return std::isnan(f); }))
        return std::nullopt;
    TFosmResult r;
    r.FsAtMeans = fs[0];
    r.Delta.resize(dims);
    for (std::size_t i = 0; i < dims; ++i) r.Delta[i] = (fs[2 * i + 2] - fs[2 * i + 1]) / 2;
    double variance = 0;
    for (std::size_t i = 0; i < dims; ++i) variance += r.Delta[i] * r.Delta[i];
    for (const TCorrelation& c : variations.Correlations) {
        for (std::size_t i = 0; i < dims; ++i) {
            for (std::size_t j = 0; j < dims; ++j) {
                const TVariation& a = variations.Inputs[i];
                const TVariation& b = variations.Inputs[j];
                if (a.Layer != c.Layer || b.Layer != c.Layer || a.Input != TVariedInput::Cohesion)
                    continue;
                if (b.Input == TVariedInput::Phi || b.Input == TVariedInput::TanPhi)
                    variance += 2 * c.Rho * r.Delta[i] * r.Delta[j];
            }
        }
    }
    r.StandardDeviation = std::sqrt(std::max(variance, 0.0));
    r.Beta = r.StandardDeviation > 0 ? (r.FsAtMeans - 1) / r.StandardDeviation : Infinity;
    return r;
}

TSensitivityResult Sensitivity(const TAnalysisModel& model, double range, int steps, int threads,
                               TProgress* progress) {
    TSensitivityResult result;
    steps = std::max(steps, 2);
    double groundHeight = 0;
    if (!model.Ground().empty()) {
        const auto [low, high] =
            std::minmax_element(model.Ground().begin(), model.Ground().end(),
                                [](const TPoint& a, const TPoint& b) { return a.Y < b.Y; });
        groundHeight = high->Y - low->Y;
    }
    for (int k = 0; k < model.LayersInUse(); ++k) {
        const TSoilValues& soil = model.Soil[static_cast<std::size_t>(k)];
        result.Lines.push_back({{TVariedInput::Cohesion, k, {}}, soil.C, {}, {}, {}});
        result.Lines.push_back({{TVariedInput::Phi, k, {}}, soil.Phi / Degree, {}, {}, {}});
        result.Lines.push_back({{TVariedInput::GammaT, k, {}}, soil.GammaT, {}, {}, {}});
    }
    if (model.WaterOn) result.Lines.push_back({{TVariedInput::WaterLevel, 0, {}}, 0, {}, {}, {}});
    for (TSensitivityLine& line : result.Lines) {
        for (int s = 0; s < steps; ++s) {
            const double change = -range + 2 * range * s / (steps - 1);
            line.Change.push_back(change);
            line.Values.push_back(line.Input.Input == TVariedInput::WaterLevel
                                      ? change * groundHeight
                                      : line.Base * (1 + change));
        }
        line.Fs.resize(static_cast<std::size_t>(steps));
    }
    const int lines = static_cast<int>(result.Lines.size());
    const int points = lines * steps + 1;
    std::vector<double> fs(static_cast<std::size_t>(points),
                           std::numeric_limits<double>::quiet_NaN());
    if (progress) {
        progress->SetMaximum(points);
        progress->SetPosition(0);
    }
    // The lines of c and φ share the circles of the design's own point.
    TStudyCaches caches(model, WorkerCount(1 << 20, threads), TCircleCache::Applies(model));
    auto point = [&](int worker, int p) {
        if (p == points - 1) return FsOrNan(StudyFactor(model, caches.For(worker)));
        const TSensitivityLine& line = result.Lines[static_cast<std::size_t>(p / steps)];
        TVariations one;
        one.Inputs.push_back(line.Input);
        return FsOrNan(
            StudyFactor(VariedModel(model, one, {line.Values[static_cast<std::size_t>(p % steps)]}),
                        caches.For(worker)));
    };
    // In blocks, so that progress is told on this thread; the design's own
    // point first, so that a stopped study still has it.
    const int block = 2 * WorkerCount(1 << 20, threads);
    for (int start = 0; start < points; start += block) {
        if (progress && progress->Cancelled()) break;
        const int count = std::min(block, points - start);
        ParallelFor(count, threads, [&](int worker, int i) {
            if (progress && progress->Cancelled()) return;
            const int p = (start + i + points - 1) % points;
            fs[static_cast<std::size_t>(p)] = point(worker, p);
        });
        if (progress) progress->SetPosition(start + count);
    }
    result.Cancelled = progress && progress->Cancelled();
    for (int p = 0; p + 1 < points; ++p) {
        const double f = fs[static_cast<std::size_t>(p)];
        if (!std::isnan(f))
            result.Lines[static_cast<std::size_t>(p / steps)]
                .Fs[static_cast<std::size_t>(p % steps)] = f;
    }
    if (!std::isnan(fs.back())) result.BaseFs = fs.back();
    return result;
}

}  // namespace sorvanta
