#pragma once
// The program's message boxes, each named so that a test can tell them
// apart.

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
void Warn(QWidget* parent, const QString& text, const QString& objectName);
// A file the output commands could not write.
void ReportOutputError(QWidget* parent, const QString& text);

}  // namespace sorvanta::gui
