#include "gui/TChartView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "gui/QtCanvas.h"

namespace sorvanta::gui {

namespace {

constexpr int kDragThreshold = 4;  // pixels before a press becomes a drag

TRectF ToRect(const QRectF& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

double FontPixels(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : PointsToPixels(font.pointSizeF());
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

TChartStyle TChartView::Style() const {
    TChartStyle style;
    style.AxisFont = ToCanvasFont(axisFont_, FontPixels(axisFont_));
    style.TitleFont = ToCanvasFont(titleFont_, FontPixels(titleFont_));
    const QColor back = palette().color(QPalette::Window);
    style.Background =
        TRgb{static_cast<std::uint8_t>(back.red()), static_cast<std::uint8_t>(back.green()),
             static_cast<std::uint8_t>(back.blue())};
    return style;
}

TChartFrame TChartView::Frame() const {
    if (!model_) return {};
    return LayoutChart(*model_, ToRect(QRectF(rect())), Style(), TQtTextMeasure());
}

QRectF TChartView::PlotRect() const {
    const TRectF plot = Frame().Plot;
    return {plot.Left, plot.Top, plot.Width, plot.Height};
}

QPointF TChartView::PixelToAxis(QPointF pixel) const {
    if (!model_) return {};
    const TPointF v = Frame().Unmap({pixel.x(), pixel.y()});
    return {v.X, v.Y};
}

QPointF TChartView::AxisToPixel(QPointF value) const {
    if (!model_) return {};
    const TPointF p = Frame().Map(value.x(), value.y());
    return {p.X, p.Y};
}

void TChartView::Render(QPainter& p, const QRect& area) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!model_) {
        p.fillRect(area, palette().color(QPalette::Window));
    } else {
        p.fillRect(area, palette().color(QPalette::Window));
        TQtCanvas canvas(p);
        PaintChart(*model_, canvas, ToRect(QRectF(area)), Style());
    }
    p.restore();
}

void TChartView::showEvent(QShowEvent* event) {
    shown_ = true;
    QWidget::showEvent(event);
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
    if (restoreMode_ == TRestoreMode::Home) {
        SetLimits({model_->HomeBottom, model_->HomeLeft});
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
    if (dragButton_ == Qt::NoButton &&
        (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
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
        const double dx =
            (pos.x() - pressPos_.x()) / plot.width() * (panStartBottom_.Max - panStartBottom_.Min);
        const double dy =
            (pos.y() - pressPos_.y()) / plot.height() * (panStartLeft_.Max - panStartLeft_.Min);
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
    if (!wasDragging) {
        const QPointF v = PixelToAxis(QPointF(pressPos_));
        update();
        if (PlotRect().contains(QPointF(pressPos_))) emit Clicked(v.x(), v.y(), button);
        return;
    }
    if (!gesturesEnabled_ || button != Qt::LeftButton) {
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
