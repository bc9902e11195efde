#pragma once
// Paints a chart model onto a canvas: the background, the title, the white
// plot area with its dotted grid, ticks and tick values, the series (areas
// filled down to the bottom of the plot, lines, point markers, per-point
// colours, point labels) and the legend. It is the only chart painting of the
// program: the screen, the printed pages, the figure files and the PDF
// document all use it, each in its own style (TChartStyle).
//
//   TChartStyle style;                      // fonts and background
//   PaintChart(chart, canvas, {0, 0, 400, 300}, style);
//   TChartFrame f = LayoutChart(chart, {0, 0, 400, 300}, style, canvas);
//   TPointF pixel = f.Map(x, y);            // where a value was painted
//
// On a QPainter use gui/QtCanvas.h; on a PDF page documents/PdfCanvas.h,
// in the document's style (a line drawing whose plot fills the box). To fill
// a box of another unit (a printed page), lay the chart out in its own pixels
// and scale the painter onto the box first, so fonts and lines keep their
// proportions. A figure drawn differently from the screen (black lines,
// hatched areas) is a copy of the model with other series colours and
// TChartSeries::Hatched set.

#include <cstdint>
#include <optional>
#include <string>

#include "views/Canvas.h"
#include "views/ChartModel.h"

namespace sorvanta {

// Where the area given to PaintChart goes.
enum class TChartFit : std::uint8_t {
    // The whole chart: title, tick values and legend inside the area, the
    // plot what remains (square for a chart with a square plot).
    Chart,
    // The plot alone: the title's first line centred above it, the axis
    // titles below and to the right of it (written even when empty), the grid
    // values outside it, no legend.
    Plot,
};

enum class TChartGrid : std::uint8_t {
    // At round values under the series: dotted grey lines, tick marks and
    // tick values in the axis font.
    Ticks,
    // At the nine tenths of each axis over the series: dashed lines in the
    // frame's pen, values as "#,0" (100 and more) or "#,0.00", written in the
    // font the series left.
    Tenths,
};

// A document figure is a line drawing: every series a solid line of one
// width in the colour of its first point, areas as their outline only,
// series of fewer than two points left out, point markers a character in the
// point's colour. Labels are written with their series, centred 2 above the
// point, every point's (an unlabelled one as an empty text): a point series'
// after each marker in the axis font and the series' label colour, a line's
// after the line in the font the drawing holds then.
struct TLineDrawing {
    double LineWidth = 0.2;
    std::string Marker = "●";  // its baseline starting at the point
    double MarkerSize = 2;
    bool operator==(const TLineDrawing&) const = default;
};

// How a chart is painted on a target. The defaults are the windows' look;
// the PDF document draws its figures in a style of its own.
struct TChartStyle {
    static TCanvasFont BoldFont() {
        TCanvasFont font;
        font.Bold = true;
        return font;
    }
    // Tick values and legend; point labels take its face at their series'
    // own size.
    TCanvasFont AxisFont;
    TCanvasFont TitleFont = BoldFont();
    // Around the plot area, the plot itself white; unset: nothing is painted
    // behind the series.
    std::optional<TRgb> Background = TRgb{240, 240, 240};
    TChartFit Fit = TChartFit::Chart;
    TChartGrid Grid = TChartGrid::Ticks;
    double FrameWidth = 1;
    // The frame is also stroked as the plot becomes the clip, under the
    // series; it is always stroked over them (in a line drawing's width).
    bool FrameUnderSeries = false;
    // Unset: series as they are styled (TChartSeries), their labels after
    // all of them, each boxed, offset and clipped as its series says.
    std::optional<TLineDrawing> LineDrawing;
    bool operator==(const TChartStyle&) const = default;
};

// The plot area of a chart painted into some area, with the axis ranges it
// shows: converts between axis values (bottom axis X, left axis Y) and pixels.
struct TChartFrame {
    TRectF Plot;
    TAxisRange X;
    TAxisRange Y;
    // A value at the limits' edge maps onto the plot's edge; limits that span
    // nothing map to the plot's middle.
    [[nodiscard]] TPointF Map(double x, double y) const;
    // Both axes have limits that span something: the data can be drawn.
    [[nodiscard]] bool Scaled() const;
    [[nodiscard]] TPointF Unmap(TPointF pixel) const;
};

// The part of `area` that PaintChart lays the chart out in: all of it, or
// for a chart with a square plot the part (centred across) that makes the
// plot square.
[[nodiscard]] TRectF ChartArea(const TChartModel& chart, const TRectF& area,
                               const TChartStyle& style, const TTextMeasure& measure);

// Where PaintChart puts the plot area of `chart` painted into `area`.
[[nodiscard]] TChartFrame LayoutChart(const TChartModel& chart, const TRectF& area,
                                      const TChartStyle& style, const TTextMeasure& measure);

// Paints `chart` into `area` of the canvas, at the chart's current limits;
// the background covers the whole area.
void PaintChart(const TChartModel& chart, TCanvas& canvas, const TRectF& area,
                const TChartStyle& style);

// Pixels of a font size in points, at the 96 dots per inch of the charts.
[[nodiscard]] double PointsToPixels(double points);

}  // namespace sorvanta
