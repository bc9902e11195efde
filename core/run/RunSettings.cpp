#include "run/RunSettings.h"

namespace sorvanta {

void ApplyRunSettings(const TRunSettings& settings, TAnalysisOptions& options,
                      TDrawingOptions& drawing) {
    if (settings.SlipDirection) options.Direction = *settings.SlipDirection;
    if (settings.StressDisplay) options.Form = *settings.StressDisplay;
    if (settings.GridFsMeshCount) {
        options.GridFsEnabled = true;
        options.GridFsMeshCount = *settings.GridFsMeshCount;
    }
    if (settings.ContourEnabled) options.ContourEnabled = *settings.ContourEnabled;
    if (settings.ShowSliceLines) drawing.ShowSliceLines = *settings.ShowSliceLines;
    if (settings.ShowSliceNumbers) drawing.ShowSliceNumbers = *settings.ShowSliceNumbers;
}

}  // namespace sorvanta
