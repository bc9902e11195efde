#pragma once
// The charts of the program as plain data: series of points with optional
// labels and colours, and the axis limits. The design window's preview, the
// result chart, the arbitrary-point chart and their separate windows are all
// instances; a QPainter widget, the printed document and the PDF writer draw
// any of them from this data alone.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "design/DesignConditions.h"

namespace sorvanta {

enum class TSeriesKind : std::uint8_t {
    Area,  // filled from the line down to the bottom of the plot
    Line,
    FastLine,  // a line without markers or per-point styling
    Point,     // markers only; no line between the points
};

enum class TLineStyle : std::uint8_t { Solid, Dash, Dot };

enum class TMarkerStyle : std::uint8_t { None, Circle, Plus };

// Where X values go when a point is added.
enum class TValueOrder : std::uint8_t {
    Ascending,  // inserted after the last point whose X is not greater
    None,       // appended: insertion order
};

struct TChartPoint {
    double X = 0;
    double Y = 0;
    std::optional<std::string> Label;  // never set: no label
    std::optional<TRgb> Colour;        // never set: the series colour
    bool operator==(const TChartPoint&) const = default;
};

struct TChartSeries {
    std::string Title;
    TSeriesKind Kind = TSeriesKind::Line;
    TRgb Colour;        // series colour; default colour of its points
    int LineWidth = 1;  // pixels
    TLineStyle LineStyle = TLineStyle::Solid;
    // Outline of an area series; unset: drawn in the point colours.
    std::optional<TRgb> OutlineColour;
    TLineStyle OutlineStyle = TLineStyle::Solid;
    bool Hatched = false;  // an area filled with a diagonal-cross hatch, not solid
    TMarkerStyle Marker = TMarkerStyle::None;
    int MarkerWidth = 4;  // pixels
    int MarkerHeight = 4;
    bool ShowInLegend = false;
    // Point labels.
    bool LabelsShown = false;
    int LabelOffset = 0;  // pixels above the point; negative: below
    bool LabelFrame = false;
    bool LabelTransparent = true;
    bool LabelClipped = false;  // clipped to the plot area
    TRgb LabelColour;           // label font colour (black unless stated)
    int LabelFontSize = 9;      // points
    TValueOrder Order = TValueOrder::Ascending;
    std::vector<TChartPoint> Points;

    void Clear() { Points.clear(); }
    // Adds a point where Order puts it; returns its index.
    std::size_t Add(double x, double y, std::optional<std::string> label = std::nullopt,
                    std::optional<TRgb> colour = std::nullopt);
    // The colour a point is drawn in: its own, else the series colour.
    [[nodiscard]] TRgb PointColour(std::size_t index) const;

    bool operator==(const TChartSeries&) const = default;
};

// Fixed limits of an axis; an unset axis scales itself to the data.
using TAxisLimits = std::optional<TAxisRange>;

enum class TChartAxisId : std::uint8_t { Bottom, Left };

struct TChartModel {
    std::string Title;
    std::string BottomTitle;  // axis titles (none of our charts sets one)
    std::string LeftTitle;
    bool ShowLegend = true;
    TAxisLimits Bottom;
    TAxisLimits Left;
    // The first view, where the restore gesture returns: the limits the last
    // framing of a circle set. Unset: the chart scales itself to its data.
    TAxisLimits HomeBottom;
    TAxisLimits HomeLeft;
    // The plot area is the largest square that fits, so that equal axis spans
    // draw circles round, wherever the chart is painted.
    bool SquarePlot = false;
    std::vector<TChartSeries> Series;

    [[nodiscard]] TAxisLimits& Axis(TChartAxisId id) {
        return id == TChartAxisId::Bottom ? Bottom : Left;
    }
    [[nodiscard]] const TAxisLimits& Axis(TChartAxisId id) const {
        return id == TChartAxisId::Bottom ? Bottom : Left;
    }
    bool operator==(const TChartModel&) const = default;
};

// The range of the data on an axis (all points of all series). Without any
// point it is 0..1; a single value v gives v - 1 .. v + 1.
[[nodiscard]] TAxisRange DataRange(const TChartModel& chart, TChartAxisId axis);
// The limits a drawing uses: the fixed ones, else the data range.
[[nodiscard]] TAxisRange EffectiveRange(const TChartModel& chart, TChartAxisId axis);

// Series positions of the result chart, the arbitrary-point chart and their
// separate windows (thirteen, fixed order).
enum TResultSeries : int {
    rsGround = 0,  // "地盤"
    rsLayer2,      // "2層目"
    rsLayer3,
    rsLayer4,
    rsLayer5,
    rsWater,         // "地下水"
    rsNclRequired,   // "N.C.L(必須)"
    rsNclOptional,   // "N.C.L(任意)"
    rsLoad,          // "載荷重"
    rsMustCutPoint,  // "M.C.P(任意)"
    rsRadii,         // "円弧半径"
    rsSlipSurface,   // "滑り面"
    rsSafetyFactor,  // "安全率"
};
inline constexpr int ResultSeriesCount = 13;
// "載荷重" holds the load outline, in the legend under this title, while the
// design's load is on; the load enters no calculation.
inline constexpr const char* LoadSeriesTitle = "載荷重";
inline constexpr const char* LoadLegendTitle = "載荷重(計算外)";

// The result chart ("円弧滑り図"); the separate diagram window's chart is the
// same.
[[nodiscard]] TChartModel MakeResultChart();
// The arbitrary-point chart, with its own series colours. The slip circle
// charts all fill layer k in the colour of its points (FigureColours), so a
// layer looks the same in every chart of a design.
[[nodiscard]] TChartModel MakeArbitraryChart();
// The separate arbitrary-point window's chart.
[[nodiscard]] TChartModel MakeSeparateArbitraryChart();
// The design window's preview ("地形図"): ten series in TFigureKind order.
[[nodiscard]] TChartModel MakePreviewChart();

// Point labels of series 10 to 13 follow the font-size slider.
void SetResultLabelFontSize(TChartModel& chart, int size);

}  // namespace sorvanta
