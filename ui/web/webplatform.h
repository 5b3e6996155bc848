#pragma once

#include "platform.h"

namespace dosat {

/// The windows as panels of one web page, drawn by the browser.
class WebPlatform final : public Platform {
 public:
  /// Starts listening to the page: the browser's history, its viewport and colours, and
  /// the page's end.
  WebPlatform();

  std::unique_ptr<NativeWindow> MakeWindow(const design::Window& design,
                                           WindowEvents& events) override;
  /// The page's viewport, wherever the point: the one monitor a page has.
  placement::Monitor PrimaryMonitor() const override;
  placement::Monitor MonitorAt(float x, float y) const override;
  /// The separators of the browser's language, as Intl.NumberFormat writes numbers there.
  NumberLocale UserNumberLocale() const override;
  /// Nothing reaches the program from the page any more.
  void Quit(int exitCode) override;
};

namespace web {

// What the page reports, passed on to the window it concerns.
void Clicked(int window, int control);
void WarningClosed(int window);
void HistoryMoved(int window);
void PageClosed();
void ThemeChanged();
void RatioChanged();
void ScreenChanged();

}  // namespace web
}  // namespace dosat
