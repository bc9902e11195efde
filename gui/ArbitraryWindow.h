#pragma once
// TArbitraryWindow: the arbitrary-point table window ("任意点円弧滑り検討テーブル"). The
// user picks a centre by a left click on the chart (or on the separate chart
// of TArbitraryDiagramWindow) or types it; the core evaluates it into the application's
// arbitrary-point tables and chart, which this window shows.

#include <QWidget>

#include "gui/ResultPages.h"
#include "views/ChartNavigation.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class QTabWidget;
class QToolButton;

namespace sorvanta {
struct TAppState;
}

namespace sorvanta::gui {

class TChartView;
class TArbitraryDiagramWindow;
class TPointerDisplay;

class TArbitraryWindow : public QWidget {
    Q_OBJECT
  public:
    enum TTab { tabSliceLoads, tabLoads, tabFigure, tabMethods };  // Ⅵ: another method only

    TArbitraryWindow(TAppState& context, TArbitraryDiagramWindow& separate,
                     QWidget* parent = nullptr);

    // Every list, grid, the judgement panel and the chart from the records.
    void ShowResults();
    // Evaluates the centre; both boxes are rewritten with it ("0.00").
    void Evaluate(double xo, double yo);
    // The start button: the two boxes through the strict conversion; nothing
    // happens when either is not a number.
    void EvaluateTypedCentre();
    void NavigateOwnChart(TChartCommand command);

    [[nodiscard]] TChartView* Chart() const { return chart_; }
    [[nodiscard]] QTabWidget* Tabs() const { return tabs_; }
    [[nodiscard]] TPointerDisplay* Pointer() const { return pointer_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildFigureTab();
    void ShowPointer(double x, double y);

    TAppState& context_;
    TArbitraryDiagramWindow& separate_;

    QTabWidget* tabs_ = nullptr;
    TCircleTabs circle_;                // Ⅲ, Ⅳ
    TChartView* chart_ = nullptr;       // Chart2
    QLabel* judgementLabel_ = nullptr;  // Panel6
    QListWidget* judgement_ = nullptr;  // ListBox4
    QLineEdit* xo_ = nullptr;           // Edit1
    QLineEdit* yo_ = nullptr;           // Edit2
    QToolButton* start_ = nullptr;      // SpeedButton1
    TPointerDisplay* pointer_ = nullptr;
    QSlider* fontSize_ = nullptr;
};

}  // namespace sorvanta::gui
