#pragma once
// A calculation of the sample design (or a variant of it), with everything
// the PDF documents are made from.

#include <functional>

#include "design/DesignConditions.h"
#include "report/ArbitraryReport.h"
#include "report/RunReport.h"
#include "run/Checks.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"
#include "views/PreviewChart.h"

namespace sorvanta::pdftest {

struct TSampleCalculation {
    TDesignConditions Design;
    TResultTables Tables;
    TArbitraryTables Arbitrary;
    TChartModel Preview = MakePreviewChart();
    TChartModel ResultChart = MakeResultChart();
    TChartModel ArbitraryChart = MakeArbitraryChart();
    TRunResult Run;

    // The sample design, changed by `edit`, calculated; then the arbitrary
    // point 1 m right of and above the critical centre.
    explicit TSampleCalculation(const std::function<void(TDesignConditions&)>& edit = {}) {
        LoadSampleDesign(Design);
        if (edit) edit(Design);
        DrawPreview(Preview, Design);
        Preview.Bottom = SamplePreviewAxes.Bottom;
        Preview.Left = SamplePreviewAxes.Left;
        TRecordingDialogs dialogs;
        Run = StartCalculation(
            {Design, Tables, Arbitrary, ResultChart, ArbitraryChart, dialogs, nullptr, {}});
        if (Run.HasCritical) {
            EvaluateArbitraryPoint(Design, Run.Critical.Xo + 1, Run.Critical.Yo + 1, Arbitrary,
                                   ArbitraryChart);
        }
    }
};

}  // namespace sorvanta::pdftest
