#pragma once

#include "twips.h"

// Where a window stands and how large it is drawn, decided once for every platform: from
// the monitor's area and work area, the window's outer size and what the window manager
// adds around it. Plain C++, twips in single precision as window placement uses; a
// browser's viewport is a monitor whose work area is the viewport.
namespace dosat::placement {

/// A rectangle on the desktop, in twips.
struct Area {
  float left = 0, top = 0, width = 0, height = 0;

  float right() const { return left + width; }
  float bottom() const { return top + height; }
  bool operator==(const Area&) const = default;
};

/// A frame's edges beyond a rectangle, in twips.
struct Margins {
  float left = 0, top = 0, right = 0, bottom = 0;

  bool operator==(const Margins&) const = default;
};

/// One monitor of the desktop.
struct Monitor {
  Area screen;  ///< the whole monitor, with its origin on the desktop
  Area work;    ///< the screen less taskbars, panels and docks
  float pixel = twips::kPerPixelAt96Dpi;  ///< twips per pixel there
};

/// A window as it is laid out now.
struct Window {
  float outerWidth = 0, outerHeight = 0;    ///< what the platform moves: the frame where it knows it
  float clientWidth = 0, clientHeight = 0;  ///< the part that is drawn larger or smaller
  /// What the window manager adds around the outer size still: a frame the platform does
  /// not count yet.
  Margins margins;
  float scale = 1;  ///< the scale the client area is laid out at, 1 at the desktop's own

  float frameWidth() const { return margins.left + outerWidth + margins.right; }
  float frameHeight() const { return margins.top + outerHeight + margins.bottom; }
};

/// Scales smaller than this are not laid out: controls and text would have no size left.
inline constexpr float kSmallestScale = 0.25f;

/// The window's frame when its outer rectangle's corner is at (left, top).
Area FrameAt(const Window& window, float left, float top);

/// Whether `frame` lies wholly inside `monitor`'s work area, to less than a quarter of a
/// pixel: what rounds to whole pixels inside it. An empty work area, where the platform
/// cannot tell, holds any frame.
bool Fits(const Area& frame, const Monitor& monitor);

/// The largest scale, up to the desktop's own (1), at which the window's frame fits into
/// `monitor`'s work area: the client area grows and shrinks with the scale, the frame
/// keeps its size. Half a pixel is kept in hand, so that the client area rounded to whole
/// pixels still fits. Never below kSmallestScale.
float FitScale(const Window& window, const Monitor& monitor);

/// The scale to lay a shown window out at again, on `monitor`: FitScale, except that a
/// window that fits the work area at its own scale keeps it where FitScale differs from it
/// by less than a pixel of its client area, so that it is not laid out again for nothing.
float RefitScale(const Window& window, const Monitor& monitor);

/// Where the outer rectangle's corner goes so that the frame is centred in `work`; a frame
/// larger than `work` starts at its top-left corner, so that the title bar stays on it.
void CentreIn(const Window& window, const Area& work, float& left, float& top);

/// Where the outer rectangle's corner goes so that a frame now at (left, top) moves as
/// little as it must to lie in `work`; a frame larger than `work` starts at its top-left
/// corner.
void KeepIn(const Window& window, const Area& work, float& left, float& top);

}  // namespace dosat::placement
