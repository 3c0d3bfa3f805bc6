#!/usr/bin/env bash
# Installs the packages, builds Tolvex and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target tolvex
exec build-release/app/tolvex
