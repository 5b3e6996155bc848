#pragma once

// What the in-process tests of the windows share: reaching a control by its designed
// name, and letting the messages a step posted arrive.
#include <windows.h>

#include <string_view>

#include "design.h"

namespace dosat::testing {

/// dosat.exe numbers the controls from this identifier in the order of their rows.
inline constexpr int kFirstControlId = 100;

inline HWND ControlOf(HWND top, const design::Window& design, std::string_view name) {
  return GetDlgItem(top, kFirstControlId + static_cast<int>(design.find(name)));
}

/// Delivers every message waiting for this thread's windows.
inline void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace dosat::testing
