#pragma once

#include <QLocale>
#include <QString>

// Conversions of values to text as the system writes them.
namespace Texto {

// The user's regional number settings, without thousands separators (the ordinary conversion of
// a number to text: 2800.5 is "2800,5" where the decimal separator is a comma).
QLocale regional();

// A number in its ordinary text form under the regional settings: up to 15 significant digits,
// no thousands separator, whole numbers without decimals.
QString numeroRegional(double valor);

// The same general form with "." as the decimal separator whatever the regional settings
// (33.3333333333333 for a third of 100).
QString numeroPunto(double valor);

// Reads a number typed by the user: the regional decimal separator and "." are both accepted.
// Returns false when the text is not a number.
bool leerNumeroUsuario(const QString& texto, double* valor);

// Proper case: the first letter of every word upper case, the other letters lower case.
QString tipoTitulo(const QString& texto);

} // namespace Texto
