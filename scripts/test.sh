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
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

echo "== clang-tidy and clang-format"
scripts/tidy.sh build

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTOLVEX_SANITIZE=ON -DTOLVEX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
# A tenth of the reference cases: the sanitized build is many times slower.
TOLVEX_REFERENCE_CASES=100000 \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== libFuzzer (${fuzz_seconds}s per target)"
# Every other option left at its default: the fuzz switch must combine with them.
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEX_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
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
ctest --test-dir build-web --output-on-failure -j "$jobs"
(cd tests/web && npm ci --no-audit --no-fund >/dev/null && npm test)

echo "== test suite"
ctest --test-dir build --output-on-failure -j "$jobs"
