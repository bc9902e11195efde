#include "gui/BackcalcWindow.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "documents/BackcalcPdf.h"
#include "gui/JapaneseUi.h"
#include "gui/ResultPages.h"
#include "gui/ResultViews.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "text/Conversion.h"

namespace sorvanta::gui {

namespace {

constexpr QSize kWindowSize(960, 640);

QLineEdit* Edit(QWidget* parent, const QString& name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setFixedWidth(90);
    return edit;
}

QRadioButton* Radio(QWidget* parent, QButtonGroup* group, int id, const QString& text,
                    const QString& name) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    group->addButton(radio, id);
    return radio;
}

std::optional<double> Number(const QLineEdit* edit) {
    const auto value = TryStrToFloat(edit->text().trimmed().toStdString());
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

}  // namespace

TBackcalcWindow::TBackcalcWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("BackcalcWindow"));
    setWindowTitle(QStringLiteral("逆算"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    auto* inputs = new QGroupBox(QStringLiteral("入力"), this);
    auto* form = new QFormLayout(inputs);
    caseLabel_ = new QLabel(inputs);
    caseLabel_->setObjectName(QStringLiteral("CaseLabel"));
    form->addRow(QStringLiteral("検討ケース"), caseLabel_);
    fs0_ = Edit(inputs, QStringLiteral("Fs0Edit"), QStringLiteral("1.00"));
    form->addRow(QStringLiteral("すべり時の安全率 Fs0"), fs0_);
    layer_ = Edit(inputs, QStringLiteral("LayerEdit"), QStringLiteral("1"));
    form->addRow(QStringLiteral("強度が未知の層"), layer_);

    given_ = new QButtonGroup(inputs);
    auto* givenRow = new QHBoxLayout;
    givenRow->addWidget(Radio(inputs, given_, int(TBackcalcGiven::Cohesion),
                              QStringLiteral("c を与える"), QStringLiteral("GivenCohesion")));
    givenRow->addWidget(Radio(inputs, given_, int(TBackcalcGiven::Phi),
                              QStringLiteral("φ を与える"), QStringLiteral("GivenPhi")));
    given_->button(int(TBackcalcGiven::Cohesion))->setChecked(true);
    form->addRow(QStringLiteral("与える値"), givenRow);
    value_ = Edit(inputs, QStringLiteral("GivenValueEdit"), QStringLiteral("10"));
    auto* valueUnit = new QLabel(QStringLiteral("kN/m2"), inputs);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(value_);
    valueRow->addWidget(valueUnit);
    valueRow->addStretch(1);
    form->addRow(QStringLiteral("c または φ(度)"), valueRow);
    connect(given_, &QButtonGroup::idClicked, this, [valueUnit](int id) {
        valueUnit->setText(id == int(TBackcalcGiven::Cohesion) ? QStringLiteral("kN/m2")
                                                               : QStringLiteral("度"));
    });

    circle_ = new QButtonGroup(inputs);
    auto* circleRow = new QHBoxLayout;
    circleRow->addWidget(Radio(inputs, circle_, 0, QStringLiteral("最少安全率の円弧"),
                               QStringLiteral("CriticalCircle")));
    circleRow->addWidget(
        Radio(inputs, circle_, 1, QStringLiteral("中心を指定"), QStringLiteral("TypedCentre")));
    circle_->button(0)->setChecked(true);
    form->addRow(QStringLiteral("円弧"), circleRow);
    centreX_ = Edit(inputs, QStringLiteral("CentreXEdit"), {});
    centreY_ = Edit(inputs, QStringLiteral("CentreYEdit"), {});
    auto* centreRow = new QHBoxLayout;
    centreRow->addWidget(new QLabel(QStringLiteral("Xo"), inputs));
    centreRow->addWidget(centreX_);
    centreRow->addWidget(new QLabel(QStringLiteral("Yo"), inputs));
    centreRow->addWidget(centreY_);
    centreRow->addStretch(1);
    form->addRow(QStringLiteral("円弧中心"), centreRow);
    for (QLineEdit* edit : {centreX_, centreY_})
        connect(edit, &QLineEdit::textEdited, this,
                [this] { circle_->button(1)->setChecked(true); });

    auto* calculate = new QPushButton(QStringLiteral("逆算"), inputs);
    calculate->setObjectName(QStringLiteral("CalculateButton"));
    calculate->setDefault(true);
    savePdf_ = new QPushButton(QStringLiteral("PDF保存"), inputs);
    savePdf_->setObjectName(QStringLiteral("BackcalcPdfButton"));
    savePdf_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(calculate, 1);
    buttons->addWidget(savePdf_);
    form->addRow(buttons);
    connect(calculate, &QPushButton::clicked, this, &TBackcalcWindow::Calculate);
    connect(savePdf_, &QPushButton::clicked, this, &TBackcalcWindow::SavePdf);
    for (QLineEdit* edit : {fs0_, layer_, value_, centreX_, centreY_})
        connect(edit, &QLineEdit::returnPressed, this, &TBackcalcWindow::Calculate);
    left->addWidget(inputs);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("BackcalcMessage"));
    message_->setWordWrap(true);
    message_->setMinimumHeight(36);
    left->addWidget(message_);

    lines_ = MakeResultList(this, QStringLiteral("BackcalcLines"));
    lines_->setFixedHeight(100);
    left->addWidget(lines_);
    table_ = MakeResultGrid(this, QStringLiteral("BackcalcTable"));
    left->addWidget(table_, 1);
    auto* leftBox = new QWidget(this);
    leftBox->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    leftBox->setFixedWidth(400);
    row->addWidget(leftBox);

    chartView_ = MakeResultChart(this, QStringLiteral("BackcalcChart"));
    chart_.Title = "c と tanφ の関係";
    chartView_->SetModel(&chart_);
    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(chartView_, 1);
    // The window's chart has no axis titles of its own.
    auto* axes =
        new QLabel(QStringLiteral("横軸: 粘着力 c (kN/m2)　縦軸: tanφ　点: φ と逆算値"), this);
    axes->setObjectName(QStringLiteral("AxisCaption"));
    axes->setAlignment(Qt::AlignCenter);
    right->addWidget(axes);
    row->addLayout(right, 1);
    setFixedSize(kWindowSize);
}

void TBackcalcWindow::SetCase(std::shared_ptr<const TAnalysisModel> model,
                              std::optional<TSlipCircle> critical, const QString& caseName,
                              const std::string& designName) {
    designName_ = designName;
    model_ = std::move(model);
    critical_ = critical;
    caseLabel_->setText(caseName);
}

QString TBackcalcWindow::Message() const {
    return message_->text();
}

void TBackcalcWindow::ShowMessage(const QString& text, bool error) {
    message_->setText(text);
    QPalette palette = message_->palette();
    palette.setColor(QPalette::WindowText, error ? QColor(255, 0, 0) : QColor(0, 0, 255));
    message_->setPalette(palette);
}

void TBackcalcWindow::Calculate() {
    report_.reset();
    const int layers = model_ ? model_->LayersInUse() : 0;
    TBackcalcInputs inputs;
    inputs.Given = static_cast<TBackcalcGiven>(given_->checkedId());
    const auto fs0 = Number(fs0_);
    const auto layer = Number(layer_);
    const auto value = Number(value_);
    QString problem;
    if (!model_) {
        problem = QStringLiteral("計算結果が有りません。先に計算を実行して下さい。");
    } else if (!fs0) {
        problem = QStringLiteral("安全率 Fs0 を数値で入力して下さい。");
    } else if (!layer || *layer != std::floor(*layer)) {
        problem = QStringLiteral("層番号を整数で入力して下さい。");
    } else if (!value) {
        problem = inputs.Given == TBackcalcGiven::Cohesion
                      ? QStringLiteral("粘着力 c を数値で入力して下さい。")
                      : QStringLiteral("内部摩擦角 φ を数値で入力して下さい。");
    }
    std::optional<TSlipCircle> circle;
    if (problem.isEmpty()) {
        inputs.Fs0 = *fs0;
        inputs.Layer = *layer > 99 || *layer < -99 ? 0 : static_cast<int>(*layer);
        inputs.Value = *value;
        if (const TBackcalcProblem p = CheckBackcalcInputs(inputs, layers);
            p != TBackcalcProblem::None) {
            problem = Q(BackcalcProblemText(p, layers));
        } else if (circle_->checkedId() == 1) {
            const auto x = Number(centreX_);
            const auto y = Number(centreY_);
            if (!x || !y) {
                problem = QStringLiteral("円弧中心の座標 Xo、Yo を数値で入力して下さい。");
            } else if (!(circle = CircleAboutCentre(*model_, *x, *y))) {
                problem = QStringLiteral("その中心の円弧は有りません。");
            }
        } else if (!(circle = critical_)) {
            problem = Q(BackcalcProblemText(TBackcalcProblem::NoCircle, layers));
        }
    }
    if (!problem.isEmpty()) {
        ShowMessage(problem, true);
        ShowReport();
        return;
    }

    const TBackcalcOutcome outcome = BackcalcOn(*model_, *circle, inputs);
    if (outcome.Problem == TBackcalcProblem::None ||
        outcome.Problem == TBackcalcProblem::NoSolution)
        report_ = outcome.Report;
    if (outcome.Problem == TBackcalcProblem::None)
        ShowMessage(Q(outcome.Report.Lines.back()), false);
    else
        ShowMessage(Q(BackcalcProblemText(outcome.Problem, layers)), true);
    ShowReport();
}

void TBackcalcWindow::SavePdf() {
    if (!report_) return;
    QFileDialog dialog(this, QStringLiteral("逆算 PDF保存"), QDir::currentPath(),
                       QStringLiteral("pdf (*.pdf)"));
    dialog.setObjectName(QStringLiteral("BackcalcPdfDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString file = dialog.selectedFiles().front();
    try {
        WritePdfBackcalcPage(std::filesystem::path(file.toStdU16String()), *report_, designName_);
        ShowMessage(QStringLiteral("「%1」に保存しました。").arg(file), false);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()), true);
    }
}

void TBackcalcWindow::ShowReport() {
    savePdf_->setEnabled(report_.has_value());
    if (report_) {
        ShowLines(lines_, report_->Lines);
        ShowCells(table_, report_->Table);
        chart_ = report_->Chart;
    } else {
        ShowLines(lines_, {});
        ShowCells(table_, TCellTable(3, {64, 72, 96}, 17, "φ(度),tanφ,c(kN/m2)", 1));
        chart_ = TChartModel{};
        chart_.Title = "c と tanφ の関係";
    }
    chartView_->SetModel(&chart_);
    chartView_->update();
}

}  // namespace sorvanta::gui
