#!/bin/bash
# A design whose surcharge load is on: the load enters no safety factor, and
# run, arbitrary and batch say so in one warning line on stderr (batch once,
# after its progress); the result charts carry the load outline and name it
# in the legend as outside the calculation.
# Usage: load_outside_calculation.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
sample=$(realpath "$data/design/sample.dat")
cd "$work"
warning='sorvanta-calc: 警告: 載荷重は図に描き、データを点検しますが、安全率の計算には含めません。'

# Q = 500 kN/m2 from X 30 to 60 across the slope's crest.
sed '68s/.*/TRUE\r/; 69s/.*/500\r/; 70s/.*/30\r/; 71s/.*/60\r/' "$sample" >load.dat
cp load.dat load2.dat
cp "$sample" plain.dat

# run and arbitrary: the same Fs as without the load, one warning line.
# (arbitrary takes the centre after the design.)
while IFS='|' read -r args rest; do
    # shellcheck disable=SC2086
    run $args plain.dat $rest
    expect_status 0 "$args plain"
    cp "$work/out" plain.out
    [ -s "$work/err" ] && fail "$args plain: stderr: $(cat "$work/err")"
    # shellcheck disable=SC2086
    run $args load.dat $rest
    expect_status 0 "$args load"
    cmp -s "$work/out" plain.out || fail "$args: the load changed the result: $(cat "$work/out")"
    [ "$(cat "$work/err")" = "$warning" ] || fail "$args load: stderr '$(cat "$work/err")'"
done <<'LIST'
run|
arbitrary|20 35
LIST

# JSON: the load outline in the result chart's "載荷重", named as outside the
# calculation; without the load the series is empty under its own title.
run run load.dat --json load.json
expect_status 0 "run load --json"
run run plain.dat --json plain.json
if command -v python3 >/dev/null; then
    python3 - load.json plain.json <<'PY' || fail "load series in JSON"
import json, sys
load = json.load(open(sys.argv[1], encoding="utf-8"))
plain = json.load(open(sys.argv[2], encoding="utf-8"))
assert load["critical"] == plain["critical"], "the load changed the critical circle"
for name in ("result", "arbitrary"):
    series = load["charts"][name]["series"][8]
    assert series["title"] == "載荷重(計算外)", series["title"]
    assert [p[0] for p in series["points"]] == [30, 30, 40, 60, 60], series["points"]
    assert plain["charts"][name]["series"][8] == {"title": "載荷重", "points": []}
PY
fi

# batch: one warning after the summary line, naming the count and the first
# design with a load; the summary rows are those of the plain design; --quiet
# keeps the warning (it is no progress).
for quiet in "" --quiet; do
    run batch plain.dat load.dat load2.dat --summary s.csv --jobs 2 $quiet
    expect_status 0 "batch $quiet"
    last=$(tail -n 1 "$work/err")
    [ "$last" = "sorvanta-calc: 警告: 載荷重のある設計条件が 2 件あります（load.dat ほか）。載荷重は図に描き、データを点検しますが、安全率の計算には含めません。" ] ||
        fail "batch $quiet: last stderr line '$last'"
    [ "$(grep -c '警告' "$work/err")" -eq 1 ] || fail "batch $quiet: warnings: $(cat "$work/err")"
    if [ -z "$quiet" ]; then
        grep -q '^完了: 3/3 件、失敗 0 件' "$work/err" || fail "batch: progress end: $(cat "$work/err")"
    else
        [ "$(wc -l <"$work/err")" -eq 1 ] || fail "batch --quiet: stderr: $(cat "$work/err")"
    fi
    # Fs (column 4) is the same for the three designs.
    [ "$(tail -n +2 s.csv | cut -d, -f4 | sort -u | wc -l)" -eq 1 ] ||
        fail "batch: Fs differ with the load: $(cat s.csv)"
done
run batch plain.dat --summary s.csv
expect_status 0 "batch plain"
grep -q '警告' "$work/err" && fail "batch plain: a warning: $(cat "$work/err")"
echo "load_outside_calculation: ok"
