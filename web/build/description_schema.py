"""The window's description checked against its declared shape
(web/description.schema.json), so that a key the C++ writes and the build
and the page read cannot differ unnoticed."""

import json
from pathlib import Path

import jsonschema

SCHEMA = Path(__file__).resolve().parents[1] / "description.schema.json"


def schema():
    with open(SCHEMA, encoding="utf-8") as f:
        return json.load(f)


def checked(description):
    """The description itself; raises jsonschema.ValidationError where it
    departs from the schema."""
    loaded = schema()
    # Draft 2020-12, named here rather than by a $schema address in the file.
    jsonschema.Draft202012Validator(loaded).validate(description)
    return description
