#pragma once
// Trial circles against the ground surface: the classification that decides
// whether a circle is a usable slip surface and finds its start and end
// points, the lower arc, and the three angles that describe a circle.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/AnalysisModel.h"

namespace sorvanta {

// Centre (Xo, Yo) and radius R, m. The slip surface is the lower arc.
struct TSlipCircle {
    double Xo = 0;
    double Yo = 0;
    double R = 0;
    bool operator==(const TSlipCircle&) const = default;
};

// What became of a circle: accepted (Valid, LevelGround) or why it was
// refused. The words for each are CircleVerdictText's (report/VerdictTexts.h).
enum class TCircleVerdict : std::uint8_t {
    // No circle was evaluated (a search that tried none).
    NotTried,
    Valid,
    // Valid, and the ground has one elevation over the whole sliding mass:
    // an infinite factor, no slip at all.
    LevelGround,
    CentreOutsideWidth,
    CentreInGround,
    NoCrossing,
    StartNotCrossing,
    OneCrossing,
    // Three or more crossings (or none found on the segments examined); the
    // count goes with the verdict.
    Crossings,
    // A centre below the never-cut elevation: no radius is allowed at all, so
    // no circle is tried (the arbitrary point tells the user so).
    CentreBelowNeverCut,
    // Sums that are not finite numbers (absurdly large coordinates).
    NotFinite,
    // More than MaxSlicesPerCircle slices would be needed.
    TooManySlices,
    // A slice would span more than half a turn of arc: the end points are too
    // close together to be told apart.
    SliceOverHalfTurn,
    // The method of slices has no solution on the circle: a slice's
    // mα = cosα + sinα·tanφ / Fs is 0.2 or less (Bishop, Janbu), or the
    // iteration for Fs does not settle within its limit.
    SmallMAlpha,
    NotConverged,
};

// A circle the slice method can evaluate: Valid or LevelGround.
[[nodiscard]] constexpr bool Accepted(TCircleVerdict verdict) {
    return verdict == TCircleVerdict::Valid || verdict == TCircleVerdict::LevelGround;
}

// The classification of a circle against the ground surface.
struct TCircleClassification {
    TCircleVerdict Verdict = TCircleVerdict::NotTried;  // Valid or the reason of refusal
    int Crossings = 0;                                  // intersections found with the ground
    double Xb = 0, Yb = 0;  // start of the slip arc on the ground surface (left), when Valid
    double Xe = 0, Ye = 0;  // end of the slip arc (right)
};

// A ground point lies on the circle when its distance differs from R by at
// most this much (m).
inline constexpr double OnCircleTolerance = 1e-5;

// Classifies the circle against the ground surface (Ground(): the drawn line,
// or the envelope of an overhanging one).
// Verdict Valid for a usable slip surface, with its end points. `meetX`, when
// given, receives where the circle meets the ground, in the order found.
// Beyond the plain steps: a radius that is not positive (or not a number) is
// refused as not crossing the ground; the intersection step never reads past
// the last ground segment; the elevation of an end point is taken on the
// segment where that intersection was found (on a vertical segment, the
// intersection's own elevation), so it never depends on an earlier circle.
// Every intersection lies on the circle: on a segment steeper than 45° one
// whose point would lie off it by more than a thousandth of
// OnCircleTolerance is found along the segment instead, and a segment
// steeper than 100:1 is solved along its length throughout (an intersection
// within OnCircleTolerance of its start point is that point).
TCircleClassification ClassifyCircle(const TAnalysisModel& model, const TSlipCircle& circle,
                                     std::vector<double>* meetX = nullptr);

// Elevation of the lower arc at x: Yo − √max(R² − (x − Xo)², 0).
[[nodiscard]] inline double ArcYAt(const TSlipCircle& circle, double x) {
    const double dx = x - circle.Xo;
    return circle.Yo - std::sqrt(std::max(circle.R * circle.R - dx * dx, 0.0));
}

// Θ in degrees: 2·asin((chord / 2) / |start − centre|) (argument clamped to
// [−1, 1] against rounding).
[[nodiscard]] double OpeningAngle(double Xb, double Yb, double Xe, double Ye, double Xo, double Yo);
// β in degrees: atan2(Ye − Yb, Xe − Xb).
[[nodiscard]] double ChordInclination(double Xb, double Yb, double Xe, double Ye);
// δ in degrees: atan((Xb − Xo) / (Yo − Yb)).
[[nodiscard]] double CentreInclination(double Xb, double Yb, double Xo, double Yo);

// Radians to degrees, multiplying by 180 / π.
[[nodiscard]] double RadToDeg(double radians);

}  // namespace sorvanta
