#include "design/DesignFields.h"

#include <stdexcept>

#include "text/Conversion.h"

namespace sorvanta {

namespace {

TDesignField Field(TFieldId id, int layer, std::string name, std::string objectName) {
    TDesignField f;
    f.Id = id;
    f.Layer = layer;
    f.Name = std::move(name);
    f.ObjectName = std::move(objectName);
    return f;
}

TDesignField Text(TFieldId id, std::string name, std::string objectName,
                  std::string TDesignConditions::*text, TFieldRule rule, bool integer = false,
                  TFieldRange range = {}) {
    TDesignField f = Field(id, -1, std::move(name), std::move(objectName));
    f.Value = TFieldValue::Text;
    f.Integer = integer;
    f.Rule = rule;
    f.Range = range;
    f.Text = text;
    return f;
}

TDesignField Flag(TFieldId id, std::string name, std::string objectName,
                  bool TDesignConditions::*flag) {
    TDesignField f = Field(id, -1, std::move(name), std::move(objectName));
    f.Value = TFieldValue::Flag;
    f.Flag = flag;
    return f;
}

TDesignField Table(TFieldId id, std::string name, std::string objectName,
                   TCoordinateTable TDesignConditions::*table, int rowLimit) {
    TDesignField f = Field(id, -1, std::move(name), std::move(objectName));
    f.Value = TFieldValue::Table;
    f.Table = table;
    f.RowLimit = rowLimit;
    return f;
}

std::string LayerName(int layer, std::string_view what) {
    return std::to_string(layer + 1) + "層目の" + std::string(what);
}

std::vector<TDesignField> MakeFields() {
    const TFieldRange positive{.Min = 0, .MinOpen = true};
    std::vector<TDesignField> fields;
    fields.push_back(Text(TFieldId::LayerCount, "地層数", "LayerCount",
                          &TDesignConditions::LayerCount, TFieldRule::Aborting, true,
                          {.Min = 1, .Max = MaxLayers}));
    fields.push_back(Flag(TFieldId::WaterEnabled, "地下水の指定", "WaterEnabled",
                          &TDesignConditions::WaterEnabled));
    // "---" while groundwater is off: a text that does not convert weighs the
    // water as nothing, and the checks refuse it only with groundwater on.
    fields.push_back(Text(TFieldId::GammaW, "γw", "GammaW", &TDesignConditions::GammaW,
                          TFieldRule::Strict, false, positive));
    struct TSoilField {
        TFieldId Id;
        const char* Name;
        const char* ObjectName;
        std::string TSoilLayer::*Text;
        TFieldRange Range;
    };
    const TSoilField soil[] = {
        {TFieldId::GammaT, "γt", "GammaT", &TSoilLayer::GammaT, positive},
        {TFieldId::GammaS, "γs", "GammaS", &TSoilLayer::GammaS, positive},
        {TFieldId::Phi, "φ", "Phi", &TSoilLayer::Phi, {.Min = 0, .Max = 90, .MaxOpen = true}},
        {TFieldId::Cohesion, "Ｃ", "Cohesion", &TSoilLayer::Cohesion, {.Min = 0}},
    };
    for (int k = 0; k < MaxLayers; ++k) {
        for (const TSoilField& s : soil) {
            TDesignField f =
                Field(s.Id, k, LayerName(k, s.Name), s.ObjectName + std::to_string(k + 1));
            f.Rule = TFieldRule::Aborting;  // of the layers in use
            f.Range = s.Range;
            f.LayerText = s.Text;
            fields.push_back(std::move(f));
        }
    }
    for (int k = 0; k < MaxLayers; ++k) {
        TDesignField f = Field(TFieldId::Boundary, k, LayerName(k, "地層座標"),
                               "Boundary" + std::to_string(k + 1));
        f.Value = TFieldValue::Table;
        f.RowLimit = MaxBoundaryPoints;
        f.LayerTable = &TSoilLayer::Boundary;
        fields.push_back(std::move(f));
    }
    fields.push_back(Table(TFieldId::WaterTable, "地下水位座標", "WaterTable",
                           &TDesignConditions::WaterTable, MaxWaterPoints));
    {
        TDesignField f = Field(TFieldId::StressType, -1, "剪断抵抗計算種別", "StressType");
        f.Value = TFieldValue::Index;
        f.Range = {.Min = 0, .Max = 1};
        f.Index = &TDesignConditions::StressType;
        fields.push_back(std::move(f));
    }
    fields.push_back(Text(TFieldId::SafetyFactor, "安全率", "SafetyFactor",
                          &TDesignConditions::SafetyFactor, TFieldRule::Aborting, false, positive));
    fields.push_back(Text(TFieldId::MaxSliceWidth, "土塊分割上限幅", "MaxSliceWidth",
                          &TDesignConditions::MaxSliceWidth, TFieldRule::Aborting, false,
                          positive));
    fields.push_back(Text(TFieldId::MeshPitch, "ﾒｯｼｭﾋﾟｯﾁ", "MeshPitch",
                          &TDesignConditions::MeshPitch, TFieldRule::Aborting, false,
                          {.Min = 0.5, .Max = 15}));
    fields.push_back(Text(TFieldId::MeshCount, "ﾒｯｼｭ数", "MeshCount", &TDesignConditions::MeshCount,
                          TFieldRule::Aborting, true, {.Min = 2, .Max = 10}));
    fields.push_back(Flag(TFieldId::ShowSafetyFactors, "安全率表示", "ShowSafetyFactors",
                          &TDesignConditions::ShowSafetyFactors));
    fields.push_back(Flag(TFieldId::ShowCalculationProcess, "計算過程表示",
                          "ShowCalculationProcess", &TDesignConditions::ShowCalculationProcess));
    // Aborting where the model spans it over the ground surface's end rows;
    // the checks refuse a text that does not convert.
    fields.push_back(Text(TFieldId::NeverCutElevation, "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)", "NeverCutElevation",
                          &TDesignConditions::NeverCutElevation, TFieldRule::Aborting));
    fields.push_back(Flag(TFieldId::NeverCutLineEnabled, "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の指定",
                          "NeverCutLineEnabled", &TDesignConditions::NeverCutLineEnabled));
    fields.push_back(Table(TFieldId::NeverCutLine, "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の座標", "NeverCutLine",
                           &TDesignConditions::NeverCutLine, MaxNeverCutLinePoints));
    fields.push_back(Flag(TFieldId::MustCutPointEnabled, "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の指定",
                          "MustCutPointEnabled", &TDesignConditions::MustCutPointEnabled));
    fields.push_back(Table(TFieldId::MustCutPoint, "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の座標", "MustCutPoint",
                           &TDesignConditions::MustCutPoint, MaxMustCutPoints));
    fields.push_back(Flag(TFieldId::LoadEnabled, "載荷重の指定", "LoadEnabled",
                          &TDesignConditions::LoadEnabled));
    fields.push_back(Text(TFieldId::LoadIntensity, "荷重強度", "LoadIntensity",
                          &TDesignConditions::LoadIntensity, TFieldRule::Strict, false,
                          {.Min = 0}));
    fields.push_back(Text(TFieldId::LoadStartX, "載荷開始位置X座標", "LoadStartX",
                          &TDesignConditions::LoadStartX, TFieldRule::Strict));
    fields.push_back(Text(TFieldId::LoadEndX, "載荷終了位置X座標", "LoadEndX",
                          &TDesignConditions::LoadEndX, TFieldRule::Strict));
    return fields;
}

}  // namespace

const std::vector<TDesignField>& DesignFields() {
    static const std::vector<TDesignField> fields = MakeFields();
    return fields;
}

const TDesignField& DesignField(TFieldId id, int layer) {
    for (const TDesignField& f : DesignFields()) {
        if (f.Id == id && (f.Layer < 0 || f.Layer == layer)) return f;
    }
    throw std::out_of_range("no design field of this id and layer");
}

const std::string& FieldText(const TDesignConditions& design, const TDesignField& f) {
    if (f.LayerText) return design.Layers.at(static_cast<std::size_t>(f.Layer)).*f.LayerText;
    return design.*f.Text;
}

std::string& FieldText(TDesignConditions& design, const TDesignField& f) {
    if (f.LayerText) return design.Layers.at(static_cast<std::size_t>(f.Layer)).*f.LayerText;
    return design.*f.Text;
}

const TCoordinateTable& FieldTable(const TDesignConditions& design, const TDesignField& f) {
    if (f.LayerTable) return design.Layers.at(static_cast<std::size_t>(f.Layer)).*f.LayerTable;
    return design.*f.Table;
}

TCoordinateTable& FieldTable(TDesignConditions& design, const TDesignField& f) {
    if (f.LayerTable) return design.Layers.at(static_cast<std::size_t>(f.Layer)).*f.LayerTable;
    return design.*f.Table;
}

std::optional<double> StrictNumber(const TDesignConditions& design, TFieldId id, int layer) {
    return TryStrToFloat(FieldText(design, DesignField(id, layer)));
}

std::optional<int> StrictInteger(const TDesignConditions& design, TFieldId id, int layer) {
    return TryStrToInt(FieldText(design, DesignField(id, layer)));
}

std::vector<int> DesignFieldLines(const TDesignConditions& design) {
    std::vector<int> lines;
    int next = 1;
    for (const TDesignField& f : DesignFields()) {
        lines.push_back(next);
        next += f.Value == TFieldValue::Table
                    ? 1 + static_cast<int>(FieldTable(design, f).Rows.size())
                    : 1;
    }
    return lines;
}

}  // namespace sorvanta
