"""What the code calls its operations, found from the definitions' syntax, not by name."""

import dataclasses

from .reading import K, arguments, bare, called, operator_of

WRITING_METHODS = {"append", "push_back", "insert", "assign", "pop_back", "erase"}


@dataclasses.dataclass
class Names:
    binary: dict  # function name -> "*", "/", "+" or "-"
    power: set  # functions of a double and a whole exponent, declared for the code's users
    failures: set  # functions that throw
    checks: set  # double f(double r) that fail or give r back
    writers: set  # functions whose whole body writes text
    wrapped: set = dataclasses.field(default_factory=set)  # operations another one calls

    def name_of(self, op):
        """The function written for an operation ("*" -> "Mul"): the outermost, which
        the code calls, not a helper another operation is made of."""
        names = [n for n, o in sorted(self.binary.items()) if o == op]
        return next((n for n in names if n not in self.wrapped), names[0] if names else None)


def body(definition):
    return next((c for c in definition.get_children() if c.kind == K.COMPOUND_STMT), None)


def walk(cursor):
    stack = [cursor]
    while stack:
        c = stack.pop()
        yield c
        stack.extend(c.get_children())


def parameters(definition):
    return list(definition.get_arguments())


def type_of(cursor):
    return cursor.type.get_canonical().spelling


def declared_in_header(function):
    location = function.canonical.location
    return location.file is not None and location.file.name.endswith(".h")


def refers_to(cursor, declaration):
    c = bare(cursor)
    return c.kind == K.DECL_REF_EXPR and c.referenced == declaration


def applied_operation(definition):
    """The operator a double function of two doubles applies to its parameters in order."""
    a, b = parameters(definition)
    for c in walk(body(definition)):
        if c.kind == K.BINARY_OPERATOR:
            left, right = c.get_children()
            op = operator_of(c)
            if op in "*/+-" and refers_to(left, a) and refers_to(right, b):
                return op
    return None


def peel_checks(names, cursor):
    """The expression under transparent wrappers and finiteness checks."""
    c = bare(cursor)
    while called(c) is not None and called(c).spelling in names.checks:
        c = bare(arguments(c)[0])
    return c


def called_operation(names, definition):
    """The known operation a function of two doubles returns, called on its parameters
    in order (`return Finite(Sum(a, b));`), after nothing but failure checks."""
    a, b = parameters(definition)
    statements = list(body(definition).get_children())
    if not statements or statements[-1].kind != K.RETURN_STMT:
        return None
    for s in statements[:-1]:
        parts = list(s.get_children())
        if s.kind != K.IF_STMT or len(parts) != 2 or not is_failure_call(names, parts[1]):
            return None
    returned = list(statements[-1].get_children())
    c = peel_checks(names, returned[0]) if returned else None
    target = called(c) if c is not None else None
    if target is None or target.spelling not in names.binary:
        return None
    args = arguments(c)
    if len(args) == 2 and refers_to(args[0], a) and refers_to(args[1], b):
        return target.spelling
    return None


def is_failure_call(program_names, statement):
    c = bare(statement)
    target = called(c)
    return target is not None and target.spelling in program_names.failures


def is_write(names, cursor):
    """An expression that writes text: an append, insert, erase or assignment to a
    string, a `+=`, or a call of a function that only does that."""
    c = bare(cursor)
    if c.kind == K.COMPOUND_ASSIGNMENT_OPERATOR and operator_of(c) == "+=":
        return True
    if c.kind == K.CALL_EXPR:
        if c.spelling in WRITING_METHODS or c.spelling == "operator+=":
            return True
        if c.spelling == "operator=":
            target = next(c.get_children(), None)
            return target is not None and "basic_string<char" in type_of(target)
        return c.spelling in names.writers
    return False


def discover(program):
    names = Names({}, set(), set(), set(), set())
    definitions = list(program.definitions.values())
    pairs = []  # double f(double a, double b)
    for d in definitions:
        params = parameters(d)
        result = d.result_type.get_canonical().spelling
        kinds = [type_of(p) for p in params]
        if result == "double" and kinds == ["double", "double"]:
            pairs.append(d)
            op = applied_operation(d)
            if op:
                names.binary[d.spelling] = op
        if result == "double" and kinds in (["double", "int"], ["double", "long"]):
            if declared_in_header(d):
                names.power.add(d.spelling)
        noreturn = any(t.spelling == "noreturn" for t in d.canonical.get_tokens())
        if noreturn or any(c.kind == K.CXX_THROW_EXPR for c in walk(body(d))):
            names.failures.add(d.spelling)
    for d in definitions:
        statements = list(body(d).get_children())
        params = parameters(d)
        if d.result_type.get_canonical().spelling == "double" and len(params) == 1:
            if len(statements) == 2 and statements[0].kind == K.IF_STMT:
                guarded = list(statements[0].get_children())
                returned = list(statements[1].get_children())
                if (
                    len(guarded) == 2
                    and is_failure_call(names, guarded[1])
                    and statements[1].kind == K.RETURN_STMT
                    and returned
                    and refers_to(returned[0], params[0])
                ):
                    names.checks.add(d.spelling)
    # An operation may be made of another (Mul of Product, which picks `a * b` or
    # MPFR's single rounding): repeat until nothing is added.
    while True:
        before = len(names.binary)
        for d in pairs:
            inner = None if d.spelling in names.binary else called_operation(names, d)
            if inner is not None:
                names.binary[d.spelling] = names.binary[inner]
                names.wrapped.add(inner)
        if len(names.binary) == before:
            break
    # A writer may call a writer: repeat until nothing is added.
    while True:
        before = len(names.writers)
        for d in definitions:
            statements = list(body(d).get_children())
            if d.result_type.kind.spelling == "Void" and len(statements) == 1:
                if is_write(names, statements[0]):
                    names.writers.add(d.spelling)
        if len(names.writers) == before:
            return names
