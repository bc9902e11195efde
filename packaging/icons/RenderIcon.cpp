// Renders the program's SVG icon as PNG files of the sizes the icon theme
// looks for, so that only the SVG is kept in the repository.
//
//   sorvanta-render-icon ICON.svg OUT_DIR SIZE...   writes OUT_DIR/SIZE.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: sorvanta-render-icon ICON.svg OUT_DIR SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "sorvanta-render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString path = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1.png").arg(size);
        if (!image.save(path)) {
            std::fprintf(stderr, "sorvanta-render-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
