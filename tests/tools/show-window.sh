#!/bin/sh
# show-window.sh [--within SECONDS] [--then COMMAND] PROGRAM [ARG...]
# Starts PROGRAM on the X display in DISPLAY (tests/tools/with-xvfb.sh gives
# one), waits until a window with the caption the window's description gives
# is mapped, runs COMMAND with that window's id in WINDOW (a screenshot, say),
# then asks the window to close as a window manager would and expects PROGRAM
# to end with status 0. Fails when PROGRAM ends first, or when no window is
# mapped within SECONDS (60 by default; PROGRAM may build the program first).
# The autopkgtest, the fresh-root runs and the screenshots all start the
# program this way.
set -eu
here=$(dirname "$0")
within=60
then=""
while [ "$#" -gt 0 ]; do
    case $1 in
        --within) within=$2; shift 2 ;;
        --then) then=$2; shift 2 ;;
        *) break ;;
    esac
done
[ "$#" -gt 0 ] || { echo "usage: show-window.sh [--within SECONDS] [--then COMMAND] PROGRAM [ARG...]" >&2; exit 2; }

# The caption as the description writes it, read from the description's
# source, since the program being checked may be an installed one.
description=$here/../../window/window_description.cpp
title=$(sed -n 's/^ *\.caption = "\(.*\)",$/\1/p' "$description")
if [ -z "$title" ] || [ "$(printf '%s\n' "$title" | wc -l)" -ne 1 ]; then
    echo "show-window: no one window caption in $description" >&2
    exit 1
fi

"$@" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
start=$(date +%s)
window=""
while [ -z "$window" ]; do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; echo "show-window: \"$*\" ended without a window titled \"$title\"" >&2; exit 1; }
    [ "$(($(date +%s) - start))" -lt "$within" ] ||
        { echo "show-window: no window titled \"$title\" within $within s" >&2; exit 1; }
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] || sleep 1
done
echo "show-window: \"$(xdotool getwindowname "$window")\" is shown"
[ -z "$then" ] || WINDOW=$window sh -c "$then"
"${TOLVEX_PYTHON3:-python3}" "$here/close-window.py" "$window"
status=0
wait "$pid" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || { echo "show-window: \"$*\" ended with status $status" >&2; exit 1; }
echo "show-window: closed; the program ended"
