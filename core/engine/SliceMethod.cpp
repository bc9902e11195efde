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

double Positive(double v) { return v > 0 ? v : 0.0; }

// Elevations of the model's lines at increasing abscissae: for a line whose X
// never decreases the segment is found by walking on from the previous one,
// with the same arithmetic as TGetDat::PolylineYAt (which the other lines,
// and abscissae that go back, use).
class TLineCursors {
public:
    explicit TLineCursors(const TGetDat& model) : model_(model) {
        for (std::size_t k = 0; k < walk_.size(); ++k)
            walk_[k] = model.Lookups.Ready && model.Lookups.Monotone[k] && model.Figures[k].size() >= 2;
    }

    double YAt(TFigureKind kind, double x) {
        const auto k = static_cast<std::size_t>(kind);
        const TPolyline& line = model_.Figures[k];
        if (!walk_[k] || x < line[0].X) return model_.PolylineYAt(kind, x);
        const std::size_t n = line.size();
        std::size_t& i = hint_[k];
        if (x < line[i].X) i = 0;
        while (i + 1 < n && line[i + 1].X <= x) ++i;
        if (i + 1 == n) return model_.PolylineYAt(kind, x);
        const TPoint& p0 = line[i];
        const TPoint& p1 = line[i + 1];
        return p0.Y + (p1.Y - p0.Y) / (p1.X - p0.X) * (x - p0.X);
    }

private:
    const TGetDat& model_;
    std::array<bool, FigureKindCount> walk_{};
    std::array<std::size_t, FigureKindCount> hint_{};
};

double TanPhi(const TGetDat& model, int layer) {
    const auto k = static_cast<std::size_t>(layer);
    return model.Lookups.Ready ? model.Lookups.TanPhi[k] : std::tan(model.Soil[k].Phi);
}

// One slice, with the angle of its left point and the angle of its right
// point before the wrap-around correction (both from PointAngle). Fills `row`
// when given and returns the slice's W, resisting and driving terms.
struct TSliceTerms {
    double W = 0;
    double Resisting = 0;
    double Driving = 0;
};

TSliceTerms SliceCore(const TEC& e, const TSlipCircle& c, int i, TPoint left, TPoint right, double thetaL,
                      double thetaR, double h, double lever, TLineCursors& lines, TSliceRow* row) {
    const TSliceList& sl = e.SliceList;
    const auto si = static_cast<std::size_t>(i);
    const double xc = sl.CentreX[si];
    const double b = sl.Width[si];
    const double yc = sl.ArcYCentre[si];
    const double R = c.R;

    // 1. Base geometry.
    if (thetaR < thetaL) thetaR += TwoPi;
    const double dTheta = thetaR - thetaL;
    const double L = dTheta * R;
    const double s = SegmentArea(dTheta, R);
    const double sag = (left.Y + right.Y) / 2 - yc;

    // 2. Water height.
    const double hw = e.WaterOn ? Positive(lines.YAt(fkWater, xc) - yc) : 0.0;

    // 3. Heights of the boundaries above the slip surface and the areas below
    // them, split at the water level.
    const int layers = e.LayersInUse();
    double H[MaxLayers] = {};
    double above[MaxLayers] = {};
    double below[MaxLayers] = {};
    double cohesion = 0;
    int strengthLayer = -1;
    for (int k = 0; k < layers; ++k) {
        const double top = k == 0 ? sl.GroundYCentre[si] : lines.YAt(static_cast<TFigureKind>(fkLayer1 + k), xc);
        const double Hk = Positive(top - yc);
        H[k] = Hk;
        if (!(Hk > 0)) continue;
        const double area = (Hk - sag) * b + s;
        if (!e.WaterOn || hw <= 0) {
            above[k] = area;
        } else if (hw <= Hk) {
            below[k] = (hw - sag) * b + s;
            above[k] = area - below[k];
        } else {
            below[k] = area;
        }
        strengthLayer = k;
    }
    double phi = 0;
    double tanPhi = 0;
    if (strengthLayer >= 0) {
        cohesion = e.Soil[static_cast<std::size_t>(strengthLayer)].C;
        phi = e.Soil[static_cast<std::size_t>(strengthLayer)].Phi;
        tanPhi = TanPhi(e, strengthLayer);
    }

    // 4. Each layer's own share: its boundary's values minus those of the
    // boundary below it.
    for (int k = 0; k + 1 < layers; ++k) {
        H[k] = H[k] - H[k + 1];
        above[k] = above[k] - above[k + 1];
        below[k] = below[k] - below[k + 1];
    }

    // 5. Weight; the part below the water weighs saturated in both modes.
    double W = 0;
    double sumV = 0;
    for (int k = 0; k < layers; ++k) {
        const TSoilValues& soil = e.Soil[static_cast<std::size_t>(k)];
        W += above[k] * soil.GammaT + below[k] * soil.GammaSat;
        sumV += above[k] + below[k];
    }

    // 6. Inclination.
    const double alpha = (c.Yo - yc == 0) ? HalfPi : std::atan((xc - c.Xo) / (c.Yo - yc));
    const double sinA = std::sin(alpha);
    const double cosA = std::cos(alpha);

    // 7. Normal term; in effective stress the pore pressure u on the width b
    // is taken off, but never below zero: water standing above the ground
    // must not pull the slice down.
    double normal = W;
    if (e.StrengthMode == 1) {
        const double u = hw * e.GammaWater;
        normal = std::max(W - u * b, 0.0);
    }

    // 8. and 9.
    TSliceTerms terms;
    terms.W = W;
    if (e.DisplayForm == 0) {
        terms.Driving = R * W * sinA;
        terms.Resisting = R * normal * cosA * tanPhi + R * cohesion * L + lever * cohesion * h;
    } else {
        terms.Driving = W * sinA;
        terms.Resisting = normal * cosA * tanPhi + cohesion * L + cohesion * h;
    }

    if (row) {
        row->No = i + 1;
        row->CentreX = xc;
        row->B = b;
        double sumH = 0;
        for (int k = 0; k < MaxLayers; ++k) {
            const auto kk = static_cast<std::size_t>(k);
            row->H[kk] = H[k];
            row->VWet[kk] = above[k];
            row->VSub[kk] = below[k];
            sumH += H[k];
        }
        row->SumH = sumH;
        row->GroundHeight = sl.GroundYCentre[si] - yc;
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
        const double w = u[j + 1] - u[j];
        total += (limit > 0 && w > limit) ? std::ceil(w / limit) : 1;
    }
    if (!(total <= MaxSlicesPerCircle)) {
        sl.Clear();
        return false;
    }
    sl.Resize(static_cast<int>(total));

    std::size_t n = 0;
    for (std::size_t j = 0; j + 1 < u.size(); ++j) {
        const double w = u[j + 1] - u[j];
        const int k = (limit > 0 && w > limit) ? static_cast<int>(std::ceil(w / limit)) : 1;
        for (int t = 0; t < k; ++t) {
            const double width = w / k;
            const double centre = u[j] + t * (w / k) + (w / k) / 2;
            sl.CentreX[n] = centre;
            sl.Width[n] = width;
            sl.LeftX[n] = centre - width / 2;
            ++n;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        sl.ArcYCentre[i] = ArcYAt(c, sl.CentreX[i]);
        sl.ArcYLeft[i] = ArcYAt(c, sl.LeftX[i]);
    }
    TLineCursors centres(e);
    TLineCursors edges(e);
    for (std::size_t i = 0; i < n; ++i) {
        sl.GroundYCentre[i] = centres.YAt(fkLayer1, sl.CentreX[i]);
        sl.GroundYLeft[i] = edges.YAt(fkLayer1, sl.LeftX[i]);
    }
    return true;
}

TSliceRow EvaluateSlice(const TEC& engine, const TSlipCircle& circle, int index, TPoint left, TPoint right,
                        double crackHeight, double crackLever) {
    TSliceRow row;
    TLineCursors lines(engine);
    SliceCore(engine, circle, index, left, right, PointAngle(circle, left.X, left.Y),
              PointAngle(circle, right.X, right.Y), crackHeight, crackLever, lines, &row);
    return row;
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
    if (rows) rows->resize(static_cast<std::size_t>(n));

    // The right point of a slice is the left point of the next, so its angle
    // is carried over rather than computed twice.
    double carriedAngle = 0;
    TLineCursors lines(e);
    for (int i = 0; i < n; ++i) {
        const auto si = static_cast<std::size_t>(i);
        TPoint ordinaryLeft{sl.LeftX[si], sl.ArcYLeft[si]};
        TPoint left = ordinaryLeft;
        TPoint right{};
        double h = 0;
        double lever = 0;
        bool leftOrdinary = true;
        bool rightOrdinary = i + 1 < n;
        if (rightOrdinary) right = {sl.LeftX[si + 1], sl.ArcYLeft[si + 1]};
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
        const TSliceTerms terms =
            SliceCore(e, c, i, left, right, thetaL, thetaR, h, lever, lines, rows ? &(*rows)[si] : nullptr);
        result.WidthSum += sl.Width[si];
        result.WeightSum += terms.W;
        result.Resisting += terms.Resisting;
        result.Driving += terms.Driving;
    }

    if (std::fabs(result.Driving) > 0) result.Fs = result.Resisting / result.Driving;
    if (!std::isfinite(result.Resisting) || !std::isfinite(result.Driving) || !std::isfinite(result.Fs)) {
        e.CircleStatus = CircleStatusText::NotFinite;
        return TCircleResult{};
    }
    result.Status = 2;
    for (int i = 1; i < n; ++i) {
        if (sl.GroundYCentre[static_cast<std::size_t>(i)] != sl.GroundYCentre[static_cast<std::size_t>(i - 1)]) {
            result.Status = 1;
            break;
        }
    }
    return result;
}

}  // namespace sorvanta
