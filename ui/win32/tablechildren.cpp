#include "tablechildren.h"

namespace dosat {

std::optional<TableChildren::Cell> TableChildren::Find(long id) const {
  if (id < 1 || static_cast<std::size_t>(id) > count()) return std::nullopt;
  const auto i = static_cast<std::size_t>(id - 1);
  return Cell{i / columns_, i % columns_};
}

// Next and Previous run through the cells as read, row after row; Left and Right stay
// in the row, Up and Down in the column.
long TableChildren::Navigate(long id, Step step) const {
  const std::optional<Cell> cell = Find(id);
  if (!cell) return 0;
  const auto at = [&](std::size_t row, std::size_t column) {
    return static_cast<long>(row * columns_ + column + 1);
  };
  switch (step) {
    case Step::Next: return static_cast<std::size_t>(id) < count() ? id + 1 : 0;
    case Step::Previous: return id - 1;
    case Step::Right: return cell->column + 1 < columns_ ? id + 1 : 0;
    case Step::Left: return cell->column > 0 ? id - 1 : 0;
    case Step::Down: return cell->row + 1 < rows_ ? at(cell->row + 1, cell->column) : 0;
    case Step::Up: return cell->row > 0 ? at(cell->row - 1, cell->column) : 0;
    case Step::Other: return 0;
  }
  return 0;
}

}  // namespace dosat
