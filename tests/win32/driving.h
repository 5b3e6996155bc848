#pragma once

// What the tests of the windows share: reaching a control by its designed name, letting
// the messages a step posted arrive, and, from another process, starting a program,
// finding a window and reading its text.
#include <windows.h>

#include <string>
#include <string_view>

#include "design.h"

namespace dosat::testing {

/// dosat.exe numbers the controls from this identifier in the order of their rows.
inline constexpr int kFirstControlId = 100;

inline HWND ControlOf(HWND top, const design::Window& design, std::string_view name) {
  return GetDlgItem(top, kFirstControlId + static_cast<int>(design.Find(name)));
}

/// Delivers every message waiting for this thread's windows.
inline void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

/// The text of a window or control of another process: WM_GETTEXT, which GetWindowText
/// does not send to another process's controls.
inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

/// Waits up to `seconds` for a visible top-level window of the class.
inline HWND WaitForWindow(const wchar_t* cls, double seconds) {
  for (int i = 0; i < seconds * 50; ++i) {
    HWND hwnd = FindWindowW(cls, nullptr);
    if (hwnd && IsWindowVisible(hwnd)) return hwnd;
    Sleep(20);
  }
  return nullptr;
}

/// A program started from a command line; still running when this goes, it is ended.
class Process {
 public:
  explicit Process(std::wstring command, const wchar_t* folder = nullptr) {
    STARTUPINFOW startup{sizeof startup};
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder, &startup, &process_);
  }
  ~Process() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return started_; }
  /// The exit status once the program has ended, or -1 if it has not within `milliseconds`
  /// (or did not start).
  int ExitStatus(DWORD milliseconds) const {
    if (!started_ || WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    return static_cast<int>(status);
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

}  // namespace dosat::testing
