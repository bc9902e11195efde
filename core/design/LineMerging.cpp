#include "design/LineMerging.h"

#include <algorithm>
#include <optional>
#include <string>

#include "text/Conversion.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

// Every usable row of a table. Unlike ReadPolyline an unusable row does not
// end the line: a stray row typed in the middle would otherwise silently cut
// the rest of the line off the merged result.
TPolyline UsablePoints(const TCoordinateTable& table) {
    TPolyline points;
    for (const TCoordinateRow& row : table.Rows) {
        const std::optional<double> x = TryStrToFloat(row.X);
        const std::optional<double> y = TryStrToFloat(row.Y);
        if (x && y) points.push_back({*x, *y});
    }
    return points;
}

TCoordinateTable PointTable(const TPolyline& points) {
    TCoordinateTable table;
    table.Rows.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
        table.Rows.push_back({std::to_string(i), FormatFloat("0.00", points[i].X),
                              FormatFloat("0.00", points[i].Y)});
    }
    return table;
}

TMergeResult Refused(std::string message) {
    return {TCoordinateTable::Placeholder(), std::move(message)};
}

bool HasPointWithin(const TPolyline& line, double first, double last) {
    for (const TPoint& p : line) {
        if (p.X >= first && p.X <= last) return true;
    }
    return false;
}

// The merge passes keep only the new line's points within the X range of the
// line above; without one there is nothing to join and the result would be
// the line above or an empty table.
std::optional<std::string> RefusalOf(const TPolyline& above, const TPolyline& line,
                                     const char* aboveName) {
    if (above.empty()) {
        return std::string(aboveName) + "の座標データが未定義のため、結合できません。\r" +
               aboveName + "の座標データを先に入力して下さい。";
    }
    if (!HasPointWithin(line, above.front().X, above.back().X)) {
        return std::string("入力した線には") + aboveName + "のX座標の範囲（" +
               FormatFloat("0.00", above.front().X) + "～" + FormatFloat("0.00", above.back().X) +
               "）にある点がないため、結合できません。\r座標データを点検して下さい。";
    }
    return std::nullopt;
}

std::optional<std::string> LimitRefusal(const TPolyline& merged, int limit) {
    if (merged.size() <= static_cast<std::size_t>(limit)) return std::nullopt;
    // Storing more rows than the table holds would lose the rest on the next
    // load; the user has to thin the line out instead.
    return "結合した線の点数（" + std::to_string(merged.size()) + "点）が上限の" +
           std::to_string(limit) + "点を超えるため、結合できません。\r座標データを点検して下さい。";
}

bool TwoPasses(const TPolyline& above, const TPolyline& line) {
    return above.front().X >= line.front().X || line.back().X >= above.back().X;
}

TPolyline MergePass(const TPolyline& u, const TPolyline& n) {
    TPolyline out;
    for (const TPoint& p : u) {
        if (p.X < n.front().X) out.push_back(p);
    }
    for (const TPoint& p : n) {
        if (p.X >= u.front().X && p.X <= u.back().X) out.push_back(p);
    }
    for (const TPoint& p : u) {
        if (p.X > n.back().X) out.push_back(p);
    }
    return out;
}

// Ground elevation at x: on the first segment with X0 <= x < X1 by linear
// interpolation, at a vertex its Y. The merge only asks within the ground's
// X range; should it ask beyond, the end elevation is held flat.
double GroundElevationAt(const TPolyline& g, double x) {
    for (std::size_t i = 0; i + 1 < g.size(); ++i) {
        const TPoint& a = g[i];
        const TPoint& b = g[i + 1];
        if (a.X <= x && b.X > x) return a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X);
    }
    for (const TPoint& p : g) {
        if (p.X == x) return p.Y;
    }
    return x < g.front().X ? g.front().Y : g.back().Y;
}

bool IsGroundVertex(const TPolyline& g, const TPoint& p) {
    for (const TPoint& v : g) {
        if (v == p) return true;
    }
    return false;
}

// The point at the ground's end `end` that continues the water line from its
// own end point `w`: the same depth below ground, or w's elevation when w lies
// above the ground.
TPoint WaterExtension(const TPolyline& g, const TPoint& end, const TPoint& w) {
    const double yg = GroundElevationAt(g, w.X);
    return {end.X, yg >= w.Y ? end.Y - (yg - w.Y) : w.Y};
}

TPolyline WaterPass(const TPolyline& g, const TPolyline& w) {
    TPolyline out;
    if (g.front().X < w.front().X && !IsGroundVertex(g, w.front())) {
        out.push_back(WaterExtension(g, g.front(), w.front()));
    }
    for (const TPoint& p : w) {
        if (p.X >= g.front().X && p.X <= g.back().X) out.push_back(p);
    }
    if (w.back().X < g.back().X && !IsGroundVertex(g, w.back())) {
        out.push_back(WaterExtension(g, g.back(), w.back()));
    }
    return out;
}

template <typename Pass>
TMergeResult Merge(const TCoordinateTable& aboveTable, const TCoordinateTable& newTable,
                   const char* aboveName, int limit, Pass pass) {
    TPolyline line = UsablePoints(newTable);
    if (line.empty()) return {newTable, {}};
    // The passes take the first point as the left end. A line entered from
    // right to left is the same line; taken as it stands it would be joined
    // at the wrong ends into a zigzag that doubles back over the line above.
    if (line.front().X > line.back().X) std::reverse(line.begin(), line.end());
    const TPolyline above = UsablePoints(aboveTable);
    if (auto refusal = RefusalOf(above, line, aboveName)) return Refused(std::move(*refusal));
    TPolyline merged = pass(above, line);
    if (TwoPasses(above, line)) merged = pass(above, merged);
    if (auto refusal = LimitRefusal(merged, limit)) return Refused(std::move(*refusal));
    return {PointTable(merged), {}};
}

}  // namespace

TMergeResult MergeLowerBoundary(const TCoordinateTable& upper, const TCoordinateTable& newLine) {
    return Merge(upper, newLine, "上の層の地層線", MaxBoundaryPoints, MergePass);
}

TMergeResult MergeWaterLine(const TCoordinateTable& ground, const TCoordinateTable& water) {
    return Merge(ground, water, "地表面", MaxWaterPoints, WaterPass);
}

}  // namespace sorvanta
