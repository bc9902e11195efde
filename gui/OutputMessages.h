#pragma once
// The program's message boxes, each named so that a test can tell them
// apart.

#include <QMessageBox>
#include <QPoint>
#include <QStringList>
#include <optional>
#include <string_view>

class QWidget;

namespace sorvanta {
struct TAppState;
}

namespace sorvanta::gui {

// A core text for a message box: its "\r" line breaks as "\n".
QString CoreMessageText(std::string_view text);

// Yes/No with Yes as the default answer unless told; true on Yes. A box
// given a position opens there (the program's questions of the main window
// open at its upper left, clear of the menu bar).
bool AskYesNo(QWidget* parent, QMessageBox::Icon icon, const QString& text,
              const QString& objectName,
              QMessageBox::StandardButton defaultButton = QMessageBox::Yes,
              std::optional<QPoint> position = std::nullopt);

enum class TAnswer { Yes, No, Cancel };
// Yes/No/Cancel with Yes as the default; closing the box is Cancel.
TAnswer AskYesNoCancel(QWidget* parent, const QString& text, const QString& objectName);
void Inform(QWidget* parent, const QString& text, const QString& objectName);
void Warn(QWidget* parent, const QString& text, const QString& objectName);
// A file the output commands could not write.
void ReportOutputError(QWidget* parent, const QString& text);

// The records an output command writes from.
enum class TOutputSource { Results, Arbitrary };
// True when the records were calculated from the design as it stands. Else
// says that there is no calculation ("NoResults") or that the design has
// changed since ("ResultsChanged"), and the command writes nothing.
bool ResultsReadyForOutput(QWidget* parent, const TAppState& context, TOutputSource source);

// Files of `names` (in the current directory) that exist are listed in one
// question ("ReplaceQuestion", No as the default); true when none exists or
// on Yes.
bool ConfirmReplace(QWidget* parent, const QStringList& names);

}  // namespace sorvanta::gui
