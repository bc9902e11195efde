// The result windows as a user works them: a run shows the result tables
// window on its figure tab at the place of the command that started it, the
// windows show the core's records exactly, the charts answer the pointer, the
// navigation buttons and the slider, and the arbitrary point is evaluated by
// a click or by typed coordinates.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/ArbitraryDiagramWindow.h"
#include "gui/ArbitraryWindow.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/ResultDiagramWindow.h"
#include "gui/ResultViews.h"
#include "gui/ResultWindow.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "report/ArbitraryReport.h"
#include "report/MethodTexts.h"
#include "run/ArbitraryPoint.h"
#include "text/NumberFormat.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

QStringList Lines(const TLineList& lines) {
    QStringList out;
    for (const auto& l : lines) out << QString::fromStdString(l);
    return out;
}

// Row 0 is the grid's header, the others its rows.
QList<QStringList> Cells(const QTableWidget* grid) {
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < grid->columnCount(); ++c) header << grid->horizontalHeaderItem(c)->text();
    rows << header;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < grid->columnCount(); ++c) row << grid->item(r, c)->text();
        rows << row;
    }
    return rows;
}

QList<QStringList> Cells(const TCellTable& table) {
    QList<QStringList> rows;
    for (const auto& row : table.Rows) rows << Lines(row);
    return rows;
}

QColor Colour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

}  // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;

    TResultWindow& F2() { return app_->ResultWindow(); }
    TArbitraryWindow& F16() { return app_->ArbitraryWindow(); }
    TDesignWindow& F6() { return app_->DesignWindow(); }
    TAppState& Context() { return app_->Context(); }
    template <class T>
    static T* Find(QWidget& window, const char* name) {
        T* w = window.findChild<T*>(QString::fromUtf8(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    bool WaitForRun(int ms = 120000) {
        QElapsedTimer t;
        t.start();
        while (app_->Calculation().Running() && t.elapsed() < ms) QTest::qWait(20);
        return !app_->Calculation().Running();
    }
    void RunFromButton() {
        TDialogResponder user;
        QTest::mouseClick(Find<QPushButton>(F6(), "StartButton"), Qt::LeftButton);
        QVERIFY(WaitForRun());
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Ok);
    }
    // The core's own run of the application's design.
    TCalculationReport CoreRun() {
        TCalculationReport report;
        TRecordingDialogs yes;
        StartCalculation(TRunContext{.Design = Context().Design,
                                     .Options = Context().Options,
                                     .Report = report,
                                     .Dialogs = yes,
                                     .Progress = nullptr,
                                     .Settings = {},
                                     .Drawing = {}});
        return report;
    }
    void CompareArbitrary(const TArbitraryTables& t) {
        QCOMPARE(Cells(Find<QTableWidget>(F16(), "StringGrid5")), Cells(t.Circle.SliceTable));
        QCOMPARE(Cells(Find<QTableWidget>(F16(), "StringGrid2")), Cells(t.Circle.LoadTable));
        const std::pair<const char*, const TLineList*> lists[] = {
            {"ListBox1", &t.Circle.SliceHeadingList}, {"ListBox11", &t.Circle.SliceLegendList},
            {"ListBox12", &t.Circle.SliceNoteList},   {"ListBox7", &t.Circle.LoadHeadingList},
            {"ListBox8", &t.Circle.LoadLegendList},   {"ListBox10", &t.Circle.LoadFormulaList},
            {"ListBox4", &t.Circle.JudgementList},
        };
        for (const auto& [name, lines] : lists)
            QCOMPARE(Lines(Find<QListWidget>(F16(), name)), Lines(*lines));
        QCOMPARE(Find<QLabel>(F16(), "Panel6")->text(),
                 QString::fromStdString(t.Circle.JudgementLabel.Text));
    }

  private slots:
    void initTestCase() { InstallJapanese(); }
    void init() { app_ = StartApp(); }
    void cleanup() { app_.reset(); }

    void BeforeAnyRunTheTablesHoldTheirInitialTexts() {
        const TResultTables initial;
        QCOMPARE(Lines(Find<QListWidget>(F2(), "ListBox1")), Lines(initial.ResultList));
        QCOMPARE(Lines(Find<QListWidget>(F2(), "ListBox3")), Lines(initial.Circle.JudgementList));
        QCOMPARE(Find<QGroupBox>(F2(), "GroupBox11")->title(), QStringLiteral("計算結果"));
        QCOMPARE(Find<QLabel>(F2(), "Panel5")->text(), QStringLiteral("判定"));
        QCOMPARE(Cells(Find<QTableWidget>(F2(), "StringGrid5")), Cells(initial.Circle.SliceTable));
        for (const auto& s : F2().Chart()->Model()->Series) QVERIFY(s.Points.empty());
        QCOMPARE(Find<QSlider>(F2(), "FontSizeSlider")->value(), 9);
        QVERIFY(!F2().isVisible());
        QCOMPARE(Find<TPointerDisplay>(F2(), "PointerGroup")->XText(), QStringLiteral("X=000.00m"));
    }

    // A run from either start command shows the window on tab Ⅴ at the
    // place of that command; the design window's button also hides the
    // arbitrary-point window first.
    void RunShowsTheFigureTabAtTheCommandsPlace_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<bool>("arbitraryHidden");
        QTest::newRow("design window button") << false << QPoint(0, 20) << true;
        QTest::newRow("1.計算開始") << true << QPoint(10, 20) << false;
    }
    void RunShowsTheFigureTabAtTheCommandsPlace() {
        QFETCH(bool, fromMenu);
        QFETCH(QPoint, offset);
        QFETCH(bool, arbitraryHidden);
        app_->MainWindow().ToolAction(TCommand::ShowArbitrary)->trigger();
        F2().Tabs()->setCurrentIndex(TResultWindow::tabDesign);
        F2().move(300, 300);
        TDialogResponder user;
        if (fromMenu) {
            app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
        } else {
            QTest::mouseClick(Find<QPushButton>(F6(), "StartButton"), Qt::LeftButton);
        }
        QVERIFY(!F2().isVisible());
        QCOMPARE(F16().isVisible(), !arbitraryHidden);
        QVERIFY(WaitForRun());
        QCOMPARE(user.Seen.size(), 1);  // the circle conditions question only
        QVERIFY(F2().isVisible());
        QCOMPARE(F2().Tabs()->currentIndex(), int(TResultWindow::tabFigure));
        QCOMPARE(F2().pos(), F6().pos() + offset);
        QCOMPARE(Find<QGroupBox>(F2(), "GroupBox11")->title(),
                 QStringLiteral("計算結果(安全率以内)"));
        QCOMPARE(Colour(Find<QLabel>(F2(), "Panel5")), QColor(0, 0, 255));
        QCOMPARE(Find<QLabel>(F2(), "Panel5")->text(), QStringLiteral("安全率以内"));
    }

    void FailedRunShowsItsMessageAndKeepsTheWindowHidden() {
        Context().Options.Direction =
            TSlipDirection::CounterClockwise;  // the sample slips clockwise only
        TDialogResponder user;
        QTest::mouseClick(Find<QPushButton>(F6(), "StartButton"), Qt::LeftButton);
        QVERIFY(WaitForRun());
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::NoCircle);
        QCOMPARE(user.Texts().last(),
                 QStringLiteral(
                     "該当する滑り方向の円弧は有りません。\n\n滑り方向設定を変更してみて下さい。"));
        QVERIFY(!F2().isVisible());
        QCOMPARE(Find<QTabWidget>(F6(), "InputPages")->currentIndex(), 1);
        QCOMPARE(Find<QTableWidget>(F2(), "StringGrid1")->item(0, 1)->text(), QStringLiteral("-"));
    }

    // Every line and cell of both table windows is the core's, run on its own.
    void WindowsShowTheCoresRecordsExactly() {
        RunFromButton();
        const TCalculationReport core = CoreRun();
        const TResultTables& t = core.Results;
        const std::pair<const char*, const TLineList*> lists[] = {
            {"ListBox20", &t.ContentsList},
            {"ListBox6", &t.LayerSettingsList},
            {"ListBox5", &t.SoilLegendList},
            {"ListBox2", &t.CalculationConditionsList},
            {"ListBox9", &t.FormulaList},
            {"ListBox1", &t.ResultList},
            {"ListBox4", &t.Circle.SliceHeadingList},
            {"ListBox11", &t.Circle.SliceLegendList},
            {"ListBox12", &t.Circle.SliceNoteList},
            {"ListBox7", &t.Circle.LoadHeadingList},
            {"ListBox8", &t.Circle.LoadLegendList},
            {"ListBox10", &t.Circle.LoadFormulaList},
            {"ListBox3", &t.Circle.JudgementList},
        };
        for (const auto& [name, lines] : lists) {
            QVERIFY2(!lines->empty(), name);
            QCOMPARE(Lines(Find<QListWidget>(F2(), name)), Lines(*lines));
        }
        const std::pair<const char*, const TCellTable*> grids[] = {
            {"StringGrid3", &t.SoilDataTable},     {"StringGrid4", &t.CoordinateTable1},
            {"StringGrid6", &t.CoordinateTable2},  {"StringGrid1", &t.CentreTable},
            {"StringGrid5", &t.Circle.SliceTable}, {"StringGrid2", &t.Circle.LoadTable},
        };
        for (const auto& [name, table] : grids)
            QCOMPARE(Cells(Find<QTableWidget>(F2(), name)), Cells(*table));
        QCOMPARE(Find<QGroupBox>(F2(), "GroupBox11")->title(),
                 QString::fromStdString(t.ResultCaption.Text));
        QCOMPARE(Colour(Find<QGroupBox>(F2(), "GroupBox11")), QColor(128, 0, 0));
        QCOMPARE(Find<QLabel>(F2(), "Panel5")->text(),
                 QString::fromStdString(t.Circle.JudgementLabel.Text));
        QVERIFY(*F2().Chart()->Model() == core.ResultChart);
        CompareArbitrary(core.Arbitrary);
        QVERIFY(*F16().Chart()->Model() == core.ArbitraryChart);
    }

    // 検討ケース 両方: "検討ケース" puts the 地震時 case's report in every tab
    // and the chart, and back. Without a second case it is hidden and the
    // window draws exactly as it would without the selector.
    void CaseSelectorSwitchesEveryTabToTheChosenCase() {
        auto* selector = Find<QComboBox>(F2(), "CaseSelector");
        RunFromButton();
        QVERIFY(!selector->isVisibleTo(&F2()));
        for (int tab = 0; tab < F2().Tabs()->count(); ++tab) {
            F2().Tabs()->setCurrentIndex(tab);
            const QImage with = F2().grab().toImage();
            QWidget* corner = F2().Tabs()->cornerWidget(Qt::TopRightCorner);
            F2().Tabs()->setCornerWidget(nullptr, Qt::TopRightCorner);
            QCOMPARE(F2().grab().toImage(), with);
            F2().Tabs()->setCornerWidget(corner, Qt::TopRightCorner);
        }

        Context().Options.Kh = "0.15";
        Context().Options.Case = TDesignCase::Both;
        RunFromButton();
        QVERIFY(selector->isVisibleTo(&F2()));
        QCOMPARE(selector->count(), 2);
        QCOMPARE(selector->itemText(1), QStringLiteral("地震時 (kh=0.15)"));
        const TCalculationReport core = CoreRun();
        QVERIFY(core.SeismicCase);
        const TCalculationReport* cases[] = {core.SeismicCase.get(), &core};
        for (const TCalculationReport* shown : cases) {
            selector->setCurrentIndex(shown == &core ? 0 : 1);
            emit selector->activated(selector->currentIndex());
            const TResultTables& t = shown->Results;
            const std::pair<const char*, const TLineList*> lists[] = {
                {"ListBox9", &t.FormulaList},
                {"ListBox1", &t.ResultList},
                {"ListBox4", &t.Circle.SliceHeadingList},
                {"ListBox3", &t.Circle.JudgementList},
            };
            for (const auto& [name, lines] : lists)
                QCOMPARE(Lines(Find<QListWidget>(F2(), name)), Lines(*lines));
            const std::pair<const char*, const TCellTable*> grids[] = {
                {"StringGrid1", &t.CentreTable},
                {"StringGrid5", &t.Circle.SliceTable},
                {"StringGrid2", &t.Circle.LoadTable},
            };
            for (const auto& [name, table] : grids)
                QCOMPARE(Cells(Find<QTableWidget>(F2(), name)), Cells(*table));
            QCOMPARE(Find<QGroupBox>(F2(), "GroupBox11")->title(),
                     QString::fromStdString(t.ResultCaption.Text));
            QVERIFY(*F2().Chart()->Model() == shown->ResultChart);
        }
        QVERIFY(Cells(core.Results.CentreTable) != Cells(core.SeismicCase->Results.CentreTable));

        // A run without the second case hides the selector and shows 常時.
        selector->setCurrentIndex(1);
        emit selector->activated(1);
        Context().Options.Case = TDesignCase::Normal;
        RunFromButton();
        QVERIFY(!selector->isVisibleTo(&F2()));
        QCOMPARE(selector->count(), 1);
        QVERIFY(*F2().Chart()->Model() == CoreRun().ResultChart);
    }

    void PointerMovementShowsTheCoordinates() {
        RunFromButton();
        TChartView* chart = F2().Chart();
        chart->Model()->Bottom = TAxisRange{-10, 10};
        chart->Model()->Left = TAxisRange{-10, 10};
        MovePointer(chart, chart->AxisToPixel({-1.5, 2.25}).toPoint());
        const QPointF at = chart->PixelToAxis(chart->AxisToPixel({-1.5, 2.25}).toPoint());
        QCOMPARE(F2().Pointer()->XText(), PointerText("X", at.x()));
        QVERIFY2(F2().Pointer()->XText().startsWith(QStringLiteral("X=-1.")),
                 qPrintable(F2().Pointer()->XText()));
        QCOMPARE(PointerText("X", -1.5), QStringLiteral("X=-1.50m"));
        QCOMPARE(PointerText("Y", 2.254), QStringLiteral("Y=2.25m"));

        // Over either arbitrary-point chart both windows show the position.
        TArbitraryDiagramWindow& f14 = app_->ArbitraryDiagramWindow();
        f14.ShowCopyOf(Context().Report.ArbitraryChart);
        MovePointer(f14.Chart(), f14.Chart()->PlotRect().center().toPoint());
        QVERIFY(F16().Pointer()->XText() != QStringLiteral("X=000.00m"));
        QCOMPARE(F16().Pointer()->XText(), f14.Pointer()->XText());
        QCOMPARE(F16().Pointer()->YText(), f14.Pointer()->YText());
    }

    void SliderEnlargesOnlyTheLabelledSeriesOfItsOwnChart() {
        RunFromButton();
        Find<QSlider>(F2(), "FontSizeSlider")->setValue(13);
        const auto& result = Context().Report.ResultChart.Series;
        for (int i = 0; i < ResultSeriesCount; ++i) {
            const bool labelled =
                i == rsMustCutPoint || i == rsRadii || i == rsSlipSurface || i == rsSafetyFactor;
            QCOMPARE(result[static_cast<std::size_t>(i)].LabelFontSize, labelled ? 13 : 9);
            QCOMPARE(
                Context().Report.ArbitraryChart.Series[static_cast<std::size_t>(i)].LabelFontSize,
                9);
        }
        // The next run keeps the slider's size.
        RunFromButton();
        QCOMPARE(Context().Report.ResultChart.Series[rsRadii].LabelFontSize, 13);
    }

    // The buttons of either window move the result chart and then the
    // separate copy, each from its own limits.
    void NavigationMovesTheChartAndItsSeparateCopy() {
        RunFromButton();
        TResultDiagramWindow& f13 = app_->ResultDiagramWindow();
        QTest::mouseClick(Find<QToolButton>(F2(), "SeparateWindowButton"), Qt::LeftButton);
        QVERIFY(f13.isVisible());
        QCOMPARE(f13.pos(), QPoint(0, 80));
        QCOMPARE(f13.size(), QSize(600, 640));
        QVERIFY(f13.Model().Bottom == Context().Report.ResultChart.Bottom);
        f13.Model().Bottom = TAxisRange{0, 100};  // a limit of its own

        const TAxisRange result = *Context().Report.ResultChart.Bottom;
        QTest::mouseClick(Find<QToolButton>(F2(), "ZoomInButton"), Qt::LeftButton);
        const double span = result.Max - result.Min;
        QCOMPARE(Context().Report.ResultChart.Bottom->Min, result.Min + 0.2 * span);
        QCOMPARE(*f13.Model().Bottom, (TAxisRange{20, 80}));

        QTest::mouseClick(Find<QToolButton>(f13, "MoveRightButton"), Qt::LeftButton);
        QCOMPARE(*f13.Model().Bottom, (TAxisRange{8, 68}));
        QCOMPARE(Context().Report.ResultChart.Bottom->Min,
                 result.Min + 0.2 * span - 0.2 * 0.6 * span);

        // The arbitrary-point pair works the same way.
        TArbitraryDiagramWindow& f14 = app_->ArbitraryDiagramWindow();
        f14.ShowCopyOf(Context().Report.ArbitraryChart);
        f14.Model().Left = TAxisRange{0, 10};
        const TAxisRange left = *Context().Report.ArbitraryChart.Left;
        QTest::mouseClick(Find<QToolButton>(f14, "MoveUpButton"), Qt::LeftButton);
        QCOMPARE(*f14.Model().Left, (TAxisRange{-2, 8}));
        QCOMPARE(Context().Report.ArbitraryChart.Left->Min, left.Min - 0.2 * (left.Max - left.Min));
    }

    // After zooming and panning, a left drag towards the upper left brings
    // every slip circle chart back to the first view of the run: the framed,
    // equal-scale view, not the data's own stretched range.
    void RestoreGestureReturnsEveryCircleChartToItsFirstView() {
        RunFromButton();
        const TAxisRange bottom = *Context().Report.ResultChart.Bottom;
        const TAxisRange left = *Context().Report.ResultChart.Left;
        QCOMPARE(bottom.Max - bottom.Min, left.Max - left.Min);
        app_->MainWindow().ToolAction(TCommand::ShowArbitrary)->trigger();
        QTest::mouseClick(Find<QToolButton>(F2(), "SeparateWindowButton"), Qt::LeftButton);
        TArbitraryDiagramWindow& f14 = app_->ArbitraryDiagramWindow();
        f14.ShowCopyOf(Context().Report.ArbitraryChart);
        const struct {
            const char* Name;
            TChartView* View;
        } charts[] = {{"result", F2().Chart()},
                      {"arbitrary", F16().Chart()},
                      {"separate result", app_->ResultDiagramWindow().Chart()},
                      {"separate arbitrary", f14.Chart()}};
        auto drag = [](TChartView* view, Qt::MouseButton button, QPoint from, QPoint to) {
            QTest::mousePress(view, button, {}, from);
            MovePointer(view, (from + to) / 2, button);
            MovePointer(view, to, button);
            QTest::mouseRelease(view, button, {}, to);
        };
        for (const auto& c : charts) {
            const TChartModel& model = *c.View->Model();
            QVERIFY2(model.Bottom == bottom && model.Left == left, c.Name);
            const QRect plot = c.View->PlotRect().toRect();
            const QPoint centre = plot.center();
            drag(c.View, Qt::LeftButton, centre, centre + QPoint(40, 30));    // zoom
            drag(c.View, Qt::RightButton, centre, centre + QPoint(25, -10));  // pan
            QVERIFY2(model.Bottom != bottom, c.Name);
            drag(c.View, Qt::LeftButton, centre, centre - QPoint(40, 30));  // restore
            QVERIFY2(model.Bottom == bottom, c.Name);
            QVERIFY2(model.Left == left, c.Name);
        }
        // The navigation buttons' zoom is undone the same way.
        QTest::mouseClick(Find<QToolButton>(F2(), "ZoomInButton"), Qt::LeftButton);
        QTest::mouseClick(Find<QToolButton>(F2(), "MoveUpButton"), Qt::LeftButton);
        const QPoint centre = F2().Chart()->PlotRect().center().toPoint();
        drag(F2().Chart(), Qt::LeftButton, centre, centre - QPoint(40, 30));
        QVERIFY(Context().Report.ResultChart.Bottom == bottom &&
                Context().Report.ResultChart.Left == left);
    }

    void ArbitraryPointByClickAndByTypedCentre() {
        RunFromButton();
        app_->MainWindow().ToolAction(TCommand::ShowArbitrary)->trigger();
        QVERIFY(app_->ArbitraryWindowShown());
        QCOMPARE(F16().Tabs()->currentIndex(), int(TArbitraryWindow::tabFigure));
        QCOMPARE(F16().pos(), F2().pos() + QPoint(35, 0));
        QCOMPARE(F2().pos(), F6().pos() + QPoint(0, 25));
        auto* xo = Find<QLineEdit>(F16(), "Edit1");
        auto* yo = Find<QLineEdit>(F16(), "Edit2");
        const TCriticalCircle c = app_->Calculation().LastResult().Critical;

        // A left click on the chart evaluates the clicked point.
        TChartView* chart = F16().Chart();
        const QPoint pixel = chart->AxisToPixel({c.Xo + 2, c.Yo + 1}).toPoint();
        const QPointF clicked = chart->PixelToAxis(pixel);
        TArbitraryTables expected;
        TChartModel expectedChart = Context().Report.ArbitraryChart;
        EvaluateArbitraryPoint(Context().Design, Context().Options, clicked.x(), clicked.y(),
                               expected, expectedChart);
        QTest::mouseClick(chart, Qt::LeftButton, {}, pixel);
        QCOMPARE(xo->text(), QString::fromStdString(FormatFloat("0.00", clicked.x())));
        CompareArbitrary(expected);
        QVERIFY(Context().Report.ArbitraryChart == expectedChart);
        // The separate chart follows, in its own colours.
        const auto& copied = app_->ArbitraryDiagramWindow().Model().Series[rsRadii].Points;
        QCOMPARE(copied.size(), 3u);
        QCOMPARE(copied[1].X, expectedChart.Series[rsRadii].Points[1].X);
        QCOMPARE(copied[1].Label, expectedChart.Series[rsRadii].Points[1].Label);

        // A typed centre is evaluated as typed and shown to two decimals.
        TArbitraryTables typed;
        TChartModel typedChart = Context().Report.ArbitraryChart;
        EvaluateArbitraryPoint(Context().Design, Context().Options, 12.345, 23.5, typed,
                               typedChart);
        xo->setText(QStringLiteral("12.345"));
        yo->setText(QStringLiteral("23.5"));
        QTest::mouseClick(Find<QToolButton>(F16(), "SpeedButton1"), Qt::LeftButton);
        QCOMPARE(xo->text(), QStringLiteral("12.35"));
        QCOMPARE(yo->text(), QStringLiteral("23.50"));
        QVERIFY(!typed.Circle.JudgementList.empty());
        CompareArbitrary(typed);
        // Pressed again, the button evaluates what the box now reads.
        TArbitraryTables rounded;
        EvaluateArbitraryPoint(Context().Design, Context().Options, 12.35, 23.5, rounded,
                               typedChart);
        QVERIFY(rounded.Circle.JudgementList != typed.Circle.JudgementList);
        QTest::mouseClick(Find<QToolButton>(F16(), "SpeedButton1"), Qt::LeftButton);
        CompareArbitrary(rounded);

        // Text that is not a number does nothing.
        const TArbitraryTables before = Context().Report.Arbitrary;
        xo->setText(QStringLiteral("abc"));
        QTest::mouseClick(Find<QToolButton>(F16(), "SpeedButton1"), Qt::LeftButton);
        QCOMPARE(xo->text(), QStringLiteral("abc"));
        QVERIFY(Context().Report.Arbitrary == before);

        // No valid circle: the circle status in red, tables kept.
        xo->setText(QStringLiteral("-100"));
        QTest::mouseClick(Find<QToolButton>(F16(), "SpeedButton1"), Qt::LeftButton);
        auto* panel = Find<QLabel>(F16(), "Panel6");
        QCOMPARE(panel->text(), QStringLiteral("円弧中心が地形定義幅外"));
        QCOMPARE(Colour(panel), QColor(255, 0, 0));
        QVERIFY(Find<QListWidget>(F16(), "ListBox4")->count() == 0);
        QCOMPARE(Cells(Find<QTableWidget>(F16(), "StringGrid5")), Cells(before.Circle.SliceTable));

        // A click on the separate chart reads that chart's own axes.
        TArbitraryDiagramWindow& f14 = app_->ArbitraryDiagramWindow();
        QTest::mouseClick(Find<QToolButton>(F16(), "SeparateWindowButton"), Qt::LeftButton);
        f14.Model().Bottom = TAxisRange{0, 60};
        f14.Model().Left = TAxisRange{0, 60};
        const QPoint p = f14.Chart()->AxisToPixel({30, 25}).toPoint();
        const QPointF v = f14.Chart()->PixelToAxis(p);
        QTest::mouseClick(f14.Chart(), Qt::LeftButton, {}, p);
        QCOMPARE(xo->text(), QString::fromStdString(FormatFloat("0.00", v.x())));
        QCOMPARE(yo->text(), QString::fromStdString(FormatFloat("0.00", v.y())));
        QCOMPARE(panel->text(), QStringLiteral("安全率以内"));
        QCOMPARE(Colour(panel), QColor(0, 0, 255));

        // Other buttons evaluate nothing.
        const QString shown = xo->text();
        QTest::mouseClick(chart, Qt::RightButton, {}, chart->PlotRect().center().toPoint());
        QCOMPARE(xo->text(), shown);

        // Shown again, the window opens on its third tab.
        F16().Tabs()->setCurrentIndex(TArbitraryWindow::tabSliceLoads);
        F16().hide();
        QVERIFY(!app_->ArbitraryWindowShown());
        app_->MainWindow().MenuAction(TCommand::ShowArbitrary)->trigger();
        QCOMPARE(F16().Tabs()->currentIndex(), int(TArbitraryWindow::tabFigure));
    }

    // A design text that does not convert stops the evaluation with the
    // conversion message; the tables stay as they were.
    void ArbitraryPointOfADesignThatDoesNotConvert() {
        Context().Design.Layers[0].GammaT = "abc";
        const TArbitraryTables before = Context().Report.Arbitrary;
        TDialogResponder user;
        F16().Evaluate(25, 20);
        QCOMPARE(user.Seen.size(), 1);
        QVERIFY2(user.Seen[0].Text.contains(QStringLiteral("abc")), qPrintable(user.Seen[0].Text));
        QVERIFY(Context().Report.Arbitrary == before);
    }

    void ShowCommandsPlaceTheResultWindow() {
        F2().move(123, 456);
        app_->MainWindow().MenuAction(TCommand::ShowResults)->trigger();
        QVERIFY(F2().isVisible());
        QCOMPARE(F2().pos(), QPoint(123, 456));
        app_->MainWindow().ToolAction(TCommand::PlaceAndShowResults)->trigger();
        QCOMPARE(F2().pos(), F6().pos() + QPoint(0, 25));
        F2().move(5, 5);
        QTest::mouseClick(Find<QPushButton>(F2(), "ArbitraryButton"), Qt::LeftButton);
        QCOMPARE(F2().pos(), F6().pos() + QPoint(0, 25));
        QVERIFY(F16().isVisible());
    }

    // Ctrl+C on a result grid: the run's centre table lands in a spreadsheet
    // under its headings, the solution's Fs a number with its mark beside it;
    // on a list the selected lines.
    void CopyPutsTabSeparatedCellsOnTheClipboard() {
        RunFromButton();
        auto* grid = Find<QTableWidget>(F2(), "StringGrid1");
        const TCellTable& centre = Context().Report.Results.CentreTable;
        int solution = 0;
        for (int r = 1; r < centre.RowCount() && !solution; ++r)
            solution = centre.Cell(r, 6).find("[解]") != std::string::npos ? r : 0;
        QVERIFY(solution > 0);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        const QStringList all = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(all.size(), centre.RowCount());
        QCOMPARE(all[0], (Lines(centre.Rows[0]) << "備考").join(QLatin1Char('\t')));
        QString fs = Q(centre.Cell(solution, 6));
        fs.chop(QStringLiteral(" [解]").size());
        QCOMPARE(all[solution].split(QLatin1Char('\t')).mid(5),
                 (QStringList{Q(centre.Cell(solution, 5)), fs, "[解]"}));

        grid->setRangeSelected(QTableWidgetSelectionRange(1, 2, 2, 3), true);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 Q(centre.Cell(0, 2)) + '\t' + Q(centre.Cell(0, 3)) + '\n' + Q(centre.Cell(2, 2)) +
                     '\t' + Q(centre.Cell(2, 3)) + '\n' + Q(centre.Cell(3, 2)) + '\t' +
                     Q(centre.Cell(3, 3)));

        auto* list = Find<QListWidget>(F2(), "ListBox1");
        list->item(2)->setSelected(true);
        list->item(3)->setSelected(true);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), Q(Context().Report.Results.ResultList[2]) +
                                                        '\n' +
                                                        Q(Context().Report.Results.ResultList[3]));
    }

    // What a copy of a grid holds: the headings of the copied columns always;
    // a column with marks split into the number and a column "備考".
    void CopyTextOfAGrid_data() {
        QTest::addColumn<QList<int>>("range");  // top, left, bottom, right; none: no selection
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("whole grid")
            << QList<int>{} << QStringList{"No.\tR\t安全率(Fs)\t備考", "1\t12.00\t1.900\t",
                                           "2\t12.50\t1.774\t[解]",    "3\t-\t\t[地形外]",
                                           "4\t3.00\t\t[∞]",           "5\t4.00\t-1.774\t[解]"};
        QTest::newRow("cells without marks")
            << QList<int>{0, 0, 1, 1} << QStringList{"No.\tR", "1\t12.00", "2\t12.50"};
        QTest::newRow("an unmarked Fs")
            << QList<int>{0, 2, 0, 2} << QStringList{"安全率(Fs)", "1.900"};
        QTest::newRow("the solution's Fs")
            << QList<int>{1, 2, 1, 2} << QStringList{"安全率(Fs)\t備考", "1.774\t[解]"};
        QTest::newRow("R and Fs of three rows")
            << QList<int>{1, 1, 3, 2}
            << QStringList{"R\t安全率(Fs)\t備考", "12.50\t1.774\t[解]", "-\t\t[地形外]",
                           "3.00\t\t[∞]"};
    }

    void CopyTextOfAGrid() {
        QFETCH(QList<int>, range);
        QFETCH(QStringList, expected);
        TCellTable table(3, {25, 45, 65}, 17, "No.,R,安全率(Fs)", 6);
        const char* rows[][3] = {{"1", "12.00", "1.900"},
                                 {"2", "12.50", "1.774 [解]"},
                                 {"3", "-", "[地形外]"},
                                 {"4", "3.00", "[∞]"},
                                 {"5", "4.00", "-1.774 [解]"}};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c) table.Cell(r + 1, c) = rows[r][c];
        QWidget parent;
        QTableWidget* grid = MakeResultGrid(&parent, "Copied");
        ShowCells(grid, table);
        if (!range.isEmpty())
            grid->setRangeSelected(
                QTableWidgetSelectionRange(range[0], range[1], range[2], range[3]), true);
        QCOMPARE(CopyText(grid).split(QLatin1Char('\n')), expected);
    }

    // 計算過程表示: the window shows itself before the search and its chart
    // follows the trial circles while the run goes on.
    void CalculationProcessShowsTrialCircles() {
        Context().Design.ShowCalculationProcess = true;
        int frames = 0;
        bool shownWhileRunning = false;
        connect(&app_->Calculation(), &TCalculationController::TrialChart, this,
                [&](const TChartModel& chart) {
                    ++frames;
                    shownWhileRunning =
                        shownWhileRunning || (F2().isVisible() && app_->Calculation().Running());
                    QCOMPARE(chart.Series[rsRadii].Points.size(), 3u);
                });
        RunFromButton();
        QVERIFY(frames > 0);
        QVERIFY(shownWhileRunning);
        QVERIFY(F2().Chart()->Model() == &Context().Report.ResultChart);
        QVERIFY(Context().Report.ResultChart == CoreRun().ResultChart);
    }

    // A plain design by the ordinary method shows the five tabs; the
    // comparison of the methods comes with "全入力項目を表示" or with another
    // method, whose own values then have their tab too.
    void MethodTabsFollowTheMethodAndTheFullInputSet() {
        QTabWidget* tabs = F2().Tabs();
        RunFromButton();
        QVERIFY(!tabs->isTabVisible(TResultWindow::tabMethods));
        QVERIFY(!tabs->isTabVisible(TResultWindow::tabComparison));
        QVERIFY(!F16().Tabs()->isTabVisible(TArbitraryWindow::tabMethods));
        QAction* full = app_->MainWindow().MenuAction(TCommand::FullInputSet);
        full->trigger();
        QVERIFY(full->isChecked());
        QVERIFY(tabs->isTabVisible(TResultWindow::tabComparison));
        QVERIFY(!tabs->isTabVisible(TResultWindow::tabMethods));
        full->trigger();
        QVERIFY(!tabs->isTabVisible(TResultWindow::tabComparison));

        Find<QComboBox>(F6(), "SliceMethod")->setCurrentIndex(int(TSliceMethodKind::Bishop));
        RunFromButton();
        QVERIFY(tabs->isTabVisible(TResultWindow::tabMethods));
        QVERIFY(tabs->isTabVisible(TResultWindow::tabComparison));
        QVERIFY(F16().Tabs()->isTabVisible(TArbitraryWindow::tabMethods));
        QCOMPARE(tabs->tabText(TResultWindow::tabComparison), QStringLiteral("分割法比較"));
        const TRunResult& run = Context().Report.Run;
        QCOMPARE(Cells(Find<QTableWidget>(F2(), "MethodGrid")),
                 Cells(Context().Report.Results.Circle.MethodTable));
        const QList<QStringList> shown = Cells(Find<QTableWidget>(F2(), "MethodComparisonGrid"));
        QCOMPARE(shown, Cells(MethodComparisonTable(CompareMethods(*run.Model, run.Circle.Circle),
                                                    TSliceMethodKind::Bishop)));
        QCOMPARE(shown.size(), 6);
        QCOMPARE(shown[2][0], QStringLiteral("＊簡便ビショップ法"));
        QCOMPARE(shown[2][1], QString::fromStdString(FormatFloat("0.000", run.Critical.Fs)));
        for (int row = 1; row < shown.size(); ++row) QVERIFY(shown[row][1] != QStringLiteral("-"));
    }
};

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
