#include "plan.h"

#include <algorithm>
#include <cmath>

#include "twips.h"

namespace dosat::plan {

int Control::FontPixelHeight() const { return static_cast<int>(std::lround(fontPixels)); }

const Control& Window::OfRow(std::size_t row) const {
  return *std::find_if(controls.begin(), controls.end(), [row](const Control& c) { return c.row == row; });
}

int Pixels(int twips, double ratio) { return twips::ToPixels(twips, twips::kPerPixelAt96Dpi / ratio); }

namespace {

// The width that keeps a label's text on the lines it takes at 1.
int KeepLineBreaks(const design::Control& row, const fonts::Face& face, double ratio, int width,
                   const TextMeasure& measure) {
  const int designed = measure.Lines(row.text, face, fonts::PixelHeight(face, 96), Pixels(row.width, 1));
  const int pixelHeight = fonts::PixelHeight(face, 96 * ratio);
  int needed = width;
  while (measure.Lines(row.text, face, pixelHeight, needed) > designed && needed < 2 * width) ++needed;
  return needed;
}

}  // namespace

Window LayOut(const design::Window& design, double ratio, const TextMeasure* measure,
              const std::vector<table::TableRow>* (*tableRows)()) {
  const std::vector<std::size_t> order = accessibility::CreationOrder(design);
  Window window{Pixels(design.clientWidth, ratio), Pixels(design.clientHeight, ratio),
                std::vector<Control>(order.size())};
  // The labels come last, in their listed order: the lowest first, everything else above
  // them. What comes before them is in Tab's order.
  const std::size_t labels = static_cast<std::size_t>(
      std::count_if(design.controls.begin(), design.controls.end(),
                    [](const design::Control& row) { return row.kind == design::Kind::Label; }));
  const std::size_t focusable = order.size() - labels;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const std::size_t i = order[k];
    const design::Control& row = design.controls[i];
    Control& control = window.controls[k];
    control.row = i;
    control.kind = row.kind;
    control.stacking = k < focusable ? static_cast<int>(labels) : static_cast<int>(k - focusable);
    if (k < focusable) control.tabStop = k;
    control.face = fonts::FaceOf(row.font);
    control.fontPixels = control.face.points * ratio * 96 / 72;
    control.rect = {Pixels(row.left, ratio), Pixels(row.top, ratio), Pixels(row.width, ratio),
                    Pixels(row.height, ratio)};
    if (measure && row.kind == design::Kind::Label && ratio != 1) {
      control.rect.width = std::max(control.rect.width, KeepLineBreaks(row, control.face, ratio, control.rect.width, *measure));
    }
    const bool table = row.kind == design::Kind::Picture && tableRows;
    control.told = accessibility::WhatReadersAreTold(design, i, table ? tableRows() : nullptr);
  }
  return window;
}

Colours ColoursOn(const design::Window& design, const contrast::Desktop& desktop) {
  Colours colours{contrast::WindowBackground(design.background, desktop.window, desktop.field, desktop.palette),
                  std::vector<TextColour>(design.controls.size()), contrast::TableColoursOn(desktop)};
  // Labels and buttons are drawn on the window's own background.
  contrast::Desktop drawnOn = desktop;
  drawnOn.window = colours.background;
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const design::Control& row = design.controls[i];
    colours.text[i] = {contrast::ControlTextColour(row, drawnOn), row.colour != design::kDefaultColour};
  }
  return colours;
}

}  // namespace dosat::plan
