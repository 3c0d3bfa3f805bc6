#!/usr/bin/env bash
# Re-makes docs/tolvex.png, the README's picture of the window: the built
# program on a virtual X display after Generate Values on the start-up texts.
# Needs xvfb, xdotool and imagemagick (apt-get install xvfb xdotool imagemagick).
# Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target tolvex >/dev/null
# The middle of Generate Values: its box starts at (144, 104) and is 73 x 41;
# the pointer then leaves the window, so that no hover highlight is in the picture.
# shellcheck disable=SC2016 # the picture's commands expand WINDOW themselves
TOLVEX_XVFB_SCREEN=800x600x24 tests/tools/with-xvfb.sh tests/tools/show-window.sh --then '
    xdotool mousemove --window "$WINDOW" 180 124 click 1
    sleep 1
    xdotool mousemove --window "$WINDOW" 400 0
    sleep 0.5
    import -window "$WINDOW" docs/tolvex.png' "$build/app/tolvex" >/dev/null
echo "wrote docs/tolvex.png"
