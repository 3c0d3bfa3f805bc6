#!/usr/bin/env bash
# The core and its tests on every other Debian release architecture, with the
# same digits as amd64: as root on Debian, installs the cross compilers, the
# target's libraries (multiarch) and qemu-user; builds the core, the test
# programs that matter and the digits program (tests/tools/result_bits.cpp)
# for each architecture with the flags debian/rules gives there; runs them
# under the emulator, the reference tests at a smaller case count; and
# compares every printed result with amd64's, byte for byte. Fails on any
# build error, test failure or differing result. Each architecture's time is
# printed.
#   scripts/cross-check.sh [ARCH...]   (all seven when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/lib.sh
source scripts/lib.sh

# Debian architecture, GNU triplet of its cross compiler, multiarch folder of
# its libraries, qemu-user's program.
declare -A triplet=(
    [arm64]=aarch64-linux-gnu [armel]=arm-linux-gnueabi [armhf]=arm-linux-gnueabihf
    [i386]=i686-linux-gnu [mips64el]=mips64el-linux-gnuabi64
    [ppc64el]=powerpc64le-linux-gnu [s390x]=s390x-linux-gnu
)
declare -A multiarch=([i386]=i386-linux-gnu)
declare -A qemu=(
    [arm64]=qemu-aarch64 [armel]=qemu-arm [armhf]=qemu-arm [i386]=qemu-i386
    [mips64el]=qemu-mips64el [ppc64el]=qemu-ppc64le [s390x]=qemu-s390x
)
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(arm64 armel armhf i386 mips64el ppc64el s390x)

# Under the emulator a test runs 20-40 times slower, and compiling each test
# program takes 10-30 s: the reference tests' random cases are fewer, and
# what the digits program prints as well (the conformance vectors, the texts,
# both actions; compared with amd64's, which pass their tests) is left to
# amd64. The arithmetic's edges, the exact reference and the coil model run.
export TOLVEX_REFERENCE_CASES=20000
test_programs=(numtext_arithmetic_test numtext_reference_test calc_coil_test)
test_pattern=$(IFS='|' && echo "^(${test_programs[*]})")

# Every architecture's C library is this machine's version (Multi-Arch:
# same): named so, apt keeps this machine's too, where it would otherwise
# take a security update that some architectures have not been built with
# yet and then find no C library for them ("held broken packages").
install_cross_tools() {
    local packages=(qemu-user) arch libc
    # Named by this machine's architecture: once others are added, the bare
    # name answers for each of them.
    libc=$(dpkg-query -W -f='${Version}' "libc6:$(dpkg --print-architecture)")
    for arch in "${archs[@]}"; do
        as_root dpkg --add-architecture "$arch"
        packages+=("g++-${triplet[$arch]}" "libmpfr-dev:$arch" "libgmp-dev:$arch" "libgtest-dev:$arch"
            "libc6:$arch=$libc")
    done
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${packages[@]}" >/dev/null
}

# NAME=value lines: the compiler and linker flags debian/rules gives a package
# built for ARCH (dpkg-buildflags with the rules' own additions).
package_flags() {
    local arch=$1 makefile
    makefile=$(mktemp)
    # shellcheck disable=SC2016 # make's recipe lines, expanded by make and its shell
    printf '%s\n' 'include debian/rules' 'print-flags:' \
        '	@echo "CXXFLAGS=$$(dpkg-buildflags --get CXXFLAGS)"' \
        '	@echo "CPPFLAGS=$$(dpkg-buildflags --get CPPFLAGS)"' \
        '	@echo "LDFLAGS=$$(dpkg-buildflags --get LDFLAGS)"' >"$makefile"
    CC="${triplet[$arch]:-x86_64-linux-gnu}-gcc" dpkg-architecture -a "$arch" -c \
        make -s -f "$makefile" print-flags
    rm -f "$makefile"
}

# Configures build-cross/ARCH: the core and its tests, no window, page or
# benchmarks; the release build's hardening from CMake and the package's
# flags from debian/rules, together.
configure() {
    local arch=$1 flags cxxflags cppflags ldflags
    flags=$(package_flags "$arch")
    cxxflags=$(sed -n 's/^CXXFLAGS=//p' <<<"$flags")
    cppflags=$(sed -n 's/^CPPFLAGS=//p' <<<"$flags")
    ldflags=$(sed -n 's/^LDFLAGS=//p' <<<"$flags")
    echo "$arch: CXXFLAGS $cxxflags $cppflags; LDFLAGS $ldflags"
    local toolchain=()
    if [ "$arch" != amd64 ]; then
        toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/CrossCompile.cmake
            "-DTOLVEX_TRIPLET=${triplet[$arch]}"
            "-DTOLVEX_MULTIARCH=${multiarch[$arch]:-${triplet[$arch]}}"
            "-DTOLVEX_QEMU=${qemu[$arch]}")
    fi
    # -g0 last: no debug information, which only slows the build here.
    CXXFLAGS="$cxxflags $cppflags" LDFLAGS="$ldflags" cmake -S . -B "build-cross/$arch" \
        "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g0 -DNDEBUG" \
        -DTOLVEX_GUI=OFF -DTOLVEX_WEB=OFF -DTOLVEX_BENCH=OFF >/dev/null
}

# Runs a built program of ARCH: natively on amd64, else under the emulator
# with the multiarch root as its library root (the cross compiler's own
# /usr/<triplet> has another C library build, and ppc64el's programs abort
# with "stack smashing detected" there).
run_program() {
    local arch=$1
    shift
    if [ "$arch" = amd64 ]; then "$@"; else "${qemu[$arch]}" -L / "$@"; fi
}

# Prints every result's bits into build-cross/ARCH.results.
print_results() {
    local arch=$1
    run_program "$arch" "build-cross/$arch/tests/result_bits" >"build-cross/$arch.results"
}

# Called where a failure must not end the script: every step says its own.
check_arch() {
    local arch=$1 start=$SECONDS differing log=build-cross/$1
    configure "$arch" || return 1
    nice -n 5 cmake --build "build-cross/$arch" -j2 --target result_bits "${test_programs[@]}" \
        >"$log.build.log" 2>&1 || {
        tail -n 40 "$log.build.log"
        echo "$arch: the build failed"
        return 1
    }
    if ! ctest --test-dir "build-cross/$arch" -j2 -R "$test_pattern" --output-on-failure \
        >"$log.test.log" 2>&1; then
        tail -n 60 "$log.test.log"
        echo "$arch: a test failed"
        return 1
    fi
    grep 'tests passed' "$log.test.log"
    print_results "$arch" || return 1
    differing=$(diff build-cross/amd64.results "build-cross/$arch.results" | grep -c '^>' || true)
    echo "$arch: $(wc -l <"build-cross/$arch.results") results, $differing differ from amd64's, $((SECONDS - start)) s"
    [ "$differing" -eq 0 ] || {
        diff build-cross/amd64.results "build-cross/$arch.results" | head -n 20
        return 1
    }
}

start=$SECONDS
install_cross_tools
echo "cross compilers, libraries and qemu-user installed: $((SECONDS - start)) s"

mkdir -p build-cross
# amd64's results, with its own package flags, are the ones to match.
amd64_start=$SECONDS
configure amd64
nice -n 5 cmake --build build-cross/amd64 -j2 --target result_bits >build-cross/amd64.build.log 2>&1 ||
    { tail -n 40 build-cross/amd64.build.log && exit 1; }
print_results amd64
echo "amd64: $(wc -l <build-cross/amd64.results) results printed, $((SECONDS - amd64_start)) s"

failed=()
for arch in "${archs[@]}"; do
    echo "==== $arch"
    check_arch "$arch" || failed+=("$arch")
done
echo "whole cross check: $((SECONDS - start)) s"
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed on: ${failed[*]}"
    exit 1
fi
echo "every architecture built, passed its tests and printed amd64's results"
