#include "theme.h"

namespace dosat::win32 {
namespace {

struct Desktop {
  contrast::Palette palette = contrast::Palette::Designed;
};

std::optional<bool> reported;

// The one place that asks Windows about high contrast.
bool AskHighContrast() {
  if (reported) return *reported;
  HIGHCONTRASTW settings{sizeof settings};
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON);
}

bool LightFace(std::uint32_t colour) {
  return (colour & 0xFF) >= 0xC0 && ((colour >> 8) & 0xFF) >= 0xC0 && ((colour >> 16) & 0xFF) >= 0xC0;
}

Desktop Read() {
  Desktop desktop;
  // Windows 7 and 10 give the face F0F0F0, the classic theme D4D0C8, wine F5F5F5: a
  // light face with black text in white boxes is the look the windows were designed on.
  const bool designed = SystemColour(COLOR_WINDOW) == 0xFFFFFF && SystemColour(COLOR_WINDOWTEXT) == 0 &&
                        SystemColour(COLOR_BTNTEXT) == 0 && LightFace(SystemColour(COLOR_BTNFACE));
  desktop.palette = AskHighContrast() ? contrast::Palette::HighContrast
                    : designed          ? contrast::Palette::Designed
                                        : contrast::Palette::Other;
  return desktop;
}

Desktop& Current() {
  static Desktop desktop = Read();
  return desktop;
}

}  // namespace

contrast::Palette DesktopPalette() { return Current().palette; }

std::uint32_t SystemColour(int index) { return static_cast<std::uint32_t>(GetSysColor(index)) & 0xFFFFFF; }

contrast::Desktop DesktopColours() {
  const std::uint32_t text = SystemColour(COLOR_WINDOWTEXT);
  return {SystemColour(COLOR_BTNFACE), text, SystemColour(COLOR_WINDOW), text, DesktopPalette()};
}

void DesktopChanged() { Current() = Read(); }

void ReportHighContrast(std::optional<bool> on) {
  reported = on;
  DesktopChanged();
}

}  // namespace dosat::win32
