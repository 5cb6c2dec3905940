#pragma once

#include "core/LibroXlsx.h"

#include <QString>

// What each text of the events list becomes in the workbook. First the list's text is turned
// into the text the sheet receives (transformar), then that text is stored the way a spreadsheet
// in a decimal-comma locale stores it when it is typed into a cell (tecleada). Neither step
// depends on the program's own locale.
namespace CeldasExportacion {

// The sheet's text for a list cell. The row's main text (the event kind) has every "." turned
// into ","; any other cell holding "/" is read as a day-first date (dd/mm/yyyy, d/m/yyyy, the
// form the list shows) and given as "yyyy/mm/dd", or left as it is when it is no such date; any
// other cell has every "." turned into ",".
QString transformar(const QString& texto, bool textoPrincipal);

// A typed text as a spreadsheet keeps it: "-1250,5" or "985" a number, "2020/01/15" a date,
// "7:35" or "07:35" a time, "" no cell at all, anything else the very text (never a formula).
CeldaLibro tecleada(const QString& texto);

// tecleada(transformar(texto, textoPrincipal)), the way the export writes each cell.
CeldaLibro celda(const QString& texto, bool textoPrincipal);

} // namespace CeldasExportacion
