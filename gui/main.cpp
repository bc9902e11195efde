#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Sorvanta");
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("円弧すべり検討システム （Sorvanta） Ver3.5"));
    w.showMaximized();
    return app.exec();
}
