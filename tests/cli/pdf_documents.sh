#!/bin/bash
# sorvanta-calc run / arbitrary --pdf: the two calculation documents of the
# sample design, checked by qpdf, pdftotext and pdftoppm; stable bytes under
# SOURCE_DATE_EPOCH.
# Usage: pdf_documents.sh SORVANTA_CALC TEST_DATA_DIR
source "$(dirname "$0")/common.bash"
# Hex of an information text: byte order mark, Japanese language escape, UTF-16BE.
info_hex() { printf 'FEFF001B6A61001B%s' "$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"; }

# Reads a PDF as a user would: structure, text and every page rendered.
check_pdf() {
    local pdf=$1 what=$2
    shift 2
    [ "$(head -c 9 "$pdf")" = "%PDF-1.2 " ] || fail "$what: no PDF header"
    qpdf --check "$pdf" >"$work/qpdf" 2>&1 || fail "$what: qpdf --check: $(cat "$work/qpdf")"
    pdftotext -enc UTF-8 "$pdf" "$work/text" 2>"$work/text.err" || fail "$what: pdftotext"
    for heading in "$@"; do
        grep -qF -- "$heading" "$work/text" || fail "$what: text lacks '$heading'"
    done
    rm -f "$work"/page-*.png
    pdftoppm -png -r 20 "$pdf" "$work/page" 2>"$work/render.err" || fail "$what: pdftoppm"
    ! grep -q "Missing language pack" "$work/render.err" "$work/text.err" ||
        fail "$what: poppler-data is missing, Japanese text dropped"
    [ "$(ls "$work"/page-*.png | wc -l)" -eq 6 ] || fail "$what: not 6 pages rendered"
}

sample=$data/design/sample.dat
export SOURCE_DATE_EPOCH=1709212455

run run "$sample" --pdf "$work/min.pdf"
expect_status 0 "run --pdf"
check_pdf "$work/min.pdf" "run --pdf" "目" "名：sample" "Ⅰ.設計条件" "Ⅱ.安全率の計算" \
    "Ⅲ.滑り円弧スライス荷重" "Ⅳ.滑り円弧荷重" "Ⅴ.滑り円弧図(最少安全率)" "表1：滑り円中心座標と安全率" \
    "No.01(20.00)" "合計" "Page: 5"
grep -qaF "/Author <$(info_hex Sorvanta)>" "$work/min.pdf" || fail "run --pdf: author"
grep -qaF "/Title <$(info_hex sample)>" "$work/min.pdf" || fail "run --pdf: title is the design name"
grep -qaF "/CreationDate (D:20240229131415)" "$work/min.pdf" || fail "run --pdf: creation date"

# The same design gives the same bytes.
run run "$sample" --pdf "$work/again.pdf"
expect_status 0 "run --pdf again"
cmp -s "$work/min.pdf" "$work/again.pdf" || fail "run --pdf: bytes differ between runs"

run arbitrary "$sample" 27 23 --pdf "$work/arb.pdf"
expect_status 0 "arbitrary --pdf"
check_pdf "$work/arb.pdf" "arbitrary --pdf" "Ⅰ.設計条件" "Ⅲ.滑り円弧スライス荷重(任意点)" \
    "Ⅳ.滑り円弧荷重(任意点)" "Ⅴ.滑り円弧図(任意点)"
grep -qaF "/Author <$(info_hex Vexlo)>" "$work/arb.pdf" || fail "arbitrary --pdf: author"
cmp -s "$work/min.pdf" "$work/arb.pdf" && fail "arbitrary --pdf: same as the minimum document"

# A file that cannot be created is an error, not a success.
run run "$sample" --pdf "$work/no-such-folder/x.pdf"
expect_status 2 "run --pdf unwritable"
grep -q "エラー" "$work/err" || fail "run --pdf unwritable: no error line: $(cat "$work/err")"
[ ! -e "$work/no-such-folder/x.pdf" ] || fail "run --pdf unwritable: file written"

# A folder where the file should be: the program's own Japanese message.
run run "$sample" --pdf "$work"
expect_status 2 "run --pdf folder"
grep -qF "」に書き込めません。" "$work/err" || fail "run --pdf folder: message: $(cat "$work/err")"
grep -q "filesystem error" "$work/err" && fail "run --pdf folder: library message: $(cat "$work/err")"

echo "pdf_documents: ok"
