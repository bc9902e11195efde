#pragma once
// The application's one design, its result records and its charts. The
// windows edit and show them in place; a calculation run overwrites the
// results.

#include "design/DesignConditions.h"
#include "engine/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta::gui {

struct TAppContext {
    TDesignConditions Design;
    TChartModel Preview = MakePreviewChart();
    TResultTables Results;
    TArbitraryTables Arbitrary;
    TChartModel ResultChart = MakeResultChart();
    TChartModel ArbitraryChart = MakeArbitraryChart();
};

}  // namespace sorvanta::gui
