#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlDatabase>

#include <optional>

// The price history of the feeds (table `precios_alimento`): a price per kilogram from a day on,
// until the next price of the same feed. The price in force on the day of a load values it.
class PreciosAlimento {
public:
    struct Precio {
        QString desde; // yyyy-MM-dd
        qint64 precio; // ten-thousandths per kilogram (Importe)
    };

    // Sets feed `idAlimento`'s price from `desde` on; a price already set for that day is replaced.
    static std::optional<ErrorBD> guardar(QSqlDatabase db, int idAlimento, QDate desde, double porKilo);
    static std::optional<ErrorBD> cargar(QSqlDatabase db, PreciosAlimento* precios);

    // The price of feed `id` on `fecha` (yyyy-MM-dd); none before its first price.
    std::optional<qint64> en(int id, QByteArrayView fecha) const;
    std::optional<qint64> en(int id, QDate fecha) const;
    // Each feed's prices, by date.
    const QHash<int, QList<Precio>>& historial() const { return porAlimento_; }

private:
    QHash<int, QList<Precio>> porAlimento_;
};
