#pragma once
// "開く" and "保存": the design conditions file through the file dialogs.

#include <QString>

class QWidget;

namespace sorvanta::gui {}  // namespace sorvanta::gui
namespace sorvanta {
struct TAppState;
}  // namespace sorvanta
namespace sorvanta::gui {
class TDesignWindow;

// Both open their dialog in the current directory, which then follows the
// folder chosen. A file that cannot be written or read is reported in Japanese
// and changes nothing: neither the design nor its name. True when the file was
// saved or loaded; the design then counts as unchanged.
bool SaveDesignCommand(QWidget* parent, TAppState& context, TDesignWindow& designWindow);
// A changed design is offered for saving first (ConfirmSaveChanges).
bool LoadDesignCommand(QWidget* parent, TAppState& context, TDesignWindow& designWindow);

// Before a changed design is replaced or the program ends: "保存しますか。"
// with Yes (save; false when the save is cancelled or fails), No (go on
// without saving) and Cancel (false). True at once for an unchanged design.
bool ConfirmSaveChanges(QWidget* parent, TAppState& context, TDesignWindow& designWindow);

// The chosen file name, or empty when cancelled. The dialog is Qt's own, with
// the filter "dat (*.dat)" and the default suffix "dat"; saving asks before
// overwriting.
QString ChooseDesignFile(QWidget* parent, bool save);

}  // namespace sorvanta::gui
