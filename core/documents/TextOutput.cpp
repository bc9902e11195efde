#include "documents/TextOutput.h"

#include "report/CaseDocument.h"
#include "text/Cp932.h"
#include "text/TextFile.h"

namespace sorvanta {

namespace {

void AddList(std::vector<std::string>& out, const TLineList& list) {
    for (const std::string& line : list) out.push_back("  " + line);
    out.emplace_back();
}

void AddTable(std::vector<std::string>& out, const TCellTable& table, std::size_t width) {
    for (const auto& row : table.Rows) out.push_back(FormatTableRow(row, width));
}

// Only a method other than the ordinary one has values of its own.
void AddMethodSection(std::vector<std::string>& out, const TCircleReport& c,
                      std::string_view mark) {
    if (c.MethodTable.RowCount() == 0) return;
    out.emplace_back();
    out.emplace_back();
    out.push_back(CaseTitle("Ⅵ.分割法の計算値", mark));
    out.emplace_back();
    AddList(out, c.MethodHeadingList);
    out.emplace_back("  表4:滑り円弧の分割法の値一覧");
    out.emplace_back();
    AddTable(out, c.MethodTable, 14);
}

}  // namespace

std::string FormatTableRow(const std::vector<std::string>& cells, std::size_t width) {
    std::string line;
    for (const std::string& cell : cells) {
        const std::size_t length = Cp932Length(cell);
        if (length < width) line.append(width - length, ' ');
        line += cell;
        line += ':';
    }
    return line;
}

namespace {

// Ⅱ to Ⅳ of one case, its section titles marked with the case.
void AddCaseSections(std::vector<std::string>& out, const TDocumentCase& c) {
    const TResultTables& t = c.Report->Results;
    out.push_back(CaseTitle("Ⅱ.安全率の計算", c.Mark));
    out.emplace_back();
    AddList(out, t.FormulaList);
    AddList(out, t.ResultList);
    out.emplace_back("表1:滑り円中心座標と安全率");
    out.emplace_back();
    AddTable(out, t.CentreTable, 12);
    out.emplace_back();
    out.push_back(CaseTitle("Ⅲ.滑り円弧のスライス荷重", c.Mark));
    out.emplace_back();
    AddList(out, t.Circle.SliceHeadingList);
    out.emplace_back("  表2:滑り円弧のスライス荷重一覧");
    out.emplace_back();
    AddTable(out, t.Circle.SliceTable, 14);
    out.emplace_back();
    out.emplace_back();
    out.push_back(CaseTitle("Ⅳ.滑り円弧荷重", c.Mark));
    out.emplace_back();
    AddList(out, t.Circle.LoadHeadingList);
    out.emplace_back();
    out.emplace_back("  表3:滑り円弧の荷重一覧");
    out.emplace_back();
    AddTable(out, t.Circle.LoadTable, 14);
    AddMethodSection(out, t.Circle, c.Mark);
}

}  // namespace

std::vector<std::string> TextOutputLines(const TCalculationReport& report) {
    const TResultTables& t = report.Results;
    std::vector<std::string> out;
    out.emplace_back("円弧すべり検討システムVer3.5");
    out.emplace_back();
    out.emplace_back("Ⅰ.設計条件");
    out.emplace_back("1.地層設定");
    AddList(out, t.LayerSettingsList);
    out.emplace_back("2.土質データ");
    AddTable(out, t.SoilDataTable, 7);
    AddList(out, t.SoilLegendList);
    out.emplace_back("3.計算条件");
    AddList(out, CaseConditionLines(report));
    out.emplace_back("4.地形座標(単位ｍ)");
    AddTable(out, t.CoordinateTable1, 7);
    out.emplace_back();
    bool first = true;
    for (const TDocumentCase& c : DocumentCases(report)) {
        if (!first) {
            out.emplace_back();
            out.emplace_back();
        }
        first = false;
        AddCaseSections(out, c);
    }
    if (ShowsBothCases(report)) {
        out.emplace_back();
        out.emplace_back();
        out.push_back(CaseSummaryTitle(report));
        out.emplace_back();
        AddTable(out, CaseSummaryTable(report), 12);
    }
    return out;
}

std::string TextOutputBytes(const TCalculationReport& report) {
    return EncodeTextLines(TextOutputLines(report));
}

void WriteTextOutput(const TCalculationReport& report, const std::filesystem::path& path) {
    WriteFileAtomically(path, TextOutputBytes(report));
}

}  // namespace sorvanta
