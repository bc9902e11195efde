#pragma once
// TAboutWindow: the about window ("このシステムは").

#include <QDialog>

namespace sorvanta::gui {

class TAboutWindow : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutWindow(QWidget* parent = nullptr);

    // Centred on the screen and above the other windows.
    void ShowCentred();
};

}  // namespace sorvanta::gui
