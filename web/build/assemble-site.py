#!/usr/bin/env python3
"""Writes the site: the one-file page as index.html with the manifest, the
icons' links and the service worker's registration in its head, and a content
security policy that also runs the head's script (by its hash) and lets the
page's own origin give it the manifest, the worker, the icons and the
WebAssembly module; the module's bytes, taken out of the page into a file of
their own that the head has the browser fetch at once (a page a tenth the
size paints sooner, and the module compiles as it downloads); the
manifest, the icon drawing and the worker, whose cache is named after a hash
of everything it keeps. The PNG icons are already in the site's folder.

Usage: assemble-site.py page.html head.html manifest.webmanifest sw.js icon.svg site-folder
"""
import base64
import hashlib
import html.parser
import json
import re
import shutil
import sys
from pathlib import Path

SITE_ALLOWANCES = (
    "manifest-src 'self'",
    "worker-src 'self'",
    "img-src 'self'",
    "connect-src 'self'",
)
CSP_META = re.compile(
    r'<meta\s+http-equiv="Content-Security-Policy"\s+content="([^"]*)"\s*/?>', re.IGNORECASE
)


INLINE_SCRIPT = re.compile(r"<script>(.*?)</script>", re.DOTALL)
# The one-file page's module bytes, and the file they become. The page's
# script compiles the file that the element ModuleFile names where there is one.
MODULE_BYTES = re.compile(
    r'\n?<script type="application/octet-stream" id="ModuleBytes">([A-Za-z0-9+/=]*)</script>'
)
MODULE_FILE = "tolvex_module.wasm"
MODULE_LINK = f'\n<link rel="preload" id="ModuleFile" href="{MODULE_FILE}" as="fetch" crossorigin>'


def source_hash(text):
    digest = hashlib.sha256(text.encode("utf-8")).digest()
    return "'sha256-" + base64.b64encode(digest).decode("ascii") + "'"


def site_policy(page_policy, head_scripts):
    directives = [d.strip() for d in page_policy.split(";") if d.strip()]
    names = [d.split()[0] for d in directives]
    for allowance in SITE_ALLOWANCES:
        if allowance.split()[0] in names:
            sys.exit(f"the page's policy already has {allowance.split()[0]}")
    if "script-src" not in names:
        sys.exit("the page's policy has no script-src")
    scripts = names.index("script-src")
    directives[scripts] = " ".join([directives[scripts]] + [source_hash(s) for s in head_scripts])
    return "; ".join(directives + list(SITE_ALLOWANCES))


def site_page(page, head):
    """The site's index.html, and the module's bytes it no longer carries."""
    policies = CSP_META.findall(page)
    if len(policies) != 1 or page.count("</head>") != 1:
        sys.exit("the page needs one Content-Security-Policy meta element and one </head>")
    modules = MODULE_BYTES.findall(page)
    if len(modules) != 1:
        sys.exit("the page needs one module bytes block (base64)")
    policy = site_policy(policies[0], INLINE_SCRIPT.findall(head))
    meta = f'<meta http-equiv="Content-Security-Policy" content="{policy}">'
    # The module's download starts as soon as the policy allows it, before
    # the style sheet is read.
    page = CSP_META.sub(lambda _: meta + MODULE_LINK, page)
    page = MODULE_BYTES.sub("", page)
    page = page.replace("</head>", head + "</head>")
    return page, base64.b64decode(modules[0], validate=True)


class IconLinks(html.parser.HTMLParser):
    """The files that the head's link elements name."""

    def __init__(self):
        super().__init__()
        self.files = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "link" and attrs.get("rel") in ("icon", "apple-touch-icon", "manifest"):
            self.files.append(attrs["href"])


def kept_files(head, manifest):
    links = IconLinks()
    links.feed(head)
    icons = [icon["src"] for icon in json.loads(manifest)["icons"]]
    return sorted(set(["index.html", MODULE_FILE] + links.files + icons))


def build_name(site, files, worker):
    digest = hashlib.sha256(worker.encode("utf-8"))
    for name in files:
        path = site / name
        if not path.is_file():
            sys.exit(f"{path}: named by the page or the manifest but not built")
        digest.update(name.encode("utf-8") + b"\0" + path.read_bytes())
    return digest.hexdigest()[:16]


def site_worker(worker, build, files):
    for line, value in (('const kBuild = "build";', build), ("const kFiles = [];", files)):
        if worker.count(line) != 1:
            sys.exit(f"the worker needs the line {line}")
        worker = worker.replace(line, line.split("=")[0] + "= " + json.dumps(value) + ";")
    return worker


def main(argv):
    if len(argv) != 7:
        sys.exit(__doc__)
    page_path, head_path, manifest_path, worker_path, svg_path, site_folder = argv[1:]
    site = Path(site_folder)
    site.mkdir(parents=True, exist_ok=True)
    head = Path(head_path).read_text(encoding="utf-8")
    manifest = Path(manifest_path).read_text(encoding="utf-8")
    worker = Path(worker_path).read_text(encoding="utf-8")
    page = Path(page_path).read_text(encoding="utf-8")
    index, module = site_page(page, head)
    (site / "index.html").write_text(index, encoding="utf-8")
    (site / MODULE_FILE).write_bytes(module)
    (site / "manifest.webmanifest").write_text(manifest, encoding="utf-8")
    shutil.copyfile(svg_path, site / "icon.svg")
    files = kept_files(head, manifest)
    (site / "sw.js").write_text(
        site_worker(worker, build_name(site, files, worker), files), encoding="utf-8"
    )


if __name__ == "__main__":
    main(sys.argv)
