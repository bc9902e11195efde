#pragma once
// The methods of slices beyond the ordinary one, on a circle whose slices
// have been evaluated: simplified Bishop (moment equilibrium of the mass,
// vertical equilibrium of each slice), simplified Janbu (force equilibrium,
// with its correction factor), and the ordinary method with the pore
// pressure on the base's length (W·cosα − u·l).

#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/SliceMethod.h"

namespace sorvanta {

// mα at or below this on any slice makes Bishop's and Janbu's normal forces
// meaningless: the circle is refused for the method.
inline constexpr double SmallestMAlpha = 0.2;
// Iterations for Fs before a circle is refused as not settling.
inline constexpr int MethodIterationLimit = 100;

// Janbu's correction factor f0 = 1 + b1·(d/L − 1.4·(d/L)²) for a slip mass
// of depth d below the chord of length L; b1 = 0.69 for cohesion alone,
// 0.31 for friction alone, 0.50 for both.
[[nodiscard]] double JanbuCorrection(double depthRatio, bool cohesion, bool friction);

// Replaces result's sums, factor and rows' terms by those of the model's
// method; returns Valid, or why the method has no solution on the circle.
// The circle slides as the ordinary sums found (their sign).
TCircleVerdict SolveMethod(const TAnalysisModel& model, const TSlipCircle& circle,
                           const std::vector<TSliceForces>& forces, TCircleEvaluation& result);

}  // namespace sorvanta
