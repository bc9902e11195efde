#pragma once
// The arbitrary point's report: its slice and load tables, lists, judgement
// panel and drawing, from the numbers of the evaluation.

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "run/ArbitraryPoint.h"
#include "run/CalculationReport.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta {

// Writes the evaluated point into `tables` and draws its circle into `chart`
// (axis limits untouched); status 0 leaves the tables and the chart as they
// were. Whatever the status, `chart` is copied into `separate` when given.
TArbitraryOutcome WriteArbitraryReport(const TDesignConditions& design,
                                       const TArbitraryPoint& point, TArbitraryTables& tables,
                                       TChartModel& chart, TChartModel* separate = nullptr,
                                       const TDrawingOptions& drawing = {});

// The same into the calculation report, which keeps the point.
TArbitraryOutcome WriteArbitraryReport(const TDesignConditions& design, TArbitraryPoint point,
                                       TCalculationReport& report, TChartModel* separate = nullptr,
                                       const TDrawingOptions& drawing = {});

// CalculateArbitraryPoint, then its report. Throws ConversionError when the
// design does not convert.
TArbitraryOutcome EvaluateArbitraryPoint(const TDesignConditions& design,
                                         const TAnalysisOptions& options, double xo, double yo,
                                         TArbitraryTables& tables, TChartModel& chart,
                                         TChartModel* separate = nullptr,
                                         const TDrawingOptions& drawing = {});

}  // namespace sorvanta
