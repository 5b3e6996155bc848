"""The table of bits computed in a browser: saturation_bits, the same C++ as every other
build's, compiled for the page and run in Chromium or WebKit, must give the table file's
checksum and, line for line, what the same WebAssembly wrote under node.

  bits_test.py chromium|webkit BITS_PAGE NODE_LINES"""
import pathlib
import sys

import browsers


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("chromium", "webkit"):
        sys.exit(__doc__)
    engine, page, node_lines = sys.argv[1], pathlib.Path(sys.argv[2]).resolve(), pathlib.Path(sys.argv[3])

    def run(driver):
        driver.get(page.as_uri())
        browser = browsers.Page(driver)
        browser.wait_for(lambda: browser.script("return !!window.bits"), "the table to be computed", 60)
        return browser.script("return window.bits")

    if engine == "webkit":
        with browsers.webkit() as driver:
            bits = run(driver)
    else:
        driver = browsers.chromium()
        try:
            bits = run(driver)
        finally:
            driver.quit()
    print(bits["printed"])
    failed = False
    if bits["status"] != 0:
        print(f"FAIL: saturation_bits ended with {bits['status']}:\n{bits['errors']}", file=sys.stderr)
        failed = True
    want = node_lines.read_text().splitlines()
    got = bits["lines"].splitlines()
    if got != want:
        first = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
        print(f"FAIL: {len(got)} lines, {len(want)} under node; first difference at line {first + 1}:\n"
              f"  browser: {got[first] if first < len(got) else '(none)'}\n"
              f"  node:    {want[first] if first < len(want) else '(none)'}", file=sys.stderr)
        failed = True
    if failed:
        sys.exit(1)
    print(f"{engine}: {len(got)} lines, the same bits as under node")


if __name__ == "__main__":
    main()
