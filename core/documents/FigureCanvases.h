#pragma once
// Chart canvases that write figure files without any windowing library: a
// placeable Windows metafile and an SVG document, both the size of the chart
// in pixels. Text widths are estimated (views/Canvas.h).

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
    void SetPen(TRgb colour, double width, TPenStyle style) override;
    void SetBrush(TBrushStyle style, TRgb colour) override;
    void SetFont(const TCanvasFont& font) override;
    void Line(TPointF from, TPointF to) override;
    void Polyline(std::span<const TPointF> points) override;
    void Polygon(std::span<const TPointF> points) override;
    void Rectangle(const TRectF& rect) override;
    void Ellipse(const TRectF& bounds) override;
    void Text(TPointF topLeft, std::string_view text) override;
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
    // Wanted for the next drawing.
    TRgb penColour_;
    int penWidth_ = 1;
    TPenStyle penStyle_ = TPenStyle::Solid;
    TBrushStyle brushStyle_ = TBrushStyle::None;
    TRgb brushColour_;
    TCanvasFont font_;
};

class TSvgCanvas : public TCanvas {
  public:
    TSvgCanvas(double width, double height);

    [[nodiscard]] double TextWidth(const TCanvasFont& font, std::string_view text) const override;
    [[nodiscard]] double TextHeight(const TCanvasFont& font) const override;
    void SetPen(TRgb colour, double width, TPenStyle style) override;
    void SetBrush(TBrushStyle style, TRgb colour) override;
    void SetFont(const TCanvasFont& font) override;
    void Line(TPointF from, TPointF to) override;
    void Polyline(std::span<const TPointF> points) override;
    void Polygon(std::span<const TPointF> points) override;
    void Rectangle(const TRectF& rect) override;
    void Ellipse(const TRectF& bounds) override;
    void Text(TPointF topLeft, std::string_view text) override;
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
    TRgb penColour_;
    double penWidth_ = 1;
    TPenStyle penStyle_ = TPenStyle::Solid;
    TBrushStyle brushStyle_ = TBrushStyle::None;
    TRgb brushColour_;
    TCanvasFont font_;
};

}  // namespace sorvanta
