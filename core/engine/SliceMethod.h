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

// The sums of one circle.
struct TCircleResult {
    // Valid, LevelGround (one ground elevation over the whole sliding mass: at
    // both end points and at every slice's edges and centre) or why the
    // circle was refused.
    TCircleVerdict Verdict = TCircleVerdict::NotTried;
    // Intersections with the ground the classification found.
    int Crossings = 0;
    double Fs = 0;         // Resisting / Driving; 0 when refused or Driving is 0
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
    double Load = 0;  // the surcharge's weight on the slice, when it counts (in W)
    // Elevation of the centre of gravity of the slice's soil (TGravity in
    // the source); a seismic force acts there.
    double GravityY = 0;
    // Bishop's and Janbu's mα = cosα + sinα·tanφ / Fs; Spencer's and
    // Morgenstern–Price's interslice forces on the slice's right side
    // (normal E, shear X = λ·f·E), in the sense of sliding. 0 elsewhere.
    double MAlpha = 0;
    double InterE = 0;
    double InterX = 0;
    // Under a seismic force: the terms had the circle slid the other way.
    struct {
        double Resisting = 0;
        double Driving = 0;
    } Counter;
};

// Slices the interval of width `width` between two neighbouring break points
// is cut into: ⌈width / limit⌉ where it is wider than a positive limit, else
// one.
[[nodiscard]] inline double IntervalSlices(double width, double limit) {
    return (limit > 0 && width > limit) ? std::ceil(width / limit) : 1;
}

// Slices a single circle may have; a circle needing more is refused
// (TCircleVerdict::TooManySlices), so a tiny slice width cannot make one
// evaluation endless. The checks refuse such designs before a run.
inline constexpr int MaxSlicesPerCircle = 200000;

// The evaluation of one circle: its sums, and what a drawing or a table
// needs of it when asked.
struct TCircleEvaluation : TCircleResult {
    // The circle's end points on the ground, when accepted (ClassifyCircle).
    double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    // Where the circle meets the ground, in the order found (TCircleWanted::MeetX).
    std::vector<double> MeetX;
    // The slices, when accepted (TCircleWanted::Slices).
    TSliceList Slices;
    // Every slice's row, when accepted (TCircleWanted::Rows).
    std::vector<TSliceRow> Rows;
    // Janbu's correction factor f0 and the factor before it (Fs = f0·F0);
    // 1 and 0 for the other methods.
    double Correction = 1;
    double UncorrectedFs = 0;
    // Spencer's and Morgenstern–Price's λ; 0 for the other methods.
    double Lambda = 0;
};

// The parts of TCircleEvaluation beyond the sums that a caller wants; without
// them nothing is allocated per circle once the scratch space has grown to
// the circle's size.
struct TCircleWanted {
    bool MeetX = false;
    bool Slices = false;
    bool Rows = false;
};

// Classifies the circle, divides it into slices, evaluates every slice and
// sums. The run writes the tables from the rows with WriteSliceRows and
// WriteLoadTotals; the drawings take the end points and slices.
// Deviations from the plain method, all deliberate:
//  - the lever arm of the crack cohesion c·h in moment form is the horizontal
//    distance from the centre to the crack face (Xo − Xb at the start,
//    Xe − Xo at the end), so Fs does not depend on where X = 0 lies;
//  - in effective stress (W − u·b) is taken as 0 where u·b exceeds W;
//  - sums that are not finite are refused (TCircleVerdict::NotFinite);
//  - LevelGround needs one ground elevation over the whole mass,
//    end points and slice edges included, not only at the slice centres;
//  - a layer boundary is clipped to the boundary above it and so to the
//    ground: a boundary drawn above the ground leaves the layers between
//    without thickness there;
//  - water standing above the ground loads the slices (its weight in W, its
//    thrust in the driving term) and, in effective stress, the pore force
//    under it is taken on the base as it is (see PondedWater in the source);
//  - a slice whose arc would span more than half a turn is refused
//    (TCircleVerdict::SliceOverHalfTurn): the lower arc itself spans half a
//    turn at most, so such a slice comes from end points rounding has put
//    out of order, and its length and weight would be a whole circle's.
TCircleEvaluation Evaluate(const TAnalysisModel& model, const TSlipCircle& circle,
                           TEngineScratch& scratch, TCircleWanted wanted = {});

// Divides the circle between Xb and Xe (ClassifyCircle's end points) into
// `slices`, with the break-point interval of each centre in
// scratch.CentreInterval. Returns false (`slices` emptied) when more than
// MaxSlicesPerCircle slices would be needed. A SliceWidthLimit that is not
// positive divides nothing: each interval between break points is one slice.
bool DivideSlices(const TAnalysisModel& model, const TSlipCircle& circle, double Xb, double Xe,
                  TSliceList& slices, TEngineScratch& scratch);

// One slice of `slices` (DivideSlices): `index` 0-based, `left` and `right`
// its points on the slip surface, `crackHeight` the height of the vertical
// crack face at the circle's end (0 for inner slices) and `crackLever` its
// horizontal distance from the centre (used in moment form only).
TSliceRow EvaluateSlice(const TAnalysisModel& model, const TSlipCircle& circle,
                        const TSliceList& slices, int index, TPoint left, TPoint right,
                        double crackHeight, double crackLever);

// The restraining force per metre of slope that brings a circle to the
// model's planned safety factor PFs: (PFs·Mo − Mr) / R in moment form,
// PFs·Fo − Fr in force form, the driving sum taken in the sense the circle
// slides; 0 or less where none is needed.
[[nodiscard]] inline double RestrainingForce(const TAnalysisModel& model, double R,
                                             double resisting, double driving) {
    const double needed = model.PlannedFs * std::fabs(driving) - resisting;
    return model.DisplayForm == TFsForm::Moment ? needed / R : needed;
}

// Area between an arc of opening dTheta (rad) and its chord:
// Δθ·R²/2 − R²·cos(Δθ/2)·sin(Δθ/2).
[[nodiscard]] double SegmentArea(double dTheta, double R);

}  // namespace sorvanta
