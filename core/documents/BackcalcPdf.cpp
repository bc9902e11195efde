#include "documents/BackcalcPdf.h"

#include <sstream>

#include "documents/PdfDrawing.h"
#include "text/TextFile.h"

namespace sorvanta {

void PdfBackcalcPage(TPDFMaker& maker, std::ostream& out, const TBackcalcReport& report,
                     std::string_view designName) {
    maker.Title = designName;
    maker.Subject = "逆算法";
    maker.Author = "Sorvanta";
    maker.Creator = "円弧滑り検討システム Ver3.5";
    maker.BeginDoc(&out);

    TPdfDocumentDrawer d(maker);
    maker.Contents().FontNumber = TPdfDocumentDrawer::DocumentFont;
    d.PdfBeginPage();
    d.PdfPageFrame();
    d.PdfHeading("逆算法 (c と tanφ の関係)", 12);
    TLineList lines{"設計: " + std::string(designName)};
    lines.insert(lines.end(), report.Lines.begin(), report.Lines.end());
    d.PdfLines(20, 40, lines, 10);
    d.PdfTable(20, 150, "表：c と φ の組", report.Table, 10, 0, 1, 40);
    d.PdfChart(report.Chart, 60, 360, 400, 360);
    maker.EndDoc();
}

void WritePdfBackcalcPage(const std::filesystem::path& path, const TBackcalcReport& report,
                          std::string_view designName) {
    TPDFMaker maker;
    std::ostringstream out;
    PdfBackcalcPage(maker, out, report, designName);
    WriteFileAtomically(path, out.str());
}

}  // namespace sorvanta
