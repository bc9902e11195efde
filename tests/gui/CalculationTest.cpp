// Starting a calculation from the design window and the main window: the
// checks with their question and messages, the run off the window thread,
// its progress and its stop.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>

#include "GuiTestSupport.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/ResultWindow.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

class CalculationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;

    TDesignWindow& F6() { return app_->DesignWindow(); }
    TDesignConditions& Design() { return app_->Context().Design; }
    QPushButton* Button(const char* name) {
        return F6().findChild<QPushButton*>(QString::fromUtf8(name));
    }
    bool WaitForRun(int ms = 120000) {
        QElapsedTimer t;
        t.start();
        while (app_->Calculation().Running() && t.elapsed() < ms) QTest::qWait(20);
        return !app_->Calculation().Running();
    }

  private slots:
    void initTestCase() { InstallJapanese(); }
    void init() { app_ = StartApp(); }
    void cleanup() { app_.reset(); }

    void RefusedCheckShowsItsMessage() {
        Design().Layers[1].Boundary = TCoordinateTable::Placeholder();
        Design().Layers[2].Boundary = TCoordinateTable::Placeholder();
        TDialogResponder user;
        QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
        QVERIFY(WaitForRun());
        QCOMPARE(user.Seen.size(), 2);
        QVERIFY(user.Seen[0].Text.startsWith(
            QStringLiteral("円弧条件は下記で間違いないですか。\n\n(1)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (標高)= 0.00 m")));
        QCOMPARE(user.Seen[1].Text,
                 QStringLiteral(
                     "[2]層目の座標データが未定義です。\n\n[2]層目の座標データを入力して下さい。"));
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Refused);
        QVERIFY(app_->Context().Report.Results == TResultTables());
        QVERIFY(Button("StartButton")->isEnabled());
    }

    void GroundEnteredRightToLeftIsNamed() {
        TCoordinateTable& ground = Design().Layers[0].Boundary;
        std::reverse(ground.Rows.begin(), ground.Rows.end());
        TDialogResponder user;
        QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
        QVERIFY(WaitForRun());
        QCOMPARE(user.Seen.size(), 2);
        QCOMPARE(user.Seen[1].Text,
                 QStringLiteral("[1]層目の座標データが右から左の順です。\n[1]層目の座標データを"
                                "左から右の順に入力して下さい。"));
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Refused);
    }

    void AnsweringNoEndsTheRunQuietly() {
        TDialogResponder user;
        user.AnswerYes = false;
        app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
        QVERIFY(WaitForRun());
        QCOMPARE(user.Seen.size(), 1);
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Refused);
        QVERIFY(app_->Context().Report.Results == TResultTables());
    }

    void TextThatIsNotANumberStopsTheRun() {
        F6().findChild<QComboBox*>("GammaT1")->setEditText("abc");
        TDialogResponder user;
        QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
        QVERIFY(WaitForRun());
        QCOMPARE(user.Seen.size(), 1);
        QVERIFY2(user.Seen[0].Text.contains(QStringLiteral("abc")), qPrintable(user.Seen[0].Text));
        QVERIFY(app_->Context().Report.Results == TResultTables());
    }

    void RunFromTheButtonStoresTheCriticalCircle() {
        TDialogResponder user;
        QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
        // The design cannot be edited while the run reads it; it can be stopped.
        QVERIFY(!F6().findChild<QWidget*>("LeftPanel")->isEnabled());
        QVERIFY(!Button("StartButton")->isEnabled());
        QVERIFY(Button("StopButton")->isEnabled());
        QVERIFY(!app_->MainWindow().MenuAction(TCommand::Load)->isEnabled());
        QVERIFY(WaitForRun());

        const TRunResult& run = app_->Calculation().LastResult();
        QCOMPARE(run.Outcome, TRunOutcome::Ok);
        QVERIFY(run.HasCritical);
        const TAppState& c = app_->Context();
        QCOMPARE(c.Report.Results.ResultList.size(), 20u);
        QVERIFY(c.Report.Results.ResultList[2].find("安全率") == 0);
        QVERIFY(c.Report.Results.CentreTable.RowCount() > 2);
        QCOMPARE(c.Report.ResultChart.Series[rsRadii].Points.size(), 3u);
        QCOMPARE(c.Report.ResultChart.Series[rsRadii].Points[1].X, run.Critical.Xo);
        QVERIFY(!c.Report.ArbitraryChart.Series[rsSlipSurface].Points.empty());
        QCOMPARE(c.Report.Arbitrary.Circle.JudgementList, c.Report.Results.Circle.JudgementList);

        // The result window shows the run; no message box reports it.
        QVERIFY(app_->ResultWindow().isVisible());
        QCOMPARE(user.Seen.size(), 1);  // the question
        QVERIFY(F6().findChild<QWidget*>("LeftPanel")->isEnabled());
        QVERIFY(!Button("StopButton")->isEnabled());
        QCOMPARE(F6().findChild<QProgressBar*>("ProgressBar")->value(), 0);
        QVERIFY(F6().findChild<QLineEdit*>("StatusText")->text().isEmpty());
    }

    // The run reads the options the window shows, keeps them beside the
    // design it read, and a later switch of the form or direction makes its
    // results stale; the print colour does not.
    void RunReadsTheOptionsAndAChangeOfThemMakesItsResultsStale() {
        F6().findChild<QRadioButton*>("StressDisplay1")->click();
        F6().findChild<QRadioButton*>("SlipDirection2")->click();
        const TDesignConditions before = Design();
        {
            TDialogResponder user;
            QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
            QVERIFY(WaitForRun());
        }
        const TAppState& c = app_->Context();
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Ok);
        QCOMPARE(app_->Calculation().LastResult().Form, 1);
        QVERIFY(c.Report.Results.ResultList[2].find("安全率(Fs)=Fr/Fo=") == 0);
        QVERIFY(ResultsState(c) == TResultsState::Current);
        QVERIFY(c.ResultsOptions.Direction == TSlipDirection::Both);
        QVERIFY(c.Design == before);  // the run wrote nothing into the design

        F6().findChild<QRadioButton*>("PrintMode1")->click();
        QVERIFY(ResultsState(c) == TResultsState::Current);
        F6().findChild<QRadioButton*>("SlipDirection0")->click();
        QVERIFY(ResultsState(c) == TResultsState::Changed);
        QVERIFY(ArbitraryState(c) == TResultsState::Changed);
        F6().findChild<QRadioButton*>("SlipDirection2")->click();
        QVERIFY(ResultsState(c) == TResultsState::Current);
        F6().findChild<QRadioButton*>("StressDisplay0")->click();
        QVERIFY(ResultsState(c) == TResultsState::Changed);
    }

    // The preview menu offers the pages beyond Ⅴ only when the document has
    // them: a plain run's menu is as it always was.
    void PreviewMenuOffersTheExtraPagesOfTheDocument() {
        QMenu* preview = nullptr;
        for (QMenu* menu : app_->MainWindow().findChildren<QMenu*>()) {
            if (menu->title() == QStringLiteral("2.計算書ﾌﾟﾚﾋﾞｭｰ")) preview = menu;
        }
        QVERIFY(preview);
        QAction* methods = app_->MainWindow().MenuAction(TCommand::PreviewMethods);
        QAction* cases = app_->MainWindow().MenuAction(TCommand::PreviewCaseSummary);
        const auto runWith = [&](TSliceMethodKind method, TDesignCase designCase) {
            app_->Context().Options.Method = method;
            app_->Context().Options.Case = designCase;
            app_->Context().Options.Kh = designCase == TDesignCase::Normal ? "0" : "0.25";
            TDialogResponder user;
            app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
            QVERIFY(WaitForRun());
            QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Ok);
            emit preview->aboutToShow();
        };
        runWith(TSliceMethodKind::Ordinary, TDesignCase::Normal);
        QVERIFY(!methods->isVisible() && !cases->isVisible());
        runWith(TSliceMethodKind::Bishop, TDesignCase::Normal);
        QVERIFY(methods->isVisible() && !cases->isVisible());
        runWith(TSliceMethodKind::Bishop, TDesignCase::Both);
        QVERIFY(methods->isVisible() && cases->isVisible());
        QCOMPARE(cases->text(), QStringLiteral("Ⅶ．検討ケースのまとめ..."));
        runWith(TSliceMethodKind::Ordinary, TDesignCase::Both);
        QVERIFY(!methods->isVisible() && cases->isVisible());
        QCOMPARE(cases->text(), QStringLiteral("Ⅵ．検討ケースのまとめ..."));
    }

    void StopEndsTheRunAndKeepsTheLastResult() {
        TDialogResponder user;
        // A finished run first, so that a kept result differs from a reset one.
        QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
        QVERIFY(WaitForRun());
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Ok);
        const TResultTables results = app_->Context().Report.Results;
        const TChartModel chart = app_->Context().Report.ResultChart;
        QVERIFY(!(results == TResultTables()));

        // A slice width this fine keeps the search busy for minutes: the stop
        // always comes first.
        F6().findChild<QComboBox*>("MaxSliceWidth")->setEditText("0.01");
        QTest::mouseClick(Button("StartButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(F6().findChild<QLineEdit*>("StatusText")->text(),
                                  QStringLiteral("最少安全率検索中．．．"), 30000);
        QTest::mouseClick(Button("StopButton"), Qt::LeftButton);
        QVERIFY(WaitForRun(30000));
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Cancelled);
        QVERIFY(app_->Context().Report.Results == results);
        QVERIFY(app_->Context().Report.ResultChart == chart);
        QVERIFY(F6().findChild<QWidget*>("LeftPanel")->isEnabled());
    }
};

QTEST_MAIN(CalculationTest)
#include "CalculationTest.moc"
