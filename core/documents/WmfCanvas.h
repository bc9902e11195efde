#pragma once
// The chart canvas of a placeable Windows metafile the size of the chart in
// pixels, written without any windowing library. Text widths are estimated
// (views/Canvas.h).

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "views/Canvas.h"
#include "wmf/WmfWriter.h"

namespace sorvanta {

class TWmfCanvas : public TCanvas {
  public:
    TWmfCanvas(int width, int height);

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

    // The metafile; the canvas is spent afterwards.
    [[nodiscard]] std::string Finish();

  private:
    // What the device context has selected; RestoreDc brings back the state
    // saved with it.
    struct TSelection {
        int Pen = -1;
        int Brush = -1;
        int Font = -1;
        std::optional<TRgb> TextColour;
    };
    int Object(const std::string& key, const std::function<int()>& create);
    void SelectPen();
    void SelectBrush();

    TWmfWriter writer_;
    std::vector<std::pair<std::string, int>> objects_;
    TSelection selected_;
    std::vector<TSelection> saved_;
};

}  // namespace sorvanta
