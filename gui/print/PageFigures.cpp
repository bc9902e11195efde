#include "gui/print/PageFigures.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/QtCanvas.h"
#include "views/ChartPainter.h"
#include "views/CircleDrawing.h"

namespace sorvanta::gui {

namespace {

constexpr TRgb Black{0, 0, 0};

void HatchAreas(TChartModel& chart) {
    for (auto& s : chart.Series) {
        if (s.Kind == TSeriesKind::Area) s.Hatched = true;
    }
}

TAxisLimits FigureLimits(const TChartModel& chart, TChartAxisId axis) {
    const TAxisRange r = EffectiveRange(chart, axis);
    if (r.Min == 0 && r.Max == 0) return std::nullopt;
    return r;
}

}  // namespace

TChartModel MakeGroundFigure() {
    TChartModel figure = MakePreviewChart();
    figure.Title = "地形図";
    HatchAreas(figure);
    return figure;
}

TChartModel MakeCircleFigure() {
    TChartModel figure = MakeResultChart();
    figure.Title = "円弧滑り図";
    HatchAreas(figure);
    return figure;
}

void TPagePainter::CopyChartFigure(const TChartModel& chart, TChartModel& figure, int mono) {
    figure.Bottom = FigureLimits(chart, TChartAxisId::Bottom);
    figure.Left = FigureLimits(chart, TChartAxisId::Left);
    const bool black = mono == 1;
    // The 最大必要抑止力円 comes and goes with the run's planned factor: the
    // figure takes it as the chart draws it.
    RemoveMostForceCircle(figure);
    const std::size_t n = std::min(chart.Series.size(), figure.Series.size());
    for (std::size_t i = 0; i < n; ++i) {
        const TChartSeries& from = chart.Series[i];
        TChartSeries& to = figure.Series[i];
        to.Clear();
        switch (from.Kind) {
            case TSeriesKind::Line:
            case TSeriesKind::FastLine:
                to.Order = TValueOrder::None;
                to.Colour = black ? Black : from.Colour;
                for (const auto& p : from.Points) to.Add(p.X, p.Y, p.Label);
                break;
            case TSeriesKind::Area: {
                const TRgb colour = black ? Black : from.Colour;
                to.Colour = colour;
                for (const auto& p : from.Points) to.Add(p.X, p.Y, std::nullopt, colour);
                break;
            }
            case TSeriesKind::Point:
                for (const auto& p : from.Points) to.Add(p.X, p.Y, p.Label, Black);
                break;
        }
    }
    if (chart.Series.size() > static_cast<std::size_t>(rsMostForce) &&
        figure.Series.size() == static_cast<std::size_t>(rsMostForce))
        figure.Series.push_back(chart.Series[static_cast<std::size_t>(rsMostForce)]);
    if (!black) return;
    // Nothing of the figure keeps a colour: outlines, labels and legend
    // swatches of every series turn black too.
    for (auto& s : figure.Series) {
        s.Colour = Black;
        if (s.OutlineColour) s.OutlineColour = Black;
        s.LabelColour = Black;
    }
}

QFont PageFont(const QPainter& painter, const QString& family, double points) {
    QFont font(family);
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    font.setPointSizeF(points * kUnitsPerMm * 25.4 / dpi);
    return font;
}

void TPagePainter::PaintChartFigure(const QRectF& box, const TChartModel& figure) {
    QPainter& painter = painter_;
    // Laid out in the chart's own pixels at the box's size, then scaled onto
    // the box, so that fonts and lines keep the proportions of the screen.
    const double width = std::max(1.0, std::round(box.width() / kUnitsPerPixel));
    const double height = std::max(1.0, std::round(box.height() / kUnitsPerPixel));
    TChartStyle style;
    style.AxisFont.Face = "ＭＳ 明朝";
    style.AxisFont.Size = PointsToPixels(8);
    style.TitleFont.Face = "ＭＳ 明朝";
    style.TitleFont.Size = PointsToPixels(10);
    style.Background = TRgb{255, 255, 255};
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / width, box.height() / height);
    painter.setClipRect(QRectF(0, 0, width, height), Qt::IntersectClip);
    {
        TQtCanvas canvas(painter);
        PaintChart(figure, canvas, TRectF{0, 0, width, height}, style);
    }
    painter.restore();
    painter.save();
    painter.setPen(QPen(Qt::black, kUnitsPerPixel));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.restore();
}

double LinePitch(double points) {
    return std::round(points * 96 / 72) * kUnitsPerPixel;
}

void TPagePainter::FillTextBlock(const TLineList& list, double x, double y, double points) {
    QPainter& p = painter_;
    p.setFont(PageFont(p, QStringLiteral("ＭＳ 明朝"), points));
    p.setPen(Qt::black);
    const double pitch = LinePitch(points);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const QRectF line(x * kUnitsPerMm, y * kUnitsPerMm + pitch * static_cast<double>(i),
                          400 * kUnitsPerMm, pitch);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                   QString::fromStdString(list[i]));
    }
}

TPagePainter::TGridMeasure TPagePainter::MeasureGrid(const TCellTable& table) {
    TGridMeasure m;
    m.ColCount = table.ColCount;
    m.RowCount = table.RowCount();
    m.ColWidths = table.ColWidths;
    m.ColWidths.resize(static_cast<std::size_t>(std::max(0, m.ColCount)), 0);
    m.RowHeight = table.DefaultRowHeight - 3;
    for (int w : m.ColWidths) m.ControlWidth += w;
    m.GridHeight = m.RowHeight * m.RowCount;
    return m;
}

QSizeF TPagePainter::GridFigureSize(const TCellTable& table) {
    const TGridMeasure m = MeasureGrid(table);
    const double w = m.ControlWidth + 15.0 * m.ColCount;
    const double h = m.RowCount * (m.RowHeight + 5.0);
    return {w * kUnitsPerPixel, h * kUnitsPerPixel};
}

void TPagePainter::DrawGridFigure(const TCellTable& table, const QRectF& box) {
    QPainter& painter = painter_;
    const TGridMeasure m = MeasureGrid(table);
    const int n = m.RowCount;
    const double h = m.RowHeight;
    std::vector<double> right;  // right edge of each column
    double x = 0;
    for (int w : m.ColWidths) {
        x += w;
        right.push_back(x);
    }
    if (n == 0 || right.empty() || x <= 0 || h <= 0) return;
    // The grid in the table's own pixels, scaled to fill the box.
    const double sx = box.width() / x;
    const double sy = box.height() / (n * h);
    auto at = [&](double gx, double gy) {
        return QPointF(box.left() + gx * sx, box.top() + gy * sy);
    };

    painter.save();
    painter.setPen(QPen(Qt::black, kUnitsPerPixel));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    const double thin = kUnitsPerPixel * 0.75;
    painter.setPen(QPen(Qt::black, thin));
    painter.drawLine(at(0, h + 1), at(x, h + 1));
    for (int r = 1; r <= n; ++r) painter.drawLine(at(0, h * r), at(x, h * r));
    painter.drawLine(at(right[0] + 1, 0), at(right[0] + 1, n * h));
    for (double e : right) painter.drawLine(at(e, 0), at(e, n * h));

    // 12 pixels while the rows keep at least their own height in the box;
    // a squeezed grid gets smaller text.
    const double naturalPitch = (h + 5) * kUnitsPerPixel;
    const double pitch = h * sy;
    const double textPixels = 12 * std::min(1.0, pitch / naturalPitch);
    const QFont font = PageFont(painter, QStringLiteral("ＭＳ Ｐ明朝"), textPixels * 72 / 96);
    painter.setFont(font);
    const QFontMetricsF fm(font, painter.device());
    double left = 0;
    for (int c = 0; c < table.ColCount; ++c) {
        const double l = box.left() + left * sx;
        const double w = (right[static_cast<std::size_t>(c)] - left) * sx;
        for (int r = 0; r < n; ++r) {
            const double bottom = box.top() + h * (r + 1) * sy - thin;
            const QRectF cell(l, bottom - fm.height(), w, fm.height());
            painter.drawText(cell, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip,
                             QString::fromStdString(table.Cell(r, c)));
        }
        left = right[static_cast<std::size_t>(c)];
    }
    painter.restore();
}

}  // namespace sorvanta::gui
