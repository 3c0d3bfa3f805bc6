#!/usr/bin/env bash
# clang-tidy over every project source with the checked-in .clang-tidy; fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
files=$(git ls-files '*.cpp' | grep -vE '^fuzz/')
out=$(mktemp)
printf '%s\n' $files | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$out" 2>/dev/null || true
if grep -E 'warning:|error:' "$out"; then
    echo "clang-tidy found problems"
    exit 1
fi
echo "clang-tidy: clean ($(echo $files | wc -w) files)"
if ! git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror 2>/dev/null; then
    echo "clang-format would change the files above"
    exit 1
fi
echo "clang-format: clean"
