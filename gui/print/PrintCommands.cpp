#include "print/PrintCommands.h"

#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include "Texts.h"

namespace sorvanta::gui {

TPrintCommands::TPrintCommands(TAppState& context, QWidget* dialogParent, QObject* parent)
    : QObject(parent),
      context_(context),
      dialogParent_(dialogParent),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrintCommands::~TPrintCommands() = default;

TDocumentSources TPrintCommands::Sources() const {
    return {context_.Design,  context_.Results,     context_.Arbitrary,
            context_.Preview, context_.ResultChart, context_.ArbitraryChart};
}

void TPrintCommands::HideWindows() {
    for (QWidget* w : {windows_.Results.data(), windows_.Design.data(), windows_.Arbitrary.data(),
                       windows_.Diagram.data(), windows_.ArbitraryChart.data()}) {
        if (w) w->hide();
    }
}

void TPrintCommands::ShowWindowsAgain(bool arbitrary) {
    for (QWidget* w : {windows_.Design.data(), windows_.Results.data()}) {
        if (w) w->show();
    }
    if (arbitrary && windows_.Arbitrary) windows_.Arbitrary->show();
}

bool TPrintCommands::Print(const std::vector<TDocumentPages>& layouts) {
    QPrinter& printer = *printer_;
    // Without any printer Qt prints to a PDF file; it needs a name.
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
        printer.setOutputFileName(
            QDir::current().absoluteFilePath(QString::fromUtf8(kPrintFileName)));
    }
    if (PrintDocumentPages(printer, layouts)) return true;
    QMessageBox box(
        QMessageBox::Warning, QString::fromUtf8(kApplicationTitle),
        QStringLiteral("プリンターに出力できませんでした。\nプリンタ設定を確認して下さい。"),
        QMessageBox::Ok, dialogParent_);
    box.setObjectName(QStringLiteral("PrintFailed"));
    box.exec();
    return false;
}

void TPrintCommands::ShowPage(TDocumentPage page, TReportSource source, TShowMode mode) {
    // Filled afresh from the records every time.
    const TDocumentPages pages(Sources(), page, source);
    HideWindows();
    if (mode == TShowMode::Print) {
        Print({pages});
        return;
    }
    PreparePrinter(*printer_, pages);
    QPrintPreviewDialog preview(printer_.get(), dialogParent_);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("計算書ﾌﾟﾚﾋﾞｭｰ"));
    // Large enough to read a page.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        preview.resize(area.width() * 3 / 4, area.height() * 9 / 10);
    }
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&pages](QPrinter* printer) {
        QPainter painter(printer);
        for (int i = 0; i < pages.SheetCount(); ++i) {
            if (i > 0) printer->newPage();
            pages.PaintSheet(painter, i);
        }
    });
    preview.exec();
    ShowWindowsAgain(source == TReportSource::Arbitrary);
}

void TPrintCommands::PrintCalculationDocument() {
    QMessageBox question(QMessageBox::Question, QString::fromUtf8(kQuestionTitle),
                         QString::fromUtf8(kPrintQuestion), QMessageBox::Yes | QMessageBox::No,
                         dialogParent_);
    question.setObjectName(QStringLiteral("PrintQuestion"));
    if (question.exec() != QMessageBox::Yes) return;

    std::vector<TDocumentPages> layouts;
    for (TDocumentPage page :
         {TDocumentPage::Contents, TDocumentPage::DesignConditions, TDocumentPage::SafetyFactor,
          TDocumentPage::SliceLoads, TDocumentPage::Loads, TDocumentPage::SlipCircle}) {
        layouts.emplace_back(Sources(), page, TReportSource::Results);
    }
    HideWindows();
    if (Print(layouts)) {
        QMessageBox done(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                         QString::fromUtf8(kPrintDone), QMessageBox::Ok, dialogParent_);
        done.setObjectName(QStringLiteral("PrintDone"));
        done.exec();
    }
    ShowWindowsAgain(false);
}

void TPrintCommands::PrinterSetup() {
    QPrintDialog dialog(printer_.get(), dialogParent_);
    dialog.setObjectName(QStringLiteral("PrinterSetup"));
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.exec();
}

}  // namespace sorvanta::gui
