#pragma once
// The tool button images, drawn here so that the program carries no binary
// image files.

#include <QIcon>

namespace sorvanta::gui {

enum class TCommandIcon {
    Exit,
    Open,
    Save,
    Print,
    Text,
    Figures,
    PdfMinimum,
    PdfArbitrary,
    Design,
    Results,
    Arbitrary,
    Live,
};

QIcon CommandIcon(TCommandIcon icon);

}  // namespace sorvanta::gui
