#pragma once

#include "db/BaseDatos.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The real kilograms loaded per day and per feed name of the event history, kept in
// `consumo_diario` so that the stock of every feed is read from a few thousand rows instead of a
// million events. It is derived data: brought up to date from the history before each reading
// (the history only grows, so only events with a higher id are added), and rebuilt whole when the
// event it was last brought up to is gone or another (a history replaced or rewritten). A download merged
// twice adds no event, so it changes no consumption.
class ConsumoDiario {
public:
    struct Dia {
        QString fecha;    // yyyy-MM-dd
        QString alimento; // as the history keeps it
        qint64 gramos = 0;
    };

    static std::optional<ErrorBD> actualizar(QSqlDatabase db);
    // Brings the table up to date and reads it up to `hasta`, by date.
    static std::optional<ErrorBD> leer(QSqlDatabase db, QDate hasta, QList<Dia>* dias);
};
