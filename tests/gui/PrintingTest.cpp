// The printed calculation document: every page layout printed to a PDF file
// through the page producer and read back with poppler (pdftotext,
// pdftoppm), and the print commands of the main window with their question,
// preview and printer. SORVANTA_PAGES_DIR keeps the PDF files of the layouts
// there (scripts/print-pages.sh renders them for looking at).
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "../pdf/PdfSampleCalculation.h"
#include "GuiTestSupport.h"
#include "gui/DesignWindow.h"
#include "gui/print/CalculationDocumentPages.h"
#include "gui/print/PageFigures.h"
#include "gui/print/PrintCommands.h"
#include "text/NumberFormat.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

Q_DECLARE_METATYPE(sorvanta::gui::TDocumentPage)
Q_DECLARE_METATYPE(sorvanta::gui::TReportSource)
Q_DECLARE_METATYPE(sorvanta::gui::TCommand)

namespace {

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << program << args << p.readAllStandardError();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF file, pages separated by form feeds.
QStringList PdfPages(const QString& path) {
    QStringList pages = Run("pdftotext", {"-layout", path, "-"}).split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// pdftotext lays out the text with blanks of its own: blanks do not count.
QString WithoutBlanks(QString text) {
    text.remove(QRegularExpression(QStringLiteral("[\\s\u3000]")));
    return text;
}

// The first of `expected` that is not found after the one before it.
QString MissingInOrder(const QString& layoutText, const QStringList& expected) {
    const QString text = WithoutBlanks(layoutText);
    qsizetype at = 0;
    for (const QString& e : expected) {
        const qsizetype found = text.indexOf(WithoutBlanks(e), at);
        if (found < 0) return e;
        at = found + WithoutBlanks(e).size();
    }
    return {};
}

TDocumentPages PagesOf(const pdftest::TSampleCalculation& c, TDocumentPage page,
                       TReportSource source = TReportSource::Results) {
    return TDocumentPages(c.Report, c.Preview, c.Options, c.Drawing, page, source);
}

bool PrintToPdf(const QString& path, const std::vector<TDocumentPages>& layouts) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return PrintDocumentPages(printer, layouts);
}

// Pixels of a page rendered by poppler whose channels differ clearly.
int ColouredPixels(const QString& pdf, const QString& scratch) {
    const QString prefix = scratch + "/page";
    Run("pdftoppm", {"-r", "60", "-png", pdf, prefix});
    QDir dir(scratch);
    int coloured = 0;
    for (const QString& name : dir.entryList({"page*.png"})) {
        const QImage image = QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
                if (std::max({r, g, b}) - std::min({r, g, b}) > 40) ++coloured;
            }
        }
        dir.remove(name);
    }
    return coloured;
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch_;
    std::unique_ptr<pdftest::TSampleCalculation> sample_;

    QString Keep(const QString& name) {
        const QByteArray dir = qgetenv("SORVANTA_PAGES_DIR");
        return dir.isEmpty() ? scratch_.filePath(name)
                             : QDir(QString::fromLocal8Bit(dir)).filePath(name);
    }

  private slots:
    void initTestCase() {
        InstallJapanese();
        QVERIFY(scratch_.isValid());
        for (const char* tool : {"pdftotext", "pdftoppm", "pdfinfo"}) {
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), "poppler-utils is needed");
        }
        sample_ = std::make_unique<pdftest::TSampleCalculation>();
        QVERIFY(sample_->Run.HasCritical);
    }

    void EveryLayoutShowsItsTextsInOrder_data() {
        QTest::addColumn<TDocumentPage>("page");
        QTest::addColumn<TReportSource>("source");
        QTest::addColumn<QStringList>("expected");
        const TResultTables& t = sample_->Report.Results;
        const TArbitraryTables& a = sample_->Report.Arbitrary;
        auto q = [](const std::string& s) { return QString::fromStdString(s).trimmed(); };
        using P = TDocumentPage;
        using S = TReportSource;
        QTest::newRow("contents") << P::Contents << S::Results
                                  << QStringList{"目　　次",   "円弧すべり計算書", "Ⅰ.設計条件",
                                                 "・・・・P1", "Ⅴ.滑り円弧図",     "・・・・P5"};
        QTest::newRow("I") << P::DesignConditions << S::Results
                           << QStringList{"Ⅰ．設計条件",
                                          "1.地層設定",
                                          "4.地形座標データ",
                                          q(t.LayerSettingsList[1]),
                                          "No.",
                                          "X座標",
                                          "地表面",
                                          "2.土質データ",
                                          "1層目",
                                          "せん断抵抗角",
                                          "3.計算条件",
                                          q(t.CalculationConditionsList[3]),
                                          "M.C.P:ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ",
                                          "地形図",
                                          "P-1"};
        QTest::newRow("II") << P::SafetyFactor << S::Results
                            << QStringList{"Ⅱ．安全率の計算",
                                           "安全率は、次式で計算する。",
                                           q(t.ResultList[1]),
                                           "表1：滑り円中心座標と安全率",
                                           "安全率(Fs)",
                                           q(t.CentreTable.Cell(1, 1)),
                                           "P-2"};
        QTest::newRow("III") << P::SliceLoads << S::Results
                             << QStringList{"Ⅲ．滑り円弧スライス荷重",
                                            q(t.Circle.SliceHeadingList[0]),
                                            "ｽﾗｲｽ番号",
                                            "V(体積)は、スライス下面を円弧",
                                            "表:滑り円弧のスライス荷重一覧",
                                            "ｽﾗｲｽNo",
                                            "V5(m3)",
                                            "ΣV(m3)",
                                            "No.01",
                                            q(t.Circle.SliceTable.Cell(1, 1)),
                                            q(t.Circle.SliceTable.Cell(1, 13)),
                                            "No.02",
                                            "P3 - 1"};
        const int totals = t.Circle.LoadTable.RowCount() - 1;
        QTest::newRow("IV") << P::Loads << S::Results
                            << QStringList{"Ⅳ．滑り円弧荷重",
                                           q(t.Circle.LoadHeadingList[0]),
                                           "ｽﾗｲｽNo(座標)",
                                           "tanφ",
                                           "Mr(kNm)",
                                           "Mo(kNm)",
                                           q(t.Circle.LoadTable.Cell(1, 0)),
                                           q(t.Circle.LoadTable.Cell(1, 12)),
                                           "P4 - 1",
                                           "ｽﾗｲｽNo(座標)",
                                           "合計",
                                           q(t.Circle.LoadTable.Cell(totals, 13)),
                                           "P4 - 2"};
        QTest::newRow("V") << P::SlipCircle << S::Results
                           << QStringList{"Ⅴ．滑り円弧図",
                                          "滑り円弧を下記に示す。",
                                          q(t.Circle.JudgementList[1]),
                                          q(t.Circle.JudgementList.back()),
                                          "円弧滑り図",
                                          "P-5"};
        QTest::newRow("arbitrary III")
            << P::SliceLoads << S::Arbitrary
            << QStringList{"Ⅲ．滑り円弧スライス荷重(任意点)", q(a.Circle.SliceHeadingList[0]),
                           "No.01", q(a.Circle.SliceTable.Cell(1, 13)), "P3 - 1"};
        QTest::newRow("arbitrary IV")
            << P::Loads << S::Arbitrary
            << QStringList{"Ⅳ．滑り円弧荷重(任意点)",
                           q(a.Circle.LoadHeadingList[0]),
                           "P4 - 1",
                           "合計",
                           q(a.Circle.LoadTable.Cell(a.Circle.LoadTable.RowCount() - 1, 12)),
                           "P4 - 2"};
        QTest::newRow("arbitrary V")
            << P::SlipCircle << S::Arbitrary
            << QStringList{"Ⅴ．滑り円弧図(任意点)", q(a.Circle.JudgementList[1]), "円弧滑り図",
                           "P-5"};
    }

    void EveryLayoutShowsItsTextsInOrder() {
        QFETCH(TDocumentPage, page);
        QFETCH(TReportSource, source);
        QFETCH(QStringList, expected);
        const QString pdf =
            Keep(QString::fromUtf8(QTest::currentDataTag()).replace(' ', '-') + ".pdf");
        QVERIFY(PrintToPdf(pdf, {PagesOf(*sample_, page, source)}));
        const QString text = PdfPages(pdf).join(QString());
        const QString missing = MissingInOrder(text, expected);
        QVERIFY2(missing.isEmpty(), qPrintable("not found in order: " + missing + "\n" + text));
    }

    // The minimum and arbitrary-point records differ, so each variant is seen
    // to read its own.
    void VariantsReadTheirOwnRecords() {
        const TLineList& minimum = sample_->Report.Results.Circle.JudgementList;
        const TLineList& arbitrary = sample_->Report.Arbitrary.Circle.JudgementList;
        std::size_t i = 0;
        while (i < minimum.size() && i < arbitrary.size() && minimum[i] == arbitrary[i]) ++i;
        QVERIFY(i < minimum.size() && i < arbitrary.size());
        for (TReportSource source : {TReportSource::Results, TReportSource::Arbitrary}) {
            const QString pdf = scratch_.filePath("variants.pdf");
            QVERIFY(PrintToPdf(pdf, {PagesOf(*sample_, TDocumentPage::SlipCircle, source)}));
            const QString text = WithoutBlanks(PdfPages(pdf).join(QString()));
            const bool own = source == TReportSource::Arbitrary;
            QVERIFY(text.contains(
                WithoutBlanks(QString::fromStdString((own ? arbitrary : minimum)[i]))));
            QVERIFY(!text.contains(
                WithoutBlanks(QString::fromStdString((own ? minimum : arbitrary)[i]))));
        }
    }

    // Both design cases: the 地震時 case's Ⅱ to Ⅴ from its own report after
    // the 常時 ones, titles marked and numbered on, then the summary.
    void BothCasesPrintEachCaseAndTheirSummary() {
        TAnalysisOptions options;
        options.Kh = "0.15";
        options.Case = TDesignCase::Both;
        const pdftest::TSampleCalculation both({}, options);
        QVERIFY(both.Report.SeismicCase);
        const auto plain = CalculationDocumentLayouts(sample_->Report, sample_->Preview,
                                                      sample_->Options, sample_->Drawing);
        const auto layouts =
            CalculationDocumentLayouts(both.Report, both.Preview, both.Options, both.Drawing);
        QCOMPARE(plain.size(), std::size_t{6});
        QCOMPARE(layouts.size(), std::size_t{11});
        QCOMPARE(layouts.back().Page(), TDocumentPage::CaseSummary);
        const QString pdf = Keep("both-cases.pdf");
        QVERIFY(PrintToPdf(pdf, layouts));
        const QStringList pages = PdfPages(pdf);
        QCOMPARE(pages.size(), DocumentSheetCount(layouts));
        const QString seismicFs =
            QString::fromStdString(FormatFloat("0.000", both.Report.SeismicCase->Run.Critical.Fs));
        const QString missing =
            MissingInOrder(pages.join(QString()), {"地震時 (kh=0.15)",
                                                   "・・・・P10",
                                                   "=1.20(常時)、1.00(地震時)",
                                                   "Ⅱ．安全率の計算 常時",
                                                   "P-2",
                                                   "Ⅴ．滑り円弧図 常時",
                                                   "P-5",
                                                   "Ⅱ．安全率の計算 地震時 (kh=0.15)",
                                                   "P-6",
                                                   "Ⅲ．滑り円弧スライス荷重 地震時 (kh=0.15)",
                                                   "P7 - 1",
                                                   "Ⅳ．滑り円弧荷重 地震時 (kh=0.15)",
                                                   "P8 - 1",
                                                   "P-9",
                                                   "Ⅵ．検討ケースのまとめ",
                                                   "所要安全率",
                                                   "地震時",
                                                   "0.15",
                                                   seismicFs,
                                                   "1.00",
                                                   "OK",
                                                   "P-10"});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    // 45 slice rows: 37 under the title band on the first sheet, the rest on
    // the second; both sheets head their columns and carry their mark.
    void FortyFiveSliceRowsRunOverTwoSheets() {
        pdftest::TSampleCalculation c;
        c.Report.Results.Circle.SliceTable.SetRowCount(46);
        for (int r = 1; r <= 45; ++r) {
            c.Report.Results.Circle.SliceTable.SetRowCommaList(r, "-,-,-,-,-,-,-,-,-,-,-,-,-,-");
            c.Report.Results.Circle.SliceTable.Cell(r, 0) =
                QStringLiteral("No.%1").arg(r, 2, 10, QChar('0')).toStdString();
            c.Report.Results.Circle.SliceTable.Cell(r, 13) = std::to_string(1000 + r) + ".00";
        }
        const TDocumentPages pages = PagesOf(c, TDocumentPage::SliceLoads);
        QCOMPARE(pages.SheetCount(), 2);
        const QString pdf = Keep("III-45-rows.pdf");
        QVERIFY(PrintToPdf(pdf, {pages}));
        const QStringList text = PdfPages(pdf);
        QCOMPARE(text.size(), 2);
        QVERIFY(text[0].contains(QStringLiteral("Ⅲ．滑り円弧スライス荷重")));
        QVERIFY(!text[1].contains(QStringLiteral("Ⅲ．滑り円弧スライス荷重")));
        QStringList rows;
        for (int r = 1; r <= 45; ++r) rows << QStringLiteral("No.%1").arg(r, 2, 10, QChar('0'));
        for (int s = 0; s < 2; ++s) {
            const QStringList head{"ｽﾗｲｽNo", "b(m)", "H1(m)", "V1(m3)", "ΣH(m)", "ΣV(m3)"};
            QVERIFY2(MissingInOrder(text[s], head).isEmpty(), qPrintable(text[s]));
            QVERIFY(text[s].contains(QStringLiteral("P3 - %1").arg(s + 1)));
        }
        QVERIFY(MissingInOrder(text[0], rows.mid(0, 37) + QStringList{"P3 - 1"}).isEmpty());
        QVERIFY(!text[0].contains(QStringLiteral("No.38")));
        QVERIFY(MissingInOrder(text[1], rows.mid(37) + QStringList{"P3 - 2"}).isEmpty());
        QCOMPARE(text.join(QString()).count(QStringLiteral("1045.00")), 1);
    }

    // A grid figure longer than the page is squeezed above the frame's bottom
    // edge (Ⅱ: above its page mark) with every row still there.
    void LongGridFiguresStayOnTheirPage_data() {
        QTest::addColumn<TDocumentPage>("page");
        QTest::addColumn<double>("limitMm");
        QTest::newRow("coordinates of I") << TDocumentPage::DesignConditions << 282.0;
        QTest::newRow("centres of II") << TDocumentPage::SafetyFactor << 277.3;
    }

    void LongGridFiguresStayOnTheirPage() {
        QFETCH(TDocumentPage, page);
        QFETCH(double, limitMm);
        pdftest::TSampleCalculation c;
        TCellTable& table = page == TDocumentPage::DesignConditions
                                ? c.Report.Results.CoordinateTable1
                                : c.Report.Results.CentreTable;
        table.SetRowCount(150);
        for (int r = 1; r < 150; ++r) table.Cell(r, 0) = "R" + std::to_string(1000 + r);
        const QString pdf = Keep(QStringLiteral("long-%1.pdf").arg(static_cast<int>(page)));
        QVERIFY(PrintToPdf(pdf, {PagesOf(c, page)}));
        QCOMPARE(PdfPages(pdf).size(), 1);
        const QString boxes = Run("pdftotext", {"-bbox", pdf, "-"});
        double lowest = 0;
        int found = 0;
        const QRegularExpression word(QStringLiteral("yMax=\"([0-9.]+)\">R1(\\d\\d\\d)</word>"));
        for (auto m = word.globalMatch(boxes); m.hasNext();) {
            const auto match = m.next();
            lowest = std::max(lowest, match.captured(1).toDouble());
            ++found;
        }
        QCOMPARE(found, 149);
        QVERIFY2(lowest < limitMm / 25.4 * 72, qPrintable(QString::number(lowest)));
    }

    void ForceFormHeadsTheLastColumnsWithForces() {
        pdftest::TSampleCalculation c({}, TAnalysisOptions{.Form = TFsForm::Force});
        const QString pdf = scratch_.filePath("force.pdf");
        QVERIFY(PrintToPdf(pdf, {PagesOf(c, TDocumentPage::Loads)}));
        const QString text = PdfPages(pdf).join(QString());
        QVERIFY2(MissingInOrder(text, {"tanφ", "Fr(kN)", "Fo(kN)"}).isEmpty(), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Mr(kNm)")));
    }

    // Black and white leaves no colour in either figure; colour mode keeps
    // the screen colours (which shows the count would see them).
    void PrintModeDecidesTheFiguresColours_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<TDocumentPage>("page");
        QTest::newRow("colour I") << 0 << TDocumentPage::DesignConditions;
        QTest::newRow("colour V") << 0 << TDocumentPage::SlipCircle;
        QTest::newRow("black and white I") << 1 << TDocumentPage::DesignConditions;
        QTest::newRow("black and white V") << 1 << TDocumentPage::SlipCircle;
    }

    void PrintModeDecidesTheFiguresColours() {
        QFETCH(int, mode);
        QFETCH(TDocumentPage, page);
        sample_->Drawing.PrintMode = mode;
        const QString pdf =
            Keep(QStringLiteral("mode%1-%2.pdf").arg(mode).arg(static_cast<int>(page)));
        const TDocumentPages pages = PagesOf(*sample_, page);
        sample_->Drawing.PrintMode = 0;
        QVERIFY(PrintToPdf(pdf, {pages}));
        QTemporaryDir images;
        const int coloured = ColouredPixels(pdf, images.path());
        if (mode == 1) {
            QCOMPARE(coloured, 0);
        } else {
            QVERIFY2(coloured > 100, qPrintable(QString::number(coloured)));
        }
    }

    // The same producer paints an image of another resolution: the page
    // scales to it and the figure is drawn inside its box.
    void PagesPaintOntoAnImage() {
        constexpr int dpi = 100;
        QImage image(827, 1170, QImage::Format_RGB32);  // A4 at 100 dpi
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PagesOf(*sample_, TDocumentPage::SlipCircle).PaintSheet(painter, 0);
        }
        if (!qEnvironmentVariableIsEmpty("SORVANTA_PAGES_DIR")) image.save(Keep("V-image.png"));
        auto px = [&](double mm) { return qRound(mm / 25.4 * dpi); };
        int inkInFigure = 0, colouredInFigure = 0, inkOutside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                const bool ink = qGray(c) < 160;
                const bool inFigure =
                    x > px(25.4) && x < px(195.0) && y > px(118.5) && y < px(275.4);
                const bool inFrame =
                    x >= px(20) - 2 && x <= px(200) + 2 && y >= px(10) - 2 && y <= px(282) + 2;
                if (inFigure) {
                    inkInFigure += ink ? 1 : 0;
                    colouredInFigure += std::max({qRed(c), qGreen(c), qBlue(c)}) -
                                                    std::min({qRed(c), qGreen(c), qBlue(c)}) >
                                                40
                                            ? 1
                                            : 0;
                } else if (!inFrame) {
                    inkOutside += ink ? 1 : 0;
                }
            }
        }
        QVERIFY2(inkInFigure > 5000, qPrintable(QString::number(inkInFigure)));
        QVERIFY(colouredInFigure > 1000);
        QCOMPARE(inkOutside, 0);
    }

    // The figure takes the screen chart's limits unless both ends are 0; area
    // and line series take the mode's colour, point series are black.
    void ChartFigureCopiesPointsLimitsAndColours() {
        TChartModel screen = MakeResultChart();
        screen.Series[rsGround].Add(0, 0);
        screen.Series[rsGround].Add(10, 5);
        screen.Series[rsRadii].Add(3, 4, "(Xo=3.00)");
        screen.Series[rsSafetyFactor].Add(1, 1, "1.25", TRgb{255, 255, 0});
        screen.Bottom = TAxisRange{-5, 15};
        screen.Left = TAxisRange{0, 0};
        for (int mono : {0, 1}) {
            TChartModel figure = MakeCircleFigure();
            figure.Left = TAxisRange{1, 2};
            TPagePainter::CopyChartFigure(screen, figure, mono);
            QVERIFY(figure.Bottom == TAxisLimits(TAxisRange{-5, 15}));
            QVERIFY(!figure.Left);
            const TRgb ground = mono ? TRgb{0, 0, 0} : screen.Series[rsGround].Colour;
            QCOMPARE(figure.Series[rsGround].Points.size(), std::size_t{2});
            QVERIFY(figure.Series[rsGround].PointColour(1) == ground);
            QVERIFY(figure.Series[rsGround].Hatched);
            QVERIFY(!figure.Series[rsGround].Points[1].Label);
            QVERIFY(figure.Series[rsRadii].Points[0].Label ==
                    std::optional<std::string>("(Xo=3.00)"));
            QVERIFY(figure.Series[rsRadii].PointColour(0) ==
                    (mono ? TRgb{0, 0, 0} : TRgb{0, 0, 255}));
            QVERIFY(figure.Series[rsSafetyFactor].PointColour(0) == (TRgb{0, 0, 0}));
            QVERIFY(figure.Series[rsSafetyFactor].Points[0].Label ==
                    std::optional<std::string>("1.25"));
        }

        // The 最大必要抑止力円 (a series after the thirteen) comes with the
        // chart, in the mode's colour, and goes with it from a reused figure.
        TChartModel figure = MakeCircleFigure();
        TChartSeries most;
        most.Colour = TRgb{255, 0, 255};
        most.Add(1, 1);
        most.Add(2, 0);
        screen.Series.push_back(most);
        TPagePainter::CopyChartFigure(screen, figure, 1);
        QCOMPARE(figure.Series.size(), std::size_t(ResultSeriesCount) + 1);
        QCOMPARE(figure.Series.back().Points, most.Points);
        QVERIFY(figure.Series.back().Colour == (TRgb{0, 0, 0}));
        screen.Series.pop_back();
        TPagePainter::CopyChartFigure(screen, figure, 0);
        QCOMPARE(figure.Series.size(), std::size_t(ResultSeriesCount));
    }

    void NoAtTheQuestionPrintsNothing() {
        auto app = StartApp();
        const QString pdf = scratch_.filePath("no.pdf");
        app->Printing().Printer().setOutputFormat(QPrinter::PdfFormat);
        app->Printing().Printer().setOutputFileName(pdf);
        TDialogResponder user;
        user.AnswerYes = false;
        app->MainWindow().ToolAction(TCommand::Print)->trigger();
        QCOMPARE(user.Texts(), QStringList{PrintQuestion(6)});
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(app->DesignWindow().isVisible());
    }

    void YesPrintsTheSixLayoutsAndReports() {
        auto app = StartApp();
        const QString pdf = Keep("document.pdf");
        QFile::remove(pdf);
        app->Printing().Printer().setOutputFormat(QPrinter::PdfFormat);
        app->Printing().Printer().setOutputFileName(pdf);
        TDialogResponder user;
        app->MainWindow().MenuAction(TCommand::Print)->trigger();
        QCOMPARE(user.Texts(), (QStringList{"プリンターの準備はいいですか。\n６枚出力します。",
                                            "計算書をファイルに出力しました。\n" +
                                                QDir::toNativeSeparators(pdf)}));
        const QStringList pages = PdfPages(pdf);
        // The sample's tables before any run hold their header rows only.
        QCOMPARE(pages.size(), 6);
        QVERIFY(MissingInOrder(pages.join(QString()),
                               {"目　　次", "P-1", "P-2", "P3 - 1", "P4 - 1", "P-5"})
                    .isEmpty());
        // Ⅳ alone is landscape.
        const QString info = Run("pdfinfo", {"-f", "1", "-l", "6", pdf});
        QCOMPARE(info.count(QStringLiteral("595 x 842 pts (A4)")), 5);
        QCOMPARE(info.count(QStringLiteral("Page    5 size:  842 x 595 pts (A4)")), 1);
        QVERIFY(app->DesignWindow().isVisible());
    }

    // The question counts the sheets the printer gets: one each for the
    // contents, Ⅰ, Ⅱ and Ⅴ, and as many as the tables of Ⅲ and Ⅳ run over.
    void QuestionCountsTheSheetsPrinted_data() {
        QTest::addColumn<int>("sliceRows");
        QTest::addColumn<int>("loadRows");
        QTest::addColumn<QString>("sheets");
        QTest::newRow("before any run") << 0 << 0 << "６";
        QTest::newRow("45 slices") << 45 << 0 << "７";
        QTest::newRow("45 slices and 60 loads") << 45 << 60 << "９";
        QTest::newRow("ten or more") << 200 << 100 << "１３";
    }

    void QuestionCountsTheSheetsPrinted() {
        QFETCH(int, sliceRows);
        QFETCH(int, loadRows);
        QFETCH(QString, sheets);
        auto app = StartApp();
        auto fill = [](TCellTable& table, int rows) {
            table.SetRowCount(rows + 1);
            for (int r = 1; r <= rows; ++r)
                table.SetRowCommaList(r,
                                      "No.,1.00,2.00,3.00,4.00,5.00,6.00,7.00,8.00,9.00,10.0,"
                                      "11.0,12.0,13.0");
        };
        if (sliceRows > 0) fill(app->Context().Report.Results.Circle.SliceTable, sliceRows);
        if (loadRows > 0) fill(app->Context().Report.Results.Circle.LoadTable, loadRows);
        const QString pdf = scratch_.filePath("sheets.pdf");
        QFile::remove(pdf);
        app->Printing().Printer().setOutputFormat(QPrinter::PdfFormat);
        app->Printing().Printer().setOutputFileName(pdf);
        TDialogResponder user;
        app->MainWindow().MenuAction(TCommand::Print)->trigger();
        QVERIFY(!user.Texts().isEmpty());
        QCOMPARE(user.Texts().front(),
                 QStringLiteral("プリンターの準備はいいですか。\n%1枚出力します。").arg(sheets));
        QString number = sheets;
        for (QChar& c : number) c = QChar(c.unicode() - u'０' + u'0');
        QCOMPARE(PdfPages(pdf).size(), number.toInt());
    }

    // Without a printer the document goes to a file in the current folder,
    // and the report names it; the next print follows the folder.
    void WithoutAPrinterTheDocumentGoesToAFile() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed");
        QTemporaryDir first, second;
        const QString before = QDir::currentPath();
        const QString name = QString::fromUtf8(kPrintFileName);
        {
            TAppState context;
            TPrintCommands commands(context, nullptr);
            for (const QTemporaryDir* dir : {&first, &second}) {
                QDir::setCurrent(dir->path());
                TDialogResponder user;
                commands.PrintCalculationDocument();
                QCOMPARE(user.Texts().size(), 2);
                QCOMPARE(user.Texts()[1],
                         "プリンターがないため、計算書をファイルに出力しました。\n" +
                             QDir::toNativeSeparators(dir->filePath(name)));
            }
        }
        QDir::setCurrent(before);
        QCOMPARE(PdfPages(first.filePath(name)).size(), 6);
        QCOMPARE(PdfPages(second.filePath(name)).size(), 6);
    }

    // Each menu item opens the modal preview of its page, in Japanese, with
    // the design window hidden until it closes; Ⅳ alone is landscape.
    void MenuPreviewsItsPage_data() {
        QTest::addColumn<TCommand>("command");
        QTest::newRow("contents") << TCommand::PreviewContents;
        QTest::newRow("I") << TCommand::PreviewDesign;
        QTest::newRow("II") << TCommand::PreviewSafetyFactor;
        QTest::newRow("III") << TCommand::PreviewSliceLoads;
        QTest::newRow("IV") << TCommand::PreviewLoads;
        QTest::newRow("V") << TCommand::PreviewFigure;
        QTest::newRow("arbitrary III") << TCommand::PreviewArbitrarySliceLoads;
        QTest::newRow("arbitrary IV") << TCommand::PreviewArbitraryLoads;
        QTest::newRow("arbitrary V") << TCommand::PreviewArbitraryFigure;
    }

    void MenuPreviewsItsPage() {
        QFETCH(TCommand, command);
        auto app = StartApp();
        QVERIFY(app->DesignWindow().isVisible());
        bool designHidden = false;
        int pageCount = -1;
        QString title;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            designHidden = !app->DesignWindow().isVisible();
            title = dialog->windowTitle();
            orientation = dialog->printer()->pageLayout().orientation();
            if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
                pageCount = widget->pageCount();
            if (command == TCommand::PreviewDesign &&
                !qEnvironmentVariableIsEmpty("SORVANTA_PAGES_DIR")) {
                dialog->resize(900, 1000);
                dialog->grab().save(Keep("preview.png"));
            }
            dialog->reject();
        });
        app->MainWindow().MenuAction(command)->trigger();
        QVERIFY(designHidden);
        QCOMPARE(title, QStringLiteral("計算書ﾌﾟﾚﾋﾞｭｰ"));
        QCOMPARE(pageCount, 1);
        const bool loads =
            command == TCommand::PreviewLoads || command == TCommand::PreviewArbitraryLoads;
        QCOMPARE(orientation, loads ? QPageLayout::Landscape : QPageLayout::Portrait);
        QVERIFY(app->DesignWindow().isVisible());
    }

    // Every window the preview or the print hides comes back as it was;
    // besides, the design and result windows are shown after each, and the
    // arbitrary-point table window after its own pages.
    void WindowsComeBackAsTheyWere_data() {
        QTest::addColumn<int>("command");  // 0 minimum preview, 1 arbitrary preview, 2 print
        // results, design, arbitrary, diagram, chart
        QTest::addColumn<QList<bool>>("before");
        QTest::addColumn<QList<bool>>("after");
        const QList<bool> all{true, true, true, true, true};
        const QList<bool> none{false, false, false, false, false};
        QTest::newRow("minimum preview, all shown") << 0 << all << all;
        QTest::newRow("arbitrary preview, all shown") << 1 << all << all;
        QTest::newRow("print, all shown") << 2 << all << all;
        QTest::newRow("minimum preview, none shown")
            << 0 << none << QList<bool>{true, true, false, false, false};
        QTest::newRow("arbitrary preview, none shown")
            << 1 << none << QList<bool>{true, true, true, false, false};
        QTest::newRow("print, none shown")
            << 2 << none << QList<bool>{true, true, false, false, false};
        QTest::newRow("print, arbitrary-point windows shown")
            << 2 << QList<bool>{false, false, true, false, true}
            << QList<bool>{true, true, true, false, true};
    }

    void WindowsComeBackAsTheyWere() {
        QFETCH(int, command);
        QFETCH(QList<bool>, before);
        QFETCH(QList<bool>, after);
        TAppState context;
        std::array<QWidget, 5> windows;
        for (int i = 0; i < 5; ++i) windows[static_cast<std::size_t>(i)].setVisible(before[i]);
        TPrintCommands commands(context, nullptr);
        commands.SetWindows({&windows[0], &windows[1], &windows[2], &windows[3], &windows[4]});
        commands.Printer().setOutputFormat(QPrinter::PdfFormat);
        commands.Printer().setOutputFileName(scratch_.filePath("windows.pdf"));
        int hiddenWhileOpen = 0;
        TDialogResponder user;  // the print question and its report
        QTimer::singleShot(0, [&] {
            for (QWidget& w : windows) hiddenWhileOpen += w.isHidden() ? 1 : 0;
            if (auto* dialog =
                    qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        if (command == 2) {
            commands.PrintCalculationDocument();
            QCOMPARE(user.Texts().size(), 2);
        } else {
            commands.ShowPage(TDocumentPage::SlipCircle,
                              command == 1 ? TReportSource::Arbitrary : TReportSource::Results,
                              TShowMode::Preview);
            QCOMPARE(hiddenWhileOpen, 5);
        }
        for (int i = 0; i < 5; ++i)
            QCOMPARE(windows[static_cast<std::size_t>(i)].isVisible(), after[i]);
    }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
