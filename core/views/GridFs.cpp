#include "views/GridFs.h"

#include <cmath>
#include <vector>

#include "engine/Progress.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"
#include "views/Contours.h"

namespace sorvanta {

namespace {

TChartSeries& FactorSeries(TChartModel& chart) {
    return chart.Series.at(rsSafetyFactor);
}

void AddToBoth(TChartModel& result, TChartModel& arbitrary, double x, double y,
               const std::string& label, TRgb colour) {
    FactorSeries(result).Add(x, y, label, colour);
    FactorSeries(arbitrary).Add(x, y, label, colour);
}

// The centre field: X_first, X_last of the ground surface and its lowest Y.
struct TField {
    double XFirst = 0;
    double XLast = 0;
    double YMin = 0;
};

std::optional<TField> FieldOf(const TGetDat& model) {
    const TPolyline& ground = model.Figures[fkLayer1];
    if (ground.empty()) return std::nullopt;
    TField f{ground.front().X, ground.back().X, model.LowestGroundY()};
    if (!std::isfinite(f.XFirst) || !std::isfinite(f.XLast) || !std::isfinite(f.YMin))
        return std::nullopt;
    return f;
}

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

std::optional<int> GridFsMeshCountOf(const TDesignConditions& design) {
    auto n = TryStrToInt(design.GridFsMeshCount);
    if (!n || *n < 1) return std::nullopt;
    return n;
}

TStepOutcome AppendGridPointFactors(const TDesignConditions& design, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options) {
    auto n = GridFsMeshCountOf(design);
    if (!n) return TStepOutcome::Skipped;
    TEC model;
    model.BuildAnalysisModel(design);
    return AppendGridPointFactors(model, *n, result, arbitrary, options);
}

TStepOutcome AppendGridPointFactors(const TEC& model, int meshCount, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options) {
    if (meshCount < 1) return TStepOutcome::Skipped;
    auto field = FieldOf(model);
    if (!field) return TStepOutcome::Skipped;
    const int n = meshCount;
    const double p = std::fabs(field->XLast - field->XFirst) / n;

    for (TChartModel* chart : {&result, &arbitrary})
        FactorSeries(*chart).Marker = TMarkerStyle::Plus;
    SetMax(options, n);

    std::vector<TPoint> centres(static_cast<std::size_t>(n));
    std::vector<TSearchResult> found;
    for (int i = 1; i <= n - 1; ++i) {
        StepOnce(options);
        const double x = field->XFirst + i * p;
        for (int j = 1; j <= n; ++j)
            centres[static_cast<std::size_t>(j - 1)] = {x, field->YMin + j * p};
        if (!SearchRadiusAt(model, centres, found, options)) {
            ResetPosition(options);
            return TStepOutcome::Cancelled;
        }
        for (std::size_t j = 0; j < centres.size(); ++j) {
            const TSearchResult& r = found[j];
            const TPoint& c = centres[j];
            if (r.Status == 1)
                AddToBoth(result, arbitrary, c.X, c.Y, FormatFloat("0.00", r.Fs), BandColour(r.Fs));
            else if (r.Status == 2)
                AddToBoth(result, arbitrary, c.X, c.Y, "∞", TRgb{0, 0, 255});
            else
                AddToBoth(result, arbitrary, c.X, c.Y, "×", TRgb{0, 0, 0});
        }
    }
    ResetPosition(options);
    return TStepOutcome::Done;
}

TStepOutcome AppendContours(const TEC& model, TChartModel& result, TChartModel& arbitrary,
                            const TSearchOptions& options) {
    auto field = FieldOf(model);
    if (!field) return TStepOutcome::Skipped;
    constexpr int m = ContourMeshNodes;
    const double q = std::fabs(field->XLast - field->XFirst) / m;
    std::vector<double> xs(m), ys(m);
    for (int i = 0; i < m; ++i) {
        xs[static_cast<std::size_t>(i)] = field->XFirst + i * q;
        ys[static_cast<std::size_t>(i)] = field->YMin + i * q;
    }

    SetMax(options, m + 2);
    std::vector<std::vector<double>> d(m, std::vector<double>(m, ContourInvalidValue));
    std::vector<TPoint> centres(m);
    std::vector<TSearchResult> found;
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i) {
        StepOnce(options);
        for (std::size_t j = 0; j < static_cast<std::size_t>(m); ++j) centres[j] = {xs[i], ys[j]};
        if (!SearchRadiusAt(model, centres, found, options)) {
            ResetPosition(options);
            return TStepOutcome::Cancelled;
        }
        for (std::size_t j = 0; j < centres.size(); ++j)
            d[i][j] = found[j].Status == 1 ? std::fabs(found[j].Fs) : ContourInvalidValue;
    }

    for (TChartModel* chart : {&result, &arbitrary}) {
        auto& series = FactorSeries(*chart);
        series.Marker = TMarkerStyle::Plus;
        series.MarkerWidth = series.MarkerHeight = 1;
    }
    const std::string blank = " ";
    for (const TContourSegment& s : ContourMesh(xs, ys, d)) {
        const TRgb colour = BandColours[static_cast<std::size_t>(s.Level)];
        for (TChartModel* chart : {&result, &arbitrary}) {
            FactorSeries(*chart).Add(s.X1, s.Y1, blank, colour);
            FactorSeries(*chart).Add(s.X2, s.Y2, blank, colour);
        }
    }
    ResetPosition(options);
    return TStepOutcome::Done;
}

}  // namespace sorvanta
