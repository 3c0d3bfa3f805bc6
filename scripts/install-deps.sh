#!/usr/bin/env bash
# Installs what Tolvex needs to build, run and test on Debian 12, and
# generates the locales that the locale tests switch between.
set -euo pipefail
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

export DEBIAN_FRONTEND=noninteractive
as_root apt-get update -qq
as_root apt-get install -y -qq --no-install-recommends \
    build-essential cmake pkg-config qt6-base-dev libgl-dev libxcb1-dev libgtest-dev libbenchmark-dev \
    libmpfr-dev libgmp-dev libfmt-dev libfast-float-dev nlohmann-json3-dev \
    clang clang-tidy clang-format libclang-rt-14-dev python3-clang-14 \
    fonts-dejavu-core xvfb xauth xdotool locales time \
    lintian devscripts desktop-file-utils appstream librsvg2-bin \
    emscripten esbuild googletest dpkg-dev chromium \
    flake8 black shellcheck reprotest diffoscope-minimal >/dev/null

for loc in de_DE.UTF-8 fr_FR.UTF-8 tr_TR.UTF-8; do
    as_root sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
done
as_root locale-gen >/dev/null
