#include "SorvantaApp.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

#include "CalculationController.h"
#include "DesignFileCommands.h"
#include "FigureExportCommand.h"
#include "PdfCommands.h"
#include "TForm10.h"
#include "TForm13.h"
#include "TForm14.h"
#include "TForm16.h"
#include "TForm2.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm9.h"
#include "TextOutputCommand.h"
#include "Texts.h"
#include "ViewSettings.h"
#include "print/PrintCommands.h"

namespace sorvanta::gui {

TSorvantaApp::TSorvantaApp() {
    form1_ = std::make_unique<TForm1>();
    form2_ = new TForm2(context_, form1_.get());
    form7_ = new TForm7(form1_.get());
    form6_ = new TForm6(context_.Design, context_.Options, context_.Drawing, context_.Preview,
                        form1_.get());
    form9_ = new TForm9(context_.Design, form6_);
    form10_ = new TForm10(context_.Design, context_.Preview, form6_);
    form14_ = new TForm14(form1_.get());
    form16_ = new TForm16(context_, *form14_, form1_.get());
    form13_ = new TForm13(form1_.get());
    form6_->SetEntryWindows(form9_, form10_);
    form2_->SetSeparateWindow(form13_);
    calculation_ = new TCalculationController(context_, *form6_, this);
    printing_ = new TPrintCommands(context_, form1_.get(), this);
    printing_->SetWindows({.Results = form2_,
                           .Design = form6_,
                           .Arbitrary = form16_,
                           .Diagram = form13_,
                           .ArbitraryChart = form14_});
    pdf_ = std::make_unique<TPdfCommands>(context_, form1_.get());
    pdf_->SetArbitraryWindowQuery([this] { return ArbitraryWindowShown(); });

    connect(form1_.get(), &TForm1::CommandTriggered, this, &TSorvantaApp::Execute);
    connect(form1_.get(), &TForm1::FirstShown, this, &TSorvantaApp::OnFirstShown);
    connect(form6_, &TForm6::StartRequested, this, &TSorvantaApp::StartFromDesignWindow);
    connect(form6_, &TForm6::StopRequested, calculation_, &TCalculationController::Stop);
    connect(form9_, &TForm9::TableWritten, form6_, &TForm6::RefreshTable);
    connect(form10_, &TForm10::GroundSet, form6_, [this] { form6_->RefreshTable(fkLayer1); });
    connect(calculation_, &TCalculationController::RunningChanged, form1_.get(),
            &TForm1::SetRunning);
    connect(calculation_, &TCalculationController::SearchStarted, this,
            &TSorvantaApp::OnSearchStarted);
    connect(calculation_, &TCalculationController::TrialChart, form2_, &TForm2::ShowTrialChart);
    connect(calculation_, &TCalculationController::Finished, this, &TSorvantaApp::OnRunFinished);
    connect(form2_, &TForm2::ArbitraryRequested, this, &TSorvantaApp::PlaceAndShowArbitrary);
    connect(form13_, &TForm13::NavigationRequested, form2_, [this](TChartCommand command) {
        form2_->NavigateOwnChart(command);
        form13_->NavigateOwnChart(command);
    });
    form1_->SetCloseGuard([this] { return ConfirmSaveChanges(form1_.get(), context_, *form6_); });
}

TSorvantaApp::~TSorvantaApp() {
    // The run reads the design and posts to the windows: it ends first.
    calculation_->StopAndWait();
}

void TSorvantaApp::Start() {
    // Without a window manager a maximise request is not honoured; the frame
    // takes the screen's working area itself.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        form1_->setGeometry(screen->availableGeometry());
    form1_->showMaximized();
}

void TSorvantaApp::OnFirstShown() {
    form6_->show();
    context_.Design.DesignName.clear();
    form6_->PrepareGrids();
    form6_->OpenStartPages();
    // The result tables hold their structures and initial texts from their
    // construction.
    form6_->ShowSampleDesign();
    form6_->ApplyReducedInputSet();
    if (RememberedFullInputSet()) ShowFullInputSet(true);
    context_.SavedDesign = context_.Design;
}

void TSorvantaApp::ShowFullInputSet(bool on) {
    form1_->MenuAction(TCommand::FullInputSet)->setChecked(on);
    form6_->SetFullInputSet(on);
    RememberFullInputSet(on);
}

bool TSorvantaApp::ArbitraryWindowShown() const {
    return form16_->isVisible();
}

void TSorvantaApp::StartFromDesignWindow() {
    if (calculation_->Running()) return;
    form2_->move(form6_->pos() + QPoint(0, 20));
    form2_->hide();
    form16_->hide();
    calculation_->Start();
}

void TSorvantaApp::StartFromMenu() {
    if (calculation_->Running()) return;
    form2_->move(form6_->pos() + QPoint(10, 20));
    form2_->hide();
    calculation_->Start();
}

void TSorvantaApp::OnSearchStarted() {
    // 計算過程表示: the search is watched in the result window.
    if (context_.Design.ShowCalculationProcess) form2_->ShowFigureTab();
}

void TSorvantaApp::OnRunFinished() {
    form2_->EndTrialChart();
    form2_->ShowResults();
    form16_->ShowResults();
    // A run without a circle has brought the design window's circle
    // conditions forward; the result window stays as the run left it.
    if (calculation_->LastResult().Outcome == TRunOutcome::Ok) form2_->ShowFigureTab();
}

void TSorvantaApp::ClearResultWindows() {
    ClearResults(context_);
    form2_->EndTrialChart();
    form2_->ShowResults();
    form16_->ShowResults();
    for (QWidget* w : std::initializer_list<QWidget*>{form2_, form16_, form13_, form14_}) w->hide();
}

void TSorvantaApp::PlaceAndShowResults() {
    form2_->move(form6_->pos() + QPoint(0, 25));
    form2_->show();
    form2_->raise();
}

void TSorvantaApp::PlaceAndShowArbitrary() {
    PlaceAndShowResults();
    form16_->move(form2_->pos() + QPoint(35, 0));
    form16_->show();
    form16_->raise();
}

void TSorvantaApp::Execute(TCommand command) {
    // Every command is handled here: the compiler names one that is not.
    switch (command) {
        case TCommand::Load:
            if (!calculation_->Running() && LoadDesignCommand(form1_.get(), context_, *form6_))
                ClearResultWindows();
            break;
        case TCommand::Save:
            SaveDesignCommand(form1_.get(), context_, *form6_);
            break;
        case TCommand::Exit:
            form1_->ConfirmExit();
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
        case TCommand::PrinterSetup:
            printing_->PrinterSetup();
            break;
        case TCommand::TextOutput:
            TextOutputCommand(form1_.get(), context_);
            break;
        case TCommand::Metafiles:
            FigureExportCommand(form1_.get(), context_, form6_->Preview(), form2_->Chart(),
                                form16_->Chart());
            break;
        case TCommand::PdfMinimum:
            pdf_->WriteMinimum();
            break;
        case TCommand::PdfArbitrary:
            pdf_->WriteArbitrary();
            break;
        case TCommand::FullInputSet:
            ShowFullInputSet(form1_->MenuAction(TCommand::FullInputSet)->isChecked());
            break;
        case TCommand::ShowDesign:
            form6_->show();
            form6_->raise();
            form6_->activateWindow();
            break;
        case TCommand::ShowResults:
            form2_->show();
            form2_->raise();
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
        case TCommand::About:
            form7_->ShowCentred();
            break;
    }
}

}  // namespace sorvanta::gui
