#pragma once
// How a run is carried out, beside the design it runs: the same record for
// the desktop program and the batch tool.

#include <optional>
#include <string>

#include "design/DesignConditions.h"

namespace sorvanta {

struct TRunSettings {
    // Worker threads of the search; 0: every core. Never changes a result.
    int Threads = 0;

    // Settings of the design that a front end may set for a run (the batch
    // tool's options); unset keeps what the design holds.
    std::optional<int> SlipDirection;            // 0 clockwise, 1 counter-clockwise, 2 both
    std::optional<int> StressDisplay;            // 0 moment form, 1 force form
    std::optional<std::string> GridFsMeshCount;  // set: grid points on, with this mesh count
    std::optional<bool> ContourEnabled;
    std::optional<bool> ShowSliceLines;
    std::optional<bool> ShowSliceNumbers;
};

// Writes the settings that are set into the design.
void ApplyRunSettings(const TRunSettings& settings, TDesignConditions& design);

}  // namespace sorvanta
