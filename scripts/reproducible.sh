#!/usr/bin/env bash
# Builds what Tolvex ships (scripts/build-dist.sh) twice from the last commit
# with reprotest: in two folders, minutes apart, under two umasks, time zones,
# locales (one of them French) and PATHs, and with address space randomisation
# off in one of them; then compares the two byte for byte. On a difference, diffoscope's report
# says where. The WebAssembly libraries are inputs, built once for both.
# Usage: scripts/reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
web/build/build-wasm-deps.sh

source=$(mktemp -d)
store=$(mktemp -d)
trap 'rm -rf "$source" "$store"' EXIT
git archive HEAD | tar -x -C "$source"
echo "== reproducible: $(git log -1 --format='%h %s')"
# Each build runs in its own copy; HOME and the user stay, since the variation
# would need a second account on the machine.
reprotest --verbosity 1 --min-cpus "$(nproc)" --store-dir "$store/result" \
    --variations=-all,+build_path,+umask,+timezone,+exec_path,+environment,+aslr,+locales \
    --vary=locales.locale=fr_FR.UTF-8 \
    -s "$source" \
    "TOLVEX_WASM_DEPS=$root/build-web/deps scripts/build-dist.sh" \
    'dist/*.deb dist/*.dsc dist/*.tar.xz dist/*.html dist/site/*'
