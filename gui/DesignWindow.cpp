#include "gui/DesignWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>
#include <type_traits>

#include "design/DesignFields.h"
#include "gui/CoordinateGridStyle.h"
#include "gui/EntryWindow.h"
#include "gui/OutputMessages.h"
#include "gui/QuickEntryWindow.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"
#include "views/ChartNavigation.h"
#include "views/PreviewChart.h"

namespace sorvanta::gui {

namespace {

void SetChoiceText(QComboBox* box, const std::string& text) {
    const QSignalBlocker block(box);
    box->setEditText(Q(text));
}

void SetEditText(QLineEdit* edit, const std::string& text) {
    const QSignalBlocker block(edit);
    edit->setText(Q(text));
}

void SetChecked(QCheckBox* box, bool on) {
    const QSignalBlocker block(box);
    box->setChecked(on);
}

void SetRadio(QButtonGroup* group, int index) {
    if (QAbstractButton* b = group->button(index)) {
        const QSignalBlocker block(b);
        b->setChecked(true);
    }
}

}  // namespace

TDesignWindow::TDesignWindow(TDesignConditions& design, TAnalysisOptions& options,
                             TDrawingOptions& drawing, TChartModel& preview, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      design_(design),
      options_(options),
      drawing_(drawing),
      previewModel_(preview) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("設計条件入力"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    leftPanel_ = BuildLeftPanel();
    middlePanel_ = BuildMiddlePanel();
    rightPanel_ = BuildRightPanel();
    layout->addWidget(leftPanel_);
    layout->addWidget(middlePanel_, 1);
    layout->addWidget(rightPanel_);
    setMinimumSize(695, 464);
    resize(731, 571);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(731 / 2, 571 / 2));
    }
    ShowDesignInControls();
    ConnectInputs();
    ConnectEditReports();
}

void TDesignWindow::SetEntryWindows(TEntryWindow* entry, TQuickEntryWindow* quickEntry) {
    entry_ = entry;
    quickEntry_ = quickEntry;
}

// ---------------------------------------------------------------------------
// Start-up

void TDesignWindow::PrepareGrids() {
    auto prepare = [](QTableWidget* grid, int first) {
        SetCoordinateColumnWidths(grid, first, 37);
    };
    for (auto& layer : layers_) prepare(layer.Grid, 18);
    prepare(neverCutLineGrid_, 18);
    prepare(waterGrid_, 18);
    prepare(mustCutGrid_, 35);
}

void TDesignWindow::OpenStartPages() {
    inputPages_->setCurrentIndex(0);
    layerTabs_->setCurrentIndex(0);
    calcTabs_->setCurrentIndex(0);
}

void TDesignWindow::ShowSampleDesign() {
    LoadSampleDesign(design_);
    previewModel_.Bottom = SamplePreviewAxes.Bottom;
    previewModel_.Left = SamplePreviewAxes.Left;
    ShowDesignInControls();
    ApplyWaterSwitch();
    ApplyNeverCutLineSwitch();
    ApplyMustCutPointSwitch();
    ApplyLoadSwitch();
    try {
        DrawPreview(previewModel_, design_);
    } catch (const std::exception&) {
        // The sample design converts; nothing to report.
    }
    chart_->update();
}

void TDesignWindow::ApplyReducedInputSet() {
    SetFullInputSet(false);
    ApplyLayerCount();
}

void TDesignWindow::SetFullInputSet(bool full) {
    for (auto& layer : layers_) {
        layer.GammaSLabel->setVisible(full);
        layer.GammaS->setVisible(full);
    }
    waterGroup_->setVisible(full);
    stressTypeGroup_->setVisible(full);
    calcTabs_->setTabVisible(calcTabs_->indexOf(loadGroup_->parentWidget()), full);
    calcTabs_->setTabVisible(calcTabs_->indexOf(seismicTab_), full);
}

void TDesignWindow::ShowLoadedDesign(const TPreviewAxes& axes) {
    // The loaded tables replace whatever was being digitised.
    digitiser_.StopAll();
    SetDigitiseStop();
    previewModel_.Bottom = axes.Bottom;
    previewModel_.Left = axes.Left;
    ShowDesignInControls();
    try {
        DrawPreview(previewModel_, design_);
    } catch (const std::exception&) {
        // Only the load outline fails here; ApplyLoadSwitch below draws it
        // again and reports the error, once.
    }
    // A load keeps the γw it read; the switches only refresh what is shown.
    ApplyLayerCount();
    ApplyWaterSwitch();
    ApplyNeverCutLineSwitch();
    ApplyMustCutPointSwitch();
    ApplyLoadSwitch();
    chart_->update();
}

void TDesignWindow::ShowDesignName() {
    setWindowTitle(QStringLiteral("設計条件 ") + Q(design_.DesignName));
}

// ---------------------------------------------------------------------------
// Controls <-> design

void TDesignWindow::ShowDesignInControls() {
    for (int i = 0; i < MaxLayers; ++i) {
        const auto& layer = design_.Layers[static_cast<std::size_t>(i)];
        auto& c = layers_[static_cast<std::size_t>(i)];
        SetChoiceText(c.GammaT, layer.GammaT);
        SetChoiceText(c.GammaS, layer.GammaS);
        SetChoiceText(c.Phi, layer.Phi);
        SetChoiceText(c.Cohesion, layer.Cohesion);
    }
    SetChoiceText(layerCount_, design_.LayerCount);
    SetChoiceText(gammaW_, design_.GammaW);
    SetChecked(waterEnabled_, design_.WaterEnabled);
    SetRadio(stressType_, design_.StressType);
    SetChoiceText(safetyFactor_, design_.SafetyFactor);
    SetChoiceText(maxSliceWidth_, design_.MaxSliceWidth);
    SetEditText(meshPitch_, design_.MeshPitch);
    SetChoiceText(meshCount_, design_.MeshCount);
    SetChecked(showSafetyFactors_, design_.ShowSafetyFactors);
    SetChecked(showCalculationProcess_, design_.ShowCalculationProcess);
    SetEditText(neverCutElevation_, design_.NeverCutElevation);
    SetChecked(neverCutLineEnabled_, design_.NeverCutLineEnabled);
    SetChecked(mustCutEnabled_, design_.MustCutPointEnabled);
    SetChecked(loadEnabled_, design_.LoadEnabled);
    SetEditText(loadIntensity_, design_.LoadIntensity);
    SetEditText(loadStartX_, design_.LoadStartX);
    SetEditText(loadEndX_, design_.LoadEndX);
    SetRadio(stressDisplay_, static_cast<int>(options_.Form));
    SetRadio(slipDirection_, static_cast<int>(options_.Direction));
    SetChecked(showSliceLines_, drawing_.ShowSliceLines);
    SetChecked(showSliceNumbers_, drawing_.ShowSliceNumbers);
    SetChecked(gridFsEnabled_, options_.GridFsEnabled);
    SetChoiceText(gridFsMeshCount_, options_.GridFsMeshCount);
    SetChecked(contourEnabled_, options_.ContourEnabled);
    SetChoiceText(contourMeshCount_, options_.ContourMeshCount);
    SetRadio(printMode_, drawing_.PrintMode);
    ShowOptionsInControls();
    for (TFigureKind kind : TableKinds) ShowTable(kind);
}

QTableWidget* TDesignWindow::GridOf(TFigureKind kind) const {
    switch (kind) {
        case fkLayer1:
        case fkLayer2:
        case fkLayer3:
        case fkLayer4:
        case fkLayer5:
            return layers_[static_cast<std::size_t>(kind - fkLayer1)].Grid;
        case fkMustCutPoint:
            return mustCutGrid_;
        case fkNeverCutLine:
            return neverCutLineGrid_;
        case fkWater:
            return waterGrid_;
        default:
            return nullptr;
    }
}

void TDesignWindow::ShowTable(TFigureKind kind) {
    QTableWidget* grid = GridOf(kind);
    const TCoordinateTable* table = FigureTable(design_, kind);
    if (!grid || !table) return;
    grid->setRowCount(static_cast<int>(table->Rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const auto& row = table->Rows[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&row.No, &row.X, &row.Y};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(Q(*cells[c]));
            item->setTextAlignment(c == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
            grid->setItem(r, c, item);
        }
    }
    FitCoordinateColumns(grid);
}

void TDesignWindow::RefreshTable(TFigureKind kind) {
    ShowTable(kind);
    DrawFigure(previewModel_, design_, kind);
    if (kind == fkLayer1) RedrawOnGround();
    chart_->update();
    emit DesignEdited();
}

void TDesignWindow::RedrawLayers() {
    for (int k = 0; k < MaxLayers; ++k)
        previewModel_.Series.at(static_cast<std::size_t>(k)).Clear();
    const std::optional<int> n = StrictInteger(design_, TFieldId::LayerCount);
    const int layers = n ? std::clamp(*n, 0, MaxLayers) : 0;
    for (int k = 0; k < layers; ++k)
        DrawFigure(previewModel_, design_, static_cast<TFigureKind>(fkLayer1 + k));
    chart_->update();
}

void TDesignWindow::DrawLoad() {
    try {
        DrawLoadOutline(previewModel_, design_);
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    }
    chart_->update();
}

void TDesignWindow::RedrawOnGround() {
    DrawNeverCutElevation(previewModel_, design_);
    if (design_.LoadEnabled) {
        try {
            DrawLoadOutline(previewModel_, design_);
        } catch (const std::exception&) {
            // A γt being typed over: the outline waits for a number. Only the
            // load's own inputs report a γt that does not convert.
        }
    }
    chart_->update();
}

void TDesignWindow::ShowMessage(const QString& text) {
    Inform(this, CoreMessageText(text.toStdString()), QStringLiteral("DesignMessage"));
}

// ---------------------------------------------------------------------------
// Dependent states

void TDesignWindow::ApplyLayerCount() {
    const int n = NormaliseLayerCount(design_);
    if (n > 0) {
        if (layerCount_->currentText() != Q(design_.LayerCount))
            SetChoiceText(layerCount_, design_.LayerCount);
        for (int i = 0; i < MaxLayers; ++i) layerTabs_->setTabVisible(i, i < n);
        layerTabs_->setCurrentIndex(0);
        for (int i = 0; i < MaxLayers; ++i)
            digitiseButtons_[static_cast<std::size_t>(1 + i)]->setEnabled(i < n);
        RedrawLayers();
    }
    HideEntryWindow();
}

void TDesignWindow::ApplyWaterSwitch() {
    const int waterIndex = layerTabs_->indexOf(waterTab_);
    const bool on = design_.WaterEnabled;
    layerTabs_->setTabVisible(waterIndex, on);
    gammaW_->setEnabled(on);
    digitiseButtons_[6]->setEnabled(on);
    if (on) {
        layerTabs_->setCurrentIndex(waterIndex);
        DrawFigure(previewModel_, design_, fkWater);
    } else {
        previewModel_.Series.at(fkWater).Clear();
    }
    layerTabs_->setCurrentIndex(0);
    HideEntryWindow();
    chart_->update();
}

void TDesignWindow::ApplyNeverCutLineSwitch() {
    const bool on = design_.NeverCutLineEnabled;
    neverCutLineGroup_->setFixedHeight(on ? 130 : 43);
    neverCutLineGrid_->setVisible(on);
    digitiseButtons_[7]->setEnabled(on);
    if (on) {
        DrawFigure(previewModel_, design_, fkNeverCutLine);
    } else {
        previewModel_.Series.at(fkNeverCutLine).Clear();
    }
    HideEntryWindow();
    chart_->update();
}

void TDesignWindow::ApplyMustCutPointSwitch() {
    const bool on = design_.MustCutPointEnabled;
    mustCutGroup_->setFixedHeight(on ? 115 : 43);
    mustCutGrid_->setVisible(on);
    digitiseButtons_[8]->setEnabled(on);
    if (on) {
        DrawFigure(previewModel_, design_, fkMustCutPoint);
    } else {
        previewModel_.Series.at(fkMustCutPoint).Clear();
    }
    HideEntryWindow();
    chart_->update();
}

void TDesignWindow::ApplyLoadSwitch() {
    const bool on = design_.LoadEnabled;
    // The switch and the note below the inputs add their lines to the
    // group's 195 pixels.
    loadGroup_->setFixedHeight(on ? 195 + 22 + 48 : 45);
    loadIntensityGroup_->setVisible(on);
    loadRangeGroup_->setVisible(on);
    loadInAnalysis_->setVisible(on);
    ApplyLoadInAnalysis();
    if (on) {
        DrawLoad();
    } else {
        previewModel_.Series.at(fkLoad).Clear();
        chart_->update();
    }
}

// ---------------------------------------------------------------------------
// Inputs

void TDesignWindow::ConnectInputs() {
    auto bindChoice = [this](QComboBox* box, std::string& field, auto after) {
        connect(box, &QComboBox::editTextChanged, this, [&field, after](const QString& text) {
            field = S(text);
            after();
        });
    };
    auto bindEdit = [this](QLineEdit* edit, std::string& field, auto after) {
        connect(edit, &QLineEdit::textChanged, this, [&field, after](const QString& text) {
            field = S(text);
            after();
        });
    };
    auto bindCheck = [this](QCheckBox* box, bool& field, auto after) {
        connect(box, &QCheckBox::toggled, this, [&field, after](bool on) {
            field = on;
            after();
        });
    };
    // The item index is the value: ints and the choice enumerations alike.
    auto bindRadio = [this](QButtonGroup* group, auto& field) {
        connect(group, &QButtonGroup::idToggled, this, [&field](int id, bool on) {
            if (on) field = static_cast<std::remove_reference_t<decltype(field)>>(id);
        });
    };
    const auto nothing = [] {};

    for (int i = 0; i < MaxLayers; ++i) {
        auto& c = layers_[static_cast<std::size_t>(i)];
        auto& layer = design_.Layers[static_cast<std::size_t>(i)];
        bindChoice(c.GammaT, layer.GammaT, [this, i, &c, &layer] {
            if (DeriveGammaS(design_, i)) SetChoiceText(c.GammaS, layer.GammaS);
            if (i == 0) RedrawOnGround();
        });
        bindChoice(c.GammaS, layer.GammaS, nothing);
        bindChoice(c.Phi, layer.Phi, nothing);
        bindChoice(c.Cohesion, layer.Cohesion, nothing);
    }
    bindChoice(layerCount_, design_.LayerCount, [this] { ApplyLayerCount(); });
    bindChoice(gammaW_, design_.GammaW, nothing);
    bindCheck(waterEnabled_, design_.WaterEnabled, [this] {
        // Ticking offers the usual γw; clearing shows that none is used.
        design_.GammaW = design_.WaterEnabled ? "10.0" : GammaWOffText;
        SetChoiceText(gammaW_, design_.GammaW);
        ApplyWaterSwitch();
    });
    bindRadio(stressType_, design_.StressType);
    bindChoice(safetyFactor_, design_.SafetyFactor, nothing);
    bindChoice(maxSliceWidth_, design_.MaxSliceWidth, nothing);
    bindEdit(meshPitch_, design_.MeshPitch, nothing);
    bindChoice(meshCount_, design_.MeshCount, nothing);
    bindCheck(showSafetyFactors_, design_.ShowSafetyFactors, nothing);
    bindCheck(showCalculationProcess_, design_.ShowCalculationProcess, nothing);
    bindCheck(showSliceLines_, drawing_.ShowSliceLines, nothing);
    bindCheck(showSliceNumbers_, drawing_.ShowSliceNumbers, nothing);
    bindCheck(gridFsEnabled_, options_.GridFsEnabled, nothing);
    bindChoice(gridFsMeshCount_, options_.GridFsMeshCount, nothing);
    bindCheck(contourEnabled_, options_.ContourEnabled, nothing);
    bindChoice(contourMeshCount_, options_.ContourMeshCount, nothing);
    bindCheck(neverCutLineEnabled_, design_.NeverCutLineEnabled,
              [this] { ApplyNeverCutLineSwitch(); });
    bindEdit(neverCutElevation_, design_.NeverCutElevation, [this] {
        DrawNeverCutElevation(previewModel_, design_);
        chart_->update();
    });
    bindCheck(mustCutEnabled_, design_.MustCutPointEnabled, [this] { ApplyMustCutPointSwitch(); });
    bindRadio(stressDisplay_, options_.Form);
    bindRadio(slipDirection_, options_.Direction);
    bindCheck(loadEnabled_, design_.LoadEnabled, [this] { ApplyLoadSwitch(); });
    bindEdit(loadIntensity_, design_.LoadIntensity, [this] { DrawLoad(); });
    bindEdit(loadEndX_, design_.LoadEndX, [this] { DrawLoad(); });
    bindEdit(loadStartX_, design_.LoadStartX, [this] {
        const auto start = StrictNumber(design_, TFieldId::LoadStartX);
        const auto end = StrictNumber(design_, TFieldId::LoadEndX);
        if (start && end && *end < *start) {
            design_.LoadEndX = FormatFloat("0.00", *start);
            SetEditText(loadEndX_, design_.LoadEndX);
        }
        DrawLoad();
    });
    bindRadio(printMode_, drawing_.PrintMode);
    ConnectOptionInputs();

    connect(inputPages_, &QTabWidget::currentChanged, this, &TDesignWindow::OnSoilPageEntered);
    connect(quickEntryButton_, &QPushButton::clicked, this, &TDesignWindow::OpenQuickEntry);
    connect(startButton_, &QPushButton::clicked, this, &TDesignWindow::StartRequested);
    connect(stopButton_, &QPushButton::clicked, this, &TDesignWindow::StopRequested);

    connect(chart_, &TChartView::PointerMoved, this, &TDesignWindow::TrackPointer);
    connect(chart_, &TChartView::PointerPressed, this,
            [this](double x, double y, Qt::MouseButton button) {
                if (button == Qt::LeftButton || button == Qt::RightButton)
                    DigitisePoint(x, y, button == Qt::RightButton);
            });
    const TFigureKind kinds[] = {fkLayer1, fkLayer2, fkLayer3,       fkLayer4,
                                 fkLayer5, fkWater,  fkNeverCutLine, fkMustCutPoint};
    for (int i = 1; i < 9; ++i) {
        const TFigureKind kind = kinds[i - 1];
        connect(digitiseButtons_[static_cast<std::size_t>(i)], &QToolButton::clicked, this,
                [this, kind] { StartDigitising(kind); });
    }
    connect(clearButton_, &QPushButton::clicked, this, &TDesignWindow::ClearLayers);
    connect(zoomInButton_, &QPushButton::clicked, this, [this] {
        NavigateChart(previewModel_, TChartCommand::ZoomIn);
        chart_->update();
    });
    connect(zoomOutButton_, &QPushButton::clicked, this, [this] {
        NavigateChart(previewModel_, TChartCommand::ZoomOut);
        chart_->update();
    });
}

void TDesignWindow::ConnectEditReports() {
    // Typed values count once accepted, not at each keystroke: a half-typed
    // number is no design to calculate. The combo boxes' editors are among
    // the line edits.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        if (edit != statusText_)
            connect(edit, &QLineEdit::editingFinished, this, &TDesignWindow::DesignEdited);
    for (QComboBox* box : findChildren<QComboBox*>())
        connect(box, &QComboBox::activated, this, &TDesignWindow::DesignEdited);
    // Boxes and radio buttons; the digitising tool buttons only choose a mode.
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button->isCheckable() && !qobject_cast<QToolButton*>(button))
            connect(button, &QAbstractButton::toggled, this, &TDesignWindow::DesignEdited);
}

void TDesignWindow::OnSoilPageEntered(int index) {
    if (index == 0) {
        layerTabs_->setCurrentIndex(0);
    } else {
        calcTabs_->setCurrentIndex(0);
    }
}

bool TDesignWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    bool key = false;
    if (event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        key = k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space;
    }
    if ((press || key) && !running_) {
        for (TFigureKind kind : TableKinds) {
            QTableWidget* grid = GridOf(kind);
            if ((press && (watched == grid->viewport() || watched == grid->horizontalHeader())) ||
                (key && watched == grid)) {
                OpenEntryWindow(kind);
                return key;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPoint TDesignWindow::EntryWindowPosition() const {
    return {x() + middlePanel_->geometry().left(), y() + leftPanel_->geometry().top() + 22};
}

void TDesignWindow::OpenEntryWindow(TFigureKind kind) {
    if (entry_) entry_->OpenFor(kind, EntryWindowPosition());
}

void TDesignWindow::OpenQuickEntry() {
    if (quickEntry_) quickEntry_->Open(EntryWindowPosition());
}

void TDesignWindow::HideEntryWindow() {
    if (entry_) entry_->hide();
}

void TDesignWindow::ShowCircleConditionsPage() {
    inputPages_->setCurrentIndex(1);
    calcTabs_->setCurrentIndex(1);
}

void TDesignWindow::ShowLayerPage(int layerIndex) {
    inputPages_->setCurrentIndex(0);
    layerTabs_->setCurrentIndex(layerIndex < 0 ? layerTabs_->indexOf(waterTab_) : layerIndex);
}

// ---------------------------------------------------------------------------
// Progress of a run

void TDesignWindow::SetStatusText(const QString& text) {
    statusText_->setText(text);
}
void TDesignWindow::SetProgressMaximum(int maximum) {
    progress_->setMaximum(std::max(1, maximum));
}
void TDesignWindow::SetProgressPosition(int position) {
    progress_->setValue(std::clamp(position, 0, progress_->maximum()));
}
void TDesignWindow::StepProgress() {
    SetProgressPosition(progress_->value() + 1);
}

void TDesignWindow::SetRunning(bool running) {
    running_ = running;
    if (running) {
        digitiser_.StopAll();
        SetDigitiseStop();
        HideEntryWindow();
        if (quickEntry_) quickEntry_->hide();
    }
    leftPanel_->setEnabled(!running);
    startButton_->setEnabled(!running);
    stopButton_->setEnabled(running);
    for (QToolButton* b : digitiseButtons_) b->parentWidget()->setEnabled(!running);
    clearButton_->setEnabled(!running);
    printMode_->buttons().front()->parentWidget()->setEnabled(!running);
}

}  // namespace sorvanta::gui
