// The main window's text and PDF commands: their questions, the refusal of
// the arbitrary-point document and of results that are not of the design as
// it stands, the question before a file is replaced, the viewer, and files
// equal to those of the batch tool for the same design.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/ArbitraryDiagramWindow.h"
#include "gui/ArbitraryWindow.h"
#include "gui/CalculationController.h"
#include "gui/DesignWindow.h"
#include "gui/ResultDiagramWindow.h"
#include "gui/ResultWindow.h"
#include "gui/Texts.h"
#include "report/ArbitraryReport.h"
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

void WriteOld(const QString& file) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
}

QStringList Names(const QList<TDialogResponder::TSeen>& seen) {
    QStringList names;
    for (const auto& s : seen) names << s.ObjectName;
    return names;
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

    // The question-and-file tests need results of the design as it stands, not
    // their contents: the records' initial texts stand for a run.
    void MarkCalculated() {
        app_->Context().ResultsDesign = app_->Context().Design;
        app_->Context().ArbitraryDesign = app_->Context().Design;
        app_->Context().ResultsOptions = app_->Context().ArbitraryOptions = app_->Context().Options;
    }

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
        MarkCalculated();
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
        MarkCalculated();
        TDialogResponder user;
        Tool(TCommand::TextOutput)->trigger();
        QCOMPARE(user.Texts(),
                 (QStringList{kTextQuestion, QStringLiteral("テキスト出力終わりました。")}));
        QVERIFY(Bytes(Out(kText)).startsWith(QByteArray("\x89\x7e\x8c\xca", 4)));  // 円弧 in cp932
    }

    // Writing the file and opening it are asked separately; No at the second
    // leaves the file written and unopened.
    void PdfIsOpenedOnlyWhenAsked() {
        MarkCalculated();
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
        QCOMPARE(user.Texts().size(), 4);  // the second asks before replacing the first
        QCOMPARE(opened_,
                 QList<QUrl>{QUrl::fromLocalFile(QDir(dir_->path()).absoluteFilePath(kPdf))});
    }

    void ViewerThatCannotOpenIsReported() {
        MarkCalculated();
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

        MarkCalculated();
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
        MarkCalculated();
        TDialogResponder user;
        Tool(TCommand::TextOutput)->trigger();
        Tool(TCommand::PdfMinimum)->trigger();
        // Each: its question, the question about what is in the way, the error.
        QCOMPARE(user.Seen.size(), 6);
        QCOMPARE(user.Seen[2].ObjectName, QStringLiteral("OutputError"));
        QVERIFY2(user.Seen[2].Text.contains(kText), qPrintable(user.Seen[2].Text));
        QCOMPARE(user.Seen[5].ObjectName, QStringLiteral("OutputError"));
        QVERIFY2(user.Seen[5].Text.contains(kPdf), qPrintable(user.Seen[5].Text));
        QVERIFY(opened_.isEmpty());
    }

    // An output describes a calculation of the design as it stands. Before
    // any run, and after an edit the run has not seen, each command says so
    // and leaves an existing file as it was; an edit put back, or a new name
    // from a save, leaves the results those of the design.
    void OutputsOnlyOfTheDesignAsItStands_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("state");        // 0 no run, 1 edited, 2 edit put back, 3 saved as
        QTest::addColumn<QString>("refusal");  // the message's object name; empty: written
        const std::pair<const char*, TCommand> commands[] = {
            {"ﾃｷｽﾄ", TCommand::TextOutput},
            {"PDF(最少)", TCommand::PdfMinimum},
            {"PDF(任意点)", TCommand::PdfArbitrary}};
        for (const auto& [name, command] : commands) {
            QTest::addRow("%s, no run", name) << int(command) << 0 << "NoResults";
            QTest::addRow("%s, edited since the run", name)
                << int(command) << 1 << "ResultsChanged";
            QTest::addRow("%s, edit put back", name) << int(command) << 2 << QString();
            QTest::addRow("%s, saved under a name", name) << int(command) << 3 << QString();
        }
    }
    void OutputsOnlyOfTheDesignAsItStands() {
        QFETCH(int, command);
        QFETCH(int, state);
        QFETCH(QString, refusal);
        const auto c = static_cast<TCommand>(command);
        app_->PdfCommands().SetArbitraryWindowQuery([] { return true; });
        const QString file = Out(c == TCommand::TextOutput ? kText : kPdf);
        WriteOld(file);
        auto* safetyFactor = app_->DesignWindow().findChild<QComboBox*>("SafetyFactor");
        if (state != 0) MarkCalculated();
        if (state == 1 || state == 2) safetyFactor->setEditText("1.30");
        if (state == 2) safetyFactor->setEditText("1.20");
        if (state == 3) app_->Context().Design.DesignName = "saved";

        TDialogResponder user;
        user.AnswerNoTo << QStringLiteral("PdfShowQuestion");
        Tool(c)->trigger();
        if (refusal.isEmpty()) {
            QVERIFY2(Names(user.Seen).contains("ReplaceQuestion"),
                     qPrintable(Names(user.Seen).join(' ')));
            QVERIFY(Bytes(file) != "old");
            return;
        }
        QCOMPARE(Names(user.Seen), QStringList{refusal});
        QCOMPARE(user.Seen[0].Text,
                 QString::fromUtf8(state == 0 ? kNoResultsText : kResultsChangedText));
        QCOMPARE(user.Seen[0].Buttons.size(), 1);
        QCOMPARE(Bytes(file), QByteArray("old"));
    }

    // A loaded design starts without results: every record, chart and
    // result window is back as at start-up (the windows hidden), and the
    // outputs say there is nothing to write.
    void LoadingADesignClearsEveryResult() {
        {
            TDialogResponder user;  // the circle conditions' question
            QVERIFY(Run());
        }
        app_->Execute(TCommand::ShowArbitrary);
        app_->ArbitraryWindow().Evaluate(20, 35);
        TAppState& c = app_->Context();
        QVERIFY(app_->ResultWindow().isVisible() && app_->ArbitraryWindow().isVisible());
        QVERIFY(!(c.Report.Results == TResultTables{}) &&
                !(c.Report.ResultChart == MakeResultChart()));
        QVERIFY(c.ArbitraryDesign.has_value());
        WriteOld(Out(kText));
        {
            TDialogResponder user;
            user.FileName = kSample;
            Tool(TCommand::Load)->trigger();
            QCOMPARE(user.Texts().last(), QStringLiteral("設計条件を読込みました。"));
        }
        QDir::setCurrent(dir_->path());
        QVERIFY(c.Report.Results == TResultTables{});
        QVERIFY(c.Report.Arbitrary == TArbitraryTables{});
        QVERIFY(c.Report.ResultChart == MakeResultChart());
        QVERIFY(c.Report.ArbitraryChart == MakeArbitraryChart());
        const QWidget* windows[] = {&app_->ResultWindow(), &app_->ArbitraryWindow(),
                                    &app_->ResultDiagramWindow(), &app_->ArbitraryDiagramWindow()};
        for (const QWidget* w : windows) QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));

        TDialogResponder user;
        Tool(TCommand::TextOutput)->trigger();
        Tool(TCommand::PdfMinimum)->trigger();
        Tool(TCommand::PdfArbitrary)->trigger();
        QCOMPARE(Names(user.Seen), (QStringList{"NoResults", "NoResults", "PdfArbitraryFirst"}));
        QCOMPARE(Bytes(Out(kText)), QByteArray("old"));
        QVERIFY(!QFile::exists(Out(kPdf)));
    }

    // The text, both PDFs (one file name) and the figures write fixed names in
    // the current folder: what is there is replaced only on Yes, and No is
    // the answer Enter gives.
    void ExistingFileReplacedOnlyOnYes_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("yes");
        QTest::newRow("ﾃｷｽﾄ, yes") << int(TCommand::TextOutput) << kText << true;
        QTest::newRow("ﾃｷｽﾄ, no") << int(TCommand::TextOutput) << kText << false;
        QTest::newRow("PDF(最少), no") << int(TCommand::PdfMinimum) << kPdf << false;
        QTest::newRow("PDF(任意点), yes") << int(TCommand::PdfArbitrary) << kPdf << true;
        QTest::newRow("PDF(任意点), no") << int(TCommand::PdfArbitrary) << kPdf << false;
        QTest::newRow("各図出力, yes") << int(TCommand::Metafiles) << "最少すべり円.svg" << true;
        QTest::newRow("各図出力, no") << int(TCommand::Metafiles) << "最少すべり円.svg" << false;
    }
    void ExistingFileReplacedOnlyOnYes() {
        QFETCH(int, command);
        QFETCH(QString, file);
        QFETCH(bool, yes);
        MarkCalculated();
        app_->PdfCommands().SetArbitraryWindowQuery([] { return true; });
        WriteOld(Out(file));
        TDialogResponder user;
        user.AnswerNoTo << QStringLiteral("PdfShowQuestion");
        if (!yes) user.AnswerNoTo << QStringLiteral("ReplaceQuestion");
        Tool(static_cast<TCommand>(command))->trigger();
        const qsizetype at = Names(user.Seen).indexOf("ReplaceQuestion");
        QVERIFY2(at == 1, qPrintable(Names(user.Seen).join(' ')));
        QCOMPARE(user.Seen[at].Text,
                 QStringLiteral("次のファイルは既にあります。上書きしますか。\n\n　") + file);
        QVERIFY(user.Seen[at].DefaultButton.startsWith(QStringLiteral("いいえ")));
        if (yes) {
            QVERIFY(Bytes(Out(file)) != "old");
        } else {
            QCOMPARE(user.Seen.size(), 2);  // nothing follows No
            QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{file});
            QCOMPARE(Bytes(Out(file)), QByteArray("old"));
        }
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
        QCOMPARE(EvaluateArbitraryPoint(c.Design, c.Options, 20, 35, c.Report.Arbitrary,
                                        c.Report.ArbitraryChart)
                     .Status,
                 1);
        app_->PdfCommands().SetArbitraryWindowQuery([] { return true; });
        Menu(TCommand::PdfArbitrary)->trigger();
        QCOMPARE(Bytes(Out(kPdf)), Bytes(Out("cli-arbitrary.pdf")));
        QVERIFY(opened_.isEmpty());
    }
};

QTEST_MAIN(OutputCommandsTest)
#include "OutputCommandsTest.moc"
