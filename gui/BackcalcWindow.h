#pragma once
// TBackcalcWindow: "逆算" — the strengths of one layer that a known slip
// reveals, on the critical circle of the case the result window shows or on
// the circle about a typed centre: the c–tanφ chart, the table of pairs and
// the answer, with a plain message for every input it cannot use.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "engine/AnalysisModel.h"
#include "engine/Geometry.h"
#include "report/BackcalcReport.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace sorvanta::gui {

class TChartView;

class TBackcalcWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TBackcalcWindow(QWidget* parent = nullptr);

    // The case to work on: its model and critical circle (none without one),
    // its name for the caption ("常時", "地震時 (kh=0.15)"), and the design's
    // name for the PDF.
    void SetCase(std::shared_ptr<const TAnalysisModel> model, std::optional<TSlipCircle> critical,
                 const QString& caseName, const std::string& designName);

    // "逆算": reads the inputs and shows the result or says what is wrong.
    void Calculate();

    // "PDF保存": the shown result as a one-page PDF, to a file the user picks.
    void SavePdf();

    [[nodiscard]] QString Message() const;
    [[nodiscard]] const std::optional<TBackcalcReport>& Report() const { return report_; }

  private:
    void ShowMessage(const QString& text, bool error);
    void ShowReport();

    std::shared_ptr<const TAnalysisModel> model_;
    std::optional<TSlipCircle> critical_;
    std::optional<TBackcalcReport> report_;
    std::string designName_;
    TChartModel chart_;

    QLabel* caseLabel_ = nullptr;      // CaseLabel
    QLineEdit* fs0_ = nullptr;         // Fs0Edit
    QLineEdit* layer_ = nullptr;       // LayerEdit
    QButtonGroup* given_ = nullptr;    // GivenCohesion / GivenPhi
    QLineEdit* value_ = nullptr;       // GivenValueEdit
    QButtonGroup* circle_ = nullptr;   // CriticalCircle / TypedCentre
    QLineEdit* centreX_ = nullptr;     // CentreXEdit
    QLineEdit* centreY_ = nullptr;     // CentreYEdit
    QPushButton* savePdf_ = nullptr;   // BackcalcPdfButton
    QLabel* message_ = nullptr;        // BackcalcMessage
    QListWidget* lines_ = nullptr;     // BackcalcLines
    QTableWidget* table_ = nullptr;    // BackcalcTable
    TChartView* chartView_ = nullptr;  // BackcalcChart
};

}  // namespace sorvanta::gui
