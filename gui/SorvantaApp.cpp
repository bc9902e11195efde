#include "SorvantaApp.h"

#include <QAction>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "CalculationController.h"
#include "DesignFileCommands.h"
#include "FigureExportCommand.h"
#include "TForm10.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm9.h"
#include "Texts.h"
#include "print/PrintCommands.h"

namespace sorvanta::gui {

TSorvantaApp::TSorvantaApp() {
    form1_ = std::make_unique<TForm1>();
    form7_ = new TForm7(form1_.get());
    form6_ = new TForm6(context_.Design, context_.Preview, form1_.get());
    form9_ = new TForm9(context_.Design, form6_);
    form10_ = new TForm10(context_.Design, context_.Preview, form6_);
    form6_->SetEntryWindows(form9_, form10_);
    calculation_ = new TCalculationController(context_, *form6_, this);
    printing_ = new TPrintCommands(context_, form1_.get(), this);
    printing_->SetWindows({.Design = form6_});

    connect(form1_.get(), &TForm1::CommandTriggered, this, &TSorvantaApp::Execute);
    connect(form1_.get(), &TForm1::FirstShown, this, &TSorvantaApp::OnFirstShown);
    connect(form6_, &TForm6::StartRequested, calculation_, &TCalculationController::Start);
    connect(form6_, &TForm6::StopRequested, calculation_, &TCalculationController::Stop);
    connect(form9_, &TForm9::TableWritten, form6_, &TForm6::RefreshTable);
    connect(form10_, &TForm10::GroundSet, form6_, [this] { form6_->RefreshTable(fkLayer1); });
    connect(calculation_, &TCalculationController::RunningChanged, form1_.get(),
            &TForm1::SetRunning);
    connect(calculation_, &TCalculationController::Finished, this, &TSorvantaApp::ShowRunSummary);
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
}

void TSorvantaApp::NotAvailable(TCommand command) {
    QAction* action = form1_->MenuAction(command);
    if (!action) action = form1_->ToolAction(command);
    QString name = action ? action->text() : QString();
    name.remove(QStringLiteral("..."));
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                    QStringLiteral("「%1」は、まだ使用できません。").arg(name), QMessageBox::Ok,
                    form1_.get());
    box.setObjectName(QStringLiteral("NotAvailable"));
    box.exec();
}

void TSorvantaApp::ShowRunSummary(const QString& summary) {
    form1_->ShowRunSummary(summary);
    if (summary.isEmpty() || calculation_->LastResult().Outcome != TRunOutcome::Ok) return;
    // Until the result tables window exists, the judgement is reported here.
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                    QStringLiteral("計算が終了しました。\n") + summary, QMessageBox::Ok, form6_);
    box.setObjectName(QStringLiteral("RunSummary"));
    box.exec();
}

void TSorvantaApp::Execute(TCommand command) {
    switch (command) {
        case TCommand::Load:
            if (!calculation_->Running()) LoadDesignCommand(form1_.get(), context_, *form6_);
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
        case TCommand::Metafiles:
            FigureExportCommand(form1_.get(), context_, form6_->Preview());
            break;
        case TCommand::PdfArbitrary:
            // The arbitrary-point table window has never been shown.
            QMessageBox::information(form1_.get(), QString::fromUtf8(kApplicationTitle),
                                     QStringLiteral("「任意点円弧滑り」を先に、計算して下さい。"));
            break;
        case TCommand::ShowDesign:
            form6_->show();
            form6_->raise();
            form6_->activateWindow();
            break;
        case TCommand::Calculate:
            calculation_->Start();
            break;
        case TCommand::About:
            form7_->ShowCentred();
            break;
        default:
            NotAvailable(command);
            break;
    }
}

}  // namespace sorvanta::gui
