#pragma once
// The text output "円弧すべり.txt": the report's result tables line by line
// and cell by cell, cp932 with CR LF.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "run/CalculationReport.h"

namespace sorvanta {

inline constexpr const char* TextOutputFileName = "円弧すべり.txt";

// One table row: every cell right-aligned in a field of `width` cp932 bytes
// (a longer cell is written whole) and followed by ":".
std::string FormatTableRow(const std::vector<std::string>& cells, std::size_t width);

// The lines of the text output (UTF-8, without line ends).
std::vector<std::string> TextOutputLines(const TCalculationReport& report);

// The file's bytes: cp932, CR LF after every line. Throws TextCodecError.
std::string TextOutputBytes(const TCalculationReport& report);

// Writes the file whole or not at all (FileError, TextCodecError).
void WriteTextOutput(const TCalculationReport& report, const std::filesystem::path& path);

}  // namespace sorvanta
