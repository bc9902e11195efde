#pragma once
// Studies of a design's uncertainty, each point a full critical-circle
// search (the critical circle moves with the inputs): the probability of
// failure by Monte Carlo or Latin hypercube sampling, the first-order
// second-moment reliability index, and the sensitivity of Fs to each input.
// Results are the same for a seed whatever the thread count: every sample's
// random numbers come from the seed and the sample's index alone, and the
// statistics are gathered in sample order, block by block, so memory stays
// flat in the number of samples.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "design/Variations.h"
#include "engine/AnalysisModel.h"

namespace sorvanta {

class TProgress;

// The standard normal distribution and its inverse (full double precision).
[[nodiscard]] double NormalCdf(double z);
[[nodiscard]] double NormalQuantile(double p);

// The value of a variation for the probability u in (0, 1), its
// distribution truncated to the input's physical range (c, tanφ ≥ 0,
// 0 ≤ φ < 90°, γt > 0).
[[nodiscard]] double VariedValue(const TVariation& variation, double u);
// Mean and standard deviation of a variation's distribution (untruncated).
[[nodiscard]] std::pair<double, double> VariationMoments(const TVariation& variation);

// Why a model cannot take the variations (a layer not in use, the water
// level without groundwater); nothing when it can.
[[nodiscard]] std::optional<std::string> VariationsProblem(const TAnalysisModel& model,
                                                           const TVariations& variations);

// c and tanφ of every layer in use, lognormal about the design's values with
// the coefficients of variation below; layers without cohesion or friction
// are left as they are.
inline constexpr double DefaultCohesionCov = 0.30;
inline constexpr double DefaultTanPhiCov = 0.10;
[[nodiscard]] TVariations DefaultVariations(const TAnalysisModel& model);

// The model with the inputs set to `values` (one per variations.Inputs).
[[nodiscard]] TAnalysisModel VariedModel(const TAnalysisModel& model, const TVariations& variations,
                                         const std::vector<double>& values);

// |Fs| of the model's critical circle; nothing when no circle qualifies.
[[nodiscard]] std::optional<double> CriticalFactor(const TAnalysisModel& model, int threads = 1);

struct TProbabilityOptions {
    int Samples = 1000;
    std::uint64_t Seed = 1;
    bool LatinHypercube = false;
    int Threads = 0;                // 0: every core
    TProgress* Progress = nullptr;  // a step per block; cancellation
};

struct TProbabilityResult {
    int Samples = 0;   // with a critical circle
    int NoCircle = 0;  // without one, left out of the statistics
    int Failures = 0;  // Fs < 1
    double Mean = 0;
    double StandardDeviation = 0;
    double Pf = 0;
    double PfLow = 0, PfHigh = 0;  // 95 % (Wilson)
    double BetaNormal = 0;         // (μ − 1) / σ
    double BetaLognormal = 0;      // ln(μ / √(1 + V²)) / √ln(1 + V²)
    // Fs in bins of HistogramWidth from 0; the last bin holds everything
    // beyond. Fine enough for narrow spreads; the charts merge bins.
    double HistogramWidth = 0.01;
    std::vector<long long> Histogram = std::vector<long long>(500, 0);
    // Pf after 10, 20, 50, 100, 200, 500, … samples, and after all.
    std::vector<std::pair<int, double>> Convergence;
    bool Cancelled = false;
};

// The inputs of sample `index`: one value per variations.Inputs.
[[nodiscard]] std::vector<double> SampledValues(const TVariations& variations,
                                                const TProbabilityOptions& options,
                                                std::uint64_t index);

[[nodiscard]] TProbabilityResult ProbabilityOfFailure(const TAnalysisModel& model,
                                                      const TVariations& variations,
                                                      const TProbabilityOptions& options);

// First-order second-moment: Fs at the means and at each mean ± one standard
// deviation (the others at their means); σF² = Σ ρij·ΔFi·ΔFj with
// ΔFi = (F(μi + σi) − F(μi − σi)) / 2; β = (F(μ) − 1) / σF.
struct TFosmResult {
    double FsAtMeans = 0;
    double StandardDeviation = 0;
    double Beta = 0;
    std::vector<double> Delta;  // ΔFi per input
};
[[nodiscard]] std::optional<TFosmResult> Fosm(const TAnalysisModel& model,
                                              const TVariations& variations, int threads = 0);

// Sensitivity: each of c, φ, γt of every layer in use and the water level
// (with groundwater) varied over ±range in `steps` steps, the others as
// designed. The water level moves by the fraction times the height of the
// ground surface (its highest point less its lowest).
struct TSensitivityLine {
    TVariation Input;            // which input (its distribution unused)
    double Base = 0;             // the design's value (0 for the water level's shift)
    std::vector<double> Change;  // relative change, −range … +range
    std::vector<double> Values;
    std::vector<std::optional<double>> Fs;
};
struct TSensitivityResult {
    std::optional<double> BaseFs;
    std::vector<TSensitivityLine> Lines;
    bool Cancelled = false;
};
[[nodiscard]] TSensitivityResult Sensitivity(const TAnalysisModel& model, double range = 0.2,
                                             int steps = 11, int threads = 0,
                                             TProgress* progress = nullptr);

}  // namespace sorvanta
