// The monitors windows are placed on, as Windows gives them.
#include "win32platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "newerwindows.h"
#include "twips.h"

namespace dosat {

using win32::SystemDpi;

namespace {

// A monitor's area and work area in twips of the screen's pixels, as windows are placed.
placement::Monitor MonitorOf(HMONITOR monitor) {
  const double perPixel = twips::PerPixel(static_cast<int>(SystemDpi()));
  const auto area = [perPixel](const RECT& r) {
    return placement::Area{twips::FromPixels(r.left, perPixel), twips::FromPixels(r.top, perPixel),
                           twips::FromPixels(r.right - r.left, perPixel),
                           twips::FromPixels(r.bottom - r.top, perPixel)};
  };
  MONITORINFO info{sizeof info};
  if (!GetMonitorInfoW(monitor, &info)) {
    // No monitor to ask: the primary screen's size, and no work area of its own.
    info.rcMonitor = info.rcWork = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    info.dwFlags = MONITORINFOF_PRIMARY;
  }
  // The primary monitor's work area as SPI_SETWORKAREA last set it: wine keeps that apart
  // from the monitor's, where Windows keeps the two the same.
  RECT work;
  if ((info.dwFlags & MONITORINFOF_PRIMARY) && SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    info.rcWork = work;
  }
  return {area(info.rcMonitor), area(info.rcWork), twips::FromPixels(1, perPixel)};
}

}  // namespace

// Windows' primary monitor is the one at (0, 0).
placement::Monitor Win32Platform::PrimaryMonitor() const {
  return MonitorOf(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

placement::Monitor Win32Platform::MonitorAt(float x, float y) const {
  const double perPixel = twips::PerPixel(static_cast<int>(SystemDpi()));
  return MonitorOf(MonitorFromPoint({twips::ToPixels(x, perPixel), twips::ToPixels(y, perPixel)},
                                    MONITOR_DEFAULTTONEAREST));
}

}  // namespace dosat
