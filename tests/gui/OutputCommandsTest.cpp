// The main window's text and PDF commands: their questions, the refusal of
// the arbitrary-point document, the viewer, and files equal to those of the
// batch tool for the same design.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "CalculationController.h"
#include "GuiTestSupport.h"
#include "run/ArbitraryPoint.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

const QString kText = QStringLiteral("円弧すべり.txt");
const QString kPdf = QStringLiteral("円弧滑り検討システム.pdf");
const QString kTextQuestion = QStringLiteral(
    "計算結果をテキスト出力しますか。\n\n出力ファイル名は、[ 円弧すべり.txt ]です。");
const QString kPdfQuestion = QStringLiteral(
    "計算結果をPDF出力しますか。\n\n出力ファイル名は\n　円弧滑り検討システム.pdf\nです。");
const QString kPdfCreated = QStringLiteral("円弧滑り検討システム.pdfを作成しました");
const QString kPdfShow = QStringLiteral(
    "[ 円弧滑り検討システム.pdf ]を表示しますか？\n\n(起動まで少し時間がかかります。)");
const QString kArbitraryFirst = QStringLiteral("「任意点円弧滑り」を先に、計算して下さい。");
const QString kSample = QStringLiteral(SORVANTA_TEST_DATA "/design/sample.dat");

// The batch tool's exit code; its summary on standard output is dropped.
int RunTool(const QStringList& args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral(SORVANTA_BIN_DIR "/sorvanta-calc"), args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class OutputCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString oldDir_;
    QList<QUrl> opened_;

    QAction* Tool(TCommand c) { return app_->MainWindow().ToolAction(c); }
    QAction* Menu(TCommand c) { return app_->MainWindow().MenuAction(c); }
    QString Out(const QString& name) { return dir_->filePath(name); }

    bool Run() {
        app_->MainWindow().MenuAction(TCommand::Calculate)->trigger();
        QElapsedTimer t;
        t.start();
        while (app_->Calculation().Running() && t.elapsed() < 120000) QTest::qWait(20);
        return app_->Calculation().LastResult().Outcome == TRunOutcome::Ok;
    }

  private slots:
    void initTestCase() {
        InstallJapanese();
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
    }
    void init() {
        oldDir_ = QDir::currentPath();
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
        app_ = StartApp();
        opened_.clear();
        app_->PdfCommands().SetFileOpener([this](const QUrl& url) {
            opened_ << url;
            return true;
        });
    }
    void cleanup() {
        app_.reset();
        QDir::setCurrent(oldDir_);
        dir_.reset();
    }

    void NoAtTheFirstQuestionWritesNothing_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("tool");
        QTest::addColumn<QString>("question");
        QTest::newRow("ﾃｷｽﾄ") << int(TCommand::TextOutput) << true << kTextQuestion;
        QTest::newRow("1.テキスト出力...") << int(TCommand::TextOutput) << false << kTextQuestion;
        QTest::newRow("PDF(最少)") << int(TCommand::PdfMinimum) << true << kPdfQuestion;
        QTest::newRow("3.PDF(最少安全率)出力...")
            << int(TCommand::PdfMinimum) << false << kPdfQuestion;
        QTest::newRow("PDF(任意点)") << int(TCommand::PdfArbitrary) << true << kPdfQuestion;
        QTest::newRow("4.PDF(任意点安全率)出力...")
            << int(TCommand::PdfArbitrary) << false << kPdfQuestion;
    }
    void NoAtTheFirstQuestionWritesNothing() {
        QFETCH(int, command);
        QFETCH(bool, tool);
        QFETCH(QString, question);
        app_->PdfCommands().SetArbitraryWindowQuery([] { return true; });
        TDialogResponder user;
        user.AnswerYes = false;
        const auto c = static_cast<TCommand>(command);
        (tool ? Tool(c) : Menu(c))->trigger();
        QCOMPARE(user.Texts(), QStringList{question});
        QCOMPARE(user.Seen[0].Buttons.size(), 2);
        QVERIFY(QDir(dir_->path()).isEmpty());
    }

    void TextOutputWritesAndReports() {
        TDialogResponder user;
        Tool(TCommand::TextOutput)->trigger();
        QCOMPARE(user.Texts(),
                 (QStringList{kTextQuestion, QStringLiteral("テキスト出力終わりました。")}));
        // Before any run the file holds the tables' initial texts.
        QVERIFY(Bytes(Out(kText)).startsWith(QByteArray("\x89\x7e\x8c\xca", 4)));  // 円弧 in cp932
    }

    // Writing the file and opening it are asked separately; No at the second
    // leaves the file written and unopened.
    void PdfIsOpenedOnlyWhenAsked() {
        {
            TDialogResponder user;
            user.AnswerNoTo << QStringLiteral("PdfShowQuestion");
            Tool(TCommand::PdfMinimum)->trigger();
            QCOMPARE(user.Texts(), (QStringList{kPdfQuestion, kPdfCreated, kPdfShow}));
            QCOMPARE(user.Seen[2].Buttons.size(), 2);
        }
        QVERIFY(Bytes(Out(kPdf)).startsWith("%PDF-1.2"));
        QVERIFY(opened_.isEmpty());

        TDialogResponder user;
        Menu(TCommand::PdfMinimum)->trigger();
        QCOMPARE(user.Texts().size(), 3);
        QCOMPARE(opened_,
                 QList<QUrl>{QUrl::fromLocalFile(QDir(dir_->path()).absoluteFilePath(kPdf))});
    }

    void ViewerThatCannotOpenIsReported() {
        app_->PdfCommands().SetFileOpener([](const QUrl&) { return false; });
        TDialogResponder user;
        Tool(TCommand::PdfMinimum)->trigger();
        QCOMPARE(user.Seen.size(), 4);
        QCOMPARE(user.Seen[3].ObjectName, QStringLiteral("OutputError"));
        QVERIFY(user.Seen[3].Text.contains(kPdf));
    }

    void ArbitraryDocumentRefusedUntilItsWindowShows() {
        {
            TDialogResponder user;
            Tool(TCommand::PdfArbitrary)->trigger();
            Menu(TCommand::PdfArbitrary)->trigger();
            QCOMPARE(user.Texts(), (QStringList{kArbitraryFirst, kArbitraryFirst}));
            QCOMPARE(user.Seen[0].Buttons.size(), 1);
        }
        QVERIFY(QDir(dir_->path()).isEmpty());

        bool shown = false;
        app_->PdfCommands().SetArbitraryWindowQuery([&shown] { return shown; });
        shown = true;
        TDialogResponder user;
        user.AnswerNoTo << QStringLiteral("PdfShowQuestion");
        Tool(TCommand::PdfArbitrary)->trigger();
        QCOMPARE(user.Texts(), (QStringList{kPdfQuestion, kPdfCreated, kPdfShow}));
        QVERIFY(QFile::exists(Out(kPdf)));
    }

    void FileThatCannotBeWrittenIsReported() {
        QVERIFY(QDir(dir_->path()).mkdir(kText));  // a folder where the file should go
        QVERIFY(QDir(dir_->path()).mkdir(kPdf));
        TDialogResponder user;
        Tool(TCommand::TextOutput)->trigger();
        Tool(TCommand::PdfMinimum)->trigger();
        QCOMPARE(user.Seen.size(), 4);
        QCOMPARE(user.Seen[1].ObjectName, QStringLiteral("OutputError"));
        QVERIFY2(user.Seen[1].Text.contains(kText), qPrintable(user.Seen[1].Text));
        QCOMPARE(user.Seen[3].ObjectName, QStringLiteral("OutputError"));
        QVERIFY2(user.Seen[3].Text.contains(kPdf), qPrintable(user.Seen[3].Text));
        QVERIFY(opened_.isEmpty());
    }

    // The window and the batch tool write the same bytes for the same design.
    void FilesEqualThoseOfTheBatchTool() {
        QCOMPARE(RunTool({"run", kSample, "--text", Out("cli.txt"), "--pdf", Out("cli.pdf")}), 0);
        QCOMPARE(RunTool({"arbitrary", kSample, "20", "35", "--pdf", Out("cli-arbitrary.pdf")}), 0);
        for (const char* f : {"cli.txt", "cli.pdf", "cli-arbitrary.pdf"})
            QVERIFY(Bytes(Out(f)).size() > 5000);

        TDialogResponder user;
        user.AnswerNoTo << QStringLiteral("PdfShowQuestion");
        user.FileName = kSample;
        Tool(TCommand::Load)->trigger();
        QCOMPARE(QString::fromStdString(app_->Context().Design.DesignName),
                 QStringLiteral("sample"));
        QDir::setCurrent(dir_->path());  // the file dialog moved it to the design's folder
        QVERIFY(Run());

        Tool(TCommand::TextOutput)->trigger();
        QCOMPARE(Bytes(Out(kText)), Bytes(Out("cli.txt")));
        Tool(TCommand::PdfMinimum)->trigger();
        QCOMPARE(Bytes(Out(kPdf)), Bytes(Out("cli.pdf")));

        // What the arbitrary-point window does with the centre (20, 35).
        TAppState& c = app_->Context();
        QCOMPARE(EvaluateArbitraryPoint(c.Design, 20, 35, c.Arbitrary, c.ArbitraryChart).Status, 1);
        app_->PdfCommands().SetArbitraryWindowQuery([] { return true; });
        Menu(TCommand::PdfArbitrary)->trigger();
        QCOMPARE(Bytes(Out(kPdf)), Bytes(Out("cli-arbitrary.pdf")));
        QVERIFY(opened_.isEmpty());
    }
};

QTEST_MAIN(OutputCommandsTest)
#include "OutputCommandsTest.moc"
