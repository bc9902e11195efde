#pragma once
// The arbitrary-point analysis: the most critical circle about a centre the
// user picks, as numbers. The report layer writes its tables, texts and
// drawing.

#include <cstdint>
#include <memory>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "engine/Geometry.h"
#include "run/CalculationRun.h"

namespace sorvanta {

// What names the circle status of a centre: a circle's verdict, or the
// search's own finding that valid circles about it all slip the other way,
// which no circle's verdict says.
enum class TArbitraryReason : std::uint8_t {
    CircleVerdict,        // Verdict and Crossings
    NoCircleInDirection,  // circles were valid, none in the slip direction asked
};

// What the evaluation found about the centre.
struct TArbitraryOutcome {
    int Status = 0;  // 0 no valid circle, 1 a factor, 2 level ground only (∞)
    double Xo = 0, Yo = 0, R = 0;
    double Fs = 0, Resisting = 0, Driving = 0;
    double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    double Theta = 0, Beta = 0, Delta = 0;  // degrees
    // What the circle status names. Status 1 and 2: the verdict of the last
    // circle the search tried. Status 0: NoCircleInDirection when circles
    // were valid but none slips in the direction asked; otherwise a verdict,
    // never NotTried: the last tried circle's or, where no circle could be
    // tried, where the centre lies (outside the ground's width, in the
    // ground, below the never-cut elevation).
    TArbitraryReason Reason = TArbitraryReason::CircleVerdict;
    TCircleVerdict Verdict = TCircleVerdict::NotTried;
    int Crossings = 0;  // of TCircleVerdict::Crossings
    bool operator==(const TArbitraryOutcome&) const = default;
};

// The judgement of an outcome against the required factor.
[[nodiscard]] TJudgement JudgeArbitrary(const TArbitraryOutcome& outcome, double required);

// The evaluation with what its report needs: the circle's slices and the
// model (left with the circle's working set) it ran on.
struct TArbitraryPoint {
    TArbitraryOutcome Outcome;
    TJudgement Judgement;
    int Form = 0;          // DisplayForm: 0 moment, 1 force
    TCircleRecord Circle;  // status 1 or 2 only
    std::shared_ptr<const TAnalysisModel> Model;
};

// Evaluates the centre with a fresh model built from the design and the
// options: the best radius (SearchRadius; a radius of exactly 0 counts as no
// circle), then the circle once more with its slices. Throws ConversionError
// when the design does not convert.
TArbitraryPoint CalculateArbitraryPoint(const TDesignConditions& design,
                                        const TAnalysisOptions& options, double xo, double yo);

}  // namespace sorvanta
