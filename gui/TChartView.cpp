#include "TChartView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace sorvanta::gui {

namespace {

constexpr int kDragThreshold = 4;  // pixels before a press becomes a drag

QColor ToQColor(TRgb c) { return QColor(c.R, c.G, c.B); }

Qt::PenStyle ToPenStyle(TLineStyle style) {
    switch (style) {
        case TLineStyle::Dash:
            return Qt::DashLine;
        case TLineStyle::Dot:
            return Qt::DotLine;
        case TLineStyle::Solid:
            break;
    }
    return Qt::SolidLine;
}

// A step of 1, 2 or 5 times a power of ten giving at most `maxTicks` ticks.
double NiceStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double raw = span / std::max(1, maxTicks);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / magnitude;
    const double f = n <= 1 ? 1 : n <= 2 ? 2 : n <= 5 ? 5 : 10;
    return f * magnitude;
}

int StepDecimals(double step) { return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9)); }

QString TickLabel(double value, int decimals) {
    QString s = QString::number(value, 'f', decimals);
    if (s.startsWith(QLatin1Char('-')) && s.toDouble() == 0) s.remove(0, 1);
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

// Everything the painting needs about the frame of one chart in one area.
struct TFrame {
    QRectF Plot;
    TAxisRange X;
    TAxisRange Y;
    QPointF Map(double x, double y) const {
        const double sx = X.Max > X.Min ? (x - X.Min) / (X.Max - X.Min) : 0.5;
        const double sy = Y.Max > Y.Min ? (y - Y.Min) / (Y.Max - Y.Min) : 0.5;
        return {Plot.left() + sx * Plot.width(), Plot.bottom() - sy * Plot.height()};
    }
};

QStringList LegendEntries(const TChartModel& model) {
    QStringList entries;
    if (!model.ShowLegend) return entries;
    for (const auto& s : model.Series) {
        if (s.ShowInLegend) entries << QString::fromStdString(s.Title);
    }
    return entries;
}

QRectF ComputePlot(const TChartModel* model, const QRect& area, const QFont& axisFont, const QFont& titleFont) {
    const QFontMetricsF axis(axisFont);
    const QFontMetricsF title(titleFont);
    double top = 8;
    if (model && !model->Title.empty()) top += title.height() + 4;
    double left = 10;
    double right = 14;
    double bottom = axis.height() + 10;
    if (model) {
        const TAxisRange y = EffectiveRange(*model, TChartAxisId::Left);
        const TTicks ticks = MakeTicks(y, std::max(50, area.height() - 60), 28);
        double widest = axis.horizontalAdvance(QStringLiteral("0"));
        for (double v : ticks.Values) widest = std::max(widest, axis.horizontalAdvance(TickLabel(v, ticks.Decimals)));
        left += widest + 6;
        const QStringList legend = LegendEntries(*model);
        if (!legend.isEmpty()) {
            double w = 0;
            for (const QString& e : legend) w = std::max(w, axis.horizontalAdvance(e));
            right += w + 34;
        }
    }
    QRectF plot(area.left() + left, area.top() + top, area.width() - left - right, area.height() - top - bottom);
    if (plot.width() < 10) plot.setWidth(10);
    if (plot.height() < 10) plot.setHeight(10);
    return plot;
}

void PaintAxes(QPainter& p, const TFrame& f, const QFont& font) {
    p.setFont(font);
    const QFontMetricsF fm(font);
    const TTicks xt = MakeTicks(f.X, f.Plot.width(), std::max(40.0, fm.horizontalAdvance(QStringLiteral("00000"))));
    const TTicks yt = MakeTicks(f.Y, f.Plot.height(), std::max(24.0, fm.height() * 1.6));
    QPen grid(QColor(190, 190, 190), 1, Qt::DotLine);
    for (double v : xt.Values) {
        const double x = f.Map(v, f.Y.Min).x();
        p.setPen(grid);
        p.drawLine(QPointF(x, f.Plot.top()), QPointF(x, f.Plot.bottom()));
        p.setPen(Qt::black);
        p.drawLine(QPointF(x, f.Plot.bottom()), QPointF(x, f.Plot.bottom() + 4));
        const QString label = TickLabel(v, xt.Decimals);
        const double w = fm.horizontalAdvance(label);
        p.drawText(QRectF(x - w / 2 - 2, f.Plot.bottom() + 5, w + 4, fm.height()), Qt::AlignCenter, label);
    }
    for (double v : yt.Values) {
        const double y = f.Map(f.X.Min, v).y();
        p.setPen(grid);
        p.drawLine(QPointF(f.Plot.left(), y), QPointF(f.Plot.right(), y));
        p.setPen(Qt::black);
        p.drawLine(QPointF(f.Plot.left() - 4, y), QPointF(f.Plot.left(), y));
        const QString label = TickLabel(v, yt.Decimals);
        p.drawText(QRectF(f.Plot.left() - 206, y - fm.height() / 2, 200, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   label);
    }
}

// Hatch lines drawn as lines rather than a pattern brush, so that their
// spacing stays 8 pixels of the chart on printers and PDF files too.
void PaintHatch(QPainter& p, const QPolygonF& poly, const QColor& colour) {
    p.setBrush(Qt::white);
    p.drawPolygon(poly);
    QPainterPath clip;
    clip.addPolygon(poly);
    p.save();
    p.setClipPath(clip, Qt::IntersectClip);
    p.setPen(QPen(colour, 1));
    // On a grid of the chart's own, so that overlapping areas hatch alike.
    const QRectF r = poly.boundingRect();
    constexpr double step = 8;
    for (double c = std::floor((r.left() + r.top()) / step) * step; c <= r.right() + r.bottom(); c += step) {
        p.drawLine(QPointF(c - r.top(), r.top()), QPointF(c - r.bottom(), r.bottom()));
    }
    for (double c = std::floor((r.left() - r.bottom()) / step) * step; c <= r.right() - r.top(); c += step) {
        p.drawLine(QPointF(c + r.top(), r.top()), QPointF(c + r.bottom(), r.bottom()));
    }
    p.restore();
}

void PaintArea(QPainter& p, const TFrame& f, const TChartSeries& s) {
    if (s.Points.empty()) return;
    QPolygonF poly;
    poly << QPointF(f.Map(s.Points.front().X, 0).x(), f.Plot.bottom());
    for (const auto& pt : s.Points) poly << f.Map(pt.X, pt.Y);
    poly << QPointF(f.Map(s.Points.back().X, 0).x(), f.Plot.bottom());
    p.setPen(Qt::NoPen);
    if (s.Fill == TFillStyle::DiagonalCross) {
        PaintHatch(p, poly, ToQColor(s.Colour));
    } else {
        p.setBrush(ToQColor(s.Colour));
        p.drawPolygon(poly);
    }
    p.setBrush(Qt::NoBrush);
    for (std::size_t i = 1; i < s.Points.size(); ++i) {
        const QColor c = ToQColor(s.OutlineColour ? *s.OutlineColour : s.PointColour(i));
        p.setPen(QPen(c, s.LineWidth, ToPenStyle(s.OutlineStyle)));
        p.drawLine(f.Map(s.Points[i - 1].X, s.Points[i - 1].Y), f.Map(s.Points[i].X, s.Points[i].Y));
    }
}

void PaintLine(QPainter& p, const TFrame& f, const TChartSeries& s) {
    p.setBrush(Qt::NoBrush);
    for (std::size_t i = 1; i < s.Points.size(); ++i) {
        const QColor c = s.Kind == TSeriesKind::FastLine ? ToQColor(s.Colour) : ToQColor(s.PointColour(i));
        p.setPen(QPen(c, s.LineWidth, ToPenStyle(s.LineStyle), Qt::FlatCap, Qt::RoundJoin));
        p.drawLine(f.Map(s.Points[i - 1].X, s.Points[i - 1].Y), f.Map(s.Points[i].X, s.Points[i].Y));
    }
}

void PaintMarkers(QPainter& p, const TFrame& f, const TChartSeries& s) {
    if (s.Marker == TMarkerStyle::None) return;
    for (std::size_t i = 0; i < s.Points.size(); ++i) {
        const QPointF c = f.Map(s.Points[i].X, s.Points[i].Y);
        const QColor colour = ToQColor(s.PointColour(i));
        const double rx = s.MarkerWidth;
        const double ry = s.MarkerHeight;
        if (s.Marker == TMarkerStyle::Circle) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(colour);
            p.drawEllipse(c, rx, ry);
        } else {
            p.setPen(QPen(colour, 1));
            p.drawLine(QPointF(c.x() - rx, c.y()), QPointF(c.x() + rx, c.y()));
            p.drawLine(QPointF(c.x(), c.y() - ry), QPointF(c.x(), c.y() + ry));
        }
    }
}

void PaintLabels(QPainter& p, const TFrame& f, const TChartSeries& s, const QFont& base, const QRectF& whole) {
    if (!s.LabelsShown) return;
    QFont font = base;
    font.setPointSize(std::max(1, s.LabelFontSize));
    p.setFont(font);
    const QFontMetricsF fm(font);
    p.save();
    p.setClipRect(s.LabelClipped ? f.Plot : whole);
    for (const auto& pt : s.Points) {
        if (!pt.Label || pt.Label->empty()) continue;
        const QString text = QString::fromStdString(*pt.Label);
        if (text.trimmed().isEmpty()) continue;
        const QPointF c = f.Map(pt.X, pt.Y);
        const double w = fm.horizontalAdvance(text) + 4;
        const double h = fm.height();
        QRectF r(c.x() - w / 2, 0, w, h);
        if (s.LabelOffset >= 0) {
            r.moveBottom(c.y() - s.LabelOffset);
        } else {
            r.moveTop(c.y() - s.LabelOffset);
        }
        if (!s.LabelTransparent) p.fillRect(r, Qt::white);
        if (s.LabelFrame) {
            p.setPen(Qt::black);
            p.drawRect(r);
        }
        p.setPen(ToQColor(s.LabelColour));
        p.drawText(r, Qt::AlignCenter, text);
    }
    p.restore();
}

void PaintLegend(QPainter& p, const TChartModel& m, const TFrame& f, const QRect& area, const QFont& font) {
    const QStringList entries = LegendEntries(m);
    if (entries.isEmpty()) return;
    p.setFont(font);
    const QFontMetricsF fm(font);
    double w = 0;
    for (const QString& e : entries) w = std::max(w, fm.horizontalAdvance(e));
    const double rowH = fm.height() + 2;
    QRectF box(f.Plot.right() + 8, f.Plot.top(), std::min<double>(w + 30, area.right() - f.Plot.right() - 10),
               rowH * entries.size() + 6);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(box);
    double y = box.top() + 3;
    for (const auto& s : m.Series) {
        if (!s.ShowInLegend) continue;
        const QColor c = ToQColor(s.Colour);
        const QRectF swatch(box.left() + 4, y + rowH / 2 - 4, 16, 8);
        if (s.Kind == TSeriesKind::Area) {
            p.setPen(Qt::black);
            p.setBrush(c);
            p.drawRect(swatch);
        } else if (s.Kind == TSeriesKind::Point) {
            p.setPen(Qt::black);
            p.setBrush(c);
            p.drawEllipse(swatch.center(), 3, 3);
        } else {
            p.setPen(QPen(c, 2));
            p.drawLine(QPointF(swatch.left(), swatch.center().y()), QPointF(swatch.right(), swatch.center().y()));
        }
        p.setPen(Qt::black);
        p.drawText(QRectF(swatch.right() + 4, y, w + 4, rowH), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(s.Title));
        y += rowH;
    }
}

}  // namespace

TChartView::TChartView(QWidget* parent) : QWidget(parent), axisFont_(font()), titleFont_(font()) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setMinimumSize(120, 100);
    titleFont_.setBold(true);
}

void TChartView::SetModel(TChartModel* model) {
    model_ = model;
    saved_.reset();
    lastSet_.reset();
    update();
}

void TChartView::SetAxisFont(const QFont& font) {
    axisFont_ = font;
    update();
}

void TChartView::SetTitleFont(const QFont& font) {
    titleFont_ = font;
    update();
}

QRectF TChartView::PlotRectFor(const QRect& area) const { return ComputePlot(model_, area, axisFont_, titleFont_); }

QRectF TChartView::PlotRect() const { return PlotRectFor(rect()); }

QPointF TChartView::PixelToAxis(QPointF pixel) const {
    if (!model_) return {};
    const QRectF plot = PlotRect();
    const TAxisRange x = EffectiveRange(*model_, TChartAxisId::Bottom);
    const TAxisRange y = EffectiveRange(*model_, TChartAxisId::Left);
    return {x.Min + (pixel.x() - plot.left()) / plot.width() * (x.Max - x.Min),
            y.Min + (plot.bottom() - pixel.y()) / plot.height() * (y.Max - y.Min)};
}

QPointF TChartView::AxisToPixel(QPointF value) const {
    if (!model_) return {};
    TFrame f{PlotRect(), EffectiveRange(*model_, TChartAxisId::Bottom), EffectiveRange(*model_, TChartAxisId::Left)};
    return f.Map(value.x(), value.y());
}

void TChartView::Render(QPainter& p, const QRect& area) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(area, palette().color(QPalette::Window));
    if (!model_) {
        p.restore();
        return;
    }
    const TChartModel& m = *model_;
    TFrame f{PlotRectFor(area), EffectiveRange(m, TChartAxisId::Bottom), EffectiveRange(m, TChartAxisId::Left)};

    if (!m.Title.empty()) {
        p.setFont(titleFont_);
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), area.top() + 4, area.width(), QFontMetricsF(titleFont_).height()),
                   Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(m.Title));
    }
    p.fillRect(f.Plot, Qt::white);
    PaintAxes(p, f, axisFont_);

    p.save();
    p.setClipRect(f.Plot);
    for (const auto& s : m.Series) {
        switch (s.Kind) {
            case TSeriesKind::Area:
                PaintArea(p, f, s);
                break;
            case TSeriesKind::Line:
            case TSeriesKind::FastLine:
                PaintLine(p, f, s);
                break;
            case TSeriesKind::Point:
                break;
        }
        PaintMarkers(p, f, s);
    }
    p.restore();
    for (const auto& s : m.Series) PaintLabels(p, f, s, axisFont_, QRectF(area));

    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.Plot);
    PaintLegend(p, m, f, area, axisFont_);
    p.restore();
}

void TChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Render(p, rect());
    if (dragging_ && dragButton_ == Qt::LeftButton) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(pressPos_, dragPos_).normalized());
    }
}

TChartView::TLimits TChartView::CurrentLimits() const {
    if (!model_) return {};
    return {model_->Bottom, model_->Left};
}

void TChartView::SetLimits(const TLimits& limits) {
    if (!model_) return;
    model_->Bottom = limits.Bottom;
    model_->Left = limits.Left;
}

void TChartView::BeginGesture() {
    if (!saved_ || !lastSet_ || !(*lastSet_ == CurrentLimits())) saved_ = CurrentLimits();
}

void TChartView::EndGesture() {
    lastSet_ = CurrentLimits();
    update();
    emit AxesChanged();
}

void TChartView::ZoomToRect(QRectF pixels) {
    if (!model_) return;
    BeginGesture();
    const QPointF a = PixelToAxis(pixels.topLeft());
    const QPointF b = PixelToAxis(pixels.bottomRight());
    model_->Bottom = TAxisRange{std::min(a.x(), b.x()), std::max(a.x(), b.x())};
    model_->Left = TAxisRange{std::min(a.y(), b.y()), std::max(a.y(), b.y())};
    EndGesture();
}

void TChartView::RestoreView() {
    if (!model_) return;
    if (restoreMode_ == TRestoreMode::Automatic) {
        SetLimits({});
    } else if (saved_ && lastSet_ && *lastSet_ == CurrentLimits()) {
        SetLimits(*saved_);
    }
    saved_.reset();
    lastSet_.reset();
    update();
    emit AxesChanged();
}

void TChartView::PanPixels(QPointF delta) {
    if (!model_) return;
    BeginGesture();
    const QRectF plot = PlotRect();
    const TAxisRange x = EffectiveRange(*model_, TChartAxisId::Bottom);
    const TAxisRange y = EffectiveRange(*model_, TChartAxisId::Left);
    const double dx = delta.x() / plot.width() * (x.Max - x.Min);
    const double dy = delta.y() / plot.height() * (y.Max - y.Min);
    model_->Bottom = TAxisRange{x.Min - dx, x.Max - dx};
    model_->Left = TAxisRange{y.Min + dy, y.Max + dy};
    EndGesture();
}

void TChartView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragButton_ == Qt::NoButton && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        dragButton_ = event->button();
        pressPos_ = dragPos_ = pos;
        dragging_ = false;
        if (model_) {
            panStartBottom_ = EffectiveRange(*model_, TChartAxisId::Bottom);
            panStartLeft_ = EffectiveRange(*model_, TChartAxisId::Left);
        }
    }
    const QPointF v = PixelToAxis(event->position());
    emit PointerPressed(v.x(), v.y(), event->button());
}

void TChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF v = PixelToAxis(event->position());
    emit PointerMoved(v.x(), v.y());
    if (dragButton_ == Qt::NoButton || !gesturesEnabled_ || !model_) return;
    const QPoint pos = event->position().toPoint();
    if (!dragging_ && (pos - pressPos_).manhattanLength() < kDragThreshold) return;
    dragging_ = true;
    dragPos_ = pos;
    if (dragButton_ == Qt::RightButton) {
        // Pan from the limits at the press so that the drawing follows the
        // pointer exactly.
        BeginGesture();
        const QRectF plot = PlotRect();
        const double dx = (pos.x() - pressPos_.x()) / plot.width() * (panStartBottom_.Max - panStartBottom_.Min);
        const double dy = (pos.y() - pressPos_.y()) / plot.height() * (panStartLeft_.Max - panStartLeft_.Min);
        model_->Bottom = TAxisRange{panStartBottom_.Min - dx, panStartBottom_.Max - dx};
        model_->Left = TAxisRange{panStartLeft_.Min + dy, panStartLeft_.Max + dy};
        EndGesture();
    } else {
        update();
    }
}

void TChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != dragButton_) return;
    const bool wasDragging = dragging_;
    const QPoint pos = event->position().toPoint();
    const Qt::MouseButton button = dragButton_;
    dragButton_ = Qt::NoButton;
    dragging_ = false;
    if (!wasDragging || !gesturesEnabled_ || button != Qt::LeftButton) {
        update();
        return;
    }
    if (pos.x() > pressPos_.x() && pos.y() > pressPos_.y()) {
        ZoomToRect(QRectF(pressPos_, pos));
    } else {
        RestoreView();
    }
}

}  // namespace sorvanta::gui
