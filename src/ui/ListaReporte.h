#pragma once

#include <QStringList>

class QTreeWidget;

// The list style of the plan windows: report view with the given column headers, whole-row
// selection, grid lines, several lines selectable, selection kept visible without the focus,
// no in-place editing, columns that the user may reorder.
namespace ListaReporte {
void preparar(QTreeWidget* lista, const QStringList& columnas, const QString& nombreAccesible);
} // namespace ListaReporte
