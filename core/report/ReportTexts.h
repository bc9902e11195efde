#pragma once
// The texts, cells and captions of the calculation document, built from the
// numbers of a run or of an arbitrary point. Every byte here is what the
// windows, the text file, the printout and the PDF show.

#include <string>
#include <string_view>
#include <vector>

#include "design/DesignConditions.h"
#include "run/ArbitraryPoint.h"
#include "run/CalculationRun.h"
#include "run/ResultTables.h"

namespace sorvanta {

// The run's lists for a critical circle in the form (0 moment, 1 force).
TLineList FormulaLines(int form);
TLineList ResultLines(const TCriticalCircle& c, int form);
// The formula of the run's case and method where they are not the 常時 case
// by the ordinary method (the 地震時 case, another method, the pore pressure
// on the base length, the surcharge in the calculation); FormulaLines else.
TLineList CaseFormulaLines(const TRunResult& run);
// With a planned factor, the restraining force of the critical circle and
// the circle needing the most; none without one. The documents put them
// below the formula, where the page has room.
TLineList CaseResultLines(const TRunResult& run, const TAnalysisOptions& options);
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

// The judgement panel's text: "安全率以内", "安全率外" or "Fs=∞"; empty for
// no circle (the arbitrary point shows the circle status then).
[[nodiscard]] std::string VerdictText(TVerdict verdict);

// The slice table and load table of a circle's report, as an evaluation of
// the circle writes them.
// n slices: both tables get n + 1 rows (header and one row per slice).
void PrepareCircleTables(TCircleReport& target, int n);
// Row i (from 1) of the slice table and of the load table from slice i.
void WriteSliceRows(TCircleReport& target, int i, const TSliceRow& slice);
// Load table header for the form (0 moment, 1 force) and the totals row from
// WidthSum, WeightSum, Resisting and Driving of the circle.
void WriteLoadTotals(TCircleReport& target, const TCircleResult& sums, int form);
// All three: the tables of one evaluated circle, its slices and its sums.
void WriteCircleTables(TCircleReport& target, const std::vector<TSliceRow>& rows,
                       const TCircleResult& sums, int form);

// The method's name in the documents ("簡便ビショップ法", …).
[[nodiscard]] const char* MethodName(TSliceMethodKind method);
// The pore pressure's term in the normal force ("(W-u･b)･cosα", "W･cosα-u･l").
[[nodiscard]] const char* PoreFormText(TPoreForm form);
// The line that names the method of a circle's factor with its own values
// ("  分割法:簡便ヤンブ法 F0=… f0=…", λ for Spencer and Morgenstern–Price);
// empty for the ordinary method. The result and judgement lists carry it.
std::string MethodResultLine(TSliceMethodKind method, const TCircleEvaluation& sums);
// The method's heading and table of a circle evaluated with its slices:
// emptied for the ordinary method and for a circle without a factor.
void WriteMethodTables(TCircleReport& target, TSliceMethodKind method, const TCircleRecord& record);

// Section Ⅰ from the design conditions as entered and the run's model.
void WriteDesignListing(TResultTables& tables, const TDesignConditions& design,
                        const TAnalysisModel& model);

// Writes the heading, legend, formula and judgement lists and the judgement
// panel for the outcome, in the moment (form 0) or force form (1). Status 2
// leaves the load legend and formula lists as they were; status 0 empties the
// two heading lists and the judgement list and shows the circle status in red.
void WriteArbitraryTexts(TCircleReport& circle, const TArbitraryOutcome& outcome, int displayForm,
                         double requiredFs);

}  // namespace sorvanta
