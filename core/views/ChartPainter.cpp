#include "views/ChartPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

constexpr TRgb Black{0, 0, 0};
constexpr TRgb White{255, 255, 255};
constexpr TRgb GridGrey{190, 190, 190};

// A step of 1, 2 or 5 times a power of ten giving at most `maxTicks` ticks.
double NiceStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double raw = span / std::max(1, maxTicks);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / magnitude;
    const double f = n <= 1 ? 1 : n <= 2 ? 2 : n <= 5 ? 5 : 10;
    return f * magnitude;
}

int StepDecimals(double step) {
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

std::string TickLabel(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string s = buffer;
    // Rounding a tiny negative value must not show "-0".
    if (s.starts_with('-') && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

struct TTicks {
    std::vector<double> Values;
    int Decimals = 0;
};

TTicks MakeTicks(TAxisRange range, double pixels, double spacing) {
    TTicks ticks;
    const double span = range.Max - range.Min;
    if (!(span > 0) || !std::isfinite(span)) return ticks;
    const double step = NiceStep(span, static_cast<int>(pixels / spacing));
    ticks.Decimals = StepDecimals(step);
    const double first = std::ceil(range.Min / step - 1e-9) * step;
    for (int i = 0; i < 1000; ++i) {
        const double v = first + i * step;
        if (v > range.Max + step * 1e-9) break;
        ticks.Values.push_back(v);
    }
    return ticks;
}

TPenStyle ToPenStyle(TLineStyle style) {
    switch (style) {
        case TLineStyle::Dash:
            return TPenStyle::Dash;
        case TLineStyle::Dot:
            return TPenStyle::Dot;
        case TLineStyle::Solid:
            break;
    }
    return TPenStyle::Solid;
}

std::vector<const TChartSeries*> LegendEntries(const TChartModel& chart) {
    std::vector<const TChartSeries*> entries;
    if (!chart.ShowLegend) return entries;
    for (const auto& s : chart.Series) {
        if (s.ShowInLegend) entries.push_back(&s);
    }
    return entries;
}

double LegendTextWidth(const std::vector<const TChartSeries*>& entries, const TCanvasFont& font,
                       const TTextMeasure& measure) {
    double w = 0;
    for (const TChartSeries* s : entries) w = std::max(w, measure.TextWidth(font, s->Title));
    return w;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

void PaintAxes(TCanvas& c, const TChartFrame& f, const TCanvasFont& font) {
    c.SetFont(font);
    const double h = c.TextHeight(font);
    const TTicks xt = MakeTicks(f.X, f.Plot.Width, std::max(40.0, c.TextWidth(font, "00000")));
    const TTicks yt = MakeTicks(f.Y, f.Plot.Height, std::max(24.0, h * 1.6));
    for (double v : xt.Values) {
        const double x = f.Map(v, f.Y.Min).X;
        c.SetPen(GridGrey, 1, TPenStyle::Dot);
        c.Line({x, f.Plot.Top}, {x, f.Plot.Bottom()});
        c.SetPen(Black, 1, TPenStyle::Solid);
        c.Line({x, f.Plot.Bottom()}, {x, f.Plot.Bottom() + 4});
        const std::string label = TickLabel(v, xt.Decimals);
        c.Text({x - c.TextWidth(font, label) / 2, f.Plot.Bottom() + 5}, label);
    }
    for (double v : yt.Values) {
        const double y = f.Map(f.X.Min, v).Y;
        c.SetPen(GridGrey, 1, TPenStyle::Dot);
        c.Line({f.Plot.Left, y}, {f.Plot.Right(), y});
        c.SetPen(Black, 1, TPenStyle::Solid);
        c.Line({f.Plot.Left - 4, y}, {f.Plot.Left, y});
        const std::string label = TickLabel(v, yt.Decimals);
        c.Text({f.Plot.Left - 6 - c.TextWidth(font, label), y - h / 2}, label);
    }
}

void PaintArea(TCanvas& c, const TChartFrame& f, const TChartSeries& s) {
    if (s.Points.empty()) return;
    std::vector<TPointF> polygon;
    polygon.reserve(s.Points.size() + 2);
    polygon.push_back({f.Map(s.Points.front().X, 0).X, f.Plot.Bottom()});
    for (const auto& pt : s.Points) polygon.push_back(f.Map(pt.X, pt.Y));
    polygon.push_back({f.Map(s.Points.back().X, 0).X, f.Plot.Bottom()});
    c.SetPen(Black, 0, TPenStyle::None);
    if (s.Hatched) {
        // The hatch lies on white: an area hides the ones below it as a
        // solid one does, so each layer shows its own hatch only.
        c.SetBrush(TBrushStyle::Solid, White);
        c.Polygon(polygon);
    }
    c.SetBrush(s.Hatched ? TBrushStyle::DiagCross : TBrushStyle::Solid, s.Colour);
    c.Polygon(polygon);
    c.SetBrush(TBrushStyle::None, Black);
    // The outline, in runs of one colour.
    std::size_t i = 1;
    while (i < s.Points.size()) {
        const TRgb colour = s.OutlineColour ? *s.OutlineColour : s.PointColour(i);
        std::size_t end = i + 1;
        while (end < s.Points.size() && (s.OutlineColour || s.PointColour(end) == colour)) ++end;
        c.SetPen(colour, s.LineWidth, ToPenStyle(s.OutlineStyle));
        c.Polyline(std::span<const TPointF>(polygon).subspan(i, end - i + 1));
        i = end;
    }
}

// A segment takes the colour of the point it ends at.
void PaintLine(TCanvas& c, const TChartFrame& f, const TChartSeries& s) {
    c.SetBrush(TBrushStyle::None, Black);
    std::vector<TPointF> pixels;
    pixels.reserve(s.Points.size());
    for (const auto& pt : s.Points) pixels.push_back(f.Map(pt.X, pt.Y));
    auto colourOf = [&](std::size_t i) {
        return s.Kind == TSeriesKind::FastLine ? s.Colour : s.PointColour(i);
    };
    std::size_t i = 1;
    while (i < s.Points.size()) {
        const TRgb colour = colourOf(i);
        std::size_t end = i + 1;
        while (end < s.Points.size() && colourOf(end) == colour) ++end;
        c.SetPen(colour, s.LineWidth, ToPenStyle(s.LineStyle));
        c.Polyline(std::span<const TPointF>(pixels).subspan(i - 1, end - i + 1));
        i = end;
    }
}

void PaintMarkers(TCanvas& c, const TChartFrame& f, const TChartSeries& s) {
    if (s.Marker == TMarkerStyle::None) return;
    const double rx = s.MarkerWidth;
    const double ry = s.MarkerHeight;
    for (std::size_t i = 0; i < s.Points.size(); ++i) {
        const TPointF p = f.Map(s.Points[i].X, s.Points[i].Y);
        const TRgb colour = s.PointColour(i);
        if (s.Marker == TMarkerStyle::Circle) {
            c.SetPen(Black, 1, TPenStyle::Solid);
            c.SetBrush(TBrushStyle::Solid, colour);
            c.Ellipse({p.X - rx, p.Y - ry, 2 * rx, 2 * ry});
        } else {
            c.SetPen(colour, 1, TPenStyle::Solid);
            c.Line({p.X - rx, p.Y}, {p.X + rx, p.Y});
            c.Line({p.X, p.Y - ry}, {p.X, p.Y + ry});
        }
    }
}

void PaintLabels(TCanvas& c, const TChartFrame& f, const TChartSeries& s, const TCanvasFont& base,
                 const TRectF& whole) {
    if (!s.LabelsShown) return;
    TCanvasFont font = base;
    font.Size = PointsToPixels(std::max(1, s.LabelFontSize));
    font.Colour = s.LabelColour;
    const double h = c.TextHeight(font);
    c.PushClip(s.LabelClipped ? f.Plot : whole);
    c.SetFont(font);
    for (const auto& pt : s.Points) {
        if (!pt.Label || IsBlank(*pt.Label)) continue;
        const TPointF p = f.Map(pt.X, pt.Y);
        const double textWidth = c.TextWidth(font, *pt.Label);
        const double w = textWidth + 4;
        const double top = s.LabelOffset >= 0 ? p.Y - s.LabelOffset - h : p.Y - s.LabelOffset;
        const TRectF box{p.X - w / 2, top, w, h};
        if (!s.LabelTransparent || s.LabelFrame) {
            c.SetPen(Black, 1, s.LabelFrame ? TPenStyle::Solid : TPenStyle::None);
            c.SetBrush(s.LabelTransparent ? TBrushStyle::None : TBrushStyle::Solid, White);
            c.Rectangle(box);
        }
        c.Text({p.X - textWidth / 2, top}, *pt.Label);
    }
    c.PopClip();
}

void PaintLegend(TCanvas& c, const TChartModel& chart, const TChartFrame& f, const TRectF& area,
                 const TCanvasFont& font) {
    const auto entries = LegendEntries(chart);
    if (entries.empty()) return;
    const double w = LegendTextWidth(entries, font, c);
    const double h = c.TextHeight(font);
    const double rowH = h + 2;
    const TRectF box{f.Plot.Right() + 8, f.Plot.Top,
                     std::min(w + 30, area.Right() - f.Plot.Right() - 10),
                     rowH * static_cast<double>(entries.size()) + 6};
    c.SetPen(Black, 1, TPenStyle::Solid);
    c.SetBrush(TBrushStyle::Solid, White);
    c.Rectangle(box);
    TCanvasFont text = font;
    text.Colour = Black;
    c.SetFont(text);
    double y = box.Top + 3;
    for (const TChartSeries* s : entries) {
        const TRectF swatch{box.Left + 4, y + rowH / 2 - 4, 16, 8};
        if (s->Kind == TSeriesKind::Area) {
            c.SetPen(Black, 1, TPenStyle::Solid);
            c.SetBrush(s->Hatched ? TBrushStyle::DiagCross : TBrushStyle::Solid, s->Colour);
            c.Rectangle(swatch);
        } else if (s->Kind == TSeriesKind::Point) {
            c.SetPen(Black, 1, TPenStyle::Solid);
            c.SetBrush(TBrushStyle::Solid, s->Colour);
            const TPointF m = swatch.Centre();
            c.Ellipse({m.X - 3, m.Y - 3, 6, 6});
        } else {
            c.SetPen(s->Colour, 2, TPenStyle::Solid);
            c.Line({swatch.Left, swatch.Centre().Y}, {swatch.Right(), swatch.Centre().Y});
        }
        c.Text({swatch.Right() + 4, y + (rowH - h) / 2}, s->Title);
        y += rowH;
    }
}

std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// The whole chart in the area: the title across its top.
void PaintTitleInArea(TCanvas& c, const TChartModel& chart, const TRectF& area,
                      const TChartStyle& style) {
    if (chart.Title.empty()) return;
    c.SetFont(style.TitleFont);
    c.Text({area.Left + (area.Width - c.TextWidth(style.TitleFont, chart.Title)) / 2, area.Top + 4},
           chart.Title);
}

// The plot alone in the area: the titles stand around it.
void PaintTitlesAroundPlot(TCanvas& c, const TChartModel& chart, const TRectF& plot,
                           const TChartStyle& style) {
    const double middle = (plot.Left + plot.Right()) / 2;
    const std::string_view title = FirstLine(chart.Title);
    c.SetFont(style.TitleFont);
    c.TextOnBaseline({middle - c.TextWidth(style.TitleFont, title) / 2, plot.Top - 3}, title);
    c.SetFont(style.AxisFont);
    c.TextOnBaseline(
        {middle - c.TextWidth(style.AxisFont, chart.BottomTitle) / 2, plot.Bottom() + 20},
        chart.BottomTitle);
    c.TextOnBaseline({plot.Right() + 2, (plot.Top + plot.Bottom()) / 2}, chart.LeftTitle);
}

// A label centred 2 above its point, in the font the canvas holds.
void PaintPlainLabel(TCanvas& c, TPointF p, const std::string& label) {
    c.TextOnBaseline({p.X - c.TextWidth(c.Font(), label) / 2, p.Y - 2}, label);
}

void PaintDrawnSeries(TCanvas& c, const TChartFrame& f, const TChartSeries& s,
                      const TChartStyle& style) {
    const TLineDrawing& drawing = *style.LineDrawing;
    if (s.Points.size() < 2) return;
    std::vector<TPointF> pixels;
    pixels.reserve(s.Points.size());
    for (const auto& pt : s.Points) pixels.push_back(f.Map(pt.X, pt.Y));
    if (s.Kind != TSeriesKind::Point) {
        c.SetPen(s.PointColour(0), drawing.LineWidth, TPenStyle::Solid);
        c.Polyline(pixels);
        if (!s.LabelsShown) return;
        for (std::size_t i = 0; i < pixels.size(); ++i)
            PaintPlainLabel(c, pixels[i], s.Points[i].Label.value_or(std::string()));
        return;
    }
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        TCanvasFont marker = style.AxisFont;
        marker.Size = drawing.MarkerSize;
        marker.Colour = s.PointColour(i);
        c.SetFont(marker);
        c.TextOnBaseline(pixels[i], drawing.Marker);
        if (!s.LabelsShown) continue;
        TCanvasFont label = style.AxisFont;
        label.Colour = s.LabelColour;
        c.SetFont(label);
        PaintPlainLabel(c, pixels[i], s.Points[i].Label.value_or(std::string()));
    }
}

std::string TenthLabel(double value) {
    return FormatFloat(value >= 100 ? "#,0" : "#,0.00", value);
}

// Over the series in the frame's pen, dashed; the values in the font the
// series left. The dash ends with the grid.
void PaintTenths(TCanvas& c, const TChartFrame& f) {
    const TCanvasPen frame = c.Pen();
    c.SetPen(frame.Colour, frame.Width, TPenStyle::Dash);
    if (f.Scaled()) {
        const TRectF& plot = f.Plot;
        const double sx = plot.Width / (f.X.Max - f.X.Min);
        const double sy = plot.Height / (f.Y.Max - f.Y.Min);
        for (int i = 1; i <= 9; ++i) {
            const double v = i * (f.X.Max - f.X.Min) / 10;
            const double x = plot.Left + v * sx;
            c.Line({x, plot.Bottom()}, {x, plot.Top});
            const std::string label = TenthLabel(v + f.X.Min);
            c.TextOnBaseline({x - c.TextWidth(c.Font(), label) / 2, plot.Bottom() + 8}, label);
        }
        for (int i = 1; i <= 9; ++i) {
            const double v = i * (f.Y.Max - f.Y.Min) / 10;
            const double y = plot.Bottom() - v * sy;
            c.Line({plot.Left, y}, {plot.Right(), y});
            const std::string label = TenthLabel(v + f.Y.Min);
            c.TextOnBaseline({plot.Left - c.TextWidth(c.Font(), label) - 2, y - 2}, label);
        }
    }
    c.SetPen(frame.Colour, frame.Width, TPenStyle::Solid);
}

}  // namespace

double PointsToPixels(double points) {
    return points * 96.0 / 72.0;
}

// Scale first, then offset: the same arithmetic on every target, so a value
// lands on the same number whether y runs up or down.
TPointF TChartFrame::Map(double x, double y) const {
    const double px =
        X.Max > X.Min ? (x - X.Min) * (Plot.Width / (X.Max - X.Min)) : 0.5 * Plot.Width;
    const double py =
        Y.Max > Y.Min ? (y - Y.Min) * (Plot.Height / (Y.Max - Y.Min)) : 0.5 * Plot.Height;
    return {Plot.Left + px, Plot.Bottom() - py};
}

bool TChartFrame::Scaled() const {
    auto spans = [](const TAxisRange& r) {
        return std::isfinite(r.Min) && std::isfinite(r.Max) && r.Max > r.Min;
    };
    return spans(X) && spans(Y);
}

TPointF TChartFrame::Unmap(TPointF pixel) const {
    return {X.Min + (pixel.X - Plot.Left) / Plot.Width * (X.Max - X.Min),
            Y.Min + (Plot.Bottom() - pixel.Y) / Plot.Height * (Y.Max - Y.Min)};
}

namespace {

// The plot area of `chart` when every part of it is laid out in `area`.
TChartFrame LayoutIn(const TChartModel& chart, const TRectF& area, const TChartStyle& style,
                     const TTextMeasure& measure) {
    const double axisH = measure.TextHeight(style.AxisFont);
    double top = 8;
    if (!chart.Title.empty()) top += measure.TextHeight(style.TitleFont) + 4;
    double left = 10;
    double right = 14;
    const double bottom = axisH + 10;
    const TAxisRange y = EffectiveRange(chart, TChartAxisId::Left);
    const TTicks ticks = MakeTicks(y, std::max(50.0, area.Height - 60), 28);
    double widest = measure.TextWidth(style.AxisFont, "0");
    for (double v : ticks.Values) {
        widest = std::max(widest, measure.TextWidth(style.AxisFont, TickLabel(v, ticks.Decimals)));
    }
    left += widest + 6;
    const auto legend = LegendEntries(chart);
    if (!legend.empty()) right += LegendTextWidth(legend, style.AxisFont, measure) + 34;

    TChartFrame f;
    f.Plot = {area.Left + left, area.Top + top, std::max(10.0, area.Width - left - right),
              std::max(10.0, area.Height - top - bottom)};
    f.X = EffectiveRange(chart, TChartAxisId::Bottom);
    f.Y = y;
    return f;
}

}  // namespace

TRectF ChartArea(const TChartModel& chart, const TRectF& area, const TChartStyle& style,
                 const TTextMeasure& measure) {
    if (!chart.SquarePlot || style.Fit == TChartFit::Plot) return area;
    // The margins around the plot hardly depend on the area: trim the longer
    // side by the difference, twice to settle the tick labels.
    TRectF r = area;
    for (int i = 0; i < 2; ++i) {
        const TRectF plot = LayoutIn(chart, r, style, measure).Plot;
        const double excess = plot.Width - plot.Height;
        if (excess > 0) {
            r.Width = std::max(10.0, r.Width - excess);
        } else {
            r.Height = std::max(10.0, r.Height + excess);
        }
    }
    r.Left = area.Left + (area.Width - r.Width) / 2;
    return r;
}

TChartFrame LayoutChart(const TChartModel& chart, const TRectF& area, const TChartStyle& style,
                        const TTextMeasure& measure) {
    if (style.Fit == TChartFit::Plot) {
        return {area, EffectiveRange(chart, TChartAxisId::Bottom),
                EffectiveRange(chart, TChartAxisId::Left)};
    }
    return LayoutIn(chart, ChartArea(chart, area, style, measure), style, measure);
}

void PaintChart(const TChartModel& chart, TCanvas& c, const TRectF& whole,
                const TChartStyle& style) {
    if (style.Background) {
        c.SetPen(Black, 0, TPenStyle::None);
        c.SetBrush(TBrushStyle::Solid, *style.Background);
        c.Rectangle(whole);
    }
    const TRectF area = ChartArea(chart, whole, style, c);
    const TChartFrame f = style.Fit == TChartFit::Chart ? LayoutIn(chart, area, style, c)
                                                        : LayoutChart(chart, whole, style, c);

    if (style.Fit == TChartFit::Chart) {
        PaintTitleInArea(c, chart, area, style);
    } else {
        PaintTitlesAroundPlot(c, chart, f.Plot, style);
    }
    if (style.Background) {
        c.SetPen(Black, 0, TPenStyle::None);
        c.SetBrush(TBrushStyle::Solid, White);
        c.Rectangle(f.Plot);
    }
    if (style.Grid == TChartGrid::Ticks) PaintAxes(c, f, style.AxisFont);

    if (style.FrameUnderSeries) {
        c.SetPen(Black, style.FrameWidth, TPenStyle::Solid);
        c.PushFramedClip(f.Plot);
    } else {
        c.PushClip(f.Plot);
    }
    // Limits that span nothing have no scale: the frame and titles still show.
    if (f.Scaled()) {
        for (const auto& s : chart.Series) {
            if (style.LineDrawing) {
                PaintDrawnSeries(c, f, s, style);
                continue;
            }
            switch (s.Kind) {
                case TSeriesKind::Area:
                    PaintArea(c, f, s);
                    break;
                case TSeriesKind::Line:
                case TSeriesKind::FastLine:
                    PaintLine(c, f, s);
                    break;
                case TSeriesKind::Point:
                    break;
            }
            PaintMarkers(c, f, s);
        }
    }
    c.PopClip();
    if (!style.LineDrawing && f.Scaled()) {
        for (const auto& s : chart.Series) PaintLabels(c, f, s, style.AxisFont, area);
    }

    c.SetPen(Black, style.LineDrawing ? style.LineDrawing->LineWidth : style.FrameWidth,
             TPenStyle::Solid);
    c.SetBrush(TBrushStyle::None, Black);
    c.Rectangle(f.Plot);
    if (style.Grid == TChartGrid::Tenths) PaintTenths(c, f);
    if (style.Fit == TChartFit::Chart) PaintLegend(c, chart, f, area, style.AxisFont);
}

}  // namespace sorvanta
