#pragma once
// The uncertainty studies as windows: the sensitivity of Fs to every input
// (spider plot, tornado chart, table) and the probability of failure by
// sampling (summary, histogram, convergence). A study runs on a worker thread
// on the design as it stands when 開始 is pressed; 中止 stops it with what it
// has done so far, and the window stays usable throughout.

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>

#include "run/AppState.h"
#include "run/Probability.h"
#include "views/ChartModel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QDoubleSpinBox;
class QTableWidget;
class QTabWidget;
class QVBoxLayout;

namespace sorvanta::gui {

class TChartView;

// What the two windows share: the inputs row, 開始 and 中止, the progress bar,
// the summary and the result tabs.
class TStudyWindow : public QWidget {
    Q_OBJECT
  public:
    TStudyWindow(TAppState& context, QWidget* parent);
    ~TStudyWindow() override;

    [[nodiscard]] bool Running() const { return running_; }
    // Stops a study in progress and waits for it (the window is closing or
    // the design is about to change).
    void StopAndWait();

  protected:
    // The model of the design as it stands; nothing, with the reason shown,
    // when the checks refuse it.
    [[nodiscard]] std::optional<TAnalysisModel> CheckedModel();
    // Runs `work` on a worker thread; `done` on this one afterwards.
    void RunStudy(std::function<void()> work, std::function<void()> done);
    void ShowProblem(const std::string& text);
    void ShowSummary(const std::vector<std::string>& lines);
    TChartView* AddChartTab(TChartModel& model, const QString& title, const QString& name);
    void closeEvent(QCloseEvent* event) override;

    virtual void Start() = 0;

    TAppState& context_;
    QWidget* inputs_ = nullptr;  // the study's own inputs, left of the buttons
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancel_;
    // Written by the study's thread, shown by the timer.
    std::shared_ptr<std::atomic<int>> maximum_, position_;

  private:
    void SetRunning(bool on);
    QFutureWatcher<void> watcher_;
    QTimer ticker_;
    std::function<void()> done_;
    bool running_ = false;
};

class TSensitivityWindow : public TStudyWindow {
    Q_OBJECT
  public:
    TSensitivityWindow(TAppState& context, QWidget* parent);

  private:
    void Start() override;
    void ShowResult(const TSensitivityResult& result, double range);

    QSpinBox* range_ = nullptr;
    QSpinBox* steps_ = nullptr;
    QTableWidget* table_ = nullptr;
    TChartModel spider_, tornado_;
    TChartView* spiderView_ = nullptr;
    TChartView* tornadoView_ = nullptr;
};

class TProbabilityWindow : public TStudyWindow {
    Q_OBJECT
  public:
    TProbabilityWindow(TAppState& context, QWidget* parent);
    // The design's kept variations into the field (a design was loaded).
    void ShowDesignVariations();

  private:
    void Start() override;

    QSpinBox* samples_ = nullptr;
    QSpinBox* seed_ = nullptr;
    QCheckBox* latin_ = nullptr;
    QLineEdit* variations_ = nullptr;
    TChartModel histogram_, convergence_;
    TChartView* histogramView_ = nullptr;
    TChartView* convergenceView_ = nullptr;
};

}  // namespace sorvanta::gui
