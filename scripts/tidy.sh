#!/usr/bin/env bash
# clang-tidy over every project source the native build compiles (the fuzzers
# and the WebAssembly glue are built by other compilers) with the checked-in
# .clang-tidy; clang-format over all of them; ESLint over the page. Fails on
# any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
files=$(git ls-files '*.cpp' | while read -r file; do
    grep -q "\"file\": \"$PWD/$file\"" "$build/compile_commands.json" && echo "$file"
done)
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
# ESLint over the page's script, its tests and the page benchmark, with the
# page tests' pinned packages.
(cd tests/web && npm ci --no-audit --no-fund >/dev/null && npm run --silent lint)
echo "eslint: clean"
