#pragma once

#include "platform.h"

namespace dosat {

/// The windows on the plain Win32 API: USER32 windows and controls, GDI
/// fonts and pictures, the dialog manager's keyboard handling.
class Win32Platform final : public Platform {
 public:
  Win32Platform();

  std::unique_ptr<NativeWindow> MakeWindow(const design::Window& design,
                                           WindowEvents& events) override;
  placement::Monitor PrimaryMonitor() const override;
  placement::Monitor MonitorAt(float x, float y) const override;
  NumberLocale UserNumberLocale() const override;
  void Quit(int exitCode) override;

  /// Delivers the windows' messages until Quit; returns its exit status.
  int Run();
};

}  // namespace dosat
