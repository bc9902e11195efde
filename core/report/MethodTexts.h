#pragma once
// The comparison of every method of slices on one circle, as the result
// window's tab, the CLI's table and the JSON show it.

#include <vector>

#include "engine/SliceMethod.h"
#include "run/MethodComparison.h"
#include "run/ResultTables.h"

namespace sorvanta {

// MethodResultLine in the list's empty line `at`, so that the pages keep
// their room (inserted there when the line is not empty); nothing for the
// ordinary method.
void PutMethodLine(TLineList& list, std::size_t at, TSliceMethodKind method,
                   const TCircleEvaluation& sums);

// 分割法, 安全率(Fs), 備考 (Janbu's F0 and f0, λ, or why a method has no
// solution); the design's own method marked "＊".
[[nodiscard]] TCellTable MethodComparisonTable(const std::vector<TMethodFs>& methods,
                                               TSliceMethodKind chosen);
// The table as aligned text lines for a terminal, with the mark's note.
[[nodiscard]] TLineList MethodComparisonLines(const TCellTable& table);

}  // namespace sorvanta
