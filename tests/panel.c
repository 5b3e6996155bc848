// A desktop panel for the placement tests: a dock window along one edge of the screen
// that reserves that strip (_NET_WM_STRUT and _NET_WM_STRUT_PARTIAL), as a taskbar does.
// The window manager takes the strip out of the work area (_NET_WORKAREA).
//
//   panel top|bottom|left|right THICKNESS     runs until it is ended
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  static const char* const edges[] = {"left", "right", "top", "bottom"};
  int edge = -1;
  for (int i = 0; argc == 3 && i < 4; ++i) {
    if (strcmp(argv[1], edges[i]) == 0) edge = i;
  }
  const int thickness = argc == 3 ? atoi(argv[2]) : 0;
  if (edge < 0 || thickness <= 0) {
    fprintf(stderr, "usage: panel top|bottom|left|right THICKNESS\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "panel: no display\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
  int x = 0, y = 0, w = width, h = height;
  switch (edge) {
    case 0: w = thickness; break;
    case 1: x = width - thickness; w = thickness; break;
    case 2: h = thickness; break;
    case 3: y = height - thickness; h = thickness; break;
  }
  Window panel = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, (unsigned)w, (unsigned)h, 0,
                                     0, 0x404040);
  Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
  XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                  PropModeReplace, (unsigned char*)&dock, 1);
  // left, right, top, bottom; then the start and end of each strip along its edge
  long strut[12] = {0};
  strut[edge] = thickness;
  strut[4 + 2 * edge] = edge < 2 ? y : x;
  strut[5 + 2 * edge] = edge < 2 ? y + h - 1 : x + w - 1;
  XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                  PropModeReplace, (unsigned char*)strut, 12);
  XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT", False), XA_CARDINAL, 32,
                  PropModeReplace, (unsigned char*)strut, 4);
  // Where it stands, also for a window manager that reads the position hints only.
  XSizeHints hints = {0};
  hints.flags = PPosition | PSize | USPosition;
  hints.x = x;
  hints.y = y;
  hints.width = w;
  hints.height = h;
  XSetWMNormalHints(display, panel, &hints);
  XMapWindow(display, panel);
  XFlush(display);
  printf("panel %s %d\n", edges[edge], thickness);
  fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
  }
}
