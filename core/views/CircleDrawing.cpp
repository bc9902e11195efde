#include "views/CircleDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "text/NumberFormat.h"
#include "views/PreviewChart.h"

namespace sorvanta {

namespace {

constexpr TRgb Blue{0, 0, 255};
const std::string Blank = " ";

TChartSeries& At(TChartModel& chart, int index) {
    return chart.Series.at(static_cast<std::size_t>(index));
}

// The lower arc of the circle at x (its lowest point beyond the circle).
double ArcYBelow(const TSlipCircle& c, double x) {
    const double dx = x - c.Xo;
    return c.Yo - std::sqrt(std::max(c.R * c.R - dx * dx, 0.0));
}

// The load outline as the design window draws it, in the series' own colour,
// and in the legend as outside the calculation while there is one.
void DrawLoad(TChartSeries& series, const TDesignConditions& design) {
    series.Title = LoadSeriesTitle;
    series.ShowInLegend = false;
    if (!design.LoadEnabled) return;
    TChartModel preview = MakePreviewChart();
    try {
        DrawLoadOutline(preview, design);
    } catch (const std::exception&) {
        // A γt that cannot carry the outline: the window has said so.
        return;
    }
    series.Order = TValueOrder::None;
    for (const auto& p : preview.Series[fkLoad].Points) series.Add(p.X, p.Y);
    if (series.Points.empty()) return;
    series.Title = LoadLegendTitle;
    series.ShowInLegend = true;
}

}  // namespace

void FrameCircle(TChartModel& chart, TSlipDirection direction, const TSlipCircle& c,
                 const TCircleEvaluation& e) {
    const double mx = std::min(e.Xb, c.Xo);
    TAxisRange x{mx - 5, e.Xe + 5};
    const double yRef = direction == TSlipDirection::CounterClockwise ? e.Ye : e.Yb;
    const double my = std::min(yRef, c.Yo);
    TAxisRange y{my - 5, my - 5 + (e.Xe - mx) + 10};

    // That view rests on one end of the circle. A circle reaching below it
    // (a deep arc, or the toe at the other end when both directions are
    // searched) or above it, or a centre beyond the end, is shown whole
    // instead, with the same 5 m margin and still equal spans.
    const double low = std::min({ArcYBelow(c, e.Xb), ArcYBelow(c, e.Xe),
                                 ArcYBelow(c, std::max(e.Xb, std::min(c.Xo, e.Xe)))});
    const double high = std::max({e.Yb, e.Ye, c.Yo});
    const bool centreBeyond = c.Xo > x.Max;
    if (centreBeyond) x.Max = c.Xo + 5;
    if (centreBeyond || low < y.Min || high > y.Max) {
        const double span = std::max(x.Max - x.Min, high - low + 10);
        const double widen = (span - (x.Max - x.Min)) / 2;
        x = {x.Min - widen, x.Max + widen};
        const double bottom = std::min(std::max(y.Min, high + 5 - span), low - 5);
        y = {bottom, bottom + span};
    }
    chart.Bottom = x;
    chart.Left = y;
    chart.HomeBottom = x;
    chart.HomeLeft = y;
}

void DrawCircle(TChartModel& chart, const TAnalysisModel& model, const TSlipCircle& c,
                const TCircleEvaluation& e, const TDesignConditions& design,
                const TDrawingOptions& drawing, bool framing) {
    for (int i = rsGround; i <= rsSlipSurface; ++i) At(chart, i).Clear();
    At(chart, rsNclOptional).Order = TValueOrder::None;
    At(chart, rsSlipSurface).Order = TValueOrder::None;
    At(chart, rsRadii).Order = TValueOrder::None;

    for (int k = 0; k < model.LayersInUse(); ++k) {
        auto& series = At(chart, rsGround + k);
        const TRgb colour = FigureColours[static_cast<std::size_t>(k)];
        for (const auto& p : model.Figures[static_cast<std::size_t>(k)])
            series.Add(p.X, p.Y, std::nullopt, colour);
    }
    if (model.WaterOn) {
        for (const auto& p : model.Figures[fkWater])
            At(chart, rsWater).Add(p.X, p.Y, std::nullopt, FigureColours[fkWater]);
    }

    auto& radii = At(chart, rsRadii);
    radii.Add(e.Xe, e.Ye,
              "(Xe=" + FormatFloat("0.00;-0.00", e.Xe) + ";Ye=" + FormatFloat("0.00);-0.00)", e.Ye),
              Blue);
    const double theta = OpeningAngle(e.Xb, e.Yb, e.Xe, e.Ye, c.Xo, c.Yo);
    radii.Add(c.Xo, c.Yo,
              "(Xo=" + FormatFloat("0.00;-0.00", c.Xo) + ";Yo=" + FormatFloat("0.00;-0.00", c.Yo) +
                  ";" + FormatFloat("Θ=0.0度)", theta),
              Blue);
    radii.Add(e.Xb, e.Yb,
              "(Xb=" + FormatFloat("0.00;-0.00", e.Xb) + ";Yb=" + FormatFloat("0.00);-0.00)", e.Yb),
              Blue);

    auto& slip = At(chart, rsSlipSurface);
    const TSliceList& s = e.Slices;
    for (int j = 0; j < s.Count(); ++j) {
        const auto u = static_cast<std::size_t>(j);
        slip.Add(s.LeftX[u], s.ArcYLeft[u], Blank, Blue);
        if (drawing.ShowSliceLines) {
            // Up to the ground and back at every slice boundary.
            slip.Add(s.LeftX[u], s.GroundYLeft[u], Blank, Blue);
            slip.Add(s.LeftX[u], s.ArcYLeft[u], Blank, Blue);
        }
        slip.Add(s.CentreX[u], s.ArcYCentre[u],
                 drawing.ShowSliceNumbers ? std::to_string(j + 1) : Blank, Blue);
    }
    if (c.Xo + c.R > e.Xe && c.Yo < e.Ye) {
        // The end lies above the centre: down the arc below it first.
        const double dx = e.Xe - c.Xo;
        slip.Add(e.Xe, c.Yo - std::sqrt(std::max(c.R * c.R - dx * dx, 0.0)), Blank, Blue);
    }
    slip.Add(e.Xe, e.Ye, Blank, Blue);

    if (design.MustCutPointEnabled && !model.Figures[fkMustCutPoint].empty()) {
        const TPoint& p = model.Figures[fkMustCutPoint].front();
        At(chart, rsMustCutPoint).Add(p.X, p.Y, "M.C.P", Blue);
    }
    for (const auto& p : model.Figures[fkNeverCutElevation])
        At(chart, rsNclRequired).Add(p.X, p.Y, std::nullopt, FigureColours[fkNeverCutElevation]);
    if (design.NeverCutLineEnabled) {
        for (const auto& p : model.Figures[fkNeverCutLine])
            At(chart, rsNclOptional).Add(p.X, p.Y, std::nullopt, FigureColours[fkNeverCutLine]);
    }
    DrawLoad(At(chart, rsLoad), design);

    if (framing) FrameCircle(chart, model.Direction, c, e);
}

void RemoveMostForceCircle(TChartModel& chart) {
    if (chart.Series.size() > static_cast<std::size_t>(rsMostForce))
        chart.Series.resize(static_cast<std::size_t>(rsMostForce));
}

void DrawMostForceCircle(TChartModel& chart, const TAnalysisModel& model,
                         const std::optional<TSlipCircle>& circle) {
    RemoveMostForceCircle(chart);
    if (!circle || chart.Series.size() < static_cast<std::size_t>(rsMostForce)) return;
    TEngineScratch scratch;
    const TCircleEvaluation e = Evaluate(model, *circle, scratch);
    if (!Accepted(e.Verdict)) return;

    TChartSeries series;
    series.Title = MostForceSeriesTitle;
    series.Kind = TSeriesKind::Line;
    series.Colour = TRgb{255, 0, 255};
    series.LineWidth = 2;
    series.LineStyle = TLineStyle::Dash;
    series.ShowInLegend = true;
    series.Order = TValueOrder::None;
    // Named at the middle of the arc too: a document figure has no legend.
    series.LabelsShown = true;
    series.LabelOffset = 2;
    series.LabelClipped = true;
    series.LabelColour = series.Colour;
    // A smooth arc from end to end, counter-clockwise under the centre: the
    // start's angle is taken within a turn before the end's.
    const TSlipCircle& c = *circle;
    const double end = std::atan2(e.Ye - c.Yo, e.Xe - c.Xo);
    double start = std::atan2(e.Yb - c.Yo, e.Xb - c.Xo);
    if (start > end) start -= 2 * std::numbers::pi;
    constexpr int steps = 90;
    for (int k = 0; k <= steps; ++k) {
        const double a = start + (end - start) * k / steps;
        series.Add(
            c.Xo + c.R * std::cos(a), c.Yo + c.R * std::sin(a),
            k == steps / 2 ? std::optional<std::string>(MostForceSeriesTitle) : std::nullopt);
    }
    chart.Series.push_back(std::move(series));
}

}  // namespace sorvanta
