#pragma once

#include <QAccessibleWidget>

#include <vector>

#include "tablelayout.h"

namespace dosat::table {

/// A widget showing the table picture, told to assistive technology as the table it
/// shows: role Table, named by the table's title, 36 rows of 7 cells holding the numbers
/// as printed, under one header cell per column; the temperatures head the rows.
class TableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  /// `widget` shows the picture drawn from `layout` from its contents' top-left corner;
  /// both `layout` and `rows` must outlive this interface.
  TableAccessible(QWidget* widget, const TableLayout& layout, const std::vector<TableRow>& rows);
  ~TableAccessible() override;

  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return kColumnCount; }
  int rowCount() const override { return kRowCount; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  // The table is a picture: nothing in it can be selected.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

  /// The header cell over `column`; null outside 0..6.
  QAccessibleInterface* columnHeader(int column) const;
  /// The text of the cell in `row` and `column`, or of the column's header for row -1.
  QString cellText(int row, int column) const;
  /// What the numbers of `column` are, with their units.
  QString columnMeaning(int column) const;
  /// Where that cell is on the screen, inside its rules.
  QRect CellRect(int row, int column) const;

 private:
  /// That cell in the widget's coordinates.
  QRect localCellRect(int row, int column) const;
  /// The child at `index` (the headers first, then the cells row by row), made on first use.
  QAccessibleInterface* childInterface(int index) const;

  const TableLayout& layout_;
  const std::vector<TableRow>& rows_;
  // The children's ids; 0 until made. Qt's registry owns them until the destructor.
  mutable std::vector<QAccessible::Id> children_;
};

}  // namespace dosat::table
