"""Reading the product with libclang: one translation unit per source file of the core and
of the page's binding, compiled with the flags of the build's compile_commands.json."""

import dataclasses
import glob
import json
import os
import shlex
import subprocess

import clang.cindex as ci

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The mutated files: every source and header of these folders, a header read through the
# sources that include it. The Qt face (qt/, app/) is not here: its tests do not run.
FOLDERS = ["numtext", "calc", "form", "window", "web"]
SOURCES = [f"{folder}/*.{ext}" for folder in FOLDERS for ext in ("cpp", "h")]
# Product files that are not mutated, and why.
NOT_READ = {
    "web/module_bindings.cpp": "embind's declarations of the module, for emscripten only",
    "web/describe_window.cpp": "the build's printer of the description: main, whose parts are"
    " mutated where they are written",
}
K = ci.CursorKind
# Wrappers around an expression that do not change what is written.
TRANSPARENT = {K.UNEXPOSED_EXPR, K.PAREN_EXPR}
FUNCTIONS = {K.FUNCTION_DECL, K.CXX_METHOD, K.CONSTRUCTOR, K.DESTRUCTOR}


def configure(build, source=ROOT):
    """Configures the mutants preset (no build) and gives its compile_commands.json folder."""
    subprocess.run(
        ["cmake", "-S", source, "--preset", "mutants", "-B", build],
        check=True,
        stdout=subprocess.DEVNULL,
        cwd=source,
    )
    return build


def compile_arguments(command, path):
    """The compiler's arguments for libclang: no compiler, output or input file."""
    words = shlex.split(command["command"]) if "command" in command else command["arguments"]
    out, skip = [], False
    for word in words[1:]:
        if skip:
            skip = False
        elif word == "-o":
            skip = True
        elif word != "-c" and os.path.abspath(os.path.join(command["directory"], word)) != path:
            out.append(word)
    return out


@dataclasses.dataclass
class Source:
    """One mutated file: its text and the cursors libclang places in it."""

    path: str  # relative to the root
    text: str
    cursors: list = dataclasses.field(default_factory=list)
    raw: bytes = b""

    def index(self, offset):
        """The text index of a byte offset of libclang's."""
        if self.raw.isascii():
            return offset
        return len(self.raw[:offset].decode("utf-8"))

    def span(self, cursor):
        return self.index(cursor.extent.start.offset), self.index(cursor.extent.end.offset)

    def written(self, cursor):
        start, end = self.span(cursor)
        return self.text[start:end]

    def line(self, index):
        return self.text.count("\n", 0, index) + 1

    def of_kind(self, *kinds):
        return [c for c in self.cursors if c.kind in kinds]


class Program:
    """Every source of the core, parsed; the mutated files with their cursors and
    every function definition by its USR, so that calls are read through."""

    def __init__(self, build, root=ROOT, sources=SOURCES, not_read=NOT_READ):
        with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
            commands = {os.path.abspath(c["file"]): c for c in json.load(f)}
        self.root = root
        self.index = ci.Index.create()
        self.units = []
        self.sources = {}
        self.definitions = {}  # USR -> function definition cursor
        self.parents = {}  # place(cursor) -> the cursor it is written in
        self.functions = {}  # place(cursor) -> the function it is written in
        wanted = []
        for pattern in sources:
            wanted += sorted(glob.glob(os.path.join(root, pattern)))
        wanted = [w for w in wanted if os.path.relpath(w, root) not in not_read]
        for full in wanted:
            with open(full, "rb") as f:
                raw = f.read()
            path = os.path.relpath(full, root)
            self.sources[path] = Source(path, raw.decode("utf-8"), raw=raw)
        seen = set()
        for full in sorted(commands):
            if full not in wanted:
                continue  # a header is read through the sources including it
            unit = self.index.parse(full, compile_arguments(commands[full], full))
            errors = [d for d in unit.diagnostics if d.severity >= ci.Diagnostic.Error]
            if errors:
                raise SystemExit(f"libclang cannot read {full}: {errors[0]}")
            self.units.append(unit)
            self._collect(unit.cursor, seen)
        # A file no unit reads would make no mutant, silently.
        for path, source in self.sources.items():
            if not source.cursors:
                raise SystemExit(f"{path}: no source of the build reads it (see NOT_READ)")

    def _collect(self, root, seen):
        stack = [(root, None, None)]
        while stack:
            cursor, parent, function = stack.pop()
            location = cursor.extent.start
            name = location.file.name if location.file else None
            path = os.path.relpath(name, self.root) if name else None
            if cursor.kind in FUNCTIONS:
                function = cursor
                if cursor.is_definition() and path in self.sources:
                    self.definitions.setdefault(cursor.get_usr(), cursor)
            if path in self.sources and cursor.kind != K.TRANSLATION_UNIT:
                key = (
                    path,
                    cursor.kind,
                    cursor.spelling,
                    location.offset,
                    cursor.extent.end.offset,
                )
                if key not in seen:
                    seen.add(key)
                    self.sources[path].cursors.append(cursor)
                    self.parents[key] = parent
                    self.functions[key] = function
            if cursor.kind != K.TRANSLATION_UNIT and path not in self.sources:
                continue  # the libraries' headers and the core's own
            children = list(cursor.get_children())
            stack.extend((child, cursor, function) for child in reversed(children))

    def parent(self, cursor):
        return self.parents.get(place(self, cursor))

    def function(self, cursor):
        return self.functions.get(place(self, cursor))

    def source_of(self, cursor):
        return self.sources.get(os.path.relpath(cursor.extent.start.file.name, self.root))


# ---- small questions about cursors ------------------------------------------


def place(program, cursor):
    """A cursor's key: libclang's cursors compare but do not hash."""
    start = cursor.extent.start
    path = os.path.relpath(start.file.name, program.root) if start.file else None
    return (path, cursor.kind, cursor.spelling, start.offset, cursor.extent.end.offset)


def bare(cursor):
    """The expression under implicit conversions and parentheses."""
    while cursor.kind in TRANSPARENT:
        children = list(cursor.get_children())
        if len(children) != 1:
            break
        cursor = children[0]
    return cursor


def called(cursor):
    """The function a call calls (its declaration), or None."""
    if cursor.kind != K.CALL_EXPR:
        return None
    target = cursor.referenced
    return target if target is not None and target.kind != K.CONSTRUCTOR else None


def arguments(call):
    return list(call.get_arguments())


def operator_of(cursor):
    """The operator token of a binary or compound-assignment operator."""
    children = list(cursor.get_children())
    if len(children) != 2:
        return None
    end = children[0].extent.end.offset
    for token in cursor.get_tokens():
        if token.extent.start.offset >= end:
            return token.spelling
    return None


def is_floating(cursor):
    return cursor.type.get_canonical().kind in (ci.TypeKind.DOUBLE, ci.TypeKind.FLOAT)


def is_integral(cursor):
    kind = cursor.type.get_canonical().kind
    return ci.TypeKind.BOOL.value <= kind.value <= ci.TypeKind.INT128.value


def is_reference(cursor):
    return cursor.type.kind == ci.TypeKind.LVALUEREFERENCE


def enumerators(cursor):
    """The enumerators' names of a value's enumeration type; [] for other types."""
    kind = cursor.type.get_canonical()
    if kind.kind != ci.TypeKind.ENUM:
        return []
    declaration = kind.get_declaration()
    return [e.spelling for e in declaration.get_children() if e.kind == K.ENUM_CONSTANT_DECL]
