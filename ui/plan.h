#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "accessibility.h"
#include "contrast.h"
#include "design.h"
#include "fonts.h"
#include "tablenumbers.h"

// What a platform makes of a window's design, decided once for every platform: each
// control's place in pixels, how it stacks, where Tab reaches it, its font, its colours on
// the desktop's palette and what screen readers are told of it. A platform creates, moves
// and draws its controls from this, and decides none of it itself.
namespace dosat::plan {

/// A rectangle of whole pixels of the client area.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const Rect&) const = default;
};

/// How many lines a text takes where the platform sets it: only a platform that knows its
/// own glyphs can tell, so it is asked.
class TextMeasure {
 public:
  /// The lines `text` wraps onto, set in `face` at `pixelHeight` pixels and `width` pixels wide.
  virtual int Lines(std::string_view text, const fonts::Face& face, int pixelHeight, int width) const = 0;

 protected:
  ~TextMeasure() = default;
};

/// One control as a platform makes it.
struct Control {
  std::size_t row;  ///< its row in the design, by which the window's form names it
  design::Kind kind;
  Rect rect;
  /// Its place among its siblings, 0 the lowest: labels lie under the boxes and buttons,
  /// as text drawn on the window itself would (Label4 reaches into the result box), and
  /// the one listed later on top (Label3 over Label2).
  int stacking;
  /// Where Tab reaches it, 0 first; none for a control that takes no focus.
  std::optional<std::size_t> tabStop;
  fonts::Face face;
  /// The font's em height in pixels of the layout, not yet rounded.
  double fontPixels;
  /// The font's em height in whole pixels, for a platform that asks for whole ones.
  int FontPixelHeight() const;
  accessibility::Told told;
};

/// A window laid out.
struct Window {
  int clientWidth = 0;
  int clientHeight = 0;
  /// In the order to make them: the controls that take the focus in the order Tab visits
  /// them, where a dialog manager or a page's order of elements makes that the Tab order,
  /// then the labels.
  std::vector<Control> controls;

  /// The control made for the design's row `row`.
  const Control& OfRow(std::size_t row) const;
};

/// Design twips to pixels at `ratio` pixels per pixel as designed (96 to the inch), to
/// the nearest pixel.
int Pixels(int twips, double ratio);

/// `design` laid out at `ratio` pixels per pixel as designed: the screen's resolution over
/// 96 dots per inch, times the scale the window is fitted to its screen at. Where
/// `measure` is given and the ratio is not 1, a label is widened as far as its text needs
/// to keep the lines it has at 1, up to twice its width: glyphs do not grow exactly with
/// the resolution, and at 150 % a text that just fits would wrap, its last word hidden
/// under the label below. The picture box is told the table's numbers where `tableRows`
/// gives them, asked only for a window that has the picture box.
Window LayOut(const design::Window& design, double ratio, const TextMeasure* measure = nullptr,
              const std::vector<table::TableRow>* (*tableRows)() = nullptr);

/// A control's text colour.
struct TextColour {
  std::uint32_t colour;  ///< the desktop's own where the control sets none
  /// Whether the control sets a colour of its own; one that does not may simply keep the
  /// platform's.
  bool own;
};

/// What a window and its controls are drawn in on a desktop's palette.
struct Colours {
  std::uint32_t background;  ///< the client area
  std::vector<TextColour> text;  ///< by the design's row
  contrast::TableColours table;
};

/// The colours of `design` on `desktop`: the window's own background (the desktop's face
/// where it has none), each control's text chosen against what it is drawn on, and the
/// table's ink and paper.
Colours ColoursOn(const design::Window& design, const contrast::Desktop& desktop);

}  // namespace dosat::plan
