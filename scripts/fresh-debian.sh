#!/usr/bin/env bash
# Proves the project on a stock Debian, as a new user gets one: a minimal root
# of the release made by mmdebstrap (with the suites a fresh install has and
# git), the project copied in from `git archive HEAD`, and nothing else of this
# machine but its trusted certificate authorities (its registries are reached
# through a proxy that signs with one of them).
#
#   scripts/fresh-debian.sh RELEASE [SETUP TESTS]
#                                      README's two commands, exactly as README
#                                      gives them: the first must open the window
#                                      (on an X display of this machine's, then
#                                      closed), the second must pass. Named
#                                      (as CI names them), they must be README's.
#                                      Between them, what the first downloaded
#                                      (apt's archive cache) and installed, and a
#                                      failure if that is any of the tests' own
#                                      packages (scripts/test-packages.txt).
#   scripts/fresh-debian.sh RELEASE --first
#                                      README's first command alone, measured
#                                      and checked the same way; a run by hand
#   scripts/fresh-debian.sh RELEASE --package
#                                      the package built by sbuild in a root of
#                                      the release from Build-Depends alone,
#                                      tests included, and checked there as
#                                      the release would: lintian, piuparts,
#                                      autopkgtest (scripts/sbuild.conf) and
#                                      scripts/package-test.sh (hardening,
#                                      validators)
#   scripts/fresh-debian.sh RELEASE --cross ARCH
#                                      the binary package for another Debian
#                                      architecture, cross-built by sbuild
#                                      --host=ARCH with nocheck (its tests
#                                      cannot run here; scripts/cross-check.sh
#                                      runs the core's under qemu-user), and
#                                      lintian on it; a run by hand
#
# RELEASE is a Debian release's code name: bookworm (12) or trixie (13).
# TOLVEX_REVISION (HEAD by default) names the commit whose files go into the
# root, so that an earlier first command can be measured beside today's.
# Each run takes a new root, unpacked from a tarball that one mmdebstrap call
# makes per release (TOLVEX_ROOT_CACHE, /var/cache/tolvex by default) and
# makes anew once it is a week old; a root that packages were installed into
# is never used again. Every command in the root runs in a PID and mount
# namespace of its own (unshare), with /proc, /sys and /dev mounted there
# alone: when the command ends, so does all it started, and its mounts go
# with the namespace. Needs root, mmdebstrap, Xvfb and, for the package,
# sbuild, piuparts and autopkgtest (scripts/install-test-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
# shellcheck source=scripts/lib.sh
source scripts/lib.sh
usage() {
    echo "usage: scripts/fresh-debian.sh bookworm|trixie [SETUP TESTS | --first | --package | --cross ARCH]" >&2
    exit 2
}
release=${1:-}
case $release in
    bookworm | trixie) shift ;;
    *) usage ;;
esac
mode=readme
named=()
cross_arch=""
if [ "${1:-}" = --package ] && [ "$#" -eq 1 ]; then
    mode=package
elif [ "${1:-}" = --first ] && [ "$#" -eq 1 ]; then
    mode=first
elif [ "${1:-}" = --cross ] && [ "$#" -eq 2 ]; then
    mode=cross
    cross_arch=$2
elif [ "$#" -eq 2 ]; then
    named=("$1" "$2")
elif [ "$#" -ne 0 ]; then
    usage
fi

mirror=http://deb.debian.org/debian
security_mirror=http://deb.debian.org/debian-security
cache=${TOLVEX_ROOT_CACHE:-/var/cache/tolvex}
# gzip, because piuparts reads its base only so (tar -z); sbuild, autopkgtest
# and tar -x read any.
tarball=$cache/$release-mmdebstrap.tar.gz
work=$(mktemp -d "/var/tmp/tolvex-fresh-$release.XXXXXX")
root=$work/root
# A root shell's environment in the root.
root_env=(HOME=/root TERM=dumb PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

clock() { date +%s; }
say() { echo "== fresh-debian ($release): $*"; }

# The root's mounts live in its commands' private namespaces, never in this
# machine's; the check only keeps a removal from crossing one if that changes.
clean_up() {
    local status=$?
    if grep -q " $work/" /proc/mounts; then
        echo "fresh-debian: $work has mounts; left in place" >&2
    else
        rm -rf "$work"
    fi
    exit "$status"
}
trap clean_up EXIT
# A stop from outside cleans up as well.
trap 'exit 143' TERM INT

# The release's minimal root as a new user's installer leaves it: minbase,
# git (README's promise) and ca-certificates, the release's, -updates' and
# -security's lines in the one-line sources.list, and this machine's
# certificate authorities trusted.
make_tarball() {
    local lock start
    mkdir -p "$cache"
    # Roots of one release made beside each other (CI's) share one tarball:
    # the first makes it, the others wait for it.
    exec {lock}>"$tarball.lock"
    flock "$lock"
    if [ -f "$tarball" ] && [ -z "$(find "$tarball" -mtime +6)" ]; then
        exec {lock}>&-
        return
    fi
    say "mmdebstrap ($release, minbase, git, ca-certificates) into $tarball"
    start=$(clock)
    rm -f "$tarball.part.tar.gz"
    # shellcheck disable=SC2016 # the hooks' shell expands $1, the root
    mmdebstrap --variant=minbase --include=git,ca-certificates \
        --customize-hook='find /usr/local/share/ca-certificates -maxdepth 1 -name "*.crt" -exec cp -t "$1/usr/local/share/ca-certificates/" {} +' \
        --customize-hook='chroot "$1" update-ca-certificates' \
        "$release" "$tarball.part.tar.gz" "deb $mirror $release main" "deb $mirror $release-updates main" \
        "deb $security_mirror $release-security main" >"$work/mmdebstrap.log" 2>&1 ||
        { tail -n 30 "$work/mmdebstrap.log"; exit 1; }
    mv "$tarball.part.tar.gz" "$tarball"
    exec {lock}>&-
    say "mmdebstrap in $(($(clock) - start)) s"
}

make_root() {
    say "a new $release root in $root"
    mkdir "$root"
    tar -x -C "$root" -f "$tarball"
    # What debootstrap and the installer leave, and mmdebstrap takes away.
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mkdir -p "$root/root/tolvex"
    git archive "${TOLVEX_REVISION:-HEAD}" | tar -x -C "$root/root/tolvex"
}

# namespace COMMAND...: COMMAND, chrooted into the root, as the child of a
# shell that is PID 1 of a PID and mount namespace of their own, with a /proc
# of that namespace and a /sys, /dev, /dev/pts and /dev/shm of its own (what
# the browsers, Xvfb and the sanitizers want). Whatever COMMAND leaves running
# dies when that shell ends, and the mounts go with the namespace; unshare
# blocks SIGTERM, but its own end (SIGKILL) ends the shell (--kill-child).
# The network namespace stays this machine's: X's socket is an abstract one.
# shellcheck disable=SC2016 # the namespace's shell expands its own arguments
namespace=(unshare --fork --pid --mount --propagation private --mount-proc="$root/proc" --kill-child
    bash -c '
        set -e
        root=$1
        shift
        mount -t sysfs -o ro,nosuid,nodev,noexec sysfs "$root/sys"
        mount -t tmpfs -o nosuid,mode=0755 tmpfs "$root/dev"
        for node in null:3 zero:5 full:7 random:8 urandom:9; do
            mknod -m 666 "$root/dev/${node%:*}" c 1 "${node#*:}"
        done
        mknod -m 666 "$root/dev/tty" c 5 0
        mkdir "$root/dev/pts" "$root/dev/shm"
        mount -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$root/dev/pts"
        mount -t tmpfs -o nosuid,nodev,mode=1777 tmpfs "$root/dev/shm"
        ln -s pts/ptmx "$root/dev/ptmx"
        ln -s /proc/self/fd "$root/dev/fd"
        ln -s /proc/self/fd/0 "$root/dev/stdin"
        ln -s /proc/self/fd/1 "$root/dev/stdout"
        ln -s /proc/self/fd/2 "$root/dev/stderr"
        chroot "$root" "$@"
    ' _ "$root")

# in_root COMMAND: the command in the project's folder, in the root.
in_root() {
    "${namespace[@]}" /usr/bin/env -i "${root_env[@]}" bash -c "cd /root/tolvex && $1"
}

# README's commands, read from README itself: the two indented lines that
# follow its "Two commands" heading.
readme_commands() {
    awk '/^## Two commands/ { on = 1; next } on && /^## / { exit } on && /^    [^ ]/ { sub(/^    /, ""); print }' \
        "$project/README.md"
}

# The first command ends by opening the window: it runs on an X display of
# this machine's (its socket is in the abstract namespace, which the root
# shares), and once the window is mapped under its caption it is asked to
# close (tests/tools/show-window.sh). It installs and builds first.
run_setup_command() {
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    # show-window.sh stops the command with SIGTERM, which unshare blocks.
    tests/tools/with-xvfb.sh tests/tools/show-window.sh --within 5400 sh -c '
        command=$1
        shift
        "$@" DISPLAY="$DISPLAY" bash -c "cd /root/tolvex && $command" &
        trap "kill -KILL $! 2>/dev/null; exit 143" TERM INT
        wait $!
    ' _ "$1" "${namespace[@]}" /usr/bin/env -i "${root_env[@]}" ||
        { echo "fresh-debian: \"$1\" did not open and close the window" >&2; exit 1; }
}

# README's two commands, and the same as the ones named, if any: checked
# before any root is made.
take_commands() {
    local commands
    mapfile -t commands < <(readme_commands)
    [ "${#commands[@]}" -eq 2 ] || { echo "fresh-debian: README gives ${#commands[@]} commands, not 2" >&2; exit 1; }
    if [ "${#named[@]}" -eq 2 ] && [ "${named[*]}" != "${commands[*]}" ]; then
        echo "fresh-debian: README gives \"${commands[0]}\" and \"${commands[1]}\"," \
            "not \"${named[0]}\" and \"${named[1]}\"" >&2
        exit 1
    fi
    setup=${commands[0]}
    suite=${commands[1]}
}

# The packages installed in the root, and the files and bytes in apt's
# archive cache, which apt fills with every package it fetches and never
# cleans by itself.
installed_count() {
    # shellcheck disable=SC2016 # dpkg-query's own field
    chroot "$root" dpkg-query -W -f='${db:Status-Abbrev}\n' | grep -c '^ii'
}
# Whether an installed package of the root Depends or Pre-Depends on PACKAGE
# (any architecture's, any version, or as one of alternatives).
installed_dependency() {
    # shellcheck disable=SC2016 # dpkg-query's own fields
    chroot "$root" dpkg-query -W -f='${db:Status-Abbrev}\t${Depends}, ${Pre-Depends}\n' |
        awk -F '\t' -v name="$1" '
            $1 ~ /^ii/ {
                n = split($2, relations, /[,|]/)
                for (i = 1; i <= n; i++) {
                    relation = relations[i]
                    sub(/^ +/, "", relation)
                    sub(/[ :(].*/, "", relation)
                    if (relation == name) found = 1
                }
            }
            END { exit !found }'
}
archive_cache() { find "$root/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -printf '%s\n' | awk '{ n++; b += $1 } END { print n + 0, b + 0 }'; }

# What the first command downloaded and installed, beyond the root's own.
# It must install none of the tests' own packages: those are the second
# command's.
first_command_footprint() {
    local base=$1 cache_files=$2 cache_bytes=$3 test_only files bytes
    read -r files bytes < <(archive_cache)
    say "the first command downloaded $((files - cache_files)) packages," \
        "$(awk -v b=$((bytes - cache_bytes)) 'BEGIN { printf "%.1f MB", b / 1e6 }'), and installed $(($(installed_count) - base))"
    # dpkg-query fails for the names it has never heard of, as it should here.
    # shellcheck disable=SC2016 # dpkg-query's own fields
    test_only=$({ test_packages all | xargs chroot "$root" dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' 2>/dev/null || true; } |
        awk '$1 == "ii" { print $2 }' | tr '\n' ' ')
    # One that an installed package depends on came as a dependency of the
    # build and run set (python3 does on Debian 13); one that none does was
    # installed for its own sake.
    local name dependency_of=() own=()
    for name in $test_only; do
        if installed_dependency "$name"; then dependency_of+=("$name"); else own+=("$name"); fi
    done
    [ "${#dependency_of[@]}" -eq 0 ] || say "of the tests' packages, the build and run set depends on ${dependency_of[*]}"
    [ "${#own[@]}" -eq 0 ] || { echo "fresh-debian: the first command installed the tests' ${own[*]}" >&2; exit 1; }
    say "none of the tests' own packages (scripts/test-packages.txt) installed"
}

first() {
    local start base cache_files cache_bytes
    say "README's first command: $setup"
    base=$(installed_count)
    read -r cache_files cache_bytes < <(archive_cache)
    start=$(clock)
    run_setup_command "$setup"
    setup_seconds=$(($(clock) - start))
    say "\"$setup\": ${setup_seconds} s to the window"
    first_command_footprint "$base" "$cache_files" "$cache_bytes"
}

readme() {
    local start suite_seconds log
    first

    say "README's second command: $suite"
    log=$work/suite.log
    start=$(clock)
    in_root "$suite" 2>&1 | tee "$log"
    suite_seconds=$(($(clock) - start))

    say "\"$setup\": ${setup_seconds} s to the window; \"$suite\": ${suite_seconds} s"
    # ctest's summary closes the log, as it closes the suite's own.
    grep -E 'tests passed' "$log" | tail -n 1
}

# The source package of the commit's files, as dpkg-source makes it.
source_package() {
    mkdir "$work/source"
    git archive --prefix=tolvex/ "${TOLVEX_REVISION:-HEAD}" | tar -x -C "$work/source"
    (cd "$work/source" && dpkg-source --build tolvex >/dev/null)
    dsc=$(ls "$work"/source/tolvex_*.dsc)
}

# A failed sbuild's log: its end here, the whole beside the work folder,
# which goes.
keep_log() {
    tail -n 120 "$1"
    cp "$1" "$work.sbuild.log"
    echo "fresh-debian: sbuild's whole log: $work.sbuild.log" >&2
}

# run_sbuild SUMMARY-LINE... -- SBUILD-OPTION...: sbuild on the source package
# with scripts/sbuild.conf, against the release's tarball, its results in
# $work/out. sbuild's status is 0 whatever its lintian, piuparts and
# autopkgtest said, so its summary must hold every line asked for.
run_sbuild() {
    local wanted=() log=$work/sbuild.log line
    while [ "$1" != -- ]; do wanted+=("$1") && shift; done
    shift
    mkdir "$work/out"
    SBUILD_CONFIG=$project/scripts/sbuild.conf TOLVEX_SBUILD_TARBALL=$tarball TOLVEX_SBUILD_RELEASE=$release \
        sbuild --build-dir="$work/out" "$@" "$dsc" >"$log" 2>&1 ||
        { keep_log "$log"; echo "fresh-debian: sbuild failed" >&2; exit 1; }
    sed -n '/^| Summary/,$p' "$log" | grep -E '^(Status|Lintian|Piuparts|Autopkgtest|Build-Time|Install-Time):'
    for line in "${wanted[@]}"; do
        grep -qx "$line" "$log" ||
            { keep_log "$log"; echo "fresh-debian: sbuild's summary lacks \"$line\"" >&2; exit 1; }
    done
}

# The package built by sbuild in a new root of the release from Build-Depends
# alone, its tests included; lintian, piuparts and autopkgtest after it
# (scripts/sbuild.conf), and in the build's root the checks sbuild does not do
# (scripts/package-test.sh).
package() {
    local start
    say "sbuild, then lintian, piuparts and autopkgtest; scripts/package-test.sh in its root"
    start=$(clock)
    source_package
    run_sbuild 'Status: successful' 'Lintian: pass' 'Piuparts: pass' 'Autopkgtest: pass' -- \
        --finished-build-commands='%SBUILD_PKGBUILD_DIR/scripts/package-test.sh %SBUILD_BUILD_DIR'
    # (autopkgtest's summary stands twice in the log.)
    grep -E 'tests passed|^(hardening-check|desktop-file-validate).*:|^window +(PASS|FAIL)' "$work/sbuild.log" | awk '!seen[$0]++'
    say "the package and its checks in $(($(clock) - start)) s"
}

# The package for another architecture, cross-built by sbuild as a porter
# would (crossbuild-essential-ARCH, the build dependencies of that
# architecture, nocheck: its tests cannot run here, scripts/cross-check.sh
# runs the core's under qemu-user), lintian on it, and what dpkg says of it.
cross() {
    local start deb
    say "sbuild --host=$cross_arch, nocheck"
    start=$(clock)
    source_package
    DEB_BUILD_OPTIONS=nocheck run_sbuild 'Status: successful' 'Lintian: pass' -- \
        --host="$cross_arch" --profiles=nocheck --no-arch-all --no-run-piuparts --no-run-autopkgtest
    deb=$(ls "$work"/out/tolvex_*_"$cross_arch".deb)
    dpkg-deb --field "$deb" Package Architecture Depends
    dpkg-deb -x "$deb" "$work/unpacked"
    file -b "$work/unpacked/usr/bin/tolvex"
    say "cross-built for $cross_arch in $(($(clock) - start)) s"
}

setup=""
suite=""
case $mode in readme | first) take_commands ;; esac
make_tarball
case $mode in readme | first) make_root ;; esac
"$mode"
