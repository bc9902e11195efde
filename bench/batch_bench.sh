#!/bin/bash
# Throughput and peak memory of `sorvanta-calc batch` over generated designs:
# designs per second with --jobs 1 and --jobs 2 on 200 varied designs, and the
# peak resident set for 200 and 2,000 designs.
# Usage: bench/batch_bench.sh [SORVANTA_CALC] [COUNT_FOR_MEMORY]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
calc=$(realpath "${1:-$root/build/bin/sorvanta-calc}")
large=${2:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One design, varied by its number: slope height and width, soil strengths and
# weights, groundwater on every third, centre mesh, slice width, required Fs.
design() {
    awk -v i="$1" 'BEGIN {
        h = 6 + (i % 7) * 1.5; w = 12 + (i % 5) * 4; toe = 20; top = toe + w; end = top + 30
        water = (i % 3 == 0)
        printf "5\r\n%s\r\n%s\r\n", water ? "TRUE" : "FALSE", water ? "9.81" : "---"
        for (k = 0; k < 5; k++) {
            gt = 17 + ((i + k) % 4) * 0.5
            printf "%.1f\r\n%.1f\r\n%d\r\n%d\r\n", gt, gt - 9, 18 + (i * 3 + k) % 17, 5 + (i * 7 + k * 3) % 26
        }
        for (k = 0; k < 5; k++)
            printf "5\r\n0,0.00,%.2f\r\n1,%d.00,%.2f\r\n2,%d.00,%.2f\r\n3,%d.00,%.2f\r\n",
                   5 - k, toe, 5 - k, top, 5 + h - k, end, 5 + h - k
        printf "5\r\n0,0.00,%.2f\r\n1,%d.00,%.2f\r\n2,%d.00,%.2f\r\n3,%d.00,%.2f\r\n",
               1.5, toe, 2, top, 2 + h * 0.6, end, 2 + h * 0.7
        printf "%d\r\n%.2f\r\n%.1f\r\n1.0\r\n%d\r\nFALSE\r\nFALSE\r\n0.00\r\nFALSE\r\n", i % 2,
               1.1 + (i % 4) * 0.05, 0.5 + (i % 4) * 0.5, 3 + i % 3
        printf "2\r\n-,-,-\r\nFALSE\r\n2\r\n-,-,-\r\nFALSE\r\n10.0\r\n0.0\r\n0.0\r\n"
    }'
}
generate() {
    mkdir -p "$work/$1"
    for ((i = 0; i < $2; i++)); do design "$i" >"$work/$1/$(printf 'd%05d.dat' "$i")"; done
}

# Wall seconds, peak resident kB and CPU seconds of one batch (exit 1 or 2:
# some designs refused or unreadable, which the outcome counts show). On a
# machine shared with other work the wall time follows the load; the CPU time
# does not.
measure() {
    /usr/bin/time -f '%e %M %U %S %x' -o "$work/time" "$calc" batch "$@" --quiet || true
    read -r seconds kb user sys status < <(tail -n 1 "$work/time")
    [ "$status" -le 2 ] || { echo "batch failed with status $status" >&2; exit 1; }
    echo "$seconds $kb $(echo "$user + $sys" | bc -l)"
}

generate set200 200
echo "designs: 200 generated ($(nproc) cores, load average $(cut -d" " -f1 /proc/loadavg))"
# --jobs 1 searches each design on every core; "--jobs 1 --threads 1" is one
# core alone, the base of the speed-up over designs.
for options in "--jobs 1 --threads 1" "--jobs 1" "--jobs 2"; do
    name=$(echo "$options" | tr -dc '0-9')
    # shellcheck disable=SC2086
    read -r seconds kb cpu < <(measure "$work/set200" $options --summary "$work/s$name.csv")
    printf '  %-20s %6.2f s  %6.1f designs/s  CPU %6.2f s  peak %d kB\n' "$options:" "$seconds" \
        "$(echo "200 / $seconds" | bc -l)" "$cpu" "$kb"
done
tail -n +2 "$work/s11.csv" | cut -d, -f3 | sort | uniq -c | sed 's/^/   /'
sed 's/,[^,]*\r$//' "$work/s11.csv" >"$work/r1"
sed 's/,[^,]*\r$//' "$work/s2.csv" >"$work/r2"
cmp -s "$work/r1" "$work/r2" || echo "  WARNING: the rows of --jobs 1 and --jobs 2 differ"

# Peak memory against the number of designs: the rows are streamed, so it
# should not grow with the list.
generate "set$large" "$large"
read -r seconds kb _ < <(measure "$work/set$large" --jobs 2 --summary "$work/large.csv")
read -r seconds200 kb200 _ < <(measure "$work/set200" --jobs 2 --summary "$work/small.csv")
printf '  peak with --jobs 2: %d designs %d kB (%.1f s), %d designs %d kB (%.1f s)\n' \
    200 "$kb200" "$seconds200" "$large" "$kb" "$seconds"
