#!/usr/bin/python3
"""Mutation testing of numtext/, calc/, form/, the page's binding (web/) and window/'s lookups.

Plants one small fault at a time (a mutant) in a copy of the tree, rebuilds only
what the tests need, runs those tests and reports which test caught it.
A mutant that no test catches "survived"; one that does not build is "invalid".
Mutants listed in scripts/mutants-equivalent.txt cannot change behaviour and are
not run. The code is read with libclang (python3-clang-14) through the
compile_commands.json of the `mutants` preset, headers included; docs/MUTATION.md
describes the operators and the lists.

Usage: scripts/mutate.py [--work DIR] [--jobs N] [--sample K] [--list] [--only TEXT]
                         [--update-expected]
"""
import sys

from mutation.cli import main

if __name__ == "__main__":
    sys.exit(main(__doc__.split("\n")[0]))
