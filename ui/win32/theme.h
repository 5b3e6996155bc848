#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>

#include "contrast.h"

// The desktop's colours as the windows draw with them: the user's system colours,
// and whether a high-contrast theme is on, read once and again whenever Windows
// says they changed.
namespace dosat::win32 {

/// Which palette the windows meet: high contrast, where the windows draw every text and
/// background in the theme's system colours, and the table too; Windows' own light one (black
/// text in white boxes on a light grey face), which they were designed on; or
/// any other, on which designed colours must still read at 4.5:1.
contrast::Palette DesktopPalette();

/// A system colour as 0x00BBGGRR.
std::uint32_t SystemColour(int index);

/// The desktop's colours: a window's face and text, a text box's field and text, and the
/// palette.
contrast::Desktop DesktopColours();

/// Reads the desktop's colours and high-contrast setting anew: on WM_SYSCOLORCHANGE
/// and WM_SETTINGCHANGE.
void DesktopChanged();

/// For tests: from now on, high contrast is `on` whatever Windows says (wine's
/// SPI_GETHIGHCONTRAST never reports it); nullopt asks Windows again.
void ReportHighContrast(std::optional<bool> on);

}  // namespace dosat::win32
