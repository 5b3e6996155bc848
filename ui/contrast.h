#pragma once

#include <cstdint>

namespace dosat::design {
struct Control;
}

// Text colours that stay readable on whatever desktop palette the windows meet.
// Colours are 0x00BBGGRR, as the window descriptions give them.
namespace dosat::contrast {

/// The contrast a text needs against its background: WCAG 2's floor for text.
inline constexpr double kMinimum = 4.5;

/// WCAG 2 relative luminance, 0 (black) to 1 (white).
double Luminance(std::uint32_t colour);

/// WCAG 2 contrast ratio of two colours, 1 to 21, in either order.
double Ratio(std::uint32_t a, std::uint32_t b);

/// The colour of the same hue and saturation as `colour` whose lightness lies
/// nearest to its own while reaching kMinimum against `background`: `colour`
/// itself if it already does. Black or white always reaches it, so there is
/// always such a colour.
std::uint32_t Readable(std::uint32_t colour, std::uint32_t background);

/// The desktop palette the windows are drawn on.
enum class Palette {
  Designed,      ///< the platform's default light palette, the one the windows were designed on
  Other,         ///< any other: dark, coloured, or high contrast that the platform does not report
  HighContrast,  ///< a high-contrast theme the platform reports: its own colours, always
};

/// What a control draws its text in on `background`, for its designed text
/// colour `designed` (design::kDefaultColour where it sets none): the designed
/// colour on the palette it was designed for, the nearest readable one on any
/// other, and the desktop's own `systemText` in high contrast or where the
/// control sets no colour.
std::uint32_t TextColour(std::uint32_t designed, std::uint32_t background,
                         std::uint32_t systemText, Palette palette);

/// The desktop's colours that a control's text colour is chosen against.
struct Desktop {
  std::uint32_t window;      ///< the window's background, under labels and buttons
  std::uint32_t windowText;  ///< the desktop's text colour there
  std::uint32_t field;       ///< a text box's own background
  std::uint32_t fieldText;   ///< the desktop's text colour in a text box
  Palette palette;
};

/// What the control `row` draws its text in: TextColour of its designed colour against
/// what it is drawn on, its own field for a text box and the window for any other control.
std::uint32_t ControlTextColour(const design::Control& row, const Desktop& desktop);

/// A window's client area: the desktop's `face` where the design gives no colour
/// (design::kDefaultColour); the designed colour on any other palette but high contrast,
/// where it takes the desktop's `field` colour, as the table's paper does.
std::uint32_t WindowBackground(std::uint32_t designed, std::uint32_t face, std::uint32_t field, Palette palette);

/// What the table picture is drawn in.
struct TableColours {
  std::uint32_t ink = 0x000000;
  std::uint32_t paper = 0xFFFFFF;

  bool operator==(const TableColours&) const = default;
};

/// The table's ink and paper: black on white, as the table is printed, on every palette
/// but high contrast, which gives it the desktop's field text on the field colour.
TableColours TableColoursOn(const Desktop& desktop);

}  // namespace dosat::contrast
