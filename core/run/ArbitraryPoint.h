#pragma once
// The arbitrary-point analysis: the most critical circle about a centre the
// user picks, with its slice and load tables, lists, judgement and drawing.

#include <string>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta {

// What the evaluation found about the centre.
struct TArbitraryOutcome {
    int Status = 0;  // 0 no valid circle, 1 a factor, 2 level ground only (∞)
    double Xo = 0, Yo = 0, R = 0;
    double Fs = 0, Resisting = 0, Driving = 0;
    double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    double Theta = 0, Beta = 0, Delta = 0;  // degrees
    // The reason of status 0, never empty: the status text of the last
    // circle tried, "該当する滑り方向の円弧は有りません。" when circles were
    // valid but none in the slip direction, or for a centre about which no
    // circle could be tried, why (outside the ground's width, in the ground,
    // below the never-cut elevation).
    std::string CircleStatus;
    bool operator==(const TArbitraryOutcome&) const = default;
};

// Writes the heading, legend, formula and judgement lists and the judgement
// panel for the outcome, in the moment (form 0) or force form (1). Status 2
// leaves the load legend and formula lists as they were; status 0 empties the
// two heading lists and the judgement list and shows the circle status in red.
void WriteArbitraryTexts(TArbitraryTables& tables, const TArbitraryOutcome& outcome,
                         int displayForm, double requiredFs);

// Evaluates the centre with a fresh model built from the design: the best
// radius (SearchRadius; a radius of exactly 0 counts as no circle), then the
// circle once more into the slice and load tables of `tables`, the lists and
// panel, the drawing into `chart` (axis limits untouched) and, whatever the
// status, the copy of `chart` into `separate` when given. Status 0 leaves the
// tables and the chart as they were. Throws ConversionError when the design
// does not convert.
TArbitraryOutcome EvaluateArbitraryPoint(const TDesignConditions& design, double xo, double yo,
                                         TArbitraryTables& tables, TChartModel& chart,
                                         TChartModel* separate = nullptr,
                                         const TDrawingOptions& drawing = {});

}  // namespace sorvanta
