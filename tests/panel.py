#!/usr/bin/env python3
"""A desktop panel for the tests: a dock window along one edge of the screen that reserves
that strip (_NET_WM_STRUT_PARTIAL, and _NET_WM_STRUT for older window managers), as a
taskbar does. The window manager takes the strip out of the work area (_NET_WORKAREA).

    panel.py top|bottom|left|right THICKNESS     on $DISPLAY, until it is ended
"""

import sys

from Xlib import X, Xatom, Xutil, display

EDGES = ("left", "right", "top", "bottom")  # the order of _NET_WM_STRUT's fields


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in EDGES or not sys.argv[2].isdigit():
        print(__doc__)
        return 2
    edge, thickness = EDGES.index(sys.argv[1]), int(sys.argv[2])
    server = display.Display()
    screen = server.screen()
    width, height = screen.width_in_pixels, screen.height_in_pixels
    x, y, w, h = {
        0: (0, 0, thickness, height),
        1: (width - thickness, 0, thickness, height),
        2: (0, 0, width, thickness),
        3: (0, height - thickness, width, thickness),
    }[edge]
    panel = screen.root.create_window(x, y, w, h, 0, screen.root_depth, X.InputOutput, X.CopyFromParent,
                                      background_pixel=0x404040)
    atom = server.intern_atom
    panel.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32, [atom("_NET_WM_WINDOW_TYPE_DOCK")])
    # left, right, top, bottom; then where each strip starts and ends along its edge
    strut = [0] * 12
    strut[edge] = thickness
    strut[4 + 2 * edge] = y if edge < 2 else x
    strut[5 + 2 * edge] = (y + h if edge < 2 else x + w) - 1
    panel.change_property(atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32, strut)
    panel.change_property(atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, strut[:4])
    panel.set_wm_normal_hints(flags=Xutil.USPosition | Xutil.PSize, x=x, y=y, width=w, height=h)
    panel.map()
    server.flush()
    while True:
        server.next_event()


if __name__ == "__main__":
    sys.exit(main())
