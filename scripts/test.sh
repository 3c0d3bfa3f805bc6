#!/usr/bin/env bash
# The whole test suite: unit, conformance, reference and locale tests, the
# window tests offscreen and under Xvfb, the same suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, short libFuzzer runs, clang-tidy, and the
# browser build: the core's tests in WebAssembly under node and the page in
# Chromium.
# Run scripts/install-deps.sh once first on a new machine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${TOLVEX_FUZZ_SECONDS:-20}

echo "== build"
cmake --preset tests >/dev/null
cmake --build --preset tests -j "$jobs"

echo "== clang-tidy and clang-format"
scripts/tidy.sh build

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
# The preset runs a tenth of the reference cases: the sanitized build is many times slower.
ctest --preset sanitize -j "$jobs"

echo "== libFuzzer (${fuzz_seconds}s per target)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for target in val_fuzz number_text_fuzz actions_fuzz; do
    corpus=$(mktemp -d)
    cp fuzz/corpus/"${target%_fuzz}"/* "$corpus"/
    log=$(mktemp)
    status=0
    build-fuzz/fuzz/$target -max_total_time="$fuzz_seconds" -timeout=5 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$corpus/" "$corpus" >"$log" 2>&1 || status=$?
    echo "$target: $(grep -E 'stat::number_of_executed_units' "$log" || echo 'no stats')"
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log"
        exit "$status"
    fi
    rm -rf "$corpus" "$log"
done

echo "== browser build: the core in WebAssembly under node, the page in Chromium"
scripts/build-web.sh
ctest --preset web -j "$jobs"
(cd tests/web && npm ci --no-audit --no-fund >/dev/null && npm test)

echo "== test suite"
ctest --preset tests -j "$jobs"
