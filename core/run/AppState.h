#pragma once
// What a front end holds: the one design, the preview of its section, the
// last run's result records and charts, and how runs are carried out. The
// windows edit and show it in place; the batch tool fills it from a file.
// A run overwrites the results.

#include "design/DesignConditions.h"
#include "run/ResultTables.h"
#include "run/RunSettings.h"
#include "views/ChartModel.h"

namespace sorvanta {

struct TAppState {
    TDesignConditions Design;
    TPreviewAxes Axes = SamplePreviewAxes;  // the preview's ranges after the last load
    TChartModel Preview = MakePreviewChart();
    TResultTables Results;
    TArbitraryTables Arbitrary;
    TChartModel ResultChart = MakeResultChart();
    TChartModel ArbitraryChart = MakeArbitraryChart();
    TRunSettings Settings;
};

}  // namespace sorvanta
