#pragma once
// A calculation run: checks, critical circle search and the searches that
// follow it, as numbers. What the documents and windows show is built from
// them by the report layer; the run writes no text, table or chart (only the
// trial circles of 計算過程表示, which are progress, not result).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"
#include "engine/FactorField.h"
#include "engine/Geometry.h"
#include "engine/Search.h"
#include "engine/SliceMethod.h"
#include "run/Checks.h"
#include "run/RunSettings.h"
#include "views/ChartModel.h"
#include "views/Contours.h"

namespace sorvanta {

class TProgress;

// What a run reads, and through whom it talks to the user.
struct TRunInputs {
    const TDesignConditions& Design;
    const TAnalysisOptions& Options;
    TUserDialogs& Dialogs;
    // Progress bar, status text, cancellation, the start of the search and,
    // with 計算過程表示, each trial circle after it has been drawn into
    // TrialChart. Both may be null.
    TProgress* Progress = nullptr;
    TChartModel* TrialChart = nullptr;
    TRunSettings Settings;
    TDrawingOptions Drawing{};
};

enum class TRunOutcome : std::uint8_t {
    Ok,         // a critical circle
    Refused,    // the checks refused
    NoCircle,   // no qualifying circle (the message shown)
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

// How a factor compares with the one required.
enum class TVerdict : std::uint8_t {
    NoCircle,  // no valid circle to judge
    Within,    // |Fs| ≥ required
    Outside,   // |Fs| < required
    Infinite,  // level ground only: no driving force
};

struct TJudgement {
    TVerdict Verdict = TVerdict::NoCircle;
    double Required = 0;  // the model's required factor
    double Found = 0;     // the factor judged
    bool operator==(const TJudgement&) const = default;
};

// The centre table's status of a circle's verdict: 0 refused, 1 a factor,
// 2 level ground.
[[nodiscard]] int CentreStatus(TCircleVerdict verdict);

// Within or Outside for a factor.
[[nodiscard]] TJudgement JudgeFactor(double fs, double required);

// One circle evaluated with its slices: the evaluation (sums, end points and
// slices, which the drawing reads) and the rows of the slice and load tables.
struct TCircleRecord {
    TSlipCircle Circle;
    TCircleEvaluation Sums;
    std::vector<TSliceRow> Rows;
};

// One centre of the centre table: the best circle about it.
struct TCentreRow {
    double X = 0, Y = 0;
    int Status = 0;  // 0 outside the ground, 1 a factor, 2 level ground (∞): CentreStatus

    double Driving = 0, Resisting = 0, R = 0, Fs = 0;
};

// The grid-point step: Ran once the step had a field to map (the chart's
// markers change then, even when nothing is computed).
struct TGridStep {
    bool Ran = false;
    std::optional<TGridFactors> Factors;
};

struct TRunResult {
    TRunOutcome Outcome = TRunOutcome::Refused;
    // Every message shown during the run, in order (the confirmation question
    // is not among them).
    std::vector<std::string> Messages;
    // Set when a critical circle was found (Ok, or Cancelled during the
    // grid-point or contour step); the members below hold it then.
    bool HasCritical = false;
    TCriticalCircle Critical;
    int GridCount = 0;  // grids the search evaluated

    int Form = 0;  // DisplayForm: 0 moment, 1 force
    TJudgement Judgement;
    std::vector<TCentreRow> CentreRows;  // the (m + 1)² centres about the critical one
    TCircleRecord Circle;                // the critical circle with its slices
    TGridStep Grid;
    std::optional<std::vector<TContourSegment>> Contours;  // set when the step completed
    // The model the run worked on.
    std::shared_ptr<const TAnalysisModel> Model;

    // The case the run checked: 地震時 when its model carries a seismic
    // coefficient (Model->Loads.Kh).
    TDesignCase Case = TDesignCase::Normal;
    // With a planned safety factor (Model->PlannedFs): the circle of the
    // search needing the largest restraining force.
    TForceCircle MostForce;
};

// The restraining force per metre the critical circle needs to reach the
// planned factor (RestrainingForce); nothing without a planned factor or a
// critical circle.
[[nodiscard]] std::optional<double> CriticalRestrainingForce(const TRunResult& run);

// The critical circle's restraining force as an anchor force per metre,
// Td = Pr / {cos(α + θ) + sin(α + θ)·tanφ}, for an anchor at θ below the
// horizontal crossing the slip surface at X, where the surface dips at α in
// the sense of sliding and the soil has φ. Nothing without a force, when X
// lies outside the sliding mass, or when the anchor would not hold the mass
// (cos(α + θ) + sin(α + θ)·tanφ ≤ 0).
struct TAnchorForce {
    double X = 0;
    double Theta = 0;  // degrees
    double Alpha = 0;  // degrees
    double Phi = 0;    // degrees
    double Force = 0;  // Td, kN/m
};
[[nodiscard]] std::optional<TAnchorForce> CriticalAnchorForce(const TRunResult& run,
                                                              double thetaDegrees, double x);

inline constexpr const char* SearchStatusText = "最少安全率検索中．．．";
inline constexpr const char* GridFsStatusText = "格子点安全率検索中．．．";
inline constexpr const char* ContourStatusText = "等高線検索中．．．";
inline constexpr const char* NoCircleMessage =
    "該当する滑り方向の円弧は有りません。\r\r滑り方向設定を変更してみて下さい。";

// The checks of a run (CheckDesignConditions); a text that does not convert
// throws ConversionError naming the field (LocateConversionError).
[[nodiscard]] TCheckResult CheckCalculation(const TDesignConditions& design,
                                            const TAnalysisOptions& options);

// The checks (CheckCalculation, before any dialog), their question and
// messages (PresentCheckResult), then the run on the model they built.
TRunResult CalculateRun(const TRunInputs& inputs);

// The run proper, after the checks, on the model they built (which the result
// then shares).
TRunResult CalculateRun(std::shared_ptr<const TAnalysisModel> model, const TRunInputs& inputs);

// With 検討ケース 両方, the 地震時 run after the 常時 one: the same section on
// the seismic model of the normal run's, against the 地震時 required factor.
// Refused when the normal run has no model.
TRunResult CalculateSeismicCase(const TRunResult& normal, const TRunInputs& inputs);

// Progress maximum of a run whose first grid has pitch p0: an estimate of the
// number of grids, ⌈(log₁₀ 0.01 − log₁₀ p0) / log₁₀ 0.02⌉ per direction
// searched (both directions search twice), + 8.
[[nodiscard]] int RunProgressMaximum(double p0, int directions = 1);

// The one evaluation of a circle the run and the arbitrary point report: its
// sums, end points, slices and slice rows.
TCircleRecord EvaluateCircleRecord(const TAnalysisModel& model, const TSlipCircle& circle);

// The mesh count of the grid points, GridFsMeshCount as a whole number of at
// least 1; nothing otherwise. The run refuses options without one; the step
// itself skips it, so no division by zero or endless loop can follow.
[[nodiscard]] std::optional<int> GridFsMeshCountOf(const TAnalysisOptions& options);

// The grid-point factors of the model: skipped (Ran false) without a usable
// mesh count or ground surface.
TGridStep GridPointStep(const TAnalysisModel& model, int meshCount,
                        const TSearchOptions& options = {});
// The same on a fresh model built from the design and the options, with their
// mesh count (ConversionError when a text does not convert); skipped without
// a usable mesh count.
TGridStep GridPointStep(const TDesignConditions& design, const TAnalysisOptions& analysis,
                        const TSearchOptions& options = {});
// The contour segments of the model; nothing when skipped, Cancelled set when
// stopped.
struct TContourStep {
    bool Cancelled = false;
    std::optional<std::vector<TContourSegment>> Segments;
};
TContourStep ContourStep(const TAnalysisModel& model, const TSearchOptions& options = {});

}  // namespace sorvanta
