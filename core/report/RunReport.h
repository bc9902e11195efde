#pragma once
// A calculation run and its report: the run's numbers written into the
// calculation report (result tables, arbitrary-point tables and the two slip
// circle charts). The window and the batch tool drive the same code; what each
// shows afterwards follows from the run's outcome.

#include "design/DesignConditions.h"
#include "run/AppState.h"
#include "run/CalculationReport.h"
#include "run/CalculationRun.h"
#include "run/Checks.h"
#include "run/RunSettings.h"
#include "views/ChartModel.h"

namespace sorvanta {

class TProgress;

// What a run reads, where its report goes, and through whom the run talks to
// the user.
struct TRunContext {
    const TDesignConditions& Design;
    const TAnalysisOptions& Options;
    TCalculationReport& Report;
    TUserDialogs& Dialogs;
    // Progress bar, status text, cancellation, the start of the search and,
    // with 計算過程表示, each trial circle after it has been drawn into the
    // report's ResultChart. May be null.
    TProgress* Progress = nullptr;
    TRunSettings Settings;
    TDrawingOptions Drawing{};
};

// A run on the front end's own records: its design and options.
[[nodiscard]] TRunContext RunContextOf(TAppState& app, TUserDialogs& dialogs,
                                       TProgress* progress = nullptr);

// Writes a run's numbers into the context's report:
//   Ok, or Cancelled with a critical circle: every member (the grid points
//     and contours as far as they came), the run, and no arbitrary point;
//   NoCircle: the centre and load tables and the charts cleared, and the run;
//     the window then shows its circle conditions;
//   Refused, or Cancelled before a critical circle: nothing.
void WriteRunReport(const TRunResult& run, const TRunContext& context);

// The command behind "計算開始": CalculateRun, then its report.
// A text that does not convert throws ConversionError (before any dialog when
// the checks build the model); nothing is written then.
TRunResult StartCalculation(const TRunContext& context);
// The run and its report on the model the checks built, once their question
// has been answered (the window asks it on its own thread).
TRunResult RunCalculation(std::shared_ptr<const TAnalysisModel> model, const TRunContext& context);
// The same on the front end's records.
TRunResult StartCalculation(TAppState& app, TUserDialogs& dialogs, TProgress* progress = nullptr);

}  // namespace sorvanta
