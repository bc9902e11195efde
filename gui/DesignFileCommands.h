#pragma once
// "開く" and "保存": the design conditions file through the file dialogs.

#include <QString>

class QWidget;

namespace sorvanta::gui {}  // namespace sorvanta::gui
namespace sorvanta {
struct TAppState;
}  // namespace sorvanta
namespace sorvanta::gui {
class TForm6;

// Both open their dialog in the current directory, which then follows the
// folder chosen. A file that cannot be written or read is reported in Japanese
// and changes nothing: neither the design nor its name.
void SaveDesignCommand(QWidget* parent, TAppState& context, TForm6& designWindow);
void LoadDesignCommand(QWidget* parent, TAppState& context, TForm6& designWindow);

// The chosen file name, or empty when cancelled. The dialog is Qt's own, with
// the filter "dat (*.dat)" and the default suffix "dat"; saving asks before
// overwriting.
QString ChooseDesignFile(QWidget* parent, bool save);

}  // namespace sorvanta::gui
