#!/bin/bash
# sorvanta-calc against unusual files and arguments: names that are not UTF-8,
# special files, file size limits, a summary held by another batch, folders
# that cannot be read, and the messages of values that do not convert.
# Usage: hostile_inputs.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
export SOURCE_DATE_EPOCH=1709212455
sample=$(realpath "$data/design/sample.dat")
cd "$work"
expect_err() { grep -qF -- "$1" "$work/err" || fail "$2: stderr lacks '$1': $(cat "$work/err")"; }
# Fails when the file holds an escape or other control byte, or is not UTF-8.
clean_text() {
    LC_ALL=C grep -q $'[\x01-\x08\x0b\x0c\x0e-\x1f\x7f]' "$1" && fail "$2: control bytes: $(cat -v "$1")"
    iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1 || fail "$2: not UTF-8: $(cat -v "$1")"
    return 0
}

# Names: a Shift-JIS 堤防.dat, a name with an escape sequence, and a name the
# PDF's cp932 cannot hold. The summary, JSON Lines and NAME.json are valid
# UTF-8 with the bytes escaped as \xNN; the design whose PDF cannot be made
# writes nothing at all, its old output kept.
mkdir names outputs
cp "$sample" "names/$(printf '\x92\xe7\x96h').dat"
cp "$sample" "names/$(printf 'e\x1b[31mred').dat"
cp "$sample" "names/😀.dat"
echo old >"outputs/😀.json"
run batch names --out outputs --json --text --pdf --summary n.csv --summary-json n.jsonl
expect_status 2 "names"
for f in n.csv n.jsonl "$work/err" outputs/*.json; do clean_text "$f" "names: $f"; done
grep -qF '\x92\xE7\x96h.dat,ok,' n.csv || fail "names: Shift-JIS row: $(cat -v n.csv)"
grep -qF 'e\x1B[31mred.dat,ok,' n.csv || fail "names: escape row: $(cat -v n.csv)"
grep -qF '😀.dat,output_error,' n.csv || fail "names: cp932 row: $(cat n.csv)"
grep -qF '"design": "\\x92\\xE7\\x96h"' "outputs/$(printf '\x92\xe7\x96h').json" || fail "names: design name in JSON"
[ "$(cat "outputs/😀.json")" = old ] || fail "names: a failing design replaced its JSON"
[ -e "outputs/😀.txt" ] && fail "names: a failing design wrote its text"
ls outputs | grep -q '\.tmp$' && fail "names: temporary files left: $(ls outputs)"

# Special files and size: refused at once with status 2 and a message; never
# a hang (timeout) or an out-of-memory end.
mkfifo fifo.dat
head -c 2000000 /dev/zero >big.dat
cp "$sample" a.dat
while IFS='|' read -r args message; do
    set +e
    # shellcheck disable=SC2086
    timeout -k 5 20 "$calc" $args >out.txt 2>"$work/err"
    status=$?
    set -e
    expect_status 2 "$args"
    expect_err "$message" "$args"
done <<'EOF'
run fifo.dat|ファイル「fifo.dat」は通常のファイルではないため
check /dev/zero|ファイル「/dev/zero」は通常のファイルではないため
run big.dat|ファイル「big.dat」は大きすぎるため読み込めません（2000000 バイト。上限は 1048576 バイト）
batch @fifo.dat|ファイル「fifo.dat」は通常のファイルではないため
batch @missing.txt|ファイル「missing.txt」を開けません
EOF
set +e
timeout -k 5 20 "$calc" batch fifo.dat a.dat --summary f.csv --quiet 2>"$work/err"
status=$?
set -e
expect_status 2 "batch of a FIFO"
grep -q '^1,a.dat,ok,' f.csv && grep -q '^2,fifo.dat,unreadable,.*通常のファイルではない' f.csv ||
    fail "batch of a FIFO: $(cat f.csv)"

# A write past ulimit -f fails as a full disk does: status 2, no temporary
# file, the old file kept; nothing kills the tool.
mkdir limit
echo old >limit/a.pdf
(
    ulimit -f 8
    run run a.dat --pdf limit/a.pdf
    echo "$status" >limit.status
    run batch a.dat --out limit --pdf --json --summary limit.csv --quiet
    echo "$status" >>limit.status
)
[ "$(paste -sd' ' limit.status)" = "2 2" ] || fail "ulimit -f: status $(paste -sd' ' limit.status)"
[ "$(cat limit/a.pdf)" = old ] || fail "ulimit -f: the old PDF was replaced"
[ "$(ls limit)" = a.pdf ] || fail "ulimit -f: files left: $(ls limit)"
grep -q '^1,a.dat,output_error,' limit.csv || fail "ulimit -f: row $(cat limit.csv)"

# A summary another batch holds is refused before it is touched.
echo "the other batch's rows" >held.csv
flock held.csv sleep 30 &
holder=$!
for _ in $(seq 100); do flock -n held.csv true 2>/dev/null || break; sleep 0.1; done
run batch a.dat --summary held.csv --quiet
kill "$holder"
expect_status 2 "a held summary"
expect_err "要約ファイル「held.csv」は別の batch が書いています。" "a held summary"
[ "$(cat held.csv)" = "the other batch's rows" ] || fail "a held summary was changed"
run batch a.dat --summary same.jsonl --summary-json ./same.jsonl --quiet
expect_status 3 "one file as both summaries"

# A folder that cannot be read is a row of its own, never skipped in silence:
# one whose path is too long to open (root or not), and one without
# permission (only when not root); so is a *.dat that is a FIFO. @LIST lines
# lose blanks on both sides.
mkdir -p tree/ok
cp "$sample" tree/ok/a.dat
deep=tree
for _ in $(seq 17); do deep=$deep/$(printf 'd%.0s' $(seq 250)); done
mkdir -p "$deep"
if [ "$(id -u)" -ne 0 ]; then
    mkdir tree/locked
    chmod 000 tree/locked
fi
mkfifo tree/ok/pipe.dat
printf '  tree \r\n\t\r\n' >list.txt
run batch @list.txt --summary t.csv --quiet
[ -d tree/locked ] && chmod 755 tree/locked
expect_status 2 "unreadable folders"
grep -q '^[0-9],tree/[d/]*,unreadable,.*を読めません（パスが長すぎます）' t.csv || fail "a folder too deep: $(cut -c1-80 t.csv)"
grep -q ',tree/ok/a.dat,ok,' t.csv || fail "unreadable folders: the readable design: $(cut -c1-80 t.csv)"
grep -q ',tree/ok/pipe.dat,unreadable,.*通常のファイルではない' t.csv || fail "a FIFO in a folder: $(cut -c1-80 t.csv)"
if [ -d tree/locked ]; then
    grep -q ',tree/locked,unreadable,.*権限がありません' t.csv || fail "a folder without permission"
fi

# --jobs above the cores is reduced to them (and says so); results the same.
run batch names/😀.dat a.dat --jobs 1000 --summary j1000.csv
grep -qF -- '--jobs 1000 はコア数の' "$work/err" || fail "--jobs 1000: no note: $(cat "$work/err")"
run batch names/😀.dat a.dat --jobs 1 --summary j1.csv --quiet
[ "$(cut -d, -f1-15 j1.csv)" = "$(cut -d, -f1-15 j1000.csv)" ] || fail "--jobs 1000 changed the rows"
run batch --help
grep -qF 'コア数より大きい N は' "$work/out" || fail "batch --help: no --jobs cap"

# A value that does not convert: the file, the line and the field; a long
# value cut with its length; control bytes escaped (also in the summary).
long=$(head -c 100000 /dev/zero | tr '\0' 5)
sed "4s/.*/1$long\r/" "$sample" >long.dat
sed $'58s/.*/x\x1b[2Jy\r/' "$sample" >escape.dat
sed "4s/.*/abc\r/; 56s/.*/abc\r/" "$sample" >twice.dat
while IFS='|' read -r design message; do
    run run "$design"
    expect_status 2 "run $design"
    expect_err "$message" "run $design"
    clean_text "$work/err" "run $design"
    [ "$(wc -c <"$work/err")" -lt 400 ] || fail "run $design: $(wc -c <"$work/err") bytes on stderr"
done <<'EOF'
long.dat|long.dat: 4行目: 1層目のγt: '1555555555555555555555555555555555555555…（全 100001 バイト）' は有効な数値ではありません。
escape.dat|escape.dat: 58行目: ﾒｯｼｭ数: 'x\x1B[2Jy' は有効な数値ではありません。
twice.dat|twice.dat: 4行目: 1層目のγt: 'abc'
EOF
run batch long.dat escape.dat --summary m.csv --quiet
clean_text m.csv "conversion messages in the summary"
[ "$(wc -c <m.csv)" -lt 2000 ] || fail "conversion messages: the summary holds the whole value"

# An option where a value belongs is a usage error, and no file of its name
# is written; an epoch the PDF date cannot hold is refused.
while read -r args; do
    # shellcheck disable=SC2086
    run $args
    expect_status 3 "$args"
    expect_err "はオプションです" "$args"
done <<'EOF'
run a.dat --json --text
run a.dat --text --pdf x.pdf
batch a.dat --summary --quiet
batch a.dat --out --json
EOF
[ -e ./--text ] || [ -e ./--pdf ] || [ -e ./--quiet ] && fail "a file named after an option was written"
while IFS='|' read -r epoch expected; do
    SOURCE_DATE_EPOCH=$epoch run run a.dat --pdf epoch.pdf
    expect_status "$expected" "SOURCE_DATE_EPOCH=$epoch"
done <<'EOF'
253402300799|0
253402300800|2
99999999999999|2
EOF
grep -qa '/CreationDate (D:99991231235959)' epoch.pdf || fail "the last second of 9999: $(grep -a CreationDate epoch.pdf)"

echo "hostile inputs: ok"
