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

TResultsState ResultsState(const std::optional<TDesignConditions>& calculated,
                           const TDesignConditions& design) {
    if (!calculated) return TResultsState::None;
    return SameCalculation(*calculated, design) ? TResultsState::Current : TResultsState::Changed;
}

namespace {

TResultsState StateOf(const std::optional<TDesignConditions>& calculated,
                      const TDrawingOptions& drawn, const TAppState& app) {
    const TResultsState state = ResultsState(calculated, RunDesign(app.Design, app.Options));
    if (state != TResultsState::Current) return state;
    TDrawingOptions now = app.Drawing;
    now.PrintMode = drawn.PrintMode;
    return now == drawn ? state : TResultsState::Changed;
}

}  // namespace

TResultsState ResultsState(const TAppState& app) {
    return StateOf(app.ResultsDesign, app.ResultsDrawing, app);
}

TResultsState ArbitraryState(const TAppState& app) {
    return StateOf(app.ArbitraryDesign, app.ArbitraryDrawing, app);
}

void ClearResults(TAppState& app) {
    app.Report = TCalculationReport{};
    app.ResultsDesign.reset();
    app.ArbitraryDesign.reset();
}

bool DesignModified(const TAppState& app) {
    try {
        return DesignFileLines(app.Design) != DesignFileLines(app.SavedDesign);
    } catch (const std::exception&) {
        // A text the file cannot hold: it was typed since, so it is a change.
        return true;
    }
}

}  // namespace sorvanta
