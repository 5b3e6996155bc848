#pragma once

#include <QAccessible>

namespace dosat::table {

class TableAccessible;

/// One cell of the accessible table, or the header over a column (row -1): its text is
/// the number (or heading) exactly as the table prints it.
class TableCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  /// A cell of `table`, which owns it; row -1 is the column's header.
  TableCellAccessible(TableAccessible& table, int row, int column);

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override;

 private:
  TableAccessible& table_;
  int row_;
  int column_;
};

}  // namespace dosat::table
