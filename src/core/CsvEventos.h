#pragma once

#include "core/FilaEvento.h"

#include <QByteArray>
#include <QList>

// The events list as RFC 4180 CSV: UTF-8, comma separated, CRLF line ends, the eight headers
// first; a cell holding a comma, a quote or a line break is quoted with its quotes doubled.
namespace CsvEventos {
QByteArray escribir(const QList<FilaEvento>& filas);
QByteArray linea(const QStringList& celdas);
} // namespace CsvEventos
