#pragma once
// What a front end holds: the one design, the preview of its section, the
// calculation report of the last run, and how runs are carried out. The
// windows edit and show it in place; the batch tool fills it from a file.
// A run overwrites the results.

#include <cstdint>
#include <optional>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "run/CalculationReport.h"
#include "run/RunSettings.h"
#include "views/ChartModel.h"

namespace sorvanta {

struct TAppState {
    TDesignConditions Design;
    TAnalysisOptions Options;  // the run's choices beside the design
    TDrawingOptions Drawing;
    TPreviewAxes Axes = SamplePreviewAxes;  // the preview's ranges after the last load
    TChartModel Preview = MakePreviewChart();
    TCalculationReport Report;
    TRunSettings Settings;

    // The design each part of the report (the run's, the arbitrary point's)
    // was calculated from, as the run read it; unset while it holds its
    // initial texts. An output describes what was calculated, so it is
    // written only while the design and the options still are those.
    std::optional<TDesignConditions> ResultsDesign;
    std::optional<TDesignConditions> ArbitraryDesign;
    // The options each part was calculated with (read beside the design).
    TAnalysisOptions ResultsOptions;
    TAnalysisOptions ArbitraryOptions;
    // The slice lines and numbers each part's chart was drawn with.
    TDrawingOptions ResultsDrawing;
    TDrawingOptions ArbitraryDrawing;
    // The design as it was last started with, loaded or saved: what a save
    // would keep.
    TDesignConditions SavedDesign;
    TAnalysisOptions SavedOptions;  // the options the file kept with it
};

enum class TResultsState : std::uint8_t {
    None,     // nothing calculated
    Current,  // calculated from the design as it stands
    Changed,  // calculated, but the design has been edited since
};

// Whether two designs give the same calculation and documents: every field
// but DesignName (a save after the run renames, it does not change the run)
// and ShowCalculationProcess (how the search is watched).
[[nodiscard]] bool SameCalculation(const TDesignConditions& a, const TDesignConditions& b);
// The same of two sets of options: every option but ContourMeshCount, which
// no run reads.
[[nodiscard]] bool SameCalculation(const TAnalysisOptions& a, const TAnalysisOptions& b);
[[nodiscard]] TResultsState ResultsState(const std::optional<TDesignConditions>& calculated,
                                         const TDesignConditions& design);
// The state of the run's records and of the arbitrary point's against the
// front end's design, options and drawing options as they stand (the print
// colour aside: no drawing option changes a calculation, but the charts were
// drawn with the slice lines and numbers).
[[nodiscard]] TResultsState ResultsState(const TAppState& app);
[[nodiscard]] TResultsState ArbitraryState(const TAppState& app);

// The report back to its initial state, as at start-up.
void ClearResults(TAppState& app);

// The design differs from the one last started with, loaded or saved in a
// field its file keeps, or in an option the file keeps with it (fields and
// options the file does not hold are never saved).
[[nodiscard]] bool DesignModified(const TAppState& app);

}  // namespace sorvanta
