#include "TForm2.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ResultViews.h"
#include "TChartView.h"
#include "TForm13.h"
#include "Texts.h"
#include "run/AppState.h"

namespace sorvanta::gui {

namespace {

constexpr QSize kWindowSize(960, 680);

QGroupBox* Group(QWidget* parent, const QString& caption, const QString& name = {}) {
    auto* group = new QGroupBox(caption, parent);
    if (!name.isEmpty()) group->setObjectName(name);
    return group;
}

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

TForm2::TForm2(TAppState& context, QWidget* parent) : QWidget(parent, Qt::Tool), context_(context) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("計算結果テーブル"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->addTab(BuildDesignTab(), QStringLiteral("Ⅰ．設計条件"));
    tabs_->addTab(BuildSafetyFactorTab(), QStringLiteral("Ⅱ．安全率の計算"));
    tabs_->addTab(BuildSliceTab(), QStringLiteral("Ⅲ．滑り円弧ｽﾗｲｽ荷重"));
    tabs_->addTab(BuildLoadTab(), QStringLiteral("Ⅳ．滑り円弧荷重"));
    tabs_->addTab(BuildFigureTab(), QStringLiteral("Ⅴ．滑り円弧図(最少安全率)"));
    layout->addWidget(tabs_);
    setFixedSize(kWindowSize);
    ShowResults();
}

QWidget* TForm2::BuildDesignTab() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);

    auto* contentsGroup = Group(page, QStringLiteral("総目次"));
    contents_ = MakeResultList(contentsGroup, QStringLiteral("ListBox20"));
    Column(contentsGroup)->addWidget(contents_);
    contentsGroup->setFixedWidth(330);
    row->addWidget(contentsGroup);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(4);
    auto* layerGroup = Group(page, QStringLiteral("１．地層設定"));
    layerSettings_ = MakeResultList(layerGroup, QStringLiteral("ListBox6"));
    layerSettings_->setFixedHeight(72);
    Column(layerGroup)->addWidget(layerSettings_);
    middle->addWidget(layerGroup);

    auto* soilGroup = Group(page, QStringLiteral("２．土質データ"));
    soilData_ = MakeResultGrid(soilGroup, QStringLiteral("StringGrid3"));
    soilData_->setFixedHeight(6 * 17 + 24);
    soilLegend_ = MakeResultList(soilGroup, QStringLiteral("ListBox5"));
    soilLegend_->setFixedHeight(70);
    auto* soilColumn = Column(soilGroup);
    soilColumn->addWidget(soilData_);
    soilColumn->addWidget(soilLegend_);
    middle->addWidget(soilGroup);

    auto* conditionsGroup = Group(page, QStringLiteral("３．計算条件"));
    conditions_ = MakeResultList(conditionsGroup, QStringLiteral("ListBox2"));
    Column(conditionsGroup)->addWidget(conditions_);
    middle->addWidget(conditionsGroup, 1);
    row->addLayout(middle, 1);

    auto* coordinateGroup = Group(page, QStringLiteral("４．座標データ"));
    auto* coordinateColumns = new QHBoxLayout(coordinateGroup);
    coordinateColumns->setContentsMargins(4, 4, 4, 4);
    coordinates1_ = MakeResultGrid(coordinateGroup, QStringLiteral("StringGrid4"));
    coordinates2_ = MakeResultGrid(coordinateGroup, QStringLiteral("StringGrid6"));
    for (QTableWidget* grid : {coordinates1_, coordinates2_}) {
        grid->setFixedWidth(3 * 48 + 22);
        coordinateColumns->addWidget(grid);
    }
    row->addWidget(coordinateGroup);
    return page;
}

QWidget* TForm2::BuildSafetyFactorTab() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);

    resultGroup_ = Group(page, QStringLiteral("計算結果"), QStringLiteral("GroupBox11"));
    formula_ = MakeResultList(resultGroup_, QStringLiteral("ListBox9"));
    result_ = MakeResultList(resultGroup_, QStringLiteral("ListBox1"));
    auto* column = Column(resultGroup_);
    column->addWidget(formula_, 2);
    column->addWidget(result_, 3);
    for (QWidget* list : {formula_, result_}) KeepOwnTextColour(list);
    row->addWidget(resultGroup_, 1);

    auto* centreGroup = Group(page, QStringLiteral("表：滑り円中心座標と安全率"));
    centre_ = MakeResultGrid(centreGroup, QStringLiteral("StringGrid1"));
    Column(centreGroup)->addWidget(centre_);
    centreGroup->setFixedWidth(470);
    row->addWidget(centreGroup);
    return page;
}

QWidget* TForm2::BuildSliceTab() {
    auto* page = new QWidget(this);
    auto* column = Column(page);
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    auto* legendPanel = Group(page, QStringLiteral("凡例"), QStringLiteral("LegendPanel"));
    sliceHeading_ = MakeResultList(legendPanel, QStringLiteral("ListBox4"));
    Column(legendPanel)->addWidget(sliceHeading_);
    legendPanel->setFixedWidth(260);
    sliceLegend_ = MakeResultList(page, QStringLiteral("ListBox11"));
    sliceNote_ = MakeResultList(page, QStringLiteral("ListBox12"));
    top->addWidget(legendPanel);
    top->addWidget(sliceLegend_, 1);
    top->addWidget(sliceNote_, 1);
    auto* topBox = new QWidget(page);
    topBox->setLayout(top);
    top->setContentsMargins(0, 0, 0, 0);
    topBox->setFixedHeight(130);
    column->addWidget(topBox);
    slices_ = MakeResultGrid(page, QStringLiteral("StringGrid5"));
    column->addWidget(slices_, 1);
    return page;
}

QWidget* TForm2::BuildLoadTab() {
    auto* page = new QWidget(this);
    auto* column = Column(page);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    loadHeading_ = MakeResultList(page, QStringLiteral("ListBox7"));
    loadLegend_ = MakeResultList(page, QStringLiteral("ListBox8"));
    loadFormula_ = MakeResultList(page, QStringLiteral("ListBox10"));
    top->addWidget(loadHeading_, 1);
    top->addWidget(loadLegend_, 1);
    top->addWidget(loadFormula_, 1);
    auto* topBox = new QWidget(page);
    topBox->setLayout(top);
    topBox->setFixedHeight(170);
    column->addWidget(topBox);
    loads_ = MakeResultGrid(page, QStringLiteral("StringGrid2"));
    column->addWidget(loads_, 1);
    return page;
}

QWidget* TForm2::BuildFigureTab() {
    auto* page = new QWidget(this);
    auto* column = Column(page);

    auto* top = new QHBoxLayout;
    auto* help = new QVBoxLayout;
    help->setSpacing(2);
    help->addWidget(HelpPanel(page,
                              QStringLiteral("[左ボタン]：右下ドラッグで拡大、左上ドラッグで縮小"),
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
    chart_->setObjectName(QStringLiteral("Chart1"));
    QFont chartFont(QStringLiteral("ＭＳ Ｐ明朝"));
    chartFont.setPixelSize(12);
    chart_->SetAxisFont(chartFont);
    chart_->SetRestoreMode(TChartView::TRestoreMode::Automatic);
    chart_->SetSquarePlot(true);
    middle->addWidget(chart_, 1);

    auto* judgementPanel = Group(page, QStringLiteral("判定"), QStringLiteral("JudgementPanel"));
    judgementPanel->setFixedWidth(340);
    auto* judgementColumn = Column(judgementPanel);
    judgementLabel_ = new QLabel(judgementPanel);
    judgementLabel_->setObjectName(QStringLiteral("Panel5"));
    judgementLabel_->setAlignment(Qt::AlignCenter);
    judgementLabel_->setFrameShape(QFrame::Panel);
    judgementLabel_->setFrameShadow(QFrame::Sunken);
    QFont big = judgementLabel_->font();
    big.setPointSize(14);
    big.setBold(true);
    judgementLabel_->setFont(big);
    judgementLabel_->setMinimumHeight(34);
    judgement_ = MakeResultList(judgementPanel, QStringLiteral("ListBox3"));
    judgementColumn->addWidget(judgementLabel_);
    judgementColumn->addWidget(judgement_, 1);
    middle->addWidget(judgementPanel);
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
    auto* arbitrary = new QPushButton(QStringLiteral("任意点円弧滑り表示"), page);
    arbitrary->setObjectName(QStringLiteral("ArbitraryButton"));
    arbitrary->setToolTip(QStringLiteral("任意点円弧滑りﾃｰﾌﾞﾙ表示"));
    bottom->addWidget(arbitrary);
    column->addLayout(bottom);

    connect(chart_, &TChartView::PointerMoved, pointer_, &TPointerDisplay::Show);
    connect(navigation, &TNavigationButtons::Command, this, [this](TChartCommand command) {
        NavigateOwnChart(command);
        if (separate_) separate_->NavigateOwnChart(command);
    });
    connect(fontSize_, &QSlider::valueChanged, this, [this](int size) {
        SetResultLabelFontSize(context_.ResultChart, size);
        SetResultLabelFontSize(trialChart_, size);
        chart_->update();
    });
    connect(separate, &QToolButton::clicked, this, &TForm2::OpenSeparateWindow);
    connect(arbitrary, &QPushButton::clicked, this, &TForm2::ArbitraryRequested);
    return page;
}

void TForm2::ShowResults() {
    const TResultTables& t = context_.Results;
    ShowLines(contents_, t.ContentsList);
    ShowLines(layerSettings_, t.LayerSettingsList);
    ShowCells(soilData_, t.SoilDataTable);
    ShowLines(soilLegend_, t.SoilLegendList);
    ShowLines(conditions_, t.CalculationConditionsList);
    ShowCells(coordinates1_, t.CoordinateTable1);
    ShowCells(coordinates2_, t.CoordinateTable2);
    ShowLines(formula_, t.FormulaList);
    ShowLines(result_, t.ResultList);
    resultGroup_->setTitle(Q(t.ResultCaption.Text));
    SetCaptionColour(resultGroup_, t.ResultCaption);
    ShowCells(centre_, t.CentreTable);
    ShowCells(slices_, t.SliceTable);
    ShowLines(sliceHeading_, t.SliceHeadingList);
    ShowLines(sliceLegend_, t.SliceLegendList);
    ShowLines(sliceNote_, t.SliceNoteList);
    ShowLines(loadHeading_, t.LoadHeadingList);
    ShowLines(loadLegend_, t.LoadLegendList);
    ShowLines(loadFormula_, t.LoadFormulaList);
    ShowCells(loads_, t.LoadTable);
    ShowLines(judgement_, t.JudgementList);
    judgementLabel_->setText(Q(t.JudgementLabel.Text));
    SetCaptionColour(judgementLabel_, t.JudgementLabel);
    // A run works on a copy of the chart; the slider's size is this window's.
    SetResultLabelFontSize(context_.ResultChart, fontSize_->value());
    chart_->SetModel(&context_.ResultChart);
}

void TForm2::ShowFigureTab() {
    tabs_->setCurrentIndex(tabFigure);
    show();
    raise();
}

void TForm2::ShowTrialChart(const TChartModel& chart) {
    trialChart_ = chart;
    SetResultLabelFontSize(trialChart_, fontSize_->value());
    if (chart_->Model() != &trialChart_) chart_->SetModel(&trialChart_);
    chart_->update();
}

void TForm2::EndTrialChart() {
    if (chart_->Model() == &trialChart_) chart_->SetModel(&context_.ResultChart);
}

void TForm2::NavigateOwnChart(TChartCommand command) {
    if (TChartModel* model = chart_->Model()) NavigateChart(*model, command);
    chart_->update();
}

void TForm2::OpenSeparateWindow() {
    if (!separate_) return;
    separate_->ShowCopyOf(*chart_->Model());
}

}  // namespace sorvanta::gui
