// What the window tests share: driving the two windows in-process, reading them back,
// and the designed rows of the calculation window.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <cstdlib>
#include <string>
#include <vector>

#include "design.h"
#include "dodata.h"
#include "driving.h"
#include "contrast.h"
#include "newerwindows.h"
#include "processor.h"
#include "program.h"
#include "tablelayout.h"
#include "tablepicture.h"
#include "text.h"
#include "theme.h"
#include "win32platform.h"
#include "zepalt.h"

namespace window_tests {

using dosat::design::kCalculationWindow;
using dosat::design::kTableWindow;

using dosat::testing::Pump;

using dosat::win32::TextOf;

inline std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

inline std::string ClassOfName(HWND hwnd) { return dosat::win32::Utf8(ClassOf(hwnd)); }

inline RECT ClientRectIn(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline SIZE ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

// Twice the offset from the screen's corner is the room left over, give or
// take the half pixel that centring in twips leaves.
inline void ExpectCentred(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(2 * r.left - (screenWidth - (r.right - r.left))), 1) << "left " << r.left;
  EXPECT_LE(std::abs(2 * r.top - (screenHeight - (r.bottom - r.top))), 1) << "top " << r.top;
}

// The window, or a control, lies wholly in the work area of the primary monitor: clear
// of taskbars, its title bar on the screen.
inline void ExpectInWorkArea(HWND hwnd) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
      << ClassOfName(hwnd) << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " in "
      << work.left << "," << work.top << "-" << work.right << "," << work.bottom;
}

// A window's client-area pixels, 0x00RRGGBB row by row: as the screen shows them, or as
// the window draws itself for printing (PrintWindow).
inline std::vector<DWORD> ClientPixels(HWND hwnd, bool printed) {
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (printed) {
    PrintWindow(hwnd, memory, PW_CLIENTONLY);
  } else {
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
  }
  GdiFlush();
  const auto* first = static_cast<const DWORD*>(bits);
  std::vector<DWORD> pixels(first, first + client.right * client.bottom);
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// What the picture box shows on the screen is what it draws now: no bits of an earlier
// size or resolution are left standing.
inline void ExpectDrawnAfresh(HWND picture) {
  dosat::testing::Pump();
  UpdateWindow(GetParent(picture));
  const std::vector<DWORD> shown = ClientPixels(picture, false), drawn = ClientPixels(picture, true);
  ASSERT_EQ(shown.size(), drawn.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != drawn[i];
  EXPECT_EQ(differing, 0u) << "of " << shown.size() << " pixels";
}

// The message box a handler opens, read and answered from a timer that its
// modal loop runs.
struct Warning {
  std::wstring caption, text;
  int seen = 0;
};
inline Warning* expectedWarning = nullptr;

inline BOOL CALLBACK KeepMessageBox(HWND hwnd, LPARAM found) {
  if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

inline void CALLBACK AnswerWarning(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), KeepMessageBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  expectedWarning->caption = TextOf(box);
  expectedWarning->text = TextOf(GetDlgItem(box, 0xFFFF));
  ++expectedWarning->seen;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class Win32Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::make_unique<dosat::Program>(platform_, [this](int code) {
      ends_.push_back(code);
      platform_.Quit(code);
    });
    program_->Start();
    Pump();
    calc_ = FindWindowExW(nullptr, nullptr, L"ZEPALT", nullptr);
    ASSERT_NE(calc_, nullptr);
  }
  void TearDown() override {
    program_.reset();
    Pump();
  }

  static HWND Control(HWND top, const dosat::design::Window& design, std::string_view name) {
    return dosat::testing::ControlOf(top, design, name);
  }
  HWND Calc(std::string_view name) const { return Control(calc_, kCalculationWindow, name); }
  HWND Table() const { return FindWindowExW(nullptr, nullptr, L"DOData", nullptr); }
  HWND TableControl(std::string_view name) const { return Control(Table(), kTableWindow, name); }

  static void Type(HWND box, const wchar_t* text) { SetWindowTextW(box, text); }
  static void Press(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
  }
  /// Posts keys to the focused control and lets the program's own message loop
  /// deliver them, as it does for a user's typing.
  void Keys(std::initializer_list<WPARAM> keys) {
    for (const WPARAM key : keys) {
      HWND target = GetFocus();
      PostMessageW(target, WM_KEYDOWN, key, 1);
      if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE) {
        PostMessageW(target, WM_CHAR, key == VK_SPACE ? L' ' : key, 1);
      }
      PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
    PostQuitMessage(0);
    platform_.Run();
  }

  dosat::Win32Platform platform_;
  std::unique_ptr<dosat::Program> program_;
  std::vector<int> ends_;
  HWND calc_ = nullptr;
};

struct Row {
  const char* name;
  const wchar_t* cls;
  const wchar_t* text;
  RECT rect;  // pixels at 96 dpi, in the client area
  bool gothic;
  COLORREF colour;  // CLR_INVALID: the system's text colour
};

constexpr COLORREF kSystemColour = CLR_INVALID;

inline const std::array<Row, 13> kCalcRows = {{
    {"Label5", L"Static", L"適用範囲 :Temp=0～35℃", {60, 17, 269, 34}, true, RGB(0, 0x80, 0)},
    {"Label6", L"Static", L"Salt=純水～海水", {131, 41, 268, 58}, true, RGB(0, 0x80, 0)},
    {"Label1", L"Static", L"水温(℃)", {24, 78, 97, 103}, true, kSystemColour},
    {"Text1", L"Edit", L"", {208, 72, 281, 98}, true, kSystemColour},
    {"Label7", L"Static", L"( 0～35℃ )", {24, 98, 115, 115}, false, kSystemColour},
    {"Label2", L"Static", L"塩素イオン濃度(mg/L)", {24, 120, 177, 153}, true, kSystemColour},
    {"Text2", L"Edit", L"", {208, 120, 281, 146}, true, kSystemColour},
    {"Label3", L"Static", L"(海水標準=21000mg/L)", {24, 141, 153, 158}, false, kSystemColour},
    {"Command1", L"Button", L"計算", {56, 173, 129, 206}, true, kSystemColour},
    {"Command2", L"Button", L"クリヤ", {183, 172, 256, 205}, true, kSystemColour},
    {"Text3", L"Edit", L"", {208, 224, 281, 249}, true, RGB(0xFF, 0, 0xFF)},
    {"Label4", L"Static", L"飽和溶存酸素濃度(mg/L)", {24, 232, 209, 257}, true, kSystemColour},
    {"Command3", L"Button", L"JIS K0102 溶存酸素(表)", {80, 275, 232, 301}, false, kSystemColour},
}};

}  // namespace window_tests
