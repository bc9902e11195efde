#include "gui/SorvantaApp.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

#include "gui/AboutWindow.h"
#include "gui/ArbitraryDiagramWindow.h"
#include "gui/ArbitraryWindow.h"
#include "gui/CalculationController.h"
#include "gui/DesignFileCommands.h"
#include "gui/DesignWindow.h"
#include "gui/EntryWindow.h"
#include "gui/FigureExportCommand.h"
#include "gui/PdfCommands.h"
#include "gui/QuickEntryWindow.h"
#include "gui/ResultDiagramWindow.h"
#include "gui/ResultWindow.h"
#include "gui/StudyWindows.h"
#include "gui/TextOutputCommand.h"
#include "gui/Texts.h"
#include "gui/ViewSettings.h"
#include "gui/print/PrintCommands.h"
#include "report/CaseDocument.h"

namespace sorvanta::gui {

TSorvantaApp::TSorvantaApp() {
    mainWindow_ = std::make_unique<TMainWindow>();
    resultWindow_ = new TResultWindow(context_, mainWindow_.get());
    aboutWindow_ = new TAboutWindow(mainWindow_.get());
    designWindow_ = new TDesignWindow(context_.Design, context_.Options, context_.Drawing,
                                      context_.Preview, mainWindow_.get());
    entryWindow_ = new TEntryWindow(context_.Design, designWindow_);
    quickEntryWindow_ = new TQuickEntryWindow(context_.Design, context_.Preview, designWindow_);
    arbitraryDiagramWindow_ = new TArbitraryDiagramWindow(mainWindow_.get());
    arbitraryWindow_ = new TArbitraryWindow(context_, *arbitraryDiagramWindow_, mainWindow_.get());
    resultDiagramWindow_ = new TResultDiagramWindow(mainWindow_.get());
    designWindow_->SetEntryWindows(entryWindow_, quickEntryWindow_);
    resultWindow_->SetSeparateWindow(resultDiagramWindow_);
    calculation_ = new TCalculationController(context_, *designWindow_, this);
    printing_ = new TPrintCommands(context_, mainWindow_.get(), this);
    printing_->SetWindows({.Results = resultWindow_,
                           .Design = designWindow_,
                           .Arbitrary = arbitraryWindow_,
                           .Diagram = resultDiagramWindow_,
                           .ArbitraryChart = arbitraryDiagramWindow_});
    pdf_ = std::make_unique<TPdfCommands>(context_, mainWindow_.get());
    pdf_->SetArbitraryWindowQuery([this] { return ArbitraryWindowShown(); });

    connect(mainWindow_.get(), &TMainWindow::CommandTriggered, this, &TSorvantaApp::Execute);
    connect(mainWindow_.get(), &TMainWindow::FirstShown, this, &TSorvantaApp::OnFirstShown);
    mainWindow_->SetPreviewMenuHook([this] {
        const TCalculationReport& report = context_.Report;
        mainWindow_->ShowExtraPreviews(
            HasMethodSection(report),
            ShowsBothCases(report)
                ? QString::fromStdString(CaseSummaryTitle(report)).replace(u'.', u'．') +
                      QStringLiteral("...")
                : QString());
    });
    connect(designWindow_, &TDesignWindow::StartRequested, this,
            &TSorvantaApp::StartFromDesignWindow);
    connect(designWindow_, &TDesignWindow::StopRequested, calculation_,
            &TCalculationController::Stop);
    connect(entryWindow_, &TEntryWindow::TableWritten, designWindow_, &TDesignWindow::RefreshTable);
    connect(quickEntryWindow_, &TQuickEntryWindow::GroundSet, designWindow_,
            [this] { designWindow_->RefreshTable(fkLayer1); });
    connect(calculation_, &TCalculationController::RunningChanged, mainWindow_.get(),
            &TMainWindow::SetRunning);
    connect(calculation_, &TCalculationController::SearchStarted, this,
            &TSorvantaApp::OnSearchStarted);
    connect(calculation_, &TCalculationController::TrialChart, resultWindow_,
            &TResultWindow::ShowTrialChart);
    connect(calculation_, &TCalculationController::Finished, this, &TSorvantaApp::OnRunFinished);
    connect(resultWindow_, &TResultWindow::ArbitraryRequested, this,
            &TSorvantaApp::PlaceAndShowArbitrary);
    connect(resultDiagramWindow_, &TResultDiagramWindow::NavigationRequested, resultWindow_,
            [this](TChartCommand command) {
                resultWindow_->NavigateOwnChart(command);
                resultDiagramWindow_->NavigateOwnChart(command);
            });
    liveTimer_.setSingleShot(true);
    liveTimer_.setInterval(LiveDelayMs);
    connect(&liveTimer_, &QTimer::timeout, this, [this] { RunLive(); });
    connect(designWindow_, &TDesignWindow::DesignEdited, this, &TSorvantaApp::OnDesignEdited);
    mainWindow_->SetCloseGuard(
        [this] { return ConfirmSaveChanges(mainWindow_.get(), context_, *designWindow_); });
}

TSorvantaApp::~TSorvantaApp() {
    // The run reads the design and posts to the windows: it ends first.
    calculation_->StopAndWait();
}

void TSorvantaApp::Start() {
    // Without a window manager a maximise request is not honoured; the frame
    // takes the screen's working area itself.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        MainWindow().setGeometry(screen->availableGeometry());
    MainWindow().showMaximized();
}

void TSorvantaApp::OnFirstShown() {
    DesignWindow().show();
    context_.Design.DesignName.clear();
    DesignWindow().PrepareGrids();
    DesignWindow().OpenStartPages();
    // The result tables hold their structures and initial texts from their
    // construction.
    DesignWindow().ShowSampleDesign();
    DesignWindow().ApplyReducedInputSet();
    if (RememberedFullInputSet()) ShowFullInputSet(true);
    context_.SavedDesign = context_.Design;
    context_.SavedOptions = context_.Options;
    if (RememberedLiveCalculation()) SetLiveCalculation(true);
}

void TSorvantaApp::SetLiveCalculation(bool on) {
    for (QAction* a : {MainWindow().MenuAction(TCommand::LiveCalculation),
                       MainWindow().ToolAction(TCommand::LiveCalculation)})
        a->setChecked(on);
    RememberLiveCalculation(on);
    if (on == live_) return;
    live_ = on;
    liveTimer_.stop();
    liveInputs_.reset();
    if (on) {
        RunLive(true);
    } else {
        calculation_->DiscardLive();
        DesignWindow().ClearLiveResult();
    }
}

void TSorvantaApp::OnDesignEdited() {
    if (!live_) return;
    // An edit after a quiet spell runs at once; edits in quick succession
    // (a point dragged, values entered in a row) wait for the pause after
    // the last, so a burst costs one run more, not one per edit.
    const bool quiet = !liveTimer_.isActive();
    liveTimer_.start();
    if (quiet) RunLive();
}

void TSorvantaApp::RunLive(bool forced) {
    if (!live_ || calculation_->Running()) return;
    TLiveInputs inputs{context_.Design, context_.Options, context_.Drawing};
    if (!forced && liveInputs_ == inputs) return;
    liveInputs_ = std::move(inputs);
    calculation_->StartLive();
}

void TSorvantaApp::ShowLiveResult() {
    const TRunResult& run = calculation_->LastResult();
    if (run.HasCritical &&
        (run.Outcome == TRunOutcome::Ok || run.Outcome == TRunOutcome::Cancelled)) {
        const TCriticalCircle& c = run.Critical;
        const TJudgement& j = run.Judgement;
        QString text;
        bool ok = true;
        switch (j.Verdict) {
            case TVerdict::Infinite:
                text = QStringLiteral("Fs = ∞  OK");
                break;
            case TVerdict::Within:
            case TVerdict::Outside:
                ok = j.Verdict == TVerdict::Within;
                text = QStringLiteral("Fs = %1  %2")
                           .arg(j.Found, 0, 'f', 3)
                           .arg(ok ? QStringLiteral("OK") : QStringLiteral("NG"));
                break;
            case TVerdict::NoCircle:
                break;
        }
        DesignWindow().ShowLiveCircle(c.Xo, c.Yo, c.R, c.Xb, c.Yb, c.Xe, c.Ye, text, ok);
    } else if (!calculation_->LastRefusal().isEmpty()) {
        DesignWindow().ShowLiveRefusal(calculation_->LastRefusal());
    }
    // Otherwise a 計算開始 run was answered No or stopped: the chart keeps what
    // it showed.
}

void TSorvantaApp::ShowFullInputSet(bool on) {
    MainWindow().MenuAction(TCommand::FullInputSet)->setChecked(on);
    MainWindow().ShowStudies(on);
    ResultWindow().SetFullInputSet(on);
    DesignWindow().SetFullInputSet(on);
    RememberFullInputSet(on);
}

TSensitivityWindow& TSorvantaApp::SensitivityWindow() {
    if (!sensitivityWindow_)
        sensitivityWindow_ = new TSensitivityWindow(context_, mainWindow_.get());
    return *sensitivityWindow_;
}

TProbabilityWindow& TSorvantaApp::ProbabilityWindow() {
    if (!probabilityWindow_)
        probabilityWindow_ = new TProbabilityWindow(context_, mainWindow_.get());
    return *probabilityWindow_;
}

bool TSorvantaApp::ArbitraryWindowShown() const {
    return arbitraryWindow_->isVisible();
}

void TSorvantaApp::StartFromDesignWindow() {
    if (calculation_->Running()) return;
    ResultWindow().move(DesignWindow().pos() + QPoint(0, 20));
    ResultWindow().hide();
    ArbitraryWindow().hide();
    calculation_->Start();
}

void TSorvantaApp::StartFromMenu() {
    if (calculation_->Running()) return;
    ResultWindow().move(DesignWindow().pos() + QPoint(10, 20));
    ResultWindow().hide();
    calculation_->Start();
}

void TSorvantaApp::OnSearchStarted() {
    // 計算過程表示: the search is watched in the result window.
    if (context_.Design.ShowCalculationProcess) ResultWindow().ShowFigureTab();
}

void TSorvantaApp::OnRunFinished() {
    if (live_) ShowLiveResult();
    if (calculation_->LastWasLive()) {
        // The open windows follow the design; nothing is brought forward.
        ResultWindow().EndTrialChart();
        ResultWindow().ShowResults();
        ArbitraryWindow().ShowResults();
        return;
    }
    ResultWindow().EndTrialChart();
    ResultWindow().ShowResults();
    ArbitraryWindow().ShowResults();
    // A run without a circle has brought the design window's circle
    // conditions forward; the result window stays as the run left it.
    if (calculation_->LastResult().Outcome == TRunOutcome::Ok) ResultWindow().ShowFigureTab();
}

void TSorvantaApp::ClearResultWindows() {
    ClearResults(context_);
    ResultWindow().EndTrialChart();
    ResultWindow().ShowResults();
    ArbitraryWindow().ShowResults();
    for (QWidget* w :
         std::initializer_list<QWidget*>{&ResultWindow(), &ArbitraryWindow(),
                                         &ResultDiagramWindow(), &ArbitraryDiagramWindow()})
        w->hide();
}

void TSorvantaApp::PlaceAndShowResults() {
    ResultWindow().move(DesignWindow().pos() + QPoint(0, 25));
    ResultWindow().show();
    ResultWindow().raise();
}

void TSorvantaApp::PlaceAndShowArbitrary() {
    PlaceAndShowResults();
    ArbitraryWindow().move(ResultWindow().pos() + QPoint(35, 0));
    ArbitraryWindow().show();
    ArbitraryWindow().raise();
}

void TSorvantaApp::Execute(TCommand command) {
    // Every command is handled here: the compiler names one that is not.
    switch (command) {
        case TCommand::Load:
            if (calculation_->Running()) break;
            // The live run of the design being replaced writes nothing.
            calculation_->DiscardLive();
            liveTimer_.stop();
            if (LoadDesignCommand(&MainWindow(), context_, DesignWindow())) {
                ClearResultWindows();
                if (probabilityWindow_) probabilityWindow_->ShowDesignVariations();
            }
            liveInputs_.reset();
            if (live_) RunLive();
            break;
        case TCommand::Save:
            SaveDesignCommand(&MainWindow(), context_, DesignWindow());
            break;
        case TCommand::Exit:
            MainWindow().ConfirmExit();
            break;
        case TCommand::Print:
            printing_->PrintCalculationDocument();
            break;
        case TCommand::PreviewContents:
            printing_->ShowPage(TDocumentPage::Contents, TReportSource::Results,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewDesign:
            printing_->ShowPage(TDocumentPage::DesignConditions, TReportSource::Results,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewSafetyFactor:
            printing_->ShowPage(TDocumentPage::SafetyFactor, TReportSource::Results,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewSliceLoads:
            printing_->ShowPage(TDocumentPage::SliceLoads, TReportSource::Results,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewLoads:
            printing_->ShowPage(TDocumentPage::Loads, TReportSource::Results, TShowMode::Preview);
            break;
        case TCommand::PreviewFigure:
            printing_->ShowPage(TDocumentPage::SlipCircle, TReportSource::Results,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewArbitrarySliceLoads:
            printing_->ShowPage(TDocumentPage::SliceLoads, TReportSource::Arbitrary,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewArbitraryLoads:
            printing_->ShowPage(TDocumentPage::Loads, TReportSource::Arbitrary, TShowMode::Preview);
            break;
        case TCommand::PreviewArbitraryFigure:
            printing_->ShowPage(TDocumentPage::SlipCircle, TReportSource::Arbitrary,
                                TShowMode::Preview);
            break;
        case TCommand::PreviewMethods:
            printing_->ShowPage(TDocumentPage::Methods, TReportSource::Results, TShowMode::Preview);
            break;
        case TCommand::PreviewCaseSummary:
            printing_->ShowPage(TDocumentPage::CaseSummary, TReportSource::Results,
                                TShowMode::Preview);
            break;
        case TCommand::PrinterSetup:
            printing_->PrinterSetup();
            break;
        case TCommand::TextOutput:
            TextOutputCommand(&MainWindow(), context_);
            break;
        case TCommand::Metafiles:
            FigureExportCommand(&MainWindow(), context_, DesignWindow().Preview(),
                                ResultWindow().Chart(), ArbitraryWindow().Chart());
            break;
        case TCommand::PdfMinimum:
            pdf_->WriteMinimum();
            break;
        case TCommand::PdfArbitrary:
            pdf_->WriteArbitrary();
            break;
        case TCommand::FullInputSet:
            ShowFullInputSet(MainWindow().MenuAction(TCommand::FullInputSet)->isChecked());
            break;
        case TCommand::ShowDesign:
            DesignWindow().show();
            DesignWindow().raise();
            DesignWindow().activateWindow();
            break;
        case TCommand::ShowResults:
            ResultWindow().show();
            ResultWindow().raise();
            break;
        case TCommand::PlaceAndShowResults:
            PlaceAndShowResults();
            break;
        case TCommand::ShowArbitrary:
            PlaceAndShowArbitrary();
            break;
        case TCommand::Calculate:
            StartFromMenu();
            break;
        case TCommand::LiveCalculation:
            // The menu item or the tool button has toggled itself; the other follows.
            SetLiveCalculation(!live_);
            break;
        case TCommand::Sensitivity:
        case TCommand::Probability: {
            QWidget& w = command == TCommand::Sensitivity
                             ? static_cast<QWidget&>(SensitivityWindow())
                             : static_cast<QWidget&>(ProbabilityWindow());
            w.show();
            w.raise();
            w.activateWindow();
            break;
        }
        case TCommand::About:
            AboutWindow().ShowCentred();
            break;
    }
}

}  // namespace sorvanta::gui
