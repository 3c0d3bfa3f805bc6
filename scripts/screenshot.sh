#!/usr/bin/env bash
# Re-makes docs/tolvex.png, the README's picture of the window: the built
# program on a virtual X display after Generate Values on the start-up texts.
# Needs xvfb, xdotool and imagemagick (apt-get install xvfb xdotool imagemagick).
# Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target tolvex >/dev/null
# shellcheck disable=SC2016 # the inner script expands its own arguments
xvfb-run -a -s '-screen 0 800x600x24' bash -c '
    set -eu
    "$1/app/tolvex" >/dev/null 2>&1 &
    pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Coil Design   Orvik\$" | head -n 1)
    # The middle of Generate Values: its box starts at (144, 104) and is 73 x 41.
    xdotool mousemove --window "$window" 180 124 click 1
    sleep 1
    xdotool mousemove --window "$window" 400 0 # no hover highlight in the picture
    sleep 0.5
    import -window "$window" docs/tolvex.png
' _ "$PWD/$build"
echo "wrote docs/tolvex.png"
