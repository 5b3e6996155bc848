"""What the web edition's browser tests share: Debian's Chromium (headless, through
chromium-driver) and WebKit (WebKitWebDriver on an Xvfb of its own), both through
Selenium, the page from the release's zip or a folder, and the page's controls by the
names the windows are designed with ("ZEPALT-Text1")."""
import contextlib
import inspect
import os
import pathlib
import subprocess
import sys
import time
import zipfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.webdriver.webkitgtk.service import Service as WebKitService
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

# Without the background-networking flags Chromium calls home at start, and this
# machine's closed network refuses it; as root it runs only without its sandbox.
CHROMIUM_ARGS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-default-apps", "--disable-extensions", "--disable-dev-shm-usage", "--window-size=1024,900",
]
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


def page_folder(path, scratch):
    """The folder of the web edition: `path` itself, or the release's zip unpacked."""
    path = pathlib.Path(path)
    if not path.exists():
        sys.exit(f"FAIL: no {path}: make the release first (bash tools/release.sh), or test a build's own "
                 "page (cmake -DDOSAT_WEB_PAGE=build/web/web)")
    if path.suffix != ".zip":
        return path
    with zipfile.ZipFile(path) as archive:
        archive.extractall(scratch)
    (folder,) = [p for p in pathlib.Path(scratch).iterdir() if p.is_dir()]
    return folder


def chromium(language=None, mobile=None, log_requests=False, ratio=3):
    """A headless Chromium. `language`: the browser's language preference; `mobile`: a
    phone's (width, height) in CSS pixels, with touch, `ratio` device pixels to each."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in CHROMIUM_ARGS:
        options.add_argument(argument)
    if language:
        # navigator.language follows this preference, not --lang alone.
        options.add_experimental_option("prefs", {"intl.accept_languages": language})
        options.add_argument("--lang=" + language)
    if mobile:
        width, height = mobile
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": width, "height": height, "pixelRatio": ratio, "touch": True},
            "userAgent": "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 "
                         "(KHTML, like Gecko) Chrome/156.0 Mobile Safari/537.36",
        })
    if log_requests:
        options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    return webdriver.Chrome(service=ChromeService("/usr/bin/chromedriver"), options=options)


@contextlib.contextmanager
def webkit():
    """WebKit's MiniBrowser under WebKitWebDriver, on an Xvfb that lasts as long."""
    display = None
    for number in range(140, 200):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            display = f":{number}"
            break
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    driver = None
    try:
        for _ in range(50):
            if os.path.exists(f"/tmp/.X11-unix/X{display[1:]}"):
                break
            time.sleep(0.1)
        os.environ["DISPLAY"] = display
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        # selenium 4.24 (Debian 13) takes the driver as a service; 4.8 (Debian 12) its path.
        if "service" in inspect.signature(webdriver.WebKitGTK).parameters:
            driver = webdriver.WebKitGTK(service=WebKitService("/usr/bin/WebKitWebDriver"), options=options)
        else:
            driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
        yield driver
    finally:
        if driver:
            driver.quit()
        xvfb.terminate()
        xvfb.wait()


class Page:
    """The web edition's page in a browser, read and worked as its user would."""

    def __init__(self, driver):
        self.driver = driver

    def open(self, url):
        self.driver.get(url)
        self.wait_for(lambda: self.shown() == "ZEPALT", "the calculation window")

    def wait_for(self, condition, what, seconds=10):
        try:
            WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(lambda _: condition())
        except Exception as error:
            raise AssertionError(f"waited in vain for {what}") from error

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def shown(self):
        """The class of the window shown, or None."""
        shown = self.script("return [...document.querySelectorAll('.window')]"
                            ".filter(w => !w.hidden).map(w => w.id)")
        return shown[0] if len(shown) == 1 else (shown or None)

    def text(self, name):
        return self.script("return document.getElementById(arguments[0]).value", name)

    def type(self, name, text):
        box = self.element(name)
        box.clear()
        if text:
            box.send_keys(text)

    def press(self, name):
        self.element(name).click()

    def focused(self):
        return self.script("return document.activeElement && document.activeElement.id")

    def keys(self, *keys, shift=False):
        """Keys sent to whatever has the focus, Shift held down if asked."""
        actions = webdriver.ActionChains(self.driver)
        if shift:
            actions.key_down(Keys.SHIFT)
        actions.send_keys(*keys)
        if shift:
            actions.key_up(Keys.SHIFT)
        actions.perform()

    def message(self):
        """The text of the modal message open now, or None."""
        return self.script("var d = document.querySelector('dialog[open]');"
                           "return d && d.matches(':modal') ? d.querySelector('p').textContent : null")

    def dismiss_message(self):
        self.driver.find_element(By.CSS_SELECTOR, "dialog[open] button").click()
        # Gone from the page once its close event has run, which gives the focus back to the
        # box: the dialog is no longer open a task before that.
        self.wait_for(lambda: self.script("return document.querySelector('dialog.message') === null"),
                      "the message to close")

    def selection(self, name):
        return self.script("var e = document.getElementById(arguments[0]);"
                           "return [e.selectionStart, e.selectionEnd, e.value.length]", name)

    def box(self, name):
        """The element's rectangle in CSS pixels of the viewport."""
        return self.script("return document.getElementById(arguments[0]).getBoundingClientRect().toJSON()", name)
