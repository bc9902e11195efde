#pragma once
// TResultWindow: the result tables window ("計算結果テーブル"). Five tabs, one per
// section of the calculation document, showing the application's result
// tables and the result chart; it owns no data of its own.

#include <QWidget>

#include "gui/ResultPages.h"
#include "views/ChartNavigation.h"

class QComboBox;
class QLabel;
class QListWidget;
class QGroupBox;
class QPushButton;
class QSlider;
class QTabWidget;
class QTableWidget;

namespace sorvanta {
struct TAppState;
struct TCalculationReport;
}  // namespace sorvanta

namespace sorvanta::gui {

class TBackcalcWindow;
class TChartView;
class TResultDiagramWindow;
class TPointerDisplay;

class TResultWindow : public QWidget {
    Q_OBJECT
  public:
    enum TTab {
        tabDesign,
        tabSafetyFactor,
        tabSliceLoads,
        tabLoads,
        tabFigure,
        tabMethods,     // Ⅵ: shown for a method other than the ordinary one
        tabComparison,  // 分割法比較: see ShowComparison
    };

    TResultWindow(TAppState& context, QWidget* parent = nullptr);

    // The separate diagram window: "別ウィンドウを開く" fills it, and the
    // navigation buttons move its chart too.
    void SetSeparateWindow(TResultDiagramWindow* window) { separate_ = window; }

    // Every list, grid, caption and the chart from the application's records.
    void ShowResults();
    // "全入力項目を表示": the comparison of the methods is offered for every
    // design then, not only for one whose method is not the ordinary one.
    void SetFullInputSet(bool on);

    // Tab Ⅴ in front, the window shown and raised.
    void ShowFigureTab();
    // While a search is watched (計算過程表示): the chart shows this copy of
    // the result chart with the latest trial circle.
    void ShowTrialChart(const TChartModel& chart);
    // Back to the application's result chart.
    void EndTrialChart();

    // A navigation command on this window's chart alone.
    void NavigateOwnChart(TChartCommand command);

    [[nodiscard]] TChartView* Chart() const { return chart_; }
    [[nodiscard]] QTabWidget* Tabs() const { return tabs_; }
    [[nodiscard]] TPointerDisplay* Pointer() const { return pointer_; }
    // The report the tabs show: the application's, or its 地震時 case while
    // "検討ケース" selects that.
    [[nodiscard]] const TCalculationReport& ShownReport() const;
    // "逆算": the back-calculation window on the shown case, made on first use.
    TBackcalcWindow& ShowBackcalc();

  signals:
    // "任意点円弧滑り表示".
    void ArbitraryRequested();

  private:
    QWidget* BuildDesignTab();
    QWidget* BuildSafetyFactorTab();
    QWidget* BuildFigureTab();
    QWidget* BuildComparisonTab();
    // Every method's factor on the critical circle, in its tab when the tab
    // is shown.
    void ShowComparison();
    void OpenSeparateWindow();
    void BuildCaseSelector();
    void SetBackcalcCase();
    // "検討ケース" follows the report: shown only beside a 地震時 case.
    void UpdateCaseSelector();
    [[nodiscard]] bool SeismicShown() const;
    [[nodiscard]] TChartModel& ShownChart();

    TAppState& context_;
    TResultDiagramWindow* separate_ = nullptr;
    TChartModel trialChart_;
    // The 地震時 case's chart, this window's copy: navigation and the label
    // size change it, and the report's copy is shared.
    TChartModel seismicChart_;
    QComboBox* caseSelector_ = nullptr;
    TBackcalcWindow* backcalc_ = nullptr;

    QTabWidget* tabs_ = nullptr;
    // Ⅰ
    QListWidget* contents_ = nullptr;       // ListBox20
    QListWidget* layerSettings_ = nullptr;  // ListBox6
    QTableWidget* soilData_ = nullptr;      // StringGrid3
    QListWidget* soilLegend_ = nullptr;     // ListBox5
    QListWidget* conditions_ = nullptr;     // ListBox2
    QTableWidget* coordinates1_ = nullptr;  // StringGrid4
    QTableWidget* coordinates2_ = nullptr;  // StringGrid6
    // Ⅱ
    QGroupBox* resultGroup_ = nullptr;  // GroupBox11
    QListWidget* formula_ = nullptr;    // ListBox9
    QListWidget* result_ = nullptr;     // ListBox1
    QTableWidget* centre_ = nullptr;    // StringGrid1
    // Ⅲ, Ⅳ
    TCircleTabs circle_;
    // Ⅴ
    QListWidget* judgement_ = nullptr;  // ListBox3
    QLabel* judgementLabel_ = nullptr;  // Panel5
    TChartView* chart_ = nullptr;       // Chart1
    TPointerDisplay* pointer_ = nullptr;
    QSlider* fontSize_ = nullptr;
    // 分割法比較
    bool fullInputSet_ = false;
    QListWidget* comparisonHeading_ = nullptr;  // MethodComparisonList
    QTableWidget* comparison_ = nullptr;        // MethodComparisonGrid
    QPushButton* backcalcButton_ = nullptr;
};

}  // namespace sorvanta::gui
