#!/usr/bin/env python3
"""Where the windows stand under mutter, GNOME's window manager, and under openbox: the real
program, driven from outside with xdotool, its windows read back with xwininfo and xprop.

    placement_test.py mutter-x11|openbox|mutter-wayland|mutter-wayland-no-x11 <path to dosat>

mutter-x11, openbox: the window manager of an Xvfb. The calculation window opens centred;
after three trips to the table and back each window stands where it stood the first time,
client area and frame; dragged by its title bar (real pointer events, through XTEST) and
taken on a trip, the calculation window comes back where it was dropped. openbox leaves a
hidden window where it was: what puts the windows back must not rest on mutter's ways.

mutter-wayland: mutter's headless Wayland session, with Xwayland. Asked for no platform,
the program's windows are Xwayland's, centred and kept over the trips (a drag cannot be
made there: Xwayland's pointer is the compositor's). Asked for the wayland platform, in the
environment or on the command line, it runs natively.

mutter-wayland-no-x11: the same session without Xwayland: the program runs natively.
"""

import os
import re
import shutil
import subprocess
import sys
import time

import desktop_session
from desktop_session import fail, start_xvfb, stop, wait_for

CALCULATION = "JISK0102"  # the two captions, as xdotool's patterns
TABLE = r"DO\(JIS K0102\)"
# The middles of the table button and of 「戻る」, in client pixels, from their rows in
# the windows' designs (twips / 15).
TABLE_BUTTON = (80 + 152 // 2, 275 + 26 // 2)
BACK_BUTTON = (406 + 69 // 2, 664 + 25 // 2)
TRIPS = 3
DRAG = (-100, -80)
X_WINDOW_MANAGERS = {
    "mutter-x11": ["mutter", "--x11", "--replace", "--sm-disable"],
    "openbox": ["openbox", "--sm-disable"],
}
WAYLAND_SESSIONS = {"mutter-wayland": [], "mutter-wayland-no-x11": ["--no-x11"]}


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=10).stdout


class Placement:
    """A window's client area and frame on the screen, as the X server and the window
    manager give them."""

    def __init__(self, window):
        info = run("xwininfo", "-id", str(window))

        def number(name):
            return int(re.search(name + r":\s+(-?\d+)", info).group(1))

        self.client = (number("Absolute upper-left X"), number("Absolute upper-left Y"))
        self.size = (number("Width"), number("Height"))
        found = re.search(r"= (\d+), (\d+), (\d+), (\d+)",
                          run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS"))
        # _NET_FRAME_EXTENTS is left, right, top, bottom
        self.extents = tuple(map(int, found.groups())) if found else None
        left, top = (self.extents[0], self.extents[2]) if found else (0, 0)
        self.frame = (self.client[0] - left, self.client[1] - top)

    def __eq__(self, other):
        return isinstance(other, Placement) and vars(self) == vars(other)

    def __str__(self):
        return f"client {self.client} frame {self.frame}"


def window_of(pid, title):
    """The program's shown X window with that caption, else None."""
    found = run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid),
                "--name", title).split()
    return int(found[0]) if found else None


def settled(pid, title, what):
    """The window once shown, framed by the window manager and still, and its placement."""
    last = None

    def still():
        nonlocal last
        window = window_of(pid, title)
        now = Placement(window) if window else None
        found = (window, now) if now and now.extents and now == last else None
        last = now
        return found

    return wait_for(what, still)


def click(window, at):
    run("xdotool", "mousemove", "--window", str(window), str(at[0]), str(at[1]), "click", "1")


def trip(pid, calculation):
    """Shows the table and comes back; the table window's placement, and the calculation
    window and its placement."""
    click(calculation, TABLE_BUTTON)
    table, shown = settled(pid, TABLE, "table window")
    wait_for("hidden calculation window", lambda: window_of(pid, CALCULATION) is None)
    click(table, BACK_BUTTON)
    calculation, back = settled(pid, CALCULATION, "calculation window back")
    wait_for("hidden table window", lambda: window_of(pid, TABLE) is None)
    return shown, calculation, back


def verify_centred(placement, what):
    root = run("xwininfo", "-root")
    screen = [int(re.search(name + r":\s+(\d+)", root).group(1)) for name in ("Width", "Height")]
    # Qt does not know the frame before the window is first shown: the client area is
    # centred, give or take the half pixel that centring in twips leaves.
    for axis in (0, 1):
        if abs(2 * placement.client[axis] - (screen[axis] - placement.size[axis])) > 1:
            fail(f"the {what} opens at {placement}, not centred on a {screen[0]}x{screen[1]} screen")


def start(dosat, runtime, *arguments, **environment):
    """The program, asked for no platform unless `environment` names one."""
    env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}
    env.update(LC_ALL="C.UTF-8", NO_AT_BRIDGE="1", **environment)
    desktop_session.program_log = os.path.join(runtime, "dosat.log")
    with open(desktop_session.program_log, "w") as log:
        return subprocess.Popen([dosat, *arguments], env=env, stdout=log, stderr=subprocess.STDOUT)


def verify_kept(dosat, runtime, drag):
    """Centred first, then where they were over the trips; the drag, where it can be made."""
    program = start(dosat, runtime)
    try:
        calculation, first = settled(program.pid, CALCULATION, "calculation window")
        verify_centred(first, "calculation window")
        table_first = None
        for number in range(1, TRIPS + 1):
            table, calculation, back = trip(program.pid, calculation)
            if table_first is None:
                verify_centred(table, "table window")
                table_first = table
            if table != table_first:
                fail(f"trip {number}: the table window stands at {table}, first at {table_first}")
            if back != first:
                fail(f"trip {number}: the calculation window is back at {back}, was at {first}")
        print(f"kept over {TRIPS} trips: calculation window {first}, table window {table_first}")
        if not drag:
            return
        dropped = drag_by_title_bar(program.pid, first)
        if dropped == first:
            fail(f"the drag did not move the calculation window from {first}")
        _, _, back = trip(program.pid, calculation)
        if back != dropped:
            fail(f"the calculation window, dropped at {dropped}, is back at {back}")
        print(f"dropped at {dropped}, and back there after a trip")
    finally:
        stop([program])


def drag_by_title_bar(pid, placement):
    """Drags the window by the middle of its title bar as a hand on a mouse does: press,
    small steps, release. Its placement once the window manager lets go of it."""
    x = placement.client[0] + placement.size[0] // 2
    y = (placement.frame[1] + placement.client[1]) // 2
    run("xdotool", "mousemove", str(x), str(y))
    run("xdotool", "mousedown", "1")
    steps = 10
    for _ in range(steps):
        time.sleep(0.03)
        run("xdotool", "mousemove_relative", "--", str(DRAG[0] // steps), str(DRAG[1] // steps))
    run("xdotool", "mouseup", "1")
    return settled(pid, CALCULATION, "dropped calculation window")[1]


def verify_native(dosat, runtime, *arguments, **environment):
    """The program makes its window a Wayland toplevel, and no X window."""
    program = start(dosat, runtime, *arguments, WAYLAND_DEBUG="client", **environment)
    try:
        def toplevel():
            with open(desktop_session.program_log, errors="replace") as log:
                return re.search(r"xdg_toplevel[@#]\d+\.set_title\(.*JISK0102", log.read())

        wait_for("Wayland window", toplevel)
        time.sleep(0.5)
        if program.poll() is not None:
            fail(f"the program ended with {program.returncode} after showing its window")
        if "DISPLAY" in os.environ and window_of(program.pid, CALCULATION):
            fail("the program asked for the wayland platform made an X window")
    finally:
        stop([program])


def in_mutter(mode, dosat, runtime):
    """The checks of a Wayland mode, run by mutter once its session is up."""
    if mode == "mutter-wayland":
        if not os.environ.get("DISPLAY"):
            fail("mutter started no Xwayland")
        verify_kept(dosat, runtime, drag=False)
        verify_native(dosat, runtime, QT_QPA_PLATFORM="wayland")
        verify_native(dosat, runtime, "-platform", "wayland")
        print("asked for the wayland platform, by QT_QPA_PLATFORM or -platform: a Wayland window")
    else:
        if os.environ.get("DISPLAY"):
            fail(f"mutter --no-x11 left DISPLAY={os.environ['DISPLAY']}")
        verify_native(dosat, runtime)
        print("without Xwayland: a Wayland window")


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in (*X_WINDOW_MANAGERS, *WAYLAND_SESSIONS):
        print(__doc__)
        return 2
    mode, dosat = sys.argv[1], os.path.abspath(sys.argv[2])
    if os.environ.get("DOSAT_PLACEMENT_IN_MUTTER") == "1":
        in_mutter(mode, dosat, os.environ["XDG_RUNTIME_DIR"])
        return 0
    desktop_session.in_private_session("DOSAT_PLACEMENT_SESSION")
    manager = X_WINDOW_MANAGERS.get(mode, ["mutter"])[0]
    if not shutil.which(manager):
        fail(f"{manager} is not installed")
    started = time.monotonic()
    # The window manager's sockets and settings, private to this run as the session bus is.
    runtime = desktop_session.private_runtime("dosat-placement-")
    manager_log = os.path.join(runtime, "manager.log")
    processes = []
    try:
        with open(manager_log, "w") as log:
            if mode in X_WINDOW_MANAGERS:
                xvfb, os.environ["DISPLAY"] = start_xvfb()
                processes.append(xvfb)
                processes.append(subprocess.Popen(X_WINDOW_MANAGERS[mode],
                                                  stdout=log, stderr=subprocess.STDOUT))
                wait_for(f"{manager} managing the screen",
                         lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
                verify_kept(dosat, runtime, drag=True)
            else:
                # mutter runs this script again inside its session, with WAYLAND_DISPLAY,
                # and DISPLAY and XAUTHORITY for its Xwayland, set; it fails when the
                # script does.
                session = subprocess.run(
                    ["mutter", "--headless", "--wayland", "--virtual-monitor", "1280x1024",
                     *WAYLAND_SESSIONS[mode], "--", sys.executable, *sys.argv],
                    env=dict(os.environ, DOSAT_PLACEMENT_IN_MUTTER="1"), stderr=log, timeout=90)
                if session.returncode != 0:
                    with open(manager_log, errors="replace") as messages:
                        print("mutter said:\n" + messages.read()[-4000:])
                    return 1
        print(f"PASS: {mode} in {time.monotonic() - started:.1f} s")
        return 0
    finally:
        stop(processes)
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
