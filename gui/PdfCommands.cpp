#include "gui/PdfCommands.h"

#include <QDesktopServices>
#include <QDir>
#include <exception>
#include <filesystem>

#include "documents/PdfDocument.h"
#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "run/AppState.h"

namespace sorvanta::gui {

namespace {

QString FileName() {
    return CoreMessageText(PdfDocumentFileName);
}

}  // namespace

TPdfCommands::TPdfCommands(const TAppState& context, QWidget* parent)
    : context_(context),
      parent_(parent),
      arbitraryShown_([] { return false; }),
      openFile_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

void TPdfCommands::WriteMinimum() {
    Write(false);
}

void TPdfCommands::WriteArbitrary() {
    if (!arbitraryShown_ || !arbitraryShown_()) {
        Inform(parent_, CoreMessageText(PdfArbitraryFirstText),
               QStringLiteral("PdfArbitraryFirst"));
        return;
    }
    Write(true);
}

void TPdfCommands::Write(bool arbitrary) {
    if (!ResultsReadyForOutput(parent_, context_,
                               arbitrary ? TOutputSource::Arbitrary : TOutputSource::Results)) {
        return;
    }
    if (!AskYesNo(parent_, QMessageBox::Question, CoreMessageText(PdfConfirmText),
                  QStringLiteral("PdfQuestion"))) {
        return;
    }
    // Both documents have the one name: the second must not silently replace
    // the first.
    if (!ConfirmReplace(parent_, {FileName()})) return;
    const QString file = QDir::current().absoluteFilePath(FileName());
    const std::filesystem::path path(file.toStdU16String());
    const TAppState& c = context_;
    try {
        if (arbitrary) {
            WritePdfArbitraryDocument(path, c.Report, c.Preview, c.Design.DesignName);
        } else {
            WritePdfMinimumDocument(path, c.Report, c.Preview, c.Design.DesignName);
        }
    } catch (const std::filesystem::filesystem_error&) {
        // The system's reason is in English; what the user can do is not.
        ReportOutputError(
            parent_, QStringLiteral("ファイル「%1」を作成できません。\n"
                                    "書き込みできるフォルダか、ファイルが他のアプリケーションで"
                                    "開かれていないかを確かめて下さい。")
                         .arg(FileName()));
        return;
    } catch (const std::exception& e) {
        ReportOutputError(parent_, QString::fromUtf8(e.what()));
        return;
    }
    Inform(parent_, CoreMessageText(PdfCreatedText), QStringLiteral("PdfCreated"));
    if (!AskYesNo(parent_, QMessageBox::Information, CoreMessageText(PdfShowQuestionText),
                  QStringLiteral("PdfShowQuestion"))) {
        return;
    }
    // The viewer runs on its own; the command does not wait for it.
    if (!openFile_ || !openFile_(QUrl::fromLocalFile(file))) {
        ReportOutputError(
            parent_,
            QStringLiteral("「%1」を表示できません。\n"
                           "PDFを表示するアプリケーションが登録されているかを確かめて下さい。")
                .arg(FileName()));
    }
}

}  // namespace sorvanta::gui
