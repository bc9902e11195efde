#pragma once
// How a run is carried out, beside the design it runs: the same record for
// the desktop program and the batch tool.

#include <optional>
#include <string>

#include "design/AnalysisOptions.h"

namespace sorvanta {

struct TRunSettings {
    // Worker threads of the search; 0: every core. Never changes a result.
    int Threads = 0;

    // Options that a front end may set for a run (the batch tool's options);
    // unset keeps what the options records hold.
    std::optional<TSlipDirection> SlipDirection;
    std::optional<TFsForm> StressDisplay;
    std::optional<std::string> GridFsMeshCount;  // set: grid points on, with this mesh count
    std::optional<bool> ContourEnabled;
    std::optional<bool> ShowSliceLines;
    std::optional<bool> ShowSliceNumbers;
};

// Writes the settings that are set into the options.
void ApplyRunSettings(const TRunSettings& settings, TAnalysisOptions& options,
                      TDrawingOptions& drawing);

}  // namespace sorvanta
