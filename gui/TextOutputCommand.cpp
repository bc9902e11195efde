#include "TextOutputCommand.h"

#include <QDir>
#include <exception>
#include <filesystem>

#include "OutputMessages.h"
#include "documents/TextOutput.h"

namespace sorvanta::gui {

void TextOutputCommand(QWidget* parent, const TResultTables& tables) {
    if (!AskYesNo(parent, QMessageBox::Question, CoreMessageText(TextOutputQuestion),
                  QStringLiteral("TextOutputQuestion"))) {
        return;
    }
    const QString file = QDir::current().absoluteFilePath(QString::fromUtf8(TextOutputFileName));
    try {
        WriteTextOutput(tables, std::filesystem::path(file.toStdU16String()));
    } catch (const std::exception& e) {
        ReportOutputError(parent, QString::fromUtf8(e.what()));
        return;
    }
    Inform(parent, CoreMessageText(TextOutputDone), QStringLiteral("TextOutputDone"));
}

}  // namespace sorvanta::gui
