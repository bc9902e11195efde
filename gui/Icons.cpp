#include "gui/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace sorvanta::gui {

namespace {

const QColor Ink(40, 40, 40);

// A sheet of paper with a folded corner, the base of the document icons.
void Sheet(QPainter& p, QRectF r, QColor fill = Qt::white) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 6, r.top());
    path.lineTo(r.right(), r.top() + 6);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 6, r.top()), QPointF(r.right() - 6, r.top() + 6));
    p.drawLine(QPointF(r.right() - 6, r.top() + 6), QPointF(r.right(), r.top() + 6));
}

void TextLines(QPainter& p, QRectF r, int count, QColor colour = QColor(90, 110, 160)) {
    p.setPen(QPen(colour, 1.4));
    for (int i = 0; i < count; ++i) {
        const double y = r.top() + 10 + i * 4;
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4 - (i % 2) * 4, y));
    }
}

// A slope section with a slip arc, the program's own motif.
void Slope(QPainter& p, QRectF r, QColor ground, QColor arc) {
    QPolygonF poly;
    poly << QPointF(r.left(), r.bottom()) << QPointF(r.left(), r.top() + r.height() * 0.70)
         << QPointF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.70)
         << QPointF(r.left() + r.width() * 0.65, r.top() + r.height() * 0.30)
         << QPointF(r.right(), r.top() + r.height() * 0.30) << QPointF(r.right(), r.bottom());
    p.setPen(QPen(ground.darker(150), 1.2));
    p.setBrush(ground);
    p.drawPolygon(poly);
    p.setPen(QPen(arc, 1.8));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(r.left() + r.width() * 0.10, r.top() - r.height() * 0.55, r.width() * 0.95,
                        r.height() * 1.45);
    p.drawArc(circle, 200 * 16, 118 * 16);
}

void PdfBadge(QPainter& p, QRectF r) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRoundedRect(r, 2, 2);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("PDF"));
}

void Paint(QPainter& p, TCommandIcon icon) {
    switch (icon) {
        case TCommandIcon::Exit: {
            // An open door with an arrow leaving it.
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(QColor(150, 110, 70));
            p.drawRect(QRectF(6, 4, 13, 24));
            p.setBrush(QColor(205, 165, 115));
            QPolygonF door;
            door << QPointF(6, 4) << QPointF(14, 7) << QPointF(14, 31) << QPointF(6, 28);
            p.drawPolygon(door);
            p.setPen(QPen(QColor(200, 40, 40), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(18, 16), QPointF(29, 16));
            p.drawLine(QPointF(25, 12), QPointF(29, 16));
            p.drawLine(QPointF(25, 20), QPointF(29, 16));
            break;
        }
        case TCommandIcon::Open: {
            p.setPen(QPen(QColor(150, 110, 20), 1.2));
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(3, 8, 22, 18));
            p.drawRect(QRectF(3, 6, 9, 3));
            p.setBrush(QColor(252, 225, 130));
            QPolygonF front;
            front << QPointF(3, 26) << QPointF(8, 13) << QPointF(30, 13) << QPointF(25, 26);
            p.drawPolygon(front);
            break;
        }
        case TCommandIcon::Save: {
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(QColor(60, 90, 160));
            p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(8, 4, 16, 10));
            p.setBrush(QColor(200, 200, 210));
            p.drawRect(QRectF(9, 19, 14, 9));
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(QRectF(19, 6, 3, 6));
            break;
        }
        case TCommandIcon::Print: {
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 3, 14, 10));
            p.setBrush(QColor(170, 170, 180));
            p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(8, 19, 16, 10));
            TextLines(p, QRectF(8, 12, 16, 10), 2);
            p.setBrush(QColor(80, 200, 80));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(25, 15.5), 1.3, 1.3);
            break;
        }
        case TCommandIcon::Text:
            Sheet(p, QRectF(6, 3, 20, 26));
            TextLines(p, QRectF(6, 3, 20, 26), 4);
            break;
        case TCommandIcon::Figures:
            Sheet(p, QRectF(8, 2, 20, 20));
            Sheet(p, QRectF(4, 9, 20, 21));
            Slope(p, QRectF(6, 15, 16, 13), QColor(190, 170, 120), QColor(30, 60, 200));
            break;
        case TCommandIcon::PdfMinimum:
            Sheet(p, QRectF(6, 3, 20, 26));
            Slope(p, QRectF(8, 10, 16, 10), QColor(190, 170, 120), QColor(30, 60, 200));
            PdfBadge(p, QRectF(9, 21, 16, 8));
            break;
        case TCommandIcon::PdfArbitrary:
            Sheet(p, QRectF(6, 3, 20, 26));
            Slope(p, QRectF(8, 10, 16, 10), QColor(190, 170, 120), QColor(30, 60, 200));
            p.setPen(QPen(QColor(200, 30, 30), 1.6));
            p.drawLine(QPointF(12, 6), QPointF(12, 12));
            p.drawLine(QPointF(9, 9), QPointF(15, 9));
            PdfBadge(p, QRectF(9, 21, 16, 8));
            break;
        case TCommandIcon::Design: {
            // A coordinate table.
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 5, 26, 22));
            p.setBrush(QColor(200, 215, 240));
            p.drawRect(QRectF(3, 5, 26, 5));
            p.setPen(QPen(QColor(120, 120, 130), 1));
            for (double y : {15.0, 20.0}) p.drawLine(QPointF(3, y), QPointF(29, y));
            for (double x : {10.0, 20.0}) p.drawLine(QPointF(x, 5), QPointF(x, 27));
            break;
        }
        case TCommandIcon::Results: {
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 4, 26, 24));
            Slope(p, QRectF(5, 8, 22, 18), QColor(180, 200, 140), QColor(30, 60, 200));
            p.setPen(QPen(QColor(30, 60, 200), 1.2));
            p.drawLine(QPointF(16, 9), QPointF(9, 22));
            p.drawLine(QPointF(16, 9), QPointF(24, 17));
            break;
        }
        case TCommandIcon::Arbitrary: {
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 4, 26, 24));
            Slope(p, QRectF(5, 8, 22, 18), QColor(190, 170, 120), QColor(200, 40, 40));
            p.setPen(QPen(QColor(200, 40, 40), 1.6));
            p.drawLine(QPointF(16, 6), QPointF(16, 13));
            p.drawLine(QPointF(12.5, 9.5), QPointF(19.5, 9.5));
            break;
        }
        case TCommandIcon::Live: {
            // The slope with its arc, and a lightning bolt: calculated at once.
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 4, 26, 24));
            Slope(p, QRectF(5, 8, 22, 18), QColor(180, 200, 140), QColor(200, 40, 40));
            QPolygonF bolt;
            bolt << QPointF(12, 3) << QPointF(6, 15) << QPointF(11, 15) << QPointF(8, 25)
                 << QPointF(17, 11) << QPointF(12, 11) << QPointF(15, 3);
            p.setPen(QPen(QColor(150, 100, 0), 1));
            p.setBrush(QColor(250, 200, 30));
            p.drawPolygon(bolt);
            break;
        }
    }
}

QPixmap Render(TCommandIcon icon, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    Paint(p, icon);
    return pixmap;
}

}  // namespace

QIcon CommandIcon(TCommandIcon icon) {
    QIcon result;
    for (int size : {16, 24, 32, 48, 64}) result.addPixmap(Render(icon, size));
    return result;
}

}  // namespace sorvanta::gui
