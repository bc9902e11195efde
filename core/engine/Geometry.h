#pragma once
// Trial circles against the ground surface: the classification that decides
// whether a circle is a usable slip surface and finds its start and end
// points, the lower arc, and the three angles that describe a circle.

#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/AnalysisModel.h"

namespace sorvanta {

// Centre (Xo, Yo) and radius R, m. The slip surface is the lower arc.
struct TSlipCircle {
    double Xo = 0;
    double Yo = 0;
    double R = 0;
    bool operator==(const TSlipCircle&) const = default;
};

// Status texts of ClassifyCircle (CircleStatus). The counted form is
// CircleStatusCrossings(n): "円弧不当(地形と" n "点交差)".
namespace CircleStatusText {
inline constexpr std::string_view NoError = "エラーなし";
inline constexpr std::string_view CentreOutsideWidth = "円弧中心が地形定義幅外";
inline constexpr std::string_view CentreInGround = "円弧中心が地層内";
inline constexpr std::string_view NoCrossing = "円弧が地形と交差しない";
inline constexpr std::string_view StartNotCrossing = "円弧起点が地形と交差しない";
inline constexpr std::string_view OneCrossing = "円弧不当(地形と1点交差)";
// A centre below the never-cut elevation: no radius is allowed at all, so no
// circle is tried (the arbitrary point tells the user so).
inline constexpr std::string_view CentreBelowNeverCut = "円弧中心がﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)より下";
// A circle whose sums are not finite numbers (absurdly large coordinates).
inline constexpr std::string_view NotFinite = "円弧不当(計算値が有限でない)";
// A circle that would need more than MaxSlicesPerCircle slices.
inline constexpr std::string_view TooManySlices = "円弧不当(スライス数が多すぎる)";
// A circle one of whose slices would span more than half a turn of arc: its
// end points are too close together to be told apart.
inline constexpr std::string_view SliceOverHalfTurn = "円弧不当(スライスの円弧が半周を超える)";
}  // namespace CircleStatusText
std::string CircleStatusCrossings(int count);

// A ground point lies on the circle when its distance differs from R by at
// most this much (m).
inline constexpr double OnCircleTolerance = 1e-5;

// Classifies the circle against the ground surface (Ground(): the drawn line,
// or the envelope of an overhanging one).
// Always sets CircleStatus and clears MeetX; returns true for a valid slip
// surface, and then has set Xb, Yb, Xe, Ye.
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
bool ClassifyCircle(TEC& engine, const TSlipCircle& circle);

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
