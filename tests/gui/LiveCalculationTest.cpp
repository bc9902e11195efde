// 自動計算: an accepted edit of the design starts a run after a short pause,
// without 計算開始, without a dialog, and with the results of an explicit run.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/EntryWindow.h"
#include "gui/OutputMessages.h"
#include "gui/ResultWindow.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

class LiveCalculationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;

    TDesignWindow& F6() { return app_->DesignWindow(); }
    TDesignConditions& Design() { return app_->Context().Design; }
    QAction* Item() { return app_->MainWindow().MenuAction(TCommand::LiveCalculation); }
    QAction* Tool() { return app_->MainWindow().ToolAction(TCommand::LiveCalculation); }

    // Waits until the chart shows a live result other than `before`.
    QString WaitForLiveText(const QString& before = {}, int ms = 60000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QTest::qWait(10);
            const QString now = F6().LiveResultText();
            if (!now.isEmpty() && now != before && !app_->Calculation().LiveRunning()) return now;
        }
        return {};
    }

    // The user types a coordinate into the ground's table through the entry
    // window and writes it back, as at the design window.
    void EditGround(int row, int column, const QString& text) {
        auto* grid = F6().findChild<QTableWidget*>(QStringLiteral("Boundary1"));
        QVERIFY(grid);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        TEntryWindow& f9 = app_->EntryWindow();
        QVERIFY(f9.isVisible());
        QTableWidget* entry = f9.EntryGrid();
        entry->setCurrentCell(row, column);
        entry->edit(entry->model()->index(row, column));
        auto* editor =
            qobject_cast<QLineEdit*>(entry->indexWidget(entry->model()->index(row, column)));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::mouseClick(f9.findChild<QPushButton*>(QStringLiteral("WriteBackButton")),
                          Qt::LeftButton);
    }

    bool WaitForExplicitRun(int ms = 60000) {
        QElapsedTimer t;
        t.start();
        while ((app_->Calculation().Running() || app_->Calculation().LiveRunning()) &&
               t.elapsed() < ms)
            QTest::qWait(20);
        return !app_->Calculation().Running();
    }

  private slots:
    void initTestCase() { InstallJapanese(); }
    void init() { app_ = StartApp(); }
    void cleanup() { app_.reset(); }

    // Off by default; the menu item and the tool button are one switch, and
    // the choice is found again at the next start.
    void SwitchIsOffByDefaultAndRemembered() {
        QVERIFY(Item()->isCheckable() && Tool()->isCheckable());
        QVERIFY(!Item()->isChecked() && !Tool()->isChecked());
        QCOMPARE(Tool()->toolTip(), QStringLiteral("自動計算"));
        EditGround(1, 2, QStringLiteral("4"));
        QTest::qWait(400);
        QVERIFY(!app_->Calculation().LiveRunning());
        QVERIFY(F6().LiveResultText().isEmpty());
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Refused);  // none ran

        Tool()->trigger();
        QVERIFY(Item()->isChecked() && app_->LiveCalculation());
        QVERIFY(!WaitForLiveText().isEmpty());
        app_.reset();
        app_ = StartApp(/*keepSettings=*/true);
        QVERIFY(Item()->isChecked() && Tool()->isChecked());
        QVERIFY(!WaitForLiveText().isEmpty());
        Item()->trigger();
        QVERIFY(!Tool()->isChecked());
        QVERIFY(F6().LiveResultText().isEmpty());
    }

    // An edited coordinate gives, without 計算開始, the circle and the report
    // of an explicit run on the same design.
    void EditedCoordinateGivesTheExplicitRunsResult() {
        Item()->trigger();
        const QString first = WaitForLiveText();
        QVERIFY(first.startsWith(QStringLiteral("Fs = ")));
        app_->Execute(TCommand::PlaceAndShowResults);
        TDialogResponder user;
        EditGround(1, 2, QStringLiteral("4"));
        const QString live = WaitForLiveText(first);
        QVERIFY2(!live.isEmpty(), qPrintable(first));
        QVERIFY(user.Seen.isEmpty());
        QCOMPARE(Design().Layers[0].Boundary.Rows[1].Y, std::string("4.00"));
        const TRunResult liveRun = app_->Calculation().LastResult();
        QCOMPARE(liveRun.Outcome, TRunOutcome::Ok);
        QCOMPARE(live, QStringLiteral("Fs = %1  %2")
                           .arg(liveRun.Judgement.Found, 0, 'f', 3)
                           .arg(liveRun.Judgement.Verdict == TVerdict::Within ? "OK" : "NG"));
        const TCalculationReport liveReport = app_->Context().Report;
        // The open result window follows the live result.
        QVERIFY(app_->ResultWindow().isVisible());

        app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
        QVERIFY(WaitForExplicitRun());
        QCOMPARE(user.Seen.size(), 1);  // the explicit run's question
        QCOMPARE(app_->Calculation().LastResult().Critical, liveRun.Critical);
        QVERIFY(app_->Context().Report.Results == liveReport.Results);
        QCOMPARE(F6().LiveResultText(), live);
    }

    // Edits in quick succession: the run under way is stopped, and the last
    // design's result is the one shown.
    void QuickEditsEndWithTheLastDesignsResult() {
        Item()->trigger();
        const QString first = WaitForLiveText();
        for (const char* y : {"3", "2", "6", "4"}) {
            EditGround(1, 2, QString::fromUtf8(y));
            QTest::qWait(170);  // past the pause: a run starts and is overtaken
        }
        const QString live = WaitForLiveText(first);
        QVERIFY(!live.isEmpty());
        QTest::qWait(300);
        const TCriticalCircle liveCircle = app_->Calculation().LastResult().Critical;
        TDialogResponder user;
        app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
        QVERIFY(WaitForExplicitRun());
        QCOMPARE(app_->Calculation().LastResult().Critical, liveCircle);
    }

    // A value counts once accepted, not while it is typed. A refused design
    // shows the refusal's first line; no dialog opens, the last results stay
    // and the window stays open to edits.
    void RefusedDesignShowsTheFirstLineWithoutDialog() {
        Item()->trigger();
        const QString first = WaitForLiveText();
        const TResultTables before = app_->Context().Report.Results;
        TDialogResponder user;
        auto* phi = F6().findChild<QComboBox*>(QStringLiteral("Phi1"));
        QVERIFY(phi && phi->lineEdit());
        phi->lineEdit()->selectAll();
        QTest::keyClicks(phi->lineEdit(), QStringLiteral("95"));
        QTest::qWait(400);
        QVERIFY(!app_->Calculation().LiveRunning());
        QCOMPARE(F6().LiveResultText(), first);
        QTest::keyClick(phi->lineEdit(), Qt::Key_Return);
        const QString refusal = WaitForLiveText(first);
        QVERIFY(user.Seen.isEmpty());
        QCOMPARE(app_->Calculation().LastResult().Outcome, TRunOutcome::Refused);
        QVERIFY(!refusal.isEmpty() && !refusal.contains(QLatin1Char('\n')));
        QVERIFY(
            CoreMessageText(app_->Calculation().LastResult().Messages.at(0)).startsWith(refusal));
        QVERIFY(app_->Context().Report.Results == before);
        QVERIFY(phi->isEnabled());
    }
};

QTEST_MAIN(LiveCalculationTest)
#include "LiveCalculationTest.moc"
