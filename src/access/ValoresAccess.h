#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <optional>

// Column types of an Access table, as far as this program tells them apart.
enum class TipoJet { SiNo, Byte, Entero, EnteroLargo, Moneda, Simple, Doble, Fecha, Texto, Memo, Otro };

// What a column of ours stores.
enum class ClaseColumna { Entero, Real, Texto, Fecha, Hora, SiNo };

// How the values of an Access file become the values this program stores. Each takes the value
// as the file holds it (never through a text formatted by a library or a locale).
namespace ValoresAccess {

// The type's name as Access shows it, for messages.
QString nombreTipo(TipoJet tipo);

// Whether a column of that type can hold what a column of ours needs: numbers for ids, orders and
// amounts, a date for `fecha`, a text (or a date/time) for `hora`, texts for names.
bool admite(ClaseColumna clase, TipoJet tipo);

// A value as the reader gives it (see TablaAccess) as the value to store in a column of ours; a
// null stays null. nullopt when the value cannot be stored (decimals in an id, an impossible date).
std::optional<QVariant> convertir(ClaseColumna clase, TipoJet tipo, const QVariant& valor);

// A Jet date/time is a double: whole days since 1899-12-30 (negative before it), the fraction the
// time of day (its absolute value, also before 1899). The date part as "yyyy-MM-dd" with its four
// digits; nullopt outside the years 100 to 9999 that Jet accepts, or for a value that is no number.
std::optional<QString> fecha(double dias);
// The time of day of a Jet date/time as "HH:mm", rounded to the second as Jet shows it.
std::optional<QString> hora(double dias);

// A Single as the double of the shortest decimal text that gives the same Single back: 0.1 stays
// 0.1, not 0.100000001490116, so the amount travels as the user typed it.
double desdeSimple(float valor);
// A Currency value (a 64-bit count of ten-thousandths).
double desdeMoneda(qint64 diezmilesimos);
// A whole number kept in a Single or Double column; nullopt when it has decimals or does not fit.
std::optional<qint64> entero(double valor);

// A Jet yes/no as this program stores it: true -1, false 0.
constexpr int siNo(bool valor) {
    return valor ? -1 : 0;
}

// A text from libmdb (UTF-8). Never null, even when empty: an empty text is not a NULL.
QString texto(const char* utf8, qsizetype largo);

} // namespace ValoresAccess
