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
#include "gdifonts.h"
#include "newerwindows.h"
#include "plan.h"
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
  static float Twips(LONG pixels) { return twips::FromPixels(pixels, twips::PerPixel(static_cast<int>(SystemDpi()))); }
  RECT outer() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return r;
  }
  /// The resolution the client area is laid out at: the screen's, times the scale the
  /// window was fitted to its screen at.
  double layoutDpi() const { return dpi_ * static_cast<double>(scale_); }
  /// The window laid out at the layout's resolution, labels measured in this window's glyphs.
  plan::Window plan() const;
  void makeControls();
  /// The fonts of the controls, at the layout's resolution: one for each face and size.
  void makeFonts(const plan::Window& layout);
  HFONT fontOf(const plan::Control& control) const;
  /// The outer size at the layout's scale on a screen of `dpi`: the frame is the screen's.
  SIZE frameSize(UINT dpi) const;
  /// Sizes the window, places its controls and sets their fonts anew for a screen of
  /// dpi_ at scale_: when the window moves to a screen of another resolution, or is
  /// fitted to its screen.
  void layOut(const RECT* suggested);
  /// The ratio the picture box draws the table at, from the size of its interior.
  void measurePicture(HWND picture);
  HBRUSH colours(HDC dc, HWND control, bool edit);
  /// The window's background and each control's text colour on the desktop's palette as
  /// it is now.
  void applyTheme();
  const design::Control* rowOf(HWND control, std::size_t* index = nullptr) const;

  const design::Window& design_;
  WindowEvents& events_;
  HWND hwnd_ = nullptr;
  std::vector<HWND> controls_;
  struct Font {
    fonts::Face face;
    int pixelHeight;
    HFONT font;
  };
  std::vector<Font> fonts_;
  plan::Colours colours_;
  HBRUSH background_ = nullptr;
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
  for (const Font& font : fonts_) DeleteObject(font.font);
  if (background_) DeleteObject(background_);
}

plan::Window Win32Window::plan() const {
  const win32::GdiMeasure measure(hwnd_);
  return plan::LayOut(design_, layoutDpi() / 96, &measure, &win32::TableRows);
}

HFONT Win32Window::fontOf(const plan::Control& control) const {
  for (const Font& font : fonts_) {
    if (font.face.families.data() == control.face.families.data() && font.pixelHeight == control.FontPixelHeight()) {
      return font.font;
    }
  }
  return nullptr;
}

void Win32Window::makeControls() {
  const plan::Window layout = plan();
  makeFonts(layout);
  controls_.assign(design_.controls.size(), nullptr);
  // The dialog manager's Tab key follows the order in which sibling windows were made.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const plan::Control& control : layout.controls) {
    const design::Control& row = design_.controls[control.row];
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (control.kind) {
      case design::Kind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case design::Kind::TextBox:
        cls = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case design::Kind::Button:
        cls = L"BUTTON";
        style |= BS_PUSHBUTTON;
        break;
      case design::Kind::Picture:
        cls = win32::kPictureClass;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    if (control.tabStop) style |= WS_TABSTOP;
    const int id = kFirstControlId + static_cast<int>(control.row);
    const plan::Rect& r = control.rect;
    HWND hwnd = CreateWindowExW(exStyle, cls, Wide(row.text).c_str(), style, r.left, r.top, r.width, r.height, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    controls_[control.row] = hwnd;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
    if (control.kind == design::Kind::TextBox) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
    if (control.kind == design::Kind::Picture) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pictureRatio_));
      measurePicture(hwnd);
    }
    // What screen readers are told beyond what Windows knows of each control; the picture
    // box is the table, with its cells.
    const accessibility::Told& told = control.told;
    if (control.kind == design::Kind::Picture) {
      const auto cellArea = [hwnd, ratio = &pictureRatio_](std::size_t cellRow, std::size_t column) {
        RECT interior;
        GetClientRect(hwnd, &interior);
        return win32::TableCellArea(cellRow, column, *ratio, {interior.right, interior.bottom});
      };
      win32::ProvideAccessibleText(hwnd, {Wide(told.name), Wide(told.description), win32::TableCells(), cellArea});
    } else if (!told.name.empty() || !told.description.empty()) {
      win32::ProvideAccessibleText(hwnd, {Wide(told.name), Wide(told.description), {}, {}});
    }
  }
  // Made in Tab's order, the lowest in the stacking are put at the bottom one by one from
  // the highest of them down; what stacks highest keeps the order it was made in, which
  // is the dialog manager's Tab order.
  std::vector<const plan::Control*> stacked;
  int highest = 0;
  for (const plan::Control& control : layout.controls) {
    stacked.push_back(&control);
    highest = std::max(highest, control.stacking);
  }
  std::stable_sort(stacked.begin(), stacked.end(),
                   [](const plan::Control* a, const plan::Control* b) { return a->stacking > b->stacking; });
  for (const plan::Control* control : stacked) {
    if (control->stacking == highest) continue;
    SetWindowPos(controls_[control->row], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

SIZE Win32Window::frameSize(UINT dpi) const {
  const double perPixel = twips::kPerInch / (dpi * static_cast<double>(scale_));
  RECT frame{0, 0, twips::ToPixels(design_.clientWidth, perPixel),
             twips::ToPixels(design_.clientHeight, perPixel)};
  win32::AdjustWindowRectForDpi(frame, kStyle, 0, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32Window::makeFonts(const plan::Window& layout) {
  for (const plan::Control& control : layout.controls) {
    if (fontOf(control)) continue;
    fonts_.push_back({control.face, control.FontPixelHeight(), win32::MakeFont(control.face, control.FontPixelHeight())});
  }
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
  std::vector<Font> old = std::exchange(fonts_, {});
  const plan::Window layout = plan();
  makeFonts(layout);
  for (const plan::Control& control : layout.controls) {
    HWND hwnd = controls_[control.row];
    const plan::Rect& r = control.rect;
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.kind == design::Kind::Picture) measurePicture(hwnd);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), TRUE);
  }
  for (const Font& font : old) DeleteObject(font.font);
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

void Win32Window::Move(float left, float top) {
  const double perPixel = twips::PerPixel(static_cast<int>(SystemDpi()));
  SetWindowPos(hwnd_, nullptr, twips::ToPixels(left, perPixel), twips::ToPixels(top, perPixel), 0, 0,
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

void Win32Window::applyTheme() {
  colours_ = plan::ColoursOn(design_, win32::DesktopColours());
  if (background_) DeleteObject(background_);
  background_ = CreateSolidBrush(FromBgr(colours_.background));
}

HBRUSH Win32Window::colours(HDC dc, HWND control, bool edit) {
  std::size_t index = 0;
  SetTextColor(dc, rowOf(control, &index) ? FromBgr(colours_.text[index].colour) : GetSysColor(COLOR_WINDOWTEXT));
  if (edit) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }
  SetBkColor(dc, FromBgr(colours_.background));
  return background_;
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
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
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
