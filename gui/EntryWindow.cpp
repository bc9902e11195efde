#include "gui/EntryWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/CoordinateGridStyle.h"
#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "views/CoordinateEntry.h"

namespace sorvanta::gui {

namespace {

// The entry grid: No. is numbered by the window, so it is read-only and
// Tab passes it by. Enter, also in a cell being typed in, goes on to the
// window's "地層座標転記", which commits the cell first.
class TEntryGrid : public QTableWidget {
  public:
    using QTableWidget::QTableWidget;

    void CommitEditor() { EndEditing(true); }
    // A cell left open when the window was hidden does not belong to the
    // next table.
    void DiscardEditor() { EndEditing(false); }

  protected:
    void EndEditing(bool commit) {
        const QModelIndex current = currentIndex();
        if (QWidget* editor = current.isValid() ? indexWidget(current) : nullptr) {
            if (commit) commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->ignore();
            return;
        }
        QTableWidget::keyPressEvent(event);
    }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        QModelIndex next = QTableWidget::moveCursor(action, modifiers);
        if ((action == MoveNext || action == MovePrevious) && next.isValid() &&
            next.column() == 0) {
            // From X of the first row backwards: round to Y of the last row.
            const int row = action == MoveNext ? next.row()
                                               : (next.row() > 0 ? next.row() - 1 : rowCount() - 1);
            next = model()->index(row, action == MoveNext ? 1 : columnCount() - 1);
        }
        return next;
    }
};

// A No. cell: selectable, never edited.
QTableWidgetItem* NumberItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

TEntryWindow::TEntryWindow(TDesignConditions& design, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), design_(design) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("座標入力"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    group_ = new QGroupBox(QString::fromUtf8(EntryTitles[0]), this);
    group_->setObjectName(QStringLiteral("EntryGroup"));
    auto* gl = new QVBoxLayout(group_);
    gl->setContentsMargins(6, 4, 6, 6);
    gl->setSpacing(4);

    auto* countRow = new QHBoxLayout;
    countRow->setSpacing(2);
    countRow->addWidget(new QLabel(QStringLiteral("ﾃﾞｰﾀ数設定"), group_));
    position_ = new QLineEdit(group_);
    position_->setObjectName(QStringLiteral("RowCountBox"));
    position_->setReadOnly(true);
    position_->setFixedWidth(36);
    position_->setAlignment(Qt::AlignRight);
    position_->setToolTip(QStringLiteral("データ数設定"));
    down_ = new QToolButton(group_);
    down_->setObjectName(QStringLiteral("UpDownDown"));
    down_->setArrowType(Qt::LeftArrow);
    down_->setToolTip(QStringLiteral("データ数設定"));
    up_ = new QToolButton(group_);
    up_->setObjectName(QStringLiteral("UpDownUp"));
    up_->setArrowType(Qt::RightArrow);
    up_->setToolTip(QStringLiteral("データ数設定"));
    countRow->addWidget(position_);
    countRow->addWidget(down_);
    countRow->addWidget(up_);
    countRow->addStretch(1);
    gl->addLayout(countRow);

    grid_ = new TEntryGrid(1, 3, group_);
    grid_->setObjectName(QStringLiteral("EntryGrid"));
    grid_->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("X座標"), QStringLiteral("Y座標")});
    StyleCoordinateGrid(grid_);
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->setTabKeyNavigation(true);
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->setToolTip(QStringLiteral("X,Y座標を入力"));
    grid_->setFixedSize(18 + 74 + 2 * grid_->frameWidth() + 18, 240);
    gl->addWidget(grid_, 0, Qt::AlignHCenter);
    auto* note = new QLabel(QStringLiteral("X,Y座標を入力Noは自動設定"), group_);
    note->setWordWrap(true);
    gl->addWidget(note);
    layout->addWidget(group_);

    auto* buttons = new QHBoxLayout;
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    write_ = new QPushButton(QStringLiteral("地層座標転記"), this);
    write_->setObjectName(QStringLiteral("WriteBackButton"));
    // Enter confirms, Esc cancels; without this Qt makes "取消" the default
    // and an Enter after typing would throw the entry away.
    write_->setDefault(true);
    buttons->addWidget(cancel_);
    buttons->addWidget(write_);
    layout->addLayout(buttons);

    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);
    connect(write_, &QPushButton::clicked, this, &TEntryWindow::WriteBack);
    connect(up_, &QToolButton::clicked, this, &TEntryWindow::StepUp);
    connect(down_, &QToolButton::clicked, this, &TEntryWindow::StepDown);
    setFixedSize(sizeHint());
}

TFigureKind TEntryWindow::CurrentKind() const {
    return EntryKindOfTitle(S(group_->title()));
}

void TEntryWindow::SetColumnWidths() {
    grid_->setColumnWidth(0, 18);
    grid_->setColumnWidth(1, 37);
    grid_->setColumnWidth(2, 37);
}

void TEntryWindow::ShowPosition() {
    position_->setText(QString::number(grid_->rowCount() - 1));
}

void TEntryWindow::OpenFor(TFigureKind kind, QPoint position) {
    const TCoordinateTable* table = FigureTable(design_, kind);
    if (!table) return;
    static_cast<TEntryGrid*>(grid_)->DiscardEditor();
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(table->Rows.size()));
    for (int r = 0; r < grid_->rowCount(); ++r) {
        const auto& row = table->Rows[static_cast<std::size_t>(r)];
        grid_->setItem(r, 0, NumberItem(Q(row.No)));
        grid_->setItem(r, 1, new QTableWidgetItem(Q(row.X)));
        grid_->setItem(r, 2, new QTableWidgetItem(Q(row.Y)));
    }
    ShowPosition();
    move(position);
    group_->setTitle(Q(EntryTitle(kind)));
    SetColumnWidths();
    show();
    raise();
    activateWindow();
    // Typing goes into X of the first row at once.
    grid_->setFocus();
    grid_->setCurrentIndex(QModelIndex());
    grid_->setCurrentCell(0, 1);
}

void TEntryWindow::Renumber() {
    for (int r = 0; r < grid_->rowCount(); ++r) {
        QTableWidgetItem* item = grid_->item(r, 0);
        if (!item) grid_->setItem(r, 0, item = NumberItem(QString()));
        item->setText(QString::number(r));
    }
    ShowPosition();
}

void TEntryWindow::StepUp() {
    const TRowRange range = EntryRowRange(CurrentKind());
    if (grid_->rowCount() - 1 >= range.Max) return;
    grid_->setRowCount(grid_->rowCount() + 1);
    Renumber();
}

void TEntryWindow::StepDown() {
    const TRowRange range = EntryRowRange(CurrentKind());
    if (grid_->rowCount() - 1 <= range.Min) return;
    grid_->setRowCount(grid_->rowCount() - 1);
    Renumber();
}

void TEntryWindow::WriteBack() {
    // A cell still being typed in counts, also when Enter both ends the
    // typing and presses this button: the editor commits only later then.
    static_cast<TEntryGrid*>(grid_)->CommitEditor();
    TCoordinateTable entry;
    entry.Rows.clear();
    for (int r = 0; r < grid_->rowCount(); ++r) {
        auto cell = [&](int c) {
            const QTableWidgetItem* item = grid_->item(r, c);
            return item ? S(item->text()) : std::string();
        };
        entry.Rows.push_back({cell(0), cell(1), cell(2)});
    }
    if (entry.Rows.empty()) entry = TCoordinateTable::Placeholder();
    const TFigureKind kind = CurrentKind();
    const std::string refused = WriteBackEntry(design_, kind, entry);
    if (!refused.empty()) {
        // The window stays open so that the entry can be corrected.
        Inform(this, CoreMessageText(refused), QStringLiteral("EntryRefused"));
        return;
    }
    emit TableWritten(kind);
    hide();
}

}  // namespace sorvanta::gui
