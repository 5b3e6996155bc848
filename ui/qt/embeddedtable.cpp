#include "embeddedtable.h"

#include <QAccessible>
#include <QFile>
#include <QSet>

#include <optional>

#include "tableaccessible.h"
#include "tablerenderer.h"

namespace dosat::table {
namespace {

QByteArray resource(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The widgets made accessible as the table; each leaves the set when it is destroyed.
QSet<const QObject*>& tableWidgets() {
  static QSet<const QObject*> widgets;
  return widgets;
}

QAccessibleInterface* tableFactory(const QString&, QObject* object) {
  if (!object || !tableWidgets().contains(object)) return nullptr;
  const TableLayout* layout = embeddedLayout();
  const std::vector<TableRow>* rows = embeddedRows();
  // Without its numbers the table is left to the ordinary accessible widget.
  if (!layout || !rows) return nullptr;
  return new TableAccessible(static_cast<QWidget*>(object), *layout, *rows);
}

}  // namespace

const TableLayout* embeddedLayout() {
  static const std::optional<TableLayout> layout =
      parseLayout(resource(QStringLiteral(":/table/do-table-layout.txt")).toStdString());
  return layout ? &*layout : nullptr;
}

const std::vector<TableRow>* embeddedRows() {
  static const std::optional<std::vector<TableRow>> rows =
      parseTableCsv(resource(QStringLiteral(":/table/do-table.csv")).toStdString());
  return rows ? &*rows : nullptr;
}

QImage renderShownTable(qreal ratio, QColor ink, QColor paper) {
  const TableLayout* layout = embeddedLayout();
  if (!layout) return {};
  const TableLayout scaled = scaleLayout(*layout, ratio);
  QImage image = renderLayout(scaled, tableFontFamily(), scaled.clip, ink, paper);
  image.setDevicePixelRatio(ratio);
  return image;
}

void makeTableAccessible(QWidget* widget) {
  static const bool installed = [] {
    QAccessible::installFactory(tableFactory);
    return true;
  }();
  Q_UNUSED(installed);
  tableWidgets().insert(widget);
  QObject::connect(widget, &QObject::destroyed, [](QObject* gone) { tableWidgets().remove(gone); });
}

}  // namespace dosat::table
