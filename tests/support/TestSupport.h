#pragma once
// Designs and coordinate tables as the tests write them.

#include <initializer_list>
#include <string>
#include <utility>

#include "design/DesignConditions.h"

namespace sorvanta::test {

// Rows numbered from 0 with the X and Y texts as typed.
inline TCoordinateTable TextTable(std::initializer_list<std::pair<const char*, const char*>> xy) {
    TCoordinateTable t;
    t.Rows.clear();
    int no = 0;
    for (const auto& [x, y] : xy) t.Rows.push_back({std::to_string(no++), x, y});
    return t;
}

// Whole rows (No., X, Y) as typed, placeholders and bad cells included.
inline TCoordinateTable RowTable(std::initializer_list<TCoordinateRow> rows) {
    TCoordinateTable t;
    t.Rows.assign(rows);
    return t;
}

inline TDesignConditions SampleDesign() {
    TDesignConditions d;
    LoadSampleDesign(d);
    return d;
}

}  // namespace sorvanta::test
