// "各図出力": the question, the three figures (with SVG beside them) in the
// current directory, overwriting, and a place that cannot be written.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "documents/Figures.h"
#include "gui/ArbitraryWindow.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/ResultWindow.h"
#include "gui/TChartView.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

const QStringList AllSix = {"任意すべり円.svg", "任意すべり円.wmf", "地形図.svg",
                            "地形図.wmf",       "最少すべり円.svg", "最少すべり円.wmf"};

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Width and height of a placeable metafile's frame.
QSize WmfFrame(const QByteArray& b) {
    if (b.size() < 22) return {};
    auto s16 = [&](int at) {
        return static_cast<qint16>(quint8(b[at]) | (quint8(b[at + 1]) << 8));
    };
    return {s16(10) - s16(6), s16(12) - s16(8)};
}

}  // namespace

class FigureExportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString startDir_;

    void Export() { app_->MainWindow().ToolAction(TCommand::Metafiles)->trigger(); }
    void ExportAnsweringYes() {
        TDialogResponder user;
        Export();
        QCOMPARE(user.Texts().last(), QStringLiteral("ファイルを保存しました。"));
    }
    bool Run() {
        TDialogResponder user;
        app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
        QElapsedTimer t;
        t.start();
        while (app_->Calculation().Running() && t.elapsed() < 120000) QTest::qWait(20);
        return !app_->Calculation().Running() &&
               app_->Calculation().LastResult().Outcome == TRunOutcome::Ok;
    }
    QStringList Files() const {
        return QDir(dir_->path())
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

  private slots:
    void initTestCase() {
        InstallJapanese();
        startDir_ = QDir::currentPath();
    }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QDir::setCurrent(dir_->path());
        app_ = StartApp();
    }
    void cleanup() {
        app_.reset();
        QDir::setCurrent(startDir_);
        QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        dir_.reset();
    }

    void NoWritesNothing() {
        TDialogResponder user;
        user.AnswerYes = false;
        Export();
        QCOMPARE(user.Seen.size(), 1);
        QCOMPARE(
            user.Seen[0].Text,
            QStringLiteral(
                "各図をﾒﾀﾌｧｲﾙとして保存します。\nﾜｰﾄﾞ等に挿入して使用できます。\n保存しますか"));
        QCOMPARE(user.Seen[0].Position, QPoint(0, 80));
        QCOMPARE(user.Seen[0].Buttons.size(), 2);
        QVERIFY(Files().isEmpty());
    }

    void ExportsBeforeAnyRunAndOverwritesAsTheChartsStand() {
        {
            TDialogResponder user;
            Export();
            QCOMPARE(user.Texts().size(), 2);
            QCOMPARE(user.Texts().last(), QStringLiteral("ファイルを保存しました。"));
        }
        QCOMPARE(Files(), AllSix);
        const TChartView* preview = app_->DesignWindow().Preview();
        QCOMPARE(WmfFrame(Read("地形図.wmf")), preview->size());
        QVERIFY(Read("地形図.svg").contains(">70</text>"));
        QVERIFY(Read("最少すべり円.svg").contains(">円弧滑り図</text>"));

        // The limits the user zoomed to are the ones saved; the files are replaced.
        TChartModel& ground = app_->Context().Preview;
        ground.Bottom = TAxisRange{100, 110};
        ground.Left = TAxisRange{200, 210};
        {
            TDialogResponder user;
            Export();
            QCOMPARE(user.Texts().last(), QStringLiteral("ファイルを保存しました。"));
        }
        QCOMPARE(Files(), AllSix);
        const QByteArray svg = Read("地形図.svg");
        QVERIFY(svg.contains(">205</text>"));
        QVERIFY(!svg.contains(">70</text>"));
    }

    // A chart whose window has not been shown yet is saved at the size that
    // window gives it when shown (the batch tool's size), not at the chart's
    // minimum size; a shown chart at the size it has.
    void ChartsNeverShownAreSavedAtTheSizeTheirWindowsGiveThem_data() {
        QTest::addColumn<bool>("run");
        QTest::newRow("before any run") << false;
        QTest::newRow("after a run, arbitrary window never opened") << true;
    }
    void ChartsNeverShownAreSavedAtTheSizeTheirWindowsGiveThem() {
        QFETCH(bool, run);
        if (run) QVERIFY(Run());
        TChartView* result = app_->ResultWindow().Chart();
        TChartView* arbitrary = app_->ArbitraryWindow().Chart();
        QCOMPARE(result->HasBeenShown(), run);
        QVERIFY(!arbitrary->HasBeenShown());
        ExportAnsweringYes();
        const TFigureSizes defaults;
        const QSize resultDefault(defaults.Result.Width, defaults.Result.Height);
        const QSize arbitraryDefault(defaults.Arbitrary.Width, defaults.Arbitrary.Height);
        QCOMPARE(WmfFrame(Read("最少すべり円.wmf")), run ? result->size() : resultDefault);
        QCOMPARE(WmfFrame(Read("任意すべり円.wmf")), arbitraryDefault);
        QVERIFY(Read("任意すべり円.svg")
                    .contains(QStringLiteral("width=\"%1\" height=\"%2\"")
                                  .arg(arbitraryDefault.width())
                                  .arg(arbitraryDefault.height())
                                  .toUtf8()));

        // Those are the sizes the windows give the charts.
        app_->MainWindow().ToolAction(TCommand::ShowArbitrary)->trigger();
        app_->ArbitraryWindow().Tabs()->setCurrentIndex(TArbitraryWindow::tabFigure);
        app_->ResultWindow().show();
        app_->ResultWindow().Tabs()->setCurrentIndex(TResultWindow::tabFigure);
        QCoreApplication::processEvents();
        QVERIFY(result->HasBeenShown() && arbitrary->HasBeenShown());
        QCOMPARE(result->size(), resultDefault);
        QCOMPARE(arbitrary->size(), arbitraryDefault);
    }

    // As root a read-only directory does not stop writing; a read-only file
    // in the way stops it for everyone.
    void AnUnwritablePlaceGivesTheMessageAndNothingHalfWritten() {
        QFile blocker(dir_->filePath("最少すべり円.wmf"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("old");
        blocker.close();
        QVERIFY(QFile::setPermissions(blocker.fileName(), QFile::ReadOwner));
        const bool root = geteuid() == 0;
        if (!root) QVERIFY(QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::ExeOwner));

        TDialogResponder user;
        Export();
        QCOMPARE(user.Seen.size(), 3);  // the question, replacing the file in the way, the error
        QCOMPARE(user.Seen[1].ObjectName, QStringLiteral("ReplaceQuestion"));
        QCOMPARE(user.Seen[2].ObjectName, QStringLiteral("FigureExportError"));
        QVERIFY2(user.Seen[2].Text.contains(root ? "最少すべり円.wmf" : "地形図.wmf"),
                 qPrintable(user.Seen[2].Text));
        const QStringList expected =
            root ? QStringList{"地形図.svg", "地形図.wmf", "最少すべり円.wmf"}
                 : QStringList{"最少すべり円.wmf"};
        QCOMPARE(Files(), expected);  // no temporary left behind
        QCOMPARE(Read(blocker.fileName()), QByteArray("old"));
    }
};

QTEST_MAIN(FigureExportTest)
#include "FigureExportTest.moc"
