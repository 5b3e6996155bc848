#include "tabletext.h"

#include <array>
#include <cmath>

namespace dosat::table {
namespace {

constexpr std::array<std::string_view, kColumnCount> kColumnMeanings = {
    "温度 (℃)",
    "水中の塩素イオン量 0 mg Cl/ℓ での溶存酸素量 (mg O/ℓ)",
    "水中の塩素イオン量 5000 mg Cl/ℓ での溶存酸素量 (mg O/ℓ)",
    "水中の塩素イオン量 10000 mg Cl/ℓ での溶存酸素量 (mg O/ℓ)",
    "水中の塩素イオン量 15000 mg Cl/ℓ での溶存酸素量 (mg O/ℓ)",
    "水中の塩素イオン量 20000 mg Cl/ℓ での溶存酸素量 (mg O/ℓ)",
    "塩素イオン 100 mgCl/ℓごとに減ずべき溶存酸素量 (mg O/ℓ)",
};

}  // namespace

std::string Summary() {
  return "JIS K0102 の水中の飽和溶存酸素量 (mg O/ℓ) の表：水温 0～35 ℃、水中の塩素イオン量 "
         "0～20000 mg Cl/ℓ " +
         std::string(kNote);
}

std::string CellText(const std::vector<TableRow>& rows, int row, int column) {
  if (column < 0 || column >= kColumnCount || row < -1 || row >= static_cast<int>(rows.size())) return {};
  return row < 0 ? std::string(kColumnHeadings[column]) : rows[row][column];
}

std::string RowHeading(const std::vector<TableRow>& rows, int row) {
  return row >= 0 && row < static_cast<int>(rows.size()) ? rows[row][0] + " ℃" : std::string();
}

std::string_view ColumnMeaning(int column) {
  return column >= 0 && column < kColumnCount ? kColumnMeanings[column] : std::string_view();
}

std::string Description(const std::vector<TableRow>* rows) {
  return rows ? Summary() + '\n' + ValuesByRow(*rows) : Summary();
}

std::string ValuesByRow(const std::vector<TableRow>& rows) {
  std::string text;
  for (const TableRow& row : rows) {
    if (!text.empty()) text += '\n';
    text += row[0] + "℃:";
    for (std::size_t c = 1; c < row.size(); ++c) text += " " + row[c];
  }
  return text;
}

int TextOrigin(const TextRun& run, int advance) {
  const double share = run.align == Align::Left ? 0.0 : run.align == Align::Centre ? 0.5 : 1.0;
  return static_cast<int>(std::floor(run.anchorX - share * advance));
}

}  // namespace dosat::table
