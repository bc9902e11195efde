#include "engine/FactorField.h"

#include <cmath>

#include "engine/Progress.h"

namespace sorvanta {

namespace {

// Progress calls are made on the caller's thread only.
void SetMax(const TSearchOptions& o, int maximum) {
    if (o.Progress) {
        o.Progress->SetMaximum(maximum);
        o.Progress->SetPosition(0);
    }
}
void StepOnce(const TSearchOptions& o) {
    if (o.Progress) o.Progress->Step();
}
void ResetPosition(const TSearchOptions& o) {
    if (o.Progress) o.Progress->SetPosition(0);
}

}  // namespace

std::optional<TCentreField> CentreFieldOf(const TAnalysisModel& model) {
    const TPolyline& ground = model.Ground();
    if (ground.empty()) return std::nullopt;
    TCentreField f{ground.front().X, ground.back().X, model.LowestGroundY()};
    if (!std::isfinite(f.XFirst) || !std::isfinite(f.XLast) || !std::isfinite(f.YMin))
        return std::nullopt;
    return f;
}

std::optional<TGridFactors> ComputeGridFactors(const TAnalysisModel& model, int meshCount,
                                               const TSearchOptions& options) {
    if (meshCount < 1) return std::nullopt;
    const auto field = CentreFieldOf(model);
    if (!field) return std::nullopt;
    const int n = meshCount;
    const double p = std::fabs(field->XLast - field->XFirst) / n;

    SetMax(options, n);
    TGridFactors grid;
    for (int i = 1; i <= n - 1; ++i) {
        StepOnce(options);
        const double x = field->XFirst + i * p;
        TFactorColumn column;
        column.Centres.resize(static_cast<std::size_t>(n));
        for (int j = 1; j <= n; ++j)
            column.Centres[static_cast<std::size_t>(j - 1)] = {x, field->YMin + j * p};
        if (!SearchRadiusAt(model, column.Centres, column.Results, options)) {
            ResetPosition(options);
            grid.Cancelled = true;
            return grid;
        }
        grid.Columns.push_back(std::move(column));
    }
    ResetPosition(options);
    return grid;
}

std::optional<TContourField> ComputeContourField(const TAnalysisModel& model,
                                                 const TSearchOptions& options) {
    const auto field = CentreFieldOf(model);
    if (!field) return std::nullopt;
    constexpr int m = ContourMeshNodes;
    const double q = std::fabs(field->XLast - field->XFirst) / m;
    TContourField f;
    f.Xs.resize(m);
    f.Ys.resize(m);
    for (int i = 0; i < m; ++i) {
        f.Xs[static_cast<std::size_t>(i)] = field->XFirst + i * q;
        f.Ys[static_cast<std::size_t>(i)] = field->YMin + i * q;
    }

    SetMax(options, m + 2);
    f.Values.assign(m, std::vector<double>(m, ContourInvalidValue));
    std::vector<TPoint> centres(m);
    std::vector<TSearchResult> found;
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i) {
        StepOnce(options);
        for (std::size_t j = 0; j < static_cast<std::size_t>(m); ++j)
            centres[j] = {f.Xs[i], f.Ys[j]};
        if (!SearchRadiusAt(model, centres, found, options)) {
            ResetPosition(options);
            f.Cancelled = true;
            return f;
        }
        for (std::size_t j = 0; j < centres.size(); ++j)
            f.Values[i][j] = found[j].Verdict == TCircleVerdict::Valid ? std::fabs(found[j].Fs)
                                                                       : ContourInvalidValue;
    }
    ResetPosition(options);
    return f;
}

}  // namespace sorvanta
