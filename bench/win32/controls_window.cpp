// The second floor bench_startup --wine compares dosat.exe against: the calculation
// window's thirteen controls, with their texts, places, sizes, fonts and text colours, and
// dosat.exe's manifest, made with plain Win32 calls and nothing else. What dosat.exe
// takes beyond this window is its own: the table window, accessibility, the calculation.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "design.h"
#include "text.h"
#include "twips.h"

namespace {

namespace design = dosat::design;
using dosat::win32::Wide;

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr int kFirstControlId = 100;

const design::Window& kWindow = design::kCalculationWindow;

// The text colour a row is designed with, on the system colour of its background.
HBRUSH Colours(HDC dc, HWND control, int background) {
  const auto row = static_cast<std::size_t>(GetDlgCtrlID(control) - kFirstControlId);
  const std::uint32_t colour = row < kWindow.controls.size() ? kWindow.controls[row].colour : design::kDefaultColour;
  SetTextColor(dc, colour == design::kDefaultColour ? GetSysColor(COLOR_WINDOWTEXT) : colour & 0x00FFFFFF);
  SetBkColor(dc, GetSysColor(background));
  return GetSysColorBrush(background);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(Colours(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l), COLOR_BTNFACE));
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(Colours(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l), COLOR_WINDOW));
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

HFONT Font(int points, int dpi, const wchar_t* face) {
  return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"controls_window";
  if (!RegisterClassW(&windowClass)) return 1;

  // The screen's one DPI, the scale dosat.exe makes its windows at; asked the way every
  // Windows from 7 on answers.
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const double perPixel = dosat::twips::PerPixel(dpi);
  const auto px = [perPixel](int twips) { return dosat::twips::ToPixels(twips, perPixel); };

  RECT frame{0, 0, px(kWindow.clientWidth), px(kWindow.clientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, Wide(kWindow.caption).c_str(), kStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;

  HFONT gothic = Font(12, dpi, L"ＭＳ Ｐゴシック");
  HFONT plain = Font(9, dpi, L"MS UI Gothic");
  for (std::size_t i = 0; i < kWindow.controls.size(); ++i) {
    const design::Control& row = kWindow.controls[i];
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (row.kind == design::Kind::TextBox) {
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
    } else if (row.kind == design::Kind::Button) {
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
    } else {
      style |= SS_LEFT | SS_NOPREFIX;
    }
    HWND control = CreateWindowExW(exStyle, cls, Wide(row.text).c_str(), style, px(row.left), px(row.top),
                                   px(row.width), px(row.height), window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance,
                                   nullptr);
    SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(row.font == design::Font::Gothic12 ? gothic : plain), FALSE);
  }
  // Overlapping labels lie as in the calculation window: the one listed later on top.
  for (std::size_t i = 0; i < kWindow.controls.size(); ++i) {
    if (kWindow.controls[i].kind != design::Kind::Label) continue;
    SetWindowPos(GetDlgItem(window, kFirstControlId + static_cast<int>(i)), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ShowWindow(window, show);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(gothic);
  DeleteObject(plain);
  return static_cast<int>(message.wParam);
}
