"""Double operations as trees: the chains of one operation and where they meet
the inverse one, for the regrouping and power operators."""

import dataclasses
import itertools

from .reading import K, arguments, bare, called

FAMILY = {"*": ("*", "/"), "/": ("*", "/"), "+": ("+", "-"), "-": ("+", "-")}
# A chain longer than this is regrouped only where it mixes with division:
# the number of groupings grows faster than factorially.
MAX_CHAIN = 5
MAX_DEPTH = 20


@dataclasses.dataclass
class Node:
    text: str  # as written where it is used (a step's name for a named step)
    op: str = ""  # "*", "/", "+", "-", or "" for an operand
    args: list = dataclasses.field(default_factory=list)
    name: str = ""  # the function written for op
    square: bool = False  # a power with exponent 2, the base twice
    start: tuple = ()  # where the expression is written (a named step: its definition)
    call: tuple = ()  # (name, argument nodes) of a call read through its definition
    inlined: bool = False  # from another function's body: written out by render()


class Reader:
    """Reads the calls of the double operations of a program into trees."""

    def __init__(self, program, names):
        self.program = program
        self.names = names

    def written(self, cursor):
        return self.program.source_of(cursor).written(cursor)

    def where(self, cursor):
        return (cursor.extent.start.file.name, cursor.extent.start.offset)

    def parse(self, cursor, depth=0):
        """The expression as a tree; a step named earlier in the same function
        (const double x = ...;) is read through its definition."""
        written = self.written(cursor)
        c = bare(cursor)
        target = called(c)
        names = self.names
        if target is not None and depth < MAX_DEPTH:
            args = arguments(c)
            name = target.spelling
            if name in names.binary and len(args) == 2:
                kids = [self.parse(a, depth + 1) for a in args]
                return Node(written, names.binary[name], kids, name, start=self.where(c))
            if name in names.power and len(args) == 2 and self.written(args[1]).strip() == "2":
                base = self.parse(args[0], depth + 1)
                return Node(written, "*", [base, base], name, square=True, start=self.where(c))
            inlined = self.inline_call(target, args, depth)
            if inlined is not None:
                tree, given = inlined
                return dataclasses.replace(
                    tree, text=written, start=self.where(c), call=(name, given)
                )
        if c.kind == K.DECL_REF_EXPR and depth < MAX_DEPTH:
            step = self.named_step(c)
            if step is not None:
                return dataclasses.replace(self.parse(step, depth + 1), text=written)
        return Node(written, start=self.where(c))

    def named_step(self, reference):
        """The value of a `const double` step of the same function."""
        declaration = reference.referenced
        if declaration is None or declaration.kind != K.VAR_DECL:
            return None
        if declaration.type.spelling != "const double":
            return None
        function = self.program.function(reference)
        if function is None or not same(self.program.function(declaration), function):
            return None
        values = [c for c in declaration.get_children() if c.kind.is_expression()]
        return values[-1] if values else None

    def inline_call(self, target, args, depth):
        """A call of a function of doubles that only names steps and returns an
        expression of them: the tree of that expression with the call's arguments
        for its parameters, and the arguments' trees. A formula moved into a
        shared function keeps the groupings it had where it was written out."""
        definition = self.program.definitions.get(target.get_usr())
        if definition is None or depth >= MAX_DEPTH:
            return None
        params = list(definition.get_arguments())
        if len(params) != len(args) or any(p.type.spelling != "double" for p in params):
            return None
        body = next((c for c in definition.get_children() if c.kind == K.COMPOUND_STMT), None)
        statements = list(body.get_children()) if body else []
        if not statements or statements[-1].kind != K.RETURN_STMT:
            return None
        for s in statements[:-1]:
            declared = list(s.get_children())
            if s.kind != K.DECL_STMT or any(d.type.spelling != "const double" for d in declared):
                return None
        returned = list(statements[-1].get_children())
        tree = self.parse(returned[0], depth + 1)
        if not tree.op:
            return None
        given = [self.parse(a, depth + 1) for a in args]
        by_param = {p.spelling: g for p, g in zip(params, given)}
        multiply = self.names.name_of("*")

        def substitute(n):
            if not n.op:
                return by_param.get(n.text, n)
            call = (n.call[0], [substitute(a) for a in n.call[1]]) if n.call else ()
            inner = dataclasses.replace(
                n, args=[substitute(a) for a in n.args], start=(), call=call, inlined=True
            )
            if n.square:
                # Written as the one multiplication the power squares with: the
                # caller need not see the power's declaration.
                inner = dataclasses.replace(inner, square=False, name=multiply)
            return dataclasses.replace(inner, text=render(inner))

        return substitute(tree), given


def same(a, b):
    return a is not None and b is not None and a == b


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
    return {c: t for (c, o), t in build(items).items() if o == 1}


def regroupings_of(tree, is_member, op_names):
    """The other groupings of the chain a call heads: {canonical: text}."""
    family = FAMILY[tree.op]
    made = {}
    # Every grouping of a chain of one operation ...
    if tree.op == family[0] and not is_member:
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
    return made


def chain_members(trees):
    """Where operations stand that an operation of the same kind takes as an
    argument: a chain is regrouped from its top only (a named step counts where
    it is used)."""
    members = set()
    for tree in trees:
        stack = [tree]
        while stack:
            n = stack.pop()
            for a in n.args:
                if n.op and a.op == n.op and FAMILY[n.op][0] == n.op:
                    members.add(a.start)
                stack.append(a)
    return members
