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
  Window window{Pixels(design.clientWidth, ratio), Pixels(design.clientHeight, ratio), {}};
  const std::vector<std::size_t> tabOrder = accessibility::TabOrder(design);
  // The labels in their listed order, the lowest first; everything else above them.
  int labels = 0;
  for (const design::Control& row : design.controls) labels += row.kind == design::Kind::Label;
  int nextLabel = 0;
  std::vector<int> stacking(design.controls.size(), labels);
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    if (design.controls[i].kind == design::Kind::Label) stacking[i] = nextLabel++;
  }
  for (const std::size_t i : accessibility::CreationOrder(design)) {
    const design::Control& row = design.controls[i];
    Control control{i, row.kind, {}, stacking[i], std::nullopt, fonts::FaceOf(row.font), 0, {}};
    control.fontPixels = control.face.points * ratio * 96 / 72;
    control.rect = {Pixels(row.left, ratio), Pixels(row.top, ratio), Pixels(row.width, ratio),
                    Pixels(row.height, ratio)};
    if (measure && row.kind == design::Kind::Label && ratio != 1) {
      control.rect.width = std::max(control.rect.width, KeepLineBreaks(row, control.face, ratio, control.rect.width, *measure));
    }
    if (const auto stop = std::find(tabOrder.begin(), tabOrder.end(), i); stop != tabOrder.end()) {
      control.tabStop = static_cast<std::size_t>(stop - tabOrder.begin());
    }
    const bool table = row.kind == design::Kind::Picture && tableRows;
    control.told = accessibility::WhatReadersAreTold(design, i, table ? tableRows() : nullptr);
    window.controls.push_back(std::move(control));
  }
  return window;
}

Colours ColoursOn(const design::Window& design, const contrast::Desktop& desktop) {
  Colours colours{contrast::WindowBackground(design.background, desktop.window, desktop.field, desktop.palette), {},
                  {}, contrast::TableColoursOn(desktop)};
  // Labels and buttons are drawn on the window's own background.
  contrast::Desktop drawnOn = desktop;
  drawnOn.window = colours.background;
  for (const design::Control& row : design.controls) {
    colours.text.push_back(contrast::ControlTextColour(row, drawnOn));
    colours.own.push_back(row.colour != design::kDefaultColour);
  }
  return colours;
}

}  // namespace dosat::plan
