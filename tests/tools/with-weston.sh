#!/bin/sh
# with-weston.sh COMMAND [ARG...]: runs COMMAND as a Wayland client of a
# weston of its own and ends the compositor after it, with COMMAND's exit
# status. Run it on an X display (tests/tools/with-xvfb.sh): weston's X11
# backend gives its seat that server's keyboard and pointer, so a window
# takes focus and keys as on a desktop. The headless backend has no seat at
# all: no window is ever activated there, and Qt 6.4's Wayland text input
# crashes on the first key event. Qt is told to take its Wayland platform
# plugin, so that a missing plugin fails instead of falling back to X11.
set -eu
# shellcheck source=tests/tools/wait-for.sh
. "$(dirname "$0")/wait-for.sh"
[ -n "${DISPLAY:-}" ] || { echo "with-weston: no X display for weston's seat" >&2; exit 1; }
runtime=$(mktemp -d)
chmod 700 "$runtime"
weston=""
trap '[ -z "$weston" ] || kill "$weston" 2>/dev/null || true; rm -rf "$runtime"' EXIT
trap 'exit 143' TERM INT
# Weston 12 took the backends' and renderers' short names (Debian 13 has 14).
if [ "$(weston --version | sed 's/^weston \([0-9]*\).*/\1/')" -ge 12 ]; then
    backend="--backend=x11 --renderer=pixman"
else
    backend="--backend=x11-backend.so --use-pixman"
fi
# shellcheck disable=SC2086 # the backend's words, split on purpose
XDG_RUNTIME_DIR=$runtime weston $backend --no-config --socket=wayland-tolvex \
    --width=1280 --height=1024 --idle-time=0 >"$runtime/log" 2>&1 &
weston=$!
wait_for "with-weston: no compositor" "$weston" "$runtime/log" test -S "$runtime/wayland-tolvex"
status=0
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-tolvex QT_QPA_PLATFORM=wayland "$@" || status=$?
exit "$status"
