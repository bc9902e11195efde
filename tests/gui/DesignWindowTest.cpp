// The design window as a user works it: the dependent states, γs, the load
// stretch, zooming the preview, and digitising with the mouse.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "design/DesignFields.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/EntryWindow.h"
#include "gui/QuickEntryWindow.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "run/AppState.h"
#include "text/Conversion.h"
#include "text/NumberFormat.h"
#include "views/PreviewChart.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

void TypeInto(QWidget* widget, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* box = qobject_cast<QComboBox*>(widget)) edit = box->lineEdit();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// What a click at `pixel` stores in a digitised table.
QString Digitised(double v) {
    return QString::fromStdString(FormatFloat("0.0", v));
}

}  // namespace

class DesignWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;
    TDesignWindow* f6_ = nullptr;
    TDesignConditions* design_ = nullptr;
    TChartView* chart_ = nullptr;

    template <class T>
    T* Find(const char* name) {
        T* w = f6_->findChild<T*>(QString::fromUtf8(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QStringList Row(const char* grid, int row) {
        auto* g = Find<QTableWidget>(grid);
        return {g->item(row, 0)->text(), g->item(row, 1)->text(), g->item(row, 2)->text()};
    }
    QPoint PixelOf(double x, double y) { return chart_->AxisToPixel(QPointF(x, y)).toPoint(); }

  private slots:
    void initTestCase() { InstallJapanese(); }
    void init() {
        app_ = StartApp();
        f6_ = &app_->DesignWindow();
        design_ = &app_->Context().Design;
        chart_ = Find<TChartView>("Chart2");
    }
    void cleanup() { app_.reset(); }

    // The run's choices and the drawing switches are kept in the options
    // records, the design untouched.
    void OptionControlsWriteTheOptions() {
        const TDesignConditions before = *design_;
        TAppState& app = app_->Context();
        Find<QRadioButton>("StressDisplay1")->click();
        Find<QRadioButton>("SlipDirection2")->click();
        Find<QCheckBox>("GridFsEnabled")->click();
        Find<QCheckBox>("ContourEnabled")->click();
        Find<QCheckBox>("ShowSliceLines")->click();
        Find<QRadioButton>("PrintMode1")->click();
        QCOMPARE(app.Options.Form, TFsForm::Force);
        QCOMPARE(app.Options.Direction, TSlipDirection::Both);
        QVERIFY(app.Options.GridFsEnabled && app.Options.ContourEnabled);
        QVERIFY(!app.Drawing.ShowSliceLines && app.Drawing.ShowSliceNumbers);
        QCOMPARE(app.Drawing.PrintMode, 1);
        QVERIFY(*design_ == before);
        Find<QRadioButton>("SlipDirection0")->click();
        QCOMPARE(app.Options.Direction, TSlipDirection::Clockwise);
    }

    // The field table names the window's controls: each field of the file
    // has the control the table gives it.
    void EveryFileFieldHasItsControl() {
        for (const TDesignField& f : DesignFields()) {
            QVERIFY2(f6_->findChild<QWidget*>(QString::fromStdString(f.ObjectName)),
                     f.ObjectName.c_str());
        }
    }

    void LayerCountEdits() {
        auto* tabs = Find<QTabWidget>("LayerTabs");
        TypeInto(Find<QComboBox>("LayerCount"), "2");
        QCOMPARE(design_->LayerCount, std::string("2"));
        QVERIFY(tabs->isTabVisible(1) && !tabs->isTabVisible(2));
        QVERIFY(Find<QToolButton>("Digitise2")->isEnabled());
        QVERIFY(!Find<QToolButton>("Digitise3")->isEnabled());
        QVERIFY(chart_->Model()->Series[fkLayer3].Points.empty());

        TypeInto(Find<QComboBox>("LayerCount"), "7");
        QCOMPARE(Find<QComboBox>("LayerCount")->currentText(), QStringLiteral("5"));
        QCOMPARE(design_->LayerCount, std::string("5"));
        for (int i = 0; i < 5; ++i) QVERIFY(tabs->isTabVisible(i));
        QCOMPARE(chart_->Model()->Series[fkLayer5].Points.size(), 4u);

        Find<QComboBox>("LayerCount")->setCurrentIndex(2);  // picked from the list
        QCOMPARE(design_->LayerCount, std::string("3"));
        QVERIFY(tabs->isTabVisible(2) && !tabs->isTabVisible(3));

        TypeInto(Find<QComboBox>("LayerCount"), "2");
        TypeInto(Find<QComboBox>("LayerCount"), "x");
        QCOMPARE(design_->LayerCount, std::string("x"));
        QVERIFY(tabs->isTabVisible(1) && !tabs->isTabVisible(2));
        QVERIFY(!Find<QToolButton>("Digitise3")->isEnabled());
    }

    void WaterSwitch() {
        auto* tabs = Find<QTabWidget>("LayerTabs");
        auto* water = Find<QCheckBox>("WaterEnabled");
        water->click();
        QVERIFY(design_->WaterEnabled);
        QVERIFY(tabs->isTabVisible(5));
        QCOMPARE(Find<QComboBox>("GammaW")->currentText(), QStringLiteral("10.0"));
        QCOMPARE(design_->GammaW, std::string("10.0"));
        QVERIFY(Find<QToolButton>("DigitiseW")->isEnabled());
        QCOMPARE(chart_->Model()->Series[fkWater].Points.size(), 4u);
        QCOMPARE(tabs->currentIndex(), 0);

        water->click();
        QVERIFY(!tabs->isTabVisible(5));
        QCOMPARE(Find<QComboBox>("GammaW")->currentText(), QStringLiteral("---"));
        QCOMPARE(design_->GammaW, std::string("---"));
        QVERIFY(!Find<QComboBox>("GammaW")->isEnabled());
        QVERIFY(!Find<QToolButton>("DigitiseW")->isEnabled());
        QVERIFY(chart_->Model()->Series[fkWater].Points.empty());
    }

    void GammaSFollowsGammaT() {
        TypeInto(Find<QComboBox>("GammaT2"), "20.0");
        QCOMPARE(design_->Layers[1].GammaS, std::string("11.0"));
        QCOMPARE(Find<QComboBox>("GammaS2")->currentText(), QStringLiteral("11.0"));
        TypeInto(Find<QComboBox>("GammaT2"), "abc");
        QCOMPARE(design_->Layers[1].GammaT, std::string("abc"));
        QCOMPARE(design_->Layers[1].GammaS, std::string("11.0"));
    }

    void OptionalLinesShowTheirGrids() {
        auto* group = Find<QGroupBox>("NeverCutLineGroup");
        QCOMPARE(group->height(), 43);
        Find<QCheckBox>("NeverCutLineEnabled")->click();
        QCOMPARE(group->height(), 130);
        QVERIFY(!Find<QTableWidget>("NeverCutLine")->isHidden());
        QVERIFY(Find<QToolButton>("DigitiseN")->isEnabled());
        Find<QCheckBox>("MustCutPointEnabled")->click();
        QCOMPARE(Find<QGroupBox>("MustCutPointGroup")->height(), 115);
        Find<QCheckBox>("MustCutPointEnabled")->click();
        QCOMPARE(Find<QGroupBox>("MustCutPointGroup")->height(), 43);
        QVERIFY(!Find<QToolButton>("DigitiseM")->isEnabled());
    }

    // The note that the load stays out of the calculation shows beside the
    // load while it is on.
    void LoadStretchKeepsItsOrder() {
        auto* note = Find<QLabel>("LoadNote");
        QVERIFY(note->isHidden());
        Find<QCheckBox>("LoadEnabled")->click();
        QCOMPARE(Find<QGroupBox>("LoadGroup")->height(), 195 + 22 + 48);
        QVERIFY(!note->isHidden());
        QCOMPARE(note->text(), QStringLiteral("載荷重は図に描き、データを点検しますが、"
                                              "安全率の計算には含めません。"));
        TypeInto(Find<QLineEdit>("LoadEndX"), "5");
        TypeInto(Find<QLineEdit>("LoadStartX"), "10");
        QCOMPARE(Find<QLineEdit>("LoadEndX")->text(), QStringLiteral("10.00"));
        QCOMPARE(design_->LoadEndX, std::string("10.00"));
        QVERIFY(chart_->Model()->Series[fkLoad].Points.empty());
        TypeInto(Find<QLineEdit>("LoadEndX"), "30");
        QVERIFY(!chart_->Model()->Series[fkLoad].Points.empty());
        Find<QCheckBox>("LoadEnabled")->click();
        QVERIFY(chart_->Model()->Series[fkLoad].Points.empty());
        QCOMPARE(Find<QGroupBox>("LoadGroup")->height(), 45);
        QVERIFY(note->isHidden());
    }

    // Values of 100 m and more, negative ones and a long one in every kind of
    // grid: each cell shows its text whole (its column is as wide as the text
    // needs, the grid as wide as its columns), or, past the widest column,
    // ends in "…"; the usual values keep the usual widths.
    void CoordinateGridsShowWholeNumbers_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QStringList>("cells");  // X, Y of the rows
        QTest::newRow("ground, 140 m")
            << int(fkLayer1) << "Boundary1" << QStringList{"0.00", "5.00", "140.00", "15.00"};
        QTest::newRow("layer 3, negative")
            << int(fkLayer3) << "Boundary3" << QStringList{"-120.50", "-105.25", "99.99", "-1.00"};
        QTest::newRow("must-cut point X 120")
            << int(fkMustCutPoint) << "MustCutPoint" << QStringList{"120.00", "12.00"};
        QTest::newRow("never-cut line")
            << int(fkNeverCutLine) << "NeverCutLine" << QStringList{"1000.00", "-250.00"};
        QTest::newRow("groundwater")
            << int(fkWater) << "WaterTable" << QStringList{"2500.50", "1250.75"};
        QTest::newRow("usual values")
            << int(fkLayer1) << "Boundary1" << QStringList{"0.00", "5.00", "70.00", "15.00"};
    }
    void CoordinateGridsShowWholeNumbers() {
        QFETCH(int, kind);
        QFETCH(QString, grid);
        QFETCH(QStringList, cells);
        app_->MainWindow().MenuAction(TCommand::FullInputSet)->trigger();
        if (kind == fkWater) Find<QCheckBox>("WaterEnabled")->setChecked(true);
        TCoordinateTable& table = *FigureTable(*design_, static_cast<TFigureKind>(kind));
        table.Rows.clear();
        for (int i = 0; i + 1 < cells.size(); i += 2)
            table.Rows.push_back({std::to_string(i / 2), S(cells[i]), S(cells[i + 1])});
        f6_->RefreshTable(static_cast<TFigureKind>(kind));
        if (kind == fkMustCutPoint || kind == fkNeverCutLine) {
            f6_->ShowCircleConditionsPage();
            Find<QCheckBox>("NeverCutLineEnabled")->setChecked(true);
            Find<QCheckBox>("MustCutPointEnabled")->setChecked(true);
        } else {
            f6_->ShowLayerPage(kind == fkWater ? -1 : kind - fkLayer1);
        }
        auto* g = Find<QTableWidget>(grid.toUtf8().constData());
        QTRY_VERIFY(g->isVisible());
        // What the view says each column needs for its widest cell, every row.
        const auto* view = static_cast<const QAbstractItemView*>(g);
        int total = 0;
        for (int c = 0; c < 3; ++c) {
            const int width = g->columnWidth(c);
            total += width;
            QVERIFY2(width >= view->sizeHintForColumn(c),
                     qPrintable(QStringLiteral("column %1: %2 < %3")
                                    .arg(c)
                                    .arg(width)
                                    .arg(view->sizeHintForColumn(c))));
        }
        QVERIFY2(g->viewport()->width() >= total,
                 qPrintable(QStringLiteral("%1 < %2").arg(g->viewport()->width()).arg(total)));
        QCOMPARE(g->textElideMode(), Qt::ElideRight);
        // The usual values keep No. at 18 pixels and need at most one more pixel
        // than the usual 37 for "70.00".
        if (QTest::currentDataTag() == QStringLiteral("usual values")) {
            QCOMPARE(g->columnWidth(0), 18);
            QVERIFY(g->columnWidth(1) <= 38 && g->columnWidth(2) <= 38);
        }
        if (QTest::currentDataTag() == QStringLiteral("ground, 140 m"))
            g->grab().save(QDir::temp().filePath("sorvanta-wide-grid.png"));
    }

    // The load outline and the never-cut elevation line stand on the ground:
    // each way of changing the ground surface or γt of layer 1 leaves them as
    // a fresh drawing of the design (a reload) shows them.
    void LoadOutlineFollowsTheGround_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("地表面簡易入力") << 0;
        QTest::newRow("座標入力") << 1;
        QTest::newRow("digitised") << 2;
        QTest::newRow("γt of layer 1") << 3;
        QTest::newRow("廃棄") << 4;
    }

    void LoadOutlineFollowsTheGround() {
        QFETCH(int, change);
        Find<QCheckBox>("LoadEnabled")->click();
        TypeInto(Find<QLineEdit>("LoadIntensity"), "20");
        TypeInto(Find<QLineEdit>("LoadStartX"), "10");
        TypeInto(Find<QLineEdit>("LoadEndX"), "30");
        const auto before = chart_->Model()->Series[fkLoad].Points;
        QVERIFY(!before.empty());
        switch (change) {
            case 0: {
                QTest::mouseClick(Find<QPushButton>("GroundQuickEntryButton"), Qt::LeftButton);
                TQuickEntryWindow& f10 = app_->QuickEntryWindow();
                f10.findChild<QLineEdit*>("ToeElevation")->setText("8.0");
                QTest::mouseClick(f10.findChild<QPushButton*>("SetGroundButton"), Qt::LeftButton);
                break;
            }
            case 1: {
                QTest::mouseClick(Find<QTableWidget>("Boundary1")->viewport(), Qt::LeftButton, {},
                                  QPoint(20, 10));
                TEntryWindow& f9 = app_->EntryWindow();
                f9.EntryGrid()->item(1, 2)->setText("9");
                f9.WriteBack();
                break;
            }
            case 2:
                QTest::mouseClick(Find<QToolButton>("Digitise1"), Qt::LeftButton);
                QVERIFY(chart_->Model()->Series[fkLoad].Points.empty());
                QTest::mouseClick(chart_, Qt::LeftButton, {}, PixelOf(2, 8));
                QTest::mouseClick(chart_, Qt::LeftButton, {}, PixelOf(40, 12));
                QTest::mouseClick(chart_, Qt::RightButton, {}, PixelOf(60, 12));
                break;
            case 3:
                TypeInto(Find<QComboBox>("GammaT1"), "10.0");
                break;
            case 4: {
                TDialogResponder user;
                QTest::mouseClick(Find<QPushButton>("ClearButton"), Qt::LeftButton);
                break;
            }
            default:
                QFAIL("no such change");
        }
        TChartModel fresh = *chart_->Model();
        DrawLoadOutline(fresh, *design_);
        DrawNeverCutElevation(fresh, *design_);
        QVERIFY(chart_->Model()->Series[fkLoad] == fresh.Series[fkLoad]);
        QVERIFY(chart_->Model()->Series[fkNeverCutElevation] == fresh.Series[fkNeverCutElevation]);
        QVERIFY(chart_->Model()->Series[fkLoad].Points != before);
    }

    // γt of layer 1 typed over clears the outline without a message; the
    // outline comes back with a number.
    void LoadOutlineWaitsForANumberInGammaT() {
        Find<QCheckBox>("LoadEnabled")->click();
        TypeInto(Find<QLineEdit>("LoadIntensity"), "20");
        TypeInto(Find<QLineEdit>("LoadStartX"), "10");
        TypeInto(Find<QLineEdit>("LoadEndX"), "30");
        TDialogResponder user;
        TypeInto(Find<QComboBox>("GammaT1"), "");
        QVERIFY(chart_->Model()->Series[fkLoad].Points.empty());
        TypeInto(Find<QComboBox>("GammaT1"), "18.0");
        QVERIFY(!chart_->Model()->Series[fkLoad].Points.empty());
        QVERIFY(user.Seen.isEmpty());
    }

    void ZoomButtonsAndGestures() {
        QTest::mouseClick(Find<QPushButton>("ZoomInButton"), Qt::LeftButton);
        QCOMPARE(chart_->Model()->Bottom->Min, 14.0);
        QCOMPARE(chart_->Model()->Bottom->Max, 56.0);
        chart_->Model()->Bottom = TAxisRange{0, 70};
        chart_->Model()->Left = TAxisRange{0, 70};
        QTest::mouseClick(Find<QPushButton>("ZoomOutButton"), Qt::LeftButton);
        QCOMPARE(chart_->Model()->Left->Min, -14.0);
        QCOMPARE(chart_->Model()->Left->Max, 84.0);
        chart_->Model()->Bottom = TAxisRange{0, 70};
        chart_->Model()->Left = TAxisRange{0, 70};

        // Drag to the lower right: the rectangle becomes the view.
        const QPoint a = PixelOf(10, 40), b = PixelOf(30, 20);
        QTest::mousePress(chart_, Qt::LeftButton, {}, a);
        MovePointer(chart_, b, Qt::LeftButton);
        QTest::mouseRelease(chart_, Qt::LeftButton, {}, b);
        QVERIFY(std::abs(chart_->Model()->Bottom->Min - 10) < 0.5);
        QVERIFY(std::abs(chart_->Model()->Bottom->Max - 30) < 0.5);
        QVERIFY(std::abs(chart_->Model()->Left->Max - 40) < 0.5);
        // Nothing was digitised by the press.
        QCOMPARE(design_->Layers[0].Boundary.Rows.size(), 4u);

        // Right-button drag pans; a drag to the upper left returns to 0..70.
        const double before = chart_->Model()->Bottom->Min;
        const QPoint c = chart_->PlotRect().center().toPoint();
        QTest::mousePress(chart_, Qt::RightButton, {}, c);
        MovePointer(chart_, c + QPoint(40, 0), Qt::RightButton);
        QTest::mouseRelease(chart_, Qt::RightButton, {}, c + QPoint(40, 0));
        QVERIFY(chart_->Model()->Bottom->Min < before - 1);
        QTest::mousePress(chart_, Qt::LeftButton, {}, c);
        MovePointer(chart_, c - QPoint(30, 30), Qt::LeftButton);
        QTest::mouseRelease(chart_, Qt::LeftButton, {}, c - QPoint(30, 30));
        QCOMPARE(chart_->Model()->Bottom->Min, 0.0);
        QCOMPARE(chart_->Model()->Left->Max, 70.0);
    }

    void DigitisingLayer1WritesRowsInOneDecimal() {
        QTest::mouseClick(Find<QToolButton>("Digitise1"), Qt::LeftButton);
        QVERIFY(f6_->Digitiser().Active());
        QCOMPARE(Row("Boundary1", 0), (QStringList{"-", "-", "-"}));

        // Shift the view by less than a pixel so that a pixel lies exactly on
        // (12.34, 5.67).
        const QPoint p1 = PixelOf(12.34, 5.67);
        const QPointF off = QPointF(12.34, 5.67) - chart_->PixelToAxis(p1);
        chart_->Model()->Bottom = TAxisRange{off.x(), 70 + off.x()};
        chart_->Model()->Left = TAxisRange{off.y(), 70 + off.y()};
        QVERIFY((chart_->PixelToAxis(p1) - QPointF(12.34, 5.67)).manhattanLength() < 1e-9);
        MovePointer(chart_, p1);
        const QPointF v1 = chart_->PixelToAxis(p1);
        QCOMPARE(Find<QLabel>("PointerX")->text(),
                 QString::fromStdString(FormatFloat("X=0.00m;X=-0.00m", v1.x())));
        QTest::mouseClick(chart_, Qt::LeftButton, {}, p1);
        QCOMPARE(Row("Boundary1", 0), (QStringList{"0", Digitised(v1.x()), Digitised(v1.y())}));
        QCOMPARE(Digitised(v1.x()), QStringLiteral("12.3"));
        QCOMPARE(Digitised(v1.y()), QStringLiteral("5.7"));

        const QPoint p2 = PixelOf(35, 12), p3 = PixelOf(66, 12);
        QTest::mouseClick(chart_, Qt::LeftButton, {}, p2);
        QTest::mouseClick(chart_, Qt::RightButton, {}, p3);
        QVERIFY(!f6_->Digitiser().Active());
        QVERIFY(Find<QToolButton>("DigitiseS")->isChecked());
        const auto& rows = design_->Layers[0].Boundary.Rows;
        QCOMPARE(rows.size(), 3u);
        QCOMPARE(QString::fromStdString(rows[2].X), Digitised(chart_->PixelToAxis(p3).x()));
        QCOMPARE(chart_->Model()->Series[fkLayer1].Points.size(), 3u);
        // After the end, clicks add nothing.
        QTest::mouseClick(chart_, Qt::LeftButton, {}, p2);
        QCOMPARE(design_->Layers[0].Boundary.Rows.size(), 3u);
    }

    // Redrawing the preview while a line is being digitised loses no point.
    void DigitisingSurvivesARedraw() {
        QTest::mouseClick(Find<QToolButton>("Digitise1"), Qt::LeftButton);
        QTest::mouseClick(chart_, Qt::LeftButton, {}, PixelOf(5, 5));
        TypeInto(Find<QComboBox>("LayerCount"), "3");
        QTest::mouseClick(chart_, Qt::LeftButton, {}, PixelOf(25, 8));
        QCOMPARE(design_->Layers[0].Boundary.Rows.size(), 2u);
        QCOMPARE(design_->Layers[0].Boundary.Rows[0].X,
                 S(Digitised(chart_->PixelToAxis(PixelOf(5, 5)).x())));
        QCOMPARE(chart_->Model()->Series[fkLayer1].Points.size(), 3u);  // two fixed, one floating

        // Starting another line ends this one with the points it has.
        QTest::mouseClick(Find<QToolButton>("Digitise2"), Qt::LeftButton);
        QVERIFY(!f6_->Digitiser().Active(fkLayer1));
        QCOMPARE(chart_->Model()->Series[fkLayer1].Points.size(), 2u);
    }

    void MustCutPointEndsAfterOneClick() {
        Find<QCheckBox>("MustCutPointEnabled")->click();
        QTest::mouseClick(Find<QToolButton>("DigitiseM"), Qt::LeftButton);
        QCOMPARE(Find<QTabWidget>("InputPages")->currentIndex(), 1);
        QCOMPARE(Find<QTabWidget>("CalculationTabs")->currentIndex(), 1);
        const QPoint p = PixelOf(30, 20);
        QTest::mouseClick(chart_, Qt::LeftButton, {}, p);
        QVERIFY(!f6_->Digitiser().Active());
        QCOMPARE(design_->MustCutPoint.Rows.size(), 1u);
        QCOMPARE(QString::fromStdString(design_->MustCutPoint.Rows[0].Y),
                 Digitised(chart_->PixelToAxis(p).y()));
        QCOMPARE(chart_->Model()->Series[fkMustCutPoint].Points.at(0).Label,
                 std::optional<std::string>("M.C.P"));
    }

    // A right click ends a lower layer inside the X range of the layer above:
    // the boundary above supplies the points left and right of it.
    void RightClickMergesLowerLayer() {
        QTest::mouseClick(Find<QToolButton>("Digitise3"), Qt::LeftButton);
        QCOMPARE(Find<QTabWidget>("LayerTabs")->currentIndex(), 2);
        const QPoint p1 = PixelOf(10, 1), p2 = PixelOf(50, 9);
        QTest::mouseClick(chart_, Qt::LeftButton, {}, p1);
        QTest::mouseClick(chart_, Qt::RightButton, {}, p2);
        auto merged = [&](QPoint p) {
            const QPointF v = chart_->PixelToAxis(p);
            return QStringList{
                QString::fromStdString(FormatFloat("0.00", *TryStrToFloat(S(Digitised(v.x()))))),
                QString::fromStdString(FormatFloat("0.00", *TryStrToFloat(S(Digitised(v.y())))))};
        };
        QCOMPARE(Find<QTableWidget>("Boundary3")->rowCount(), 4);
        QCOMPARE(Row("Boundary3", 0), (QStringList{"0", "0.00", "4.00"}));
        QCOMPARE(Row("Boundary3", 1), QStringList{"1"} + merged(p1));
        QCOMPARE(Row("Boundary3", 2), QStringList{"2"} + merged(p2));
        QCOMPARE(Row("Boundary3", 3), (QStringList{"3", "70.00", "14.00"}));
        QCOMPARE(chart_->Model()->Series[fkLayer3].Points.size(), 4u);
    }

    void LayerAboveMustBeDefinedFirst() {
        design_->Layers[1].Boundary.Rows = {{"0", "0", "3"}, {"1", "x", "3"}};
        f6_->RefreshTable(fkLayer2);
        TDialogResponder user;
        QTest::mouseClick(Find<QToolButton>("Digitise3"), Qt::LeftButton);
        QCOMPARE(user.Texts(), QStringList{"[2]層目の座標データが未定義です。\n\n先に、[2]"
                                           "層目の座標データを入力して下さい。"});
        QVERIFY(Find<QToolButton>("DigitiseS")->isChecked());
        QVERIFY(!f6_->Digitiser().Active());
        QCOMPARE(Find<QTabWidget>("LayerTabs")->currentIndex(), 1);
        QCOMPARE(design_->Layers[2].Boundary.Rows.size(), 4u);
    }

    void FullInputSetShowsWhatStartUpHides() {
        QAction* item = app_->MainWindow().MenuAction(TCommand::FullInputSet);
        QVERIFY(item->isCheckable() && !item->isChecked());
        auto* calcTabs = Find<QTabWidget>("CalculationTabs");
        const QList<QWidget*> hidden{Find<QWidget>("GammaS1"), Find<QWidget>("GammaS5"),
                                     Find<QWidget>("WaterGroup"), Find<QWidget>("StressType")};
        item->trigger();
        for (QWidget* w : hidden) QVERIFY2(!w->isHidden(), qPrintable(w->objectName()));
        QVERIFY(calcTabs->isTabVisible(2));
        item->trigger();
        for (QWidget* w : hidden) QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
        QVERIFY(!calcTabs->isTabVisible(2));

        // The choice is found again at the next start.
        item->trigger();
        app_.reset();
        app_ = StartApp(true);
        f6_ = &app_->DesignWindow();
        QVERIFY(app_->MainWindow().MenuAction(TCommand::FullInputSet)->isChecked());
        QVERIFY(!Find<QWidget>("WaterGroup")->isHidden());
        QVERIFY(Find<QTabWidget>("CalculationTabs")->isTabVisible(2));
    }

    // The earthquake and countermeasure inputs stand on their own tab of the
    // full input set, bound to the options; the preset fills values only.
    void EarthquakeAndCountermeasureInputs() {
        auto* calcTabs = Find<QTabWidget>("CalculationTabs");
        const int tab = calcTabs->indexOf(Find<QWidget>("SeismicTab"));
        QVERIFY(!calcTabs->isTabVisible(tab));
        app_->MainWindow().MenuAction(TCommand::FullInputSet)->trigger();
        QVERIFY(calcTabs->isTabVisible(tab));
        for (const char* name :
             {"DesignGuide", "Kh", "DesignCase", "RequiredFsSeismic", "PlannedFs", "AnchorAngle",
              "PilePitch", "LoadInAnalysis", "SliceMethod", "PoreForm"})
            QVERIFY2(!Find<QWidget>(name)->toolTip().isEmpty(), name);
        QCOMPARE(Find<QComboBox>("DesignGuide")->currentText(), QStringLiteral("任意"));

        // The method of slices and the pore-pressure form: the index is the value.
        TAppState& context = app_->Context();
        TAnalysisOptions& options = context.Options;
        auto* method = Find<QComboBox>("SliceMethod");
        auto* pore = Find<QComboBox>("PoreForm");
        const auto items = [](const QComboBox* box) {
            QStringList texts;
            for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
            return texts;
        };
        QCOMPARE(items(method),
                 (QStringList{"修正フェレニウス法", "簡便ビショップ法", "簡便ヤンブ法",
                              "スペンサー法", "モルゲンシュテルン・プライス法"}));
        QCOMPARE(items(pore), (QStringList{"(W−u·b)·cosα", "W·cosα−u·l"}));
        QCOMPARE(method->currentIndex(), 0);
        QCOMPARE(pore->currentIndex(), 0);
        QVERIFY(!DesignModified(context));
        context.ResultsDesign = context.Design;  // as if calculated now
        context.ResultsOptions = options;
        context.ResultsDrawing = context.Drawing;
        QVERIFY(ResultsState(context) == TResultsState::Current);
        method->setCurrentIndex(4);
        QVERIFY(options.Method == TSliceMethodKind::MorgensternPrice);
        QVERIFY(DesignModified(context));
        QVERIFY(ResultsState(context) == TResultsState::Changed);
        method->setCurrentIndex(1);
        pore->setCurrentIndex(1);
        QVERIFY(options.Method == TSliceMethodKind::Bishop);
        QVERIFY(options.PoreForm == TPoreForm::Conventional);
        // Saved with the design, and shown again by a load.
        QTemporaryDir dir;
        const QString file = dir.filePath("bishop.dat");
        {
            TDialogResponder user;
            user.FileName = file;
            app_->MainWindow().MenuAction(TCommand::Save)->trigger();
            QTRY_VERIFY(!DesignModified(context));
        }
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().endsWith(
            "[sorvanta options]\r\nmethod=bishop\r\npore-pressure=conventional\r\n"));
        method->setCurrentIndex(0);
        pore->setCurrentIndex(0);
        {
            TDialogResponder user;
            user.AnswerNoTo << QStringLiteral("SaveChangesQuestion");
            user.FileName = file;
            app_->MainWindow().MenuAction(TCommand::Load)->trigger();
            QTRY_VERIFY(options.Method == TSliceMethodKind::Bishop);
            QCOMPARE(user.Seen.first().ObjectName, QStringLiteral("SaveChangesQuestion"));
        }
        QCOMPARE(method->currentText(), QStringLiteral("簡便ビショップ法"));
        QCOMPARE(pore->currentText(), QStringLiteral("W·cosα−u·l"));
        QVERIFY(!DesignModified(context));

        TypeInto(Find<QLineEdit>("Kh"), "0.15");
        TypeInto(Find<QComboBox>("RequiredFsSeismic"), "1.05");
        TypeInto(Find<QLineEdit>("AnchorAngle"), "-20");
        Find<QRadioButton>("DesignCase2")->click();
        QCOMPARE(options.Kh, std::string("0.15"));
        QCOMPARE(options.RequiredFsSeismic, std::string("1.05"));
        QCOMPARE(options.AnchorAngle, std::string("-20"));
        QCOMPARE(options.Case, TDesignCase::Both);
        QVERIFY(DesignModified(app_->Context()));

        // 宅地盛土: 常時 1.50 (the design's own), 地震時 1.00, kh 0.25.
        auto* guide = Find<QComboBox>("DesignGuide");
        guide->setCurrentIndex(1);
        emit guide->activated(1);
        QCOMPARE(design_->SafetyFactor, std::string("1.50"));
        QCOMPARE(Find<QComboBox>("SafetyFactor")->currentText(), QStringLiteral("1.50"));
        QCOMPARE(options.RequiredFsSeismic, std::string("1.00"));
        QCOMPARE(options.Kh, std::string("0.25"));
        QCOMPARE(options.AnchorAngle, std::string("-20"));  // not the preset's

        // A value the option cannot hold is named when its input is left.
        TDialogResponder user;
        auto* pile = Find<QLineEdit>("PilePitch");
        TypeInto(pile, "0");
        emit pile->editingFinished();
        QTRY_COMPARE(user.Texts(), QStringList{"杭間隔は0より大きい数値で指定して下さい（'0'）。"});

        // Counting the load hides the note that it is not counted.
        Find<QCheckBox>("LoadEnabled")->click();
        QVERIFY(!Find<QLabel>("LoadNote")->isHidden());
        Find<QCheckBox>("LoadInAnalysis")->click();
        QVERIFY(options.LoadInAnalysis);
        QVERIFY(Find<QLabel>("LoadNote")->isHidden());
    }

    // With the full input set a user enters groundwater without a file:
    // switched on, digitised with "w", calculated.
    void GroundwaterDigitisedAndCalculated() {
        app_->MainWindow().MenuAction(TCommand::FullInputSet)->trigger();
        QTest::mouseClick(Find<QCheckBox>("WaterEnabled"), Qt::LeftButton);
        QVERIFY(design_->WaterEnabled);
        QTest::mouseClick(Find<QToolButton>("DigitiseW"), Qt::LeftButton);
        QVERIFY(f6_->Digitiser().Active(fkWater));
        QTest::mouseClick(chart_, Qt::LeftButton, {}, PixelOf(0, 4.5));
        QTest::mouseClick(chart_, Qt::LeftButton, {}, PixelOf(30, 8));
        QTest::mouseClick(chart_, Qt::RightButton, {}, PixelOf(70, 12));
        QVERIFY(!f6_->Digitiser().Active());
        // Merged with the ground surface, which it spans: the three points as clicked.
        QCOMPARE(design_->WaterTable.Rows.size(), 3u);
        const QPointF clicked[] = {{0, 4.5}, {30, 8}, {70, 12}};
        for (std::size_t i = 0; i < 3; ++i) {
            QVERIFY(std::abs(std::stod(design_->WaterTable.Rows[i].X) - clicked[i].x()) < 0.2);
            QVERIFY(std::abs(std::stod(design_->WaterTable.Rows[i].Y) - clicked[i].y()) < 0.2);
        }
        QCOMPARE(Row("WaterTable", 2)[0], QStringLiteral("2"));

        TDialogResponder user;
        QTest::mouseClick(Find<QPushButton>("StartButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!app_->Calculation().Running(), 120000);
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Ok);
        const TResultTables& r = app_->Context().Report.Results;
        QCOMPARE(r.LayerSettingsList.at(2), std::string("  2)地下水：有り"));
        QCOMPARE(r.LayerSettingsList.at(3), std::string("  3)水の単位体積重量(kN/m3)=10.00"));
        QCOMPARE(app_->Context().Report.ResultChart.Series[rsWater].Points.size(), 3u);
        // The dry sample gives 2.040.
        QVERIFY(std::abs(app_->Calculation().LastResult().Critical.Fs - 2.040) > 0.005);
    }

    void ClearLayersAsksFirst() {
        {
            TDialogResponder user;
            user.AnswerYes = false;
            QTest::mouseClick(Find<QPushButton>("ClearButton"), Qt::LeftButton);
            QCOMPARE(user.Texts(), QStringList{"地層データをクリアしますか"});
            QCOMPARE(design_->Layers[0].Boundary.Rows.size(), 4u);
        }
        TDialogResponder user;
        QTest::mouseClick(Find<QPushButton>("ClearButton"), Qt::LeftButton);
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(design_->Layers[static_cast<std::size_t>(k)].Boundary,
                     TCoordinateTable::Placeholder());
            const auto& points = chart_->Model()->Series[static_cast<std::size_t>(k)].Points;
            QCOMPARE(points.size(), 1u);
            QCOMPARE(points[0].Colour, std::optional<TRgb>(TRgb{128, 128, 128}));
        }
        QCOMPARE(Row("Boundary1", 0), (QStringList{"-", "-", "-"}));
        QCOMPARE(design_->WaterTable.Rows.size(), 4u);
    }
};

QTEST_MAIN(DesignWindowTest)
#include "DesignWindowTest.moc"
