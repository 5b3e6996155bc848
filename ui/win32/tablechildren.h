#pragma once

#include <cstddef>
#include <optional>

namespace dosat {

/// How a table's cells are told to screen readers as the simple children of the table's
/// own accessible element, as MSAA numbers them: 1 to rows × columns, row by row, the
/// headings' row first. Child 0 is the table itself.
class TableChildren {
 public:
  enum class Step { Next, Previous, Left, Right, Up, Down, Other };
  struct Cell {
    std::size_t row;
    std::size_t column;
  };

  TableChildren(std::size_t rows, std::size_t columns) : rows_(rows), columns_(columns) {}

  std::size_t count() const { return rows_ * columns_; }
  /// The cell that child `id` is; nothing for the table itself or an id out of range.
  std::optional<Cell> Find(long id) const;
  /// The child one step from the cell `id` in `step`; 0 where there is none.
  long Navigate(long id, Step step) const;

 private:
  std::size_t rows_;
  std::size_t columns_;
};

}  // namespace dosat
