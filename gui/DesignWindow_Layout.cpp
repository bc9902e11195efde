// The controls of the design window and where they stand.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/CoordinateGridStyle.h"
#include "gui/DesignChoices.h"
#include "gui/DesignWindow.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"

namespace sorvanta::gui {

namespace {

QComboBox* MakeChoice(QWidget* parent, const QString& name, const std::vector<std::string>& items,
                      const QString& hint = {}) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& item : items) box->addItem(Q(item));
    if (!hint.isEmpty()) box->setToolTip(hint);
    box->setMinimumContentsLength(4);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMaximumWidth(76);
    return box;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, const QString& hint = {}) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (!hint.isEmpty()) edit->setToolTip(hint);
    edit->setMaximumWidth(76);
    return edit;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& caption, const QString& name) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    return group;
}

// A radio group: a group box whose buttons are numbered by their item index.
QButtonGroup* MakeRadioGroup(QGroupBox* group, const std::vector<std::string>& items, int columns) {
    auto* buttons = new QButtonGroup(group);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(2);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        auto* radio = new QRadioButton(Q(items[static_cast<std::size_t>(i)]), group);
        radio->setObjectName(group->objectName() + QString::number(i));
        buttons->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    return buttons;
}

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    return label;
}

}  // namespace

QTableWidget* TDesignWindow::MakeGrid(TFigureKind kind, const QString& name) {
    auto* grid = new QTableWidget(1, 3, this);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("X座標"), QStringLiteral("Y座標")});
    StyleCoordinateGrid(grid);
    grid->horizontalHeader()->setFixedHeight(18);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    // Reached with Tab; Enter or Space opens the entry window like a click.
    grid->setFocusPolicy(Qt::TabFocus);
    grid->installEventFilter(this);
    grid->setToolTip(QStringLiteral("ｸﾘｯｸ：座標入力"));
    grid->setProperty("figureKind", static_cast<int>(kind));
    grid->viewport()->installEventFilter(this);
    grid->horizontalHeader()->installEventFilter(this);
    return grid;
}

QWidget* TDesignWindow::BuildLayerPage(int index) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("LayerPage%1").arg(index + 1));
    auto& c = layers_[static_cast<std::size_t>(index)];
    c.Page = page;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* soil =
        MakeGroup(page, QStringLiteral("土質"), QStringLiteral("SoilGroup%1").arg(index + 1));
    auto* grid = new QGridLayout(soil);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(3);
    const QString n = QString::number(index + 1);
    c.GammaT = MakeChoice(soil, "GammaT" + n, Choices::GammaT, QStringLiteral("湿潤単位体積重量"));
    c.GammaS = MakeChoice(soil, "GammaS" + n, Choices::GammaS, QStringLiteral("水中単位体積重量"));
    c.Phi = MakeChoice(soil, "Phi" + n, PhiChoices(index), QStringLiteral("剪断抵抗角"));
    c.Cohesion = MakeChoice(soil, "Cohesion" + n, CohesionChoices(index), QStringLiteral("粘着力"));
    c.GammaSLabel = MakeLabel(soil, QStringLiteral("γs(kN/m3)="));
    grid->addWidget(MakeLabel(soil, QStringLiteral("γt(kN/m3)=")), 0, 0, Qt::AlignRight);
    grid->addWidget(c.GammaT, 0, 1);
    grid->addWidget(c.GammaSLabel, 1, 0, Qt::AlignRight);
    grid->addWidget(c.GammaS, 1, 1);
    grid->addWidget(MakeLabel(soil, QStringLiteral("φ(度)=")), 2, 0, Qt::AlignRight);
    grid->addWidget(c.Phi, 2, 1);
    grid->addWidget(MakeLabel(soil, QStringLiteral("Ｃ(kN/m2)=")), 3, 0, Qt::AlignRight);
    grid->addWidget(c.Cohesion, 3, 1);
    grid->setColumnStretch(2, 1);
    layout->addWidget(soil);

    auto* coords = MakeGroup(page, QStringLiteral("地層座標"),
                             QStringLiteral("BoundaryGroup%1").arg(index + 1));
    auto* coordsLayout = new QVBoxLayout(coords);
    coordsLayout->setContentsMargins(6, 2, 6, 4);
    c.Grid = MakeGrid(static_cast<TFigureKind>(fkLayer1 + index), "Boundary" + n);
    coordsLayout->addWidget(c.Grid, 0, Qt::AlignLeft);
    if (index == 0) {
        quickEntryButton_ = new QPushButton(QStringLiteral("地表面簡易入力"), coords);
        quickEntryButton_->setObjectName(QStringLiteral("GroundQuickEntryButton"));
        coordsLayout->addWidget(quickEntryButton_, 0, Qt::AlignLeft);
    }
    layout->addWidget(coords, 1);
    return page;
}

QWidget* TDesignWindow::BuildSoilPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("SoilPage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);

    layerTabs_ = new QTabWidget(page);
    layerTabs_->setObjectName(QStringLiteral("LayerTabs"));
    layerTabs_->setTabPosition(QTabWidget::East);
    layerTabs_->setUsesScrollButtons(false);
    for (int i = 0; i < MaxLayers; ++i)
        layerTabs_->addTab(BuildLayerPage(i), QStringLiteral("%1層目").arg(i + 1));

    waterTab_ = new QWidget(page);
    waterTab_->setObjectName(QStringLiteral("WaterPage"));
    auto* waterLayout = new QVBoxLayout(waterTab_);
    waterLayout->setContentsMargins(4, 4, 4, 4);
    auto* waterCoords =
        MakeGroup(waterTab_, QStringLiteral("地下水位座標"), QStringLiteral("WaterTableGroup"));
    auto* waterCoordsLayout = new QVBoxLayout(waterCoords);
    waterCoordsLayout->setContentsMargins(6, 2, 6, 4);
    waterGrid_ = MakeGrid(fkWater, QStringLiteral("WaterTable"));
    waterCoordsLayout->addWidget(waterGrid_, 0, Qt::AlignLeft);
    waterLayout->addWidget(waterCoords, 1);
    layerTabs_->addTab(waterTab_, QStringLiteral("地下水"));
    layout->addWidget(layerTabs_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    auto* countGroup = MakeGroup(page, QStringLiteral("地層数"), QStringLiteral("LayerCountGroup"));
    auto* countLayout = new QHBoxLayout(countGroup);
    countLayout->setContentsMargins(6, 2, 6, 4);
    layerCount_ = MakeChoice(countGroup, QStringLiteral("LayerCount"), Choices::LayerCount,
                             QStringLiteral("層数（最大５層まで）"));
    layerCount_->setMinimumContentsLength(3);
    countLayout->addWidget(layerCount_);
    bottom->addWidget(countGroup);

    waterGroup_ = MakeGroup(page, QStringLiteral("地下水"), QStringLiteral("WaterGroup"));
    auto* waterGroupLayout = new QHBoxLayout(waterGroup_);
    waterGroupLayout->setContentsMargins(6, 2, 6, 4);
    waterGroupLayout->addWidget(MakeLabel(waterGroup_, QStringLiteral("γw=")));
    gammaW_ = MakeChoice(waterGroup_, QStringLiteral("GammaW"), Choices::GammaW,
                         QStringLiteral("水の単位体積重量(kN/m3)"));
    waterGroupLayout->addWidget(gammaW_);
    waterEnabled_ = new QCheckBox(QStringLiteral("有り"), waterGroup_);
    waterEnabled_->setObjectName(QStringLiteral("WaterEnabled"));
    waterGroupLayout->addWidget(waterEnabled_);
    bottom->addWidget(waterGroup_);
    bottom->addStretch(1);
    layout->addLayout(bottom);
    return page;
}

QWidget* TDesignWindow::BuildGeneralTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("GeneralTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    stressTypeGroup_ =
        MakeGroup(tab, QStringLiteral("剪断抵抗計算種別"), QStringLiteral("StressType"));
    stressType_ = MakeRadioGroup(stressTypeGroup_, Choices::StressType, 2);
    layout->addWidget(stressTypeGroup_);

    auto* constants =
        MakeGroup(tab, QStringLiteral("安定計算用定数"), QStringLiteral("ConstantsGroup"));
    auto* cg = new QGridLayout(constants);
    cg->setContentsMargins(6, 2, 6, 4);
    cg->setVerticalSpacing(3);
    maxSliceWidth_ = MakeChoice(constants, QStringLiteral("MaxSliceWidth"), Choices::MaxSliceWidth);
    safetyFactor_ = MakeChoice(constants, QStringLiteral("SafetyFactor"), Choices::SafetyFactor);
    cg->addWidget(MakeLabel(constants, QStringLiteral("土塊分割上限幅(m)=")), 0, 0, Qt::AlignRight);
    cg->addWidget(maxSliceWidth_, 0, 1);
    cg->addWidget(MakeLabel(constants, QStringLiteral("安全率=")), 1, 0, Qt::AlignRight);
    cg->addWidget(safetyFactor_, 1, 1);
    cg->setColumnStretch(2, 1);
    layout->addWidget(constants);

    auto* mesh = MakeGroup(tab, QStringLiteral("ｽﾍﾞﾘ円近傍表示"), QStringLiteral("MeshGroup"));
    auto* mg = new QGridLayout(mesh);
    mg->setContentsMargins(6, 2, 6, 4);
    mg->setVerticalSpacing(3);
    meshPitch_ = MakeEdit(mesh, QStringLiteral("MeshPitch"));
    meshCount_ = MakeChoice(mesh, QStringLiteral("MeshCount"), Choices::MeshCount);
    showSafetyFactors_ = new QCheckBox(QStringLiteral("安全率表示"), mesh);
    showSafetyFactors_->setObjectName(QStringLiteral("ShowSafetyFactors"));
    showCalculationProcess_ = new QCheckBox(QStringLiteral("計算過程表示"), mesh);
    showCalculationProcess_->setObjectName(QStringLiteral("ShowCalculationProcess"));
    mg->addWidget(MakeLabel(mesh, QStringLiteral("ﾒｯｼｭﾋﾟｯﾁ(m)=")), 0, 0, Qt::AlignRight);
    mg->addWidget(meshPitch_, 0, 1);
    mg->addWidget(MakeLabel(mesh, QStringLiteral("ﾒｯｼｭ数=")), 1, 0, Qt::AlignRight);
    mg->addWidget(meshCount_, 1, 1);
    mg->addWidget(showSafetyFactors_, 2, 0, 1, 2);
    mg->addWidget(showCalculationProcess_, 3, 0, 1, 2);
    mg->setColumnStretch(2, 1);
    layout->addWidget(mesh);

    auto* slices = MakeGroup(tab, QStringLiteral("ｽﾗｲｽ表示"), QStringLiteral("SliceGroup"));
    auto* sl = new QHBoxLayout(slices);
    sl->setContentsMargins(6, 2, 6, 4);
    showSliceLines_ = new QCheckBox(QStringLiteral("ｽﾗｲｽ縦線表示"), slices);
    showSliceLines_->setObjectName(QStringLiteral("ShowSliceLines"));
    showSliceNumbers_ = new QCheckBox(QStringLiteral("ｽﾗｲｽ番号表示"), slices);
    showSliceNumbers_->setObjectName(QStringLiteral("ShowSliceNumbers"));
    sl->addWidget(showSliceLines_);
    sl->addWidget(showSliceNumbers_);
    sl->addStretch(1);
    layout->addWidget(slices);

    auto meshGroup = [&](const QString& caption, const QString& name, QCheckBox*& check,
                         QComboBox*& count) {
        auto* group = MakeGroup(tab, caption, name + "Group");
        auto* gl = new QHBoxLayout(group);
        gl->setContentsMargins(6, 2, 6, 4);
        check = new QCheckBox(QStringLiteral("CheckBox9"), group);
        check->setObjectName(name + "Enabled");
        count = MakeChoice(group, name + "MeshCount", Choices::GridMeshCount);
        count->setMinimumContentsLength(2);
        count->setMaximumWidth(58);
        gl->setSpacing(3);
        gl->addWidget(check);
        gl->addWidget(MakeLabel(group, QStringLiteral("ﾒｯｼｭ数=")));
        gl->addWidget(count);
        gl->addStretch(1);
        layout->addWidget(group);
    };
    meshGroup(QStringLiteral("格子点安全率表示"), QStringLiteral("GridFs"), gridFsEnabled_,
              gridFsMeshCount_);
    meshGroup(QStringLiteral("等高線表示"), QStringLiteral("Contour"), contourEnabled_,
              contourMeshCount_);
    layout->addStretch(1);
    return tab;
}

QWidget* TDesignWindow::BuildCircleTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("CircleTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    neverCutLineGroup_ =
        MakeGroup(tab, QStringLiteral("N.C.L（任意）"), QStringLiteral("NeverCutLineGroup"));
    auto* nl = new QVBoxLayout(neverCutLineGroup_);
    nl->setContentsMargins(6, 2, 6, 4);
    nl->setSpacing(2);
    neverCutLineEnabled_ = new QCheckBox(QStringLiteral("--- ﾈﾊﾞｰｶｯﾄﾗｲﾝ"), neverCutLineGroup_);
    neverCutLineEnabled_->setObjectName(QStringLiteral("NeverCutLineEnabled"));
    neverCutLineEnabled_->setToolTip(QStringLiteral("入力は任意"));
    neverCutLineGrid_ = MakeGrid(fkNeverCutLine, QStringLiteral("NeverCutLine"));
    nl->addWidget(neverCutLineEnabled_);
    nl->addWidget(neverCutLineGrid_, 1, Qt::AlignLeft);
    nl->addStretch(0);
    layout->addWidget(neverCutLineGroup_);

    auto* required =
        MakeGroup(tab, QStringLiteral("N.C.L（必須）"), QStringLiteral("NeverCutElevationGroup"));
    auto* rl = new QHBoxLayout(required);
    rl->setContentsMargins(6, 2, 6, 4);
    neverCutElevation_ = MakeEdit(required, QStringLiteral("NeverCutElevation"));
    rl->addWidget(MakeLabel(required, QStringLiteral("ﾈﾊﾞｰｶｯﾄﾗｲﾝ (標高)=")));
    rl->addWidget(neverCutElevation_);
    rl->addStretch(1);
    layout->addWidget(required);

    mustCutGroup_ =
        MakeGroup(tab, QStringLiteral("M.C.P（任意）"), QStringLiteral("MustCutPointGroup"));
    auto* ml = new QVBoxLayout(mustCutGroup_);
    ml->setContentsMargins(6, 2, 6, 4);
    ml->setSpacing(2);
    mustCutEnabled_ = new QCheckBox(QStringLiteral("● ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(MCP)"), mustCutGroup_);
    mustCutEnabled_->setObjectName(QStringLiteral("MustCutPointEnabled"));
    mustCutEnabled_->setToolTip(QStringLiteral("入力は任意"));
    mustCutGrid_ = MakeGrid(fkMustCutPoint, QStringLiteral("MustCutPoint"));
    ml->addWidget(mustCutEnabled_);
    ml->addWidget(mustCutGrid_, 1, Qt::AlignLeft);
    layout->addWidget(mustCutGroup_);

    auto* display = MakeGroup(tab, QStringLiteral("応力計算表示"), QStringLiteral("StressDisplay"));
    stressDisplay_ = MakeRadioGroup(display, Choices::StressDisplay, 2);
    layout->addWidget(display);

    auto* direction = MakeGroup(tab, QStringLiteral("すべり方向"), QStringLiteral("SlipDirection"));
    slipDirection_ = MakeRadioGroup(direction, Choices::SlipDirection, 1);
    layout->addWidget(direction);
    layout->addStretch(1);
    return tab;
}

QWidget* TDesignWindow::BuildLoadTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("LoadTab"));
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(4, 4, 4, 4);

    loadGroup_ = MakeGroup(tab, QStringLiteral("載荷重"), QStringLiteral("LoadGroup"));
    auto* gl = new QVBoxLayout(loadGroup_);
    gl->setContentsMargins(6, 2, 6, 4);
    gl->setSpacing(3);
    loadEnabled_ = new QCheckBox(QStringLiteral("-------"), loadGroup_);
    loadEnabled_->setObjectName(QStringLiteral("LoadEnabled"));
    loadEnabled_->setToolTip(QStringLiteral("入力は任意"));
    gl->addWidget(loadEnabled_);

    loadIntensityGroup_ = MakeGroup(loadGroup_, QStringLiteral("荷重強度(kN/m2)"),
                                    QStringLiteral("LoadIntensityGroup"));
    auto* il = new QHBoxLayout(loadIntensityGroup_);
    il->setContentsMargins(6, 2, 6, 4);
    loadIntensity_ = MakeEdit(loadIntensityGroup_, QStringLiteral("LoadIntensity"));
    il->addWidget(MakeLabel(loadIntensityGroup_, QStringLiteral("Q(kN/m2)=")));
    il->addWidget(loadIntensity_);
    il->addStretch(1);
    gl->addWidget(loadIntensityGroup_);

    loadRangeGroup_ =
        MakeGroup(loadGroup_, QStringLiteral("載荷区間(,m)"), QStringLiteral("LoadRangeGroup"));
    auto* rl = new QGridLayout(loadRangeGroup_);
    rl->setContentsMargins(6, 2, 6, 4);
    rl->setVerticalSpacing(3);
    loadStartX_ = MakeEdit(loadRangeGroup_, QStringLiteral("LoadStartX"));
    loadEndX_ = MakeEdit(loadRangeGroup_, QStringLiteral("LoadEndX"));
    rl->addWidget(MakeLabel(loadRangeGroup_, QStringLiteral("開始位置X座標=")), 0, 0,
                  Qt::AlignRight);
    rl->addWidget(loadStartX_, 0, 1);
    rl->addWidget(MakeLabel(loadRangeGroup_, QStringLiteral("終了位置X座標=")), 1, 0,
                  Qt::AlignRight);
    rl->addWidget(loadEndX_, 1, 1);
    rl->setColumnStretch(2, 1);
    gl->addWidget(loadRangeGroup_);
    loadInAnalysis_ = new QCheckBox(QStringLiteral("載荷重を計算に含める"), loadGroup_);
    loadInAnalysis_->setObjectName(QStringLiteral("LoadInAnalysis"));
    loadInAnalysis_->setToolTip(
        QStringLiteral("載荷重を安全率の計算に含めます（地震時の水平震度khは掛けません）"));
    gl->addWidget(loadInAnalysis_);
    loadNote_ = new QLabel(QString::fromUtf8(LoadOutsideCalculationNote), loadGroup_);
    loadNote_->setObjectName(QStringLiteral("LoadNote"));
    loadNote_->setWordWrap(true);
    loadNote_->setStyleSheet(QStringLiteral("color: #800000;"));
    gl->addWidget(loadNote_);
    gl->addStretch(1);
    layout->addWidget(loadGroup_);
    layout->addStretch(1);
    return tab;
}

QWidget* TDesignWindow::BuildSeismicTab() {
    seismicTab_ = new QWidget(this);
    seismicTab_->setObjectName(QStringLiteral("SeismicTab"));
    auto* layout = new QVBoxLayout(seismicTab_);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    auto* seismic =
        MakeGroup(seismicTab_, QStringLiteral("地震時"), QStringLiteral("SeismicGroup"));
    auto* sg = new QGridLayout(seismic);
    sg->setContentsMargins(6, 2, 6, 4);
    sg->setVerticalSpacing(3);
    designGuide_ = new QComboBox(seismic);
    designGuide_->setObjectName(QStringLiteral("DesignGuide"));
    for (const TDesignGuide& g : DesignGuides) designGuide_->addItem(QString::fromUtf8(g.Name));
    designGuide_->setToolTip(QStringLiteral(
        "選ぶと安全率などの値を入れます。値はあとから変えられます（指針は保存しません）"));
    kh_ = MakeEdit(seismic, QStringLiteral("Kh"),
                   QStringLiteral("設計水平震度（0以上1未満。0は地震時の検討なし）"));
    auto* khNote = MakeLabel(seismic, QStringLiteral("※載荷重にはkhを掛けません"));
    khNote->setObjectName(QStringLiteral("KhLoadNote"));
    khNote->setStyleSheet(QStringLiteral("color: #800000;"));
    auto* caseGroup =
        MakeGroup(seismic, QStringLiteral("検討ケース"), QStringLiteral("DesignCase"));
    designCase_ = MakeRadioGroup(caseGroup, Choices::DesignCase, 3);
    caseGroup->setToolTip(QStringLiteral("常時、地震時、または両方を検討します"));
    requiredFsSeismic_ =
        MakeChoice(seismic, QStringLiteral("RequiredFsSeismic"), Choices::RequiredFsSeismic,
                   QStringLiteral("地震時の所要安全率（常時は一般条件の安全率）"));
    sg->addWidget(MakeLabel(seismic, QStringLiteral("設計指針")), 0, 0, Qt::AlignRight);
    sg->addWidget(designGuide_, 0, 1, 1, 2);
    sg->addWidget(MakeLabel(seismic, QStringLiteral("kh=")), 1, 0, Qt::AlignRight);
    sg->addWidget(kh_, 1, 1);
    sg->addWidget(khNote, 2, 0, 1, 3);
    sg->addWidget(caseGroup, 3, 0, 1, 3);
    // In the group "地震時": the required Fs of that case.
    sg->addWidget(MakeLabel(seismic, QStringLiteral("所要安全率=")), 4, 0, Qt::AlignRight);
    sg->addWidget(requiredFsSeismic_, 4, 1);
    sg->setColumnStretch(2, 1);
    layout->addWidget(seismic);

    auto* measure =
        MakeGroup(seismicTab_, QStringLiteral("対策工"), QStringLiteral("CountermeasureGroup"));
    auto* mg = new QGridLayout(measure);
    mg->setContentsMargins(6, 2, 6, 4);
    mg->setVerticalSpacing(3);
    plannedFs_ = MakeEdit(measure, QStringLiteral("PlannedFs"),
                          QStringLiteral("計画安全率PFs: 必要抑止力を求めます（空欄は指定なし）"));
    anchorAngle_ =
        MakeEdit(measure, QStringLiteral("AnchorAngle"),
                 QStringLiteral(
                     "水平から下向きのアンカー角度（-90より大きく90より小さい。空欄は指定なし）"));
    anchorX_ = MakeEdit(
        measure, QStringLiteral("AnchorX"),
        QStringLiteral(
            "アンカーがすべり面と交わるX座標: そこのすべり面の傾きαでアンカー力を求めます"));
    pilePitch_ = MakeEdit(measure, QStringLiteral("PilePitch"),
                          QStringLiteral("杭1本あたりの抑止力を求める杭間隔（空欄は指定なし）"));
    mg->addWidget(MakeLabel(measure, QStringLiteral("計画安全率=")), 0, 0, Qt::AlignRight);
    mg->addWidget(plannedFs_, 0, 1);
    mg->addWidget(MakeLabel(measure, QStringLiteral("アンカー角度(度)=")), 1, 0, Qt::AlignRight);
    mg->addWidget(anchorAngle_, 1, 1);
    mg->addWidget(MakeLabel(measure, QStringLiteral("アンカー位置X(m)=")), 2, 0, Qt::AlignRight);
    mg->addWidget(anchorX_, 2, 1);
    mg->addWidget(MakeLabel(measure, QStringLiteral("杭間隔(m)=")), 3, 0, Qt::AlignRight);
    mg->addWidget(pilePitch_, 3, 1);
    mg->setColumnStretch(2, 1);
    layout->addWidget(measure);

    auto* method =
        MakeGroup(seismicTab_, QStringLiteral("分割法"), QStringLiteral("SliceMethodGroup"));
    auto* tg = new QGridLayout(method);
    tg->setContentsMargins(6, 2, 6, 4);
    tg->setVerticalSpacing(3);
    // Fixed lists: the index is the option's value.
    const auto fixedChoice = [method](const QString& name, const std::vector<std::string>& items,
                                      const QString& hint) {
        auto* box = new QComboBox(method);
        box->setObjectName(name);
        for (const std::string& item : items) box->addItem(QString::fromStdString(item));
        box->setToolTip(hint);
        return box;
    };
    sliceMethod_ = fixedChoice(QStringLiteral("SliceMethod"), Choices::SliceMethod,
                               QStringLiteral("安全率を求める分割法（修正フェレニウス法は応力計算表"
                                              "示のモーメント・荷重に従います）"));
    poreForm_ = fixedChoice(QStringLiteral("PoreForm"), Choices::PoreForm,
                            QStringLiteral("すべり面の垂直力から間隙水圧を差し引く式（uは間隙水圧、"
                                           "bはスライス幅、lはすべり面長）"));
    tg->addWidget(MakeLabel(method, QStringLiteral("分割法")), 0, 0, Qt::AlignRight);
    tg->addWidget(sliceMethod_, 0, 1);
    tg->addWidget(MakeLabel(method, QStringLiteral("間隙水圧")), 1, 0, Qt::AlignRight);
    tg->addWidget(poreForm_, 1, 1);
    tg->setColumnStretch(2, 1);
    layout->addWidget(method);
    layout->addStretch(1);
    return seismicTab_;
}

QWidget* TDesignWindow::BuildCalculationPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("CalculationPage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    calcTabs_ = new QTabWidget(page);
    calcTabs_->setObjectName(QStringLiteral("CalculationTabs"));
    calcTabs_->setTabPosition(QTabWidget::East);
    calcTabs_->setUsesScrollButtons(false);
    calcTabs_->addTab(BuildGeneralTab(), QStringLiteral("一般条件"));
    calcTabs_->addTab(BuildCircleTab(), QStringLiteral("円弧条件"));
    calcTabs_->addTab(BuildLoadTab(), QStringLiteral("載荷重"));
    calcTabs_->addTab(BuildSeismicTab(), QStringLiteral("地震時・対策工"));
    layout->addWidget(calcTabs_);
    return page;
}

QWidget* TDesignWindow::BuildLeftPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("LeftPanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    inputPages_ = new QTabWidget(panel);
    inputPages_->setObjectName(QStringLiteral("InputPages"));
    inputPages_->addTab(BuildSoilPage(), QStringLiteral("１．土質ﾃﾞｰﾀ"));
    inputPages_->addTab(BuildCalculationPage(), QStringLiteral("２．計算条件"));
    layout->addWidget(inputPages_);
    panel->setFixedWidth(262);
    return panel;
}

QWidget* TDesignWindow::BuildMiddlePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("MiddlePanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = MakeGroup(panel, QStringLiteral("３．地層座標(入力は左ｸﾘｯｸ、最後の点は右ｸﾘｯｸ)"),
                            QStringLiteral("PreviewGroup"));
    auto* gl = new QVBoxLayout(group);
    gl->setContentsMargins(4, 2, 4, 4);
    gl->setSpacing(2);
    auto* note1 = MakeLabel(group, QStringLiteral("[左ﾎﾞﾀﾝ]：右下ﾄﾞﾗｯｸﾞで拡大、左上ﾄﾞﾗｯｸﾞで縮小"));
    note1->setObjectName(QStringLiteral("LeftButtonNote"));
    auto* note2 = MakeLabel(group, QStringLiteral("[右ﾎﾞﾀﾝ]：ﾄﾞﾗｯｸﾞで図形移動"));
    note2->setObjectName(QStringLiteral("RightButtonNote"));
    gl->addWidget(note1);
    gl->addWidget(note2);

    chart_ = new TChartView(group);
    chart_->setObjectName(QStringLiteral("Chart2"));
    chart_->setToolTip(QStringLiteral("入力は左ｸﾘｯｸ、最後の点は右ｸﾘｯｸ"));
    chart_->SetModel(&previewModel_);
    gl->addWidget(chart_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    auto* coords = MakeGroup(group, QStringLiteral("座標"), QStringLiteral("PointerGroup"));
    auto* cl = new QGridLayout(coords);
    cl->setContentsMargins(6, 2, 6, 4);
    cl->setVerticalSpacing(2);
    pointerX_ = MakeLabel(coords, QStringLiteral("X=000.00m"));
    pointerX_->setObjectName(QStringLiteral("PointerX"));
    pointerY_ = MakeLabel(coords, QStringLiteral("Y=000.00m"));
    pointerY_->setObjectName(QStringLiteral("PointerY"));
    pointerX_->setMinimumWidth(80);
    pointerY_->setMinimumWidth(80);
    statusText_ = new QLineEdit(coords);
    statusText_->setObjectName(QStringLiteral("StatusText"));
    statusText_->setReadOnly(true);
    statusText_->setFocusPolicy(Qt::NoFocus);
    progress_ = new QProgressBar(coords);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    cl->addWidget(pointerX_, 0, 0);
    cl->addWidget(pointerY_, 0, 1);
    cl->addWidget(statusText_, 1, 0, 1, 2);
    cl->addWidget(progress_, 2, 0, 1, 2);
    bottom->addWidget(coords, 1);

    auto* print = MakeGroup(group, QStringLiteral("印刷"), QStringLiteral("PrintMode"));
    printMode_ = MakeRadioGroup(print, Choices::PrintMode, 2);
    bottom->addWidget(print, 0, Qt::AlignBottom);
    gl->addLayout(bottom);
    layout->addWidget(group);
    return panel;
}

QWidget* TDesignWindow::BuildRightPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("RightPanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(4);

    startButton_ = new QPushButton(QStringLiteral("計算開始"), panel);
    startButton_->setObjectName(QStringLiteral("StartButton"));
    startButton_->setMinimumHeight(36);
    layout->addWidget(startButton_);
    stopButton_ = new QPushButton(QStringLiteral("計算中止"), panel);
    stopButton_->setObjectName(QStringLiteral("StopButton"));
    stopButton_->setToolTip(QStringLiteral("計算を中止します"));
    stopButton_->setEnabled(false);
    layout->addWidget(stopButton_);

    auto* group = MakeGroup(panel, QStringLiteral("座標入力"), QStringLiteral("DigitiseGroup"));
    auto* gl = new QVBoxLayout(group);
    gl->setContentsMargins(6, 2, 6, 4);
    gl->setSpacing(2);
    digitiseGroup_ = new QButtonGroup(this);
    digitiseGroup_->setExclusive(true);
    const char* captions[] = {"S", "1", "2", "3", "4", "5", "w", "N", "M"};
    const char* hints[] = {"記入停止",     "1層目(地表面)入力", "2層目入力",
                           "3層目入力",    "4層目入力",         "5層目入力",
                           "地下水面入力", "ﾈﾊﾞｰｶｯﾄﾗｲﾝ入力",    "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ入力"};
    const char* names[] = {"DigitiseS", "Digitise1", "Digitise2", "Digitise3", "Digitise4",
                           "Digitise5", "DigitiseW", "DigitiseN", "DigitiseM"};
    for (int i = 0; i < 9; ++i) {
        auto* button = new QToolButton(group);
        button->setText(QString::fromUtf8(captions[i]));
        button->setToolTip(QString::fromUtf8(hints[i]));
        button->setObjectName(QString::fromUtf8(names[i]));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setMinimumSize(44, 22);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        digitiseGroup_->addButton(button, i);
        digitiseButtons_[static_cast<std::size_t>(i)] = button;
        gl->addWidget(button);
    }
    digitiseButtons_[0]->setChecked(true);
    layout->addWidget(group);

    clearButton_ = new QPushButton(QStringLiteral("廃棄"), panel);
    clearButton_->setObjectName(QStringLiteral("ClearButton"));
    clearButton_->setToolTip(QStringLiteral("地層データクリア"));
    zoomInButton_ = new QPushButton(QStringLiteral("拡大"), panel);
    zoomInButton_->setObjectName(QStringLiteral("ZoomInButton"));
    zoomOutButton_ = new QPushButton(QStringLiteral("縮小"), panel);
    zoomOutButton_->setObjectName(QStringLiteral("ZoomOutButton"));
    layout->addWidget(clearButton_);
    layout->addWidget(zoomInButton_);
    layout->addWidget(zoomOutButton_);
    layout->addStretch(1);
    panel->setFixedWidth(72);
    return panel;
}

}  // namespace sorvanta::gui
