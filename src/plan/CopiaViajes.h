#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// Copies of planned trips to another day: every loading row of a trip and its pen rows, under a
// new trip number after the highest in use (archived trips included, so a restore never meets
// one of them). The copy differs from its source only in date and trip number; all of it is
// stored or none.
namespace CopiaViajes {

struct Resultado {
    QList<int> origen; // the trips copied, ascending
    QList<int> nuevos; // their new numbers, in the same order
    int filasPlan = 0;
    int filasCorrales = 0;
    QString rehusado; // why nothing was copied, told to the user; empty otherwise
    std::optional<ErrorBD> error;
};

// The trip `viaje` of the day `fecha` (its rows of that day) to the day `hacia`.
Resultado copiarViaje(int viaje, const QDate& fecha, const QDate& hacia);
// Every trip of the day `desde` to the day `hacia`.
Resultado copiarDia(const QDate& desde, const QDate& hacia);

// "Se copiaron 3 viajes al 09/12/2026 como viajes 29, 30, 31 (24 filas del plan, 6 de corrales)."
QString resumen(const Resultado& r, const QDate& hacia);

} // namespace CopiaViajes
