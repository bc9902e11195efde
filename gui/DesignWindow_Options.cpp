// The earthquake and countermeasure options of the design window: the tab
// "地震時・対策工" and the load's "載荷重を計算に含める", bound to the options
// the design file keeps with the design.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "design/StoredOptions.h"
#include "gui/DesignChoices.h"
#include "gui/DesignWindow.h"
#include "gui/Texts.h"

namespace sorvanta::gui {

void TDesignWindow::ShowOptionsInControls() {
    const auto edit = [](QLineEdit* e, const std::string& text) {
        const QSignalBlocker block(e);
        e->setText(Q(text));
    };
    edit(kh_, options_.Kh);
    edit(plannedFs_, options_.PlannedFs);
    edit(anchorAngle_, options_.AnchorAngle);
    edit(anchorX_, options_.AnchorX);
    edit(pilePitch_, options_.PilePitch);
    {
        const QSignalBlocker block(requiredFsSeismic_);
        requiredFsSeismic_->setEditText(Q(options_.RequiredFsSeismic));
    }
    if (QAbstractButton* b = designCase_->button(static_cast<int>(options_.Case))) {
        const QSignalBlocker block(b);
        b->setChecked(true);
    }
    const auto choose = [](QComboBox* box, int index) {
        const QSignalBlocker block(box);
        box->setCurrentIndex(index);
    };
    choose(sliceMethod_, static_cast<int>(options_.Method));
    choose(poreForm_, static_cast<int>(options_.PoreForm));
    {
        const QSignalBlocker block(loadInAnalysis_);
        loadInAnalysis_->setChecked(options_.LoadInAnalysis);
    }
    // The preset is not stored: a design shown afresh has none.
    const QSignalBlocker block(designGuide_);
    designGuide_->setCurrentIndex(FreeDesignGuide);
}

void TDesignWindow::ConnectOptionInputs() {
    const auto bindEdit = [this](QLineEdit* e, std::string& field, std::string_view key) {
        connect(e, &QLineEdit::textChanged, this,
                [&field](const QString& text) { field = S(text); });
        connect(e, &QLineEdit::editingFinished, this, [this, key] { CheckOptionInput(key); });
    };
    bindEdit(kh_, options_.Kh, TAnalysisOptions::KhKey.Key);
    bindEdit(plannedFs_, options_.PlannedFs, TAnalysisOptions::PlannedFsKey.Key);
    bindEdit(anchorAngle_, options_.AnchorAngle, TAnalysisOptions::AnchorAngleKey.Key);
    bindEdit(anchorX_, options_.AnchorX, TAnalysisOptions::AnchorXKey.Key);
    bindEdit(pilePitch_, options_.PilePitch, TAnalysisOptions::PilePitchKey.Key);
    connect(requiredFsSeismic_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { options_.RequiredFsSeismic = S(text); });
    connect(requiredFsSeismic_->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { CheckOptionInput(TAnalysisOptions::RequiredFsSeismicKey.Key); });
    connect(designCase_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) options_.Case = static_cast<TDesignCase>(id);
    });
    connect(loadInAnalysis_, &QCheckBox::toggled, this, [this](bool on) {
        options_.LoadInAnalysis = on;
        ApplyLoadInAnalysis();
    });
    connect(sliceMethod_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) options_.Method = static_cast<TSliceMethodKind>(index);
    });
    connect(poreForm_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) options_.PoreForm = static_cast<TPoreForm>(index);
    });
    connect(designGuide_, &QComboBox::activated, this, &TDesignWindow::ApplyDesignGuide);
}

void TDesignWindow::ApplyDesignGuide(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(DesignGuides))) return;
    const TDesignGuide& g = DesignGuides[index];
    // Through the controls, so that the bindings write the records.
    if (g.SafetyFactor) safetyFactor_->setEditText(QString::fromUtf8(g.SafetyFactor));
    if (g.RequiredFsSeismic)
        requiredFsSeismic_->setEditText(QString::fromUtf8(g.RequiredFsSeismic));
    if (g.Kh) kh_->setText(QString::fromUtf8(g.Kh));
    if (g.PlannedFs) plannedFs_->setText(QString::fromUtf8(g.PlannedFs));
}

void TDesignWindow::ApplyLoadInAnalysis() {
    // The note says the load stays outside the calculation; it does not
    // while the load is counted.
    loadNote_->setVisible(design_.LoadEnabled && !options_.LoadInAnalysis);
}

void TDesignWindow::CheckOptionInput(std::string_view key) {
    const TStoredOption* option = FindStoredOption(key);
    if (!option) return;
    if (const auto problem = StoredOptionProblem(options_, *option)) ShowMessage(Q(*problem));
}

}  // namespace sorvanta::gui
