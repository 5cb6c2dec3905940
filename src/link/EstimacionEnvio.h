#pragma once

#include "db/BaseDatos.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

// How long the upload over the direct link will take, before it starts: one message per row of
// the trip and discharge parts, one for the feeds, one for the operators and "'fin'", each
// followed by the 500 ms pause the tablet relies on.
namespace EstimacionEnvio {

inline constexpr int kPausaMs = 500;
// Above this an upload is long enough to offer archiving old trips first.
inline constexpr qint64 kLargaSegundos = 5 * 60;

struct Estimacion {
    qint64 mensajes = 0;
    std::optional<ErrorBD> error;

    qint64 segundos() const { return (mensajes * kPausaMs + 999) / 1000; }
    bool larga() const { return segundos() > kLargaSegundos; }
    // "Se enviarán 1.333 registros, unos 11 minutos"
    QString texto() const;
};

Estimacion estimar(const QSqlDatabase& db);

// "unos 11 minutos", "un minuto", "unos 40 segundos".
QString duracion(qint64 segundos);

} // namespace EstimacionEnvio
