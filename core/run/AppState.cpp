#include "run/AppState.h"

#include <exception>

#include "design/DesignFile.h"

namespace sorvanta {

bool SameCalculation(const TDesignConditions& a, const TDesignConditions& b) {
    TDesignConditions x = a;
    x.DesignName = b.DesignName;
    x.ShowCalculationProcess = b.ShowCalculationProcess;
    return x == b;
}

bool SameCalculation(const TAnalysisOptions& a, const TAnalysisOptions& b) {
    TAnalysisOptions x = a;
    x.ContourMeshCount = b.ContourMeshCount;
    return x == b;
}

TResultsState ResultsState(const std::optional<TDesignConditions>& calculated,
                           const TDesignConditions& design) {
    if (!calculated) return TResultsState::None;
    return SameCalculation(*calculated, design) ? TResultsState::Current : TResultsState::Changed;
}

namespace {

TResultsState StateOf(const std::optional<TDesignConditions>& calculated,
                      const TAnalysisOptions& options, const TDrawingOptions& drawn,
                      const TAppState& app) {
    const TResultsState state = ResultsState(calculated, app.Design);
    if (state != TResultsState::Current) return state;
    if (!SameCalculation(options, app.Options)) return TResultsState::Changed;
    TDrawingOptions now = app.Drawing;
    now.PrintMode = drawn.PrintMode;
    return now == drawn ? state : TResultsState::Changed;
}

}  // namespace

TResultsState ResultsState(const TAppState& app) {
    return StateOf(app.ResultsDesign, app.ResultsOptions, app.ResultsDrawing, app);
}

TResultsState ArbitraryState(const TAppState& app) {
    return StateOf(app.ArbitraryDesign, app.ArbitraryOptions, app.ArbitraryDrawing, app);
}

void ClearResults(TAppState& app) {
    app.Report = TCalculationReport{};
    app.ResultsDesign.reset();
    app.ArbitraryDesign.reset();
    app.ResultsOptions = TAnalysisOptions{};
    app.ArbitraryOptions = TAnalysisOptions{};
}

bool DesignModified(const TAppState& app) {
    try {
        return DesignFileLines(app.Design, app.Options) !=
               DesignFileLines(app.SavedDesign, app.SavedOptions);
    } catch (const std::exception&) {
        // A text the file cannot hold: it was typed since, so it is a change.
        return true;
    }
}

}  // namespace sorvanta
