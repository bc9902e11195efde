#include "gui/ResultWindow.h"

#include <QComboBox>
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

#include "gui/BackcalcWindow.h"
#include "gui/ResultDiagramWindow.h"
#include "gui/ResultPages.h"
#include "gui/ResultViews.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "report/MethodTexts.h"
#include "run/AppState.h"
#include "text/NumberFormat.h"

namespace sorvanta::gui {

namespace {

constexpr QSize kWindowSize(960, 680);

QGroupBox* Group(QWidget* parent, const QString& caption, const QString& name = {}) {
    auto* group = new QGroupBox(caption, parent);
    if (!name.isEmpty()) group->setObjectName(name);
    return group;
}

}  // namespace

TResultWindow::TResultWindow(TAppState& context, QWidget* parent)
    : QWidget(parent, Qt::Tool), context_(context) {
    tabs_ =
        MakeResultWindowFrame(this, QStringLiteral("Form2"), QStringLiteral("計算結果テーブル"));
    tabs_->addTab(BuildDesignTab(), QStringLiteral("Ⅰ．設計条件"));
    tabs_->addTab(BuildSafetyFactorTab(), QStringLiteral("Ⅱ．安全率の計算"));
    tabs_->addTab(circle_.BuildSliceTab(this, QStringLiteral("ListBox4"),
                                        TCircleTabs::THeadingFrame::LegendGroup),
                  QStringLiteral("Ⅲ．滑り円弧ｽﾗｲｽ荷重"));
    tabs_->addTab(circle_.BuildLoadTab(this), QStringLiteral("Ⅳ．滑り円弧荷重"));
    tabs_->addTab(BuildFigureTab(), QStringLiteral("Ⅴ．滑り円弧図(最少安全率)"));
    tabs_->addTab(circle_.BuildMethodTab(this), QStringLiteral("Ⅵ．分割法の計算値"));
    tabs_->addTab(BuildComparisonTab(), QStringLiteral("分割法比較"));
    BuildCaseSelector();
    setFixedSize(kWindowSize);
    ShowResults();
}

void TResultWindow::BuildCaseSelector() {
    // In the tab row's corner, so that the tabs keep their size when it shows.
    auto* box = new QWidget(tabs_);
    box->setObjectName(QStringLiteral("CasePanel"));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 2, 2);
    row->setSpacing(4);
    row->addWidget(new QLabel(QStringLiteral("検討ケース"), box));
    caseSelector_ = new QComboBox(box);
    caseSelector_->setObjectName(QStringLiteral("CaseSelector"));
    caseSelector_->addItem(QStringLiteral("常時"));
    row->addWidget(caseSelector_);
    tabs_->setCornerWidget(box, Qt::TopRightCorner);
    box->hide();
    connect(caseSelector_, &QComboBox::activated, this, [this] { ShowResults(); });
}

void TResultWindow::UpdateCaseSelector() {
    const auto& seismic = context_.Report.SeismicCase;
    QWidget* box = tabs_->cornerWidget(Qt::TopRightCorner);
    if (!seismic) {
        caseSelector_->setCurrentIndex(0);
        while (caseSelector_->count() > 1) caseSelector_->removeItem(1);
        box->hide();
        return;
    }
    const double kh = seismic->Run.Model ? seismic->Run.Model->Loads.Kh : 0.0;
    const QString text = QStringLiteral("地震時 (kh=%1)").arg(Q(FormatFloat("0.00##", kh)));
    if (caseSelector_->count() < 2)
        caseSelector_->addItem(text);
    else
        caseSelector_->setItemText(1, text);
    box->show();
}

bool TResultWindow::SeismicShown() const {
    return caseSelector_->currentIndex() == 1 && context_.Report.SeismicCase;
}

const TCalculationReport& TResultWindow::ShownReport() const {
    return SeismicShown() ? *context_.Report.SeismicCase : context_.Report;
}

TChartModel& TResultWindow::ShownChart() {
    return SeismicShown() ? seismicChart_ : context_.Report.ResultChart;
}

QWidget* TResultWindow::BuildDesignTab() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);

    auto* contentsGroup = Group(page, QStringLiteral("総目次"));
    contents_ = MakeResultList(contentsGroup, QStringLiteral("ListBox20"));
    PaddedColumn(contentsGroup)->addWidget(contents_);
    contentsGroup->setFixedWidth(330);
    row->addWidget(contentsGroup);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(4);
    auto* layerGroup = Group(page, QStringLiteral("１．地層設定"));
    layerSettings_ = MakeResultList(layerGroup, QStringLiteral("ListBox6"));
    layerSettings_->setFixedHeight(72);
    PaddedColumn(layerGroup)->addWidget(layerSettings_);
    middle->addWidget(layerGroup);

    auto* soilGroup = Group(page, QStringLiteral("２．土質データ"));
    soilData_ = MakeResultGrid(soilGroup, QStringLiteral("StringGrid3"));
    soilData_->setFixedHeight(6 * 17 + 24);
    soilLegend_ = MakeResultList(soilGroup, QStringLiteral("ListBox5"));
    soilLegend_->setFixedHeight(70);
    auto* soilColumn = PaddedColumn(soilGroup);
    soilColumn->addWidget(soilData_);
    soilColumn->addWidget(soilLegend_);
    middle->addWidget(soilGroup);

    auto* conditionsGroup = Group(page, QStringLiteral("３．計算条件"));
    conditions_ = MakeResultList(conditionsGroup, QStringLiteral("ListBox2"));
    PaddedColumn(conditionsGroup)->addWidget(conditions_);
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

QWidget* TResultWindow::BuildSafetyFactorTab() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);

    resultGroup_ = Group(page, QStringLiteral("計算結果"), QStringLiteral("GroupBox11"));
    formula_ = MakeResultList(resultGroup_, QStringLiteral("ListBox9"));
    result_ = MakeResultList(resultGroup_, QStringLiteral("ListBox1"));
    auto* column = PaddedColumn(resultGroup_);
    column->addWidget(formula_, 2);
    column->addWidget(result_, 3);
    for (QWidget* list : {formula_, result_}) KeepOwnTextColour(list);
    row->addWidget(resultGroup_, 1);

    auto* centreGroup = Group(page, QStringLiteral("表：滑り円中心座標と安全率"));
    centre_ = MakeResultGrid(centreGroup, QStringLiteral("StringGrid1"));
    PaddedColumn(centreGroup)->addWidget(centre_);
    centreGroup->setFixedWidth(470);
    row->addWidget(centreGroup);
    return page;
}

QWidget* TResultWindow::BuildFigureTab() {
    auto* page = new QWidget(this);
    auto* column = PaddedColumn(page);
    pointer_ = AddChartHeader(page, column,
                              QStringLiteral("[左ボタン]：右下ドラッグで拡大、左上ドラッグで縮小"));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(4);
    chart_ = MakeResultChart(page, QStringLiteral("Chart1"));
    middle->addWidget(chart_, 1);

    auto* judgementPanel = Group(page, QStringLiteral("判定"), QStringLiteral("JudgementPanel"));
    judgementPanel->setFixedWidth(340);
    auto* judgementColumn = PaddedColumn(judgementPanel);
    judgementLabel_ = MakeJudgementLabel(judgementPanel, QStringLiteral("Panel5"), QFrame::Sunken);
    judgement_ = MakeResultList(judgementPanel, QStringLiteral("ListBox3"));
    judgementColumn->addWidget(judgementLabel_);
    judgementColumn->addWidget(judgement_, 1);
    middle->addWidget(judgementPanel);
    column->addLayout(middle, 1);

    const TChartControls controls = MakeChartControls(page);
    fontSize_ = controls.FontSize;
    auto* arbitrary = new QPushButton(QStringLiteral("任意点円弧滑り表示"), page);
    arbitrary->setObjectName(QStringLiteral("ArbitraryButton"));
    arbitrary->setToolTip(QStringLiteral("任意点円弧滑りﾃｰﾌﾞﾙ表示"));
    controls.Row->addWidget(arbitrary);
    auto* backcalc = new QPushButton(QStringLiteral("逆算"), page);
    backcalc->setObjectName(QStringLiteral("BackcalcButton"));
    backcalc->setToolTip(QStringLiteral("逆算法: 安全率 Fs0 を与える層の強度"));
    // Part of the full input set: the reduced window stays as it was.
    backcalc->setVisible(false);
    backcalcButton_ = backcalc;
    controls.Row->addWidget(backcalc);
    column->addLayout(controls.Row);

    connect(chart_, &TChartView::PointerMoved, pointer_, &TPointerDisplay::Show);
    connect(controls.Navigation, &TNavigationButtons::Command, this, [this](TChartCommand command) {
        NavigateOwnChart(command);
        if (separate_) separate_->NavigateOwnChart(command);
    });
    connect(fontSize_, &QSlider::valueChanged, this, [this](int size) {
        SetResultLabelFontSize(ShownChart(), size);
        SetResultLabelFontSize(trialChart_, size);
        chart_->update();
    });
    connect(controls.SeparateWindow, &QToolButton::clicked, this,
            &TResultWindow::OpenSeparateWindow);
    connect(arbitrary, &QPushButton::clicked, this, &TResultWindow::ArbitraryRequested);
    connect(backcalc, &QPushButton::clicked, this, [this] { ShowBackcalc(); });
    return page;
}

QWidget* TResultWindow::BuildComparisonTab() {
    return MakeListAndGridPage(this, comparisonHeading_, QStringLiteral("MethodComparisonList"),
                               comparison_, QStringLiteral("MethodComparisonGrid"));
}

void TResultWindow::SetFullInputSet(bool on) {
    fullInputSet_ = on;
    backcalcButton_->setVisible(on);
    ShowComparison();
}

void TResultWindow::ShowComparison() {
    const TRunResult& run = context_.Report.Run;
    const bool circle = run.HasCritical && run.Model;
    const bool shown = circle && (fullInputSet_ || run.Model->Method != TSliceMethodKind::Ordinary);
    tabs_->setTabVisible(tabComparison, shown);
    if (!shown) return;
    const TSlipCircle& c = run.Circle.Circle;
    ShowLines(comparisonHeading_,
              {"最少安全率の滑り円弧の安全率を", "各分割法で計算した結果を示す。",
               "  円弧中心X座標(Xo)=" + FormatFloat("0.00m;-0.00m", c.Xo),
               "  　々　　Y座標(Yo)=" + FormatFloat("0.00m;-0.00m", c.Yo),
               "  円弧半径     (R )=" + FormatFloat("0.00m", c.R), "", "＊:設計条件の分割法",
               "間隙水圧と地震時・載荷重の扱いは", "設計条件のとおり"});
    ShowCells(comparison_, MethodComparisonTable(CompareMethods(*run.Model, c), run.Model->Method));
}

void TResultWindow::ShowResults() {
    UpdateCaseSelector();
    const TCalculationReport& report = ShownReport();
    const TResultTables& t = report.Results;
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
    circle_.Show(t.Circle);
    tabs_->setTabVisible(tabMethods, t.Circle.MethodTable.RowCount() > 0);
    ShowComparison();
    ShowJudgement(judgementLabel_, judgement_, t.Circle);
    if (SeismicShown()) seismicChart_ = report.ResultChart;
    // A run works on a copy of the chart; the slider's size is this window's.
    SetResultLabelFontSize(ShownChart(), fontSize_->value());
    chart_->SetModel(&ShownChart());
    SetBackcalcCase();
}

TBackcalcWindow& TResultWindow::ShowBackcalc() {
    if (!backcalc_) {
        backcalc_ = new TBackcalcWindow(this);
        backcalc_->move(pos() + QPoint(40, 40));
        SetBackcalcCase();
    }
    backcalc_->show();
    backcalc_->raise();
    return *backcalc_;
}

void TResultWindow::SetBackcalcCase() {
    if (!backcalc_) return;
    const TRunResult& run = ShownReport().Run;
    std::optional<TSlipCircle> critical;
    if (run.HasCritical && run.Outcome == TRunOutcome::Ok)
        critical = TSlipCircle{run.Critical.Xo, run.Critical.Yo, run.Critical.R};
    backcalc_->SetCase(run.Model, critical, caseSelector_->currentText(),
                       context_.Design.DesignName);
}

void TResultWindow::ShowFigureTab() {
    tabs_->setCurrentIndex(tabFigure);
    show();
    raise();
}

void TResultWindow::ShowTrialChart(const TChartModel& chart) {
    trialChart_ = chart;
    SetResultLabelFontSize(trialChart_, fontSize_->value());
    if (chart_->Model() != &trialChart_) chart_->SetModel(&trialChart_);
    chart_->update();
}

void TResultWindow::EndTrialChart() {
    if (chart_->Model() == &trialChart_) chart_->SetModel(&ShownChart());
}

void TResultWindow::NavigateOwnChart(TChartCommand command) {
    if (TChartModel* model = chart_->Model()) NavigateChart(*model, command);
    chart_->update();
}

void TResultWindow::OpenSeparateWindow() {
    if (!separate_) return;
    separate_->ShowCopyOf(*chart_->Model());
}

}  // namespace sorvanta::gui
