#!/usr/bin/env python3
"""The table window on the screens users have, under a real window manager (openbox, or
mutter) with a real panel (a dock window reserving a strut, tests/panel.py): the real
program, driven from outside with xdotool, read back with xwininfo, xprop and the screen's
pixels.

    fit_test.py qt <path to dosat> [openbox|mutter]
    fit_test.py wine <path to dosat.exe> [openbox|mutter]   (run by tools/wine-run.sh)

On each screen the table window's frame and 「戻る」 lie inside the work area, all 36 rows
of the table are in its picture box (the rule under 35 °C among them), and a real click on
「戻る」 brings the calculation window back. Below 100 % the table is drawn narrower than the
464-pixel picture. DOSAT_FIT_SHOTS=DIR keeps a screenshot of each screen there;
DOSAT_FIT_SCREENS="WIDTHxHEIGHT@SCALE:EDGE:THICKNESS ..." checks other screens instead, as
"1366x768@1.25:bottom:60 3840x2160@3:bottom:144".
"""

import os
import re
import shutil
import subprocess
import sys
import time

import desktop_session
from desktop_session import fail, start_xvfb, stop, wait_for

WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    "mutter": ["mutter", "--x11", "--replace", "--sm-disable"],
}
CALCULATION = "JISK0102"
TABLE = r"DO\(JIS K0102\)"
PANEL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "panel.py")
# name, screen width and height, the desktop's scale, the panel's edge and thickness
SCREENS = [
    ("1920x1080 at 150 %, a 72-pixel panel below", 1920, 1080, 1.5, "bottom", 72),
    ("1366x768 at 100 %, a 48-pixel panel below", 1366, 768, 1.0, "bottom", 48),
    ("1024x600 at 100 %, a 48-pixel panel above", 1024, 600, 1.0, "top", 48),
]
# In the designed pixels of the windows at 100 % (twips / 15): the table button's middle,
# 「戻る」, the picture box, and the table picture's rows: its rule under the headings, the
# 36 rules under the temperatures, and a column of the temperature cells clear of figures.
TABLE_BUTTON = (80 + 152 // 2, 275 + 26 // 2)
BACK = (406, 664, 69, 25)
PICTURE = (13, 23, 469, 633)
TABLE_CLIENT_WIDTH = 495
FIRST_ROW, ROW_RULES, TEMPERATURE_X = 92, 36, 6
TABLE_RIGHT = 462  # where the table's right-hand rule ends; the picture is 464 wide


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=20, **options).stdout


def work_area():
    found = re.search(r"= (\d+), (\d+), (\d+), (\d+)", run("xprop", "-root", "_NET_WORKAREA"))
    return tuple(map(int, found.groups())) if found else None


def window_of(title):
    found = run("xdotool", "search", "--onlyvisible", "--name", title).split()
    # mutter 48 on X11 draws the frames in a client of its own, whose windows carry the
    # title too.
    frames = set(run("xdotool", "search", "--class", "^mutter-x11-frames$").split())
    found = [window for window in found if window not in frames]
    return int(found[0]) if found else None


def placement(window):
    """The client area (x, y, width, height) and the frame round it, from the X server and
    the window manager's _NET_FRAME_EXTENTS."""
    info = run("xwininfo", "-id", str(window))

    def number(name):
        return int(re.search(name + r":\s+(-?\d+)", info).group(1))

    client = (number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"))
    found = re.search(r"= (\d+), (\d+), (\d+), (\d+)", run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS"))
    if not found:
        return client, None
    left, right, top, bottom = map(int, found.groups())
    return client, (client[0] - left, client[1] - top, client[2] + left + right, client[3] + top + bottom)


def settled(title, what):
    """A shown, framed window that has stopped moving, and its placement."""
    last = None

    def still():
        nonlocal last
        window = window_of(title)
        now = placement(window) if window else None
        found = (window, now) if now and now[1] and now == last else None
        last = now
        return found

    return wait_for(what, still, 40)


def inside(rect, area):
    x, y, w, h = rect
    ax, ay, aw, ah = area
    return x >= ax and y >= ay and x + w <= ax + aw and y + h <= ay + ah


def column(x, top, bottom):
    """The screen's grey levels down column x from row top to row bottom (excluded)."""
    raw = subprocess.run(["import", "-window", "root", "-crop", f"1x{bottom - top}+{x}+{top}", "-depth", "8",
                          "gray:-"], capture_output=True, timeout=20).stdout
    return list(raw)


def dark_runs(levels):
    """Where each run of dark pixels starts and ends, in order."""
    runs, start = [], None
    for i, level in enumerate(levels + [255]):
        if level < 128 and start is None:
            start = i
        elif level >= 128 and start is not None:
            runs.append((start, i))
            start = None
    return runs


class Program:
    """dosat on the test's display: the Qt program at the desktop's scale, or dosat.exe
    under the build's wine at the resolution of that scale, its windows framed by the
    window manager."""

    def __init__(self, kind, path, runtime):
        self.kind, self.path, self.runtime = kind, path, runtime

    def wine(self, *arguments):
        subprocess.run([os.environ["WINELOADER"], *arguments], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=True)

    def prepare(self):
        if self.kind != "wine":
            return
        # A wine session keeps the display it started on: none may be running.
        subprocess.run(["wineserver", "-k"], capture_output=True)
        subprocess.run(["wineserver", "-w"], capture_output=True)

    def set_wine(self, managed, dpi):
        self.wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/t", "REG_SZ", "/d",
                  "Y" if managed else "N", "/f")
        self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                  str(dpi), "/f")

    def start(self, scale):
        desktop_session.program_log = os.path.join(self.runtime, "dosat.log")
        log = open(desktop_session.program_log, "w")
        if self.kind == "qt":
            env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR=str(scale), LC_ALL="C.UTF-8",
                       NO_AT_BRIDGE="1")
            return subprocess.Popen([self.path], env=env, stdout=log, stderr=subprocess.STDOUT)
        self.set_wine(True, round(96 * scale))
        return subprocess.Popen([os.environ["WINELOADER"], self.path], stdout=log, stderr=subprocess.STDOUT)

    def finish(self):
        if self.kind != "wine":
            return
        subprocess.run(["wineserver", "-k"], capture_output=True)
        subprocess.run(["wineserver", "-w"], capture_output=True)


def check_screen(program, manager, name, width, height, scale, edge, thickness, shots):
    xvfb, os.environ["DISPLAY"] = start_xvfb(f"{width}x{height}")
    processes = [xvfb]
    try:
        processes.append(subprocess.Popen(WINDOW_MANAGERS[manager], stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL))
        wait_for(f"{manager} managing the screen",
                 lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        processes.append(subprocess.Popen([sys.executable, PANEL, edge, str(thickness)]))
        work = wait_for("the panel's strut in the work area",
                        lambda: (lambda w: w if w and w != (0, 0, width, height) else None)(work_area()))
        program.prepare()
        processes.append(program.start(scale))
        calculation, _ = settled(CALCULATION, "calculation window")
        run("xdotool", "mousemove", "--window", str(calculation), str(round(TABLE_BUTTON[0] * scale)),
            str(round(TABLE_BUTTON[1] * scale)), "click", "1")
        table, (client, frame) = settled(TABLE, "table window")
        if not inside(frame, work):
            fail(f"{name}: the table window's frame {frame} is not inside the work area {work}")

        # Device pixels per designed pixel: the desktop's scale times the window's own.
        ratio = client[2] / TABLE_CLIENT_WIDTH
        at = lambda x, y: (client[0] + round(x * ratio), client[1] + round(y * ratio))  # noqa: E731
        back = (*at(BACK[0], BACK[1]), round(BACK[2] * ratio), round(BACK[3] * ratio))
        if not inside(back, work):
            fail(f"{name}: 「戻る」 at {back} is not inside the work area {work}")

        # Down the temperature column of the picture box's interior, inside its edge of two
        # pixels at any scale: the 36 rules under the rows, all above the box's lower edge.
        box_x, box_top = (edge + 2 for edge in at(PICTURE[0], PICTURE[1]))
        box_bottom = at(0, PICTURE[1] + PICTURE[3])[1] - 2
        first = box_top + round(FIRST_ROW * ratio)
        scan = lambda: dark_runs(column(box_x + round(TEMPERATURE_X * ratio), first, box_bottom))  # noqa: E731
        runs = []
        deadline = time.monotonic() + 10
        while len(runs) != ROW_RULES and time.monotonic() < deadline:  # until the table is painted
            time.sleep(0.1)
            runs = scan()
        if len(runs) != ROW_RULES:
            fail(f"{name}: {len(runs)} rules under the temperatures in the picture box, not {ROW_RULES}")
        last = first + runs[-1][1]
        # The table's right-hand rule ends as wide as the table is drawn: at the window's
        # ratio, and below 100 % narrower than the picture.
        right = dark_runs(row_levels(box_top + round(60 * ratio), box_x, box_x + round(470 * ratio)))
        drawn = right[-1][1] if right else 0
        if abs(drawn - TABLE_RIGHT * ratio) > 2 or (scale == 1.0 and drawn >= TABLE_RIGHT):
            fail(f"{name}: the table is drawn {drawn} pixels wide, not {TABLE_RIGHT * ratio:.0f}")
        if shots:
            run("import", "-window", "root", os.path.join(shots, re.sub(r"[^0-9a-z]+", "-", name.lower()) + ".png"))

        run("xdotool", "mousemove", str(back[0] + back[2] // 2), str(back[1] + back[3] // 2), "click", "1")
        wait_for("calculation window back after a click on 「戻る」", lambda: window_of(CALCULATION))
        wait_for("hidden table window", lambda: window_of(TABLE) is None)
        print(f"{name}: work area {work}, table window frame {frame}, client {client[2]}x{client[3]}, "
              f"{ratio / scale:.3f} of the desktop's scale; 「戻る」 at {back}; the rule under 35 °C "
              f"at y {last}, the box's interior ending at {box_bottom}; the table {drawn} pixels wide "
              f"(the picture {round(464 * ratio)})")
    finally:
        stop(processes)
        program.finish()


def row_levels(y, left, right):
    raw = subprocess.run(["import", "-window", "root", "-crop", f"{right - left}x1+{left}+{y}", "-depth", "8",
                          "gray:-"], capture_output=True, timeout=20).stdout
    return list(raw)


def screens():
    """The screens to check: SCREENS, or those DOSAT_FIT_SCREENS names."""
    asked = os.environ.get("DOSAT_FIT_SCREENS", "").split()
    if not asked:
        return SCREENS
    found = [re.fullmatch(r"(\d+)x(\d+)@([\d.]+):(top|bottom|left|right):(\d+)", item) for item in asked]
    if not all(found):
        fail(f"DOSAT_FIT_SCREENS: {asked} is not WIDTHxHEIGHT@SCALE:EDGE:THICKNESS ...")
    return [(item, int(m[1]), int(m[2]), float(m[3]), m[4], int(m[5])) for item, m in zip(asked, found)]


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[1] not in ("qt", "wine") or sys.argv[3:4] not in (
            [], ["openbox"], ["mutter"]):
        print(__doc__)
        return 2
    kind, path = sys.argv[1], os.path.abspath(sys.argv[2])
    manager = sys.argv[3] if len(sys.argv) == 4 else "openbox"
    if kind == "wine" and "WINELOADER" not in os.environ:
        fail("run by tools/wine-run.sh, which sets up the build's wine")
    desktop_session.in_private_session("DOSAT_FIT_SESSION")
    for tool in (manager, "xdotool", "import"):
        if not shutil.which(tool):
            fail(f"{tool} is not installed")
    started = time.monotonic()
    runtime = desktop_session.private_runtime("dosat-fit-")
    shots = os.environ.get("DOSAT_FIT_SHOTS")
    program = Program(kind, path, runtime)
    try:
        for screen in screens():
            check_screen(program, manager, *screen, shots)
    finally:
        if kind == "wine":
            program.set_wine(False, 96)
            program.finish()
        shutil.rmtree(runtime, ignore_errors=True)
    print(f"PASS: {kind} under {manager} in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
