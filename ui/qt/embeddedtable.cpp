#include "embeddedtable.h"

#include <QAccessible>
#include <QFile>
#include <QSet>

#include <optional>

#include "tableaccessible.h"
#include "tablerenderer.h"

namespace dosat::table {
namespace {

QByteArray Resource(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The widgets made accessible as the table; each leaves the set when it is destroyed.
QSet<const QObject*>& TableWidgets() {
  static QSet<const QObject*> widgets;
  return widgets;
}

QAccessibleInterface* TableFactory(const QString&, QObject* object) {
  if (!object || !TableWidgets().contains(object)) return nullptr;
  const TableLayout* layout = EmbeddedLayout();
  const std::vector<TableRow>* rows = EmbeddedRows();
  // Without its numbers the table is left to the ordinary accessible widget.
  if (!layout || !rows) return nullptr;
  return new TableAccessible(static_cast<QWidget*>(object), *layout, *rows);
}

}  // namespace

const TableLayout* EmbeddedLayout() {
  static const std::optional<TableLayout> layout =
      ParseLayout(Resource(QStringLiteral(":/table/do-table-layout.txt")).toStdString());
  return layout ? &*layout : nullptr;
}

const std::vector<TableRow>* EmbeddedRows() {
  static const std::optional<std::vector<TableRow>> rows =
      ParseTableCsv(Resource(QStringLiteral(":/table/do-table.csv")).toStdString());
  return rows ? &*rows : nullptr;
}

QImage RenderShownTable(qreal ratio, QColor ink, QColor paper) {
  const TableLayout* layout = EmbeddedLayout();
  if (!layout) return {};
  const TableLayout scaled = ScaleLayout(*layout, ratio);
  QImage image = RenderLayout(scaled, TableFontFamily(), scaled.clip, ink, paper);
  image.setDevicePixelRatio(ratio);
  return image;
}

void MakeTableAccessible(QWidget* widget) {
  static const bool installed = [] {
    QAccessible::installFactory(TableFactory);
    return true;
  }();
  Q_UNUSED(installed);
  TableWidgets().insert(widget);
  QObject::connect(widget, &QObject::destroyed, [](QObject* gone) { TableWidgets().remove(gone); });
}

}  // namespace dosat::table
