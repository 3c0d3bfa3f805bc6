#!/usr/bin/env bash
# Builds the Debian package and checks it as a distribution would: lintian,
# hardening-check on the packaged binary,
# the desktop entry and AppStream metainfo validators, then installs it,
# starts the installed program on a virtual X display, waits for its window,
# closes it, removes the package and checks that nothing it installed is left.
# Needs root (apt-get); run scripts/install-deps.sh once first.
set -euo pipefail
cd "$(dirname "$0")/.."
title='Coil Design   Orvik'
fail() { echo "package test FAILED: $*" >&2; exit 1; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

echo "== package"
deb=$(scripts/build-package.sh) || fail "the package could not be built"
echo "built $(basename "$deb")"

echo "== lintian"
lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"
echo "lintian: no errors, no warnings"

echo "== hardening"
# Two of hardening-check's tests cannot pass on Debian 12 for any C++ program,
# Debian's own included (try /usr/bin/ls): control flow integrity, because
# glibc's start files carry no IBT/SHSTK note and the linker then drops it from
# the executable; and fortified functions, because libstdc++ calls the
# compiler's memcpy builtins, which fortification does not wrap. Those two are
# checked where they can be: every object of the release build must carry the
# IBT and SHSTK note, and every compile command the fortify and the other flags.
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
status=0
hardening-check --nocfprotection --nofortify "$unpacked/usr/bin/tolvex" || status=$?
rm -rf "$unpacked"
[ "$status" -eq 0 ] || fail "hardening-check on the packaged binary"
objects=$(find build-package -name '*.o')
[ -n "$objects" ] || fail "no object files in build-package"
for object in $objects; do
    readelf -n "$object" | grep -q 'x86 feature: IBT, SHSTK' || fail "$object lacks -fcf-protection"
done
python3 - build-package/compile_commands.json <<'PY' || fail "a compile command lacks the hardening flags"
import json, sys
wanted = ["-fstack-protector-strong", "-D_FORTIFY_SOURCE=2", "-fstack-clash-protection",
          "-fcf-protection", "-Wformat", "-Werror=format-security", "-ffp-contract=off"]
for entry in json.load(open(sys.argv[1])):
    words = entry["command"].split()
    missing = [flag for flag in wanted if flag not in words]
    if missing:
        sys.exit(f"{entry['file']}: {' '.join(missing)}")
PY
echo "hardening-check: PIE, stack protector, RELRO, immediate binding; every object has IBT and SHSTK"

echo "== desktop entry and AppStream metainfo"
desktop-file-validate app/io.github.tolvex.Tolvex.desktop || fail "desktop-file-validate"
out=$(appstreamcli validate --no-net app/io.github.tolvex.Tolvex.metainfo.xml 2>&1) ||
    { echo "$out"; fail "appstreamcli validate"; }
if grep -qE '^[EW]:' <<<"$out"; then echo "$out"; fail "appstreamcli reports errors or warnings"; fi
echo "desktop-file-validate and appstreamcli validate: clean"

echo "== install, start, close, remove"
export DEBIAN_FRONTEND=noninteractive
as_root apt-get install -y -qq "$deb" >/dev/null || fail "apt-get install of the package"
installed=$(dpkg-query -L tolvex | while read -r path; do [ -f "$path" ] && echo "$path"; done)
[ -x /usr/bin/tolvex ] || fail "/usr/bin/tolvex is not installed"
# shellcheck disable=SC2016 # the inner script expands its own arguments
xvfb-run -a bash -c '
    set -u
    /usr/bin/tolvex >/dev/null 2>&1 &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    [ -n "$window" ] || { echo "no window titled \"$1\" was mapped within 30 s" >&2; kill "$pid"; exit 1; }
    echo "window \"$1\" mapped"
    python3 scripts/close-window.py "$window" || { echo "could not ask the window to close" >&2; exit 1; }
    for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then echo "tolvex did not end within 10 s of closing its window" >&2; kill "$pid"; exit 1; fi
    wait "$pid" || { echo "tolvex ended with status $?" >&2; exit 1; }
    echo "closed; tolvex ended"
' _ "$title" || fail "starting and closing the installed program"
as_root apt-get purge -y -qq tolvex >/dev/null || fail "apt-get purge tolvex"
left=$(for path in $installed; do [ -e "$path" ] && echo "$path"; done; true)
[ -z "$left" ] || fail "files left after removal: $left"
[ ! -e /usr/share/doc/tolvex ] || fail "/usr/share/doc/tolvex left after removal"
echo "removed; none of its $(wc -w <<<"$installed") files is left"
