// Start-up of the windowing and the message loop.
#include "win32platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include "design.h"
#include "text.h"

namespace dosat {
namespace {

using win32::Wide;

bool IsOurWindow(HWND hwnd) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return Wide(design::kCalculationWindow.className) == name ||
         Wide(design::kTableWindow.className) == name;
}

}  // namespace

Win32Platform::Win32Platform() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

void Win32Platform::Quit(int exitCode) { PostQuitMessage(exitCode); }

int Win32Platform::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    const bool ours = top && IsOurWindow(top);
    const bool key = message.message == WM_KEYDOWN || message.message == WM_CHAR;
    const bool enterOrEscape =
        key && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE || message.wParam == '\n');
    if (ours && enterOrEscape) {
      // No button is the default or the cancel button, and a single-line box
      // would only beep: Enter and Escape do nothing.
      if (message.message == WM_CHAR) continue;
    } else if (ours && IsDialogMessageW(top, &message)) {
      continue;  // Tab and Shift+Tab, Space on a button
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace dosat
