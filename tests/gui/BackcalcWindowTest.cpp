// The back-calculation window as a user works it from the result window: the
// published slip of a reference slope gives back its friction angle, on the
// critical circle or on a typed centre, and every input it cannot use is
// named in a plain message.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "design/DesignFile.h"
#include "gui/BackcalcWindow.h"
#include "gui/ResultWindow.h"
#include "gui/TChartView.h"
#include "report/RunReport.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {}  // namespace

class BackcalcWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;
    TBackcalcWindow* window_ = nullptr;

    template <class T>
    T* Find(const char* name) {
        T* w = window_->findChild<T*>(QString::fromUtf8(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    void Type(const char* name, const QString& text) {
        auto* edit = Find<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void Fill(const QString& fs0, const QString& layer, bool cohesion, const QString& value,
              const QString& x = {}, const QString& y = {}) {
        Type("Fs0Edit", fs0);
        Type("LayerEdit", layer);
        QTest::mouseClick(Find<QRadioButton>(cohesion ? "GivenCohesion" : "GivenPhi"),
                          Qt::LeftButton);
        Type("GivenValueEdit", value);
        if (x.isEmpty()) {
            QTest::mouseClick(Find<QRadioButton>("CriticalCircle"), Qt::LeftButton);
        } else {
            Type("CentreXEdit", x);
            Type("CentreYEdit", y);
        }
        QTest::mouseClick(Find<QPushButton>("CalculateButton"), Qt::LeftButton);
    }

  private slots:
    void initTestCase() { InstallJapanese(); }
    void init() {
        app_ = StartApp();
        TAppState& app = app_->Context();
        const auto path = std::filesystem::path(SORVANTA_TEST_DATA) /
                          "../../verification/fredlund-krahn-1977-case1/design.dat";
        QVERIFY(TryLoadDesignFile(path, app.Design, app.Options));
        app.Options.Direction = TSlipDirection::CounterClockwise;
        TRecordingDialogs yes;
        StartCalculation(RunContextOf(app, yes, nullptr));
        QVERIFY(app.Report.Run.HasCritical);
        app_->ResultWindow().ShowResults();
        auto* button = app_->ResultWindow().findChild<QPushButton*>("BackcalcButton");
        QVERIFY(button->isHidden());  // the reduced input set has no 逆算
        app_->MainWindow().MenuAction(TCommand::FullInputSet)->trigger();
        QVERIFY(!button->isHidden());
        QTest::mouseClick(button, Qt::LeftButton);
        window_ = app_->ResultWindow().findChild<TBackcalcWindow*>();
        QVERIFY(window_ && window_->isVisible());
    }
    void cleanup() { app_.reset(); }

    // The published circle: c' = 600 and Fs 1.928 give back φ' = 20°; φ
    // given gives back c on the same line.
    void PublishedCircleGivesBackItsStrength() {
        Fill("1.928", "1", true, "600", "120", "90");
        QVERIFY2(window_->Report().has_value(), qPrintable(window_->Message()));
        const TBackcalcReport& r = *window_->Report();
        QCOMPARE(r.Circle.R, 80.0);
        QVERIFY(std::fabs(*r.Answer - 20.0) < 0.05);
        QCOMPARE(window_->Message(), QStringLiteral("c=600.00 kN/m2 のとき φ=20.01°"));
        QCOMPARE(Find<QListWidget>("BackcalcLines")->count(), int(r.Lines.size()));
        auto* table = Find<QTableWidget>("BackcalcTable");
        QCOMPARE(table->rowCount(), int(r.Table.Rows.size()) - 1);
        QCOMPARE(table->item(4, 0)->text(), QStringLiteral("20.0"));
        // φ = 20° in the table needs about the published c.
        QVERIFY(std::fabs(table->item(4, 2)->text().toDouble() - 600) < 5);
        QVERIFY(*Find<TChartView>("BackcalcChart")->Model() == r.Chart);

        // "PDF保存": the shown result as a one-page PDF.
        QTemporaryDir dir;
        {
            TDialogResponder user;
            user.FileName = dir.filePath(QStringLiteral("逆算.pdf"));
            QTest::mouseClick(Find<QPushButton>("BackcalcPdfButton"), Qt::LeftButton);
        }
        QFile pdf(dir.filePath(QStringLiteral("逆算.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(window_->Message().endsWith(QStringLiteral("に保存しました。")));

        Fill("1.928", "1", false, "20", "120", "90");
        QVERIFY(window_->Report().has_value());
        QVERIFY(std::fabs(*window_->Report()->Answer - 600) < 5);

        // Without a typed centre: the critical circle of the shown case.
        Fill("1.0", "1", true, "0");
        QVERIFY(window_->Report().has_value());
        const TCriticalCircle& c = app_->Context().Report.Run.Critical;
        QCOMPARE(window_->Report()->Circle, (TSlipCircle{c.Xo, c.Yo, c.R}));
    }

    void BadInputsAreNamed_data() {
        QTest::addColumn<QString>("fs0");
        QTest::addColumn<QString>("layer");
        QTest::addColumn<bool>("cohesion");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("message");
        QTest::newRow("Fs0 = 0") << "0"
                                 << "1" << true << "600"
                                 << "120"
                                 << "安全率 Fs0 には 0 より大きい値を入力して下さい。";
        QTest::newRow("Fs0 negative") << "-1"
                                      << "1" << true << "600"
                                      << ""
                                      << "安全率 Fs0 には 0 より大きい値を入力して下さい。";
        QTest::newRow("Fs0 not a number") << "abc"
                                          << "1" << true << "600"
                                          << ""
                                          << "安全率 Fs0 を数値で入力して下さい。";
        QTest::newRow("no such layer") << "1.928"
                                       << "2" << true << "600"
                                       << "120"
                                       << "その層は有りません。層番号は 1～1 で入力して下さい。";
        QTest::newRow("layer 0") << "1.928"
                                 << "0" << true << "600"
                                 << ""
                                 << "その層は有りません。層番号は 1～1 で入力して下さい。";
        QTest::newRow("φ of 90°") << "1.928"
                                  << "1" << false << "90"
                                  << ""
                                  << "内部摩擦角 φ には 0 以上 90 未満の角度を入力して下さい。";
        QTest::newRow("no positive φ")
            << "0.5"
            << "1" << true << "6000"
            << "120"
            << "正の解が有りません。与えた値では安全率 Fs0 になりません。";
        QTest::newRow("no circle about the centre") << "1.928"
                                                    << "1" << true << "600"
                                                    << "-500"
                                                    << "その中心の円弧は有りません。";
    }
    void BadInputsAreNamed() {
        QFETCH(QString, fs0);
        QFETCH(QString, layer);
        QFETCH(bool, cohesion);
        QFETCH(QString, value);
        QFETCH(QString, x);
        QFETCH(QString, message);
        Fill(fs0, layer, cohesion, value, x, x.isEmpty() ? QString() : QStringLiteral("90"));
        QCOMPARE(window_->Message(), message);
        QCOMPARE(Find<QLabel>("BackcalcMessage")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        QCOMPARE(window_->isVisible(), true);
        QCOMPARE(Find<QPushButton>("BackcalcPdfButton")->isEnabled(),
                 window_->Report().has_value());
    }
};

QTEST_MAIN(BackcalcWindowTest)
#include "BackcalcWindowTest.moc"
