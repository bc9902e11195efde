#include "report/CaseDocument.h"

#include <cmath>

#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

bool IsSeismic(const TRunResult& run) {
    return run.Case == TDesignCase::Seismic;
}

double KhOf(const TRunResult& run) {
    return run.Model ? run.Model->Loads.Kh : 0.0;
}

std::string KhText(double kh) {
    return FormatFloat("0.00##", kh);
}

std::string SeismicMark(const TRunResult& run) {
    return "地震時 (kh=" + KhText(KhOf(run)) + ")";
}

std::string RequiredText(const TRunResult& run) {
    return run.Model ? FormatFloat("0.00##", run.Model->RequiredFs) : std::string("-");
}

std::size_t Characters(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// A chapter line of the contents page: the name filled with ideographic
// spaces to 16 characters, so that the page references line up.
std::string Chapter(std::string_view name, int page) {
    std::string line = "　" + std::string(name);
    for (std::size_t n = Characters(line); n < 16; ++n) line += "　";
    return line + "・・・・P" + std::to_string(page);
}

}  // namespace

bool ShowsBothCases(const TCalculationReport& report) {
    return report.SeismicCase != nullptr;
}

std::vector<TDocumentCase> DocumentCases(const TCalculationReport& report) {
    if (!ShowsBothCases(report))
        return {{&report, IsSeismic(report.Run) ? SeismicMark(report.Run) : std::string()}};
    std::vector<TDocumentCase> cases{{&report, "常時"}};
    const TCalculationReport& seismic = *report.SeismicCase;
    if (seismic.Run.HasCritical) cases.push_back({&seismic, SeismicMark(seismic.Run)});
    return cases;
}

std::string CaseTitle(std::string_view title, std::string_view mark) {
    std::string text(title);
    if (!mark.empty()) text.append(" ").append(mark);
    return text;
}

TCellTable CaseSummaryTable(const TCalculationReport& report) {
    TCellTable table(5, {80, 45, 65, 65, 40}, 17, "検討ケース,kh,安全率 Fs,所要安全率,判定", 1);
    if (!ShowsBothCases(report)) return table;
    for (const TCalculationReport* r : {&report, report.SeismicCase.get()}) {
        const TRunResult& run = r->Run;
        const bool seismic = IsSeismic(run);
        std::string verdict = "-";
        if (run.HasCritical) verdict = run.Judgement.Verdict == TVerdict::Outside ? "NG" : "OK";
        table.Rows.push_back(
            {seismic ? "地震時" : "常時", seismic ? KhText(KhOf(run)) : "-",
             run.HasCritical ? FormatFloat("0.000;-0.000", run.Critical.Fs) : std::string("-"),
             RequiredText(run), verdict});
    }
    return table;
}

TLineList CaseConditionLines(const TCalculationReport& report) {
    TLineList lines = report.Results.CalculationConditionsList;
    const bool both = ShowsBothCases(report);
    if (!both && !IsSeismic(report.Run)) return lines;
    const std::string_view label = "  (1)必要安全率    =";
    for (std::string& line : lines) {
        if (!line.starts_with(label)) continue;
        if (both) {
            line += "(常時)、" + RequiredText(report.SeismicCase->Run) + "(地震時)";
        } else {
            line = std::string(label) + RequiredText(report.Run) + "(地震時)";
        }
    }
    return lines;
}

TLineList CaseContentsLines(const TCalculationReport& report) {
    const TLineList& plain = report.Results.ContentsList;
    if (!ShowsBothCases(report) || plain.size() < 6) return plain;
    TLineList lines(plain.begin(), plain.begin() + 6);
    lines.insert(lines.end(), {"", "", Chapter("Ⅰ.設計条件", 1)});
    int page = 2;
    for (const TDocumentCase& c : DocumentCases(report)) {
        lines.insert(lines.end(), {"", "", "　" + c.Mark});
        for (const char* name :
             {"Ⅱ.安全率の計算", "Ⅲ.滑り円弧スライス荷重", "Ⅳ.滑り円弧荷重", "Ⅴ.滑り円弧図"}) {
            lines.emplace_back();
            lines.push_back(Chapter(name, page++));
        }
        if (HasMethodSection(*c.Report)) {
            lines.emplace_back();
            lines.push_back(Chapter("Ⅵ.分割法の計算値", page++));
        }
    }
    lines.insert(lines.end(), {"", "", Chapter(CaseSummaryTitle(report), page)});
    return lines;
}

bool HasMethodSection(const TCalculationReport& report) {
    return report.Results.Circle.MethodTable.RowCount() > 0;
}

std::string CaseSummaryTitle(const TCalculationReport& report) {
    return HasMethodSection(report) ? "Ⅶ.検討ケースのまとめ" : "Ⅵ.検討ケースのまとめ";
}

}  // namespace sorvanta
