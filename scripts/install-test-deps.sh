#!/usr/bin/env bash
# Installs what the test suite needs: debian/control's whole Build-Depends
# (the tests' own included), the package's Depends and Recommends, the tests'
# further packages (scripts/test-packages.txt), and the locales the locale
# tests switch between, and gives root a range of subordinate ids for
# sbuild. On a machine that has them all it installs nothing, asks no
# archive, and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
locales=(de_DE.UTF-8 fr_FR.UTF-8 tr_TR.UTF-8)

mapfile -t extra < <(test_packages all)

# Each package name stands in one list: debian/control's for the window's
# build and run set, test-packages.txt's (once) for the tests' own.
names_in_two_lists() {
    local control
    control=$(control_relations tolvex Build-Depends Depends Recommends |
        tr ',|' '\n' | awk '{ sub(/:.*/, "", $1); if ($1 != "") print $1 }' | sort -u)
    { printf '%s\n' "${extra[@]}" | sort | uniq -d
      comm -12 <(echo "$control") <(printf '%s\n' "${extra[@]}" | sort -u); } | sort -u
}
mapfile -t twice < <(names_in_two_lists)
if [ "${#twice[@]}" -gt 0 ]; then
    echo "install-test-deps: named twice (debian/control, scripts/test-packages.txt): ${twice[*]}" >&2
    exit 1
fi

# A machine whose node is from elsewhere has its npm already and cannot take
# Debian's, whose nodejs it would replace.
if command -v npm >/dev/null && ! dpkg-query -W npm >/dev/null 2>&1; then
    mapfile -t extra < <(printf '%s\n' "${extra[@]}" | grep -vx npm)
fi
run=$(control_relations tolvex Depends Recommends)
all_but_build=$(IFS=,; echo "$run,${extra[*]}")

packages_installed() {
    command -v dpkg-checkbuilddeps >/dev/null &&
        dpkg-checkbuilddeps 2>/dev/null &&
        dpkg-checkbuilddeps -d "$all_but_build" 2>/dev/null
}

# locale -a writes de_DE.utf8 for de_DE.UTF-8.
locale_present() { locale -a 2>/dev/null | grep -qx "${1%.UTF-8}.utf8"; }

missing_locales() {
    local loc
    for loc in "${locales[@]}"; do locale_present "$loc" || echo "$loc"; done
}

install_packages() {
    as_root apt-get update -qq
    apt_get --no-install-recommends build-dep ./
    apt_get --no-install-recommends satisfy "$all_but_build"
}

generate_locales() {
    local loc
    for loc in "$@"; do
        as_root sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
        grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    done
    as_root locale-gen >/dev/null
}

# sbuild's and autopkgtest's unshare modes map root's ids into a range of
# subordinate ones; without a range sbuild stops at "Error creating chroot
# session" and says no more.
subordinate_ids() {
    local file
    for file in /etc/subuid /etc/subgid; do
        grep -q '^root:' "$file" 2>/dev/null || echo 'root:100000:65536' | as_root tee -a "$file" >/dev/null
    done
}

if packages_installed; then
    echo "install-test-deps: every package the tests need is installed"
else
    install_packages
fi
mapfile -t absent < <(missing_locales)
if [ "${#absent[@]}" -eq 0 ]; then
    echo "install-test-deps: the locales ${locales[*]} are there"
else
    generate_locales "${absent[@]}"
fi
subordinate_ids
