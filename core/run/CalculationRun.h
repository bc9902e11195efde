#pragma once
// A calculation run: checks, critical circle search, and everything the run
// writes into the result tables, the arbitrary-point tables and the two slip
// circle charts. The window and the batch tool drive the same code; what each
// shows afterwards follows from the run's outcome.

#include <cstdint>
#include <string>
#include <vector>

#include "design/DesignConditions.h"
#include "run/AppState.h"
#include "run/Checks.h"
#include "run/ResultTables.h"
#include "run/RunSettings.h"
#include "views/ChartModel.h"

namespace sorvanta {

class TAnalysisModel;
class TProgress;

// Where a run writes, and through whom it talks to the user.
struct TRunContext {
    const TDesignConditions& Design;
    TResultTables& Tables;
    TArbitraryTables& Arbitrary;
    TChartModel& ResultChart;
    TChartModel& ArbitraryChart;
    TUserDialogs& Dialogs;
    // Progress bar, status text, cancellation, the start of the search and,
    // with 計算過程表示, each trial circle after it has been drawn into
    // ResultChart. May be null.
    TProgress* Progress = nullptr;
    TRunSettings Settings;
};

// A run on the front end's own records.
[[nodiscard]] TRunContext RunContextOf(TAppState& app, TUserDialogs& dialogs,
                                       TProgress* progress = nullptr);

enum class TRunOutcome : std::uint8_t {
    Ok,         // a critical circle; every member written
    Refused,    // the checks refused; nothing written
    NoCircle,   // no qualifying circle: the message shown, the centre and load
                // tables and the charts cleared; the window then shows its
                // circle conditions
    Cancelled,  // stopped through the progress interface
};

// The critical circle of a run (angles in degrees).
struct TCriticalCircle {
    double Xo = 0, Yo = 0, R = 0;
    double Fs = 0, Resisting = 0, Driving = 0;
    double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    double Theta = 0, Beta = 0, Delta = 0;
    bool operator==(const TCriticalCircle&) const = default;
};

struct TRunResult {
    TRunOutcome Outcome = TRunOutcome::Refused;
    // Every message shown during the run, in order (the confirmation question
    // is not among them).
    std::vector<std::string> Messages;
    // Set when a critical circle was found (Ok, or Cancelled during the
    // grid-point or contour step).
    bool HasCritical = false;
    TCriticalCircle Critical;
    int GridCount = 0;  // grids the search evaluated
};

inline constexpr const char* SearchStatusText = "最少安全率検索中．．．";
inline constexpr const char* GridFsStatusText = "格子点安全率検索中．．．";
inline constexpr const char* ContourStatusText = "等高線検索中．．．";
inline constexpr const char* NoCircleMessage =
    "該当する滑り方向の円弧は有りません。\r\r滑り方向設定を変更してみて下さい。";

// The checks of a run (CheckDesignConditions); a text that does not convert
// throws ConversionError naming the field (LocateConversionError).
[[nodiscard]] TCheckResult CheckCalculation(const TDesignConditions& design);

// The command behind "計算開始": the checks (CheckCalculation, before any
// dialog), their question and messages (PresentCheckResult), then the run on
// the model they built. Nothing is written when a text does not convert.
TRunResult StartCalculation(const TRunContext& context);

// The run proper, after the checks, on the model they built.
TRunResult RunCalculation(const TAnalysisModel& model, const TRunContext& context);

// Progress maximum of a run whose first grid has pitch p0: an estimate of the
// number of grids, ⌈(log₁₀ 0.01 − log₁₀ p0) / log₁₀ 0.02⌉ per direction
// searched (both directions search twice), + 8.
[[nodiscard]] int RunProgressMaximum(double p0, int directions = 1);

// The texts the run writes, for a critical circle in the form (0 moment,
// 1 force). Exposed for the tests and the arbitrary-point texts.
TLineList FormulaLines(int form);
TLineList ResultLines(const TCriticalCircle& c, int form);
TLineList SliceHeadingLines(const TCriticalCircle& c);
TLineList LoadHeadingLines(const TCriticalCircle& c);
TLineList LoadLegendLines();
TLineList LoadFormulaLines(int form);
TLineList JudgementLines(const TCriticalCircle& c, int form);
// "  円弧開き角度 (Θ)=…" to "  Check:Θ=2(β-δ)=…", the angles in degrees; shared
// by the run's lists and the arbitrary point's.
TLineList CircleAngleLines(double theta, double beta, double delta);

// One row of the centre table: status 0 "[地形外]", 1 the factor ("[解]" when
// |fs| is not greater than the critical |Fs|), 2 "[∞]".
std::vector<std::string> CentreTableRow(int k, double x, double y, int status, double driving,
                                        double resisting, double r, double fs,
                                        double criticalAbsFs);

}  // namespace sorvanta
