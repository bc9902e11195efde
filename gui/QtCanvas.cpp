#include "gui/QtCanvas.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <cmath>

namespace sorvanta::gui {

namespace {

QColor ToQColor(TRgb c) {
    return QColor(c.R, c.G, c.B);
}
QPointF ToQPoint(TPointF p) {
    return {p.X, p.Y};
}
QRectF ToQRect(const TRectF& r) {
    return {r.Left, r.Top, r.Width, r.Height};
}
QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPolygonF ToQPolygon(std::span<const TPointF> points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TPointF& p : points) polygon << ToQPoint(p);
    return polygon;
}

}  // namespace

QFont ToQFont(const TCanvasFont& font) {
    QFont f(QString::fromStdString(font.Face));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size))));
    f.setBold(font.Bold);
    return f;
}

TCanvasFont ToCanvasFont(const QFont& font, double pixels) {
    TCanvasFont f;
    f.Face = font.family().toStdString();
    f.Size = pixels;
    f.Bold = font.bold();
    return f;
}

double TQtTextMeasure::TextWidth(const TCanvasFont& font, std::string_view text) const {
    return QFontMetricsF(ToQFont(font)).horizontalAdvance(ToQString(text));
}

double TQtTextMeasure::TextHeight(const TCanvasFont& font) const {
    return QFontMetricsF(ToQFont(font)).height();
}

TQtCanvas::TQtCanvas(QPainter& painter) : painter_(painter) {
    painter_.save();
}

TQtCanvas::~TQtCanvas() {
    while (clipDepth_ > 0) PopClip();
    painter_.restore();
}

double TQtCanvas::TextWidth(const TCanvasFont& font, std::string_view text) const {
    return measure_.TextWidth(font, text);
}

double TQtCanvas::TextHeight(const TCanvasFont& font) const {
    return measure_.TextHeight(font);
}

void TQtCanvas::ApplyPen() {
    const TCanvasPen& pen = Pen();
    if (pen.Style == TPenStyle::None) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    const Qt::PenStyle s = pen.Style == TPenStyle::Dash  ? Qt::DashLine
                           : pen.Style == TPenStyle::Dot ? Qt::DotLine
                                                         : Qt::SolidLine;
    painter_.setPen(QPen(ToQColor(pen.Colour), pen.Width, s));
}

void TQtCanvas::ApplyBrush() {
    const TCanvasBrush& brush = Brush();
    switch (brush.Style) {
        case TBrushStyle::None:
            painter_.setBrush(Qt::NoBrush);
            break;
        case TBrushStyle::Solid:
            painter_.setBrush(ToQColor(brush.Colour));
            break;
        case TBrushStyle::DiagCross:
            painter_.setBrush(QBrush(ToQColor(brush.Colour), Qt::DiagCrossPattern));
            break;
    }
}

// Text is drawn with a pen of the font's colour.
void TQtCanvas::ApplyFont() {
    painter_.setFont(ToQFont(Font()));
    painter_.setPen(ToQColor(Font().Colour));
}

void TQtCanvas::Line(TPointF from, TPointF to) {
    ApplyPen();
    painter_.drawLine(ToQPoint(from), ToQPoint(to));
}

// Series lines end flat at their points and join round.
void TQtCanvas::Polyline(std::span<const TPointF> points) {
    ApplyPen();
    QPen joined = painter_.pen();
    joined.setCapStyle(Qt::FlatCap);
    joined.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(joined);
    painter_.drawPolyline(ToQPolygon(points));
}

void TQtCanvas::Polygon(std::span<const TPointF> points) {
    ApplyPen();
    ApplyBrush();
    painter_.drawPolygon(ToQPolygon(points));
}

void TQtCanvas::Rectangle(const TRectF& rect) {
    ApplyPen();
    ApplyBrush();
    painter_.drawRect(ToQRect(rect));
}

void TQtCanvas::Ellipse(const TRectF& bounds) {
    ApplyPen();
    ApplyBrush();
    painter_.drawEllipse(ToQRect(bounds));
}

void TQtCanvas::Text(TPointF topLeft, std::string_view text) {
    ApplyFont();
    const QFontMetricsF fm(painter_.font());
    painter_.drawText(QPointF(topLeft.X, topLeft.Y + fm.ascent()), ToQString(text));
}

void TQtCanvas::TextOnBaseline(TPointF origin, std::string_view text) {
    ApplyFont();
    painter_.drawText(QPointF(origin.X, origin.Y), ToQString(text));
}

void TQtCanvas::PushClip(const TRectF& rect) {
    painter_.save();
    ++clipDepth_;
    painter_.setClipRect(ToQRect(rect),
                         painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TQtCanvas::PopClip() {
    if (clipDepth_ == 0) return;
    painter_.restore();
    --clipDepth_;
}

}  // namespace sorvanta::gui
