#include "SorvantaApp.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "CalculationController.h"
#include "DesignFileCommands.h"
#include "FigureExportCommand.h"
#include "PdfCommands.h"
#include "TForm10.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm9.h"
#include "TextOutputCommand.h"
#include "Texts.h"
#include "ViewSettings.h"

namespace sorvanta::gui {

TSorvantaApp::TSorvantaApp() {
    form1_ = std::make_unique<TForm1>();
    form7_ = new TForm7(form1_.get());
    form6_ = new TForm6(context_.Design, context_.Preview, form1_.get());
    form9_ = new TForm9(context_.Design, form6_);
    form10_ = new TForm10(context_.Design, context_.Preview, form6_);
    form6_->SetEntryWindows(form9_, form10_);
    calculation_ = new TCalculationController(context_, *form6_, this);
    // Until the arbitrary-point table window exists, it is never showing.
    pdf_ = std::make_unique<TPdfCommands>(context_, form1_.get());

    connect(form1_.get(), &TForm1::CommandTriggered, this, &TSorvantaApp::Execute);
    connect(form1_.get(), &TForm1::FirstShown, this, &TSorvantaApp::OnFirstShown);
    connect(form6_, &TForm6::StartRequested, calculation_, &TCalculationController::Start);
    connect(form6_, &TForm6::StopRequested, calculation_, &TCalculationController::Stop);
    connect(form9_, &TForm9::TableWritten, form6_, &TForm6::RefreshTable);
    connect(form10_, &TForm10::GroundSet, form6_, [this] { form6_->RefreshTable(fkLayer1); });
    connect(calculation_, &TCalculationController::RunningChanged, form1_.get(), &TForm1::SetRunning);
    connect(calculation_, &TCalculationController::Finished, this, &TSorvantaApp::ShowRunSummary);
}

TSorvantaApp::~TSorvantaApp() {
    // The run reads the design and posts to the windows: it ends first.
    calculation_->StopAndWait();
}

void TSorvantaApp::Start() {
    // Without a window manager a maximise request is not honoured; the frame
    // takes the screen's working area itself.
    if (QScreen* screen = QGuiApplication::primaryScreen()) form1_->setGeometry(screen->availableGeometry());
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
}

void TSorvantaApp::ShowFullInputSet(bool on) {
    form1_->MenuAction(TCommand::FullInputSet)->setChecked(on);
    form6_->SetFullInputSet(on);
    RememberFullInputSet(on);
}

void TSorvantaApp::NotAvailable(TCommand command) {
    QAction* action = form1_->MenuAction(command);
    if (!action) action = form1_->ToolAction(command);
    QString name = action ? action->text() : QString();
    name.remove(QStringLiteral("..."));
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                    QStringLiteral("「%1」は、まだ使用できません。").arg(name), QMessageBox::Ok, form1_.get());
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
        case TCommand::PrinterSetup: {
            if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            QPrintDialog dialog(printer_.get(), form1_.get());
            dialog.setObjectName(QStringLiteral("PrinterSetup"));
            dialog.exec();
            break;
        }
        case TCommand::TextOutput:
            TextOutputCommand(form1_.get(), context_.Results);
            break;
        case TCommand::Metafiles:
            FigureExportCommand(form1_.get(), context_, form6_->Preview());
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
