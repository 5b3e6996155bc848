#pragma once

// The table's numbers and headings as assets/do-table.csv gives them, apart from how the
// table is drawn. Standard C++ only.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dosat::table {

inline constexpr int kRowCount = 36;    // one row per whole °C, 0 to 35
inline constexpr int kColumnCount = 7;  // temperature, five chloride columns, per 100 mg/L

/// The table's title, as drawn above it and as screen readers name it.
inline constexpr std::string_view kTitle = "水中の飽和溶存酸素量";
/// The source note drawn under the table.
inline constexpr std::string_view kNote = "(参考：JIS K0102より)";

/// The heading of each column, on one line, as a screen reader says it.
inline constexpr std::array<std::string_view, kColumnCount> kColumnHeadings{
    "温度(℃)", "0", "5000", "10000", "15000", "20000", "100 mgCl/ℓごとに減ずべき溶存酸素量"};

/// One line of the table as `assets/do-table.csv` spells it: temperature, five chloride
/// columns, DO to subtract per 100 mg/L chloride.
using TableRow = std::array<std::string, kColumnCount>;

/// The 36 rows of the table's CSV text, 0 to 35 °C in order, each cell's text exactly as
/// written; nothing (and a message in `error`, if given) when the text is not that.
std::optional<std::vector<TableRow>> ParseTableCsv(std::string_view csv, std::string* error = nullptr);

}  // namespace dosat::table
