#include "gui/ViewSettings.h"

#include <QSettings>

namespace sorvanta::gui {

namespace {

const QString kFullInputSet = QStringLiteral("DesignWindow/FullInputSet");
const QString kLiveCalculation = QStringLiteral("Calculation/Live");

QSettings Settings() {
    return QSettings(QStringLiteral("Sorvanta"), QStringLiteral("Sorvanta"));
}

}  // namespace

bool RememberedFullInputSet() {
    return Settings().value(kFullInputSet, false).toBool();
}

void RememberFullInputSet(bool on) {
    Settings().setValue(kFullInputSet, on);
}

bool RememberedLiveCalculation() {
    return Settings().value(kLiveCalculation, false).toBool();
}

void RememberLiveCalculation(bool on) {
    Settings().setValue(kLiveCalculation, on);
}

}  // namespace sorvanta::gui
