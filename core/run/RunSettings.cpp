#include "run/RunSettings.h"

namespace sorvanta {

void ApplyRunSettings(const TRunSettings& settings, TDesignConditions& design) {
    if (settings.SlipDirection) design.SlipDirection = *settings.SlipDirection;
    if (settings.StressDisplay) design.StressDisplay = *settings.StressDisplay;
    if (settings.GridFsMeshCount) {
        design.GridFsEnabled = true;
        design.GridFsMeshCount = *settings.GridFsMeshCount;
    }
    if (settings.ContourEnabled) design.ContourEnabled = *settings.ContourEnabled;
    if (settings.ShowSliceLines) design.ShowSliceLines = *settings.ShowSliceLines;
    if (settings.ShowSliceNumbers) design.ShowSliceNumbers = *settings.ShowSliceNumbers;
}

}  // namespace sorvanta
