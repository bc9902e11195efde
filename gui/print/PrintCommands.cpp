#include "gui/print/PrintCommands.h"

#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "report/CaseDocument.h"

namespace sorvanta::gui {

QString PrintQuestion(int sheets) {
    QString number = QString::number(sheets);
    for (QChar& c : number) c = QChar(c.unicode() - u'0' + u'０');
    return QStringLiteral("プリンターの準備はいいですか。\n%1枚出力します。").arg(number);
}

TPrintCommands::TPrintCommands(TAppState& context, QWidget* dialogParent, QObject* parent)
    : QObject(parent),
      context_(context),
      dialogParent_(dialogParent),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrintCommands::~TPrintCommands() = default;

TDocumentPages TPrintCommands::PagesOf(TDocumentPage page, TReportSource source) const {
    // The cases' summary is numbered after every case's pages, as the
    // document prints it.
    if (page == TDocumentPage::CaseSummary && ShowsBothCases(context_.Report))
        return CalculationDocumentLayouts(context_.Report, context_.Preview, context_.Options,
                                          context_.Drawing)
            .back();
    return TDocumentPages(context_.Report, context_.Preview, context_.Options, context_.Drawing,
                          page, source);
}

TPrintCommands::TShownWindows TPrintCommands::HideWindows() {
    TShownWindows shown;
    for (QWidget* w : {windows_.Results.data(), windows_.Design.data(), windows_.Arbitrary.data(),
                       windows_.Diagram.data(), windows_.ArbitraryChart.data()}) {
        if (!w) continue;
        if (w->isVisible()) shown.emplace_back(w);
        w->hide();
    }
    return shown;
}

void TPrintCommands::RestoreWindows(const TShownWindows& shown) {
    for (const QPointer<QWidget>& w : shown) {
        if (w) w->show();
    }
}

void TPrintCommands::ShowWindowsAgain(const TShownWindows& shown, bool arbitrary) {
    RestoreWindows(shown);
    for (QWidget* w : {windows_.Design.data(), windows_.Results.data()}) {
        if (w) w->show();
    }
    if (arbitrary && windows_.Arbitrary) windows_.Arbitrary->show();
}

TPrintCommands::TPrinted TPrintCommands::Print(const std::vector<TDocumentPages>& layouts) {
    QPrinter& printer = *printer_;
    TPrinted printed;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // Without any printer Qt prints to a PDF file; it needs a name, in
        // the folder the user works in now.
        if (printer.outputFileName().isEmpty() || printer.outputFileName() == fallbackFile_) {
            fallbackFile_ = QDir::current().absoluteFilePath(QString::fromUtf8(kPrintFileName));
            printer.setOutputFileName(fallbackFile_);
            printed.NoPrinter = true;
        }
        printed.FileName = printer.outputFileName();
    }
    printed.Done = PrintDocumentPages(printer, layouts);
    if (printed.Done) return printed;
    const QString text =
        printed.FileName.isEmpty()
            ? QStringLiteral("プリンターに出力できませんでした。\nプリンタ設定を確認して下さい。")
            : QStringLiteral("ファイルに出力できませんでした。\n%1")
                  .arg(QDir::toNativeSeparators(printed.FileName));
    Warn(dialogParent_, text, QStringLiteral("PrintFailed"));
    return printed;
}

void TPrintCommands::ShowPage(TDocumentPage page, TReportSource source, TShowMode mode) {
    // Filled afresh from the records every time.
    const TDocumentPages pages = PagesOf(page, source);
    const TShownWindows shown = HideWindows();
    if (mode == TShowMode::Print) {
        Print({pages});
        RestoreWindows(shown);
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
    ShowWindowsAgain(shown, source == TReportSource::Arbitrary);
}

void TPrintCommands::PrintCalculationDocument() {
    // The pages are laid out before the question, so that it counts the
    // sheets the printer will get.
    const std::vector<TDocumentPages> layouts = CalculationDocumentLayouts(
        context_.Report, context_.Preview, context_.Options, context_.Drawing);
    if (!AskYesNo(dialogParent_, QMessageBox::Question, PrintQuestion(DocumentSheetCount(layouts)),
                  QStringLiteral("PrintQuestion")))
        return;

    const TShownWindows shown = HideWindows();
    const TPrinted printed = Print(layouts);
    if (printed.Done) {
        const QString text =
            printed.FileName.isEmpty()
                ? QString::fromUtf8(kPrintDone)
                : QString::fromUtf8(printed.NoPrinter ? kPrintedToFileNoPrinter : kPrintedToFile)
                      .arg(QDir::toNativeSeparators(printed.FileName));
        Inform(dialogParent_, text, QStringLiteral("PrintDone"));
    }
    ShowWindowsAgain(shown, false);
}

void TPrintCommands::PrinterSetup() {
    QPrintDialog dialog(printer_.get(), dialogParent_);
    dialog.setObjectName(QStringLiteral("PrinterSetup"));
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.exec();
}

}  // namespace sorvanta::gui
