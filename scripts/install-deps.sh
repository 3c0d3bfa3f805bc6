#!/usr/bin/env bash
# Installs what Tolvex needs to build, run and test on Debian 12 or 13, each
# from its own archive, and generates the locales that the locale tests switch
# between. No name carries a release's version: the unversioned packages
# (clang, libclang-rt-dev, python3-clang) follow each release's default LLVM.
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"

export DEBIAN_FRONTEND=noninteractive
as_root apt-get update -qq
packages=(
    build-essential cmake pkg-config qt6-base-dev libgl-dev libxcb1-dev libgtest-dev libbenchmark-dev
    libmpfr-dev libgmp-dev libfmt-dev libfast-float-dev nlohmann-json3-dev
    clang clang-tidy clang-format libclang-rt-dev python3 python3-clang
    fonts-dejavu-core xvfb xauth xdotool locales time
    debhelper devscripts lintian autopkgtest desktop-file-utils appstream librsvg2-bin
    emscripten googletest dpkg-dev nodejs esbuild chromium firefox-esr webkit2gtk-driver
    flake8 black shellcheck reprotest diffoscope-minimal debootstrap
)
# Debian's nodejs comes without npm, which is a package of its own; a machine
# whose nodejs is from elsewhere has its npm already and cannot take Debian's.
command -v npm >/dev/null || packages+=(npm)
as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

for loc in de_DE.UTF-8 fr_FR.UTF-8 tr_TR.UTF-8; do
    as_root sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
done
as_root locale-gen >/dev/null
