#include "gui/ArbitraryWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/ArbitraryDiagramWindow.h"
#include "gui/OutputMessages.h"
#include "gui/ResultPages.h"
#include "gui/ResultViews.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "report/ArbitraryReport.h"
#include "run/AppState.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"

namespace sorvanta::gui {

namespace {

constexpr QSize kWindowSize(920, 680);

}  // namespace

TArbitraryWindow::TArbitraryWindow(TAppState& context, TArbitraryDiagramWindow& separate,
                                   QWidget* parent)
    : QWidget(parent, Qt::Tool), context_(context), separate_(separate) {
    tabs_ = MakeResultWindowFrame(this, QStringLiteral("Form16"),
                                  QStringLiteral("任意点円弧滑り検討テーブル"));
    tabs_->addTab(
        circle_.BuildSliceTab(this, QStringLiteral("ListBox1"), TCircleTabs::THeadingFrame::Plain),
        QStringLiteral("Ⅲ．滑り円弧ｽﾗｲｽ荷重"));
    tabs_->addTab(circle_.BuildLoadTab(this), QStringLiteral("Ⅳ．滑り円弧荷重"));
    tabs_->addTab(BuildFigureTab(), QStringLiteral("Ⅴ．任意点滑り円"));
    tabs_->addTab(circle_.BuildMethodTab(this), QStringLiteral("Ⅵ．分割法の計算値"));
    setFixedSize(kWindowSize);

    connect(&separate_, &TArbitraryDiagramWindow::PointClicked, this, &TArbitraryWindow::Evaluate);
    connect(&separate_, &TArbitraryDiagramWindow::NavigationRequested, this,
            [this](TChartCommand command) {
                NavigateOwnChart(command);
                separate_.NavigateOwnChart(command);
            });
    connect(separate_.Chart(), &TChartView::PointerMoved, this, &TArbitraryWindow::ShowPointer);
    ShowResults();
}

QWidget* TArbitraryWindow::BuildFigureTab() {
    auto* page = new QWidget(this);
    auto* column = PaddedColumn(page);

    pointer_ =
        AddChartHeader(page, column, QStringLiteral("[左ボタン]：クリックで任意点すべり円計算"));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(4);
    chart_ = MakeResultChart(page, QStringLiteral("Chart2"));
    chart_->setToolTip(
        QStringLiteral("左クリック：任意点すべり円表示、右ボタン地形をドラッグ：移動"));
    middle->addWidget(chart_, 1);

    auto* right = new QWidget(page);
    right->setFixedWidth(340);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(4);
    judgementLabel_ = MakeJudgementLabel(right, QStringLiteral("Panel6"), QFrame::Raised);
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

    const TChartControls controls = MakeChartControls(page);
    fontSize_ = controls.FontSize;
    column->addLayout(controls.Row);

    connect(chart_, &TChartView::PointerMoved, this, &TArbitraryWindow::ShowPointer);
    connect(chart_, &TChartView::Clicked, this, [this](double x, double y, Qt::MouseButton button) {
        if (button == Qt::LeftButton) Evaluate(x, y);
    });
    connect(controls.Navigation, &TNavigationButtons::Command, this, [this](TChartCommand command) {
        NavigateOwnChart(command);
        separate_.NavigateOwnChart(command);
    });
    connect(fontSize_, &QSlider::valueChanged, this, [this](int size) {
        SetResultLabelFontSize(context_.Report.ArbitraryChart, size);
        chart_->update();
    });
    connect(controls.SeparateWindow, &QToolButton::clicked, this,
            [this] { separate_.ShowCopyOf(context_.Report.ArbitraryChart); });
    connect(start_, &QToolButton::clicked, this, &TArbitraryWindow::EvaluateTypedCentre);
    connect(xo_, &QLineEdit::returnPressed, this, &TArbitraryWindow::EvaluateTypedCentre);
    connect(yo_, &QLineEdit::returnPressed, this, &TArbitraryWindow::EvaluateTypedCentre);
    return page;
}

void TArbitraryWindow::ShowResults() {
    const TArbitraryTables& t = context_.Report.Arbitrary;
    circle_.Show(t.Circle);
    tabs_->setTabVisible(tabMethods, t.Circle.MethodTable.RowCount() > 0);
    ShowJudgement(judgementLabel_, judgement_, t.Circle);
    SetResultLabelFontSize(context_.Report.ArbitraryChart, fontSize_->value());
    chart_->SetModel(&context_.Report.ArbitraryChart);
}

void TArbitraryWindow::Evaluate(double xo, double yo) {
    xo_->setText(Q(FormatFloat("0.00", xo)));
    yo_->setText(Q(FormatFloat("0.00", yo)));
    const TDesignConditions design = context_.Design;
    const TAnalysisOptions options = context_.Options;
    try {
        WriteArbitraryReport(design, CalculateArbitraryPoint(design, options, xo, yo),
                             context_.Report, &separate_.Model(), context_.Drawing);
    } catch (const std::exception& e) {
        // A design text that does not convert: the platform's conversion error.
        // What the records hold now is of no design to be written out.
        context_.ArbitraryDesign.reset();
        context_.Report.ArbitraryPoint.reset();
        Warn(this, CoreMessageText(e.what()), QStringLiteral("ArbitraryPointError"));
        return;
    }
    context_.ArbitraryDesign = design;
    context_.ArbitraryOptions = options;
    context_.ArbitraryDrawing = context_.Drawing;
    ShowResults();
    separate_.Chart()->update();
}

void TArbitraryWindow::EvaluateTypedCentre() {
    const auto x = TryStrToFloat(S(xo_->text()));
    const auto y = TryStrToFloat(S(yo_->text()));
    if (!x || !y) return;
    Evaluate(*x, *y);
}

void TArbitraryWindow::NavigateOwnChart(TChartCommand command) {
    NavigateChart(context_.Report.ArbitraryChart, command);
    chart_->update();
}

void TArbitraryWindow::ShowPointer(double x, double y) {
    pointer_->Show(x, y);
    separate_.Pointer()->Show(x, y);
}

void TArbitraryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tabs_->setCurrentIndex(tabFigure);
}

}  // namespace sorvanta::gui
