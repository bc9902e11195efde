#include "documents/SvgCanvas.h"

#include <cmath>
#include <cstdio>

namespace sorvanta {

namespace {

std::string Hex(TRgb c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.R, c.G, c.B);
    return buffer;
}

std::string Num(double v) {
    if (!std::isfinite(v)) v = 0;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    std::string s = buffer;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Points(std::span<const TPointF> points) {
    std::string s;
    for (const TPointF& p : points) {
        if (!s.empty()) s += ' ';
        s += Num(p.X) + ',' + Num(p.Y);
    }
    return s;
}

}  // namespace

TSvgCanvas::TSvgCanvas(double width, double height) {
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Num(width) +
            "\" height=\"" + Num(height) + "\" viewBox=\"0 0 " + Num(width) + " " + Num(height) +
            "\" xml:space=\"preserve\">\n";
}

double TSvgCanvas::TextWidth(const TCanvasFont& font, std::string_view text) const {
    return EstimateTextWidth(font, text);
}

double TSvgCanvas::TextHeight(const TCanvasFont& font) const {
    return EstimateTextHeight(font);
}

std::string TSvgCanvas::Stroke() const {
    const TCanvasPen& pen = Pen();
    const double width = pen.Width > 0 ? pen.Width : 1;
    if (pen.Style == TPenStyle::None) return " stroke=\"none\"";
    std::string s = " stroke=\"" + Hex(pen.Colour) + "\" stroke-width=\"" + Num(width) + "\"";
    if (pen.Style == TPenStyle::Dash)
        s += " stroke-dasharray=\"" + Num(4 * width) + " " + Num(2 * width) + "\"";
    if (pen.Style == TPenStyle::Dot)
        s += " stroke-dasharray=\"" + Num(width) + " " + Num(2 * width) + "\"";
    return s;
}

std::string TSvgCanvas::Fill() {
    switch (Brush().Style) {
        case TBrushStyle::None:
            return " fill=\"none\"";
        case TBrushStyle::Solid:
            return " fill=\"" + Hex(Brush().Colour) + "\"";
        case TBrushStyle::DiagCross:
            break;
    }
    const std::string colour = Hex(Brush().Colour);
    for (const auto& [c, id] : patterns_) {
        if (c == colour) return " fill=\"url(#" + id + ")\"";
    }
    const std::string id = "hatch" + std::to_string(++nextId_);
    out_ += "<pattern id=\"" + id +
            "\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\"><path d=\"M0 0L8 8M8 0L0 "
            "8\" stroke=\"" +
            colour + "\" stroke-width=\"1\"/></pattern>\n";
    patterns_.emplace_back(colour, id);
    return " fill=\"url(#" + id + ")\"";
}

void TSvgCanvas::Line(TPointF from, TPointF to) {
    if (Pen().Style == TPenStyle::None) return;
    out_ += "<line x1=\"" + Num(from.X) + "\" y1=\"" + Num(from.Y) + "\" x2=\"" + Num(to.X) +
            "\" y2=\"" + Num(to.Y) + "\"" + Stroke() + "/>\n";
}

void TSvgCanvas::Polyline(std::span<const TPointF> points) {
    if (points.size() < 2 || Pen().Style == TPenStyle::None) return;
    out_ += "<polyline points=\"" + Points(points) + "\" fill=\"none\"" + Stroke() +
            " stroke-linejoin=\"round\"/>\n";
}

void TSvgCanvas::Polygon(std::span<const TPointF> points) {
    if (points.size() < 3) return;
    const std::string fill = Fill();
    out_ += "<polygon points=\"" + Points(points) + "\"" + fill + Stroke() + "/>\n";
}

void TSvgCanvas::Rectangle(const TRectF& r) {
    const std::string fill = Fill();
    out_ += "<rect x=\"" + Num(r.Left) + "\" y=\"" + Num(r.Top) + "\" width=\"" + Num(r.Width) +
            "\" height=\"" + Num(r.Height) + "\"" + fill + Stroke() + "/>\n";
}

void TSvgCanvas::Ellipse(const TRectF& r) {
    const std::string fill = Fill();
    const TPointF c = r.Centre();
    out_ += "<ellipse cx=\"" + Num(c.X) + "\" cy=\"" + Num(c.Y) + "\" rx=\"" + Num(r.Width / 2) +
            "\" ry=\"" + Num(r.Height / 2) + "\"" + fill + Stroke() + "/>\n";
}

void TSvgCanvas::Text(TPointF topLeft, std::string_view text) {
    TextOnBaseline({topLeft.X, topLeft.Y + EstimateTextAscent(Font())}, text);
}

void TSvgCanvas::TextOnBaseline(TPointF origin, std::string_view text) {
    const TCanvasFont& font = Font();
    out_ += "<text x=\"" + Num(origin.X) + "\" y=\"" + Num(origin.Y) + "\" font-family=\"'" +
            Escape(font.Face) + "', sans-serif\" font-size=\"" + Num(font.Size) + "\"" +
            (font.Bold ? " font-weight=\"bold\"" : "") + " fill=\"" + Hex(font.Colour) + "\">" +
            Escape(text) + "</text>\n";
}

void TSvgCanvas::PushClip(const TRectF& r) {
    const std::string id = "clip" + std::to_string(++nextId_);
    out_ += "<clipPath id=\"" + id + "\"><rect x=\"" + Num(r.Left) + "\" y=\"" + Num(r.Top) +
            "\" width=\"" + Num(r.Width) + "\" height=\"" + Num(r.Height) +
            "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
    ++clipDepth_;
}

void TSvgCanvas::PopClip() {
    if (clipDepth_ == 0) return;
    out_ += "</g>\n";
    --clipDepth_;
}

std::string TSvgCanvas::Finish() {
    while (clipDepth_ > 0) PopClip();
    out_ += "</svg>\n";
    return std::move(out_);
}

}  // namespace sorvanta
