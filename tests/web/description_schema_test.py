#!/usr/bin/env python3
"""describe_window's output (run by the arguments) and the markup test's window
conform to the description's schema, and each departure from it is refused."""
import copy
import json
import subprocess
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path[:0] = [str(HERE.parents[1] / "web" / "build"), str(HERE)]
import jsonschema  # noqa: E402
from description_schema import checked  # noqa: E402
from window_markup_test import WINDOW  # noqa: E402

DESCRIBE_WINDOW = []  # the writer's command, given on the command line


def renamed(d, key, new):
    d[new] = d.pop(key)


# What a writer or a reader out of step with the schema would make.
DEPARTURES = [
    ("a top-level key renamed", lambda d: renamed(d, "clientWidth", "clientWidht")),
    ("a top-level key missing", lambda d: d.pop("readablePixels")),
    ("a control's key renamed", lambda d: renamed(d["controls"][0], "labelFor", "label_for")),
    ("an unknown control kind", lambda d: d["controls"][0].update(kind="slider")),
    ("an unknown field kind", lambda d: d["fields"][0].update(kind="multiline")),
    ("an unknown alignment", lambda d: d["controls"][0].update(alignment="centre")),
    ("an unknown role", lambda d: d["controls"][0].update(role="")),
    ("a colour of two parts", lambda d: d["controls"][0].update(color=[0, 128])),
    ("a length as text", lambda d: d["controls"][0].update(left="120")),
    ("a change's key renamed", lambda d: renamed(d["startUp"]["changes"][0], "field", "name")),
    ("a list index below none", lambda d: d["startUp"]["changes"][0].update(listIndex=-2)),
    ("no failure words", lambda d: d["startUp"].pop("failure")),
]


class SchemaTest(unittest.TestCase):
    def descriptions(self):
        out = subprocess.run(DESCRIBE_WINDOW, check=True, capture_output=True, text=True).stdout
        return (("describe_window", json.loads(out)), ("markup test", WINDOW))

    def test_the_writer_and_the_readers_example_conform(self):
        for name, description in self.descriptions():
            with self.subTest(name):
                checked(description)

    def test_each_departure_is_refused(self):
        for source, description in self.descriptions():
            for name, edit in DEPARTURES:
                with self.subTest(f"{source}: {name}"):
                    departed = copy.deepcopy(description)
                    edit(departed)
                    with self.assertRaises(jsonschema.ValidationError):
                        checked(departed)


if __name__ == "__main__":
    DESCRIBE_WINDOW = sys.argv[1:]
    unittest.main(argv=sys.argv[:1])
