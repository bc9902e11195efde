#include "report/GridCharts.h"

#include <string>

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

void DrawGridFactors(const TGridStep& step, TChartModel& result, TChartModel& arbitrary) {
    if (!step.Ran) return;
    for (TChartModel* chart : {&result, &arbitrary})
        FactorSeries(*chart).Marker = TMarkerStyle::Plus;
    if (!step.Factors) return;
    for (const TFactorColumn& column : step.Factors->Columns) {
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
}

void DrawContours(const std::vector<TContourSegment>& segments, TChartModel& result,
                  TChartModel& arbitrary) {
    for (TChartModel* chart : {&result, &arbitrary}) {
        auto& series = FactorSeries(*chart);
        series.Marker = TMarkerStyle::Plus;
        series.MarkerWidth = series.MarkerHeight = 1;
    }
    const std::string blank = " ";
    for (const TContourSegment& s : segments) {
        const TRgb colour = BandColours[static_cast<std::size_t>(s.Level)];
        for (TChartModel* chart : {&result, &arbitrary}) {
            FactorSeries(*chart).Add(s.X1, s.Y1, blank, colour);
            FactorSeries(*chart).Add(s.X2, s.Y2, blank, colour);
        }
    }
}

TStepOutcome AppendGridPointFactors(const TDesignConditions& design,
                                    const TAnalysisOptions& analysis, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options) {
    const TGridStep step = GridPointStep(design, analysis, options);
    DrawGridFactors(step, result, arbitrary);
    if (!step.Factors) return TStepOutcome::Skipped;
    return step.Factors->Cancelled ? TStepOutcome::Cancelled : TStepOutcome::Done;
}

TStepOutcome AppendGridPointFactors(const TAnalysisModel& model, int meshCount, TChartModel& result,
                                    TChartModel& arbitrary, const TSearchOptions& options) {
    const TGridStep step = GridPointStep(model, meshCount, options);
    DrawGridFactors(step, result, arbitrary);
    if (!step.Factors) return TStepOutcome::Skipped;
    return step.Factors->Cancelled ? TStepOutcome::Cancelled : TStepOutcome::Done;
}

TStepOutcome AppendContours(const TAnalysisModel& model, TChartModel& result,
                            TChartModel& arbitrary, const TSearchOptions& options) {
    const TContourStep step = ContourStep(model, options);
    if (step.Cancelled) return TStepOutcome::Cancelled;
    if (!step.Segments) return TStepOutcome::Skipped;
    DrawContours(*step.Segments, result, arbitrary);
    return TStepOutcome::Done;
}

}  // namespace sorvanta
