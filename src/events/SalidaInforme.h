#pragma once

#include "events/InformePrecision.h"

#include <QByteArray>
#include <QLocale>
#include <QStringList>

// The accuracy report written out: as the texts of its table (numbers in the given regional form,
// dates dd/mm/yyyy, an undefined percentage empty), as aligned text for a terminal and as CSV.
namespace SalidaInforme {

// The group's name as shown: a date as dd/mm/yyyy, any other name as kept.
QString nombreGrupo(const GrupoPrecision& g, Agrupacion a);
// The day a group stands for when grouped by day; invalid otherwise.
QDate dia(const GrupoPrecision& g, Agrupacion a);
// The cells of one row, in the order of InformePrecision::encabezados().
QStringList textos(const GrupoPrecision& g, Agrupacion a, const QLocale& local);
// Headers and rows in columns, names to the left and numbers to the right.
QString alineado(const InformePrecision& informe, const QLocale& local);
// RFC 4180 CSV, UTF-8, numbers with "." and without thousands separators.
QByteArray csv(const InformePrecision& informe);

} // namespace SalidaInforme
