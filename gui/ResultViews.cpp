#include "gui/ResultViews.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "gui/Texts.h"
#include "text/NumberFormat.h"

namespace sorvanta::gui {

namespace {

// Ctrl+C on a result list or grid.
class TCopyFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->matches(QKeySequence::Copy)) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) {
            QApplication::clipboard()->setText(CopyText(view));
            return true;
        }
        return false;
    }
};

void InstallCopy(QAbstractItemView* view) {
    static auto* filter = new TCopyFilter(QCoreApplication::instance());
    view->installEventFilter(filter);
}

// A cell such as "1.774 [解]" is the number and a mark after it; a cell that
// is only a mark ("[地形外]", "[∞]") has no number.
struct TMarkedCell {
    QString Value;
    QString Mark;
};

std::optional<TMarkedCell> SplitMark(const QString& text) {
    static const QRegularExpression marked(QStringLiteral("^(.*?)\\s*(\\[[^\\[\\]]*\\])\\s*$"));
    const QRegularExpressionMatch m = marked.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return TMarkedCell{m.captured(1).trimmed(), m.captured(2)};
}

// The rectangle around the selection (the whole grid when nothing is
// selected) under its column headings, so that a spreadsheet receives it
// labelled. A column with marks is copied as its numbers and, beside them,
// a column "備考" of the marks, so that the numbers stay numbers.
QString GridText(const QTableWidget* grid) {
    const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
    std::map<int, std::map<int, QString>> cells;
    int minCol = 0;
    int maxCol = grid->columnCount() - 1;
    if (selected.isEmpty()) {
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                const QTableWidgetItem* item = grid->item(r, c);
                cells[r][c] = item ? item->text() : QString();
            }
        }
    } else {
        minCol = selected.front().column();
        maxCol = minCol;
        for (const QModelIndex& i : selected) {
            cells[i.row()][i.column()] = i.data().toString();
            minCol = std::min(minCol, i.column());
            maxCol = std::max(maxCol, i.column());
        }
    }
    std::set<int> markedColumns;
    for (const auto& [row, line] : cells) {
        for (const auto& [col, text] : line) {
            if (SplitMark(text)) markedColumns.insert(col);
        }
    }
    QStringList lines;
    QStringList header;
    for (int c = minCol; c <= maxCol; ++c) {
        const QTableWidgetItem* h = grid->horizontalHeaderItem(c);
        header << (h ? h->text() : QString());
        if (markedColumns.count(c)) header << QStringLiteral("備考");
    }
    lines << header.join(QLatin1Char('\t'));
    for (const auto& [row, line] : cells) {
        QStringList out;
        for (int c = minCol; c <= maxCol; ++c) {
            const auto it = line.find(c);
            const QString text = it == line.end() ? QString() : it->second;
            if (!markedColumns.count(c)) {
                out << text;
            } else if (const auto split = SplitMark(text)) {
                out << split->Value << split->Mark;
            } else {
                out << text << QString();
            }
        }
        lines << out.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

QString ListText(const QListWidget* list) {
    QStringList lines;
    for (int r = 0; r < list->count(); ++r) {
        const QListWidgetItem* item = list->item(r);
        if (list->selectedItems().isEmpty() || item->isSelected()) lines << item->text();
    }
    return lines.join(QLatin1Char('\n'));
}

QToolButton* NavButton(QWidget* parent, const QString& text, const QString& hint,
                       const QString& name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(false);
    b->setFixedSize(30, 24);
    return b;
}

}  // namespace

QListWidget* MakeResultList(QWidget* parent, const QString& name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone);
    // The lists line their values up with blanks: a fixed-pitch face.
    QFont fixed(QStringLiteral("ＭＳ ゴシック"));
    fixed.setPointSize(9);
    list->setFont(fixed);
    InstallCopy(list);
    return list;
}

QTableWidget* MakeResultGrid(QWidget* parent, const QString& name) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(10);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { padding: 0px; }"));
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
    InstallCopy(grid);
    return grid;
}

QWidget* MakeListAndGridPage(QWidget* parent, QListWidget*& list, const QString& listName,
                             QTableWidget*& grid, const QString& gridName) {
    auto* page = new QWidget(parent);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);
    list = MakeResultList(page, listName);
    list->setFixedWidth(330);
    row->addWidget(list);
    grid = MakeResultGrid(page, gridName);
    row->addWidget(grid, 1);
    return page;
}

void ShowLines(QListWidget* list, const TLineList& lines) {
    list->clear();
    for (const std::string& line : lines) list->addItem(Q(line));
}

void ShowCells(QTableWidget* grid, const TCellTable& table) {
    grid->clearContents();
    grid->setColumnCount(table.ColCount);
    grid->setRowCount(std::max(0, table.RowCount() - 1));
    grid->verticalHeader()->setDefaultSectionSize(table.DefaultRowHeight);
    for (int c = 0; c < table.ColCount; ++c) {
        const QString head = table.RowCount() > 0 ? Q(table.Cell(0, c)) : QString();
        grid->setHorizontalHeaderItem(c, new QTableWidgetItem(head));
    }
    for (int r = 1; r < table.RowCount(); ++r) {
        for (int c = 0; c < table.ColCount; ++c)
            grid->setItem(r - 1, c, new QTableWidgetItem(Q(table.Cell(r, c))));
    }
    // The widths are the narrowest a column gets; one whose texts need more
    // room in this face widens rather than cutting them.
    for (int c = 0; c < table.ColCount; ++c) {
        const int least = c < static_cast<int>(table.ColWidths.size()) ? table.ColWidths[c] : 0;
        grid->resizeColumnToContents(c);
        grid->setColumnWidth(c, std::max(least, grid->columnWidth(c)));
    }
}

QString CopyText(const QAbstractItemView* view) {
    if (auto* grid = qobject_cast<const QTableWidget*>(view)) return GridText(grid);
    if (auto* list = qobject_cast<const QListWidget*>(view)) return ListText(list);
    return {};
}

QString PointerText(const char* axis, double value) {
    const std::string a(axis);
    return Q(FormatFloat(a + "=0.00m;" + a + "=-0.00m", value));
}

void SetCaptionColour(QWidget* widget, const TColouredText& caption) {
    const QPalette base =
        widget->parentWidget() ? widget->parentWidget()->palette() : QApplication::palette();
    QPalette pal = widget->palette();
    QColor colour = base.color(QPalette::WindowText);
    if (caption.Colour) colour = QColor(caption.Colour->R, caption.Colour->G, caption.Colour->B);
    // A group box draws its title in the Text colour, a label in WindowText.
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Text, colour);
    widget->setPalette(pal);
}

void KeepOwnTextColour(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Text, QApplication::palette().color(QPalette::Text));
    pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    widget->setPalette(pal);
}

TPointerDisplay::TPointerDisplay(QWidget* parent) : QGroupBox(QStringLiteral("座標"), parent) {
    setObjectName(QStringLiteral("PointerGroup"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    x_ = new QLabel(QStringLiteral("X=000.00m"), this);
    x_->setObjectName(QStringLiteral("PointerX"));
    y_ = new QLabel(QStringLiteral("Y=000.00m"), this);
    y_->setObjectName(QStringLiteral("PointerY"));
    x_->setMinimumWidth(72);
    y_->setMinimumWidth(72);
    layout->addWidget(x_);
    layout->addWidget(y_);
}

void TPointerDisplay::Show(double x, double y) {
    x_->setText(PointerText("X", x));
    y_->setText(PointerText("Y", y));
}

QString TPointerDisplay::XText() const {
    return x_->text();
}
QString TPointerDisplay::YText() const {
    return y_->text();
}

TNavigationButtons::TNavigationButtons(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("NavigationGroup"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    struct TButton {
        const char* Text;
        const char* Hint;
        const char* Name;
        TChartCommand Command;
    };
    static const TButton buttons[] = {
        {"↑", "上へ移動", "MoveUpButton", TChartCommand::MoveUp},
        {"↓", "下へ移動", "MoveDownButton", TChartCommand::MoveDown},
        {"←", "左へ移動", "MoveLeftButton", TChartCommand::MoveLeft},
        {"→", "右へ移動", "MoveRightButton", TChartCommand::MoveRight},
        {"拡", "１．２倍拡大", "ZoomInButton", TChartCommand::ZoomIn},
        {"縮", "０．８倍縮小", "ZoomOutButton", TChartCommand::ZoomOut},
    };
    for (const TButton& b : buttons) {
        QToolButton* button = NavButton(this, QString::fromUtf8(b.Text), QString::fromUtf8(b.Hint),
                                        QString::fromUtf8(b.Name));
        const TChartCommand command = b.Command;
        connect(button, &QToolButton::clicked, this, [this, command] { emit Command(command); });
        layout->addWidget(button);
    }
}

QSlider* MakeFontSizeSlider(QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QStringLiteral("FontSizeSlider"));
    slider->setToolTip(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ"));
    slider->setRange(5, 13);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setValue(9);
    slider->setFixedWidth(110);
    return slider;
}

}  // namespace sorvanta::gui
