#!/usr/bin/env bash
# Start-up of the Tolvex window against a bare Qt window and a window with one
# label (the floor for any window that shows text): the time from exec to the
# window's first map, which is what a person waits for, the whole-process wall
# time, and peak RSS. Runs interleaved so that machine drift hits all alike.
# Usage: bench/startup.sh BUILD_DIR [RUNS]   (under tests/tools/with-xvfb.sh, or a real display)
set -euo pipefail
build=${1:-build-bench}
runs=${2:-31}
names=(startup_bare startup_text startup_tolvex)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for ((i = 0; i < runs; i++)); do
    for name in "${names[@]}"; do
        if ! result=$("$build/bench/first_map" "$build/bench/$name" 2>"$work/stderr"); then
            echo "startup.sh: run $((i + 1)) of $name failed: $result" >&2
            cat "$work/stderr" >&2
            exit 1
        fi
        read -r map wall rss <<<"$result"
        echo "$map" >>"$work/$name.map"
        echo "$wall" >>"$work/$name.wall"
        echo "$rss" >>"$work/$name.rss"
    done
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for name in "${names[@]}"; do
    printf '%-15s median first map %6d us   wall %6d us   peak RSS %6d kB   (%d runs)\n' \
        "$name" "$(median "$work/$name.map")" "$(median "$work/$name.wall")" \
        "$(median "$work/$name.rss")" "$runs"
done
ratio() { awk -v a="$(median "$work/startup_tolvex.$1")" -v b="$(median "$work/$2.$1")" \
    'BEGIN { printf "%.3f", a / b }'; }
echo "tolvex / text window:  first map $(ratio map startup_text)  wall $(ratio wall startup_text)" \
    " peak RSS $(ratio rss startup_text)   (targets: first map <= 1.15, peak RSS <= 1.10)"
echo "tolvex / bare window:  first map $(ratio map startup_bare)  wall $(ratio wall startup_bare)" \
    " peak RSS $(ratio rss startup_bare)"
