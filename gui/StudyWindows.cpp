#include "gui/StudyWindows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "design/DesignFile.h"
#include "design/Variations.h"
#include "engine/Progress.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "report/StudyCharts.h"
#include "run/Checks.h"
#include "text/NumberFormat.h"

namespace sorvanta::gui {

namespace {

// The study's progress, read by the window's timer: atomics only, as the
// study may report from its own thread.
class TStudyProgress : public TProgress {
  public:
    TStudyProgress(std::shared_ptr<std::atomic<bool>> cancel,
                   std::shared_ptr<std::atomic<int>> maximum,
                   std::shared_ptr<std::atomic<int>> position)
        : cancel_(std::move(cancel)),
          maximum_(std::move(maximum)),
          position_(std::move(position)) {}
    void SetMaximum(int maximum) override { *maximum_ = maximum; }
    void SetPosition(int position) override { *position_ = position; }
    void Step() override { ++*position_; }
    bool Cancelled() const override { return cancel_->load(std::memory_order_relaxed); }

  private:
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::shared_ptr<std::atomic<int>> maximum_, position_;
};

QLabel* Caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

TStudyWindow::TStudyWindow(TAppState& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      context_(context),
      cancel_(std::make_shared<std::atomic<bool>>(false)),
      maximum_(std::make_shared<std::atomic<int>>(0)),
      position_(std::make_shared<std::atomic<int>>(0)) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    inputs_ = new QWidget(this);
    row->addWidget(inputs_);
    row->addStretch();
    start_ = new QPushButton(QStringLiteral("開始"), this);
    start_->setObjectName(QStringLiteral("StartStudy"));
    start_->setToolTip(QStringLiteral("今の設計条件で検討を始めます"));
    stop_ = new QPushButton(QStringLiteral("中止"), this);
    stop_->setObjectName(QStringLiteral("StopStudy"));
    stop_->setToolTip(QStringLiteral("検討を止め、それまでの結果を表示します"));
    stop_->setEnabled(false);
    row->addWidget(start_);
    row->addWidget(stop_);
    layout->addLayout(row);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("StudyProgress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    layout->addWidget(progress_);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("StudySummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("StudyTabs"));
    layout->addWidget(tabs_, 1);

    connect(start_, &QPushButton::clicked, this, [this] {
        if (!running_) Start();
    });
    connect(stop_, &QPushButton::clicked, this, [this] { *cancel_ = true; });
    connect(&watcher_, &QFutureWatcher<void>::finished, this, [this] {
        ticker_.stop();
        SetRunning(false);
        if (auto done = std::move(done_)) done();
    });
    ticker_.setInterval(50);
    connect(&ticker_, &QTimer::timeout, this, [this] {
        progress_->setRange(0, std::max(maximum_->load(), 0));
        progress_->setValue(std::min(position_->load(), maximum_->load()));
    });
    resize(760, 640);
}

TStudyWindow::~TStudyWindow() {
    StopAndWait();
}

void TStudyWindow::StopAndWait() {
    if (!running_) return;
    *cancel_ = true;
    watcher_.waitForFinished();
    QCoreApplication::sendPostedEvents(&watcher_);
}

void TStudyWindow::closeEvent(QCloseEvent* event) {
    // A closed window leaves nothing running behind it.
    StopAndWait();
    event->accept();
}

void TStudyWindow::SetRunning(bool on) {
    running_ = on;
    start_->setEnabled(!on);
    stop_->setEnabled(on);
    inputs_->setEnabled(!on);
    if (!on) progress_->setRange(0, 1);
}

std::optional<TAnalysisModel> TStudyWindow::CheckedModel() {
    try {
        TCheckResult checks = CheckDesignConditions(context_.Design, context_.Options);
        if (!checks.Faults.empty()) {
            ShowProblem(checks.Faults.front());
            return std::nullopt;
        }
        return std::move(checks.Model);
    } catch (const ConversionError& e) {
        ShowProblem(LocateConversionError(context_.Design, e).what());
    } catch (const std::exception& e) {
        ShowProblem(e.what());
    }
    return std::nullopt;
}

void TStudyWindow::RunStudy(std::function<void()> work, std::function<void()> done) {
    *cancel_ = false;
    *maximum_ = 0;
    *position_ = 0;
    done_ = std::move(done);
    SetRunning(true);
    progress_->setRange(0, 0);  // busy until the study says how far it goes
    summary_->setStyleSheet({});
    summary_->setText(QStringLiteral("計算中..."));
    ticker_.start();
    watcher_.setFuture(QtConcurrent::run(std::move(work)));
}

void TStudyWindow::ShowProblem(const std::string& text) {
    summary_->setStyleSheet(QStringLiteral("color: red;"));
    summary_->setText(Q(text));
}

void TStudyWindow::ShowSummary(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << Q(line);
    summary_->setStyleSheet({});
    summary_->setText(list.join(QLatin1Char('\n')));
}

TChartView* TStudyWindow::AddChartTab(TChartModel& model, const QString& title,
                                      const QString& name) {
    auto* view = new TChartView(tabs_);
    view->setObjectName(name);
    view->SetModel(&model);
    tabs_->addTab(view, title);
    return view;
}

TSensitivityWindow::TSensitivityWindow(TAppState& context, QWidget* parent)
    : TStudyWindow(context, parent) {
    setObjectName(QStringLiteral("SensitivityWindow"));
    setWindowTitle(QStringLiteral("感度分析"));
    auto* form = new QHBoxLayout(inputs_);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(Caption("変化幅 ±", inputs_));
    range_ = new QSpinBox(inputs_);
    range_->setObjectName(QStringLiteral("SensitivityRange"));
    range_->setRange(1, 99);
    range_->setValue(20);
    range_->setSuffix(QStringLiteral(" %"));
    range_->setToolTip(QStringLiteral(
        "各入力を設計値から何%まで変えるか（地下水位は地表面の高低差に対する割合）"));
    form->addWidget(range_);
    form->addSpacing(16);
    form->addWidget(Caption("刻み数", inputs_));
    steps_ = new QSpinBox(inputs_);
    steps_->setObjectName(QStringLiteral("SensitivitySteps"));
    steps_->setRange(2, 101);
    steps_->setValue(11);
    steps_->setToolTip(QStringLiteral("変化幅の中で安全率を求める点の数（両端を含む）"));
    form->addWidget(steps_);

    spiderView_ =
        AddChartTab(spider_, QStringLiteral("スパイダー図"), QStringLiteral("SpiderChart"));
    tornadoView_ =
        AddChartTab(tornado_, QStringLiteral("トルネード図"), QStringLiteral("TornadoChart"));
    table_ = new QTableWidget(tabs_);
    table_->setObjectName(QStringLiteral("SensitivityTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabs_->addTab(table_, QStringLiteral("表"));
}

void TSensitivityWindow::Start() {
    std::optional<TAnalysisModel> model = CheckedModel();
    if (!model) return;
    const double range = range_->value() / 100.0;
    const int steps = steps_->value();
    const int threads = context_.Settings.Threads;
    auto result = std::make_shared<TSensitivityResult>();
    auto progress = std::make_shared<TStudyProgress>(cancel_, maximum_, position_);
    RunStudy([model = std::move(*model), result, progress, range, steps,
              threads] { *result = Sensitivity(model, range, steps, threads, progress.get()); },
             [this, result, range] { ShowResult(*result, range); });
}

void TSensitivityWindow::ShowResult(const TSensitivityResult& result, double range) {
    if (!result.BaseFs) {
        ShowProblem(result.Cancelled ? "中止しました。" : "該当する滑り方向の円弧が有りません。");
        return;
    }
    // Each input's range is in the table; the summary keeps to the design's Fs.
    std::vector<std::string> lines{SensitivitySummaryLines(result, range).front()};
    if (result.Cancelled) lines.emplace_back("中止しました（求まった点だけを示します）。");
    ShowSummary(lines);
    spider_ = SensitivitySpider(result);
    tornado_ = SensitivityTornado(result);
    spiderView_->SetModel(&spider_);
    tornadoView_->SetModel(&tornado_);

    const std::size_t steps = result.Lines.empty() ? 0 : result.Lines.front().Change.size();
    table_->clear();
    table_->setRowCount(static_cast<int>(result.Lines.size()));
    table_->setColumnCount(static_cast<int>(steps) + 2);
    QStringList header{QStringLiteral("入力"), QStringLiteral("設計値")};
    for (std::size_t k = 0; k < steps; ++k) {
        const double change = result.Lines.front().Change[k] * 100;
        header << Q((change > 0 ? "+" : "") + FormatFloat("0.#", change) + "%");
    }
    table_->setHorizontalHeaderLabels(header);
    for (std::size_t i = 0; i < result.Lines.size(); ++i) {
        const TSensitivityLine& line = result.Lines[i];
        const int r = static_cast<int>(i);
        table_->setItem(r, 0, new QTableWidgetItem(Q(VariationName(line.Input))));
        table_->setItem(r, 1, new QTableWidgetItem(Q(FormatFloat("0.###", line.Base))));
        for (std::size_t k = 0; k < line.Fs.size(); ++k) {
            const std::optional<double>& fs = line.Fs[k];
            auto* item =
                new QTableWidgetItem(fs ? Q(FormatFloat("0.000", *fs)) : QStringLiteral("―"));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, static_cast<int>(k) + 2, item);
        }
    }
    table_->resizeColumnsToContents();
}

TProbabilityWindow::TProbabilityWindow(TAppState& context, QWidget* parent)
    : TStudyWindow(context, parent) {
    setObjectName(QStringLiteral("ProbabilityWindow"));
    setWindowTitle(QStringLiteral("破壊確率"));
    auto* form = new QFormLayout(inputs_);
    form->setContentsMargins(0, 0, 0, 0);
    auto* numbers = new QHBoxLayout;
    samples_ = new QSpinBox(inputs_);
    samples_->setObjectName(QStringLiteral("Samples"));
    samples_->setRange(1, 1000000);
    samples_->setValue(1000);
    samples_->setToolTip(QStringLiteral("試行の数。試行ごとに最少安全率の円弧を探索します"));
    numbers->addWidget(samples_);
    numbers->addSpacing(16);
    numbers->addWidget(Caption("乱数の種", inputs_));
    seed_ = new QSpinBox(inputs_);
    seed_->setObjectName(QStringLiteral("Seed"));
    seed_->setRange(0, 2147483647);
    seed_->setValue(1);
    seed_->setToolTip(QStringLiteral("同じ種からは、スレッド数によらず同じ結果になります"));
    numbers->addWidget(seed_);
    numbers->addSpacing(16);
    latin_ = new QCheckBox(QStringLiteral("ラテン超方格法"), inputs_);
    latin_->setObjectName(QStringLiteral("LatinHypercube"));
    latin_->setToolTip(QStringLiteral("層別した標本で、少ない試行でも分布を均等に覆います"));
    numbers->addWidget(latin_);
    numbers->addStretch();
    form->addRow(QStringLiteral("試行回数"), numbers);
    variations_ = new QLineEdit(inputs_);
    variations_->setObjectName(QStringLiteral("VariationsEdit"));
    variations_->setMinimumWidth(460);
    variations_->setPlaceholderText(QStringLiteral(
        "空欄のときは、各層の c と tanφ を対数正規分布（変動係数 30%、10%）でばらつかせます"));
    variations_->setToolTip(QStringLiteral(
        "「;」で区切って指定します。例: c1=lognormal(20,6);tanphi1=lognormal(0.466,0.047);"
        "rho1=-0.5\n分布は normal(平均,標準偏差)、lognormal(平均,標準偏差)、uniform(下限,上限)。"
        "入力は cN、phiN、tanphiN、gammaN（N は層番号）、water（地下水位の上下）、"
        "rhoN は N層目の c と φ の相関係数。\n指定は設計条件のオプションとして保存されます。"));
    form->addRow(QStringLiteral("ばらつき"), variations_);
    ShowDesignVariations();

    histogramView_ =
        AddChartTab(histogram_, QStringLiteral("ヒストグラム"), QStringLiteral("HistogramChart"));
    convergenceView_ =
        AddChartTab(convergence_, QStringLiteral("収束"), QStringLiteral("ConvergenceChart"));
}

void TProbabilityWindow::ShowDesignVariations() {
    variations_->setText(Q(context_.Options.Variations));
}

void TProbabilityWindow::Start() {
    const std::string text = variations_->text().trimmed().toStdString();
    TVariations variations;
    if (!text.empty()) {
        if (auto problem = ReadVariations(variations, text)) {
            ShowProblem(*problem);
            return;
        }
    }
    std::optional<TAnalysisModel> model = CheckedModel();
    if (!model) return;
    std::vector<std::string> preface;
    if (text.empty()) {
        variations = DefaultVariations(*model);
        preface.push_back("各層の c と tanφ を対数正規分布でばらつかせます: " +
                          VariationsText(variations));
    }
    if (auto problem = VariationsProblem(*model, variations)) {
        ShowProblem(*problem);
        return;
    }
    // The design keeps what was studied: a save writes it, as the command
    // line's probability study reads it.
    context_.Options.Variations = text;

    TProbabilityOptions options;
    options.Samples = samples_->value();
    options.Seed = static_cast<std::uint64_t>(seed_->value());
    options.LatinHypercube = latin_->isChecked();
    options.Threads = context_.Settings.Threads;
    auto progress = std::make_shared<TStudyProgress>(cancel_, maximum_, position_);
    options.Progress = progress.get();
    struct TOutcome {
        TProbabilityResult Result;
        std::optional<TFosmResult> Fosm;
    };
    auto outcome = std::make_shared<TOutcome>();
    RunStudy(
        [model = std::move(*model), variations, options, progress, outcome] {
            outcome->Result = ProbabilityOfFailure(model, variations, options);
            if (!outcome->Result.Cancelled)
                outcome->Fosm = Fosm(model, variations, options.Threads);
        },
        [this, outcome, options, preface] {
            const TProbabilityResult& r = outcome->Result;
            if (r.Samples == 0) {
                ShowProblem(r.Cancelled ? "中止しました。" : "安全率の求まった試行が有りません。");
                return;
            }
            std::vector<std::string> lines = preface;
            const int done = r.Samples + r.NoCircle;
            for (std::string& line : ProbabilitySummaryLines(
                     r, outcome->Fosm, options.LatinHypercube, done, options.Seed))
                lines.push_back(std::move(line));
            if (r.Cancelled)
                lines.push_back("中止しました（" + std::to_string(done) +
                                " 回の試行までの結果です）。");
            ShowSummary(lines);
            histogram_ = FsHistogram(r);
            convergence_ = PfConvergence(r);
            histogramView_->SetModel(&histogram_);
            convergenceView_->SetModel(&convergence_);
        });
}

}  // namespace sorvanta::gui
