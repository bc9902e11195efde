#pragma once
// Minimum safety factors over a field of circle centres above the slope: the
// values behind the grid-point labels and the contour lines.

#include <optional>
#include <vector>

#include "engine/AnalysisModel.h"
#include "engine/Search.h"

namespace sorvanta {

// The contour mesh is fixed, whatever ContourMeshCount says.
inline constexpr int ContourMeshNodes = 40;
// Node value of a centre without a factor (status 0 or 2): above every level.
inline constexpr double ContourInvalidValue = 9999.0;

// The field of centres: X of the first and last ground points and the
// lowest ground elevation. None without a ground surface or with a value
// that is not finite.
struct TCentreField {
    double XFirst = 0;
    double XLast = 0;
    double YMin = 0;
};
[[nodiscard]] std::optional<TCentreField> CentreFieldOf(const TAnalysisModel& model);

// One column of centres (same X, rising Y) with the best circle at each.
struct TFactorColumn {
    std::vector<TPoint> Centres;
    std::vector<TSearchResult> Results;
};

struct TGridFactors {
    std::vector<TFactorColumn> Columns;  // left to right
    bool Cancelled = false;              // the columns done before the stop
};

// Grid points: with pitch p = |X_last − X_first| / N, the centres
// (X_first + i·p, Y_min + j·p), i = 1 … N − 1, j = 1 … N, column by column. Progress: maximum N,
// one step per column. Nothing when N < 1 or there is no field.
[[nodiscard]] std::optional<TGridFactors> ComputeGridFactors(const TAnalysisModel& model,
                                                             int meshCount,
                                                             const TSearchOptions& options);

// Contours: |Fs| of the best circle (ContourInvalidValue without one) at the
// 40 × 40 nodes (X_first + i·q, Y_min + j·q), q = |X_last − X_first| / 40.
// Progress: maximum 42, one step per column of nodes.
struct TContourField {
    std::vector<double> Xs, Ys;
    std::vector<std::vector<double>> Values;  // [i][j]
    bool Cancelled = false;                   // Values incomplete then
};
[[nodiscard]] std::optional<TContourField> ComputeContourField(const TAnalysisModel& model,
                                                               const TSearchOptions& options);

}  // namespace sorvanta
