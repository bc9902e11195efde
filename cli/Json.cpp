#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "design/StoredOptions.h"
#include "report/ReportTexts.h"
#include "report/VerdictTexts.h"
#include "text/DisplayText.h"

namespace sorvanta::cli {

namespace {

bool IsScalar(const TJsonValue& v) {
    return !std::holds_alternative<TJsonArray>(v.Value) &&
           !std::holds_alternative<TJsonObject>(v.Value);
}

// A value written on one line: a scalar, or an array of scalars (a table row,
// a chart point, an axis range).
bool IsFlat(const TJsonValue& v) {
    if (IsScalar(v)) return true;
    if (const auto* a = std::get_if<TJsonArray>(&v.Value)) {
        for (const TJsonValue& item : *a) {
            if (!IsScalar(item)) return false;
        }
        return true;
    }
    return std::get<TJsonObject>(v.Value).empty();
}

void Write(std::string& out, const TJsonValue& v, int indent);

void Newline(std::string& out, int indent) {
    out += '\n';
    out.append(static_cast<std::size_t>(indent) * 2, ' ');
}

void WriteScalar(std::string& out, const TJsonValue& v) {
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>) {
                out += "null";
            } else if constexpr (std::is_same_v<T, bool>) {
                out += x ? "true" : "false";
            } else if constexpr (std::is_same_v<T, double>) {
                out += JsonNumber(x);
            } else if constexpr (std::is_same_v<T, std::string>) {
                out += JsonString(x);
            }
        },
        v.Value);
}

void Write(std::string& out, const TJsonValue& v, int indent) {
    if (IsScalar(v)) {
        WriteScalar(out, v);
    } else if (const auto* a = std::get_if<TJsonArray>(&v.Value)) {
        out += '[';
        const bool flat = IsFlat(v);
        for (std::size_t i = 0; i < a->size(); ++i) {
            if (i > 0) out += flat ? ", " : ",";
            if (!flat) Newline(out, indent + 1);
            Write(out, (*a)[i], indent + 1);
        }
        if (!flat && !a->empty()) Newline(out, indent);
        out += ']';
    } else {
        const auto& o = std::get<TJsonObject>(v.Value);
        out += '{';
        for (std::size_t i = 0; i < o.size(); ++i) {
            if (i > 0) out += ',';
            Newline(out, indent + 1);
            out += JsonString(o[i].first);
            out += ": ";
            Write(out, o[i].second, indent + 1);
        }
        if (!o.empty()) Newline(out, indent);
        out += '}';
    }
}

TJsonValue Lines(const TLineList& lines) {
    TJsonArray a;
    a.reserve(lines.size());
    for (const std::string& line : lines) a.emplace_back(line);
    return a;
}

std::string HexColour(TRgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.R, c.G, c.B);
    return text;
}

TJsonValue AxisJson(const TAxisLimits& limits) {
    if (!limits) return nullptr;
    return TJsonArray{limits->Min, limits->Max};
}

}  // namespace

std::string JsonString(std::string_view raw) {
    // JSON is UTF-8: a byte that is not (a name from a Shift-JIS archive) is
    // written as the text "\xNN".
    const std::string text = EscapeInvalidUtf8(raw);
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04X", c);
                    out += escape;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : "null";
}

std::string WriteJson(const TJsonValue& value) {
    std::string out;
    Write(out, value, 0);
    out += '\n';
    return out;
}

TJsonValue CellTableJson(const TCellTable& table) {
    TJsonArray rows;
    rows.reserve(table.Rows.size());
    for (const auto& row : table.Rows) {
        TJsonArray cells;
        for (const std::string& cell : row) cells.emplace_back(cell);
        rows.emplace_back(std::move(cells));
    }
    return rows;
}

TJsonValue ColouredTextJson(const TColouredText& text) {
    return TJsonObject{
        {"text", text.Text},
        {"colour", text.Colour ? TJsonValue(HexColour(*text.Colour)) : TJsonValue(nullptr)}};
}

TJsonValue ChartJson(const TChartModel& chart) {
    TJsonArray series;
    for (const TChartSeries& s : chart.Series) {
        TJsonArray points;
        points.reserve(s.Points.size());
        for (const TChartPoint& p : s.Points) {
            points.emplace_back(
                TJsonArray{p.X, p.Y, p.Label ? TJsonValue(*p.Label) : TJsonValue(nullptr),
                           p.Colour ? TJsonValue(HexColour(*p.Colour)) : TJsonValue(nullptr)});
        }
        series.emplace_back(TJsonObject{{"title", s.Title}, {"points", std::move(points)}});
    }
    return TJsonObject{{"bottom", AxisJson(chart.Bottom)},
                       {"left", AxisJson(chart.Left)},
                       {"series", std::move(series)}};
}

namespace {

// Sections Ⅲ to Ⅴ of either record, in writing order.
void AppendCircleMembers(TJsonObject& o, const TCircleReport& t) {
    o.insert(o.end(), {
                          {"slice_table", CellTableJson(t.SliceTable)},
                          {"slice_heading", Lines(t.SliceHeadingList)},
                          {"slice_legend", Lines(t.SliceLegendList)},
                          {"slice_note", Lines(t.SliceNoteList)},
                          {"load_heading", Lines(t.LoadHeadingList)},
                          {"load_legend", Lines(t.LoadLegendList)},
                          {"load_formula", Lines(t.LoadFormulaList)},
                          {"load_table", CellTableJson(t.LoadTable)},
                          {"judgement", Lines(t.JudgementList)},
                          {"judgement_label", ColouredTextJson(t.JudgementLabel)},
                      });
    if (t.MethodTable.RowCount() > 0) {
        o.emplace_back("method_heading", Lines(t.MethodHeadingList));
        o.emplace_back("method_table", CellTableJson(t.MethodTable));
    }
}

// A method other than the ordinary one: its name, its own values and each
// slice's (mα, or the interslice forces on the slice's head side).
void AppendMethodMembers(TJsonObject& o, const TAnalysisModel* model, const TCircleRecord& record) {
    if (!model || model->Method == TSliceMethodKind::Ordinary) return;
    const TSliceMethodKind method = model->Method;
    const TCircleEvaluation& sums = record.Sums;
    const bool valid = sums.Verdict == TCircleVerdict::Valid;
    const bool rigorous =
        method == TSliceMethodKind::Spencer || method == TSliceMethodKind::MorgensternPrice;
    o.emplace_back("method", MethodKey(method));
    if (method == TSliceMethodKind::Janbu) {
        o.emplace_back("uncorrected_fs", valid ? TJsonValue(sums.UncorrectedFs) : nullptr);
        o.emplace_back("f0", valid ? TJsonValue(sums.Correction) : nullptr);
    }
    if (rigorous) o.emplace_back("lambda", valid ? TJsonValue(sums.Lambda) : nullptr);
    TJsonArray slices;
    if (valid) {
        for (std::size_t i = 0; i < record.Rows.size(); ++i) {
            const TSliceRow& r = record.Rows[i];
            TJsonObject slice{{"No", static_cast<int>(i + 1)}, {"x", r.CentreX}};
            if (rigorous) {
                slice.emplace_back("E", r.InterE);
                slice.emplace_back("X", r.InterX);
            } else {
                slice.emplace_back("m_alpha", r.MAlpha);
            }
            slices.emplace_back(std::move(slice));
        }
    }
    o.emplace_back("method_slices", std::move(slices));
}

}  // namespace

std::string MethodKey(TSliceMethodKind method) {
    const TStoredOption* option = FindStoredOption("method");
    const auto index = static_cast<std::size_t>(method);
    return option && index < option->Items.size() ? std::string(option->Items[index])
                                                  : std::string();
}

TJsonValue MethodsJson(const std::vector<TMethodFs>& methods) {
    TJsonArray out;
    for (const TMethodFs& m : methods) {
        const bool valid = m.Verdict == TCircleVerdict::Valid;
        TJsonObject o{{"method", MethodKey(m.Method)},
                      {"name", MethodName(m.Method)},
                      {"Fs", valid ? TJsonValue(m.Fs) : nullptr},
                      {"status", valid                                      ? "ok"
                                 : m.Verdict == TCircleVerdict::LevelGround ? "infinite"
                                                                            : "no_solution"}};
        if (!valid && m.Verdict != TCircleVerdict::LevelGround)
            o.emplace_back("reason", CircleVerdictText(m.Verdict));
        if (m.Method == TSliceMethodKind::Janbu) {
            o.emplace_back("uncorrected_fs", valid ? TJsonValue(m.UncorrectedFs) : nullptr);
            o.emplace_back("f0", valid ? TJsonValue(m.Correction) : nullptr);
        }
        if (m.Method == TSliceMethodKind::Spencer || m.Method == TSliceMethodKind::MorgensternPrice)
            o.emplace_back("lambda", valid ? TJsonValue(m.Lambda) : nullptr);
        out.emplace_back(std::move(o));
    }
    return out;
}

namespace {}  // namespace

TJsonValue ResultTablesJson(const TResultTables& t) {
    TJsonObject o{
        {"contents", Lines(t.ContentsList)},
        {"layer_settings", Lines(t.LayerSettingsList)},
        {"soil_data", CellTableJson(t.SoilDataTable)},
        {"soil_legend", Lines(t.SoilLegendList)},
        {"calculation_conditions", Lines(t.CalculationConditionsList)},
        {"coordinates_1", CellTableJson(t.CoordinateTable1)},
        {"coordinates_2", CellTableJson(t.CoordinateTable2)},
        {"formula", Lines(t.FormulaList)},
        {"result", Lines(t.ResultList)},
        {"result_caption", ColouredTextJson(t.ResultCaption)},
        {"centre_table", CellTableJson(t.CentreTable)},
    };
    AppendCircleMembers(o, t.Circle);
    return o;
}

TJsonValue ArbitraryTablesJson(const TArbitraryTables& t) {
    TJsonObject o;
    AppendCircleMembers(o, t.Circle);
    return o;
}

const char* OutcomeName(TRunOutcome outcome) {
    switch (outcome) {
        case TRunOutcome::Ok:
            return "ok";
        case TRunOutcome::Refused:
            return "refused";
        case TRunOutcome::NoCircle:
            return "no_circle";
        case TRunOutcome::Cancelled:
            return "cancelled";
    }
    return "refused";
}

const char* VerdictName(TVerdict verdict) {
    switch (verdict) {
        case TVerdict::Within:
            return "within";
        case TVerdict::Outside:
            return "outside";
        case TVerdict::Infinite:
            return "infinite";
        case TVerdict::NoCircle:
            break;
    }
    return "no_circle";
}

TJsonValue ArbitraryPointJson(const TArbitraryPoint& point) {
    const TArbitraryOutcome& o = point.Outcome;
    const bool circle = o.Status != 0;
    const auto number = [&](double value) {
        return circle ? TJsonValue(value) : TJsonValue(nullptr);
    };
    TJsonObject json{{"Xo", o.Xo},
                     {"Yo", o.Yo},
                     {"R", number(o.R)},
                     // Level ground has no factor: the documents show ∞.
                     {"Fs", o.Status == 1 ? TJsonValue(o.Fs) : TJsonValue(nullptr)},
                     {"Resisting", number(o.Resisting)},
                     {"Driving", number(o.Driving)},
                     {"Xb", number(o.Xb)},
                     {"Yb", number(o.Yb)},
                     {"Xe", number(o.Xe)},
                     {"Ye", number(o.Ye)},
                     {"Theta", number(o.Theta)},
                     {"Beta", number(o.Beta)},
                     {"Delta", number(o.Delta)},
                     {"verdict", VerdictName(point.Judgement.Verdict)}};
    if (o.Status != 0) AppendMethodMembers(json, point.Model.get(), point.Circle);
    return json;
}

TJsonValue RunJson(const TCalculationReport& report, const TRunResult& run,
                   std::string_view designName) {
    TJsonValue critical;
    if (run.HasCritical) {
        const TCriticalCircle& c = run.Critical;
        critical = TJsonObject{{"Xo", c.Xo},
                               {"Yo", c.Yo},
                               {"R", c.R},
                               {"Fs", c.Fs},
                               {"Resisting", c.Resisting},
                               {"Driving", c.Driving},
                               {"Xb", c.Xb},
                               {"Yb", c.Yb},
                               {"Xe", c.Xe},
                               {"Ye", c.Ye},
                               {"Theta", c.Theta},
                               {"Beta", c.Beta},
                               {"Delta", c.Delta}};
        AppendMethodMembers(std::get<TJsonObject>(critical.Value), run.Model.get(), run.Circle);
    }
    return TJsonObject{
        {"design", std::string(designName)},
        {"outcome", OutcomeName(run.Outcome)},
        {"messages", Lines(run.Messages)},
        {"critical", std::move(critical)},
        {"arbitrary",
         report.ArbitraryPoint ? ArbitraryPointJson(*report.ArbitraryPoint) : TJsonValue(nullptr)},
        {"result_tables", ResultTablesJson(report.Results)},
        {"arbitrary_tables", ArbitraryTablesJson(report.Arbitrary)},
        {"charts", TJsonObject{{"result", ChartJson(report.ResultChart)},
                               {"arbitrary", ChartJson(report.ArbitraryChart)}}},
    };
}

}  // namespace sorvanta::cli
