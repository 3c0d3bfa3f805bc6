#!/usr/bin/env python3
"""The description's schema against its writer and its readers' example:
describe_window's output (the command that runs it, the arguments) and the markup test's
window conform, and each departure a writer or reader could make is refused."""
import copy
import json
import subprocess
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "web" / "build"))
sys.path.insert(0, str(HERE))
import jsonschema  # noqa: E402
from description_schema import checked  # noqa: E402
from window_markup_test import WINDOW  # noqa: E402

DESCRIBE_WINDOW = []  # the writer's command, given on the command line


def written():
    out = subprocess.run(DESCRIBE_WINDOW, check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def renamed(key, new):
    def edit(d):
        d[new] = d.pop(key)

    return edit


def control_renamed(key, new):
    def edit(d):
        d["controls"][0][new] = d["controls"][0].pop(key)

    return edit


def set_in(path, value):
    def edit(d):
        *parents, last = path
        for step in parents:
            d = d[step]
        d[last] = value

    return edit


# What a writer or a reader out of step with the schema would make.
DEPARTURES = [
    ("a top-level key renamed", renamed("clientWidth", "clientWidht")),
    ("a top-level key missing", lambda d: d.pop("readablePixels")),
    ("a control's key renamed", control_renamed("labelFor", "label_for")),
    ("an unknown control kind", set_in(["controls", 0, "kind"], "slider")),
    ("an unknown field kind", set_in(["fields", 0, "kind"], "multiline")),
    ("an unknown alignment", set_in(["controls", 0, "alignment"], "centre")),
    ("an unknown role", set_in(["controls", 0, "role"], "")),
    ("a colour of two parts", set_in(["controls", 0, "color"], [0, 128])),
    ("a length as text", set_in(["controls", 0, "left"], "120")),
    ("a change's key renamed", set_in(["startUp", "changes", 0], {"name": "Box", "text": ""})),
    ("a list index below none", set_in(["startUp", "changes", 0, "listIndex"], -2)),
    ("no failure words", lambda d: d["startUp"].pop("failure")),
]


class SchemaTest(unittest.TestCase):
    def test_the_writer_and_the_readers_example_conform(self):
        for name, description in (("describe_window", written()), ("markup test", WINDOW)):
            with self.subTest(name):
                checked(description)

    def test_each_departure_is_refused(self):
        for source, description in (("describe_window", written()), ("markup test", WINDOW)):
            for name, edit in DEPARTURES:
                with self.subTest(f"{source}: {name}"):
                    departed = copy.deepcopy(description)
                    edit(departed)
                    with self.assertRaises(jsonschema.ValidationError):
                        checked(departed)


if __name__ == "__main__":
    DESCRIBE_WINDOW = sys.argv[1:]
    unittest.main(argv=sys.argv[:1])
