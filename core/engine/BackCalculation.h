#pragma once
// Back-calculation: the strengths of one layer that a known slip reveals.
// On a fixed circle the resisting sum is linear in that layer's c and tanφ
// (which slices rest on the layer, their normal forces and the driving sum
// do not depend on its strength), so Fs0·Mo = Mr is a line in the (c, tanφ)
// plane.

#include <optional>

#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"

namespace sorvanta {

// Mr(c, tanφ) = Fixed + PerCohesion·c + PerTanPhi·tanφ on the circle, the
// other layers as given; Driving in the sense the circle slides (positive).
struct TStrengthLine {
    double Fs0 = 0;
    double Fixed = 0;
    double PerCohesion = 0;
    double PerTanPhi = 0;
    double Driving = 0;
    bool operator==(const TStrengthLine&) const = default;
};

// The line of layer `layer` (0-based, in use) on `circle` for the factor
// fs0; none when the circle is not a valid slip of the model.
[[nodiscard]] std::optional<TStrengthLine> BackCalculate(const TAnalysisModel& model,
                                                         const TSlipCircle& circle, int layer,
                                                         double fs0);

// The cohesion that gives Fs0 with tanφ as given, and tanφ with the cohesion
// as given; none where the layer's strength does not enter the circle (no
// slice rests on it) or the value would be negative.
[[nodiscard]] std::optional<double> CohesionFor(const TStrengthLine& line, double tanPhi);
[[nodiscard]] std::optional<double> TanPhiFor(const TStrengthLine& line, double cohesion);

}  // namespace sorvanta
