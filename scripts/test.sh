#!/usr/bin/env bash
# The whole test suite: unit, conformance, reference and locale tests, the
# window tests offscreen and under Xvfb, the same suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, short libFuzzer runs, the lint of every
# language, and the browser build: the core's tests in WebAssembly under node
# and the page and the served site in Chromium.
# It installs first what it needs beyond scripts/setup-and-run.sh's packages
# (scripts/install-test-deps.sh: nothing on a machine that has it all).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
scripts/install-test-deps.sh
# That script generates the locales the locale tests switch between: a
# missing one is a failure here, not a skipped test.
export TOLVEX_REQUIRE_LOCALES=1
fuzz_seconds=${TOLVEX_FUZZ_SECONDS:-20}

# Each part's wall time, printed when the next one starts: where the time goes.
part_name=""
part_start=$SECONDS
part() {
    if [ -n "$part_name" ]; then echo "-- $part_name: $((SECONDS - part_start)) s"; fi
    part_name=$1
    part_start=$SECONDS
    echo "== $1"
}

# GMP and MPFR for WebAssembly build meanwhile, at a lower priority: their
# configure scripts run one check at a time, and the fuzzers use one core, so
# the other core would be idle for minutes.
deps_log=$(mktemp)
setsid nice -n 10 web/build/build-wasm-deps.sh >"$deps_log" 2>&1 &
deps_pid=$!
# Its own process group: a failed part stops it with everything it started.
trap 'kill -- -"$deps_pid" 2>/dev/null || true' EXIT

part "build"
cmake --preset tests >/dev/null
cmake --build --preset tests -j "$jobs"

part "sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
# The preset runs a tenth of the reference cases: the sanitized build is many times slower.
ctest --preset sanitize -j "$jobs"

# Each fuzzer for its seconds from its corpus, one after the other.
run_fuzzers() {
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
            return "$status"
        fi
        rm -rf "$corpus" "$log"
    done
}

part "libFuzzer (${fuzz_seconds}s per target) and beside it the lint (scripts/tidy.sh)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
# A fuzzer uses one core; the lint takes the other, at the lowest priority so
# that each fuzzer still has a whole core for its seconds.
fuzz_log=$(mktemp)
run_fuzzers >"$fuzz_log" 2>&1 &
fuzz_pid=$!
cmake --preset bench >/dev/null # configured only, so that the benchmarks are checked too
lint_status=0
nice -n 19 scripts/tidy.sh build build-bench || lint_status=$?
fuzz_status=0
wait "$fuzz_pid" || fuzz_status=$?
cat "$fuzz_log"
rm -f "$fuzz_log"
if [ "$lint_status" -ne 0 ] || [ "$fuzz_status" -ne 0 ]; then exit 1; fi

part "browser build: the core in WebAssembly under node, the page in Chromium"
wait "$deps_pid" || { cat "$deps_log"; exit 1; }
cat "$deps_log"
rm -f "$deps_log"
scripts/build-web.sh
ctest --preset web -j "$jobs"
(cd tests/web && npm ci --no-audit --no-fund >/dev/null && npm test)

part "test suite"
echo "-- whole suite so far: $SECONDS s"
log=$(mktemp)
ctest --preset tests -j "$jobs" | tee "$log"
# The summary line closes the log, after ctest's label and time lines.
grep -E 'tests passed' "$log"
rm -f "$log"
