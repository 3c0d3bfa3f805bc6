#!/usr/bin/env bash
# Builds the Debian source and binary packages with dpkg-buildpackage, as
# Debian builds every package, into build-package/: tolvex_VERSION.dsc and
# .tar.xz, tolvex_VERSION_ARCH.deb and its .changes. The same bytes wherever
# and whenever they are built from one tree: debhelper takes every time stamp
# from the top entry of debian/changelog and sets the files' modes itself.
# It builds a copy of this tree (without its build folders), since
# dpkg-buildpackage writes its results beside the tree it builds.
# Needs the Build-Depends: sudo apt-get build-dep ./
# Usage: scripts/build-package.sh [dpkg-buildpackage option...]   (prints the .changes' path)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/build-package
rm -rf "$out"
mkdir -p "$out/tolvex"
tar -c --exclude-vcs --exclude=./build --exclude='./build-*' --exclude=./dist \
    --exclude=node_modules --exclude='./obj-*' --exclude=__pycache__ . | tar -x -C "$out/tolvex"
(cd "$out/tolvex" && dpkg-buildpackage -us -uc "$@" >"$out/build.log" 2>&1) ||
    { tail -n 60 "$out/build.log" >&2; exit 1; }
ls "$out"/tolvex_*.changes
