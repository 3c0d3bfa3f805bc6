#!/usr/bin/env python3
"""Joins the page, its style, its script (esbuild's bundle of web/page/, the
only script that runs), the window's description (JSON) and the WebAssembly
module's bytes (base64) into one HTML file that needs nothing else. The
window itself is written in from the description (window_markup.py), its
places as rules of the style sheet, so that it paints before any script
runs. The page's content security policy names the style and the script by
their SHA-256 hashes, written here where their final text is known.

Usage: assemble-page.py page.html page.css bundle.js description.json module.wasm out.html
"""
import base64
import hashlib
import json
import sys
from html import escape

from description_schema import checked
from window_markup import number, readable_width, window_css, window_html

# Markers in page.html's policy for the hashes of what is written inline.
SCRIPT_HASHES = "'script-hashes'"
STYLE_HASHES = "'style-hashes'"
# Where the window's caption goes: the title and the failure dialog's.
CAPTION = "<!-- caption -->"
# page.css's container queries' line between the two layouts.
READABLE_WIDTH = "READABLE_WIDTH"
# page.css's names for the frame's border and the window's largest scale.
FRAME_BORDER = "FRAME_BORDER"
LARGEST_SCALE = "LARGEST_SCALE"
# page.css's name for the frame's id, which the description gives.
WINDOW_ID = "WINDOW_ID"


def inline_script(text):
    # A script element ends at the first "</script", wherever it stands.
    return text.replace("</script", "<\\/script")


def source_hash(text):
    digest = hashlib.sha256(text.encode("utf-8")).digest()
    return "'sha256-" + base64.b64encode(digest).decode("ascii") + "'"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def replace_once(html, marker, text, where):
    if html.count(marker) != 1:
        sys.exit(f"{where}: expected one {marker}")
    return html.replace(marker, text)


def main(argv):
    if len(argv) != 7:
        sys.exit(__doc__)
    html_path, css_path, bundle_path, description_path, wasm_path, out_path = argv[1:]
    html = read(html_path)
    window = checked(json.loads(read(description_path)))
    css = read(css_path).replace(READABLE_WIDTH, readable_width(window))
    css = css.replace(WINDOW_ID, window["name"])
    css = css.replace(FRAME_BORDER, number(window["frameBorderPixels"]) + "px")
    css = css.replace(LARGEST_SCALE, number(window["largestScale"]))
    style = "\n" + css + window_css(window)
    script = "\n" + inline_script(read(bundle_path))
    description = json.dumps(window, ensure_ascii=True)
    with open(wasm_path, "rb") as f:
        wasm = base64.b64encode(f.read()).decode("ascii")
    html = replace_once(html, SCRIPT_HASHES, source_hash(script), html_path)
    html = replace_once(html, STYLE_HASHES, source_hash(style), html_path)
    html = replace_once(html, "<!-- style -->", "<style>" + style + "</style>", html_path)
    html = replace_once(html, "<!-- window -->", window_html(window), html_path)
    if html.count(CAPTION) != 2:
        sys.exit(f"{html_path}: expected {CAPTION} in the title and the failure dialog")
    html = html.replace(CAPTION, escape(window["caption"]))
    # Data blocks, read by the script and never run: the policy has no say in them.
    # The script stands before the module's bytes: the window is laid out
    # first, and the parser is through (and the window painted) before the
    # module's start-up runs rather than after it.
    parts = (
        '<script type="application/json" id="WindowDescription">'
        + inline_script(description)
        + "</script>\n<script>"
        + script
        + "</script>\n"
        + '<script type="application/octet-stream" id="ModuleBytes">'
        + wasm
        + "</script>"
    )
    html = replace_once(html, "<!-- script -->", parts, html_path)
    with open(out_path, "w", encoding="utf-8") as f:
        f.write(html)


if __name__ == "__main__":
    main(sys.argv)
