// The study windows: reached from the 実行 menu with the full input set only,
// they run on the design as it stands, stop when asked, refuse bad input in
// the window itself, and keep the probability study's variations with the
// design.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/StudyWindows.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

QString Summary(QWidget& w) {
    return w.findChild<QLabel*>("StudySummary")->text();
}

void Press(QWidget& w, const char* name) {
    w.findChild<QPushButton*>(name)->click();
}

}  // namespace

class StudyWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void MenuItemsBelongToTheFullInputSet() {
        auto app = StartApp();
        QAction* sensitivity = app->MainWindow().MenuAction(TCommand::Sensitivity);
        QAction* probability = app->MainWindow().MenuAction(TCommand::Probability);
        QVERIFY(!sensitivity->isVisible() && !probability->isVisible());
        app->MainWindow().MenuAction(TCommand::FullInputSet)->trigger();
        QVERIFY(sensitivity->isVisible() && probability->isVisible());
        probability->trigger();
        QVERIFY(app->ProbabilityWindow().isVisible());
    }

    void SensitivityFillsItsTableAndCharts() {
        auto app = StartApp();
        TSensitivityWindow& w = app->SensitivityWindow();
        w.findChild<QSpinBox*>("SensitivitySteps")->setValue(3);
        w.show();
        Press(w, "StartStudy");
        QVERIFY(w.Running());
        QTRY_VERIFY_WITH_TIMEOUT(!w.Running(), 120000);
        QVERIFY2(Summary(w).startsWith(QStringLiteral("設計値の安全率 Fs=2.040")),
                 qPrintable(Summary(w)));
        auto* table = w.findChild<QTableWidget*>("SensitivityTable");
        QCOMPARE(table->rowCount(), 15);  // c, φ, γt of five layers
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("2.040"));  // 0 %: the design
    }

    void ProbabilityRefusesBadVariationsAndKeepsGoodOnes() {
        auto app = StartApp();
        TProbabilityWindow& w = app->ProbabilityWindow();
        w.show();
        auto* variations = w.findChild<QLineEdit*>("VariationsEdit");
        variations->setText(QStringLiteral("c1=weird(1,2)"));
        Press(w, "StartStudy");
        QVERIFY(!w.Running());
        QVERIFY2(Summary(w).contains(QStringLiteral("'c1=weird(1,2)'")), qPrintable(Summary(w)));
        QVERIFY(app->Context().Options.Variations.empty());

        const QString spec = QStringLiteral("c1=lognormal(20,6);tanphi1=lognormal(0.466,0.047)");
        variations->setText(spec);
        w.findChild<QSpinBox*>("Samples")->setValue(8);
        Press(w, "StartStudy");
        QTRY_VERIFY_WITH_TIMEOUT(!w.Running(), 120000);
        QVERIFY2(Summary(w).contains(QStringLiteral("試行 8 回")), qPrintable(Summary(w)));
        QCOMPARE(QString::fromStdString(app->Context().Options.Variations), spec);
    }

    void StopEndsTheStudyWithWhatItHasDone() {
        auto app = StartApp();
        TProbabilityWindow& w = app->ProbabilityWindow();
        w.show();
        w.findChild<QSpinBox*>("Samples")->setValue(100000);
        Press(w, "StartStudy");
        QVERIFY(w.Running());
        QTest::qWait(300);
        Press(w, "StopStudy");
        QTRY_VERIFY_WITH_TIMEOUT(!w.Running(), 60000);
        QVERIFY2(Summary(w).contains(QStringLiteral("中止しました")), qPrintable(Summary(w)));
        QVERIFY(w.findChild<QPushButton*>("StartStudy")->isEnabled());
    }
};

QTEST_MAIN(StudyWindowsTest)
#include "StudyWindowsTest.moc"
