#include "views/ChartModel.h"

#include <algorithm>
#include <limits>

namespace sorvanta {

std::size_t TChartSeries::Add(double x, double y, std::optional<std::string> label,
                              std::optional<TRgb> colour) {
    TChartPoint point{x, y, std::move(label), colour};
    if (Order == TValueOrder::None || Points.empty() || !(x < Points.back().X)) {
        Points.push_back(std::move(point));
        return Points.size() - 1;
    }
    // Equal X values keep the order in which they came, so a vertical step of
    // a boundary stays as it was entered.
    auto at = std::upper_bound(Points.begin(), Points.end(), x,
                               [](double v, const TChartPoint& p) { return v < p.X; });
    auto index = static_cast<std::size_t>(at - Points.begin());
    Points.insert(at, std::move(point));
    return index;
}

TRgb TChartSeries::PointColour(std::size_t index) const {
    const auto& colour = Points.at(index).Colour;
    return colour ? *colour : Colour;
}

TAxisRange DataRange(const TChartModel& chart, TChartAxisId axis) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const auto& series : chart.Series) {
        for (const auto& p : series.Points) {
            const double v = axis == TChartAxisId::Bottom ? p.X : p.Y;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    if (lo > hi) return {0, 1};
    if (lo == hi) return {lo - 1, hi + 1};
    return {lo, hi};
}

TAxisRange EffectiveRange(const TChartModel& chart, TChartAxisId axis) {
    const auto& limits = chart.Axis(axis);
    return limits ? *limits : DataRange(chart, axis);
}

namespace {

constexpr TRgb Black{0, 0, 0};
constexpr TRgb Olive{128, 128, 0};
constexpr TRgb Teal{0, 128, 128};
constexpr TRgb Green{0, 128, 0};
constexpr TRgb Purple{128, 0, 128};
constexpr TRgb Aqua{0, 255, 255};
constexpr TRgb Red{255, 0, 0};
constexpr TRgb Blue{0, 0, 255};
constexpr TRgb Navy{0, 0, 128};
constexpr TRgb Lime{0, 255, 0};
constexpr TRgb Maroon{128, 0, 0};
constexpr TRgb Yellow{255, 255, 0};
constexpr TRgb Grey{128, 128, 128};

TChartSeries MakeSeries(std::string title, TSeriesKind kind, TRgb colour, bool legend) {
    TChartSeries s;
    s.Title = std::move(title);
    s.Kind = kind;
    s.Colour = colour;
    s.ShowInLegend = legend;
    if (kind == TSeriesKind::Point) s.Marker = TMarkerStyle::Circle;
    return s;
}

// Colours of the thirteen series; everything else is common to the four
// instances of the slip circle chart. An area is filled in its series colour
// and outlined in the colour of its points, which the circle drawing gives
// the layer's own colour: the layers take that colour as their series colour
// in every instance, so that the fill matches the outline and a layer looks
// the same in every chart of a design.
TChartModel MakeCircleChart(const std::array<TRgb, ResultSeriesCount>& c,
                            TMarkerStyle factorMarker) {
    TChartModel chart;
    chart.Title = "円弧滑り図";
    chart.SquarePlot = true;
    auto& s = chart.Series;
    s.push_back(MakeSeries("地盤", TSeriesKind::Area, c[rsGround], true));
    s.back().LineWidth = 2;
    s.push_back(MakeSeries("2層目", TSeriesKind::Area, c[rsLayer2], false));
    s.push_back(MakeSeries("3層目", TSeriesKind::Area, c[rsLayer3], false));
    s.push_back(MakeSeries("4層目", TSeriesKind::Area, c[rsLayer4], false));
    s.push_back(MakeSeries("5層目", TSeriesKind::Area, c[rsLayer5], false));
    s.push_back(MakeSeries("地下水", TSeriesKind::Line, c[rsWater], false));
    s.push_back(MakeSeries("N.C.L(必須)", TSeriesKind::Line, c[rsNclRequired], true));
    s.push_back(MakeSeries("N.C.L(任意)", TSeriesKind::Line, c[rsNclOptional], true));
    s.push_back(MakeSeries(LoadSeriesTitle, TSeriesKind::Line, c[rsLoad], false));

    auto& mcp =
        s.emplace_back(MakeSeries("M.C.P(任意)", TSeriesKind::Point, c[rsMustCutPoint], true));
    mcp.LabelsShown = true;

    auto& radii = s.emplace_back(MakeSeries("円弧半径", TSeriesKind::Line, c[rsRadii], true));
    radii.LabelsShown = true;
    radii.LabelOffset = 2;
    radii.LabelColour = Blue;

    auto& slip = s.emplace_back(MakeSeries("滑り面", TSeriesKind::Line, c[rsSlipSurface], true));
    slip.LabelsShown = true;
    slip.LabelOffset = -15;
    slip.LabelClipped = true;

    auto& fs = s.emplace_back(MakeSeries("安全率", TSeriesKind::Point, c[rsSafetyFactor], false));
    fs.Marker = factorMarker;
    fs.MarkerWidth = fs.MarkerHeight = 2;
    fs.LabelsShown = true;
    fs.LabelClipped = true;
    // Grid points and contour points are read in the order they were made.
    fs.Order = TValueOrder::None;
    return chart;
}

}  // namespace

TChartModel MakeResultChart() {
    return MakeCircleChart(
        {Olive, Teal, Maroon, Green, Purple, Aqua, Black, Red, Red, Lime, Blue, Blue, Yellow},
        TMarkerStyle::Circle);
}

TChartModel MakeArbitraryChart() {
    return MakeCircleChart(
        {Olive, Teal, Maroon, Green, Purple, Grey, Black, Red, Navy, Maroon, Blue, Blue, Purple},
        TMarkerStyle::Plus);
}

TChartModel MakeSeparateArbitraryChart() {
    return MakeCircleChart(
        {Olive, Teal, Maroon, Green, Purple, Grey, Black, Red, Navy, Maroon, Blue, Blue, Purple},
        TMarkerStyle::Plus);
}

TChartModel MakePreviewChart() {
    TChartModel chart;
    chart.Title = "地形図";
    chart.ShowLegend = false;
    auto& s = chart.Series;
    auto& ground =
        s.emplace_back(MakeSeries("地表面", TSeriesKind::Area, TRgb{0xB3, 0xB3, 0xE3}, false));
    ground.OutlineColour = TRgb{0x00, 0x80, 0xFF};
    ground.OutlineStyle = TLineStyle::Dash;
    auto& layer2 =
        s.emplace_back(MakeSeries("2層目", TSeriesKind::Area, TRgb{0xC4, 0xB3, 0x9B}, false));
    layer2.OutlineStyle = TLineStyle::Dot;
    s.push_back(MakeSeries("3層目", TSeriesKind::Area, TRgb{0xB4, 0xB0, 0xF9}, false));
    s.push_back(MakeSeries("4層目", TSeriesKind::Area, TRgb{0xB0, 0xFF, 0xB0}, false));
    s.push_back(MakeSeries("5層目", TSeriesKind::Area, TRgb{0x80, 0x00, 0x80}, false));
    s.push_back(MakeSeries("載荷重", TSeriesKind::Line, Red, false));
    auto& mcp = s.emplace_back(MakeSeries("M.C.P", TSeriesKind::Point, Blue, false));
    mcp.LabelsShown = true;
    s.push_back(MakeSeries("N.C.L(必須)", TSeriesKind::Line, Black, false));
    s.push_back(MakeSeries("N.C.L(任意)", TSeriesKind::Line, Red, false));
    s.push_back(MakeSeries("地下水", TSeriesKind::Line, Blue, false));
    // Points keep the order of the tables (and of digitising, whose floating
    // point is the last one), so the preview shows the lines as entered.
    for (auto& series : s) series.Order = TValueOrder::None;
    return chart;
}

void SetResultLabelFontSize(TChartModel& chart, int size) {
    for (int i : {rsMustCutPoint, rsRadii, rsSlipSurface, rsSafetyFactor}) {
        if (i < static_cast<int>(chart.Series.size()))
            chart.Series[static_cast<std::size_t>(i)].LabelFontSize = size;
    }
}

}  // namespace sorvanta
