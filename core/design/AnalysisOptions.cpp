#include "design/AnalysisOptions.h"

namespace sorvanta {

TDesignConditions RunDesign(const TDesignConditions& design, const TAnalysisOptions& options) {
    TDesignConditions run = design;
    run.StressDisplay = static_cast<int>(options.Form);
    run.SlipDirection = static_cast<int>(options.Direction);
    run.GridFsEnabled = options.GridFsEnabled;
    run.GridFsMeshCount = options.GridFsMeshCount;
    run.ContourEnabled = options.ContourEnabled;
    return run;
}

}  // namespace sorvanta
