#pragma once
// The JSON of the design cases a run checked (常時, 地震時), with the
// restraining force when a planned factor is given: written only when the
// options go beyond the design's own, so ordinary runs keep their bytes.

#include <vector>

#include "cli/Json.h"
#include "design/AnalysisOptions.h"
#include "run/CalculationRun.h"

namespace sorvanta::cli {

// The options ask for more than the 常時 case by the ordinary method: an
// earthquake case, a planned factor, another method or pore-pressure form,
// or the surcharge in the calculation.
[[nodiscard]] bool ReportsCases(const TAnalysisOptions& options);

// One object per run, in the order given.
[[nodiscard]] TJsonValue CasesJson(const std::vector<const TRunResult*>& runs,
                                   const TAnalysisOptions& options);

}  // namespace sorvanta::cli
