#!/usr/bin/python3
"""Mutation testing of numtext/, calc/, form/, the page's binding (web/) and window/'s lookups.

Plants one small fault at a time (a mutant) in a copy of the tree, rebuilds only
what the tests need, runs those tests and reports which test caught it.
A mutant that no test catches "survived"; one that does not build is "invalid".
Mutants listed in tools/mutation/equivalent.txt cannot change behaviour and are
not run. The code is read with libclang (python3-clang) through the
compile_commands.json of the `mutants` preset, headers included; docs/MUTATION.md
describes the operators and the lists.

Usage: scripts/mutate.py [--work DIR] [--jobs N] [--sample K] [--list] [--only TEXT]
                         [--update-expected]
"""
import os
import sys

# The runner and its lists live in tools/mutation/; this is its command.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))

from mutation.cli import main  # noqa: E402

if __name__ == "__main__":
    sys.exit(main(__doc__.split("\n")[0]))
