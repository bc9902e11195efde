#pragma once
// Number patterns: F(pattern, value).
//  - ";" splits sections: one section -> negative values get a leading "-"
//    before the whole text (literals included); two sections -> the second
//    formats negative values by their absolute value, with no sign of its own.
//  - "0" always prints a digit, "#" only where the number has one; the integer
//    digits are never cut. "." marks the decimals; "," among the integer
//    placeholders groups by three. Everything else is copied as it stands.
//  - Rounding: the value is written to 15 significant digits (%.14e), then
//    that decimal is rounded half away from zero to the pattern's decimals.
//  - Locale-independent.

#include <string>
#include <string_view>

namespace sorvanta {

std::string FormatFloat(std::string_view pattern, double value);

// The number a pattern with `decimals` decimals shows, as the nearest double:
// rounded by the same rule, the sign kept (a negative value that rounds to
// zero gives -0). Not finite values are returned as they are.
[[nodiscard]] double RoundToDecimals(double value, int decimals);

}  // namespace sorvanta
