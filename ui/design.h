#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The two windows as they are designed, once for every platform: captions,
// sizes, and one row per control. Positions and sizes are twips, colours
// 0x00BBGGRR, texts UTF-8.
namespace dosat::design {

enum class Kind { Label, TextBox, Button, Picture };

enum class Font {
  Default,  ///< the platform's default window font
  Gothic12  ///< "ＭＳ Ｐゴシック", 12 points, weight 400, character set 128
};

/// Marks a colour the window or control leaves to the platform.
inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;

struct Control {
  std::string_view name;
  Kind kind;
  std::string_view text;
  int left, top, width, height;
  int tabIndex;
  Font font;
  std::uint32_t colour;  ///< the control's text colour, or kDefaultColour
  /// For a text box: the label that names it and the label that says what to
  /// type, for assistive technology. Empty where there is none.
  std::string_view labelledBy = {};
  std::string_view describedBy = {};
};

struct Window {
  std::string_view className;
  std::string_view caption;
  int clientWidth, clientHeight;
  std::uint32_t background;
  std::span<const Control> controls;

  /// The row of the control called name; controls.size() if there is none.
  constexpr std::size_t Find(std::string_view name) const {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].name == name) return i;
    }
    return controls.size();
  }
};

/// The calculation window.
extern const Window kCalculationWindow;
/// The table window.
extern const Window kTableWindow;

}  // namespace dosat::design
