#pragma once
// Merging of a line entered only over part of the section with the line above
// it, so that every stored line spans the section: a lower layer boundary with
// the boundary of the layer above, the groundwater line with the ground surface.
//
// Both read the usable rows of a table (X and Y strict numbers); unusable rows
// anywhere in a table are skipped rather than ending it. A new line whose
// first X is right of its last was entered from right to left and is taken in
// reverse order. Results are numbered 0, 1, 2 ... with X and Y in "0.00".

#include <string>

#include "design/DesignConditions.h"

namespace sorvanta {

struct TMergeResult {
    TCoordinateTable Table;  // the table to store, when Ok()
    std::string Error;       // Japanese message when refused; "\r" is a line break

    [[nodiscard]] bool Ok() const { return Error.empty(); }
};

// U: boundary of the layer above; N: the new line of the layer below.
// A new line without a usable point is returned unchanged (nothing to merge;
// the checks before a run report it). Refused when U has no usable point, when
// no point of N lies within U's X range, or when the result would exceed the
// table's row limit.
[[nodiscard]] TMergeResult MergeLowerBoundary(const TCoordinateTable& upper,
                                              const TCoordinateTable& newLine);

// G: ground surface (layer 1); W: the new groundwater line. Same treatment of
// the degenerate cases as MergeLowerBoundary.
[[nodiscard]] TMergeResult MergeWaterLine(const TCoordinateTable& ground,
                                          const TCoordinateTable& water);

}  // namespace sorvanta
