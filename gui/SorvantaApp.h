#pragma once
// The application: its one design, results and charts, its windows created
// at start-up, and the routing of the main window's commands.

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

#include "gui/MainWindow.h"
#include "run/AppState.h"

namespace sorvanta::gui {

class TCalculationController;
class TResultWindow;
class TPrintCommands;
class TPdfCommands;
class TDesignWindow;
class TAboutWindow;
class TEntryWindow;
class TQuickEntryWindow;
class TResultDiagramWindow;
class TArbitraryDiagramWindow;
class TArbitraryWindow;
class TSensitivityWindow;
class TProbabilityWindow;

class TSorvantaApp : public QObject {
    Q_OBJECT
  public:
    // Creates the windows in their start-up order, all hidden.
    TSorvantaApp();
    ~TSorvantaApp() override;

    // Shows the main window maximised; its first showing runs the start-up
    // initialisation (design window shown, sample design, reduced input set).
    void Start();

    [[nodiscard]] TAppState& Context() { return context_; }
    [[nodiscard]] TMainWindow& MainWindow() { return *mainWindow_; }
    [[nodiscard]] TDesignWindow& DesignWindow() { return *designWindow_; }
    [[nodiscard]] TAboutWindow& AboutWindow() { return *aboutWindow_; }
    [[nodiscard]] TEntryWindow& EntryWindow() { return *entryWindow_; }
    [[nodiscard]] TQuickEntryWindow& QuickEntryWindow() { return *quickEntryWindow_; }
    [[nodiscard]] TResultWindow& ResultWindow() { return *resultWindow_; }
    [[nodiscard]] TResultDiagramWindow& ResultDiagramWindow() { return *resultDiagramWindow_; }
    [[nodiscard]] TArbitraryWindow& ArbitraryWindow() { return *arbitraryWindow_; }
    [[nodiscard]] TArbitraryDiagramWindow& ArbitraryDiagramWindow() {
        return *arbitraryDiagramWindow_;
    }
    // The arbitrary-point table window is shown: its PDF may be written.
    [[nodiscard]] bool ArbitraryWindowShown() const;
    [[nodiscard]] TCalculationController& Calculation() { return *calculation_; }
    [[nodiscard]] TPrintCommands& Printing() { return *printing_; }
    [[nodiscard]] TPdfCommands& PdfCommands() { return *pdf_; }
    // The study windows, made when first asked for.
    [[nodiscard]] TSensitivityWindow& SensitivityWindow();
    [[nodiscard]] TProbabilityWindow& ProbabilityWindow();

    void Execute(TCommand command);

    // 自動計算: on, an accepted edit of the design starts a run, at once
    // after LiveDelayMs without edits, else once LiveDelayMs have passed
    // without further edits; remembered for the next start.
    void SetLiveCalculation(bool on);
    [[nodiscard]] bool LiveCalculation() const { return live_; }
    static constexpr int LiveDelayMs = 150;

  private:
    void OnFirstShown();
    // Starts a run from the design window's button or the main window's
    // command, each placing the result window its own way first.
    void StartFromDesignWindow();
    void StartFromMenu();
    void OnSearchStarted();
    void OnRunFinished();
    // The result window at (D.left, D.top + 25), shown; the arbitrary-point
    // table window 35 pixels right of it, shown.
    void PlaceAndShowResults();
    void PlaceAndShowArbitrary();
    // A loaded design starts without results: every record, chart and result
    // window is back as at start-up (hidden), none shows the last design's.
    void ClearResultWindows();
    void ShowFullInputSet(bool on);
    void OnDesignEdited();
    // The pause after the last edit has passed: a live run unless the design
    // is the one the last live run read (forced: run regardless).
    void RunLive(bool forced = false);
    // The design window's chart shows the last run's circle or refusal.
    void ShowLiveResult();

    TAppState context_;
    std::unique_ptr<TMainWindow> mainWindow_;
    TResultWindow* resultWindow_ = nullptr;
    TAboutWindow* aboutWindow_ = nullptr;
    TDesignWindow* designWindow_ = nullptr;
    TEntryWindow* entryWindow_ = nullptr;
    TQuickEntryWindow* quickEntryWindow_ = nullptr;
    TArbitraryWindow* arbitraryWindow_ = nullptr;
    TResultDiagramWindow* resultDiagramWindow_ = nullptr;
    TArbitraryDiagramWindow* arbitraryDiagramWindow_ = nullptr;
    TSensitivityWindow* sensitivityWindow_ = nullptr;
    TProbabilityWindow* probabilityWindow_ = nullptr;
    TCalculationController* calculation_ = nullptr;
    TPrintCommands* printing_ = nullptr;
    std::unique_ptr<TPdfCommands> pdf_;
    bool live_ = false;
    QTimer liveTimer_;
    // What the last live run read: an edit that changed nothing starts none.
    struct TLiveInputs {
        TDesignConditions Design;
        TAnalysisOptions Options;
        TDrawingOptions Drawing;
        bool operator==(const TLiveInputs&) const = default;
    };
    std::optional<TLiveInputs> liveInputs_;
};

}  // namespace sorvanta::gui
