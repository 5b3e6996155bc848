#pragma once

#include <QMargins>
#include <QPoint>

#include "placement.h"

class QScreen;
class QWidget;

// The screens as the placement of the windows sees them, and the frame an X11 window
// manager puts round a window.
namespace dosat::qt {

/// The screen's whole area and its work area (less panels and docks), in twips.
placement::Monitor MonitorOf(const QScreen& screen);

/// The screen that holds `point` (in pixels), else the one nearest it; null if there is
/// none.
QScreen* ScreenNearest(QPoint point);

/// The frame an X11 window manager will put round `window`, a top-level window it has not
/// framed yet, in device pixels: asked of it (_NET_REQUEST_FRAME_EXTENTS) and awaited for
/// a moment. Zero where the program is not on X11, or the window manager does not tell.
QMargins WindowManagerFrame(QWidget& window);

}  // namespace dosat::qt
