#include "webplatform.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fonts.h"
#include "design.h"
#include "navigation.h"
#include "page.h"
#include "plan.h"
#include "screen.h"
#include "tablepicture.h"
#include "theme.h"
#include "twips.h"
#include "webaccessibility.h"

namespace dosat {
namespace {

using namespace web;

class WebWindow;

/// The windows that exist, by the handle the page gave them.
std::vector<WebWindow*>& Windows() {
  static std::vector<WebWindow*> windows;
  return windows;
}

/// Once the program has ended, nothing the page reports reaches a window.
bool ended = false;

WebWindow* WindowOf(int handle) {
  const auto& windows = Windows();
  if (ended || handle < 0 || static_cast<std::size_t>(handle) >= windows.size()) return nullptr;
  return windows[handle];
}

Navigation& History();

class WebWindow final : public NativeWindow {
 public:
  WebWindow(const design::Window& design, WindowEvents& events);
  ~WebWindow() override;

  void Show() override;
  void Hide() override { dosat_window_hide(handle_); }
  bool IsVisible() const override { return dosat_window_visible(handle_); }
  void Move(float left, float top) override {
    dosat_window_move(handle_, twips::ToPixels(left), twips::ToPixels(top));
  }
  float OuterLeft() const override { return Twips(dosat_window_place(handle_, 0)); }
  float OuterTop() const override { return Twips(dosat_window_place(handle_, 1)); }
  float OuterWidth() const override { return Twips(dosat_window_outer_size(handle_, false)); }
  float OuterHeight() const override { return Twips(dosat_window_outer_size(handle_, true)); }
  float ClientWidth() const override { return Twips(dosat_window_place(handle_, 2)); }
  float ClientHeight() const override { return Twips(dosat_window_place(handle_, 3)); }
  /// The page has no window manager: the panel's frame is all there is.
  placement::Margins FrameMargins() const override { return {}; }
  /// The client area zoomed as one piece, the table drawn afresh for its pixels.
  void SetScale(float scale) override {
    dosat_window_set_scale(handle_, scale);
    Redraw();
  }

  std::string Text(std::size_t control) const override;
  void SetText(std::size_t control, std::string_view text) override {
    dosat_control_set_text(handle_, static_cast<int>(control), text.data(), Length(text));
  }
  void Focus(std::size_t control, bool selectAll) override {
    dosat_control_focus(handle_, static_cast<int>(control), selectAll);
  }
  void AnnounceValue(std::size_t control) override { Announce(design_, control, Text(control)); }
  void ShowWarning(std::string_view caption, std::string_view text, std::function<void()> closed) override;

  // What the page reports of this window.
  void Clicked(int control) { events_.Clicked(static_cast<std::size_t>(control)); }
  void WarningClosed();
  void CloseRequested() { events_.CloseRequested(); }
  void ScreenChanged() { events_.ScreenChanged(); }
  /// The text colours and the table drawn anew for the page's colours and pixels of now.
  void Recolour();
  void Redraw();

 private:
  const design::Window& design_;
  WindowEvents& events_;
  int handle_;
  std::function<void()> warningClosed_;
};

WebWindow::WebWindow(const design::Window& design, WindowEvents& events) : design_(design), events_(events) {
  // In CSS pixels, which the browser scales to the screen; the whole client area is
  // zoomed where the window is fitted to a smaller one.
  const plan::Window layout = plan::LayOut(design, 1.0, nullptr, &TableRows);
  handle_ = dosat_window_make(design.className.data(), Length(design.className), design.caption.data(),
                              Length(design.caption), layout.clientWidth, layout.clientHeight);
  if (Windows().size() <= static_cast<std::size_t>(handle_)) Windows().resize(handle_ + 1);
  Windows()[handle_] = this;
  // Tab follows the page's order of its elements.
  for (const plan::Control& control : layout.controls) {
    const design::Control& row = design.controls[control.row];
    const plan::Rect& r = control.rect;
    const std::string families = fonts::CssFamilies(control.face.families);
    dosat_control_make(handle_, static_cast<int>(control.row), static_cast<int>(control.kind), row.name.data(),
                       Length(row.name), row.text.data(), Length(row.text), r.left, r.top, r.width, r.height,
                       control.stacking, families.data(), Length(families), control.fontPixels);
  }
  TellReaders(handle_, layout);
  for (const plan::Control& control : layout.controls) {
    if (control.kind == design::Kind::Picture) MakeAccessibleTable(handle_, static_cast<int>(control.row));
  }
  Recolour();
  Redraw();
}

WebWindow::~WebWindow() {
  Windows()[handle_] = nullptr;
  dosat_window_destroy(handle_);
}

void WebWindow::Show() {
  dosat_window_show(handle_);
  History().Shown(handle_, design_.className);
}

std::string WebWindow::Text(std::size_t control) const {
  const int size = dosat_control_text_size(handle_, static_cast<int>(control));
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  dosat_control_text_copy(text.data(), size + 1);
  text.resize(static_cast<std::size_t>(size));
  return text;
}

void WebWindow::ShowWarning(std::string_view caption, std::string_view text, std::function<void()> closed) {
  warningClosed_ = std::move(closed);
  dosat_window_warn(handle_, caption.data(), Length(caption), text.data(), Length(text));
}

void WebWindow::WarningClosed() {
  // Taken first: what it runs may show another warning.
  const std::function<void()> closed = std::move(warningClosed_);
  warningClosed_ = nullptr;
  if (closed) closed();
}

void WebWindow::Recolour() { ApplyTextColours(handle_, design_); }

void WebWindow::Redraw() {
  for (std::size_t i = 0; i < design_.controls.size(); ++i) {
    if (design_.controls[i].kind == design::Kind::Picture) DrawTable(handle_, static_cast<int>(i));
  }
}

Navigation& History() {
  static Navigation navigation([](int from, int to) {
    WebWindow* shown = WindowOf(from);
    WebWindow* next = WindowOf(to);
    if (!shown || !next) return;
    shown->Hide();
    next->Show();
  });
  return navigation;
}

template <class F>
void ForEachWindow(F f) {
  for (WebWindow* window : Windows()) {
    if (window && !ended) f(*window);
  }
}

}  // namespace

WebPlatform::WebPlatform() {
  const std::string families = fonts::CssFamilies(fonts::FaceOf(design::Font::Default).families);
  dosat_page_set_font(families.data(), Length(families));
  dosat_page_listen();
  dosat_history_listen();
  dosat_screen_listen();
  dosat_theme_listen();
}

std::unique_ptr<NativeWindow> WebPlatform::MakeWindow(const design::Window& design, WindowEvents& events) {
  return std::make_unique<WebWindow>(design, events);
}

placement::Monitor WebPlatform::PrimaryMonitor() const {
  float tallest = 0;
  ForEachWindow([&tallest](WebWindow& w) { tallest = std::max(tallest, w.OuterHeight()); });
  return Viewport(tallest);
}

placement::Monitor WebPlatform::MonitorAt(float, float) const { return PrimaryMonitor(); }

// The program's own separators where the browser gives none.
NumberLocale WebPlatform::UserNumberLocale() const {
  NumberLocale locale;
  if (const int decimal = dosat_locale_separator(false)) locale.decimal = static_cast<char32_t>(decimal);
  if (const int group = dosat_locale_separator(true)) locale.group = static_cast<char32_t>(group);
  return locale;
}

void WebPlatform::Quit(int) { ended = true; }

namespace web {

void Clicked(int window, int control) {
  if (WebWindow* w = WindowOf(window)) w->Clicked(control);
}

void WarningClosed(int window) {
  if (WebWindow* w = WindowOf(window)) w->WarningClosed();
}

void HistoryMoved(int window) { History().Moved(window); }

void PageClosed() {
  for (WebWindow* window : Windows()) {
    if (window && !ended && window->IsVisible()) {
      window->CloseRequested();
      return;
    }
  }
}

void ThemeChanged() {
  ForEachWindow([](WebWindow& w) {
    w.Recolour();
    w.Redraw();
  });
}

void RatioChanged() {
  ForEachWindow([](WebWindow& w) { w.Redraw(); });
}

void ScreenChanged() {
  ForEachWindow([](WebWindow& w) { w.ScreenChanged(); });
}

}  // namespace web
}  // namespace dosat
