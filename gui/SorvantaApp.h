#pragma once
// The application: its one design, results and charts, its windows created
// at start-up, and the routing of the main window's commands.

#include <QObject>
#include <memory>

#include "TForm1.h"
#include "run/AppState.h"

namespace sorvanta::gui {

class TCalculationController;
class TForm2;
class TPrintCommands;
class TPdfCommands;
class TForm6;
class TForm7;
class TForm9;
class TForm10;
class TForm13;
class TForm14;
class TForm16;

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
    [[nodiscard]] TForm1& MainWindow() { return *form1_; }
    [[nodiscard]] TForm6& DesignWindow() { return *form6_; }
    [[nodiscard]] TForm7& AboutWindow() { return *form7_; }
    [[nodiscard]] TForm9& EntryWindow() { return *form9_; }
    [[nodiscard]] TForm10& QuickEntryWindow() { return *form10_; }
    [[nodiscard]] TForm2& ResultWindow() { return *form2_; }
    [[nodiscard]] TForm13& ResultDiagramWindow() { return *form13_; }
    [[nodiscard]] TForm16& ArbitraryWindow() { return *form16_; }
    [[nodiscard]] TForm14& ArbitraryDiagramWindow() { return *form14_; }
    // The arbitrary-point table window is shown: its PDF may be written.
    [[nodiscard]] bool ArbitraryWindowShown() const;
    [[nodiscard]] TCalculationController& Calculation() { return *calculation_; }
    [[nodiscard]] TPrintCommands& Printing() { return *printing_; }
    [[nodiscard]] TPdfCommands& PdfCommands() { return *pdf_; }

    void Execute(TCommand command);

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

    TAppState context_;
    std::unique_ptr<TForm1> form1_;
    TForm2* form2_ = nullptr;
    TForm7* form7_ = nullptr;
    TForm6* form6_ = nullptr;
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    TForm16* form16_ = nullptr;
    TForm13* form13_ = nullptr;
    TForm14* form14_ = nullptr;
    TCalculationController* calculation_ = nullptr;
    TPrintCommands* printing_ = nullptr;
    std::unique_ptr<TPdfCommands> pdf_;
};

}  // namespace sorvanta::gui
