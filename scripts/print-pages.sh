#!/usr/bin/env bash
# Prints every page layout of the calculation document to PDF files (through
# the page producer, by the printing test) and renders them as PNG images to
# look at: scripts/print-pages.sh [output folder] [build folder] [dpi]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/print-pages}")
build=${2:-$root/build}
case $build in /*) ;; *) build=$root/$build ;; esac
dpi=${3:-100}
mkdir -p "$out"
rm -f "$out"/*.pdf "$out"/*.png
QT_QPA_PLATFORM=offscreen SORVANTA_PAGES_DIR="$out" "$build/bin/PrintingTest" >"$out/test.log" 2>&1 ||
  echo "PrintingTest failed: see $out/test.log" >&2
for pdf in "$out"/*.pdf; do
  pdftoppm -r "$dpi" -png "$pdf" "${pdf%.pdf}"
done
ls "$out"
