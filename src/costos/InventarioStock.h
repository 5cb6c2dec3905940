#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The stock of every feed of the catalogue up to a day, from the receipts and counts typed and the
// real kilograms loaded (the event history). The stock of a day is the one at its close: that
// day's receipts added and loads taken away, then set to a count of that day if there is one. The
// shrink of a count is what the stock should have been at that close minus what was counted.
class InventarioStock {
public:
    struct Dia {
        QDate fecha;
        qint64 ingresado = 0; // grams
        qint64 consumido = 0;
        std::optional<qint64> contado;
        qint64 calculado = 0; // the stock at the close before any count of the day
        qint64 stock = 0;     // the stock at the close
    };
    struct Alimento {
        int id = 0;
        QString nombre;
        QList<Dia> dias; // days with a movement, by date

        qint64 stockAl(QDate fecha) const;
        // Grams loaded from `desde` to `hasta`, both inclusive.
        qint64 consumoEntre(QDate desde, QDate hasta) const;
    };
    // One row of the stock table on a day.
    struct Fila {
        int id = 0;
        QString nombre;
        qint64 stock = 0;                                   // grams
        qint64 uso7 = 0;                                    // grams loaded in the 7 days before the day
        qint64 uso30 = 0;                                   // and in the 30 days before it
        double usoDiario7() const { return uso7 / 7000.0; } // kg a day
        double usoDiario30() const { return uso30 / 30000.0; }
        // Days the stock lasts at the 7-day use, to a tenth; none without use. A stock at or
        // under zero lasts 0 days.
        std::optional<double> diasRestantes() const;
    };
    struct Merma {
        int id = 0;
        QString nombre;
        QDate fecha;
        qint64 calculado = 0;
        qint64 contado = 0;
        qint64 gramos() const { return calculado - contado; }
        // Of the stock computed, in percent to a hundredth; none when that was zero.
        std::optional<double> porcentaje() const;
    };

    static std::optional<ErrorBD> calcular(QSqlDatabase db, QDate hasta, InventarioStock* inventario);

    QDate hasta;
    QList<Alimento> alimentos; // in the catalogue's order (by id)
    // History names of loads up to `hasta` that no feed of the catalogue has.
    QStringList sinAlimento;

    // Each feed on `fecha` (not after `hasta`).
    QList<Fila> filas(QDate fecha) const;
    QList<Merma> mermas() const;
};
