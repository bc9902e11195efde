#pragma once
// A calculation of the sample design (or a variant of it), with everything
// the PDF documents are made from.

#include <functional>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "report/ArbitraryReport.h"
#include "report/RunReport.h"
#include "run/CalculationReport.h"
#include "run/Checks.h"
#include "views/ChartModel.h"
#include "views/PreviewChart.h"

namespace sorvanta::pdftest {

struct TSampleCalculation {
    TDesignConditions Design;
    TAnalysisOptions Options;
    TDrawingOptions Drawing;
    TChartModel Preview = MakePreviewChart();
    TCalculationReport Report;
    TRunResult Run;

    // The sample design, changed by `edit`, calculated with `options`; then
    // the arbitrary point 1 m right of and above the critical centre.
    explicit TSampleCalculation(const std::function<void(TDesignConditions&)>& edit = {},
                                const TAnalysisOptions& options = {})
        : Options(options) {
        LoadSampleDesign(Design);
        if (edit) edit(Design);
        DrawPreview(Preview, Design);
        Preview.Bottom = SamplePreviewAxes.Bottom;
        Preview.Left = SamplePreviewAxes.Left;
        TRecordingDialogs dialogs;
        Run = StartCalculation({Design, Options, Report, dialogs, nullptr, {}, Drawing});
        if (Run.HasCritical) {
            WriteArbitraryReport(
                Design,
                CalculateArbitraryPoint(Design, Options, Run.Critical.Xo + 1, Run.Critical.Yo + 1),
                Report);
        }
    }
};

}  // namespace sorvanta::pdftest
