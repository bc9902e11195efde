#!/bin/bash
# sorvanta-calc run / arbitrary --figures DIR: the three figures as WMF and SVG,
# read by programs no one here wrote: LibreOffice converts each metafile to
# PDF, whose text pdftotext extracts; libwmf's wmf2svg parses each.
# Needs libreoffice-draw, libwmf-bin, fonts-urw-base35 and poppler-utils
# (scripts/deps.sh); a missing tool fails the test.
# Usage: figures.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
sample=$data/design/sample.dat
names=(地形図 最少すべり円 任意すべり円)

for tool in soffice wmf2svg pdftotext; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/deps.sh)"
done

expect_six() {
    local dir=$1 what=$2
    for n in "${names[@]}"; do
        for ext in wmf svg; do
            [ -s "$dir/$n.$ext" ] || fail "$what: $n.$ext missing"
        done
        [ "$(head -c 4 "$dir/$n.wmf" | od -An -tx1 | tr -d ' ')" = "d7cdc69a" ] || fail "$what: $n.wmf is not placeable"
        head -c 38 "$dir/$n.svg" | grep -qF '<?xml version="1.0" encoding="UTF-8"?>' || fail "$what: $n.svg header"
    done
    [ "$(ls "$dir" | wc -l)" -eq 6 ] || fail "$what: other files in $dir: $(ls "$dir")"
}

mkdir "$work/run"
run run "$sample" --figures "$work/run"
expect_status 0 "run --figures"
expect_six "$work/run" "run --figures"
grep -q "判定" "$work/out" || fail "run --figures: the summary is still printed"

mkdir "$work/arb"
run arbitrary "$sample" 27 23 --figures "$work/arb"
expect_status 0 "arbitrary --figures"
expect_six "$work/arb" "arbitrary --figures"
cmp -s "$work/run/最少すべり円.wmf" "$work/arb/最少すべり円.wmf" || fail "the result chart differs between run and arbitrary"
cmp -s "$work/run/任意すべり円.wmf" "$work/arb/任意すべり円.wmf" && fail "arbitrary --figures: the arbitrary chart shows no new circle"

# LibreOffice reads the metafiles: labels, legend and axis values come out as text.
soffice --headless "-env:UserInstallation=file://$work/lo-profile" --convert-to pdf --outdir "$work/pdf" \
    "$work/arb"/*.wmf >"$work/lo.out" 2>&1 || fail "soffice: $(cat "$work/lo.out")"
text_of() { pdftotext -enc UTF-8 "$work/pdf/$1.pdf" - 2>/dev/null | tr '\n' ' '; }
expect_text() {
    local name=$1
    shift
    local text
    text=$(text_of "$name")
    for t in "$@"; do
        grep -qF -- "$t" <<<"$text" || fail "LibreOffice: $name.wmf lacks '$t' (text: $text)"
    done
}
expect_text 地形図 "地形図" "70" "35" "0"
expect_text 最少すべり円 "円弧滑り図" "地盤" "N.C.L(必須)" "円弧半径" "滑り面" "(Xe=" "(Xb=20.00;Yb=5.00)" "Θ=" "度)"
expect_text 任意すべり円 "円弧滑り図" "(Xo=27.00;Yo=23.00;" "(Xe=44.57;Ye=15.00)"

# libwmf parses them without complaint.
for n in "${names[@]}"; do
    wmf2svg -o "$work/$n.libwmf.svg" "$work/arb/$n.wmf" 2>"$work/wmf2svg.err" ||
        fail "wmf2svg $n.wmf: $(cat "$work/wmf2svg.err")"
    ! grep -qi "error" "$work/wmf2svg.err" || fail "wmf2svg $n.wmf: $(cat "$work/wmf2svg.err")"
    [ "$(grep -c "<text" "$work/$n.libwmf.svg")" -gt 5 ] || fail "wmf2svg $n.wmf: no texts"
done

# A figure that cannot be written stops the command there, naming the file.
mkdir -p "$work/blocked/最少すべり円.wmf/occupied"
run run "$sample" --figures "$work/blocked"
expect_status 2 "run --figures blocked"
grep -qF "最少すべり円.wmf" "$work/err" || fail "run --figures blocked: no file named: $(cat "$work/err")"
[ -s "$work/blocked/地形図.wmf" ] || fail "run --figures blocked: earlier figure missing"
[ ! -e "$work/blocked/任意すべり円.wmf" ] || fail "run --figures blocked: later figure written"
! ls "$work/blocked" | grep -q tmp || fail "run --figures blocked: temporary left: $(ls "$work/blocked")"

run run "$sample" --figures
expect_status 3 "run --figures without a folder"

echo "figures: ok"
