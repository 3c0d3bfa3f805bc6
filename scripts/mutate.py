#!/usr/bin/env python3
"""Mutation testing of the exact core: numtext/, calc/ and the actions in window/.

Plants one small fault at a time (a mutant) in a copy of the tree, rebuilds only
what the core tests need, runs those tests and reports which test caught it.
A mutant that no test catches "survived"; one that does not build is "invalid".
Mutants listed in scripts/mutants-equivalent.txt cannot change behaviour and are
not run.

Usage: scripts/mutate.py [--work DIR] [--jobs N] [--sample K] [--list] [--only TEXT]
"""
import argparse
import concurrent.futures
import dataclasses
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = ["numtext/*.cpp", "calc/*.cpp", "calc/coil_constants.h", "window/*.cpp"]
EQUIVALENT_LIST = os.path.join(ROOT, "scripts", "mutants-equivalent.txt")

# Hand-written tests first, the area's own before the others; the bulk
# conformance, locale and reference suites last, so that the report shows
# whether a fault is caught by a test written for it.
OWN_TESTS = {
    "numtext": ["numtext_arithmetic_test", "numtext_text_test"],
    "calc": ["calc_coil_test"],
    "window": ["window_actions_test", "window_hostile_test"],
}
HAND_WRITTEN = ["numtext_arithmetic_test", "numtext_text_test", "calc_coil_test",
                "window_actions_test", "window_hostile_test"]
BULK = ["numtext_conformance_test", "window_conformance_test", "window_locale_test",
        "numtext_reference_test"]
TEST_TIMEOUT = 120
REFERENCE_CASES = "20000"


@dataclasses.dataclass
class Mutant:
    path: str  # relative to the root
    start: int
    end: int
    replacement: str
    operator: str
    line: int
    original: str
    key: str = ""

    def describe(self):
        return f"{self.path}:{self.line} [{self.operator}] {self.original!r} -> {self.replacement!r}"


# ---- reading C++ just well enough -------------------------------------------

def code_mask(text):
    """The text with comments, string and character literals blanked (same
    length), so that patterns only match code; a blanked literal keeps its quotes."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out[i:j] = " " * (j - i)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2) + 2
            out[i:j] = " " * (j - i)
            i = j
        elif c in "\"'":
            j = i + 1
            while text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out[i + 1:j] = " " * (j - i - 1)
            i = j + 1
        elif c == "#" and (i == 0 or text[i - 1] == "\n"):
            j = text.find("\n", i)
            out[i:j] = " " * (j - i)
            i = j
        else:
            i += 1
    return "".join(out)


def closing(mask, open_index):
    """Index of the bracket that closes the one at open_index."""
    pairs = {"(": ")", "[": "]", "{": "}"}
    stack = []
    for i in range(open_index, len(mask)):
        c = mask[i]
        if c in pairs:
            stack.append(pairs[c])
        elif stack and c == stack[-1]:
            stack.pop()
            if not stack:
                return i
    raise ValueError("unbalanced brackets")


def split_arguments(mask, open_index, close_index):
    """(start, end) of each top-level argument between the brackets."""
    spans, depth, start = [], 0, open_index + 1
    for i in range(open_index + 1, close_index):
        c = mask[i]
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
        elif c == "," and depth == 0:
            spans.append((start, i))
            start = i + 1
    spans.append((start, close_index))
    return spans


@dataclasses.dataclass
class Call:
    name: str
    start: int
    end: int  # one past the closing parenthesis
    args: list  # [(start, end)] stripped


def calls(mask, names):
    for m in re.finditer(r"\b(" + "|".join(names) + r")\(", mask):
        open_index = m.end() - 1
        close_index = closing(mask, open_index)
        args = []
        for s, e in split_arguments(mask, open_index, close_index):
            while mask[s].isspace():
                s += 1
            while mask[e - 1].isspace():
                e -= 1
            args.append((s, e))
        yield Call(m.group(1), m.start(), close_index + 1, args)


def line_of(text, index):
    return text.count("\n", 0, index) + 1


# ---- the operators ----------------------------------------------------------

def constants(path, text, mask):
    pattern = r"(?<![\w.])(0[xX][0-9A-Fa-f]+|\d+(?:\.\d*)?)([eE][+-]?\d+)?([uUlL]*)(?![\w.])"
    for m in re.finditer(pattern, mask):
        mantissa = m.group(1)
        last = mantissa[-1]
        if last == ".":
            continue
        if mantissa.lower().startswith("0x"):
            digit = "0123456789ABCDEF"[(int(last, 16) + 1) % 16]
        else:
            digit = "8" if last == "9" else str(int(last) + 1)
        yield Mutant(path, m.start(1), m.end(1), mantissa[:-1] + digit, "constant",
                     line_of(text, m.start()), mantissa)


COMPARISON_SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!="}


def comparisons(path, text, mask):
    for m in re.finditer(r"(?<= )(<=|>=|==|<|>)(?= )", mask):
        op = m.group(1)
        yield Mutant(path, m.start(), m.end(), COMPARISON_SWAP[op], "comparison",
                     line_of(text, m.start()), op)


def regroup(outer, inner, a, b, c, inner_first):
    """The other grouping of outer(inner(a, b), c) or outer(c, inner(a, b))."""
    if inner_first:
        rules = {
            ("Mul", "Mul"): f"Mul({a}, Mul({b}, {c}))",
            ("Add", "Add"): f"Add({a}, Add({b}, {c}))",
            ("Div", "Div"): f"Div({a}, Mul({b}, {c}))",
            ("Div", "Mul"): f"Mul({a}, Div({b}, {c}))",
            ("Mul", "Div"): f"Div(Mul({a}, {c}), {b})",
        }
    else:
        rules = {
            ("Mul", "Mul"): f"Mul(Mul({c}, {a}), {b})",
            ("Add", "Add"): f"Add(Add({c}, {a}), {b})",
            ("Div", "Mul"): f"Div(Div({c}, {a}), {b})",
            ("Div", "Div"): f"Div(Mul({c}, {b}), {a})",
            ("Mul", "Div"): f"Div(Mul({c}, {a}), {b})",
        }
    return rules.get((outer, inner))


def regroupings(path, text, mask):
    ops = ["Mul", "Add", "Div"]
    found = list(calls(mask, ops))
    by_start = {call.start: call for call in found}
    # Steps named on their own line: const double x = Op(a, b);
    named = {}
    for m in re.finditer(r"const double (\w+) = (Mul|Add|Div)\(", mask):
        named.setdefault(m.group(1), []).append(by_start[m.end() - len(m.group(2)) - 1])

    def operands(call):
        return [text[s:e] for s, e in call.args]

    for call in found:
        if len(call.args) != 2:
            continue
        for position in (0, 1):
            s, e = call.args[position]
            inner = by_start.get(s)
            if inner is None or inner.end != e:
                # A step named earlier in the same function, used here.
                name = text[s:e]
                candidates = [d for d in named.get(name, []) if d.end < call.start]
                inner = candidates[-1] if candidates else None
            if inner is None or len(inner.args) != 2:
                continue
            a, b = operands(inner)
            c = text[slice(*call.args[1 - position])]
            mutated = regroup(call.name, inner.name, a, b, c, position == 0)
            if mutated:
                yield Mutant(path, call.start, call.end, mutated, "regroup",
                             line_of(text, call.start), text[call.start:call.end])


def powers(path, text, mask):
    for call in calls(mask, ["Power"]):
        if len(call.args) != 2:
            continue
        base, exponent = (text[s:e] for s, e in call.args)
        if exponent == "2":
            mutated = f"Mul({base}, {base})"
        elif exponent == "3":
            mutated = f"Mul(Mul({base}, {base}), {base})"
        else:
            continue
        yield Mutant(path, call.start, call.end, mutated, "power",
                     line_of(text, call.start), text[call.start:call.end])


def failure_checks(path, text, mask):
    for m in re.finditer(r"\bif \(", mask):
        header_end = closing(mask, m.end() - 1) + 1
        rest = mask[header_end:]
        body = re.match(r"\s*Fail\(", rest)
        if not body:
            continue
        end = mask.index(";", header_end) + 1
        yield Mutant(path, m.start(), end, "{}", "drop failure check",
                     line_of(text, m.start()), text[m.start():end])
    for call in calls(mask, ["Finite"]):
        if mask[call.start - 1] == " " and mask[call.start - 7:call.start] == "double ":
            continue  # the definition
        inner = text[slice(*call.args[0])]
        yield Mutant(path, call.start, call.end, f"({inner})", "drop failure check",
                     line_of(text, call.start), text[call.start:call.end])


def roundings(path, text, mask):
    # Half away from zero on a decimal digit -> half to even.
    for m in re.finditer(r"(\w+)\[(static_cast<std::size_t>\(\w+\))\] >= '5'", text):
        d, k = m.group(1), m.group(2)
        even = (f"({d}[{k}] > '5' || ({d}[{k}] == '5' && "
                f"({d}.find_first_not_of('0', {k} + 1) != std::string::npos || "
                f"({k} > 0 && ({d}[{k} - 1] - '0') % 2 == 1))))")
        yield Mutant(path, m.start(), m.end(), even, "rounding", line_of(text, m.start()),
                     m.group(0))
    # Half to even on the exact value -> half away from zero.
    for m in re.finditer(r"\(rest == 0\.5 && std::fmod\(whole, 2\.0\) != 0\.0\)", text):
        yield Mutant(path, m.start(), m.end(), "(rest == 0.5 && whole >= 0.0)", "rounding",
                     line_of(text, m.start()), m.group(0))


def index_shifts(path, text, mask):
    for m in re.finditer(r"(?<=\w)\[(?=[^\]])", mask):
        line_start = mask.rfind("\n", 0, m.start()) + 1
        if re.match(r"\s*(const\s+)?[\w:<>]+\s+\w+$", mask[line_start:m.start()]):
            continue  # an array declaration, not an index
        close_index = closing(mask, m.start())
        inner = text[m.start() + 1:close_index]
        for delta in ("+ 1", "- 1"):
            yield Mutant(path, m.start() + 1, close_index, f"{inner} {delta}", "index",
                         line_of(text, m.start()), inner)


WRITES = r"(\+=|\.append\(|\.push_back\(|\.insert\(|\.assign\(|\.pop_back\(|\.erase\(|\bAppendToResults\()"


def text_writes(path, text, mask):
    strings = set(re.findall(r"std::string (\w+)", mask)) | {"Results", "IndRes"}
    seen = set()
    candidates = [m.start() for m in re.finditer(WRITES, mask)]
    candidates += [m.start() for m in re.finditer(r"\b(\w+) = ", mask) if m.group(1) in strings]
    for index in sorted(candidates):
        # The statement starts its line, after any if/for/while header.
        start = mask.rfind("\n", 0, index) + 1
        while mask[start].isspace():
            start += 1
        control = re.match(r"(} else )?(if|for|while) \(", mask[start:])
        if control:
            start = closing(mask, start + control.end() - 1) + 1
            while mask[start].isspace():
                start += 1
        end = mask.index(";", index) + 1
        statement = mask[start:end]
        if start > index or start in seen or "{" in statement or \
                re.match(r"(return|const|auto|std::|[A-Z]\w* \w+ =|\w+ \w+ =)", statement):
            continue  # not a statement of its own, a declaration or a definition
        seen.add(start)
        yield Mutant(path, start, end, "{}", "delete text write", line_of(text, start),
                     text[start:end])


OPERATORS = [constants, comparisons, regroupings, powers, failure_checks, roundings,
             index_shifts, text_writes]


def generate():
    mutants = []
    for pattern in SOURCES:
        for full in sorted(glob.glob(os.path.join(ROOT, pattern))):
            path = os.path.relpath(full, ROOT)
            with open(full, encoding="utf-8") as f:
                text = f.read()
            mask = code_mask(text)
            for operator in OPERATORS:
                mutants.extend(operator(path, text, mask))
    counts = {}
    for mutant in mutants:
        with open(os.path.join(ROOT, mutant.path), encoding="utf-8") as f:
            text = f.read()
        line_start = text.rfind("\n", 0, mutant.start) + 1
        line_end = text.find("\n", mutant.end)
        context = " ".join(text[line_start:line_end].split())
        base = hashlib.sha1(
            f"{mutant.path}|{mutant.operator}|{context}|{mutant.original}|{mutant.replacement}"
            .encode()).hexdigest()[:10]
        counts[base] = counts.get(base, 0) + 1
        mutant.key = base if counts[base] == 1 else f"{base}-{counts[base]}"
    return mutants


def read_equivalents():
    listed = {}
    if os.path.exists(EQUIVALENT_LIST):
        with open(EQUIVALENT_LIST, encoding="utf-8") as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    key, _, reason = line.partition(" ")
                    listed[key] = reason.strip()
    return listed


# ---- building and running ---------------------------------------------------

class Worker:
    """A copy of the tree with its own build folder."""

    def __init__(self, work, number):
        self.tree = os.path.join(work, f"tree{number}")
        self.build = os.path.join(work, f"build{number}")
        if os.path.exists(self.tree):
            shutil.rmtree(self.tree)
        shutil.copytree(ROOT, self.tree,
                        ignore=shutil.ignore_patterns(".git", "build*", "docs"))
        subprocess.run(["cmake", "-S", self.tree, "-B", self.build, "-DCMAKE_BUILD_TYPE=Release",
                        "-DTOLVEX_GUI=OFF", "-DTOLVEX_BENCH=OFF"], check=True,
                       stdout=subprocess.DEVNULL)
        self.make(HAND_WRITTEN + BULK)

    def make(self, targets):
        result = subprocess.run(["cmake", "--build", self.build, "--target", *targets, "-j", "1"],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return result.returncode == 0, result.stdout

    def run(self, mutant):
        source = os.path.join(self.tree, mutant.path)
        with open(os.path.join(ROOT, mutant.path), encoding="utf-8") as f:
            original = f.read()
        mutated = original[:mutant.start] + mutant.replacement + original[mutant.end:]
        tests = tests_for(mutant.path)
        try:
            with open(source, "w", encoding="utf-8") as f:
                f.write(mutated)
            built, _ = self.make(tests)
            if not built:
                return "invalid", ""
            env = dict(os.environ, TOLVEX_REFERENCE_CASES=REFERENCE_CASES, LC_ALL="C")
            for test in tests:
                try:
                    result = subprocess.run([os.path.join(self.build, "tests", test)], env=env,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                            timeout=TEST_TIMEOUT)
                except subprocess.TimeoutExpired:
                    return "killed", f"{test} (timeout)"
                if result.returncode != 0:
                    return "killed", test
            return "survived", ""
        finally:
            with open(source, "w", encoding="utf-8") as f:
                f.write(original)


def tests_for(path):
    own = OWN_TESTS[path.split("/")[0]]
    return own + [t for t in HAND_WRITTEN if t not in own] + BULK


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--work", default=os.path.join(ROOT, "build-mutants"))
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--sample", type=int, default=1,
                        help="run every K-th mutant only (a fixed sample)")
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument("--only", default="",
                        help="comma-separated keys or texts: run the mutants that match one")
    options = parser.parse_args()

    mutants = generate()
    equivalents = read_equivalents()
    if options.list:
        for mutant in mutants:
            print(mutant.key, mutant.describe())
        return 0
    chosen = [m for i, m in enumerate(mutants) if i % options.sample == 0]
    if options.only:
        wanted = options.only.split(",")
        chosen = [m for m in chosen if any(w == m.key or w in m.describe() for w in wanted)]
    to_run = [m for m in chosen if m.key not in equivalents]
    started = time.time()
    os.makedirs(options.work, exist_ok=True)
    jobs = max(1, min(options.jobs, len(to_run)))
    print(f"{len(mutants)} mutants, {len(chosen)} chosen, {len(chosen) - len(to_run)} listed "
          f"as equivalent; running {len(to_run)} with {jobs} workers", flush=True)

    results = {}
    if to_run:
        workers = [Worker(options.work, n) for n in range(jobs)]
        # Each worker takes the mutants of whole files, so that it rebuilds little.
        by_worker = [[] for _ in workers]
        for i, mutant in enumerate(sorted(to_run, key=lambda m: (m.path, m.start))):
            by_worker[(i * jobs) // len(to_run)].append(mutant)

        def work(index):
            for mutant in by_worker[index]:
                results[mutant.key] = workers[index].run(mutant)
                status, killer = results[mutant.key]
                if status != "killed":
                    print(f"  {status}: {mutant.key} {mutant.describe()}", flush=True)

        with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
            list(pool.map(work, range(jobs)))

    report = os.path.join(options.work, "report.txt")
    counts = {"killed": 0, "survived": 0, "invalid": 0, "equivalent": 0}
    bulk_only = 0
    with open(report, "w", encoding="utf-8") as out:
        for mutant in chosen:
            if mutant.key in equivalents:
                status, killer = "equivalent", equivalents[mutant.key]
            else:
                status, killer = results[mutant.key]
            counts[status] += 1
            if status == "killed" and killer.split()[0] in BULK:
                bulk_only += 1
            out.write(f"{mutant.key} {mutant.describe()}\n    {status}"
                      f"{': ' + killer if killer else ''}\n")
    stale = sorted(set(equivalents) - {m.key for m in mutants})
    minutes = (time.time() - started) / 60
    print(f"generated {len(mutants)}, chosen {len(chosen)}: killed {counts['killed']} "
          f"({bulk_only} only by the bulk suites), equivalent {counts['equivalent']}, "
          f"invalid {counts['invalid']}, survived {counts['survived']}; {minutes:.1f} min")
    print(f"report: {report}")
    for key in stale:
        print(f"listed as equivalent but no longer generated: {key}")
    return 1 if counts["survived"] else 0


if __name__ == "__main__":
    sys.exit(main())
