// The coordinate entry window and the ground-surface quick entry window,
// opened from the design window's grids and button.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/DesignWindow.h"
#include "gui/EntryWindow.h"
#include "gui/QuickEntryWindow.h"
#include "gui/TChartView.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

QStringList Rows(const TCoordinateTable& table) {
    QStringList rows;
    for (const auto& r : table.Rows) rows << QString::fromStdString(r.No + "," + r.X + "," + r.Y);
    return rows;
}

QStringList GridRows(const QTableWidget* grid) {
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 3; ++c)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        rows << cells.join(',');
    }
    return rows;
}

}  // namespace

class EntryWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TSorvantaApp> app_;
    TDesignWindow* f6_ = nullptr;
    TEntryWindow* f9_ = nullptr;
    TDesignConditions* design_ = nullptr;

    void ClickGrid(const char* name) {
        auto* grid = f6_->findChild<QTableWidget*>(QString::fromUtf8(name));
        QVERIFY(grid);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    }
    void TypeRow(int row, const char* x, const char* y) {
        QTableWidget* grid = f9_->EntryGrid();
        for (auto [col, text] : {std::pair{1, x}, std::pair{2, y}}) {
            grid->setCurrentCell(row, col);
            grid->edit(grid->model()->index(row, col));
            auto* editor =
                qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, col)));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, QString::fromUtf8(text));
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
        }
    }
    void SetRowCount(int points) {
        while (f9_->EntryGrid()->rowCount() < points)
            f9_->findChild<QToolButton*>("UpDownUp")->click();
        while (f9_->EntryGrid()->rowCount() > points)
            f9_->findChild<QToolButton*>("UpDownDown")->click();
    }

  private slots:
    void initTestCase() { InstallJapanese(); }
    void init() {
        app_ = StartApp();
        f6_ = &app_->DesignWindow();
        f9_ = &app_->EntryWindow();
        design_ = &app_->Context().Design;
    }
    void cleanup() { app_.reset(); }

    void OpensACopyOfTheClickedTable() {
        f6_->findChild<QTabWidget*>("LayerTabs")->setCurrentIndex(1);
        ClickGrid("Boundary2");
        QVERIFY(f9_->isVisible());
        QCOMPARE(f9_->windowTitle(), QStringLiteral("座標入力"));
        QCOMPARE(f9_->findChild<QGroupBox*>("EntryGroup")->title(), QStringLiteral("2層目"));
        QCOMPARE(f9_->pos(), f6_->EntryWindowPosition());
        QCOMPARE(GridRows(f9_->EntryGrid()), Rows(design_->Layers[1].Boundary));
        QCOMPARE(f9_->findChild<QLineEdit*>("RowCountBox")->text(), QStringLiteral("3"));
        QCOMPARE(f9_->EntryGrid()->columnWidth(1), 37);
        QCOMPARE(f9_->EntryGrid()->horizontalHeaderItem(2)->text(), QStringLiteral("Y座標"));

        // The up side adds an empty, numbered row; the down side takes it away.
        f9_->findChild<QToolButton*>("UpDownUp")->click();
        QCOMPARE(f9_->EntryGrid()->rowCount(), 5);
        QCOMPARE(GridRows(f9_->EntryGrid()).last(), QStringLiteral("4,,"));
        QCOMPARE(f9_->findChild<QLineEdit*>("RowCountBox")->text(), QStringLiteral("4"));
        f9_->findChild<QToolButton*>("UpDownDown")->click();
        QCOMPARE(f9_->EntryGrid()->rowCount(), 4);

        // "取消" changes nothing.
        f9_->EntryGrid()->item(0, 1)->setText("99");
        QTest::mouseClick(f9_->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        QVERIFY(!f9_->isVisible());
        QCOMPARE(design_->Layers[1].Boundary.Rows[0].X, std::string("0.00"));
    }

    void EnterOnAGridOpensItToo() {
        QTest::keyClick(f6_->findChild<QTableWidget*>("WaterTable"), Qt::Key_Return);
        QVERIFY(f9_->isVisible());
        QCOMPARE(f9_->findChild<QGroupBox*>("EntryGroup")->title(), QStringLiteral("地下水位"));
    }

    void UpDownStaysInTheTablesRange() {
        f6_->findChild<QCheckBox*>("MustCutPointEnabled")->click();
        ClickGrid("MustCutPoint");
        QCOMPARE(f9_->findChild<QGroupBox*>("EntryGroup")->title(), QStringLiteral("ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ"));
        f9_->findChild<QToolButton*>("UpDownUp")->click();
        QCOMPARE(f9_->EntryGrid()->rowCount(), 1);
        ClickGrid("Boundary1");
        f9_->findChild<QToolButton*>("UpDownDown")->click();
        f9_->findChild<QToolButton*>("UpDownDown")->click();
        f9_->findChild<QToolButton*>("UpDownDown")->click();
        QCOMPARE(f9_->EntryGrid()->rowCount(), 2);
        for (int i = 0; i < 60; ++i) f9_->findChild<QToolButton*>("UpDownUp")->click();
        QCOMPARE(f9_->EntryGrid()->rowCount(), 51);
    }

    void WriteBackOfLayer1TakesTheUsableRows() {
        ClickGrid("Boundary1");
        f9_->findChild<QToolButton*>("UpDownUp")->click();
        TypeRow(1, "25", "6");
        QTest::mouseClick(f9_->findChild<QPushButton*>("WriteBackButton"), Qt::LeftButton);
        QVERIFY(!f9_->isVisible());
        QCOMPARE(Rows(design_->Layers[0].Boundary),
                 (QStringList{"0,0.00,5.00", "1,25.00,6.00", "2,40.00,15.00", "3,70.00,15.00"}));
        QCOMPARE(GridRows(f6_->findChild<QTableWidget*>("Boundary1")),
                 Rows(design_->Layers[0].Boundary));
        QCOMPARE(f6_->Preview()->Model()->Series[fkLayer1].Points.at(1).X, 25.0);
    }

    // A value still in its cell editor when "地層座標転記" is pressed counts.
    void WriteBackTakesTheValueBeingTyped() {
        ClickGrid("Boundary1");
        QTableWidget* grid = f9_->EntryGrid();
        grid->setCurrentCell(1, 1);
        grid->edit(grid->model()->index(1, 1));
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(1, 1)));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "22.5");
        f9_->WriteBack();
        QCOMPARE(design_->Layers[0].Boundary.Rows[1].X, std::string("22.50"));
    }

    // Typing and pressing Enter at once writes back what was typed and closes
    // the window: into X of the first row right after opening, and into a
    // cell chosen with the mouse.
    void EnterRightAfterTypingWritesTheTypedValue() {
        // Keys go where the window's focus is: the grid, or the editor that
        // the grid opened.
        auto type = [this](const QString& text) {
            for (QChar c : text) {
                QWidget* focus = f9_->focusWidget();
                QVERIFY(focus);
                QTest::keyClick(focus, c.toLatin1());
            }
            QVERIFY(qobject_cast<QLineEdit*>(f9_->focusWidget()));
            QTest::keyClick(f9_->focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();
        };
        ClickGrid("Boundary1");
        type("12");
        QVERIFY(!f9_->isVisible());
        QCOMPARE(design_->Layers[0].Boundary.Rows[0].X, std::string("12.00"));

        ClickGrid("Boundary1");
        QTableWidget* grid = f9_->EntryGrid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 2)).center());
        type("6.5");
        QVERIFY(!f9_->isVisible());
        QCOMPARE(Rows(design_->Layers[0].Boundary),
                 (QStringList{"0,12.00,5.00", "1,20.00,6.50", "2,40.00,15.00", "3,70.00,15.00"}));
    }

    // No. is numbered by the window: typing there changes nothing, and Tab
    // and Shift+Tab move over X and Y only, round the grid.
    void NumberColumnIsReadOnlyAndOutOfTheTabOrder() {
        ClickGrid("Boundary1");
        QTableWidget* grid = f9_->EntryGrid();
        f9_->findChild<QToolButton*>("UpDownUp")->click();
        const int last = grid->rowCount() - 1;
        for (int r = 0; r <= last; ++r) QVERIFY(!(grid->item(r, 0)->flags() & Qt::ItemIsEditable));
        grid->setFocus();
        grid->setCurrentCell(0, 0);
        QTest::keyClicks(grid, "9");
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("0"));
        QVERIFY(!grid->indexWidget(grid->currentIndex()));

        struct TStep {
            int Key;
            QPoint From;  // row, column
            QPoint To;
        };
        const TStep steps[] = {
            {Qt::Key_Tab, {0, 1}, {0, 2}},        {Qt::Key_Tab, {0, 2}, {1, 1}},
            {Qt::Key_Tab, {last, 2}, {0, 1}},     {Qt::Key_Backtab, {1, 1}, {0, 2}},
            {Qt::Key_Backtab, {0, 1}, {last, 2}},
        };
        for (const TStep& s : steps) {
            grid->setCurrentCell(s.From.x(), s.From.y());
            QTest::keyClick(grid, static_cast<Qt::Key>(s.Key),
                            s.Key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(QPoint(grid->currentRow(), grid->currentColumn()), s.To);
        }
    }

    void WriteBackOfALowerLayerMerges() {
        ClickGrid("Boundary2");
        SetRowCount(3);
        TypeRow(0, "10", "2");
        TypeRow(1, "30", "3");
        TypeRow(2, "50", "8");
        QTest::mouseClick(f9_->findChild<QPushButton*>("WriteBackButton"), Qt::LeftButton);
        QCOMPARE(Rows(design_->Layers[1].Boundary),
                 (QStringList{"0,0.00,5.00", "1,10.00,2.00", "2,30.00,3.00", "3,50.00,8.00",
                              "4,70.00,15.00"}));
        QCOMPARE(f6_->Preview()->Model()->Series[fkLayer2].Points.size(), 5u);
    }

    void LayerCountHidesTheEntryWindow() {
        ClickGrid("Boundary1");
        QVERIFY(f9_->isVisible());
        f6_->findChild<QComboBox*>("LayerCount")->setEditText("3");
        QVERIFY(!f9_->isVisible());
    }

    void QuickGroundEntryWithTheDefaults() {
        TQuickEntryWindow& f10 = app_->QuickEntryWindow();
        QTest::mouseClick(f6_->findChild<QPushButton*>("GroundQuickEntryButton"), Qt::LeftButton);
        QVERIFY(f10.isVisible());
        QCOMPARE(f10.pos(), f6_->EntryWindowPosition());
        QCOMPARE(f10.findChild<QLineEdit*>("ToeElevation")->text(), QStringLiteral("4.0"));
        QCOMPARE(f10.findChild<QComboBox*>("Gradient")->currentText(), QStringLiteral("1.5"));
        QCOMPARE(f10.findChild<QComboBox*>("SlopeHeight")->currentText(), QStringLiteral("1.0"));
        QTest::mouseClick(f10.findChild<QPushButton*>("SetGroundButton"), Qt::LeftButton);
        QVERIFY(!f10.isVisible());
        QCOMPARE(Rows(design_->Layers[0].Boundary),
                 (QStringList{"0,0.00,4.00", "1,34.25,4.00", "2,35.75,5.00", "3,70.00,5.00"}));
        QCOMPARE(GridRows(f6_->findChild<QTableWidget*>("Boundary1")),
                 Rows(design_->Layers[0].Boundary));
        QCOMPARE(f6_->Preview()->Model()->Series[fkLayer1].Points.size(), 4u);
        QCOMPARE(f6_->Preview()->Model()->Series[fkLayer1].Points[1].X, 34.25);
        QCOMPARE(Rows(design_->Layers[1].Boundary).size(), 4);
    }

    // Enter after typing confirms, as the window's main button; Esc cancels.
    void EnterConfirmsAndEscapeCancelsTheQuickEntry() {
        TQuickEntryWindow& f10 = app_->QuickEntryWindow();
        QTest::mouseClick(f6_->findChild<QPushButton*>("GroundQuickEntryButton"), Qt::LeftButton);
        auto* toe = f10.findChild<QLineEdit*>("ToeElevation");
        toe->selectAll();
        QTest::keyClicks(toe, "6.0");
        QTest::keyClick(toe, Qt::Key_Escape);
        QVERIFY(!f10.isVisible());
        QCOMPARE(design_->Layers[0].Boundary.Rows[0].Y, std::string("5.00"));

        QTest::mouseClick(f6_->findChild<QPushButton*>("GroundQuickEntryButton"), Qt::LeftButton);
        QCOMPARE(toe->text(), QStringLiteral("6.0"));
        QTest::keyClick(toe, Qt::Key_Return);
        QVERIFY(!f10.isVisible());
        QCOMPARE(design_->Layers[0].Boundary.Rows[0].Y, std::string("6.00"));
    }

    void QuickGroundEntryRefusesText() {
        TQuickEntryWindow& f10 = app_->QuickEntryWindow();
        QTest::mouseClick(f6_->findChild<QPushButton*>("GroundQuickEntryButton"), Qt::LeftButton);
        f10.findChild<QComboBox*>("SlopeHeight")->setEditText("abc");
        TDialogResponder user;
        QTest::mouseClick(f10.findChild<QPushButton*>("SetGroundButton"), Qt::LeftButton);
        QCOMPARE(user.Seen.size(), 1);
        QVERIFY2(user.Seen[0].Text.contains("abc"), qPrintable(user.Seen[0].Text));
        QVERIFY(f10.isVisible());
        QCOMPARE(design_->Layers[0].Boundary.Rows[1].X, std::string("20.00"));
    }
};

QTEST_MAIN(EntryWindowsTest)
#include "EntryWindowsTest.moc"
