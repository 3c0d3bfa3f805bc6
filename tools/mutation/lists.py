"""The committed lists: mutants that cannot change behaviour, and how many
mutants each operator is expected to make in each file."""

import dataclasses
import os

from .operators import OPERATOR_NAMES
from .reading import ROOT

EQUIVALENT_LIST = os.path.join(ROOT, "tools", "mutation", "equivalent.txt")
EXPECTED_LIST = os.path.join(ROOT, "tools", "mutation", "expected.txt")


@dataclasses.dataclass
class Equivalent:
    path: str
    before: tuple
    after: tuple
    reason: str
    line: int  # in the list, for messages

    def matches(self, mutant):
        return (mutant.path, mutant.before, mutant.after) == (self.path, self.before, self.after)


def read_equivalents(path=EQUIVALENT_LIST):
    """Entries of a file line, the changed source lines as "- " and "+ " lines
    and a "why: " line, separated by blank lines."""
    listed, entry = [], None
    if not os.path.exists(path):
        return listed
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if line.startswith("file: "):
                entry = Equivalent(line[6:].strip(), (), (), "", number)
                listed.append(entry)
            elif entry is None and line.strip():
                raise SystemExit(f"{path}:{number}: an entry starts with 'file: '")
            elif line.startswith("- "):
                entry.before += (" ".join(line[2:].split()),)
            elif line.startswith("+ "):
                entry.after += (" ".join(line[2:].split()),)
            elif line.startswith("why: ") or (line.startswith("  ") and entry.reason):
                entry.reason = (entry.reason + " " + line.strip().removeprefix("why: ")).strip()
            elif line.strip():
                raise SystemExit(f"{path}:{number}: expected '- ', '+ ' or 'why: '")
    for e in listed:
        if not (e.before and e.after and e.reason):
            raise SystemExit(f"{path}:{e.line}: an entry needs -, + and why lines")
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


def read_expected(path=EXPECTED_LIST):
    expected = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                operator, where, count = line.rsplit(None, 2)
                expected[(operator.strip(), where)] = int(count)
    return expected


def write_expected(mutants, path=EXPECTED_LIST):
    with open(path, "w", encoding="utf-8") as f:
        f.write(
            "# How many mutants each operator makes in each file, written by\n"
            "# scripts/mutate.py --update-expected. Every run fails when an operator\n"
            "# makes fewer: a renamed function or a changed spelling must not drop\n"
            "# mutants unnoticed. Update it (and say why in the commit) when the code\n"
            "# really has fewer places to mutate.\n"
        )
        for (operator, where), count in sorted(counts_by_place(mutants).items()):
            f.write(f"{operator:<20} {where:<32} {count}\n")


def check_lists(mutants, equivalents, expected):
    """Problems that fail every run: operators that lost their targets, listed
    equivalents that match nothing."""
    problems = []
    counts = counts_by_place(mutants)
    for (operator, where), minimum in sorted(expected.items()):
        found = counts.get((operator, where), 0)
        if found < minimum:
            problems.append(
                f"operator '{operator}' makes {found} mutants in {where}, "
                f"{minimum} expected (tools/mutation/expected.txt)"
            )
    for operator in OPERATOR_NAMES:
        if not any(op == operator for op, _ in counts):
            problems.append(f"operator '{operator}' finds nothing")
    for e in equivalents:
        if not any(e.matches(m) for m in mutants):
            problems.append(
                f"stale equivalent at tools/mutation/equivalent.txt:{e.line} "
                f"({e.path}): no generated mutant changes those lines so"
            )
    return problems
