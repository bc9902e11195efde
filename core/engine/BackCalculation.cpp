#include "engine/BackCalculation.h"

#include <cmath>
#include <numbers>

#include "engine/SliceMethod.h"

namespace sorvanta {

namespace {

// The resisting sum with the layer's strength set to (c, tanφ).
std::optional<TCircleEvaluation> WithStrength(TAnalysisModel model, const TSlipCircle& circle,
                                              std::size_t layer, double c, double tanPhi) {
    model.Soil[layer].C = c;
    model.Soil[layer].Phi = std::atan(tanPhi);
    // Exactly the tangent asked for, not tan(atan(x)).
    model.Lookups.TanPhi[layer] = tanPhi;
    TEngineScratch scratch;
    TCircleEvaluation ev = Evaluate(model, circle, scratch);
    if (ev.Verdict != TCircleVerdict::Valid || ev.Driving == 0) return std::nullopt;
    return ev;
}

}  // namespace

std::optional<TStrengthLine> BackCalculate(const TAnalysisModel& model, const TSlipCircle& circle,
                                           int layer, double fs0) {
    if (layer < 0 || layer >= model.LayersInUse()) return std::nullopt;
    const auto k = static_cast<std::size_t>(layer);
    const auto none = WithStrength(model, circle, k, 0, 0);
    const auto unitC = WithStrength(model, circle, k, 1, 0);
    const auto unitTan = WithStrength(model, circle, k, 0, 1);
    if (!none || !unitC || !unitTan) return std::nullopt;
    TStrengthLine line;
    line.Fs0 = fs0;
    line.Fixed = none->Resisting;
    line.PerCohesion = unitC->Resisting - none->Resisting;
    line.PerTanPhi = unitTan->Resisting - none->Resisting;
    line.Driving = std::fabs(none->Driving);
    return line;
}

std::optional<double> CohesionFor(const TStrengthLine& line, double tanPhi) {
    if (!(line.PerCohesion > 0)) return std::nullopt;
    const double c =
        (line.Fs0 * line.Driving - line.Fixed - line.PerTanPhi * tanPhi) / line.PerCohesion;
    if (!(c >= 0)) return std::nullopt;
    return c;
}

std::optional<double> TanPhiFor(const TStrengthLine& line, double cohesion) {
    if (!(line.PerTanPhi > 0)) return std::nullopt;
    const double t =
        (line.Fs0 * line.Driving - line.Fixed - line.PerCohesion * cohesion) / line.PerTanPhi;
    if (!(t >= 0)) return std::nullopt;
    return t;
}

}  // namespace sorvanta
