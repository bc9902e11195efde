#pragma once
// The application: its one design, results and charts, its windows created
// at start-up, and the routing of the main window's commands.

#include <QObject>
#include <memory>

#include "run/AppState.h"
#include "TForm1.h"

class QPrinter;

namespace sorvanta::gui {

class TCalculationController;
class TPdfCommands;
class TForm6;
class TForm7;
class TForm9;
class TForm10;

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
    [[nodiscard]] TCalculationController& Calculation() { return *calculation_; }
    [[nodiscard]] TPdfCommands& PdfCommands() { return *pdf_; }

    void Execute(TCommand command);

private:
    void OnFirstShown();
    void NotAvailable(TCommand command);
    void ShowRunSummary(const QString& summary);
    void ShowFullInputSet(bool on);

    TAppState context_;
    std::unique_ptr<TForm1> form1_;
    TForm7* form7_ = nullptr;
    TForm6* form6_ = nullptr;
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    TCalculationController* calculation_ = nullptr;
    std::unique_ptr<TPdfCommands> pdf_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace sorvanta::gui
