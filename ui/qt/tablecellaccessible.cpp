#include "tablecellaccessible.h"

#include "tableaccessible.h"

namespace dosat::table {

TableCellAccessible::TableCellAccessible(TableAccessible& table, int row, int column)
    : table_(table), row_(row), column_(column) {}

bool TableCellAccessible::isValid() const { return table_.isValid(); }

QWindow* TableCellAccessible::window() const { return table_.window(); }

QAccessibleInterface* TableCellAccessible::parent() const { return &table_; }

QString TableCellAccessible::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name: return table_.cellText(row_, column_);
    case QAccessible::Description: return row_ < 0 ? table_.columnMeaning(column_) : QString();
    default: return {};
  }
}

QRect TableCellAccessible::rect() const { return table_.CellRect(row_, column_); }

QAccessible::Role TableCellAccessible::role() const {
  if (row_ < 0) return QAccessible::ColumnHeader;
  return column_ == 0 ? QAccessible::RowHeader : QAccessible::Cell;
}

QAccessible::State TableCellAccessible::state() const {
  QAccessible::State s;
  s.readOnly = true;
  return s;
}

void* TableCellAccessible::interface_cast(QAccessible::InterfaceType type) {
  // The headers above the rows are children of the table but not cells of its grid.
  if (type == QAccessible::TableCellInterface && row_ >= 0) return static_cast<QAccessibleTableCellInterface*>(this);
  return nullptr;
}

QList<QAccessibleInterface*> TableCellAccessible::columnHeaderCells() const {
  return {table_.columnHeader(column_)};
}

QList<QAccessibleInterface*> TableCellAccessible::rowHeaderCells() const {
  if (row_ < 0 || column_ == 0) return {};
  return {table_.cellAt(row_, 0)};
}

QAccessibleInterface* TableCellAccessible::table() const { return &table_; }

}  // namespace dosat::table
