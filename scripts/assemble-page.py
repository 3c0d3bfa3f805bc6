#!/usr/bin/env python3
"""Joins the page, its style, its script, the window's description (JSON) and
the WebAssembly module (already a single script with the wasm inside) into one
HTML file that needs nothing else.

Usage: assemble-page.py page.html page.css page.js description.json module.js out.html
"""
import json
import sys


def inline_script(text):
    # A script element ends at the first "</script", wherever it stands.
    return text.replace("</script", "<\\/script")


def main(argv):
    if len(argv) != 7:
        sys.exit(__doc__)
    html_path, css_path, js_path, description_path, module_path, out_path = argv[1:]
    with open(html_path, encoding="utf-8") as f:
        html = f.read()
    with open(css_path, encoding="utf-8") as f:
        css = f.read()
    with open(js_path, encoding="utf-8") as f:
        page = f.read()
    with open(module_path, encoding="utf-8") as f:
        module = f.read()
    with open(description_path, encoding="utf-8") as f:
        description = json.dumps(json.load(f), ensure_ascii=True)
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
        + inline_script(page)
        + "</script>"
    )
    html = html.replace("<!-- script -->", script)
    with open(out_path, "w", encoding="utf-8") as f:
        f.write(html)


if __name__ == "__main__":
    main(sys.argv)
