#!/usr/bin/env bash
# Whole-process wall time and peak RSS of the Tolvex window against a bare Qt
# window (and a window with one label, the floor for any window showing text),
# run interleaved so that machine drift hits all alike.
# Usage: bench/startup.sh BUILD_DIR [RUNS]   (under xvfb-run -a, or a real display)
set -euo pipefail
build=${1:-build}
runs=${2:-31}
names=(startup_bare startup_text startup_tolvex)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for ((i = 0; i < runs; i++)); do
    for name in "${names[@]}"; do
        start=$(date +%s%N)
        rss=$(/usr/bin/time -f '%M' "$build/bench/$name" 2>&1 >/dev/null | grep -E '^[0-9]+$' | tail -n 1)
        end=$(date +%s%N)
        echo "$(((end - start) / 1000))" >>"$work/$name.wall"
        echo "$rss" >>"$work/$name.rss"
    done
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for name in "${names[@]}"; do
    printf '%-15s median wall %6d us   median peak RSS %6d kB   (%d runs)\n' \
        "$name" "$(median "$work/$name.wall")" "$(median "$work/$name.rss")" "$runs"
done
awk -v tw="$(median "$work/startup_tolvex.wall")" -v bw="$(median "$work/startup_bare.wall")" \
    -v xw="$(median "$work/startup_text.wall")" -v tr="$(median "$work/startup_tolvex.rss")" \
    -v br="$(median "$work/startup_bare.rss")" -v xr="$(median "$work/startup_text.rss")" 'BEGIN {
    printf "tolvex / bare window:  wall %.3f  peak RSS %.3f  (target <= 1.10 each)\n", tw / bw, tr / br
    printf "tolvex / text window:  wall %.3f  peak RSS %.3f\n", tw / xw, tr / xr }'
