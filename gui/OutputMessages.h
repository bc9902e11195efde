#pragma once
// The message boxes of the output commands, named so that a test can tell
// them apart.

#include <QMessageBox>
#include <string_view>

class QWidget;

namespace sorvanta::gui {

// A core text for a message box: its "\r" line breaks as "\n".
QString CoreMessageText(std::string_view text);

// Yes/No with Yes as the default answer; true on Yes.
bool AskYesNo(QWidget* parent, QMessageBox::Icon icon, const QString& text,
              const QString& objectName);
void Inform(QWidget* parent, const QString& text, const QString& objectName);
void ReportOutputError(QWidget* parent, const QString& text);

}  // namespace sorvanta::gui
