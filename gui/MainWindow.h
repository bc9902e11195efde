#pragma once
// TMainWindow: the main window, the application's frame with menus, tool bars and
// status bar. It routes every command to the application; it owns no data.

#include <QMainWindow>
#include <QMap>
#include <functional>

class QAction;

namespace sorvanta::gui {

enum class TCommand {
    Load,
    Save,
    Exit,
    Print,
    PreviewContents,
    PreviewDesign,
    PreviewSafetyFactor,
    PreviewSliceLoads,
    PreviewLoads,
    PreviewFigure,
    PreviewArbitrarySliceLoads,
    PreviewArbitraryLoads,
    PreviewArbitraryFigure,
    PreviewMethods,      // shown when the document has the method's section
    PreviewCaseSummary,  // shown when it has both design cases
    PrinterSetup,
    TextOutput,
    Metafiles,
    PdfMinimum,
    PdfArbitrary,
    ShowDesign,
    ShowResults,          // "2.計算結果テーブル": where the window is
    PlaceAndShowResults,  // "計算結果": first placed under the design window
    ShowArbitrary,
    FullInputSet,  // checkable: the design window's full input set
    Calculate,
    LiveCalculation,  // checkable: "自動計算", menu item and tool button alike
    Sensitivity,      // shown with the full input set
    Probability,      // shown with the full input set
    About,
};

class TMainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainWindow(QWidget* parent = nullptr);

    // The menu item of a command (the tool button's own action for
    // PlaceAndShowResults); nullptr when the command has none.
    QAction* MenuAction(TCommand command) const { return menuActions_.value(command, nullptr); }
    QAction* ToolAction(TCommand command) const { return toolActions_.value(command, nullptr); }

    // The studies' menu items, shown with the full input set.
    void ShowStudies(bool on);
    // The preview's items for the document's pages beyond Ⅴ: the method's
    // section and the cases' summary (its caption numbered as its page).
    void ShowExtraPreviews(bool methods, const QString& caseSummary);
    // Asked before the preview menu opens, to show the items above.
    void SetPreviewMenuHook(std::function<void()> hook) { previewHook_ = std::move(hook); }

    // "終了しますか。" at screen position (0, 80); Yes closes the window.
    void ConfirmExit();
    // Asked whenever the window is about to close (終了 or the frame); false
    // keeps it open.
    void SetCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

    // Commands that change the design wait while a run reads it.
    void SetRunning(bool running);

  signals:
    void CommandTriggered(sorvanta::gui::TCommand command);
    void FirstShown();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBars();
    QAction* AddMenuItem(class QMenu* menu, const QString& text, TCommand command);
    QAction* MakeToolAction(const QString& caption, const QString& hint, int icon,
                            TCommand command);

    QWidget* noHintButton_ = nullptr;
    QMap<TCommand, QAction*> menuActions_;
    QMap<TCommand, QAction*> toolActions_;
    QList<QAction*> studyActions_;  // the studies' menu items and their separator
    QAction* extraPreviewSeparator_ = nullptr;
    std::function<void()> previewHook_;
    bool shown_ = false;
    std::function<bool()> closeGuard_;
};

}  // namespace sorvanta::gui
