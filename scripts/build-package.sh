#!/usr/bin/env bash
# Builds the Debian package, build-package/tolvex_VERSION_ARCH.deb, the same
# bytes wherever and whenever it is built from one commit: every time stamp
# is the last commit's (SOURCE_DATE_EPOCH, unless given), and the directories
# in it get their modes from umask 022 whatever the caller's umask is.
# Usage: scripts/build-package.sh   (prints the package's path)
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)" >/dev/null
rm -f build-package/tolvex_*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/tolvex_*.deb
