#pragma once

#include <QStringList>

class QAbstractItemView;
class QTreeWidget;

// The list style of the plan windows: report view with the given column headers, whole-row
// selection, grid lines, several lines selectable, selection kept visible without the focus,
// no in-place editing, columns that the user may reorder.
namespace ListaReporte {
void preparar(QTreeWidget* lista, const QStringList& columnas, const QString& nombreAccesible);

// Columns sized to their content now and whenever the rows change (measured on the first rows
// only, so a long list stays quick, and never wider than a long name needs to be recognised),
// the last one taking the room left; the user may still drag them.
void ajustarColumnas(QAbstractItemView* vista);
} // namespace ListaReporte
