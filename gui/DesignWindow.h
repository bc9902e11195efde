#pragma once
// TDesignWindow: the design window ("設計条件入力"): the inputs of the design
// conditions, the live preview "地形図" with mouse digitising, and the start
// of a calculation run.

#include <QWidget>
#include <array>
#include <string_view>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "views/ChartModel.h"
#include "views/Digitiser.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace sorvanta::gui {

class TChartView;
class TEntryWindow;
class TQuickEntryWindow;

class TDesignWindow : public QWidget {
    Q_OBJECT
  public:
    // The design, its options and the preview model are the application's;
    // they outlive the window.
    TDesignWindow(TDesignConditions& design, TAnalysisOptions& options, TDrawingOptions& drawing,
                  TChartModel& preview, QWidget* parent = nullptr);

    void SetEntryWindows(TEntryWindow* entry, TQuickEntryWindow* quickEntry);

    // Start-up: grids prepared, pages opened, the sample design shown, then
    // the reduced input set (γs, groundwater, stress type and load hidden).
    void PrepareGrids();
    void OpenStartPages();
    void ShowSampleDesign();
    void ApplyReducedInputSet();
    // Shows (or hides again) what the reduced input set hides; the design
    // keeps its values either way.
    void SetFullInputSet(bool full);

    // After a load: the controls show the design; the preview takes the axes
    // and the dependent states are refreshed in file order.
    void ShowLoadedDesign(const TPreviewAxes& axes);
    // "設計条件 " + DesignName.
    void ShowDesignName();

    // The dependent states.
    void ApplyLayerCount();
    void ApplyWaterSwitch();
    void ApplyNeverCutLineSwitch();
    void ApplyMustCutPointSwitch();
    void ApplyLoadSwitch();

    // Digitising and the commands of the right panel.
    void StartDigitising(TFigureKind kind);
    void TrackPointer(double x, double y);
    void DigitisePoint(double x, double y, bool last);
    void ClearLayers();

    // Progress of a run: the status text box and the progress bar.
    void SetStatusText(const QString& text);
    void SetProgressMaximum(int maximum);
    void SetProgressPosition(int position);
    void StepProgress();
    // While a run reads the design, its inputs are closed; the stop button is
    // offered instead.
    void SetRunning(bool running);

    // A coordinate table changed from outside (entry windows): grid and series.
    void RefreshTable(TFigureKind kind);
    // The pages the failure of a run brings forward: "２．計算条件", "円弧条件".
    void ShowCircleConditionsPage();
    // The soil page on a layer's tab (0-based), or the groundwater tab.
    void ShowLayerPage(int layerIndex);

    // 自動計算 (DesignWindow_Live.cpp): the critical circle of the design and
    // its Fs with the verdict over the preview, or a refusal's first line in
    // red; nothing when cleared. The preview model itself is never touched,
    // so its figure and prints stay as they are.
    void ShowLiveCircle(double xo, double yo, double r, double xb, double yb, double xe, double ye,
                        const QString& text, bool ok);
    void ShowLiveRefusal(const QString& text);
    void ClearLiveResult();
    // What the chart shows of the live result; empty when nothing.
    [[nodiscard]] QString LiveResultText() const;

    [[nodiscard]] TChartView* Preview() const { return chart_; }
    [[nodiscard]] const TDigitiser& Digitiser() const { return digitiser_; }
    // Where the entry windows open: (window.left + middle panel.left,
    // window.top + left panel.top + 22).
    [[nodiscard]] QPoint EntryWindowPosition() const;

  signals:
    void StartRequested();
    void StopRequested();
    // The user changed the design, its options or drawing: a value accepted
    // (Return or leaving the field, a choice picked, a box ticked), a point
    // digitised, a table written. Emitted also when nothing actually changed.
    void DesignEdited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct TLayerControls {
        QWidget* Page = nullptr;
        QComboBox* GammaT = nullptr;
        QLabel* GammaSLabel = nullptr;
        QComboBox* GammaS = nullptr;
        QComboBox* Phi = nullptr;
        QComboBox* Cohesion = nullptr;
        QTableWidget* Grid = nullptr;
    };

    // Layout (DesignWindow_Layout.cpp).
    QWidget* BuildLeftPanel();
    QWidget* BuildSoilPage();
    QWidget* BuildLayerPage(int index);
    QWidget* BuildCalculationPage();
    QWidget* BuildGeneralTab();
    QWidget* BuildCircleTab();
    QWidget* BuildLoadTab();
    QWidget* BuildSeismicTab();
    QWidget* BuildMiddlePanel();
    QWidget* BuildRightPanel();
    QTableWidget* MakeGrid(TFigureKind kind, const QString& name);
    void ConnectInputs();
    // Every input of the window reports its accepted edits (DesignEdited).
    void ConnectEditReports();

    // Controls <-> design.
    void ShowDesignInControls();
    void ShowTable(TFigureKind kind);
    [[nodiscard]] QTableWidget* GridOf(TFigureKind kind) const;
    void RedrawLayers();
    void DrawLoad();
    // The ground surface or γt of layer 1 changed: the load outline and the
    // never-cut elevation line stand on the ground, so they follow it.
    void RedrawOnGround();
    void HideEntryWindow();
    void OpenEntryWindow(TFigureKind kind);
    void OpenQuickEntry();
    void ShowMessage(const QString& text);
    void SetDigitiseStop();
    void OnSoilPageEntered(int index);
    // The earthquake and countermeasure options (DesignWindow_Options.cpp).
    void ShowOptionsInControls();
    void ConnectOptionInputs();
    void ApplyDesignGuide(int index);
    void ApplyLoadInAnalysis();
    // A value the option cannot hold is named at once, as the load's inputs are.
    void CheckOptionInput(std::string_view key);

    TDesignConditions& design_;
    TAnalysisOptions& options_;
    TDrawingOptions& drawing_;
    TChartModel& previewModel_;
    TDigitiser digitiser_;
    TEntryWindow* entry_ = nullptr;
    TQuickEntryWindow* quickEntry_ = nullptr;
    bool running_ = false;

    QWidget* leftPanel_ = nullptr;
    QWidget* middlePanel_ = nullptr;
    QWidget* rightPanel_ = nullptr;
    QTabWidget* inputPages_ = nullptr;
    QTabWidget* layerTabs_ = nullptr;
    QTabWidget* calcTabs_ = nullptr;
    std::array<TLayerControls, MaxLayers> layers_{};
    QWidget* waterTab_ = nullptr;
    QTableWidget* waterGrid_ = nullptr;
    QPushButton* quickEntryButton_ = nullptr;
    QComboBox* layerCount_ = nullptr;
    QGroupBox* waterGroup_ = nullptr;
    QComboBox* gammaW_ = nullptr;
    QCheckBox* waterEnabled_ = nullptr;

    QGroupBox* stressTypeGroup_ = nullptr;
    QButtonGroup* stressType_ = nullptr;
    QComboBox* maxSliceWidth_ = nullptr;
    QComboBox* safetyFactor_ = nullptr;
    QLineEdit* meshPitch_ = nullptr;
    QComboBox* meshCount_ = nullptr;
    QCheckBox* showSafetyFactors_ = nullptr;
    QCheckBox* showCalculationProcess_ = nullptr;
    QCheckBox* showSliceLines_ = nullptr;
    QCheckBox* showSliceNumbers_ = nullptr;
    QCheckBox* gridFsEnabled_ = nullptr;
    QComboBox* gridFsMeshCount_ = nullptr;
    QCheckBox* contourEnabled_ = nullptr;
    QComboBox* contourMeshCount_ = nullptr;

    QGroupBox* neverCutLineGroup_ = nullptr;
    QCheckBox* neverCutLineEnabled_ = nullptr;
    QTableWidget* neverCutLineGrid_ = nullptr;
    QLineEdit* neverCutElevation_ = nullptr;
    QGroupBox* mustCutGroup_ = nullptr;
    QCheckBox* mustCutEnabled_ = nullptr;
    QTableWidget* mustCutGrid_ = nullptr;
    QButtonGroup* stressDisplay_ = nullptr;
    QButtonGroup* slipDirection_ = nullptr;

    QGroupBox* loadGroup_ = nullptr;
    QCheckBox* loadEnabled_ = nullptr;
    QGroupBox* loadIntensityGroup_ = nullptr;
    QGroupBox* loadRangeGroup_ = nullptr;
    QLineEdit* loadIntensity_ = nullptr;
    QLineEdit* loadStartX_ = nullptr;
    QLineEdit* loadEndX_ = nullptr;
    QLabel* loadNote_ = nullptr;  // the load is outside the calculation
    QCheckBox* loadInAnalysis_ = nullptr;

    // Shown with the full input set only.
    QWidget* seismicTab_ = nullptr;
    QComboBox* designGuide_ = nullptr;  // fills values; not stored
    QLineEdit* kh_ = nullptr;
    QButtonGroup* designCase_ = nullptr;
    QComboBox* requiredFsSeismic_ = nullptr;
    QLineEdit* plannedFs_ = nullptr;
    QLineEdit* anchorAngle_ = nullptr;
    QLineEdit* anchorX_ = nullptr;
    QLineEdit* pilePitch_ = nullptr;
    QComboBox* sliceMethod_ = nullptr;
    QComboBox* poreForm_ = nullptr;

    TChartView* chart_ = nullptr;
    class TLiveOverlay* liveOverlay_ = nullptr;
    QLabel* pointerX_ = nullptr;
    QLabel* pointerY_ = nullptr;
    QLineEdit* statusText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QButtonGroup* printMode_ = nullptr;

    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QButtonGroup* digitiseGroup_ = nullptr;
    std::array<QToolButton*, 9> digitiseButtons_{};  // S, 1..5, w, N, M
    QPushButton* clearButton_ = nullptr;
    QPushButton* zoomInButton_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
};

}  // namespace sorvanta::gui
