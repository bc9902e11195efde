#pragma once
// The charts of the uncertainty studies, as chart models any canvas paints:
// the spider plot and the tornado of a sensitivity study, the histogram and
// the cumulative curve of Fs and the convergence of Pf of a probability study.

#include "run/Probability.h"
#include "views/ChartModel.h"

namespace sorvanta {

// The input's name in the charts and tables: "1層目 c", "2層目 φ", "地下水位".
[[nodiscard]] std::string VariationName(const TVariation& variation);

// Fs against the relative change (%), one line per input.
[[nodiscard]] TChartModel SensitivitySpider(const TSensitivityResult& result);
// The range of Fs per input, widest at the top, about the design's Fs.
[[nodiscard]] TChartModel SensitivityTornado(const TSensitivityResult& result);
// The histogram of Fs (as relative frequencies) with its cumulative curve.
[[nodiscard]] TChartModel FsHistogram(const TProbabilityResult& result);
// Pf against the number of samples.
[[nodiscard]] TChartModel PfConvergence(const TProbabilityResult& result);

// The studies' results in words, a line each, as the command prints them and
// the windows show them.
[[nodiscard]] std::vector<std::string> SensitivitySummaryLines(const TSensitivityResult& result,
                                                               double range);
[[nodiscard]] std::vector<std::string> ProbabilitySummaryLines(
    const TProbabilityResult& result, const std::optional<TFosmResult>& fosm, bool latin,
    int samples, std::uint64_t seed);

}  // namespace sorvanta
