#pragma once
// Safety-factor bands and iso-lines over a mesh of circle centres.

#include <array>
#include <vector>

#include "design/DesignConditions.h"

namespace sorvanta {

inline constexpr int ContourLevelCount = 10;
// Contour levels z_k; level k is drawn in the colour of band k.
inline constexpr std::array<double, ContourLevelCount> ContourLevels{0.8, 1.0, 1.2, 1.4, 1.6,
                                                                     1.8, 2.0, 2.2, 2.4, 2.6};
// aqua, fuchsia, red, green, teal, lime, blue, olive, purple, navy
inline constexpr std::array<TRgb, ContourLevelCount> BandColours{{
    {0, 255, 255},
    {255, 0, 255},
    {255, 0, 0},
    {0, 128, 0},
    {0, 128, 128},
    {0, 255, 0},
    {0, 0, 255},
    {128, 128, 0},
    {128, 0, 128},
    {0, 0, 128},
}};

// Band of |Fs|: 0 up to 0.8, then one band per 0.2 up to 2.4, 9 above. The
// value is taken in single precision and each band includes its upper limit,
// so exactly 0.80, 1.20, 1.60, 2.20 and 2.40 (whose single-precision values lie
// just above) fall into the next band up, while 1.00, 1.40, 1.80 and 2.00 stay.
[[nodiscard]] int SafetyFactorBand(double fs);
[[nodiscard]] inline TRgb BandColour(double fs) {
    return BandColours[static_cast<std::size_t>(SafetyFactorBand(fs))];
}

struct TContourSegment {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int Level = 0;  // index into ContourLevels
    bool operator==(const TContourSegment&) const = default;
};

// Case of one triangle of a cell by the signs (-1, 0, +1) of corner a, the
// cell centre and corner b relative to the level: 0 nothing, 1 to 9 a segment.
[[nodiscard]] int ContourCase(int signA, int signCentre, int signB);

// The iso-line segments of one rectangular cell (corners 1 (x0, y0),
// 2 (x1, y0), 3 (x1, y1), 4 (x0, y1) with values d1..d4), every level k with
// min < z_k <= max, in level order and by triangle (1,2), (2,3), (3,4), (4,1).
void ContourCell(double x0, double x1, double y0, double y1, const std::array<double, 4>& d,
                 std::vector<TContourSegment>& out);

// Segments of a whole mesh: values[i][j] at (xs[i], ys[j]); cells are visited
// with j from the top down in the outer loop and i left to right inside.
[[nodiscard]] std::vector<TContourSegment> ContourMesh(
    const std::vector<double>& xs, const std::vector<double>& ys,
    const std::vector<std::vector<double>>& values);

}  // namespace sorvanta
