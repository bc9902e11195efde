#pragma once
// Safety factor of one circle by the ordinary slice method: the sliding mass
// between the start and end points is cut into vertical slices no wider than
// SliceWidthLimit; Fs = Mr / Mo (moment form) or Fr / Fo (force form).

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"

namespace sorvanta {

// The evaluation of one circle.
struct TCircleResult {
    // 0 invalid (refused by ClassifyCircle); 1 valid; 2 valid and the ground
    // has one elevation over the whole sliding mass: at both end points and
    // at every slice's edges and centre.
    int Status = 0;
    double Fs = 0;         // Resisting / Driving; 0 when invalid or Driving is 0
    double Resisting = 0;  // Mr (kNm) or Fr (kN)
    double Driving = 0;    // Mo or Fo; positive means clockwise slip
    double WidthSum = 0;   // Σb
    double WeightSum = 0;  // ΣW
};

// One slice's values. Arrays are indexed by layer from 0 (H[0] is layer 1);
// layers not in use are 0.
struct TSliceRow {
    int No = 0;  // from 1, in increasing X
    double CentreX = 0;
    double B = 0;
    std::array<double, MaxLayers> H{};     // thickness of layer k above the slip surface
    std::array<double, MaxLayers> VWet{};  // area of layer k above the water level, m2
    std::array<double, MaxLayers> VSub{};  // area of layer k below the water level, m2
    double SumH = 0;
    double GroundHeight = 0;  // ground minus slip surface at the centre line, not clipped
    double SumV = 0;          // Σ (VWet + VSub)
    double C = 0;
    double L = 0;  // arc length under the slice
    double W = 0;
    double Alpha = 0;  // rad, positive right of the centre
    double Phi = 0;    // rad
    double Resisting = 0;
    double Driving = 0;
};

// Slices the interval of width `width` between two neighbouring break points
// is cut into: ⌈width / limit⌉ where it is wider than a positive limit, else
// one.
[[nodiscard]] inline double IntervalSlices(double width, double limit) {
    return (limit > 0 && width > limit) ? std::ceil(width / limit) : 1;
}

// Slices a single circle may have; a circle needing more is refused (Status 0,
// CircleStatusText::TooManySlices), so a tiny slice width cannot make one
// evaluation endless. The checks refuse such designs before a run.
inline constexpr int MaxSlicesPerCircle = 200000;

// Classifies the circle, divides it into slices (the working set's SliceList
// and end points are left for the circle drawing), evaluates every slice and
// sums. When `rows` is given it is resized to the slice count and receives
// every slice's row (the run writes the tables from them with WriteSliceRows
// and WriteLoadTotals); without it nothing is allocated per circle once the
// working set has grown to the circle's size.
// Deviations from the plain method, all deliberate:
//  - the lever arm of the crack cohesion c·h in moment form is the horizontal
//    distance from the centre to the crack face (Xo − Xb at the start,
//    Xe − Xo at the end), so Fs does not depend on where X = 0 lies;
//  - in effective stress (W − u·b) is taken as 0 where u·b exceeds W;
//  - sums that are not finite give Status 0 (CircleStatusText::NotFinite);
//  - status 2 (level ground) needs one ground elevation over the whole mass,
//    end points and slice edges included, not only at the slice centres;
//  - a layer boundary is clipped to the boundary above it and so to the
//    ground: a boundary drawn above the ground leaves the layers between
//    without thickness there;
//  - water standing above the ground loads the slices (its weight in W, its
//    thrust in the driving term) and, in effective stress, the pore force
//    under it is taken on the base as it is (see PondedWater in the source);
//  - a slice whose arc would span more than half a turn gives Status 0
//    (CircleStatusText::SliceOverHalfTurn): the lower arc itself spans half a
//    turn at most, so such a slice comes from end points rounding has put
//    out of order, and its length and weight would be a whole circle's.
TCircleResult EvaluateCircle(TEC& engine, const TSlipCircle& circle,
                             std::vector<TSliceRow>* rows = nullptr);

// Fills SliceList for a circle ClassifyCircle has accepted (Xb, Xe set).
// Returns false (SliceList emptied) when more than MaxSlicesPerCircle slices
// would be needed. A SliceWidthLimit that is not positive divides nothing:
// each interval between break points is one slice.
bool DivideSlices(TEC& engine, const TSlipCircle& circle);

// One slice: `index` 0-based into SliceList, `left` and `right` its points on
// the slip surface, `crackHeight` the height of the vertical crack face at
// the circle's end (0 for inner slices) and `crackLever` its horizontal
// distance from the centre (used in moment form only).
TSliceRow EvaluateSlice(const TEC& engine, const TSlipCircle& circle, int index, TPoint left,
                        TPoint right, double crackHeight, double crackLever);

// Area between an arc of opening dTheta (rad) and its chord:
// Δθ·R²/2 − R²·cos(Δθ/2)·sin(Δθ/2).
[[nodiscard]] double SegmentArea(double dTheta, double R);

}  // namespace sorvanta
