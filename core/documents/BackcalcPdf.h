#pragma once
// The back-calculation page (逆算法) as a one-page PDF: the inputs and the
// line's equation, the table of c–φ pairs and the c–tanφ chart, in the
// calculation document's frame and fonts.

#include <filesystem>
#include <ostream>
#include <string_view>

#include "pdf/PDFMaker.h"
#include "report/BackcalcReport.h"

namespace sorvanta {

void PdfBackcalcPage(TPDFMaker& maker, std::ostream& out, const TBackcalcReport& report,
                     std::string_view designName);

// The same into a file, replaced whole (FileError when it cannot be written).
void WritePdfBackcalcPage(const std::filesystem::path& path, const TBackcalcReport& report,
                          std::string_view designName);

}  // namespace sorvanta
