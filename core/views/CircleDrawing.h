#pragma once
// Draws the section and one slip circle into a slip circle chart (the result
// chart, the arbitrary-point chart), and frames the chart around the circle.

#include <optional>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"
#include "engine/SliceMethod.h"
#include "views/ChartModel.h"

namespace sorvanta {

// Clears and refills series 1 to 12 (rsGround .. rsSlipSurface) from the
// model and the circle's evaluation (its end points and slices: Evaluate with
// TCircleWanted::Slices). "安全率" is not touched.
// The drawing options supply ShowSliceLines and ShowSliceNumbers, the design
// NeverCutLineEnabled, MustCutPointEnabled and the load: while it is on,
// "載荷重" holds its outline and stands in the legend as outside the
// calculation. With `framing` the axes are
// fixed around the circle with equal spans, so a square plot shows it
// undistorted; without it the limits stay as they are.
void DrawCircle(TChartModel& chart, const TAnalysisModel& model, const TSlipCircle& circle,
                const TCircleEvaluation& evaluation, const TDesignConditions& design,
                const TDrawingOptions& drawing, bool framing);

// The framing limits alone, which also become the chart's first view (home):
// bottom from min(Xb, Xo) − 5 to Xe + 5; left from min(y, Yo) − 5 with the
// same span, y being Ye for counter-clockwise slip and Yb otherwise. Where that view would cut the
// drawn circle (its lower arc, its ends, its centre), both axes widen and the left one moves so
// that the whole circle shows with a 5 m margin, the spans still equal.
void FrameCircle(TChartModel& chart, TSlipDirection direction, const TSlipCircle& circle,
                 const TCircleEvaluation& evaluation);

// 計画安全率: the circle needing the largest restraining force, drawn as a
// series after the thirteen ("最大必要抑止力円", dashed, in the legend). It
// is added only while there is such a circle to draw, so that a chart
// without one keeps exactly its thirteen series (and every output its bytes);
// none removes it.
inline constexpr int rsMostForce = ResultSeriesCount;
inline constexpr const char* MostForceSeriesTitle = "最大必要抑止力円";
void DrawMostForceCircle(TChartModel& chart, const TAnalysisModel& model,
                         const std::optional<TSlipCircle>& circle);
void RemoveMostForceCircle(TChartModel& chart);

}  // namespace sorvanta
