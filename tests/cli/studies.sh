#!/bin/bash
# sensitivity and probability: their outputs, that a seed fixes the result
# whatever the thread count, and their refusals.
# Usage: studies.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
expect_err() { grep -qF -- "$1" "$work/err" || fail "$2: stderr lacks '$1': $(cat "$work/err")"; }
sample=$(realpath "$data/design/sample.dat")
cd "$work"

run sensitivity "$sample" --steps 3 --json sens.json --csv sens.csv --svg sens.svg
expect_status 0 "sensitivity"
python3 - sens.json <<'PY' || fail "sensitivity json: $(head -c 300 sens.json)"
import json, sys
d = json.load(open(sys.argv[1]))
assert len(d["inputs"]) == 15  # c, φ, γt of five layers
for i in d["inputs"]:
    assert i["change"] == [-0.2, 0, 0.2] and i["fs"][1] == d["base_fs"]
PY
[ -s sens-tornado.svg ] && [ -s sens.svg ] && [ "$(wc -l <sens.csv)" = 46 ] ||
    fail "sensitivity files"

vary=(--vary 'c1=lognormal(20,6)' --vary 'tanphi1=lognormal(0.466,0.047)' --vary rho1=-0.5)
for threads in 1 2; do
    run probability "$sample" --samples 12 --seed 5 --latin "${vary[@]}" --threads $threads \
        --json "p$threads.json"
    expect_status 0 "probability, $threads threads"
done
cmp -s p1.json p2.json || fail "probability depends on the thread count"
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert d["evaluated"]+d["no_circle"]==12 and 0<=d["pf_low"]<=d["pf"]<=d["pf_high"]<=1' p1.json ||
    fail "probability json"

# The same variations kept in the design file's options block.
cp "$sample" stored.dat
printf '[sorvanta options]\r\nvary=c1=lognormal(20,6);tanphi1=lognormal(0.466,0.047);rho1=-0.5\r\n' \
    >>stored.dat
run probability stored.dat --samples 12 --seed 5 --latin --threads 1 --json ps.json
expect_status 0 "probability, stored variations"
grep -qF "設計ファイルのばらつき指定を使います" "$work/out" || fail "stored variations not named"
python3 -c 'import json,sys; a,b=(json.load(open(f)) for f in sys.argv[1:]); assert all(a[k]==b[k] for k in ("pf","mean","standard_deviation","variations","histogram"))' p1.json ps.json ||
    fail "stored variations differ from the same --vary"

run probability "$sample" --samples 5 --vary 'c9=normal(1,1)'
expect_status 3 "probability, a layer beyond five"
expect_err "層番号は 1～5 です" "probability, a layer beyond five"
run probability "$sample" --samples 5 --vary 'water=normal(0,1)'
expect_status 3 "probability, water without groundwater"
expect_err "地下水が指定されていない" "probability, water without groundwater"

# Ctrl+C: the samples done so far are reported and written, and the status is
# the interruption's.
"$calc" probability "$sample" --samples 1000000 --json int.json >int.out 2>int.err &
pid=$!
sleep 3
kill -INT $pid
status=0
wait $pid || status=$?
[ $status = 130 ] || fail "probability, interrupted: status $status"
grep -qF "中断しました" int.err || fail "probability, interrupted: $(cat int.err)"
# A slow machine may not have finished a first block of samples.
[ ! -e int.json ] ||
    python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert d["interrupted"] is True and d["evaluated"] > 0' int.json ||
    fail "probability, interrupted: json"
