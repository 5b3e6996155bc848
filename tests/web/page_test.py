"""The calculation and table windows of the web edition as the desktop builds' acceptance
cases try them, in one browser engine:

  page_test.py chromium|webkit PAGE

PAGE: the release's zip (dosat-VERSION-web.zip) or a folder holding dosat.html. The page
is opened as a file, as a user double-clicks it."""
import sys
import tempfile
import unittest

from selenium.webdriver.common.keys import Keys

import browsers

ENGINE = None
URL = None


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if ENGINE == "webkit":
            cls.session = browsers.webkit()
            cls.driver = cls.session.__enter__()
        else:
            cls.session = None
            cls.driver = browsers.chromium()
        cls.page = browsers.Page(cls.driver)

    @classmethod
    def tearDownClass(cls):
        if cls.session:
            cls.session.__exit__(None, None, None)
        else:
            cls.driver.quit()

    def setUp(self):
        self.page.open(URL)

    def test_values_and_clear(self):
        page = self.page
        for temperature, chloride, result in [("20", "21000", "7.01"), ("0", "0", "14.15"),
                                              ("35", "21000", "5.48"), ("２０", "21,000", "7.01")]:
            page.type("ZEPALT-Text1", temperature)
            page.type("ZEPALT-Text2", chloride)
            page.press("ZEPALT-Command1")
            self.assertEqual(page.text("ZEPALT-Text3"), result, (temperature, chloride))
        page.press("ZEPALT-Command2")
        self.assertEqual([page.text(f"ZEPALT-Text{i}") for i in (1, 2, 3)], ["", "", ""])

    def test_empty_box_gives_no_result(self):
        page = self.page
        page.type("ZEPALT-Text1", "20")
        page.type("ZEPALT-Text2", "21000")
        page.press("ZEPALT-Command1")
        page.type("ZEPALT-Text2", "")
        page.type("ZEPALT-Text1", "30")
        page.press("ZEPALT-Command1")
        self.assertEqual(page.text("ZEPALT-Text3"), "7.01")
        self.assertIsNone(page.message())

    def test_bad_text_gets_the_message_and_keeps_what_was_typed(self):
        page = self.page
        page.type("ZEPALT-Text1", "20")
        page.type("ZEPALT-Text2", "21000mg")
        page.press("ZEPALT-Command1")
        self.assertEqual(page.message(), "塩素イオン濃度を数値で入力してください。\n小数点は「.」です（例: 20.5）。")
        page.dismiss_message()
        self.assertEqual(page.focused(), "ZEPALT-Text2")
        self.assertEqual(page.selection("ZEPALT-Text2"), [0, 7, 7])
        self.assertEqual([page.text("ZEPALT-Text1"), page.text("ZEPALT-Text2"), page.text("ZEPALT-Text3")],
                         ["20", "21000mg", ""])

    def test_enter_and_escape_press_nothing(self):
        page = self.page
        page.type("ZEPALT-Text1", "20")
        page.type("ZEPALT-Text2", "21000")
        for name in ("ZEPALT-Text2", "ZEPALT-Command1", "ZEPALT-Command3"):
            page.script("document.getElementById(arguments[0]).focus()", name)
            page.keys(Keys.ENTER)
            page.keys(Keys.ESCAPE)
            self.assertEqual(page.text("ZEPALT-Text3"), "", name)
            self.assertEqual(page.shown(), "ZEPALT", name)
        # Space still presses the button that has the focus.
        page.script("document.getElementById('ZEPALT-Command1').focus()")
        page.keys(Keys.SPACE)
        self.assertEqual(page.text("ZEPALT-Text3"), "7.01")

    def test_tab_visits_the_designed_order(self):
        page = self.page
        self.assertEqual(page.focused(), "ZEPALT-Text1")
        order = ["ZEPALT-Text2", "ZEPALT-Command1", "ZEPALT-Command2", "ZEPALT-Text3", "ZEPALT-Command3"]
        for name in order:
            page.keys(Keys.TAB)
            self.assertEqual(page.focused(), name)
        for name in reversed(["ZEPALT-Text1"] + order[:-1]):
            page.keys(Keys.TAB, shift=True)
            self.assertEqual(page.focused(), name)

    def test_table_and_back_keep_the_boxes(self):
        page = self.page
        page.type("ZEPALT-Text1", "20")
        page.type("ZEPALT-Text2", "21000")
        page.press("ZEPALT-Command1")
        page.press("ZEPALT-Command3")
        self.assertEqual(page.shown(), "DOData")
        self.assertEqual(self.driver.title, "DO(JIS K0102)")
        self.assertEqual(page.script("return document.querySelector('#DOData-Picture1 canvas').width > 0"), True)
        page.press("DOData-Command1")
        self.assertEqual(page.shown(), "ZEPALT")
        self.assertEqual([page.text(f"ZEPALT-Text{i}") for i in (1, 2, 3)], ["20", "21000", "7.01"])
        self.assertEqual(page.focused(), "ZEPALT-Command3")
        # Once more: the table window is shown again as it was.
        page.press("ZEPALT-Command3")
        self.assertEqual(page.shown(), "DOData")

    def test_browser_back_returns_from_the_table(self):
        page = self.page
        page.type("ZEPALT-Text1", "20")
        page.press("ZEPALT-Command3")
        page.wait_for(lambda: page.shown() == "DOData", "the table window")
        self.driver.back()
        page.wait_for(lambda: page.shown() == "ZEPALT", "the calculation window after Back")
        self.assertEqual(page.text("ZEPALT-Text1"), "20")
        self.driver.forward()
        page.wait_for(lambda: page.shown() == "DOData", "the table window after Forward")
        # 「戻る」 steps back through the history too: Back then leaves nothing to return to.
        page.press("DOData-Command1")
        page.wait_for(lambda: page.script("return history.state && history.state.window") == "ZEPALT",
                      "the calculation window's entry")
        self.assertEqual(page.shown(), "ZEPALT")


    def test_a_window_narrower_than_the_table_draws_it_smaller(self):
        page = self.page
        size = self.driver.get_window_size()
        self.driver.set_window_size(460, 900)
        try:
            page.press("ZEPALT-Command3")
            page.wait_for(lambda: page.box("DOData")["right"] <=
                          page.script("return document.documentElement.clientWidth"), "the table window to fit")
            width = page.script("return document.documentElement.clientWidth")
            self.assertLess(width, 497, "the viewport is narrower than the table window")
            self.assertGreaterEqual(page.box("DOData")["left"], 0)
            self.assertLessEqual(page.script("return document.documentElement.scrollWidth"), width)
            page.press("DOData-Command1")
            self.assertEqual(page.shown(), "ZEPALT")
        finally:
            self.driver.set_window_size(size["width"], size["height"])


def main():
    global ENGINE, URL
    if len(sys.argv) < 3 or sys.argv[1] not in ("chromium", "webkit"):
        sys.exit(__doc__)
    ENGINE = sys.argv[1]
    with tempfile.TemporaryDirectory() as scratch:
        URL = (browsers.page_folder(sys.argv[2], scratch) / "dosat.html").resolve().as_uri()
        program = unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[3:], exit=False)
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
