#pragma once
// The design cases in the calculation document: which reports a document
// shows (the 常時 case, the 地震時 case or both), how their titles are
// marked, and the summary of both against their required factors. A report
// of the 常時 case alone gives the document as it always was.

#include <string>
#include <string_view>
#include <vector>

#include "run/CalculationReport.h"

namespace sorvanta {

struct TDocumentCase {
    const TCalculationReport* Report = nullptr;
    // Added to the titles of the case's sections: "" (the 常時 case alone),
    // "常時", or "地震時 (kh=0.15)".
    std::string Mark;
};

// The report's cases in document order. A 地震時 case beside the 常時 one
// without a critical circle is left out; the summary shows it without a
// factor.
[[nodiscard]] std::vector<TDocumentCase> DocumentCases(const TCalculationReport& report);

// The report checks both cases: the document ends with their summary.
[[nodiscard]] bool ShowsBothCases(const TCalculationReport& report);

// "Ⅱ.安全率の計算" marked "地震時 (kh=0.15)": "Ⅱ.安全率の計算 地震時 (kh=0.15)".
[[nodiscard]] std::string CaseTitle(std::string_view title, std::string_view mark);

// The summary's title: Ⅵ, or Ⅶ after a method's own section Ⅵ.
[[nodiscard]] std::string CaseSummaryTitle(const TCalculationReport& report);

// A method other than the ordinary one: each case has a section Ⅵ.
[[nodiscard]] bool HasMethodSection(const TCalculationReport& report);

// 検討ケース, kh, 安全率 Fs, 所要安全率, 判定 (OK or NG) of both cases.
[[nodiscard]] TCellTable CaseSummaryTable(const TCalculationReport& report);

// Section Ⅰ's 計算条件 with the required factor of the case, or of each
// case when both are checked; the list as it stands for the 常時 case alone.
[[nodiscard]] TLineList CaseConditionLines(const TCalculationReport& report);

// The contents page: the chapters of each case under its mark and the
// summary, numbered as the PDF numbers its pages (the second case's
// sections follow the first's on P6 to P9, the summary on P10).
[[nodiscard]] TLineList CaseContentsLines(const TCalculationReport& report);

}  // namespace sorvanta
