#include "decisions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace dosat::web {

std::vector<std::size_t> TabOrder(const design::Window& window) {
  const auto& rows = window.controls;
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return rows[a].tabIndex < rows[b].tabIndex; });
  return order;
}

std::size_t LabelledBy(const design::Window& window, std::size_t row) {
  const std::string_view name = window.controls[row].labelledBy;
  return name.empty() ? window.controls.size() : window.find(name);
}

std::size_t DescribedBy(const design::Window& window, std::size_t row) {
  const std::string_view name = window.controls[row].describedBy;
  return name.empty() ? window.controls.size() : window.find(name);
}

std::string Announcement(const design::Window& window, std::size_t row, std::string_view value) {
  const std::size_t label = LabelledBy(window, row);
  if (label == window.controls.size()) return std::string(value);
  return std::string(window.controls[label].text) + ' ' + std::string(value);
}

std::string CssColour(std::uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

std::uint32_t ControlTextColour(const design::Control& row, std::uint32_t background,
                                std::uint32_t systemText, contrast::Palette palette) {
  return contrast::TextColour(row.colour, background, systemText, palette);
}

std::vector<std::vector<std::string>> TableCells(const std::vector<table::TableRow>& rows) {
  std::vector<std::vector<std::string>> cells;
  cells.emplace_back(table::kColumnHeadings.begin(), table::kColumnHeadings.end());
  for (const table::TableRow& row : rows) cells.emplace_back(row.begin(), row.end());
  return cells;
}

CellKind KindOfCell(std::size_t row, std::size_t column) {
  if (row == 0) return CellKind::ColumnHeader;
  return column == 0 ? CellKind::RowHeader : CellKind::Cell;
}

int TextOrigin(const table::TextRun& run, double advance) {
  const double share = run.align == table::Align::Left ? 0.0 : run.align == table::Align::Centre ? 0.5 : 1.0;
  return static_cast<int>(std::floor(run.anchorX - share * advance));
}

}  // namespace dosat::web
