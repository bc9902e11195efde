#!/bin/bash
# The earthquake and countermeasure options: the design file's options block
# and the flags of run, arbitrary and batch that override it. A bad value is
# a usage error naming it; a bad block refuses the design naming its line.
# Usage: analysis_options.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
expect_err() { grep -qF -- "$1" "$work/err" || fail "$2: stderr lacks '$1': $(cat "$work/err")"; }
sample=$(realpath "$data/design/sample.dat")
cd "$work"

# The sample with a block: it loads and runs.
cp "$data/design/sample-options.dat" options.dat
run check options.dat
expect_status 0 "check with a block"
run run options.dat
expect_status 0 "run with a block"

# A wrong block line refuses the design with its file and line.
{ cat "$sample"; printf '[sorvanta options]\r\nkh=1.5\r\n'; } >bad-kh.dat
{ cat "$sample"; printf 'kh=0.2\r\n'; } >no-marker.dat
{ cat "$sample"; printf '[sorvanta options]\r\nkh=0.2\r\nkh=0.3\r\n'; } >twice.dat
while IFS='|' read -r file message; do
    for command in check run; do
        run "$command" "$file"
        expect_status 2 "$command $file"
        expect_err "$file: $message" "$command $file"
    done
done <<'LIST'
bad-kh.dat|73行目: 設計水平震度khは0以上1未満の数値で指定して下さい（'1.5'）。
no-marker.dat|72行目: 設計条件の後に、見出し「[sorvanta options]」のない行があります（'kh=0.2'）。
twice.dat|74行目: オプション kh が2度あります。
LIST

# Every flag with a good value is taken, by run, arbitrary and batch alike.
flags="--kh 0.2 --case both --required-fs-seismic 1.0 --planned-fs 1.2 --anchor-angle -30
       --pile-pitch 2.0 --load-in-analysis"
# shellcheck disable=SC2086
run run "$sample" $flags
expect_status 0 "run with every flag"
# shellcheck disable=SC2086
run arbitrary "$sample" 26 22 $flags
expect_status 0 "arbitrary with every flag"
# shellcheck disable=SC2086
run batch "$sample" --quiet $flags
expect_status 0 "batch with every flag"

# --required-fs-normal stands in for the design's safety factor: the sample's
# Fs 2.040 is outside a required 2.5.
run run "$sample" --required-fs-normal 2.5
expect_status 0 "run --required-fs-normal"
grep -qF "判定: 安全率外" "$work/out" || fail "--required-fs-normal: $(cat "$work/out")"

# A bad value is a usage error naming the flag and the value.
while IFS='|' read -r args message; do
    for command in run batch; do
        # shellcheck disable=SC2086
        run "$command" "$sample" $args
        expect_status 3 "$command $args"
        expect_err "$message" "$command $args"
    done
done <<'LIST'
--kh 1|--kh: 設計水平震度khは0以上1未満の数値で指定して下さい（'1'）。
--kh abc|--kh: 設計水平震度khは0以上1未満の数値で指定して下さい（'abc'）。
--case seismc|--case: 検討ケースは normal、seismic、both のどれかで指定して下さい（'seismc'）。
--required-fs-normal 0|--required-fs-normal: 常時の所要安全率は0より大きい数値で指定して下さい（'0'）。
--required-fs-seismic -1|--required-fs-seismic: 地震時の所要安全率は0より大きい数値で指定して下さい（'-1'）。
--planned-fs x|--planned-fs: 計画安全率PFsは0より大きい数値で指定して下さい（'x'）。
--anchor-angle 90|--anchor-angle: アンカー角度θは-90より大きく90より小さい数値で指定して下さい（'90'）。
--pile-pitch 0|--pile-pitch: 杭間隔は0より大きい数値で指定して下さい（'0'）。
--kh|--kh に値がありません。
--kh --case|--kh に値がありません（'--case' はオプションです。
LIST

# --help lists them.
run run --help
for flag in --kh --case --required-fs-normal --required-fs-seismic --planned-fs --anchor-angle \
    --pile-pitch --load-in-analysis; do
    grep -qF -- "$flag" "$work/out" || fail "run --help lacks $flag"
done
