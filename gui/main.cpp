#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "BuildInfo.h"
#include "gui/JapaneseUi.h"
#include "gui/SorvantaApp.h"
#include "gui/Texts.h"

namespace {

// The icon installed beside the program, whatever the prefix: the icon theme
// alone would miss it where no theme index is installed.
QIcon InstalledIcon() {
    QIcon icon;
    const QString pattern = QCoreApplication::applicationDirPath() +
                            QStringLiteral("/../share/icons/hicolor/%1x%1/apps/sorvanta.png");
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = pattern.arg(size);
        if (QFileInfo::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the application exists, so that they need no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts(sorvanta::VersionLine("sorvanta").c_str());
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::puts(
            "使い方: sorvanta\n"
            "        sorvanta --version\n"
            "\n"
            "円弧すべり検討システムを起動します。一括計算は sorvanta-calc です。");
        return 0;
    }
    sorvanta::gui::UseJapaneseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(sorvanta::gui::kApplicationTitle));
    // The installed desktop entry and icon (none in a build tree).
    QApplication::setDesktopFileName(QStringLiteral("sorvanta"));
    QApplication::setWindowIcon(InstalledIcon());
    sorvanta::gui::InstallJapaneseUi(app);
    sorvanta::gui::TSorvantaApp sorvantaApp;
    sorvantaApp.Start();
    return app.exec();
}
