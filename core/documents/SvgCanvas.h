#pragma once
// The chart canvas of an SVG document the size of the chart in pixels. Text
// widths are estimated (views/Canvas.h).

#include <string>
#include <utility>
#include <vector>

#include "views/Canvas.h"

namespace sorvanta {

class TSvgCanvas : public TCanvas {
  public:
    TSvgCanvas(double width, double height);

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

    // The document (UTF-8); the canvas is spent afterwards.
    [[nodiscard]] std::string Finish();

  private:
    [[nodiscard]] std::string Stroke() const;
    [[nodiscard]] std::string Fill();

    std::string out_;
    int clipDepth_ = 0;
    int nextId_ = 0;
    std::vector<std::pair<std::string, std::string>> patterns_;  // colour -> id
};

}  // namespace sorvanta
