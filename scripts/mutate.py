#!/usr/bin/env python3
"""Mutation testing of the exact core: numtext/, calc/, form/ and the lookups in window/.

Plants one small fault at a time (a mutant) in a copy of the tree, rebuilds only
what the core tests need, runs those tests and reports which test caught it.
A mutant that no test catches "survived"; one that does not build is "invalid".
Mutants listed in scripts/mutants-equivalent.txt cannot change behaviour and are
not run.

The operators find their targets by syntax: the double operations are whatever
two-argument functions of numtext/ apply *, /, + or - to their arguments, the
power is the function of a double and a whole exponent, a failure is a call of
a function that throws, a text write is an append to a string (or a call of a
function that does nothing else). scripts/mutants-expected.txt holds how many
mutants each operator made in each file; a run (--list and --sample too) fails
when one makes fewer, so that a rename cannot silently drop mutants.

Usage: scripts/mutate.py [--work DIR] [--jobs N] [--sample K] [--list] [--only TEXT]
                         [--update-expected]
"""
import argparse
import concurrent.futures
import dataclasses
import glob
import itertools
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = ["numtext/*.cpp", "calc/*.cpp", "calc/coil_constants.h", "form/*.cpp", "window/*.cpp"]
# Operators not applied to a file, and why.
NOT_MUTATED = {
    # The window's layout is a table of twips, captions and tab indexes: a
    # coordinate one up is another layout, which only a binding's widgets show
    # (the Qt tests, outside this runner) or a test restating the table would
    # catch. Its lookups (focus order, names, captions) are mutated.
    ("window/window_description.cpp", "constant"),
}
# Read for the names of operations, failures and string fields, never mutated.
HEADERS = ["numtext/*.h", "calc/*.h", "form/*.h", "window/*.h"]
EQUIVALENT_LIST = os.path.join(ROOT, "scripts", "mutants-equivalent.txt")
EXPECTED_LIST = os.path.join(ROOT, "scripts", "mutants-expected.txt")

# Hand-written tests first, the area's own before the others; the bulk
# conformance, locale and reference suites last, so that the report shows
# whether a fault is caught by a test written for it.
OWN_TESTS = {
    "numtext": ["numtext_arithmetic_test", "numtext_text_test"],
    "calc": ["calc_coil_test"],
    "form": ["form_actions_test", "form_hostile_test", "form_failure_message_test"],
    "window": ["window_description_test"],
}
HAND_WRITTEN = [
    "numtext_arithmetic_test",
    "numtext_text_test",
    "calc_coil_test",
    "form_actions_test",
    "form_hostile_test",
    "form_failure_message_test",
    "window_description_test",
]
BULK = [
    "numtext_conformance_test",
    "form_conformance_test",
    "form_locale_test",
    "numtext_reference_test",
]
TEST_TIMEOUT = 120
REFERENCE_CASES = "20000"
# A chain longer than this is regrouped only where it mixes with division:
# the number of groupings grows faster than factorially.
MAX_CHAIN = 5


@dataclasses.dataclass
class Mutant:
    path: str  # relative to the root
    start: int
    end: int
    replacement: str
    operator: str
    line: int
    original: str
    before: tuple = ()  # the whole source lines it changes, blanks collapsed
    after: tuple = ()  # the same lines changed

    def describe(self):
        return (
            f"{self.path}:{self.line} [{self.operator}] {self.original!r} -> {self.replacement!r}"
        )


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
            out[i + 1 : j] = " " * (j - i - 1)
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
    """(start, end) of each top-level argument between the brackets, stripped."""
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
    stripped = []
    for s, e in spans:
        while s < e and mask[s].isspace():
            s += 1
        while e > s and mask[e - 1].isspace():
            e -= 1
        stripped.append((s, e))
    return stripped


@dataclasses.dataclass
class Call:
    name: str
    start: int
    end: int  # one past the closing parenthesis
    args: list  # [(start, end)] stripped


def calls(mask, names):
    if not names:
        return
    for m in re.finditer(r"(?<![\w.:>])(" + "|".join(sorted(names)) + r")\(", mask):
        open_index = m.end() - 1
        close_index = closing(mask, open_index)
        yield Call(
            m.group(1), m.start(), close_index + 1, split_arguments(mask, open_index, close_index)
        )


def line_of(text, index):
    return text.count("\n", 0, index) + 1


KEYWORDS = {"if", "for", "while", "switch", "return", "catch", "sizeof", "static_cast"}


@dataclasses.dataclass
class Definition:
    name: str
    params: list  # parameter texts
    returns: str
    body: str  # masked body text between the braces


def definitions(mask):
    """Function definitions: a name, its parameter list and a braced body."""
    pattern = r"([\w:<>\[\] ]*?)\b(\w+)\(([^()]*)\)\s*(?:const\s*)?(?:noexcept\s*)?\{"
    for m in re.finditer(pattern, mask):
        if m.group(2) in KEYWORDS:
            continue
        open_index = m.end() - 1
        body = mask[open_index + 1 : closing(mask, open_index)]
        params = [p.strip() for p in m.group(3).split(",") if p.strip()]
        yield Definition(m.group(2), params, m.group(1).strip(), body)


# ---- what the code calls its operations -------------------------------------


@dataclasses.dataclass
class Names:
    binary: dict  # function name -> "*", "/", "+" or "-"
    power: set  # functions of a double and a whole exponent
    failures: set  # functions that throw
    checks: set  # double f(double r) that fail or give r back
    writers: set  # functions whose whole body writes text
    strings: set  # names declared std::string


WRITES = r"(\+=|\.append\(|\.push_back\(|\.insert\(|\.assign\(|\.pop_back\(|\.erase\()"


def discover():
    texts, headers = {}, []
    for pattern in HEADERS:
        for full in sorted(glob.glob(os.path.join(ROOT, pattern))):
            with open(full, encoding="utf-8") as f:
                headers.append(code_mask(f.read()))
    for pattern in SOURCES + HEADERS:
        for full in sorted(glob.glob(os.path.join(ROOT, pattern))):
            with open(full, encoding="utf-8") as f:
                texts[os.path.relpath(full, ROOT)] = code_mask(f.read())
    names = Names({}, set(), set(), set(), set(), set())
    defs = [d for mask in texts.values() for d in definitions(mask)]
    for mask in headers:
        # The power the code calls: declared for its users, not a helper.
        for m in re.finditer(r"\bdouble (\w+)\(double \w+, (?:int|long) \w+\);", mask):
            names.power.add(m.group(1))
    for mask in texts.values():
        names.strings.update(re.findall(r"\bstd::string (\w+)", mask))
        names.failures.update(re.findall(r"\[\[noreturn\]\] void (\w+)\(", mask))
    for d in defs:
        if (
            d.returns.endswith("double")
            and len(d.params) == 2
            and all(p.startswith("double ") for p in d.params)
        ):
            a, b = (p.split()[-1] for p in d.params)
            op = re.search(rf"\b{a} ([-*/+]) {b}\b", d.body)
            if op:
                names.binary[d.name] = op.group(1)
        if re.search(r"\bthrow\b", d.body):
            names.failures.add(d.name)
    for d in defs:
        body = " ".join(d.body.split())
        if d.returns.endswith("double") and len(d.params) == 1:
            r = d.params[0].split()[-1]
            failing = "|".join(sorted(names.failures)) or "$^"
            if re.fullmatch(rf"if \(.*\) ({failing})\(.*\); return {r};", body):
                names.checks.add(d.name)
        if d.returns.endswith("void") and re.fullmatch(r"[\w.]+ ?" + WRITES + r".*;", body):
            names.writers.add(d.name)
    return names


# ---- double operations as trees ---------------------------------------------


@dataclasses.dataclass
class Node:
    text: str  # as written where it is used (a step's name for a named step)
    op: str = ""  # "*", "/", "+", "-", or "" for an operand
    args: list = dataclasses.field(default_factory=list)
    name: str = ""  # the function written for op
    square: bool = False  # a power with exponent 2, the base twice
    start: int = -1  # where the expression is written (a named step: its definition)
    call: tuple = ()  # (name, argument nodes) of a call read through its definition
    inlined: bool = False  # from another function's body: written out by render()


FAMILY = {"*": ("*", "/"), "/": ("*", "/"), "+": ("+", "-"), "-": ("+", "-")}


def function_bounds(mask, index):
    """Start of the function body around index: the last line that closes a
    function (a "}" at the start of a line) before it."""
    return mask.rfind("\n}", 0, index) + 1


def parse(text, mask, s, e, names, depth=0):
    """The expression text[s:e] as a tree; a step named earlier in the same
    function (const double x = ...;) is read through its definition."""
    written = text[s:e]
    m = re.fullmatch(r"(\w+)\(", mask[s:e][: mask[s:e].find("(") + 1] or "-")
    if m and depth < 20 and closing(mask, s + m.end() - 1) == e - 1:
        name = m.group(1)
        args = split_arguments(mask, s + m.end() - 1, e - 1)
        if name in names.binary and len(args) == 2:
            return Node(
                written,
                names.binary[name],
                [parse(text, mask, a, b, names, depth + 1) for a, b in args],
                name,
                start=s,
            )
        if name in names.power and len(args) == 2 and text[slice(*args[1])].strip() == "2":
            base = parse(text, mask, *args[0], names, depth + 1)
            return Node(written, "*", [base, base], name, square=True, start=s)
        inlined = inline_call(text, mask, name, args, names, depth)
        if inlined is not None:
            tree, given = inlined
            return dataclasses.replace(tree, text=written, start=s, call=(name, given))
    if re.fullmatch(r"\w+", written) and depth < 20:
        floor = function_bounds(mask, s)
        found = None
        for d in re.finditer(rf"\bconst double {written} =\s*", mask[floor:s]):
            found = d
        if found:
            start = floor + found.end()
            end = mask.index(";", start)
            inner = parse(text, mask, start, end, names, depth + 1)
            return dataclasses.replace(inner, text=written)
    return Node(written, start=s)


_SOURCE_TEXTS = []


def source_texts():
    """(text, mask) of every mutated file, read once."""
    if not _SOURCE_TEXTS:
        for pattern in SOURCES:
            for full in sorted(glob.glob(os.path.join(ROOT, pattern))):
                with open(full, encoding="utf-8") as f:
                    text = f.read()
                _SOURCE_TEXTS.append((text, code_mask(text)))
    return _SOURCE_TEXTS


def render(node):
    """A node of another function's body written in the caller's terms: as the
    call it was written as, or as calls of its operations."""
    if node.call:
        return f"{node.call[0]}({', '.join(render(a) for a in node.call[1])})"
    if not node.inlined:
        return node.text
    if node.square:
        return f"{node.name}({render(node.args[0])}, 2)"
    return f"{node.name}({render(node.args[0])}, {render(node.args[1])})"


def inline_call(text, mask, name, args, names, depth):
    """A call of a function of doubles (in this file or another of the core)
    that only names steps and returns an expression of them: the tree of that
    expression with the call's arguments for its parameters, and the arguments'
    trees. A formula moved into a shared function keeps the groupings it had
    where it was written out."""
    if depth >= 20:
        return None
    caller_text, caller_mask = text, mask
    pattern = rf"\bdouble {name}\(((?:double \w+(?:, )?)+)\)\s*\{{"
    m = re.search(pattern, mask)
    if not m:
        # Defined in another file of the core (the arguments stay this file's).
        for other_text, other_mask in source_texts():
            m = re.search(pattern, other_mask)
            if m:
                text, mask = other_text, other_mask
                break
        else:
            return None
    params = [p.split()[-1] for p in m.group(1).split(",")]
    if len(params) != len(args):
        return None
    open_index = m.end() - 1
    close_index = closing(mask, open_index)
    body = mask[open_index + 1 : close_index]
    if not re.fullmatch(r"\s*(const double \w+ =[^;{}]*;\s*)*return [^;{}]*;\s*", body):
        return None
    start = open_index + 1 + body.rindex("return ") + len("return ")
    end = mask.index(";", start)
    tree = parse(text, mask, start, end, names, depth + 1)
    if not tree.op:
        return None
    given = [parse(caller_text, caller_mask, a, b, names, depth + 1) for a, b in args]
    by_param = dict(zip(params, given))
    multiply = next(op for op, sign in names.binary.items() if sign == "*")

    def substitute(n):
        if not n.op:
            return by_param.get(n.text, n)
        call = (n.call[0], [substitute(a) for a in n.call[1]]) if n.call else ()
        inner = dataclasses.replace(
            n, args=[substitute(a) for a in n.args], start=-2, call=call, inlined=True
        )
        if n.square:
            # Written as the one multiplication the power squares with: the
            # caller need not see the power's declaration.
            inner = dataclasses.replace(inner, square=False, name=multiply)
        return dataclasses.replace(inner, text=render(inner))

    return substitute(tree), given


def operands(node, family, signed):
    """The operands of a chain of one family, each with +1 or -1 (divided)."""
    out = []

    def walk(n, sign):
        if n.op == family[0]:
            for a in n.args:
                walk(a, sign)
        elif signed and n.op == family[1]:
            walk(n.args[0], sign)
            walk(n.args[1], -sign)
        else:
            out.append((n, sign))

    walk(node, 1)
    return out


def canonical(node, family):
    """Written form up to the order of a commutative operation's arguments."""
    if not node.op or node.op not in family:
        return node.text
    a, b = (canonical(x, family) for x in node.args)
    if node.op == family[0]:
        a, b = sorted([a, b])
    return f"{node.op}({a},{b})"


def groupings(leaves, family, op_names):
    """Every way to compute the signed leaves with the family's two operations,
    up to the order of a commutative operation's arguments: {canonical: text}."""
    cache = {}

    def build(items):
        # items: tuple of (index, sign); gives {(canonical, orientation): text}
        if items in cache:
            return cache[items]
        if len(items) == 1:
            i, sign = items[0]
            n = leaves[i][0]
            result = {(n.text if not n.op else canonical(n, family), sign): n.text}
        else:
            result = {}
            seen = set()
            first = items[0]
            rest = items[1:]
            # Each split once: the part with the first item, and the others.
            for r in range(0, len(rest)):
                for chosen in itertools.combinations(range(len(rest)), r):
                    a = (first,) + tuple(rest[k] for k in chosen)
                    b = tuple(rest[k] for k in range(len(rest)) if k not in chosen)
                    key = (tuple(sorted(a)), tuple(sorted(b)))
                    if key in seen:
                        continue
                    seen.add(key)
                    for (ca, oa), ta in build(a).items():
                        for (cb, ob), tb in build(b).items():
                            combine(result, ca, oa, ta, cb, ob, tb)
        cache[items] = result
        return result

    def combine(result, ca, oa, ta, cb, ob, tb):
        assoc, inverse = family
        if oa == ob:
            (c1, t1), (c2, t2) = sorted([(ca, ta), (cb, tb)])
            result.setdefault((f"{assoc}({c1},{c2})", oa), f"{op_names[assoc]}({t1}, {t2})")
            return
        if inverse not in op_names:
            return
        if oa < 0:
            ca, oa, ta, cb, ob, tb = cb, ob, tb, ca, oa, ta
        # a is taken as it is, b inverted: a / b gives the product, b / a its inverse.
        result.setdefault((f"{inverse}({ca},{cb})", 1), f"{op_names[inverse]}({ta}, {tb})")
        result.setdefault((f"{inverse}({cb},{ca})", -1), f"{op_names[inverse]}({tb}, {ta})")

    items = tuple((i, sign) for i, (_, sign) in enumerate(leaves))
    # Equal operands are interchangeable: sort them so that the cache sees them once.
    return {c: t for (c, o), t in build(items).items() if o == 1}


def regroupings(path, text, mask, names):
    op_names = {}
    for name, op in names.binary.items():
        op_names.setdefault(op, name)
    found = list(calls(mask, names.binary.keys()))
    trees = {c.start: parse(text, mask, c.start, c.end, names) for c in found}
    # A chain is regrouped from its top: the operation that no operation of the
    # same kind takes as an argument (a named step counts where it is used).
    members = set()
    for tree in trees.values():
        stack = [tree]
        while stack:
            n = stack.pop()
            for a in n.args:
                if n.op and a.op == n.op and FAMILY[n.op][0] == n.op:
                    members.add(a.start)
                stack.append(a)
    for call in found:
        tree = trees[call.start]
        family = FAMILY[tree.op]
        original = text[call.start : call.end]
        made = {}
        # Every grouping of a chain of one operation ...
        if tree.op == family[0] and call.start not in members:
            leaves = operands(tree, family, signed=False)
            if 3 <= len(leaves) <= MAX_CHAIN:
                made.update(groupings(leaves, family, op_names))
        # ... and, where it meets the inverse operation, of the operation with
        # the operations directly under it.
        mixed = tree.op == family[1] or any(a.op == family[1] for a in tree.args)
        if mixed:
            leaves = []
            for a in tree.args:
                sign = -1 if tree.op == family[1] and a is tree.args[1] else 1
                if a.op in family:
                    for inner, s in [(a.args[0], 1), (a.args[1], -1 if a.op == family[1] else 1)]:
                        leaves.append((inner, s * sign))
                else:
                    leaves.append((a, sign))
            if len(leaves) >= 3:
                made.update(groupings(leaves, family, op_names))
        made.pop(canonical(tree, family), None)
        for replacement in sorted(made.values()):
            yield Mutant(
                path,
                call.start,
                call.end,
                replacement,
                "regroup",
                line_of(text, call.start),
                original,
            )


def powers(path, text, mask, names):
    """Squares and cubes as products, and products of equal operands as powers."""
    power = sorted(names.power)[0] if names.power else None
    for call in calls(mask, names.power):
        if len(call.args) != 2:
            continue
        base, exponent = (text[s:e] for s, e in call.args)
        mul = next((n for n, op in names.binary.items() if op == "*"), None)
        if mul is None:
            continue
        if exponent == "2":
            mutated = f"{mul}({base}, {base})"
        elif exponent == "3":
            mutated = f"{mul}({mul}({base}, {base}), {base})"
        else:
            continue
        yield Mutant(
            path,
            call.start,
            call.end,
            mutated,
            "power",
            line_of(text, call.start),
            text[call.start : call.end],
        )
    if power is None:
        return
    # Not inside the power itself, where it would call itself for ever.
    own = [
        (m.end(), closing(mask, m.end() - 1))
        for m in re.finditer(rf"\bdouble {power}\([^()]*\)\s*\{{", mask)
    ]
    for call in calls(mask, [n for n, op in names.binary.items() if op == "*"]):
        if any(s <= call.start < e for s, e in own):
            continue
        a, b = (" ".join(text[s:e].split()) for s, e in call.args)
        if a == b:
            mutated = f"{power}({a}, 2)"
        else:
            inner = re.fullmatch(rf"{call.name}\((.*), (.*)\)", a)
            if not (inner and inner.group(1) == inner.group(2) == b):
                continue
            mutated = f"{power}({b}, 3)"
        yield Mutant(
            path,
            call.start,
            call.end,
            mutated,
            "power",
            line_of(text, call.start),
            text[call.start : call.end],
        )


# ---- the other operators ----------------------------------------------------


def constants(path, text, mask, names):
    """A decimal constant changed in its last digit; a whole number by one up and down."""
    pattern = r"(?<![\w.])(0[xX][0-9A-Fa-f]+|\d+(?:\.\d*)?)([eE][+-]?\d+)?([uUlL]*)(?![\w.])"
    for m in re.finditer(pattern, mask):
        mantissa = m.group(1)
        line = line_of(text, m.start())
        if mantissa.endswith("."):
            continue
        if "." in mantissa or m.group(2):
            last = mantissa[-1]
            digit = "8" if last == "9" else str(int(last) + 1)
            yield Mutant(
                path, m.start(1), m.end(1), mantissa[:-1] + digit, "constant", line, mantissa
            )
            continue
        hexadecimal = mantissa.lower().startswith("0x")
        value = int(mantissa, 16 if hexadecimal else 10)
        for changed in (value + 1, value - 1):
            if changed < 0:
                continue
            written = f"0x{changed:X}" if hexadecimal else str(changed)
            yield Mutant(path, m.start(1), m.end(1), written, "constant", line, mantissa)


COMPARISON_SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!="}


def comparisons(path, text, mask, names):
    for m in re.finditer(r"(?<= )(<=|>=|==|<|>)(?= )", mask):
        op = m.group(1)
        yield Mutant(
            path,
            m.start(),
            m.end(),
            COMPARISON_SWAP[op],
            "comparison",
            line_of(text, m.start()),
            op,
        )


def failure_checks(path, text, mask, names):
    failing = "|".join(sorted(names.failures))
    if failing:
        for m in re.finditer(r"\bif \(", mask):
            header_end = closing(mask, m.end() - 1) + 1
            if not re.match(rf"\s*({failing})\(", mask[header_end:]):
                continue
            end = mask.index(";", header_end) + 1
            yield Mutant(
                path,
                m.start(),
                end,
                "{}",
                "drop failure check",
                line_of(text, m.start()),
                text[m.start() : end],
            )
    for call in calls(mask, names.checks):
        if re.search(r"\bdouble $", mask[: call.start]):
            continue  # the definition
        inner = text[slice(*call.args[0])]
        yield Mutant(
            path,
            call.start,
            call.end,
            f"({inner})",
            "drop failure check",
            line_of(text, call.start),
            text[call.start : call.end],
        )


MPFR_MODES = ["MPFR_RNDN", "MPFR_RNDZ", "MPFR_RNDU", "MPFR_RNDD", "MPFR_RNDA"]
ROUNDING_FUNCTIONS = ["std::floor", "std::ceil", "std::trunc", "std::round"]


def roundings(path, text, mask, names):
    # Half away from zero on a decimal digit -> half to even.
    for m in re.finditer(r"(\w+)\[([^\]\n]+)\] >= '5'", text):
        if mask[m.start()] != text[m.start()]:
            continue  # in a comment
        d, k = m.group(1), m.group(2)
        even = (
            f"({d}[{k}] > '5' || ({d}[{k}] == '5' && "
            f"({d}.find_first_not_of('0', {k} + 1) != std::string::npos || "
            f"({k} > 0 && ({d}[{k} - 1] - '0') % 2 == 1))))"
        )
        yield Mutant(
            path, m.start(), m.end(), even, "rounding", line_of(text, m.start()), m.group(0)
        )
    # Half to even on the exact value -> half away from zero.
    for m in re.finditer(r"\((\w+) == 0\.5 && std::fmod\((\w+), 2\.0\) != 0\.0\)", mask):
        yield Mutant(
            path,
            m.start(),
            m.end(),
            f"({m.group(1)} == 0.5 && {m.group(2)} >= 0.0)",
            "rounding",
            line_of(text, m.start()),
            m.group(0),
        )
    # Every other rounding mode of MPFR, every other rounding to a whole number.
    for choices in (MPFR_MODES, ROUNDING_FUNCTIONS):
        for m in re.finditer(r"(?<![\w:])(" + "|".join(choices) + r")\b", mask):
            for other in choices:
                if other != m.group(1):
                    yield Mutant(
                        path,
                        m.start(),
                        m.end(),
                        other,
                        "rounding mode",
                        line_of(text, m.start()),
                        m.group(1),
                    )


def index_shifts(path, text, mask, names):
    for m in re.finditer(r"(?<=\w)\[(?=[^\]])", mask):
        line_start = mask.rfind("\n", 0, m.start()) + 1
        if re.match(r"\s*(const\s+)?[\w:<>]+\s+\w+$", mask[line_start : m.start()]):
            continue  # an array declaration, not an index
        close_index = closing(mask, m.start())
        inner = text[m.start() + 1 : close_index]
        for delta in ("+ 1", "- 1"):
            yield Mutant(
                path,
                m.start() + 1,
                close_index,
                f"{inner} {delta}",
                "index",
                line_of(text, m.start()),
                inner,
            )


def text_writes(path, text, mask, names):
    seen = set()
    writes = WRITES[:-1] + "".join(rf"|\b{w}\(" for w in sorted(names.writers)) + ")"
    candidates = [m.start() for m in re.finditer(writes, mask)]
    candidates += [
        m.start() for m in re.finditer(r"\b(\w+) = ", mask) if m.group(1) in names.strings
    ]
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
        if (
            start > index
            or start in seen
            or "{" in statement
            or re.match(r"(return|const|auto|std::|[A-Z]\w* \w+ =|\w+ \w+ =)", statement)
        ):
            continue  # not a statement of its own, a declaration or a definition
        seen.add(start)
        yield Mutant(
            path, start, end, "{}", "delete text write", line_of(text, start), text[start:end]
        )


OPERATORS = [
    constants,
    comparisons,
    regroupings,
    powers,
    failure_checks,
    roundings,
    index_shifts,
    text_writes,
]
OPERATOR_NAMES = [
    "constant",
    "comparison",
    "regroup",
    "power",
    "drop failure check",
    "rounding",
    "rounding mode",
    "index",
    "delete text write",
]


def changed_lines(text, mutant):
    line_start = text.rfind("\n", 0, mutant.start) + 1
    line_end = text.find("\n", mutant.end)
    line_end = len(text) if line_end < 0 else line_end
    before = text[line_start:line_end]
    after = text[line_start : mutant.start] + mutant.replacement + text[mutant.end : line_end]
    return (
        tuple(" ".join(s.split()) for s in before.split("\n")),
        tuple(" ".join(s.split()) for s in after.split("\n")),
    )


def generate():
    names = discover()
    mutants = []
    for pattern in SOURCES:
        for full in sorted(glob.glob(os.path.join(ROOT, pattern))):
            path = os.path.relpath(full, ROOT)
            with open(full, encoding="utf-8") as f:
                text = f.read()
            mask = code_mask(text)
            done = set()
            for operator in OPERATORS:
                for mutant in operator(path, text, mask, names):
                    if (path, mutant.operator) in NOT_MUTATED:
                        continue
                    where = (mutant.start, mutant.end, mutant.replacement)
                    if where in done or text[mutant.start : mutant.end] == mutant.replacement:
                        continue
                    done.add(where)
                    mutant.before, mutant.after = changed_lines(text, mutant)
                    mutants.append(mutant)
    return mutants


# ---- the committed lists ----------------------------------------------------


@dataclasses.dataclass
class Equivalent:
    path: str
    before: tuple
    after: tuple
    reason: str
    line: int  # in the list, for messages

    def matches(self, mutant):
        return (mutant.path, mutant.before, mutant.after) == (self.path, self.before, self.after)


def read_equivalents():
    """Entries of a file line, the changed source lines as "- " and "+ " lines
    and a "why: " line, separated by blank lines."""
    listed, entry = [], None
    if not os.path.exists(EQUIVALENT_LIST):
        return listed
    with open(EQUIVALENT_LIST, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if line.startswith("file: "):
                entry = Equivalent(line[6:].strip(), (), (), "", number)
                listed.append(entry)
            elif entry is None and line.strip():
                raise SystemExit(f"{EQUIVALENT_LIST}:{number}: an entry starts with 'file: '")
            elif line.startswith("- "):
                entry.before += (" ".join(line[2:].split()),)
            elif line.startswith("+ "):
                entry.after += (" ".join(line[2:].split()),)
            elif line.startswith("why: ") or (line.startswith("  ") and entry.reason):
                entry.reason = (entry.reason + " " + line.strip().removeprefix("why: ")).strip()
            elif line.strip():
                raise SystemExit(f"{EQUIVALENT_LIST}:{number}: expected '- ', '+ ' or 'why: '")
    for e in listed:
        if not (e.before and e.after and e.reason):
            raise SystemExit(f"{EQUIVALENT_LIST}:{e.line}: an entry needs -, + and why lines")
    return listed


def equivalent_entry(mutant, reason):
    return "\n".join(
        [f"file: {mutant.path}"]
        + [f"- {s}" for s in mutant.before]
        + [f"+ {s}" for s in mutant.after]
        + [f"why: {reason}"]
    )


def counts_by_place(mutants):
    counts = {}
    for m in mutants:
        counts[(m.operator, m.path)] = counts.get((m.operator, m.path), 0) + 1
    return counts


def read_expected():
    expected = {}
    with open(EXPECTED_LIST, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                operator, path, count = line.rsplit(None, 2)
                expected[(operator.strip(), path)] = int(count)
    return expected


def write_expected(mutants):
    with open(EXPECTED_LIST, "w", encoding="utf-8") as f:
        f.write(
            "# How many mutants each operator makes in each file, written by\n"
            "# scripts/mutate.py --update-expected. Every run fails when an operator\n"
            "# makes fewer: a renamed function or a changed spelling must not drop\n"
            "# mutants unnoticed. Update it (and say why in the commit) when the code\n"
            "# really has fewer places to mutate.\n"
        )
        for (operator, path), count in sorted(counts_by_place(mutants).items()):
            f.write(f"{operator:<20} {path:<32} {count}\n")


def check_lists(mutants, equivalents):
    """Problems that fail every run: operators that lost their targets, listed
    equivalents that match nothing."""
    problems = []
    counts = counts_by_place(mutants)
    for (operator, path), minimum in sorted(read_expected().items()):
        found = counts.get((operator, path), 0)
        if found < minimum:
            problems.append(
                f"operator '{operator}' makes {found} mutants in {path}, "
                f"{minimum} expected (scripts/mutants-expected.txt)"
            )
    for operator in OPERATOR_NAMES:
        if not any(op == operator for op, _ in counts):
            problems.append(f"operator '{operator}' finds nothing")
    for e in equivalents:
        if not any(e.matches(m) for m in mutants):
            problems.append(
                f"stale equivalent at scripts/mutants-equivalent.txt:{e.line} "
                f"({e.path}): no generated mutant changes those lines so"
            )
    return problems


# ---- building and running ---------------------------------------------------


class Worker:
    """A copy of the tree with its own build folder."""

    def __init__(self, work, number):
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
            ignore=shutil.ignore_patterns(".git", "build*", "docs"),
        )
        subprocess.run(
            ["cmake", "-S", self.tree, "--preset", "mutants", "-B", self.build],
            check=True,
            stdout=subprocess.DEVNULL,
            cwd=self.tree,
        )
        built, log = self.make(HAND_WRITTEN + BULK)
        if not built:
            raise SystemExit(f"the unmutated tree does not build:\n{log}")

    def make(self, targets):
        result = subprocess.run(
            ["cmake", "--build", self.build, "--target", *targets, "-j", "1"],
            stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT,
            text=True,
        )
        return result.returncode == 0, result.stdout

    def run(self, mutant):
        source = os.path.join(self.tree, mutant.path)
        with open(os.path.join(ROOT, mutant.path), encoding="utf-8") as f:
            original = f.read()
        mutated = original[: mutant.start] + mutant.replacement + original[mutant.end :]
        tests = tests_for(mutant.path)
        try:
            with open(source, "w", encoding="utf-8") as f:
                f.write(mutated)
            env = dict(os.environ, TOLVEX_REFERENCE_CASES=REFERENCE_CASES, LC_ALL="C")
            # One test at a time: most mutants fall to the first, and need no
            # other test relinked.
            for test in tests:
                built, _ = self.make([test])
                if not built:
                    return "invalid", ""
                try:
                    result = subprocess.run(
                        [os.path.join(self.build, "tests", test)],
                        env=env,
                        stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL,
                        timeout=TEST_TIMEOUT,
                    )
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
    parser.add_argument(
        "--sample", type=int, default=1, help="run every K-th mutant only (a fixed sample)"
    )
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument(
        "--only",
        default="",
        help="comma-separated texts: run the mutants whose description has one",
    )
    parser.add_argument(
        "--update-expected",
        action="store_true",
        help="write today's counts to scripts/mutants-expected.txt",
    )
    options = parser.parse_args()

    mutants = generate()
    if options.update_expected:
        write_expected(mutants)
    equivalents = read_equivalents()
    problems = check_lists(mutants, equivalents)

    def listed(mutant):
        return next((e for e in equivalents if e.matches(mutant)), None)

    if options.list:
        for mutant in mutants:
            print(mutant.describe() + ("  (equivalent)" if listed(mutant) else ""))
        for problem in problems:
            print(f"error: {problem}")
        return 1 if problems else 0
    if problems:
        for problem in problems:
            print(f"error: {problem}")
        return 1
    chosen = [m for i, m in enumerate(mutants) if i % options.sample == 0]
    if options.only:
        wanted = options.only.split(",")
        chosen = [m for m in chosen if any(w in m.describe() for w in wanted)]
    to_run = [m for m in chosen if not listed(m)]
    started = time.time()
    os.makedirs(options.work, exist_ok=True)
    jobs = max(1, min(options.jobs, len(to_run)))
    print(
        f"{len(mutants)} mutants, {len(chosen)} chosen, {len(chosen) - len(to_run)} listed "
        f"as equivalent; running {len(to_run)} with {jobs} workers",
        flush=True,
    )

    results = {}
    if to_run:
        workers = [Worker(options.work, n) for n in range(jobs)]
        # Each worker takes the mutants of whole files, so that it rebuilds little.
        by_worker = [[] for _ in workers]
        for i, mutant in enumerate(sorted(to_run, key=lambda m: (m.path, m.start))):
            by_worker[(i * jobs) // len(to_run)].append(mutant)

        def work(index):
            for mutant in by_worker[index]:
                results[id(mutant)] = workers[index].run(mutant)
                status, _ = results[id(mutant)]
                if status != "killed":
                    print(f"  {status}: {mutant.describe()}", flush=True)

        with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
            list(pool.map(work, range(jobs)))

    report = os.path.join(options.work, "report.txt")
    counts = {"killed": 0, "survived": 0, "invalid": 0, "equivalent": 0}
    bulk_only = 0
    with open(report, "w", encoding="utf-8") as out:
        for mutant in chosen:
            entry = listed(mutant)
            if entry:
                status, killer = "equivalent", entry.reason
            else:
                status, killer = results[id(mutant)]
            counts[status] += 1
            if status == "killed" and killer.split()[0] in BULK:
                bulk_only += 1
            out.write(f"{mutant.describe()}\n    {status}{': ' + killer if killer else ''}\n")
    minutes = (time.time() - started) / 60
    print(
        f"generated {len(mutants)}, chosen {len(chosen)}: killed {counts['killed']} "
        f"({bulk_only} only by the bulk suites), equivalent {counts['equivalent']}, "
        f"invalid {counts['invalid']}, survived {counts['survived']}; {minutes:.1f} min"
    )
    print(f"report: {report}")
    return 1 if counts["survived"] else 0


if __name__ == "__main__":
    sys.exit(main())
