#pragma once
// The calculation report: what the windows show and every document is written
// from (text file, printout, PDF, JSON, batch summary, figures), for the last
// run and the arbitrary point picked after it. A run and an arbitrary point
// overwrite the members they write; a new report holds the initial texts and
// empty charts.

#include <memory>
#include <optional>

#include "run/ArbitraryPoint.h"
#include "run/CalculationRun.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta {

struct TCalculationReport {
    TResultTables Results;       // Ⅰ to Ⅴ of the critical circle
    TArbitraryTables Arbitrary;  // Ⅲ to Ⅴ of the arbitrary point
    TChartModel ResultChart = MakeResultChart();
    TChartModel ArbitraryChart = MakeArbitraryChart();
    // The numbers the tables quote: the last run that wrote them, and the
    // arbitrary point they show (unset while they show the critical circle).
    TRunResult Run;
    std::optional<TArbitraryPoint> ArbitraryPoint;
    // 検討ケース 両方: the 地震時 run's own report (its Run, tables and
    // charts) beside this one, the 常時 case's. Shared: it is written once.
    std::shared_ptr<const TCalculationReport> SeismicCase;
};

}  // namespace sorvanta
