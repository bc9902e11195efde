#include "documents/WmfCanvas.h"

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

}  // namespace

TWmfCanvas::TWmfCanvas(int width, int height) : writer_(width, height) {}

double TWmfCanvas::TextWidth(const TCanvasFont& font, std::string_view text) const {
    return EstimateTextWidth(font, text);
}

double TWmfCanvas::TextHeight(const TCanvasFont& font) const {
    return EstimateTextHeight(font);
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
    const TCanvasPen& p = Pen();
    const std::uint16_t style = p.Style == TPenStyle::None   ? WmfPenNull
                                : p.Style == TPenStyle::Dash ? WmfPenDash
                                : p.Style == TPenStyle::Dot  ? WmfPenDot
                                                             : WmfPenSolid;
    // Styled lines exist only one pixel wide.
    const int width = style == WmfPenDash || style == WmfPenDot
                          ? 1
                          : std::max(0, static_cast<int>(std::lround(p.Width)));
    const TRgb colour = style == WmfPenNull ? TRgb{} : p.Colour;
    const std::string key =
        "pen " + std::to_string(style) + " " + std::to_string(width) + " " + Hex(colour);
    const int pen = Object(key, [&] { return writer_.CreatePen(style, width, ToWmf(colour)); });
    if (selected_.Pen != pen) {
        writer_.SelectObject(pen);
        selected_.Pen = pen;
    }
}

void TWmfCanvas::SelectBrush() {
    const TCanvasBrush& b = Brush();
    const std::uint16_t style = b.Style == TBrushStyle::None        ? WmfBrushNull
                                : b.Style == TBrushStyle::DiagCross ? WmfBrushHatched
                                                                    : WmfBrushSolid;
    const std::uint16_t hatch = style == WmfBrushHatched ? WmfHatchDiagCross : 0;
    const TRgb colour = style == WmfBrushNull ? TRgb{} : b.Colour;
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
    if (points.size() < 2 || Pen().Style == TPenStyle::None) return;
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
    const int grow = Pen().Style == TPenStyle::None ? 1 : 0;
    writer_.Rectangle(Round(r.Left), Round(r.Top), Round(r.Right()) + grow,
                      Round(r.Bottom()) + grow);
}

void TWmfCanvas::Ellipse(const TRectF& r) {
    SelectPen();
    SelectBrush();
    writer_.Ellipse(Round(r.Left), Round(r.Top), Round(r.Right()), Round(r.Bottom()));
}

void TWmfCanvas::Text(TPointF topLeft, std::string_view text) {
    const TCanvasFont& f = Font();
    const int size = std::max(1, static_cast<int>(std::lround(f.Size)));
    const std::string key = "font " + std::to_string(size) + (f.Bold ? " bold " : " ") + f.Face;
    const int font = Object(key, [&] { return writer_.CreateFont(size, f.Bold, f.Face); });
    if (selected_.Font != font) {
        writer_.SelectObject(font);
        selected_.Font = font;
    }
    if (selected_.TextColour != f.Colour) {
        writer_.SetTextColour(ToWmf(f.Colour));
        selected_.TextColour = f.Colour;
    }
    writer_.TextOut(Round(topLeft.X), Round(topLeft.Y), text);
}

void TWmfCanvas::TextOnBaseline(TPointF origin, std::string_view text) {
    Text({origin.X, origin.Y - EstimateTextAscent(Font())}, text);
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

}  // namespace sorvanta
