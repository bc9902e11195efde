#pragma once
// "1.テキスト出力..." / "ﾃｷｽﾄ": the result tables as the text file
// "円弧すべり.txt" in the current directory.

class QWidget;

namespace sorvanta {
struct TAppState;
}

namespace sorvanta::gui {

// Refused with a message unless the results were calculated from the design
// as it stands. Asks first, and again before replacing an existing file; No
// writes nothing. A file that cannot be written is reported and the
// completion message is not shown.
void TextOutputCommand(QWidget* parent, const TAppState& context);

}  // namespace sorvanta::gui
