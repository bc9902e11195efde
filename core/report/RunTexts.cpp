// The lists a run writes for its critical circle.

#include <cmath>

#include "design/StoredOptions.h"
#include "report/ReportTexts.h"
#include "text/NumberFormat.h"

namespace sorvanta {

namespace {

std::string Metres(double v) {
    return FormatFloat("0.00m;-0.00m", v);
}

void Append(TLineList& lines, const TLineList& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

}  // namespace

TLineList FormulaLines(int form) {
    TLineList lines{"安全率は、次式で計算する。"};
    if (form == 1) {
        lines.insert(lines.end(), {"  Fs=Fr/Fo", "  Fr=Σ(c･L+W･cosα･tanφ)", "  Fo=Σ(W･sinα)", "",
                                   "ここに", "  Fs:安全率", "  Fr:抵抗力(kN)", "  Fo:滑り力(kN)"});
    } else {
        lines.insert(lines.end(),
                     {"  Fs=Mr/Mo", "  Mr=R･Σ(c･L+W･cosα･tanφ)", "  Mo=R･Σ(W･sinα)", "", "ここに",
                      "  Fs:安全率", "  Mr:抵抗ﾓｰﾒﾝﾄ(kNm)", "  Mo:滑動ﾓｰﾒﾝﾄ(kNm)"});
    }
    lines.insert(lines.end(),
                 {"  C :粘着力(kN/m2)", "  L :ｽﾗｲｽで区切られたすべり面の長さ(m)",
                  "  W :ｽﾗｲｽで区切られた土塊重量(kN)", "  α:ｽﾗｲｽで区切られた滑り円の中点を",
                  "     結ぶ直線と鉛直線のなす角(度)", "  φ:剪断抵抗角(度)"});
    return lines;
}

namespace {

bool Ordinary(const TAnalysisModel& m) {
    return m.Loads == TCaseLoads{} && m.Method == TSliceMethodKind::Ordinary &&
           m.PoreForm == TPoreForm::Modified;
}

}  // namespace

TLineList CaseFormulaLines(const TRunResult& run) {
    if (!run.Model || Ordinary(*run.Model)) return FormulaLines(run.Form);
    const TAnalysisModel& m = *run.Model;
    const bool force = run.Form == 1;
    const bool seismic = m.Loads.Kh != 0;
    const std::string kh = seismic ? "-kh･W･sinα" : "";
    const std::string pore = PoreFormText(m.PoreForm);
    TLineList lines{std::string("安全率は、") + MethodName(m.Method) + "により次式で計算する。"};
    if (seismic) lines.push_back("  地震時: 設計水平震度 kh=" + FormatFloat("0.00##", m.Loads.Kh));
    switch (m.Method) {
        case TSliceMethodKind::Ordinary:
            if (force) {
                lines.insert(lines.end(),
                             {"  Fs=Fr/Fo", "  Fr=Σ{c･L+(" + pore + kh + ")･tanφ}",
                              seismic ? "  Fo=Σ(W･sinα+kh･W･cosα)" : "  Fo=Σ(W･sinα)"});
            } else {
                lines.insert(lines.end(),
                             {"  Fs=Mr/Mo", "  Mr=R･Σ{c･L+(" + pore + kh + ")･tanφ}",
                              seismic ? "  Mo=Σ(R･W･sinα+kh･W･h)" : "  Mo=R･Σ(W･sinα)"});
            }
            break;
        case TSliceMethodKind::Bishop:
            lines.insert(lines.end(), {"  Fs=Σ{(c･b+(W-u･b)･tanφ)/mα}/Σ(W･sinα" +
                                           std::string(seismic ? "+kh･W･h/R)" : ")"),
                                       "  mα=cosα+sinα･tanφ/Fs"});
            break;
        case TSliceMethodKind::Janbu:
            lines.insert(lines.end(), {"  Fs=f0･Σ{(c･b+(W-u･b)･tanφ)/(cosα･mα)}/Σ(W･tanα" +
                                           std::string(seismic ? "+kh･W)" : ")"),
                                       "  mα=cosα+sinα･tanφ/Fs", "  f0=1+b1･(d/L-1.4･(d/L)^2)"});
            break;
        case TSliceMethodKind::Spencer:
        case TSliceMethodKind::MorgensternPrice:
            lines.insert(lines.end(), {"  各ｽﾗｲｽの力の釣合いと全体のﾓｰﾒﾝﾄの釣合いを満たすFsとλ",
                                       m.Method == TSliceMethodKind::Spencer
                                           ? "  ｽﾗｲｽ間力: X=λ･E"
                                           : "  ｽﾗｲｽ間力: X=λ･f(x)･E、f(x)は半正弦"});
            break;
    }
    lines.insert(lines.end(),
                 {"", "ここに", "  Fs:安全率", "  C :粘着力(kN/m2)",
                  "  L :ｽﾗｲｽで区切られたすべり面の長さ(m)", "  W :ｽﾗｲｽで区切られた土塊重量(kN)",
                  "  α:ｽﾗｲｽ底面の傾き(度)", "  φ:剪断抵抗角(度)"});
    if (seismic) lines.push_back("  h :円弧中心からｽﾗｲｽ重心までの鉛直距離(m)");
    if (m.Loads.Surcharge) lines.push_back("  W には載荷重を含む（載荷重に kh は掛けない）");
    return lines;
}

TLineList CaseResultLines(const TRunResult& run, const TAnalysisOptions& options) {
    TLineList lines;
    const auto force = CriticalRestrainingForce(run);
    if (!force) return lines;
    const TAnalysisModel& m = *run.Model;
    const std::string kn = "#,##0.00kN/m;-#,##0.00kN/m";
    lines.push_back("");
    lines.push_back("計画安全率 (PFs)=" + FormatFloat("0.00", m.PlannedFs) +
                    "  必要抑止力 (Pr)=" + FormatFloat(kn, *force));
    const TForceCircle& most = run.MostForce;
    if (most.Found) {
        lines.push_back("最大必要抑止力円 Pr=" + FormatFloat(kn, most.Force) +
                        " (Fs=" + FormatFloat("0.000;-0.000", most.Fs) + ")");
        lines.push_back("  円弧中心 (" + FormatFloat("0.00;-0.00", most.Xo) + ", " +
                        FormatFloat("0.00;-0.00", most.Yo) +
                        ")  R=" + FormatFloat("0.00m", most.R));
    }
    const TTypedAnalysisOptions o = ReadAnalysisOptions(options).Values;
    if (o.AnchorAngle && !o.AnchorX) {
        lines.push_back("ｱﾝｶｰ力 Td: ｱﾝｶｰ位置Xを指定すると求めます");
    } else if (o.AnchorAngle) {
        const auto anchor = CriticalAnchorForce(run, *o.AnchorAngle, *o.AnchorX);
        lines.push_back(anchor ? "ｱﾝｶｰ力 Td=" + FormatFloat(kn, anchor->Force) +
                                     " (θ=" + FormatFloat("0.0;-0.0", anchor->Theta) +
                                     "度, α=" + FormatFloat("0.0;-0.0", anchor->Alpha) + "度)"
                               : std::string("ｱﾝｶｰ力 Td: X=") +
                                     FormatFloat("0.00;-0.00", *o.AnchorX) + " では求まりません");
    }
    if (o.PilePitch)
        lines.push_back(
            "杭1本あたりの抑止力=" + FormatFloat("#,##0.00kN;-#,##0.00kN", *force * *o.PilePitch) +
            " (杭間隔 " + FormatFloat("0.00m", *o.PilePitch) + ")");
    return lines;
}

TLineList CircleAngleLines(double theta, double beta, double delta) {
    return {
        "  円弧開き角度 (Θ)=" + FormatFloat("0.00度", theta),
        "  円弧傾き     (β)=" + FormatFloat("0.00度", beta),
        "  円弧中心傾き (δ)=" + FormatFloat("0.00度", delta),
        "    (β:円弧起点と円弧終点を結ぶ線が水平線と成す角)",
        "    (δ:円弧起点と円弧中心を結ぶ線が鉛直線と成す角)",
        "  Check:Θ=2(β-δ)=" + FormatFloat("0.00度", 2 * (beta - delta)),
    };
}

TLineList ResultLines(const TCriticalCircle& c, int form) {
    const bool force = form == 1;
    TLineList lines{
        "滑り円を種々仮定し、最小安全率を求む。",
        "計算した結果は、下記のとおりである。",
        (force ? "安全率(Fs)=Fr/Fo=" : "安全率   (Fs)=Mr/Mo=") + FormatFloat("0.000;-0.000", c.Fs),
        force ? "抵抗力(Fr)=" + FormatFloat("#,##0.00kN", c.Resisting)
              : "抵抗ﾓｰﾒﾝﾄ(Mr)=" + FormatFloat("#,##0.00kNm", c.Resisting),
        force ? "滑り力(Fo)=" + FormatFloat("#,##0.00kN;-#,##0.00kN", c.Driving)
              : "滑動ﾓｰﾒﾝﾄ(Mo)=" + FormatFloat("#,##0.00kNm;-#,##0.00kNm", c.Driving),
        "",
        "滑り円諸元",
        "  円弧半径     (R )=" + FormatFloat("0.00m", c.R),
    };
    Append(lines, CircleAngleLines(c.Theta, c.Beta, c.Delta));
    Append(lines, {
                      "  円弧中心X座標(Xo)=" + Metres(c.Xo),
                      "  　々　　Y座標(Yo)=" + Metres(c.Yo),
                      "  円弧起点X座標(Xb)=" + Metres(c.Xb),
                      "  　々　　Y座標(Yb)=" + Metres(c.Yb),
                      "  円弧終点X座標(Xe)=" + Metres(c.Xe),
                      "  　々　　Y座標(Ye)=" + Metres(c.Ye),
                  });
    return lines;
}

TLineList SliceHeadingLines(const TCriticalCircle& c) {
    return {"最少安全率の滑り円弧の", "スライス荷重を下記に示す。",
            "  円弧中心X座標(Xo)=" + Metres(c.Xo), "  　々　　Y座標(Yo)=" + Metres(c.Yo),
            "  円弧半径     (R )=" + FormatFloat("0.00m", c.R)};
}

TLineList LoadHeadingLines(const TCriticalCircle& c) {
    return {"最少安全率のすべり円弧の", "荷重を下記に示す。", "  Xo(円弧中心X座標)=" + Metres(c.Xo),
            "  Yo(円弧中心Y座標)=" + Metres(c.Yo), "  R(円弧半径)=" + FormatFloat("0.00m", c.R)};
}

TLineList LoadLegendLines() {
    return {"ここに",
            "  ｽﾗｲｽNo:ｽﾗｲｽ番号(中心座標)",
            "   b:ｽﾗｲｽの幅(m)",
            " ΣH:各層の高さの合計(m)",
            " ΣV:各層の体積の合計(m3)",
            "  c :粘着力(kN/m2)",
            "  L :ｽﾗｲｽで区切られた",
            "     すべり面の長さ(m)",
            "  W :ｽﾗｲｽで区切られた各層",
            "     の土塊重量合計(kN)"};
}

TLineList LoadFormulaLines(int form) {
    TLineList lines{"  α:滑り面の傾斜角(度)", "    (ｽﾗｲｽで区切られた滑り円の",
                    "     中点を結ぶ直線と鉛直線", "     のなす角)", "  φ:剪断抵抗角(度)"};
    if (form == 1) {
        lines.insert(lines.end(), {"  Fr:抵抗力(kN)", "    =Σ(c･L+W･cosα･tanφ)", "  Fo:滑り力(kN)",
                                   "    =Σ(W･sinα)"});
    } else {
        lines.insert(lines.end(), {"  Mr:抵抗ﾓｰﾒﾝﾄ(kNm)", "    =R･Σ(c･L+W･cosα･tanφ)",
                                   "  Mo:滑動ﾓｰﾒﾝﾄ(kNm)", "    =R･Σ(W･sinα)"});
    }
    return lines;
}

TLineList JudgementLines(const TCriticalCircle& c, int form) {
    const bool force = form == 1;
    TLineList lines{
        (force ? "安全率(Fs)=Fr/Fo=" : "安全率(Fs)=Mr/Mo=") + FormatFloat("0.000;-0.000", c.Fs),
        "",
        "ここに",
        force ? "  Fr(抵抗力)=Σ(c･L+W･cosα･tanφ)=" + FormatFloat("#,##0.00kN", c.Resisting)
              : "  Mr(抵抗ﾓｰﾒﾝﾄ)=R･Σ(c･L+W･cosα･tanφ)=" + FormatFloat("#,##0.00kNm", c.Resisting),
        force
            ? "  Fo(滑り力)=Σ(W･sinα)          =" + FormatFloat("#,##0.00kN;-#,##0.00kN", c.Driving)
            : "  Mo(滑動ﾓｰﾒﾝﾄ)=R･Σ(W･sinα)          =" +
                  FormatFloat("#,##0.00kNm;-#,##0.00kNm", c.Driving),
        "",
        "滑り円諸元",
        "  円弧半径(R=)     =" + FormatFloat("0.00m", c.R),
    };
    Append(lines, CircleAngleLines(c.Theta, c.Beta, c.Delta));
    Append(lines, {
                      "  円弧中心X座標(Xo)=" + Metres(c.Xo),
                      "  　々　　Y座標(Yo)=" + Metres(c.Yo),
                      "",
                      "  円弧起点X座標(Xb)=" + Metres(c.Xb),
                      "  　々　　Y座標(Yb)=" + Metres(c.Yb),
                      "",
                      "  円弧終点X座標(Xe)=" + Metres(c.Xe),
                      "  　々　　Y座標(Ye)=" + Metres(c.Ye),
                  });
    return lines;
}

std::vector<std::string> CentreTableRow(int k, double x, double y, int status, double driving,
                                        double resisting, double r, double fs,
                                        double criticalAbsFs) {
    std::vector<std::string> row{std::to_string(k), FormatFloat("0.00", x), FormatFloat("0.00", y)};
    if (status == 0) {
        row.insert(row.end(), {"-", "-", "-", "[地形外]"});
        return row;
    }
    row.push_back(FormatFloat("#,##0.00", driving));
    row.push_back(FormatFloat("#,##0.00", resisting));
    row.push_back(FormatFloat("0.00", r));
    if (status == 2) {
        row.emplace_back("[∞]");
    } else {
        row.push_back(std::fabs(fs) <= criticalAbsFs ? FormatFloat("0.000 [解]", fs)
                                                     : FormatFloat("0.000", fs));
    }
    return row;
}

std::string VerdictText(TVerdict verdict) {
    switch (verdict) {
        case TVerdict::Within:
            return "安全率以内";
        case TVerdict::Outside:
            return "安全率外";
        case TVerdict::Infinite:
            return "Fs=∞";
        case TVerdict::NoCircle:
            break;
    }
    return "";
}

}  // namespace sorvanta
