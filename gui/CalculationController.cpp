#include "gui/CalculationController.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

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

// 自動計算: nothing is shown or asked while the user edits. The circle
// conditions are taken as confirmed (switching the item on asked for the
// runs); a fault refuses the run, and the run's own questions are answered No.
class TSilentDialogs : public TUserDialogs {
  public:
    explicit TSilentDialogs(std::vector<std::string>& messages) : messages_(messages) {}
    bool Confirm(std::string_view /*question*/) override { return false; }
    void ShowMessage(std::string_view message) override { messages_.emplace_back(message); }

  private:
    std::vector<std::string>& messages_;
};

// A live run reports no progress: only whether it is to stop.
class TSilentProgress : public TProgress {
  public:
    explicit TSilentProgress(TCancelFlag cancel) : cancel_(std::move(cancel)) {}
    bool Cancelled() const override { return cancel_->load(std::memory_order_relaxed); }

  private:
    TCancelFlag cancel_;
};

// The first line of a message, as the design window's chart shows it.
QString FirstLine(const std::string& message) {
    const QString text = CoreMessageText(message);
    return text.section(QLatin1Char('\n'), 0, 0).trimmed();
}

}  // namespace

// Everything one run reads and writes, owned by the controller until the run
// has ended.
struct TCalculationController::TJob {
    TJob(const TAppState& app, TDesignWindow& form, TCancelFlag cancel,
         TCalculationController& controller, TTrialCircleFeed& feed, bool live)
        : Design(app.Design),
          Options(app.Options),
          Drawing(app.Drawing),
          Report(app.Report),
          Settings(app.Settings),
          Live(live) {
        if (live) {
            Dialogs = std::make_unique<TSilentDialogs>(Result.Messages);
            Progress = std::make_unique<TSilentProgress>(cancel);
        } else {
            Dialogs = std::make_unique<TThreadDialogs>(form, cancel);
            Progress = std::make_unique<TThreadProgress>(form, cancel, controller, feed,
                                                         Report.ResultChart);
        }
    }

    // The windows decide from the run's outcome what to show afterwards.
    TRunContext Context() {
        return TRunContext{Design, Options, Report, *Dialogs, Progress.get(), Settings, Drawing};
    }

    TDesignConditions Design;
    TAnalysisOptions Options;
    TDrawingOptions Drawing;
    TCalculationReport Report;  // the run writes a copy, kept if it wrote
    std::unique_ptr<TUserDialogs> Dialogs;
    std::unique_ptr<TProgress> Progress;
    TRunSettings Settings;
    bool Live = false;
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
    if (running_) {
        if (live_) {
            startAfter_ = true;
            liveAgain_ = false;
            Stop();
        }
        return;
    }
    Launch(false);
}

void TCalculationController::StartLive() {
    if (running_) {
        if (live_ && !startAfter_) {
            liveAgain_ = true;
            Stop();
        }
        return;
    }
    Launch(true);
}

void TCalculationController::DiscardLive() {
    if (!running_ || !live_) return;
    liveAgain_ = false;
    discard_ = true;
    Stop();
}

void TCalculationController::Launch(bool live) {
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    feed_.Reset();
    job_ = std::make_unique<TJob>(context_, designWindow_, cancel_, *this, feed_, live);
    running_ = true;
    live_ = live;
    TJob* job = job_.get();
    if (live) {
        // The checks build the model: on the run's thread too, so that typing
        // never waits for them.
        watcher_.setFuture(QtConcurrent::run([job] {
            try {
                auto checked =
                    std::make_shared<TCheckResult>(CheckCalculation(job->Design, job->Options));
                for (const std::string& fault : checked->Faults)
                    job->Result.Messages.push_back(fault);
                if (!checked->Faults.empty()) {
                    job->Result.Outcome = TRunOutcome::Refused;
                    return;
                }
                job->Result =
                    RunCalculation(std::shared_ptr<const TAnalysisModel>(checked, &checked->Model),
                                   job->Context());
            } catch (const ConversionError& e) {
                job->Error = LocateConversionError(job->Design, e).what();
            } catch (const std::exception& e) {
                job->Error = e.what();
            }
        }));
        return;
    }
    if (context_.Design.ShowCalculationProcess) frameTimer_.start();
    designWindow_.SetRunning(true);
    emit RunningChanged(true);
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
    liveAgain_ = false;
    startAfter_ = false;
    Stop();
    // The run may be waiting for the window thread; keep serving it.
    while (!watcher_.isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    OnFinished();
}

void TCalculationController::OnFrame() {
    if (feed_.Take(frameChart_)) emit TrialChart(frameChart_);
}

bool TCalculationController::Written(const TJob& job) {
    const TRunOutcome outcome = job.Result.Outcome;
    return job.Error.empty() && (outcome == TRunOutcome::Ok || outcome == TRunOutcome::NoCircle ||
                                 (outcome == TRunOutcome::Cancelled && job.Result.HasCritical));
}

void TCalculationController::Keep(TJob& job) {
    context_.Report = std::move(job.Report);
    // The design and options as the run read them: edits made while it
    // ran make the results stale at once.
    context_.ResultsDesign = job.Design;
    context_.ArbitraryDesign = job.Design;
    context_.ResultsOptions = job.Options;
    context_.ArbitraryOptions = job.Options;
    context_.ResultsDrawing = job.Drawing;
    context_.ArbitraryDrawing = job.Drawing;
}

void TCalculationController::OnLiveFinished(TJob& job, bool discarded) {
    const bool again = std::exchange(liveAgain_, false);
    const bool start = std::exchange(startAfter_, false);
    // A stopped live run is only ever replaced: what it found is of a design
    // already edited further, and the next run (or none) decides what shows.
    if (!discarded && job.Result.Outcome != TRunOutcome::Cancelled) {
        lastLive_ = true;
        last_ = job.Result;
        refusal_.clear();
        if (!job.Error.empty()) {
            last_ = TRunResult{};
            refusal_ = FirstLine(job.Error);
        } else if (job.Result.Outcome == TRunOutcome::Refused) {
            refusal_ =
                job.Result.Messages.empty() ? QString() : FirstLine(job.Result.Messages.front());
        } else if (job.Result.Outcome == TRunOutcome::NoCircle) {
            refusal_ = FirstLine(NoCircleMessage);
        }
        if (Written(job)) Keep(job);
        emit Finished();
    }
    if (start) {
        Launch(false);
    } else if (again) {
        Launch(true);
    }
}

void TCalculationController::OnFinished() {
    if (!running_ || !job_) return;
    // The last trial circle is shown even when the search ended within a frame.
    OnFrame();
    frameTimer_.stop();
    feed_.Reset();
    std::unique_ptr<TJob> job = std::move(job_);
    running_ = false;
    const bool discarded = std::exchange(discard_, false);
    if (job->Live) return OnLiveFinished(*job, discarded);
    lastLive_ = false;
    refusal_.clear();
    last_ = job->Result;

    const TRunOutcome outcome = job->Result.Outcome;
    const bool written = Written(*job);
    live_ = false;
    if (written) Keep(*job);
    if (!written && outcome == TRunOutcome::Refused && !job->Result.Messages.empty())
        refusal_ = FirstLine(job->Result.Messages.front());
    if (job->Error.empty() && outcome == TRunOutcome::NoCircle)
        refusal_ = FirstLine(NoCircleMessage);
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
