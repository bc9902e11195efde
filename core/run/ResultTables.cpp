#include "run/ResultTables.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

std::vector<std::string> SplitCommaList(std::string_view list) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) {
            cells.emplace_back(list.substr(start));
            return cells;
        }
        cells.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

TCellTable::TCellTable(int colCount, std::vector<int> colWidths, int defaultRowHeight,
                       std::string_view headerCommaList, int rowCount)
    : ColCount(colCount), ColWidths(std::move(colWidths)), DefaultRowHeight(defaultRowHeight) {
    SetRowCount(rowCount);
    SetRowCommaList(0, headerCommaList);
}

void TCellTable::SetRowCount(int rowCount) {
    if (rowCount < 0) throw std::out_of_range("negative row count");
    Rows.resize(static_cast<std::size_t>(rowCount),
                std::vector<std::string>(static_cast<std::size_t>(ColCount)));
}

void TCellTable::SetRowCommaList(int row, std::string_view commaList) {
    auto& cells = Rows.at(static_cast<std::size_t>(row));
    std::vector<std::string> items = SplitCommaList(commaList);
    for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c] = c < items.size() ? std::move(items[c]) : std::string();
    }
}

TCellTable MakeSoilDataTable() {
    return TCellTable(4, {50, 37, 37, 37}, 17, SoilDataHeader, 6);
}

TCellTable MakeCoordinateTable() {
    return TCellTable(3, {40, 40, 40}, 15, CoordinateHeader, 2);
}

TCellTable MakeCentreTable() {
    return TCellTable(7, {25, 45, 45, 70, 70, 70, 65}, 17, CentreHeaderMoment, 2);
}

TCellTable MakeSliceTable() {
    return TCellTable(14, {38, 28, 35, 35, 35, 35, 35, 35, 35, 35, 33, 33, 35, 35}, 17, SliceHeader,
                      2);
}

TCellTable MakeLoadTable() {
    return TCellTable(14, {75, 35, 35, 35, 35, 35, 55, 35, 35, 35, 30, 35, 55, 65}, 17,
                      LoadHeaderMoment, 2);
}

const TLineList& SliceLegendText() {
    static const TLineList text{"ここに",
                                "　ｽﾗｲｽNo：ｽﾗｲｽ番号",
                                "　b：ｽﾗｲｽの幅 (m)",
                                "　H1～H5：各層の高さ(m)",
                                "　ΣH　 ：各層の高さの合計(m)",
                                "　V1～V5：各層の体積(m3)",
                                "　ΣV   ：各層の体積の合計(m3)"};
    return text;
}

const TLineList& SliceNoteText() {
    static const TLineList text{" (注)", "　V(体積)は、スライス下面を円",
                                "　弧として、厳密に計算している。",
                                "　従って、V=b･Hとは若干異なる。"};
    return text;
}

TResultTables::TResultTables()
    : ContentsList{"目次"},
      LayerSettingsList{"  1)地層数=1層", "  2)地下水：有り", "  3)水の単位体積重量=0.00 kN/m3"},
      SoilDataTable(MakeSoilDataTable()),
      SoilLegendList{"ここに", "　γt:土の湿潤単位体積重量(kN/m3)", "　 φ:内部摩擦角(度)",
                     "　 C :粘着力(kN/m2)"},
      CalculationConditionsList{"1.一般条件",
                                "  1)計算方法",
                                "  2)必要安全率         =0.0",
                                "  3)土塊分割上限幅(m)  =0.0",
                                "  2)安定計算ﾒｯｼｭﾋﾟｯﾁ(m)=0.0",
                                "  3)安定計算ﾒｯｼｭ数     =0.0",
                                "2.円弧条件",
                                "  1)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (NCL)",
                                "  2)ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(MCP)"},
      CoordinateTable1(MakeCoordinateTable()),
      CoordinateTable2(MakeCoordinateTable()),
      FormulaList{"安全率は、次式で計算する。",
                  "  Fs=ΣMr/ΣMo",
                  "  Mr=Σ(c･L+W･cosα･tanφ)",
                  "  Mo=ΣW･sinα",
                  "ここに",
                  "  Fs:安全率",
                  "  C :粘着力(kN/m2)",
                  "  φ:剪断抵抗角(度)",
                  "  L :ｽﾗｲｽで区切られたすべり面の長さ(m)",
                  "  W :全重量(kN/m)",
                  "  b :ｽﾗｲｽの幅(m)",
                  "  α:ｽﾗｲｽで区切られたすべり面の中点を",
                  "     結ぶ直線と鉛直線のなす角(度)"},
      ResultList{"滑り円を仮定し、最小安全率を解とする。",
                 "    1)安全率(Fs)=0",
                 "    2)抵抗力(Mr)=0",
                 "    3)滑り力(Mo)=0",
                 "滑り円半径等",
                 "    4)すべり円半径(R)      =0",
                 "    5)すべり円中心X座標(Xo)=0",
                 "    6)すべり円中心Y座標(Yo)=0"},
      ResultCaption{"計算結果", std::nullopt},
      CentreTable(MakeCentreTable()) {
    Circle.JudgementList = {"安全率(Fs)=Mr/Mo",     "  Xo=0.0m",     "  Yo=0.0m",      "  R =0.00m",
                            "  Mr=Σ(cL+Wcosαtanφ)", "  Mo=Σ(Wsinα)", "  Fs=Mr/Mo=0.00"};
}

TCircleReport::TCircleReport()
    : SliceTable(MakeSliceTable()),
      SliceLegendList(SliceLegendText()),
      SliceNoteList(SliceNoteText()),
      LoadTable(MakeLoadTable()),
      JudgementLabel{"判定", std::nullopt} {}

}  // namespace sorvanta
