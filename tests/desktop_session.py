"""What the tests that drive the real program on a display of their own share: a private
D-Bus session, an Xvfb, waiting, and failing with the program's own messages shown."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77

program_log = None  # where the program's messages go, shown when a test fails


def skip(why):
    print(f"SKIP: {why}")
    sys.exit(SKIP)


def fail(why):
    print(f"FAIL: {why}")
    if program_log and os.path.exists(program_log):
        with open(program_log, errors="replace") as log:
            print("dosat said:\n" + log.read()[-4000:])
    sys.exit(1)


def wait_for(what, probe, seconds=20.0):
    """The first true value of probe() within `seconds`; fails the test if there is none."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Exception:  # the tree changes under us while windows appear
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            fail(f"no {what} within {seconds:.0f} s")
        time.sleep(0.1)


def in_private_session(flag):
    """Runs this script again inside a D-Bus session of its own, which ends with it, unless
    the environment variable `flag` says that is where it runs already."""
    if os.environ.get(flag) == "1":
        return
    if not shutil.which("dbus-run-session"):
        skip("dbus-run-session is not installed (package dbus)")
    os.environ[flag] = "1"
    os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])


def private_runtime(prefix):
    """A runtime folder of this run's own, for the sockets and settings of the window manager
    and the program, with the desktop the tests run from forgotten; its path."""
    runtime = tempfile.mkdtemp(prefix=prefix)
    os.environ["XDG_RUNTIME_DIR"] = runtime
    for name in ("WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY", "XAUTHORITY"):
        os.environ.pop(name, None)
    return runtime


def start_xvfb(size="1280x1024"):
    """An Xvfb of one screen of `size` pixels on a free display, and its display name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        # No reset when the first client lets go (the AT-SPI bus launcher, a window
        # manager): a server resetting then refuses the program's connection.
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size}x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        fail("Xvfb did not start")
    return xvfb, ":" + number


def stop(processes):
    """Ends the processes, the last started first."""
    for process in reversed(processes):
        process.terminate()
    for process in reversed(processes):
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
