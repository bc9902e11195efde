#pragma once
// The design conditions file: a positional text file (cp932, CR LF), one value
// per line, the coordinate tables as counted blocks of comma-text rows. A file
// written by the program reads back into the same design, byte for byte.
// After the design's own lines, the options that differ from their defaults
// follow as a block of "key=value" lines (StoredOptions.h); a design with
// default options has no block, and its file is what it always was.

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "design/AnalysisOptions.h"
#include "design/DesignConditions.h"
#include "text/Conversion.h"

namespace sorvanta {

// A design that cannot be written as it stands (a text holding a line break
// would shift every following line of the positional file). what() is Japanese
// and names the field.
class DesignSaveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Comma text of one table row (No., X, Y). A cell holding a character of code
// 32 or below, a double quote or a comma is quoted, inner quotes doubled.
std::string RowCommaText(const TCoordinateRow& row);
// Reads the items of a comma-text line; items beyond the third are dropped,
// cells without an item stay empty.
TCoordinateRow ParseRowCommaText(std::string_view line);
// Every item of a comma-text line, for tests of the reading rule.
std::vector<std::string> SplitCommaText(std::string_view line);

// The design's own lines of the file (UTF-8, without line ends), in file
// order. Throws DesignSaveError when a text holds CR or LF.
std::vector<std::string> DesignFileLines(const TDesignConditions& design);
// The whole file: the design's lines, then the options block. Throws
// DesignSaveError also for an option whose value the loader would refuse,
// so that every file the program writes loads again.
std::vector<std::string> DesignFileLines(const TDesignConditions& design,
                                         const TAnalysisOptions& options);

// Writes the file beside-and-rename, so a failed write never destroys the
// previous file. Sets DesignName to the file's stem only when the file was
// written. Throws DesignSaveError, TextCodecError or FileError (Japanese what()).
void SaveDesignFile(const std::filesystem::path& path, TDesignConditions& design,
                    const TAnalysisOptions& options);

// Outcome of a load. On failure nothing of the design was changed.
struct TDesignLoadResult {
    bool Loaded = false;
    TPreviewAxes Axes;    // preview ranges of the loaded design (when Loaded)
    int Line = 0;         // 1-based line that failed; 0 when the file was not read at all
    std::string Message;  // one Japanese line naming the line and what was expected

    explicit operator bool() const { return Loaded; }
};

// Reads the file into copies of `design` and `options` (fields and options
// not in the file keep their values; the stored options the file does not
// name take their defaults) and replaces both only when every line was read
// and the preview axes computed. DesignName becomes the file's stem on
// success only.
[[nodiscard]] TDesignLoadResult TryLoadDesignFile(const std::filesystem::path& path,
                                                  TDesignConditions& design,
                                                  TAnalysisOptions& options);

// The same from the file's bytes; DesignName is left alone.
[[nodiscard]] TDesignLoadResult TryLoadDesignBytes(std::string_view bytes,
                                                   TDesignConditions& design,
                                                   TAnalysisOptions& options);

// The same from lines already decoded to UTF-8; DesignName is left alone.
[[nodiscard]] TDesignLoadResult TryLoadDesignLines(const std::vector<std::string>& lines,
                                                   TDesignConditions& design,
                                                   TAnalysisOptions& options);

// File name without folder and extension, as DesignName holds it. Bytes of the
// name that are not UTF-8 (a Shift-JIS name from a Windows archive) and control
// characters are written as "\xNN", so that every output can hold the name.
std::string DesignNameOf(const std::filesystem::path& path);

// A design file is a few kilobytes; anything above this is not one, and is
// refused before it is read whole.
inline constexpr std::size_t MaxDesignFileBytes = 1024 * 1024;

// A conversion failure of a run on `design`, located: the field whose text
// failed, named as the load's messages name it, with its line in the design
// file as the program writes it. The first field in the order the run
// converts them that holds the failed text is the one that failed. A text no
// field holds gives the error unchanged.
[[nodiscard]] ConversionError LocateConversionError(const TDesignConditions& design,
                                                    const ConversionError& error);

}  // namespace sorvanta
