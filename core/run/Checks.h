#pragma once
// The checks before a calculation run, and the dialogs through which the core
// talks to the user: the window shows message boxes, the batch tool prints and
// answers Yes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "engine/AnalysisModel.h"

namespace sorvanta {

// The user's side of a run. Messages are shown in the order they are sent;
// each must be closed before the run goes on. "\r" in a text is a line break.
class TUserDialogs {
  public:
    virtual ~TUserDialogs() = default;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool Confirm(std::string_view question) = 0;
    // A message box with OK.
    virtual void ShowMessage(std::string_view message) = 0;
};

// Answers every question with a fixed answer (Yes by default) and keeps the
// questions and messages in order: the batch tool and the tests use it.
class TRecordingDialogs : public TUserDialogs {
  public:
    explicit TRecordingDialogs(bool answer = true) : Answer(answer) {}
    bool Confirm(std::string_view question) override;
    void ShowMessage(std::string_view message) override;

    bool Answer;
    std::vector<std::string> Questions;
    std::vector<std::string> Messages;
};

enum class TCheckOutcome : std::uint8_t { Proceed, Refuse };

// What the checks found, before anything is asked or shown.
struct TCheckResult {
    // The model of the design, which the run then works on.
    TAnalysisModel Model;
    // The question the user confirms the circle conditions with.
    std::string Question;
    // The message of every fault found, in the order they are shown; the
    // run is refused when there is any.
    std::vector<std::string> Faults;
};

// Builds the model from the design and the run's options (a text the
// aborting conversion cannot read throws ConversionError) and looks for every
// fault. Asks nothing; the design is never changed.
[[nodiscard]] TCheckResult CheckDesignConditions(const TDesignConditions& design,
                                                 const TAnalysisOptions& options);

// What a run does with the checks: asks the question, then shows every fault
// (also after the answer No). Proceed when the answer is Yes and nothing is
// at fault.
TCheckOutcome PresentCheckResult(const TCheckResult& checks, TUserDialogs& dialogs);

// The confirmation question for the design.
std::string CircleConditionsQuestion(const TDesignConditions& design);

// Bounds beyond which a run is refused before it starts. The grid-point mesh
// evaluates (N − 1) · N centres; the choices offer up to 30.
inline constexpr int MaxGridFsMeshCount = 100;
// Slices a circle may need over the ground's whole X extent (an overhanging
// ground reaches beyond its first and last points); beyond this the slice
// width limit is too small for the section (the run would take minutes: its
// time grows with the slice count).
inline constexpr double MaxSlicesPerSection = 10000.0;

// The work of a run, counted as slice evaluations: the slices of a circle
// over the ground's whole X extent, times the circles searched at a centre,
// times the centres searched. The refinement searches 121 centres per grid,
// one grid per pitch from a tenth of the section's width down to below
// 0.01 m (RefinementGrids), plus RunGridMoveAllowance grids for moves, and
// twice that with both directions; then the centre table's (m + 1)², the
// (N − 1) · N grid points and the 40 × 40 contour nodes. Circles at a centre
// (CirclesPerCentre) are the first pass's radii (FirstPassStep bounds them)
// and the nine of each pass that closes in from a coarser step, and the 32
// of passes 2 and 3. Both counts grow with the logarithm of the section's
// size. The bound keeps a run within about a minute on one thread of a
// 2 GHz machine: the sample at the finest slice width MaxSlicesPerSection
// allows counts 8.3e8 and takes 20 s there. That section stays within the
// bound with contours or grid points up to N = 45, ordinary slice widths with
// any mesh count; with N = 100 it is refused, and so it is at a scale of
// 1e9, where the grids and passes grow to take minutes.
inline constexpr double RunGridMoveAllowance = 2;
inline constexpr double MaxRunWork = 2.5e9;
[[nodiscard]] int RefinementGrids(double firstPitch);
[[nodiscard]] double CirclesPerCentre(double extent, double slices);
// Slices of a circle over the ground's whole X extent at the slice width, and
// the run's work estimate for the design run with the options (grid-point
// centres only with a mesh count the checks accept); 0 without two ground
// points or a positive width.
[[nodiscard]] double SectionSliceEstimate(const TDesignConditions& design, double sliceWidth);
[[nodiscard]] double RunWorkEstimate(const TDesignConditions& design,
                                     const TAnalysisOptions& options, double sliceWidth);

}  // namespace sorvanta
