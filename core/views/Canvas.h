#pragma once
// A small drawing surface that the charts paint onto. The chart painter
// (views/ChartPainter.h) knows nothing else: a QPainter backs it on the screen,
// in the preview and on the printer, and core writers back it for the figure
// files (WMF, SVG) and the figures of the PDF document, so the batch tool
// draws the same charts without Qt.
//
// Coordinates are pixels of the target (points on a PDF page), y downwards.
// Fonts are sized in the same unit (the em height), so a figure keeps its
// proportions on any device.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "text/Rgb.h"

namespace sorvanta {

struct TPointF {
    double X = 0;
    double Y = 0;
    bool operator==(const TPointF&) const = default;
};

struct TRectF {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    [[nodiscard]] double Right() const { return Left + Width; }
    [[nodiscard]] double Bottom() const { return Top + Height; }
    [[nodiscard]] TPointF Centre() const { return {Left + Width / 2, Top + Height / 2}; }
    bool operator==(const TRectF&) const = default;
};

enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, None };

enum class TBrushStyle : std::uint8_t {
    None,
    Solid,
    DiagCross,  // hatched with crossed diagonals, the gaps left transparent
};

struct TCanvasFont {
    std::string Face = "ＭＳ Ｐゴシック";
    double Size = 12;  // pixels, the em height
    bool Bold = false;
    TRgb Colour;  // text colour
    bool operator==(const TCanvasFont&) const = default;
};

// What laying out text needs: a chart can be laid out (for the pixel <-> axis
// conversion of a widget) without painting it.
class TTextMeasure {
  public:
    virtual ~TTextMeasure() = default;
    // Advance width of a UTF-8 text in pixels.
    [[nodiscard]] virtual double TextWidth(const TCanvasFont& font,
                                           std::string_view text) const = 0;
    // Height of one line of the font: the box Text() fills downwards.
    [[nodiscard]] virtual double TextHeight(const TCanvasFont& font) const = 0;
};

// Estimates for writers that have no font at hand, good enough for layout:
// full-width characters 1 em, ASCII and half-width katakana 0.5 em, a line
// 1.2 em high.
[[nodiscard]] double EstimateTextWidth(const TCanvasFont& font, std::string_view text);
[[nodiscard]] double EstimateTextHeight(const TCanvasFont& font);
// The ascent of the Japanese faces, 0.88 em: from the top of a text's box to
// its baseline.
[[nodiscard]] double EstimateTextAscent(const TCanvasFont& font);

struct TCanvasPen {
    TRgb Colour;
    double Width = 1;  // 0: the thinnest line the device has
    TPenStyle Style = TPenStyle::Solid;
    bool operator==(const TCanvasPen&) const = default;
};

struct TCanvasBrush {
    TBrushStyle Style = TBrushStyle::None;
    TRgb Colour;
    bool operator==(const TCanvasBrush&) const = default;
};

// The drawing state lives here, once; a backend implements the primitives
// and reads the state they draw with from Pen(), Brush() and Font().
class TCanvas : public TTextMeasure {
  public:
    // Lines and outlines.
    void SetPen(TRgb colour, double width, TPenStyle style);
    // Fills of polygons, rectangles and ellipses.
    void SetBrush(TBrushStyle style, TRgb colour);
    void SetFont(const TCanvasFont& font);
    [[nodiscard]] const TCanvasPen& Pen() const { return pen_; }
    [[nodiscard]] const TCanvasBrush& Brush() const { return brush_; }
    [[nodiscard]] const TCanvasFont& Font() const { return font_; }

    virtual void Line(TPointF from, TPointF to) = 0;
    virtual void Polyline(std::span<const TPointF> points) = 0;
    virtual void Polygon(std::span<const TPointF> points) = 0;
    virtual void Rectangle(const TRectF& rect) = 0;
    virtual void Ellipse(const TRectF& bounds) = 0;
    // One line of text in the current font, its box's top-left corner at
    // `topLeft`; no background.
    virtual void Text(TPointF topLeft, std::string_view text) = 0;
    // The same with the start of its baseline at `origin`.
    virtual void TextOnBaseline(TPointF origin, std::string_view text) = 0;

    // Narrows the drawing to `rect` (intersected with the clip in force) until
    // the matching PopClip. Pen, brush and font stay as they are.
    virtual void PushClip(const TRectF& rect) = 0;
    // The same, and the rectangle's edge stroked with the current pen; a page
    // writer that clips only along a path it strokes does both in one step.
    virtual void PushFramedClip(const TRectF& rect);
    virtual void PopClip() = 0;

  protected:
    // For a device whose line style is a state of the page rather than a
    // part of each line: called after every SetPen.
    virtual void PenChanged() {}

  private:
    TCanvasPen pen_;
    TCanvasBrush brush_;
    TCanvasFont font_;
};

}  // namespace sorvanta
