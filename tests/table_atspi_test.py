#!/usr/bin/env python3
"""The table as a screen reader finds it: the real program on an Xvfb of its own, with a
private D-Bus session and AT-SPI bus, read through pyatspi.

    table_atspi_test.py <path to dosat>

Presses the table button through its AT-SPI action, then finds the table window's table
by its title and reads its size, headers and numbers. Exits 77 (skipped) only when the
AT-SPI bus cannot be started here.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import desktop_session
from desktop_session import fail, skip, start_xvfb, stop, wait_for

TITLE = "水中の飽和溶存酸素量"
BUTTON = "JIS K0102 溶存酸素(表)"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
REGISTRY = "/usr/libexec/at-spi2-registryd"


def start_accessibility_bus():
    """The AT-SPI bus and its registry on this session bus, or a skip if they cannot run."""
    for program in (BUS_LAUNCHER, REGISTRY):
        if not os.access(program, os.X_OK):
            skip(f"{program} is not installed (package at-spi2-core)")
    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def bus(*call):
        reply = subprocess.run(["dbus-send", "--session", "--print-reply=literal", *call],
                               capture_output=True, text=True)
        return reply.stdout.strip() if reply.returncode == 0 else ""

    # Asked only once the launcher owns its name, so that D-Bus does not start a second one.
    address = ""
    deadline = time.monotonic() + 10
    while not address and time.monotonic() < deadline and launcher.poll() is None:
        owned = bus("--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                    "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus").endswith("true")
        address = bus("--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress") if owned else ""
        if not address:
            time.sleep(0.1)
    if not address:
        launcher.kill()
        skip("the AT-SPI bus did not start in this environment")
    registry = subprocess.Popen([REGISTRY], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return [registry, launcher]


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    dosat = os.path.abspath(sys.argv[1])
    desktop_session.in_private_session("DOSAT_ATSPI_SESSION")

    try:
        import pyatspi  # noqa: E402 (needs the session bus set up above)
    except ImportError:
        skip("pyatspi is not installed (package python3-pyatspi)")

    started = time.monotonic()
    processes = []
    runtime = tempfile.mkdtemp(prefix="dosat-atspi-")
    try:
        xvfb, display = start_xvfb()
        processes.append(xvfb)
        os.environ["DISPLAY"] = display
        # The AT-SPI bus puts its socket there: private to this run, as the session bus is.
        os.environ["XDG_RUNTIME_DIR"] = runtime
        processes += start_accessibility_bus()

        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_ACCESSIBILITY="1", LC_ALL="C.UTF-8")
        desktop_session.program_log = os.path.join(runtime, "dosat.log")
        with open(desktop_session.program_log, "w") as log:
            program = subprocess.Popen([dosat], env=env, stdout=log, stderr=subprocess.STDOUT)
        processes.append(program)

        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            return next((a for a in desktop if a is not None and a.name == "dosat"), None)

        app = wait_for("dosat on the accessibility bus", application)

        def button():
            return pyatspi.findDescendant(
                app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == BUTTON)

        press = wait_for("table button", button).queryAction()
        names = [press.getName(i) for i in range(press.nActions)]
        if not names:
            fail("the table button has no action")
        press.doAction(0)

        def table():
            return pyatspi.findDescendant(
                app, lambda a: a.getRole() == pyatspi.ROLE_TABLE and a.name == TITLE, breadth_first=True)

        found = wait_for(f"table named {TITLE}", table)
        if "(参考：JIS K0102より)" not in found.description:
            fail(f"the table's description is {found.description!r}")
        if not found.getState().contains(pyatspi.STATE_FOCUSABLE):
            fail("the table cannot take the keyboard focus")
        grid = found.queryTable()
        if (grid.nRows, grid.nColumns) != (36, 7):
            fail(f"the table has {grid.nRows} rows and {grid.nColumns} columns")
        for row, column, text in [(0, 0, "0"), (0, 1, "14.15"), (8, 1, "11.47"), (20, 5, "7.10"),
                                  (21, 6, "0.0086"), (35, 3, "6.30"), (35, 6, "0.0074")]:
            cell = grid.getAccessibleAt(row, column)
            if cell is None or cell.name != text:
                fail(f"cell {row},{column} reads {cell.name if cell else None!r}, not {text!r}")
        headers = [grid.getColumnHeader(c) for c in range(7)]
        header_names = [h.name if h is not None else None for h in headers]
        if header_names[:6] != ["温度(℃)", "0", "5000", "10000", "15000", "20000"]:
            fail(f"the column headers read {header_names}")
        print(f"PASS: {TITLE}: 36 x 7 cells, headers {header_names}, "
              f"in {time.monotonic() - started:.1f} s")
        return 0
    finally:
        stop(processes)
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
