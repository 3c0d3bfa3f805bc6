"""Building and running mutants: each worker has a copy of the tree and a build
folder of the `mutants` preset; which tests run for a file comes from the
tests' CTest labels."""

import json
import os
import shutil
import subprocess

from . import x87
from .reading import ROOT, configure

TEST_TIMEOUT = 120
MEMORY_LIMIT = 2 << 30  # bytes of address space for a test
REFERENCE_CASES = "20000"
BULK = "bulk"  # the label of the large data-driven suites


def labelled_tests(build):
    """(name, command, labels) of every test CTest knows in a configured build;
    the command is the executable and its arguments (a long suite's tests are
    one executable each with its own filter)."""
    listing = subprocess.run(
        ["ctest", "--test-dir", build, "--show-only=json-v1"],
        check=True,
        stdout=subprocess.PIPE,
        text=True,
    )
    tests = []
    for test in json.loads(listing.stdout)["tests"]:
        labels = []
        for prop in test.get("properties", []):
            if prop["name"] == "LABELS":
                labels = prop["value"]
        tests.append((test["name"], test["command"], labels))
    return tests


def test_order(tests, folders):
    """For each mutated folder, the tests to run: the folder's own hand-written
    tests first, then the other folders' hand-written ones, the bulk
    conformance, locale and reference suites last, so that the report shows
    whether a fault is caught by a test written for it. A test without a
    folder's label (the runner's own, say) is not run."""
    order = {}
    core = [t for t in tests if set(t[2]) & set(folders)]
    hand = [t for t in core if BULK not in t[2]]
    bulk = [t for t in core if BULK in t[2]]
    for folder in folders:
        own = [t for t in hand if folder in t[2]]
        order[folder] = own + [t for t in hand if t not in own] + bulk
    return order


def target_of(command, build):
    """What to build before a test: its program, where the build makes it, or everything
    for a test run by another program (a Python script), which may use any of them."""
    program = os.path.abspath(x87.program_of(command, build))
    inside = program.startswith(os.path.join(os.path.abspath(build), ""))
    return os.path.basename(program) if inside else "all"


def skipped_in_copy(folder, names):
    """What a tree's copy leaves out: the build folders beside the sources
    (web/build/ holds sources), git's, the docs and Python's caches."""
    skipped = {".git", "docs", "__pycache__"}
    at_root = os.path.samefile(folder, ROOT)
    return [n for n in names if n in skipped or (at_root and n.startswith("build"))]


class Worker:
    """A copy of the tree with its own build folder."""

    def __init__(self, work, number, folders, on_x87=False):
        self.on_x87 = on_x87
        self.tree = os.path.join(work, f"tree{number}")
        self.build = os.path.join(work, f"build{number}")
        if os.path.exists(self.tree):
            shutil.rmtree(self.tree)
        # Fresh modification times: a build folder left by an earlier run holds
        # objects of its last mutant, which older times would let make keep.
        shutil.copytree(
            ROOT,
            self.tree,
            copy_function=shutil.copy,
            ignore=skipped_in_copy,
        )
        (x87.configure_i386 if on_x87 else configure)(self.build, self.tree)
        # The preset builds the core and its tests only; CTest names a test's
        # executable once it is built.
        built, log = self.make(["all"])
        if not built:
            raise SystemExit(f"the unmutated tree does not build:\n{log}")
        self.order = test_order(labelled_tests(self.build), folders)
        if on_x87:
            # Under the emulator a test that cannot run at all would kill
            # every mutant: the unmutated tree must pass each first.
            for name, command, _ in self.order[folders[0]]:
                if self.test(command) != "passed":
                    raise SystemExit(f"{name} fails on the unmutated tree under the emulator")

    def make(self, targets):
        result = subprocess.run(
            ["cmake", "--build", self.build, "--target", *targets, "-j", "1"],
            stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT,
            text=True,
        )
        return result.returncode == 0, result.stdout

    def test(self, command):
        """How the test ends: "passed", "failed" or "timeout"."""
        env = dict(os.environ, TOLVEX_REFERENCE_CASES=REFERENCE_CASES, LC_ALL="C")
        # A mutant that makes a loop endless may also fill the memory. The
        # emulator reserves the guest's whole address space at its start:
        # there the timeout alone stops such a test.
        limit = [] if self.on_x87 else ["prlimit", f"--as={MEMORY_LIMIT}"]
        try:
            result = subprocess.run(
                [*limit, *command],
                env=env,
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
                timeout=x87.TEST_TIMEOUT if self.on_x87 else TEST_TIMEOUT,
            )
        except subprocess.TimeoutExpired:
            return "timeout"
        return "passed" if result.returncode == 0 else "failed"

    def run(self, mutant):
        """("killed", test), ("survived", "") or ("invalid", "")."""
        source = os.path.join(self.tree, mutant.path)
        with open(os.path.join(ROOT, mutant.path), encoding="utf-8") as f:
            original = f.read()
        mutated = original[: mutant.start] + mutant.replacement + original[mutant.end :]
        try:
            with open(source, "w", encoding="utf-8") as f:
                f.write(mutated)
            # One test at a time: most mutants fall to the first, and need no
            # other test relinked.
            for name, command, _ in self.order[mutant.path.split("/")[0]]:
                built, _ = self.make([target_of(command, self.build)])
                if not built:
                    return "invalid", ""
                outcome = self.test(command)
                if outcome != "passed":
                    return "killed", name if outcome == "failed" else f"{name} (timeout)"
            return "survived", ""
        finally:
            with open(source, "w", encoding="utf-8") as f:
                f.write(original)
