#!/bin/sh
# wayland-app-id.sh PROGRAM APP_ID: PROGRAM's window, as a Wayland client
# (on tests/tools/with-weston.sh), names its application APP_ID, the name of
# its desktop entry, by which a Wayland desktop finds the entry's icon and
# name for the window.
set -eu
log=$(mktemp)
pid=""
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -f "$log"' EXIT
# libwayland's trace names an object xdg_toplevel@N up to 1.22 (Debian 12)
# and xdg_toplevel#N since (Debian 13).
WAYLAND_DEBUG=client "$1" 2>"$log" &
pid=$!
for _ in $(seq 1 100); do
    ! grep -q 'xdg_toplevel[@#][0-9]*\.set_app_id(' "$log" || break
    sleep 0.1
done
id=$(sed -n 's/.*xdg_toplevel[@#][0-9]*\.set_app_id("\(.*\)").*/\1/p' "$log" | tail -n 1)
[ "$id" = "$2" ] || { echo "wayland-app-id: the window's application is \"$id\", not \"$2\"" >&2; exit 1; }
echo "wayland-app-id: $id"
