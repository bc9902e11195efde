#!/bin/bash
# backcalc on the published circle whose strengths are known, its refusals
# and usage errors; run and arbitrary with --method; a seismic case without kh.
# Usage: backcalc_and_method.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
expect_out() { grep -qF -- "$1" "$work/out" || fail "$2: stdout lacks '$1': $(cat "$work/out")"; }
expect_err() { grep -qF -- "$1" "$work/err" || fail "$2: stderr lacks '$1': $(cat "$work/err")"; }
fk=$(realpath "$data/../../verification/fredlund-krahn-1977-case1/design.dat")
sample=$(realpath "$data/design/sample.dat")
cd "$work"
circle="--centre 120 90 --direction ccw"

# The published φ = 20° comes back from its c = 600 and Fs 1.928.
# shellcheck disable=SC2086
run backcalc "$fk" --fs0 1.928 --layer 1 --c 600 $circle --json fk.json
expect_status 0 "backcalc round trip"
grep -qE '^  "phi": 20\.006[0-9]*,$' fk.json || fail "backcalc round trip: $(grep phi fk.json)"

# A cohesion that alone holds more than Fs0 leaves no positive φ.
# shellcheck disable=SC2086
run backcalc "$fk" --fs0 0.5 --layer 1 --c 6000 $circle
expect_status 1 "backcalc without a solution"
expect_out "では正の φ が有りません。" "backcalc without a solution"

# Usage errors name what is wrong.
while IFS='|' read -r args message; do
    # shellcheck disable=SC2086
    run backcalc "$fk" $args $circle
    expect_status 3 "backcalc $args"
    expect_err "$message" "backcalc $args"
done <<'LIST'
--fs0 1.928 --layer 2 --c 600|2層目は有りません（地層数 1）
--layer 1 --c 600|--fs0 に 0 より大きい安全率を指定して下さい
--fs0 1.928 --layer 1 --c 600 --phi 20|--c と --phi のどちらか一方を指定して下さい
--fs0 1.928 --layer 1 --c 600 --text x.txt|backcalc が書けるのは --json と --pdf だけです
LIST
[ ! -e x.txt ] || fail "backcalc --text wrote a file"

# The one-page PDF: a whole document with its chart, table and answer.
# shellcheck disable=SC2086
run backcalc "$fk" --fs0 1.928 --layer 1 --c 600 $circle --pdf fk.pdf
expect_status 0 "backcalc --pdf"
head -c 5 fk.pdf | grep -q '^%PDF-' || fail "backcalc --pdf: not a PDF"
tail -c 7 fk.pdf | grep -q '%%EOF' || fail "backcalc --pdf: no end of file"
[ "$(grep -ac '/Type */Page\b' fk.pdf)" = 1 ] || fail "backcalc --pdf: not one page"
if command -v pdftotext >/dev/null; then
    pdftotext fk.pdf fk.txt
    for text in "逆算法" "φ=20.01°" "c(kN/m2)" "c と tanφ の関係"; do
        grep -qF "$text" fk.txt || fail "backcalc --pdf lacks '$text': $(cat fk.txt)"
    done
fi

# The simplified Bishop method on the same circle (counter-clockwise: Fs is
# written negative).
for method in "ordinary|-1.928" "bishop|-2.076"; do
    run arbitrary "$fk" 120 90 --direction ccw --method "${method%|*}"
    expect_status 0 "arbitrary --method ${method%|*}"
    expect_out "(Fs)=Mr/Mo=${method#*|}" "arbitrary --method ${method%|*}"
done

# A seismic case needs kh: the design's block is refused by the run's checks.
{ cat "$sample"; printf '[sorvanta options]\r\ncase=seismic\r\nkh=0\r\n'; } >no-kh.dat
run run no-kh.dat
expect_status 1 "run, seismic without kh"
expect_err "検討ケースに地震時を含むときは、設計水平震度khを0より大きくして下さい。" \
    "run, seismic without kh"

# Both cases: one JSON object per case, the 地震時 one judged against its own
# factor and below the 常時 one; a plain run writes no "cases".
run run "$sample" --kh 0.2 --case both --planned-fs 2.5 --json both.json
expect_status 0 "run, both cases"
python3 - both.json <<'PY' || fail "run, both cases: $(head -c 400 both.json)"
import json, sys
cases = json.load(open(sys.argv[1]))["cases"]
normal, seismic = cases
assert [c["case"] for c in cases] == ["normal", "seismic"]
assert (normal["kh"], seismic["kh"]) == (0, 0.2)
assert (normal["required_fs"], seismic["required_fs"]) == (1.2, 1.0)
assert 0 < seismic["critical"]["Fs"] < normal["critical"]["Fs"]
for c in cases:
    force = c["restraining_force"]
    assert force["most"]["Pr"] >= force["critical"] > 0
PY
run run "$sample" --json plain.json
python3 -c 'import json,sys; assert "cases" not in json.load(open(sys.argv[1]))' plain.json ||
    fail "a plain run wrote cases"
