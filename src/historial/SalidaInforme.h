#pragma once

#include "historial/InformePrecision.h"

#include <QByteArray>
#include <QLocale>
#include <QStringList>

#include <optional>

// The accuracy report written out: as the texts of its table (numbers in the given regional form,
// dates dd/mm/yyyy, an undefined percentage empty), as aligned text for a terminal and as CSV.
// Every output rounds as the window shows: kilograms to one decimal, percentages to two.
namespace SalidaInforme {

// One cell of a row before it is written: what kind of value it is and the value.
struct Valor {
    enum class Clase { Nombre, Cuenta, Kg, Porcentaje, Texto };
    Clase clase;
    std::optional<double> numero; // none for an undefined percentage, a name or a text
    QString texto;                // the name (as shown) or the text
};

// The group's name as shown: a date as dd/mm/yyyy, any other name as kept.
QString nombreGrupo(const GrupoPrecision& g, Agrupacion a);
// The day a group stands for when grouped by day; invalid otherwise.
QDate dia(const GrupoPrecision& g, Agrupacion a);
// The values of one row, in the order of InformePrecision::encabezados().
QList<Valor> valores(const GrupoPrecision& g, Agrupacion a);
// A value as shown, in `local`'s form (use QLocale::c() without group separators for files).
QString texto(const Valor& v, const QLocale& local);
// The cells of one row, in the order of InformePrecision::encabezados().
QStringList textos(const GrupoPrecision& g, Agrupacion a, const QLocale& local);
// The line the window shows above the table: "27 de 126 cargas fuera de la tolerancia, en 5 de 8
// grupos", or that nothing was kept in the range.
QString resumen(const InformePrecision& informe);
// How the loads are judged: the general percentage and each feed's own bounds.
QString reglaTolerancia(const InformePrecision& informe, const QLocale& local);
// Headers and rows in columns, names to the left and numbers to the right.
QString alineado(const InformePrecision& informe, const QLocale& local);
// RFC 4180 CSV, UTF-8, numbers with "." and without thousands separators.
QByteArray csv(const InformePrecision& informe);

} // namespace SalidaInforme
