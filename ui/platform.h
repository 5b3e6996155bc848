#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "dosat/numbertext.h"
#include "placement.h"

// The windowing operations the two windows rely on. Each platform (Qt
// Widgets, Win32, the web page) implements them once; the windows themselves are
// written against this interface only. Controls are named by their row in the
// window's design; sizes and positions are twips; texts are UTF-8.
namespace dosat {

namespace design {
struct Window;
}

/// What a native window reports to the form it belongs to.
class WindowEvents {
 public:
  /// The push button in row `control` was pressed.
  virtual void Clicked(std::size_t control) = 0;
  /// The user closes the window (title-bar button, Alt+F4, the window menu).
  virtual void CloseRequested() = 0;
  /// The window is on another monitor now, or its monitor's scale or work area changed.
  virtual void ScreenChanged() = 0;

 protected:
  ~WindowEvents() = default;
};

/// A loaded window and its controls. Destroying it destroys the window.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;

  /// Makes the window visible, modeless and without owner.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  /// Places the outer frame's top-left corner on the screen; size unchanged.
  virtual void Move(float left, float top) = 0;
  /// Where the outer frame's top-left corner stands.
  virtual float OuterLeft() const = 0;
  virtual float OuterTop() const = 0;
  /// Outer size of the window, frame included where the platform knows it.
  virtual float OuterWidth() const = 0;
  virtual float OuterHeight() const = 0;
  /// Size of the client area.
  virtual float ClientWidth() const = 0;
  virtual float ClientHeight() const = 0;
  /// The frame the window manager puts round the outer size still, where the platform
  /// does not count it yet; zero where the outer size has it.
  virtual placement::Margins FrameMargins() const = 0;
  /// Lays the window out again at `scale` times its size at the desktop's own scale:
  /// client area, controls, fonts and pictures. The frame keeps its size, and the outer
  /// frame's top-left corner its place.
  virtual void SetScale(float scale) = 0;

  /// The whole text of a text box, or the caption of another control.
  virtual std::string Text(std::size_t control) const = 0;
  virtual void SetText(std::size_t control, std::string_view text) = 0;
  /// Puts the keyboard focus on a control, its text selected if asked.
  virtual void Focus(std::size_t control, bool selectAll) = 0;
  /// Tells assistive technology that a box's value has just changed, so that
  /// a screen reader reads it without the focus moving there.
  virtual void AnnounceValue(std::size_t control) = 0;
  /// Shows a warning message over the window; `closed` runs once the user has
  /// dismissed it.
  virtual void ShowWarning(std::string_view caption, std::string_view text,
                           std::function<void()> closed) = 0;
};

/// The desktop the program runs on.
class Platform {
 public:
  /// Creates the window `design` describes, with all its controls, not yet
  /// visible. `events` outlives the window.
  virtual std::unique_ptr<NativeWindow> MakeWindow(const design::Window& design,
                                                   WindowEvents& events) = 0;
  /// The primary monitor, where windows open.
  virtual placement::Monitor PrimaryMonitor() const = 0;
  /// The monitor that holds the point (x, y), else the nearest one.
  virtual placement::Monitor MonitorAt(float x, float y) const = 0;
  /// The user's decimal and group separators.
  virtual NumberLocale UserNumberLocale() const = 0;
  /// Leaves the message loop with the exit status.
  virtual void Quit(int exitCode) = 0;

 protected:
  ~Platform() = default;
};

}  // namespace dosat
