#include "documents/FigureCanvases.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sorvanta {

namespace {

// Metafile coordinates are 16-bit: drawings are cut to a box well inside that
// range, so a far-away point (a zoomed chart) keeps the direction of its lines.
constexpr double Reach = 16000;

struct TBox {
    double Left, Top, Right, Bottom;
    [[nodiscard]] bool Inside(TPointF p) const {
        return p.X >= Left && p.X <= Right && p.Y >= Top && p.Y <= Bottom;
    }
};

// Liang-Barsky: the part of the segment inside the box, if any.
bool ClipSegment(const TBox& box, TPointF& a, TPointF& b) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - box.Left, box.Right - a.X, a.Y - box.Top, box.Bottom - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    const TPointF start{a.X + t0 * dx, a.Y + t0 * dy};
    b = {a.X + t1 * dx, a.Y + t1 * dy};
    a = start;
    return true;
}

// Sutherland-Hodgman against one edge at a time.
std::vector<TPointF> ClipPolygon(const TBox& box, std::span<const TPointF> points) {
    std::vector<TPointF> poly(points.begin(), points.end());
    auto pass = [&](auto inside, auto cross) {
        std::vector<TPointF> out;
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const TPointF cur = poly[i];
            const TPointF prev = poly[(i + poly.size() - 1) % poly.size()];
            if (inside(cur)) {
                if (!inside(prev)) out.push_back(cross(prev, cur));
                out.push_back(cur);
            } else if (inside(prev)) {
                out.push_back(cross(prev, cur));
            }
        }
        poly = std::move(out);
    };
    auto atX = [](double x) {
        return [x](TPointF a, TPointF b) {
            return TPointF{x, a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X)};
        };
    };
    auto atY = [](double y) {
        return [y](TPointF a, TPointF b) {
            return TPointF{a.X + (b.X - a.X) * (y - a.Y) / (b.Y - a.Y), y};
        };
    };
    pass([&](TPointF p) { return p.X >= box.Left; }, atX(box.Left));
    pass([&](TPointF p) { return p.X <= box.Right; }, atX(box.Right));
    pass([&](TPointF p) { return p.Y >= box.Top; }, atY(box.Top));
    pass([&](TPointF p) { return p.Y <= box.Bottom; }, atY(box.Bottom));
    return poly;
}

int Round(double v) {
    return static_cast<int>(std::lround(std::clamp(v, -Reach, Reach)));
}

TWmfPoint ToWmf(TPointF p) {
    return {Round(p.X), Round(p.Y)};
}

TWmfColour ToWmf(TRgb c) {
    return {c.R, c.G, c.B};
}

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

// The ascent of the Japanese faces, for placing text by its top.
constexpr double AscentEms = 0.88;

}  // namespace

// ---- WMF ----------------------------------------------------------------

TWmfCanvas::TWmfCanvas(int width, int height) : writer_(width, height) {}

double TWmfCanvas::TextWidth(const TCanvasFont& font, std::string_view text) const {
    return EstimateTextWidth(font, text);
}

double TWmfCanvas::TextHeight(const TCanvasFont& font) const {
    return EstimateTextHeight(font);
}

void TWmfCanvas::SetPen(TRgb colour, double width, TPenStyle style) {
    penColour_ = colour;
    penWidth_ = std::max(0, static_cast<int>(std::lround(width)));
    penStyle_ = style;
}

void TWmfCanvas::SetBrush(TBrushStyle style, TRgb colour) {
    brushStyle_ = style;
    brushColour_ = colour;
}

void TWmfCanvas::SetFont(const TCanvasFont& font) {
    font_ = font;
}

int TWmfCanvas::Object(const std::string& key, const std::function<int()>& create) {
    for (const auto& [k, index] : objects_) {
        if (k == key) return index;
    }
    const int index = create();
    objects_.emplace_back(key, index);
    return index;
}

void TWmfCanvas::SelectPen() {
    const std::uint16_t style = penStyle_ == TPenStyle::None   ? WmfPenNull
                                : penStyle_ == TPenStyle::Dash ? WmfPenDash
                                : penStyle_ == TPenStyle::Dot  ? WmfPenDot
                                                               : WmfPenSolid;
    // Styled lines exist only one pixel wide.
    const int width = style == WmfPenDash || style == WmfPenDot ? 1 : penWidth_;
    const TRgb colour = style == WmfPenNull ? TRgb{} : penColour_;
    const std::string key =
        "pen " + std::to_string(style) + " " + std::to_string(width) + " " + Hex(colour);
    const int pen = Object(key, [&] { return writer_.CreatePen(style, width, ToWmf(colour)); });
    if (selected_.Pen != pen) {
        writer_.SelectObject(pen);
        selected_.Pen = pen;
    }
}

void TWmfCanvas::SelectBrush() {
    const std::uint16_t style = brushStyle_ == TBrushStyle::None        ? WmfBrushNull
                                : brushStyle_ == TBrushStyle::DiagCross ? WmfBrushHatched
                                                                        : WmfBrushSolid;
    const std::uint16_t hatch = style == WmfBrushHatched ? WmfHatchDiagCross : 0;
    const TRgb colour = style == WmfBrushNull ? TRgb{} : brushColour_;
    const std::string key = "brush " + std::to_string(style) + " " + Hex(colour);
    const int brush = Object(key, [&] { return writer_.CreateBrush(style, ToWmf(colour), hatch); });
    if (selected_.Brush != brush) {
        writer_.SelectObject(brush);
        selected_.Brush = brush;
    }
}

void TWmfCanvas::Line(TPointF from, TPointF to) {
    const TPointF points[] = {from, to};
    Polyline(points);
}

void TWmfCanvas::Polyline(std::span<const TPointF> points) {
    if (points.size() < 2 || penStyle_ == TPenStyle::None) return;
    SelectPen();
    const TBox box{-Reach, -Reach, Reach, Reach};
    std::vector<TWmfPoint> run;
    auto flush = [&] {
        if (run.size() >= 2) writer_.Polyline(run);
        run.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        TPointF a = points[i - 1];
        TPointF b = points[i];
        if (!ClipSegment(box, a, b)) {
            flush();
            continue;
        }
        if (run.empty() || !box.Inside(points[i - 1])) {
            flush();
            run.push_back(ToWmf(a));
        }
        run.push_back(ToWmf(b));
        if (!box.Inside(points[i])) flush();
    }
    flush();
}

void TWmfCanvas::Polygon(std::span<const TPointF> points) {
    const std::vector<TPointF> clipped = ClipPolygon({-Reach, -Reach, Reach, Reach}, points);
    if (clipped.size() < 3) return;
    SelectPen();
    SelectBrush();
    std::vector<TWmfPoint> wmf;
    wmf.reserve(clipped.size());
    for (const TPointF& p : clipped) wmf.push_back(ToWmf(p));
    writer_.Polygon(wmf);
}

void TWmfCanvas::Rectangle(const TRectF& r) {
    SelectPen();
    SelectBrush();
    // Without a pen the fill stops one unit short on the right and bottom.
    const int grow = penStyle_ == TPenStyle::None ? 1 : 0;
    writer_.Rectangle(Round(r.Left), Round(r.Top), Round(r.Right()) + grow,
                      Round(r.Bottom()) + grow);
}

void TWmfCanvas::Ellipse(const TRectF& r) {
    SelectPen();
    SelectBrush();
    writer_.Ellipse(Round(r.Left), Round(r.Top), Round(r.Right()), Round(r.Bottom()));
}

void TWmfCanvas::Text(TPointF topLeft, std::string_view text) {
    const int size = std::max(1, static_cast<int>(std::lround(font_.Size)));
    const std::string key =
        "font " + std::to_string(size) + (font_.Bold ? " bold " : " ") + font_.Face;
    const int font = Object(key, [&] { return writer_.CreateFont(size, font_.Bold, font_.Face); });
    if (selected_.Font != font) {
        writer_.SelectObject(font);
        selected_.Font = font;
    }
    if (selected_.TextColour != font_.Colour) {
        writer_.SetTextColour(ToWmf(font_.Colour));
        selected_.TextColour = font_.Colour;
    }
    writer_.TextOut(Round(topLeft.X), Round(topLeft.Y), text);
}

void TWmfCanvas::PushClip(const TRectF& r) {
    writer_.SaveDc();
    saved_.push_back(selected_);
    writer_.IntersectClipRect(Round(r.Left), Round(r.Top), Round(r.Right()), Round(r.Bottom()));
}

void TWmfCanvas::PopClip() {
    if (saved_.empty()) return;
    writer_.RestoreDc();
    selected_ = saved_.back();
    saved_.pop_back();
}

std::string TWmfCanvas::Finish() {
    while (!saved_.empty()) PopClip();
    return writer_.Finish();
}

// ---- SVG ----------------------------------------------------------------

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

void TSvgCanvas::SetPen(TRgb colour, double width, TPenStyle style) {
    penColour_ = colour;
    penWidth_ = width > 0 ? width : 1;
    penStyle_ = style;
}

void TSvgCanvas::SetBrush(TBrushStyle style, TRgb colour) {
    brushStyle_ = style;
    brushColour_ = colour;
}

void TSvgCanvas::SetFont(const TCanvasFont& font) {
    font_ = font;
}

std::string TSvgCanvas::Stroke() const {
    if (penStyle_ == TPenStyle::None) return " stroke=\"none\"";
    std::string s = " stroke=\"" + Hex(penColour_) + "\" stroke-width=\"" + Num(penWidth_) + "\"";
    if (penStyle_ == TPenStyle::Dash)
        s += " stroke-dasharray=\"" + Num(4 * penWidth_) + " " + Num(2 * penWidth_) + "\"";
    if (penStyle_ == TPenStyle::Dot)
        s += " stroke-dasharray=\"" + Num(penWidth_) + " " + Num(2 * penWidth_) + "\"";
    return s;
}

std::string TSvgCanvas::Fill() {
    switch (brushStyle_) {
        case TBrushStyle::None:
            return " fill=\"none\"";
        case TBrushStyle::Solid:
            return " fill=\"" + Hex(brushColour_) + "\"";
        case TBrushStyle::DiagCross:
            break;
    }
    const std::string colour = Hex(brushColour_);
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
    if (penStyle_ == TPenStyle::None) return;
    out_ += "<line x1=\"" + Num(from.X) + "\" y1=\"" + Num(from.Y) + "\" x2=\"" + Num(to.X) +
            "\" y2=\"" + Num(to.Y) + "\"" + Stroke() + "/>\n";
}

void TSvgCanvas::Polyline(std::span<const TPointF> points) {
    if (points.size() < 2 || penStyle_ == TPenStyle::None) return;
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
    out_ += "<text x=\"" + Num(topLeft.X) + "\" y=\"" + Num(topLeft.Y + font_.Size * AscentEms) +
            "\" font-family=\"'" + Escape(font_.Face) + "', sans-serif\" font-size=\"" +
            Num(font_.Size) + "\"" + (font_.Bold ? " font-weight=\"bold\"" : "") + " fill=\"" +
            Hex(font_.Colour) + "\">" + Escape(text) + "</text>\n";
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
