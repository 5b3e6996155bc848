#!/usr/bin/python3
"""Puts the web edition together in one folder:

  dosat.html            the page: its styles, its script, the WebAssembly and the icon inlined,
                        under a Content-Security-Policy that allows the page no request
  manifest.webmanifest  the installable web app's description, read only when served
  sw.js                 its service worker, which caches the folder's files
  dosat-192.png, dosat-512.png  the app's icons

The same inputs give the same bytes.

usage: make-page.py --module dosat_module.js --page PAGE_DIR --assets ASSETS_DIR --out OUT_DIR
"""
import argparse
import base64
import hashlib
import pathlib
import re
import shutil
import sys


def csp_hash(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


def fill(template, values):
    """Each @NAME@ of the template replaced by its value, in one pass."""
    def value(match):
        if match.group(1) not in values:
            sys.exit(f"make-page.py: no value for @{match.group(1)}@")
        return values[match.group(1)]
    return re.sub(r"@([A-Z]+)@", value, template)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--module", type=pathlib.Path, required=True, help="Emscripten's script; its .wasm beside it")
    parser.add_argument("--page", type=pathlib.Path, required=True)
    parser.add_argument("--assets", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    args = parser.parse_args()

    wasm = args.module.with_suffix(".wasm").read_bytes()
    icon = "data:image/png;base64," + base64.b64encode((args.assets / "dosat-32.png").read_bytes()).decode()
    start = fill((args.page / "start.js").read_text(), {"WASM": base64.b64encode(wasm).decode()})
    script = args.module.read_text().strip() + "\n" + start
    style = fill((args.page / "dosat.css").read_text(), {"ICON": icon})
    for name, text in (("script", script), ("style", style)):
        if re.search(f"</{name}", text, re.IGNORECASE):
            sys.exit(f"make-page.py: the {name} would end its element early")
    # The page may run only its own script and styles and compile its own WebAssembly. It
    # loads nothing: no script, style, font, image or connection, but the two files of the
    # installed web app, which a page opened as a file never asks for.
    csp = "; ".join([
        "default-src 'none'",
        f"script-src {csp_hash(script)} 'wasm-unsafe-eval'",
        f"style-src {csp_hash(style)}",
        "img-src data:",
        "manifest-src 'self'",
        "worker-src 'self'",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    page = fill((args.page / "dosat.html").read_text(),
                {"CSP": csp, "ICON": icon, "STYLE": style, "SCRIPT": script})

    args.out.mkdir(parents=True, exist_ok=True)
    (args.out / "dosat.html").write_text(page)
    # A new page is a new cache: the service worker then replaces the old one.
    cache = "dosat-" + hashlib.sha256(page.encode()).hexdigest()[:16]
    (args.out / "sw.js").write_text(fill((args.page / "sw.js").read_text(), {"CACHE": cache}))
    shutil.copyfile(args.page / "manifest.webmanifest", args.out / "manifest.webmanifest")
    for size in (192, 512):
        shutil.copyfile(args.assets / f"dosat-{size}.png", args.out / f"dosat-{size}.png")


if __name__ == "__main__":
    main()
