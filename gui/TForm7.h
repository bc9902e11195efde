#pragma once
// TForm7: the about window ("このシステムは").

#include <QDialog>

namespace sorvanta::gui {

class TForm7 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm7(QWidget* parent = nullptr);

    // Centred on the screen and above the other windows.
    void ShowCentred();
};

}  // namespace sorvanta::gui
