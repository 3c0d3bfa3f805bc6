"""The code only an x87 build runs, and its judging: built for i386 with Debian's cross
compiler (as scripts/cross-check.sh builds it) and tested under qemu-i386. On amd64 these
mutants survive, since nothing there takes the branches they are in."""

import os
import re
import subprocess

from .reading import K, bare

# Where the compiler rounds each double operation once; false only on x87.
SWITCH = "kPlainDoubleOperationsRoundOnce"
NEGATED = re.compile(r"if\s+constexpr\s*\(\s*!\s*" + SWITCH + r"\s*\)")
# The i386 build: Debian's cross compiler and the target's multiarch libraries, the
# tests run by CTest under the emulator (cmake/CrossCompile.cmake).
I386 = [
    "-DCMAKE_TOOLCHAIN_FILE=cmake/CrossCompile.cmake",
    "-DTOLVEX_TRIPLET=i686-linux-gnu",
    "-DTOLVEX_MULTIARCH=i386-linux-gnu",
    "-DTOLVEX_QEMU=qemu-i386",
    "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g0 -DNDEBUG",
    "-DTOLVEX_GUI=OFF",
    "-DTOLVEX_WEB=OFF",
    "-DTOLVEX_BENCH=OFF",
]
# What the emulator's tests cost: each program takes 20-40 times as long.
TEST_TIMEOUT = 1200


def regions(source):
    """(start, end) of every piece of the source that only x87 runs: the body of an
    `if constexpr (!SWITCH)`, the operand that `SWITCH ? plain : x87` takes there, and
    SWITCH's own value."""
    for c in source.of_kind(K.IF_STMT):
        parts = list(c.get_children())
        if NEGATED.match(source.written(c)) and len(parts) == 2:
            yield source.span(parts[1])
    for c in source.of_kind(K.CONDITIONAL_OPERATOR):
        parts = list(c.get_children())
        if len(parts) == 3 and source.written(bare(parts[0])) == SWITCH:
            yield source.span(parts[2])
    # The switch's own value decides the path only on x87: elsewhere either path gives
    # the same correctly rounded doubles.
    for c in source.of_kind(K.VAR_DECL):
        parts = list(c.get_children())
        if c.spelling == SWITCH and parts:
            yield source.span(parts[-1])


def only_on_x87(program, mutants):
    """The mutants whose change lies wholly inside code that only x87 runs."""
    spans = {path: list(regions(source)) for path, source in program.sources.items()}
    return [
        m for m in mutants if any(s <= m.start and m.end <= e for s, e in spans.get(m.path, []))
    ]


def configure_i386(build, source):
    """Configures the i386 cross build of the core and its tests in the tree's copy."""
    subprocess.run(
        ["cmake", "-S", source, "-B", build, *I386],
        check=True,
        stdout=subprocess.DEVNULL,
        cwd=source,
    )


def program_of(command, build):
    """The test's program in a command CTest runs, past the emulator and its options."""
    inside = os.path.join(os.path.abspath(build), "")
    return next((w for w in command if os.path.abspath(w).startswith(inside)), command[0])
