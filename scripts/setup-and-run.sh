#!/usr/bin/env bash
# Installs the packages, builds Tolvex and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)" --target tolvex
exec build/app/tolvex
