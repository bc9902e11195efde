#pragma once
// The arbitrary-point analysis: the most critical circle about a centre the
// user picks, as numbers. The report layer writes its tables, texts and
// drawing.

#include <memory>
#include <string>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "run/CalculationRun.h"

namespace sorvanta {

// What the evaluation found about the centre.
struct TArbitraryOutcome {
    int Status = 0;  // 0 no valid circle, 1 a factor, 2 level ground only (∞)
    double Xo = 0, Yo = 0, R = 0;
    double Fs = 0, Resisting = 0, Driving = 0;
    double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    double Theta = 0, Beta = 0, Delta = 0;  // degrees
    // The reason of status 0, never empty: the status text of the last
    // circle tried, "該当する滑り方向の円弧は有りません。" when circles were
    // valid but none in the slip direction, or for a centre about which no
    // circle could be tried, why (outside the ground's width, in the ground,
    // below the never-cut elevation).
    std::string CircleStatus;
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
