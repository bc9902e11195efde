// 自動計算 over the preview: the live run's critical circle and Fs, painted by
// a transparent layer above the chart so that the preview model, its figure
// export and its prints never see them.
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>
#include <optional>

#include "gui/DesignWindow.h"
#include "gui/TChartView.h"

namespace sorvanta::gui {

class TLiveOverlay : public QWidget {
  public:
    explicit TLiveOverlay(TChartView* chart) : QWidget(chart), chart_(chart) {
        setObjectName(QStringLiteral("LiveResult"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(chart->rect());
        chart->installEventFilter(this);
        hide();
    }

    struct TCircle {
        double Xo, Yo, R, Xb, Yb, Xe, Ye;
    };

    void ShowCircle(const TCircle& circle, const QString& text, bool ok) {
        circle_ = circle;
        text_ = text;
        ok_ = ok;
        refused_ = false;
        Show();
    }
    void ShowRefusal(const QString& text) {
        circle_.reset();
        text_ = text;
        refused_ = true;
        Show();
    }
    [[nodiscard]] const QString& Text() const { return text_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == chart_ && event->type() == QEvent::Resize) setGeometry(chart_->rect());
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF plot = chart_->PlotRect();
        p.setClipRect(plot);
        if (circle_) PaintCircle(p, *circle_);
        if (text_.isEmpty()) return;
        QFont font = p.font();
        font.setPointSizeF(10);
        font.setBold(true);
        p.setFont(font);
        const QFontMetrics metrics(font);
        const QRect box =
            metrics
                .boundingRect(QRect(0, 0, int(plot.width()) - 12, 200), Qt::TextSingleLine, text_)
                .adjusted(-4, -2, 4, 2)
                .translated(int(plot.left()) + 8, int(plot.top()) + 6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 225));
        p.drawRect(box);
        p.setPen(refused_ || !ok_ ? QColor(210, 0, 0) : QColor(0, 70, 160));
        p.drawText(box, Qt::AlignCenter, text_);
    }

  private:
    void Show() {
        show();
        raise();
        update();
    }

    // The slip surface is the arc below the centre between its two ends; the
    // axes need not share a scale, so the arc is drawn point by point.
    void PaintCircle(QPainter& p, const TCircle& c) const {
        auto at = [&](double x, double y) { return chart_->AxisToPixel(QPointF(x, y)); };
        double a0 = std::atan2(c.Yb - c.Yo, c.Xb - c.Xo);
        double a1 = std::atan2(c.Ye - c.Yo, c.Xe - c.Xo);
        if (a0 > a1) std::swap(a0, a1);
        // The lower arc runs through −90°; if that is outside [a0, a1] it is
        // the other way round the circle.
        constexpr double down = -std::numbers::pi / 2;
        if (down < a0 || down > a1) {
            std::swap(a0, a1);
            a1 += 2 * std::numbers::pi;
        }
        QPainterPath arc;
        constexpr int steps = 180;
        for (int i = 0; i <= steps; ++i) {
            const double a = a0 + (a1 - a0) * i / steps;
            const QPointF point = at(c.Xo + c.R * std::cos(a), c.Yo + c.R * std::sin(a));
            if (i == 0) {
                arc.moveTo(point);
            } else {
                arc.lineTo(point);
            }
        }
        const QPointF centre = at(c.Xo, c.Yo);
        p.setPen(QPen(QColor(210, 0, 0, 150), 1, Qt::DashLine));
        p.drawLine(centre, at(c.Xb, c.Yb));
        p.drawLine(centre, at(c.Xe, c.Ye));
        p.setPen(QPen(QColor(210, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setBrush(QColor(210, 0, 0));
        p.drawEllipse(centre, 2.5, 2.5);
    }

    TChartView* chart_;
    std::optional<TCircle> circle_;
    QString text_;
    bool ok_ = true;
    bool refused_ = false;
};

void TDesignWindow::ShowLiveCircle(double xo, double yo, double r, double xb, double yb, double xe,
                                   double ye, const QString& text, bool ok) {
    if (!liveOverlay_) liveOverlay_ = new TLiveOverlay(chart_);
    liveOverlay_->ShowCircle({xo, yo, r, xb, yb, xe, ye}, text, ok);
}

void TDesignWindow::ShowLiveRefusal(const QString& text) {
    if (!liveOverlay_) liveOverlay_ = new TLiveOverlay(chart_);
    liveOverlay_->ShowRefusal(text);
}

void TDesignWindow::ClearLiveResult() {
    if (liveOverlay_) liveOverlay_->hide();
}

QString TDesignWindow::LiveResultText() const {
    return liveOverlay_ && liveOverlay_->isVisible() ? liveOverlay_->Text() : QString();
}

}  // namespace sorvanta::gui
