#!/usr/bin/env bash
# The browser build: GMP and MPFR for WebAssembly (built once, then kept), the
# same core with its tests for WebAssembly, the one-file page
# build-web/tolvex.html and the served site build-web/site/.
# Run scripts/install-test-deps.sh once first on a new machine.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
web/build/build-wasm-deps.sh
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"
echo "build-web/tolvex.html: $(stat -c %s build-web/tolvex.html) bytes"
