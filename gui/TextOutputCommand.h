#pragma once
// "1.テキスト出力..." / "ﾃｷｽﾄ": the result tables as the text file
// "円弧すべり.txt" in the current directory.

class QWidget;

namespace sorvanta {
struct TResultTables;
}

namespace sorvanta::gui {

// Asks first; No writes nothing. A file that cannot be written is reported and
// the completion message is not shown.
void TextOutputCommand(QWidget* parent, const TResultTables& tables);

}  // namespace sorvanta::gui
