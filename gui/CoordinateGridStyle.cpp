#include "CoordinateGridStyle.h"

#include <QHeaderView>
#include <QTableWidget>

namespace sorvanta::gui {

void StyleCoordinateGrid(QTableWidget* grid) {
    QFont small = grid->font();
    small.setPixelSize(11);
    grid->setFont(small);
    grid->horizontalHeader()->setFont(small);
    grid->horizontalHeader()->setMinimumSectionSize(10);
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { padding: 0px; }"));
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(17);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
}

}  // namespace sorvanta::gui
