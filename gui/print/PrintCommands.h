#pragma once
// The print commands of the main window: preview of one page layout, the
// print of the whole calculation document, and the printer setup. The one
// printer of the application lives here; every printout goes to the printer
// chosen in its setup.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "print/CalculationDocumentPages.h"
#include "run/AppState.h"

class QPrinter;

namespace sorvanta::gui {

// Texts of the print command ("\n" for the line breaks).
inline constexpr const char* kPrintQuestion = "プリンターの準備はいいですか。\n５枚出力します。";
inline constexpr const char* kPrintDone = "出力しました。\n印刷が終わるまでお待ちください。";
// Where no printer is installed the document goes to this file in the
// current directory.
inline constexpr const char* kPrintFileName = "円弧すべり計算書.pdf";

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
    // windows are hidden first; after a preview the design and result
    // windows come back, and the arbitrary-point table window for its pages.
    void ShowPage(TDocumentPage page, TReportSource source, TShowMode mode);
    // Asks first; on Yes prints the contents page and Ⅰ to Ⅴ of the minimum
    // safety factor, reports and shows the design and result windows again.
    void PrintCalculationDocument();
    // The printer, paper and orientation for later printing.
    void PrinterSetup();

  private:
    [[nodiscard]] TDocumentSources Sources() const;
    void HideWindows();
    void ShowWindowsAgain(bool arbitrary);
    // False after telling the user the printer could not be opened.
    bool Print(const std::vector<TDocumentPages>& layouts);

    TAppState& context_;
    QWidget* dialogParent_;
    TWindows windows_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace sorvanta::gui
