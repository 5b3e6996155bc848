"""The web edition in Firefox ESR: the calculation window as `firefox-esr --headless
--screenshot` takes it at load, and the table window, reached by pressing the table
button through Firefox's own WebDriver BiDi (Debian has no geckodriver), with a
calculation on the way. The screenshots are written to OUT_DIR, to be looked at.

  firefox_test.py PAGE OUT_DIR"""
import base64
import json
import pathlib
import re
import subprocess
import sys
import tempfile
import time

import websocket

import browsers

# A profile that asks nothing of the network, which this machine does not have.
PREFERENCES = {
    "app.normandy.enabled": False, "app.update.auto": False, "browser.shell.checkDefaultBrowser": False,
    "datareporting.policy.dataSubmissionEnabled": False, "messaging-system.rsexperimentloader.enabled": False,
    "network.captive-portal-service.enabled": False, "network.connectivity-service.enabled": False,
    "services.settings.server": "http://127.0.0.1:9/", "toolkit.telemetry.enabled": False,
}


def profile(folder):
    folder.mkdir()
    (folder / "user.js").write_text("".join(f"user_pref({json.dumps(k)}, {json.dumps(v)});\n"
                                            for k, v in PREFERENCES.items()))
    return folder


class Bidi:
    """Just enough of WebDriver BiDi: commands and their results, events skipped."""

    def __init__(self, url):
        # Firefox refuses a connection that names an origin.
        self.socket = websocket.create_connection(url + "/session", timeout=30, suppress_origin=True)
        self.id = 0

    def __call__(self, method, **params):
        self.id += 1
        self.socket.send(json.dumps({"id": self.id, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == self.id:
                if answer.get("type") == "error":
                    raise RuntimeError(f"{method}: {answer.get('message')}")
                return answer["result"]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out = pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        url = (browsers.page_folder(sys.argv[1], scratch / "page") / "dosat.html").resolve().as_uri()

        shot = out / "firefox-calculation-window.png"
        shot.unlink(missing_ok=True)
        subprocess.run(["firefox-esr", "--headless", "--no-remote", "--profile", str(profile(scratch / "one")),
                        "--window-size=800,800", "--screenshot", str(shot), url],
                       check=True, timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not shot.is_file() or shot.stat().st_size < 10000:
            failures.append(f"no screenshot of the calculation window in {shot}")

        firefox = subprocess.Popen(["firefox-esr", "--headless", "--no-remote", "--profile",
                                    str(profile(scratch / "two")), "--remote-debugging-port=0", "about:blank"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            listening = None
            deadline = time.monotonic() + 60
            while not listening and time.monotonic() < deadline:
                line = firefox.stderr.readline()
                listening = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if not listening:
                sys.exit("FAIL: Firefox did not start WebDriver BiDi")
            bidi = Bidi(listening.group(1))
            bidi("session.new", capabilities={})
            context = bidi("browsingContext.getTree")["contexts"][0]["context"]
            bidi("browsingContext.setViewport", context=context, viewport={"width": 800, "height": 800})
            bidi("browsingContext.navigate", context=context, url=url, wait="complete")

            def evaluate(expression):
                result = bidi("script.evaluate", expression=expression, target={"context": context},
                              awaitPromise=False)["result"]
                return result.get("value")

            result = evaluate("var $ = id => document.getElementById(id);"
                              "$('ZEPALT-Text1').value = '20'; $('ZEPALT-Text2').value = '21000';"
                              "$('ZEPALT-Command1').click(); $('ZEPALT-Text3').value")
            if result != "7.01":
                failures.append(f"20 °C and 21000 mg/L gave {result!r}")
            evaluate("document.getElementById('ZEPALT-Command3').click()")
            drawn = evaluate("!document.getElementById('DOData').hidden &&"
                             "document.querySelector('#DOData-Picture1 canvas').width")
            if not drawn:
                failures.append("the table window is not shown with its table drawn")
            picture = bidi("browsingContext.captureScreenshot", context=context)["data"]
            (out / "firefox-table-window.png").write_bytes(base64.b64decode(picture))
            bidi("session.end")
        finally:
            firefox.terminate()
            firefox.wait(30)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    if failures:
        sys.exit(1)
    print(f"Firefox ESR: both windows, screenshots in {out}")


if __name__ == "__main__":
    main()
