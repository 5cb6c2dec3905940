#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>

// Conversions of values to text as the system writes them.
namespace Texto {

// The user's regional number settings, without thousands separators (the ordinary conversion of
// a number to text: 2800.5 is "2800,5" where the decimal separator is a comma).
QLocale regional();

// A number in its ordinary text form under the regional settings: up to 15 significant digits,
// no thousands separator, whole numbers without decimals.
QString numeroRegional(double valor);

// An amount as the plan lists show it: the general form with the regional thousands separator
// (12.500 where the decimal separator is a comma).
QString cantidadVista(double valor);
// That text back to the plain form a user types: without thousands separators.
QString sinMiles(const QString& texto);

// The same general form with "." as the decimal separator whatever the regional settings
// (33.3333333333333 for a third of 100).
QString numeroPunto(double valor);

// Reads a number typed by the user: the regional decimal separator and "." are both accepted.
// Returns false when the text is not a number.
bool leerNumeroUsuario(const QString& texto, double* valor);

// The value of the `n` decimal digits of `t` from `i`, or -1 when one is missing or no digit.
int cifras(QStringView t, qsizetype i, qsizetype n);

// A date as the tablet and the web service write it: "dd/mm/yyyy", "yyyy-mm-dd" (a time may
// follow), "yyyy/mm/dd" or "yyyymmdd". Nothing when the text is none of these or no real date.
std::optional<QDate> leerFecha(QStringView texto);

// "H:mm" or "HH:mm", seconds and fractions allowed and dropped: the minute. Nothing when the text
// is not a time of day.
std::optional<QTime> leerHora(QStringView texto);
// A minute as "HH:mm".
QString horaMinuto(QTime t);

// Kilograms as the tablet or the server write them: an optional sign, digits and at most one
// decimal separator, "." or "," ("1250.5", "1250,5", "985"). A text with both signs ("1.250,5")
// or more than one is not a number: a thousands separator cannot be told from a decimal one.
std::optional<double> leerKilos(QStringView texto);

// Proper case: the first letter of every word upper case, the other letters lower case.
QString tipoTitulo(const QString& texto);

} // namespace Texto
