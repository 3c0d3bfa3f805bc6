"""The mutation operators: each reads one file's syntax tree and yields the
mutants it makes there, one replaced stretch of text each."""

import dataclasses
import re

from . import names as naming
from .reading import (
    K,
    arguments,
    bare,
    called,
    enumerators,
    is_floating,
    is_integral,
    is_reference,
    operator_of,
)
from .trees import Reader, chain_members, regroupings_of

# Operators not applied to a file, and why.
NOT_MUTATED = {
    # The page's own layout (the painted caption size, the readable size, the
    # frame's border, the largest scale): only the page's browser tests,
    # outside this runner, see a change of them.
    ("web/page_layout.h", "constant"),
}


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
            f"{self.path}:{self.line} [{self.operator}] {self.original!r} -> "
            f"{self.replacement!r}"
        )


class Context:
    """What every operator may ask: the program, its operations, its trees."""

    def __init__(self, program):
        self.program = program
        self.names = naming.discover(program)
        self.reader = Reader(program, self.names)


def mutant(source, start, end, replacement, operator):
    original = source.text[start:end]
    return Mutant(source.path, start, end, replacement, operator, source.line(start), original)


def replace(source, cursor, replacement, operator):
    start, end = source.span(cursor)
    return mutant(source, start, end, replacement, operator)


def statement_end(source, cursor):
    """One past a statement's end, its semicolon included."""
    end = source.span(cursor)[1]
    rest = source.text[end:]
    stripped = rest.lstrip(" \t")
    return end + (len(rest) - len(stripped) + 1 if stripped.startswith(";") else 0)


def calls_of(source, wanted):
    for c in source.of_kind(K.CALL_EXPR):
        target = called(c)
        if target is not None and target.spelling in wanted:
            yield c, target.spelling


def operation_calls(ctx, source):
    """Calls of the double operations, but not in an operation's own definition (Div
    made of Quotient): rewritten there, Div would call itself for ever. Its plain
    operator (`a / b`) is mutated as written."""
    for call, name in calls_of(source, ctx.names.binary):
        function = ctx.program.function(call)
        if function is None or function.spelling not in ctx.names.binary:
            yield call, name


# ---- constants and comparisons ----------------------------------------------

NUMBER = re.compile(r"(0[xX][0-9A-Fa-f]+|\d+(?:\.\d*)?)([eE][+-]?\d+)?([uUlL]*)")


def constants(ctx, source):
    """A decimal constant changed in its last digit; a whole number by one up and down."""
    for c in source.of_kind(K.INTEGER_LITERAL, K.FLOATING_LITERAL):
        start, end = source.span(c)
        m = NUMBER.fullmatch(source.text[start:end])
        if not m:
            continue  # a literal a macro wrote
        mantissa = m.group(1)
        if mantissa.endswith("."):
            continue
        at = start + m.start(1), start + m.end(1)
        if "." in mantissa or m.group(2):
            last = mantissa[-1]
            digit = "8" if last == "9" else str(int(last) + 1)
            yield mutant(source, *at, mantissa[:-1] + digit, "constant")
            continue
        hexadecimal = mantissa.lower().startswith("0x")
        value = int(mantissa, 16 if hexadecimal else 10)
        for changed in (value + 1, value - 1):
            if changed >= 0:
                written = f"0x{changed:X}" if hexadecimal else str(changed)
                yield mutant(source, *at, written, "constant")


COMPARISON_SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!="}


def operator_token(cursor, left):
    """The operator token after an operation's left operand; None where a macro wrote it."""
    end = left.extent.end.offset
    return next((t for t in cursor.get_tokens() if t.extent.start.offset >= end), None)


def comparisons(ctx, source):
    for c in source.of_kind(K.BINARY_OPERATOR, K.CALL_EXPR):
        if c.kind == K.CALL_EXPR:
            if c.spelling.removeprefix("operator") not in COMPARISON_SWAP:
                continue
            left = arguments(c)[0]
        else:
            left = next(c.get_children())
        token = operator_token(c, left)
        if token is not None and token.spelling in COMPARISON_SWAP:
            yield replace(source, token, COMPARISON_SWAP[token.spelling], "comparison")


# ---- the double operations --------------------------------------------------


def regroupings(ctx, source):
    op_names = {op: ctx.names.name_of(op) for op in ctx.names.binary.values()}
    found = list(operation_calls(ctx, source))
    trees = [ctx.reader.parse(c) for c, _ in found]
    members = chain_members(trees)
    for (call, _), tree in zip(found, trees):
        made = regroupings_of(tree, tree.start in members, op_names)
        for replacement in sorted(made.values()):
            yield replace(source, call, replacement, "regroup")


def powers(ctx, source):
    """Squares and cubes as products, and products of equal operands as powers."""
    names = ctx.names
    mul = names.name_of("*")
    power = sorted(names.power)[0] if names.power else None
    for call, _ in calls_of(source, names.power):
        args = arguments(call)
        if len(args) != 2 or mul is None:
            continue
        base, exponent = (source.written(a) for a in args)
        if exponent == "2":
            yield replace(source, call, f"{mul}({base}, {base})", "power")
        elif exponent == "3":
            yield replace(source, call, f"{mul}({mul}({base}, {base}), {base})", "power")
    if power is None:
        return
    for call, _ in calls_of(source, {mul}):
        function = ctx.program.function(call)
        if function is not None and function.spelling in names.power | set(names.binary):
            continue  # inside the power or Mul itself, where it would call itself for ever
        a, b = (" ".join(source.written(x).split()) for x in arguments(call))
        inner = bare(arguments(call)[0])
        if a == b:
            yield replace(source, call, f"{power}({a}, 2)", "power")
        elif called(inner) is not None and called(inner).spelling == mul:
            x, y = (" ".join(source.written(v).split()) for v in arguments(inner))
            if x == y == b:
                yield replace(source, call, f"{power}({b}, 3)", "power")


def reciprocals(ctx, source):
    """A division as a multiplication by the reciprocal, and a multiplication as a
    division by it: one rounding more, an ulp that can change a shown digit."""
    names = ctx.names
    mul, div = names.name_of("*"), names.name_of("/")
    one = re.compile(r"1(\.0*)?")
    for call, name in operation_calls(ctx, source):
        x, s = (source.written(a) for a in arguments(call))
        if names.binary[name] == "/" and mul and not one.fullmatch(x):
            yield replace(source, call, f"{mul}({x}, {div}(1.0, {s}))", "reciprocal")
        elif names.binary[name] == "*" and div:
            yield replace(source, call, f"{div}({x}, {div}(1.0, {s}))", "reciprocal")
            if x != s:
                yield replace(source, call, f"{div}({s}, {div}(1.0, {x}))", "reciprocal")
    for c in source.of_kind(K.BINARY_OPERATOR):
        if not is_floating(c):
            continue
        op = operator_of(c)
        x, s = (source.written(a) for a in c.get_children())
        if op == "/" and not one.fullmatch(x):
            yield replace(source, c, f"{x} * (1.0 / {s})", "reciprocal")
        elif op == "*":
            yield replace(source, c, f"{x} / (1.0 / {s})", "reciprocal")
            if x != s:
                yield replace(source, c, f"{s} / (1.0 / {x})", "reciprocal")


# ---- failures ---------------------------------------------------------------


def failure_ifs(ctx, source):
    """`if (...) Fail(...);` statements: a check with nothing else to do."""
    for c in source.of_kind(K.IF_STMT):
        parts = list(c.get_children())
        if len(parts) == 2 and naming.is_failure_call(ctx.names, parts[1]):
            yield c


def failure_checks(ctx, source):
    for c in failure_ifs(ctx, source):
        start = source.span(c)[0]
        yield mutant(source, start, statement_end(source, c), "{}", "drop failure check")
    for call, _ in calls_of(source, ctx.names.checks):
        inner = source.written(arguments(call)[0])
        yield replace(source, call, f"({inner})", "drop failure check")


LOOPS = {K.WHILE_STMT, K.FOR_STMT, K.DO_STMT, K.CXX_FOR_RANGE_STMT}


def moved_checks(ctx, source):
    """A failure check run one statement later, or after the loop it guards from
    inside: a value that wraps or overflows on the way is then checked too late."""
    program = ctx.program
    text = source.text
    for check in failure_ifs(ctx, source):
        block = program.parent(check)
        if block is None or block.kind != K.COMPOUND_STMT:
            continue
        start = source.span(check)[0]
        end = statement_end(source, check)
        statements = list(block.get_children())
        after = statements[statements.index(check) + 1 :]
        if after and after[0].kind != K.RETURN_STMT:
            # A check moved past a return is a dropped check, made above.
            later_start = source.span(after[0])[0]
            later_end = statement_end(source, after[0])
            moved = text[later_start:later_end] + text[end:later_start] + text[start:end]
            yield mutant(source, start, later_end, moved, "move check")
        loop = program.parent(block)
        if loop is not None and loop.kind in LOOPS:
            loop_start = source.span(loop)[0]
            loop_end = statement_end(source, loop)
            indent = text[text.rfind("\n", 0, loop_start) + 1 : loop_start]
            rest = text[end:loop_end]
            # The check's line goes with it.
            line_start = text.rfind("\n", 0, start)
            if not text[line_start + 1 : start].strip():
                start = line_start
            moved = rest + "\n" + indent + text[source.span(check)[0] : end]
            m = mutant(source, start, loop_end, moved, "move check")
            m.line = source.line(source.span(check)[0])
            yield m


# ---- roundings --------------------------------------------------------------

MPFR_MODES = ["MPFR_RNDN", "MPFR_RNDZ", "MPFR_RNDU", "MPFR_RNDD", "MPFR_RNDA"]
ROUNDING_FUNCTIONS = ["std::floor", "std::ceil", "std::trunc", "std::round"]


def subscript_parts(cursor):
    """(base, index) of a subscript, built-in or a class's operator[]."""
    c = bare(cursor)
    if c.kind == K.ARRAY_SUBSCRIPT_EXPR:
        return list(c.get_children())
    if c.kind == K.CALL_EXPR and c.spelling == "operator[]":
        parts = [p for p in c.get_children() if bare(p).spelling != "operator[]"]
        return parts if len(parts) == 2 else None
    return None


def roundings(ctx, source):
    written = source.written
    for c in source.of_kind(K.BINARY_OPERATOR):
        op = operator_of(c)
        left, right = c.get_children()
        # Half away from zero on a decimal digit -> half to even.
        parts = subscript_parts(left)
        if op == ">=" and written(right) == "'5'" and parts:
            d, k = (written(p) for p in parts)
            even = (
                f"({d}[{k}] > '5' || ({d}[{k}] == '5' && "
                f"({d}.find_first_not_of('0', {k} + 1) != std::string::npos || "
                f"({k} > 0 && ({d}[{k} - 1] - '0') % 2 == 1))))"
            )
            yield replace(source, c, even, "rounding")
        # Half to even on the exact value -> half away from zero.
        if op == "&&" and source.text[source.span(c)[0] - 1] == "(":
            if re.fullmatch(r"\w+ == 0\.5", written(left)):
                m = re.fullmatch(r"std::fmod\((\w+), 2\.0\) != 0\.0", written(right))
                if m:
                    start, end = source.span(c)
                    fixed = f"({written(left)} && {m.group(1)} >= 0.0)"
                    yield mutant(source, start - 1, end + 1, fixed, "rounding")
    # Every other rounding mode of MPFR, every other rounding to a whole number.
    for c in source.of_kind(K.DECL_REF_EXPR):
        for choices in (MPFR_MODES, ROUNDING_FUNCTIONS):
            if written(c) in choices:
                for other in choices:
                    if other != written(c):
                        yield replace(source, c, other, "rounding mode")


def index_shifts(ctx, source):
    for c in source.of_kind(K.ARRAY_SUBSCRIPT_EXPR, K.CALL_EXPR):
        parts = subscript_parts(c)
        # Whole-number indexes only (a string key is no place), not ones a macro wrote.
        if parts and is_integral(parts[1]) and source.written(c).endswith("]"):
            inner = source.written(parts[1])
            for delta in ("+ 1", "- 1"):
                yield replace(source, parts[1], f"{inner} {delta}", "index")


# ---- text -------------------------------------------------------------------

BODIES = {K.IF_STMT, K.WHILE_STMT, K.FOR_STMT, K.CXX_FOR_RANGE_STMT, K.DO_STMT, K.CASE_STMT}


def is_statement_of_its_own(program, cursor):
    """A statement of a block or the body of an if or a loop, not a condition."""
    parent = program.parent(cursor)
    if parent is None or not cursor.kind.is_expression():
        return False
    if parent.kind == K.COMPOUND_STMT:
        return True
    if parent.kind in BODIES:
        children = list(parent.get_children())
        if parent.kind in (K.IF_STMT, K.CASE_STMT):
            return children.index(cursor) >= 1
        return children[-1] == cursor if parent.kind != K.DO_STMT else children[0] == cursor
    return False


def text_writes(ctx, source):
    for c in source.cursors:
        if not is_statement_of_its_own(ctx.program, c):
            continue
        if not any(naming.is_write(ctx.names, x) for x in naming.walk(c)):
            continue
        start, end = source.span(c)[0], statement_end(source, c)
        if "{" in source.text[start:end]:
            continue  # a lambda or a braced list: more than a write
        yield mutant(source, start, end, "{}", "delete text write")


# ---- tables and reads ---------------------------------------------------------

LITERALS = {
    K.STRING_LITERAL,
    K.INTEGER_LITERAL,
    K.FLOATING_LITERAL,
    K.CHARACTER_LITERAL,
    K.CXX_BOOL_LITERAL_EXPR,
    K.CXX_NULL_PTR_LITERAL_EXPR,
}
# Where a name is fixed when the program is written: not in a function.
FIXED_PLACES = {K.NAMESPACE, K.TRANSLATION_UNIT, K.STRUCT_DECL, K.CLASS_DECL, K.ENUM_DECL}


def designation(cell):
    """(member, value) of a designated initializer (`.kind = ...`), else None."""
    parts = list(cell.get_children())
    if cell.kind == K.UNEXPOSED_EXPR and len(parts) == 2 and parts[0].kind == K.MEMBER_REF:
        return parts[0].spelling, parts[1]
    return None


def is_constant(cursor):
    """A literal, a name declared outside functions (an enumerator, a constant, a
    member), its address, its member, or a braced list of them, designated or not."""
    named = designation(cursor)
    if named is not None:
        return is_constant(named[1])
    c = bare(cursor)
    if c.kind in LITERALS:
        return True
    if c.kind == K.INIT_LIST_EXPR:
        return all(is_constant(x) for x in c.get_children())
    if c.kind in (K.UNARY_OPERATOR, K.MEMBER_REF_EXPR):
        parts = list(c.get_children())
        return len(parts) == 1 and is_constant(parts[0])
    if c.kind == K.DECL_REF_EXPR and c.referenced is not None:
        return c.referenced.semantic_parent.kind in FIXED_PLACES
    return False


def row_cells(row):
    """A row's cells by column: a member's name where the row designates them
    (`.kind = ...`), else the place; the first cell names the row."""
    cells = {}
    for place, child in enumerate(row.get_children()):
        column, cell = designation(child) or (place, child)
        cells[column] = cell
    return cells


def table_rows(source, cursor):
    """The cells of a table, {column: cell} for each row: a braced list of at least two
    braced rows (or `Type{...}`) of constants, of one length where not designated,
    written out (not by a macro)."""
    if not source.written(cursor).startswith("{"):
        return None
    rows = []
    for child in cursor.get_children():
        row = bare(child)
        if row.kind == K.CXX_FUNCTIONAL_CAST_EXPR:
            row = next(
                (bare(x) for x in row.get_children() if bare(x).kind == K.INIT_LIST_EXPR), row
            )
        if row.kind != K.INIT_LIST_EXPR:
            return None
        rows.append(row_cells(row))
    if len(rows) < 2 or any(len(r) < 2 for r in rows):
        return None
    if all(0 in r for r in rows) and len({len(r) for r in rows}) != 1:
        return None
    return rows if all(is_constant(cell) for row in rows for cell in row.values()) else None


def is_number(cursor):
    """A number, a negated one, or a braced list of them (a place on the window)."""
    c = bare(cursor)
    if c.kind in (K.INTEGER_LITERAL, K.FLOATING_LITERAL):
        return True
    if c.kind in (K.UNARY_OPERATOR, K.INIT_LIST_EXPR):
        return all(is_number(x) for x in c.get_children())
    return False


def flag_values(source, cell):
    """Every other value of a flag, an enumerator or a truth value written in the cell:
    the enumeration's other enumerators, spelled as the cell spells its own."""
    written = source.written(cell)
    c = bare(cell)
    if c.kind == K.CXX_BOOL_LITERAL_EXPR:
        return ["false" if written == "true" else "true"]
    if c.kind != K.DECL_REF_EXPR or c.referenced.kind != K.ENUM_CONSTANT_DECL:
        return []
    prefix = written.rsplit("::", 1)[0] + "::" if "::" in written else ""
    return [prefix + n for n in enumerators(cell) if n != c.referenced.spelling]


def table_rows_changed(ctx, source):
    """A table row's flag changed to each other value, and each other single value of
    the row (a mapping) to the next row's value in that column; not the first cell,
    which names the row, nor numbers and places, which the constant operator changes,
    nor a braced record inside a row."""
    for table in source.of_kind(K.INIT_LIST_EXPR):
        rows = table_rows(source, table)
        if rows is None:
            continue
        for i, row in enumerate(rows):
            for place, (column, cell) in enumerate(row.items()):
                flags = flag_values(source, cell)
                for value in flags:
                    yield replace(source, cell, value, "table row")
                if flags or place == 0 or is_number(cell) or bare(cell).kind == K.INIT_LIST_EXPR:
                    continue
                written = source.written(cell)
                others = [
                    source.written(r[column]) for r in rows[i + 1 :] + rows[:i] if column in r
                ]
                other = next((o for o in others if o != written), None)
                if other is not None:
                    yield replace(source, cell, other, "table row")


def reads_state(cursor):
    """Whether an expression reads what a reference parameter holds: a member of it,
    or a method called on it (the model's fields, a reader's place)."""
    for c in naming.walk(cursor):
        if c.kind != K.MEMBER_REF_EXPR:
            continue
        base = next(c.get_children(), None)
        base = bare(base) if base is not None else None
        if base is not None and base.kind == K.DECL_REF_EXPR and base.referenced is not None:
            if base.referenced.kind == K.PARM_DECL and is_reference(base.referenced):
                return True
    return False


def one_variable(statement):
    """The variable a declaration statement declares alone, with its value, or None."""
    if statement.kind != K.DECL_STMT:
        return None
    declared = list(statement.get_children())
    if len(declared) != 1 or declared[0].kind != K.VAR_DECL:
        return None
    return declared[0] if reads_state(declared[0]) else None


def swapped_reads(ctx, source):
    """Two neighbouring declarations, each of a value read from a reference parameter,
    the second not using the first, in the other order: what fails first, and so the
    failure's words, can change."""
    text = source.text
    for block in source.of_kind(K.COMPOUND_STMT):
        statements = list(block.get_children())
        for first, second in zip(statements, statements[1:]):
            a, b = one_variable(first), one_variable(second)
            if a is None or b is None:
                continue
            if any(c.kind == K.DECL_REF_EXPR and c.referenced == a for c in naming.walk(b)):
                continue
            a_start, a_end = source.span(first)[0], statement_end(source, first)
            b_start, b_end = source.span(second)[0], statement_end(source, second)
            swapped = text[b_start:b_end] + text[a_end:b_start] + text[a_start:a_end]
            yield mutant(source, a_start, b_end, swapped, "swap reads")


OPERATORS = [
    constants,
    comparisons,
    regroupings,
    powers,
    failure_checks,
    roundings,
    index_shifts,
    text_writes,
    reciprocals,
    moved_checks,
    table_rows_changed,
    swapped_reads,
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
    "reciprocal",
    "move check",
    "table row",
    "swap reads",
]


def changed_lines(text, m):
    line_start = text.rfind("\n", 0, m.start) + 1
    line_end = text.find("\n", m.end)
    line_end = len(text) if line_end < 0 else line_end
    before = text[line_start:line_end]
    after = text[line_start : m.start] + m.replacement + text[m.end : line_end]
    return (
        tuple(" ".join(s.split()) for s in before.split("\n")),
        tuple(" ".join(s.split()) for s in after.split("\n")),
    )


def generate(program):
    ctx = Context(program)
    mutants = []
    for path, source in program.sources.items():
        done = set()
        for operator in OPERATORS:
            made = sorted(operator(ctx, source), key=lambda m: (m.start, -m.end))
            for m in made:
                if (path, m.operator) in NOT_MUTATED:
                    continue
                where = (m.start, m.end, m.replacement)
                if where in done or source.text[m.start : m.end] == m.replacement:
                    continue
                done.add(where)
                m.before, m.after = changed_lines(source.text, m)
                mutants.append(m)
    return mutants
