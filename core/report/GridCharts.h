#pragma once
// The two optional steps of a run that map the minimum safety factor over a
// field of circle centres above the slope, drawn: the grid-point labels and
// the contour lines. Both append to the "安全率" series of the result chart
// and of the arbitrary-point chart, the same points to both.

#include <cstdint>
#include <vector>

#include "design/DesignConditions.h"
#include "run/CalculationRun.h"
#include "views/ChartModel.h"

namespace sorvanta {

enum class TStepOutcome : std::uint8_t {
    Done,
    Skipped,    // nothing to map: no usable mesh count or no ground surface
    Cancelled,  // stopped through the progress interface; what was appended stays
};

// The labels of the grid points, column by column: "×" in black without a
// valid circle, the factor in "0.00" in its band colour, "∞" in blue for
// level ground only. Both series get plus-sign markers once the step ran.
void DrawGridFactors(const TGridStep& step, TChartModel& result, TChartModel& arbitrary);
// The iso-lines as pairs of points labelled " " in the level's colour (no
// line joins them; the markers become 1 × 1 plus signs).
void DrawContours(const std::vector<TContourSegment>& segments, TChartModel& result,
                  TChartModel& arbitrary);

// Grid points: builds a fresh model from the design and the analysis options
// (ConversionError when a text does not convert) and, with N = their
// GridFsMeshCount and pitch p = |X_last − X_first| / N over the ground
// surface, labels every centre (X_first + i·p, Y_min + j·p), i = 1 … N − 1
// (columns, left to right), j = 1 … N (rows, upwards). Progress: maximum N,
// one step per column.
TStepOutcome AppendGridPointFactors(const TDesignConditions& design,
                                    const TAnalysisOptions& analysis, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options = {});
// The same on a model already built.
TStepOutcome AppendGridPointFactors(const TAnalysisModel& model, int meshCount, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options = {});

// Contours on the run's model: the best |Fs| at the 40 × 40 nodes
// (X_first + i·q, Y_min + j·q), q = |X_last − X_first| / 40, then the
// iso-lines of the ten levels. Progress: maximum 42, one step per column of
// nodes.
TStepOutcome AppendContours(const TAnalysisModel& model, TChartModel& result,
                            TChartModel& arbitrary, const TSearchOptions& options = {});

}  // namespace sorvanta
