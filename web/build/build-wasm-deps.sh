#!/usr/bin/env bash
# Builds GMP and GNU MPFR (for the core) for WebAssembly from Debian's own
# source packages, the same releases the native build links, into
# build-web/deps; with --benchmark also Google Benchmark (only the benchmarks
# under node need it). Once: a second run finds what is built and does nothing,
# unless the recipe has changed since.
#
# Usage: web/build/build-wasm-deps.sh [--benchmark] [PREFIX]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
benchmark=false
if [ "${1:-}" = --benchmark ]; then benchmark=true; shift; fi
prefix=${1:-$root/build-web/deps}
stamp=$prefix/.built
benchmark_stamp=$prefix/.built-benchmark
# Optimized for size: every start of the page reads and compiles the module,
# and GMP and MPFR are the larger part of it. The stamp holds the recipe, so
# that a folder built by another one is built again.
lib_flags="-Oz"
recipe="gmp mpfr4 $lib_flags"
built() { [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; }
if built && { ! $benchmark || [ -f "$benchmark_stamp" ]; }; then exit 0; fi

# shellcheck source=scripts/lib.sh
source scripts/lib.sh
work=$root/build-web/deps-src
jobs=$(nproc)
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/parts"
touch "$work/apt/sources.list"
cd "$work"

# A private source list for the mirrors the machine already uses, so that the
# system's own apt configuration is left as it is. Either format counts: the
# one-line sources.list and *.list that the installer and debootstrap write,
# and the deb822 *.sources of newer set-ups.
shopt -s nullglob
found=0
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list" >>apt/sources.list
done
[ ! -s apt/sources.list ] || found=1
for list in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types: deb$/Types: deb-src/' "$list" >"apt/parts/$(basename "$list")"
    found=1
done
shopt -u nullglob
if [ "$found" -eq 0 ]; then
    echo "build-wasm-deps: no apt source found in /etc/apt/sources.list or" \
        "/etc/apt/sources.list.d/ (*.list, *.sources); GMP's and MPFR's Debian sources" \
        "are fetched from the machine's own mirror" >&2
    exit 1
fi
apt_private=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=$work/apt/parts"
             -o "Dir::State::Lists=$work/apt/lists" -o APT::Sandbox::User=root)
apt-get "${apt_private[@]}" -qq update || {
    echo "build-wasm-deps: apt-get update of the source lists failed (above)" >&2
    exit 1
}

# fetch_source PACKAGE: Debian's source package, unpacked into PACKAGE-VERSION/
# as apt-get source would. Each file is fetched on its own so that a file the
# mirror cannot give is named; when only Debian's packaging part is missing,
# the upstream release (the .orig tarball, which the packaging leaves as it
# is) is built instead, and the script says so.
fetch_source() {
    local package=$1 uri file hash dsc="" orig="" missing=()
    while read -r uri file _ hash; do
        uri=${uri//\'/}
        if /usr/lib/apt/apt-helper "${apt_private[@]}" download-file "$uri" "$file" "$hash" \
            >"$file.log" 2>&1; then
            case $file in
                *.dsc) dsc=$file ;;
                *.orig.tar.*) orig=$file ;;
            esac
        else
            missing+=("$file")
            sed 's/^/    /' "$file.log" >&2
        fi
        rm -f "$file.log"
    done < <(apt-get "${apt_private[@]}" -qq source --print-uris "$package" | grep "^'")
    local version=${orig#"${package}_"}
    version=${version%.orig.tar.*}
    if [ "${#missing[@]}" -eq 0 ] && [ -n "$dsc" ]; then
        dpkg-source -x "$dsc" "$package-$version" >"$package.log" 2>&1 || { cat "$package.log" >&2; exit 1; }
    elif [ -n "$orig" ]; then
        echo "build-wasm-deps: $package: the mirror did not give ${missing[*]}; building the" \
            "upstream release $version from $orig without Debian's packaging" >&2
        mkdir "$package-$version"
        tar -xf "$orig" -C "$package-$version" --strip-components=1
    else
        echo "build-wasm-deps: $package: Debian's source could not be fetched" \
            "(${missing[*]:-no file listed by apt-get source --print-uris})" >&2
        exit 1
    fi
}
sources=()
built || sources+=(gmp mpfr4)
! $benchmark || sources+=(benchmark)
for package in "${sources[@]}"; do fetch_source "$package"; done

# The libraries' C compiler: a compile-only call goes straight to emscripten's
# clang with the flags emcc itself would give it (emcc --cflags); anything else
# (the preprocessor, configure's link checks) goes through emcc. emcc's own
# start-up is most of the time of compiling a small C file, and GMP and MPFR
# are a thousand of them. The libraries are archives, so every link here is one
# of configure's checks: at -O0, which comes last and so wins, a newer emcc
# skips the optimising passes that took most of configure's time.
write_compiler() {
    mkdir -p "$work/bin"
    cat >"$work/bin/emcc-c" <<COMPILER
#!/bin/sh
case " \$* " in
    *" -c "*) exec "$(em-config LLVM_ROOT)/clang" $(emcc --cflags) "\$@" ;;
    *" -E "*) exec emcc "\$@" ;;
esac
exec emcc "\$@" -O0
COMPILER
    chmod +x "$work/bin/emcc-c"
}

# configure_and_install FOLDER CONFIGURE_ARGUMENT...: one autotools library of
# Debian's sources, static, for WebAssembly, into the prefix.
configure_and_install() {
    local folder=$1
    shift
    cd "$work/$folder"-*/
    emconfigure ./configure --host=none --build="$(./config.guess)" --disable-shared --enable-static \
        --prefix="$prefix" CC="$work/bin/emcc-c" CFLAGS="$lib_flags" "$@" >configure.log 2>&1 \
        || { tail -n 40 configure.log; exit 1; }
    emmake make -j"$jobs" >make.log 2>&1 || { tail -n 40 make.log; exit 1; }
    emmake make install >/dev/null
}

build_gmp_and_mpfr() {
    write_compiler
    # Debian's GMP source drops the manual, which configure still lists.
    local gmp
    gmp=$(echo "$work"/gmp-*/)
    mkdir -p "${gmp}doc"
    printf 'all:\ninstall:\ncheck:\nclean:\ndistclean:\n' >"${gmp}doc/Makefile.in"
    # GMP: portable C (no assembly), 32-bit limbs as wasm32 has; the helper
    # programs that generate tables at build time run natively.
    echo "== GMP for WebAssembly"
    configure_and_install gmp --disable-assembly --enable-cxx CC_FOR_BUILD=gcc ABI=standard CXXFLAGS="$lib_flags"
    echo "== GNU MPFR for WebAssembly"
    configure_and_install mpfr4 --with-gmp="$prefix"
    echo "$recipe" >"$stamp"
    echo "GMP and MPFR for WebAssembly in $prefix"
}

build_benchmark() {
    echo "== Google Benchmark for WebAssembly"
    cd "$work"/benchmark-*/
    # A release tarball has no git tags to read the version from.
    emcmake cmake -S . -B build-wasm -DCMAKE_BUILD_TYPE=Release -DGIT_VERSION=0.0.0 \
        -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_INSTALL=ON \
        -DCMAKE_INSTALL_PREFIX="$prefix" >configure.log 2>&1 || { tail -n 40 configure.log; exit 1; }
    cmake --build build-wasm -j"$jobs" >make.log 2>&1 || { tail -n 40 make.log; exit 1; }
    cmake --install build-wasm >/dev/null
    touch "$benchmark_stamp"
    echo "Google Benchmark for WebAssembly in $prefix"
}

built || build_gmp_and_mpfr
! $benchmark || [ -f "$benchmark_stamp" ] || build_benchmark
rm -rf "$work"
