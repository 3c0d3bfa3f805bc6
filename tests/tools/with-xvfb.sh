#!/bin/sh
# with-xvfb.sh COMMAND [ARG...]: runs COMMAND on a virtual X display of its
# own (TOLVEX_XVFB_SCREEN, 1280x1024x24 by default) and ends the display
# after it, with COMMAND's exit status.
# Xvfb picks the display itself (-displayfd): the first number whose sockets
# are free. xvfb-run -a looks only at /tmp's lock files, so two roots on one
# machine (which share the abstract socket namespace but not /tmp) could both
# take :99, and the second server would fail to start.
set -eu
# shellcheck source=tests/tools/wait-for.sh
. "$(dirname "$0")/wait-for.sh"
dir=$(mktemp -d)
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true; rm -rf "$dir"' EXIT
trap 'exit 143' TERM INT
Xvfb -displayfd 3 -screen 0 "${TOLVEX_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$dir/display" >"$dir/log" 2>&1 &
xvfb=$!
wait_for "with-xvfb: Xvfb gave no display" "$xvfb" "$dir/log" test -s "$dir/display"
status=0
DISPLAY=":$(cat "$dir/display")" "$@" || status=$?
exit "$status"
