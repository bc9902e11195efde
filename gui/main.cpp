#include <QApplication>
#include <cstdio>
#include <cstring>

#include "BuildInfo.h"
#include "JapaneseUi.h"
#include "SorvantaApp.h"
#include "Texts.h"

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
    sorvanta::gui::InstallJapaneseUi(app);
    sorvanta::gui::TSorvantaApp sorvantaApp;
    sorvantaApp.Start();
    return app.exec();
}
