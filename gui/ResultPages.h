#pragma once
// Page builders shared by the result tables window (TResultWindow) and the
// arbitrary-point table window (TArbitraryWindow): the slice and load tabs of one
// circle's record and the pieces of the chart page. Each window keeps its own
// control names, texts and connections.

#include <QFrame>
#include <QString>

#include "gui/ResultViews.h"

class QHBoxLayout;
class QLabel;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace sorvanta::gui {

class TChartView;
class TNavigationButtons;
class TPointerDisplay;

// The window's frame: name, title and the tab control ("PageControl1") that
// fills it.
QTabWidget* MakeResultWindowFrame(QWidget* window, const QString& name, const QString& title);

// A vertical layout with the result windows' 4-pixel margins and spacing.
QVBoxLayout* PaddedColumn(QWidget* parent);

// Tabs Ⅲ (slices) and Ⅳ (loads) of one circle's report: the run's critical
// circle or the arbitrary point.
class TCircleTabs {
  public:
    // The result window frames the slice heading as a fixed-width "凡例" group;
    // the arbitrary-point window gives it a third of the row.
    enum class THeadingFrame { LegendGroup, Plain };

    QWidget* BuildSliceTab(QWidget* parent, const QString& headingName, THeadingFrame frame);
    QWidget* BuildLoadTab(QWidget* parent);
    // The method's values (mα, the interslice forces) of a method other than
    // the ordinary one; the window shows the tab only when there are some.
    QWidget* BuildMethodTab(QWidget* parent);

    void Show(const TCircleReport& circle) const;

  private:
    QTableWidget* slices_ = nullptr;       // StringGrid5
    QListWidget* sliceHeading_ = nullptr;  // ListBox4 / ListBox1
    QListWidget* sliceLegend_ = nullptr;   // ListBox11
    QListWidget* sliceNote_ = nullptr;     // ListBox12
    QListWidget* loadHeading_ = nullptr;   // ListBox7
    QListWidget* loadLegend_ = nullptr;    // ListBox8
    QListWidget* loadFormula_ = nullptr;   // ListBox10
    QTableWidget* loads_ = nullptr;        // StringGrid2
    QListWidget* methodHeading_ = nullptr;
    QTableWidget* methods_ = nullptr;
};

// The top row of a chart page, the two mouse help panels and the pointer
// display, added to the page's column.
TPointerDisplay* AddChartHeader(QWidget* page, QVBoxLayout* column, const QString& leftButtonHelp);

// A slip circle chart: square plot, axis font, automatic restore.
TChartView* MakeResultChart(QWidget* parent, const QString& name);

// The large judgement caption above the judgement list.
QLabel* MakeJudgementLabel(QWidget* parent, const QString& name, QFrame::Shadow shadow);

// The circle's judgement caption and list.
void ShowJudgement(QLabel* label, QListWidget* list, const TCircleReport& circle);

// The bottom row of a chart page: navigation buttons, font-size slider and the
// separate-window button, then a stretch for the window's own buttons.
struct TChartControls {
    QHBoxLayout* Row = nullptr;
    TNavigationButtons* Navigation = nullptr;
    QSlider* FontSize = nullptr;
    QToolButton* SeparateWindow = nullptr;
};
TChartControls MakeChartControls(QWidget* page);

}  // namespace sorvanta::gui
