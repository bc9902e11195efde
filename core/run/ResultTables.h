#pragma once
// The result tables: the lines and cells of the calculation document. They are
// the one source of the result windows, the text file, the printed document and
// the PDF, so everything here is text exactly as it is shown; numbers are
// formatted when written and never parsed back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/DesignConditions.h"

namespace sorvanta {

// An ordered list of text lines; empty lines are allowed.
using TLineList = std::vector<std::string>;

// A grid of text cells. Row 0 is the header row. Every row holds exactly
// ColCount cells. The widths and the default row height are in the pixels of
// the result window; the documents measure their tables with them.
struct TCellTable {
    int ColCount = 0;
    std::vector<int> ColWidths;  // ColCount entries
    int DefaultRowHeight = 17;
    std::vector<std::vector<std::string>> Rows;

    TCellTable() = default;
    TCellTable(int colCount, std::vector<int> colWidths, int defaultRowHeight,
               std::string_view headerCommaList, int rowCount);

    [[nodiscard]] int RowCount() const { return static_cast<int>(Rows.size()); }
    // Keeps the rows that remain; new rows hold empty cells.
    void SetRowCount(int rowCount);
    std::string& Cell(int row, int col) { return Rows.at(row).at(col); }
    [[nodiscard]] const std::string& Cell(int row, int col) const { return Rows.at(row).at(col); }
    // Sets the row's cells from a comma-separated list: the cells the list
    // names in order, the others empty; entries beyond ColCount are dropped.
    void SetRowCommaList(int row, std::string_view commaList);

    bool operator==(const TCellTable&) const = default;
};

// A caption with its font colour; a colour never set stays empty.
struct TColouredText {
    std::string Text;
    std::optional<TRgb> Colour;
    bool operator==(const TColouredText&) const = default;
};

inline constexpr TRgb ColourMaroon{128, 0, 0};
inline constexpr TRgb ColourBlue{0, 0, 255};
inline constexpr TRgb ColourRed{255, 0, 0};

// Header rows as comma lists.
inline constexpr std::string_view SoilDataHeader = "No.,γt,φ,C";
inline constexpr std::string_view CoordinateHeader = "No.,X座標,Y座標";
inline constexpr std::string_view CentreHeaderMoment =
    "No.,X座標,Y座標,滑り力(Mo),抵抗力(Mr),円弧半径(R),安全率(Fs)";
inline constexpr std::string_view CentreHeaderForce =
    "No.,X座標,Y座標,滑り力(Fo),抵抗力(Fr),円弧半径(R),安全率(Fs)";
inline constexpr std::string_view SliceHeader =
    "ｽﾗｲｽNo,b(m),H1(m),V1(m3),H2(m),V2(m3),H3(m),V3(m3),H4(m),V4(m3),H5(m),V5(m3),ΣH(m),ΣV(m3)";
inline constexpr std::string_view LoadHeaderMoment =
    "ｽﾗｲｽNo(座標),b(m),ΣH(m),ΣV(m3),c(kN),L(m),W(kN),α(度),cosα,sinα,φ(度),tanφ,Mr(kNm),Mo(kNm)";
inline constexpr std::string_view LoadHeaderForce =
    "ｽﾗｲｽNo(座標),b(m),ΣH(m),ΣV(m3),c(kN),L(m),W(kN),α(度),cosα,sinα,φ(度),tanφ,Fr(kN),Fo(kN)";

// Empty structures with their header rows, widths and row heights.
TCellTable MakeSoilDataTable();    // 4 columns, header and 5 layer rows
TCellTable MakeCoordinateTable();  // 3 columns, row height 15
TCellTable MakeCentreTable();      // 7 columns
TCellTable MakeSliceTable();       // 14 columns
TCellTable MakeLoadTable();        // 14 columns

// Sections Ⅲ to Ⅴ of one circle: its slices, loads and judgement. The run's
// critical circle and the arbitrary point each have one. A new one holds the
// fixed texts, the empty tables and the caption "判定".
struct TCircleReport {
    // Ⅲ slice loads
    TCellTable SliceTable;
    TLineList SliceHeadingList;
    TLineList SliceLegendList;  // fixed text
    TLineList SliceNoteList;    // fixed text
    // Ⅳ loads
    TLineList LoadHeadingList;
    TLineList LoadLegendList;
    TLineList LoadFormulaList;
    TCellTable LoadTable;
    // Ⅴ slip circle figure
    TLineList JudgementList;
    TColouredText JudgementLabel;
    // The method's own values per slice (mα; the interslice forces) with
    // their heading, for a method other than the ordinary one; empty else,
    // and then no document shows them.
    TLineList MethodHeadingList;
    TCellTable MethodTable;

    TCircleReport();
    bool operator==(const TCircleReport&) const = default;
};

// The calculation document, by section (Ⅰ to Ⅴ). One record lives as long as
// the application; a run overwrites the members it writes. A new record holds
// the initial texts and structures.
struct TResultTables {
    // Ⅰ design conditions (design listing)
    TLineList ContentsList;
    TLineList LayerSettingsList;
    TCellTable SoilDataTable;
    TLineList SoilLegendList;
    TLineList CalculationConditionsList;
    TCellTable CoordinateTable1;
    TCellTable CoordinateTable2;
    // Ⅱ safety factor calculation
    TLineList FormulaList;
    TLineList ResultList;
    TColouredText ResultCaption;
    TCellTable CentreTable;
    // Ⅲ to Ⅴ
    TCircleReport Circle;

    TResultTables();
    bool operator==(const TResultTables&) const = default;
};

// The tables of the arbitrary-point analysis: sections Ⅲ to Ⅴ alone. A run
// preloads them with the critical circle.
struct TArbitraryTables {
    TCircleReport Circle;

    bool operator==(const TArbitraryTables&) const = default;
};

// Fixed texts.
const TLineList& SliceLegendText();
const TLineList& SliceNoteText();

}  // namespace sorvanta
