#include "design/DesignFile.h"

#include <algorithm>
#include <string>
#include <utility>

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
// Names of the file's fields, for messages

namespace {

std::string LayerField(int layerIndex, std::string_view what) {
    return std::to_string(layerIndex + 1) + "層目の" + std::string(what);
}

std::string BoundaryName(int layerIndex) {
    return LayerField(layerIndex, "地層座標");
}

const char* const WaterTableName = "地下水位座標";
const char* const StressTypeName = "剪断抵抗計算種別";
const char* const NeverCutElevationName = "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)";
const char* const NeverCutLineName = "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の座標";
const char* const MustCutPointName = "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の座標";

std::string LineLabel(std::size_t lineNumber) {
    return std::to_string(lineNumber) + "行目: ";
}

}  // namespace

// ---------------------------------------------------------------------------
// Writing

namespace {

// A single-line text field and the line it takes in the file.
struct TFieldLine {
    std::string Name;
    const std::string* Text;
    int Line;
};

class TLineWriter {
  public:
    // With `fields`, only lays the file out: records where each text field
    // goes, without refusing line breaks.
    explicit TLineWriter(std::vector<TFieldLine>* fields = nullptr) : fields_(fields) {}

    void Text(const std::string& text, std::string_view field) {
        if (fields_) {
            fields_->push_back({std::string(field), &text, static_cast<int>(lines_.size()) + 1});
            lines_.emplace_back();
            return;
        }
        Row(text, field);
    }
    void Bool(bool value) { lines_.emplace_back(value ? "TRUE" : "FALSE"); }
    void Int(int value) { lines_.push_back(std::to_string(value)); }
    void Block(const TCoordinateTable& table, std::string_view field) {
        // R counts the grid's heading row, which is not written.
        Int(static_cast<int>(table.Rows.size()) + 1);
        for (const TCoordinateRow& row : table.Rows) {
            if (fields_)
                lines_.emplace_back();
            else
                Row(RowCommaText(row), field);
        }
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

    std::vector<TFieldLine>* fields_;
    std::vector<std::string> lines_;
};

void WriteDesign(TLineWriter& w, const TDesignConditions& design);

}  // namespace

std::vector<std::string> DesignFileLines(const TDesignConditions& design) {
    TLineWriter w;
    WriteDesign(w, design);
    return w.Take();
}

namespace {

void WriteDesign(TLineWriter& w, const TDesignConditions& design) {
    w.Text(design.LayerCount, "地層数");
    w.Bool(design.WaterEnabled);
    w.Text(design.GammaW, "γw");
    for (int k = 0; k < MaxLayers; ++k) {
        const TSoilLayer& layer = design.Layers[static_cast<std::size_t>(k)];
        w.Text(layer.GammaT, LayerField(k, "γt"));
        w.Text(layer.GammaS, LayerField(k, "γs"));
        w.Text(layer.Phi, LayerField(k, "φ"));
        w.Text(layer.Cohesion, LayerField(k, "Ｃ"));
    }
    for (int k = 0; k < MaxLayers; ++k) {
        w.Block(design.Layers[static_cast<std::size_t>(k)].Boundary, BoundaryName(k));
    }
    w.Block(design.WaterTable, WaterTableName);
    w.Int(design.StressType);
    w.Text(design.SafetyFactor, "安全率");
    w.Text(design.MaxSliceWidth, "土塊分割上限幅");
    w.Text(design.MeshPitch, "ﾒｯｼｭﾋﾟｯﾁ");
    w.Text(design.MeshCount, "ﾒｯｼｭ数");
    w.Bool(design.ShowSafetyFactors);
    w.Bool(design.ShowCalculationProcess);
    w.Text(design.NeverCutElevation, NeverCutElevationName);
    w.Bool(design.NeverCutLineEnabled);
    w.Block(design.NeverCutLine, NeverCutLineName);
    w.Bool(design.MustCutPointEnabled);
    w.Block(design.MustCutPoint, MustCutPointName);
    w.Bool(design.LoadEnabled);
    w.Text(design.LoadIntensity, "荷重強度");
    w.Text(design.LoadStartX, "載荷開始位置X座標");
    w.Text(design.LoadEndX, "載荷終了位置X座標");
}

}  // namespace

std::string DesignNameOf(const std::filesystem::path& path) {
    const std::u8string stem = path.stem().u8string();
    return EscapeForDisplay(
        std::string_view(reinterpret_cast<const char*>(stem.data()), stem.size()));
}

ConversionError LocateConversionError(const TDesignConditions& design,
                                      const ConversionError& error) {
    std::vector<TFieldLine> fields;
    TLineWriter layout(&fields);
    WriteDesign(layout, design);
    const auto field = [&](const std::string& text) -> const TFieldLine* {
        for (const TFieldLine& f : fields) {
            if (f.Text == &text) return &f;
        }
        return nullptr;
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
        if (const TFieldLine* f = field(*text))
            return ConversionError(error.Text(), f->Name, f->Line);
    }
    return error;
}

void SaveDesignFile(const std::filesystem::path& path, TDesignConditions& design) {
    WriteFileAtomically(path, EncodeTextLines(DesignFileLines(design)));
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

    int StressType() {
        const std::size_t lineNumber = NextLineNumber();
        const int value = Int(StressTypeName);
        // Only the two items of the radio group exist; any other index would
        // reach the calculation as a type that does not exist.
        if (value != 0 && value != 1) {
            Fail(lineNumber, LineLabel(lineNumber) + StressTypeName +
                                 "には 0 または 1 が必要です（'" +
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

}  // namespace

TDesignLoadResult TryLoadDesignLines(const std::vector<std::string>& lines,
                                     TDesignConditions& design) {
    TDesignLoadResult result;
    // Everything goes into a copy; the design is replaced only when the whole
    // file was read, so a failure never leaves a half-loaded design.
    TDesignConditions loaded = design;
    try {
        TLineReader in(lines);
        loaded.LayerCount = in.Text("地層数");
        loaded.WaterEnabled = in.Bool("地下水の指定");
        loaded.GammaW = in.Text("γw");
        for (int k = 0; k < MaxLayers; ++k) {
            TSoilLayer& layer = loaded.Layers[static_cast<std::size_t>(k)];
            layer.GammaT = in.Text(LayerField(k, "γt"));
            layer.GammaS = in.Text(LayerField(k, "γs"));
            layer.Phi = in.Text(LayerField(k, "φ"));
            layer.Cohesion = in.Text(LayerField(k, "Ｃ"));
        }
        int groundFirstLine = 0;
        for (int k = 0; k < MaxLayers; ++k) {
            loaded.Layers[static_cast<std::size_t>(k)].Boundary =
                in.Block(BoundaryName(k), MaxBoundaryPoints, k == 0 ? &groundFirstLine : nullptr);
        }
        loaded.WaterTable = in.Block(WaterTableName, MaxWaterPoints);
        loaded.StressType = in.StressType();
        loaded.SafetyFactor = in.Text("安全率");
        loaded.MaxSliceWidth = in.Text("土塊分割上限幅");
        loaded.MeshPitch = in.Text("ﾒｯｼｭﾋﾟｯﾁ");
        loaded.MeshCount = in.Text("ﾒｯｼｭ数");
        loaded.ShowSafetyFactors = in.Bool("安全率表示");
        loaded.ShowCalculationProcess = in.Bool("計算過程表示");
        const std::size_t elevationLine = in.NextLineNumber();
        loaded.NeverCutElevation = in.Text(NeverCutElevationName);
        loaded.NeverCutLineEnabled = in.Bool("ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の指定");
        loaded.NeverCutLine = in.Block(NeverCutLineName, MaxNeverCutLinePoints);
        loaded.MustCutPointEnabled = in.Bool("ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の指定");
        loaded.MustCutPoint = in.Block(MustCutPointName, MaxMustCutPoints);
        loaded.LoadEnabled = in.Bool("載荷重の指定");
        loaded.LoadIntensity = in.Text("荷重強度");
        loaded.LoadStartX = in.Text("載荷開始位置X座標");
        loaded.LoadEndX = in.Text("載荷終了位置X座標");
        // Lines after the last value are ignored, as they always were.

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
        PreviewValue(loaded.NeverCutElevation, elevationLine, NeverCutElevationName);
        result.Axes = ComputePreviewAxes(loaded);
    } catch (const TLoadFailure& failure) {
        result.Line = static_cast<int>(failure.Line);
        result.Message = failure.Message;
        return result;
    }
    design = std::move(loaded);
    result.Loaded = true;
    return result;
}

TDesignLoadResult TryLoadDesignBytes(std::string_view bytes, TDesignConditions& design) {
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
    return TryLoadDesignLines(lines, design);
}

TDesignLoadResult TryLoadDesignFile(const std::filesystem::path& path, TDesignConditions& design) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path, MaxDesignFileBytes);
    } catch (const FileError& e) {
        TDesignLoadResult result;
        result.Message = e.what();
        return result;
    }
    TDesignLoadResult result = TryLoadDesignBytes(bytes, design);
    if (result) design.DesignName = DesignNameOf(path);
    return result;
}

}  // namespace sorvanta
