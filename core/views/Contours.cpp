#include "views/Contours.h"

#include <algorithm>
#include <cmath>

namespace sorvanta {

int SafetyFactorBand(double fs) {
    // No single-precision value lies between a decimal limit and its nearest
    // double, so comparing the float, widened, with the double limits gives
    // the same answer as comparing with the exact decimals.
    const double v = static_cast<double>(static_cast<float>(std::fabs(fs)));
    static constexpr std::array<double, ContourLevelCount - 1> upper{0.8, 1.0, 1.2, 1.4, 1.6,
                                                                     1.8, 2.0, 2.2, 2.4};
    for (std::size_t k = 0; k < upper.size(); ++k)
        if (v <= upper[k]) return static_cast<int>(k);
    return ContourLevelCount - 1;
}

namespace {

// case[s_a][s_0][s_b], indices shifted by one.
constexpr int CaseTable[3][3][3] = {
    {{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
    {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
    {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}},
};

int Sign(double v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

}  // namespace

int ContourCase(int signA, int signCentre, int signB) {
    return CaseTable[signA + 1][signCentre + 1][signB + 1];
}

void ContourCell(double x0, double x1, double y0, double y1, const std::array<double, 4>& d,
                 std::vector<TContourSegment>& out) {
    const double dmin = std::min({d[0], d[1], d[2], d[3]});
    const double dmax = std::max({d[0], d[1], d[2], d[3]});
    if (!(dmax >= ContourLevels.front() && dmin <= ContourLevels.back())) return;

    // Vertex 0 is the centre, 1 to 4 the corners counter-clockwise from (x0, y0).
    const double xv[5] = {(x0 + x1) / 2, x0, x1, x1, x0};
    const double yv[5] = {(y0 + y1) / 2, y0, y0, y1, y1};
    static constexpr int Triangles[4][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};

    for (int k = 0; k < ContourLevelCount; ++k) {
        const double z = ContourLevels[static_cast<std::size_t>(k)];
        if (!(dmin < z && z <= dmax)) continue;
        double h[5];
        for (int m = 1; m <= 4; ++m) h[m] = d[static_cast<std::size_t>(m - 1)] - z;
        h[0] = (h[1] + h[2] + h[3] + h[4]) / 4;
        // The point where the level cuts the side from vertex p to vertex r.
        auto cutX = [&](int p, int r) { return (h[r] * xv[p] - h[p] * xv[r]) / (h[r] - h[p]); };
        auto cutY = [&](int p, int r) { return (h[r] * yv[p] - h[p] * yv[r]) / (h[r] - h[p]); };
        for (const auto& t : Triangles) {
            const int a = t[0];
            const int b = t[1];
            TContourSegment s;
            s.Level = k;
            switch (ContourCase(Sign(h[a]), Sign(h[0]), Sign(h[b]))) {
                case 1:
                    s = {xv[a], yv[a], xv[0], yv[0], k};
                    break;
                case 2:
                    s = {xv[0], yv[0], xv[b], yv[b], k};
                    break;
                case 3:
                    s = {xv[b], yv[b], xv[a], yv[a], k};
                    break;
                case 4:
                    s = {xv[a], yv[a], cutX(0, b), cutY(0, b), k};
                    break;
                case 5:
                    s = {xv[0], yv[0], cutX(b, a), cutY(b, a), k};
                    break;
                case 6:
                    s = {xv[b], yv[b], cutX(a, 0), cutY(a, 0), k};
                    break;
                case 7:
                    s = {cutX(a, 0), cutY(a, 0), cutX(0, b), cutY(0, b), k};
                    break;
                case 8:
                    s = {cutX(0, b), cutY(0, b), cutX(b, a), cutY(b, a), k};
                    break;
                case 9:
                    s = {cutX(b, a), cutY(b, a), cutX(a, 0), cutY(a, 0), k};
                    break;
                default:
                    continue;
            }
            out.push_back(s);
        }
    }
}

std::vector<TContourSegment> ContourMesh(const std::vector<double>& xs,
                                         const std::vector<double>& ys,
                                         const std::vector<std::vector<double>>& values) {
    std::vector<TContourSegment> out;
    if (xs.size() < 2 || ys.size() < 2) return out;
    for (std::size_t j = ys.size() - 1; j-- > 0;) {
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            ContourCell(xs[i], xs[i + 1], ys[j], ys[j + 1],
                        {values[i][j], values[i + 1][j], values[i + 1][j + 1], values[i][j + 1]},
                        out);
        }
    }
    return out;
}

}  // namespace sorvanta
