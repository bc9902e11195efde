// Pictures of the windows for a person to look at: a tool, not a test, run by
// scripts/screenshots.sh under Xvfb with SORVANTA_SHOTS_DIR naming the folder.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/AboutWindow.h"
#include "gui/ArbitraryDiagramWindow.h"
#include "gui/ArbitraryWindow.h"
#include "gui/BackcalcWindow.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/EntryWindow.h"
#include "gui/QuickEntryWindow.h"
#include "gui/ResultDiagramWindow.h"
#include "gui/ResultWindow.h"
#include "gui/TChartView.h"
#include "gui/print/CalculationDocumentPages.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

class Screenshots : public QObject {
    Q_OBJECT

    QDir dir_;
    int count_ = 0;

    void Shot(const QString& name, int settle = 150) {
        QTest::qWait(settle);
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        const QString file = dir_.filePath(
            QStringLiteral("%1-%2.png").arg(++count_, 2, 10, QLatin1Char('0')).arg(name));
        QVERIFY(screen.save(file));
    }

  private slots:
    void init() {
        const QString out = qEnvironmentVariable("SORVANTA_SHOTS_DIR");
        if (out.isEmpty()) QFAIL("SORVANTA_SHOTS_DIR names no folder to write the pictures into");
        dir_ = QDir(out);
    }

    void Pages() {
        auto app = StartApp();
        TDesignWindow& f6 = app->DesignWindow();
        auto* pages = f6.findChild<QTabWidget*>("InputPages");
        auto* layers = f6.findChild<QTabWidget*>("LayerTabs");
        auto* calc = f6.findChild<QTabWidget*>("CalculationTabs");
        Shot("start");
        for (int i = 1; i < 5; ++i) {
            layers->setCurrentIndex(i);
            Shot(QStringLiteral("layer%1").arg(i + 1));
        }
        f6.findChild<QCheckBox*>("WaterEnabled")->click();
        layers->setCurrentIndex(5);
        Shot("water");
        f6.findChild<QCheckBox*>("WaterEnabled")->click();

        pages->setCurrentIndex(1);
        Shot("general");
        calc->setCurrentIndex(1);
        Shot("circle");
        f6.findChild<QCheckBox*>("NeverCutLineEnabled")->click();
        f6.findChild<QCheckBox*>("MustCutPointEnabled")->click();
        Shot("circle-optional-lines");
        f6.findChild<QCheckBox*>("NeverCutLineEnabled")->click();
        f6.findChild<QCheckBox*>("MustCutPointEnabled")->click();
        // The load page is hidden by the reduced input set; shown here to be looked at.
        calc->setTabVisible(2, true);
        calc->setCurrentIndex(2);
        f6.findChild<QCheckBox*>("LoadEnabled")->click();
        Shot("load");
        f6.findChild<QCheckBox*>("LoadEnabled")->click();
        calc->setTabVisible(2, false);
        calc->setTabVisible(3, true);
        calc->setCurrentIndex(3);
        Shot("seismic");
        calc->setTabVisible(3, false);

        pages->setCurrentIndex(0);
        f6.findChild<QTableWidget*>("Boundary1")->viewport()->setFocus();
        QTest::mouseClick(f6.findChild<QTableWidget*>("Boundary1")->viewport(), Qt::LeftButton, {},
                          QPoint(10, 10));
        Shot("coordinate-entry");
        app->EntryWindow().hide();
        QTest::mouseClick(f6.findChild<QPushButton*>("GroundQuickEntryButton"), Qt::LeftButton);
        Shot("ground-quick-entry");
        app->QuickEntryWindow().hide();

        {
            TDialogResponder user;
            QTest::mouseClick(f6.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!app->Calculation().Running(), 120000);
        }
        Shot("after-run");

        // Every tab of the result window, its separate diagram and a zoom.
        TResultWindow& f2 = app->ResultWindow();
        for (int i = 0; i < f2.Tabs()->count(); ++i) {
            if (!f2.Tabs()->isTabVisible(i)) continue;  // another method's tabs
            f2.Tabs()->setCurrentIndex(i);
            Shot(QStringLiteral("result-tab%1").arg(i + 1));
        }
        QTest::mouseClick(f2.findChild<QToolButton*>("SeparateWindowButton"), Qt::LeftButton);
        Shot("result-separate");
        app->ResultDiagramWindow().hide();
        const QRectF plot = f2.Chart()->PlotRect();
        f2.Chart()->ZoomToRect(
            QRectF(plot.topLeft() + QPointF(plot.width() * 0.3, plot.height() * 0.3),
                   plot.bottomRight() - QPointF(plot.width() * 0.2, plot.height() * 0.2)));
        Shot("result-zoomed");
        f2.Chart()->RestoreView();

        // The arbitrary-point windows: every tab after a click near the
        // critical centre, then the separate chart.
        QTest::mouseClick(f2.findChild<QPushButton*>("ArbitraryButton"), Qt::LeftButton);
        TArbitraryWindow& f16 = app->ArbitraryWindow();
        const TCriticalCircle c = app->Calculation().LastResult().Critical;
        const QPoint at = f16.Chart()->AxisToPixel(QPointF(c.Xo + 3, c.Yo + 2)).toPoint();
        QTest::mouseClick(f16.Chart(), Qt::LeftButton, {}, at);
        Shot("arbitrary-evaluated");
        for (int i = 0; i < 2; ++i) {
            f16.Tabs()->setCurrentIndex(i);
            Shot(QStringLiteral("arbitrary-tab%1").arg(i + 1));
        }
        f16.Tabs()->setCurrentIndex(TArbitraryWindow::tabFigure);
        QTest::mouseClick(f16.findChild<QToolButton*>("SeparateWindowButton"), Qt::LeftButton);
        Shot("arbitrary-separate");
        app->ArbitraryDiagramWindow().hide();
        f16.hide();
        f2.hide();
        app->AboutWindow().ShowCentred();
        Shot("about");
        app->AboutWindow().hide();

        // "逆算" on the critical circle, then a bad input.
        f2.ShowFigureTab();
        TBackcalcWindow& backcalc = f2.ShowBackcalc();
        backcalc.findChild<QLineEdit*>("Fs0Edit")->setText("1.0");
        backcalc.findChild<QLineEdit*>("LayerEdit")->setText("5");
        backcalc.findChild<QLineEdit*>("GivenValueEdit")->setText("5");
        backcalc.Calculate();
        Shot("backcalc");
        backcalc.findChild<QLineEdit*>("LayerEdit")->setText("7");
        backcalc.Calculate();
        Shot("backcalc-bad-layer");
        backcalc.hide();

        // Both cases with a planned factor: "検討ケース" on each case, the
        // chart with the circle needing the largest restraining force.
        app->Context().Options.Kh = "0.15";
        app->Context().Options.Case = TDesignCase::Both;
        app->Context().Options.PlannedFs = "3";
        {
            TDialogResponder user;
            QTest::mouseClick(f6.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!app->Calculation().Running(), 120000);
        }
        auto* selector = f2.findChild<QComboBox*>("CaseSelector");
        Shot("result-case-normal");
        selector->setCurrentIndex(1);
        emit selector->activated(1);
        Shot("result-case-seismic");
        f2.Tabs()->setCurrentIndex(TResultWindow::tabSafetyFactor);
        Shot("result-case-seismic-tab2");
        f2.hide();
        app->Context().Options.Case = TDesignCase::Normal;
        app->Context().Options.PlannedFs = "";

        // 計算過程表示: the result window while the search runs (fine slices
        // keep it busy long enough to be seen).
        app->Context().Design.ShowCalculationProcess = true;
        f6.findChild<QComboBox*>("MaxSliceWidth")->setEditText("0.1");
        bool trial = false;
        connect(&app->Calculation(), &TCalculationController::TrialChart, this,
                [&trial] { trial = true; });
        {
            TDialogResponder user;
            QTest::mouseClick(f6.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(trial || !app->Calculation().Running(), 120000);
            QTest::qWait(60);
            Shot("searching", 0);
            QTRY_VERIFY_WITH_TIMEOUT(!app->Calculation().Running(), 120000);
        }
    }

    // Another method of slices: the result window's Ⅱ, Ⅴ, the method's own
    // values and the comparison of the methods.
    void Methods() {
        auto app = StartApp();
        TDesignWindow& f6 = app->DesignWindow();
        TResultWindow& f2 = app->ResultWindow();
        for (const auto& [method, name] : {std::pair{TSliceMethodKind::Janbu, "janbu"},
                                           std::pair{TSliceMethodKind::Spencer, "spencer"}}) {
            f6.findChild<QComboBox*>("SliceMethod")->setCurrentIndex(int(method));
            {
                TDialogResponder user;
                QTest::mouseClick(f6.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
                QTRY_VERIFY_WITH_TIMEOUT(!app->Calculation().Running(), 120000);
            }
            for (int tab : {int(TResultWindow::tabSafetyFactor), int(TResultWindow::tabFigure),
                            int(TResultWindow::tabMethods), int(TResultWindow::tabComparison)}) {
                f2.Tabs()->setCurrentIndex(tab);
                Shot(QStringLiteral("%1-result-tab%2").arg(QLatin1String(name)).arg(tab + 1));
            }
            // The printed page Ⅵ, as the printer gets it.
            const TAppState& c = app->Context();
            const TDocumentPages page(c.Report, c.Preview, c.Options, c.Drawing,
                                      TDocumentPage::Methods);
            QImage sheet(794, 1123, QImage::Format_RGB32);
            sheet.fill(Qt::white);
            QPainter painter(&sheet);
            page.PaintSheet(painter, 0);
            painter.end();
            QVERIFY(sheet.save(
                dir_.filePath(QStringLiteral("%1-printed-page6.png").arg(QLatin1String(name)))));
        }
        // Both cases with the method: the preview menu offers pages Ⅵ and Ⅶ.
        app->Context().Options.Kh = "0.25";
        app->Context().Options.Case = TDesignCase::Both;
        {
            TDialogResponder user;
            QTest::mouseClick(f6.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!app->Calculation().Running(), 120000);
        }
        for (QMenu* menu : app->MainWindow().findChildren<QMenu*>()) {
            if (menu->title() != QStringLiteral("2.計算書ﾌﾟﾚﾋﾞｭｰ")) continue;
            menu->popup(app->MainWindow().mapToGlobal(QPoint(60, 40)));
            Shot("preview-menu-both-cases");
            menu->hide();
        }
        for (const auto& [command, name] :
             {std::pair{TCommand::PreviewMethods, "preview-methods"},
              std::pair{TCommand::PreviewCaseSummary, "preview-case-summary"}}) {
            QTimer::singleShot(300, [this, name] {
                Shot(QLatin1String(name), 300);
                if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
            });
            app->MainWindow().MenuAction(command)->trigger();
        }
    }
};

QTEST_MAIN(Screenshots)
#include "Screenshots.moc"
