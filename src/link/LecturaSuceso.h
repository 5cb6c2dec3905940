#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

// The pieces of one event record as the tablet writes it: fields each ended by a comma, the
// date month first, the time as a time of day.
namespace LecturaSuceso {

// The fields of a record: every text ended by a comma (what follows the last comma is not a
// field), with all double quotes and asterisks removed.
QStringList campos(const QString& registro);

// The tablet's date ("MM/dd/yyyy") as the list shows it ("dd/MM/yyyy"). Without the slashes,
// the first two characters are the month, the two that begin the last six the day and the last
// four the year; a month above 12 with a day that is not is taken as a day-first date. Empty when
// that is not a valid calendar date.
std::optional<QString> fecha(const QString& campo);
// The same date, as a date.
std::optional<QDate> dia(const QString& campo);
// A date as the list shows it: "dd/MM/yyyy".
QString diaMesAnio(QDate d);

// A time of day ("10:30", "10:30:15", "2:05 PM") as "HH:mm"; empty when it is not one.
std::optional<QString> hora(const QString& campo);
// The same time, to the minute.
std::optional<QTime> minuto(const QString& campo);

// Field 3 of a load: a whole number that must fit in 16 bits.
enum class Entero16 { Valido, NoEsNumero, Desborda };
Entero16 entero16(const QString& campo);

} // namespace LecturaSuceso
