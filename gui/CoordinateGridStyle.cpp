#include "gui/CoordinateGridStyle.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVariant>
#include <algorithm>

namespace sorvanta::gui {

namespace {

const char* const kUsualWidths = "usualColumnWidths";

}  // namespace

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
    grid->setTextElideMode(Qt::ElideRight);
    grid->setWordWrap(false);
}

void SetCoordinateColumnWidths(QTableWidget* grid, int first, int others) {
    QVariantList usual{first};
    for (int c = 1; c < grid->columnCount(); ++c) usual << others;
    grid->setProperty(kUsualWidths, usual);
    // The grid is as wide as its columns.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitCoordinateColumns(grid);
}

void FitCoordinateColumns(QTableWidget* grid) {
    const QVariantList usual = grid->property(kUsualWidths).toList();
    if (usual.size() != grid->columnCount()) return;
    int total = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
        // What the widest cell needs, as the view measures it (every row).
        const int needed =
            std::min(static_cast<const QAbstractItemView*>(grid)->sizeHintForColumn(c),
                     MaxCoordinateColumnWidth);
        const int width = std::max(usual[c].toInt(), needed);
        grid->setColumnWidth(c, width);
        total += width;
    }
    grid->setFixedWidth(total + 2 * grid->frameWidth() + 14);
}

}  // namespace sorvanta::gui
