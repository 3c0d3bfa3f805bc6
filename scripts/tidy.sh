#!/usr/bin/env bash
# Every language's checker over the tree, failing on any finding:
# clang-tidy over every source the native build compiles (the fuzzers and the
# WebAssembly glue are built by other compilers) and clang-format over all the
# C++; flake8 and black for the Python; shellcheck for the shell scripts;
# ESLint for the page's script, its tests and the page benchmark.
# Usage: scripts/tidy.sh [BUILD_DIR...]
#   configured native builds, by default build (the tests preset) and
#   build-bench (the bench preset, configured only); each file is checked with
#   the compile command of the first build that compiles it.
set -euo pipefail
cd "$(dirname "$0")/.."
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(build build-bench)

# The project's files that match the patterns: git's list in a checkout, the
# same read off the folder in a copy without one (from git archive, say).
project_files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -- "$@"
        return
    fi
    local pattern names=()
    for pattern in "$@"; do names+=(-o -path "./$pattern"); done
    find . -type d \( -path './build*' -o -name dist -o -name node_modules -o -name .git \
        -o -name __pycache__ -o -name 'obj-*' \) -prune -o -type f \( "${names[@]:1}" \) -print |
        sed 's|^\./||' | LC_ALL=C sort
}

out=$(mktemp)
checked=0
declare -A seen=()
for build in "${builds[@]}"; do
    files=()
    while read -r file; do
        if [ -z "${seen[$file]:-}" ] &&
            grep -q "\"file\": \"$PWD/$file\"" "$build/compile_commands.json"; then
            files+=("$file")
            seen[$file]=1
        fi
    done < <(project_files '*.cpp')
    [ ${#files[@]} -gt 0 ] || continue
    # Debian's run-clang-tidy runs clang-tidy over the build's compile
    # commands, a file a call on every core; its arguments pick the files.
    pattern=$(printf '%s|' "${files[@]//./\\.}")
    run-clang-tidy -quiet -p "$build" -j "$(nproc)" "^$PWD/(${pattern%|})\$" >>"$out" 2>/dev/null || true
    checked=$((checked + ${#files[@]}))
done
if grep -E 'warning:|error:' "$out"; then
    echo "clang-tidy found problems"
    exit 1
fi
rm -f "$out"
echo "clang-tidy: clean ($checked files)"
# clang-format names each place it would change; print them, so a failure
# says where (the releases' clang-format versions differ in a few choices).
if ! format_out=$(project_files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror 2>&1); then
    printf '%s\n' "$format_out"
    echo "clang-format would change the places above"
    exit 1
fi
echo "clang-format: clean"

# Settings in .flake8 and pyproject.toml.
mapfile -t python < <(project_files '*.py')
flake8 "${python[@]}"
black --check --quiet "${python[@]}" || { echo "black would reformat the files above"; exit 1; }
echo "flake8 and black: clean (${#python[@]} files)"

mapfile -t shell < <(project_files '*.sh' .ci/run)
shellcheck -x "${shell[@]}"
echo "shellcheck: clean (${#shell[@]} files)"

# ESLint over the page's script, its tests and the page benchmark, with the
# page tests' pinned packages.
(cd tests/web && npm ci --no-audit --no-fund >/dev/null && npm run --silent lint)
echo "eslint: clean"
