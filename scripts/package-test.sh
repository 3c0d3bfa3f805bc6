#!/usr/bin/env bash
# Builds the Debian source and binary packages with dpkg-buildpackage and
# checks them as a distribution would: lintian on both, hardening-check on the
# packaged binary, the desktop entry and AppStream metainfo validators, the
# package's own autopkgtest (the installed program starts on a virtual X
# display, shows its titled window and closes), then removes the package and
# checks that nothing it installed is left.
# Needs root (apt-get); run scripts/install-test-deps.sh once first.
# Usage: scripts/package-test.sh [--built]   (--built: check the package that
# scripts/build-package.sh left in build-package/ instead of building it)
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package test FAILED: $*" >&2; exit 1; }
# shellcheck source=scripts/lib.sh
source scripts/lib.sh

if [ "${1:-}" = --built ]; then
    changes=$(ls build-package/tolvex_*.changes) || fail "no package in build-package/"
else
    echo "== package (dpkg-buildpackage)"
    changes=$(scripts/build-package.sh) || fail "the package could not be built"
fi
deb=$(ls build-package/tolvex_*_"$(dpkg --print-architecture)".deb)
built=build-package/tolvex/obj-$(dpkg-architecture -qDEB_HOST_MULTIARCH)
grep -E 'tests passed' build-package/build.log || true
echo "built $changes"

echo "== lintian"
lintian --fail-on error,warning "$changes" || fail "lintian reports errors or warnings"
echo "lintian on the source and the binary package: no errors, no warnings"

echo "== hardening"
# One of hardening-check's tests cannot pass on Debian 12 for any program,
# Debian's own included (try /usr/bin/ls): control flow integrity, because
# glibc's start files carry no IBT/SHSTK note and the linker then drops it from
# the executable. It is checked where it can be: every object of the package's
# build must carry the IBT and SHSTK note, and every compile command the flags.
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
# Branch protection (BTI and PAC) is arm64's; Debian 13's hardening-check
# asks for it on every architecture, Debian 12's does not know it.
skipped=(--nocfprotection)
# (Its --help ends with a non-zero status, so its text is read whole first.)
usage=$(hardening-check --help 2>&1 || true)
if [ "$(dpkg --print-architecture)" != arm64 ] && grep -q -- --nobranchprotection <<<"$usage"; then
    skipped+=(--nobranchprotection)
fi
status=0
hardening-check "${skipped[@]}" "$unpacked/usr/bin/tolvex" || status=$?
[ "$status" -eq 0 ] || fail "hardening-check on the packaged binary"
objects=$(find "$built" -name '*.o')
[ -n "$objects" ] || fail "no object files in $built"
for object in $objects; do
    readelf -n "$object" | grep -q 'x86 feature: IBT, SHSTK' || fail "$object lacks -fcf-protection"
done
"$TOLVEX_PYTHON3" - "$built/compile_commands.json" <<'PY' || fail "a compile command lacks the hardening flags"
import json, sys
wanted = ["-fstack-protector-strong", "-D_FORTIFY_SOURCE=2", "-fstack-clash-protection",
          "-fcf-protection", "-Wformat", "-Werror=format-security", "-ffp-contract=off"]
for entry in json.load(open(sys.argv[1])):
    words = entry["command"].split()
    missing = [flag for flag in wanted if flag not in words]
    if missing:
        sys.exit(f"{entry['file']}: {' '.join(missing)}")
PY
echo "hardening-check: PIE, stack protector, fortify, RELRO, immediate binding; every object has IBT and SHSTK"

echo "== desktop entry and AppStream metainfo"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop || fail "desktop-file-validate"
out=$(appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml 2>&1) ||
    { echo "$out"; fail "appstreamcli validate"; }
if grep -qE '^[EW]:' <<<"$out"; then echo "$out"; fail "appstreamcli reports errors or warnings"; fi
echo "desktop-file-validate and appstreamcli validate: clean"

rm -rf "$unpacked"

echo "== autopkgtest (installs the package, starts it, checks its window's title, closes it)"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
as_root autopkgtest --quiet "$deb" build-package/tolvex -- null >"$log" 2>&1 ||
    { cat "$log"; fail "autopkgtest"; }
grep -E '^window +(PASS|FAIL|SKIP)' "$log"
rm -f "$log"

echo "== remove"
as_root apt-get install -y -qq "./$deb" >/dev/null || fail "apt-get install of the package"
installed=$(dpkg-query -L tolvex | while read -r path; do [ -f "$path" ] && echo "$path"; done)
[ -x /usr/bin/tolvex ] || fail "/usr/bin/tolvex is not installed"
as_root apt-get purge -y -qq tolvex >/dev/null || fail "apt-get purge tolvex"
left=$(for path in $installed; do [ -e "$path" ] && echo "$path"; done; true)
[ -z "$left" ] || fail "files left after removal: $left"
[ ! -e /usr/share/doc/tolvex ] || fail "/usr/share/doc/tolvex left after removal"
echo "removed; none of its $(wc -w <<<"$installed") files is left"
