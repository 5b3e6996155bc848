#include "tablenumbers.h"

#include <algorithm>

#include "textlines.h"

namespace dosat::table {
namespace {

bool IsDecimalText(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

}  // namespace

std::optional<std::vector<TableRow>> ParseTableCsv(std::string_view csv, std::string* error) {
  std::vector<std::string_view> all = text::lines(csv);
  std::vector<std::pair<std::size_t, std::string_view>> numbered;  // 1-based line number, text
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!text::trimmed(all[i]).empty()) numbered.emplace_back(i + 1, all[i]);
  }
  if (numbered.empty() || !numbered.front().second.starts_with("temp_c,")) {
    text::setError(error, "the table has no temp_c header line");
    return std::nullopt;
  }
  std::vector<TableRow> rows;
  for (std::size_t i = 1; i < numbered.size(); ++i) {
    const auto& [lineNumber, line] = numbered[i];
    const std::string where = "line " + std::to_string(lineNumber);
    const auto cells = text::fields(text::trimmed(line), ',');
    if (cells.size() != kColumnCount) {
      text::setError(error, where + " has " + std::to_string(cells.size()) + " fields, not 7");
      return std::nullopt;
    }
    TableRow row;
    for (int c = 0; c < kColumnCount; ++c) {
      row[c] = std::string(text::trimmed(cells[c]));
      if (!IsDecimalText(row[c])) {
        text::setError(error, where + ": \"" + row[c] + "\" is not a number");
        return std::nullopt;
      }
    }
    if (row[0] != std::to_string(rows.size())) {
      text::setError(error, where + " is for " + row[0] + " °C, expected " + std::to_string(rows.size()));
      return std::nullopt;
    }
    rows.push_back(std::move(row));
  }
  if (rows.size() != kRowCount) {
    text::setError(error, "the table has " + std::to_string(rows.size()) + " rows, expected 36");
    return std::nullopt;
  }
  return rows;
}

}  // namespace dosat::table
