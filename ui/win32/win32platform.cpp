#include "win32platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "accessible.h"
#include "accessibility.h"
#include "design.h"
#include "fonts.h"
#include "newerwindows.h"
#include "picturebox.h"
#include "tablepicture.h"
#include "text.h"
#include "theme.h"
#include "twips.h"

namespace dosat {
namespace {

// Control identifiers start here: the dialog manager sends IDOK (1) and
// IDCANCEL (2) for Enter and Escape, which must not reach a control.
constexpr int kFirstControlId = 100;

using win32::TextOf;
using win32::Utf8;
using win32::Wide;

COLORREF FromBgr(std::uint32_t bgr) { return static_cast<COLORREF>(bgr & 0x00FFFFFF); }

using win32::SystemDpi;
using win32::WindowDpi;

class Win32Window final : public NativeWindow {
 public:
  Win32Window(const design::Window& design, WindowEvents& events);
  ~Win32Window() override;

  void Show() override { ShowWindow(hwnd_, SW_SHOW); }
  void Hide() override { ShowWindow(hwnd_, SW_HIDE); }
  bool IsVisible() const override { return IsWindowVisible(hwnd_) != FALSE; }
  void Move(float left, float top) override;
  float OuterLeft() const override { return Twips(outer().left); }
  float OuterTop() const override { return Twips(outer().top); }
  float OuterWidth() const override { return Twips(outer().right - outer().left); }
  float OuterHeight() const override { return Twips(outer().bottom - outer().top); }
  float ClientWidth() const override;
  float ClientHeight() const override;
  // GetWindowRect has the frame that Windows draws.
  placement::Margins FrameMargins() const override { return {}; }
  void SetScale(float scale) override;

  std::string Text(std::size_t control) const override;
  void SetText(std::size_t control, std::string_view text) override;
  void Focus(std::size_t control, bool selectAll) override;
  void AnnounceValue(std::size_t control) override;
  void ShowWarning(std::string_view caption, std::string_view text,
                   std::function<void()> closed) override;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  /// Twips of the screen's pixels, as windows are placed.
  static float Twips(LONG pixels) { return twips::fromPixels(pixels, twips::perPixel(static_cast<int>(SystemDpi()))); }
  RECT outer() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return r;
  }
  /// The resolution the client area is laid out at: the screen's, times the scale the
  /// window was fitted to its screen at.
  double layoutDpi() const { return dpi_ * static_cast<double>(scale_); }
  void makeControls();
  /// The fonts of the controls, at the layout's resolution.
  void makeFonts();
  /// Where a control goes at the layout's resolution, in pixels of the client area.
  RECT placeOf(const design::Control& row) const;
  HFONT fontOf(const design::Control& row) const {
    return row.font == design::Font::Gothic12 ? gothic_ : plain_;
  }
  /// The outer size at the layout's scale on a screen of `dpi`: the frame is the screen's.
  SIZE frameSize(UINT dpi) const;
  /// Sizes the window, places its controls and sets their fonts anew for a screen of
  /// dpi_ at scale_: when the window moves to a screen of another resolution, or is
  /// fitted to its screen.
  void layOut(const RECT* suggested);
  /// The ratio the picture box draws the table at, from the size of its interior.
  void measurePicture(HWND picture);
  HBRUSH colours(HDC dc, HWND control, bool edit);
  /// The window's own background: as designed, but the theme's in high contrast.
  COLORREF backgroundColour() const;
  HBRUSH backgroundBrush() const;
  /// The text colour of each control on the desktop's palette as it is now.
  void applyTheme();
  int keepLineBreaks(const design::Control& row, HFONT font, int width) const;
  const design::Control* rowOf(HWND control, std::size_t* index = nullptr) const;

  const design::Window& design_;
  WindowEvents& events_;
  HWND hwnd_ = nullptr;
  std::vector<HWND> controls_;
  HFONT gothic_ = nullptr;
  HFONT plain_ = nullptr;
  HBRUSH designedBackground_ = nullptr;  // null where the window leaves it to Windows
  std::vector<COLORREF> textColours_;
  HWND focus_ = nullptr;  // the control to give the focus back to
  UINT dpi_ = 96;         // the resolution of the window's screen
  float scale_ = 1;       // the scale it is laid out at, less than 1 where fitted to its screen
  double pictureRatio_ = 1;  // what the picture box draws the table at
  bool moving_ = false;      // in the user's move or size loop
  HMONITOR movedFrom_ = nullptr;
};

void RegisterClasses(const design::Window& design) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring name = Wide(design.className);
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(instance, name.c_str(), &existing)) return;

  WNDCLASSEXW window{sizeof window};
  window.style = CS_HREDRAW | CS_VREDRAW;
  window.lpfnWndProc = Win32Window::Proc;
  window.hInstance = instance;
  window.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window.lpszClassName = name.c_str();
  window.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  window.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  RegisterClassExW(&window);
  win32::RegisterPictureBox(window.hCursor);
}

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

Win32Window::Win32Window(const design::Window& design, WindowEvents& events)
    : design_(design), events_(events) {
  if (design.background != design::kDefaultColour) {
    designedBackground_ = CreateSolidBrush(FromBgr(design.background));
  }
  // No class brush: WM_ERASEBKGND paints the background in the colours of the moment.
  RegisterClasses(design);
  win32::DesktopChanged();
  applyTheme();
  // Everything is made at its final size and place, once: each move of a
  // window costs a round trip to the window server.
  dpi_ = SystemDpi();
  const SIZE frame = frameSize(dpi_);
  hwnd_ = CreateWindowExW(0, Wide(design.className).c_str(), Wide(design.caption).c_str(), kStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  makeFonts();
  makeControls();
  const RECT made = outer();
  if (WindowDpi(hwnd_) != dpi_ || made.right - made.left != frame.cx ||
      made.bottom - made.top != frame.cy) {
    // Another screen's scale, or cut to a screen smaller than the window: the
    // limits that WM_GETMINMAXINFO gives now let it have its designed size.
    dpi_ = WindowDpi(hwnd_);
    layOut(nullptr);
  }
}

Win32Window::~Win32Window() {
  // Whatever still arrives for the window from here on goes to the default
  // procedure, never to this object.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  if (gothic_) DeleteObject(gothic_);
  if (plain_) DeleteObject(plain_);
  if (designedBackground_) DeleteObject(designedBackground_);
}

void Win32Window::makeControls() {
  const auto& rows = design_.controls;
  controls_.assign(rows.size(), nullptr);
  // The dialog manager's Tab key follows the order in which sibling windows were made.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (std::size_t i : accessibility::CreationOrder(design_)) {
    const design::Control& row = rows[i];
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (row.kind) {
      case design::Kind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case design::Kind::TextBox:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case design::Kind::Button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case design::Kind::Picture:
        cls = win32::kPictureClass;
        style |= WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    const int id = kFirstControlId + static_cast<int>(i);
    const RECT r = placeOf(row);
    controls_[i] = CreateWindowExW(exStyle, cls, Wide(row.text).c_str(), style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                   nullptr);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(row)), FALSE);
    if (row.kind == design::Kind::TextBox) SendMessageW(controls_[i], EM_SETLIMITTEXT, 0, 0);
    if (row.kind == design::Kind::Picture) {
      SetWindowLongPtrW(controls_[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pictureRatio_));
      measurePicture(controls_[i]);
    }
  }
  // What screen readers are told beyond what Windows knows of each control; the picture
  // box is the table, with its cells.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const accessibility::Told told = accessibility::WhatReadersAreTold(design_, i, win32::TableRows());
    if (rows[i].kind == design::Kind::Picture) {
      win32::ProvideAccessibleText(controls_[i], {Wide(told.name), Wide(told.description), win32::TableCells()});
    } else if (!told.name.empty() || !told.description.empty()) {
      win32::ProvideAccessibleText(controls_[i], {Wide(told.name), Wide(told.description), {}});
    }
  }
  // Labels lie under the boxes and buttons, as text drawn on the window itself would:
  // Label4 reaches into the result box, and painted over it would hide the box's left
  // edge. Among themselves, the one listed later lies on top (Label3 over Label2).
  for (std::size_t i = rows.size(); i-- > 0;) {
    if (rows[i].kind == design::Kind::Label) {
      SetWindowPos(controls_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

SIZE Win32Window::frameSize(UINT dpi) const {
  const double perPixel = twips::kPerInch / (dpi * static_cast<double>(scale_));
  RECT frame{0, 0, twips::toPixels(design_.clientWidth, perPixel),
             twips::toPixels(design_.clientHeight, perPixel)};
  win32::AdjustWindowRectForDpi(frame, kStyle, 0, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// "ＭＳ Ｐゴシック" 12 pt as designed, and a 9-point Japanese UI face for the
// controls that set no font of their own.
void Win32Window::makeFonts() {
  const double dpi = layoutDpi();
  // The first of each face's families: Windows finds a stand-in for it where it is missing.
  const auto font = [dpi](design::Font designed) {
    const fonts::Face face = fonts::FaceOf(designed);
    return CreateFontW(-fonts::PixelHeight(face, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       Wide(face.families.front()).c_str());
  };
  gothic_ = font(design::Font::Gothic12);
  plain_ = font(design::Font::Default);
}

RECT Win32Window::placeOf(const design::Control& row) const {
  const double perPixel = twips::kPerInch / layoutDpi();
  const auto px = [&](int twipsValue) { return twips::toPixels(twipsValue, perPixel); };
  int width = px(row.width);
  if (row.kind == design::Kind::Label && layoutDpi() != 96) {
    width = std::max(width, keepLineBreaks(row, fontOf(row), width));
  }
  return {px(row.left), px(row.top), px(row.left) + width, px(row.top) + px(row.height)};
}

void Win32Window::layOut(const RECT* suggested) {
  const SIZE frame = frameSize(dpi_);
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, frame.cx, frame.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The controls keep the old fonts until they have the new ones.
  const HFONT oldGothic = std::exchange(gothic_, nullptr);
  const HFONT oldPlain = std::exchange(plain_, nullptr);
  makeFonts();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const design::Control& row = design_.controls[i];
    const RECT r = placeOf(row);
    SetWindowPos(controls_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (row.kind == design::Kind::Picture) measurePicture(controls_[i]);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(row)), TRUE);
  }
  DeleteObject(oldGothic);
  DeleteObject(oldPlain);
  // Everything drawn anew at the new size: the parent clips its children, and a control
  // that only moved would keep what it showed.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The table at the layout's ratio, or less where the box's sunken edge, which keeps the
// system's width, leaves its interior too small for that.
void Win32Window::measurePicture(HWND picture) {
  RECT interior;
  GetClientRect(picture, &interior);
  pictureRatio_ = win32::TableRatio(layoutDpi() / 96, {interior.right, interior.bottom});
}

void Win32Window::SetScale(float scale) {
  if (scale == scale_) return;
  scale_ = scale;
  layOut(nullptr);
}

// Glyphs do not grow exactly with the screen's resolution: at 150 % a label
// whose text just fits its designed width would wrap, and its last word
// would hide under the label below. Returns the width that keeps the text on
// as many lines as at 96 dpi.
int Win32Window::keepLineBreaks(const design::Control& row, HFONT font, int width) const {
  const std::wstring text = Wide(row.text);
  HDC dc = GetDC(hwnd_);
  const auto lines = [&](HFONT f, int w) {
    HGDIOBJ old = SelectObject(dc, f);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT r{0, 0, w, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    return r.bottom / std::max<LONG>(1, metrics.tmHeight);
  };
  LOGFONTW unscaled;
  GetObjectW(font, sizeof unscaled, &unscaled);
  unscaled.lfHeight = static_cast<LONG>(std::lround(unscaled.lfHeight * 96 / layoutDpi()));
  HFONT at96 = CreateFontIndirectW(&unscaled);
  const int designed = lines(at96, twips::toPixels(row.width));
  DeleteObject(at96);
  int needed = width;
  while (lines(font, needed) > designed && needed < 2 * width) ++needed;
  ReleaseDC(hwnd_, dc);
  return needed;
}

void Win32Window::Move(float left, float top) {
  const double perPixel = twips::perPixel(static_cast<int>(SystemDpi()));
  SetWindowPos(hwnd_, nullptr, twips::toPixels(left, perPixel), twips::toPixels(top, perPixel), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float Win32Window::ClientWidth() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return Twips(r.right);
}

float Win32Window::ClientHeight() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return Twips(r.bottom);
}

std::string Win32Window::Text(std::size_t control) const { return Utf8(TextOf(controls_.at(control))); }

void Win32Window::SetText(std::size_t control, std::string_view text) {
  SetWindowTextW(controls_.at(control), Wide(text).c_str());
}

void Win32Window::Focus(std::size_t control, bool selectAll) {
  HWND hwnd = controls_.at(control);
  focus_ = hwnd;
  if (selectAll) SendMessageW(hwnd, EM_SETSEL, 0, -1);
  // A window not yet active takes the focus when it is activated.
  if (GetActiveWindow() == hwnd_) SetFocus(hwnd);
}

void Win32Window::AnnounceValue(std::size_t control) {
  win32::AnnounceValue(controls_.at(control), Wide(accessibility::Announcement(design_, control, Text(control))));
}

void Win32Window::ShowWarning(std::string_view caption, std::string_view text,
                              std::function<void()> closed) {
  MessageBoxW(hwnd_, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONWARNING);
  closed();
}

const design::Control* Win32Window::rowOf(HWND control, std::size_t* index) const {
  const auto found = std::find(controls_.begin(), controls_.end(), control);
  if (found == controls_.end()) return nullptr;
  const auto i = static_cast<std::size_t>(found - controls_.begin());
  if (index) *index = i;
  return &design_.controls[i];
}

COLORREF Win32Window::backgroundColour() const {
  return FromBgr(contrast::WindowBackground(design_.background, win32::SystemColour(COLOR_BTNFACE),
                                            win32::SystemColour(COLOR_WINDOW), win32::DesktopPalette()));
}

HBRUSH Win32Window::backgroundBrush() const {
  if (!designedBackground_) return GetSysColorBrush(COLOR_BTNFACE);
  return win32::HighContrast() ? GetSysColorBrush(COLOR_WINDOW) : designedBackground_;
}

void Win32Window::applyTheme() {
  const contrast::Desktop desktop = win32::DesktopColours(backgroundColour());
  textColours_.clear();
  for (const design::Control& row : design_.controls) {
    textColours_.push_back(FromBgr(contrast::ControlTextColour(row, desktop)));
  }
}

HBRUSH Win32Window::colours(HDC dc, HWND control, bool edit) {
  std::size_t index = 0;
  SetTextColor(dc, rowOf(control, &index) ? textColours_[index] : GetSysColor(COLOR_WINDOWTEXT));
  if (edit) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }
  SetBkColor(dc, backgroundColour());
  return backgroundBrush();
}

LRESULT CALLBACK Win32Window::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Win32Window*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      std::size_t index = 0;
      const design::Control* row = rowOf(reinterpret_cast<HWND>(lParam), &index);
      if (row && row->kind == design::Kind::Button && HIWORD(wParam) == BN_CLICKED) {
        // The handler may hide this window; nothing here touches it afterwards.
        events_.Clicked(index);
      }
      return 0;
    }
    case WM_CLOSE:
      // Unloading destroys this window and this object: return at once.
      events_.CloseRequested();
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush());
      return 1;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      // Another theme, or high contrast turned on or off: both windows, shown or
      // hidden, take the new colours; their controls are told too, as common
      // controls learn of it only from their parent.
      win32::DesktopChanged();
      applyTheme();
      for (HWND control : controls_) SendMessageW(control, message, wParam, lParam);
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      // A taskbar moved, shown or hidden: the window must still fit what is left.
      if (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA) events_.ScreenChanged();
      break;
    case WM_DISPLAYCHANGE:
      events_.ScreenChanged();
      break;
    case WM_ENTERSIZEMOVE:
      moving_ = true;
      movedFrom_ = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST);
      break;
    case WM_EXITSIZEMOVE:
      // Fitted to the monitor it was dropped on, once the user lets go of it.
      moving_ = false;
      if (MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST) != movedFrom_) events_.ScreenChanged();
      break;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), false));
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(
          colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), true));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focused = GetFocus();
        if (focused && IsChild(hwnd_, focused)) focus_ = focused;
      } else if (focus_ && IsWindow(focus_)) {
        SetFocus(focus_);
      } else {
        SetFocus(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
      }
      return 0;
    case win32::kDpiChangedMessage:
      // Where Windows suggests, at the new resolution and the scale of the moment; fitted
      // to the new screen at once, or once a drag across screens ends.
      dpi_ = HIWORD(wParam);
      layOut(reinterpret_cast<const RECT*>(lParam));
      if (!moving_) events_.ScreenChanged();
      return 0;
    case WM_GETMINMAXINFO: {
      // A window keeps its designed size even where the screen is smaller: it is
      // then placed partly off the screen rather than cut short.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      const SIZE frame = frameSize(dpi_);
      limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, frame.cx);
      limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, frame.cy);
      return 0;
    }
    case DM_GETDEFID:
      return 0;  // no default button: Enter presses nothing
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<NativeWindow> Win32Platform::MakeWindow(const design::Window& design,
                                                        WindowEvents& events) {
  return std::make_unique<Win32Window>(design, events);
}

}  // namespace dosat
