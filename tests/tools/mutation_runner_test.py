#!/usr/bin/python3
"""The mutation runner's operators on a small piece of C++ read by libclang."""

import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))

from mutation import operators, reading, running, x87  # noqa: E402

SNIPPET = r"""
#include <cstdint>
#include <string>

[[noreturn]] void Fail(int cause) { throw cause; }
double Finite(double r) {
    if (r != r) Fail(1);
    return r;
}
double Add(double a, double b) { return Finite(a + b); }
double Mul(double a, double b) { return Finite(a * b); }
namespace {
double BareQuotient(double a, double b) { return a / b; }
}
double Div(double a, double b) {
    if (b == 0.0) Fail(2);
    return Finite(BareQuotient(a, b));
}

double Inverse(double s) { return Div(1.0, s); }

double Scaled(double x, double s) {
    const double product = Mul(Mul(x, s), x);
    return Div(product, s);
}

double Wide(const std::string& digits) {
    std::uint64_t value = 0;
    for (char c : digits) {
        value = value * 16 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFULL) Fail(3);
    }
    return static_cast<double>(value);
}

void Write(std::string& out, int n) {
    if (n<2) out += "x";
    out.append("y");
}

struct Model { double a, b; };
enum class Kind { One, Many, List };
struct Place { int left, top; };
struct Row { const char* name; Kind kind; double Model::*member; Place place{}; };
constexpr Row kRows[] = {{"a", Kind::One, &Model::a}, {"b", Kind::Many, &Model::b}};
constexpr Row kNamed[] = {{.name = "c", .kind = Kind::List, .member = &Model::b},
                          {.name = "d", .member = &Model::a, .place = {.left = 1, .top = 2}}};

double Reads(Model& model) {
    const double first = Inverse(model.a);
    const double second = Inverse(model.b);
    const double third = Mul(second, model.a);
    return first + third;
}
"""


def mutants_of(snippet):
    folder = tempfile.mkdtemp()
    path = os.path.join(folder, "snippet.cpp")
    with open(path, "w", encoding="utf-8") as f:
        f.write(snippet)
    command = {"directory": folder, "file": path, "command": f"c++ -std=c++20 -c {path}"}
    with open(os.path.join(folder, "compile_commands.json"), "w", encoding="utf-8") as f:
        json.dump([command], f)
    program = reading.Program(folder, root=folder, sources=["snippet.cpp"])
    return program.sources["snippet.cpp"].text, operators.generate(program), program


READS = "const double first = Inverse(model.a);\n    const double second = Inverse(model.b);"


class OperatorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text, cls.mutants, _ = mutants_of(SNIPPET)

    def made(self, operator):
        return {(m.original, m.replacement) for m in self.mutants if m.operator == operator}

    def test_each_operator_finds_its_targets(self):
        cases = [
            ("reciprocal", "Div(product, s)", "Mul(product, Div(1.0, s))"),
            ("reciprocal", "Mul(x, s)", "Div(x, Div(1.0, s))"),
            ("reciprocal", "Mul(x, s)", "Div(s, Div(1.0, x))"),
            ("reciprocal", "a / b", "a * (1.0 / b)"),
            ("reciprocal", "a * b", "a / (1.0 / b)"),
            ("regroup", "Mul(Mul(x, s), x)", "Mul(Mul(x, x), s)"),
            ("regroup", "Div(product, s)", "Mul(Mul(x, s), Div(x, s))"),
            ("comparison", "<", "<="),  # n<2, written without blanks
            ("comparison", ">", ">="),
            ("constant", "0xFFFFFFFF", "0x100000000"),
            ("constant", "16", "15"),
            ("drop failure check", "if (b == 0.0) Fail(2);", "{}"),
            ("drop failure check", "Finite(a + b)", "(a + b)"),
            ("delete text write", 'out += "x";', "{}"),
            ("delete text write", 'out.append("y");', "{}"),
            ("table row", "Kind::One", "Kind::List"),
            ("table row", "Kind::Many", "Kind::One"),
            ("table row", "&Model::b", "&Model::a"),
            ("swap reads", READS, "\n    ".join(reversed(READS.split("\n    ")))),
        ]
        for operator, original, replacement in cases:
            with self.subTest(operator=operator, original=original):
                self.assertIn((original, replacement), self.made(operator))

    def test_a_check_moves_past_its_loop(self):
        moved = [m for m in self.mutants if m.operator == "move check"]
        self.assertEqual(len(moved), 1)
        after = self.text[: moved[0].start] + moved[0].replacement + self.text[moved[0].end :]
        loop_end = after.index("    }\n", after.index("for (char c"))
        self.assertGreater(after.index("if (value > 0xFFFFFFFFULL)"), loop_end)
        self.assertEqual(after.count("Fail(3)"), 1)

    def test_nothing_where_nothing_may_change(self):
        # The reciprocal of a reciprocal, a template's angle brackets and a
        # check before a return (dropping it is its own mutant) make nothing.
        self.assertFalse(any(o == "Div(1.0, s)" for o, _ in self.made("reciprocal")))
        # Div made of BareQuotient: rewritten there, Div would call itself.
        self.assertFalse(any("BareQuotient(a, b)" in o for o, _ in self.made("reciprocal")))
        cast = self.text[: self.text.index("static_cast<unsigned>")].count("\n") + 1
        self.assertFalse(any(m.line == cast for m in self.mutants if m.operator == "comparison"))
        self.assertFalse(
            any("Fail(2)" in m.original for m in self.mutants if m.operator == "move check")
        )
        # A row's name is not a mapping; a read that uses the one before stays after it.
        self.assertFalse(any(o == '"a"' for o, _ in self.made("table row")))
        self.assertEqual({o for o, _ in self.made("swap reads")}, {READS})

    def test_designated_rows_by_member(self):
        line = self.text[: self.text.index("kNamed")].count("\n") + 1
        rows = [m for m in self.mutants if m.line in (line, line + 1) and m.operator == "table row"]
        made = {(m.original, m.replacement) for m in rows}
        expected = {("Kind::List", "Kind::One"), ("Kind::List", "Kind::Many")}
        expected |= {("&Model::b", "&Model::a"), ("&Model::a", "&Model::b")}
        self.assertEqual(made, expected)


X87_SNIPPET = r"""
constexpr bool kPlainDoubleOperationsRoundOnce = true;
double Exact(double a, double b) { return a * 3.0 + b; }
double Sum(double a, double b) { return kPlainDoubleOperationsRoundOnce ? a + 5.0 : Exact(a, 7.0); }
long Shift(long e) {
    if constexpr (!kPlainDoubleOperationsRoundOnce) { e -= 20; }
    if constexpr (kPlainDoubleOperationsRoundOnce) { e -= 30; }
    return e;
}
"""


class X87Test(unittest.TestCase):
    def test_only_what_x87_alone_runs(self):
        _, mutants, program = mutants_of(X87_SNIPPET)
        chosen = {m.original for m in x87.only_on_x87(program, mutants)}
        self.assertEqual(chosen, {"7.0", "20"})


class TestOrderTest(unittest.TestCase):
    def test_own_folder_first_bulk_last_unlabelled_never(self):
        tests = [
            ("calc_test", ["/b/calc_test"], ["calc"]),
            ("numtext_bulk", ["/b/numtext_bulk", "--gtest_filter=Bulk.*"], ["numtext", "bulk"]),
            ("numtext_test", ["/b/numtext_test"], ["numtext"]),
            ("runner_test", ["/usr/bin/python3", "runner_test.py"], ["tools"]),
        ]
        order = running.test_order(tests, ["calc", "numtext"])
        names = {folder: [t[0] for t in run] for folder, run in order.items()}
        self.assertEqual(names["calc"], ["calc_test", "numtext_test", "numtext_bulk"])
        self.assertEqual(names["numtext"], ["numtext_test", "calc_test", "numtext_bulk"])

    def test_a_script_test_builds_everything(self):
        for command, target in [
            (["/b/tests/calc_test", "--gtest_filter=A.*"], "calc_test"),
            (["/usr/bin/python3", "-B", "/src/tests/web/markup_test.py"], "all"),
            (["qemu-i386", "-L", "/", "/b/tests/calc_test"], "calc_test"),
        ]:
            with self.subTest(command=command[0]):
                self.assertEqual(running.target_of(command, "/b"), target)


if __name__ == "__main__":
    unittest.main()
