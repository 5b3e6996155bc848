#pragma once

#include <QWidget>

#include "form.h"
#include "platform.h"

namespace dosat {

/// Before the application object exists: on a Wayland desktop that has Xwayland, runs
/// the program through Xwayland unless the user names a platform (QT_QPA_PLATFORM, or
/// -platform on the command line).
void ChoosePlatform();

/// Sets what the program asks of Qt before any window exists: the default
/// font, the window icon, and that hiding the last window does not end it.
void ConfigureApplication();

/// The windows on Qt Widgets.
class QtPlatform final : public Platform {
 public:
  std::unique_ptr<NativeWindow> MakeWindow(const design::Window& design,
                                           WindowEvents& events) override;
  placement::Monitor PrimaryMonitor() const override;
  placement::Monitor MonitorAt(float x, float y) const override;
  NumberLocale UserNumberLocale() const override;
  void Quit(int exitCode) override;
};

namespace qt {

/// The top-level widget of a loaded form made by QtPlatform, else null.
QWidget* Window(const Form& form);

/// The widget of a control of a loaded form made by QtPlatform, else null.
QWidget* WidgetOf(const Control& control);

template <class W>
W* Widget(const Control& control) {
  return qobject_cast<W*>(WidgetOf(control));
}

}  // namespace qt
}  // namespace dosat
