#!/usr/bin/env python3
"""Joins the page, its style, the parts of its script (in order, into one
function scope), the window's description (JSON) and the WebAssembly module
(already a single script with the wasm inside) into one HTML file that needs
nothing else.

Usage: assemble-page.py page.html page.css part.js... description.json module.js out.html
"""
import json
import os
import sys


def inline_script(text):
    # A script element ends at the first "</script", wherever it stands.
    return text.replace("</script", "<\\/script")


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def joined_script(part_paths):
    # The parts share one scope, apart from the page's globals.
    parts = [f"// ---- {os.path.basename(path)}\n{read(path)}" for path in part_paths]
    return '(function () {\n"use strict";\n' + "\n".join(parts) + "})();\n"


def main(argv):
    if len(argv) < 7:
        sys.exit(__doc__)
    html_path, css_path = argv[1:3]
    part_paths = argv[3:-3]
    description_path, module_path, out_path = argv[-3:]
    html = read(html_path)
    css = read(css_path)
    module = read(module_path)
    description = json.dumps(json.loads(read(description_path)), ensure_ascii=True)
    for marker in ("<!-- style -->", "<!-- script -->"):
        if html.count(marker) != 1:
            sys.exit(f"{html_path}: expected one {marker}")
    html = html.replace("<!-- style -->", "<style>\n" + css + "</style>")
    script = (
        '<script type="application/json" id="WindowDescription">'
        + inline_script(description)
        + "</script>\n<script>\n"
        + inline_script(module)
        + "\n"
        + inline_script(joined_script(part_paths))
        + "</script>"
    )
    html = html.replace("<!-- script -->", script)
    with open(out_path, "w", encoding="utf-8") as f:
        f.write(html)


if __name__ == "__main__":
    main(sys.argv)
