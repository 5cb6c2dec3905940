#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Fixed-point arithmetic for feed money, so that every figure equals a hand computation to the
// cent. Kilograms are counted in grams and prices in ten-thousandths per kilogram (a price keeps
// four decimals); a load's value is then an exact whole number of 1e-7 of the currency, sums of
// values are exact, and a figure is rounded to the cent once, at the end, half away from zero.
namespace Importe {

// Exact sums of values, in 1e-7 of the currency.
using Valor = __int128;

// Kilograms to grams, and back.
qint64 gramos(double kg);
double kilos(qint64 gramos);
// A price per kilogram in ten-thousandths (0.12345 is 1235).
qint64 precio(double porKilo);
double porKilo(qint64 precio);
// The value of `gramos` at `precio`.
inline Valor valor(qint64 gramos, qint64 precio) {
    return static_cast<Valor>(gramos) * precio;
}
// A value rounded to whole cents, half away from zero.
qint64 centavos(Valor v);
// `v * parte / total`, rounded to the nearest 1e-7; 0 when `total` is 0.
Valor proporcion(Valor v, qint64 parte, qint64 total);

// Cents as a number with two decimals and "." ("-12.05").
QString textoPunto(qint64 centavos);
// Grams as kilograms with "." and up to three decimals ("1250.5").
QString kilosPunto(qint64 gramos);

} // namespace Importe
