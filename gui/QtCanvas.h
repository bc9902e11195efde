#pragma once
// The chart canvas on a QPainter: screen, print preview, printer, images.

#include <QFont>
#include <QPainter>

#include "views/Canvas.h"

namespace sorvanta::gui {

// The QFont of a canvas font (its face resolved through the font
// substitutions of the application).
[[nodiscard]] QFont ToQFont(const TCanvasFont& font);
// A canvas font with the face of `font`, `pixels` high.
[[nodiscard]] TCanvasFont ToCanvasFont(const QFont& font, double pixels);

// Measures with QFontMetricsF and draws nothing: for layout without a painter.
class TQtTextMeasure : public TTextMeasure {
  public:
    [[nodiscard]] double TextWidth(const TCanvasFont& font, std::string_view text) const override;
    [[nodiscard]] double TextHeight(const TCanvasFont& font) const override;
};

// Draws with the canvas state, set on the painter for each primitive; the
// painter's own state is saved on construction and restored on destruction.
class TQtCanvas : public TCanvas {
  public:
    explicit TQtCanvas(QPainter& painter);
    ~TQtCanvas() override;
    TQtCanvas(const TQtCanvas&) = delete;
    TQtCanvas& operator=(const TQtCanvas&) = delete;

    [[nodiscard]] double TextWidth(const TCanvasFont& font, std::string_view text) const override;
    [[nodiscard]] double TextHeight(const TCanvasFont& font) const override;

    void Line(TPointF from, TPointF to) override;
    void Polyline(std::span<const TPointF> points) override;
    void Polygon(std::span<const TPointF> points) override;
    void Rectangle(const TRectF& rect) override;
    void Ellipse(const TRectF& bounds) override;
    void Text(TPointF topLeft, std::string_view text) override;
    void TextOnBaseline(TPointF origin, std::string_view text) override;
    void PushClip(const TRectF& rect) override;
    void PopClip() override;

  private:
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();

    QPainter& painter_;
    TQtTextMeasure measure_;
    int clipDepth_ = 0;
};

}  // namespace sorvanta::gui
