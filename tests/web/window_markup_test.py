#!/usr/bin/env python3
"""The window's markup, written at build time: the column's places and the
elements with their start-up texts, on a window in the shape of Tolvex's."""
import sys
import unittest
from html.parser import HTMLParser
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "web" / "build"))
from window_markup import column_places, readable_width, window_css, window_html  # noqa: E402


def control(name, kind, left, top, **extra):
    return {"name": name, "kind": kind, "left": left, "top": top, "width": 100, "height": 20,
            "labelFor": "", "text": name, "alignment": "left", "color": None,
            "accessibleName": "", "role": "plain", "tabIndex": 0, **extra}  # fmt: skip


# A label and its box with a unit list beside it, and a button, left of a
# line; a label and its box right of it; a wide box below both.
LINE = control("Line", "line", 400, 0, width=1, height=400)
WINDOW = {
    "name": "W", "caption": "A <b> & C", "clientWidth": 900, "clientHeight": 600,
    "twipsPerPixel": 15, "captionFontPoints": [10, 9.5], "paintedCaptionPoints": 6.5,
    "readablePixels": 12, "frameBorderPixels": 1, "largestScale": 3, "units": ["nH", "uH"],
    "fields": [{"name": "Box", "kind": "singleLine"}, {"name": "Units", "kind": "unitList"}],
    "actions": [{"button": "Button", "caption": "Button"}],
    "defaultButton": "Button", "focusOrder": ["Box", "Units", "Button", "Wide", "RightBox"],
    "startUp": {"changes": [{"field": "Box", "text": "2\"0"},
                            {"field": "Units", "text": "uH", "listIndex": 1}], "failure": ""},
    "controls": [control("Wide", "multiLineTextBox", 0, 500), control("Units", "unitList", 300, 10),
                 control("Box", "textBox", 150, 10),
                 control("BoxLabel", "label", 0, 12, labelFor="Box", color=[0, 128, 0]),
                 control("Button", "pushButton", 0, 100), LINE,
                 control("RightBox", "textBox", 550, 50, accessibleName="Right"),
                 control("RightLabel", "label", 450, 50, labelFor="RightBox"),
                 control("Caption", "label", 450, 10, role="equation")],
}  # fmt: skip


class Elements(HTMLParser):
    """Each id's tag, attributes and text, in document order."""

    def __init__(self):
        super().__init__()
        self.found, self.open = {}, []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.found[attrs["id"]] = [tag, attrs, ""]
            if tag != "input":
                self.open.append(attrs["id"])

    def handle_endtag(self, tag):
        if self.open and self.found[self.open[-1]][0] == tag:
            self.open.pop()

    def handle_data(self, data):
        if self.open:
            self.found[self.open[-1]][2] += data


class ColumnTest(unittest.TestCase):
    def test_left_half_right_half_then_what_lies_below(self):
        places, rows = column_places(WINDOW)
        self.assertEqual(sorted(f"{r} {c} {n}" for n, (r, c) in places.items()),
                         ["1 1 BoxLabel", "1 2 Box", "1 3 Units", "2 1 / -1 Button",
                          "3 1 / -1 Line", "4 1 / -1 Caption", "5 1 RightLabel",
                          "5 2 / -1 RightBox", "6 1 / -1 Wide"])  # fmt: skip
        self.assertEqual(rows, 6)
        # A unit list beside an unlabelled box on its line shares the row; a line lower it does not.
        for top, columns in ((10, ["1 / 3", "3"]), (40, ["1 / -1", "1 / -1"])):
            window = {"controls": [control("Box", "textBox", 0, 10),
                                   control("Units", "unitList", 150, top), LINE]}  # fmt: skip
            placed, _ = column_places(window)
            self.assertEqual([placed[n][1] for n in ("Box", "Units")], columns, top)


class MarkupTest(unittest.TestCase):
    def test_every_control_in_tab_order_with_its_start_up_text(self):
        parsed = Elements()
        parsed.feed(window_html(WINDOW))
        found = parsed.found
        order = ["W", "Box", "UnitsBox", "Units", "UnitsOptions", "UnitsOption0", "UnitsOption1"]
        self.assertEqual(list(found)[:8], order + ["Button"])
        rows = [  # id, tag, attribute, value or text
            ("W", "main", "aria-label", "A <b> & C"), ("Box", "input", "value", '2"0'),
            ("Box", "input", "autofocus", None), ("Units", "input", "value", "uH"),
            ("UnitsOption1", "li", "aria-selected", "true"),
            ("UnitsOption0", "li", "aria-selected", "false"), ("Wide", "textarea", "", ""),
            ("Button", "button", "class", "default"), ("BoxLabel", "label", "for", "Box"),
            ("RightBox", "input", "aria-label", "Right"), ("Caption", "div", "", "Caption"),
            ("Line", "div", "role", "separator"),
            ("Caption", "div", "class", "label left equation"),
            ("RightLabel", "label", "class", "label left"),
        ]  # fmt: skip
        for name, tag, key, expected in rows:
            seen_tag, attrs, text = found[name]
            self.assertEqual(seen_tag, tag, name)
            self.assertEqual(attrs.get(key) if key else text, expected, name)
        self.assertNotIn("style=", window_html(WINDOW))

    def test_places_in_the_style_sheet(self):
        css = window_css(WINDOW).splitlines()
        frame = "--rows-above-last:5;--caption-font:6.5pt;--readable-scale:1.3846153846153848"
        self.assertEqual(css[0], "#W{--client-width:60px;--client-height:40px;" + frame + "}")
        # 60 px and the border at 12 px for 6.5 pt captions' 8.67 px.
        self.assertEqual(readable_width(WINDOW), "85.84615384615385px")
        box = "--left:20px;--top:0.6666666666666666px;--width:6.666666666666667px"
        self.assertIn(f"#UnitsBox{{{box};--height:1.3333333333333333px;--row:1;--column:3}}", css)
        self.assertIn("#BoxLabel{color:rgb(0, 128, 0)}", css)
        self.assertEqual(len(css), 1 + len(WINDOW["controls"]) + 1)


if __name__ == "__main__":
    unittest.main()
