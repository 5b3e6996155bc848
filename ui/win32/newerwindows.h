#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <wtypes.h>

// What dosat.exe uses of Windows newer than XP, the oldest the 32-bit exe starts
// on. None of it is imported: each function is looked up here, once, at run time,
// and stands in with the nearest older way where this Windows lacks it.
namespace dosat::win32 {

/// Sent to a window when its screen's scale changes, from Windows 8.1 on.
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED

/// How far this Windows follows the screens' resolutions for the program.
enum class DpiSupport {
  System,        ///< Windows XP to 8: one resolution for every screen, read once
  PerMonitor,    ///< Windows 8.1: each screen's own (GetDpiForMonitor, WM_DPICHANGED)
  PerWindow,     ///< Windows 10 1607 and later: each window's own (GetDpiForWindow)
};

DpiSupport CurrentDpiSupport();

/// The resolution the session's screens were set to when it started.
UINT SystemDpi();
/// The resolution of the screen `window` is on.
UINT WindowDpi(HWND window);
/// Grows a client rectangle to the outer rectangle of a window with `style`
/// and `exStyle` on a screen of `dpi`: the frame scales with the window where
/// Windows scales it (per-monitor v2), else it keeps the system's size.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

/// Has screen readers say `text` for `control` without moving the focus: UI
/// Automation's notification, Windows 10 1709 and later. False where this
/// Windows has none.
bool RaiseNotification(HWND control, BSTR text, BSTR activity);

/// A DLL from the system folder only, never from beside the program or the
/// current folder; null if Windows has none of that name.
HMODULE LoadSystemLibrary(const wchar_t* name);

/// LoadSystemLibrary one way or the other: asking the loader to search the system folder
/// alone (`searchFlag`), which Windows knows from 8 on and on a 7 or Vista with the 2011
/// loader update, or by the full path into the system folder, which every Windows knows.
HMODULE LoadSystemLibrary(const wchar_t* name, bool searchFlag);

/// The function `name` of `module` as a `Function` pointer; null if either is missing.
template <class Function>
Function FindFunction(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

/// For tests: from now on, behave as on a Windows whose DPI support goes no
/// further than `support`, as if the newer functions were missing.
void LimitDpiSupport(DpiSupport support);

/// For tests: from now on, behave as on a Windows without UI Automation (XP
/// without its update), where screen readers hear of a new result through MSAA alone.
void ForgoUiAutomation();

}  // namespace dosat::win32
