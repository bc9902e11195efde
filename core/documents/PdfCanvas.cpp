#include "documents/PdfCanvas.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace sorvanta {

namespace {

// The writer's font numbers of the faces the charts use; a face not listed
// keeps the page's font.
int FontNumberOf(const TCanvasFont& font, int current) {
    const struct {
        const char* Face;
        int Number;  // bold: the next number, where there is one
        bool HasBold;
    } faces[] = {{"Century", 0, true},
                 {"Arial", 2, true},
                 {"Courier", 4, true},
                 {"ＭＳ 明朝", 6, false},
                 {"ＭＳ ゴシック", 7, false}};
    for (const auto& f : faces) {
        if (font.Face == f.Face) return f.Number + (f.HasBold && font.Bold ? 1 : 0);
    }
    return current;
}

}  // namespace

TPdfCanvas::~TPdfCanvas() {
    if (clipped_) PopClip();
}

double TPdfCanvas::TextWidth(const TCanvasFont& font, std::string_view text) const {
    const std::uint8_t number = contents_.FontNumber;
    const float size = contents_.FontSize;
    ApplyFont(font);
    const double width = contents_.TextWidth(text);
    contents_.FontNumber = number;
    contents_.FontSize = size;
    return width;
}

double TPdfCanvas::TextHeight(const TCanvasFont& font) const {
    return EstimateTextHeight(font);
}

void TPdfCanvas::ApplyPen() {
    contents_.LineColor = Pen().Colour;
    contents_.LineWidth = static_cast<float>(Pen().Width);
}

// Setting the page's font state writes nothing; its text operator does.
void TPdfCanvas::ApplyFont(const TCanvasFont& font) const {
    contents_.FontNumber = static_cast<std::uint8_t>(FontNumberOf(font, contents_.FontNumber));
    contents_.FontSize = static_cast<float>(font.Size);
}

void TPdfCanvas::PenChanged() {
    const TPenStyle wanted = Pen().Style;
    if (wanted == TPenStyle::None || wanted == dash_) return;
    switch (wanted) {
        case TPenStyle::Dash:
            contents_.SetDash(3, 0, 0);
            break;
        case TPenStyle::Dot:
            contents_.SetDash(1, 2, 0);
            break;
        case TPenStyle::Solid:
        case TPenStyle::None:
            contents_.SetDash(0, 0, 0);
            break;
    }
    dash_ = wanted;
}

void TPdfCanvas::Line(TPointF from, TPointF to) {
    if (Pen().Style == TPenStyle::None) return;
    ApplyPen();
    contents_.DrawLine(from.X, -from.Y, to.X, -to.Y);
}

void TPdfCanvas::Polyline(std::span<const TPointF> points) {
    for (std::size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i]);
}

void TPdfCanvas::Polygon(std::span<const TPointF> points) {
    if (points.size() < 3) return;
    Polyline(points);
    Line(points.back(), points.front());
}

void TPdfCanvas::Rectangle(const TRectF& r) {
    if (Pen().Style == TPenStyle::None) return;
    ApplyPen();
    contents_.DrawRect(false, r.Left, -r.Top, r.Right(), -r.Bottom());
}

void TPdfCanvas::Ellipse(const TRectF& bounds) {
    constexpr int Corners = 24;
    std::vector<TPointF> points;
    const TPointF c = bounds.Centre();
    for (int i = 0; i < Corners; ++i) {
        const double a = 2 * std::numbers::pi * i / Corners;
        points.push_back(
            {c.X + bounds.Width / 2 * std::cos(a), c.Y + bounds.Height / 2 * std::sin(a)});
    }
    Polygon(points);
}

void TPdfCanvas::Text(TPointF topLeft, std::string_view text) {
    TextOnBaseline({topLeft.X, topLeft.Y + EstimateTextAscent(Font())}, text);
}

// An empty text still writes its text object, as the page writer does.
void TPdfCanvas::TextOnBaseline(TPointF origin, std::string_view text) {
    ApplyFont(Font());
    contents_.TextColor = Font().Colour;
    contents_.TextOut(origin.X, -origin.Y, text);
}

void TPdfCanvas::PushClip(const TRectF& rect) {
    PushFramedClip(rect);
}

void TPdfCanvas::PushFramedClip(const TRectF& r) {
    ApplyPen();
    contents_.DrawRect(true, r.Left, -r.Top, r.Right(), -r.Bottom());
    clipped_ = true;
    dashOutsideClip_ = dash_;
}

// Restoring the page's state brings back the dash it had before the clip.
void TPdfCanvas::PopClip() {
    if (!clipped_) return;
    contents_.GRestore();
    clipped_ = false;
    dash_ = dashOutsideClip_;
}

}  // namespace sorvanta
