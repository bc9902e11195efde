#pragma once
// "3.PDF(最少安全率)出力..." / "PDF(最少)" and "4.PDF(任意点安全率)出力..." /
// "PDF(任意点)": the calculation document as "円弧滑り検討システム.pdf" in the
// current directory, then, on request, opened in the desktop's PDF viewer.

#include <QUrl>
#include <functional>

class QWidget;

namespace sorvanta {
struct TAppState;
}

namespace sorvanta::gui {

class TPdfCommands {
  public:
    // Whether the arbitrary-point table window is showing.
    using TWindowQuery = std::function<bool()>;
    // Opens a file with the desktop's default application; false when it
    // could not. The default is QDesktopServices::openUrl.
    using TFileOpener = std::function<bool(const QUrl&)>;

    // Dialogs are parented to `parent`; the application's records are read
    // at each command.
    TPdfCommands(const TAppState& context, QWidget* parent);

    void SetArbitraryWindowQuery(TWindowQuery query) { arbitraryShown_ = std::move(query); }
    void SetFileOpener(TFileOpener opener) { openFile_ = std::move(opener); }

    // Both are refused with a message unless their records were calculated
    // from the design as it stands, and ask before replacing the file.
    void WriteMinimum();
    // Refused with its message while the arbitrary-point table window is not
    // showing.
    void WriteArbitrary();

  private:
    void Write(bool arbitrary);

    const TAppState& context_;
    QWidget* parent_;
    TWindowQuery arbitraryShown_;
    TFileOpener openFile_;
};

}  // namespace sorvanta::gui
