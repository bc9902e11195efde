#!/usr/bin/env bash
# Screenshots of the desktop program under Xvfb, for a person to look at: the
# program as it starts, then the main window with the design window on every
# page, the entry windows, the state after a run, every tab of the result and
# arbitrary-point table windows, their separate diagrams, a zoomed chart, an
# arbitrary-point evaluation, the about window, the back-calculation window
# (逆算), both cases through "検討ケース" with the 最大必要抑止力円, and a search
# with 計算過程表示.
#   scripts/screenshots.sh [output folder, default /tmp/shots] [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/shots}
build=${2:-$root/build}
# A relative build folder may be given from the repository root or from here.
[[ -d $build || ! -d $root/$build ]] || build=$root/$build
build=$(cd "$build" && pwd)
mkdir -p "$out"
screen="-screen 0 1280x1024x24"

# The program itself, started as a user starts it.
xvfb-run -a -s "$screen" bash -c "
  '$build/bin/sorvanta' & pid=\$!
  sleep 5
  import -window root '$out/00-program.png'
  kill \$pid"

# Every page, driven by the screenshot test.
SORVANTA_SHOTS_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "$screen" "$build/bin/sorvanta-screenshots" -silent
ls "$out"
