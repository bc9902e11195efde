#include "engine/SliceMethod.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "engine/CircleCache.h"
#include "engine/SliceMethods.h"

namespace sorvanta {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr double HalfPi = std::numbers::pi / 2;

// Angle of a point of the circle seen from its centre, in [0, 2π).
double PointAngle(const TSlipCircle& c, double x, double y) {
    double theta = std::atan2(y - c.Yo, x - c.Xo);
    if (theta < 0) theta += TwoPi;
    return theta;
}

// The arc from the angle of a slice's left point to that of its right point,
// going round the centre counter-clockwise.
double ArcAngle(double thetaL, double thetaR) {
    if (thetaR < thetaL) thetaR += TwoPi;
    return thetaR - thetaL;
}

double Positive(double v) {
    return v > 0 ? v : 0.0;
}

double TanPhi(const TAnalysisModel& model, int layer) {
    const auto k = static_cast<std::size_t>(layer);
    return model.Lookups.Ready ? model.Lookups.TanPhi[k] : std::tan(model.Soil[k].Phi);
}

// What the slices of one circle share, read once per circle rather than
// again after every call into the maths library.
struct TSliceContext {
    const TAnalysisModel* Engine = nullptr;
    const double* CentreX = nullptr;
    const double* Width = nullptr;
    const double* ArcYCentre = nullptr;
    const double* GroundYCentre = nullptr;
    const std::size_t* Intervals = nullptr;  // break-point interval of each centre X
    // The model's line pieces when every line the slices read is tabled;
    // otherwise null and each elevation is looked up (SliceLineY).
    const TLinePiece* Pieces = nullptr;
    TSlipCircle Circle;
    bool WaterOn = false;
    // The water line lies above the ground somewhere: the slices may carry
    // water standing on them.
    bool Ponded = false;
    TStrengthMode StrengthMode = TStrengthMode::Total;
    TFsForm DisplayForm = TFsForm::Moment;
    double GammaWater = 0;
    TCaseLoads Loads;
    // Filled per slice for the methods beyond the ordinary one; null else.
    TSliceForces* Forces = nullptr;
    // Written per slice for a circle cache, in its recording instantiation.
    double* RecordNormal = nullptr;
    double* RecordL = nullptr;
    std::uint8_t* RecordLayer = nullptr;
    std::array<double, MaxLayers> GammaT{}, GammaSat{}, C{}, Phi{}, TanPhi{};

    TSliceContext(const TAnalysisModel& e, const TSliceList& sl, const std::size_t* intervals,
                  const TSlipCircle& c)
        : Engine(&e), Circle(c) {
        CentreX = sl.CentreX.data();
        Width = sl.Width.data();
        ArcYCentre = sl.ArcYCentre.data();
        GroundYCentre = sl.GroundYCentre.data();
        Intervals = intervals;
        WaterOn = e.WaterOn;
        Ponded = e.WaterOn && (e.Lookups.Ready ? e.Lookups.WaterAboveGround : true);
        StrengthMode = e.StrengthMode;
        DisplayForm = e.DisplayForm;
        GammaWater = e.GammaWater;
        Loads = e.Loads;
        const int layers = e.LayersInUse();
        bool tabled = e.Lookups.Ready && (!WaterOn || e.Lookups.Tabled[WaterSlot]);
        for (int k = 0; k < layers; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            GammaT[kk] = e.Soil[kk].GammaT;
            GammaSat[kk] = e.Soil[kk].GammaSat;
            C[kk] = e.Soil[kk].C;
            Phi[kk] = e.Soil[kk].Phi;
            TanPhi[kk] = sorvanta::TanPhi(e, k);
            tabled = tabled && e.Lookups.Tabled[kk];
        }
        if (tabled) Pieces = e.Lookups.Pieces.data();
    }

    // The pieces of the slice lines over an interval; null: look them up.
    const TLinePiece* PiecesAt(std::size_t interval) const {
        return Pieces && interval != TAnalysisModel::NoInterval ? Pieces + interval * SliceLineSlots
                                                                : nullptr;
    }
    // Elevation of slice line `slot` at the centre X of a slice; bit for bit
    // PolylineYAt.
    double LineY(const TLinePiece* pieces, int slot, std::size_t interval, double x) const {
        if (pieces) return pieces[slot].YAt(x);
        return Engine->SliceLineY(slot, interval, x);
    }
};

// PondedWater. Where the water line lies above the ground, the water standing
// there presses on the sliding mass normal to the ground surface: p = γw·d at
// depth d below the water line. Along the top of the mass, walked from the
// start point to the end point, that is the force ∫ p·(dy, −dx): its vertical
// part is the water's weight, which each slice carries as γw·d·b at its centre
// line (added to W, as the load it is; the slice's areas stay soil); its
// horizontal part is the thrust ∫ p·dy, which on a slice's sloping top is the
// weight times the slope, taken at the centre line, and on a vertical step of
// the ground (a face the circle enters, or a wall) is integrated exactly. The
// thrust enters the driving moment only, about the centre at its own height
// ((y − Yo)·Fx, clockwise positive), and the force form takes that moment over
// R, as W·sinα is the weight's. It does not enter the normal force: the form
// (W − u·b)·cosα·tanφ resolves vertical forces only.
//
// Why this is right: a hydrostatic pressure all round the mass (on its top
// surface, and u = γw·hw on its base) adds up to the buoyancy, an upward force
// γw·A at the soil's centre. The base pressure acts through the centre and
// has no moment, so the moment of the top water is that of the buoyancy:
// Σ (γw·d·b)(x − Xo) + Σ Fx·(y − Yo) = −Σ γw·A·(x − Xo). In effective stress
// the normal term is (W + γw·d·b − γw·(H + d)·b)·cosα = (γsat − γw)·H·b·cosα.
// Both sums are those of the slope with the submerged weight γs = γsat − γw
// and no water at all; so a submerged cohesionless slope, like a dry one of
// one unit weight, has Fs = Σ N·tanφ / Σ W·sinα, which for a shallow circle
// on a plane slope of angle β tends to tanφ / tanβ. In total stress the water
// is an external load (weight and thrust) and no pore pressure is taken.
//
// The horizontal thrust on a vertical step from y1 to y2 under the water
// level w, and its clockwise moment about the centre:
//   Fx = γw·((w − y1)⁺² − (w − y2)⁺²) / 2,
//   M  = γw·(K(y2) − K(y1)),  K(y) = t³/3 − (w − Yo)·t²/2,  t = (w − y)⁺,
// since dK/dy = (y − Yo)·(w − y) below the water level.
double StepThrustMoment(double gammaW, double w, double y1, double y2, double Yo) {
    auto K = [&](double y) {
        const double t = Positive(w - y);
        return t * t * t / 3 - (w - Yo) * t * t / 2;
    };
    return gammaW * (K(y2) - K(y1));
}

// The water standing on a slice's top, where the water line lies above the
// ground over some of its width. Over the slice both lines are straight, so
// the depth is d(s) = dc + d'·s at s from the centre line, and over its part
// with d > 0: I0 = ∫ d ds, I1 = ∫ s·d ds. The weight is γw·I0; its moment
// about the centre γw·(I0·(xc − Xo) + I1), of which the slice method's
// R·W·sinα holds the first part; the thrust γw·g'·I0 (g' the ground's slope)
// acts at the ground, with the moment γw·g'·(I0·(gc − Yo) + g'·I1).
struct TPondedLoad {
    double Weight = 0;
    double Moment = 0;  // beyond R·Weight·sinα
};

TPondedLoad PondedLoad(const TSliceContext& x, std::size_t si, std::size_t interval, double waterY,
                       double Yo) {
    const double b = x.Width[si];
    const double half = b / 2;
    const double xc = x.CentreX[si];
    const double gc = x.GroundYCentre[si];
    // Both lines at the left edge on the slice's own pieces: the edge itself
    // may lie a rounding off the break point, on the other side of a step.
    const double groundLeft = x.Engine->SliceLineY(0, interval, xc - half);
    const double gSlope = (gc - groundLeft) / half;
    const double waterLeft = x.Engine->SliceLineY(WaterSlot, interval, xc - half);
    const double dc = waterY - gc;
    const double dSlope = ((waterY - waterLeft) - (gc - groundLeft)) / half;
    double s0 = -half;
    double s1 = half;
    if (dSlope > 0) {
        s0 = std::max(s0, -dc / dSlope);
    } else if (dSlope < 0) {
        s1 = std::min(s1, -dc / dSlope);
    } else if (!(dc > 0)) {
        return {};
    }
    if (!(s1 > s0)) return {};
    const double I0 = dc * (s1 - s0) + dSlope * (s1 * s1 - s0 * s0) / 2;
    const double I1 = dc * (s1 * s1 - s0 * s0) / 2 + dSlope * (s1 * s1 * s1 - s0 * s0 * s0) / 3;
    if (!(I0 > 0)) return {};
    TPondedLoad load;
    load.Weight = x.GammaWater * I0;
    load.Moment = x.GammaWater * (I1 + gSlope * (I0 * (gc - Yo) + gSlope * I1));
    return load;
}

// One slice's W, resisting and driving terms. With a seismic coefficient
// the terms depend on the sense the circle slides in, which only the sum of
// the static driving terms tells: Resisting and Driving are then those of
// clockwise sliding, the Counter pair those of counter-clockwise sliding.
struct TSliceTerms {
    double W = 0;
    double Resisting = 0;
    double Driving = 0;
    double StaticDriving = 0;
    double CounterResisting = 0;
    double CounterDriving = 0;
};

// The centre of gravity of a slice's soil, by its parts: each layer's part
// above and below the water level weighs its area times its unit weight and
// has its centre at mid-height of its span on the slice's centre line, the
// vertical the slice method weighs the slice by.
struct TGravity {
    double Weight = 0;
    double Moment = 0;  // Σ weight·y
    // A part of no weight adds zeros, which change neither sum.
    void Add(double weight, double bottom, double top) {
        Weight += weight;
        Moment += weight * ((bottom + top) / 2);
    }
    [[nodiscard]] double Y(double fallback) const {
        return Weight > 0 ? Moment / Weight : fallback;
    }
};

// Slice i of a circle with `Layers` layers in use, with the arc between its
// left and right points (ArcAngle). Without a row only the sums are computed; the
// arithmetic of every value that reaches them is the same either way. Without
// `Extras` (no case loads, no method beyond the ordinary one) their branches
// are compiled out of the search's inner loop; `Seismic` (kh ≠ 0, with Extras)
// keeps the seismic terms' branches out of the others.
template <int Layers, bool WithRow, bool Extras, bool Seismic, bool Record = false>
TSliceTerms SliceCore(const TSliceContext& x, int i, std::size_t interval, TPoint left,
                      TPoint right, double dTheta, double h, double lever, double stepMoment,
                      TSliceRow* row) {
    const auto si = static_cast<std::size_t>(i);
    const double xc = x.CentreX[si];
    const double b = x.Width[si];
    const double yc = x.ArcYCentre[si];
    const TSlipCircle& c = x.Circle;
    const double R = c.R;
    const TLinePiece* pieces = x.PiecesAt(interval);

    // 1. Base geometry.
    const double L = dTheta * R;
    const double s = SegmentArea(dTheta, R);
    const double sag = (left.Y + right.Y) / 2 - yc;

    // 2. Water height.
    const double waterY = x.WaterOn ? x.LineY(pieces, WaterSlot, interval, xc) : 0.0;
    const double hw = x.WaterOn ? Positive(waterY - yc) : 0.0;
    const bool dry = !x.WaterOn || hw <= 0;
    // The part below the water of a boundary above the water level; the same
    // for every such boundary.
    const double wetArea = dry ? 0.0 : (hw - sag) * b + s;

    // 3. Heights of the boundaries above the slip surface and the areas below
    // them, split at the water level. A boundary is clipped to the one above
    // it, and so to the ground: where a boundary is drawn above the ground (or
    // above a boundary over it) the layers between have no thickness, as a
    // layer that pinches out; it never counts as soil of negative weight.
    double H[MaxLayers] = {};
    double above[MaxLayers + 1] = {};
    double below[MaxLayers + 1] = {};
    int strengthLayer = -1;
    double top = x.GroundYCentre[si];
#pragma GCC unroll 5
    for (int k = 0; k < Layers; ++k) {
        if (k > 0) top = std::min(top, x.LineY(pieces, k, interval, xc));
        const double Hk = Positive(top - yc);
        H[k] = Hk;
        // The boundaries below are clipped to this one: none reaches above
        // the slip surface either.
        if (!(Hk > 0)) break;
        const double area = (Hk - sag) * b + s;
        if (dry) {
            above[k] = area;
        } else if (hw <= Hk) {
            below[k] = wetArea;
            above[k] = area - wetArea;
        } else {
            below[k] = area;
        }
        strengthLayer = k;
    }
    double cohesion = 0;
    double phi = 0;
    double tanPhi = 0;
    if (strengthLayer >= 0) {
        const auto k = static_cast<std::size_t>(strengthLayer);
        cohesion = x.C[k];
        phi = x.Phi[k];
        tanPhi = x.TanPhi[k];
    }

    // 4. and 5. Each layer's own share (its boundary's values minus those of
    // the boundary below it; the last layer keeps its own) and the weight;
    // the part below the water weighs saturated in both modes.
    double W = 0;
    double sumV = 0;
    constexpr bool seismic = Extras && Seismic;
    TGravity gravity;
#pragma GCC unroll 5
    for (int k = 0; k < Layers; ++k) {
        // The layers below the slice's lowest have no share; a row still
        // lists them.
        if (!WithRow && k > strengthLayer) break;
        const auto kk = static_cast<std::size_t>(k);
        double a = above[k];
        double w = below[k];
        if (k + 1 < Layers) {
            a = a - above[k + 1];
            w = w - below[k + 1];
        }
        W += a * x.GammaT[kk] + w * x.GammaSat[kk];
        if (seismic || WithRow || (Extras && x.Forces)) {
            const double spanTop = yc + H[k];
            const double bottom = yc + (k + 1 < Layers ? H[k + 1] : 0.0);
            if (dry) {
                gravity.Add(a * x.GammaT[kk], bottom, spanTop);
            } else {
                const double level = yc + hw;
                gravity.Add(a * x.GammaT[kk], std::max(bottom, level), spanTop);
                gravity.Add(w * x.GammaSat[kk], bottom, std::min(spanTop, level));
            }
        }
        if constexpr (WithRow) {
            sumV += a + w;
            if (k + 1 < Layers) H[k] = H[k] - H[k + 1];
            row->VWet[kk] = a;
            row->VSub[kk] = w;
        }
    }

    // Water standing on the slice (PondedWater, above): its weight joins the
    // slice's, its thrust on the sloping top and the weight's own lever beyond
    // the centre line the driving moment.
    double thrustMoment = stepMoment;
    bool ponded = false;
    if (x.Ponded) {
        const TPondedLoad pond = PondedLoad(x, si, interval, waterY, c.Yo);
        if (pond.Weight > 0) {
            ponded = true;
            W += pond.Weight;
            thrustMoment += pond.Moment;
        }
    }

    // The surcharge, where it counts, is weight on the slice's top: no soil,
    // so it takes no seismic force.
    double load = 0;
    if (Extras && x.Loads.Surcharge) {
        const double from = std::min(x.Loads.SurchargeX0, x.Loads.SurchargeX1);
        const double to = std::max(x.Loads.SurchargeX0, x.Loads.SurchargeX1);
        const double loaded = std::min(to, xc + b / 2) - std::max(from, xc - b / 2);
        if (loaded > 0) {
            load = x.Loads.SurchargeQ * loaded;
            W += load;
        }
    }

    // 6. Inclination.
    const double alpha = (c.Yo - yc == 0) ? HalfPi : std::atan((xc - c.Xo) / (c.Yo - yc));
    const double sinA = std::sin(alpha);
    const double cosA = std::cos(alpha);

    // 7. Normal term; in effective stress the pore pressure u on the width b
    // is taken off, but never below zero: water standing above the ground
    // must not pull the slice down.
    double normal = W;
    double pore = 0;
    if (x.StrengthMode == TStrengthMode::Effective) {
        // Under ponded water the pore force is taken on the base as it is,
        // over the whole column below the water level ((hw − e)·b + s), so
        // that the water's weight and the pore force cancel to the submerged
        // weight; elsewhere u on the width b, as ever.
        const double u = hw * x.GammaWater;
        pore = ponded ? x.GammaWater * ((hw - sag) * b + s) : u * b;
        normal = std::max(W - pore, 0.0);
    }

    // 8. and 9.
    TSliceTerms terms;
    terms.W = W;
    if (x.DisplayForm == TFsForm::Moment) {
        terms.Driving = R * W * sinA;
        terms.Resisting = R * normal * cosA * tanPhi + R * cohesion * L + lever * cohesion * h;
        if (thrustMoment != 0) terms.Driving += thrustMoment;
    } else {
        terms.Driving = W * sinA;
        terms.Resisting = normal * cosA * tanPhi + cohesion * L + cohesion * h;
        // As W·sinα is the weight's moment over R, so is the thrust's term.
        if (thrustMoment != 0) terms.Driving += thrustMoment / R;
    }
    if constexpr (Record) {
        // The resisting term's strength-free factors, as associated above.
        x.RecordNormal[si] = x.DisplayForm == TFsForm::Moment ? R * normal * cosA : normal * cosA;
        x.RecordL[si] = L;
        x.RecordLayer[si] = static_cast<std::uint8_t>(strengthLayer + 1);
    }
    if (seismic) {
        // kh·W of the soil at its centre of gravity, horizontal, in the sense
        // of sliding: clockwise sliding moves the mass towards −X. It drives
        // with the lever Yo − yG (moment form; cosα in force form) and takes
        // kh·W·sinα off the normal force, which, like the static one, never
        // goes below zero.
        const double force = x.Loads.Kh * gravity.Weight;
        const bool moment = x.DisplayForm == TFsForm::Moment;
        const double arm = moment ? R : 1.0;
        const double cohesive =
            moment ? R * cohesion * L + lever * cohesion * h : cohesion * L + cohesion * h;
        const double push = moment ? force * (c.Yo - gravity.Y(yc)) : force * cosA;
        terms.StaticDriving = terms.Driving;
        terms.Resisting = arm * std::max(normal * cosA - force * sinA, 0.0) * tanPhi + cohesive;
        terms.CounterResisting =
            arm * std::max(normal * cosA + force * sinA, 0.0) * tanPhi + cohesive;
        terms.CounterDriving = terms.Driving - push;
        terms.Driving += push;
    }

    if (Extras && x.Forces) {
        const bool moment = x.DisplayForm == TFsForm::Moment;
        TSliceForces& f = x.Forces[si];
        f.W = W;
        f.SoilW = gravity.Weight;
        f.B = b;
        f.L = L;
        f.Sin = sinA;
        f.Cos = cosA;
        f.C = cohesion;
        f.TanPhi = tanPhi;
        f.Pore = pore;
        f.Crack = moment ? lever * cohesion * h / R : cohesion * h;
        f.Thrust = thrustMoment / R;
        f.GravityLever = c.Yo - gravity.Y(yc);
    }

    if constexpr (WithRow) {
        row->No = i + 1;
        row->CentreX = xc;
        row->B = b;
        double sumH = 0;
        for (int k = 0; k < MaxLayers; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            row->H[kk] = H[k];
            if (k >= Layers) row->VWet[kk] = row->VSub[kk] = 0;
            sumH += H[k];
        }
        row->SumH = sumH;
        row->GroundHeight = x.GroundYCentre[si] - yc;
        row->SumV = sumV;
        row->C = cohesion;
        row->L = L;
        row->W = W;
        row->Alpha = alpha;
        row->Phi = phi;
        row->Resisting = terms.Resisting;
        row->Driving = terms.Driving;
        row->Load = load;
        row->GravityY = gravity.Y(yc);
        row->Counter = {terms.CounterResisting, terms.CounterDriving};
    }
    return terms;
}

// Every slice of a circle that DivideSlices has cut, summed into `result`;
// false, with the sums incomplete, when a slice spans more than half a turn.
// With `Record`, each slice's strength-free terms go to `recorded` and the
// crack faces to `record`.
template <int Layers, bool WithRow, bool Extras, bool Seismic, bool Record>
bool SumSlicesIn(const TAnalysisModel& e, const TSliceList& sl, const std::size_t* intervals,
                 const TSlipCircle& c, TCircleEvaluation& result, TSliceRow* rows,
                 TSliceForces* forces, TCircleCache::TCircleRecord* record,
                 TCircleCache::TSliceArrays* recorded) {
    TSliceContext x(e, sl, intervals, c);
    x.Forces = forces;
    if constexpr (Record) {
        x.RecordNormal = recorded->Normal.data();
        x.RecordL = recorded->L.data();
        x.RecordLayer = recorded->Layer.data();
    }
    const double Xb = result.Xb, Yb = result.Yb, Xe = result.Xe, Ye = result.Ye;
    const int n = sl.Count();
    const double* leftX = sl.LeftX.data();
    const double* arcYLeft = sl.ArcYLeft.data();
    const double* width = sl.Width.data();
    // The right point of a slice is the left point of the next, so its angle
    // is carried over rather than computed twice.
    double carriedAngle = 0;
    constexpr bool seismic = Extras && Seismic;
    double staticDriving = 0, counterResisting = 0, counterDriving = 0;
    // Ponded water on vertical steps of the ground: at the start point (from
    // Yb up or down to the ground beside it), between slices, at the end point.
    const bool ponded = x.Ponded;
    const double* centreX = sl.CentreX.data();
    // The ground at x on slice j's own piece.
    auto groundOn = [&](std::size_t j, double at) { return e.SliceLineY(0, x.Intervals[j], at); };
    auto step = [&](double at, double from, double to) {
        if (from == to) return 0.0;
        const double w = e.WaterYAt(at);
        if (!(w > std::min(from, to))) return 0.0;
        return StepThrustMoment(e.GammaWater, w, from, to, c.Yo);
    };
    for (int i = 0; i < n; ++i) {
        const auto si = static_cast<std::size_t>(i);
        TPoint ordinaryLeft{leftX[si], arcYLeft[si]};
        TPoint left = ordinaryLeft;
        TPoint right{};
        double h = 0;
        double lever = 0;
        bool leftOrdinary = true;
        bool rightOrdinary = i + 1 < n;
        if (rightOrdinary) right = {leftX[si + 1], arcYLeft[si + 1]};
        if (i == 0) {
            leftOrdinary = false;
            left = {Xb, Yb};
            if (c.Xo - c.R < Xb && c.Yo < Yb) {
                const double arcY = ArcYAt(c, Xb);
                left = {Xb, arcY};
                h = Yb - arcY;
                lever = c.Xo - Xb;
            }
        }
        if (i == n - 1) {
            // A single slice takes its ordinary left point back here.
            left = ordinaryLeft;
            leftOrdinary = i > 0;
            right = {Xe, Ye};
            if (c.Xo + c.R > Xe && c.Yo < Ye) {
                const double arcY = ArcYAt(c, Xe);
                right = {Xe, arcY};
                h = Ye - arcY;
                lever = Xe - c.Xo;
            }
        }
        const double thetaL = leftOrdinary ? carriedAngle : PointAngle(c, left.X, left.Y);
        const double thetaR = PointAngle(c, right.X, right.Y);
        carriedAngle = thetaR;
        // The lower arc is half a turn at most; a slice beyond it has end
        // points that rounding has put in the wrong order.
        const double dTheta = ArcAngle(thetaL, thetaR);
        if (!(dTheta <= std::numbers::pi)) return false;
        double stepMoment = 0;
        if (ponded) {
            // The ground just left of this slice: Yb, or the end of the slice
            // before (its top is straight).
            const double edge = leftX[si];
            const double before = i == 0 ? Yb : groundOn(si - 1, edge);
            stepMoment = step(edge, before, groundOn(si, edge));
            if (i == n - 1) stepMoment += step(Xe, groundOn(si, centreX[si] + width[si] / 2), Ye);
        }
        const TSliceTerms terms = SliceCore<Layers, WithRow, Extras, Seismic, Record>(
            x, i, x.Intervals[si], left, right, dTheta, h, lever, stepMoment,
            WithRow ? &rows[si] : nullptr);
        if constexpr (Record) {
            if (i == 0) {
                record->FirstH = h;
                record->FirstLever = lever;
            }
            if (i == n - 1) {
                record->LastH = h;
                record->LastLever = lever;
            }
        }
        result.WidthSum += width[si];
        result.WeightSum += terms.W;
        result.Resisting += terms.Resisting;
        result.Driving += terms.Driving;
        if (seismic) {
            staticDriving += terms.StaticDriving;
            counterResisting += terms.CounterResisting;
            counterDriving += terms.CounterDriving;
        }
    }
    // Under a seismic force the circle slides as its weight drives it.
    if (seismic && staticDriving < 0) {
        result.Resisting = counterResisting;
        result.Driving = counterDriving;
        if constexpr (WithRow) {
            for (int i = 0; i < n; ++i) {
                TSliceRow& row = rows[static_cast<std::size_t>(i)];
                std::swap(row.Resisting, row.Counter.Resisting);
                std::swap(row.Driving, row.Counter.Driving);
            }
        }
    }
    return true;
}

template <int Layers, bool WithRow, bool Extras, bool Seismic>
bool SumSlices(const TAnalysisModel& e, const TSliceList& sl, const std::size_t* intervals,
               const TSlipCircle& c, TCircleEvaluation& result, TSliceRow* rows,
               TSliceForces* forces) {
    return SumSlicesIn<Layers, WithRow, Extras, Seismic, false>(e, sl, intervals, c, result, rows,
                                                                forces, nullptr, nullptr);
}

// The loops above for the model's layer count, so that the layer loops are
// unrolled.
template <bool WithRow>
bool SumSlicesOf(const TAnalysisModel& e, const TSliceList& sl, const std::size_t* intervals,
                 const TSlipCircle& c, TCircleEvaluation& result, TSliceRow* rows,
                 TSliceForces* forces) {
    using TSum = bool (*)(const TAnalysisModel&, const TSliceList&, const std::size_t*,
                          const TSlipCircle&, TCircleEvaluation&, TSliceRow*, TSliceForces*);
    static constexpr std::array<TSum, MaxLayers + 1> plain{
        &SumSlices<0, WithRow, false, false>, &SumSlices<1, WithRow, false, false>,
        &SumSlices<2, WithRow, false, false>, &SumSlices<3, WithRow, false, false>,
        &SumSlices<4, WithRow, false, false>, &SumSlices<5, WithRow, false, false>};
    static constexpr std::array<TSum, MaxLayers + 1> extras{
        &SumSlices<0, WithRow, true, false>, &SumSlices<1, WithRow, true, false>,
        &SumSlices<2, WithRow, true, false>, &SumSlices<3, WithRow, true, false>,
        &SumSlices<4, WithRow, true, false>, &SumSlices<5, WithRow, true, false>};
    static constexpr std::array<TSum, MaxLayers + 1> seismic{
        &SumSlices<0, WithRow, true, true>, &SumSlices<1, WithRow, true, true>,
        &SumSlices<2, WithRow, true, true>, &SumSlices<3, WithRow, true, true>,
        &SumSlices<4, WithRow, true, true>, &SumSlices<5, WithRow, true, true>};
    const auto& sums = e.Loads.Kh != 0                     ? seismic
                       : forces || e.Loads != TCaseLoads{} ? extras
                                                           : plain;
    return sums[static_cast<std::size_t>(e.LayersInUse())](e, sl, intervals, c, result, rows,
                                                           forces);
}

// The plain loop, recording each slice's strength-free terms.
bool SumSlicesRecording(const TAnalysisModel& e, const TSliceList& sl, const std::size_t* intervals,
                        const TSlipCircle& c, TCircleEvaluation& result,
                        TCircleCache::TCircleRecord& record, TCircleCache::TSliceArrays& recorded) {
    using TSum = bool (*)(const TAnalysisModel&, const TSliceList&, const std::size_t*,
                          const TSlipCircle&, TCircleEvaluation&, TSliceRow*, TSliceForces*,
                          TCircleCache::TCircleRecord*, TCircleCache::TSliceArrays*);
    static constexpr std::array<TSum, MaxLayers + 1> sums{
        &SumSlicesIn<0, false, false, false, true>, &SumSlicesIn<1, false, false, false, true>,
        &SumSlicesIn<2, false, false, false, true>, &SumSlicesIn<3, false, false, false, true>,
        &SumSlicesIn<4, false, false, false, true>, &SumSlicesIn<5, false, false, false, true>};
    const auto n = static_cast<std::size_t>(sl.Count());
    recorded.Normal.resize(n);
    recorded.L.resize(n);
    recorded.Layer.resize(n);
    return sums[static_cast<std::size_t>(e.LayersInUse())](e, sl, intervals, c, result, nullptr,
                                                           nullptr, &record, &recorded);
}

TSliceRow OneSlice(const TAnalysisModel& e, const TSliceContext& x, int i, std::size_t interval,
                   TPoint left, TPoint right, double dTheta, double h, double lever) {
    using TCore = TSliceTerms (*)(const TSliceContext&, int, std::size_t, TPoint, TPoint, double,
                                  double, double, double, TSliceRow*);
    static constexpr std::array<TCore, MaxLayers + 1> cores{
        &SliceCore<0, true, true, false>, &SliceCore<1, true, true, false>,
        &SliceCore<2, true, true, false>, &SliceCore<3, true, true, false>,
        &SliceCore<4, true, true, false>, &SliceCore<5, true, true, false>};
    static constexpr std::array<TCore, MaxLayers + 1> seismicCores{
        &SliceCore<0, true, true, true>, &SliceCore<1, true, true, true>,
        &SliceCore<2, true, true, true>, &SliceCore<3, true, true, true>,
        &SliceCore<4, true, true, true>, &SliceCore<5, true, true, true>};
    TSliceRow row;
    (e.Loads.Kh != 0 ? seismicCores : cores)[static_cast<std::size_t>(e.LayersInUse())](
        x, i, interval, left, right, dTheta, h, lever, 0.0, &row);
    return row;
}

// Sorted break points between Xb and Xe, both included, exact repeats dropped.
void CollectBreaks(const TAnalysisModel& e, double Xb, double Xe, std::vector<double>& out) {
    out.clear();
    if (e.Lookups.Ready) {
        // The model's points are sorted once; only the circle's two ends are
        // merged in.
        const std::vector<double>& sorted = e.Lookups.SortedBreakX;
        out.push_back(Xb);
        auto it = std::upper_bound(sorted.begin(), sorted.end(), Xb);
        for (; it != sorted.end() && *it < Xe; ++it) out.push_back(*it);
        if (Xe > Xb) out.push_back(Xe);
        return;
    }
    // The circle's ends take the two reserved entries.
    std::vector<double> all = e.BreakX;
    if (all.size() < 2) {
        all.push_back(Xb);
        all.push_back(Xe);
    } else {
        all[all.size() - 2] = Xb;
        all[all.size() - 1] = Xe;
    }
    std::sort(all.begin(), all.end());
    for (double v : all) {
        if (v < Xb || v > Xe) continue;
        if (out.empty() || v > out.back()) out.push_back(v);
    }
}

// Level ground is ground of one elevation over the whole sliding mass: at
// both end points and at every slice's edges and centre. Then the driving sum
// is rounding noise about zero and the circle is no slip at all. Slice centres
// alone do not tell: a circle entering a vertical face and leaving on the
// crest has every slice centre under the level crest, yet its mass is real.
bool LevelOverTheMass(const TAnalysisModel& e, const TSliceList& sl, const std::size_t* intervals,
                      double Yb, double Ye) {
    if (Yb != Ye) return false;
    const std::size_t n = sl.CentreX.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (sl.GroundYCentre[i] != Yb) return false;
        // The edges on the slice's own piece of ground: an edge a rounding
        // off a break point may otherwise read the ground beyond it.
        const std::size_t interval = intervals[i];
        const double half = sl.Width[i] / 2;
        if (e.SliceLineY(0, interval, sl.CentreX[i] - half) != Yb ||
            e.SliceLineY(0, interval, sl.CentreX[i] + half) != Yb)
            return false;
    }
    return true;
}

}  // namespace

double SegmentArea(double dTheta, double R) {
    return dTheta * (R * R) / 2 - (R * R) * std::cos(dTheta / 2) * std::sin(dTheta / 2);
}

namespace {

// DivideSlices; without `groundLeft` the ground at the slices' left edges,
// which only the drawings read, is left out.
bool DivideSlicesIn(const TAnalysisModel& e, const TSlipCircle& c, double Xb, double Xe,
                    TSliceList& sl, TEngineScratch& scratch, bool groundLeft) {
    std::vector<double>& u = scratch.Breaks;
    CollectBreaks(e, Xb, Xe, u);
    const double limit = e.SliceWidthLimit;

    // Count first, so that the lists are sized once.
    double total = 0;
    for (std::size_t j = 0; j + 1 < u.size(); ++j) {
        total += IntervalSlices(u[j + 1] - u[j], limit);
    }
    if (!(total <= MaxSlicesPerCircle)) {
        sl.Clear();
        return false;
    }
    sl.Resize(static_cast<int>(total));
    std::vector<std::size_t>& intervals = scratch.CentreInterval;
    intervals.resize(sl.CentreX.size());

    double* centreX = sl.CentreX.data();
    double* widths = sl.Width.data();
    double* leftX = sl.LeftX.data();
    double* arcYCentre = sl.ArcYCentre.data();
    double* arcYLeft = sl.ArcYLeft.data();
    double* groundYCentre = sl.GroundYCentre.data();
    double* groundYLeft = sl.GroundYLeft.data();
    std::size_t* centreInterval = intervals.data();
    // The ground's pieces, when it is tabled.
    const TLinePiece* ground =
        e.Lookups.Ready && e.Lookups.Tabled[0] ? e.Lookups.Pieces.data() : nullptr;
    auto groundY = [&](std::size_t interval, double x) {
        if (ground && interval != TAnalysisModel::NoInterval)
            return ground[interval * SliceLineSlots].YAt(x);
        return e.SliceLineY(0, interval, x);
    };
    // Slices come in increasing X, so each look-up walks on from the last.
    std::size_t centreHint = 0;
    std::size_t leftHint = 0;
    std::size_t n = 0;
    for (std::size_t j = 0; j + 1 < u.size(); ++j) {
        const double w = u[j + 1] - u[j];
        const int k = static_cast<int>(IntervalSlices(w, limit));
        for (int t = 0; t < k; ++t) {
            const double width = w / k;
            const double centre = u[j] + t * (w / k) + (w / k) / 2;
            const double left = centre - width / 2;
            centreX[n] = centre;
            widths[n] = width;
            leftX[n] = left;
            arcYCentre[n] = ArcYAt(c, centre);
            arcYLeft[n] = ArcYAt(c, left);
            centreHint = e.IntervalOf(centre, centreHint);
            centreInterval[n] = centreHint;
            groundYCentre[n] = groundY(centreHint, centre);
            if (groundLeft) {
                leftHint = e.IntervalOf(left, leftHint);
                groundYLeft[n] = groundY(leftHint, left);
            }
            ++n;
        }
    }
    return true;
}

}  // namespace

bool DivideSlices(const TAnalysisModel& e, const TSlipCircle& c, double Xb, double Xe,
                  TSliceList& sl, TEngineScratch& scratch) {
    return DivideSlicesIn(e, c, Xb, Xe, sl, scratch, true);
}

TSliceRow EvaluateSlice(const TAnalysisModel& model, const TSlipCircle& circle,
                        const TSliceList& slices, int index, TPoint left, TPoint right,
                        double crackHeight, double crackLever) {
    // The intervals of every centre, as DivideSlices leaves them.
    std::vector<std::size_t> intervals(slices.CentreX.size());
    std::size_t hint = 0;
    for (std::size_t i = 0; i < intervals.size(); ++i)
        intervals[i] = hint = model.IntervalOf(slices.CentreX[i], hint);
    const std::size_t interval =
        model.IntervalOf(slices.CentreX[static_cast<std::size_t>(index)], 0);
    const TSliceContext x(model, slices, intervals.data(), circle);
    const double dTheta =
        ArcAngle(PointAngle(circle, left.X, left.Y), PointAngle(circle, right.X, right.Y));
    return OneSlice(model, x, index, interval, left, right, dTheta, crackHeight, crackLever);
}

TCircleEvaluation Evaluate(const TAnalysisModel& model, const TSlipCircle& c,
                           TEngineScratch& scratch, TCircleWanted wanted) {
    TCircleEvaluation result;
    const TCircleClassification k =
        ClassifyCircle(model, c, wanted.MeetX ? &result.MeetX : nullptr);
    result.Verdict = k.Verdict;
    result.Crossings = k.Crossings;
    if (k.Verdict != TCircleVerdict::Valid) return result;
    result.Xb = k.Xb;
    result.Yb = k.Yb;
    result.Xe = k.Xe;
    result.Ye = k.Ye;
    // A refusal after the classification keeps the end points and crossings
    // found, as the sums are zero.
    auto refuse = [&](TCircleVerdict verdict) {
        TCircleEvaluation refused;
        refused.Verdict = verdict;
        refused.Crossings = result.Crossings;
        refused.Xb = result.Xb;
        refused.Yb = result.Yb;
        refused.Xe = result.Xe;
        refused.Ye = result.Ye;
        refused.MeetX = std::move(result.MeetX);
        return refused;
    };
    TSliceList& sl = scratch.Slices;
    // The slices leave here only when wanted; the ground at their left edges
    // with them.
    if (!DivideSlicesIn(model, c, k.Xb, k.Xe, sl, scratch, wanted.Slices))
        return refuse(TCircleVerdict::TooManySlices);
    const std::size_t* intervals = scratch.CentreInterval.data();
    const bool ordinary =
        model.Method == TSliceMethodKind::Ordinary && model.PoreForm == TPoreForm::Modified;
    TSliceForces* forces = nullptr;
    if (!ordinary) {
        scratch.Forces.resize(static_cast<std::size_t>(sl.Count()));
        forces = scratch.Forces.data();
    }
    bool summed = false;
    if (wanted.Rows) {
        std::vector<TSliceRow>& rows = result.Rows;
        rows.resize(static_cast<std::size_t>(sl.Count()));
        summed = SumSlicesOf<true>(model, sl, intervals, c, result, rows.data(), forces);
    } else {
        summed = SumSlicesOf<false>(model, sl, intervals, c, result, nullptr, forces);
    }
    if (!summed) return refuse(TCircleVerdict::SliceOverHalfTurn);
    if (!ordinary) {
        const TCircleVerdict solved = SolveMethod(model, c, scratch.Forces, result);
        if (solved != TCircleVerdict::Valid) return refuse(solved);
    }

    if (std::fabs(result.Driving) > 0) result.Fs = result.Resisting / result.Driving;
    if (!std::isfinite(result.Resisting) || !std::isfinite(result.Driving) ||
        !std::isfinite(result.Fs)) {
        TCircleEvaluation refused = refuse(TCircleVerdict::NotFinite);
        if (wanted.Slices) refused.Slices = sl;
        return refused;
    }
    result.Verdict = LevelOverTheMass(model, sl, intervals, k.Yb, k.Ye)
                         ? TCircleVerdict::LevelGround
                         : TCircleVerdict::Valid;
    if (wanted.Slices) result.Slices = sl;
    return result;
}

TCircleResult EvaluateRecording(const TAnalysisModel& model, const TSlipCircle& c,
                                TEngineScratch& scratch, TCircleCache::TCircleRecord& record,
                                TCircleCache::TSliceArrays& recorded) {
    // Evaluate's plain path, step for step, with what a replay needs kept.
    TCircleEvaluation result;
    record.Summed = false;
    record.Count = 0;
    recorded.Normal.clear();
    recorded.L.clear();
    recorded.Layer.clear();
    const TCircleClassification k = ClassifyCircle(model, c, nullptr);
    result.Verdict = k.Verdict;
    result.Crossings = k.Crossings;
    record.Verdict = k.Verdict;
    record.Crossings = k.Crossings;
    auto refuse = [&](TCircleVerdict verdict) {
        TCircleResult refused;
        refused.Verdict = verdict;
        refused.Crossings = result.Crossings;
        record.Verdict = verdict;
        return refused;
    };
    if (k.Verdict != TCircleVerdict::Valid) return refuse(k.Verdict);
    result.Xb = k.Xb;
    result.Yb = k.Yb;
    result.Xe = k.Xe;
    result.Ye = k.Ye;
    TSliceList& sl = scratch.Slices;
    if (!DivideSlicesIn(model, c, k.Xb, k.Xe, sl, scratch, false))
        return refuse(TCircleVerdict::TooManySlices);
    const std::size_t* intervals = scratch.CentreInterval.data();
    if (!SumSlicesRecording(model, sl, intervals, c, result, record, recorded)) {
        recorded.Normal.clear();
        recorded.L.clear();
        recorded.Layer.clear();
        return refuse(TCircleVerdict::SliceOverHalfTurn);
    }
    record.Summed = true;
    record.Count = static_cast<std::uint32_t>(sl.Count());
    record.Driving = result.Driving;
    record.WidthSum = result.WidthSum;
    record.WeightSum = result.WeightSum;
    record.Level = LevelOverTheMass(model, sl, intervals, k.Yb, k.Ye);
    record.Verdict = TCircleVerdict::Valid;
    return TCircleCache::Finish(result, record);
}

}  // namespace sorvanta
