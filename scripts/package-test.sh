#!/usr/bin/env bash
# The package's checks that sbuild does not do itself (it runs lintian,
# piuparts and autopkgtest: scripts/sbuild.conf), run by sbuild in its root of
# the release right after the build (scripts/fresh-debian.sh --package), with
# that release's tools: hardening-check on the packaged binary, the control
# flow protection in every object of the build and the hardening flags in
# every compile command, and the desktop entry and AppStream metainfo
# validators.
# Usage (as root, in the package's build tree):
#   scripts/package-test.sh DIR      DIR: where the build left the .deb files
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package test FAILED: $*" >&2; exit 1; }
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
[ "$#" -eq 1 ] || { echo "usage: scripts/package-test.sh DIR" >&2; exit 2; }
deb=$(ls "$1"/tolvex_*_"$(dpkg --print-architecture)".deb) || fail "no package in $1"
built=obj-$(dpkg-architecture -qDEB_HOST_MULTIARCH)

mapfile -t tools < <(test_packages buildroot)
echo "== the checking tools: ${tools[*]}"
apt_get --no-install-recommends install "${tools[@]}" || fail "installing the checking tools"

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
