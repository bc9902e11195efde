#include "TForm16.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ResultViews.h"
#include "TChartView.h"
#include "TForm14.h"
#include "Texts.h"
#include "run/AppState.h"
#include "run/ArbitraryPoint.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"

namespace sorvanta::gui {

namespace {

constexpr QSize kWindowSize(920, 680);

QVBoxLayout* Column(QWidget* parent) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    return layout;
}

QLabel* HelpPanel(QWidget* parent, const QString& text, const QString& name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setMargin(2);
    return label;
}

}  // namespace

TForm16::TForm16(TAppState& context, TForm14& separate, QWidget* parent)
    : QWidget(parent, Qt::Tool), context_(context), separate_(separate) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("任意点円弧滑り検討テーブル"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->addTab(BuildSliceTab(), QStringLiteral("Ⅲ．滑り円弧ｽﾗｲｽ荷重"));
    tabs_->addTab(BuildLoadTab(), QStringLiteral("Ⅳ．滑り円弧荷重"));
    tabs_->addTab(BuildFigureTab(), QStringLiteral("Ⅴ．任意点滑り円"));
    layout->addWidget(tabs_);
    setFixedSize(kWindowSize);

    connect(&separate_, &TForm14::PointClicked, this, &TForm16::Evaluate);
    connect(&separate_, &TForm14::NavigationRequested, this, [this](TChartCommand command) {
        NavigateOwnChart(command);
        separate_.NavigateOwnChart(command);
    });
    connect(separate_.Chart(), &TChartView::PointerMoved, this, &TForm16::ShowPointer);
    ShowResults();
}

QWidget* TForm16::BuildSliceTab() {
    auto* page = new QWidget(this);
    auto* column = Column(page);
    auto* topBox = new QWidget(page);
    auto* top = new QHBoxLayout(topBox);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    sliceHeading_ = MakeResultList(topBox, QStringLiteral("ListBox1"));
    sliceLegend_ = MakeResultList(topBox, QStringLiteral("ListBox11"));
    sliceNote_ = MakeResultList(topBox, QStringLiteral("ListBox12"));
    top->addWidget(sliceHeading_, 1);
    top->addWidget(sliceLegend_, 1);
    top->addWidget(sliceNote_, 1);
    topBox->setFixedHeight(130);
    column->addWidget(topBox);
    slices_ = MakeResultGrid(page, QStringLiteral("StringGrid5"));
    column->addWidget(slices_, 1);
    return page;
}

QWidget* TForm16::BuildLoadTab() {
    auto* page = new QWidget(this);
    auto* column = Column(page);
    auto* topBox = new QWidget(page);
    auto* top = new QHBoxLayout(topBox);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    loadHeading_ = MakeResultList(topBox, QStringLiteral("ListBox7"));
    loadLegend_ = MakeResultList(topBox, QStringLiteral("ListBox8"));
    loadFormula_ = MakeResultList(topBox, QStringLiteral("ListBox10"));
    top->addWidget(loadHeading_, 1);
    top->addWidget(loadLegend_, 1);
    top->addWidget(loadFormula_, 1);
    topBox->setFixedHeight(170);
    column->addWidget(topBox);
    loads_ = MakeResultGrid(page, QStringLiteral("StringGrid2"));
    column->addWidget(loads_, 1);
    return page;
}

QWidget* TForm16::BuildFigureTab() {
    auto* page = new QWidget(this);
    auto* column = Column(page);

    auto* top = new QHBoxLayout;
    auto* help = new QVBoxLayout;
    help->setSpacing(2);
    help->addWidget(HelpPanel(page, QStringLiteral("[左ボタン]：クリックで任意点すべり円計算"),
                              QStringLiteral("LeftButtonHelp")));
    help->addWidget(HelpPanel(page, QStringLiteral("[右ボタン]：地形ドラッグで地形移動"),
                              QStringLiteral("RightButtonHelp")));
    top->addLayout(help);
    top->addStretch(1);
    pointer_ = new TPointerDisplay(page);
    top->addWidget(pointer_);
    column->addLayout(top);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(4);
    chart_ = new TChartView(page);
    chart_->setObjectName(QStringLiteral("Chart2"));
    chart_->setToolTip(
        QStringLiteral("左クリック：任意点すべり円表示、右ボタン地形をドラッグ：移動"));
    QFont chartFont(QStringLiteral("ＭＳ Ｐ明朝"));
    chartFont.setPixelSize(12);
    chart_->SetAxisFont(chartFont);
    chart_->SetRestoreMode(TChartView::TRestoreMode::Automatic);
    chart_->SetSquarePlot(true);
    middle->addWidget(chart_, 1);

    auto* right = new QWidget(page);
    right->setFixedWidth(340);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(4);
    judgementLabel_ = new QLabel(right);
    judgementLabel_->setObjectName(QStringLiteral("Panel6"));
    judgementLabel_->setAlignment(Qt::AlignCenter);
    judgementLabel_->setFrameShape(QFrame::Panel);
    judgementLabel_->setFrameShadow(QFrame::Raised);
    QFont big = judgementLabel_->font();
    big.setPointSize(14);
    big.setBold(true);
    judgementLabel_->setFont(big);
    judgementLabel_->setMinimumHeight(34);
    judgement_ = MakeResultList(right, QStringLiteral("ListBox4"));
    rightColumn->addWidget(judgementLabel_);
    rightColumn->addWidget(judgement_, 1);

    auto* entry = new QGroupBox(QStringLiteral("任意点円弧座標入力"), right);
    entry->setObjectName(QStringLiteral("CentreEntryGroup"));
    auto* entryRow = new QHBoxLayout(entry);
    entryRow->setContentsMargins(6, 2, 6, 4);
    xo_ = new QLineEdit(QStringLiteral("0.00"), entry);
    xo_->setObjectName(QStringLiteral("Edit1"));
    xo_->setToolTip(QStringLiteral("ｽﾍﾞﾘ円中心X座標入力"));
    yo_ = new QLineEdit(QStringLiteral("0.00"), entry);
    yo_->setObjectName(QStringLiteral("Edit2"));
    yo_->setToolTip(QStringLiteral("ｽﾍﾞﾘ円中心Y座標入力"));
    start_ = new QToolButton(entry);
    start_->setObjectName(QStringLiteral("SpeedButton1"));
    start_->setText(QStringLiteral("計算"));
    start_->setToolTip(QStringLiteral("任意ｽﾍﾞﾘ円計算開始"));
    entryRow->addWidget(new QLabel(QStringLiteral("Xo="), entry));
    entryRow->addWidget(xo_, 1);
    entryRow->addWidget(new QLabel(QStringLiteral("Yo="), entry));
    entryRow->addWidget(yo_, 1);
    entryRow->addWidget(start_);
    rightColumn->addWidget(entry);
    middle->addWidget(right);
    column->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    auto* navigation = new TNavigationButtons(page);
    bottom->addWidget(navigation);
    fontSize_ = MakeFontSizeSlider(page);
    bottom->addWidget(fontSize_);
    auto* separate = new QToolButton(page);
    separate->setObjectName(QStringLiteral("SeparateWindowButton"));
    separate->setText(QStringLiteral("別窓"));
    separate->setToolTip(QStringLiteral("別ウィンドウを開く"));
    separate->setFixedHeight(26);
    bottom->addWidget(separate);
    bottom->addStretch(1);
    column->addLayout(bottom);

    connect(chart_, &TChartView::PointerMoved, this, &TForm16::ShowPointer);
    connect(chart_, &TChartView::Clicked, this, [this](double x, double y, Qt::MouseButton button) {
        if (button == Qt::LeftButton) Evaluate(x, y);
    });
    connect(navigation, &TNavigationButtons::Command, this, [this](TChartCommand command) {
        NavigateOwnChart(command);
        separate_.NavigateOwnChart(command);
    });
    connect(fontSize_, &QSlider::valueChanged, this, [this](int size) {
        SetResultLabelFontSize(context_.ArbitraryChart, size);
        chart_->update();
    });
    connect(separate, &QToolButton::clicked, this,
            [this] { separate_.ShowCopyOf(context_.ArbitraryChart); });
    connect(start_, &QToolButton::clicked, this, &TForm16::EvaluateTypedCentre);
    connect(xo_, &QLineEdit::returnPressed, this, &TForm16::EvaluateTypedCentre);
    connect(yo_, &QLineEdit::returnPressed, this, &TForm16::EvaluateTypedCentre);
    return page;
}

void TForm16::ShowResults() {
    const TArbitraryTables& t = context_.Arbitrary;
    ShowCells(slices_, t.SliceTable);
    ShowLines(sliceHeading_, t.SliceHeadingList);
    ShowLines(sliceLegend_, t.SliceLegendList);
    ShowLines(sliceNote_, t.SliceNoteList);
    ShowCells(loads_, t.LoadTable);
    ShowLines(loadHeading_, t.LoadHeadingList);
    ShowLines(loadLegend_, t.LoadLegendList);
    ShowLines(loadFormula_, t.LoadFormulaList);
    ShowLines(judgement_, t.JudgementList);
    judgementLabel_->setText(Q(t.JudgementLabel.Text));
    SetCaptionColour(judgementLabel_, t.JudgementLabel);
    SetResultLabelFontSize(context_.ArbitraryChart, fontSize_->value());
    chart_->SetModel(&context_.ArbitraryChart);
}

void TForm16::Evaluate(double xo, double yo) {
    xo_->setText(Q(FormatFloat("0.00", xo)));
    yo_->setText(Q(FormatFloat("0.00", yo)));
    try {
        EvaluateArbitraryPoint(context_.Design, xo, yo, context_.Arbitrary, context_.ArbitraryChart,
                               &separate_.Model());
    } catch (const std::exception& e) {
        // A design text that does not convert: the platform's conversion error.
        QMessageBox::warning(this, QString::fromUtf8(kApplicationTitle),
                             QString::fromStdString(e.what()));
        return;
    }
    ShowResults();
    separate_.Chart()->update();
}

void TForm16::EvaluateTypedCentre() {
    const auto x = TryStrToFloat(S(xo_->text()));
    const auto y = TryStrToFloat(S(yo_->text()));
    if (!x || !y) return;
    Evaluate(*x, *y);
}

void TForm16::NavigateOwnChart(TChartCommand command) {
    NavigateChart(context_.ArbitraryChart, command);
    chart_->update();
}

void TForm16::ShowPointer(double x, double y) {
    pointer_->Show(x, y);
    separate_.Pointer()->Show(x, y);
}

void TForm16::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tabs_->setCurrentIndex(tabFigure);
}

}  // namespace sorvanta::gui
