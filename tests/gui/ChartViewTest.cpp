// The chart widget on its own, as the result windows will use it: painting of
// areas, lines and markers from a chart model, pixel <-> axis conversion and
// the zoom and restore gestures.
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/TChartView.h"

using namespace sorvanta;
using namespace sorvanta::gui;
using namespace sorvanta::gui::test;

namespace {

TChartModel Model() {
    TChartModel m;
    m.Title = "試験";
    m.ShowLegend = false;
    m.Bottom = TAxisRange{0, 10};
    m.Left = TAxisRange{0, 10};
    TChartSeries area;
    area.Kind = TSeriesKind::Area;
    area.Colour = {255, 0, 0};
    area.Add(0, 5);
    area.Add(10, 5);
    m.Series.push_back(area);
    TChartSeries points;
    points.Kind = TSeriesKind::Point;
    points.Marker = TMarkerStyle::Circle;
    points.Colour = {0, 255, 0};
    points.Add(5, 8, std::nullopt, TRgb{0, 0, 255});
    m.Series.push_back(points);
    return m;
}

QColor PixelAt(const TChartView& view, QPointF value) {
    QImage image(view.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    view.Render(painter, image.rect());
    painter.end();
    return image.pixelColor(view.AxisToPixel(value).toPoint());
}

}  // namespace

class ChartViewTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallJapanese(); }

    void PaintsAreasToTheBottomAndPointColours() {
        TChartModel model = Model();
        TChartView view;
        view.resize(400, 300);
        view.SetModel(&model);
        QCOMPARE(PixelAt(view, {5, 2}), QColor(255, 0, 0));    // below the area's line
        QCOMPARE(PixelAt(view, {5, 6.5}), QColor(Qt::white));  // above it: the back wall
        QCOMPARE(PixelAt(view, {5, 8}), QColor(0, 0, 255));    // the point's own colour
    }

    void ConvertsBetweenPixelsAndAxes() {
        TChartModel model = Model();
        TChartView view;
        view.resize(400, 300);
        view.SetModel(&model);
        const QPointF p = view.AxisToPixel({2.5, 7.5});
        QVERIFY(view.PlotRect().contains(p));
        const QPointF back = view.PixelToAxis(p);
        QVERIFY(std::abs(back.x() - 2.5) < 1e-9 && std::abs(back.y() - 7.5) < 1e-9);
        // Without fixed limits the axes span the data.
        model.Bottom.reset();
        QVERIFY(std::abs(view.PixelToAxis(view.PlotRect().topRight()).x() - 10) < 1e-9);
    }

    void RestoreReturnsToTheViewBeforeZooming() {
        TChartModel model = Model();
        TChartView view;
        view.resize(400, 300);
        view.SetModel(&model);
        const QRectF plot = view.PlotRect();
        view.ZoomToRect(QRectF(plot.center(), plot.bottomRight()));
        view.PanPixels({20, 0});
        QVERIFY(model.Bottom->Min > 4);
        view.RestoreView();
        QCOMPARE(*model.Bottom, (TAxisRange{0, 10}));

        // Limits set by the program between gestures are the new view to return to.
        view.ZoomToRect(QRectF(plot.center(), plot.bottomRight()));
        model.Bottom = TAxisRange{-5, 5};
        view.ZoomToRect(QRectF(plot.center(), plot.bottomRight()));
        view.RestoreView();
        QCOMPARE(*model.Bottom, (TAxisRange{-5, 5}));

        // A chart with a home view returns there; one without scales itself.
        view.SetRestoreMode(TChartView::TRestoreMode::Home);
        view.ZoomToRect(QRectF(plot.center(), plot.bottomRight()));
        view.RestoreView();
        QVERIFY(!model.Bottom && !model.Left);
        model.HomeBottom = TAxisRange{-20, 20};
        model.HomeLeft = TAxisRange{-10, 30};
        view.ZoomToRect(QRectF(plot.center(), plot.bottomRight()));
        view.RestoreView();
        QCOMPARE(*model.Bottom, (TAxisRange{-20, 20}));
        QCOMPARE(*model.Left, (TAxisRange{-10, 30}));
    }

    // A click (no drag) inside the plot is reported at the press position;
    // a drag is a gesture, and a click outside the plot is no point.
    void ClicksAreTellingPointsDragsAreGestures() {
        TChartModel model = Model();
        TChartView view;
        view.resize(400, 300);
        view.SetModel(&model);
        QList<QPointF> clicks;
        connect(&view, &TChartView::Clicked,
                [&](double x, double y, Qt::MouseButton) { clicks << QPointF(x, y); });
        const QPoint at = view.AxisToPixel({2.5, 7.5}).toPoint();
        QTest::mouseClick(&view, Qt::LeftButton, {}, at);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks[0], view.PixelToAxis(at));

        QTest::mousePress(&view, Qt::LeftButton, {}, at);
        MovePointer(&view, at + QPoint(40, 40), Qt::LeftButton);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, at + QPoint(40, 40));
        QCOMPARE(clicks.size(), 1);
        QVERIFY(model.Bottom->Min > 2);  // zoomed

        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicks.size(), 1);
    }
};

QTEST_MAIN(ChartViewTest)
#include "ChartViewTest.moc"
