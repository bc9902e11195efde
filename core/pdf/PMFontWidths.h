#pragma once
// Width tables of the single-byte fonts, codes 31 to 255.

#include <array>

namespace sorvanta {

inline constexpr int TrueTypeFirstChar = 31;
inline constexpr int TrueTypeLastChar = 255;
using TTrueTypeWidths = std::array<int, TrueTypeLastChar - TrueTypeFirstChar + 1>;

extern const TTrueTypeWidths CenturyWidths;
extern const TTrueTypeWidths CenturyBoldWidths;
extern const TTrueTypeWidths ArialWidths;
extern const TTrueTypeWidths ArialBoldWidths;

}  // namespace sorvanta
