#include "tableaccessible.h"

#include <QWidget>

#include "embeddedtable.h"
#include "tablecellaccessible.h"
#include "tabletext.h"

namespace dosat::table {
namespace {

constexpr int kHeaderCount = kColumnCount;

}  // namespace

TableAccessible::TableAccessible(QWidget* widget, const TableLayout& layout, const std::vector<TableRow>& rows)
    : QAccessibleWidget(widget, QAccessible::Table),
      layout_(layout),
      rows_(rows),
      children_(std::size_t(kHeaderCount + kRowCount * kColumnCount), 0) {}

TableAccessible::~TableAccessible() {
  for (const QAccessible::Id id : children_) {
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
  }
}

QString TableAccessible::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name:
      return widget()->accessibleName().isEmpty() ? QString::fromUtf8(kTitle) : widget()->accessibleName();
    case QAccessible::Description:
      return QString::fromStdString(Description(EmbeddedRows()));
    default:
      return QAccessibleWidget::text(t);
  }
}

QAccessible::State TableAccessible::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.readOnly = true;
  return s;
}

int TableAccessible::childCount() const { return int(children_.size()); }

QAccessibleInterface* TableAccessible::child(int index) const {
  return index >= 0 && index < childCount() ? childInterface(index) : nullptr;
}

int TableAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* cell = dynamic_cast<const TableCellAccessible*>(child);
  if (!cell || cell->table() != this) return -1;
  const int row = cell->rowIndex();
  return row < 0 ? cell->columnIndex() : kHeaderCount + row * kColumnCount + cell->columnIndex();
}

QAccessibleInterface* TableAccessible::childAt(int x, int y) const {
  const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
  for (int index = 0; index < childCount(); ++index) {
    const int row = index < kHeaderCount ? -1 : (index - kHeaderCount) / kColumnCount;
    const int column = index < kHeaderCount ? index : (index - kHeaderCount) % kColumnCount;
    if (localCellRect(row, column).contains(at)) return childInterface(index);
  }
  return nullptr;
}

void* TableAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* TableAccessible::cellAt(int row, int column) const {
  if (row < 0 || row >= kRowCount || column < 0 || column >= kColumnCount) return nullptr;
  return childInterface(kHeaderCount + row * kColumnCount + column);
}

QString TableAccessible::columnDescription(int column) const { return cellText(-1, column); }

QString TableAccessible::rowDescription(int row) const { return QString::fromStdString(RowHeading(rows_, row)); }

QAccessibleInterface* TableAccessible::columnHeader(int column) const {
  return column >= 0 && column < kColumnCount ? childInterface(column) : nullptr;
}

QString TableAccessible::cellText(int row, int column) const {
  return QString::fromStdString(CellText(rows_, row, column));
}

QString TableAccessible::columnMeaning(int column) const {
  const std::string_view meaning = ColumnMeaning(column);
  return QString::fromUtf8(meaning.data(), qsizetype(meaning.size()));
}

QRect TableAccessible::CellRect(int row, int column) const {
  const QRect local = localCellRect(row, column);
  return QRect(widget()->mapToGlobal(local.topLeft()), local.size());
}

QRect TableAccessible::localCellRect(int row, int column) const {
  // Where the rules are at the scale the widget shows the table at, as they are drawn.
  const QVariant shown = widget()->property(kScaleProperty);
  const double scale = shown.isValid() ? shown.toDouble() : 1.0;
  const PixelRect cell = table::CellRect(layout_, row, column, scale);
  const QRect contents = widget()->contentsRect();
  // Cut off where the picture is.
  return QRect(cell.x, cell.y, cell.width, cell.height).translated(contents.topLeft()) & contents;
}

QAccessibleInterface* TableAccessible::childInterface(int index) const {
  QAccessible::Id& id = children_[std::size_t(index)];
  if (id == 0) {
    const int row = index < kHeaderCount ? -1 : (index - kHeaderCount) / kColumnCount;
    const int column = index < kHeaderCount ? index : (index - kHeaderCount) % kColumnCount;
    id = QAccessible::registerAccessibleInterface(
        new TableCellAccessible(const_cast<TableAccessible&>(*this), row, column));
  }
  return QAccessible::accessibleInterface(id);
}

}  // namespace dosat::table
