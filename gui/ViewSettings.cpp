#include "gui/ViewSettings.h"

#include <QSettings>

namespace sorvanta::gui {

namespace {

const QString kFullInputSet = QStringLiteral("DesignWindow/FullInputSet");

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

}  // namespace sorvanta::gui
