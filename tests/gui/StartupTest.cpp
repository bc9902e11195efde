// The application as it comes up: windows, sample design, reduced input set,
// menus and tool bars, Japanese dialogs and fonts, exit and the notes of the
// commands that come later.
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include "BuildInfo.h"
#include "GuiTestSupport.h"
#include "gui/AboutWindow.h"
#include "gui/DesignWindow.h"
#include "gui/EntryWindow.h"
#include "gui/QuickEntryWindow.h"
#include "gui/TChartView.h"
#include "views/PreviewChart.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

// The items as the menu shows them: hidden ones are not there for the user.
QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (a->isVisible()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return texts;
}

QStringList ToolBarTexts(const QToolBar* bar) {
    QStringList texts;
    for (QAction* a : bar->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallJapanese(); }

    void SampleDesignAndReducedInputSet() {
        auto app = StartApp();
        TDesignWindow& f6 = app->DesignWindow();
        QCOMPARE(app->MainWindow().windowTitle(),
                 QStringLiteral("円弧すべり検討システム （Sorvanta） Ver3.5"));
        QVERIFY(app->MainWindow().isVisible());
        QVERIFY(f6.isVisible());
        QCOMPARE(f6.windowTitle(), QStringLiteral("設計条件入力"));

        TDesignConditions sample;
        LoadSampleDesign(sample);
        QVERIFY(app->Context().Design == sample);
        QVERIFY(app->Context().Design.DesignName.empty());

        // The grids show the tables with their columns.
        auto* grid = f6.findChild<QTableWidget*>("Boundary1");
        QVERIFY(grid);
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("40.00"));
        QCOMPARE(grid->columnWidth(0), 18);
        // 37 pixels, or the pixel more this face needs to show "70.00" whole.
        QVERIFY(grid->columnWidth(1) == 37 || grid->columnWidth(1) == 38);
        QCOMPARE(f6.findChild<QTableWidget*>("MustCutPoint")->columnWidth(0), 35);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("X座標"));

        // Reduced input set: γs, groundwater group, stress type and load page hidden.
        for (int i = 1; i <= 5; ++i)
            QVERIFY(f6.findChild<QComboBox*>(QStringLiteral("GammaS%1").arg(i))->isHidden());
        QVERIFY(f6.findChild<QGroupBox*>("WaterGroup")->isHidden());
        QVERIFY(f6.findChild<QGroupBox*>("StressType")->isHidden());
        auto* calcTabs = f6.findChild<QTabWidget*>("CalculationTabs");
        QVERIFY(!calcTabs->isTabVisible(2));
        QVERIFY(!calcTabs->isTabVisible(3));  // 地震時・対策工
        QVERIFY(calcTabs->isTabVisible(0) && calcTabs->isTabVisible(1));
        auto* layerTabs = f6.findChild<QTabWidget*>("LayerTabs");
        for (int i = 0; i < 5; ++i) QVERIFY(layerTabs->isTabVisible(i));
        QVERIFY(!layerTabs->isTabVisible(5));  // 地下水
        QCOMPARE(layerTabs->currentIndex(), 0);
        QCOMPARE(f6.findChild<QTabWidget*>("InputPages")->currentIndex(), 0);
        QCOMPARE(f6.findChild<QComboBox*>("GammaW")->currentText(), QStringLiteral("---"));

        // The preview: axes 0..70 and the five layers drawn.
        auto* chart = f6.findChild<TChartView*>("Chart2");
        QVERIFY(chart);
        QCOMPARE(chart->Model()->Title, std::string("地形図"));
        QVERIFY(chart->Model()->Bottom && chart->Model()->Bottom->Max == 70);
        for (int k = 0; k < 5; ++k)
            QCOMPARE(chart->Model()->Series[static_cast<std::size_t>(k)].Points.size(), 4u);
        QCOMPARE(chart->Model()->Series[fkNeverCutElevation].Points.size(), 2u);
        QCOMPARE(f6.findChild<QLabel*>("PointerX")->text(), QStringLiteral("X=000.00m"));
        QVERIFY(f6.findChild<QToolButton*>("DigitiseS")->isChecked());
        QVERIFY(!f6.findChild<QToolButton*>("DigitiseW")->isEnabled());
    }

    void MenusAndToolBars() {
        auto app = StartApp();
        const QList<QAction*> menus = app->MainWindow().menuBar()->actions();
        QStringList titles;
        for (QAction* m : menus) titles << m->text();
        QCOMPARE(titles, (QStringList{"ファイル(&F)", "印刷(&P)", "編集(&E)", "表示(&V)",
                                      "実行(&R)", "システム(&S)"}));
        QCOMPARE(MenuTexts(menus[0]->menu()),
                 (QStringList{"1.設計条件読込...", "2.設計条件保存...", "-", "3.終了..."}));
        QCOMPARE(MenuTexts(menus[1]->menu()),
                 (QStringList{"1.計算書印刷...", "2.計算書ﾌﾟﾚﾋﾞｭｰ", "-", "3.プリンタ設定..."}));
        QCOMPARE(MenuTexts(menus[1]->menu()->actions()[1]->menu()),
                 (QStringList{"目次...", "-", "Ⅰ．設計条件...", "Ⅱ．安全率の計算...",
                              "Ⅲ．滑り円弧ｽﾗｲｽ荷重...", "Ⅳ．滑り円弧荷重...",
                              "Ⅴ．滑り円弧図(最少安全率)...", "-", "任意点：Ⅲ．滑り円弧ｽﾗｲｽ荷重...",
                              "任意点：Ⅳ．滑り円弧荷重...", "任意点：Ⅴ．滑り円弧図..."}));
        QCOMPARE(MenuTexts(menus[2]->menu()),
                 (QStringList{"1.テキスト出力...", "-", "2.各図ﾒﾀﾌｧｲﾙ出力...", "-",
                              "3.PDF(最少安全率)出力...", "4.PDF(任意点安全率)出力..."}));
        QCOMPARE(MenuTexts(menus[3]->menu()),
                 (QStringList{"1.設計条件テーブル", "2.計算結果テーブル", "-",
                              "3.任意点円弧滑り検討ﾃｰﾌﾞﾙ", "-", "全入力項目を表示"}));
        QCOMPARE(MenuTexts(menus[4]->menu()), (QStringList{"1.計算開始", "自動計算"}));
        QCOMPARE(MenuTexts(menus[5]->menu()), QStringList{"2.このシステムは..."});

        auto* bar1 = app->MainWindow().findChild<QToolBar*>("ToolBar1");
        auto* bar2 = app->MainWindow().findChild<QToolBar*>("ToolBar2");
        QCOMPARE(ToolBarTexts(bar1), (QStringList{"終了", "-", "開く", "保存", "印刷", "-", "ﾃｷｽﾄ",
                                                  "各図出力", "PDF(最少)", "PDF(任意点)"}));
        QCOMPARE(ToolBarTexts(bar2),
                 (QStringList{"設計条件", "計算結果", "-", "任意点滑り", "-", "自動計算"}));
        QCOMPARE(bar1->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        for (QAction* a : bar1->actions() + bar2->actions()) {
            if (!a->isSeparator()) QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
        }
    }

    void ExitQuestionAtTopLeftInJapanese() {
        auto app = StartApp();
        {
            TDialogResponder user;
            user.AnswerYes = false;
            app->MainWindow().ToolAction(TCommand::Exit)->trigger();
            QCOMPARE(user.Seen.size(), 1);
            QCOMPARE(user.Seen[0].Text, QStringLiteral("終了しますか。"));
            QCOMPARE(user.Seen[0].Position, QPoint(0, 80));
            // Qt's translation adds the mnemonic: "はい(&Y)", "いいえ(&N)".
            QCOMPARE(user.Seen[0].Buttons.filter(QRegularExpression("^はい")).size(), 1);
            QCOMPARE(user.Seen[0].Buttons.filter(QRegularExpression("^いいえ")).size(), 1);
            QVERIFY(app->MainWindow().isVisible());
        }
        TDialogResponder user;
        app->MainWindow().MenuAction(TCommand::Exit)->trigger();
        QVERIFY(!app->MainWindow().isVisible());
    }

    // The hint a user reads when the pointer rests on a tool button or control.
    void HintsOfToolButtonsAndControls() {
        auto app = StartApp();
        TMainWindow& f1 = app->MainWindow();
        const QList<QPair<TCommand, QString>> tools{
            {TCommand::Exit, "終了"},
            {TCommand::Load, "設計条件読込"},
            {TCommand::Save, "設計条件保存"},
            {TCommand::Print, "印刷"},
            {TCommand::TextOutput, "ﾃｷｽﾄ出力"},
            {TCommand::Metafiles, "ﾒﾀﾌｧｲﾙ保存"},
            {TCommand::PdfMinimum, "PDF出力"},
            {TCommand::ShowDesign, "設計条件ﾃｰﾌﾞﾙ表示"},
            {TCommand::PlaceAndShowResults, "計算結果ﾃｰﾌﾞﾙ表示"},
            {TCommand::ShowArbitrary, "任意点円弧滑り検討ﾃｰﾌﾞﾙ表示"},
        };
        auto* bar1 = f1.findChild<QToolBar*>("ToolBar1");
        auto* bar2 = f1.findChild<QToolBar*>("ToolBar2");
        auto button = [&](TCommand c) {
            QWidget* w = bar1->widgetForAction(f1.ToolAction(c));
            return w ? w : bar2->widgetForAction(f1.ToolAction(c));
        };
        for (const auto& [command, hint] : tools) QCOMPARE(button(command)->toolTip(), hint);
        // "PDF(任意点)" has none: no hint shows when the pointer rests on it.
        QHelpEvent rest(QEvent::ToolTip, QPoint(5, 5),
                        button(TCommand::PdfArbitrary)->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button(TCommand::PdfArbitrary), &rest);
        QVERIFY(!QToolTip::isVisible());

        const QList<QWidget*> windows{&app->DesignWindow(), &app->QuickEntryWindow(),
                                      &app->EntryWindow()};
        const QList<QPair<const char*, QString>> controls{
            {"Boundary1", "ｸﾘｯｸ：座標入力"},
            {"WaterTable", "ｸﾘｯｸ：座標入力"},
            {"Chart2", "入力は左ｸﾘｯｸ、最後の点は右ｸﾘｯｸ"},
            {"DigitiseS", "記入停止"},
            {"Digitise1", "1層目(地表面)入力"},
            {"Digitise5", "5層目入力"},
            {"DigitiseW", "地下水面入力"},
            {"DigitiseN", "ﾈﾊﾞｰｶｯﾄﾗｲﾝ入力"},
            {"DigitiseM", "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ入力"},
            {"ClearButton", "地層データクリア"},
            {"LayerCount", "層数（最大５層まで）"},
            {"GammaW", "水の単位体積重量(kN/m3)"},
            {"GammaT1", "湿潤単位体積重量"},
            {"GammaS3", "水中単位体積重量"},
            {"Phi2", "剪断抵抗角"},
            {"Cohesion4", "粘着力"},
            {"NeverCutLineEnabled", "入力は任意"},
            {"MustCutPointEnabled", "入力は任意"},
            {"LoadEnabled", "入力は任意"},
            {"ToeElevation", "法尻標高(m)"},
            {"Gradient", "法面勾配"},
            {"SlopeHeight", "法面高さ(m)"},
            {"RowCountBox", "データ数設定"},
            {"EntryGrid", "X,Y座標を入力"},
        };
        for (const auto& [name, hint] : controls) {
            QWidget* control = nullptr;
            for (QWidget* window : windows) {
                if (!control) control = window->findChild<QWidget*>(QString::fromUtf8(name));
            }
            QVERIFY2(control, name);
            QCOMPARE(control->toolTip(), hint);
        }
    }

    void AboutWindow() {
        auto app = StartApp();
        app->MainWindow().MenuAction(TCommand::About)->trigger();
        TAboutWindow& about = app->AboutWindow();
        QVERIFY(about.isVisible());
        QCOMPARE(about.windowTitle(), QStringLiteral("このシステムは"));
        QCOMPARE(about.findChild<QLabel*>("TitleLabel")->text(),
                 QStringLiteral("円弧すべり検討システム （Sorvanta） Ver3.5"));
        QCOMPARE(about.findChild<QLabel*>("DateLabel")->text(), QStringLiteral("H30.2.1"));
        // The same version and commit as sorvanta --version.
        const QString version = about.findChild<QLabel*>("VersionLabel")->text();
        QVERIFY2(version.startsWith(QStringLiteral("バージョン 3.5（コミット ")),
                 qPrintable(version));
        QVERIFY(version.endsWith(QString::fromUtf8(sorvanta::BuildCommit().data()) + u'）'));
        QTest::mouseClick(about.findChild<QAbstractButton*>("OkButton"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    // The Windows face names the documents ask for land on installed Japanese
    // faces, so the text is never drawn as boxes.
    void MinchoNamesResolveToInstalledFaces() {
        for (const char* name : {"ＭＳ Ｐ明朝", "ＭＳ 明朝"}) {
            const QFontInfo info(QFont(QString::fromUtf8(name)));
            QVERIFY2(info.family().contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) ||
                         info.family().contains(QStringLiteral("明朝")),
                     qPrintable(info.family()));
        }
        QFontMetrics metrics(QFont(QStringLiteral("ＭＳ Ｐ明朝")));
        QVERIFY(metrics.inFont(QChar(0x5186)));  // 円
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
