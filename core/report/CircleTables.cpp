#include <numbers>

#include "engine/SliceMethod.h"
#include "report/ReportTexts.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

double Degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

}  // namespace

void PrepareCircleTables(TCircleReport& target, int n) {
    target.SliceTable.SetRowCount(n + 1);
    target.LoadTable.SetRowCount(n + 1);
}

void WriteSliceRows(TCircleReport& target, int i, const TSliceRow& s) {
    TCellTable& slice = target.SliceTable;
    const std::string number = "No." + FormatFloat("00", i);

    slice.SetRowCommaList(i, "-,-,-,-,-,-,-,-,-,-,-,-,-,-");
    slice.Cell(i, 0) = number;
    slice.Cell(i, 1) = FormatFloat("0.00", s.B);
    slice.Cell(i, 2) = FormatFloat("0.00", s.H[0]);
    slice.Cell(i, 3) = FormatFloat("0.00", s.VWet[0]);
    double sumH = s.H[0];
    double sumV = s.VWet[0];
    for (int k = 1; k < MaxLayers; ++k) {
        // Each layer's cells are written only where that layer lies above the
        // slip surface; the others keep "-".
        if (s.H[k] > 0) slice.Cell(i, 2 * k + 2) = FormatFloat("0.00", s.H[k]);
        if (s.VWet[k] > 0) slice.Cell(i, 2 * k + 3) = FormatFloat("0.00", s.VWet[k]);
        sumH += s.H[k];
        sumV += s.VWet[k];
    }
    slice.Cell(i, 12) = FormatFloat("0.00", sumH);
    slice.Cell(i, 13) = FormatFloat("0.00", sumV);

    TCellTable& load = target.LoadTable;
    auto& row = load.Rows.at(static_cast<std::size_t>(i));
    row[0] = number + FormatFloat("(0.00)", s.CentreX);
    row[1] = FormatFloat("0.00", s.B);
    row[2] = FormatFloat("0.00", s.GroundHeight);
    row[3] = FormatFloat("0.00", s.SumV);
    row[4] = FormatFloat("0.00", s.C);
    row[5] = FormatFloat("0.00", s.L);
    row[6] = FormatFloat("0.00", s.W);
    row[7] = FormatFloat(" 0.0;-0.0", Degrees(s.Alpha));
    row[8] = FormatFloat("0.000", std::cos(s.Alpha));
    row[9] = FormatFloat("0.000", std::sin(s.Alpha));
    row[10] = FormatFloat("0.0", Degrees(s.Phi));
    row[11] = FormatFloat("0.000", std::tan(s.Phi));
    row[12] = FormatFloat("#,0.00", s.Resisting);
    row[13] = FormatFloat(" #,0.00;-#,0.00", s.Driving);
}

void WriteLoadTotals(TCircleReport& target, const TCircleResult& sums, int form) {
    TCellTable& load = target.LoadTable;
    load.SetRowCommaList(0, form == 1 ? LoadHeaderForce : LoadHeaderMoment);
    const int row = load.RowCount();
    load.SetRowCount(row + 1);
    auto& cells = load.Rows.back();
    cells[0] = "合計";
    cells[1] = FormatFloat("0.00", sums.WidthSum);
    for (int c = 2; c <= 5; ++c) cells[c] = "-";
    cells[6] = FormatFloat("#,##0.00", sums.WeightSum);
    for (int c = 7; c <= 11; ++c) cells[c] = "-";
    cells[12] = FormatFloat("#,##0.00", sums.Resisting);
    cells[13] = FormatFloat(" #,##0.00;-#,##0.00", sums.Driving);
}

void WriteCircleTables(TCircleReport& target, const std::vector<TSliceRow>& rows,
                       const TCircleResult& sums, int form) {
    const int n = static_cast<int>(rows.size());
    PrepareCircleTables(target, n);
    for (int i = 1; i <= n; ++i) WriteSliceRows(target, i, rows[static_cast<std::size_t>(i - 1)]);
    WriteLoadTotals(target, sums, form);
}

}  // namespace sorvanta
