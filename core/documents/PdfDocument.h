#pragma once
// The calculation document (円弧すべり計算書) as a PDF file: a contents page
// and the sections Ⅰ to Ⅴ, copied line by line and cell by cell from the
// calculation report's tables and redrawn from its charts, always in ＭＳ 明朝.

#include <filesystem>
#include <ostream>
#include <string_view>

#include "pdf/PDFMaker.h"
#include "run/CalculationReport.h"
#include "views/ChartModel.h"

namespace sorvanta {

inline constexpr std::string_view PdfDocumentFileName = "円弧滑り検討システム.pdf";

// Writes the document of the critical (minimum safety factor) circle through
// maker into out. groundChart is the design window's "地形図", designName the
// design's name as it stands.
void PdfMinimumDocument(TPDFMaker& maker, std::ostream& out, const TCalculationReport& report,
                        const TChartModel& groundChart, std::string_view designName);
// The document of the arbitrary-point circle: contents and sections Ⅰ and Ⅱ
// from the result tables, Ⅲ to Ⅴ from the arbitrary-point tables and chart.
void PdfArbitraryDocument(TPDFMaker& maker, std::ostream& out, const TCalculationReport& report,
                          const TChartModel& groundChart, std::string_view designName);

// The same into a file, replacing it. The document is built first and the
// file replaced whole, so a failure leaves an existing file as it was; a file
// that cannot be written throws FileError (text/TextFile.h) with a Japanese
// message naming it. The creation date is the local time, or
// SOURCE_DATE_EPOCH when set.
void WritePdfMinimumDocument(const std::filesystem::path& path, const TCalculationReport& report,
                             const TChartModel& groundChart, std::string_view designName);
void WritePdfArbitraryDocument(const std::filesystem::path& path, const TCalculationReport& report,
                               const TChartModel& groundChart, std::string_view designName);

}  // namespace sorvanta
