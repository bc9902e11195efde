// Section Ⅰ of the calculation document: the design as entered, with the soil
// values of the run's model.

#include <numbers>

#include "engine/AnalysisModel.h"
#include "report/ReportTexts.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

// Every blank of these lines is an ideographic space; each chapter line is 22
// characters long so that the page references line up.
TLineList ContentsLines(const std::string& designName) {
    TLineList lines{"", "", "件　名：" + designName, "", "", "　　　　　　　円弧すべり計算書"};
    for (const char* chapter :
         {"　Ⅰ.設計条件　　　　　　　　　・・・・P1", "　Ⅱ.安全率の計算　　　　　　　・・・・P2",
          "　Ⅲ.滑り円弧スライス荷重　　　・・・・P3", "　Ⅳ.滑り円弧荷重　　　　　　　・・・・P4",
          "　Ⅴ.滑り円弧図　　　　　　　　・・・・P5"}) {
        lines.emplace_back();
        lines.emplace_back();
        lines.emplace_back(chapter);
    }
    return lines;
}

// A heading row (label, "-", "-") and a copy of the table's rows. The first
// block overwrites the placeholder row 1.
class TBlockAppender {
  public:
    explicit TBlockAppender(TCellTable& table) : table_(table) {
        table_ = MakeCoordinateTable();
        table_.SetRowCommaList(1, "-,-,-");
    }

    void Append(const char* label, const TCoordinateTable& rows) {
        AddRow({label, "-", "-"});
        for (const TCoordinateRow& row : rows.Rows) AddRow({row.No, row.X, row.Y});
    }

  private:
    void AddRow(std::vector<std::string> cells) {
        if (first_) {
            first_ = false;
        } else {
            table_.SetRowCount(table_.RowCount() + 1);
        }
        table_.Rows.back() = std::move(cells);
    }

    TCellTable& table_;
    bool first_ = true;
};

}  // namespace

void WriteDesignListing(TResultTables& tables, const TDesignConditions& design,
                        const TAnalysisModel& model) {
    const int n = model.NumLayers;

    tables.ContentsList = ContentsLines(design.DesignName);

    tables.LayerSettingsList = {"1.地層設定", "  1)地層数=" + FormatFloat("0層", n)};
    if (model.WaterOn) {
        tables.LayerSettingsList.emplace_back("  2)地下水：有り");
        tables.LayerSettingsList.push_back(
            "  3)" + FormatFloat("水の単位体積重量(kN/m3)=0.00", model.GammaWater));
    } else {
        tables.LayerSettingsList.emplace_back("  2)地下水：無し");
    }

    TCellTable& soil = tables.SoilDataTable;
    for (int r = 1; r <= MaxLayers; ++r) {
        soil.SetRowCommaList(r, "-,-,-,-");
        soil.Cell(r, 0) = std::to_string(r) + "層目";
    }
    for (int i = 1; i <= n && i <= MaxLayers; ++i) {
        const TSoilValues& values = model.Soil[static_cast<std::size_t>(i - 1)];
        soil.Cell(i, 1) = FormatFloat("0.0", values.GammaT);
        soil.Cell(i, 2) = FormatFloat("0.0", values.Phi * 180.0 / std::numbers::pi);
        soil.Cell(i, 3) = FormatFloat("0.0", values.C);
    }

    tables.SoilLegendList = {"ここに", "  γt:土の湿潤単位体積重量(kN/m3)", "   φ:せん断抵抗角(度)",
                             "   C :粘着力(kN/m2)"};

    tables.CalculationConditionsList = {
        "3.計算条件",
        "",
        "1)一般条件",
        "  (1)必要安全率    =" + design.SafetyFactor,
        "  (2)土塊分割上限幅=" + design.MaxSliceWidth + "m",
        "  (3)ｽﾍﾞﾘ円表示用定数",
        "     ﾒｯｼｭﾋﾟｯﾁ      =" + design.MeshPitch + "m",
        "     ﾒｯｼｭ数        =" + design.MeshCount,
        "",
        "2)円弧条件",
        "  (1)N.C.L(標高)=" + design.NeverCutElevation + "m",
        design.NeverCutLineEnabled ? "  (2)N.C.L(任意)=指定有り" : "  (2)N.C.L(任意)=指定無し",
        design.MustCutPointEnabled ? "  (3)M.C.P(任意)=指定有り" : "  (3)M.C.P(任意)=指定無し",
        "",
        "  ここに",
        "    N.C.L:ﾈﾊﾞｰｶｯﾄﾗｲﾝ",
        "    M.C.P:ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ",
    };

    static const char* const layerLabels[MaxLayers] = {"地表面", "2層目", "3層目", "4層目",
                                                       "5層目"};
    TBlockAppender table1(tables.CoordinateTable1);
    for (int k = 1; k <= 3 && k <= n; ++k) {
        table1.Append(layerLabels[k - 1], design.Layers[static_cast<std::size_t>(k - 1)].Boundary);
    }
    TBlockAppender table2(tables.CoordinateTable2);
    for (int k = 4; k <= n && k <= MaxLayers; ++k) {
        table2.Append(layerLabels[k - 1], design.Layers[static_cast<std::size_t>(k - 1)].Boundary);
    }
    if (model.WaterOn) table2.Append("地下水", design.WaterTable);
    if (design.NeverCutLineEnabled) table2.Append("N.C.L", design.NeverCutLine);
    if (design.MustCutPointEnabled) table2.Append("M.C.P", design.MustCutPoint);
}

}  // namespace sorvanta
