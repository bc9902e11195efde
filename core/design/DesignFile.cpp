#include "design/DesignFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "design/DesignFields.h"
#include "design/StoredOptions.h"
#include "text/Conversion.h"
#include "text/Cp932.h"
#include "text/DisplayText.h"
#include "text/TextFile.h"

namespace sorvanta {

// ---------------------------------------------------------------------------
// Comma text of a table row

namespace {

// Blanks of the comma-text rule: every character of code 32 or below. Bytes of
// multi-byte characters are all above 32 in UTF-8 (and in cp932), so a byte
// test treats them as whole characters.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool NeedsQuotes(std::string_view cell) {
    for (char c : cell) {
        if (IsBlank(c) || c == '"' || c == ',') return true;
    }
    return false;
}

void AppendCell(std::string& out, std::string_view cell) {
    if (!NeedsQuotes(cell)) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string RowCommaText(const TCoordinateRow& row) {
    std::string out;
    AppendCell(out, row.No);
    out += ',';
    AppendCell(out, row.X);
    out += ',';
    AppendCell(out, row.Y);
    return out;
}

std::vector<std::string> SplitCommaText(std::string_view line) {
    std::vector<std::string> items;
    std::size_t p = 0;
    const std::size_t n = line.size();
    auto skipBlanks = [&] {
        while (p < n && IsBlank(line[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (line[p] == '"') {
            // Quoted item: a doubled quote stands for one. An unclosed quote
            // takes the rest of the line (the program never writes one).
            ++p;
            while (p < n) {
                if (line[p] == '"') {
                    if (p + 1 < n && line[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += line[p++];
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlank(line[p]) && line[p] != ',') ++p;
            item.assign(line.substr(start, p - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < n && line[p] == ',') {
            if (p + 1 == n) items.emplace_back();  // a "," ending the line: one more, empty item
            ++p;
            skipBlanks();
        }
    }
    return items;
}

TCoordinateRow ParseRowCommaText(std::string_view line) {
    const std::vector<std::string> items = SplitCommaText(line);
    TCoordinateRow row;
    if (items.size() > 0) row.No = items[0];
    if (items.size() > 1) row.X = items[1];
    if (items.size() > 2) row.Y = items[2];
    return row;
}

// ---------------------------------------------------------------------------
// Messages

namespace {

std::string LineLabel(std::size_t lineNumber) {
    return std::to_string(lineNumber) + "行目: ";
}

}  // namespace

// ---------------------------------------------------------------------------
// Writing

namespace {

class TLineWriter {
  public:
    void Text(const std::string& text, std::string_view field) { Row(text, field); }
    void Bool(bool value) { lines_.emplace_back(value ? "TRUE" : "FALSE"); }
    void Int(int value) { lines_.push_back(std::to_string(value)); }
    void Block(const TCoordinateTable& table, std::string_view field) {
        // R counts the grid's heading row, which is not written.
        Int(static_cast<int>(table.Rows.size()) + 1);
        for (const TCoordinateRow& row : table.Rows) Row(RowCommaText(row), field);
    }
    std::vector<std::string> Take() { return std::move(lines_); }

  private:
    void Row(const std::string& text, std::string_view field) {
        // A line break inside a value would shift every later line of the
        // positional file and the design could not be read back.
        if (text.find_first_of("\r\n") != std::string::npos) {
            throw DesignSaveError(std::string(field) +
                                  "に改行が含まれているため、設計条件を保存できません。");
        }
        lines_.push_back(text);
    }

    std::vector<std::string> lines_;
};

void WriteDesign(TLineWriter& w, const TDesignConditions& design);

}  // namespace

std::vector<std::string> DesignFileLines(const TDesignConditions& design) {
    TLineWriter w;
    WriteDesign(w, design);
    return w.Take();
}

std::vector<std::string> DesignFileLines(const TDesignConditions& design,
                                         const TAnalysisOptions& options) {
    for (const TStoredOption& o : StoredOptions()) {
        // The loader refuses a value it cannot read; a file the program
        // writes must load again.
        if (auto problem = StoredOptionProblem(options, o))
            throw DesignSaveError(*problem + "設計条件を保存できません。");
    }
    std::vector<std::string> lines = DesignFileLines(design);
    for (std::string& line : OptionsBlockLines(options)) lines.push_back(std::move(line));
    return lines;
}

namespace {

void WriteDesign(TLineWriter& w, const TDesignConditions& design) {
    for (const TDesignField& f : DesignFields()) {
        switch (f.Value) {
            case TFieldValue::Text:
                w.Text(FieldText(design, f), f.Name);
                break;
            case TFieldValue::Flag:
                w.Bool(design.*f.Flag);
                break;
            case TFieldValue::Index:
                w.Int(design.*f.Index);
                break;
            case TFieldValue::Table:
                w.Block(FieldTable(design, f), f.Name);
                break;
        }
    }
}

}  // namespace

std::string DesignNameOf(const std::filesystem::path& path) {
    const std::u8string stem = path.stem().u8string();
    return EscapeForDisplay(
        std::string_view(reinterpret_cast<const char*>(stem.data()), stem.size()));
}

ConversionError LocateConversionError(const TDesignConditions& design,
                                      const ConversionError& error) {
    const std::vector<TDesignField>& table = DesignFields();
    const std::vector<int> lines = DesignFieldLines(design);
    const auto field = [&](const std::string& text) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].Value == TFieldValue::Text && &FieldText(design, table[i]) == &text)
                return i;
        }
        return std::nullopt;
    };
    // The order in which a run converts them: the model (layer count, the
    // layers in use, the centre mesh, the slice width, the required safety
    // factor, the never-cut elevation), then the checks and the drawing.
    std::vector<const std::string*> order{&design.LayerCount};
    const int layers = std::clamp(TryStrToInt(design.LayerCount).value_or(0), 0, MaxLayers);
    for (int k = 0; k < layers; ++k) {
        const TSoilLayer& layer = design.Layers[static_cast<std::size_t>(k)];
        order.insert(order.end(), {&layer.GammaT, &layer.GammaS, &layer.Phi, &layer.Cohesion});
    }
    order.insert(order.end(),
                 {&design.MeshPitch, &design.MeshCount, &design.MaxSliceWidth, &design.SafetyFactor,
                  &design.NeverCutElevation, &design.LoadIntensity, &design.LoadStartX,
                  &design.LoadEndX, &design.GammaW});
    for (const std::string* text : order) {
        if (*text != error.Text()) continue;
        if (const auto i = field(*text))
            return ConversionError(error.Text(), table[*i].Name, lines[*i]);
    }
    return error;
}

void SaveDesignFile(const std::filesystem::path& path, TDesignConditions& design,
                    const TAnalysisOptions& options) {
    WriteFileAtomically(path, EncodeTextLines(DesignFileLines(design, options)));
    // Only a design that reached the disk takes the file's name.
    design.DesignName = DesignNameOf(path);
}

// ---------------------------------------------------------------------------
// Reading

namespace {

// Ends a load; caught at the top and turned into the result.
struct TLoadFailure {
    std::size_t Line;
    std::string Message;
};

class TLineReader {
  public:
    explicit TLineReader(const std::vector<std::string>& lines) : lines_(lines) {}

    // Number (1-based) of the line read next.
    std::size_t NextLineNumber() const { return next_ + 1; }

    const std::string& Text(std::string_view field) {
        // A file that ends early is damaged: refuse it rather than read the
        // missing values as empty texts.
        if (next_ >= lines_.size()) Fail(NextLineNumber(), EndedMessage(field));
        return lines_[next_++];
    }

    // Only "TRUE" is true; any other text is false.
    bool Bool(std::string_view field) { return Text(field) == "TRUE"; }

    int Int(std::string_view field) {
        const std::size_t lineNumber = NextLineNumber();
        const std::string& text = Text(field);
        try {
            return StrToInt(text);
        } catch (const ConversionError& e) {
            Fail(lineNumber,
                 LineLabel(lineNumber) + std::string(field) + "には整数が必要です。" + e.what());
        }
    }

    int StressType(const std::string& field) {
        const std::size_t lineNumber = NextLineNumber();
        const int value = Int(field);
        // Only the two items of the radio group exist; any other index would
        // reach the calculation as a type that does not exist.
        if (value != 0 && value != 1) {
            Fail(lineNumber, LineLabel(lineNumber) + field + "には 0 または 1 が必要です（'" +
                                 ShortenForMessage(lines_[lineNumber - 1]) + "'）。");
        }
        return value;
    }

    // A table block: R, then R - 1 row lines. R below 2 is refused: the
    // program always writes at least the placeholder row, so a smaller count
    // means a damaged file, and a table is never empty. Rows beyond the
    // table's limit (a hand-edited file) are skipped: the first `limit` rows
    // are kept, as the entry windows would hold no more.
    TCoordinateTable Block(const std::string& field, int limit, int* firstRowLine = nullptr) {
        const std::size_t lineNumber = NextLineNumber();
        const int r = Int(field + "の行数");
        if (r < 2) {
            Fail(lineNumber, LineLabel(lineNumber) + field +
                                 "の行数（見出し行を含む）には 2 以上が必要です（'" +
                                 ShortenForMessage(lines_[lineNumber - 1]) + "'）。");
        }
        const std::size_t rowCount = static_cast<std::size_t>(r) - 1;
        if (rowCount > lines_.size() - next_) {
            next_ = lines_.size();
            Fail(NextLineNumber(), EndedMessage(field + "の行"));
        }
        if (firstRowLine) *firstRowLine = static_cast<int>(NextLineNumber());
        TCoordinateTable table;
        table.Rows.clear();
        for (std::size_t i = 0; i < rowCount; ++i) {
            const std::string& line = Text(field);
            if (i < static_cast<std::size_t>(limit)) table.Rows.push_back(ParseRowCommaText(line));
        }
        return table;
    }

    // Index of the line read next: where the lines after the design begin.
    std::size_t NextIndex() const { return next_; }

    [[noreturn]] static void Fail(std::size_t lineNumber, std::string message) {
        throw TLoadFailure{lineNumber, std::move(message)};
    }

  private:
    std::string EndedMessage(std::string_view field) const {
        return LineLabel(NextLineNumber()) + "ファイルが途中で終わっています（" +
               std::string(field) + "が必要です）。";
    }

    const std::vector<std::string>& lines_;
    std::size_t next_ = 0;
};

// Line of the file on which a codec failure at byte `position` lies, counting
// line ends as the text file reader does (CR LF, or a lone CR or LF).
std::size_t LineOfByte(std::string_view bytes, std::size_t position) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < position && i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            ++line;
        } else if (bytes[i] == '\n') {
            ++line;
        }
    }
    return line;
}

double PreviewValue(const std::string& text, std::size_t lineNumber, std::string_view field) {
    try {
        return StrToFloat(text);
    } catch (const ConversionError& e) {
        throw TLoadFailure{lineNumber, LineLabel(lineNumber) + std::string(field) +
                                           "には数値が必要です。" + e.what()};
    }
}

// The lines after the design's own: nothing, or the options block. Blank
// lines at the very end (an editor's last line end) are no content.
void ReadOptionsBlock(const std::vector<std::string>& lines, std::size_t first,
                      TAnalysisOptions& options) {
    std::size_t end = lines.size();
    while (end > first && lines[end - 1].empty()) --end;
    if (first == end) return;
    if (lines[first] != OptionsBlockMarker) {
        TLineReader::Fail(first + 1, LineLabel(first + 1) + "設計条件の後に、見出し「" +
                                         std::string(OptionsBlockMarker) +
                                         "」のない行があります（'" +
                                         ShortenForMessage(lines[first]) + "'）。");
    }
    std::vector<const TStoredOption*> seen;
    for (std::size_t i = first + 1; i < end; ++i) {
        const std::string& line = lines[i];
        const std::string label = LineLabel(i + 1);
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            TLineReader::Fail(i + 1, label + "オプションは「キー=値」の形で書いて下さい（'" +
                                         ShortenForMessage(line) + "'）。");
        }
        const std::string_view key = std::string_view(line).substr(0, eq);
        const TStoredOption* option = FindStoredOption(key);
        if (!option) {
            TLineReader::Fail(i + 1,
                              label + "不明なオプションです（'" + ShortenForMessage(key) + "'）。");
        }
        if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
            TLineReader::Fail(i + 1, label + "オプション " + std::string(key) + " が2度あります。");
        }
        seen.push_back(option);
        if (auto problem = SetStoredOption(options, *option, std::string_view(line).substr(eq + 1)))
            TLineReader::Fail(i + 1, label + *problem);
    }
}

}  // namespace

TDesignLoadResult TryLoadDesignLines(const std::vector<std::string>& lines,
                                     TDesignConditions& design, TAnalysisOptions& options) {
    TDesignLoadResult result;
    // Everything goes into copies; the design and its options are replaced
    // only when the whole file was read, so a failure never leaves a
    // half-loaded design.
    TDesignConditions loaded = design;
    TAnalysisOptions loadedOptions = options;
    // A file without a block holds the defaults.
    ResetStoredOptions(loadedOptions);
    try {
        TLineReader in(lines);
        int groundFirstLine = 0;
        std::size_t elevationLine = 0;
        for (const TDesignField& f : DesignFields()) {
            switch (f.Value) {
                case TFieldValue::Text:
                    if (f.Id == TFieldId::NeverCutElevation) elevationLine = in.NextLineNumber();
                    FieldText(loaded, f) = in.Text(f.Name);
                    break;
                case TFieldValue::Flag:
                    loaded.*f.Flag = in.Bool(f.Name);
                    break;
                case TFieldValue::Index:
                    loaded.*f.Index = in.StressType(f.Name);
                    break;
                case TFieldValue::Table:
                    FieldTable(loaded, f) = in.Block(
                        f.Name, f.RowLimit,
                        f.Id == TFieldId::Boundary && f.Layer == 0 ? &groundFirstLine : nullptr);
                    break;
            }
        }
        const std::size_t designEnd = in.NextIndex();

        // The window normalises the layer count after a load; doing it here
        // lets the batch tool see the same design.
        NormaliseLayerCount(loaded);

        // Preview axes: the first and last ground rows and the never-cut
        // elevation must be numbers. Converting them one by one names the line.
        const std::vector<TCoordinateRow>& ground = loaded.Layers[0].Boundary.Rows;
        const std::size_t firstLine = static_cast<std::size_t>(groundFirstLine);
        PreviewValue(ground.front().X, firstLine, "地表面（1層目の地層座標）の最初の行のX座標");
        PreviewValue(ground.back().X, firstLine + ground.size() - 1,
                     "地表面（1層目の地層座標）の最後の行のX座標");
        PreviewValue(loaded.NeverCutElevation, elevationLine,
                     DesignField(TFieldId::NeverCutElevation).Name);
        result.Axes = ComputePreviewAxes(loaded);

        ReadOptionsBlock(lines, designEnd, loadedOptions);
    } catch (const TLoadFailure& failure) {
        result.Line = static_cast<int>(failure.Line);
        result.Message = failure.Message;
        return result;
    }
    design = std::move(loaded);
    options = std::move(loadedOptions);
    result.Loaded = true;
    return result;
}

TDesignLoadResult TryLoadDesignBytes(std::string_view bytes, TDesignConditions& design,
                                     TAnalysisOptions& options) {
    std::vector<std::string> lines;
    try {
        lines = DecodeTextLines(bytes);
    } catch (const TextCodecError& e) {
        TDesignLoadResult result;
        const std::size_t line = LineOfByte(bytes, e.Position);
        result.Line = static_cast<int>(line);
        result.Message =
            LineLabel(line) + "cp932（シフトJIS）の文字として読めないバイトがあります。";
        return result;
    }
    return TryLoadDesignLines(lines, design, options);
}

TDesignLoadResult TryLoadDesignFile(const std::filesystem::path& path, TDesignConditions& design,
                                    TAnalysisOptions& options) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path, MaxDesignFileBytes);
    } catch (const FileError& e) {
        TDesignLoadResult result;
        result.Message = e.what();
        return result;
    }
    TDesignLoadResult result = TryLoadDesignBytes(bytes, design, options);
    if (result) design.DesignName = DesignNameOf(path);
    return result;
}

}  // namespace sorvanta
