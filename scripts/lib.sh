# shellcheck shell=bash
# What the scripts share; sourced, never run.

# COMMAND as root: directly when root already, else through sudo.
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# emscripten 3.1.6's JavaScript tools want Debian's node modules (acorn).
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Debian's own python3, whose packages (python3-clang) the tools use; another
# python3 earlier on PATH would not have them.
export TOLVEX_PYTHON3=/usr/bin/python3
