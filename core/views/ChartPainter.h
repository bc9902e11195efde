#pragma once
// Paints a chart model onto a canvas: the background, the title, the white
// plot area with its dotted grid, ticks and tick values, the series (areas
// filled down to the bottom of the plot, lines, point markers, per-point
// colours, point labels) and the legend. It is the only chart painting of the
// program: the screen, the printed pages and the figure files all use it.
//
//   TChartStyle style;                      // fonts and background
//   PaintChart(chart, canvas, {0, 0, 400, 300}, style);
//   TChartFrame f = LayoutChart(chart, {0, 0, 400, 300}, style, canvas);
//   TPointF pixel = f.Map(x, y);            // where a value was painted
//
// On a QPainter use gui/QtCanvas.h. To fill a box of another unit (a printed
// page), lay the chart out in its own pixels and scale the painter onto the
// box first, so fonts and lines keep their proportions. A figure drawn
// differently from the screen (black lines, hatched areas) is a copy of the
// model with other series colours and TChartSeries::Hatched set.

#include "views/Canvas.h"
#include "views/ChartModel.h"

namespace sorvanta {

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
    // Around the plot area; the plot area itself is white.
    TRgb Background{240, 240, 240};
    bool operator==(const TChartStyle&) const = default;
};

// The plot area of a chart painted into some area, with the axis ranges it
// shows: converts between axis values (bottom axis X, left axis Y) and pixels.
struct TChartFrame {
    TRectF Plot;
    TAxisRange X;
    TAxisRange Y;
    [[nodiscard]] TPointF Map(double x, double y) const;
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
