#include "newerwindows.h"

#include <string>

namespace dosat::win32 {
namespace {

// The headers are those of Windows XP (_WIN32_WINNT 0x0501), or Vista's where the C++
// library needs them (ui/win32/CMakeLists.txt), so that nothing newer is called by
// accident: what is needed of later ones is spelt here.
using DpiContext = HANDLE;
const DpiContext kPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

struct Functions {
  // Windows 10 1607
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* getDpiForSystem)() = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  DpiContext(WINAPI* getThreadDpiAwarenessContext)() = nullptr;
  BOOL(WINAPI* areDpiAwarenessContextsEqual)(DpiContext, DpiContext) = nullptr;
  // Windows 8.1, shcore.dll
  HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
  // Windows 10 1709, uiautomationcore.dll
  HRESULT(WINAPI* uiaHostProviderFromHwnd)(HWND, IUnknown**) = nullptr;
  HRESULT(WINAPI* uiaRaiseNotificationEvent)(IUnknown*, int, int, BSTR, BSTR) = nullptr;
};

void ResolveDpiForMonitor(Functions& f) {
  f.getDpiForMonitor = FindFunction<decltype(f.getDpiForMonitor)>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
}

Functions Resolve() {
  Functions f;
  HMODULE user = GetModuleHandleW(L"user32.dll");
  f.getDpiForWindow = FindFunction<decltype(f.getDpiForWindow)>(user, "GetDpiForWindow");
  f.getDpiForSystem = FindFunction<decltype(f.getDpiForSystem)>(user, "GetDpiForSystem");
  f.adjustWindowRectExForDpi = FindFunction<decltype(f.adjustWindowRectExForDpi)>(user, "AdjustWindowRectExForDpi");
  f.getThreadDpiAwarenessContext =
      FindFunction<decltype(f.getThreadDpiAwarenessContext)>(user, "GetThreadDpiAwarenessContext");
  f.areDpiAwarenessContextsEqual =
      FindFunction<decltype(f.areDpiAwarenessContextsEqual)>(user, "AreDpiAwarenessContextsEqual");
  // Needed only where the first is missing: no DLL more to load at start-up on Windows 10.
  if (!f.getDpiForWindow) ResolveDpiForMonitor(f);
  return f;
}

Functions& Resolved() {
  static Functions functions = Resolve();
  return functions;
}

// Looked up on the first announcement, not at start-up: loading UI Automation
// costs more than the whole window.
const Functions& WithUiAutomation() {
  static const bool looked = [] {
    HMODULE uia = LoadSystemLibrary(L"uiautomationcore.dll");
    Functions& f = Resolved();
    f.uiaHostProviderFromHwnd = FindFunction<decltype(f.uiaHostProviderFromHwnd)>(uia, "UiaHostProviderFromHwnd");
    f.uiaRaiseNotificationEvent = FindFunction<decltype(f.uiaRaiseNotificationEvent)>(uia, "UiaRaiseNotificationEvent");
    return true;
  }();
  (void)looked;
  return Resolved();
}

}  // namespace

// A Windows that does not know LOAD_LIBRARY_SEARCH_SYSTEM32 (XP, and Vista and 7
// without their 2011 loader update) may ignore it and search the program's folder
// first, where a DLL of the same name could lie: the flag is given only where the
// loader has AddDllDirectory, which came with it.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  static const bool searchFlag = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
  return LoadSystemLibrary(name, searchFlag);
}

HMODULE LoadSystemLibrary(const wchar_t* name, bool searchFlag) {
  if (searchFlag) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  const std::wstring full = std::wstring(path, length < MAX_PATH ? length : 0) + L"\\" + name;
  return length && length < MAX_PATH ? LoadLibraryW(full.c_str()) : nullptr;
}

DpiSupport CurrentDpiSupport() {
  const Functions& f = Resolved();
  if (f.getDpiForWindow) return DpiSupport::PerWindow;
  if (f.getDpiForMonitor) return DpiSupport::PerMonitor;
  return DpiSupport::System;
}

UINT SystemDpi() {
  if (const auto get = Resolved().getDpiForSystem) return get();
  // Fixed for the whole session before Windows 10.
  static const UINT dpi = [] {
    HDC screen = GetDC(nullptr);
    const int logPixels = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return logPixels > 0 ? static_cast<UINT>(logPixels) : 96u;
  }();
  return dpi;
}

UINT WindowDpi(HWND window) {
  const Functions& f = Resolved();
  if (f.getDpiForWindow) {
    if (const UINT dpi = f.getDpiForWindow(window)) return dpi;
  } else if (f.getDpiForMonitor) {
    UINT x = 0, y = 0;
    if (SUCCEEDED(f.getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) &&
        x) {
      return x;
    }
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  const Functions& f = Resolved();
  // Only per-monitor v2 (Windows 10 1703 on) scales a frame with its window; in
  // any other mode the frame keeps the system's metrics on every screen.
  const bool framesScale = f.adjustWindowRectExForDpi && f.getThreadDpiAwarenessContext &&
                           f.areDpiAwarenessContextsEqual &&
                           f.areDpiAwarenessContextsEqual(f.getThreadDpiAwarenessContext(), kPerMonitorV2);
  if (framesScale && f.adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi)) return;
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

bool RaiseNotification(HWND control, BSTR text, BSTR activity) {
  const Functions& f = WithUiAutomation();
  IUnknown* provider = nullptr;
  if (!f.uiaHostProviderFromHwnd || !f.uiaRaiseNotificationEvent ||
      FAILED(f.uiaHostProviderFromHwnd(control, &provider)) || !provider) {
    return false;
  }
  // NotificationKind_ActionCompleted, NotificationProcessing_ImportantMostRecent
  const HRESULT raised = f.uiaRaiseNotificationEvent(provider, 2, 2, text, activity);
  provider->Release();
  return SUCCEEDED(raised);
}

void LimitDpiSupport(DpiSupport support) {
  Functions& f = Resolved();
  if (support != DpiSupport::PerWindow) {
    f.getDpiForWindow = nullptr;
    f.getDpiForSystem = nullptr;
    f.adjustWindowRectExForDpi = nullptr;
    f.getThreadDpiAwarenessContext = nullptr;
    f.areDpiAwarenessContextsEqual = nullptr;
  }
  if (support == DpiSupport::PerMonitor && !f.getDpiForMonitor) ResolveDpiForMonitor(f);
  if (support == DpiSupport::System) f.getDpiForMonitor = nullptr;
}

void ForgoUiAutomation() {
  // Looked up now, so that it is never looked up again.
  WithUiAutomation();
  Functions& f = Resolved();
  f.uiaHostProviderFromHwnd = nullptr;
  f.uiaRaiseNotificationEvent = nullptr;
}

}  // namespace dosat::win32
