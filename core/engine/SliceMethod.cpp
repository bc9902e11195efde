#include "engine/SliceMethod.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

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

double TanPhi(const TGetDat& model, int layer) {
    const auto k = static_cast<std::size_t>(layer);
    return model.Lookups.Ready ? model.Lookups.TanPhi[k] : std::tan(model.Soil[k].Phi);
}

// What the slices of one circle share, read once per circle rather than
// again after every call into the maths library.
struct TSliceContext {
    const TEC* Engine = nullptr;
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
    int StrengthMode = 0;
    int DisplayForm = 0;
    double GammaWater = 0;
    std::array<double, MaxLayers> GammaT{}, GammaSat{}, C{}, Phi{}, TanPhi{};

    TSliceContext(const TEC& e, const TSlipCircle& c) : Engine(&e), Circle(c) {
        const TSliceList& sl = e.SliceList;
        CentreX = sl.CentreX.data();
        Width = sl.Width.data();
        ArcYCentre = sl.ArcYCentre.data();
        GroundYCentre = sl.GroundYCentre.data();
        Intervals = e.Scratch.CentreInterval.data();
        WaterOn = e.WaterOn;
        StrengthMode = e.StrengthMode;
        DisplayForm = e.DisplayForm;
        GammaWater = e.GammaWater;
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
        return Pieces && interval != TGetDat::NoInterval ? Pieces + interval * SliceLineSlots
                                                         : nullptr;
    }
    // Elevation of slice line `slot` at the centre X of a slice; bit for bit
    // PolylineYAt.
    double LineY(const TLinePiece* pieces, int slot, std::size_t interval, double x) const {
        if (pieces) return pieces[slot].YAt(x);
        return Engine->SliceLineY(slot, interval, x);
    }
};

// One slice's W, resisting and driving terms.
struct TSliceTerms {
    double W = 0;
    double Resisting = 0;
    double Driving = 0;
};

// Slice i of a circle with `Layers` layers in use, with the arc between its
// left and right points (ArcAngle). Without a row only the sums are computed; the
// arithmetic of every value that reaches them is the same either way.
template <int Layers, bool WithRow>
TSliceTerms SliceCore(const TSliceContext& x, int i, std::size_t interval, TPoint left,
                      TPoint right, double dTheta, double h, double lever, TSliceRow* row) {
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
    const double hw = x.WaterOn ? Positive(x.LineY(pieces, WaterSlot, interval, xc) - yc) : 0.0;
    const bool dry = !x.WaterOn || hw <= 0;
    // The part below the water of a boundary above the water level; the same
    // for every such boundary.
    const double wetArea = dry ? 0.0 : (hw - sag) * b + s;

    // 3. Heights of the boundaries above the slip surface and the areas below
    // them, split at the water level.
    double H[MaxLayers] = {};
    double above[MaxLayers + 1] = {};
    double below[MaxLayers + 1] = {};
    int strengthLayer = -1;
#pragma GCC unroll 5
    for (int k = 0; k < Layers; ++k) {
        const double top = k == 0 ? x.GroundYCentre[si] : x.LineY(pieces, k, interval, xc);
        const double Hk = Positive(top - yc);
        H[k] = Hk;
        if (!(Hk > 0)) continue;
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
#pragma GCC unroll 5
    for (int k = 0; k < Layers; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        double a = above[k];
        double w = below[k];
        if (k + 1 < Layers) {
            a = a - above[k + 1];
            w = w - below[k + 1];
        }
        W += a * x.GammaT[kk] + w * x.GammaSat[kk];
        if constexpr (WithRow) {
            sumV += a + w;
            if (k + 1 < Layers) H[k] = H[k] - H[k + 1];
            row->VWet[kk] = a;
            row->VSub[kk] = w;
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
    if (x.StrengthMode == 1) {
        const double u = hw * x.GammaWater;
        normal = std::max(W - u * b, 0.0);
    }

    // 8. and 9.
    TSliceTerms terms;
    terms.W = W;
    if (x.DisplayForm == 0) {
        terms.Driving = R * W * sinA;
        terms.Resisting = R * normal * cosA * tanPhi + R * cohesion * L + lever * cohesion * h;
    } else {
        terms.Driving = W * sinA;
        terms.Resisting = normal * cosA * tanPhi + cohesion * L + cohesion * h;
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
    }
    return terms;
}

// Every slice of a circle that DivideSlices has cut, summed into `result`;
// false, with the sums incomplete, when a slice spans more than half a turn.
template <int Layers, bool WithRow>
bool SumSlices(const TEC& e, const TSlipCircle& c, TSliceRow* rows, TCircleResult& result) {
    const TSliceContext x(e, c);
    const TSliceList& sl = e.SliceList;
    const int n = sl.Count();
    const double* leftX = sl.LeftX.data();
    const double* arcYLeft = sl.ArcYLeft.data();
    const double* width = sl.Width.data();
    // The right point of a slice is the left point of the next, so its angle
    // is carried over rather than computed twice.
    double carriedAngle = 0;
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
            left = {e.Xb, e.Yb};
            if (c.Xo - c.R < e.Xb && c.Yo < e.Yb) {
                const double arcY = ArcYAt(c, e.Xb);
                left = {e.Xb, arcY};
                h = e.Yb - arcY;
                lever = c.Xo - e.Xb;
            }
        }
        if (i == n - 1) {
            // A single slice takes its ordinary left point back here.
            left = ordinaryLeft;
            leftOrdinary = i > 0;
            right = {e.Xe, e.Ye};
            if (c.Xo + c.R > e.Xe && c.Yo < e.Ye) {
                const double arcY = ArcYAt(c, e.Xe);
                right = {e.Xe, arcY};
                h = e.Ye - arcY;
                lever = e.Xe - c.Xo;
            }
        }
        const double thetaL = leftOrdinary ? carriedAngle : PointAngle(c, left.X, left.Y);
        const double thetaR = PointAngle(c, right.X, right.Y);
        carriedAngle = thetaR;
        // The lower arc is half a turn at most; a slice beyond it has end
        // points that rounding has put in the wrong order.
        const double dTheta = ArcAngle(thetaL, thetaR);
        if (!(dTheta <= std::numbers::pi)) return false;
        const TSliceTerms terms = SliceCore<Layers, WithRow>(
            x, i, x.Intervals[si], left, right, dTheta, h, lever, WithRow ? &rows[si] : nullptr);
        result.WidthSum += width[si];
        result.WeightSum += terms.W;
        result.Resisting += terms.Resisting;
        result.Driving += terms.Driving;
    }
    return true;
}

// The loops above for the model's layer count, so that the layer loops are
// unrolled.
template <bool WithRow>
bool SumSlicesOf(const TEC& e, const TSlipCircle& c, TSliceRow* rows, TCircleResult& result) {
    using TSum = bool (*)(const TEC&, const TSlipCircle&, TSliceRow*, TCircleResult&);
    static constexpr std::array<TSum, MaxLayers + 1> sums{
        &SumSlices<0, WithRow>, &SumSlices<1, WithRow>, &SumSlices<2, WithRow>,
        &SumSlices<3, WithRow>, &SumSlices<4, WithRow>, &SumSlices<5, WithRow>};
    return sums[static_cast<std::size_t>(e.LayersInUse())](e, c, rows, result);
}

TSliceRow OneSlice(const TEC& e, const TSliceContext& x, int i, std::size_t interval, TPoint left,
                   TPoint right, double dTheta, double h, double lever) {
    using TCore = TSliceTerms (*)(const TSliceContext&, int, std::size_t, TPoint, TPoint, double,
                                  double, double, TSliceRow*);
    static constexpr std::array<TCore, MaxLayers + 1> cores{
        &SliceCore<0, true>, &SliceCore<1, true>, &SliceCore<2, true>,
        &SliceCore<3, true>, &SliceCore<4, true>, &SliceCore<5, true>};
    TSliceRow row;
    cores[static_cast<std::size_t>(e.LayersInUse())](x, i, interval, left, right, dTheta, h, lever,
                                                     &row);
    return row;
}

// Sorted break points between Xb and Xe, both included, exact repeats dropped.
void CollectBreaks(TEC& e, double Xb, double Xe, std::vector<double>& out) {
    out.clear();
    if (e.BreakX.size() >= 2) {
        e.BreakX[e.BreakX.size() - 2] = Xb;
        e.BreakX[e.BreakX.size() - 1] = Xe;
    }
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
    std::vector<double> all = e.BreakX;
    if (all.size() < 2) {
        all.push_back(Xb);
        all.push_back(Xe);
    }
    std::sort(all.begin(), all.end());
    for (double v : all) {
        if (v < Xb || v > Xe) continue;
        if (out.empty() || v > out.back()) out.push_back(v);
    }
}

}  // namespace

double SegmentArea(double dTheta, double R) {
    return dTheta * (R * R) / 2 - (R * R) * std::cos(dTheta / 2) * std::sin(dTheta / 2);
}

bool DivideSlices(TEC& e, const TSlipCircle& c) {
    std::vector<double>& u = e.Scratch.Breaks;
    CollectBreaks(e, e.Xb, e.Xe, u);
    TSliceList& sl = e.SliceList;
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
    std::vector<std::size_t>& intervals = e.Scratch.CentreInterval;
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
        if (ground && interval != TGetDat::NoInterval)
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
            leftHint = e.IntervalOf(left, leftHint);
            groundYLeft[n] = groundY(leftHint, left);
            ++n;
        }
    }
    return true;
}

TSliceRow EvaluateSlice(const TEC& engine, const TSlipCircle& circle, int index, TPoint left,
                        TPoint right, double crackHeight, double crackLever) {
    const std::size_t interval =
        engine.IntervalOf(engine.SliceList.CentreX[static_cast<std::size_t>(index)], 0);
    const TSliceContext x(engine, circle);
    const double dTheta =
        ArcAngle(PointAngle(circle, left.X, left.Y), PointAngle(circle, right.X, right.Y));
    return OneSlice(engine, x, index, interval, left, right, dTheta, crackHeight, crackLever);
}

TCircleResult EvaluateCircle(TEC& e, const TSlipCircle& c, std::vector<TSliceRow>* rows) {
    TCircleResult result;
    if (!ClassifyCircle(e, c)) {
        if (rows) rows->clear();
        return result;
    }
    if (!DivideSlices(e, c)) {
        e.CircleStatus = CircleStatusText::TooManySlices;
        if (rows) rows->clear();
        return result;
    }
    const TSliceList& sl = e.SliceList;
    const int n = sl.Count();
    bool summed = false;
    if (rows) {
        rows->resize(static_cast<std::size_t>(n));
        summed = SumSlicesOf<true>(e, c, rows->data(), result);
    } else {
        summed = SumSlicesOf<false>(e, c, nullptr, result);
    }
    if (!summed) {
        e.CircleStatus = CircleStatusText::SliceOverHalfTurn;
        if (rows) rows->clear();
        return TCircleResult{};
    }

    if (std::fabs(result.Driving) > 0) result.Fs = result.Resisting / result.Driving;
    if (!std::isfinite(result.Resisting) || !std::isfinite(result.Driving) ||
        !std::isfinite(result.Fs)) {
        e.CircleStatus = CircleStatusText::NotFinite;
        return TCircleResult{};
    }
    result.Status = 2;
    for (int i = 1; i < n; ++i) {
        if (sl.GroundYCentre[static_cast<std::size_t>(i)] !=
            sl.GroundYCentre[static_cast<std::size_t>(i - 1)]) {
            result.Status = 1;
            break;
        }
    }
    return result;
}

}  // namespace sorvanta
