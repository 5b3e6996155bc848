#!/usr/bin/python3
"""Takes the README's screenshots of the web edition in headless Chromium, into docs/:

  web-calculation-window.png, web-table-window.png   the two panels on a desktop
  web-phone-calculation-window.png, web-phone-table-window.png
                                                     the whole page on a 390 x 844 phone

usage: web_screenshots.py [PAGE_FOLDER_OR_ZIP]   (default: build/web/web)
"""
import pathlib
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "web"))
import browsers  # noqa: E402


def shoot(driver, url, phone):
    page = browsers.Page(driver)
    page.open(url)
    page.type("ZEPALT-Text1", "20")
    page.type("ZEPALT-Text2", "21000")
    page.press("ZEPALT-Command1")
    page.script("document.activeElement.blur()")
    driver.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": 1, "y": 1})
    prefix = "web-phone-" if phone else "web-"
    for window, name in (("ZEPALT", "calculation-window"), ("DOData", "table-window")):
        if window == "DOData":
            page.press("ZEPALT-Command3")
            page.script("document.activeElement.blur()")
        path = ROOT / "docs" / f"{prefix}{name}.png"
        if phone:
            driver.save_screenshot(str(path))
        else:
            page.element(window).screenshot(str(path))
        print("wrote", path.relative_to(ROOT))


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else str(ROOT / "build" / "web" / "web")
    with tempfile.TemporaryDirectory() as scratch:
        url = (browsers.page_folder(source, scratch) / "dosat.html").resolve().as_uri()
        for phone in (False, True):
            driver = browsers.chromium(mobile=(390, 844) if phone else None, ratio=2)
            try:
                shoot(driver, url, phone)
            finally:
                driver.quit()


if __name__ == "__main__":
    main()
