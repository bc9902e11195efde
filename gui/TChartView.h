#pragma once
// The chart component of every window: paints a TChartModel through the
// core's chart painter and offers the mouse gestures: a
// left-button drag towards the lower right zooms into the rectangle, one
// towards the upper left restores a view (TRestoreMode), a right-button
// drag pans. Pointer positions are reported in axis units.

#include <QFont>
#include <QWidget>
#include <optional>

#include "views/ChartModel.h"
#include "views/ChartPainter.h"

namespace sorvanta::gui {

class TChartView : public QWidget {
    Q_OBJECT
  public:
    // What a drag towards the upper left returns to.
    enum class TRestoreMode {
        PreviousView,  // the limits before the first zoom or pan
        Home,          // the chart's first view (TChartModel::HomeBottom, HomeLeft)
    };

    explicit TChartView(QWidget* parent = nullptr);

    // The model is not owned; it must outlive the view. Repaints.
    void SetModel(TChartModel* model);
    [[nodiscard]] TChartModel* Model() const { return model_; }

    void SetAxisFont(const QFont& font);
    void SetTitleFont(const QFont& font);
    void SetRestoreMode(TRestoreMode mode) { restoreMode_ = mode; }
    // Off: the view paints but ignores zoom and pan drags.
    void SetGesturesEnabled(bool on) { gesturesEnabled_ = on; }

    // The plot area (inside the axes) in widget pixels.
    [[nodiscard]] QRectF PlotRect() const;
    // Widget pixels <-> axis values (bottom axis X, left axis Y).
    [[nodiscard]] QPointF PixelToAxis(QPointF pixel) const;
    [[nodiscard]] QPointF AxisToPixel(QPointF value) const;

    void ZoomToRect(QRectF pixels);
    // Back to the view of the restore mode.
    void RestoreView();
    void PanPixels(QPointF delta);

    // Paints the chart into any device, e.g. an image for a figure export.
    void Render(QPainter& painter, const QRect& target) const;
    // Whether the view has been on screen, so that its window's layout has
    // given it its size; before that it has only its minimum size.
    [[nodiscard]] bool HasBeenShown() const { return shown_; }
    // The fonts and background the view paints with, for painting the chart
    // onto another canvas as it shows here.
    [[nodiscard]] TChartStyle Style() const;

  signals:
    void PointerMoved(double x, double y);
    void PointerPressed(double x, double y, Qt::MouseButton button);
    // A press and release without a drag inside the plot area, at the press
    // position.
    void Clicked(double x, double y, Qt::MouseButton button);
    // A gesture or a zoom command changed the axis limits.
    void AxesChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct TLimits {
        TAxisLimits Bottom;
        TAxisLimits Left;
        bool operator==(const TLimits&) const = default;
    };
    [[nodiscard]] TLimits CurrentLimits() const;
    void SetLimits(const TLimits& limits);
    // Remembers the view to restore unless a zoom or pan is already under way.
    void BeginGesture();
    void EndGesture();
    [[nodiscard]] TChartFrame Frame() const;

    TChartModel* model_ = nullptr;
    QFont axisFont_;
    QFont titleFont_;
    TRestoreMode restoreMode_ = TRestoreMode::PreviousView;
    bool gesturesEnabled_ = true;
    bool shown_ = false;

    // The view to restore, and the limits the last gesture left: when the
    // model's limits differ from those, somebody else set them and they become
    // the view to restore.
    std::optional<TLimits> saved_;
    std::optional<TLimits> lastSet_;

    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPoint pressPos_;
    QPoint dragPos_;
    bool dragging_ = false;
    TAxisRange panStartBottom_;
    TAxisRange panStartLeft_;
};

}  // namespace sorvanta::gui
