"""What only Chromium's driver can try on the web edition: a decimal-comma language,
full-width digits committed by an input method, what screen readers read (the
accessibility tree), a phone's viewport with touch, the page zoomed to 200 %, that the page
makes no request and keeps nothing, and the service worker that opens the installed web app offline.

  chromium_test.py PAGE

PAGE: the release's zip (dosat-VERSION-web.zip) or a folder holding dosat.html."""
import csv
import functools
import http.server
import json
import pathlib
import sys
import tempfile
import threading
import unittest

import browsers

FOLDER = None
URL = None
TABLE_CSV = pathlib.Path(__file__).resolve().parents[2] / "assets" / "do-table.csv"


def calculate(page, temperature, chloride):
    page.type("ZEPALT-Text1", temperature)
    page.type("ZEPALT-Text2", chloride)
    page.press("ZEPALT-Command1")
    return page.text("ZEPALT-Text3")


class Browser(unittest.TestCase):
    """One Chromium for the class's cases, made by `options`."""
    options = {}

    @classmethod
    def setUpClass(cls):
        cls.driver = browsers.chromium(**cls.options)
        cls.page = browsers.Page(cls.driver)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)


class DecimalComma(Browser):
    options = {"language": "de-DE"}

    def test_numbers_in_the_browsers_language(self):
        page = self.page
        page.open(URL)
        self.assertEqual(page.script("return navigator.language"), "de-DE")
        self.assertEqual(calculate(page, "20,0", "21.000"), "7,01")
        self.assertEqual(calculate(page, "0", "0"), "14,15")
        calculate(page, "21.5", "0")
        self.assertEqual(page.message(), "水温を数値で入力してください。\n小数点は「,」です（例: 20,5）。")
        page.dismiss_message()
        self.assertEqual(page.focused(), "ZEPALT-Text1")


class InputMethod(Browser):
    def test_full_width_digits_as_an_input_method_commits_them(self):
        page = self.page
        page.open(URL)
        for name, text in (("ZEPALT-Text1", "２０"), ("ZEPALT-Text2", "２１，０００")):
            page.script("document.getElementById(arguments[0]).focus()", name)
            # Composed first, then committed, as a Japanese input method does.
            self.cdp("Input.imeSetComposition", text=text, selectionStart=len(text), selectionEnd=len(text))
            self.cdp("Input.insertText", text=text)
            self.assertEqual(page.text(name), text)
        page.press("ZEPALT-Command1")
        self.assertEqual(page.text("ZEPALT-Text3"), "7.01")


class ScreenReaders(Browser):
    def nodes(self):
        tree = self.cdp("Accessibility.getFullAXTree")["nodes"]
        return [n for n in tree if not n.get("ignored")]

    @staticmethod
    def value(node, key):
        return (node.get(key) or {}).get("value")

    def test_boxes_are_named_by_their_labels(self):
        self.page.open(URL)
        boxes = [(self.value(n, "name"), self.value(n, "description"))
                 for n in self.nodes() if self.value(n, "role") == "textbox"]
        self.assertEqual(boxes, [("水温(℃)", "( 0～35℃ )"), ("塩素イオン濃度(mg/L)", "(海水標準=21000mg/L)"),
                                 ("飽和溶存酸素濃度(mg/L)", None)])

    def test_the_table_is_read_as_a_table(self):
        page = self.page
        page.open(URL)
        page.press("ZEPALT-Command3")
        nodes = self.nodes()
        by_id = {n["nodeId"]: n for n in nodes}
        (table,) = [n for n in nodes if self.value(n, "role") == "table"]
        self.assertEqual(self.value(table, "name"), "水中の飽和溶存酸素量")
        self.assertTrue(self.value(table, "description").startswith("JIS K0102 の水中の飽和溶存酸素量"),
                        self.value(table, "description"))
        rows = [by_id[i] for i in table.get("childIds", []) if i in by_id]
        read = []
        for row in rows:
            self.assertEqual(self.value(row, "role"), "row")
            cells = [by_id[i] for i in row.get("childIds", []) if i in by_id]
            read.append([(self.value(c, "role"), self.value(c, "name")) for c in cells])
        with open(TABLE_CSV, newline="") as file:
            numbers = list(csv.reader(file))[1:]
        headings = ["温度(℃)", "0", "5000", "10000", "15000", "20000", "100 mgCl/ℓごとに減ずべき溶存酸素量"]
        self.assertEqual(read[0], [("columnheader", h) for h in headings])
        self.assertEqual(len(read), 37)
        for line, row in zip(read[1:], numbers):
            self.assertEqual(line, [("rowheader", row[0])] + [("cell", n) for n in row[1:]])


class Phone(Browser):
    options = {"mobile": (390, 844)}

    def tap(self, name):
        box = self.page.box(name)
        point = {"x": box["x"] + box["width"] / 2, "y": box["y"] + box["height"] / 2}
        self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[point])
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def assert_wholly_visible(self, window):
        page = self.page
        box = page.box(window)
        width = page.script("return document.documentElement.clientWidth")
        self.assertGreaterEqual(box["left"], 0, window)
        self.assertLessEqual(box["right"], width, window)
        self.assertLessEqual(page.script("return document.documentElement.scrollWidth"), width,
                             "no sideways scrolling")
        self.assertLessEqual(box["bottom"], page.script("return innerHeight"), window)

    def test_both_windows_fit_and_work_by_touch(self):
        page = self.page
        page.open(URL)
        self.assertEqual(page.script("return innerWidth"), 390)
        self.assert_wholly_visible("ZEPALT")
        page.type("ZEPALT-Text1", "20")
        page.type("ZEPALT-Text2", "21000")
        self.tap("ZEPALT-Command1")
        self.assertEqual(page.text("ZEPALT-Text3"), "7.01")
        self.tap("ZEPALT-Command3")
        page.wait_for(lambda: page.shown() == "DOData", "the table window")
        self.assert_wholly_visible("DOData")
        # 「戻る」, drawn smaller with its window, still takes a finger's touch.
        back = page.box("DOData-Command1")
        for dx, dy in ((0, -1), (0, 1)):
            x = back["x"] + back["width"] / 2
            y = back["y"] + back["height"] / 2 + dy * 12
            self.assertEqual(page.script("return document.elementFromPoint(arguments[0], arguments[1]).id", x, y),
                             "DOData-Command1")
        # Pinched to twice the size, the table is drawn again at the pixels it then covers.
        width = lambda: page.script("return document.querySelector('#DOData-Picture1 canvas').width")
        drawn = width()
        self.cdp("Emulation.setPageScaleFactor", pageScaleFactor=2)
        page.wait_for(lambda: width() > 1.9 * drawn, "the table drawn for the pinch zoom")
        self.cdp("Emulation.setPageScaleFactor", pageScaleFactor=1)
        self.tap("DOData-Command1")
        page.wait_for(lambda: page.shown() == "ZEPALT", "the calculation window")
        self.assertEqual(page.text("ZEPALT-Text3"), "7.01")


class Zoom(Browser):
    def test_at_200_percent_the_table_is_drawn_at_the_devices_pixels(self):
        page = self.page
        # A 1280 x 900 window zoomed to 200 %: half as many CSS pixels, each two device pixels.
        self.cdp("Emulation.setDeviceMetricsOverride", width=640, height=450, deviceScaleFactor=2, mobile=False)
        try:
            page.open(URL)
            page.press("ZEPALT-Command3")
            canvas = page.script("var c = document.querySelector('#DOData-Picture1 canvas');"
                                 "return [c.width, c.height, c.getBoundingClientRect().width]")
            shown = canvas[2]
            self.assertEqual(canvas[0], round(shown * 2))
            box = page.box("DOData")
            self.assertGreaterEqual(box["left"], 0)
            self.assertLessEqual(box["right"], 640)
            self.assertGreaterEqual(box["top"], 0, "the title bar stays on the page")
        finally:
            self.cdp("Emulation.clearDeviceMetricsOverride")


class NothingOutside(Browser):
    options = {"log_requests": True}

    def test_the_page_asks_for_nothing_and_keeps_nothing(self):
        page = self.page
        page.open(URL)
        self.assertEqual(calculate(page, "20", "21000"), "7.01")
        page.press("ZEPALT-Command3")
        page.press("DOData-Command1")
        calculate(page, "x", "1")
        page.dismiss_message()
        log = [json.loads(entry["message"])["message"] for entry in self.driver.get_log("performance")]
        requested = [m["params"]["request"]["url"] for m in log if m["method"] == "Network.requestWillBeSent"]
        # The icon is a data: URL, read from the page's own text.
        self.assertEqual([url for url in requested if not url.startswith("data:")], [URL],
                         "the page itself and nothing else")
        # Nor keeps anything.
        kept = page.script("return indexedDB.databases().then(databases => [document.cookie, localStorage.length,"
                           " sessionStorage.length, databases.length])")
        self.assertEqual(kept, ["", 0, 0, 0], "cookies, local and session storage, databases")
        messages = [e["message"] for e in self.driver.get_log("browser")]
        self.assertEqual([m for m in messages if "Content Security Policy" in m or "Refused" in m], [])


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    high, low = sorted((luminance(a), luminance(b)), reverse=True)
    return (high + 0.05) / (low + 0.05)


class Colours(Browser):
    COLOURED = ("ZEPALT-Label5", "ZEPALT-Label6", "ZEPALT-Text3")
    READ = """return arguments[0].map(id => {
      var e = document.getElementById(id);
      var under = e.tagName === 'INPUT' ? e : e.closest('.client');
      return [getComputedStyle(e).color, getComputedStyle(under).backgroundColor]
        .map(c => c.match(/[\\d.]+/g).slice(0, 3).map(Number));
    })"""

    def colours(self):
        return self.page.script(self.READ, list(self.COLOURED))

    def emulate(self, **features):
        self.cdp("Emulation.setEmulatedMedia",
                 features=[{"name": name.replace("_", "-"), "value": value} for name, value in features.items()])

    def test_designed_colours_and_the_contrast_rule_elsewhere(self):
        page = self.page
        self.emulate(prefers_color_scheme="light", forced_colors="none")
        page.open(URL)
        self.assertEqual([text for text, _ in self.colours()], [[0, 128, 0], [0, 128, 0], [255, 0, 255]])
        # Turned dark while the program runs: each text the nearest shade of its hue that reads.
        self.emulate(prefers_color_scheme="dark", forced_colors="none")
        page.wait_for(lambda: self.colours()[0][0] != [0, 128, 0], "the colours of the dark scheme")
        for name, (text, background) in zip(self.COLOURED, self.colours()):
            self.assertGreaterEqual(ratio(text, background), 4.5, name)
            self.assertLess(luminance(background), 0.2, name)
        green, _ = self.colours()[0]
        self.assertTrue(green[1] > green[0] and green[1] > green[2], f"still green: {green}")
        # Forced colours: the browser's text colour, whatever was designed.
        self.emulate(prefers_color_scheme="dark", forced_colors="active")
        page.wait_for(lambda: len({tuple(t) for t, _ in self.colours()}) == 1, "one text colour")
        self.emulate()


class InstalledWebApp(Browser):
    def test_after_one_visit_the_page_opens_offline(self):
        page = self.page
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=FOLDER))
        thread = threading.Thread(target=server.serve_forever, daemon=True)
        thread.start()
        url = f"http://127.0.0.1:{server.server_address[1]}/dosat.html"
        try:
            page.open(url)
            page.wait_for(lambda: page.script("return !!navigator.serviceWorker.controller"),
                          "the service worker to take the page over")
            self.assertEqual(page.script("return document.querySelector('link[rel=manifest]').href"),
                             url.replace("dosat.html", "manifest.webmanifest"))
        finally:
            server.shutdown()
            server.server_close()
        # The server is gone: the page comes from the service worker's cache.
        page.open(url)
        self.assertEqual(calculate(page, "20", "21000"), "7.01")


def main():
    global FOLDER, URL
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as scratch:
        FOLDER = browsers.page_folder(sys.argv[1], scratch).resolve()
        URL = (FOLDER / "dosat.html").as_uri()
        program = unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[2:], exit=False)
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
