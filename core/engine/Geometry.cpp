#include "engine/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sorvanta {

namespace {

constexpr int Unset = -2;

// The circle meets the line of segment (p0, p1) twice although both end
// points lie outside it.
bool DipTest(const TPoint& p0, const TPoint& p1, const TSlipCircle& c) {
    if (p0.X == p1.X) return std::fabs(p1.X - c.Xo) < c.R && p0.Y < c.Yo && c.Yo < p1.Y;
    const double m = (p1.Y - p0.Y) / (p1.X - p0.X);
    const double value = -m * c.Xo + c.Yo + m * p0.X - p0.Y;
    const double distance = std::fabs(value) / std::sqrt(m * m + 1);
    const double t = -value / (m * m + 1);
    const double foot = c.Xo - m * t;
    return distance < c.R && p0.X < foot && foot < p1.X;
}

struct TCrossing {
    double X = 0;
    double Y = 0;
};

// How far from the circle a crossing found on a steep segment may lie before
// it is found again along the segment (m); a thousandth of the tolerance
// within which a ground point counts as on the circle.
constexpr double CrossingTolerance = OnCircleTolerance * 1e-3;

// Segments steeper than this (rise over run; 1:0.01, some 89.4°) are never
// solved for x: there the equation in x loses so many digits that a crossing
// may be missed or found metres off the circle. Ordinary slopes keep it.
constexpr double NearVerticalSlope = 100;

// Parameters t (point p0 + t·(p1 − p0)) where the line of the segment meets
// the circle, t1 <= t2; false when it does not. Solved relative to the
// centre, without cancellation in the smaller root, so that both coordinates
// keep the precision of the distances whatever the slope.
bool SegmentRoots(const TPoint& p0, const TPoint& p1, const TSlipCircle& c, double& t1,
                  double& t2) {
    const double dx = p1.X - p0.X;
    const double dy = p1.Y - p0.Y;
    const double fx = p0.X - c.Xo;
    const double fy = p0.Y - c.Yo;
    const double a = dx * dx + dy * dy;
    const double b = fx * dx + fy * dy;
    const double d = std::hypot(fx, fy);
    const double e = (d - c.R) * (d + c.R);
    const double disc = b * b - a * e;
    if (!(disc >= 0) || !(a > 0)) return false;
    const double q = -(b + std::copysign(std::sqrt(disc), b));
    t1 = q / a;
    t2 = q != 0 ? e / q : t1;
    if (t2 < t1) std::swap(t1, t2);
    return true;
}

TCrossing PointAt(const TPoint& p0, const TPoint& p1, double t) {
    return {p0.X + t * (p1.X - p0.X), p0.Y + t * (p1.Y - p0.Y)};
}

// The crossing at `x` of segment p0 → p1 (X increasing) with its elevation
// taken on the segment, as the end points take it. On a segment steeper than
// 45° the equation in x leaves x with a rounding error that the slope
// multiplies into y; where that puts the point off the circle, the crossing
// nearest to it is found along the segment instead.
TCrossing CrossingAt(const TPoint& p0, const TPoint& p1, const TSlipCircle& c, double x) {
    const TCrossing onLine{x, p0.Y + (x - p0.X) * (p1.Y - p0.Y) / (p1.X - p0.X)};
    if (!(std::fabs(p1.Y - p0.Y) > p1.X - p0.X)) return onLine;
    const double offCircle = std::fabs(std::hypot(onLine.X - c.Xo, onLine.Y - c.Yo) - c.R);
    double t1 = 0, t2 = 0;
    if (offCircle <= CrossingTolerance || !SegmentRoots(p0, p1, c, t1, t2)) return onLine;
    const double near = (x - p0.X) / (p1.X - p0.X);
    return PointAt(p0, p1,
                   std::clamp(std::fabs(t1 - near) <= std::fabs(t2 - near) ? t1 : t2, 0.0, 1.0));
}

}  // namespace

TCircleClassification ClassifyCircle(const TAnalysisModel& model, const TSlipCircle& circle,
                                     std::vector<double>* meetX) {
    TCircleClassification result;
    if (meetX) meetX->clear();
    const TPolyline& P = model.Ground();
    const int n = static_cast<int>(P.size());
    const double Xo = circle.Xo;
    const double Yo = circle.Yo;
    const double R = circle.R;
    auto refuse = [&](TCircleVerdict verdict) {
        result.Verdict = verdict;
        return result;
    };

    if (n < 2 || !(P[0].X < Xo && Xo < P[static_cast<std::size_t>(n - 1)].X))
        return refuse(TCircleVerdict::CentreOutsideWidth);
    if (!(Yo > model.PolylineYAt(fkLayer1, Xo))) return refuse(TCircleVerdict::CentreInGround);
    // Zero, negative and NaN radii: no arc at all.
    if (!(R > 0)) return refuse(TCircleVerdict::NoCrossing);

    auto distanceSq = [&](int j) {
        const double dx = P[static_cast<std::size_t>(j)].X - Xo;
        const double dy = P[static_cast<std::size_t>(j)].Y - Yo;
        return dx * dx + dy * dy;
    };
    const double RR = R * R;
    if (RR > distanceSq(0) || RR > distanceSq(n - 1)) return refuse(TCircleVerdict::NoCrossing);

    // First and last segment to examine: from the first ground point on or
    // inside the circle, to the last.
    int L = Unset;
    int Rt = Unset;
    for (int j = 0; j < n; ++j) {
        const double d = std::sqrt(distanceSq(j));
        if (std::fabs(d - R) <= OnCircleTolerance) {
            L = j;
            break;
        }
        if (d < R) {
            L = j - 1;
            break;
        }
    }
    for (int j = n - 1; j >= 0; --j) {
        const double d = std::sqrt(distanceSq(j));
        if (std::fabs(d - R) <= OnCircleTolerance || d < R) {
            Rt = j;
            break;
        }
    }
    if (L == -1) return refuse(TCircleVerdict::StartNotCrossing);
    // No ground point within the circle: it may still dip under segments. All
    // of them count, from the first to the last, so that an arc dipping under
    // two segments has four crossings whichever way the section is drawn.
    if (L == Unset && Rt == Unset) {
        for (int k = 0; k + 1 < n; ++k) {
            if (DipTest(P[static_cast<std::size_t>(k)], P[static_cast<std::size_t>(k + 1)],
                        circle)) {
                if (L == Unset) L = k;
                Rt = k;
            }
        }
    }
    if (L == Unset || Rt == Unset) return refuse(TCircleVerdict::NoCrossing);
    // A last ground point on the circle gives Rt = n − 1, which starts no segment.
    Rt = std::min(Rt, n - 2);

    // Intersections. Half-open X intervals give an intersection at a ground
    // point to the segment that starts there.
    int count = 0;
    TCrossing crossings[2];
    auto add = [&](TCrossing crossing) {
        if (meetX) meetX->push_back(crossing.X);
        if (count < 2) crossings[count] = crossing;
        ++count;
    };
    for (int k = L; k <= Rt; ++k) {
        const TPoint& p0 = P[static_cast<std::size_t>(k)];
        const TPoint& p1 = P[static_cast<std::size_t>(k + 1)];
        const double X0 = p0.X, Y0 = p0.Y, X1 = p1.X, Y1 = p1.Y;
        if (X0 == X1) {
            const double h = std::fabs(X0 - Xo);
            if (h >= R) continue;
            const double s = std::sqrt(RR - h * h);
            // As a root on another segment is taken at the segment's start
            // within the tolerance, so is a crossing near the start of a wall:
            // otherwise rounding loses the foot of a wall rising from it.
            auto snap = [&](double y) { return std::fabs(y - Y0) <= OnCircleTolerance ? Y0 : y; };
            const double yMinus = snap(Yo - s);
            const double yPlus = snap(Yo + s);
            if (Y0 < Y1) {
                if (Y0 <= yMinus && yMinus < Y1) add({X0, yMinus});
                if (Y0 <= yPlus && yPlus < Y1) add({X0, yPlus});
            } else {
                if (Y1 < yPlus && yPlus <= Y0) add({X0, yPlus});
                if (Y1 < yMinus && yMinus <= Y0) add({X0, yMinus});
            }
            continue;
        }
        if (std::fabs(Y1 - Y0) > NearVerticalSlope * (X1 - X0)) {
            // Near vertical, rising or falling to the right (a segment whose X
            // decreases has no crossing, as below): solved along the segment.
            // A crossing within the tolerance of its start point is that
            // point, as a root within the tolerance of X0 is X0 below.
            double t1 = 0, t2 = 0;
            if (!(X1 > X0) || !SegmentRoots(p0, p1, circle, t1, t2)) continue;
            const double length = std::hypot(X1 - X0, Y1 - Y0);
            for (double t : {t1, t2}) {
                if (std::fabs(t) * length <= OnCircleTolerance) t = 0;
                if (0 <= t && t < 1) add(PointAt(p0, p1, t));
            }
            continue;
        }
        const double m = (Y1 - Y0) / (X1 - X0);
        const double A = 1 + m * m;
        const double B = m * Y0 - m * m * X0 - m * Yo - Xo;
        const double t = m * X0 - Y0 + Yo;
        const double C = Xo * Xo + t * t - RR;
        const double D = B * B - A * C;
        if (D < 0) continue;
        const double root = std::sqrt(D);
        double x1 = (-B - root) / A;
        double x2 = (-B + root) / A;
        if (std::fabs(X0 - x1) <= OnCircleTolerance) x1 = X0;
        if (std::fabs(X0 - x2) <= OnCircleTolerance) x2 = X0;
        if (X0 <= x1 && x1 < X1) add(CrossingAt(p0, p1, circle, x1));
        if (X0 <= x2 && x2 < X1) add(CrossingAt(p0, p1, circle, x2));
    }

    result.Crossings = count;
    if (count == 1) return refuse(TCircleVerdict::OneCrossing);
    if (count != 2) return refuse(TCircleVerdict::Crossings);
    result.Verdict = TCircleVerdict::Valid;
    result.Xb = crossings[0].X;
    result.Yb = crossings[0].Y;
    result.Xe = crossings[1].X;
    result.Ye = crossings[1].Y;
    return result;
}

double RadToDeg(double radians) {
    return radians * (180 / std::numbers::pi);
}

double OpeningAngle(double Xb, double Yb, double Xe, double Ye, double Xo, double Yo) {
    const double chord = std::sqrt((Xe - Xb) * (Xe - Xb) + (Ye - Yb) * (Ye - Yb));
    const double d = std::sqrt((Xo - Xb) * (Xo - Xb) + (Yo - Yb) * (Yo - Yb));
    const double s = std::clamp(chord / 2 / d, -1.0, 1.0);
    return RadToDeg(2 * std::asin(s));
}

double ChordInclination(double Xb, double Yb, double Xe, double Ye) {
    return RadToDeg(std::atan2(Ye - Yb, Xe - Xb));
}

double CentreInclination(double Xb, double Yb, double Xo, double Yo) {
    return RadToDeg(std::atan((Xb - Xo) / (Yo - Yb)));
}

}  // namespace sorvanta
