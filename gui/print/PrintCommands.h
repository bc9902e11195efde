#pragma once
// The print commands of the main window: preview of one page layout, the
// print of the whole calculation document, and the printer setup. The one
// printer of the application lives here; every printout goes to the printer
// chosen in its setup.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "gui/print/CalculationDocumentPages.h"
#include "run/AppState.h"

class QPrinter;

namespace sorvanta::gui {

// Texts of the print command ("\n" for the line breaks).
inline constexpr const char* kPrintDone = "出力しました。\n印刷が終わるまでお待ちください。";
// Where no printer is installed the document goes to this file in the
// current directory.
inline constexpr const char* kPrintFileName = "円弧すべり計算書.pdf";
inline constexpr const char* kPrintedToFileNoPrinter =
    "プリンターがないため、計算書をファイルに出力しました。\n%1";
inline constexpr const char* kPrintedToFile = "計算書をファイルに出力しました。\n%1";

// "プリンターの準備はいいですか。\n７枚出力します。": the sheets counted in
// full-width digits, as the question has always written its number.
QString PrintQuestion(int sheets);

enum class TShowMode { Preview = 0, Print = 1 };

class TPrintCommands : public QObject {
    Q_OBJECT
  public:
    // The windows a preview hides and shows again; those that do not exist
    // stay null.
    struct TWindows {
        QPointer<QWidget> Results = {};         // 計算結果テーブル
        QPointer<QWidget> Design = {};          // 設計条件入力
        QPointer<QWidget> Arbitrary = {};       // 任意点円弧滑り検討テーブル
        QPointer<QWidget> Diagram = {};         // 円弧滑り図（最小安全率）
        QPointer<QWidget> ArbitraryChart = {};  // 任意点円弧滑り
    };

    TPrintCommands(TAppState& context, QWidget* dialogParent, QObject* parent = nullptr);
    ~TPrintCommands() override;

    void SetWindows(const TWindows& windows) { windows_ = windows; }
    [[nodiscard]] QPrinter& Printer() { return *printer_; }

    // Fills the page afresh and previews it (modal) or prints it. The
    // windows are hidden first; afterwards every window that was shown comes
    // back, and after a preview the design and result windows too, and the
    // arbitrary-point table window for its pages.
    void ShowPage(TDocumentPage page, TReportSource source, TShowMode mode);
    // Asks first, naming the sheets it will print; on Yes prints the contents
    // page and Ⅰ to Ⅴ of the minimum safety factor, reports (naming the file
    // where it went to one) and shows the windows again as after a preview.
    void PrintCalculationDocument();
    // The printer, paper and orientation for later printing.
    void PrinterSetup();

  private:
    [[nodiscard]] TDocumentPages PagesOf(TDocumentPage page, TReportSource source) const;
    using TShownWindows = std::vector<QPointer<QWidget>>;
    // Hides the windows; returns those that were shown.
    TShownWindows HideWindows();
    void RestoreWindows(const TShownWindows& shown);
    // The shown ones, and the design and result windows (and the
    // arbitrary-point table window) whether or not they were shown.
    void ShowWindowsAgain(const TShownWindows& shown, bool arbitrary);
    struct TPrinted {
        bool Done = false;
        QString FileName;  // where the printer wrote a file, else empty
        bool NoPrinter = false;
    };
    // Not done after telling the user the printer could not be opened.
    TPrinted Print(const std::vector<TDocumentPages>& layouts);

    TAppState& context_;
    QWidget* dialogParent_;
    TWindows windows_;
    std::unique_ptr<QPrinter> printer_;
    // The file this class named for want of a printer; it follows the
    // current directory, a file chosen in the printer setup does not.
    QString fallbackFile_;
};

}  // namespace sorvanta::gui
