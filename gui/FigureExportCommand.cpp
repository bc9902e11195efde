#include "gui/FigureExportCommand.h"

#include <QDir>
#include <exception>
#include <filesystem>

#include "documents/Figures.h"
#include "gui/OutputMessages.h"
#include "gui/TChartView.h"
#include "gui/Texts.h"
#include "run/AppState.h"

namespace sorvanta::gui {

namespace {

void Apply(const TChartView* view, TFigureSize& size, TChartStyle& style) {
    if (!view) return;
    // A view never shown has only its minimum size; its window would give it
    // the default one.
    if (view->HasBeenShown()) size = {view->width(), view->height()};
    style = view->Style();
}

}  // namespace

void FigureExportCommand(QWidget* parent, const TAppState& context, const TChartView* preview,
                         const TChartView* result, const TChartView* arbitrary) {
    if (!AskYesNo(
            parent, QMessageBox::Question,
            QStringLiteral(
                "各図をﾒﾀﾌｧｲﾙとして保存します。\nﾜｰﾄﾞ等に挿入して使用できます。\n保存しますか"),
            QStringLiteral("FigureExportQuestion"), QMessageBox::Yes, QPoint(0, 80)))
        return;
    QStringList names;
    for (const char* figure : {PreviewFigureName, ResultFigureName, ArbitraryFigureName}) {
        for (const char* suffix : {".wmf", ".svg"}) names << QString::fromUtf8(figure) + suffix;
    }
    if (!ConfirmReplace(parent, names)) return;

    TFigureSizes sizes;
    TFigureStyles styles;
    Apply(preview, sizes.Preview, styles.Preview);
    Apply(result, sizes.Result, styles.Result);
    Apply(arbitrary, sizes.Arbitrary, styles.Arbitrary);
    try {
        WriteFigures(std::filesystem::path(QDir::currentPath().toStdU16String()), context.Preview,
                     context.Report, sizes, styles);
    } catch (const std::exception& e) {
        Warn(parent, QString::fromUtf8(e.what()), QStringLiteral("FigureExportError"));
        return;
    }
    Inform(parent, QStringLiteral("ファイルを保存しました。"), QStringLiteral("FigureExportDone"));
}

}  // namespace sorvanta::gui
