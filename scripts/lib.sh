# shellcheck shell=bash
# What the scripts share; sourced, never run.

# COMMAND as root: directly when root already, else through sudo.
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# control_relations PACKAGE FIELD...: the relation fields of PACKAGE's stanza
# in debian/control (Source's stanza for Build-Depends), joined into one list
# that apt-get satisfy and dpkg-checkbuilddeps -d read. Substitution variables
# are left out: dpkg-gencontrol fills them from the built program. In awk, as
# a stock root has no Python.
control_relations() {
    local package=$1
    shift
    awk -v package="$package" -v fields=" $* " '
        /^$/ { in_stanza = 0; field = ""; next }
        /^(Source|Package):/ { in_stanza = ($2 == package) }
        !in_stanza { next }
        /^[^ \t#][^:]*:/ {
            name = substr($0, 1, index($0, ":") - 1)
            field = index(fields, " " name " ") ? name : ""
            sub(/^[^:]*:/, "")
        }
        field != "" { list = list "," $0 }
        END {
            gsub(/\$\{[^}]*\}/, "", list)
            gsub(/[ \t]+/, " ", list)
            gsub(/ ?, ?(, ?)*/, ", ", list)
            sub(/^, /, "", list)
            sub(/, $/, "", list)
            print list
        }' "$(dirname "${BASH_SOURCE[0]}")/../debian/control"
}

# test_packages GROUP: the tests' own packages, beyond the window's build
# and run set, one a line: GROUP's, or every group's for all.
test_packages() {
    awk -v group="$1" '
        { sub(/#.*/, "") }
        /^[a-z]+:/ && (group == "all" || $1 == group ":") { for (i = 2; i <= NF; i++) print $i }
    ' "$(dirname "${BASH_SOURCE[0]}")/test-packages.txt"
}

# apt_get ARGS...: apt-get as root and without questions; of its talk only
# what it fetches and installs, all of it when it fails.
apt_get() {
    local log status=0
    log=$(mktemp)
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@" >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then cat "$log" >&2; fi
    grep -E '^(Need to get|After this operation|[0-9]+ upgraded)' "$log" || true
    rm -f "$log"
    return "$status"
}

# emscripten 3.1.6's JavaScript tools want Debian's node modules (acorn).
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Debian's own python3, whose packages (python3-clang) the tools use; another
# python3 earlier on PATH would not have them.
export TOLVEX_PYTHON3=/usr/bin/python3
