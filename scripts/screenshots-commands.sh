#!/usr/bin/env bash
# Screenshots of the main window's commands under Xvfb, driven by keyboard with
# xdotool as a user drives them: the full input set of the view menu, a run,
# the questions and messages of the text and PDF commands, the refusal of
# "PDF(任意点)" and the design file dialog with a long Japanese file name.
# The outputs are written to a scratch folder; the PDF is not opened.
#   scripts/screenshots-commands.sh [output folder, default /tmp/shots-commands] [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/shots-commands}
build=${2:-$root/build}
[[ -d $build || ! -d $root/$build ]] || build=$root/$build
build=$(cd "$build" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/tests/data/design/sample.dat" "$work/道路改良工事_第3工区_左岸法面_設計条件.dat"
mkdir "$work/過去の検討"

cat > "$work/drive.sh" <<'EOF'
set -euo pipefail
out=$1 program=$2
shot() { sleep 1; import -window root "$out/$1.png"; }
main() { xdotool search --onlyvisible --name 'Ver3' | head -1; }
focus() { xdotool windowfocus --sync "$(main)"; sleep 0.3; }
export XDG_CONFIG_HOME=$PWD/.config
"$program" & pid=$!
sleep 5

focus; xdotool key alt+v; shot 01-view-menu
xdotool key Up Return; shot 02-full-input-soil
focus; xdotool key alt+r Return; shot 03-run-question
xdotool key Return; sleep 2; xdotool key Return
focus; xdotool key alt+e; shot 04-edit-menu
xdotool key Return; shot 05-text-question
xdotool key Return; shot 06-text-done
xdotool key Return
focus; xdotool key alt+e Down Down Return; shot 07-pdf-question
xdotool key Return; sleep 1; shot 08-pdf-created
xdotool key Return; shot 09-pdf-show-question
xdotool key n
focus; xdotool key alt+e Down Down Down Return; shot 10-pdf-arbitrary-refused
xdotool key Return
focus; xdotool key alt+f Return; sleep 2; shot 11-open-dialog
xdotool key Escape
ls -l > "$out/files.txt"
kill $pid
EOF
(cd "$work" && xvfb-run -a -s "-screen 0 1280x1024x24" bash drive.sh "$out" "$build/bin/sorvanta")
ls "$out"
