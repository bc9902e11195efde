#include "gui/TextOutputCommand.h"

#include <QDir>
#include <exception>
#include <filesystem>

#include "documents/TextOutput.h"
#include "gui/OutputMessages.h"
#include "gui/Texts.h"
#include "run/AppState.h"

namespace sorvanta::gui {

void TextOutputCommand(QWidget* parent, const TAppState& context) {
    if (!ResultsReadyForOutput(parent, context, TOutputSource::Results)) return;
    if (!AskYesNo(parent, QMessageBox::Question, CoreMessageText(TextOutputQuestion),
                  QStringLiteral("TextOutputQuestion"))) {
        return;
    }
    const QString name = QString::fromUtf8(TextOutputFileName);
    if (!ConfirmReplace(parent, {name})) return;
    const QString file = QDir::current().absoluteFilePath(name);
    try {
        WriteTextOutput(context.Report, std::filesystem::path(file.toStdU16String()));
    } catch (const std::exception& e) {
        ReportOutputError(parent, QString::fromUtf8(e.what()));
        return;
    }
    Inform(parent, CoreMessageText(TextOutputDone), QStringLiteral("TextOutputDone"));
}

}  // namespace sorvanta::gui
