#include "gui/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "gui/Icons.h"
#include "gui/OutputMessages.h"
#include "gui/Texts.h"

namespace sorvanta::gui {

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kMainCaption));
    auto* area = new QMdiArea(this);
    area->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(area);
    BuildMenus();
    BuildToolBars();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(true);
}

QAction* TMainWindow::AddMenuItem(QMenu* menu, const QString& text, TCommand command) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, command] {
        if (command == TCommand::Exit) {
            ConfirmExit();
        } else {
            emit CommandTriggered(command);
        }
    });
    menuActions_.insert(command, action);
    return action;
}

void TMainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    AddMenuItem(file, QStringLiteral("1.設計条件読込..."), TCommand::Load);
    AddMenuItem(file, QStringLiteral("2.設計条件保存..."), TCommand::Save);
    file->addSeparator();
    AddMenuItem(file, QStringLiteral("3.終了..."), TCommand::Exit);

    QMenu* print = bar->addMenu(QStringLiteral("印刷(&P)"));
    AddMenuItem(print, QStringLiteral("1.計算書印刷..."), TCommand::Print);
    QMenu* preview = print->addMenu(QStringLiteral("2.計算書ﾌﾟﾚﾋﾞｭｰ"));
    AddMenuItem(preview, QStringLiteral("目次..."), TCommand::PreviewContents);
    preview->addSeparator();
    AddMenuItem(preview, QStringLiteral("Ⅰ．設計条件..."), TCommand::PreviewDesign);
    AddMenuItem(preview, QStringLiteral("Ⅱ．安全率の計算..."), TCommand::PreviewSafetyFactor);
    AddMenuItem(preview, QStringLiteral("Ⅲ．滑り円弧ｽﾗｲｽ荷重..."), TCommand::PreviewSliceLoads);
    AddMenuItem(preview, QStringLiteral("Ⅳ．滑り円弧荷重..."), TCommand::PreviewLoads);
    AddMenuItem(preview, QStringLiteral("Ⅴ．滑り円弧図(最少安全率)..."), TCommand::PreviewFigure);
    preview->addSeparator();
    AddMenuItem(preview, QStringLiteral("任意点：Ⅲ．滑り円弧ｽﾗｲｽ荷重..."),
                TCommand::PreviewArbitrarySliceLoads);
    AddMenuItem(preview, QStringLiteral("任意点：Ⅳ．滑り円弧荷重..."),
                TCommand::PreviewArbitraryLoads);
    AddMenuItem(preview, QStringLiteral("任意点：Ⅴ．滑り円弧図..."),
                TCommand::PreviewArbitraryFigure);
    // Pages only some documents have; a plain run's menu stays as it was.
    extraPreviewSeparator_ = preview->addSeparator();
    AddMenuItem(preview, QStringLiteral("Ⅵ．分割法の計算値..."), TCommand::PreviewMethods);
    AddMenuItem(preview, QStringLiteral("Ⅵ．検討ケースのまとめ..."), TCommand::PreviewCaseSummary);
    ShowExtraPreviews(false, {});
    connect(preview, &QMenu::aboutToShow, this, [this] {
        if (previewHook_) previewHook_();
    });
    print->addSeparator();
    AddMenuItem(print, QStringLiteral("3.プリンタ設定..."), TCommand::PrinterSetup);

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    AddMenuItem(edit, QStringLiteral("1.テキスト出力..."), TCommand::TextOutput);
    edit->addSeparator();
    AddMenuItem(edit, QStringLiteral("2.各図ﾒﾀﾌｧｲﾙ出力..."), TCommand::Metafiles);
    edit->addSeparator();
    AddMenuItem(edit, QStringLiteral("3.PDF(最少安全率)出力..."), TCommand::PdfMinimum);
    AddMenuItem(edit, QStringLiteral("4.PDF(任意点安全率)出力..."), TCommand::PdfArbitrary);

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    AddMenuItem(view, QStringLiteral("1.設計条件テーブル"), TCommand::ShowDesign);
    AddMenuItem(view, QStringLiteral("2.計算結果テーブル"), TCommand::ShowResults);
    view->addSeparator();
    AddMenuItem(view, QStringLiteral("3.任意点円弧滑り検討ﾃｰﾌﾞﾙ"), TCommand::ShowArbitrary);
    view->addSeparator();
    AddMenuItem(view, QStringLiteral("全入力項目を表示"), TCommand::FullInputSet)
        ->setCheckable(true);

    QMenu* run = bar->addMenu(QStringLiteral("実行(&R)"));
    AddMenuItem(run, QStringLiteral("1.計算開始"), TCommand::Calculate);
    AddMenuItem(run, QStringLiteral("自動計算"), TCommand::LiveCalculation)->setCheckable(true);
    // The studies belong to the full input set; the reduced menu stays as it was.
    QAction* studies = run->addSeparator();
    QAction* sensitivity = AddMenuItem(run, QStringLiteral("感度分析..."), TCommand::Sensitivity);
    QAction* probability = AddMenuItem(run, QStringLiteral("破壊確率..."), TCommand::Probability);
    for (QAction* a : {studies, sensitivity, probability}) a->setVisible(false);
    studyActions_ = {studies, sensitivity, probability};

    QMenu* system = bar->addMenu(QStringLiteral("システム(&S)"));
    AddMenuItem(system, QStringLiteral("2.このシステムは..."), TCommand::About);
}

void TMainWindow::ShowExtraPreviews(bool methods, const QString& caseSummary) {
    MenuAction(TCommand::PreviewMethods)->setVisible(methods);
    QAction* summary = MenuAction(TCommand::PreviewCaseSummary);
    summary->setVisible(!caseSummary.isEmpty());
    if (!caseSummary.isEmpty()) summary->setText(caseSummary);
    extraPreviewSeparator_->setVisible(methods || !caseSummary.isEmpty());
}

void TMainWindow::ShowStudies(bool on) {
    for (QAction* a : studyActions_) a->setVisible(on);
}

QAction* TMainWindow::MakeToolAction(const QString& caption, const QString& hint, int icon,
                                     TCommand command) {
    auto* action = new QAction(CommandIcon(static_cast<TCommandIcon>(icon)), caption, this);
    if (!hint.isEmpty()) action->setToolTip(hint);
    action->setStatusTip(hint);
    connect(action, &QAction::triggered, this, [this, command] {
        if (command == TCommand::Exit) {
            ConfirmExit();
        } else {
            emit CommandTriggered(command);
        }
    });
    toolActions_.insert(command, action);
    return action;
}

void TMainWindow::BuildToolBars() {
    auto* bar1 = addToolBar(QStringLiteral("ToolBar1"));
    bar1->setObjectName(QStringLiteral("ToolBar1"));
    auto* bar2 = addToolBar(QStringLiteral("ToolBar2"));
    bar2->setObjectName(QStringLiteral("ToolBar2"));
    for (QToolBar* bar : {bar1, bar2}) {
        bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        bar->setIconSize(QSize(24, 24));
        bar->setMovable(false);
    }
    using I = TCommandIcon;
    auto add = [this](QToolBar* bar, const char* caption, const char* hint, I icon,
                      TCommand command) {
        bar->addAction(MakeToolAction(QString::fromUtf8(caption), QString::fromUtf8(hint),
                                      static_cast<int>(icon), command));
    };
    add(bar1, "終了", "終了", I::Exit, TCommand::Exit);
    bar1->addSeparator();
    add(bar1, "開く", "設計条件読込", I::Open, TCommand::Load);
    add(bar1, "保存", "設計条件保存", I::Save, TCommand::Save);
    add(bar1, "印刷", "印刷", I::Print, TCommand::Print);
    bar1->addSeparator();
    add(bar1, "ﾃｷｽﾄ", "ﾃｷｽﾄ出力", I::Text, TCommand::TextOutput);
    add(bar1, "各図出力", "ﾒﾀﾌｧｲﾙ保存", I::Figures, TCommand::Metafiles);
    add(bar1, "PDF(最少)", "PDF出力", I::PdfMinimum, TCommand::PdfMinimum);
    add(bar1, "PDF(任意点)", "", I::PdfArbitrary, TCommand::PdfArbitrary);
    // Without a hint of its own a tool button would show its caption as one.
    noHintButton_ = bar1->widgetForAction(ToolAction(TCommand::PdfArbitrary));
    noHintButton_->installEventFilter(this);

    add(bar2, "設計条件", "設計条件ﾃｰﾌﾞﾙ表示", I::Design, TCommand::ShowDesign);
    add(bar2, "計算結果", "計算結果ﾃｰﾌﾞﾙ表示", I::Results, TCommand::PlaceAndShowResults);
    bar2->addSeparator();
    add(bar2, "任意点滑り", "任意点円弧滑り検討ﾃｰﾌﾞﾙ表示", I::Arbitrary, TCommand::ShowArbitrary);
    bar2->addSeparator();
    add(bar2, "自動計算", "自動計算", I::Live, TCommand::LiveCalculation);
    ToolAction(TCommand::LiveCalculation)->setCheckable(true);
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == noHintButton_ && event->type() == QEvent::ToolTip) return true;
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::ConfirmExit() {
    if (AskYesNo(this, QMessageBox::Question, QStringLiteral("終了しますか。"),
                 QStringLiteral("ExitQuestion"), QMessageBox::No, QPoint(0, 80)))
        close();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TMainWindow::SetRunning(bool running) {
    for (TCommand c : {TCommand::Load, TCommand::Calculate}) {
        if (QAction* a = MenuAction(c)) a->setEnabled(!running);
        if (QAction* a = ToolAction(c)) a->setEnabled(!running);
    }
}

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        emit FirstShown();
    }
}

}  // namespace sorvanta::gui
