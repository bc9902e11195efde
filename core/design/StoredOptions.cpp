#include "design/StoredOptions.h"

#include <cmath>
#include <type_traits>
#include <utility>

#include "design/Variations.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"

namespace sorvanta {

namespace {

TStoredOption Number(std::string_view key, std::string name, std::string objectName,
                     std::string TAnalysisOptions::*text, bool optional, TFieldRange range,
                     std::string rangeText) {
    TStoredOption o;
    o.Key = key;
    o.Name = std::move(name);
    o.ObjectName = std::move(objectName);
    o.Value = TOptionValue::Number;
    o.Text = text;
    o.Optional = optional;
    o.Range = range;
    o.RangeText = std::move(rangeText);
    return o;
}

// A choice stored in an enumeration member, its items in the enumeration's
// order.
template <auto Member>
TStoredOption Choice(std::string_view key, std::string name, std::string objectName,
                     std::vector<std::string_view> items) {
    using TEnum = std::remove_cvref_t<decltype(std::declval<TAnalysisOptions&>().*Member)>;
    TStoredOption o;
    o.Key = key;
    o.Name = std::move(name);
    o.ObjectName = std::move(objectName);
    o.Value = TOptionValue::Choice;
    o.Items = std::move(items);
    o.GetIndex = [](const TAnalysisOptions& a) { return static_cast<int>(a.*Member); };
    o.SetIndex = [](TAnalysisOptions& a, int i) { a.*Member = static_cast<TEnum>(i); };
    return o;
}

std::vector<TStoredOption> MakeOptions() {
    using O = TAnalysisOptions;
    const TFieldRange positive{.Min = 0, .MinOpen = true};
    std::vector<TStoredOption> options;
    options.push_back(Number(O::KhKey.Key, "設計水平震度kh", "Kh", &O::Kh, false,
                             {.Min = 0, .Max = 1, .MaxOpen = true}, "0以上1未満の数値"));
    options.push_back(Choice<&O::Case>(O::CaseKey.Key, "検討ケース", "DesignCase",
                                       {"normal", "seismic", "both"}));
    options.push_back(Number(O::RequiredFsSeismicKey.Key, "地震時の所要安全率", "RequiredFsSeismic",
                             &O::RequiredFsSeismic, false, positive, "0より大きい数値"));
    options.push_back(Number(O::PlannedFsKey.Key, "計画安全率PFs", "PlannedFs", &O::PlannedFs, true,
                             positive, "0より大きい数値"));
    options.push_back(Number(O::AnchorAngleKey.Key, "アンカー角度θ", "AnchorAngle", &O::AnchorAngle,
                             true, {.Min = -90, .Max = 90, .MinOpen = true, .MaxOpen = true},
                             "-90より大きく90より小さい数値"));
    options.push_back(Number(O::PilePitchKey.Key, "杭間隔", "PilePitch", &O::PilePitch, true,
                             positive, "0より大きい数値"));
    options.push_back(
        Number(O::AnchorXKey.Key, "アンカー位置X", "AnchorX", &O::AnchorX, true, {}, "数値"));
    {
        TStoredOption o;
        o.Key = O::LoadInAnalysisKey.Key;
        o.Name = "載荷重を計算に含める";
        o.ObjectName = "LoadInAnalysis";
        o.Value = TOptionValue::Flag;
        o.Flag = &O::LoadInAnalysis;
        options.push_back(std::move(o));
    }
    options.push_back(
        Choice<&O::Method>(O::MethodKey.Key, "分割法", "SliceMethod",
                           {"ordinary", "bishop", "janbu", "spencer", "morgenstern-price"}));
    options.push_back(Choice<&O::PoreForm>(O::PoreFormKey.Key, "間隙水圧の扱い", "PoreForm",
                                           {"modified", "conventional"}));
    {
        TStoredOption o;
        o.Key = O::VariationsKey.Key;
        o.Name = "ばらつき";
        o.ObjectName = "Variations";
        o.Value = TOptionValue::List;
        o.Text = &O::Variations;
        o.Check = [](std::string_view text) -> std::optional<std::string> {
            TVariations scratch;
            return ReadVariations(scratch, text);
        };
        options.push_back(std::move(o));
    }
    return options;
}

std::string Quoted(std::string_view text) {
    return "（'" + ShortenForMessage(text) + "'）。";
}

std::string ItemList(const TStoredOption& option) {
    std::string list;
    for (std::size_t i = 0; i < option.Items.size(); ++i) {
        if (i > 0) list += "、";
        list += option.Items[i];
    }
    return list;
}

// The number an option's text stands for; unset when it is off (empty and
// optional). A problem when the text is not a number of the option's range.
std::optional<std::string> ReadNumber(const TStoredOption& option, std::string_view text,
                                      std::optional<double>& value) {
    value.reset();
    if (option.Optional && text.empty()) return std::nullopt;
    const std::optional<double> v = TryStrToFloat(text);
    if (!v || !std::isfinite(*v) || !option.Range.Contains(*v)) {
        return option.Name + "は" + option.RangeText + "で指定して下さい" + Quoted(text);
    }
    value = v;
    return std::nullopt;
}

}  // namespace

const std::vector<TStoredOption>& StoredOptions() {
    static const std::vector<TStoredOption> options = MakeOptions();
    return options;
}

const TStoredOption* FindStoredOption(std::string_view key) {
    for (const TStoredOption& o : StoredOptions()) {
        if (o.Key == key) return &o;
    }
    return nullptr;
}

std::string StoredOptionText(const TAnalysisOptions& options, const TStoredOption& option) {
    switch (option.Value) {
        case TOptionValue::Number:
        case TOptionValue::List:
            return options.*option.Text;
        case TOptionValue::Choice: {
            const int i = option.GetIndex(options);
            return i >= 0 && static_cast<std::size_t>(i) < option.Items.size()
                       ? std::string(option.Items[static_cast<std::size_t>(i)])
                       : std::to_string(i);
        }
        case TOptionValue::Flag:
            return options.*option.Flag ? "true" : "false";
    }
    return {};
}

bool IsDefault(const TAnalysisOptions& options, const TStoredOption& option) {
    return StoredOptionText(options, option) == StoredOptionText(TAnalysisOptions{}, option);
}

std::optional<std::string> SetStoredOption(TAnalysisOptions& options, const TStoredOption& option,
                                           std::string_view text) {
    switch (option.Value) {
        case TOptionValue::Number: {
            std::optional<double> value;
            if (auto problem = ReadNumber(option, text, value)) return problem;
            options.*option.Text = std::string(text);
            return std::nullopt;
        }
        case TOptionValue::List:
            if (!text.empty()) {
                if (auto problem = option.Check(text)) return problem;
            }
            options.*option.Text = std::string(text);
            return std::nullopt;
        case TOptionValue::Choice:
            for (std::size_t i = 0; i < option.Items.size(); ++i) {
                if (option.Items[i] == text) {
                    option.SetIndex(options, static_cast<int>(i));
                    return std::nullopt;
                }
            }
            return option.Name + "は " + ItemList(option) + " のどれかで指定して下さい" +
                   Quoted(text);
        case TOptionValue::Flag:
            if (text == "true" || text == "false") {
                options.*option.Flag = text == "true";
                return std::nullopt;
            }
            return option.Name + "は true か false で指定して下さい" + Quoted(text);
    }
    return std::nullopt;
}

std::optional<std::string> StoredOptionProblem(const TAnalysisOptions& options,
                                               const TStoredOption& option) {
    TAnalysisOptions scratch = options;
    return SetStoredOption(scratch, option, StoredOptionText(options, option));
}

void ResetStoredOptions(TAnalysisOptions& options) {
    const TAnalysisOptions defaults;
    for (const TStoredOption& o : StoredOptions()) {
        switch (o.Value) {
            case TOptionValue::Number:
            case TOptionValue::List:
                options.*o.Text = defaults.*o.Text;
                break;
            case TOptionValue::Choice:
                o.SetIndex(options, o.GetIndex(defaults));
                break;
            case TOptionValue::Flag:
                options.*o.Flag = defaults.*o.Flag;
                break;
        }
    }
}

std::vector<std::string> OptionsBlockLines(const TAnalysisOptions& options) {
    std::vector<std::string> lines;
    for (const TStoredOption& o : StoredOptions()) {
        if (IsDefault(options, o)) continue;
        if (lines.empty()) lines.emplace_back(OptionsBlockMarker);
        lines.push_back(std::string(o.Key) + "=" + StoredOptionText(options, o));
    }
    return lines;
}

TAnalysisOptionsReading ReadAnalysisOptions(const TAnalysisOptions& options) {
    TAnalysisOptionsReading r;
    TTypedAnalysisOptions& t = r.Values;
    const auto number = [&](const std::string TAnalysisOptions::*text) {
        std::optional<double> value;
        for (const TStoredOption& o : StoredOptions()) {
            if (o.Text != text) continue;
            if (auto problem = ReadNumber(o, options.*text, value))
                r.Problems.push_back(std::move(*problem));
        }
        return value;
    };
    t.Kh = number(&TAnalysisOptions::Kh).value_or(0);
    t.Case = options.Case;
    t.RequiredFsSeismic = number(&TAnalysisOptions::RequiredFsSeismic).value_or(1.0);
    t.PlannedFs = number(&TAnalysisOptions::PlannedFs);
    t.AnchorAngle = number(&TAnalysisOptions::AnchorAngle);
    t.PilePitch = number(&TAnalysisOptions::PilePitch);
    t.AnchorX = number(&TAnalysisOptions::AnchorX);
    t.LoadInAnalysis = options.LoadInAnalysis;
    if (!r.Problems.empty()) return r;

    // Faults of the options taken together, once each option reads.
    if (t.Case != TDesignCase::Normal && t.Kh == 0) {
        r.Problems.push_back(
            "検討ケースに地震時を含むときは、設計水平震度khを0より大きくして下さい。");
    }
    if ((t.AnchorAngle || t.PilePitch) && !t.PlannedFs) {
        r.Problems.push_back("アンカー角度と杭間隔は、計画安全率PFsとともに指定して下さい。");
    }
    if (t.AnchorX && !t.AnchorAngle) {
        r.Problems.push_back("アンカー位置Xは、アンカー角度とともに指定して下さい。");
    }
    return r;
}

}  // namespace sorvanta
