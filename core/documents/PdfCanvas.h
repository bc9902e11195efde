#pragma once
// The chart canvas of a PDF page: it draws on the page's content stream
// (pdf/PDFMaker.h), which strokes lines and rectangles and writes text but
// has no fills and no curves, and clips only along a rectangle it strokes,
// one level deep. So fills are left out (a polygon or rectangle keeps its
// outline), an ellipse is stroked as a polygon, and a clip strokes its edge
// with the current pen.
//
// Canvas coordinates are points with y running downwards from the page's
// bottom edge: the canvas y of a point is its negated PDF y. Negation is
// exact, so a chart painted here writes the very numbers that the same
// arithmetic done in PDF user space would.

#include "pdf/PDFMaker.h"
#include "views/Canvas.h"

namespace sorvanta {

class TPdfCanvas : public TCanvas {
  public:
    // Draws on `contents` from its current state on; leaves the page's text
    // and line state as the last drawing set it.
    explicit TPdfCanvas(TPDFContents& contents) : contents_(contents) {}
    ~TPdfCanvas() override;
    TPdfCanvas(const TPdfCanvas&) = delete;
    TPdfCanvas& operator=(const TPdfCanvas&) = delete;

    // The page's own font widths.
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
    void PushFramedClip(const TRectF& rect) override;
    void PopClip() override;

  protected:
    // The dash pattern is a state of the page: written when the pen changes.
    void PenChanged() override;

  private:
    void ApplyPen();
    void ApplyFont(const TCanvasFont& font) const;

    TPDFContents& contents_;
    TPenStyle dash_ = TPenStyle::Solid;  // what the page draws with now
    TPenStyle dashOutsideClip_ = TPenStyle::Solid;
    bool clipped_ = false;
};

}  // namespace sorvanta
