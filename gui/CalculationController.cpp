#include "gui/CalculationController.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

#include "design/DesignFile.h"
#include "engine/Progress.h"
#include "gui/DesignWindow.h"
#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "run/AppState.h"
#include "text/Conversion.h"

namespace sorvanta::gui {

namespace {

using TCancelFlag = std::shared_ptr<std::atomic<bool>>;

bool AskQuestion(QWidget& parent, const QString& text) {
    return AskYesNo(&parent, QMessageBox::Question, text, QStringLiteral("RunQuestion"));
}

void ShowRunMessage(QWidget& parent, const QString& text) {
    Inform(&parent, text, QStringLiteral("RunMessage"));
}

// The checks' question and messages, on the window thread before the run
// starts; the messages are kept for the run's result.
class TWindowDialogs : public TUserDialogs {
  public:
    TWindowDialogs(QWidget& parent, std::vector<std::string>& messages)
        : parent_(parent), messages_(messages) {}
    bool Confirm(std::string_view question) override {
        return AskQuestion(parent_, CoreMessageText(question));
    }
    void ShowMessage(std::string_view message) override {
        messages_.emplace_back(message);
        ShowRunMessage(parent_, CoreMessageText(message));
    }

  private:
    QWidget& parent_;
    std::vector<std::string>& messages_;
};

// The run's messages, shown on the window thread while the run waits. Once
// the run is being stopped nothing more is shown.
class TThreadDialogs : public TUserDialogs {
  public:
    TThreadDialogs(QWidget& parent, TCancelFlag cancel)
        : parent_(parent), cancel_(std::move(cancel)) {}

    // The run asks nothing: its question is asked before it starts.
    bool Confirm(std::string_view /*question*/) override { return false; }

    void ShowMessage(std::string_view message) override {
        if (*cancel_) return;
        const QString text = CoreMessageText(message);
        QMetaObject::invokeMethod(
            &parent_,
            [&] {
                if (*cancel_) return;
                ShowRunMessage(parent_, text);
            },
            Qt::BlockingQueuedConnection);
    }

  private:
    QWidget& parent_;
    TCancelFlag cancel_;
};

// Progress of the run, posted to the design window; the run never waits.
// With 計算過程表示 each trial circle's chart goes to the feed.
class TThreadProgress : public TProgress {
  public:
    TThreadProgress(TDesignWindow& form, TCancelFlag cancel, TCalculationController& controller,
                    TTrialCircleFeed& feed, const TChartModel& chart)
        : form_(form),
          cancel_(std::move(cancel)),
          controller_(controller),
          feed_(feed),
          chart_(chart) {}

    // The posted calls hold the window, never this object: a stopped run's
    // last posts may be served after the run's objects are gone.
    void SetMaximum(int maximum) override {
        Post([f = &form_, maximum] { f->SetProgressMaximum(maximum); });
    }
    void SetPosition(int position) override {
        Post([f = &form_, position] { f->SetProgressPosition(position); });
    }
    void Step() override {
        Post([f = &form_] { f->StepProgress(); });
    }
    void SetStatusText(const std::string& text) override {
        Post([f = &form_, t = QString::fromStdString(text)] { f->SetStatusText(t); });
    }
    bool Cancelled() const override { return cancel_->load(std::memory_order_relaxed); }
    void SearchStarted() override {
        QMetaObject::invokeMethod(
            &controller_, [c = &controller_] { emit c->SearchStarted(); }, Qt::QueuedConnection);
    }
    // The run has just drawn the circle into its result chart.
    void TrialCircle(const TAnalysisModel&, const TSlipCircle&, const TCircleEvaluation&) override {
        feed_.Publish(chart_);
    }

  private:
    template <class F>
    void Post(F f) {
        QMetaObject::invokeMethod(&form_, std::move(f), Qt::QueuedConnection);
    }
    TDesignWindow& form_;
    TCancelFlag cancel_;
    TCalculationController& controller_;
    TTrialCircleFeed& feed_;
    const TChartModel& chart_;
};

}  // namespace

// Everything one run reads and writes, owned by the controller until the run
// has ended.
struct TCalculationController::TJob {
    TJob(const TAppState& app, TDesignWindow& form, TCancelFlag cancel,
         TCalculationController& controller, TTrialCircleFeed& feed)
        : Design(app.Design),
          Options(app.Options),
          Drawing(app.Drawing),
          Report(app.Report),
          Dialogs(form, cancel),
          Progress(form, cancel, controller, feed, Report.ResultChart),
          Settings(app.Settings) {}

    // The windows decide from the run's outcome what to show afterwards.
    TRunContext Context() {
        return TRunContext{Design, Options, Report, Dialogs, &Progress, Settings, Drawing};
    }

    TDesignConditions Design;
    TAnalysisOptions Options;
    TDrawingOptions Drawing;
    TCalculationReport Report;  // the run writes a copy, kept if it wrote
    TThreadDialogs Dialogs;
    TThreadProgress Progress;
    TRunSettings Settings;
    TRunResult Result;
    std::string Error;  // the conversion error that stopped the run
};

TCalculationController::TCalculationController(TAppState& context, TDesignWindow& designWindow,
                                               QObject* parent)
    : QObject(parent), context_(context), designWindow_(designWindow) {
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &TCalculationController::OnFinished);
    frameTimer_.setInterval(16);
    connect(&frameTimer_, &QTimer::timeout, this, &TCalculationController::OnFrame);
}

TCalculationController::~TCalculationController() {
    StopAndWait();
}

void TCalculationController::Start() {
    if (running_) return;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    feed_.Reset();
    job_ = std::make_unique<TJob>(context_, designWindow_, cancel_, *this, feed_);
    running_ = true;
    if (context_.Design.ShowCalculationProcess) frameTimer_.start();
    designWindow_.SetRunning(true);
    emit RunningChanged(true);
    TJob* job = job_.get();
    // The checks and their question here, before the run's thread starts: the
    // run then needs no answer from this thread.
    std::shared_ptr<const TCheckResult> checks;
    try {
        auto checked = std::make_shared<TCheckResult>(CheckCalculation(job->Design, job->Options));
        TWindowDialogs dialogs(designWindow_, job->Result.Messages);
        if (PresentCheckResult(*checked, dialogs) == TCheckOutcome::Proceed)
            checks = std::move(checked);
        else
            job->Result.Outcome = TRunOutcome::Refused;
    } catch (const std::exception& e) {
        job->Error = e.what();
    }
    watcher_.setFuture(QtConcurrent::run([job, checks] {
        if (!checks) return;
        try {
            job->Result = RunCalculation(
                std::shared_ptr<const TAnalysisModel>(checks, &checks->Model), job->Context());
        } catch (const ConversionError& e) {
            job->Error = LocateConversionError(job->Design, e).what();
        } catch (const std::exception& e) {
            job->Error = e.what();
        }
    }));
}

void TCalculationController::Stop() {
    if (running_ && cancel_) *cancel_ = true;
}

void TCalculationController::StopAndWait() {
    if (!running_) return;
    Stop();
    // The run may be waiting for the window thread; keep serving it.
    while (!watcher_.isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    OnFinished();
}

void TCalculationController::OnFrame() {
    if (feed_.Take(frameChart_)) emit TrialChart(frameChart_);
}

void TCalculationController::OnFinished() {
    if (!running_ || !job_) return;
    // The last trial circle is shown even when the search ended within a frame.
    OnFrame();
    frameTimer_.stop();
    feed_.Reset();
    std::unique_ptr<TJob> job = std::move(job_);
    running_ = false;
    last_ = job->Result;

    const TRunOutcome outcome = job->Result.Outcome;
    const bool written =
        job->Error.empty() && (outcome == TRunOutcome::Ok || outcome == TRunOutcome::NoCircle ||
                               (outcome == TRunOutcome::Cancelled && job->Result.HasCritical));
    if (written) {
        context_.Report = std::move(job->Report);
        // The design and options as the run read them: edits made while it
        // ran make the results stale at once.
        context_.ResultsDesign = job->Design;
        context_.ArbitraryDesign = job->Design;
        context_.ResultsOptions = job->Options;
        context_.ArbitraryOptions = job->Options;
        context_.ResultsDrawing = job->Drawing;
        context_.ArbitraryDrawing = job->Drawing;
    }
    designWindow_.SetProgressPosition(0);
    designWindow_.SetRunning(false);
    emit RunningChanged(false);
    // The message has been read by now; the user is taken to the settings
    // that decide which circles qualify.
    if (job->Error.empty() && outcome == TRunOutcome::NoCircle)
        designWindow_.ShowCircleConditionsPage();

    if (!job->Error.empty()) {
        last_ = TRunResult{};
        Warn(&designWindow_, QString::fromStdString(job->Error), QStringLiteral("RunError"));
    } else if (outcome == TRunOutcome::Cancelled) {
        designWindow_.SetStatusText(QStringLiteral("計算を中止しました。"));
    }
    emit Finished();
}

}  // namespace sorvanta::gui
