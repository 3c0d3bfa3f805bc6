#!/usr/bin/env bash
# Installs what building and running the window needs, as debian/control
# states it for Debian: Build-Depends without the tests' own (the nocheck
# profile), then what the package Depends on and Recommends (Qt's platform
# plugins, Wayland's among them). Then builds Tolvex and opens its window.
# The test suite's further packages are scripts/test.sh's to install.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
as_root apt-get update -qq
apt_get --no-install-recommends build-dep -P nocheck ./
apt_get --no-install-recommends satisfy "$(control_relations tolvex Depends Recommends)"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target tolvex
exec build-release/app/tolvex
