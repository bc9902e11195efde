#include "gui/ResultPages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/TChartView.h"
#include "gui/Texts.h"

namespace sorvanta::gui {

namespace {

QLabel* HelpPanel(QWidget* parent, const QString& text, const QString& name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setMargin(2);
    return label;
}

// Three lists over a grid; the lists' box has a fixed height.
QHBoxLayout* ListRow(QWidget* page, QVBoxLayout* column, int height) {
    auto* box = new QWidget(page);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    box->setFixedHeight(height);
    column->addWidget(box);
    return row;
}

}  // namespace

QTabWidget* MakeResultWindowFrame(QWidget* window, const QString& name, const QString& title) {
    window->setObjectName(name);
    window->setWindowTitle(title);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* tabs = new QTabWidget(window);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(tabs);
    return tabs;
}

QVBoxLayout* PaddedColumn(QWidget* parent) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    return layout;
}

QWidget* TCircleTabs::BuildSliceTab(QWidget* parent, const QString& headingName,
                                    THeadingFrame frame) {
    auto* page = new QWidget(parent);
    auto* column = PaddedColumn(page);
    QHBoxLayout* top = ListRow(page, column, 130);
    QWidget* box = top->parentWidget();
    if (frame == THeadingFrame::LegendGroup) {
        auto* legendPanel = new QGroupBox(QStringLiteral("凡例"), box);
        legendPanel->setObjectName(QStringLiteral("LegendPanel"));
        sliceHeading_ = MakeResultList(legendPanel, headingName);
        PaddedColumn(legendPanel)->addWidget(sliceHeading_);
        legendPanel->setFixedWidth(260);
        top->addWidget(legendPanel);
    } else {
        sliceHeading_ = MakeResultList(box, headingName);
        top->addWidget(sliceHeading_, 1);
    }
    sliceLegend_ = MakeResultList(box, QStringLiteral("ListBox11"));
    sliceNote_ = MakeResultList(box, QStringLiteral("ListBox12"));
    top->addWidget(sliceLegend_, 1);
    top->addWidget(sliceNote_, 1);
    slices_ = MakeResultGrid(page, QStringLiteral("StringGrid5"));
    column->addWidget(slices_, 1);
    return page;
}

QWidget* TCircleTabs::BuildLoadTab(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* column = PaddedColumn(page);
    QHBoxLayout* top = ListRow(page, column, 170);
    QWidget* box = top->parentWidget();
    loadHeading_ = MakeResultList(box, QStringLiteral("ListBox7"));
    loadLegend_ = MakeResultList(box, QStringLiteral("ListBox8"));
    loadFormula_ = MakeResultList(box, QStringLiteral("ListBox10"));
    top->addWidget(loadHeading_, 1);
    top->addWidget(loadLegend_, 1);
    top->addWidget(loadFormula_, 1);
    loads_ = MakeResultGrid(page, QStringLiteral("StringGrid2"));
    column->addWidget(loads_, 1);
    return page;
}

QWidget* TCircleTabs::BuildMethodTab(QWidget* parent) {
    return MakeListAndGridPage(parent, methodHeading_, QStringLiteral("MethodHeadingList"),
                               methods_, QStringLiteral("MethodGrid"));
}

void TCircleTabs::Show(const TCircleReport& c) const {
    ShowCells(slices_, c.SliceTable);
    ShowLines(sliceHeading_, c.SliceHeadingList);
    ShowLines(sliceLegend_, c.SliceLegendList);
    ShowLines(sliceNote_, c.SliceNoteList);
    ShowLines(loadHeading_, c.LoadHeadingList);
    ShowLines(loadLegend_, c.LoadLegendList);
    ShowLines(loadFormula_, c.LoadFormulaList);
    ShowCells(loads_, c.LoadTable);
    if (methods_) {
        ShowLines(methodHeading_, c.MethodHeadingList);
        ShowCells(methods_, c.MethodTable);
    }
}

TPointerDisplay* AddChartHeader(QWidget* page, QVBoxLayout* column, const QString& leftButtonHelp) {
    auto* top = new QHBoxLayout;
    auto* help = new QVBoxLayout;
    help->setSpacing(2);
    help->addWidget(HelpPanel(page, leftButtonHelp, QStringLiteral("LeftButtonHelp")));
    help->addWidget(HelpPanel(page, QStringLiteral("[右ボタン]：地形ドラッグで地形移動"),
                              QStringLiteral("RightButtonHelp")));
    top->addLayout(help);
    top->addStretch(1);
    auto* pointer = new TPointerDisplay(page);
    top->addWidget(pointer);
    column->addLayout(top);
    return pointer;
}

TChartView* MakeResultChart(QWidget* parent, const QString& name) {
    auto* chart = new TChartView(parent);
    chart->setObjectName(name);
    QFont chartFont(QStringLiteral("ＭＳ Ｐ明朝"));
    chartFont.setPixelSize(12);
    chart->SetAxisFont(chartFont);
    chart->SetRestoreMode(TChartView::TRestoreMode::Home);
    return chart;
}

QLabel* MakeJudgementLabel(QWidget* parent, const QString& name, QFrame::Shadow shadow) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(shadow);
    QFont big = label->font();
    big.setPointSize(14);
    big.setBold(true);
    label->setFont(big);
    label->setMinimumHeight(34);
    return label;
}

void ShowJudgement(QLabel* label, QListWidget* list, const TCircleReport& circle) {
    ShowLines(list, circle.JudgementList);
    label->setText(Q(circle.JudgementLabel.Text));
    SetCaptionColour(label, circle.JudgementLabel);
}

TChartControls MakeChartControls(QWidget* page) {
    TChartControls c;
    c.Row = new QHBoxLayout;
    c.Navigation = new TNavigationButtons(page);
    c.Row->addWidget(c.Navigation);
    c.FontSize = MakeFontSizeSlider(page);
    c.Row->addWidget(c.FontSize);
    c.SeparateWindow = new QToolButton(page);
    c.SeparateWindow->setObjectName(QStringLiteral("SeparateWindowButton"));
    c.SeparateWindow->setText(QStringLiteral("別窓"));
    c.SeparateWindow->setToolTip(QStringLiteral("別ウィンドウを開く"));
    c.SeparateWindow->setFixedHeight(26);
    c.Row->addWidget(c.SeparateWindow);
    c.Row->addStretch(1);
    return c;
}

}  // namespace sorvanta::gui
