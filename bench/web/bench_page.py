#!/usr/bin/python3
"""The web edition's figures, in Debian's headless Chromium:

- the size of dosat.html, as it is and gzipped;
- ready to calculate: from the start of the page's navigation until the calculation
  window is drawn and the program runs (the later of the first contentful paint, the end
  of DOMContentLoaded and the program's own mark "dosat-ready"), for dosat.html and for
  floor.html beside it, a static page with the same 13 controls and no script, opened in
  turn ROUNDS times each after two unmeasured rounds; their medians, least times and ratio;
- a press of 「計算」: the click on the button until the result is in its box, in batches
  of 100 presses, the median of 20 batches.

usage: bench_page.py [PAGE_FOLDER_OR_ZIP [ROUNDS]]   (default: build/web/web, 20 rounds)
"""
import gzip
import pathlib
import statistics
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "web"))
import browsers  # noqa: E402

READY = """
var paint = performance.getEntriesByName('first-contentful-paint')[0];
var mark = performance.getEntriesByName('dosat-ready')[0];
var loaded = performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd;
if (!paint || !loaded) return null;
return Math.max(paint.startTime, loaded, mark ? mark.startTime : 0);
"""

PRESSES = """
var $ = id => document.getElementById(id);
$('ZEPALT-Text1').value = '20';
$('ZEPALT-Text2').value = '21000';
var batches = [];
for (var b = 0; b < 20; b++) {
  var start = performance.now();
  for (var i = 0; i < 100; i++) {
    $('ZEPALT-Text3').value = '';
    $('ZEPALT-Command1').click();
  }
  batches.push((performance.now() - start) / 100);
}
return [batches, $('ZEPALT-Text3').value];
"""


def ready(page, url):
    page.driver.get(url)
    page.wait_for(lambda: page.script(READY) is not None, "the page to be drawn")
    return page.script(READY)


def main():
    arguments = sys.argv[1:]
    source = arguments[0] if arguments else str(ROOT / "build" / "web" / "web")
    rounds = int(arguments[1]) if len(arguments) > 1 else 20
    with tempfile.TemporaryDirectory() as scratch:
        folder = browsers.page_folder(source, scratch)
        html = (folder / "dosat.html").read_bytes()
        print(f"dosat.html: {len(html):,} bytes, {len(gzip.compress(html, 9)):,} gzipped")
        dosat = (folder / "dosat.html").resolve().as_uri()
        floor = (pathlib.Path(__file__).parent / "floor.html").resolve().as_uri()
        driver = browsers.chromium()
        try:
            page = browsers.Page(driver)
            times = {dosat: [], floor: []}
            for round_ in range(rounds + 2):
                for url in (dosat, floor):
                    t = ready(page, url)
                    if round_ >= 2:
                        times[url].append(t)
            page.open(dosat)
            batches, result = page.script(PRESSES)
        finally:
            driver.quit()
    assert result == "7.01", result
    median = {url: statistics.median(t) for url, t in times.items()}
    print(f"ready to calculate, median of {rounds} (least):")
    print(f"  dosat.html  {median[dosat]:7.1f} ms ({min(times[dosat]):.1f})")
    print(f"  floor.html  {median[floor]:7.1f} ms ({min(times[floor]):.1f})")
    print(f"  dosat.html / floor.html: {median[dosat] / median[floor]:.2f}")
    print(f"a press of 「計算」: {statistics.median(batches) * 1000:.1f} µs (median of 20 batches of 100; "
          f"slowest batch {max(batches) * 1000:.1f} µs)")


if __name__ == "__main__":
    main()
