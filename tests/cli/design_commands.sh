#!/bin/bash
# sorvanta-calc sample / check / --help: outputs and exit status.
# Usage: design_commands.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
expect_one_error_line() {
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$1: expected one line on stderr, got: $(cat "$work/err")"
    grep -q '^sorvanta-calc: エラー: ' "$work/err" || fail "$1: error line format: $(cat "$work/err")"
}

# sample writes the golden sample file byte for byte.
run sample "$work/sample.dat"
expect_status 0 "sample"
cmp "$work/sample.dat" "$data/design/sample.dat" || fail "sample differs from the golden file"
grep -q '設計条件を保存しました。' "$work/out" || fail "sample: no success message"

# check: a good file loads.
run check "$work/sample.dat"
expect_status 0 "check good"
grep -q '設計条件を読込みました。' "$work/out" || fail "check good: no success message"

# check: a damaged file (the stress type line) is refused, naming the line.
sed '54s/.*/abc\r/' "$data/design/sample.dat" >"$work/bad.dat"
run check "$work/bad.dat"
expect_status 2 "check bad value"
expect_one_error_line "check bad value"
grep -q "bad.dat: 54行目: 剪断抵抗計算種別には整数が必要です。'abc' は有効な数値ではありません。" "$work/err" ||
    fail "check bad value: message: $(cat "$work/err")"

# check: a file that ends early, and one that does not exist.
head -c 300 "$data/design/sample.dat" >"$work/short.dat"
run check "$work/short.dat"
expect_status 2 "check truncated"
expect_one_error_line "check truncated"
run check "$work/missing.dat"
expect_status 2 "check missing"
expect_one_error_line "check missing"

# sample into a folder that does not exist.
run sample "$work/none/x.dat"
expect_status 2 "sample unwritable"
expect_one_error_line "sample unwritable"

# Usage errors.
for args in "" "nonsense" "sample" "sample a.dat b.dat" "check"; do
    # shellcheck disable=SC2086
    run $args
    expect_status 3 "usage '$args'"
    expect_one_error_line "usage '$args'"
done

# An unknown option is a usage error, never a file name to write or read.
cd "$work"
for args in "sample --out" "check --verbose" "check --quiet sample.dat"; do
    # shellcheck disable=SC2086
    run $args
    expect_status 3 "unknown option '$args'"
    expect_one_error_line "unknown option '$args'"
    grep -q "不明なオプションです" "$work/err" || fail "unknown option '$args': $(cat "$work/err")"
done
[ ! -e "$work/--out" ] || fail "sample --out wrote a file named --out"
cd - >/dev/null

# Help.
run --help
expect_status 0 "--help"
grep -q 'sample OUT.dat' "$work/out" || fail "--help lists no sample command"
grep -q 'check DESIGN.dat' "$work/out" || fail "--help lists no check command"
run check --help
expect_status 0 "check --help"
grep -q '使い方: sorvanta-calc check DESIGN.dat' "$work/out" || fail "check --help: $(cat "$work/out")"

echo "design commands: ok"
