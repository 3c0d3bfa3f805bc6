#!/usr/bin/env bash
# Builds what Tolvex ships into dist/: the Debian source and binary packages,
# the one-file page tolvex.html and the served site. Each is the same bytes
# wherever and whenever it is built from one commit (scripts/reproducible.sh
# checks this): debhelper takes the package's time stamps from its changelog,
# and the page and the site hold none.
# Run scripts/install-test-deps.sh and web/build/build-wasm-deps.sh once first;
# the WebAssembly libraries may be elsewhere: TOLVEX_WASM_DEPS=/path/to/prefix.
# Usage: scripts/build-dist.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh

rm -rf dist
mkdir dist
# The package's tests are the suite's; here only what ships is built.
DEB_BUILD_OPTIONS=nocheck scripts/build-package.sh >/dev/null
cp build-package/tolvex_*.dsc build-package/tolvex_*.tar.xz build-package/tolvex_*.deb dist/

cmake --preset web -DTOLVEX_WASM_DEPS="${TOLVEX_WASM_DEPS:-$PWD/build-web/deps}" >/dev/null
cmake --build --preset web -j "$(nproc)" --target tolvex_site >/dev/null
cp build-web/tolvex.html dist/
cp -r build-web/site dist/site
ls -lR dist
