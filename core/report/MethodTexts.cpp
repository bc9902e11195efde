// The texts and tables of the methods of slices beyond the ordinary one, and
// the comparison of every method on one circle.

#include "report/MethodTexts.h"

#include <cmath>
#include <numbers>

#include "report/ReportTexts.h"
#include "report/VerdictTexts.h"
#include "text/Cp932.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

bool Rigorous(TSliceMethodKind method) {
    return method == TSliceMethodKind::Spencer || method == TSliceMethodKind::MorgensternPrice;
}

std::string Factor(double fs) {
    return FormatFloat("0.000;-0.000", fs);
}

std::string LambdaText(double lambda) {
    return FormatFloat("0.0000;-0.0000", lambda);
}

}  // namespace

const char* PoreFormText(TPoreForm form) {
    return form == TPoreForm::Conventional ? "W･cosα-u･l" : "(W-u･b)･cosα";
}

const char* MethodName(TSliceMethodKind method) {
    switch (method) {
        case TSliceMethodKind::Ordinary:
            return "修正フェレニウス法";
        case TSliceMethodKind::Bishop:
            return "簡便ビショップ法";
        case TSliceMethodKind::Janbu:
            return "簡便ヤンブ法";
        case TSliceMethodKind::Spencer:
            return "スペンサー法";
        case TSliceMethodKind::MorgensternPrice:
            return "モルゲンシュテルン・プライス法";
    }
    return "";
}

std::string MethodResultLine(TSliceMethodKind method, const TCircleEvaluation& sums) {
    if (method == TSliceMethodKind::Ordinary) return {};
    std::string line = std::string("  分割法:") + MethodName(method);
    if (method == TSliceMethodKind::Janbu)
        line +=
            " F0=" + Factor(sums.UncorrectedFs) + " f0=" + FormatFloat("0.000", sums.Correction);
    else if (Rigorous(method))
        line += " λ=" + LambdaText(sums.Lambda);
    return line;
}

void PutMethodLine(TLineList& list, std::size_t at, TSliceMethodKind method,
                   const TCircleEvaluation& sums) {
    std::string line = MethodResultLine(method, sums);
    if (line.empty()) return;
    if (at < list.size() && list[at].empty())
        list[at] = std::move(line);
    else
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(at, list.size())),
                    std::move(line));
}

void WriteMethodTables(TCircleReport& target, TSliceMethodKind method,
                       const TCircleRecord& record) {
    target.MethodHeadingList.clear();
    target.MethodTable = {};
    const TCircleEvaluation& sums = record.Sums;
    if (method == TSliceMethodKind::Ordinary || sums.Verdict != TCircleVerdict::Valid) return;
    const bool rigorous = Rigorous(method);
    const int n = static_cast<int>(record.Rows.size());
    target.MethodTable = TCellTable(
        4, {110, 60, 80, 80}, 17,
        rigorous ? "ｽﾗｲｽNo(座標),α(度),E(kN),X(kN)" : "ｽﾗｲｽNo(座標),α(度),tanφ,mα", n + 1);
    for (int i = 1; i <= n; ++i) {
        const TSliceRow& s = record.Rows[static_cast<std::size_t>(i - 1)];
        auto& row = target.MethodTable.Rows[static_cast<std::size_t>(i)];
        row[0] = "No." + FormatFloat("00", i) + FormatFloat("(0.00)", s.CentreX);
        row[1] = FormatFloat(" 0.0;-0.0", s.Alpha * 180.0 / std::numbers::pi);
        if (rigorous) {
            // What rounds to zero is written without a sign (at the mass's end).
            const auto force = [](double v) {
                return FormatFloat(" #,##0.00;-#,##0.00", std::fabs(v) < 0.005 ? 0.0 : v);
            };
            row[2] = force(s.InterE);
            row[3] = force(s.InterX);
        } else {
            row[2] = FormatFloat("0.000", std::tan(s.Phi));
            row[3] = FormatFloat("0.000", s.MAlpha);
        }
    }

    TLineList& h = target.MethodHeadingList;
    h.push_back(std::string(MethodName(method)) + "による各ｽﾗｲｽの値を下記に示す。");
    if (method == TSliceMethodKind::Janbu) {
        h.push_back("  補正前の安全率(F0)=" + Factor(sums.UncorrectedFs));
        h.push_back("  補正係数      (f0)=" + FormatFloat("0.000", sums.Correction));
        h.push_back("  安全率(Fs)=f0･F0=" + Factor(sums.Fs));
    } else {
        h.push_back("  安全率(Fs)=" + Factor(sums.Fs));
    }
    if (rigorous) h.push_back("  λ=" + LambdaText(sums.Lambda));
    h.insert(h.end(), {"", "ここに"});
    switch (method) {
        case TSliceMethodKind::Bishop:
            h.push_back("  mα=cosα+sinα･tanφ/Fs");
            break;
        case TSliceMethodKind::Janbu:
            h.push_back("  mα=cosα+sinα･tanφ/F0");
            break;
        case TSliceMethodKind::Spencer:
        case TSliceMethodKind::MorgensternPrice:
            h.insert(h.end(),
                     {"  E :ｽﾗｲｽ間の垂直力(kN)",
                      method == TSliceMethodKind::Spencer ? "  X :ｽﾗｲｽ間のせん断力(kN)=λ･E"
                                                          : "  X :ｽﾗｲｽ間のせん断力(kN)=λ･f(x)･E",
                      "  E,X はｽﾗｲｽの滑り頭部側の面に働く"});
            break;
        case TSliceMethodKind::Ordinary:
            break;
    }
}

TCellTable MethodComparisonTable(const std::vector<TMethodFs>& methods, TSliceMethodKind chosen) {
    TCellTable table(3, {230, 80, 260}, 17, "分割法,安全率(Fs),備考",
                     static_cast<int>(methods.size()) + 1);
    for (std::size_t k = 0; k < methods.size(); ++k) {
        const TMethodFs& m = methods[k];
        auto& row = table.Rows[k + 1];
        row[0] = std::string(m.Method == chosen ? "＊" : "　") + MethodName(m.Method);
        switch (m.Verdict) {
            case TCircleVerdict::Valid:
                row[1] = Factor(m.Fs);
                if (m.Method == TSliceMethodKind::Janbu)
                    row[2] = "補正前 F0=" + Factor(m.UncorrectedFs) +
                             "  f0=" + FormatFloat("0.000", m.Correction);
                else if (Rigorous(m.Method))
                    row[2] = "λ=" + LambdaText(m.Lambda);
                break;
            case TCircleVerdict::LevelGround:
                row[1] = "∞";
                break;
            default:
                row[1] = "-";
                row[2] = "解なし: " + CircleVerdictText(m.Verdict);
                break;
        }
    }
    return table;
}

TLineList MethodComparisonLines(const TCellTable& table) {
    std::vector<std::size_t> widths(static_cast<std::size_t>(table.ColCount), 0);
    for (const auto& row : table.Rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], Cp932Length(row[c]));
    TLineList lines;
    for (const auto& row : table.Rows) {
        std::string line = " ";
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::size_t pad = widths[c] - Cp932Length(row[c]);
            // The factor right-aligned, the words left-aligned.
            if (c == 1) line.append(pad, ' ');
            line += ' ' + row[c];
            if (c != 1 && c + 1 < row.size()) line.append(pad, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
    }
    lines.emplace_back("  ＊:設計条件の分割法");
    return lines;
}

}  // namespace sorvanta
