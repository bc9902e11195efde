#!/bin/bash
# --all-methods: every method's factor on the arbitrary point's circle and on
# the run's critical circle, on stdout and in the JSON; a method without a
# solution says why. Plain commands print no comparison.
# Usage: all_methods.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
expect_out() { grep -qF -- "$1" "$work/out" || fail "$2: stdout lacks '$1': $(cat "$work/out")"; }
fk=$(realpath "$data/../../verification/fredlund-krahn-1977-case1/design.dat")
sample=$(realpath "$data/design/sample.dat")
cut=$(realpath "$data/../../verification/craig-2004-undrained-cut/design.dat")
cd "$work"

# The published circle (counter-clockwise: the factors are written negative).
run arbitrary "$fk" 120 90 --direction ccw --all-methods --json fk.json
expect_status 0 "arbitrary --all-methods"
expect_out "分割法の比較（円弧中心 Xo=120.00m Yo=90.00m" "arbitrary --all-methods"
while IFS='|' read -r name fs; do
    grep -qE -- "^ +(＊|　)$name +$fs( |$)" "$work/out" ||
        fail "arbitrary --all-methods: no '$name $fs' row: $(cat "$work/out")"
done <<'LIST'
修正フェレニウス法|-1.928
簡便ビショップ法|-2.076
簡便ヤンブ法|-[0-9.]+ +補正前 F0=-[0-9.]+  f0=1\.[0-9]{3}
スペンサー法|-2.07[12] +λ=[0-9.]+
モルゲンシュテルン・プライス法|-2.07[01] +λ=[0-9.]+
LIST
python3 - fk.json <<'PY' || fail "arbitrary --all-methods JSON: $(grep -A40 '"methods"' fk.json)"
import json, sys
doc = json.load(open(sys.argv[1]))
m = {e["method"]: e for e in doc["methods"]}
assert list(m) == ["ordinary", "bishop", "janbu", "spencer", "morgenstern-price"], list(m)
assert all(e["status"] == "ok" for e in m.values())
for key, fs in [("ordinary", -1.928), ("bishop", -2.076), ("spencer", -2.072),
                ("morgenstern-price", -2.071)]:
    assert abs(m[key]["Fs"] - fs) < 1.5e-3, (key, m[key]["Fs"])
j = m["janbu"]
assert abs(j["Fs"] - j["uncorrected_fs"] * j["f0"]) < 1e-9, j
assert "lambda" in m["spencer"] and "lambda" not in m["bishop"]
# The design's own method is the ordinary one: no method fields elsewhere.
assert "method" not in doc["arbitrary"] and "method_table" not in doc["arbitrary_tables"]
PY

# The run's critical circle; the design's method is marked.
run run "$sample" --method bishop --all-methods
expect_status 0 "run --all-methods"
expect_out "＊簡便ビショップ法" "run --all-methods"
expect_out "分割法:簡便ビショップ法" "run --all-methods"
[ "$(grep -c '法 ' "$work/out")" -ge 5 ] || fail "run --all-methods: rows missing: $(cat "$work/out")"

# A method without a solution on the circle says why: the rigorous methods
# do not settle on the undrained cut's critical circle.
run run "$cut" --all-methods --direction both
expect_status 0 "run --all-methods, undrained cut"
grep -qE -- "^ +　スペンサー法 +- 解なし: 円弧不当\(安全率が収束しない\)$" "$work/out" ||
    fail "undrained cut: no reason for Spencer: $(cat "$work/out")"

# Every entry of the JSON is one of three statuses, with a factor when "ok".
run run "$sample" --all-methods --json plain.json
expect_status 0 "run --all-methods, ordinary"
python3 - plain.json <<'PY' || fail "run --all-methods statuses: $(grep -A60 '"methods"' plain.json)"
import json, sys
for e in json.load(open(sys.argv[1]))["methods"]:
    assert e["status"] in ("ok", "infinite", "no_solution"), e
    assert (e["Fs"] is None) == (e["status"] != "ok"), e
    assert ("reason" in e) == (e["status"] == "no_solution"), e
PY

# Without the flag: no comparison on stdout and no "methods" in the JSON.
run run "$sample" --json none.json
grep -q "分割法の比較" "$work/out" && fail "plain run printed a comparison"
grep -q '"methods"' none.json && fail "plain run wrote \"methods\""
# The documents add section Ⅵ, the method's values, for another method only.
for method in "ordinary|0|6" "janbu|1|7" "morgenstern-price|1|7"; do
    IFS='|' read -r name sections pages <<<"$method"
    run run "$sample" --method "$name" --text "$name.txt" --pdf "$name.pdf"
    expect_status 0 "run --method $name, documents"
    [ "$(iconv -f cp932 -t utf-8 "$name.txt" | grep -c $'^Ⅵ.分割法の計算値\r$')" = "$sections" ] ||
        fail "run --method $name: text section Ⅵ not $sections time(s)"
    [ "$(grep -ac $'/Type /Page\r$' "$name.pdf")" = "$pages" ] ||
        fail "run --method $name: PDF has $(grep -ac $'/Type /Page\r$' "$name.pdf") pages, not $pages"
done
iconv -f cp932 -t utf-8 janbu.txt | grep -q "補正前の安全率(F0)=" || fail "janbu text: no F0"

# The flag belongs to run and arbitrary only.
run check "$sample" --all-methods
[ "$status" -ne 0 ] || fail "check accepted --all-methods"
true
