#pragma once
// The JSON form of a run: the critical circle, every member of the result
// tables and the arbitrary-point tables, and the two slip circle charts, from
// the calculation report.
// UTF-8; numbers in the shortest form that reads back to the same double.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "design/DesignConditions.h"
#include "run/ArbitraryPoint.h"
#include "run/CalculationReport.h"
#include "run/CalculationRun.h"
#include "run/MethodComparison.h"
#include "run/ResultTables.h"
#include "views/ChartModel.h"

namespace sorvanta::cli {

struct TJsonValue;
using TJsonArray = std::vector<TJsonValue>;
using TJsonObject = std::vector<std::pair<std::string, TJsonValue>>;  // keys in writing order

struct TJsonValue {
    std::variant<std::nullptr_t, bool, double, std::string, TJsonArray, TJsonObject> Value;

    TJsonValue() : Value(nullptr) {}
    TJsonValue(std::nullptr_t) : Value(nullptr) {}
    TJsonValue(bool b) : Value(b) {}
    TJsonValue(double d) : Value(d) {}
    TJsonValue(int i) : Value(static_cast<double>(i)) {}
    TJsonValue(std::string s) : Value(std::move(s)) {}
    TJsonValue(const char* s) : Value(std::string(s)) {}
    TJsonValue(TJsonArray a) : Value(std::move(a)) {}
    TJsonValue(TJsonObject o) : Value(std::move(o)) {}
};

// Compact where a value is short (scalars, rows of cells, points), one entry
// per line otherwise; ends with a line break. A number that is not finite is
// written as null.
std::string WriteJson(const TJsonValue& value);
// "\"…\"" with the escapes JSON needs.
std::string JsonString(std::string_view text);
// Shortest round-trip form.
std::string JsonNumber(double value);

TJsonValue CellTableJson(const TCellTable& table);
TJsonValue ColouredTextJson(const TColouredText& text);
TJsonValue ChartJson(const TChartModel& chart);
TJsonValue ResultTablesJson(const TResultTables& tables);
TJsonValue ArbitraryTablesJson(const TArbitraryTables& tables);

// The whole document: the outcome, messages and critical circle of `run`
// (which wrote the report unless it was refused), the report's arbitrary
// point, tables and charts, under the design's name.
TJsonValue RunJson(const TCalculationReport& report, const TRunResult& run,
                   std::string_view designName);

// The method's key as --method and the design file name it ("bishop", …).
std::string MethodKey(TSliceMethodKind method);
// Every method's factor on one circle (--all-methods): key, name, Fs (null
// without a solution), status "ok", "infinite" or "no_solution" with the
// reason, and Janbu's F0 and f0 or the λ of the methods that have one.
TJsonValue MethodsJson(const std::vector<TMethodFs>& methods);

// "ok", "refused", "no_circle", "cancelled".
const char* OutcomeName(TRunOutcome outcome);
// "within", "outside", "infinite", "no_circle".
const char* VerdictName(TVerdict verdict);

}  // namespace sorvanta::cli
