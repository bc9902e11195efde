// Saving and loading the design through the main window's commands and Qt's
// file dialogs.
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/DesignFileCommands.h"
#include "gui/DesignWindow.h"
#include "gui/TChartView.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

class FileCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;
    QTemporaryDir dir_;
    QString startDir_;

    TDesignConditions& Design() { return app_->Context().Design; }
    void Run(TCommand command) { app_->MainWindow().ToolAction(command)->trigger(); }

  private slots:
    void initTestCase() {
        InstallJapanese();
        QVERIFY(dir_.isValid());
        startDir_ = QDir::currentPath();
    }
    void init() {
        QDir::setCurrent(startDir_);
        app_ = StartApp();
    }
    void cleanup() { app_.reset(); }

    void SaveAndLoadRoundTrip() {
        TDesignWindow& f6 = app_->DesignWindow();
        f6.findChild<QComboBox*>("LayerCount")->setEditText("3");
        f6.findChild<QComboBox*>("GammaT1")->setEditText("19.0");
        f6.findChild<QLineEdit*>("NeverCutElevation")->setText("1.50");
        const TDesignConditions edited = Design();

        {
            TDialogResponder user;
            user.FileName = dir_.filePath("case1");  // the default suffix is added
            Run(TCommand::Save);
            QCOMPARE(user.Texts().last(), QStringLiteral("設計条件を保存しました。"));
        }
        QVERIFY(QFile::exists(dir_.filePath("case1.dat")));
        QCOMPARE(f6.windowTitle(), QStringLiteral("設計条件 case1"));
        QCOMPARE(Design().DesignName, std::string("case1"));
        QCOMPARE(QDir::currentPath(), QDir(dir_.path()).absolutePath());

        // Saving onto the file again asks first.
        {
            TDialogResponder user;
            user.FileName = dir_.filePath("case1.dat");
            Run(TCommand::Save);
            QCOMPARE(user.Seen.size(), 3);  // dialog, overwrite question, success
            QVERIFY(user.Seen[1].Buttons.size() == 2);
        }

        // Change the design, then load the file back.
        f6.findChild<QComboBox*>("LayerCount")->setEditText("5");
        f6.findChild<QComboBox*>("GammaT1")->setEditText("15.0");
        app_->Context().Options.Direction = TSlipDirection::Both;  // not in the file: stays
        {
            TDialogResponder user;
            user.AnswerNoTo << QStringLiteral("SaveChangesQuestion");  // the changes go
            user.FileName = dir_.filePath("case1.dat");
            Run(TCommand::Load);
            QCOMPARE(user.Texts().last(), QStringLiteral("設計条件を読込みました。"));
        }
        TDesignConditions expected = edited;
        expected.DesignName = "case1";
        QVERIFY(Design() == expected);
        QVERIFY(app_->Context().Options.Direction == TSlipDirection::Both);
        QCOMPARE(f6.findChild<QComboBox*>("GammaT1")->currentText(), QStringLiteral("19.0"));
        QCOMPARE(f6.findChild<QComboBox*>("GammaS1")->currentText(), QStringLiteral("10.0"));
        QVERIFY(!f6.findChild<QTabWidget*>("LayerTabs")->isTabVisible(3));
        // Axes from the ground surface (0..70) and the never-cut elevation 1.5.
        const TChartModel& preview = *f6.Preview()->Model();
        QCOMPARE(preview.Bottom->Min, -2.0);
        QCOMPARE(preview.Bottom->Max, 72.0);
        QCOMPARE(preview.Left->Min, -0.5);
        QCOMPARE(preview.Left->Max, 73.5);
    }

    // The earthquake and countermeasure options go into the file with the
    // design and come back with it; a file without them gives the defaults.
    void OptionsTravelWithTheFile() {
        TDesignWindow& f6 = app_->DesignWindow();
        TAnalysisOptions& options = app_->Context().Options;
        f6.findChild<QLineEdit*>("Kh")->setText("0.2");
        f6.findChild<QLineEdit*>("PlannedFs")->setText("1.25");
        {
            TDialogResponder user;
            user.FileName = dir_.filePath("quake.dat");
            Run(TCommand::Save);
            QCOMPARE(user.Texts().last(), QStringLiteral("設計条件を保存しました。"));
        }
        QFile f(dir_.filePath("quake.dat"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(
            f.readAll().endsWith("\r\n0.0\r\n[sorvanta options]\r\nkh=0.2\r\nplanned-fs=1.25\r\n"));

        // A changed option alone is offered for saving.
        f6.findChild<QLineEdit*>("Kh")->setText("0.3");
        {
            TDialogResponder user;
            user.AnswerNoTo << QStringLiteral("SaveChangesQuestion");
            user.FileName = dir_.filePath("quake.dat");
            Run(TCommand::Load);
            QCOMPARE(user.Seen.first().ObjectName, QStringLiteral("SaveChangesQuestion"));
        }
        QCOMPARE(options.Kh, std::string("0.2"));
        QCOMPARE(f6.findChild<QLineEdit*>("Kh")->text(), QStringLiteral("0.2"));
        QCOMPARE(f6.findChild<QLineEdit*>("PlannedFs")->text(), QStringLiteral("1.25"));

        {
            TDialogResponder user;
            user.FileName = QStringLiteral(SORVANTA_TEST_DATA "/design/sample.dat");
            Run(TCommand::Load);
            // No question: nothing changed since the load.
            QCOMPARE(user.Texts(), (QStringList{"設計条件読込", "設計条件を読込みました。"}));
        }
        QVERIFY(options == TAnalysisOptions{});
        QCOMPARE(f6.findChild<QLineEdit*>("Kh")->text(), QStringLiteral("0"));
        QVERIFY(f6.findChild<QLineEdit*>("PlannedFs")->text().isEmpty());

        // A value the file could not load again is not saved.
        f6.findChild<QLineEdit*>("Kh")->setText("1");
        TDialogResponder user;
        user.FileName = dir_.filePath("bad.dat");
        Run(TCommand::Save);
        QVERIFY2(user.Texts().last().contains(QStringLiteral("設計水平震度khは0以上1未満")),
                 qPrintable(user.Texts().last()));
        QVERIFY(!QFile::exists(dir_.filePath("bad.dat")));
    }

    // The load outline divides by γt of layer 1: a γt that is not a number is
    // reported once, and the design is loaded all the same.
    void LoadOutlineErrorIsReportedOnce() {
        TDesignWindow& f6 = app_->DesignWindow();
        f6.findChild<QCheckBox*>("LoadEnabled")->click();
        f6.findChild<QLineEdit*>("LoadEndX")->setText("30.0");
        f6.findChild<QLineEdit*>("LoadStartX")->setText("10.0");
        QCOMPARE(f6.Preview()->Model()->Series[fkLoad].Points.size(), 5u);
        f6.findChild<QComboBox*>("GammaT1")->setEditText("abc");
        {
            TDialogResponder user;
            user.FileName = dir_.filePath("gamma.dat");
            Run(TCommand::Save);
        }
        f6.findChild<QComboBox*>("GammaT1")->setEditText("18.0");
        TDialogResponder user;
        user.AnswerNoTo << QStringLiteral("SaveChangesQuestion");
        user.FileName = dir_.filePath("gamma.dat");
        Run(TCommand::Load);
        QCOMPARE(user.Seen.size(), 4);  // save question, dialog, conversion error, success
        QVERIFY2(user.Seen[2].Text.contains(QStringLiteral("abc")), qPrintable(user.Seen[2].Text));
        QCOMPARE(user.Seen[3].Text, QStringLiteral("設計条件を読込みました。"));
        QCOMPARE(Design().Layers[0].GammaT, std::string("abc"));
        QVERIFY(f6.Preview()->Model()->Series[fkLoad].Points.empty());
    }

    // A changed design is offered for saving before a load replaces it and
    // before the program ends (終了 or the frame): Yes saves first and a
    // cancelled save stops, No goes on without saving, Cancel stops. An
    // unchanged design is not asked about.
    void ChangedDesignIsOfferedForSaving_data() {
        QTest::addColumn<int>("action");  // 0 読込, 1 終了, 2 the frame's close button
        QTest::addColumn<int>(
            "answer");  // 0 unchanged, 1 はい, 2 いいえ, 3 キャンセル, 4 はい, save cancelled
        QTest::addColumn<bool>("proceeds");
        QTest::addColumn<bool>("saved");
        const char* actions[] = {"読込", "終了", "close"};
        for (int a = 0; a < 3; ++a) {
            QTest::addRow("%s, unchanged", actions[a]) << a << 0 << true << false;
            QTest::addRow("%s, はい", actions[a]) << a << 1 << true << true;
            QTest::addRow("%s, いいえ", actions[a]) << a << 2 << true << false;
            QTest::addRow("%s, キャンセル", actions[a]) << a << 3 << false << false;
        }
        QTest::newRow("読込, はい, save cancelled") << 0 << 4 << false << false;
        QTest::newRow("終了, はい, save cancelled") << 1 << 4 << false << false;
    }
    void ChangedDesignIsOfferedForSaving() {
        QFETCH(int, action);
        QFETCH(int, answer);
        QFETCH(bool, proceeds);
        QFETCH(bool, saved);
        // The file both dialogs are given: a copy of the sample, which a
        // save replaces with the edited design.
        const QString file = dir_.filePath("kept.dat");
        QFile::remove(file);
        QVERIFY(QFile::copy(QStringLiteral(SORVANTA_TEST_DATA "/design/sample.dat"), file));
        if (answer != 0)
            app_->DesignWindow().findChild<QComboBox*>("SafetyFactor")->setEditText("1.30");

        TDialogResponder user;
        if (answer != 4) user.FileName = file;
        if (answer == 2) user.AnswerNoTo << QStringLiteral("SaveChangesQuestion");
        if (answer == 3) user.AnswerCancelTo << QStringLiteral("SaveChangesQuestion");
        if (action == 0) Run(TCommand::Load);
        if (action == 1) Run(TCommand::Exit);
        if (action == 2) app_->MainWindow().close();

        QStringList names;
        for (const auto& s : user.Seen) names << s.ObjectName;
        const qsizetype asked = names.indexOf("SaveChangesQuestion");
        QCOMPARE(asked >= 0, answer != 0);
        if (asked >= 0) {
            QCOMPARE(user.Seen[asked].Text,
                     QStringLiteral("設計条件が変更されています。\n保存しますか。"));
            QCOMPARE(user.Seen[asked].Buttons.size(), 3);
            QVERIFY(user.Seen[asked].Buttons.filter(QRegularExpression("^キャンセル")).size() == 1);
        }
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().contains("\r\n1.30\r\n"), saved);
        if (action == 0) {
            QCOMPARE(names.contains("OpenDialog"), proceeds);
            // Loaded: the design is the file's, edited only where it was saved.
            QCOMPARE(Design().SafetyFactor == "1.30", !proceeds ? answer != 0 : saved);
        } else {
            QCOMPARE(app_->MainWindow().isVisible(), !proceeds);
        }
    }

    void FailedLoadChangesNothing() {
        QFile bad(dir_.filePath("broken.dat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("3\r\nFALSE\r\n---\r\n");
        bad.close();
        const TDesignConditions before = Design();
        TDialogResponder user;
        user.FileName = bad.fileName();
        Run(TCommand::Load);
        QCOMPARE(user.Seen.size(), 2);
        QVERIFY2(user.Seen[1].Text.startsWith(QStringLiteral("設計条件を読込めませんでした。\n")),
                 qPrintable(user.Seen[1].Text));
        QVERIFY(user.Seen[1].Text.size() > 20);
        QVERIFY(Design() == before);
        QCOMPARE(app_->DesignWindow().windowTitle(), QStringLiteral("設計条件入力"));
    }

    // What is not a design file is refused at once with a Japanese message:
    // a FIFO (which would block the window for ever) and a huge file.
    void SpecialAndHugeFilesAreRefused() {
        const QString fifo = dir_.filePath("fifo.dat");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QFile huge(dir_.filePath("huge.dat"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(2 * 1024 * 1024));
        huge.close();
        const TDesignConditions before = Design();
        const struct {
            QString File, Reason;
        } cases[] = {
            {fifo, QStringLiteral("は通常のファイルではないため読み込めません")},
            {huge.fileName(),
             QStringLiteral("は大きすぎるため読み込めません（2097152 バイト。上限は "
                            "1048576 バイト）")},
        };
        for (const auto& c : cases) {
            TDialogResponder user;
            user.FileName = c.File;
            Run(TCommand::Load);
            QCOMPARE(user.Seen.size(), 2);
            QVERIFY2(
                user.Seen[1].Text.startsWith(QStringLiteral("設計条件を読込めませんでした。\n")) &&
                    user.Seen[1].Text.contains(c.Reason),
                qPrintable(user.Seen[1].Text));
            QVERIFY(Design() == before);
        }
    }

    void FailedSaveChangesNothing() {
        // A line break inside a text would shift every later line of the file.
        app_->DesignWindow().findChild<QComboBox*>("GammaT2")->setEditText("18\n0");
        TDialogResponder user;
        user.FileName = dir_.filePath("refused.dat");
        Run(TCommand::Save);
        QCOMPARE(user.Seen.size(), 2);
        QVERIFY(user.Seen[1].Text.startsWith(QStringLiteral("設計条件を保存できませんでした。\n")));
        QVERIFY(!QFile::exists(dir_.filePath("refused.dat")));
        QVERIFY(Design().DesignName.empty());
        QCOMPARE(app_->DesignWindow().windowTitle(), QStringLiteral("設計条件入力"));
    }

    void CancelledDialogsDoNothing() {
        const TDesignConditions before = Design();
        TDialogResponder user;  // no file name: cancels
        Run(TCommand::Save);
        Run(TCommand::Load);
        QCOMPARE(user.Seen.size(), 2);
        QVERIFY(Design() == before);
    }

    // At its default size the dialog shows every column whole: a long
    // Japanese name, the size, the type and the date.
    void FileDialogColumnsAreNotClipped() {
        QTemporaryDir folder;
        QFile::copy(QStringLiteral(SORVANTA_TEST_DATA "/design/sample.dat"),
                    folder.filePath(QStringLiteral("道路改良工事_第3工区_左岸法面_設計条件.dat")));
        QDir::setCurrent(folder.path());
        QStringList clipped;
        int rows = 0;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            QVERIFY(view);
            // The folder is read in the background.
            QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) > 0);
            rows = view->model()->rowCount(view->rootIndex());
            QCoreApplication::processEvents();
            for (int c = 0; c < view->header()->count(); ++c) {
                if (view->header()->sectionSize(c) <
                    static_cast<QAbstractItemView*>(view)->sizeHintForColumn(c))
                    clipped << QString::number(c);
            }
            dialog->reject();
        });
        QVERIFY(ChooseDesignFile(&app_->MainWindow(), false).isEmpty());
        QCOMPARE(rows, 1);
        QCOMPARE(clipped, QStringList());
        QCOMPARE(QLocale().language(), QLocale::Japanese);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
