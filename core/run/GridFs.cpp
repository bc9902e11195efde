#include "run/GridFs.h"

#include <cmath>
#include <vector>

#include "engine/FactorField.h"
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
    const TAnalysisModel model = BuildAnalysisModel(design);
    return AppendGridPointFactors(model, *n, result, arbitrary, options);
}

TStepOutcome AppendGridPointFactors(const TAnalysisModel& model, int meshCount, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options) {
    if (meshCount < 1 || !CentreFieldOf(model)) return TStepOutcome::Skipped;
    for (TChartModel* chart : {&result, &arbitrary})
        FactorSeries(*chart).Marker = TMarkerStyle::Plus;
    const auto grid = ComputeGridFactors(model, meshCount, options);
    if (!grid) return TStepOutcome::Skipped;
    for (const TFactorColumn& column : grid->Columns) {
        for (std::size_t j = 0; j < column.Centres.size(); ++j) {
            const TSearchResult& r = column.Results[j];
            const TPoint& c = column.Centres[j];
            if (r.Verdict == TCircleVerdict::Valid)
                AddToBoth(result, arbitrary, c.X, c.Y, FormatFloat("0.00", r.Fs), BandColour(r.Fs));
            else if (r.Verdict == TCircleVerdict::LevelGround)
                AddToBoth(result, arbitrary, c.X, c.Y, "∞", TRgb{0, 0, 255});
            else
                AddToBoth(result, arbitrary, c.X, c.Y, "×", TRgb{0, 0, 0});
        }
    }
    return grid->Cancelled ? TStepOutcome::Cancelled : TStepOutcome::Done;
}

TStepOutcome AppendContours(const TAnalysisModel& model, TChartModel& result,
                            TChartModel& arbitrary, const TSearchOptions& options) {
    const auto field = ComputeContourField(model, options);
    if (!field) return TStepOutcome::Skipped;
    if (field->Cancelled) return TStepOutcome::Cancelled;

    for (TChartModel* chart : {&result, &arbitrary}) {
        auto& series = FactorSeries(*chart);
        series.Marker = TMarkerStyle::Plus;
        series.MarkerWidth = series.MarkerHeight = 1;
    }
    const std::string blank = " ";
    for (const TContourSegment& s : ContourMesh(field->Xs, field->Ys, field->Values)) {
        const TRgb colour = BandColours[static_cast<std::size_t>(s.Level)];
        for (TChartModel* chart : {&result, &arbitrary}) {
            FactorSeries(*chart).Add(s.X1, s.Y1, blank, colour);
            FactorSeries(*chart).Add(s.X2, s.Y2, blank, colour);
        }
    }
    return TStepOutcome::Done;
}

}  // namespace sorvanta
