#!/bin/bash
# sorvanta-calc run / arbitrary / check with the pre-calculation checks:
# outputs, messages and exit status.
# Usage: run_commands.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
expect_out() { grep -qF -- "$1" "$work/out" || fail "$2: stdout lacks '$1': $(cat "$work/out")"; }
expect_err() { grep -qF -- "$1" "$work/err" || fail "$2: stderr lacks '$1': $(cat "$work/err")"; }

sample=$data/design/sample.dat
# A copy of the sample with line N replaced (the file is cp932 with CR LF;
# the replacements are ASCII).
edited() { sed "$1s/.*/$2\r/" "$sample" >"$work/$3"; }

# The summary of the sample design.
run run "$sample"
expect_status 0 "run sample"
expect_out "安全率   (Fs)=Mr/Mo=2.040" "run sample"
expect_out "円弧中心 Xo=26.08m Yo=22.43m  円弧半径 R=18.46m" "run sample"
expect_out "判定: 安全率以内" "run sample"
[ -s "$work/err" ] && fail "run sample: stderr not empty: $(cat "$work/err")"

# The text file byte for byte; options may come before the design.
run run --text "$work/out.txt" "$sample"
expect_status 0 "run --text"
cmp "$work/out.txt" "$data/run/sample.txt" || fail "text output differs from the golden file"
[ -s "$work/out" ] && fail "run --text: a summary was printed"

# JSON: one object; the same with one thread and with several.
run run "$sample" --json "$work/a.json" --threads 1
expect_status 0 "run --json --threads 1"
run run "$sample" --json "$work/b.json" --threads 3 --grid-points 10 --contours
expect_status 0 "run --json --threads 3"
run run "$sample" --json "$work/c.json" --threads 1 --grid-points 10 --contours
cmp "$work/b.json" "$work/c.json" || fail "JSON depends on the thread count"
if command -v python3 >/dev/null; then
    python3 - "$work/a.json" "$work/b.json" <<'EOF' || fail "JSON content"
import json, sys
a = json.load(open(sys.argv[1], encoding="utf-8"))
assert a["design"] == "sample" and a["outcome"] == "ok" and a["messages"] == [], a["outcome"]
assert abs(a["critical"]["Fs"] - 2.040) < 0.0005
t = a["result_tables"]
assert t["centre_table"][0][0] == "No." and len(t["centre_table"]) == 37
assert t["load_table"][-1][0] == "合計"
assert t["result_caption"] == {"text": "計算結果(安全率以内)", "colour": "#800000"}
assert len(a["arbitrary_tables"]) == 10
for name in ("result", "arbitrary"):
    chart = a["charts"][name]
    assert len(chart["series"]) == 13 and chart["series"][0]["title"] == "地盤"
    assert len(chart["bottom"]) == 2
assert a["charts"]["result"]["series"][12]["points"] == []
b = json.load(open(sys.argv[2], encoding="utf-8"))
points = b["charts"]["result"]["series"][12]["points"]
assert len(points) > 90 and points[0][3] is not None
assert b["charts"]["arbitrary"]["series"][12]["points"] == points
EOF
fi

# The PDF document of the run and of the arbitrary point.
run run "$sample" --pdf "$work/run.pdf"
expect_status 0 "run --pdf"
[ "$(head -c 5 "$work/run.pdf")" = "%PDF-" ] || fail "run --pdf: not a PDF"
run arbitrary "$sample" 26 22 --pdf "$work/arbitrary.pdf"
expect_status 0 "arbitrary --pdf"
[ "$(head -c 5 "$work/arbitrary.pdf")" = "%PDF-" ] || fail "arbitrary --pdf: not a PDF"

# Force form.
run run "$sample" --form force
expect_status 0 "run --form force"
expect_out "安全率(Fs)=Fr/Fo=" "run --form force"

# No circle in the direction: the message on stderr, CR as a line break.
run run "$sample" --direction ccw --json "$work/n.json" --text "$work/n.txt"
expect_status 1 "run --direction ccw"
expect_err "該当する滑り方向の円弧は有りません。" "run ccw"
expect_err "滑り方向設定を変更してみて下さい。" "run ccw"
[ "$(wc -l <"$work/err")" -eq 3 ] || fail "run ccw: message lines: $(cat "$work/err")"
grep -q '"outcome": "no_circle"' "$work/n.json" || fail "run ccw: JSON outcome"
[ -e "$work/n.txt" ] && fail "run ccw: text written without a circle"

# Refused by the checks: every message, exit 1.
edited 58 11 mesh.dat
run run "$work/mesh.dat" --json "$work/r.json" --grid-points 0
expect_status 1 "run refused"
expect_err "ﾒｯｼｭ数は2～10に設定して下さい。" "run refused"
expect_err "格子点安全率のﾒｯｼｭ数は1～100の整数に設定して下さい。" "run refused"
grep -q '"outcome": "refused"' "$work/r.json" || fail "run refused: JSON outcome"
run check "$work/mesh.dat"
expect_status 1 "check refused"
expect_out "設計条件を読込みました。" "check refused"
expect_err "ﾒｯｼｭ数は2～10に設定して下さい。" "check refused"
run check "$sample"
expect_status 0 "check sample"
expect_out "計算前の点検に合格しました。" "check sample"
edited 56 0 width.dat
run check "$work/width.dat"
expect_status 1 "check slice width 0"
expect_err "土塊分割上限幅は0より大きい値に設定して下さい。" "check slice width 0"

# A value the run cannot convert.
edited 4 abc gamma.dat
run run "$work/gamma.dat"
expect_status 2 "run conversion error"
expect_err "'abc'" "run conversion error"
run check "$work/gamma.dat"
expect_status 2 "check conversion error"

# Arbitrary point.
run arbitrary "$sample" 26 22
expect_status 0 "arbitrary"
expect_out "任意点 Xo=26.00m Yo=22.00m" "arbitrary"
expect_out "安全率   (Fs)=Mr/Mo=" "arbitrary"
run arbitrary "$sample" 100 22 --json "$work/p.json"
expect_status 1 "arbitrary outside"
expect_err "円弧中心が地形定義幅外" "arbitrary outside"
grep -q '"outcome": "ok"' "$work/p.json" || fail "arbitrary outside: JSON"

# The arbitrary point's numbers beside the critical circle: the same values its
# lines show; null after a plain run, no circle outside the ground.
run arbitrary "$sample" 26 22 --json "$work/q.json" --form force
expect_status 0 "arbitrary --json"
if command -v python3 >/dev/null; then
    python3 - "$work/q.json" "$work/p.json" "$work/a.json" <<'EOF' || fail "arbitrary JSON object"
import json, sys
q, p, a = (json.load(open(f, encoding="utf-8")) for f in sys.argv[1:])
assert a["arbitrary"] is None
keys = list(q)
assert keys.index("arbitrary") == keys.index("critical") + 1, keys
o = q["arbitrary"]
assert (o["Xo"], o["Yo"], o["verdict"]) == (26, 22, "within"), o
t = q["arbitrary_tables"]
assert t["judgement"][0] == "安全率(Fs)=Fr/Fo=%.3f" % o["Fs"], (t["judgement"][0], o["Fs"])
assert t["judgement_label"]["text"] == "安全率以内"
assert "  抵抗力(Fr)={:,.2f}kN".format(o["Resisting"]) in t["judgement"]
assert "  円弧終点X座標(Xe)=%.2fm" % o["Xe"] in t["judgement"]
assert o["Fs"] != q["critical"]["Fs"]
n = p["arbitrary"]
assert n["verdict"] == "no_circle" and (n["Xo"], n["Yo"]) == (100, 22), n
assert all(n[k] is None for k in ("R", "Fs", "Resisting", "Driving", "Xb", "Ye")), n
EOF
fi
# Below the never-cut elevation no circle is tried; the reason is still given.
run arbitrary "$sample" 30 -1
expect_status 1 "arbitrary below the never-cut elevation"
expect_err "円弧中心が地層内" "arbitrary below the never-cut elevation"
run arbitrary "$sample" -5 22.5 --text "$work/p.txt"
cmp "$work/p.txt" "$data/run/sample.txt" || fail "arbitrary: text output is not the run's"

# Outputs that cannot be written.
run run "$sample" --text "$work/none/x.txt"
expect_status 2 "run unwritable text"

# Usage errors.
for args in "run" "run a.dat b.dat" "run $sample --direction up" "run $sample --form" \
            "run $sample --threads 0" "run $sample --grid-points x" "run $sample --bogus" \
            "arbitrary $sample 1" "arbitrary $sample x 2"; do
    # shellcheck disable=SC2086
    run $args
    expect_status 3 "usage '$args'"
done

echo "run commands: ok"
