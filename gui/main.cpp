#include <QApplication>

#include "JapaneseUi.h"
#include "SorvantaApp.h"
#include "Texts.h"

int main(int argc, char** argv) {
    sorvanta::gui::UseJapaneseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(sorvanta::gui::kApplicationTitle));
    sorvanta::gui::InstallJapaneseUi(app);
    sorvanta::gui::TSorvantaApp sorvantaApp;
    sorvantaApp.Start();
    return app.exec();
}
