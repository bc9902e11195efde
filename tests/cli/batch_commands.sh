#!/bin/bash
# sorvanta-calc batch: the design list, the summary rows and exit status, the
# per-design outputs against run, jobs and shards, and an interrupted batch.
# Usage: batch_commands.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
export SOURCE_DATE_EPOCH=1709212455
sample=$(realpath "$data/design/sample.dat")
cd "$work"

# A folder of good, refused and unreadable designs; two designs share a name.
mkdir -p set/sub empty
cp "$sample" set/good.dat
cp "$sample" set/sub/good.dat
sed '58s/.*/11\r/' "$sample" >set/refused.dat
printf 'not a design\r\n' >set/unreadable.dat
printf 'ignored\r\n' >set/notes.txt

# Column 3 (the outcome) of every row, without the header.
outcomes() { tail -n +2 "$1" | cut -d, -f3 | tr -d '\r' | paste -sd' '; }
# The rows without the last column (seconds), which differs from run to run.
rows() { sed 's/,[^,]*\r$//' "$1"; }

# Inputs -> status and outcomes in list order.
printf 'set/sub/good.dat\r\n\r\nset/good.dat\r\n' >list.txt
while IFS='|' read -r args expected_status expected_outcomes; do
    # shellcheck disable=SC2086
    run batch $args --summary s.csv --quiet
    expect_status "$expected_status" "batch $args"
    [ "$(outcomes s.csv)" = "$expected_outcomes" ] ||
        fail "batch $args: outcomes '$(outcomes s.csv)', expected '$expected_outcomes'"
    [ -s "$work/err" ] && fail "batch $args --quiet: stderr: $(cat "$work/err")"
done <<'EOF'
set|2|ok refused ok unreadable
set/good.dat ./set/good.dat set/sub/../good.dat|0|ok
set/refused.dat set/good.dat|1|ok refused
set/good.dat --direction ccw|1|no_circle
set/good.dat set/missing.dat|2|ok unreadable
@list.txt|0|ok ok
EOF

# The rows themselves: numbers as the result tables format them, the refusal's
# message, the path as found; UTF-8 with a byte order mark, CR LF.
run batch set --summary s.csv --summary-json s.jsonl --jobs 2
expect_status 2 "batch set"
[ "$(head -c 3 s.csv | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "summary: no byte order mark"
[ "$(grep -c $'\r$' s.csv)" -eq 5 ] || fail "summary: not CR LF"
grep -qF $'1,set/good.dat,ok,2.040,安全率以内,26.08,22.43,18.46,20.00,5.00,42.98,15.00,"23,741.07","11,635.40",,' s.csv ||
    fail "summary: row of the good design: $(sed -n 2p s.csv)"
grep -qF '2,set/refused.dat,refused,,,,,,,,,,,,ﾒｯｼｭ数は2～10に設定して下さい。,' s.csv || fail "summary: refused row"
grep -q '^4,set/unreadable.dat,unreadable,.*set/unreadable.dat: .*行目' s.csv || fail "summary: unreadable row"
# Progress without a terminal: a plain line per design and a closing line.
[ "$(grep -c '^[1-4]/4 ' "$work/err")" -eq 4 ] || fail "progress lines: $(cat "$work/err")"
grep -q '^完了: 4/4 件、失敗 2 件' "$work/err" || fail "progress end: $(cat "$work/err")"
if command -v python3 >/dev/null; then
    python3 - s.csv s.jsonl <<'EOF' || fail "summary CSV and JSON Lines differ"
import csv, json, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
lines = [json.loads(l) for l in open(sys.argv[2], encoding="utf-8")]
assert rows[0][0] == "No." and len(rows) == 5 and len(lines) == 4
for row, obj in zip(rows[1:], lines):
    assert len(row) == 16 and row[:3] == [str(obj["no"]), obj["path"], obj["outcome"]]
    assert row[14] == obj["message"]
good = lines[0]
assert good["Fs"] == 2.04 and good["Resisting"] == 23741.07 and good["judgement"] == "安全率以内"
assert lines[1]["Fs"] is None and lines[1]["message"].startswith("ﾒｯｼｭ数")
EOF
fi

# The run options apply to every design; the header follows the form.
run batch set/good.dat set/sub/good.dat --form force --summary f.csv --quiet
expect_status 0 "batch --form force"
head -n 1 f.csv | grep -qF ',抵抗力(Fr),滑り力(Fo),' || fail "force form: header $(head -n 1 f.csv)"
[ "$(tail -n +2 f.csv | cut -d, -f4 | paste -sd' ')" = "2.040 2.040" ] || fail "force form: Fs"

# --jobs 1 and --jobs 2 give the same rows; two shards merged as the README
# shows give the rows of the whole.
run batch set --summary j1.csv --jobs 1 --quiet
run batch set --summary j2.csv --jobs 2 --quiet
[ "$(rows j1.csv)" = "$(rows j2.csv)" ] || fail "rows differ between --jobs 1 and --jobs 2"
run batch set --summary shard-0.csv --shard 0/2 --quiet
run batch set --summary shard-1.csv --shard 1/2 --quiet
[ "$(outcomes shard-0.csv)" = "ok ok" ] || fail "shard 0/2: $(outcomes shard-0.csv)"
{ head -n 1 shard-0.csv; tail -q -n +2 shard-*.csv | sort -t, -k1,1n; } >merged.csv
[ "$(rows merged.csv)" = "$(rows j1.csv)" ] || fail "merged shards differ from the whole"
run batch set --summary shard-9.csv --shard 9/10 --quiet
expect_status 0 "a shard without designs"
[ "$(wc -l <shard-9.csv)" -eq 1 ] || fail "a shard without designs: not the header alone"

# Per-design outputs are the bytes of run; names that meet in different
# folders keep their folders; a failing design writes nothing.
mkdir outputs
echo old >outputs/refused.json
run batch set --out outputs --json --text --pdf --grid-points 10 --contours --quiet
expect_status 2 "batch --out"
run run set/good.dat --json r.json --text r.txt --pdf r.pdf --grid-points 10 --contours
for f in outputs/good outputs/sub/good; do
    for ext in json txt pdf; do cmp "r.$ext" "$f.$ext" || fail "$f.$ext differs from run"; done
done
[ "$(cat outputs/refused.json)" = old ] || fail "the refused design's old output was replaced"
[ -e outputs/unreadable.json ] || [ -e outputs/refused.txt ] && fail "a failing design wrote an output"
# An output that cannot be written: the row says so, the old file stays.
mkdir full
echo old >full/good.pdf
(
    trap '' XFSZ
    ulimit -f 8
    run batch set/good.dat --out full --pdf --summary full.csv --quiet
    echo "$status" >full.status
)
[ "$(cat full.status)" -eq 2 ] || fail "an unwritable output: status $(cat full.status)"
[ "$(cat full/good.pdf)" = old ] || fail "an unwritable output destroyed the old file"
grep -q '^1,set/good.dat,output_error,' full.csv || fail "an unwritable output: row"

# Usage errors: status 3 and one line on stderr.
cp "$sample" set/sub/GOOD.DAT
while read -r args; do
    # shellcheck disable=SC2086
    run batch $args
    expect_status 3 "usage 'batch $args'"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "usage 'batch $args': $(cat "$work/err")"
done <<'EOF'

empty
set --shard 2/2
set --shard 1/0
set --shard x
set --jobs 0
set --bogus
set --text
set --out outputs
set --summary
set --out outputs --json
EOF
rm set/sub/GOOD.DAT

# Ctrl+C: the designs that run stop, the summary holds every design that
# finished and ends with a whole row, and the batch ends by the signal.
mkdir many
for i in $(seq -w 1 40); do cp "$sample" "many/m$i.dat"; done
"$calc" batch many --summary int.csv --summary-json int.jsonl --jobs 2 --grid-points 40 --contours \
    2>int.err &
pid=$!
for _ in $(seq 600); do
    [ "$(wc -l <int.csv 2>/dev/null || echo 0)" -ge 2 ] && break
    sleep 0.1
done
kill -INT "$pid"
set +e
wait "$pid"
status=$?
set -e
[ "$status" -eq 130 ] || fail "interrupted batch: status $status ($(cat int.err))"
grep -q '^中断: ' int.err || fail "interrupted batch: no closing line: $(cat int.err)"
[ "$(tail -c 2 int.csv | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "interrupted summary: torn last row"
total=$(($(wc -l <int.csv) - 1))
[ "$total" -ge 1 ] && [ "$total" -lt 40 ] || fail "interrupted summary: $total rows"
[ "$(tail -n +2 int.csv | cut -d, -f1 | paste -sd' ')" = "$(seq "$total" | paste -sd' ')" ] ||
    fail "interrupted summary: rows are not the first designs in order"
[ "$(wc -l <int.jsonl)" -eq "$total" ] || fail "interrupted JSON Lines: not the CSV's rows"
if command -v python3 >/dev/null; then
    python3 - int.csv int.jsonl <<'EOF' || fail "interrupted summary not well-formed"
import csv, json, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
assert all(len(r) == 16 for r in rows)
assert {r[2] for r in rows[1:]} <= {"ok", "cancelled"}
assert all(r[3] == "" for r in rows[1:] if r[2] == "cancelled")
[json.loads(l) for l in open(sys.argv[2], encoding="utf-8")]
EOF
fi

# The 地震時 and restraining-force columns follow the ordinary ones only when
# the command line asks for them; a design's own options (sample-options.dat
# checks both cases with a planned factor) leave the summary as it is.
opts=$(realpath "$data/design/sample-options.dat")
plain=$(sed 's/\r$//' s.csv | head -n 1)
while IFS='|' read -r args extra; do
    # shellcheck disable=SC2086
    run batch set/good.dat "$opts" --summary c.csv --quiet $args
    expect_status 0 "batch $args"
    header=$(sed 's/\r$//' c.csv | head -n 1)
    [ "$header" = "$plain$extra" ] || fail "batch $args: header $header"
done <<'EOF'
|
--kh 0.15|
--case seismic --kh 0.15|,地震時kh,地震時安全率(Fs),地震時所要安全率,地震時判定
--planned-fs 1.3|,必要抑止力(Pr),最大必要抑止力(Pr)
--case both --kh 0.15 --planned-fs 1.3|,必要抑止力(Pr),最大必要抑止力(Pr),地震時kh,地震時安全率(Fs),地震時所要安全率,地震時判定,地震時必要抑止力(Pr),地震時最大必要抑止力(Pr)
--method ordinary --pore-pressure modified|
--method bishop|,分割法,間隙水圧
--planned-fs 1.3 --pore-pressure conventional|,必要抑止力(Pr),最大必要抑止力(Pr),分割法,間隙水圧
EOF
# The method each design ran with, named in both summaries; none for a
# design that could not be read.
printf 'not a design\r\n' > bad-method.dat
run batch set/good.dat bad-method.dat --method spencer --summary m.csv --summary-json m.jsonl --quiet
expect_status 2 "batch --method spencer"
sed 's/\r$//' m.csv | awk -F, 'NR>1 {print $3","$(NF-1)","$NF}' > m.cells
printf 'unreadable,,\nok,スペンサー法,(W-u･b)･cosα\n' | cmp -s - m.cells || fail "batch --method: $(cat m.cells)"
grep -q '"outcome": "ok".*"method": "spencer", "pore_pressure": "modified"}' m.jsonl ||
    fail "batch --method: JSON Lines"
grep -q '"outcome": "unreadable".*"method": null, "pore_pressure": null}' m.jsonl ||
    fail "batch --method: JSON Lines of an unreadable design"
# Both cases: the figures of each as the run's JSON "cases" gives them, and
# empty cells for a design without a circle, alike in CSV and JSON Lines.
run batch set/good.dat set/refused.dat --case both --kh 0.15 --planned-fs 1.3 \
    --summary c.csv --summary-json c.jsonl --quiet
expect_status 1 "batch --case both"
run run set/good.dat --case both --kh 0.15 --planned-fs 1.3 --json c.json
if command -v python3 >/dev/null; then
    python3 - c.csv c.jsonl c.json <<'EOF' || fail "both-case summary"
import csv, json, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
lines = [json.loads(l) for l in open(sys.argv[2], encoding="utf-8")]
normal, seismic = json.load(open(sys.argv[3], encoding="utf-8"))["cases"]
good, refused = rows[1], rows[2]
assert all(len(r) == 24 for r in rows), [len(r) for r in rows]
assert good[2] == "ok" and good[3] == "%.3f" % normal["critical"]["Fs"]
money = lambda v: "{:,.2f}".format(v)
assert good[16:] == [
    money(normal["restraining_force"]["critical"]), money(normal["restraining_force"]["most"]["Pr"]),
    "0.15", "%.3f" % seismic["critical"]["Fs"], "1.00", "安全率以内",
    money(seismic["restraining_force"]["critical"]), money(seismic["restraining_force"]["most"]["Pr"]),
], good[16:]
assert refused[2] == "refused" and refused[16:] == [""] * 8, refused
j = lines[0]
assert j["seismic_kh"] == 0.15 and j["seismic_Fs"] == round(seismic["critical"]["Fs"], 3)
assert j["seismic_required_fs"] == 1 and j["seismic_judgement"] == "安全率以内"
assert j["Pr"] == round(normal["restraining_force"]["critical"], 2)
assert j["seismic_Pr_most"] == round(seismic["restraining_force"]["most"]["Pr"], 2)
assert all(lines[1][k] is None for k in ("Pr", "seismic_kh", "seismic_Fs", "seismic_judgement"))
EOF
fi

echo "batch commands: ok"
