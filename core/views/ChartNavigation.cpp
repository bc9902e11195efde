#include "views/ChartNavigation.h"

#include <algorithm>

namespace sorvanta {

namespace {

void Zoom(TChartModel& chart, TChartAxisId id, double percent) {
    TAxisRange r = EffectiveRange(chart, id);
    const double d = (r.Max - r.Min) * (percent - 100) * 0.01;
    chart.Axis(id) = TAxisRange{r.Min + d, r.Max - d};
}

void Pan(TChartModel& chart, TChartAxisId id, double sign) {
    TAxisRange r = EffectiveRange(chart, id);
    const double d = 0.2 * (r.Max - r.Min);
    chart.Axis(id) = TAxisRange{r.Min + sign * d, r.Max + sign * d};
}

}  // namespace

void NavigateChart(TChartModel& chart, TChartCommand command) {
    switch (command) {
        case TChartCommand::ZoomIn:
        case TChartCommand::ZoomOut: {
            const double p = command == TChartCommand::ZoomIn ? 120 : 80;
            Zoom(chart, TChartAxisId::Bottom, p);
            Zoom(chart, TChartAxisId::Left, p);
            break;
        }
        case TChartCommand::MoveRight:
            Pan(chart, TChartAxisId::Bottom, -1);
            break;
        case TChartCommand::MoveLeft:
            Pan(chart, TChartAxisId::Bottom, +1);
            break;
        case TChartCommand::MoveDown:
            Pan(chart, TChartAxisId::Left, +1);
            break;
        case TChartCommand::MoveUp:
            Pan(chart, TChartAxisId::Left, -1);
            break;
    }
}

void CopyChart(const TChartModel& source, TChartModel& target) {
    for (TChartAxisId id : {TChartAxisId::Left, TChartAxisId::Bottom}) {
        const TAxisLimits& limits = source.Axis(id);
        if (!limits)
            target.Axis(id).reset();
        else if (limits->Min != 0 || limits->Max != 0)
            target.Axis(id) = limits;
    }
    // The copy returns to the source's first view, not to a view of its own.
    target.HomeBottom = source.HomeBottom;
    target.HomeLeft = source.HomeLeft;
    const std::size_t n = std::min(source.Series.size(), target.Series.size());
    for (std::size_t i = 0; i < n; ++i) {
        const TChartSeries& from = source.Series[i];
        TChartSeries& to = target.Series[i];
        to.Clear();
        // The legend says what the source's series hold (the load's entry).
        to.Title = from.Title;
        to.ShowInLegend = from.ShowInLegend;
        switch (from.Kind) {
            case TSeriesKind::Line:
            case TSeriesKind::FastLine:
                to.Order = TValueOrder::None;
                for (const auto& p : from.Points) to.Add(p.X, p.Y, p.Label);
                break;
            case TSeriesKind::Area:
                for (const auto& p : from.Points) to.Add(p.X, p.Y);
                break;
            case TSeriesKind::Point:
                for (const auto& p : from.Points) to.Add(p.X, p.Y, p.Label, TRgb{0, 0, 0});
                break;
        }
    }
}

}  // namespace sorvanta
